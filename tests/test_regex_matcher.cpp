// RegexMatcher: execution with its optional settings, 1-based reads, the "#引号" expansion, Replace,
// position outputs, the program's two patterns over GBK text, hostile input, and the pairing of the
// per-thread initialisation.
#include "regex/regex_matcher.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "platform/com.h"

namespace {

// GBK bytes: 标题, 中文, 引号, 关键词, 一, 二; 癮 (whose second byte is "a"); 😀 in its four-byte form.
const std::string kBiaoTi = "\xB1\xEA\xCC\xE2";
const std::string kZhongWen = "\xD6\xD0\xCE\xC4";
const std::string kYinHao = "\xD2\xFD\xBA\xC5";
const std::string kGuanJianCi = "\xB9\xD8\xBC\xFC\xB4\xCA";
const std::string kYi = "\xD2\xBB";
const std::string kEr = "\xB6\xFE";
const std::string kTrailA = "\xB0\x61";
const std::string kSmile = "\x94\x39\xFC\x36";

const std::string kExtractionPattern = "\"title\":\"([^\"]*)\",\"url\":\"([^\"]*)\"";
const std::string kCharsetPattern = "<meta.+?charset=[^\\w]?([-\\w]+)";

TEST(RegexMatcher, PatternWithoutMatch) {
    RegexMatcher matcher;
    EXPECT_TRUE(matcher.ExecutePattern("q+", "abc"));
    EXPECT_EQ(matcher.MatchCount(), 0);
    EXPECT_EQ(matcher.MatchText(1), "");
    EXPECT_EQ(matcher.SubMatchText(1, 1), "");
    EXPECT_EQ(matcher.SubMatchCount(), 0);
}

TEST(RegexMatcher, RejectedPatternKeepsThePattern) {
    for (std::string pattern : {"(", "a)", "[z-a]", "x{3,2}", "(?<", "\\"}) {
        RegexMatcher matcher;
        EXPECT_FALSE(matcher.ExecutePattern(pattern, "abc")) << pattern;
        EXPECT_EQ(matcher.MatchCount(), 0) << pattern;
        EXPECT_EQ(matcher.GetPattern(), pattern);
        EXPECT_EQ(matcher.MatchText(1), "") << pattern;
        EXPECT_EQ(matcher.SubMatchCount(), 0) << pattern;
        EXPECT_EQ(matcher.ReplaceMatches("x"), "") << pattern;
    }
}

TEST(RegexMatcher, OptionalSettings) {
    struct Case {
        const char* what;
        std::string pattern;
        std::string subject;
        bool caseSensitive;
        bool multiline;
        bool global;
        int count;
    } cases[] = {
        {"letter case ignored by default", "abc", "ABC", false, true, true, 1},
        {"letter case kept when asked", "abc", "ABC", true, true, true, 0},
        {"case-sensitive still matches its own case", "abc", "abc", true, true, true, 1},
        {"Chinese letters match themselves", kZhongWen, "x" + kZhongWen, false, true, true, 1},
        {"caret at a line start by default", "^b", "a\nb", false, true, true, 1},
        {"dollar at a line end by default", "a$", "a\nb", false, true, true, 1},
        {"caret at the start only when not multiline", "^b", "a\nb", false, false, true, 0},
        {"every match by default", "a", "banana", false, true, true, 3},
        {"the first match only when not global", "a", "banana", false, true, false, 1},
        {"dot does not cross a line feed", "<meta.+?charset=", "<meta\ncharset=utf-8", false, true, true, 0},
        {"dot takes the rest of the line", "<meta.+?charset=", "<meta x charset=utf-8", false, true, true, 1},
    };
    for (const auto& c : cases) {
        RegexMatcher matcher;
        EXPECT_TRUE(matcher.ExecutePattern(c.pattern, c.subject, c.caseSensitive, c.multiline, c.global))
            << c.what;
        EXPECT_EQ(matcher.MatchCount(), c.count) << c.what;
    }
}

TEST(RegexMatcher, IndexesOutsideTheMatchesGiveEmptyText) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.ExecutePattern("(a)(b)", "xab ab"));
    ASSERT_EQ(matcher.MatchCount(), 2);
    ASSERT_EQ(matcher.SubMatchCount(), 2);
    for (int bad : {0, -1, 3, INT_MAX, INT_MIN}) {
        EXPECT_EQ(matcher.MatchText(bad), "") << bad;
        EXPECT_EQ(matcher.SubMatchText(bad, 1), "") << bad;
        EXPECT_EQ(matcher.SubMatchText(1, bad), "") << bad;
    }
    EXPECT_EQ(matcher.MatchText(2), "ab");
    EXPECT_EQ(matcher.SubMatchText(2, 2), "b");
}

