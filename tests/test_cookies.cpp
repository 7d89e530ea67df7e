// Cookie names, JoinUnique, MergeCookieText and the cookie of a Set-Cookie line.
#include "web/cookies.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(Cookies, NameIsTheTrimmedTextBeforeTheFirstEquals) {
    EXPECT_EQ(web::CookieName(" a =1=2"), "a");
    EXPECT_EQ(web::CookieName("flag"), "flag");
    EXPECT_EQ(web::CookieName("\xA1\xA1name\xA1\xA1=v"), "name");
    EXPECT_EQ(web::CookieName(""), "");
}

TEST(Cookies, JoinUniqueKeepsFirstOccurrences) {
    EXPECT_EQ(web::JoinUnique("a; b; a; c; b", "; "), "a; b; c");
    EXPECT_EQ(web::JoinUnique("", "; "), "");
    EXPECT_EQ(web::JoinUnique("a; ; ; b", "; "), "a; ; b");
    EXPECT_EQ(web::JoinUnique("a; ", "; "), "a");
}

TEST(Cookies, MergeLetsTheNewerWin) {
    struct Case {
        std::string older;
        std::string newer;
        std::string merged;
    };
    const Case cases[] = {
        {"a=1; b=2", "b=3; c=deleted", "b=3; a=1"},
        {"a=1; b=2", "a=deleted", "b=2"},
        {"a=1; a=2", "", "a=1"},
        {"", "", ""},
        {"x=1", "", "x=1"},
        {"", "y=2", "y=2"},
        {"  a=1;", "b=2;  ", "b=2; a=1"},
        {"a=1; b=2", "b=3; b=4", "b=3; b=4; a=1"},
        {"a=1; a=1", "a=1", "a=1"},
        {"\xA1\xA1k=v\xA1\xA1", "", "k=v"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.older + " | " + c.newer);
        EXPECT_EQ(web::MergeCookieText(c.older, c.newer), c.merged);
    }
}

TEST(Cookies, ReadsTheCookieOfASetCookieLine) {
    struct Case {
        std::string line;
        bool isCookie;
        std::string cookie;
    };
    const Case cases[] = {
        {"Set-Cookie: a=1; path=/; HttpOnly", true, "a=1"},
        {"Set-Cookie: b=2", true, "b=2"},
        {"Set-Cookie: c=set-cookie:x", true, "c=x"},
        {"Set-Cookie:  spaced  ", true, "spaced"},
        {"Set-Cookie: ;", true, ""},
        {"Set-Cookie: ", true, ""},
        {"Set-Cookie: novalue", true, "novalue"},
        {"Set-Cookie: =v; path=/", true, "=v"},
        {"Set-Cookie: ;;;;", true, ""},
        {"Set-Cookie: a=1;b=2;c=3", true, "a=1"},
        {"Set-Cookie: a=1; Set-Cookie: b=2", true, "a=1"},
        {"Set-Cookie: SET-COOKIE:a=1", true, "a=1"},
        {"Set-Cookie: \xA1\xA1\xD6\xD0=\xCE\xC4\xA1\xA1; path=/", true, "\xD6\xD0=\xCE\xC4"},
        {"Set-Cookie: \x80\xFF", true, "\x80\xFF"},
        {"set-cookie: a=1", false, ""},
        {"Set-Cookie2: a=1", false, ""},
        {"Set-Cookie:a=1", false, ""},
        {"X: Set-Cookie: a=1", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        std::string cookie;
        EXPECT_EQ(web::CookieFromHeaderLine(c.line, cookie), c.isCookie);
        EXPECT_EQ(cookie, c.cookie);
    }
}

TEST(Cookies, MegabyteValuesAndManyThousandItemsStayIntact) {
    const std::string big(1 << 20, 'v');
    std::string cookie;
    ASSERT_TRUE(web::CookieFromHeaderLine("Set-Cookie: big=" + big + "; path=/", cookie));
    EXPECT_EQ(cookie, "big=" + big);
    ASSERT_TRUE(web::CookieFromHeaderLine("Set-Cookie: big=" + big, cookie));
    EXPECT_EQ(cookie, "big=" + big);
    EXPECT_EQ(web::MergeCookieText("big=old", "big=" + big), "big=" + big);

    // Two hundred thousand items each way: a merge that searched lists would not finish.
    constexpr int kItems = 200000;
    std::string older;
    std::string newer;
    for (int i = 0; i < kItems; ++i) {
        older += "o" + std::to_string(i) + "=1; ";
        newer += "n" + std::to_string(i) + "=2; ";
    }
    older += "n0=old";
    std::string merged = web::MergeCookieText(older, newer);
    EXPECT_TRUE(merged.starts_with("n0=2; n1=2; "));
    EXPECT_TRUE(merged.ends_with("; o199999=1"));
    EXPECT_EQ(merged.find("n0=old"), std::string::npos);
    EXPECT_EQ(std::count(merged.begin(), merged.end(), ';'), 2 * kItems - 1);
    EXPECT_EQ(web::JoinUnique(older + "; " + older, "; "), older);
}

}  // namespace
