// The declared charset of a page and which names are decoded.
#include "web/page_charset.h"

#include <gtest/gtest.h>

#include "regex/regex_matcher.h"

namespace {

TEST(PageCharset, FindsTheNameInAMetaTagNearTheStart) {
    const std::pair<std::string, std::string> cases[] = {
        {"<meta charset=\"utf-8\">", "utf-8"},
        {"<META http-equiv=\"Content-Type\" content=\"text/html; charset=GB2312\">", "GB2312"},
        {"<meta charset=big5>", "big5"},
        {"<meta charset=>", ""},
        {"<html>no tag</html>", ""},
        {"<meta\ncharset=utf-8>", ""},
        {std::string(1020, ' ') + "<meta charset=utf-8>", ""},
        {std::string(990, ' ') + "<meta charset=utf-8>", "utf-8"},
        {"", ""},
        {"<MeTa Charset=UTF-8>", "UTF-8"},
        {"<me ta charset=utf-8>", ""},
        {"<metacharset=utf-8>", ""},
        {"<meta x charset=utf-8><meta charset=gbk>", "utf-8"},
        {std::string(1021, ' ') + "<meta charset=utf-8>", ""},
        {std::string("\xD6\xD0<meta\xCE\xC4") + "charset=\xFF" + "big5", "big5"},
    };
    for (const auto& [page, name] : cases) {
        SCOPED_TRACE(page.substr(0, 80));
        RegexMatcher matcher;
        EXPECT_EQ(web::DeclaredCharset(matcher, page), name);
    }
}

TEST(PageCharset, DecodesEveryNameButLowerCaseGbkAndGb2312) {
    EXPECT_FALSE(web::NeedsDecoding(""));
    EXPECT_FALSE(web::NeedsDecoding("gbk"));
    EXPECT_FALSE(web::NeedsDecoding("gb2312"));
    EXPECT_TRUE(web::NeedsDecoding("GBK"));
    EXPECT_TRUE(web::NeedsDecoding("GB2312"));
    EXPECT_TRUE(web::NeedsDecoding("utf-8"));
    EXPECT_TRUE(web::NeedsDecoding("x-garbage"));
}

}  // namespace