TEST(RegexMatcher, ReadsBeforeAnyExecution) {
    RegexMatcher matcher;
    int position = 7;
    EXPECT_EQ(matcher.MatchCount(), 0);
    EXPECT_EQ(matcher.SubMatchCount(), 0);
    EXPECT_EQ(matcher.GetPattern(), "");
    EXPECT_EQ(matcher.ReplaceMatches("x"), "");
    EXPECT_EQ(matcher.MatchText(1, &position), "");
    EXPECT_EQ(position, -2);
    EXPECT_EQ(matcher.SubMatchText(1, 1, &position), "");
    EXPECT_EQ(position, -2);
}

TEST(RegexMatcher, GroupThatTookNoPart) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.ExecutePattern("(a)?b", "b"));
    EXPECT_EQ(matcher.SubMatchCount(), 1);
    EXPECT_EQ(matcher.SubMatchText(1, 1), "");
    EXPECT_EQ(matcher.MatchText(1), "b");
}

TEST(RegexMatcher, QuoteMarker) {
    const std::string marker = "#" + kYinHao;
    struct Case {
        std::string pattern;
        bool expand;
        std::string subject;
        std::string expandedPattern;
        std::string match;
    } cases[] = {
        {marker + "x" + marker, true, "a\"x\"b", "\"x\"", "\"x\""},
        {marker + "x" + marker, false, "a\"x\"b", marker + "x" + marker, ""},
        {marker + "x" + marker, false, "a" + marker + "x" + marker, marker + "x" + marker,
         marker + "x" + marker},
        {"#" + marker + kYinHao, true, "#\"" + kYinHao, "#\"" + kYinHao, "#\"" + kYinHao},
        {marker + marker, true, "\"\"", "\"\"", "\"\""},
        {"#" + kYinHao.substr(0, 2), true, "#" + kYinHao, "#" + kYinHao.substr(0, 2),
         "#" + kYinHao.substr(0, 2)},
        {"title" + marker + ":" + marker + "([^" + marker + "]*)", true, "\"title\":\"" + kBiaoTi + "\"",
         "title\":\"([^\"]*)", "title\":\"" + kBiaoTi},
    };
    for (const auto& c : cases) {
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.ExecutePattern(c.pattern, c.subject, false, true, true, c.expand));
        EXPECT_EQ(matcher.GetPattern(), c.expandedPattern);
        EXPECT_EQ(matcher.MatchText(1), c.match);
    }
}

TEST(RegexMatcher, SecondExecutionReplacesTheFirst) {
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.ExecutePattern("(a)(b)", "ab ab"));
    ASSERT_TRUE(matcher.ExecutePattern("c", "ccc", true, true, true));
    EXPECT_EQ(matcher.MatchCount(), 3);
    EXPECT_EQ(matcher.SubMatchCount(), 0);
    EXPECT_EQ(matcher.SubMatchText(1, 1), "");
    EXPECT_EQ(matcher.MatchText(1), "c");
    EXPECT_EQ(matcher.GetPattern(), "c");
    EXPECT_EQ(matcher.ReplaceMatches("d"), "ddd");

    // The settings of the first do not linger either: defaults again, then a rejected pattern.
    ASSERT_TRUE(matcher.ExecutePattern("C", "ccc"));
    EXPECT_EQ(matcher.MatchCount(), 3);
    EXPECT_FALSE(matcher.ExecutePattern("(", "ccc"));
    EXPECT_EQ(matcher.MatchCount(), 0);
    EXPECT_EQ(matcher.MatchText(1), "");
    EXPECT_EQ(matcher.GetPattern(), "(");
    EXPECT_EQ(matcher.ReplaceMatches("d"), "");
}

