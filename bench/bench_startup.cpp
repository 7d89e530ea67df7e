// Start-up to the first shown window, the program against two plain Qt window programs, side by side.
// All are this same executable started afresh in a child process, so they load the same libraries
// from the same build: "--bare-window" shows an empty QWidget, which never loads a font;
// "--text-window" shows a QWidget with a label, a line edit, a push button and a status bar, some of
// it Chinese, which pays what any window with text pays (the font database and the glyphs);
// "--program-window" runs what the program's entry runs (the window, its created handler with the
// skin written, loaded and attached and the settings read, in a folder of its own). Each child
// exits as soon as its window has been exposed and painted; the parent times the whole child,
// process start included.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <string_view>

#include "app/startup.h"
#include "platform/com.h"
#include "ui/main_window.h"

namespace {

constexpr char kBareWindow[] = "--bare-window";
constexpr char kTextWindow[] = "--text-window";
constexpr char kProgramWindow[] = "--program-window";

void ShowUntilPainted(QWidget& window) {
    window.show();
    while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QCoreApplication::processEvents();
}

int RunBareWindow() {
    QWidget window;
    window.setWindowTitle("bare");
    window.resize(1040, 556);
    ShowUntilPainted(window);
    return 0;
}

int RunTextWindow() {
    QWidget window;
    window.setWindowTitle("text");
    window.resize(1040, 556);
    auto* label = new QLabel("关键字: keyword", &window);
    label->setGeometry(10, 10, 200, 20);
    auto* edit = new QLineEdit("10", &window);
    edit->setGeometry(10, 40, 100, 20);
    auto* button = new QPushButton("SO", &window);
    button->setGeometry(10, 70, 100, 20);
    auto* statusBar = new QStatusBar(&window);
    statusBar->setGeometry(0, 536, 1040, 20);
    statusBar->showMessage("欢迎~");
    ShowUntilPainted(window);
    return 0;
}

int RunProgramWindow() {
    const platform::com::Scope guiThread;
    QTemporaryDir folder;
    const std::filesystem::path programFolder(folder.path().toStdU16String());
    MainWindow window(programFolder);
    ConnectCanBeClosedHandler(window, programFolder);
    if (RunCreatedHandler(window, programFolder, ShowErrorReport) != StartupResult::Ready) {
        return 1;
    }
    ShowUntilPainted(window);
    window.close();
    return 0;
}

void TimeChild(benchmark::State& state, const char* mode) {
    for (auto _ : state) {
        QProcess child;
        const auto start = std::chrono::steady_clock::now();
        child.start(QCoreApplication::applicationFilePath(), {mode});
        if (!child.waitForFinished(60000) || child.exitCode() != 0) {
            state.SkipWithError("the child did not show its window");
            return;
        }
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(elapsed.count());
    }
}

void BM_StartupBareQtWindow(benchmark::State& state) {
    TimeChild(state, kBareWindow);
}
void BM_StartupQtWindowWithText(benchmark::State& state) {
    TimeChild(state, kTextWindow);
}
void BM_StartupProgramWindow(benchmark::State& state) {
    TimeChild(state, kProgramWindow);
}

BENCHMARK(BM_StartupBareQtWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartupQtWindowWithText)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_StartupProgramWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (argc == 2) {
        const std::string_view mode = argv[1];
        if (mode == kBareWindow || mode == kTextWindow || mode == kProgramWindow) {
            QApplication application(argc, argv);
            if (mode == kBareWindow) {
                return RunBareWindow();
            }
            return mode == kTextWindow ? RunTextWindow() : RunProgramWindow();
        }
    }
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
