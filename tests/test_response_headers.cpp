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

}  // namespace
