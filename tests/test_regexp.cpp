// The regular-expression engine: its dialect, match collection, Replace templates, subjects that are
// not valid UTF-16, and runaway patterns over large subjects.
#include "platform/regexp.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using platform::MatchCollection;
using platform::RegExp;

struct Found {
    std::size_t firstIndex;
    std::u16string value;
    bool operator==(const Found&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Found& found) {
    out << "{" << found.firstIndex << ", \"";
    for (char16_t unit : found.value) {
        if (unit < 0x80) {
            out << static_cast<char>(unit);
        } else {
            out << "\\u" << std::hex << static_cast<int>(unit) << std::dec;
        }
    }
    return out << "\"}";
}

std::vector<Found> AllMatches(const MatchCollection& matches) {
    std::vector<Found> found;
    for (int i = 0; i < matches.Count(); ++i) {
        auto match = matches.Item(i);
        found.push_back({match->FirstIndex(), std::u16string(match->Value())});
    }
    return found;
}

struct Settings {
    bool ignoreCase = false;
    bool multiline = false;
    bool global = true;
};

std::unique_ptr<RegExp> MakeRegExp(std::u16string_view pattern, Settings settings) {
    auto regExp = std::make_unique<RegExp>();
    regExp->SetPattern(pattern);
    regExp->SetIgnoreCase(settings.ignoreCase);
    regExp->SetMultiline(settings.multiline);
    regExp->SetGlobal(settings.global);
    return regExp;
}

std::u16string WithUnit(std::u16string before, char16_t unit, std::u16string_view after) {
    before.push_back(unit);
    before.append(after);
    return before;
}

TEST(RegExp, DefaultsAreThoseOfTheAutomationObject) {
    RegExp regExp;
    EXPECT_EQ(regExp.Pattern(), u"");
    EXPECT_FALSE(regExp.IgnoreCase());
    EXPECT_FALSE(regExp.Multiline());
    EXPECT_FALSE(regExp.Global());
}

TEST(RegExp, DialectAndSettings) {
    struct Case {
        const char* what;
        std::u16string pattern;
        Settings settings;
        std::u16string subject;
        std::vector<Found> expected;
    } cases[] = {
        {"global collects every match", u"a", {}, u"banana", {{1, u"a"}, {3, u"a"}, {5, u"a"}}},
        {"not global stops at the first", u"a", {.global = false}, u"banana", {{1, u"a"}}},
        {"dot stops at a line feed", u".+", {}, u"ab\ncd", {{0, u"ab"}, {3, u"cd"}}},
        {"dot takes a carriage return", u"b.$", {.multiline = true}, u"ab\r\ncd", {{1, u"b\r"}}},
        {"caret at line starts when multiline", u"^c", {.multiline = true}, u"ab\ncd", {{3, u"c"}}},
        {"caret at the start only otherwise", u"^c", {}, u"ab\ncd", {}},
        {"dollar before a final line feed only when multiline", u"b$", {}, u"ab\n", {}},
        {"dollar at line ends when multiline", u"b$", {.multiline = true}, u"ab\ncb", {{1, u"b"}, {4, u"b"}}},
        {"case matters by default", u"abc", {}, u"ABC", {}},
        {"ignore case", u"abc", {.ignoreCase = true}, u"xABC", {{1, u"ABC"}}},
        {"ignore case beyond ASCII",
         u"\u00e9t\u00e9",
         {.ignoreCase = true},
         u"\u00c9T\u00c9",
         {{0, u"\u00c9T\u00c9"}}},
        {"word characters are ASCII", u"\\w+", {}, u"\u4e2d\u6587abc_1", {{2, u"abc_1"}}},
        {"negated word class takes a quote", u"=[^\\w]?([-\\w]+)", {}, u"=\"utf-8\"", {{0, u"=\"utf-8"}}},
        {"escaped quotation mark", u"\\\"x\\\"", {}, u"a\"x\"", {{1, u"\"x\""}}},
        {"lazy quantifier", u"<.+?>", {}, u"<a><b>", {{0, u"<a>"}, {3, u"<b>"}}},
        {"\\u escape", u"\\u4e2d", {}, u"a\u4e2d", {{1, u"\u4e2d"}}},
        {"empty class never matches", u"a[]", {}, u"a]", {}},
        {"negated empty class matches anything", u"[^]", {}, u"a\n", {{0, u"a"}, {1, u"\n"}}},
        {"unset back-reference matches empty", u"(a)?b\\1c", {}, u"bc", {{0, u"bc"}}},
        {"empty pattern matches at every position", u"", {}, u"ab", {{0, u""}, {1, u""}, {2, u""}}},
        {"empty match, then the match at the next position",
         u"a*",
         {},
         u"baa",
         {{0, u""}, {1, u"aa"}, {3, u""}}},
        {"a position that gave an empty match is not tried again", u"x*|b", {}, u"b", {{0, u""}, {1, u""}}},
        {"indexes count UTF-16 units", u"b", {}, u"\U0001F600b", {{2, u"b"}}},
        {"a surrogate pair is one character", u".", {}, u"\U0001F600", {{0, u"\U0001F600"}}},
        {"an empty match steps over a whole pair", u"", {}, u"\U0001F600", {{0, u""}, {2, u""}}},
        {"a NUL is an ordinary character", u"b", {}, WithUnit(u"a", u'\0', u"b"), {{2, u"b"}}},
    };
    for (const auto& c : cases) {
        auto regExp = MakeRegExp(c.pattern, c.settings);
        auto matches = regExp->Execute(c.subject);
        ASSERT_NE(matches, nullptr) << c.what;
        EXPECT_EQ(AllMatches(*matches), c.expected) << c.what;
        EXPECT_TRUE(matches->Complete()) << c.what;
    }
}

TEST(RegExp, RejectedPatternsGiveNoCollectionAndNoReplacement) {
    for (const std::u16string& pattern : std::vector<std::u16string>{
             u"(", u"[a", u"a{2,1}", u"*", u"(?<n>a)(?<n>b)", u"\\C", WithUnit(u"a", 0xD800, u"")}) {
        auto regExp = MakeRegExp(pattern, {});
        EXPECT_EQ(regExp->Execute(u"abc"), nullptr);
        EXPECT_FALSE(regExp->Replace(u"abc", u"x").has_value());
        EXPECT_EQ(regExp->Pattern(), pattern);
    }
}

TEST(RegExp, ChangingThePatternOrASettingTakesEffectAtTheNextExecute) {
    auto regExp = MakeRegExp(u"(", {});
    EXPECT_EQ(regExp->Execute(u"ABC"), nullptr);
    regExp->SetPattern(u"b");
    EXPECT_EQ(regExp->Execute(u"ABC")->Count(), 0);
    regExp->SetIgnoreCase(true);
    EXPECT_EQ(regExp->Execute(u"ABC")->Count(), 1);
    regExp->SetPattern(u"^b");
    EXPECT_EQ(regExp->Execute(u"a\nb")->Count(), 0);
    regExp->SetMultiline(true);
    EXPECT_EQ(regExp->Execute(u"a\nb")->Count(), 1);
}

TEST(RegExp, SubMatches) {
    auto regExp = MakeRegExp(u"(a)?(b)(c)?", {});
    auto matches = regExp->Execute(u"xbz");
    ASSERT_NE(matches, nullptr);
    ASSERT_EQ(matches->Count(), 1);
    auto groups = matches->Item(0)->SubMatches();
    EXPECT_EQ(matches->GroupCount(), 3);
    EXPECT_EQ(groups.Count(), 3);
    EXPECT_EQ(groups.Item(0), std::optional<std::u16string_view>(u""));  // took no part
    EXPECT_EQ(groups.Item(1), std::optional<std::u16string_view>(u"b"));
    EXPECT_EQ(groups.Item(2), std::optional<std::u16string_view>(u""));  // unset after the last set one
    EXPECT_FALSE(groups.Item(3).has_value());
    EXPECT_FALSE(groups.Item(-1).has_value());
}

TEST(RegExp, GroupsOfEachMatchAreTheirOwn) {
    auto regExp = MakeRegExp(u"(a)|(b)", {});
    auto matches = regExp->Execute(u"ab");
    ASSERT_EQ(matches->Count(), 2);
    EXPECT_EQ(matches->Item(0)->SubMatches().Item(0), std::optional<std::u16string_view>(u"a"));
    EXPECT_EQ(matches->Item(0)->SubMatches().Item(1), std::optional<std::u16string_view>(u""));
    EXPECT_EQ(matches->Item(1)->SubMatches().Item(0), std::optional<std::u16string_view>(u""));
    EXPECT_EQ(matches->Item(1)->SubMatches().Item(1), std::optional<std::u16string_view>(u"b"));
}

TEST(RegExp, ItemOutsideTheCollectionIsNothing) {
    auto regExp = MakeRegExp(u"a", {});
    auto matches = regExp->Execute(u"aa");
    ASSERT_EQ(matches->Count(), 2);
    for (int index : {-1, 2, 1 << 30, INT32_MIN}) {
        EXPECT_FALSE(matches->Item(index).has_value()) << index;
    }
}

TEST(RegExp, TheCollectionOutlivesTheEngine) {
    std::unique_ptr<MatchCollection> matches;
    {
        auto regExp = MakeRegExp(u"(b+)", {});
        matches = regExp->Execute(std::u16string(u"abbc"));
    }
    EXPECT_EQ(matches->Item(0)->SubMatches().Item(0), std::optional<std::u16string_view>(u"bb"));
    EXPECT_EQ(matches->Subject(), u"abbc");
}

TEST(RegExp, ReplaceTemplates) {
    struct Case {
        std::u16string pattern;
        bool global;
        std::u16string subject;
        std::u16string replacement;
        std::u16string expected;
    } cases[] = {
        {u"a", true, u"banana", u"o", u"bonono"},
        {u"a", false, u"banana", u"o", u"bonana"},
        {u"(\\w+) (\\w+)", true, u"hello world", u"$2 $1", u"world hello"},
        {u"n", true, u"banana", u"[$&]", u"ba[n]a[n]a"},
        {u"n", false, u"banana", u"$$", u"ba$ana"},
        {u"n", false, u"banana", u"<$`|$'>", u"ba<ba|ana>ana"},
        {u"(a)", false, u"a", u"$0$2$x$", u"$0$2$x$"},
        {u"(a)", false, u"a", u"$10", u"a0"},  // no group 10: group 1, then "0"
        {u"(a)", false, u"a", u"$01", u"a"},
        {u"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", false, u"abcdefghij", u"$10$1", u"ja"},
        {u"(x)?b", true, u"abc", u"[$1]", u"a[]c"},  // an unset group fills in as empty
        {u"x*", true, u"abc", u"-", u"-a-b-c-"},
        {u"", true, u"\U0001F600", u"|", u"|\U0001F600|"},
        {u"q", true, u"abc", u"-", u"abc"},
        {u"b", true, u"abc", u"", u"ac"},
    };
    for (const auto& c : cases) {
        auto regExp = MakeRegExp(c.pattern, {.global = c.global});
        auto replaced = regExp->Replace(c.subject, c.replacement);
        ASSERT_TRUE(replaced.has_value());
        EXPECT_EQ(*replaced, c.expected);
    }
}

TEST(RegExp, LoneSurrogatesAreMatchedAsSingleCharactersAndKeptInTheTexts) {
    const char16_t high = 0xD800;
    const char16_t low = 0xDC00;
    struct Case {
        std::u16string subject;
        std::vector<Found> expected;
    } cases[] = {
        {WithUnit(u"a", high, u"b"), {{0, u"a"}, {1, WithUnit(u"", high, u"")}, {2, u"b"}}},
        {WithUnit(u"a", low, u"b"), {{0, u"a"}, {1, WithUnit(u"", low, u"")}, {2, u"b"}}},
        {WithUnit(u"a", high, u""), {{0, u"a"}, {1, WithUnit(u"", high, u"")}}},
        {WithUnit(WithUnit(u"", low, u""), high, u"\U0001F600"),
         {{0, WithUnit(u"", low, u"")}, {1, WithUnit(u"", high, u"")}, {2, u"\U0001F600"}}},
    };
    for (const auto& c : cases) {
        auto regExp = MakeRegExp(u".", {});
        auto matches = regExp->Execute(c.subject);
        ASSERT_NE(matches, nullptr);
        EXPECT_EQ(AllMatches(*matches), c.expected);
    }
    // Matches after a bad unit are not lost.
    auto regExp = MakeRegExp(u"\"title\":\"([^\"]*)\"", {});
    auto matches = regExp->Execute(WithUnit(u"\"title\":\"a\" ", high, u" \"title\":\"b\""));
    ASSERT_EQ(matches->Count(), 2);
    EXPECT_EQ(matches->Item(1)->SubMatches().Item(0), std::optional<std::u16string_view>(u"b"));
    EXPECT_EQ(regExp->Replace(WithUnit(u"x", low, u"x"), u"y"), WithUnit(u"x", low, u"x"));
}

TEST(RegExp, RunawayPatternEndsTheCollectionKeepingEarlierMatches) {
    const std::u16string rest = u" " + std::u16string(40, u'a') + u"!b ab";
    auto regExp = MakeRegExp(u"(a+)+b", {});
    auto matches = regExp->Execute(u"ab" + rest);
    ASSERT_NE(matches, nullptr);
    EXPECT_FALSE(matches->Complete());
    EXPECT_EQ(AllMatches(*matches), (std::vector<Found>{{0, u"ab"}}));
    EXPECT_EQ(regExp->Replace(u"ab" + rest, u"X"), u"X" + rest);
}

TEST(RegExp, PatternWhoseEveryAttemptScansTheRestEndsInBoundedTime) {
    std::u16string subject;
    for (int i = 0; i < 1'000'000; ++i) {
        subject += u"ab";
    }
    subject += u"\nc";
    auto regExp = MakeRegExp(u"a[ab]*?c", {});
    auto matches = regExp->Execute(subject);
    ASSERT_NE(matches, nullptr);
    EXPECT_FALSE(matches->Complete());
}

TEST(RegExp, RunawayPatternOverAHugeSubjectGivesUpWithoutHanging) {
    std::u16string subject(10 * 1024 * 1024, u'a');
    for (const std::u16string& pattern :
         std::vector<std::u16string>{u"(a|aa)+$", u"(?:a|b)*c", u"(a*)*b", u"a.+?c"}) {
        auto regExp = MakeRegExp(pattern, {.multiline = true});
        auto matches = regExp->Execute(subject);
        ASSERT_NE(matches, nullptr);
        EXPECT_EQ(matches->Count(), 0);
    }
}

TEST(RegExp, HugeSubjectIsSearchedToItsEnd) {
    std::u16string subject;
    while (subject.size() < 10 * 1024 * 1024) {
        subject +=
            u"<div class=\"c-container\"><meta name=\"x\" content=\"y\">\u6587\u5b57 \"title\":\"t\" "
            u"</div>\n";
    }
    subject += u"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">";
    subject += u"\"title\":\"\u6807\u9898\",\"url\":\"http://x/\"";
    struct Case {
        std::u16string pattern;
        std::u16string group;
    } cases[] = {
        {u"<meta.+?charset=[^\\w]?([-\\w]+)", u"gb2312"},
        {u"\"title\":\"([^\"]*)\",\"url\":\"([^\"]*)\"", u"\u6807\u9898"},
    };
    for (const auto& c : cases) {
        auto regExp = MakeRegExp(c.pattern, {.ignoreCase = true, .multiline = true});
        auto matches = regExp->Execute(subject);
        ASSERT_NE(matches, nullptr);
        EXPECT_TRUE(matches->Complete());
        ASSERT_EQ(matches->Count(), 1);
        EXPECT_EQ(matches->Item(0)->SubMatches().Item(0), std::optional<std::u16string_view>(c.group));
    }
}

}  // namespace
