// Cookie texts: items "name=value" separated by "; ", an item ending in "=deleted" standing for a
// deleted cookie. All texts are program text.
#pragma once

#include <string>
#include <string_view>

namespace web {

// The text before the item's first "=" (the whole item without one), blanks trimmed.
std::string CookieName(std::string_view item);

// The pieces of `text` between separators, each kept only at its first occurrence, joined again.
std::string JoinUnique(std::string_view text, std::string_view separator);

// One cookie text from an older and a newer one: the newer items win by name, an older item is kept
// when no item before it has its name, deleted cookies are left out.
std::string MergeCookieText(std::string_view older, std::string_view newer);

// The cookie a Set-Cookie header line sets ("name=value" without attributes, blanks trimmed) into
// `cookie`; false when the line is not a Set-Cookie line.
bool CookieFromHeaderLine(std::string_view line, std::string& cookie);

}  // namespace web
