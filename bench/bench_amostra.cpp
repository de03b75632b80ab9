#include "common/messages.h"
#include "common/program.h"
#include "shell/amostra.h"
#include "shell/form1.h"

#include <QLineEdit>
#include <benchmark/benchmark.h>

using tav::amostra;
using tav::SampleValue;

// Each value the routine can compute, from the sampling page's worked inputs.
static void BM_AmostraSampleSize(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(amostra(1000, 0.05, 0.05, "-"));
}
BENCHMARK(BM_AmostraSampleSize);

static void BM_AmostraConfidence(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(amostra(1000, 0.05, "-", 58));
}
BENCHMARK(BM_AmostraConfidence);

static void BM_AmostraRdl(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(amostra(1000, "-", 0.05, 58));
}
BENCHMARK(BM_AmostraRdl);

// Boxes pass their texts, read in the user's locale.
static void BM_AmostraFromBoxes(benchmark::State& state)
{
    QLineEdit n(QStringLiteral("1,000")), rdl(QStringLiteral("0.05")), sample(QStringLiteral("-"));
    for (auto _ : state)
        benchmark::DoNotOptimize(amostra(&n, &rdl, 0.05, &sample));
}
BENCHMARK(BM_AmostraFromBoxes);

static void BM_AmostraConsignmentSize(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(amostra("-", 0.01, 0.05, 295)); // 39 passes
}
BENCHMARK(BM_AmostraConsignmentSize);

// The longest search: every pass allowed, then its error box (answered at once).
static void BM_AmostraSearchRunsOut(benchmark::State& state)
{
    tav::ScriptedMessages msgs;
    tav::setMessages(&msgs);
    for (auto _ : state) {
        benchmark::DoNotOptimize(amostra("-", 0.01, 0.05, 5000));
        msgs.clear();
    }
    tav::setMessages(nullptr);
}
BENCHMARK(BM_AmostraSearchRunsOut)->Unit(benchmark::kMicrosecond);

// The sampling page's Calculate from the click to the result in its box.
static void BM_Form1Calculate(benchmark::State& state)
{
    tav::resetProgram();
    tav::Form1& page = tav::form1();
    page.show();
    auto box = [&](int i) { return page.ctl<QLineEdit>(QStringLiteral("Text1"), i); };
    box(0)->setText(QStringLiteral("1000"));
    box(1)->setText(QStringLiteral("0.05"));
    box(2)->setText(QStringLiteral("0.95"));
    for (auto _ : state) {
        page.Image1_Click();
        if (box(3)->text() != QLatin1String("58"))
            state.SkipWithError("wrong result");
    }
    tav::resetProgram();
}
BENCHMARK(BM_Form1Calculate)->Unit(benchmark::kMicrosecond);