TEST(RegexMatcher, ReplaceMatches) {
    struct Case {
        std::string pattern;
        bool global;
        std::string subject;
        std::string replacement;
        std::string expected;
    } cases[] = {
        {"a", true, "banana", "o", "bonono"},
        {"a", false, "banana", "o", "bonana"},
        {"(\\w+)@(\\w+)", true, "me@home", "$2 at $1", "home at me"},
        {"n", true, "banana", "<$&>", "ba<n>a<n>a"},
        {"n", false, "banana", "$$", "ba$ana"},
        {"a", true, "banana", "", "bnn"},
        {kZhongWen.substr(0, 2), true, kZhongWen + "x" + kZhongWen, kBiaoTi,
         kBiaoTi + kZhongWen.substr(2) + "x" + kBiaoTi + kZhongWen.substr(2)},
        {"(.)", true, kSmile + "a", "[$1]", "[" + kSmile + "][a]"},
    };
    for (const auto& c : cases) {
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.ExecutePattern(c.pattern, c.subject, false, true, c.global));
        EXPECT_EQ(matcher.ReplaceMatches(c.replacement), c.expected) << c.pattern << " " << c.replacement;
        EXPECT_EQ(matcher.ReplaceMatches(c.replacement), c.expected) << "the subject is left as it was";
    }
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.ExecutePattern("a", "banana"));
    EXPECT_EQ(matcher.ReplaceMatches(), "bnn");
}

TEST(RegexMatcher, PositionOutputs) {
    struct Case {
        const char* what;
        std::string pattern;
        std::string subject;
        int matchIndex;
        int groupIndex;  // 0: MatchText
        std::string text;
        int position;
    } cases[] = {
        {"group 2 of xab", "(a)(b)", "xab", 1, 2, "b", 2},
        {"match of xab", "(a)(b)", "xab", 1, 0, "ab", 1},
        {"group 1 of xab", "(a)(b)", "xab", 1, 1, "a", 1},
        {"double-byte characters before", "(a)(b)", kZhongWen + "xab", 1, 0, "ab", 5},
        {"group after double-byte characters", "(a)(b)", kZhongWen + "xab", 1, 2, "b", 6},
        {"four-byte character before", "(a)(b)", kSmile + "xab", 1, 0, "ab", 5},
        {"second match starts at its own place", "ab", "abxab", 2, 0, "ab", 3},
        {"Chinese match text", kBiaoTi, kZhongWen + kBiaoTi, 1, 0, kBiaoTi, 4},
        {"a trail byte is not a character", "x.(a)", "x" + kTrailA + "a", 1, 1, "a", 3},
        {"no such match: empty text at 0", "a", "xa", 5, 0, "", 0},
        {"no such group: empty text at 0", "a", "xa", 1, 3, "", 0},
        {"empty match at the start", "x*", "ab", 1, 0, "", 0},
        {"empty match at the end", "$", "ab", 1, 0, "", -2},
        {"empty subject", "x*", "", 1, 0, "", -2},
        {"text after a NUL", "b", std::string("a\0b", 3), 1, 0, "b", 2},
    };
    for (const auto& c : cases) {
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.ExecutePattern(c.pattern, c.subject, false, false)) << c.what;
        int position = 99;
        std::string text = c.groupIndex == 0 ? matcher.MatchText(c.matchIndex, &position)
                                             : matcher.SubMatchText(c.matchIndex, c.groupIndex, &position);
        EXPECT_EQ(text, c.text) << c.what;
        EXPECT_EQ(position, c.position) << c.what;
    }
}

