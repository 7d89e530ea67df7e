// Finding a page's declared charset.
#include "web/page_charset.h"

#include <algorithm>

#include "regex/regex_matcher.h"

namespace web {

namespace {

// The pattern's every match starts with "<meta" in some letter case. Those letters have no
// non-ASCII case variants, so a sample without that text cannot match and the pattern is not worth
// compiling.
bool MayDeclareCharset(std::string_view sample) {
    constexpr std::string_view kTagStart = "<meta";
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::search(sample.begin(), sample.end(), kTagStart.begin(), kTagStart.end(),
                       [&](char a, char b) { return lower(a) == b; }) != sample.end();
}

}  // namespace

std::optional<std::string> DeclaredCharset(RegexMatcher& matcher, std::string_view pageText) {
    constexpr std::string_view kPattern = R"(<meta.+?charset=[^\w]?([-\w]+))";
    std::string_view sample = pageText.substr(0, kCharsetSampleBytes);
    if (!MayDeclareCharset(sample)) {
        return std::string();
    }
    if (!matcher.ExecutePattern(kPattern, sample)) {
        return std::nullopt;
    }
    return matcher.SubMatchText(1, 1);
}

bool NeedsDecoding(std::string_view charsetName) {
    return !charsetName.empty() && charsetName != "gbk" && charsetName != "gb2312";
}

}  // namespace web
