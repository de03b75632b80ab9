#include "common/program.h"
#include "platform/controls.h"
#include "shell/indice.h"
#include "shell/navigation.h"
#include "shell/topics.h"

#include <QCoreApplication>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// One click on a toolbar button: the target page loads and is exposed, the
// page left unloads.
bool clickAndShow(tav::Form& from, const QString& button, tav::Form& to)
{
    auto* b = from.findCtl<tav::ImageButton>(button);
    if (!b)
        return false;
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
    const bool exposed = QTest::qWaitForWindowExposed(to.widget());
    settle();
    return exposed;
}

} // namespace

// Next from topic 3 to topic 4 and Back again, each a full page load.
static void BM_BackAndNext(benchmark::State& state)
{
    tav::resetProgram();
    tav::indice().show();
    tav::Form& form3 = tav::windowNamed(QStringLiteral("Form3"));
    tav::Form& form4 = tav::windowNamed(QStringLiteral("Form4"));
    form3.show();
    settle();
    for (auto _ : state) {
        if (!clickAndShow(form3, QStringLiteral("Image1"), form4) ||
            !clickAndShow(form4, QStringLiteral("Image2"), form3)) {
            state.SkipWithError("page not shown");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * 2);
    tav::resetProgram();
}
BENCHMARK(BM_BackAndNext)->Unit(benchmark::kMillisecond);

// "Last Form" toggling between a graph page and a lesson page.
static void BM_LastFormToggle(benchmark::State& state)
{
    tav::resetProgram();
    tav::indice().show();
    tav::Form& a = tav::windowNamed(QStringLiteral("Form12"));
    tav::Form& b = tav::windowNamed(QStringLiteral("FGrafico12"));
    a.show();
    tav::navigate(a, tav::NavCommand::Next); // FGrafico12, Form12 the last form
    settle();
    for (auto _ : state) {
        tav::navigate(b, tav::NavCommand::Back);
        settle();
        tav::lastForm(a);
        settle();
    }
    state.SetItemsProcessed(state.iterations() * 2);
    tav::resetProgram();
}
BENCHMARK(BM_LastFormToggle)->Unit(benchmark::kMillisecond);
