// DecodeResultText: references and escapes the way result pages write titles and links, the order of
// the two decodings, everything that must stay as written, and hostile input.
#include "search/result_text_decoding.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tests/support/fake_window.h"

using testsupport::Gb;

namespace {

struct Case {
    std::string input;     // UTF-8, converted to program text
    std::string expected;  // UTF-8, converted to program text
};

void ExpectDecodes(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeResultText(Gb(c.input)), Gb(c.expected)) << c.input;
    }
}

TEST(ResultTextDecodingTest, TextWithoutReferencesOrEscapesIsUnchanged) {
    ExpectDecodes({
        {"", ""},
        {"plain title", "plain title"},
        {"31省区市新增确诊病例", "31省区市新增确诊病例"},
        {"a;b#c x41 u4e2d amp;", "a;b#c x41 u4e2d amp;"},
    });
}

TEST(ResultTextDecodingTest, CharacterReferencesBecomeTheirCharacters) {
    ExpectDecodes({
        {"AT&amp;T", "AT&T"},
        {"&quot;q&quot; &apos;a&apos; &#39;b&#39;", "\"q\" 'a' 'b'"},
        {"&lt;em&gt;x&lt;/em&gt;", "<em>x</em>"},
        {"&QUOT;&AMP;&LT;&GT;", "\"&<>"},
        {"&#x4e2d;&#X6587;&#25991;", "中文文"},
        {"&#0000065;&#x0041;", "AA"},
        {"&hellip;&mdash;&ndash;&middot;&laquo;&raquo;&ldquo;&rdquo;&lsquo;&rsquo;", "…—–·«»“”‘’"},
        {"&copy;&reg;&trade;&times;&yen;", "©®™×¥"},
        {"http://a.example/p?a=1&amp;b=2&amp;c=3", "http://a.example/p?a=1&b=2&c=3"},
    });
}

TEST(ResultTextDecodingTest, CharactersOutsideGbkKeepTheirGb18030Form) {
    EXPECT_EQ(DecodeResultText("a&nbsp;b"),
              "a\x81\x30\x84\x32"
              "b");  // U+00A0
    EXPECT_EQ(DecodeResultText("&#x1F600;"), "\x94\x39\xFC\x36");
    EXPECT_EQ(DecodeResultText("\\uD83D\\uDE00"), "\x94\x39\xFC\x36");
    EXPECT_EQ(DecodeResultText("&#xe9;\\xe9\\u00e9"), "\xA8\xA6\xA8\xA6\xA8\xA6");  // é three times
}

TEST(ResultTextDecodingTest, ScriptEscapesBecomeTheirCharacters) {
    ExpectDecodes({
        {"31\\u7701\\u533a\\u5e02\\u65b0\\u589e", "31省区市新增"},
        {"\\u4E2D\\u6587", "中文"},
        {"http:\\/\\/www.example.com\\/a\\/b", "http://www.example.com/a/b"},
        {"\\\"q\\\" \\'a\\' back\\\\slash", "\"q\" 'a' back\\slash"},
        {"a\\nb\\rc\\td", "a\nb\rc\td"},
        {"\\x41\\x7a", "Az"},
        {"\\uD83D\\uDE00!", "😀!"},
        {"\\ud83d\\ude00\\ud83d\\ude00", "😀😀"},
        {"\\u0041\\u4e2d\\u0042", "A中B"},
    });
}

TEST(ResultTextDecodingTest, ReferencesAreReadFirstAndEachTextIsDecodedOnce) {
    ExpectDecodes({
        {"say \\&quot;hi\\&quot; to AT&amp;T", "say \"hi\" to AT&T"},
        {"&amp;quot;", "&quot;"},      // an escaped reference is not read again
        {"\\u0026amp;", "&amp;"},      // an escape may not make a reference
        {"\\\\u4e2d", "\\u4e2d"},      // an escaped backslash starts no escape
        {"&#92;u4e2d&#92;n", "中\n"},  // a backslash from a reference is an escape's
        {"&amp;#x4e2d;", "&#x4e2d;"},
        {"\\u005cu4e2d", "\\u4e2d"},  // nor may an escape make an escape
    });
}

TEST(ResultTextDecodingTest, MalformedOrUnknownReferencesStayAsWritten) {
    for (const char* text : {
             "&",
             "&;",
             "&foo;",
             "&Amp;",
             "&amp",
             "AT&T",
             "&nbspxxxxxxxx;",
             "&#;",
             "&#x;",
             "&#xZZ;",
             "&#65",
             "&#x4e2d",
             "&#0;",
             "&#x0;",
             "&#x110000;",
             "&#1114112;",
             "&#99999999999999999999999;",
             "&#xD800;",
             "&#57343;",
             "&#-1;",
             "&# 65;",
             "&&amp",
             "end&",
         }) {
        EXPECT_EQ(DecodeResultText(text), text) << text;
    }
}

