// Every graph page shows one computation whole: the chart, the table and
// the print table hold the points of the last computation that ended and
// nothing else, also after an Abort, while the page yields, and when the
// point count changes during a computation. Sweeps that cannot advance and
// results that are not finite end in one error box.

#include "common/messages.h"
#include "common/tabelaimp.h"
#include "common/yields.h"
#include "graphs/graphpages.h"
#include "graphs/pointsweep.h"
#include "platform/chart.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "shell/topics.h"
#include "graphtestkit.h"
#include "testkit.h"
#include "testmain.h"

#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <QTimer>

using namespace tav;
using namespace tav::test;

namespace {

// Box texts as "Box=text" entries, "Combo1" the point count.
using Inputs = QStringList;

GraphPage& page(const QString& name)
{
    auto& g = static_cast<GraphPage&>(windowNamed(name));
    g.show();
    return g;
}

void enter(GraphPage& g, const Inputs& inputs)
{
    for (const QString& entry : inputs) {
        const int eq = int(entry.indexOf(QLatin1Char('=')));
        setInput(g, entry.left(eq), entry.mid(eq + 1));
    }
}

QString commentOf(GraphPage& g)
{
    for (const char* name : {"Label4", "Label3"})
        if (auto* l = g.widget()->findChild<Label*>(QString::fromLatin1(name)))
            return l->text();
    return {};
}

} // namespace

class TestGraphCommit : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void wideNarrowAborted_data();
    void wideNarrowAborted();
    void staleRowsCleared_data();
    void staleRowsCleared();
    void tableWholeDuringYields_data();
    void tableWholeDuringYields();
    void pointCountDuringComputation_data();
    void pointCountDuringComputation();
    void commentPointFromPointsComputed_data();
    void commentPointFromPointsComputed();
    void sweepThatCannotAdvance_data();
    void sweepThatCannotAdvance();
    void resultNotFinite_data();
    void resultNotFinite();
};

void TestGraphCommit::wideNarrowAborted_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<Inputs>("wide");
    QTest::addColumn<Inputs>("narrow");
    QTest::addColumn<Inputs>("failing");
    QTest::newRow("1") << "FGrafico1" << Inputs{"Combo1=100"} << Inputs{"Text1_1=0.005", "Combo1=20"}
                       << Inputs{"Combo1=200"};
    QTest::newRow("2") << "FGrafico2" << Inputs{"Combo1=100"} << Inputs{"Text1_1=1000", "Combo1=20"}
                       << Inputs{"Combo1=600"};
    QTest::newRow("3") << "FGrafico3" << Inputs{"Text1_1=20000", "Combo1=100"}
                       << Inputs{"Text1_1=1000", "Combo1=20"} << Inputs{"Combo1=600"};
    QTest::newRow("4") << "FGrafico4" << Inputs{"Text1_0=0.1", "Text1_1=0.9", "Combo1=100"}
                       << Inputs{"Text1_0=0.8", "Text1_1=0.85", "Combo1=20"} << Inputs{"Combo1=600"};
    QTest::newRow("5") << "FGrafico5" << Inputs{"Combo1=190"} << Inputs{"Combo1=30"} << Inputs{"Combo1=600"};
    QTest::newRow("6") << "FGrafico6" << Inputs{"Combo1=100"}
                       << Inputs{"Text1_0=0.001", "Text1_1=0.0015", "Combo1=20"} << Inputs{"Text1_0=1e-310"};
    QTest::newRow("12") << "FGrafico12" << Inputs{"Combo1=300"}
                        << Inputs{"Text1_0=0.5", "Text1_1=0.6", "Combo1=20"} << Inputs{"Combo1=600"};
}

// A wide range, then a narrow one, then one that fails and is aborted:
// after each the three views agree, and the aborted one leaves the narrow
// computation as it was.
void TestGraphCommit::wideNarrowAborted()
{
    QFETCH(QString, window);
    QFETCH(Inputs, wide);
    QFETCH(Inputs, narrow);
    QFETCH(Inputs, failing);
    ProgramFixture fx;
    GraphPage& g = page(window);

    enter(g, wide);
    g.calcula_Click(0);
    QCOMPARE(fx.msgs.count(), 0);
    const int widePoints = g.graph1()->numPoints();
    QVERIFY2(disagreement(g).isEmpty(), qPrintable(disagreement(g)));

    enter(g, narrow);
    g.calcula_Click(0);
    QCOMPARE(fx.msgs.count(), 0);
    QVERIFY(g.graph1()->numPoints() < widePoints);
    QVERIFY2(disagreement(g).isEmpty(), qPrintable(disagreement(g)));
    const Shown before = shownOf(g);
    const QString comment = commentOf(g);

    enter(g, failing);
    fx.msgs.answer(IdAbort);
    g.calcula_Click(0);
    QCOMPARE(fx.msgs.count(), 1);
    QVERIFY2(disagreement(g).isEmpty(), qPrintable(disagreement(g)));
    QVERIFY(shownOf(g) == before);
    QCOMPARE(commentOf(g), comment);
}

