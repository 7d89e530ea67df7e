// The decoding of a result's title and link from the way result pages write them: HTML character
// references first, then JavaScript string escapes, into program text.
#pragma once

#include <string>
#include <string_view>

// Decodes `text`, program text as the page gave it. Character references (the named ones such pages
// use, decimal and hexadecimal numeric ones) are read first; JavaScript escapes (\uXXXX with surrogate
// pairs, \xHH, \" \' \\ \/ \n \r \t) are read in what that gives, so "\&quot;" becomes a double quote.
// Characters become program text, so none is lost. Anything that is not a complete, known reference
// or escape stays exactly as written: unknown names, missing semicolons, short hex runs, lone
// surrogates, and references or escapes to U+0000 or beyond U+10FFFF. Linear in the length of `text`.
std::string DecodeResultText(std::string_view text);
