// The computations of graphs 4, 5, 6 and 12 at their largest inputs: about
// 500 points per curve (the windows' arrays hold 500), into the chart, the
// table and the print table, with the yields of the pages that yield.
#include "common/messages.h"
#include "common/program.h"
#include "graphs/fgrafico12.h"
#include "graphs/fgrafico4.h"
#include "graphs/fgrafico5.h"
#include "graphs/fgrafico6.h"
#include "graphs/relation12.h"
#include "graphs/relation4.h"
#include "platform/combo.h"

#include <QLineEdit>
#include <benchmark/benchmark.h>

namespace {

// Loads the page with its defaults, sets the count and any boxes, then
// times the computation alone.
template <class Page>
void computePage(benchmark::State& state, const QString& count,
                 std::initializer_list<std::pair<QString, QString>> boxes)
{
    tav::ScriptedMessages msgs;
    tav::setMessages(&msgs);
    tav::resetProgram();
    Page& page = tav::formRef<Page>();
    page.show();
    page.combo1()->setText(count);
    for (const auto& [name, text] : boxes)
        page.template ctl<QLineEdit>(name)->setText(text);
    for (auto _ : state)
        page.calcula_Click(0);
    if (msgs.count() != 0)
        state.SkipWithError("the computation failed");
    tav::resetProgram();
    tav::setMessages(nullptr);
}

} // namespace

// Five curves of 500 points over 0.1 to 0.9, each point yielding.
static void BM_Graph4FiveCurves(benchmark::State& state)
{
    computePage<tav::FGrafico4>(state, QStringLiteral("497"),
                                {{QStringLiteral("Text1_0"), QStringLiteral("0.1")},
                                 {QStringLiteral("Text1_1"), QStringLiteral("0.9")}});
}
BENCHMARK(BM_Graph4FiveCurves)->Unit(benchmark::kMillisecond);

static void BM_Graph5Inspections(benchmark::State& state)
{
    computePage<tav::FGrafico5>(state, QStringLiteral("499"), {});
}
BENCHMARK(BM_Graph5Inspections)->Unit(benchmark::kMillisecond);

static void BM_Graph6Introductions(benchmark::State& state)
{
    computePage<tav::FGrafico6>(state, QStringLiteral("499"), {});
}
BENCHMARK(BM_Graph6Introductions)->Unit(benchmark::kMillisecond);

static void BM_Graph12Efficacy(benchmark::State& state)
{
    computePage<tav::FGrafico12>(state, QStringLiteral("499"), {});
}
BENCHMARK(BM_Graph12Efficacy)->Unit(benchmark::kMillisecond);

// The relations alone, without any control.
static void BM_Graph4Relation(benchmark::State& state)
{
    std::vector<double> x(501), y(501);
    const tav::Graph4Range r = tav::graph4Range(0.1, 0.9, 497);
    for (auto _ : state)
        for (int32_t N : tav::kGraph4Sizes) {
            int computed = 0;
            tav::graph4Set({x, y}, computed, N, 0.1, r.loopEnd, r.step, 0.5, 0.5);
            benchmark::DoNotOptimize(computed);
        }
}
BENCHMARK(BM_Graph4Relation)->Unit(benchmark::kMicrosecond);

static void BM_Graph12Relation(benchmark::State& state)
{
    std::vector<double> x(501), y(501), r(501);
    tav::EfficacyInputs in;
    in.p1 = in.p2 = 0.2;
    in.N = 4000;
    in.f = 0.3f;
    in.n = 25;
    in.xMin = 0.1;
    in.xMax = 0.9999;
    in.yMax = 1e6;
    for (auto _ : state) {
        int computed = 0;
        tav::efficacyPoints({{x, y}, r}, computed, in, tav::efficacyStep(in, 499));
        benchmark::DoNotOptimize(tav::efficacyShape({{x, y}, r}, computed));
    }
}
BENCHMARK(BM_Graph12Relation)->Unit(benchmark::kMicrosecond);
