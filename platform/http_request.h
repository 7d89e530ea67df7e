// The request handle in the manner of the system's HTTP service: opened on a connection with a verb
// and an object name, then credentials, options, headers, send, receive, query data available,
// read data and the raw response headers, each step failing where the service's step fails.
//
// The whole exchange, redirects included, runs during Send. Send fails when nothing reached the
// first server; ReceiveResponse fails when no final response head came back; ReadData fails after
// the chunks already received when the body broke off.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/http_exchange.h"
#include "platform/http_session.h"

namespace platform::http {

// Option numbers and values as the service numbers them.
inline constexpr int kOptionSecurityFlags = 31;
inline constexpr int kOptionDisableFeature = 63;
inline constexpr int kOptionEnableFeature = 79;
inline constexpr std::uint32_t kSecurityIgnoreUnknownCa = 0x100;
inline constexpr std::uint32_t kSecurityIgnoreWrongUsage = 0x200;
inline constexpr std::uint32_t kSecurityIgnoreCnInvalid = 0x1000;
inline constexpr std::uint32_t kSecurityIgnoreDateInvalid = 0x2000;
inline constexpr std::uint32_t kDisableCookies = 1;
inline constexpr std::uint32_t kDisableRedirects = 2;
inline constexpr std::uint32_t kDisableAuthentication = 4;
inline constexpr std::uint32_t kDisableKeepAlive = 8;
inline constexpr std::uint32_t kEnableSslRevocation = 1;

enum class AuthTarget { Server = 0, Proxy = 1 };
inline constexpr int kAuthSchemeBasic = 1;

// The most redirects one request follows.
inline constexpr int kMaxRedirects = 10;

class Request {
public:
    // nullptr when the verb holds blanks or control characters or libcurl has no handle. An empty
    // verb is "GET", an empty object name "/". Text is UTF-8 (the object name) or bytes.
    static std::unique_ptr<Request> Open(const Connection& connection, std::string_view verb,
                                         std::string_view objectName, bool secure);

    // Basic credentials for the server or the proxy; false for another scheme.
    bool SetCredentials(AuthTarget target, int scheme, std::string_view userName, std::string_view password);
    // False for an option or value the layer does not know.
    bool SetOption(int option, std::uint32_t value);
    // Header lines separated by CR LF; empty lines are skipped. False, adding nothing, when a line
    // has no ":" or no name, or holds a control character other than a tab.
    bool AddHeaders(std::string_view block);

    bool Send(std::string_view body = {});
    bool ReceiveResponse();
    // How many body bytes can be read now: the whole exchange has run, so everything received and
    // not read yet; 0 at the end of the body. False before a response was received.
    bool QueryDataAvailable(std::size_t& available);
    // Copies up to `size` of the available bytes. False when the body broke off here.
    bool ReadData(char* buffer, std::size_t size, std::size_t& read);
    // The same, appending to `body`; a first read of the whole body hands it over without a copy.
    bool ReadData(std::string& body, std::size_t size, std::size_t& read);
    // The final response's status line and header lines, each ending in CR LF; nullopt before a
    // response was received.
    std::optional<std::string> QueryRawHeaders() const;

    int StatusCode() const;
    // The first response header of that name (letter case ignored).
    std::optional<std::string> ResponseHeader(std::string_view name) const;

private:
    Request() = default;
    // The bytes the next read of `size` hands out; 0 before a response and at the body's end.
    std::size_t NextChunkSize(std::size_t size) const;
    bool EmptyReadSucceeds(std::size_t size) const;

    ExchangeRequest first_;
    bool followRedirects_ = true;
    Exchange exchange_;
    enum class Stage { Opened, Sent, ReceiveFailed, Received } stage_ = Stage::Opened;
    ExchangeResult response_;
    std::size_t readOffset_ = 0;
};

}  // namespace platform::http
