#pragma once
// The main of a widget benchmark: an application on the off-screen platform unless a display is
// asked for, then the benchmarks.
#include <QApplication>
#include <benchmark/benchmark.h>

inline int RunGuiBenchmarks(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
