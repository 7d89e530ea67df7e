// WebRequest against real servers started on loopback by the suite itself: nginx for basic
// authentication, redirects, Set-Cookie answers, HEAD, the methods and the request body, and
// tinyproxy for the proxy road with and without proxy credentials. A suite whose server is not
// installed or does not start is skipped with the reason.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/nginx_peer.h"
#include "tests/support/proxy_peer.h"
#include "web/web_request.h"

namespace {

using testsupport::NginxPeer;
using testsupport::ProxyPeer;

const char* const kServerDirectives = R"(
        location = /method { return 200 "$request_method"; }
        location = /redirect { return 302 /final; }
        location = /final { return 200 "final page"; }
        location /private/ {
            auth_basic "peer";
            auth_basic_user_file @PREFIX@/htpasswd;
            root @PREFIX@/www;
        }
        location /dav/ {
            root @PREFIX@/www;
            dav_methods PUT;
            create_full_put_path on;
        }
        location = /length { return 200 "$content_length"; }
        location = /content-type { return 200 "$content_type"; }
        location = /via { return 200 "$http_via"; }
        location = /cookies/two { add_header Set-Cookie "a=1; path=/"; add_header Set-Cookie "b=2";
                                  return 200 "$http_cookie"; }
        location = /cookies/delete-a { add_header Set-Cookie "a=deleted; path=/"; return 200 "$http_cookie"; }
        location = /cookies/b3 { add_header Set-Cookie "b=3"; return 200 "$http_cookie"; }
        location = /cookies/none { return 200 "$http_cookie"; }
)";

// nginx reads "{PLAIN}" passwords as they stand.
std::unique_ptr<NginxPeer> StartNginx(std::string& whyNot) {
    NginxPeer::Setup setup;
    setup.serverDirectives = kServerDirectives;
    setup.files = {{"htpasswd", "user:{PLAIN}secret\n"}, {"www/private/page.txt", "welcome"}};
    return NginxPeer::Start(setup, whyNot);
}

class NginxPeerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { nginx_ = StartNginx(whyNot_); }
    static void TearDownTestSuite() { nginx_.reset(); }
    void SetUp() override {
        if (!nginx_) {
            GTEST_SKIP() << "real-peer test skipped: " << whyNot_;
        }
    }
    static std::string Url(const std::string& path) { return nginx_->BaseUrl() + path; }

    static std::unique_ptr<NginxPeer> nginx_;
    static std::string whyNot_;
};

std::unique_ptr<NginxPeer> NginxPeerTest::nginx_;
std::string NginxPeerTest::whyNot_;

