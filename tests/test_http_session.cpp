// Session and connection handles: the proxy chosen for each scheme and the checks of their inputs.
#include "platform/http_session.h"

#include <gtest/gtest.h>

namespace {

using platform::http::Connection;
using platform::http::Session;

TEST(HttpSession, PlatformIsAvailable) {
    EXPECT_TRUE(platform::http::CheckPlatform());
}

TEST(HttpSession, ChoosesTheProxyForTheScheme) {
    struct Case {
        std::string name;
        std::string forHttp;
        std::string forHttps;
    };
    const Case cases[] = {
        {"proxy:8080", "http://proxy:8080", "http://proxy:8080"},
        {"http=proxy:8080", "http://proxy:8080", ""},
        {"https=s:1;http=p:2", "http://p:2", "http://s:1"},
        {"http=p:2 other:3", "http://p:2", "http://other:3"},
        {"http://p:2", "http://p:2", "http://p:2"},
        {"http= https=s:1", "", "http://s:1"},
        {"=x", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto session = Session::Open(Session::Access::NamedProxy, c.name);
        ASSERT_NE(session, nullptr);
        EXPECT_EQ(session->ProxyFor(false), c.forHttp);
        EXPECT_EQ(session->ProxyFor(true), c.forHttps);
    }
    auto direct = Session::Open(Session::Access::NoProxy, "ignored:1");
    EXPECT_EQ(direct->ProxyFor(false), "");
    // A list that names no server at all is refused rather than ignored.
    for (std::string_view nothing : {"", "http=", ";;;", "   ", "http= https=", "; = ;"}) {
        SCOPED_TRACE(nothing);
        EXPECT_EQ(Session::Open(Session::Access::NamedProxy, nothing), nullptr);
    }
}

TEST(HttpSession, ChecksTimeoutsAndConnectionTargets) {
    auto session = Session::Open(Session::Access::NoProxy, {});
    EXPECT_TRUE(session->SetTimeouts(1, 2, 3, 4));
    EXPECT_TRUE(session->SetTimeouts(-1, 0, 30000, 30000));
    EXPECT_FALSE(session->SetTimeouts(-2, 0, 0, 0));
    EXPECT_EQ(session->GetTimeouts().resolveMs, -1);
    EXPECT_EQ(session->GetTimeouts().sendMs, 30000);

    EXPECT_NE(Connection::Open(*session, "h", 0), nullptr);
    EXPECT_NE(Connection::Open(*session, "h", 65535), nullptr);
    EXPECT_EQ(Connection::Open(*session, "", 80), nullptr);
    EXPECT_EQ(Connection::Open(*session, "h", 65536), nullptr);
    EXPECT_EQ(Connection::Open(*session, "h", -1), nullptr);
}

}  // namespace
