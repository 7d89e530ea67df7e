// WebRequest of a 100 KB page from a loopback server, side by side with a bare libcurl GET of the
// same page (a new easy handle each time, the body appended to a string). The ratio of the two
// times is the engine's overhead over the HTTP client it stands on.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <memory>
#include <string>

#include "tests/support/loopback_server.h"
#include "web/web_request.h"

namespace {

using testsupport::LoopbackServer;
using testsupport::RecordedRequest;
using testsupport::Reply;

// A page of 100 KB that declares no charset, so the engine returns its bytes as they are.
std::string HundredKilobytePage() {
    std::string page = "<html><head><title>bench</title></head><body>";
    while (page.size() < 100 * 1024 - 16) {
        page += "<p>result line</p>";
    }
    page.resize(100 * 1024 - 14);
    return page + "</body></html>";
}

LoopbackServer& Server() {
    static LoopbackServer server([page = HundredKilobytePage()](const RecordedRequest&) {
        Reply reply;
        reply.body = page;
        return reply;
    });
    return server;
}

size_t AppendTo(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

void BM_WebRequest(benchmark::State& state) {
    const std::string url = Server().BaseUrl() + "/s?wd=bench";
    for (auto _ : state) {
        std::string page = WebRequest(url);
        if (page.size() != 100 * 1024) {
            state.SkipWithError("wrong page size");
        }
        benchmark::DoNotOptimize(page);
    }
}

void BM_BareCurlGet(benchmark::State& state) {
    const std::string url = Server().BaseUrl() + "/s?wd=bench";
    for (auto _ : state) {
        std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy(curl_easy_init(), &curl_easy_cleanup);
        std::string body;
        curl_easy_setopt(easy.get(), CURLOPT_URL, url.c_str());
        curl_easy_setopt(easy.get(), CURLOPT_PROXY, "");
        curl_easy_setopt(easy.get(), CURLOPT_WRITEFUNCTION, &AppendTo);
        curl_easy_setopt(easy.get(), CURLOPT_WRITEDATA, &body);
        if (curl_easy_perform(easy.get()) != CURLE_OK || body.size() != 100 * 1024) {
            state.SkipWithError("bare GET failed");
        }
        benchmark::DoNotOptimize(body);
    }
}

// Interleaved and timed by the wall clock: the network wait is most of each request.
BENCHMARK(BM_BareCurlGet)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_WebRequest)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_BareCurlGet)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_WebRequest)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