TEST_F(NginxPeerTest, BasicAuthenticationNeedsBothNameAndPassword) {
    struct Case {
        const char* name;
        std::string userName;
        std::string password;
        std::string status;
    };
    const Case cases[] = {
        {"right credentials", "user", "secret", "200 OK"},
        {"wrong password", "user", "wrong", "401 Unauthorized"},
        {"name without password", "user", "", "401 Unauthorized"},
        {"password without name", "", "secret", "401 Unauthorized"},
        {"none", "", "", "401 Unauthorized"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WebRequestOptions options;
        options.UserName = c.userName;
        options.Password = c.password;
        WebRequestOutputs out;
        std::string page = WebRequest(Url("/private/page.txt"), options, &out);
        EXPECT_EQ(out.StatusText, c.status);
        if (c.status == "200 OK") {
            EXPECT_EQ(page, "welcome");
        } else {
            EXPECT_NE(page.find("401 Authorization Required"), std::string::npos) << page;
            EXPECT_NE(out.ResponseHeaders.find("WWW-Authenticate: Basic realm=\"peer\"\r\n"),
                      std::string::npos);
        }
    }
}

TEST_F(NginxPeerTest, RedirectIsFollowedOrReadAsItCame) {
    WebRequestOutputs followed;
    EXPECT_EQ(WebRequest(Url("/redirect"), {}, &followed), "final page");
    EXPECT_EQ(followed.StatusText, "200 OK");
    EXPECT_EQ(followed.RedirectLocation, "");

    WebRequestOptions options;
    options.NoRedirect = true;
    WebRequestOutputs read;
    std::string page = WebRequest(Url("/redirect"), options, &read);
    EXPECT_EQ(read.StatusText, "302 Moved Temporarily");
    EXPECT_EQ(read.RedirectLocation, Url("/final"));
    EXPECT_NE(page.find("<title>302 Found</title>"), std::string::npos) << page;
    EXPECT_EQ(read.ResponseBytes, page);
    EXPECT_TRUE(read.ResponseHeaders.starts_with("HTTP/1.1 302 Moved Temporarily\r\n"));
    EXPECT_NE(read.ResponseHeaders.find("\r\nLocation: " + Url("/final") + "\r\n"), std::string::npos);
}

TEST_F(NginxPeerTest, CollectsTheCookiesTheServerSets) {
    struct Case {
        std::string path;
        std::string sendCookies;
        std::string returned;
    };
    const Case cases[] = {
        {"/cookies/two", "", "a=1; b=2"},
        {"/cookies/delete-a", "a=1; b=2", "b=2"},
        {"/cookies/b3", "a=1; b=2", "b=3; a=1"},
        {"/cookies/none", "x=1", "x=1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        WebRequestOptions options;
        options.SendCookies = c.sendCookies;
        WebRequestOutputs out;
        // The page is the Cookie header the server received.
        EXPECT_EQ(WebRequest(Url(c.path), options, &out), c.sendCookies);
        EXPECT_EQ(out.StatusText, "200 OK");
        EXPECT_EQ(out.ReturnedCookies, c.returned);
    }
}

TEST_F(NginxPeerTest, HeadFillsTheHeadersAndReadsNoBody) {
    WebRequestOptions options;
    options.Method = 2;
    WebRequestOutputs out;
    out.ResponseBytes = "stale";
    EXPECT_EQ(WebRequest(Url("/method"), options, &out), "");
    EXPECT_EQ(out.StatusText, "200 OK");
    EXPECT_TRUE(out.ResponseHeaders.starts_with("HTTP/1.1 200 OK\r\n"));
    EXPECT_NE(out.ResponseHeaders.find("\r\nServer: nginx"), std::string::npos);
    EXPECT_TRUE(out.ResponseHeaders.ends_with("\r\n"));
    EXPECT_EQ(out.ResponseBytes, "");
    EXPECT_EQ(nginx_->AccessLog(1).back().substr(0, 12), "HEAD /method");
}

TEST_F(NginxPeerTest, SendsTheVerbOfEachMethod) {
    struct Case {
        int method;
        std::string verb;
        std::string status;
    };
    // nginx refuses TRACE and CONNECT itself, after reading the verb.
    const Case cases[] = {
        {0, "GET", "200 OK"},
        {1, "POST", "200 OK"},
        {2, "HEAD", "200 OK"},
        {3, "PUT", "200 OK"},
        {4, "OPTIONS", "200 OK"},
        {5, "DELETE", "200 OK"},
        {6, "TRACE", "405 Not Allowed"},
        {7, "CONNECT", "405 Not Allowed"},
        {8, "GET", "200 OK"},
        {9, "GET", "200 OK"},
        {-1, "GET", "200 OK"},
        {1000, "GET", "200 OK"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        std::size_t logged = nginx_->AccessLog().size();
        WebRequestOptions options;
        options.Method = c.method;
        WebRequestOutputs out;
        std::string page = WebRequest(Url("/method"), options, &out);
        EXPECT_EQ(out.StatusText, c.status);
        if (c.status == "200 OK") {
            EXPECT_EQ(page, c.verb == "HEAD" ? "" : c.verb);
        }
        std::vector<std::string> log = nginx_->AccessLog(logged + 1);
        ASSERT_EQ(log.size(), logged + 1);
        EXPECT_EQ(log.back().substr(0, log.back().find(' ')), c.verb);
    }
}

TEST_F(NginxPeerTest, BodyBytesWinOverBodyText) {
    struct Case {
        const char* name;
        std::string bodyText;
        std::string bodyBytes;
        std::string stored;
    };
    const std::string bytes("\x01\0\xFF\xD6\xD0 bytes", 10);
    const Case cases[] = {
        {"text alone", "some text", "", "some text"},
        {"bytes over text", "some text", bytes, bytes},
        {"bytes alone", "", bytes, bytes},
        {"neither", "", "", ""},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.name);
        WebRequestOptions options;
        options.Method = 3;  // PUT: nginx stores the body as a file
        options.BodyText = c.bodyText;
        options.BodyBytes = c.bodyBytes;
        const std::string name = "dav/body-" + std::to_string(i);
        WebRequestOutputs out;
        WebRequest(Url("/" + name), options, &out);
        EXPECT_EQ(out.StatusText, "201 Created");
        EXPECT_EQ(nginx_->Prefix().Read("www/" + name), c.stored);
    }
    // The length the server was told, and none for a GET without a body.
    WebRequestOptions post;
    post.Method = 1;
    post.BodyText = "text";
    EXPECT_EQ(WebRequest(Url("/length"), post), "4");
    post.BodyBytes = bytes;
    EXPECT_EQ(WebRequest(Url("/length"), post), std::to_string(bytes.size()));
    EXPECT_EQ(WebRequest(Url("/length")), "");
}

TEST_F(NginxPeerTest, PostCarriesTheDefaultContentTypeUnlessTheCallerGivesOne) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "application/x-www-form-urlencoded"},           {"Content-Type: text/plain", "text/plain"},
        {"content-type: text/plain", "text/plain"},          {"CONTENT-TYPE: text/plain", "text/plain"},
        {"X-Other: 1", "application/x-www-form-urlencoded"},
    };
    for (const auto& [extraHeaders, contentType] : cases) {
        SCOPED_TRACE(extraHeaders);
        WebRequestOptions options;
        options.Method = 1;
        options.BodyText = "a=1";
        options.ExtraHeaders = extraHeaders;
        EXPECT_EQ(WebRequest(Url("/content-type"), options), contentType);
    }
    EXPECT_EQ(WebRequest(Url("/content-type")), "");
}

