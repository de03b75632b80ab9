#include "common/program.h"
#include "lessons/figures.h"
#include "platform/pictures.h"
#include "shell/indice.h"
#include "shell/topics.h"

#include <QCoreApplication>
#include <QTest>
#include <benchmark/benchmark.h>

// A lesson page from its link to exposed on screen, and gone again: what a
// reader waits for on every visit. Arg: the topic.
static void BM_LessonPageVisit(benchmark::State& state)
{
    tav::resetProgram();
    tav::indice().show();
    tav::Form& page = tav::topicForm(int(state.range(0)));
    for (auto _ : state) {
        page.show();
        if (!QTest::qWaitForWindowExposed(page.widget()))
            state.SkipWithError("not exposed");
        page.unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    tav::resetProgram();
}
BENCHMARK(BM_LessonPageVisit)->Arg(2)->Arg(3)->Arg(6)->Arg(10)->Arg(11)->Arg(13)->Unit(benchmark::kMillisecond);

// The largest drawn pictures, drawn anew (their pages keep them once drawn).
static void BM_PathwayDiagram(benchmark::State& state)
{
    tav::pictures::setDrawAnew(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(tav::figures::pathwayDiagram());
    tav::pictures::setDrawAnew(false);
}
BENCHMARK(BM_PathwayDiagram)->Unit(benchmark::kMillisecond);

static void BM_ProtectionEquation(benchmark::State& state)
{
    tav::pictures::setDrawAnew(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(tav::figures::protectionEquation());
    tav::pictures::setDrawAnew(false);
}
BENCHMARK(BM_ProtectionEquation)->Unit(benchmark::kMillisecond);
