// The request handle against loopback servers: which step fails for each kind of trouble, the
// headers on the wire, redirects, the body handed out piece by piece and the raw header block.
#include "platform/http_request.h"

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/http_connect_to.h"
#include "platform/http_url.h"
#include "tests/support/loopback_server.h"
#include "tests/support/peer_process.h"

namespace {

namespace http = platform::http;
using testsupport::LoopbackServer;
using testsupport::RecordedRequest;
using testsupport::Reply;

Reply Page(std::string body, std::vector<std::pair<std::string, std::string>> headers = {}, int status = 200,
           std::string reason = "OK") {
    Reply reply;
    reply.body = std::move(body);
    reply.headers = std::move(headers);
    reply.status = status;
    reply.reason = std::move(reason);
    return reply;
}

// Session, connection and request for one URL, closed in the order request, connection, session.
struct Handles {
    std::unique_ptr<http::Session> session;
    std::unique_ptr<http::Connection> connection;
    std::unique_ptr<http::Request> request;

    Handles(const std::string& url, std::string_view verb = "GET", int timeoutMs = 10000) {
        auto parts = http::CrackUrl(url);
        EXPECT_TRUE(parts.has_value());
        session = http::Session::Open(http::Session::Access::NoProxy, {});
        session->SetTimeouts(timeoutMs, timeoutMs, timeoutMs, timeoutMs);
        connection = http::Connection::Open(*session, parts->host, parts->port);
        request = http::Request::Open(*connection, verb, parts->path + parts->extraInfo, parts->secure);
        request->SetOption(http::kOptionSecurityFlags, 0x3300);
        request->SetOption(http::kOptionDisableFeature, http::kDisableCookies);
    }
    ~Handles() {
        request.reset();
        connection.reset();
    }

