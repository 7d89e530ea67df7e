// Finding a page's declared charset.
#include "web/page_charset.h"

#include "regex/regex_matcher.h"

namespace web {

std::optional<std::string> DeclaredCharset(RegexMatcher& matcher, std::string_view pageText) {
    constexpr std::string_view kPattern = R"(<meta.+?charset=[^\w]?([-\w]+))";
    if (!matcher.ExecutePattern(kPattern, pageText.substr(0, kCharsetSampleBytes))) {
        return std::nullopt;
    }
    return matcher.SubMatchText(1, 1);
}

bool NeedsDecoding(std::string_view charsetName) {
    return !charsetName.empty() && charsetName != "gbk" && charsetName != "gb2312";
}

}  // namespace web
