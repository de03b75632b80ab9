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

#include "platform/slider.h"
#include "simulation/fsimula1.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace {

// The results window with its picture panel in sight, on the largest
// consignment it draws: 5000 units at prevalence 0.9, P1 and P2 0.9999.
tav::FResultSim& panelShown(benchmark::State& state, const char* sample)
{
    tav::resetProgram();
    tav::FSimula1& in = tav::formRef<tav::FSimula1>();
    const std::pair<const char*, const char*> inputs[] = {
        {"Text1_0", "5000"}, {"Text1_1", "0.9"}, {"Text1_2", sample}, {"lp1", "0.9999"}, {"lp2", "0.9999"}};
    for (const auto& [name, text] : inputs)
        in.ctl<QLineEdit>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
    tav::FResultSim& w = tav::formRef<tav::FResultSim>();
    for (const char* name : {"Text1_0", "Text1_1", "Text1_2"})
        w.ctl<QLabel>(QString::fromLatin1(name))->setText(in.ctl<QLineEdit>(QString::fromLatin1(name))->text());
    w.show();
    if (!QTest::qWaitForWindowExposed(w.widget()))
        state.SkipWithError("not exposed");
    w.Form_Activate();
    w.Image9_Click();
    QCoreApplication::processEvents();
    return w;
}

tav::Slider* slider(tav::FResultSim& w, int i) { return w.ctl<tav::Slider>(QStringLiteral("Hscroll%1").arg(i)); }

// One slider moved by a step and back, up to the repaint it causes.
void sliderFrame(benchmark::State& state, int index, int a, int b, const char* sample)
{
    tav::LcgRandom r(7);
    tav::setRng(&r);
    tav::FResultSim& w = panelShown(state, sample);
    if (index == 1 || index == 2) {
        // The host and establishment redraws have most to draw after an
        // ingressed consignment.
        for (int i = 0; i < 1000 && w.ctl<QLabel>(QStringLiteral("Label4"), 3)->text() != QStringLiteral("Ingressed !");
             ++i)
            w.Image4_Click();
        if (w.ctl<QLabel>(QStringLiteral("Label4"), 3)->text() != QStringLiteral("Ingressed !"))
            state.SkipWithError("no ingressed consignment");
    }
    tav::Slider* s = slider(w, index);
    int v = a;
    for (auto _ : state) {
        s->setValue(v);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        v = v == a ? b : a;
    }
    tav::setRng(nullptr);
    tav::resetProgram();
}

} // namespace

// Prevalence, sample and consignment size redraw the whole panel; P1 the
// host and establishment pictures, P2 the last one.
static void BM_ResultSimPrevalenceSliderFrame(benchmark::State& s) { sliderFrame(s, 5, 8999, 9000, "4999"); }
BENCHMARK(BM_ResultSimPrevalenceSliderFrame)->Unit(benchmark::kMillisecond);
static void BM_ResultSimSampleSliderFrame(benchmark::State& s) { sliderFrame(s, 3, 4998, 4999, "4999"); }
BENCHMARK(BM_ResultSimSampleSliderFrame)->Unit(benchmark::kMillisecond);
static void BM_ResultSimSizeSliderFrame(benchmark::State& s) { sliderFrame(s, 4, 4999, 5000, "1"); }
BENCHMARK(BM_ResultSimSizeSliderFrame)->Unit(benchmark::kMillisecond);
static void BM_ResultSimP1SliderFrame(benchmark::State& s) { sliderFrame(s, 1, 9998, 9999, "1"); }
BENCHMARK(BM_ResultSimP1SliderFrame)->Unit(benchmark::kMillisecond);
static void BM_ResultSimP2SliderFrame(benchmark::State& s) { sliderFrame(s, 2, 9998, 9999, "1"); }
BENCHMARK(BM_ResultSimP2SliderFrame)->Unit(benchmark::kMillisecond);
