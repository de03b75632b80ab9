#include "common/errors.h"
#include "common/random.h"
#include "common/window.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "simulation/preenchetabela.h"
#include "simulation/resultados.h"
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

namespace {
// A window with a results grid laid out as the simulation windows lay theirs.
class GridWindow : public tav::Form {
public:
    GridWindow() : Form(QStringLiteral("BenchGridWindow")) {}

protected:
    void build(tav::FormWidget* w) override
    {
        auto* g = tav::place<tav::Grid>(w->client(), QStringLiteral("Grid1"), 2190, 2565, 5730, 3840);
        g->setCols(6);
        for (int c = 0; c < 6; ++c)
            g->setColWidth(c, 1070);
    }
};
} // namespace

// The copy of a 500-consignment run into a shown grid and the print table.
static void BM_PreencheTabela500(benchmark::State& state)
{
    tav::LcgRandom r;
    const tav::SimulationResult run = tav::simulate(inputs(1000, 0.1, 10, 500), r);
    for (const tav::SimulationRow& row : run.rows) {
        tav::resultados().setCell(1, row.k, row.k);
        tav::resultados().setCell(2, row.k, row.prevalence);
        tav::resultados().setCell(3, row.k, row.found);
        tav::resultados().setCell(4, row.k, row.refused ? QStringLiteral("Refused") : QStringLiteral("Ingressed"));
        tav::resultados().setCell(5, row.k, row.ingressed);
        tav::resultados().setCell(6, row.k, 0);
    }
    GridWindow w;
    w.show();
    tav::IgnoreErrors h;
    for (auto _ : state) {
        tav::preenchetabela(w, QStringLiteral("500"), 6, true, h);
        QCoreApplication::processEvents();
    }
    tav::resetSimulationState();
}
BENCHMARK(BM_PreencheTabela500)->Unit(benchmark::kMillisecond);
