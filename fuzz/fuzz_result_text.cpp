// Fuzz target: DecodeResultText on any bytes. It stops on a broken promise too: a decoded text
// longer than its input (every reference and escape is at least as long as its character), a text
// without "&" or "\" that is changed, a NUL that no input byte gave, or an ASCII prefix that changes
// how the rest is decoded.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "search/result_text_decoding.h"

#include "fuzz/broken_promise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::string decoded = DecodeResultText(text);

    REQUIRE(decoded.size() <= text.size());
    if (text.find_first_of("&\\") == std::string_view::npos) {
        REQUIRE(decoded == text);
    }
    if (text.find('\0') == std::string_view::npos) {
        REQUIRE(decoded.find('\0') == std::string::npos);
    }
    REQUIRE(DecodeResultText("t " + std::string(text)) == "t " + decoded);
    return 0;
}
