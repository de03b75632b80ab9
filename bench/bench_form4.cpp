#include "common/errors.h"
#include "common/messages.h"
#include "common/program.h"
#include "common/random.h"
#include "platform/combo.h"
#include "simulation/form4.h"
#include "simulation/form4drawing.h"
#include "simulation/preenchetabela.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

// The page loaded and shown, with the inputs given; boxes answered by script.
tav::Form4& shownPage(const char* N, const char* prev, const char* n, const char* I, bool panel)
{
    tav::resetProgram();
    tav::Form4& f = tav::formRef<tav::Form4>();
    f.show();
    if (!QTest::qWaitForWindowExposed(f.widget()))
        return f;
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 0)->setText(QString::fromLatin1(N));
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 1)->setText(QString::fromLatin1(prev));
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 2)->setText(QString::fromLatin1(n));
    f.ctl<tav::ComboBox>(QStringLiteral("Combo1"))->setText(QString::fromLatin1(I));
    if (panel)
        f.Image9_Click();
    return f;
}

void pageRun(benchmark::State& state, const char* N, const char* prev, const char* n, const char* I, bool panel)
{
    tav::ScriptedMessages msgs;
    tav::setMessages(&msgs);
    tav::Form4& f = shownPage(N, prev, n, I, panel);
    for (auto _ : state)
        f.Image1_Click();
    if (msgs.count() != 0)
        state.SkipWithError(qPrintable(msgs.last().text));
    tav::resetProgram();
    tav::setMessages(nullptr);
}

} // namespace

// "Simulate" at the page's defaults: 10 consignments, the table fill and the
// picture, with the panel in sight.
static void BM_Form4RunDefaults(benchmark::State& state) { pageRun(state, "100", "0.1", "10", "10", true); }
BENCHMARK(BM_Form4RunDefaults)->Unit(benchmark::kMillisecond);


// The picture alone at its worst on the shown panel: 5000 units, 4447
// infested and 4999 inspected.
static void BM_Form4DrawingLargest(benchmark::State& state)
{
    tav::ScriptedMessages msgs;
    tav::setMessages(&msgs);
    tav::Form4& f = shownPage("5000", "0.9", "4999", "1", true);
    tav::LcgRandom r;
    tav::setRng(&r);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        tav::IgnoreErrors h;
        benchmark::DoNotOptimize(tav::drawConsignment(f, h));
        // Up to the repaint of the panel.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    tav::setRng(nullptr);
    tav::resetProgram();
    tav::setMessages(nullptr);
}
BENCHMARK(BM_Form4DrawingLargest)->Unit(benchmark::kMillisecond);

// The picture's computation alone at the defaults.
static void BM_Form4PlanDefaults(benchmark::State& state)
{
    tav::LcgRandom r;
    for (auto _ : state)
        benchmark::DoNotOptimize(tav::planConsignment(4200, 3165, 100, 0.1, 10, 137, 202, r));
}
BENCHMARK(BM_Form4PlanDefaults)->Unit(benchmark::kMicrosecond);

// The longest run the list offers at the defaults; the engine yields once per
// consignment, so the shown page repaints its counter 500 times.
static void BM_Form4Run500Defaults(benchmark::State& state) { pageRun(state, "100", "0.1", "10", "500", true); }
BENCHMARK(BM_Form4Run500Defaults)->Unit(benchmark::kMillisecond);
// One consignment drawn through the page at the shown panel's limits.
static void BM_Form4Run1AtTheLimits(benchmark::State& state) { pageRun(state, "5000", "0.9", "10", "1", true); }
BENCHMARK(BM_Form4Run1AtTheLimits)->Unit(benchmark::kMillisecond);
// The table fill of 500 consignments alone.
static void BM_Form4Fill500(benchmark::State& state)
{
    tav::ScriptedMessages msgs;
    tav::setMessages(&msgs);
    tav::Form4& f = shownPage("100", "0.1", "10", "500", false);
    f.Image1_Click();
    for (auto _ : state) {
        tav::IgnoreErrors h;
        benchmark::DoNotOptimize(tav::preenchetabela(f, QStringLiteral("500"), 5, true, h));
    }
    tav::resetProgram();
    tav::setMessages(nullptr);
}
BENCHMARK(BM_Form4Fill500)->Unit(benchmark::kMillisecond);
