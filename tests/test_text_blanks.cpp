// Trimming of ASCII and full-width blanks.
#include "web/text_blanks.h"

#include <gtest/gtest.h>

namespace {

TEST(TextBlanks, TrimsAsciiAndFullWidthBlanksAtBothEnds) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"   ", ""},
        {"\xA1\xA1 a b \xA1\xA1", "a b"},
        {"\ta\t", "\ta\t"},
        // The trail byte A1 of a character followed by a lone A1 is no blank.
        {"\xB0\xA1\xA1", "\xB0\xA1\xA1"},
        {"\xB0\xA1\xA1\xA1", "\xB0\xA1"},
        {"x\xA1", "x\xA1"},
    };
    for (const auto& [text, trimmed] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(web::TrimBlanks(text), trimmed);
    }
}

}  // namespace
