// URL cracking, escaping and the URL handed to libcurl.
#include "platform/http_url.h"

#include <gtest/gtest.h>

namespace {

using platform::http::ComposeUrl;
using platform::http::CrackUrl;
using platform::http::EscapeUnsafe;

TEST(HttpUrl, CracksTheComponentsAsWritten) {
    struct Case {
        std::string url;
        bool secure;
        std::string host;
        int port;
        std::string path;
        std::string extra;
    };
    const Case cases[] = {
        {"http://www.baidu.com/s?wd=x&pn=0", false, "www.baidu.com", 80, "/s", "?wd=x&pn=0"},
        {"https://h/", true, "h", 443, "/", ""},
        {"HTTPS://H:8443", true, "H", 8443, "", ""},
        {"http://h?x=1", false, "h", 80, "", "?x=1"},
        {"http://h#top", false, "h", 80, "", "#top"},
        {"http://h/a%20b/../c?q#f", false, "h", 80, "/a%20b/../c", "?q#f"},
        {"http://user:pw@h:81/p", false, "h", 81, "/p", ""},
        {"http://[::1]:8080/x", false, "[::1]", 8080, "/x", ""},
        {"http://[::1]/x", false, "[::1]", 80, "/x", ""},
        {"http://h:65535/", false, "h", 65535, "/", ""},
        {"http://h/中 文", false, "h", 80, "/中 文", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        auto parts = CrackUrl(c.url);
        ASSERT_TRUE(parts.has_value());
        EXPECT_EQ(parts->secure, c.secure);
        EXPECT_EQ(parts->host, c.host);
        EXPECT_EQ(parts->port, c.port);
        EXPECT_EQ(parts->path, c.path);
        EXPECT_EQ(parts->extraInfo, c.extra);
    }
}

TEST(HttpUrl, RejectsWhatIsNotAnHttpUrl) {
    const std::string cases[] = {
        "",
        "nourl",
        "ftp://x/",
        "http://",
        "https://",
        "http:/x",
        "http:x",
        "://x",
        "http://:80/",
        "http://x:0/",
        "http://x:65536/",
        "http://x:123456/",
        "http://x:-1/",
        "http://x:/",
        "http://[::1",
        "http://[]/",
        "http://[::1]x/",
        "http://u@/",
        " http://x/",
        "httpx://x/",
    };
    for (const std::string& url : cases) {
        SCOPED_TRACE(url);
        EXPECT_FALSE(CrackUrl(url).has_value());
    }
}

TEST(HttpUrl, EscapesBlanksControlsAndHighBytesOnly) {
    EXPECT_EQ(EscapeUnsafe("/a b\tc\x7f?x=\xE4\xB8\xAD&y=%41#"), "/a%20b%09c%7F?x=%E4%B8%AD&y=%41#");
    EXPECT_EQ(EscapeUnsafe(std::string("\0", 1)), "%00");
    EXPECT_EQ(EscapeUnsafe("/-._~!$&'()*+,;=:@[]"), "/-._~!$&'()*+,;=:@[]");
}

TEST(HttpUrl, ComposesTheUrlWithoutTheFragment) {
    EXPECT_EQ(ComposeUrl(false, "h", 80, "/a b?q#frag"), "http://h:80/a%20b?q");
    EXPECT_EQ(ComposeUrl(true, "::1", 443, "/"), "https://[::1]:443/");
    EXPECT_EQ(ComposeUrl(true, "[::1]", 8443, "/x"), "https://[::1]:8443/x");
}

}  // namespace
