#include "common/errors.h"
#include "common/random.h"
#include "measures/animation.h"
#include "measures/model.h"

#include <benchmark/benchmark.h>

using namespace tav;
using namespace tav::measures;

static ModelCaptions loadCaptions()
{
    ModelCaptions c;
    c.prevalence = QStringLiteral("0.3000");
    c.consignment = QStringLiteral("10000");
    c.efficacy = QStringLiteral("0.88493");
    c.sample = QStringLiteral("9000");
    c.p1 = QStringLiteral("0.2000");
    c.p2 = QStringLiteral("0.2000");
    c.variability = QStringLiteral("10");
    c.imports = QStringLiteral("120");
    return c;
}

static void BM_Probit(benchmark::State& state)
{
    double p = 0.000001;
    for (auto _ : state) {
        benchmark::DoNotOptimize(probitValue(p));
        p = p < 0.999 ? p + 0.013 : 0.000001;
    }
}
BENCHMARK(BM_Probit);

static void BM_Mortal(benchmark::State& state)
{
    double z = -8;
    for (auto _ : state) {
        benchmark::DoNotOptimize(mortalValue(z));
        z = z < 18 ? z + 0.37 : -8;
    }
}
BENCHMARK(BM_Mortal);

// One recomputation of the model from its captions, largest consignment.
static void BM_ModelRecompute(benchmark::State& state)
{
    const ModelCaptions c = loadCaptions();
    for (auto _ : state) {
        ModelResults r;
        recompute(c, r);
        benchmark::DoNotOptimize(r.T);
    }
}
BENCHMARK(BM_ModelRecompute)->Unit(benchmark::kMicrosecond);

// The ALP answers for all six parameters.
static void BM_AlpSolve(benchmark::State& state)
{
    AlpInputs in;
    in.prevalence = QStringLiteral("0.3000");
    in.consignment = QStringLiteral("10000");
    in.p1 = QStringLiteral("0.2000");
    in.p2 = QStringLiteral("0.2000");
    in.imports = QStringLiteral("120");
    in.efficacy = QStringLiteral("0.88493");
    in.prevalenceAfter = QStringLiteral("0.034521 +/- 0.0034521");
    in.ic = 0.5287;
    in.yy1 = 1e8;
    for (auto _ : state) {
        AlpAnswers a;
        IgnoreErrors h;
        solveAlp(in, a, h);
        benchmark::DoNotOptimize(a.sample);
    }
}
BENCHMARK(BM_AlpSolve)->Unit(benchmark::kMicrosecond);

// The consignment drawing computed at the largest inputs: 10000 units, the
// highest prevalence with no sample (every stage drawn in full), and the
// largest sample at the lowest prevalence (the sample drawn in full).
static void BM_ConsignmentPlan(benchmark::State& state)
{
    LcgRandom r(1);
    AnimationParams p;
    p.pop = 10000;
    p.samp = int32_t(state.range(0));
    p.inf = float(state.range(1) / 10000.0);
    p.pr1 = 0.9999f;
    p.pr2 = 0.9999f;
    p.effic = 0.999999f;
    for (auto _ : state) {
        AnimationState st;
        benchmark::DoNotOptimize(planDrawing(p, AnimationGeometry(), st, r).ops.size());
    }
}
BENCHMARK(BM_ConsignmentPlan)->Args({0, 9999})->Args({9000, 1})->Unit(benchmark::kMillisecond);

#include "common/program.h"
#include "measures/form11.h"
#include "platform/slider.h"

// The page's own paths at the largest inputs: a parameter change (model,
// ALP answers and a redraw from the field) and one timer tick's drawing.
static Form11& measurePage(bool withPanel)
{
    resetProgram();
    Form11& f = formRef<Form11>();
    f.show();
    f.ctl<Slider>(QStringLiteral("Hscroll4"))->setValue(10000);
    f.ctl<Slider>(QStringLiteral("Hscroll5"))->setValue(9999);
    f.ctl<Slider>(QStringLiteral("Hscroll7"))->setValue(1);
    if (withPanel)
        f.Image10_Click();
    return f;
}

static void BM_PageParameterChange(benchmark::State& state)
{
    Form11& f = measurePage(true);
    auto* s = f.ctl<Slider>(QStringLiteral("Hscroll1"));
    int v = 9000;
    for (auto _ : state) {
        s->setValue(v);
        v = v == 9000 ? 9001 : 9000;
    }
    resetProgram();
}
BENCHMARK(BM_PageParameterChange)->Unit(benchmark::kMillisecond);

static void BM_PageTick(benchmark::State& state)
{
    Form11& f = measurePage(false);
    for (auto _ : state)
        f.Timer1_Timer();
    resetProgram();
}
BENCHMARK(BM_PageTick)->Unit(benchmark::kMillisecond);

static void BM_PageModelOnly(benchmark::State& state)
{
    Form11& f = measurePage(true);
    for (auto _ : state)
        f.atualiza();
    resetProgram();
}
BENCHMARK(BM_PageModelOnly)->Unit(benchmark::kMillisecond);