class ProxyPeerTest : public NginxPeerTest {
protected:
    static void SetUpTestSuite() {
        NginxPeerTest::SetUpTestSuite();
        if (nginx_) {
            open_ = ProxyPeer::Start({}, whyNot_);
        }
        if (open_) {
            guarded_ = ProxyPeer::Start({"proxyuser", "proxypass"}, whyNot_);
        }
    }
    static void TearDownTestSuite() {
        guarded_.reset();
        open_.reset();
        NginxPeerTest::TearDownTestSuite();
    }
    void SetUp() override {
        if (!guarded_) {
            GTEST_SKIP() << "real-peer test skipped: " << whyNot_;
        }
    }

    static std::unique_ptr<ProxyPeer> open_;
    static std::unique_ptr<ProxyPeer> guarded_;
};

std::unique_ptr<ProxyPeer> ProxyPeerTest::open_;
std::unique_ptr<ProxyPeer> ProxyPeerTest::guarded_;

TEST_F(ProxyPeerTest, PlainHttpGoesThroughTheProxyWithItsCredentials) {
    struct Case {
        const char* name;
        bool guarded;
        std::string userName;
        std::string password;
        std::string status;
    };
    const Case cases[] = {
        {"open proxy", false, "", "", "200 OK"},
        {"open proxy, credentials given anyway", false, "proxyuser", "proxypass", "200 OK"},
        {"guarded proxy, right credentials", true, "proxyuser", "proxypass", "200 OK"},
        // tinyproxy answers credentials it does not accept with 401 rather than 407.
        {"guarded proxy, wrong password", true, "proxyuser", "nope", "401 Unauthorized"},
        {"guarded proxy, name alone", true, "proxyuser", "", "407 Proxy Authentication Required"},
        {"guarded proxy, no credentials", true, "", "", "407 Proxy Authentication Required"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WebRequestOptions options;
        options.Proxy = (c.guarded ? guarded_ : open_)->Address();
        options.ProxyUserName = c.userName;
        options.ProxyPassword = c.password;
        options.TimeoutSeconds = 10;
        WebRequestOutputs out;
        std::string page = WebRequest(Url("/via"), options, &out);
        EXPECT_EQ(out.StatusText, c.status);
        if (c.status == "200 OK") {
            // The page is the Via header the proxy added on its way to nginx.
            EXPECT_NE(page.find("tinyproxy"), std::string::npos) << page;
        } else {
            // The proxy refused; nothing reached nginx.
            EXPECT_NE(out.ResponseHeaders.find("\r\nServer: tinyproxy"), std::string::npos)
                << out.ResponseHeaders;
        }
    }
}

TEST_F(ProxyPeerTest, ServerAndProxyCredentialsTravelTogether) {
    WebRequestOptions options;
    options.Proxy = guarded_->Address();
    options.ProxyUserName = "proxyuser";
    options.ProxyPassword = "proxypass";
    options.UserName = "user";
    options.Password = "secret";
    WebRequestOutputs out;
    EXPECT_EQ(WebRequest(Url("/private/page.txt"), options, &out), "welcome");
    EXPECT_EQ(out.StatusText, "200 OK");
    EXPECT_NE(out.ResponseHeaders.find("\r\nVia: "), std::string::npos);
}

TEST_F(ProxyPeerTest, WithoutAProxyTheRequestGoesStraightToTheServer) {
    WebRequestOutputs out;
    EXPECT_EQ(WebRequest(Url("/via"), {}, &out), "");
    EXPECT_EQ(out.StatusText, "200 OK");
}

}  // namespace
