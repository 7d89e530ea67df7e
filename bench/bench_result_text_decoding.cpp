// DecodeResultText over the shapes in which result pages write titles and links, and over hostile
// runs of broken references and escapes, at growing lengths: throughput in bytes of program text,
// and the fitted complexity, which must stay linear.
#include <benchmark/benchmark.h>

#include <string>

#include "search/result_text_decoding.h"

namespace {

// One piece of each shape; a text is the piece repeated up to the wanted length.
const std::string kPlainAscii = "Breaking news from the city - official site ";
const std::string kPlainGbk = "\xCA\xA1\xC7\xF8\xCA\xD0\xD0\xC2\xD4\xF6\xC8\xB7\xD5\xEF ";  // 省区市新增确诊
const std::string kUnicodeEscapes = "31\\u7701\\u533a\\u5e02\\u65b0\\u589e\\u786e\\u8bca ";
const std::string kReferencesInEscapes =
    "say \\&quot;hi\\&quot; to AT&amp;T &lt;b&gt; http:\\/\\/a.cn\\/?x=1&amp;y ";
const std::string kBrokenReferences = "&#&#x&amp&#99999999;&foo;";
const std::string kBrokenEscapes = "\\u12\\uD83D\\x4\\q\\";

std::string Repeated(const std::string& piece, std::size_t length) {
    std::string text;
    while (text.size() < length) {
        text += piece;
    }
    return text;
}

void BenchDecode(benchmark::State& state, const std::string& piece) {
    const std::string text = Repeated(piece, static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecodeResultText(text));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.SetComplexityN(static_cast<std::int64_t>(text.size()));
}

void Sizes(benchmark::internal::Benchmark* bench) {
    bench->RangeMultiplier(8)->Range(64, 1 << 18)->Complexity(benchmark::oN);
}

BENCHMARK_CAPTURE(BenchDecode, PlainAscii, kPlainAscii)->Apply(Sizes);
BENCHMARK_CAPTURE(BenchDecode, PlainGbk, kPlainGbk)->Apply(Sizes);
BENCHMARK_CAPTURE(BenchDecode, UnicodeEscapes, kUnicodeEscapes)->Apply(Sizes);
BENCHMARK_CAPTURE(BenchDecode, ReferencesInEscapes, kReferencesInEscapes)->Apply(Sizes);
BENCHMARK_CAPTURE(BenchDecode, BrokenReferences, kBrokenReferences)->Apply(Sizes);
BENCHMARK_CAPTURE(BenchDecode, BrokenEscapes, kBrokenEscapes)->Apply(Sizes);

}  // namespace

BENCHMARK_MAIN();
