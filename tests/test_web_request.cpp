// WebRequest against loopback servers: the request on the wire, the failure messages of each step,
// the charset step, the outputs filled from the response and the optional arguments' branches.
#include "web/web_request.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <random>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/com.h"
#include "platform/http_connect_to.h"
#include "tests/support/loopback_server.h"
#include "tests/support/peer_process.h"

namespace {

using testsupport::LoopbackServer;
using testsupport::RecordedRequest;
using testsupport::Reply;

std::string Text(std::string_view utf8) {
    return platform::codepage::Utf8ToText(utf8);
}

Reply Page(std::string body, std::vector<std::pair<std::string, std::string>> headers = {}) {
    Reply reply;
    reply.body = std::move(body);
    reply.headers = std::move(headers);
    return reply;
}

const std::vector<std::string> kDefaultLines = {
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)",
    "Accept: text/html, application/xhtml+xml, */*",
    "Accept-Encoding: gbk, GB2312",
    "Accept-Language: zh-cn",
    "Cache-Control: no-cache",
};

std::vector<std::string> AfterHost(const RecordedRequest& request) {
    EXPECT_FALSE(request.headerLines.empty());
    EXPECT_TRUE(request.headerLines.empty() || request.headerLines[0].starts_with("Host: "));
    return {request.headerLines.begin() + (request.headerLines.empty() ? 0 : 1), request.headerLines.end()};
}

TEST(WebRequest, SendsExactlyTheFiveDefaultLinesAfterHost) {
    LoopbackServer server([](const RecordedRequest&) { return Page("ok"); });
    WebRequestOutputs out;
    EXPECT_EQ(WebRequest(server.BaseUrl() + "/s?wd=x", {}, &out), "ok");
    ASSERT_EQ(server.Requests().size(), 1u);
    const RecordedRequest request = server.Requests()[0];
    EXPECT_EQ(request.requestLine, "GET /s?wd=x HTTP/1.1");
    EXPECT_EQ(request.headerLines[0], "Host: 127.0.0.1:" + std::to_string(server.Port()));
    EXPECT_EQ(AfterHost(request), kDefaultLines);
    EXPECT_EQ(request.body, "");
    EXPECT_EQ(out.StatusText, "200 OK");
}

TEST(WebRequest, RequestsTheObjectNameAsCracked) {
    LoopbackServer server([](const RecordedRequest&) { return Page("x"); });
    struct Case {
        std::string suffix;
        std::string target;
    };
    const Case cases[] = {
        {"", "/"},
        {"?x=1", "/"},  // a query right after the host is not sent
        {"#frag", "/"},
        {"/", "/"},
        {"/a/b?c=d&e", "/a/b?c=d&e"},
        {"/p?q#frag", "/p?q"},
        {"/a b?q=c d", "/a%20b?q=c%20d"},
        {"/" + Text("中") + "?wd=" + Text("文"), "/%E4%B8%AD?wd=%E6%96%87"},
        {"/x/../y/./z", "/x/../y/./z"},
        {"/%41%zz", "/%41%zz"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.suffix);
        std::size_t before = server.Requests().size();
        WebRequestOutputs out;
        WebRequest(server.BaseUrl() + c.suffix, {}, &out);
        ASSERT_EQ(server.Requests().size(), before + 1);
        EXPECT_EQ(server.Requests().back().target, c.target);
        EXPECT_EQ(out.StatusText, "200 OK");
    }
}

TEST(WebRequest, FollowsARedirectToTheFinalPage) {
    LoopbackServer server([](const RecordedRequest& request) {
        if (request.target == "/start") {
            Reply reply = Page("moved", {{"Location", "/middle"}});
            reply.status = 302;
            reply.reason = "Found";
            return reply;
        }
        if (request.target == "/middle") {
            Reply reply = Page("", {{"Location", "final?x=1"}});
            reply.status = 301;
            reply.reason = "Moved Permanently";
            return reply;
        }
        return Page("final page", {{"X-Final", "yes"}});
    });
    WebRequestOutputs out;
    EXPECT_EQ(WebRequest(server.BaseUrl() + "/start", {}, &out), "final page");
    EXPECT_EQ(out.StatusText, "200 OK");
    EXPECT_EQ(out.ResponseHeaders, "HTTP/1.1 200 OK\r\nX-Final: yes\r\nContent-Length: 10\r\n");
    EXPECT_EQ(out.RedirectLocation, "");
    auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[2].target, "/final?x=1");
    EXPECT_EQ(AfterHost(requests[2]), kDefaultLines);
}

