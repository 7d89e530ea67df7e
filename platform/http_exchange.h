// One request and its response over a libcurl easy handle, with no redirect followed. It says which
// step a failure belongs to: nothing reached the server (send), no complete response head came back
// (receive), or the body broke after the head (read; the chunks received so far are kept).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/http_curl_handles.h"
#include "platform/http_session.h"

namespace platform::http {

struct ExchangeRequest {
    std::string url;  // absolute and escaped
    std::string verb;
    std::string_view body;
    bool sendsBody = false;                // POST and PUT always, other verbs when a body is given
    std::vector<std::string> headerLines;  // "Name: value", on the wire in this order
    std::string proxy;                     // libcurl's form; empty goes straight to the host
    std::string userName, password;        // basic credentials for the server; empty: none
    std::string proxyUserName, proxyPassword;
    bool verifyPeer = true;
    bool verifyHost = true;
    bool cookieEngine = false;
    Timeouts timeouts;
};

struct ExchangeResult {
    enum class Outcome { Complete, SendFailed, ReceiveFailed, BodyBroken };
    Outcome outcome = Outcome::SendFailed;
    int status = 0;
    std::string rawHeaders;                                    // status line and header lines, CR LF each
    std::vector<std::pair<std::string, std::string>> headers;  // name and value, blanks trimmed
    std::string body;                                          // every body byte the transfer delivered
};

class Exchange {
public:
    Exchange();
    bool Valid() const { return easy_ != nullptr; }

    // Connections and, when switched on, cookies carry over from one call to the next.
    ExchangeResult Perform(const ExchangeRequest& request);

private:
    CurlEasy easy_;
    bool cookieEngineStarted_ = false;
};

}  // namespace platform::http
