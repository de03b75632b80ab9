#include "common/program.h"
#include "common/window.h"
#include "measures/form11.h"
#include "output/form11output.h"
#include "output/resultsimoutput.h"
#include "shell/topics.h"
#include "simulation/fresultsim.h"

#include <benchmark/benchmark.h>

// The measure page's six pictures and 21 captions composed for a save.
static void BM_Form11PictureComposition(benchmark::State& state)
{
    tav::Form11& p = tav::formRef<tav::Form11>();
    p.show();
    p.ctl(QStringLiteral("Picture10"))->hide();
    for (auto _ : state) {
        p.flagsalva = 1;
        tav::form11Print(p);
        p.flagsalva = 0;
    }
    tav::resetProgram();
}
BENCHMARK(BM_Form11PictureComposition)->Unit(benchmark::kMillisecond);

// The results panel's 39 texts composed and handed to the print set-up.
static void BM_Form11ResultsComposition(benchmark::State& state)
{
    tav::Form11& p = tav::formRef<tav::Form11>();
    p.show();
    p.ctl(QStringLiteral("Picture10"))->show();
    for (auto _ : state)
        tav::form11Print(p);
    tav::resetProgram();
}
BENCHMARK(BM_Form11ResultsComposition)->Unit(benchmark::kMillisecond);

static void BM_Form11Report(benchmark::State& state)
{
    tav::Form11& p = tav::formRef<tav::Form11>();
    p.show();
    for (auto _ : state)
        benchmark::DoNotOptimize(tav::form11Report(p));
    tav::resetProgram();
}
BENCHMARK(BM_Form11Report);

// The simulation results picture composed for a save.
static void BM_ResultSimComposition(benchmark::State& state)
{
    auto& w = static_cast<tav::FResultSim&>(tav::windowNamed(QStringLiteral("FResultSim")));
    w.show();
    w.ctl(QStringLiteral("Grid1"))->hide();
    w.ctl(QStringLiteral("Picture5"))->show();
    for (auto _ : state) {
        w.setSalvando(1);
        tav::resultSimPrint(w);
        w.setSalvando(0);
    }
    tav::resetProgram();
}
BENCHMARK(BM_ResultSimComposition)->Unit(benchmark::kMillisecond);
