// The request header block: name normalisation, the default lines and the Connection and Cookie
// rules.
#include "web/header_block.h"

#include <gtest/gtest.h>

namespace {

using web::BuildHeaderBlock;
using web::CapitalizeFirst;
using web::HeaderBlockSettings;
using web::HeaderValue;
using web::NormalizeHeaderNames;

const std::string kDefaults =
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"
    "Accept: text/html, application/xhtml+xml, */*\r\n"
    "Accept-Encoding: gbk, GB2312\r\n"
    "Accept-Language: zh-cn\r\n"
    "Cache-Control: no-cache";

TEST(HeaderBlock, CapitalizeFirstTouchesOnlyALeadingLowerCaseLetter) {
    EXPECT_EQ(CapitalizeFirst(""), "");
    EXPECT_EQ(CapitalizeFirst("abc"), "Abc");
    EXPECT_EQ(CapitalizeFirst("Abc"), "Abc");
    EXPECT_EQ(CapitalizeFirst("1bc"), "1bc");
    EXPECT_EQ(CapitalizeFirst("\xD6\xD0"), "\xD6\xD0");
}

TEST(HeaderBlock, NormalizesNamesAndDropsLinesWithoutColon) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"user-agent: x", "User-Agent: x"},
        {"x-forwarded-for: a-b-c", "X-Forwarded-For: a-b-c"},
        {"x--y-: v", "X--Y-: v"},
        {"ALL-CAPS: v", "ALL-CAPS: v"},
        {"a: 1\r\n\r\nno colon\r\nb: 2\r\n", "A: 1\r\nB: 2"},
        {"\r\n\r\n", ""},
        {"only garbage", ""},
        {": empty name", ": empty name"},
        {"name:value:with:colons", "Name:value:with:colons"},
        {"a: 1\r\n", "A: 1"},
        {"a: 1\n b: 2", "A: 1\n b: 2"},
        {"\xD6\xD0-x: v", "\xD6\xD0-X: v"},
    };
    for (const auto& [block, expected] : cases) {
        SCOPED_TRACE(block);
        EXPECT_EQ(NormalizeHeaderNames(block), expected);
    }
}

TEST(HeaderBlock, HeaderValueIsTheTextAfterTheLastConnectionKey) {
    EXPECT_EQ(HeaderValue("Connection: keep-alive"), "keep-alive");
    EXPECT_EQ(HeaderValue("Connection: a Connection: b"), "b");
    EXPECT_EQ(HeaderValue("Connection:close"), "");
}

TEST(HeaderBlock, BuildsTheBlockInTheEnginesOrder) {
    struct Case {
        const char* name;
        HeaderBlockSettings settings;
        std::string expected;
    };
    const Case cases[] = {
        {"defaults only", {}, kDefaults},
        {"post adds content type",
         {.isPost = true},
         "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"
         "Accept: text/html, application/xhtml+xml, */*\r\n"
         "Accept-Encoding: gbk, GB2312\r\n"
         "Accept-Language: zh-cn\r\n"
         "Content-Type: application/x-www-form-urlencoded\r\n"
         "Cache-Control: no-cache"},
        {"post with the caller's content type",
         {.extraHeaders = "content-type: a/b", .isPost = true},
         "Content-Type: a/b\r\n" + kDefaults},
        {"lower-case user agent keeps the default out",
         {.extraHeaders = "user-agent: me"},
         "User-Agent: me\r\nAccept: text/html, application/xhtml+xml, */*\r\nAccept-Encoding: gbk, "
         "GB2312\r\nAccept-Language: zh-cn\r\nCache-Control: no-cache"},
        {"a key inside another name counts",
         {.extraHeaders = "X-Accept: 1"},
         "X-Accept: 1\r\nUser-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; "
         "Trident/5.0)\r\n"
         "Accept-Encoding: gbk, GB2312\r\nAccept-Language: zh-cn\r\nCache-Control: no-cache"},
        {"no defaults", {.extraHeaders = "a: 1", .addDefaultHeaders = false}, "A: 1"},
        {"nothing at all", {.addDefaultHeaders = false}, ""},
        {"no normalisation keeps the final CR LF",
         {.extraHeaders = "x-a: 1", .addDefaultHeaders = false, .normalizeHeaders = false},
         "x-a: 1\r\n"},
        {"keep-alive line removed", {.extraHeaders = "Connection: keep-alive"}, kDefaults},
        {"keep-alive as the last line stays",
         {.extraHeaders = "Connection: keep-alive", .addDefaultHeaders = false},
         "Connection: keep-alive"},
        {"other connection values stay",
         {.extraHeaders = "Connection: close", .addDefaultHeaders = false},
         "Connection: close"},
        {"cookies become a Cookie line",
         {.sendCookies = "a=1; b=2", .addDefaultHeaders = false},
         "\r\nCookie: a=1; b=2\r\n"},
        {"cookies that carry their own key",
         {.sendCookies = "cookie: a=1", .addDefaultHeaders = false},
         "\r\ncookie: a=1\r\n"},
        {"the caller's Cookie line wins",
         {.extraHeaders = "COOKIE: mine", .sendCookies = "a=1", .addDefaultHeaders = false},
         "COOKIE: mine"},
        {"cookies after an unnormalised block leave an empty line",
         {.extraHeaders = "x: 1",
          .sendCookies = "a=1",
          .addDefaultHeaders = false,
          .normalizeHeaders = false},
         "x: 1\r\n\r\nCookie: a=1\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BuildHeaderBlock(c.settings), c.expected);
    }
}

}  // namespace
