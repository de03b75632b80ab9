#include "common/program.h"
#include "common/random.h"
#include "simulation/desenhabase.h"
#include "simulation/fresultsim.h"

#include <benchmark/benchmark.h>

// The decisions of a drawing at the largest consignment: 4523 infested
// cells and a sample one short of the whole consignment.
static void BM_PlanLargestConsignment(benchmark::State& state)
{
    tav::LcgRandom r(99);
    for (auto _ : state)
        benchmark::DoNotOptimize(tav::planBase(3390, 3030, 5000, 0.9f, int32_t(state.range(0)), r));
}
BENCHMARK(BM_PlanLargestConsignment)->Arg(500)->Arg(4999)->Unit(benchmark::kMillisecond);

// A full drawing on the results window's panel at the largest consignment,
// painting included: grid lines, rings, verdict and the dots.
static void BM_DrawLargestConsignment(benchmark::State& state)
{
    tav::resetProgram();
    tav::LcgRandom r(7);
    tav::setRng(&r);
    tav::FResultSim& w = tav::formRef<tav::FResultSim>();
    w.show();
    const auto samp = int32_t(state.range(0));
    for (auto _ : state)
        w.desenhabase(0, 5000, 0.9f, samp, 0.9f, 0.9f);
    tav::setRng(nullptr);
    tav::resetProgram();
}
BENCHMARK(BM_DrawLargestConsignment)->Arg(0)->Arg(1)->Arg(500)->Arg(4999)->Unit(benchmark::kMillisecond);

// A sample that cannot be completed: the bound of repeated draws.
static void BM_SampleBound(benchmark::State& state)
{
    tav::LcgRandom r(5);
    for (auto _ : state)
        benchmark::DoNotOptimize(tav::planBase(3390, 3030, 10, 0.1f, 11, r));
}
BENCHMARK(BM_SampleBound)->Unit(benchmark::kMillisecond);
