// Numbers as the program reads them from its boxes and prints them into its texts.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Reads program text as a decimal integer: full-width characters (a GBK row of A3A1 to A3FE) are
// narrowed to ASCII and the full-width space to a space, then leading white space is skipped, an
// optional sign and the digits up to the first non-digit are read. No digits give 0; values beyond
// the 32-bit range are clamped to it.
int TextToInteger(std::string_view text);

// Plain decimal: "-" when negative, no leading zeros, no grouping, no decimal point.
std::string NumberText(std::int64_t value);
