// Fuzz target: the request header block from arbitrary caller headers, cookies and switches. Besides
// the sanitizers' findings it stops on a broken promise of the algorithm: normalised names are
// stable, no line without ":" survives normalisation, every default key the caller left out ends up
// in the block, and the cookies go out unless the block already has a Cookie line.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "web/header_block.h"

#include "fuzz/broken_promise.h"

namespace {

bool ContainsIgnoringCase(std::string_view text, std::string_view key) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::search(text.begin(), text.end(), key.begin(), key.end(),
                       [&](char a, char b) { return lower(a) == lower(b); }) != text.end();
}

void CheckNormalized(std::string_view normalized) {
    REQUIRE(web::NormalizeHeaderNames(normalized) == normalized);
    REQUIRE(!normalized.ends_with("\r\n"));
    std::size_t start = 0;
    while (start <= normalized.size() && !normalized.empty()) {
        std::size_t end = std::min(normalized.find("\r\n", start), normalized.size());
        REQUIRE(normalized.substr(start, end - start).find(':') != std::string_view::npos);
        start = end + 2;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool isPost = input.ConsumeBool();
    const bool addDefaults = input.ConsumeBool();
    const bool normalize = input.ConsumeBool();
    const std::string sendCookies = input.ConsumeRandomLengthString(256);
    const std::string extraHeaders = input.ConsumeRemainingBytesAsString();

    CheckNormalized(web::NormalizeHeaderNames(extraHeaders));
    std::string capitalized = web::CapitalizeFirst(extraHeaders);
    REQUIRE(capitalized.size() == extraHeaders.size());
    web::HeaderValue(extraHeaders);

    const std::string block = web::BuildHeaderBlock({.extraHeaders = extraHeaders,
                                                     .sendCookies = sendCookies,
                                                     .isPost = isPost,
                                                     .addDefaultHeaders = addDefaults,
                                                     .normalizeHeaders = normalize});
    if (addDefaults) {
        for (std::string_view key :
             {"User-Agent: ", "Accept: ", "Accept-Encoding: ", "Accept-Language: ", "Cache-Control: "}) {
            REQUIRE(ContainsIgnoringCase(block, key));
        }
        REQUIRE(!isPost || ContainsIgnoringCase(block, "Content-Type:"));
    }
    if (!sendCookies.empty()) {
        REQUIRE(ContainsIgnoringCase(block, "Cookie:"));
    }
    return 0;
}
