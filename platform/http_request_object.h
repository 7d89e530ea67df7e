// A scriptable request object in the manner of the system's automation HTTP request: options and
// timeouts first, then open, request headers, send, and response headers by name. Used where the
// program resolves one link without following its redirect. Texts are program text; header values
// come back as the server sent their bytes.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform::http {

class RequestObject {
public:
    // Option indexes as the automation object numbers them.
    static constexpr int kOptionSslErrorIgnoreFlags = 4;
    static constexpr int kOptionEnableRedirects = 6;

    RequestObject();
    ~RequestObject();
    RequestObject(const RequestObject&) = delete;
    RequestObject& operator=(const RequestObject&) = delete;

    // False for an option the object does not know.
    bool SetOption(int option, int value);
    // Resolve, connect, send and receive timeouts in milliseconds.
    void SetTimeouts(int resolveMs, int connectMs, int sendMs, int receiveMs);
    // Only synchronous requests exist; false for a URL that cannot be parsed.
    bool Open(std::string_view method, std::string_view url);
    // Headers go out in the order they are set, after the ones the object adds itself.
    bool SetRequestHeader(std::string_view name, std::string_view value);
    // False when the request fails (name resolution, connection, timeouts).
    bool Send(std::string_view body = {});

    int Status() const;
    std::string ResponseBody() const;
    // The first response header of that name (letter case ignored); nullopt when absent or before
    // a successful Send.
    std::optional<std::string> GetResponseHeader(std::string_view name) const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace platform::http
