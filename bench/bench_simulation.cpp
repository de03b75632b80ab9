#include "common/random.h"
#include "simulation/simula.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

// N, prevalence, n, consignments; variabilities 10 % and p1 = p2 = 1/3 as
// the input window starts.
tav::SimulationInputs inputs(int N, double prevalence, int n, int I)
{
    tav::SimulationInputs in;
    in.N = N;
    in.prevalence = prevalence;
    in.n = n;
    in.I = I;
    in.varprev = in.varp1 = in.varp2 = 0.1;
    in.prob1 = in.prob2 = 0.33333;
    return in;
}

void runEngine(benchmark::State& state, const tav::SimulationInputs& in, bool yield)
{
    tav::LcgRandom r;
    for (auto _ : state) {
        tav::SimulationRun run(in);
        while (!run.done()) {
            if (yield)
                QCoreApplication::processEvents();
            benchmark::DoNotOptimize(run.step(r));
        }
        benchmark::DoNotOptimize(run.totals());
    }
}

} // namespace

// The topic-4 page's defaults, run 500 times (that page never draws p1, p2).
static void BM_SimulaTopic4Defaults(benchmark::State& state)
{
    tav::SimulationInputs in = inputs(100, 0.1, 10, 500);
    in.prob1 = in.prob2 = 0.0;
    runEngine(state, in, state.range(0) != 0);
}
BENCHMARK(BM_SimulaTopic4Defaults)->Arg(0)->Arg(1)->ArgName("yield")->Unit(benchmark::kMillisecond);

// The input window's defaults, 500 consignments.
static void BM_SimulaInputWindowDefaults(benchmark::State& state)
{
    runEngine(state, inputs(1000, 0.1, 10, 500), state.range(0) != 0);
}
BENCHMARK(BM_SimulaInputWindowDefaults)->Arg(0)->Arg(1)->ArgName("yield")->Unit(benchmark::kMillisecond);

// The largest consignment with the largest sample the input checks let through.
static void BM_SimulaWorstCase(benchmark::State& state)
{
    runEngine(state, inputs(10000, 0.1, 9999, 500), state.range(0) != 0);
}
BENCHMARK(BM_SimulaWorstCase)->Arg(0)->Arg(1)->ArgName("yield")->Unit(benchmark::kMillisecond);
