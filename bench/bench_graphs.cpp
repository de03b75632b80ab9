// The computations of the graph pages at their largest inputs: the pure
// relations and a whole ok-button click (chart, grid and print table).

#include "common/messages.h"
#include "common/program.h"
#include "graphs/graphpages.h"
#include "graphs/samplingcurves.h"
#include "platform/combo.h"
#include "shell/topics.h"

#include <QLineEdit>
#include <benchmark/benchmark.h>

namespace {

// Sample size against RDL for five CLs, 107 intervals (the most that fit).
void BM_Graph1Relation(benchmark::State& state)
{
    std::vector<double> vx(111), vy(111);
    const double step = (0.02 - 0.00001) / 107;
    for (auto _ : state) {
        for (double cl : {0.8, 0.9, 0.95, 0.99, 0.999}) {
            int i = 0;
            tav::sweepRdl(1000, 1 - cl, 0.00001, 0.02 + 2 * step, step, vx, vy, i);
            benchmark::DoNotOptimize(i);
        }
    }
}
BENCHMARK(BM_Graph1Relation)->Unit(benchmark::kMicrosecond);

// Five consignment-size curves of 500 points.
void BM_ConsignmentRelation(benchmark::State& state)
{
    std::vector<double> vx(511), vy(511);
    const double step = 20000.0 / 498;
    for (auto _ : state) {
        int i = 0;
        tav::sweepConsignments(tav::Sampling::Reference, 0, 0.05, 0.01, 0, 20000 + 2 * step, step, vx, vy, i);
        for (double p : {1.0, 2.0, 3.0, 5.0})
            tav::sweepConsignments(tav::Sampling::Percent, p, 0.05, 0.01, 0, 20000 + 2 * step, step, vx, vy, i);
        benchmark::DoNotOptimize(i);
    }
}
BENCHMARK(BM_ConsignmentRelation)->Unit(benchmark::kMicrosecond);

// A click on the ok button of a graph page with the largest point count it
// takes without an error box.
void clickOk(benchmark::State& state, const char* window, const char* points)
{
    tav::resetProgram();
    tav::ScriptedMessages msgs;
    tav::setMessages(&msgs);
    auto& g = static_cast<tav::GraphPage&>(tav::windowNamed(QString::fromLatin1(window)));
    g.show();
    g.combo1()->setText(QString::fromLatin1(points));
    for (auto _ : state)
        g.calcula_Click(0);
    if (msgs.count() != 0)
        state.SkipWithError("an error box came up");
    tav::resetProgram();
    tav::setMessages(nullptr);
}

void BM_Graph1Compute(benchmark::State& state) { clickOk(state, "FGrafico1", "107"); }
BENCHMARK(BM_Graph1Compute)->Unit(benchmark::kMillisecond);

void BM_Graph2Compute(benchmark::State& state) { clickOk(state, "FGrafico2", "498"); }
BENCHMARK(BM_Graph2Compute)->Unit(benchmark::kMillisecond);

// Yields once per point of each of the five curves.
void BM_Graph3Compute(benchmark::State& state) { clickOk(state, "FGrafico3", "498"); }
BENCHMARK(BM_Graph3Compute)->Unit(benchmark::kMillisecond);

} // namespace