TEST(WebRequest, KeepsThePartReadBeforeABrokenBody) {
    Reply reply = Page("partial text of a page");
    reply.mode = Reply::Mode::CutMidBody;
    reply.cutAfter = 7;
    LoopbackServer server([reply](const RecordedRequest&) { return reply; });
    WebRequestOutputs out;
    EXPECT_EQ(WebRequest(server.BaseUrl(), {}, &out), "partial");
    EXPECT_EQ(out.ResponseBytes, "partial");
    // The headers were read, so their status text replaces the read error.
    EXPECT_EQ(out.StatusText, "200 OK");
    EXPECT_EQ(out.ResponseHeaders, "HTTP/1.1 200 OK\r\nContent-Length: 22\r\n");
}

TEST(WebRequest, RejectsMalformedUrls) {
    const std::string cases[] = {
        "",
        "nourl",
        "ftp://x/",
        "http://",
        "https://",
        "http:/x/",
        "http//x/",
        "http://:80/",
        "http://x:0/",
        "http://x:65536/",
        "http://x:8a/",
        "http://x:/",
        "http://[::1/",
        "http://[]/",
        " http://x/",
        "file:///etc/passwd",
        "\xFF\xFE://x",
    };
    for (const std::string& url : cases) {
        SCOPED_TRACE(url);
        WebRequestOutputs out;
        out.ResponseHeaders = "untouched";
        int events = 0;
        EXPECT_EQ(WebRequest(url, {}, &out, [&events] { ++events; }), "");
        EXPECT_EQ(out.StatusText, Text("701 解析URL地址失败!"));
        EXPECT_EQ(out.ResponseHeaders, "untouched");
        EXPECT_EQ(events, 1);  // the end step only
    }
}

TEST(WebRequest, ReportsSendFailureForAClosedPort) {
    WebRequestOutputs out;
    WebRequestOptions options;
    options.TimeoutSeconds = 5;
    EXPECT_EQ(WebRequest("http://127.0.0.1:" + std::to_string(testsupport::FreeLoopbackPort()) + "/", options,
                         &out),
              "");
    EXPECT_EQ(out.StatusText, Text("711 发送请求失败!"));
}

TEST(WebRequest, ReportsNoResponseWhenTheServerSaysNothingUsable) {
    Reply silent;
    silent.mode = Reply::Mode::Silent;
    Reply closeAtOnce;
    closeAtOnce.mode = Reply::Mode::CloseAtOnce;
    Reply garbage;
    garbage.rawHead = "\x01\x02garbage\xFF\r\n\r\n";
    Reply truncatedHead;
    truncatedHead.rawHead = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n";
    truncatedHead.mode = Reply::Mode::CutMidBody;
    const std::pair<const char*, Reply> cases[] = {
        {"silent", silent},
        {"close at once", closeAtOnce},
        {"garbage head", garbage},
        {"head cut short", truncatedHead},
    };
    for (const auto& [name, reply] : cases) {
        SCOPED_TRACE(name);
        LoopbackServer server([&reply](const RecordedRequest&) { return reply; });
        WebRequestOptions options;
        options.TimeoutSeconds = 1;
        WebRequestOutputs out;
        EXPECT_EQ(WebRequest(server.BaseUrl() + "/", options, &out), "");
        EXPECT_EQ(out.StatusText, Text("712 服务器未响应!"));
        EXPECT_EQ(out.ResponseHeaders, "");
    }
}

TEST(WebRequest, DecodesByTheDeclaredCharset) {
    const std::string chinese = Text("中文页面");  // program text
    const std::string utf8Chinese = "中文页面";
    struct Case {
        const char* name;
        std::string body;
        std::string expected;
    };
    const std::string utf8Page = "<html><meta charset=\"utf-8\"><p>" + utf8Chinese + "</p>";
    const std::string gbkMeta = "<meta http-equiv=Content-Type content=\"text/html; charset=gbk\">" + chinese;
    const std::string upperGbk = "<meta content=\"text/html; charset=GBK\">" + chinese;
    const std::string gb2312 = "<META CHARSET='gb2312'>" + chinese;
    const std::string noMeta = "<html>" + chinese;
    const std::string unknown = "<meta charset=x-no-such-charset>" + chinese;
    const std::string badUtf8 = "<meta charset=utf-8>a\xFF\xFE\xC3z";
    const std::string lateMeta = std::string(1100, ' ') + "<meta charset=utf-8>" + utf8Chinese;
    const Case cases[] = {
        {"utf-8", utf8Page, "<html><meta charset=\"utf-8\"><p>" + chinese + "</p>"},
        {"gbk as it is", gbkMeta, gbkMeta},
        {"GBK through the decoder", upperGbk, upperGbk},
        {"gb2312 as it is", gb2312, gb2312},
        {"no meta tag", noMeta, noMeta},
        {"unknown charset", unknown, unknown},
        {"declaration after the first 1024 bytes", lateMeta, lateMeta},
    };
    LoopbackServer server([&cases](const RecordedRequest& request) {
        return Page(cases[std::stoi(request.target.substr(1))].body);
    });
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        WebRequestOutputs out;
        EXPECT_EQ(WebRequest(server.BaseUrl() + "/" + std::to_string(i), {}, &out), cases[i].expected);
        EXPECT_EQ(out.ResponseBytes, cases[i].body);
    }
    // Malformed UTF-8 is replaced, never a crash, and the rest survives.
    WebRequestOutputs out;
    LoopbackServer bad([&badUtf8](const RecordedRequest&) { return Page(badUtf8); });
    std::string text = WebRequest(bad.BaseUrl(), {}, &out);
    EXPECT_TRUE(text.starts_with("<meta charset=utf-8>a"));
    EXPECT_TRUE(text.ends_with("z"));
}

