// WebRequest: one synchronous HTTP request with browser-like default headers. It reads the whole
// body and the raw response headers, decodes the page by the charset its meta tag declares, and
// returns the page as program text. A failure gives the empty text (or the part read before a read
// error) and a numbered message in StatusText; nothing is thrown and nothing is shown.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// Lets the window process pending events at the engine's fixed points. Empty: nothing to process.
using ProcessPendingEvents = std::function<void()>;

// The optional arguments, each with the value it takes when the caller leaves it out.
struct WebRequestOptions {
    int Method = 0;            // 0 GET, 1 POST, 2 HEAD, 3 PUT, 4 OPTIONS, 5 DELETE, 6 TRACE, 7 CONNECT
    std::string BodyText;      // request body, when BodyBytes is empty
    std::string SendCookies;   // "name=value; name=value"
    std::string ExtraHeaders;  // caller's header lines, CR LF between them
    bool NoRedirect = false;   // read a 3xx answer instead of following it
    std::string UserName;      // basic authentication with the server
    std::string Password;
    std::string Proxy;  // "host:port"; empty: straight to the host
    std::string ProxyUserName;
    std::string ProxyPassword;
    int TimeoutSeconds = 0;         // per phase; 0 or less means 30
    bool MergeCookies = true;       // merge SendCookies into ReturnedCookies
    bool AddDefaultHeaders = true;  // add the default header lines the caller did not give
    std::string BodyBytes;          // raw request body; wins over BodyText
    bool NormalizeHeaders = true;   // capitalise header names, drop lines without ":"
};

// The outputs. ReturnedCookies is read as well as written: the response's cookies are appended to
// what it holds.
struct WebRequestOutputs {
    std::string ReturnedCookies;
    std::string ResponseHeaders;   // status line and header lines, each ending in CR LF
    std::string RedirectLocation;  // the Location header's value
    std::string StatusText;        // "200 OK", or one of the engine's messages
    std::string ResponseBytes;     // the body as received
};

std::string WebRequest(std::string_view Url, const WebRequestOptions& options = {},
                       WebRequestOutputs* outputs = nullptr, const ProcessPendingEvents& processEvents = {});
