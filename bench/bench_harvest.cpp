// The harvest of 10 result pages of 10 results each, with their 100 redirect links, from the loopback
// search service, against a bare libcurl loop that makes the same 110 requests one after another with
// a new handle each. Both run in every iteration, so the ratio compares like with like on the same
// machine at the same moment; the goal is a ratio of at most 1.2.
#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "search/harvest_page.h"
#include "search/search_run.h"
#include "tests/support/fake_search_service.h"
#include "tests/support/fake_window.h"

namespace {

constexpr int kPages = 10;
constexpr int kResultsPerPage = 10;

using Clock = std::chrono::steady_clock;

std::size_t AppendBody(char* data, std::size_t size, std::size_t count, void* body) {
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

// One GET with a fresh handle, routed to the loopback service like the program's own requests.
void BareGet(const std::string& url, curl_slist* connectTo) {
    std::string body;
    CURL* curl = curl_easy_init();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_CONNECT_TO, connectTo);
    curl_easy_setopt(curl, CURLOPT_PROXY, "");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_perform(curl);
    curl_easy_cleanup(curl);
    benchmark::DoNotOptimize(body);
}

// The bare loop's share of one page: the page and its ten redirect links.
void BarePage(int page, curl_slist* connectTo) {
    BareGet("http://www.baidu.com/s?wd=kw&pn=" + std::to_string((page - 1) * 10), connectTo);
    for (int i = 1; i <= kResultsPerPage; ++i) {
        BareGet(testsupport::FakeSearchService::RedirectLink(std::to_string(page) + "-" + std::to_string(i)),
                connectTo);
    }
}

template <typename Work>
double SecondsOf(Work work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The two sides alternate page by page, so both meet the same load of a shared machine.
void BM_HarvestAgainstBareCurl(benchmark::State& state) {
    testsupport::FakeSearchService service;
    const std::string rule = "www.baidu.com:80:127.0.0.1:" + std::to_string(service.Port());
    curl_slist* connectTo = curl_slist_append(nullptr, rule.c_str());
    double harvestTotal = 0;
    double bareTotal = 0;
    std::vector<double> ratios;
    for (auto _ : state) {
        testsupport::FakeWindow window;
        window.SetSelected(Control::选择框1, false);
        double harvest = 0;
        double bare = 0;
        for (int page = 1; page <= kPages; ++page) {
            harvest += SecondsOf([&] { HarvestPage(window, page, "kw", {}, ""); });
            bare += SecondsOf([&] { BarePage(page, connectTo); });
        }
        if (window.RowCount() != kPages * kResultsPerPage) {
            state.SkipWithError("the harvest did not list every result");
            break;
        }
        harvestTotal += harvest;
        bareTotal += bare;
        ratios.push_back(harvest / bare);
        state.SetIterationTime(harvest);
    }
    curl_slist_free_all(connectTo);
    if (ratios.empty()) {
        return;
    }
    const double iterations = static_cast<double>(ratios.size());
    state.counters["harvest_ms_per_page"] = harvestTotal / iterations / kPages * 1e3;
    state.counters["bare_ms_per_page"] = bareTotal / iterations / kPages * 1e3;
    state.counters["ratio"] = harvestTotal / bareTotal;
    state.counters["median_ratio"] = Median(ratios);
}

BENCHMARK(BM_HarvestAgainstBareCurl)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace

BENCHMARK_MAIN();