TEST(WebRequest, CutsTheTextAtTheFirstZeroByte) {
    const std::string body("before\0after", 12);
    const std::string utf8Body = "<meta charset=utf-8>" + std::string("中\0文", 7);
    LoopbackServer server(
        [&](const RecordedRequest& request) { return Page(request.target == "/u" ? utf8Body : body); });
    WebRequestOutputs out;
    EXPECT_EQ(WebRequest(server.BaseUrl(), {}, &out), "before");
    EXPECT_EQ(out.ResponseBytes, body);
    EXPECT_EQ(WebRequest(server.BaseUrl() + "/u", {}, &out), "<meta charset=utf-8>" + Text("中"));
    EXPECT_EQ(out.ResponseBytes, utf8Body);
}

TEST(WebRequest, SpeaksHttpsWithASelfSignedCertificate) {
    LoopbackServer server([](const RecordedRequest&) { return Page("secure page"); },
                          LoopbackServer::Tls::On);
    WebRequestOutputs out;
    EXPECT_EQ(WebRequest(server.BaseUrl() + "/tls", {}, &out), "secure page");
    EXPECT_EQ(out.StatusText, "200 OK");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(AfterHost(server.Requests()[0]), kDefaultLines);
}

TEST(WebRequest, TakesTheStatusTextFromTheStatusLine) {
    LoopbackServer server([](const RecordedRequest& request) {
        Reply reply = Page("body of " + request.target);
        if (request.target == "/missing") {
            reply.status = 404;
            reply.reason = "Not Found";
        } else if (request.target == "/short") {
            reply.rawHead = "HTTP/1.1 200\r\nContent-Length: 12\r\n\r\n";
        }
        return reply;
    });
    WebRequestOutputs out;
    EXPECT_EQ(WebRequest(server.BaseUrl() + "/missing", {}, &out), "body of /missing");
    EXPECT_EQ(out.StatusText, "404 Not Found");
    EXPECT_EQ(WebRequest(server.BaseUrl() + "/ok", {}, &out), "body of /ok");
    EXPECT_EQ(out.StatusText, "200 OK");
    WebRequest(server.BaseUrl() + "/short", {}, &out);
    EXPECT_EQ(out.StatusText, "200");
}

TEST(WebRequest, ProcessesEventsAfterEachHeaderLineTheCharsetStepAndTheEnd) {
    LoopbackServer server([](const RecordedRequest&) { return Page("page", {{"A", "1"}, {"B", "2"}}); });
    int events = 0;
    WebRequest(server.BaseUrl(), {}, nullptr, [&events] { ++events; });
    // Status line, A, B, Content-Length; the charset step; the end.
    EXPECT_EQ(events, 4 + 1 + 1);
}

TEST(WebRequest, LeavesTheComNestingAsItFoundItOnEveryRoad) {
    Reply cut = Page("0123456789");
    cut.mode = Reply::Mode::CutMidBody;
    cut.cutAfter = 3;
    LoopbackServer server([&cut](const RecordedRequest& request) {
        return request.target == "/cut" ? cut : Page("<meta charset=utf-8>x");
    });
    WebRequestOptions withCredentials;
    withCredentials.UserName = "u";
    withCredentials.Password = "p";
    WebRequestOptions badHeaders;
    badHeaders.NormalizeHeaders = false;
    badHeaders.ExtraHeaders = "no colon here";
    const std::pair<std::string, WebRequestOptions> roads[] = {
        {server.BaseUrl(), {}},
        {server.BaseUrl() + "/cut", {}},
        {"bad url", {}},
        {"http://127.0.0.1:" + std::to_string(testsupport::FreeLoopbackPort()), {}},
        {server.BaseUrl(), withCredentials},
        {server.BaseUrl(), badHeaders},
    };
    int depth = platform::com::Depth();
    for (const auto& [url, options] : roads) {
        SCOPED_TRACE(url);
        WebRequestOutputs out;
        int depthInEvents = -1;
        WebRequest(url, options, &out, [&depthInEvents] { depthInEvents = platform::com::Depth(); });
        EXPECT_EQ(platform::com::Depth(), depth);
        // The end step still runs inside the matcher's own pairing.
        EXPECT_EQ(depthInEvents, depth + 1);
    }
}

