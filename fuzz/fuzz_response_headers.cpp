// Fuzz target: the evaluation of a raw response header block with arbitrary sent and earlier
// cookies. It stops on a broken promise too: the block kept as it came, a status text that holds a
// line end, a redirect target taken from nowhere, a line without its event.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "web/response_headers.h"

#include "fuzz/broken_promise.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    WebRequestOptions options;
    options.MergeCookies = input.ConsumeBool();
    options.SendCookies = input.ConsumeRandomLengthString(256);
    WebRequestOutputs outputs;
    outputs.ReturnedCookies = input.ConsumeRandomLengthString(64);
    const std::string raw = input.ConsumeRemainingBytesAsString();

    int events = 0;
    web::EvaluateResponseHeaders(raw, options, outputs, [&events] { ++events; });
    REQUIRE(outputs.ResponseHeaders == raw);
    REQUIRE(outputs.StatusText == web::StatusTextOf(raw));
    REQUIRE(outputs.StatusText.find("\r\n") == std::string::npos);
    REQUIRE(outputs.RedirectLocation.empty() || raw.find(outputs.RedirectLocation) != std::string::npos);
    REQUIRE(events > 0 || raw.empty());
    return 0;
}
