// A whole ok-button click of each graph page at the largest point count it
// takes, up to the frame painted: the computation, the chart, the table
// and the print table refreshed, and the window repainted, with the chart
// shown (0) or the table shown (1).
#include "common/messages.h"
#include "common/program.h"
#include "common/window.h"
#include "graphs/graphpages.h"
#include "platform/combo.h"
#include "shell/topics.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

void clickAndPaint(benchmark::State& state, const char* window, const char* points,
                   std::initializer_list<std::pair<const char*, const char*>> boxes = {})
{
    tav::resetProgram();
    tav::ScriptedMessages msgs;
    tav::setMessages(&msgs);
    auto& g = static_cast<tav::GraphPage&>(tav::windowNamed(QString::fromLatin1(window)));
    g.show();
    QWidget* w = g.widget();
    if (!QTest::qWaitForWindowExposed(w))
        state.SkipWithError("not exposed");
    if (state.range(0) == 1)
        g.Image10_Click();
    for (const auto& [name, text] : boxes)
        g.ctl<QLineEdit>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
    g.combo1()->setText(QString::fromLatin1(points));
    QCoreApplication::processEvents();
    for (auto _ : state) {
        g.calcula_Click(0);
        // The chart lays itself out and asks for its repaint on the event
        // loop: two rounds reach the frame painted.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    if (msgs.count() != 0)
        state.SkipWithError("an error box came up");
    tav::resetProgram();
    tav::setMessages(nullptr);
}

void BM_Graph1Frame(benchmark::State& s) { clickAndPaint(s, "FGrafico1", "107"); }
void BM_Graph2Frame(benchmark::State& s) { clickAndPaint(s, "FGrafico2", "499"); }
void BM_Graph3Frame(benchmark::State& s) { clickAndPaint(s, "FGrafico3", "498", {{"Text1_1", "20000"}}); }
void BM_Graph4Frame(benchmark::State& s)
{
    clickAndPaint(s, "FGrafico4", "497", {{"Text1_0", "0.1"}, {"Text1_1", "0.9"}});
}
void BM_Graph5Frame(benchmark::State& s) { clickAndPaint(s, "FGrafico5", "499"); }
void BM_Graph6Frame(benchmark::State& s) { clickAndPaint(s, "FGrafico6", "499"); }
void BM_Graph12Frame(benchmark::State& s) { clickAndPaint(s, "FGrafico12", "499"); }

} // namespace

BENCHMARK(BM_Graph1Frame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Graph2Frame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Graph3Frame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Graph4Frame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Graph5Frame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Graph6Frame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Graph12Frame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