TEST(WebRequest, RejectsAHeaderBlockWithALineWithoutName) {
    LoopbackServer server([](const RecordedRequest&) { return Page("x"); });
    WebRequestOptions options;
    options.NormalizeHeaders = false;
    const std::string blocks[] = {"no colon here", ": no name", "X-A: 1\nX-B: 2",
                                  std::string("X-A: a\0b", 8)};
    for (const std::string& block : blocks) {
        SCOPED_TRACE(block);
        options.ExtraHeaders = block;
        WebRequestOutputs out;
        EXPECT_EQ(WebRequest(server.BaseUrl(), options, &out), "");
        EXPECT_EQ(out.StatusText, Text("710 设置协议头失败!"));
    }
    EXPECT_TRUE(server.Requests().empty());
}

TEST(WebRequest, SurvivesArbitraryBytesAsUrlPageAndHeaders) {
    std::mt19937 random(12345);
    auto randomBytes = [&random](std::size_t length) {
        std::string bytes(length, '\0');
        for (char& c : bytes) {
            c = static_cast<char>(random() & 0xFF);
        }
        return bytes;
    };
    std::string page = randomBytes(64 * 1024);
    std::string head = "HTTP/1.1 200 OK\r\n" + randomBytes(300) + "\r\nContent-Length: 5\r\n\r\n";
    LoopbackServer server([&](const RecordedRequest& request) {
        if (request.target == "/head") {
            Reply reply = Page("abcde");
            reply.rawHead = head;
            return reply;
        }
        return Page(page);
    });
    WebRequestOptions options;
    options.TimeoutSeconds = 2;
    WebRequestOutputs out;
    std::string text = WebRequest(server.BaseUrl() + "/page", options, &out);
    EXPECT_EQ(out.ResponseBytes, page);
    EXPECT_LE(text.size(), page.size() * 4);
    WebRequest(server.BaseUrl() + "/head", options, &out);
    for (int i = 0; i < 50; ++i) {
        std::string url = randomBytes(random() % 40);
        WebRequest(url, options, &out);
        WebRequest("http://127.0.0.1:" + std::to_string(server.Port()) + "/" + randomBytes(30), options,
                   &out);
        WebRequest("http://" + randomBytes(10) + "/", options, &out);
    }
    options.ExtraHeaders = randomBytes(2000);
    WebRequest(server.BaseUrl(), options, &out);
    options.NormalizeHeaders = false;
    WebRequest(server.BaseUrl(), options, &out);
}

TEST(WebRequest, SendsLargeHeaderBlocksOrRefusesThemCleanly) {
    LoopbackServer server(
        [](const RecordedRequest& request) { return Page(std::to_string(request.headerLines.size())); });
    auto block = [](int lines) {
        std::string text;
        for (int i = 0; i < lines; ++i) {
            text += "x-filler-" + std::to_string(i) + ": " + std::string(80, 'v') + "\r\n";
        }
        return text;
    };
    WebRequestOptions options;
    options.ExtraHeaders = block(8000);  // about 750 KB
    WebRequestOutputs out;
    EXPECT_EQ(WebRequest(server.BaseUrl(), options, &out), std::to_string(1 + 8000 + 5));
    EXPECT_EQ(out.StatusText, "200 OK");
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].headerLines[1], "X-Filler-0: " + std::string(80, 'v'));

    // Several megabytes exceed what the HTTP client sends in one head: nothing goes out.
    options.ExtraHeaders = block(40000);
    EXPECT_EQ(WebRequest(server.BaseUrl(), options, &out), "");
    EXPECT_EQ(out.StatusText, Text("711 发送请求失败!"));
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST(WebRequest, ReadsABodyOfFiftyMegabytes) {
    const std::string big(50 * 1024 * 1024, 'a');
    LoopbackServer server([&big](const RecordedRequest&) { return Page(big); });
    WebRequestOutputs out;
    std::string text = WebRequest(server.BaseUrl(), {}, &out);
    EXPECT_EQ(text.size(), big.size());
    EXPECT_TRUE(text == big);
}

TEST(WebRequest, ReturnsTheSamePageWhetherOrNotTheCallerReadsTheOutputs) {
    const std::string bodies[] = {
        "plain page",
        std::string("cut\0here", 8),
        "<meta charset=utf-8>" + std::string("中文"),
        "<meta charset=gbk>" + Text("中文"),
        "",
    };
    LoopbackServer server([&bodies](const RecordedRequest& request) {
        return Page(bodies[std::stoi(request.target.substr(1))]);
    });
    for (std::size_t i = 0; i < std::size(bodies); ++i) {
        SCOPED_TRACE(i);
        const std::string url = server.BaseUrl() + "/" + std::to_string(i);
        WebRequestOutputs out;
        std::string withOutputs = WebRequest(url, {}, &out);
        EXPECT_EQ(WebRequest(url), withOutputs);
        EXPECT_EQ(out.ResponseBytes, bodies[i]);
    }
}

