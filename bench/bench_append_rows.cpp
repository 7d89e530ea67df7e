// Appending 100,000 result rows to the real window the way a search does: one row at a time, its
// number first, then its title and link cells, all in program text. A second run also lets the
// window process its events before every row, as the search does at each extracted result. The
// resident memory the rows add is reported as a counter.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <fstream>
#include <string>

#include "bench/offscreen_benchmarks.h"
#include "platform/codepage.h"
#include "ui/main_window.h"

namespace {

long ResidentKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return 0;
}

void AppendRows(benchmark::State& state, bool processEvents) {
    const int rows = static_cast<int>(state.range(0));
    QTemporaryDir folder;
    const std::string title =
        platform::codepage::Utf8ToText("拾穗集搜索采集器的一条搜索结果标题，长度与真实结果相仿");
    const std::string link = "https://tieba.baidu.com/p/1234567890?pid=9876543210&cid=0#9876543210";
    long addedKiB = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<MainWindow>(folder.path().toStdU16String());
        window->show();
        QCoreApplication::processEvents();
        const long before = ResidentKiB();
        state.ResumeTiming();

        for (int i = 0; i < rows; ++i) {
            if (processEvents) {
                window->ProcessPendingEvents();
            }
            const int row = window->AppendRow(std::to_string(window->RowCount() + 1));
            window->SetCell(row, 1, title);
            window->SetCell(row, 2, link);
        }
        QCoreApplication::processEvents();  // the list paints its new state once

        state.PauseTiming();
        // Later runs reuse the memory the first one freed: the first run tells.
        addedKiB = std::max(addedKiB, ResidentKiB() - before);
        window.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
    state.counters["added_MiB"] = static_cast<double>(addedKiB) / 1024.0;
}

void BM_AppendRows(benchmark::State& state) {
    AppendRows(state, false);
}
void BM_AppendRowsProcessingEvents(benchmark::State& state) {
    AppendRows(state, true);
}

BENCHMARK(BM_AppendRows)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_AppendRowsProcessingEvents)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks(argc, argv);
}
