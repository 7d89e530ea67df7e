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

TEST(HeaderBlock, CallersContentTypeInAnyLetterCaseKeepsTheDefaultOut) {
    // Normalisation only raises the first letter of each word.
    const std::pair<std::string, std::string> names[] = {{"Content-Type", "Content-Type"},
                                                         {"content-type", "Content-Type"},
                                                         {"CONTENT-TYPE", "CONTENT-TYPE"},
                                                         {"cOnTeNt-tYpE", "COnTeNt-TYpE"}};
    for (const auto& [name, sent] : names) {
        SCOPED_TRACE(name);
        EXPECT_EQ(BuildHeaderBlock({.extraHeaders = name + ": text/plain", .isPost = true}),
                  sent + ": text/plain\r\n" + kDefaults);
    }
    // The key has no blank: a line named Content-Type with no value keeps it out too, while a GET
    // never adds it.
    EXPECT_EQ(BuildHeaderBlock({.extraHeaders = "Content-Type:", .isPost = true}),
              "Content-Type:\r\n" + kDefaults);
    EXPECT_EQ(BuildHeaderBlock({.extraHeaders = "X-A: 1", .isPost = false}), "X-A: 1\r\n" + kDefaults);
}

TEST(HeaderBlock, KeepAliveRuleLooksAtTheFirstConnectionLineOnly) {
    struct Case {
        const char* name;
        HeaderBlockSettings settings;
        std::string expected;
    };
    const Case cases[] = {
        {"every keep-alive line removed",
         {.extraHeaders = "Connection: keep-alive\r\nX: 1\r\nConnection: keep-alive"},
         "X: 1\r\n" + kDefaults},
        {"lower-case name normalised, then removed", {.extraHeaders = "connection: keep-alive"}, kDefaults},
        {"lower-case name without normalisation stays",
         {.extraHeaders = "connection: keep-alive", .normalizeHeaders = false},
         "connection: keep-alive\r\n" + kDefaults + "\r\n"},
        {"another value first keeps every line",
         {.extraHeaders = "Connection: close\r\nConnection: keep-alive"},
         "Connection: close\r\nConnection: keep-alive\r\n" + kDefaults},
        {"value in another letter case stays",
         {.extraHeaders = "Connection: Keep-Alive"},
         "Connection: Keep-Alive\r\n" + kDefaults},
        {"a name that merely ends in Connection is no Connection line",
         {.extraHeaders = "X-Connection: keep-alive"},
         "X-Connection: keep-alive\r\n" + kDefaults},
        {"the last line has no CR LF and stays",
         {.extraHeaders = "X: 1\r\nConnection: keep-alive", .addDefaultHeaders = false},
         "X: 1\r\nConnection: keep-alive"},
        {"removed before the cookies are added",
         {.extraHeaders = "Connection: keep-alive", .sendCookies = "a=1"},
         kDefaults + "\r\nCookie: a=1\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(BuildHeaderBlock(c.settings), c.expected);
    }
}

TEST(HeaderBlock, HugeAndHighByteBlocksComeOutWhole) {
    // A hundred thousand keep-alive lines go in one pass, not one pass each.
    std::string many;
    for (int i = 0; i < 100000; ++i) {
        many += "Connection: keep-alive\r\n";
    }
    EXPECT_EQ(BuildHeaderBlock({.extraHeaders = many + "X: 1"}), "X: 1\r\n" + kDefaults);

    const std::string big(1 << 20, '\xD6');
    EXPECT_EQ(BuildHeaderBlock({.extraHeaders = "x-big: " + big, .addDefaultHeaders = false}),
              "X-Big: " + big);
    EXPECT_EQ(BuildHeaderBlock({.extraHeaders = "\xD6\xD0-name: \x80\xFF", .addDefaultHeaders = false}),
              "\xD6\xD0-Name: \x80\xFF");
    EXPECT_EQ(
        BuildHeaderBlock({.extraHeaders = std::string("a: \0\r\n\0: b", 9), .addDefaultHeaders = false}),
        std::string("A: \0\r\n\0: b", 9));
}

}  // namespace