TEST(WebRequest, AnAnnouncedLengthFarBeyondTheBodyIsNotTrustedWithMemory) {
    for (const std::string length : {"99999999999", "9223372036854775807", "18446744073709551615"}) {
        SCOPED_TRACE(length);
        Reply reply = Page("abcdefgh");
        reply.rawHead = "HTTP/1.1 200 OK\r\nContent-Length: " + length + "\r\n\r\n";
        reply.mode = Reply::Mode::CutMidBody;
        reply.cutAfter = 8;
        LoopbackServer server([&reply](const RecordedRequest&) { return reply; });
        WebRequestOptions options;
        options.TimeoutSeconds = 5;
        WebRequestOutputs out;
        std::string page = WebRequest(server.BaseUrl(), options, &out);
        // The bytes that came before the break, as for any broken body.
        EXPECT_EQ(page, "abcdefgh");
        EXPECT_EQ(out.ResponseBytes, "abcdefgh");
        EXPECT_EQ(out.StatusText, "200 OK");
    }
}

// Part of the optional arguments.

TEST(WebRequest, SendsTheVerbOfEachMethod) {
    LoopbackServer server([](const RecordedRequest& request) { return Page(request.method); });
    const std::pair<int, std::string> cases[] = {
        {0, "GET"},    {1, "POST"},  {2, "HEAD"},    {3, "PUT"}, {4, "OPTIONS"},
        {5, "DELETE"}, {6, "TRACE"}, {7, "CONNECT"}, {9, "GET"}, {-1, "GET"},
    };
    for (const auto& [method, verb] : cases) {
        SCOPED_TRACE(method);
        WebRequestOptions options;
        options.Method = method;
        WebRequestOutputs out;
        std::string text = WebRequest(server.BaseUrl() + "/m", options, &out);
        EXPECT_EQ(server.Requests().back().method, verb);
        EXPECT_EQ(out.StatusText, "200 OK");
        EXPECT_EQ(text, verb == "HEAD" ? "" : verb);
    }
}

TEST(WebRequest, PostAddsTheContentTypeLineUnlessTheCallerGaveOne) {
    LoopbackServer server([](const RecordedRequest&) { return Page("ok"); });
    WebRequestOptions options;
    options.Method = 1;
    options.BodyText = "a=1&b=2";
    WebRequest(server.BaseUrl() + "/post", options);
    RecordedRequest request = server.Requests().back();
    EXPECT_EQ(request.body, "a=1&b=2");
    std::vector<std::string> expected = kDefaultLines;
    expected.insert(expected.begin() + 4, "Content-Type: application/x-www-form-urlencoded");
    std::vector<std::string> lines = AfterHost(request);
    // libcurl tells the length of the body, as the system's service does.
    std::erase(lines, "Content-Length: 7");
    EXPECT_EQ(lines, expected);

    options.ExtraHeaders = "content-type: text/plain";
    WebRequest(server.BaseUrl() + "/post", options);
    request = server.Requests().back();
    EXPECT_EQ(request.Header("Content-Type"), "text/plain");
    EXPECT_EQ(AfterHost(request)[0], "Content-Type: text/plain");
}

TEST(WebRequest, BodyBytesWinOverBodyText) {
    LoopbackServer server([](const RecordedRequest&) { return Page("ok"); });
    WebRequestOptions options;
    options.Method = 3;
    options.BodyText = "text";
    options.BodyBytes = std::string("by\0tes", 6);
    WebRequest(server.BaseUrl(), options);
    EXPECT_EQ(server.Requests().back().body, std::string("by\0tes", 6));
    options.BodyBytes.clear();
    options.BodyText.clear();
    options.Method = 0;
    WebRequest(server.BaseUrl(), options);
    EXPECT_EQ(server.Requests().back().body, "");
    EXPECT_EQ(server.Requests().back().Header("Content-Length"), "");
}

TEST(WebRequest, LargePostBodyGoesWithoutExpectContinue) {
    LoopbackServer server(
        [](const RecordedRequest& request) { return Page(std::to_string(request.body.size())); });
    WebRequestOptions options;
    options.Method = 1;
    options.BodyBytes = std::string(3 * 1024 * 1024, 'b');
    EXPECT_EQ(WebRequest(server.BaseUrl(), options), std::to_string(options.BodyBytes.size()));
    EXPECT_EQ(server.Requests().back().Header("Expect"), "");
}

