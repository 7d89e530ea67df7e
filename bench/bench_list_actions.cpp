// The result list's actions on a window holding 100,000 rows: "删除所选" on 50,000 scattered
// selected rows (every other row, each its own selection block, as Ctrl-clicks leave them),
// "复制所选链接" with every row selected, through the real clipboard, and "删除全部" answered Yes.
// Each timed run ends with the list painting its new state once. For comparison, the deletion
// the way the description words it, one first-selected row at a time, on smaller lists.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QItemSelection>
#include <QTemporaryDir>
#include <memory>

#include "bench/offscreen_benchmarks.h"
#include "ui/desktop_services.h"
#include "ui/list_actions.h"
#include "ui/main_window.h"

namespace {

// Opens nothing and answers Yes; the clipboard is the desktop's own.
class BenchDesktop : public DesktopServices {
public:
    void OpenAddress(const QUrl&) override {}
    bool PutOnClipboard(const QString& text) override { return system_->PutOnClipboard(text); }
    bool AskYesNo(const QString&, const QString&) override { return true; }

private:
    std::unique_ptr<DesktopServices> system_ = SystemDesktopServices();
};

class FilledWindow {
public:
    explicit FilledWindow(int rows)
        : window_(std::make_unique<MainWindow>(folder_.path().toStdU16String(),
                                               std::make_unique<BenchDesktop>())) {
        window_->show();
        ReportList& list = List();
        const QString title = QStringLiteral("拾穗集搜索采集器的一条搜索结果标题，长度与真实结果相仿");
        for (int i = 0; i < rows; ++i) {
            const int row = list.AppendRow(QString::number(i + 1));
            list.SetCell(row, 1, title);
            list.SetCell(row, 2, QStringLiteral("https://tieba.baidu.com/p/%1?pid=9876543210&cid=0").arg(i));
        }
        list.ShowNewRows();
        QCoreApplication::processEvents();
    }

    const MainWindowForm& Form() const { return window_->Form(); }
    ReportList& List() const { return *window_->Form().超级列表框1; }

    // Every other row, each as its own block.
    void SelectEveryOtherRow() {
        QItemSelection selection;
        for (int row = 0; row < List().RowCount(); row += 2) {
            selection.select(List().model()->index(row, 0), List().model()->index(row, 2));
        }
        List().selectionModel()->select(selection, QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCoreApplication::processEvents();
    }

private:
    QTemporaryDir folder_;
    std::unique_ptr<MainWindow> window_;
};

void BM_DeleteScatteredSelection(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        FilledWindow window(rows);
        window.SelectEveryOtherRow();
        state.ResumeTiming();

        DeleteSelectedRows(window.Form());
        QCoreApplication::processEvents();

        state.PauseTiming();
        if (window.List().RowCount() != rows / 2 ||
            window.List().Cell(rows / 2 - 1, 0) != QString::number(rows / 2)) {
            state.SkipWithError("wrong rows left");
        }
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
}

// The description's loop: delete the first selected row until none is selected, then renumber.
void BM_DeleteScatteredSelectionRowByRow(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        FilledWindow window(rows);
        window.SelectEveryOtherRow();
        state.ResumeTiming();

        ReportList& list = window.List();
        for (int row = list.FirstSelectedRow(); row != -1; row = list.FirstSelectedRow()) {
            list.DeleteRow(row);
        }
        for (int row = 0; row < list.RowCount(); ++row) {
            list.SetCell(row, 0, QString::number(row + 1));
        }
        QCoreApplication::processEvents();
    }
    state.counters["rows"] = rows;
}

void BM_CopyAllSelectedLinks(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    FilledWindow window(rows);
    window.List().selectAll();
    QCoreApplication::processEvents();
    BenchDesktop desktop;
    for (auto _ : state) {
        CopySelectedLinks(window.Form(), desktop);
        QCoreApplication::processEvents();
    }
    if (window.Form().statusPart0->text() != QStringLiteral("已复制%1条结果!").arg(rows)) {
        state.SkipWithError("the clipboard did not take the links");
    }
    state.counters["rows"] = rows;
}

void BM_DeleteAllRows(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        FilledWindow window(rows);
        BenchDesktop desktop;
        state.ResumeTiming();

        DeleteAllRowsAfterConfirmation(window.Form(), desktop);
        QCoreApplication::processEvents();

        state.PauseTiming();
        if (window.List().RowCount() != 0) {
            state.SkipWithError("rows left");
        }
        state.ResumeTiming();
    }
    state.counters["rows"] = rows;
}

BENCHMARK(BM_DeleteScatteredSelection)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_DeleteScatteredSelectionRowByRow)
    ->Arg(2000)
    ->Arg(8000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_CopyAllSelectedLinks)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_DeleteAllRows)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
    return RunOffscreenBenchmarks(argc, argv);
}
