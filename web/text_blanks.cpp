// Trimming of ASCII and full-width blanks.
#include "web/text_blanks.h"

#include "platform/codepage.h"

namespace web {

namespace {

// The length of the blank at `pos`, or 0 when the character there is not one.
std::size_t BlankLength(std::string_view text, std::size_t pos) {
    if (text[pos] == ' ') {
        return 1;
    }
    if (text.substr(pos, 2) == "\xA1\xA1") {
        return 2;
    }
    return 0;
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool seenContent = false;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t blank = BlankLength(text, pos);
        std::size_t step = blank != 0 ? blank : platform::codepage::CharacterLength(text, pos);
        if (blank == 0) {
            if (!seenContent) {
                begin = pos;
                seenContent = true;
            }
            end = pos + step;
        }
        pos += step;
    }
    return seenContent ? text.substr(begin, end - begin) : std::string_view();
}

}  // namespace web