TEST(WebRequest, HeadReadsNoBodyButFillsTheHeaders) {
    LoopbackServer server([](const RecordedRequest&) { return Page("body"); });
    WebRequestOptions options;
    options.Method = 2;
    WebRequestOutputs out;
    EXPECT_EQ(WebRequest(server.BaseUrl(), options, &out), "");
    EXPECT_EQ(out.StatusText, "200 OK");
    EXPECT_EQ(out.ResponseHeaders, "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n");
    EXPECT_EQ(out.ResponseBytes, "");
}

TEST(WebRequest, NoRedirectReadsTheRedirectAnswer) {
    LoopbackServer server([](const RecordedRequest&) {
        Reply reply = Page("<meta charset=utf-8>moved", {{"Location", "http://127.0.0.1:1/elsewhere"}});
        reply.status = 302;
        reply.reason = "Found";
        return reply;
    });
    WebRequestOptions options;
    options.NoRedirect = true;
    WebRequestOutputs out;
    EXPECT_EQ(WebRequest(server.BaseUrl(), options, &out), "<meta charset=utf-8>moved");
    EXPECT_EQ(out.StatusText, "302 Found");
    EXPECT_EQ(out.RedirectLocation, "http://127.0.0.1:1/elsewhere");
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST(WebRequest, CollectsAndMergesCookies) {
    struct Case {
        std::string sendCookies;
        std::vector<std::string> setCookies;
        std::string expected;
    };
    const Case cases[] = {
        {"", {"a=1; path=/", "b=2"}, "a=1; b=2"},
        {"a=1; b=2", {"a=deleted; path=/"}, "b=2"},
        {"a=1; b=2", {"b=3"}, "b=3; a=1"},
        {"x=1", {}, "x=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sendCookies);
        LoopbackServer server([&c](const RecordedRequest&) {
            Reply reply = Page("ok");
            for (const std::string& cookie : c.setCookies) {
                reply.headers.emplace_back("Set-Cookie", cookie);
            }
            return reply;
        });
        WebRequestOptions options;
        options.SendCookies = c.sendCookies;
        WebRequestOutputs out;
        WebRequest(server.BaseUrl(), options, &out);
        EXPECT_EQ(out.ReturnedCookies, c.expected);
        EXPECT_EQ(server.Requests().back().Header("Cookie"), c.sendCookies);
    }
}

TEST(WebRequest, CallersCookieLineWinsOverSendCookies) {
    LoopbackServer server([](const RecordedRequest&) { return Page("ok", {{"Set-Cookie", "n=2"}}); });
    WebRequestOptions options;
    options.SendCookies = "s=1";
    options.ExtraHeaders = "Cookie: mine=1";
    WebRequestOutputs out;
    WebRequest(server.BaseUrl(), options, &out);
    const RecordedRequest request = server.Requests().back();
    int cookieLines = 0;
    for (const std::string& line : request.headerLines) {
        cookieLines += line.starts_with("Cookie") ? 1 : 0;
    }
    EXPECT_EQ(cookieLines, 1);
    EXPECT_EQ(request.Header("Cookie"), "mine=1");
    EXPECT_EQ(out.ReturnedCookies, "n=2; s=1");
}

TEST(WebRequest, EmptyLineInTheBlockDoesNotEndTheRequestHead) {
    LoopbackServer server([](const RecordedRequest&) { return Page("ok"); });
    WebRequestOptions options;
    options.NormalizeHeaders = false;
    options.AddDefaultHeaders = false;
    options.ExtraHeaders = "X-Mine: 1";
    options.SendCookies = "a=1";
    WebRequestOutputs out;
    EXPECT_EQ(WebRequest(server.BaseUrl(), options, &out), "ok");
    const RecordedRequest request = server.Requests().back();
    EXPECT_EQ(AfterHost(request), (std::vector<std::string>{"X-Mine: 1", "Cookie: a=1"}));
    EXPECT_EQ(request.body, "");
}

TEST(WebRequest, KeepAliveConnectionLineIsNotSent) {
    LoopbackServer server([](const RecordedRequest&) { return Page("ok"); });
    WebRequestOptions options;
    options.ExtraHeaders = "Connection: keep-alive";
    WebRequest(server.BaseUrl(), options);
    EXPECT_EQ(AfterHost(server.Requests().back()), kDefaultLines);
    options.ExtraHeaders = "Connection: close";
    WebRequest(server.BaseUrl(), options);
    EXPECT_EQ(server.Requests().back().Header("Connection"), "close");
}

TEST(WebRequest, SendsBasicCredentialsOnlyWithBothNameAndPassword) {
    LoopbackServer server([](const RecordedRequest&) { return Page("ok"); });
    WebRequestOptions options;
    options.UserName = "user";
    options.Password = "pass";
    WebRequest(server.BaseUrl(), options);
    EXPECT_EQ(server.Requests().back().Header("Authorization"), "Basic dXNlcjpwYXNz");
    options.Password.clear();
    WebRequest(server.BaseUrl(), options);
    EXPECT_EQ(server.Requests().back().Header("Authorization"), "");
}

TEST(WebRequest, GoesThroughTheProxyForItsScheme) {
    LoopbackServer proxy([](const RecordedRequest& request) {
        Reply reply = Page("via proxy");
        if (request.method == "CONNECT") {
            reply.status = 403;
            reply.reason = "Forbidden";
        }
        return reply;
    });
    WebRequestOptions options;
    options.Proxy = "127.0.0.1:" + std::to_string(proxy.Port());
    options.ProxyUserName = "pu";
    options.ProxyPassword = "pp";
    options.TimeoutSeconds = 5;
    WebRequestOutputs out;
    EXPECT_EQ(WebRequest("http://proxied.invalid/page?q=1", options, &out), "via proxy");
    RecordedRequest request = proxy.Requests().back();
    EXPECT_EQ(request.requestLine, "GET http://proxied.invalid/page?q=1 HTTP/1.1");
    EXPECT_EQ(request.Header("Host"), "proxied.invalid");
    EXPECT_EQ(request.Header("Proxy-Authorization"), "Basic cHU6cHA=");

    // An https request tunnels through the same proxy; this one refuses the tunnel.
    EXPECT_EQ(WebRequest("https://proxied.invalid/page", options, &out), "");
    EXPECT_EQ(proxy.Requests().back().requestLine, "CONNECT proxied.invalid:443 HTTP/1.1");
    EXPECT_EQ(out.StatusText, Text("711 发送请求失败!"));
}

TEST(WebRequest, IgnoresProxyEnvironmentVariables) {
    LoopbackServer server([](const RecordedRequest&) { return Page("direct"); });
    std::string closed = "http://127.0.0.1:" + std::to_string(testsupport::FreeLoopbackPort());
    ::setenv("http_proxy", closed.c_str(), 1);
    ::setenv("HTTPS_PROXY", closed.c_str(), 1);
    ::setenv("ALL_PROXY", closed.c_str(), 1);
    EXPECT_EQ(WebRequest(server.BaseUrl()), "direct");
    ::unsetenv("http_proxy");
    ::unsetenv("HTTPS_PROXY");
    ::unsetenv("ALL_PROXY");
}

TEST(WebRequest, ConnectToHookSendsAHostToTheLoopbackServer) {
    LoopbackServer server([](const RecordedRequest&) { return Page("routed"); });
    platform::http::testing::ScopedConnectTo route(
        {"www.search.invalid:80:127.0.0.1:" + std::to_string(server.Port())});
    EXPECT_EQ(WebRequest("http://www.search.invalid/s?wd=1"), "routed");
    EXPECT_EQ(server.Requests().back().Header("Host"), "www.search.invalid");
    EXPECT_EQ(server.Requests().back().target, "/s?wd=1");
}

// Bad input from either side: never a crash or a hang, always a clear result or message.

Reply RawHead(std::string head, std::string body = "body") {
    Reply reply = Page(std::move(body));
    reply.rawHead = std::move(head);
    return reply;
}

TEST(WebRequestBadInput, SetCookieLinesOfAnyShape) {
    std::string thousands;
    std::string thousandsCookies;
    for (int i = 0; i < 5000; ++i) {
        thousands += "Set-Cookie: c" + std::to_string(i) + "=v; path=/\r\n";
        thousandsCookies += (i == 0 ? "c" : "; c") + std::to_string(i) + "=v";
    }
    const std::string large(90 * 1024, 'v');
    struct Case {
        const char* name;
        std::string headerLines;
        std::string cookies;
        std::string status;
    };
    const Case cases[] = {
        {"empty", "Set-Cookie: \r\n", "", "200 OK"},
        {"no equals sign", "Set-Cookie: flag\r\n", "flag", "200 OK"},
        {"no semicolon", "Set-Cookie: a=1\r\n", "a=1", "200 OK"},
        {"nothing before the semicolon", "Set-Cookie: ; path=/\r\n", "", "200 OK"},
        {"no blank after the colon", "Set-Cookie:a=1\r\n", "", "200 OK"},
        {"thousands of cookies", thousands, thousandsCookies, "200 OK"},
        {"a value of 90 KB", "Set-Cookie: big=" + large + "; path=/\r\n", "big=" + large, "200 OK"},
        // Beyond the HTTP client's limit for one header line the answer counts as none.
        {"a value of a megabyte", "Set-Cookie: big=" + std::string(1 << 20, 'v') + "\r\n", "",
         Text("712 服务器未响应!")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackServer server([&c](const RecordedRequest&) {
            return RawHead("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n" + c.headerLines + "\r\n");
        });
        WebRequestOutputs out;
        WebRequestOptions options;
        options.TimeoutSeconds = 5;
        std::string page = WebRequest(server.BaseUrl(), options, &out);
        EXPECT_EQ(out.StatusText, c.status);
        EXPECT_EQ(out.ReturnedCookies, c.cookies);
        EXPECT_EQ(page, c.status == "200 OK" ? "body" : "");
    }
}

TEST(WebRequestBadInput, LocationLinesOfAnyShape) {
    struct Case {
        const char* name;
        std::string location;
        std::string followedTo;  // the target the redirect reached; empty when not followed
        std::string status;      // of the call that follows redirects
    };
    const std::string long80k = "/" + std::string(80 * 1024, 'a');
    const Case cases[] = {
        {"empty", "", "", "302 Found"},
        {"control and high bytes", "\x01\x02\xFF", "/%01%02%FF", "200 OK"},
        {"program text", "/\xD6\xD0?q=\xCE\xC4 x", "/%D6%D0?q=%CE%C4%20x", "200 OK"},
        {"80 KB long", long80k, long80k, "200 OK"},
        {"scheme without host", "http://", "", Text("712 服务器未响应!")},
        {"scheme the client does not speak", "ftp://127.0.0.1/x", "", Text("712 服务器未响应!")},
        {"relative with dots", "../../x", "/x", "200 OK"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackServer server([&c](const RecordedRequest& request) {
            if (request.target != "/start") {
                return Page("final");
            }
            return RawHead("HTTP/1.1 302 Found\r\nContent-Length: 4\r\nLocation: " + c.location + "\r\n\r\n");
        });
        WebRequestOptions options;
        options.TimeoutSeconds = 5;
        options.NoRedirect = true;
        WebRequestOutputs read;
        EXPECT_EQ(WebRequest(server.BaseUrl() + "/start", options, &read), "body");
        EXPECT_EQ(read.StatusText, "302 Found");
        EXPECT_EQ(read.RedirectLocation, c.location);

        options.NoRedirect = false;
        WebRequestOutputs followed;
        std::string page = WebRequest(server.BaseUrl() + "/start", options, &followed);
        EXPECT_EQ(followed.StatusText, c.status);
        if (!c.followedTo.empty()) {
            EXPECT_EQ(page, "final");
            EXPECT_EQ(server.Requests().back().target, c.followedTo);
        }
    }
}

TEST(WebRequestBadInput, HighBytesInHeadersTravelAsTheyAre) {
    const std::string value = "\xD6\xD0\xCE\xC4 \x80\xFF";
    LoopbackServer server([&value](const RecordedRequest&) {
        return RawHead("HTTP/1.1 200 \xB3\xC9\xB9\xA6\r\nContent-Length: 4\r\nX-Back: " + value + "\r\n\r\n");
    });
    WebRequestOptions options;
    options.ExtraHeaders = "x-gbk: " + value + "\r\n\xD6\xD0-name: 1";
    WebRequestOutputs out;
    EXPECT_EQ(WebRequest(server.BaseUrl(), options, &out), "body");
    const RecordedRequest request = server.Requests().back();
    EXPECT_EQ(request.Header("X-Gbk"), value);
    EXPECT_EQ(request.Header("\xD6\xD0-Name"), "1");
    EXPECT_EQ(out.StatusText, "200 \xB3\xC9\xB9\xA6");
    EXPECT_EQ(out.ResponseHeaders,
              "HTTP/1.1 200 \xB3\xC9\xB9\xA6\r\nContent-Length: 4\r\nX-Back: " + value + "\r\n");
}

TEST(WebRequestBadInput, AGarbageProxyNeverSendsTheRequestStraightToTheHost) {
    LoopbackServer target([](const RecordedRequest&) { return Page("direct"); });
    const std::string openSession = Text("702 创建WinHttp会话失败!");
    const std::string send = Text("711 发送请求失败!");
    const std::pair<std::string, std::string> cases[] = {
        {";;;", openSession},
        {"   ", openSession},
        {"\x01\x02", send},
        {"::::", send},
        {"=", send},
        {"a b c", send},
        {"http://", send},
        {"http=", send},
        {"127.0.0.1:99999", send},
        {"127.0.0.1:" + std::to_string(testsupport::FreeLoopbackPort()), send},
        {std::string(1 << 20, 'p'), send},
        {"file:///etc/passwd", send},
        {"\xD6\xD0:80", send},
        {std::string("127.0.0.1\0:1", 12), send},
    };
    for (const auto& [proxy, message] : cases) {
        SCOPED_TRACE(proxy.substr(0, 40));
        WebRequestOptions options;
        options.Proxy = proxy;
        options.TimeoutSeconds = 5;
        WebRequestOutputs out;
        EXPECT_EQ(WebRequest(target.BaseUrl() + "/p", options, &out), "");
        EXPECT_EQ(out.StatusText, message);
    }
    EXPECT_TRUE(target.Requests().empty());
}

}  // namespace
