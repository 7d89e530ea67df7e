// Blanks as the engine's header and cookie rules see them: the ASCII space and the full-width space
// of program text (bytes A1 A1).
#pragma once

#include <string_view>

namespace web {

// The text without blanks at either end. Walks whole characters, so the last byte of a double-byte
// character is never taken for half a blank.
std::string_view TrimBlanks(std::string_view text);

}  // namespace web
