// The main of a benchmark program that needs a QApplication: offscreen unless the caller chose a
// platform, then every registered benchmark.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

inline int RunOffscreenBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
