// Program text (GB18030) against UTF-16, UTF-8 and the charsets pages declare.
#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace cp = platform::codepage;

namespace {

// 中文 in GBK and UTF-8; 😀 (outside GBK) in GB18030's four-byte form and UTF-8.
const std::string kZhongWenGbk = "\xD6\xD0\xCE\xC4";
const std::string kZhongWenUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";
const std::string kSmileGb18030 = "\x94\x39\xFC\x36";
const std::string kSmileUtf8 = "\xF0\x9F\x98\x80";

TEST(Codepage, TextAndUtf16RoundTrip) {
    struct Case {
        std::string text;
        std::u16string units;
    } cases[] = {
        {"", u""},
        {"plain ascii", u"plain ascii"},
        {kZhongWenGbk, u"中文"},
        {"a" + kZhongWenGbk + "b", u"a中文b"},
        {kSmileGb18030, u"😀"},
        {"\xA3\xC1", u"Ａ"},  // full-width A
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp::TextToUtf16(c.text), c.units) << c.text;
        EXPECT_EQ(cp::Utf16ToText(c.units), c.text) << c.text;
    }
}

TEST(Codepage, Utf16ToTextEndsAtFirstNul) {
    std::u16string units = u"ab";
    units.push_back(u'\0');
    units += u"cd";
    EXPECT_EQ(cp::Utf16ToText(units), "ab");
}

TEST(Codepage, MalformedInputIsReplacedAndTheRestKept) {
    // A lone lead byte in the middle, a truncated character at the end.
    EXPECT_EQ(cp::TextToUtf16("a\xFF"
                              "b\xD6"),
              u"a\uFFFDb\uFFFD");
    std::u16string loneSurrogate = u"x";
    loneSurrogate.push_back(char16_t(0xD800));
    loneSurrogate += u"y";
    EXPECT_EQ(cp::Utf16ToText(loneSurrogate), "x?y");
}

TEST(Codepage, Utf8RoundTrip) {
    EXPECT_EQ(cp::TextToUtf8(kZhongWenGbk + kSmileGb18030), kZhongWenUtf8 + kSmileUtf8);
    EXPECT_EQ(cp::Utf8ToText(kZhongWenUtf8 + kSmileUtf8), kZhongWenGbk + kSmileGb18030);
}

TEST(Codepage, DecodeCharsetByNameAndAlias) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string text;
    } cases[] = {
        {"utf-8", kZhongWenUtf8, kZhongWenGbk},          {"UTF-8", kZhongWenUtf8, kZhongWenGbk},
        {"utf8", kZhongWenUtf8, kZhongWenGbk},           {"GBK", kZhongWenGbk, kZhongWenGbk},
        {"gb2312", kZhongWenGbk, kZhongWenGbk},          {"GB18030", kSmileGb18030, kSmileGb18030},
        {"iso-8859-1", "caf\xE9", "caf\xA8\xA6"},  // é in GBK
        {"Big5", "\xA4\xA4", kZhongWenGbk.substr(0, 2)},
    };
    for (const auto& c : cases) {
        auto decoded = cp::DecodeCharset(c.bytes, c.name);
        ASSERT_TRUE(decoded.has_value()) << c.name;
        EXPECT_EQ(*decoded, c.text) << c.name;
    }
}

TEST(Codepage, UnknownCharsetLeavesTextUndecoded) {
    for (const char* name : {"", "no-such-charset", "utf-8//IGNORE", "\xFF\xFE", "x y"}) {
        EXPECT_FALSE(cp::DecodeCharset("abc", name).has_value()) << name;
    }
}

TEST(Codepage, InvalidUtf8IsReplacedAndDecodingGoesOn) {
    auto decoded = cp::DecodeCharset("a\xC3(b\xFF" + kZhongWenUtf8, "utf-8");
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->substr(0, 1), "a");
    EXPECT_EQ(decoded->substr(decoded->size() - 4), kZhongWenGbk);
    EXPECT_NE(decoded->find("(b"), std::string::npos);
}

TEST(Codepage, CharacterLengthNeverSplitsACharacter) {
    std::string text = "a" + kZhongWenGbk + kSmileGb18030 + "\x81";
    std::vector<std::size_t> steps;
    for (std::size_t pos = 0; pos < text.size(); pos += cp::CharacterLength(text, pos)) {
        steps.push_back(cp::CharacterLength(text, pos));
    }
    EXPECT_EQ(steps, (std::vector<std::size_t>{1, 2, 2, 4, 1}));
}

}  // namespace
