// The evaluation of a raw response header block: status text, cookies, redirect target, events.
#include "web/response_headers.h"

#include <gtest/gtest.h>

namespace {

TEST(ResponseHeaders, StatusTextStartsAtTheTenthCharacter) {
    const std::pair<std::string, std::string> cases[] = {
        {"HTTP/1.1 200 OK\r\n", "200 OK"},
        {"HTTP/1.1 404 Not Found\r\nA: b\r\n", "404 Not Found"},
        {"HTTP/1.0 302\r\n", "302"},
        {"HTTP/1.1 200 OK", ""},
        {"HTTP/1.1 \r\n", ""},
        {"short\r\n", ""},
        {"", ""},
        {"HTTP/1.1 20\r\n0 OK\r\n", "20"},
    };
    for (const auto& [raw, status] : cases) {
        SCOPED_TRACE(raw);
        EXPECT_EQ(web::StatusTextOf(raw), status);
    }
}

TEST(ResponseHeaders, FillsTheOutputsLineByLine) {
    const std::string raw =
        "HTTP/1.1 302 Found\r\nSet-Cookie: a=1; path=/\r\nlocation: /first\r\nSet-Cookie: b=2\r\n"
        "LOCATION: /second\r\nLocation:/no-blank\r\n";
    WebRequestOptions options;
    WebRequestOutputs out;
    out.ReturnedCookies = "old=0; ";
    int events = 0;
    web::EvaluateResponseHeaders(raw, options, out, [&events] { ++events; });
    EXPECT_EQ(out.ResponseHeaders, raw);
    EXPECT_EQ(out.StatusText, "302 Found");
    EXPECT_EQ(out.ReturnedCookies, "old=0; a=1; b=2");
    EXPECT_EQ(out.RedirectLocation, "/second");
    EXPECT_EQ(events, 6);
}

TEST(ResponseHeaders, MergesTheSentCookiesUnlessSwitchedOff) {
    const std::string raw = "HTTP/1.1 200 OK\r\nSet-Cookie: b=3\r\n";
    WebRequestOptions options;
    options.SendCookies = "a=1; b=2";
    WebRequestOutputs merged;
    web::EvaluateResponseHeaders(raw, options, merged, {});
    EXPECT_EQ(merged.ReturnedCookies, "b=3; a=1");
    options.MergeCookies = false;
    WebRequestOutputs unmerged;
    web::EvaluateResponseHeaders(raw, options, unmerged, {});
    EXPECT_EQ(unmerged.ReturnedCookies, "b=3");
}

TEST(ResponseHeaders, LinesOfAnyShapeGiveAClearResult) {
    const std::string big(1 << 20, 'x');
    struct Case {
        const char* name;
        std::string raw;
        std::string cookies;
        std::string location;
    };
    const Case cases[] = {
        {"empty block", "", "", ""},
        {"status line alone", "HTTP/1.1 200 OK", "", ""},
        {"empty Set-Cookie", "HTTP/1.1 200 OK\r\nSet-Cookie: \r\n", "", ""},
        {"Set-Cookie without =", "HTTP/1.1 200 OK\r\nSet-Cookie: flag\r\n", "flag", ""},
        {"Set-Cookie without blank is no cookie", "HTTP/1.1 200 OK\r\nSet-Cookie:a=1\r\n", "", ""},
        {"megabyte cookie", "HTTP/1.1 200 OK\r\nSet-Cookie: k=" + big + "; path=/\r\n", "k=" + big, ""},
        {"empty Location", "HTTP/1.1 302 Found\r\nLocation: \r\n", "", ""},
        {"Location without blank is none", "HTTP/1.1 302 Found\r\nLocation:/x\r\n", "", ""},
        {"megabyte Location", "HTTP/1.1 302 Found\r\nLocation: /" + big + "\r\n", "", "/" + big},
        {"high bytes",
         "HTTP/1.1 200 \xB3\xC9\xB9\xA6\r\nLocation: /\xD6\xD0\x80\xFF\r\nSet-Cookie: \xC3\xFB=\xFF\r\n",
         "\xC3\xFB=\xFF", "/\xD6\xD0\x80\xFF"},
        {"bare line feeds", "HTTP/1.1 200 OK\nSet-Cookie: a=1\nLocation: /x\n", "", ""},
        {"zero bytes", std::string("HTTP/1.1 200 OK\r\nSet-Cookie: a\0b=1\r\nLocation: /\0\r\n", 50),
         std::string("a\0b=1", 5), std::string("/\0", 2)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WebRequestOutputs out;
        web::EvaluateResponseHeaders(c.raw, {}, out, {});
        EXPECT_EQ(out.ResponseHeaders, c.raw);
        EXPECT_EQ(out.ReturnedCookies, c.cookies);
        EXPECT_EQ(out.RedirectLocation, c.location);
    }
}

TEST(ResponseHeaders, KeepsThousandsOfCookiesInTheirOrder) {
    constexpr int kCookies = 20000;
    std::string raw = "HTTP/1.1 200 OK\r\n";
    std::string expected;
    for (int i = 0; i < kCookies; ++i) {
        raw += "Set-Cookie: c" + std::to_string(i) + "=" + std::to_string(i) + "; path=/\r\n";
        expected += (i == 0 ? "c" : "; c") + std::to_string(i) + "=" + std::to_string(i);
    }
    WebRequestOptions options;
    options.SendCookies = "c0=sent; extra=1";
    WebRequestOutputs out;
    int events = 0;
    web::EvaluateResponseHeaders(raw, options, out, [&events] { ++events; });
    EXPECT_EQ(out.ReturnedCookies, expected + "; extra=1");
    EXPECT_EQ(events, kCookies + 1);
}

}  // namespace