void TestGraphCommit::staleRowsCleared_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<Inputs>("first");
    QTest::addColumn<Inputs>("second");
    QTest::addColumn<int>("points");
    QTest::newRow("1: 50 points, then X max 0.018")
        << "FGrafico1" << Inputs{"Combo1=50"} << Inputs{"Text1_1=0.018"} << 51;
    QTest::newRow("2: defaults, then X max 1000") << "FGrafico2" << Inputs{} << Inputs{"Text1_1=1000"} << 60;
    QTest::newRow("3: X max 20000, then 1000")
        << "FGrafico3" << Inputs{"Text1_1=20000"} << Inputs{"Text1_1=1000"} << 60;
    QTest::newRow("4: X max empty, then the defaults")
        << "FGrafico4" << Inputs{"Text1_1="} << Inputs{"Text1_1=0.9999"} << 51;
}

// The rows beyond the points shown hold nothing of an earlier computation,
// in the table nor in the print table.
void TestGraphCommit::staleRowsCleared()
{
    QFETCH(QString, window);
    QFETCH(Inputs, first);
    QFETCH(Inputs, second);
    QFETCH(int, points);
    ProgramFixture fx;
    GraphPage& g = page(window);
    enter(g, first);
    g.calcula_Click(0);
    enter(g, second);
    g.calcula_Click(0);
    QCOMPARE(fx.msgs.count(), 0);
    QCOMPARE(g.graph1()->numPoints(), points);
    QCOMPARE(rowOf(g.grid1(), points + 1).join(QString()), QString());
    QVERIFY2(disagreement(g).isEmpty(), qPrintable(disagreement(g)));
}

void TestGraphCommit::tableWholeDuringYields_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<Inputs>("inputs");
    QTest::newRow("3") << "FGrafico3" << Inputs{"Text1_1=20000", "Combo1=400"};
    QTest::newRow("4") << "FGrafico4" << Inputs{"Text1_0=0.1", "Text1_1=0.9", "Combo1=400"};
    QTest::newRow("6") << "FGrafico6" << Inputs{"Combo1=400"};
}

// While a computation yields, the table and the print table still show the
// previous computation whole.
void TestGraphCommit::tableWholeDuringYields()
{
    QFETCH(QString, window);
    QFETCH(Inputs, inputs);
    ProgramFixture fx;
    GraphPage& g = page(window);
    const Shown before = shownOf(g);
    enter(g, inputs);
    int yields = 0;
    bool whole = true;
    QTimer spy;
    connect(&spy, &QTimer::timeout, &g, [&] {
        if (!g.computing())
            return;
        ++yields;
        const Shown now = shownOf(g, false);
        whole = whole && now.grid == before.grid && now.printLabels == before.printLabels
            && now.printCells == before.printCells;
    });
    spy.start(0);
    {
        // A yield at every point, whatever the machine's speed.
        const ScopedYieldPace pace(YieldPace::atEvery(1));
        g.calcula_Click(0);
    }
    spy.stop();
    QCOMPARE(fx.msgs.count(), 0);
    QVERIFY(yields > 0);
    QVERIFY(whole);
    QVERIFY2(disagreement(g).isEmpty(), qPrintable(disagreement(g)));
}

void TestGraphCommit::pointCountDuringComputation_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("points"); // kept of 600, the arrays' bound ignored
    QTest::newRow("5") << "FGrafico5" << 500;
    QTest::newRow("6") << "FGrafico6" << 500;
    QTest::newRow("12") << "FGrafico12" << 500;
}

// A point count picked while a computation runs (here under its error box)
// takes effect when it ends: the computation goes on with its own count.
void TestGraphCommit::pointCountDuringComputation()
{
    QFETCH(QString, window);
    QFETCH(int, points);
    ProgramFixture fx;
    GraphPage& g = page(window);
    g.combo1()->setText(QStringLiteral("600"));
    bool changed = false;
    fx.msgs.onShow = [&](const ScriptedMessages::Box&) {
        if (changed)
            return;
        changed = true;
        g.combo1()->setText(QStringLiteral("10"));
    };
    for (int i = 0; i < 5; ++i)
        fx.msgs.answer(IdIgnore);
    g.calcula_Click(0);
    fx.msgs.onShow = nullptr;
    QCOMPARE(fx.msgs.count(), 1);
    QCOMPARE(fx.msgs.last().text.section(QChar(13), 0, 0), QStringLiteral("Subscript out of range"));
    QCOMPARE(g.graph1()->numPoints(), points);
    QCOMPARE(tabelaimp().implinhas, points);
    QCOMPARE(rowOf(g.grid1(), 10)[0], tabelaimp().improtulo(10));
    // Then the count picked: the table's rows follow it, as after any pick.
    QCOMPARE(int(g.npontos), 10);
    QCOMPARE(g.grid1()->rows(), 11);
}

void TestGraphCommit::commentPointFromPointsComputed_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("4") << "FGrafico4";
    QTest::newRow("6") << "FGrafico6";
}

