// Window switches as the user makes them: the click or menu item, the page
// left unloaded, the page shown loaded and painted. Each benchmark goes to
// and fro between two pages; its argument tells which of the two switches
// is timed (the other one runs untimed).
#include "common/program.h"
#include "platform/controls.h"
#include "repaint.h"
#include "shell/indice.h"
#include "shell/menus.h"
#include "shell/navigation.h"
#include "shell/topics.h"

#include <QAction>
#include <QCoreApplication>
#include <QTest>
#include <benchmark/benchmark.h>
#include <functional>
#include <vector>

namespace {

struct Switch {
    QString from;                  // the window the user acts on
    std::function<bool(tav::Form&)> act;
    QString to;                    // the window that shows
};

bool click(tav::Form& from, const QString& button)
{
    auto* b = from.findCtl<tav::ImageButton>(button);
    if (!b)
        return false;
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
    return true;
}

bool menuItem(tav::Form& from, const QString& item)
{
    auto* a = from.isLoaded() ? from.widget()->findChild<QAction*>(item) : nullptr;
    if (!a)
        return false;
    a->trigger();
    return true;
}

Switch button(const char* from, const char* name, const char* to)
{
    const QString b = QString::fromLatin1(name);
    return {QString::fromLatin1(from), [b](tav::Form& f) { return click(f, b); }, QString::fromLatin1(to)};
}

Switch item(const char* from, int index, const char* to)
{
    const QString item = tav::indexItemName(QString::fromLatin1(from), index);
    return {QString::fromLatin1(from), [item](tav::Form& f) { return menuItem(f, item); }, QString::fromLatin1(to)};
}

// Starts at the first switch's window (reached from the start page through
// `open`), then runs the switches in turn.
void run(benchmark::State& state, const QString& first, const std::function<void()>& open,
         const std::vector<Switch>& switches)
{
    tav::resetProgram();
    tav::indice().show();
    open();
    bench::untilRepainted();
    if (!tav::windowNamed(first).visible()) {
        state.SkipWithError("first page not shown");
        return;
    }
    bench::PaintWatch watch;
    const size_t timed = size_t(state.range(0));
    auto make = [&](const Switch& s) {
        watch.expect(s.to);
        if (!s.act(tav::windowNamed(s.from)))
            return false;
        bench::untilRepainted();
        // A page that was on screen before (the start page) needs no repaint.
        return tav::windowNamed(s.to).visible() && (s.to == QLatin1String("Indice") || watch.painted());
    };
    for (auto _ : state) {
        bool ok = true;
        for (size_t k = 0; k < switches.size() && ok; ++k) {
            if (k == timed) {
                ok = make(switches[k]);
            } else {
                state.PauseTiming();
                ok = make(switches[k]);
                state.ResumeTiming();
            }
        }
        if (!ok) {
            state.SkipWithError("page not shown and painted");
            break;
        }
    }
    tav::resetProgram();
}

} // namespace

// Next from topic 3 to topic 4 (0) and Back again (1).
static void BM_BackAndNext(benchmark::State& state)
{
    run(state, QStringLiteral("Form3"), [] { tav::windowNamed(QStringLiteral("Form3")).show(); },
        {button("Form3", "Image1", "Form4"), button("Form4", "Image2", "Form3")});
}
BENCHMARK(BM_BackAndNext)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// "Last Form" on topic 13 back to its graph page (0), and Back from the
// graph page to topic 13 (1), which makes the graph page the last form again.
static void BM_LastFormToggle(benchmark::State& state)
{
    run(state, QStringLiteral("Form12"),
        [] {
            tav::Form& a = tav::windowNamed(QStringLiteral("Form12"));
            a.show();
            tav::navigate(a, tav::NavCommand::Next);
            bench::untilRepainted();
            tav::navigate(tav::windowNamed(QStringLiteral("FGrafico12")), tav::NavCommand::Back);
        },
        {item("Form12", 0, "FGrafico12"), button("FGrafico12", "Image4", "Form12")});
}
BENCHMARK(BM_LastFormToggle)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Index from topic 6 to the start page (0), and its link back to topic 6 (1).
static void BM_IndexAndLink(benchmark::State& state)
{
    run(state, QStringLiteral("Form6"), [] { tav::windowNamed(QStringLiteral("Form6")).show(); },
        {button("Form6", "Image6", "Indice"),
         {QStringLiteral("Indice"),
          [](tav::Form& f) {
              auto* link = f.findCtl<tav::Label>(tav::arrayName(QStringLiteral("Label3"), 5));
              if (!link)
                  return false;
              QTest::mouseClick(link, Qt::LeftButton, Qt::NoModifier, link->rect().center());
              return true;
          },
          QStringLiteral("Form6")}});
}
BENCHMARK(BM_IndexAndLink)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The topic menu from topic 1 to topic 11 (0) and from there to topic 1 (1).
static void BM_TopicMenu(benchmark::State& state)
{
    run(state, QStringLiteral("Form1"), [] { tav::windowNamed(QStringLiteral("Form1")).show(); },
        {item("Form1", 11, "Form10a"), item("Form10a", 1, "Form1")});
}
BENCHMARK(BM_TopicMenu)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