TEST(RegexMatcher, ExtractionPatternOverAResultPage) {
    const std::string link1 = "http://www.baidu.com/link?url=Ab-9_xYz";
    const std::string link2 = "https://example.com/a?b=1&c=" + kZhongWen;
    const std::string title2 = kZhongWen + " <em>" + kGuanJianCi + "</em>";
    const std::string page =
        "<html><script>var x = {\"title\":\"\",\"u\":1};\n"
        "data = [{\"title\":\"" +
        kBiaoTi + kYi + "\",\"url\":\"" + link1 +
        "\",\"n\":1},\n"
        "<div>" +
        kZhongWen + "</div>{\"TITLE\":\"" + title2 + "\",\"URL\":\"" + link2 +
        "\"}\n"
        "{\"title\":\"" +
        kEr + "\", \"url\":\"not a result\"}</script></html>";
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.ExecutePattern(kExtractionPattern, page));
    ASSERT_EQ(matcher.MatchCount(), 2);
    EXPECT_EQ(matcher.SubMatchCount(), 2);
    EXPECT_EQ(matcher.SubMatchText(1, 1), kBiaoTi + kYi);
    EXPECT_EQ(matcher.SubMatchText(1, 2), link1);
    EXPECT_EQ(matcher.SubMatchText(2, 1), title2);
    EXPECT_EQ(matcher.SubMatchText(2, 2), link2);
    EXPECT_EQ(matcher.SubMatchText(1, 1), kBiaoTi + kYi) << "a read can be repeated";
}

TEST(RegexMatcher, CharsetPatternOverMetaTags) {
    struct Case {
        std::string head;
        std::string charset;
    } cases[] = {
        {"<meta charset=\"utf-8\">", "utf-8"},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">", "gb2312"},
        {"<META HTTP-EQUIV=\"content-type\" CONTENT=\"text/html; CHARSET=GBK\">", "GBK"},
        {"<meta charset='big5'>", "big5"},
        {"<meta charset=utf-8>", "utf-8"},
        {"<html>\r\n<head>\r\n<meta charset=\"UTF-8\">\r\n<title>" + kBiaoTi + "</title>", "UTF-8"},
        {"<head><title>x</title></head>", ""},
        {"<meta name=\"a\"\ncontent=\"text/html; charset=gb2312\">", ""},
    };
    for (const auto& c : cases) {
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.ExecutePattern(kCharsetPattern, c.head)) << c.head;
        EXPECT_EQ(matcher.SubMatchText(1, 1), c.charset) << c.head;
    }
}

// Every operation on whatever bytes: nothing may crash, and the counts stay in range.
void ExerciseEverything(RegexMatcher& matcher, const std::string& pattern, const std::string& subject) {
    matcher.ExecutePattern(pattern, subject);
    int count = matcher.MatchCount();
    EXPECT_GE(count, 0);
    int position = 0;
    for (int i : {0, 1, 2, count, count + 1}) {
        matcher.MatchText(i, &position);
        EXPECT_GE(position, -2);
        for (int j : {0, 1, 2}) {
            matcher.SubMatchText(i, j, &position);
            EXPECT_GE(position, -2);
        }
    }
    matcher.SubMatchCount();
    matcher.GetPattern();
    matcher.ReplaceMatches("$1$&$$" + kZhongWen);
}

TEST(RegexMatcher, RandomBytesAsPatternAndSubject) {
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> length(0, 24);
    const std::string alphabet = "ab()[]*+?.|\\^$-{}0123\"#\n\x81\xD2\xFD\x30\xFF";
    std::uniform_int_distribution<std::size_t> letter(0, alphabet.size() - 1);
    RegexMatcher matcher;
    for (int round = 0; round < 3000; ++round) {
        std::string pattern;
        std::string subject;
        for (int i = length(random); i > 0; --i) {
            pattern.push_back(round % 2 == 0 ? static_cast<char>(byte(random)) : alphabet[letter(random)]);
        }
        for (int i = length(random) * 4; i > 0; --i) {
            subject.push_back(round % 3 == 0 ? static_cast<char>(byte(random)) : alphabet[letter(random)]);
        }
        ExerciseEverything(matcher, pattern, subject);
    }
}

