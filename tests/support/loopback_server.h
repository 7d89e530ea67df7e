// A small HTTP/1.1 server on 127.0.0.1 for the tests, started and stopped by the test itself. It
// records every request (request line, header lines in order, body) and answers with whatever the
// test's handler returns: a status, headers and body, a connection closed in the middle of the
// body, or silence. With `Tls::On` it speaks HTTPS with a self-signed certificate.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct RecordedRequest {
    std::string requestLine;               // "GET /s?wd=x HTTP/1.1"
    std::string method;                    // "GET"
    std::string target;                    // "/s?wd=x"
    std::vector<std::string> headerLines;  // "Host: 127.0.0.1:1234", in the order received
    std::string body;

    // The value of the first header named `name` (letter case ignored); empty when absent.
    std::string Header(const std::string& name) const;
};

struct Reply {
    enum class Mode {
        Complete,     // status, headers and the whole body, Content-Length set unless given
        CutMidBody,   // announce the whole body, send `cutAfter` bytes of it, then close
        Silent,       // read the request and answer nothing until the server stops
        CloseAtOnce,  // close the connection without a byte
    };
    int status = 200;
    std::string reason = "OK";
    std::vector<std::pair<std::string, std::string>> headers;  // sent in this order
    std::string body;
    Mode mode = Mode::Complete;
    std::size_t cutAfter = 0;
    std::string rawHead;  // when set, sent verbatim instead of the status line and headers
};

using Handler = std::function<Reply(const RecordedRequest&)>;

class LoopbackServer {
public:
    enum class Tls { Off, On };

    explicit LoopbackServer(Handler handler, Tls tls = Tls::Off);
    ~LoopbackServer();  // stops the server and joins its threads
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const;
    std::string BaseUrl() const;  // "http://127.0.0.1:PORT" or "https://127.0.0.1:PORT"

    // Every request received so far, in order.
    std::vector<RecordedRequest> Requests() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace testsupport
