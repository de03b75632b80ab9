// Benchmarks of what a user triggers. Run with `make bench`.
#include "shell/app.h"

#include <QApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer t;
    t.start();
    QApplication app(argc, argv);
    tav::setupApplication(app);
    std::printf("application construction: %.3f ms\n", t.nsecsElapsed() / 1e6);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