TEST(RegexMatcher, InvalidProgramTextStillMatches) {
    // A stray lead byte followed by a letter is a character; a blank ends it.
    for (std::string bad : {"\xFF", "\x81", "\x81\x30", "\x81\x30\xFF", "\x80\x80", "\xD6"}) {
        RegexMatcher matcher;
        ASSERT_TRUE(matcher.ExecutePattern("(abc)", "x" + bad + " abc" + bad + " abc" + bad));
        EXPECT_EQ(matcher.MatchCount(), 2);
        EXPECT_EQ(matcher.SubMatchText(2, 1), "abc");
        ExerciseEverything(matcher, "x" + bad + "(.)", bad + "x" + bad + "y");
        ExerciseEverything(matcher, bad, bad);
        // The instance's conversions are not left in a broken state.
        ASSERT_TRUE(matcher.ExecutePattern("(" + kZhongWen + ")", bad + " " + kBiaoTi + kZhongWen));
        EXPECT_EQ(matcher.SubMatchText(1, 1), kZhongWen);
    }
}

TEST(RegexMatcher, HugePatterns) {
    std::string alternatives = "x";
    for (int i = 0; i < 20000; ++i) {
        alternatives += "|w" + std::to_string(i);
    }
    struct Case {
        const char* what;
        std::string pattern;
    } cases[] = {
        {"long literal", std::string(1 << 20, 'a')},
        {"deep nesting", std::string(100000, '(') + "a" + std::string(100000, ')')},
        {"many alternatives", alternatives},
        {"many groups",
         [] {
             std::string groups;
             for (int i = 0; i < 70000; ++i) {
                 groups += "(a)";
             }
             return groups;
         }()},
    };
    for (const auto& c : cases) {
        RegexMatcher matcher;
        bool executed = matcher.ExecutePattern(c.pattern, "aaa w19999 aaa");
        EXPECT_EQ(matcher.GetPattern(), c.pattern) << c.what;
        if (!executed) {
            EXPECT_EQ(matcher.MatchCount(), 0) << c.what;
        }
        ExerciseEverything(matcher, c.pattern, "w19999");
    }
}

TEST(RegexMatcher, HugeSubject) {
    std::string page;
    const std::string noise =
        "<div class=\"c-container\"><a href=\"#\">" + kZhongWen + "</a>{\"title\":1}</div>\n";
    while (page.size() < 10 * 1024 * 1024) {
        page += noise;
    }
    page += "{\"title\":\"" + kBiaoTi + "\",\"url\":\"http://x/\"}";
    RegexMatcher matcher;
    ASSERT_TRUE(matcher.ExecutePattern(kExtractionPattern, page));
    ASSERT_EQ(matcher.MatchCount(), 1);
    EXPECT_EQ(matcher.SubMatchText(1, 1), kBiaoTi);
    int position = 0;
    EXPECT_EQ(matcher.MatchText(1, &position).substr(0, 9), "\"title\":\"");
    EXPECT_EQ(position, static_cast<int>(page.size() - 1 - matcher.MatchText(1).size()));
}

TEST(RegexMatcher, CatastrophicPatternGivesUpWithTheMatchesBefore) {
    RegexMatcher matcher;
    EXPECT_TRUE(matcher.ExecutePattern("(a+)+b", "ab " + std::string(40, 'a') + "!b"));
    EXPECT_EQ(matcher.MatchCount(), 1);
    EXPECT_EQ(matcher.MatchText(1), "ab");
    EXPECT_TRUE(matcher.ExecutePattern("(x+x+)+y", std::string(100000, 'x')));
    EXPECT_EQ(matcher.MatchCount(), 0);
}

TEST(RegexMatcher, EachInstanceInitialisesOnceAndUndoesItAtTheEnd) {
    const int before = platform::com::Depth();
    {
        RegexMatcher first;
        EXPECT_EQ(platform::com::Depth(), before + 1);
        {
            RegexMatcher second;
            EXPECT_EQ(platform::com::Depth(), before + 2);
            second.ExecutePattern("(", "x");
            second.ExecutePattern("a", "a");
            EXPECT_EQ(platform::com::Depth(), before + 2);
        }
        EXPECT_EQ(platform::com::Depth(), before + 1);
        first.ExecutePattern("a", "a");
        first.ReplaceMatches("b");
    }
    EXPECT_EQ(platform::com::Depth(), before);
}

}  // namespace
