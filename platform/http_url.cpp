// URL cracking and escaping for the HTTP layer.
#include "platform/http_url.h"

#include <algorithm>
#include <cctype>

namespace platform::http {

namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) ==
                      std::tolower(static_cast<unsigned char>(b));
           });
}

// The port digits after the host; nullopt for anything but 1 to 65535.
std::optional<int> ParsePort(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) {
        return std::nullopt;
    }
    int port = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535) {
        return std::nullopt;
    }
    return port;
}

// Splits "host[:port]" (the user information already removed) into the components.
bool CrackHostAndPort(std::string_view hostPort, UrlComponents& parts) {
    std::size_t portColon = std::string_view::npos;
    if (hostPort.starts_with('[')) {
        std::size_t close = hostPort.find(']');
        if (close == std::string_view::npos || close == 1) {
            return false;
        }
        if (close + 1 < hostPort.size()) {
            if (hostPort[close + 1] != ':') {
                return false;
            }
            portColon = close + 1;
        }
    } else {
        portColon = hostPort.rfind(':');
    }
    parts.host = std::string(hostPort.substr(0, portColon));
    if (parts.host.empty()) {
        return false;
    }
    if (portColon == std::string_view::npos) {
        return true;
    }
    std::optional<int> port = ParsePort(hostPort.substr(portColon + 1));
    if (!port) {
        return false;
    }
    parts.port = *port;
    return true;
}

}  // namespace

std::optional<UrlComponents> CrackUrl(std::string_view url) {
    UrlComponents parts;
    if (StartsWithIgnoringCase(url, "http://")) {
        url.remove_prefix(7);
    } else if (StartsWithIgnoringCase(url, "https://")) {
        url.remove_prefix(8);
        parts.secure = true;
    } else {
        return std::nullopt;
    }
    parts.port = parts.secure ? 443 : 80;

    std::size_t authorityEnd = std::min(url.find_first_of("/?#"), url.size());
    std::string_view authority = url.substr(0, authorityEnd);
    std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    if (!CrackHostAndPort(authority, parts)) {
        return std::nullopt;
    }

    std::string_view rest = url.substr(authorityEnd);
    std::size_t extraStart = std::min(rest.find_first_of("?#"), rest.size());
    parts.path = std::string(rest.substr(0, extraStart));
    parts.extraInfo = std::string(rest.substr(extraStart));
    return parts;
}

std::string EscapeUnsafe(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte >= 0x7F) {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0x0F];
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string ComposeUrl(bool secure, std::string_view host, int port, std::string_view objectName) {
    std::string url = secure ? "https://" : "http://";
    bool bareIpv6 = host.find(':') != std::string_view::npos && !host.starts_with('[');
    if (bareIpv6) {
        url.append("[").append(host).append("]");
    } else {
        url.append(host);
    }
    url.append(":").append(std::to_string(port));
    std::string_view sent = objectName.substr(0, objectName.find('#'));
    if (!sent.starts_with('/')) {
        url.push_back('/');
    }
    url.append(EscapeUnsafe(sent));
    return url;
}

}  // namespace platform::http
