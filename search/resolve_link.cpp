// ResolveLink over the request object: redirects off, certificate errors ignored, short timeouts,
// the four headers of the system's own request object, and the target taken from the answer.
#include "search/resolve_link.h"

#include <optional>

#include "platform/http_request_object.h"
#include "regex/regex_matcher.h"

namespace {

using platform::http::RequestObject;

// Unknown certificate authority, wrong usage, invalid common name, invalid date.
constexpr int kIgnoredCertificateErrors = 0x3300;

// Script redirect: location.replace("…") or with single quotes. Group 2 is the target.
constexpr std::string_view kScriptRedirectPattern = R"(location\.replace\(\s*(["'])(.*?)\1\s*\))";

// Meta refresh, with http-equiv before or after content. Group 1 is the target.
constexpr std::string_view kMetaRefreshPatterns[] = {
    R"(<meta\b[^>]*?http-equiv\s*=\s*["']?refresh["']?[^>]*?content\s*=\s*["']?\s*\d*\s*;\s*url\s*=\s*['"]?([^'"\s>]+))",
    R"(<meta\b[^>]*?content\s*=\s*["']?\s*\d*\s*;\s*url\s*=\s*['"]?([^'"\s>]+)[^>]*?http-equiv\s*=\s*["']?refresh)",
};

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string result;
    std::size_t pos = 0;
    for (std::size_t found = text.find(from); found != std::string_view::npos; found = text.find(from, pos)) {
        result.append(text.substr(pos, found - pos)).append(to);
        pos = found + from.size();
    }
    return result.append(text.substr(pos));
}

// Only absolute web addresses count: a relative or script target opens nothing from the list.
std::optional<std::string> WebAddress(std::string target) {
    if (target.starts_with("http://") || target.starts_with("https://")) {
        return target;
    }
    return std::nullopt;
}

std::optional<std::string> FirstGroup(std::string_view pattern, std::string_view body, int group) {
    RegexMatcher matcher;
    if (!matcher.ExecutePattern(pattern, body) || matcher.MatchCount() < 1) {
        return std::nullopt;
    }
    return matcher.SubMatchText(1, group);
}

// The target of a page that redirects by script or by meta refresh; escapes of a script string
// ("\/") and of an attribute ("&amp;") are undone.
std::string ScriptedRedirectTarget(std::string_view body) {
    if (auto target = FirstGroup(kScriptRedirectPattern, body, 2)) {
        *target = ReplaceAll(*target, "\\/", "/");
        if (auto address = WebAddress(*target)) {
            return *address;
        }
    }
    for (std::string_view pattern : kMetaRefreshPatterns) {
        if (auto target = FirstGroup(pattern, body, 1)) {
            *target = ReplaceAll(*target, "&amp;", "&");
            if (auto address = WebAddress(*target)) {
                return *address;
            }
        }
    }
    return {};
}

}  // namespace

bool IsRedirectLink(std::string_view link) {
    return link.starts_with(kRedirectPrefix);
}

std::string ResolveLink(std::string_view url) {
    RequestObject request;
    // An object that refuses the options it is known to take stands for one that could not be made.
    if (!request.SetOption(RequestObject::kOptionEnableRedirects, 0) ||
        !request.SetOption(RequestObject::kOptionSslErrorIgnoreFlags, kIgnoredCertificateErrors)) {
        return "Error!";
    }
    request.SetTimeouts(5000, 5000, 10000, 5000);
    if (!request.Open("GET", url)) {
        return {};
    }
    request.SetRequestHeader("User-Agent", "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1)");
    request.SetRequestHeader("Accept-Language", "zh-cn");
    request.SetRequestHeader("Connection", "Keep-Alive");
    request.SetRequestHeader(
        "Accept",
        "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
        "application/x-silverlight, */*");
    if (!request.Send()) {
        return {};
    }
    if (auto location = request.GetResponseHeader("Location")) {
        return *location;
    }
    if (request.Status() == 200) {
        return ScriptedRedirectTarget(request.ResponseBody());
    }
    return {};
}