    // The whole body, and whether every read succeeded.
    std::pair<std::string, bool> ReadAll() {
        std::string body;
        std::size_t available = 0;
        while (request->QueryDataAvailable(available) && available > 0) {
            std::string chunk(available, '\0');
            std::size_t read = 0;
            if (!request->ReadData(chunk.data(), chunk.size(), read)) {
                return {body, false};
            }
            body.append(chunk, 0, read);
        }
        return {body, true};
    }
};

TEST(HttpRequest, UnreachablePortFailsTheSendStep) {
    Handles handles("http://127.0.0.1:" + std::to_string(testsupport::FreeLoopbackPort()) + "/");
    EXPECT_FALSE(handles.request->Send());
    EXPECT_FALSE(handles.request->ReceiveResponse());
    EXPECT_FALSE(handles.request->QueryRawHeaders().has_value());
}

TEST(HttpRequest, NoResponseHeadFailsTheReceiveStep) {
    Reply silent;
    silent.mode = Reply::Mode::Silent;
    Reply closeAtOnce;
    closeAtOnce.mode = Reply::Mode::CloseAtOnce;
    Reply onlyContinue;
    onlyContinue.rawHead = "HTTP/1.1 100 Continue\r\n\r\n";
    onlyContinue.mode = Reply::Mode::CutMidBody;
    for (const Reply& reply : {silent, closeAtOnce, onlyContinue}) {
        LoopbackServer server([&reply](const RecordedRequest&) { return reply; });
        Handles handles(server.BaseUrl() + "/", "GET", 1000);
        EXPECT_TRUE(handles.request->Send());
        EXPECT_FALSE(handles.request->ReceiveResponse());
        std::size_t available = 99;
        EXPECT_FALSE(handles.request->QueryDataAvailable(available));
        EXPECT_EQ(server.Requests().size(), 1u);
    }
}

TEST(HttpRequest, BrokenBodyFailsTheReadAfterTheChunksReceived) {
    Reply reply = Page(std::string(100000, 'x'));
    reply.mode = Reply::Mode::CutMidBody;
    reply.cutAfter = 40000;
    LoopbackServer server([&reply](const RecordedRequest&) { return reply; });
    Handles handles(server.BaseUrl() + "/");
    ASSERT_TRUE(handles.request->Send());
    ASSERT_TRUE(handles.request->ReceiveResponse());
    auto [body, complete] = handles.ReadAll();
    EXPECT_FALSE(complete);
    EXPECT_EQ(body, std::string(40000, 'x'));
    EXPECT_EQ(handles.request->QueryRawHeaders(), "HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n");
}

TEST(HttpRequest, ReadsTheBodyInPiecesOrHandsItOverWhole) {
    const std::string page = "0123456789abcdef";
    Reply broken = Page(page);
    broken.mode = Reply::Mode::CutMidBody;
    broken.cutAfter = 10;
    LoopbackServer server(
        [&](const RecordedRequest& request) { return request.target == "/cut" ? broken : Page(page); });

    // A buffer read, then appending reads that stop at the end of the body.
    Handles pieces(server.BaseUrl() + "/");
    ASSERT_TRUE(pieces.request->Send());
    ASSERT_TRUE(pieces.request->ReceiveResponse());
    char start[4];
    std::size_t read = 0;
    ASSERT_TRUE(pieces.request->ReadData(start, sizeof start, read));
    ASSERT_EQ(read, 4u);
    std::string body(start, read);
    std::size_t available = 0;
    ASSERT_TRUE(pieces.request->QueryDataAvailable(available));
    EXPECT_EQ(available, page.size() - 4);
    ASSERT_TRUE(pieces.request->ReadData(body, 5, read));
    EXPECT_EQ(read, 5u);
    ASSERT_TRUE(pieces.request->ReadData(body, 100, read));
    EXPECT_EQ(read, page.size() - 9);
    EXPECT_EQ(body, page);
    ASSERT_TRUE(pieces.request->QueryDataAvailable(available));
    EXPECT_EQ(available, 0u);
    EXPECT_TRUE(pieces.request->ReadData(body, 10, read));
    EXPECT_EQ(read, 0u);

    // One read of everything into an empty text, then nothing more.
    Handles whole(server.BaseUrl() + "/");
    ASSERT_TRUE(whole.request->Send());
    ASSERT_TRUE(whole.request->ReceiveResponse());
    ASSERT_TRUE(whole.request->QueryDataAvailable(available));
    std::string all;
    ASSERT_TRUE(whole.request->ReadData(all, available, read));
    EXPECT_EQ(all, page);
    ASSERT_TRUE(whole.request->QueryDataAvailable(available));
    EXPECT_EQ(available, 0u);

    // A broken body: what came, then a failing read of the byte announced after it.
    Handles cut(server.BaseUrl() + "/cut");
    ASSERT_TRUE(cut.request->Send());
    ASSERT_TRUE(cut.request->ReceiveResponse());
    std::string part;
    ASSERT_TRUE(cut.request->QueryDataAvailable(available));
    ASSERT_TRUE(cut.request->ReadData(part, available, read));
    EXPECT_EQ(part, page.substr(0, 10));
    ASSERT_TRUE(cut.request->QueryDataAvailable(available));
    EXPECT_EQ(available, 1u);
    EXPECT_FALSE(cut.request->ReadData(part, available, read));
    EXPECT_EQ(read, 0u);
    EXPECT_EQ(part, page.substr(0, 10));
}

TEST(HttpRequest, RawHeadersStartAnewAtEachStatusLine) {
    Reply reply = Page("body");
    reply.rawHead =
        "HTTP/1.1 100 Continue\r\nX-Early: 1\r\n\r\nHTTP/1.1 200 OK\nServer: lf-only\r\nContent-Length: "
        "4\r\n\r\n";
    LoopbackServer server([&reply](const RecordedRequest&) { return reply; });
    Handles handles(server.BaseUrl() + "/");
    ASSERT_TRUE(handles.request->Send());
    ASSERT_TRUE(handles.request->ReceiveResponse());
    EXPECT_EQ(handles.ReadAll(), std::make_pair(std::string("body"), true));
    EXPECT_EQ(handles.request->QueryRawHeaders(),
              "HTTP/1.1 200 OK\r\nServer: lf-only\r\nContent-Length: 4\r\n");
    EXPECT_EQ(handles.request->StatusCode(), 200);
    EXPECT_EQ(handles.request->ResponseHeader("server"), "lf-only");
    EXPECT_EQ(handles.request->ResponseHeader("X-Early"), std::nullopt);
}

TEST(HttpRequest, PutsHostAndThenExactlyTheGivenLinesOnTheWire) {
    LoopbackServer server([](const RecordedRequest&) { return Page("ok"); });
    struct Case {
        const char* verb;
        std::string body;
        std::vector<std::string> expected;  // after Host
    };
    const Case cases[] = {
        {"GET", "", {"X-One: 1", "x-two:2", "X-Empty:"}},
        {"POST", "a=1", {"X-One: 1", "x-two:2", "X-Empty:", "Content-Length: 3"}},
        {"PUT", "", {"X-One: 1", "x-two:2", "X-Empty:", "Content-Length: 0"}},
        {"POST",
         std::string(2 * 1024 * 1024, 'b'),
         {"X-One: 1", "x-two:2", "X-Empty:", "Content-Length: 2097152"}},
        {"DELETE", "", {"X-One: 1", "x-two:2", "X-Empty:"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.verb);
        Handles handles(server.BaseUrl() + "/w", c.verb);
        ASSERT_TRUE(handles.request->AddHeaders("X-One: 1\r\n\r\nx-two:2\r\nX-Empty:"));
        ASSERT_TRUE(handles.request->Send(c.body));
        RecordedRequest request = server.Requests().back();
        EXPECT_EQ(request.method, c.verb);
        ASSERT_FALSE(request.headerLines.empty());
        EXPECT_EQ(request.headerLines[0], "Host: 127.0.0.1:" + std::to_string(server.Port()));
        EXPECT_EQ(std::vector<std::string>(request.headerLines.begin() + 1, request.headerLines.end()),
                  c.expected);
        EXPECT_EQ(request.body, c.body);
    }
}

TEST(HttpRequest, RefusesHeaderLinesThatWouldBreakTheHead) {
    LoopbackServer server([](const RecordedRequest&) { return Page("ok"); });
    Handles handles(server.BaseUrl() + "/");
    const std::string bad[] = {"no colon",       ": no name",      "  : blank name",
                               "X-A: 1\nX-B: 2", "X-A: 1\rX-B: 2", std::string("X-A: \0", 6)};
    for (const std::string& block : bad) {
        SCOPED_TRACE(block);
        EXPECT_FALSE(handles.request->AddHeaders("X-Good: 1\r\n" + block));
    }
    EXPECT_TRUE(handles.request->AddHeaders(""));
    EXPECT_TRUE(handles.request->AddHeaders("X-Tab:\tvalue"));
    ASSERT_TRUE(handles.request->Send());
    RecordedRequest request = server.Requests().back();
    EXPECT_EQ(std::vector<std::string>(request.headerLines.begin() + 1, request.headerLines.end()),
              std::vector<std::string>{"X-Tab:\tvalue"});
}

TEST(HttpRequest, FollowsRedirectsAsTheServiceDoes) {
    LoopbackServer server([](const RecordedRequest& request) {
        const std::string& t = request.target;
        if (t == "/post302") {
            return Page("", {{"Location", "/landing"}}, 302, "Found");
        }
        if (t == "/post307") {
            return Page("", {{"Location", "/landing"}}, 307, "Temporary Redirect");
        }
        if (t == "/see-other") {
            return Page("", {{"Location", "/landing"}}, 303, "See Other");
        }
        if (t == "/ftp") {
            return Page("", {{"Location", "ftp://127.0.0.1/"}}, 301, "Moved");
        }
        if (t == "/no-location") {
            return Page("three hundred", {}, 302, "Found");
        }
        if (t == "/not-modified") {
            return Page("", {{"Location", "/landing"}}, 304, "Not Modified");
        }
        return Page(request.method + " " + request.body);
    });
    struct Case {
        std::string target;
        const char* verb;
        bool received;
        int status;
        std::string body;
    };
    const Case cases[] = {
        {"/post302", "POST", true, 200, "GET "},
        {"/post307", "POST", true, 200, "POST data"},
        {"/see-other", "PUT", true, 200, "GET "},
        {"/ftp", "GET", false, 0, ""},
        {"/no-location", "GET", true, 302, "three hundred"},
        {"/not-modified", "GET", true, 304, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        Handles handles(server.BaseUrl() + c.target, c.verb);
        ASSERT_TRUE(handles.request->Send(std::string_view(c.verb) == "GET" ? "" : "data"));
        EXPECT_EQ(handles.request->ReceiveResponse(), c.received);
        if (c.received) {
            EXPECT_EQ(handles.request->StatusCode(), c.status);
            EXPECT_EQ(handles.ReadAll().first, c.body);
        }
    }
}

TEST(HttpRequest, FollowsExactlyTenRedirects) {
    LoopbackServer server([](const RecordedRequest& request) {
        int n = std::stoi(request.target.substr(1));
        return n < 10 ? Page("", {{"Location", "/" + std::to_string(n + 1)}}, 301, "Moved") : Page("landed");
    });
    Handles ten(server.BaseUrl() + "/0");
    ASSERT_TRUE(ten.request->Send());
    ASSERT_TRUE(ten.request->ReceiveResponse());
    EXPECT_EQ(ten.ReadAll().first, "landed");
    Handles eleven(server.BaseUrl() + "/-1");
    ASSERT_TRUE(eleven.request->Send());
    EXPECT_FALSE(eleven.request->ReceiveResponse());
}

TEST(HttpRequest, RedirectsCanBeSwitchedOff) {
    LoopbackServer server([](const RecordedRequest&) {
        return Page("moved", {{"Location", "/x"}}, 302, "Found");
    });
    Handles handles(server.BaseUrl() + "/");
    ASSERT_TRUE(handles.request->SetOption(http::kOptionDisableFeature, http::kDisableRedirects));
    ASSERT_TRUE(handles.request->Send());
    ASSERT_TRUE(handles.request->ReceiveResponse());
    EXPECT_EQ(handles.request->StatusCode(), 302);
    EXPECT_EQ(handles.request->ResponseHeader("location"), "/x");
    EXPECT_EQ(handles.ReadAll().first, "moved");
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST(HttpRequest, CredentialsStayWithTheirServer) {
    LoopbackServer other([](const RecordedRequest&) { return Page("other"); });
    LoopbackServer server([&other](const RecordedRequest& request) {
        if (request.target == "/away") {
            return Page("", {{"Location", other.BaseUrl() + "/"}}, 302, "Found");
        }
        return Page("", {{"Location", "/home"}}, 302, "Found");
    });
    Handles handles(server.BaseUrl() + "/away");
    ASSERT_TRUE(handles.request->SetCredentials(http::AuthTarget::Server, http::kAuthSchemeBasic, "u", "p"));
    EXPECT_FALSE(handles.request->SetCredentials(http::AuthTarget::Server, 2, "u", "p"));
    ASSERT_TRUE(handles.request->Send());
    EXPECT_EQ(server.Requests().back().Header("Authorization"), "Basic dTpw");
    EXPECT_EQ(other.Requests().back().Header("Authorization"), "");
}

TEST(HttpRequest, KnowsOnlyTheOptionsOfTheService) {
    LoopbackServer server([](const RecordedRequest&) { return Page("ok"); });
    Handles handles(server.BaseUrl() + "/");
    EXPECT_TRUE(handles.request->SetOption(http::kOptionEnableFeature, http::kEnableSslRevocation));
    EXPECT_FALSE(handles.request->SetOption(http::kOptionEnableFeature, 2));
    EXPECT_FALSE(handles.request->SetOption(http::kOptionDisableFeature, 0x100));
    EXPECT_FALSE(handles.request->SetOption(http::kOptionSecurityFlags, 0x1));
    EXPECT_FALSE(handles.request->SetOption(12345, 0));
}

TEST(HttpRequest, VerifiesCertificatesUnlessTheErrorsAreIgnored) {
    LoopbackServer server([](const RecordedRequest&) { return Page("secure"); }, LoopbackServer::Tls::On);
    Handles strict(server.BaseUrl() + "/");
    ASSERT_TRUE(strict.request->SetOption(http::kOptionSecurityFlags, 0));
    EXPECT_FALSE(strict.request->Send());
    Handles lenient(server.BaseUrl() + "/");
    ASSERT_TRUE(lenient.request->Send());
    ASSERT_TRUE(lenient.request->ReceiveResponse());
    EXPECT_EQ(lenient.ReadAll().first, "secure");
}

TEST(HttpRequest, SendsCookiesSetDuringRedirectsOnlyWithTheCookieEngine) {
    LoopbackServer server([](const RecordedRequest& request) {
        if (request.target == "/set") {
            return Page("", {{"Set-Cookie", "k=v; path=/"}, {"Location", "/get"}}, 302, "Found");
        }
        return Page(request.Header("Cookie"));
    });
    Handles off(server.BaseUrl() + "/set");
    ASSERT_TRUE(off.request->Send());
    ASSERT_TRUE(off.request->ReceiveResponse());
    EXPECT_EQ(off.ReadAll().first, "");

    Handles on(server.BaseUrl() + "/set");
    on.request = http::Request::Open(*on.connection, "GET", "/set", false);
    ASSERT_TRUE(on.request->SetOption(http::kOptionSecurityFlags, 0x3300));
    ASSERT_TRUE(on.request->Send());
    ASSERT_TRUE(on.request->ReceiveResponse());
    EXPECT_EQ(on.ReadAll().first, "k=v");
}

TEST(HttpRequest, ConnectToRulesReachEveryHandle) {
    LoopbackServer server([](const RecordedRequest& request) { return Page(request.Header("Host")); });
    http::testing::ScopedConnectTo route({"search.invalid:80:127.0.0.1:" + std::to_string(server.Port())});
    Handles handles("http://search.invalid/s");
    ASSERT_TRUE(handles.request->Send());
    ASSERT_TRUE(handles.request->ReceiveResponse());
    EXPECT_EQ(handles.ReadAll().first, "search.invalid");
}

}  // namespace
