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
#include "platform/combo.h"
#include "platform/slider.h"

#include <QCoreApplication>
#include <QTest>

// What the user waits for after a change: the page's own work and then the
// repaint it asked for, which the event loop delivers.
static void paintFrame()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// The page's own paths at the largest inputs: a parameter change (model,
// ALP answers and a redraw from the field) and one timer tick's drawing.
static Form11& measurePage(bool withPanel)
{
    resetProgram();
    Form11& f = formRef<Form11>();
    f.show();
    (void)QTest::qWaitForWindowExposed(f.widget());
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
    paintFrame();
    for (auto _ : state) {
        s->setValue(v);
        paintFrame();
        v = v == 9000 ? 9001 : 9000;
    }
    resetProgram();
}
BENCHMARK(BM_PageParameterChange)->Unit(benchmark::kMillisecond);

static void BM_PageTick(benchmark::State& state)
{
    Form11& f = measurePage(false);
    paintFrame();
    for (auto _ : state) {
        f.Timer1_Timer();
        paintFrame();
    }
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

namespace {

// The page at its heaviest drawing: 10000 units, prevalence 0.9999, a sample
// of 5000 and a measure that lets nearly every pest through.
Form11& heaviestDrawing(benchmark::State& state)
{
    resetProgram();
    Form11& f = formRef<Form11>();
    f.show();
    if (!QTest::qWaitForWindowExposed(f.widget()))
        state.SkipWithError("not exposed");
    f.ctl<Slider>(QStringLiteral("Hscroll4"))->setValue(10000);
    f.ctl<Slider>(QStringLiteral("Hscroll5"))->setValue(9999);
    f.ctl<Slider>(QStringLiteral("Hscroll7"))->setValue(1);
    f.ctl<Slider>(QStringLiteral("Hscroll3"))->setValue(5000);
    f.ctl<Slider>(QStringLiteral("Hscroll1"))->setValue(9999);
    f.ctl<Slider>(QStringLiteral("Hscroll2"))->setValue(9999);
    paintFrame();
    return f;
}

// One slider moved by one step and back, as a drag does, up to the frame.
void sliderFrame(benchmark::State& state, const char* name, int a, int b)
{
    Form11& f = heaviestDrawing(state);
    auto* s = f.ctl<Slider>(QString::fromLatin1(name));
    int v = a;
    for (auto _ : state) {
        s->setValue(v);
        paintFrame();
        v = v == a ? b : a;
    }
    resetProgram();
}

} // namespace

// Prevalence and consignment size redraw all six pictures; efficacy from the
// second, sample from the consignment, P1 from the host, P2 the last one.
static void BM_Form11PrevalenceSliderFrame(benchmark::State& s) { sliderFrame(s, "Hscroll5", 9998, 9999); }
BENCHMARK(BM_Form11PrevalenceSliderFrame)->Unit(benchmark::kMillisecond);
static void BM_Form11SizeSliderFrame(benchmark::State& s) { sliderFrame(s, "Hscroll4", 9999, 10000); }
BENCHMARK(BM_Form11SizeSliderFrame)->Unit(benchmark::kMillisecond);
static void BM_Form11EfficacySliderFrame(benchmark::State& s) { sliderFrame(s, "Hscroll7", 2, 1); }
BENCHMARK(BM_Form11EfficacySliderFrame)->Unit(benchmark::kMillisecond);
static void BM_Form11SampleSliderFrame(benchmark::State& s) { sliderFrame(s, "Hscroll3", 4999, 5000); }
BENCHMARK(BM_Form11SampleSliderFrame)->Unit(benchmark::kMillisecond);
static void BM_Form11P1SliderFrame(benchmark::State& s) { sliderFrame(s, "Hscroll1", 9998, 9999); }
BENCHMARK(BM_Form11P1SliderFrame)->Unit(benchmark::kMillisecond);

// A pick from the variability list redraws everything.
static void BM_Form11VariabilityPickFrame(benchmark::State& state)
{
    Form11& f = heaviestDrawing(state);
    auto* c = f.ctl<ComboBox>(QStringLiteral("Combo1"));
    int i = 0;
    for (auto _ : state) {
        c->setListIndex(i);
        paintFrame();
        i = i == 0 ? 1 : 0;
    }
    resetProgram();
}
BENCHMARK(BM_Form11VariabilityPickFrame)->Unit(benchmark::kMillisecond);

// One tick of the running animation at the heaviest drawing, up to the frame.
static void BM_Form11TickFrame(benchmark::State& state)
{
    Form11& f = heaviestDrawing(state);
    for (auto _ : state) {
        f.Timer1_Timer();
        paintFrame();
    }
    resetProgram();
}
BENCHMARK(BM_Form11TickFrame)->Unit(benchmark::kMillisecond);
