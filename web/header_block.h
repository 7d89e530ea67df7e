// The request header block: the default lines, name normalisation, the keep-alive and Cookie rules.
// Lines are separated by CR LF; all texts are program text.
#pragma once

#include <string>
#include <string_view>

namespace web {

// The text with its first byte upper-cased when that is an ASCII letter a to z.
std::string CapitalizeFirst(std::string_view text);

// Every line that has a ":" with its name capitalised word by word ("x-forwarded-for" becomes
// "X-Forwarded-For"); lines without ":" dropped; CR LF between the lines and none after the last.
std::string NormalizeHeaderNames(std::string_view block);

// The text after the last "Connection: " in the line; empty when it has none.
std::string HeaderValue(std::string_view line);

struct HeaderBlockSettings {
    std::string_view extraHeaders = {};
    std::string_view sendCookies = {};
    bool isPost = false;
    bool addDefaultHeaders = true;
    bool normalizeHeaders = true;
};

// The block that goes to the request: the caller's lines, the default lines they do not cover, the
// names normalised, a keep-alive Connection line taken out, and the cookies added as a Cookie line
// when the block has none.
std::string BuildHeaderBlock(const HeaderBlockSettings& settings);

}  // namespace web
