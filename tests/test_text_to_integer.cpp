// Page numbers and timestamps read from text, and numbers printed as text.
#include "search/text_to_integer.h"

#include <gtest/gtest.h>

#include <limits>

#include "tests/support/fake_window.h"

using testsupport::Gb;

TEST(TextToInteger, ReadsSignDigitsAndStopsAtFirstNonDigit) {
    struct Case {
        std::string text;
        int value;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"10", 10},
        {"007", 7},
        {"-5", -5},
        {"+12", 12},
        {"  \t42", 42},
        {"12abc34", 12},
        {"3.9", 3},
        {"- 5", 0},
        {"--5", 0},
        {"2147483647", 2147483647},
        {"2147483648", std::numeric_limits<int>::max()},
        {"-2147483648", std::numeric_limits<int>::min()},
        {"-99999999999999999999", std::numeric_limits<int>::min()},
        {"99999999999999999999999", std::numeric_limits<int>::max()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextToInteger(c.text), c.value) << c.text;
    }
}

TEST(TextToInteger, NarrowsFullWidthDigitsSignsAndSpace) {
    struct Case {
        std::string utf8;
        int value;
    } cases[] = {
        {"１２３", 123}, {"－４５", -45}, {"＋７", 7}, {"　８", 8},  // full-width space
        {"１2３", 123},                                              // mixed widths
        {"１２页", 12},  // stops at the first character that is not a digit
        {"第3页", 0},    // no leading digits
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextToInteger(Gb(c.utf8)), c.value) << c.utf8;
    }
}

TEST(TextToInteger, NeverReadsTheTrailByteOfADoubleByteCharacterAsADigit) {
    // A lead byte followed by "1" is one character, not a stray byte and a digit.
    EXPECT_EQ(TextToInteger("\x81\x31\x81\x30"), 0);  // a GB18030 four-byte character
    EXPECT_EQ(TextToInteger("\x81"
                            "5"),
              0);  // a double-byte character whose trail byte is "5"
}

TEST(NumberText, PrintsPlainDecimal) {
    EXPECT_EQ(NumberText(0), "0");
    EXPECT_EQ(NumberText(20), "20");
    EXPECT_EQ(NumberText(-10), "-10");
    EXPECT_EQ(NumberText(1570000000), "1570000000");
    EXPECT_EQ(NumberText(-21474836490), "-21474836490");
}
