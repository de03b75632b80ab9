// Benchmarks of what a user triggers. Run with `make bench`.
#include "platform/actions.h"
#include "shell/app.h"

#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer t;
    t.start();
    tav::Application app(argc, argv);
    tav::setupApplication(app);
    std::printf("application construction: %.3f ms\n", t.nsecsElapsed() / 1e6);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