// Letters in the point count leave the count of the last computation; the
// comment reads the point of that count, as the defaults did.
void TestGraphCommit::commentPointFromPointsComputed()
{
    QFETCH(QString, window);
    ProgramFixture fx;
    GraphPage& g = page(window);
    const QString comment = commentOf(g);
    const Shown before = shownOf(g);
    g.combo1()->setText(QStringLiteral("abc"));
    g.calcula_Click(0);
    QCOMPARE(fx.msgs.count(), 0);
    QCOMPARE(commentOf(g), comment);
    QVERIFY(shownOf(g) == before);
}

void TestGraphCommit::sweepThatCannotAdvance_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<Inputs>("inputs");
    QTest::addColumn<QString>("description");
    QTest::newRow("4 count 0") << "FGrafico4" << Inputs{"Combo1=0"} << "Division by zero";
    QTest::newRow("4 X min = X max") << "FGrafico4" << Inputs{"Text1_0=0.9", "Text1_1=0.9"}
                                     << "Invalid procedure call or argument";
    QTest::newRow("5 count 0") << "FGrafico5" << Inputs{"Combo1=0"} << "Division by zero";
    QTest::newRow("5 count 0.1") << "FGrafico5" << Inputs{"Combo1=0.1"} << "Division by zero";
    QTest::newRow("5 count 1e-320") << "FGrafico5" << Inputs{"Combo1=1e-320"} << "Division by zero";
    QTest::newRow("5 count -5") << "FGrafico5" << Inputs{"Combo1=-5"} << "Invalid procedure call or argument";
    QTest::newRow("6 count 0") << "FGrafico6" << Inputs{"Combo1=0"} << "Division by zero";
    QTest::newRow("6 X min = X max") << "FGrafico6" << Inputs{"Text1_0=0.001", "Text1_1=0.001"}
                                     << "Invalid procedure call or argument";
    QTest::newRow("6 range not finite") << "FGrafico6" << Inputs{"Text1_0=-1e308", "Text1_1=1e308"}
                                        << "Overflow";
    QTest::newRow("12 count 0") << "FGrafico12" << Inputs{"Combo1=0"} << "Division by zero";
    QTest::newRow("12 X min = X max") << "FGrafico12" << Inputs{"Text1_0=0.5", "Text1_1=0.5"}
                                      << "Invalid procedure call or argument";
    QTest::newRow("12 count -5") << "FGrafico12" << Inputs{"Combo1=-5"} << "Invalid procedure call or argument";
}

// A sweep whose step is zero, of the wrong sign or not finite does not
// start: one box, whatever the answer, and the page keeps what it showed.
void TestGraphCommit::sweepThatCannotAdvance()
{
    QFETCH(QString, window);
    QFETCH(Inputs, inputs);
    QFETCH(QString, description);
    ProgramFixture fx;
    GraphPage& g = page(window);
    const QString comment = commentOf(g);
    // A point count changes the table's rows at once; the computation then
    // changes nothing.
    enter(g, inputs);
    const Shown before = shownOf(g);
    for (int i = 0; i < 20; ++i)
        fx.msgs.answer(IdIgnore);
    const std::vector<double> xs = g.valoresx, ys = g.valoresy;
    g.calcula_Click(0);
    // Not a point computed.
    QVERIFY(g.valoresx == xs && g.valoresy == ys);
    QCOMPARE(fx.msgs.count(), 1);
    QCOMPARE(fx.msgs.last().text.section(QChar(13), 0, 0), description);
    QVERIFY(shownOf(g) == before);
    QCOMPARE(commentOf(g), comment);
}

void TestGraphCommit::resultNotFinite_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<Inputs>("inputs");
    QTest::newRow("4 consignment -1e308") << "FGrafico4" << Inputs{"Text2_2=-1e308"};
    QTest::newRow("4 p1 1e308") << "FGrafico4" << Inputs{"Text2_0=1e308"};
    QTest::newRow("6 p1 1e308") << "FGrafico6" << Inputs{"Text2_2=1e308"};
}

// A result that is not finite is an overflow where it happens; no text of
// the page shows an infinity.
void TestGraphCommit::resultNotFinite()
{
    QFETCH(QString, window);
    QFETCH(Inputs, inputs);
    ProgramFixture fx;
    GraphPage& g = page(window);
    enter(g, inputs);
    for (int i = 0; i < 20; ++i)
        fx.msgs.answer(IdIgnore);
    g.calcula_Click(0);
    QVERIFY(fx.msgs.count() >= 1);
    QCOMPARE(fx.msgs.boxes.first().text.section(QChar(13), 0, 0), QStringLiteral("Overflow"));
    const QString comment = commentOf(g);
    QVERIFY2(!comment.contains(QLatin1String("Infinity")) && !comment.contains(QLatin1String("NaN")),
             qPrintable(comment));
    for (const QStringList& row : shownOf(g).grid)
        QVERIFY2(!row.join(QLatin1Char('|')).contains(QLatin1String("Infinity")), qPrintable(row.join('|')));
}

TAV_TEST_MAIN(TestGraphCommit)
#include "tst_graphcommit.moc"