TEST(ResultTextDecodingTest, MalformedOrUnknownEscapesStayAsWritten) {
    for (const char* text : {
             "\\",
             "end\\",
             "\\u",
             "\\u12",
             "\\u12 end",
             "\\u12G4",
             "\\u{4e2d}",
             "\\x",
             "\\x4",
             "\\xG1",
             "\\q",
             "\\a\\b\\f\\v\\0",
             "\\u0000",
             "\\x00",
             "\\uD83D",
             "\\uDE00",
             "\\uD83Dx",
             "\\uD83D\\u12",
             "C:\\Program Files\\",
             "\\\xD6\xD0",
         }) {
        EXPECT_EQ(DecodeResultText(text), text) << text;
    }
}

TEST(ResultTextDecodingTest, ALoneSurrogateStaysAndWhatFollowsIsStillDecoded) {
    ExpectDecodes({
        {"\\uD83D\\u0041", "\\uD83DA"},
        {"\\uD83D\\uD83D\\uDE00", "\\uD83D😀"},
        {"\\uDE00\\uD83D\\uDE00", "\\uDE00😀"},
        {"\\u0000\\u4e2d", "\\u0000中"},
    });
}

// In GBK a backslash byte can be the second byte of a character, and a lead byte at the end of a
// text is a stray byte: neither starts an escape.
TEST(ResultTextDecodingTest, ABackslashInsideADoubleByteCharacterIsNoEscape) {
    for (const char* text : {"\x81\x5Cn", "\x81\x5Cu4e2d", "a\x81\x5C\\", "\x95\x5C\\u12", "x\x81"}) {
        EXPECT_EQ(DecodeResultText(text), text) << text;
    }
    EXPECT_EQ(DecodeResultText("\x81\x5C\\n\x81\x5C"), "\x81\x5C\n\x81\x5C");
}

// Pieces that do not reach into each other, joined at random: the decoded whole is the whole of the
// decoded pieces, so no state leaks from one reference or escape into the text around it.
TEST(ResultTextDecodingTest, DecodedPiecesKeepTheirOrderInAnyMix) {
    const std::vector<Case> pieces = {
        {"中文", "中文"},        {" ", " "},     {"&amp;", "&"},     {"&#x4e2d;", "中"},   {"\\u6587", "文"},
        {"\\uD83D\\uDE00", "😀"}, {"\\/", "/"},   {"&foo;", "&foo;"}, {"&#0;", "&#0;"},     {"\\q", "\\q"},
        {"&nbsp;", "\u00A0"},    {"\\x41", "A"}, {"\\&quot;", "\""}, {"\\u12 ", "\\u12 "}, {"€", "€"},
        {"\\u20ac", "€"},
    };
    std::mt19937 random(20240601);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    for (int round = 0; round < 300; ++round) {
        std::string input;
        std::string expected;
        for (int i = 0; i < 12; ++i) {
            const Case& piece = pieces[pick(random)];
            input += piece.input;
            expected += piece.expected;
        }
        ASSERT_EQ(DecodeResultText(Gb(input)), Gb(expected)) << input;
    }
}

TEST(ResultTextDecodingTest, LongRunsOfBrokenReferencesAndEscapesStayAndEnd) {
    for (const std::string unit :
         {"&#", "&#x", "&amp", "\\u12", "\\uD83D", "q\\", "&#0000000000", "\x81\x5C"}) {
        std::string text;
        for (int i = 0; i < 100000; ++i) {
            text += unit;
        }
        EXPECT_TRUE(DecodeResultText(text) == text) << unit;
    }
    const std::string digits(500000, '9');
    EXPECT_TRUE(DecodeResultText("&#" + digits + ";") == "&#" + digits + ";");
}

TEST(ResultTextDecodingTest, RandomBytesNeverBreakTheDecoder) {
    const std::string alphabet = "&#;xXu\\0123456789abcdefDEF\"'/nrt \x81\x5C\xD6\xD0\x30\xFE";
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 64);
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        for (int i = length(random); i > 0; --i) {
            text += alphabet[pick(random)];
        }
        const std::string decoded = DecodeResultText(text);
        // Every reference and escape is at least as long as what it stands for, in program text.
        EXPECT_LE(decoded.size(), text.size()) << text;
    }
}

}  // namespace
