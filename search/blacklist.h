// The blacklist of title words: "|"-separated keywords, and the test whether a title holds one.
// Both work on program text character by character, so a byte inside a double-byte character is
// never taken for a separator or a match start.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// Cuts the blacklist at every "|". An empty text gives no keyword; a "|" at the start or two
// adjacent ones give an empty keyword; a "|" at the end adds nothing. Nothing is trimmed.
std::vector<std::string> SplitBlacklist(std::string_view blacklist);

// Byte-exact and case-sensitive, at character boundaries of the title only. The empty keyword is in
// every non-empty title and in no empty one.
bool TitleContains(std::string_view title, std::string_view keyword);
