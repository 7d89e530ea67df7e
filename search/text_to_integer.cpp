// Text to integer with full-width narrowing, and integer to plain decimal text.
#include "search/text_to_integer.h"

#include <algorithm>
#include <limits>

#include "platform/codepage.h"

namespace {

// Full-width ASCII (A3A1..A3FE) and the full-width space (A1A1) become their one-byte forms; every
// other character is kept whole, so no byte of a double-byte character is ever read as a digit.
std::string NarrowFullWidth(std::string_view text) {
    std::string narrow;
    narrow.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t length = platform::codepage::CharacterLength(text, pos);
        auto lead = static_cast<unsigned char>(text[pos]);
        auto trail = length == 2 ? static_cast<unsigned char>(text[pos + 1]) : 0;
        if (length == 2 && lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            narrow.push_back(static_cast<char>(trail - 0x80));
        } else if (length == 2 && lead == 0xA1 && trail == 0xA1) {
            narrow.push_back(' ');
        } else {
            narrow.append(text.substr(pos, length));
        }
        pos += length;
    }
    return narrow;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int TextToInteger(std::string_view text) {
    const std::string narrow = NarrowFullWidth(text);
    std::size_t pos = 0;
    while (pos < narrow.size() && IsBlank(narrow[pos])) {
        ++pos;
    }
    bool negative = false;
    if (pos < narrow.size() && (narrow[pos] == '+' || narrow[pos] == '-')) {
        negative = narrow[pos] == '-';
        ++pos;
    }
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<int>::max()} + 1;
    std::int64_t magnitude = 0;
    for (; pos < narrow.size() && narrow[pos] >= '0' && narrow[pos] <= '9'; ++pos) {
        magnitude = std::min(magnitude * 10 + (narrow[pos] - '0'), kLimit);
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    return static_cast<int>(
        std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::string NumberText(std::int64_t value) {
    return std::to_string(value);
}
