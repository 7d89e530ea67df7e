// The evaluation of the raw response header block, line by line.
#include "web/response_headers.h"

#include <algorithm>

#include "web/cookies.h"

namespace web {

namespace {

constexpr std::size_t kStatusTextStart = 9;

bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(),
                                                      [&](char a, char b) { return lower(a) == lower(b); });
}

template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    while (!text.empty()) {
        std::size_t end = text.find("\r\n");
        visit(text.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 2);
    }
}

}  // namespace

std::string StatusTextOf(std::string_view rawHeaders) {
    if (rawHeaders.size() < kStatusTextStart) {
        return {};
    }
    std::size_t end = rawHeaders.find("\r\n", kStatusTextStart);
    if (end == std::string_view::npos) {
        return {};
    }
    return std::string(rawHeaders.substr(kStatusTextStart, end - kStatusTextStart));
}

void EvaluateResponseHeaders(std::string_view rawHeaders, const WebRequestOptions& options,
                             WebRequestOutputs& outputs, const ProcessPendingEvents& processEvents) {
    constexpr std::string_view kLocation = "Location: ";
    outputs.ResponseHeaders = std::string(rawHeaders);
    outputs.StatusText = StatusTextOf(rawHeaders);
    ForEachLine(rawHeaders, [&](std::string_view line) {
        std::string cookie;
        if (CookieFromHeaderLine(line, cookie)) {
            outputs.ReturnedCookies += cookie + "; ";
        }
        if (StartsWithIgnoringAsciiCase(line, kLocation)) {
            outputs.RedirectLocation = std::string(line.substr(kLocation.size()));
        }
        if (processEvents) {
            processEvents();
        }
    });
    if (outputs.ReturnedCookies.ends_with("; ")) {
        outputs.ReturnedCookies.resize(outputs.ReturnedCookies.size() - 2);
    }
    if (options.MergeCookies && !options.SendCookies.empty()) {
        outputs.ReturnedCookies = MergeCookieText(options.SendCookies, outputs.ReturnedCookies);
    }
}

}  // namespace web
