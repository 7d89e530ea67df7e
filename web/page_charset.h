// The charset step: the name a page declares in a meta tag near its start, and the rule for which
// names are decoded.
#pragma once

#include <optional>
#include <string>
#include <string_view>

class RegexMatcher;

namespace web {

// How much of the page text is searched for the declaration.
inline constexpr std::size_t kCharsetSampleBytes = 1024;

// The charset the first 1024 bytes of `pageText` declare, found with the caller's matcher; empty
// when they declare none. nullopt when the matcher could not run the pattern.
std::optional<std::string> DeclaredCharset(RegexMatcher& matcher, std::string_view pageText);

// True for a non-empty name other than exactly "gbk" or "gb2312" (letter case counts).
bool NeedsDecoding(std::string_view charsetName);

}  // namespace web
