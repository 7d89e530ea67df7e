// Blacklist splitting and the title containment test.
#include "search/blacklist.h"

#include <gtest/gtest.h>

#include "tests/support/fake_window.h"

using testsupport::Gb;

TEST(Blacklist, SplitsAtEveryBarKeepingEmptyKeywordsButNoTrailingOne) {
    using List = std::vector<std::string>;
    struct Case {
        std::string text;
        List keywords;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a|b", {"a", "b"}},
        {"a|", {"a"}},
        {"|a", {"", "a"}},
        {"a||b", {"a", "", "b"}},
        {"|", {""}},
        {"a||", {"a", ""}},
        {" a | b ", {" a ", " b "}},
        {"a\r\nb", {"a\r\nb"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitBlacklist(c.text), c.keywords) << c.text;
    }
}

TEST(Blacklist, ABarByteInsideADoubleByteCharacterIsNoSeparator) {
    // 0x81 0x7C is one double-byte character whose trail byte is "|".
    const std::string character = "\x81\x7C";
    EXPECT_EQ(SplitBlacklist(character), std::vector<std::string>{character});
    EXPECT_EQ(SplitBlacklist("a" + character + "|b"), (std::vector<std::string>{"a" + character, "b"}));
    EXPECT_EQ(SplitBlacklist(Gb("垃圾|虚假|假冒")),
              (std::vector<std::string>{Gb("垃圾"), Gb("虚假"), Gb("假冒")}));
}

TEST(Blacklist, ContainmentIsByteExactCaseSensitiveAndAtCharacterBoundaries) {
    struct Case {
        std::string title;
        std::string keyword;
        bool contained;
    } cases[] = {
        {"abc", "abc", true},
        {"xxabcxx", "abc", true},
        {"ABC", "abc", false},
        {"abc", "abcd", false},
        {"", "a", false},
        {"a", "", true},
        {"", "", false},
        {Gb("这是垃圾信息"), Gb("垃圾"), true},
        {Gb("这是信息"), Gb("垃圾"), false},
        // 啊 (B0A1) then 啊: the bytes A1 B0 span the boundary between the two characters.
        {"\xB0\xA1\xB0\xA1", "\xA1\xB0", false},
        // A one-byte keyword equal to a trail byte: 0x81 0x61 is one character, "a" follows it.
        {"\x81\x61", "a", false},
        {"\x81\x61"
         "a",
         "a", true},
        {"line\r\nbreak", "line\r\nbreak", true},
        {"line break", "line\r\nbreak", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TitleContains(c.title, c.keyword), c.contained) << c.title << " / " << c.keyword;
    }
}
