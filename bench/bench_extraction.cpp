// The harvest's extraction: ExecutePattern with the title-and-link pattern over a result page, then
// every title and link read with SubMatchText. Throughput counts bytes of the program-text page,
// conversions included.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "regex/regex_matcher.h"

namespace {

const std::string kExtractionPattern = "\"title\":\"([^\"]*)\",\"url\":\"([^\"]*)\"";

// GBK words for the page's Chinese text and titles: 百度, 一下, 你就, 知道, 新闻, 图片, 视频, 地图.
const std::string kWords[] = {"\xB0\xD9\xB6\xC8", "\xD2\xBB\xCF\xC2", "\xC4\xE3\xBE\xCD", "\xD6\xAA\xB5\xC0",
                              "\xD0\xC2\xCE\xC5", "\xCD\xBC\xC6\xAC", "\xCA\xD3\xC6\xB5", "\xB5\xD8\xCD\xBC"};

// Pieces of a result page: style, script with JSON-looking data, markup with Chinese text.
std::string NoisePiece(std::mt19937& random) {
    auto word = [&random] { return kWords[random() % std::size(kWords)]; };
    switch (random() % 6) {
        case 0:
            return ".c-container{position:relative;margin:0 0 14px}.t a{font-size:16px;color:#2440b3}\n";
        case 1:
            return "<script>var s_session={\"logId\":\"3478123\",\"seqId\":\"97\",\"sid\":\"36554_39112\","
                   "\"title\":0,\"url\":\"\"};bds.comm.ishome=0;</script>\n";
        case 2:
            return "<div class=\"result c-container\" tpl=\"se_com_default\"><h3 class=\"t\"><a href=\"#\">" +
                   word() + word() + " - " + word() + "</a></h3><span class=\"c-color-gray2\">" + word() +
                   word() + word() + "</span></div>\n";
        case 3:
            return "if(a<b&&c[\"k\"]!==\"v\"){f(\"" + word() + "\",{x:1,y:[2,3]});}else{g(\"q\");}\n";
        case 4:
            return "<p class=\"c-abstract\">" + word() + word() + word() + word() + "&nbsp;" + word() +
                   word() + word() + "</p>\n";
        default:
            return "<a class=\"c-showurl\" href=\"http://www.baidu.com/link?url=k2Zx-9a\" "
                   "target=\"_blank\">" +
                   word() + "</a>\n";
    }
}

std::string ResultRecord(std::mt19937& random, int number) {
    std::string title;
    for (int i = 0; i < 6; ++i) {
        title += kWords[random() % std::size(kWords)];
    }
    return "{\"title\":\"" + title + " " + std::to_string(number) +
           "\",\"url\":\"http://www.baidu.com/link?url=Q3d9kLx7-" + std::to_string(number) + "aZ_0Rt8\"}\n";
}

// A page of about `size` bytes with `results` records spread evenly through the noise.
std::string ResultPage(std::size_t size, int results) {
    std::mt19937 random(7);
    std::string page = "<!DOCTYPE html><html><head><meta charset=\"gbk\"></head><body>\n";
    for (int number = 1; number <= results; ++number) {
        std::size_t until = size * number / (results + 1);
        while (page.size() < until) {
            page += NoisePiece(random);
        }
        page += ResultRecord(random, number);
    }
    while (page.size() < size) {
        page += NoisePiece(random);
    }
    return page + "</body></html>";
}

void Extract(benchmark::State& state, const std::string& page, int results) {
    for (auto _ : state) {
        RegexMatcher matcher;
        matcher.ExecutePattern(kExtractionPattern, page);
        const int count = matcher.MatchCount();
        if (count != results) {
            state.SkipWithError("wrong number of results");
            break;
        }
        for (int i = 1; i <= count; ++i) {
            benchmark::DoNotOptimize(matcher.SubMatchText(i, 1));
            benchmark::DoNotOptimize(matcher.SubMatchText(i, 2));
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}

void TenResultsIn600Kilobytes(benchmark::State& state) {
    static const std::string page = ResultPage(600 * 1024, 10);
    Extract(state, page, 10);
}

void FiveThousandResultsIn1Megabyte(benchmark::State& state) {
    static const std::string page = ResultPage(1024 * 1024, 5000);
    Extract(state, page, 5000);
}

BENCHMARK(TenResultsIn600Kilobytes)->Unit(benchmark::kMillisecond);
BENCHMARK(FiveThousandResultsIn1Megabyte)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
