// Fuzz target: MergeCookieText, JoinUnique, CookieName and the cookie of a Set-Cookie line. It
// stops on a broken promise too: a deleted cookie or a repeated item in a merge, a repeated piece
// after JoinUnique, a cookie with a ";" or with a blank at its start.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "web/cookies.h"

#include "fuzz/broken_promise.h"

namespace {

// The pieces between "; " separators (a separator at the very end adds none) are all different.
bool PiecesAreDistinct(std::string_view text) {
    std::set<std::string_view> seen;
    while (!text.empty()) {
        std::size_t end = text.find("; ");
        if (!seen.insert(text.substr(0, end)).second) {
            return false;
        }
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 2);
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string older = input.ConsumeRandomLengthString(512);
    const std::string newer = input.ConsumeRandomLengthString(512);
    const std::string line = input.ConsumeRemainingBytesAsString();

    const std::string merged = web::MergeCookieText(older, newer);
    REQUIRE(PiecesAreDistinct(merged));
    std::string_view rest = merged;
    while (!rest.empty()) {
        std::size_t end = rest.find("; ");
        REQUIRE(!rest.substr(0, end).ends_with("=deleted"));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 2);
    }
    const std::string joined = web::JoinUnique(older, "; ");
    REQUIRE(PiecesAreDistinct(joined));
    REQUIRE(joined.size() <= older.size());
    web::CookieName(newer);

    std::string cookie;
    if (web::CookieFromHeaderLine(line, cookie)) {
        REQUIRE(cookie.find(';') == std::string::npos);
        // Only the start is sure to be a character boundary; a blank there would have been trimmed.
        REQUIRE(!cookie.starts_with(' ') && !cookie.starts_with("\xA1\xA1"));
        REQUIRE(cookie.size() <= line.size());
    } else {
        REQUIRE(cookie.empty());
    }
    return 0;
}
