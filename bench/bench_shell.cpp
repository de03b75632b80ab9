#include "common/format.h"
#include "common/program.h"
#include "shell/indice.h"

#include <QTest>
#include <benchmark/benchmark.h>

// The start page from nothing to exposed on screen.
static void BM_StartPageShown(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        tav::resetProgram();
        state.ResumeTiming();
        tav::indice().show();
        if (!QTest::qWaitForWindowExposed(tav::indice().widget()))
            state.SkipWithError("not exposed");
    }
    tav::resetProgram();
}
BENCHMARK(BM_StartPageShown)->Unit(benchmark::kMillisecond);

static void BM_FormatPatterns(benchmark::State& state)
{
    const QString patterns[] = {QStringLiteral("#.####"), QStringLiteral("######"), QStringLiteral("####,##0"),
                                QStringLiteral("0.0E-00")};
    double v = 0.9495871;
    for (auto _ : state) {
        for (const QString& p : patterns)
            benchmark::DoNotOptimize(tav::formatNumber(v, p));
        v += 1.25;
    }
}
BENCHMARK(BM_FormatPatterns);
