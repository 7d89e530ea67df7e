// URL cracking in the manner of the system call the engine was written against: scheme, host, port,
// path and extra information as written, with no decoding. Also the escaping that makes a path safe
// to send and the absolute URL handed to libcurl.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform::http {

struct UrlComponents {
    bool secure = false;    // the scheme is https
    std::string host;       // as written; an IPv6 literal keeps its brackets
    int port = 0;           // the URL's own, else 80 or 443
    std::string path;       // from the first "/" up to "?" or "#"; may be empty
    std::string extraInfo;  // "?..." and/or "#...", up to the end
};

// nullopt unless the URL is "http://" or "https://" (any letter case), a host and an optional
// port of 1 to 65535 digits' worth, followed by nothing or by "/", "?" or "#".
std::optional<UrlComponents> CrackUrl(std::string_view url);

// Blanks, control characters and bytes of 0x80 or more as %XX; every other byte as written.
std::string EscapeUnsafe(std::string_view text);

// "scheme://host:port" followed by the escaped object name; the fragment is not sent.
std::string ComposeUrl(bool secure, std::string_view host, int port, std::string_view objectName);

}  // namespace platform::http
