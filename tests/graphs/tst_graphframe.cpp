// What the graph windows share: the load state, the chart/table switch, the
// point count, the field checks on leaving a box and the guard of a
// computation that yields.

#include "common/tabelaimp.h"
#include "common/yields.h"
#include "graphs/graphpages.h"
#include "platform/chart.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "shell/indice.h"
#include "shell/topics.h"
#include "testkit.h"
#include "testmain.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

using namespace tav;

namespace {

GraphPage& page(const QString& name) { return static_cast<GraphPage&>(windowNamed(name)); }

qint64 face(int i) { return indice().ctl<PictureBox>(QStringLiteral("Picture3"), i)->picture().cacheKey(); }

struct Switch {
    bool graphShown, gridShown, image9Enabled, image10Enabled;
    qint64 image9, image10;
};

Switch state(GraphPage& g)
{
    return {g.graph1()->isVisibleTo(g.widget()), g.grid1()->isVisibleTo(g.widget()),
            g.ctl(QStringLiteral("Image9"))->isEnabled(), g.ctl(QStringLiteral("Image10"))->isEnabled(),
            g.ctl<ImageButton>(QStringLiteral("Image9"))->picture().cacheKey(),
            g.ctl<ImageButton>(QStringLiteral("Image10"))->picture().cacheKey()};
}

void compareState(const Switch& a, const Switch& b)
{
    QCOMPARE(a.graphShown, b.graphShown);
    QCOMPARE(a.gridShown, b.gridShown);
    QCOMPARE(a.image9Enabled, b.image9Enabled);
    QCOMPARE(a.image10Enabled, b.image10Enabled);
    QCOMPARE(a.image9, b.image9);
    QCOMPARE(a.image10, b.image10);
}

QAction* viewItem(GraphPage& g, int item)
{
    QMenu* view = g.ctl<QMenu>(g.spec().viewMenu);
    return view->actions().value(item);
}

} // namespace

class TestGraphFrame : public QObject {
    Q_OBJECT
private slots:
    void loadState_data();
    void loadState();
    void viewSwitch_data();
    void viewSwitch();
    void pointCount_data();
    void pointCount();
    void freshAtEveryVisit();
    void checkOnLeavingBox();
    void clickDuringYieldIsIgnored();
    void leavingDuringYieldStops();
};

void TestGraphFrame::loadState_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("npontos");
    QTest::addColumn<QString>("caption");
    QTest::newRow("1") << "FGrafico1" << 20 << "Graphic 1";
    QTest::newRow("2") << "FGrafico2" << 60 << "Graphic 2";
    QTest::newRow("3") << "FGrafico3" << 60 << "Graphic 3";
}

void TestGraphFrame::loadState()
{
    QFETCH(QString, window);
    QFETCH(int, npontos);
    QFETCH(QString, caption);
    test::ProgramFixture fx;
    GraphPage& g = page(window);
    g.show();
    QCOMPARE(fx.msgs.count(), 0);
    QCOMPARE(g.widget()->windowTitle(), caption);
    compareState(state(g), {true, false, false, true, face(1), face(2)});
    QCOMPARE(int(g.npontos), npontos);
    QCOMPARE(g.combo1()->text(), QString::number(npontos));
    QStringList list;
    for (int i = 0; i < g.combo1()->listCount(); ++i)
        list << g.combo1()->list(i);
    QCOMPARE(list, QStringList({"10", "20", "30", "40", "50", "60", "70", "80", "90", "100"}));
    // The load computed: the print table holds this page's chart.
    QCOMPARE(tabelaimp().imptitulo, g.graph1()->graphTitle());
    QCOMPARE(tabelaimp().implinhas, g.graph1()->numPoints());
    QVERIFY(tabelaimp().implinhas > 0);
    QCOMPARE(g.grid1()->fixedRows(), 1);
    QCOMPARE(g.grid1()->fixedCols(), 1);
    QCOMPARE(g.grid1()->fixedAlignment(0), 2);
    for (int c = 1; c < g.grid1()->cols(); ++c)
        QCOMPARE(g.grid1()->colAlignment(c), 2);
    QCOMPARE(g.grid1()->colWidth(0), 1140);
}

void TestGraphFrame::viewSwitch_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("viewMenu");
    QTest::addColumn<QStringList>("items");
    QTest::newRow("1") << "FGrafico1" << "menuView" << QStringList{"menuViewGraph=Graph", "menuViewTable=Table"};
    QTest::newRow("2") << "FGrafico2" << "meniView" << QStringList{"meniViewGraph=Graph", "menuViewTable=Table"};
    QTest::newRow("3") << "FGrafico3" << "menuView" << QStringList{"menuViewGraph=Graph", "menuViewTable=Table"};
}

void TestGraphFrame::viewSwitch()
{
    QFETCH(QString, window);
    QFETCH(QString, viewMenu);
    QFETCH(QStringList, items);
    test::ProgramFixture fx;
    GraphPage& g = page(window);
    g.show();
    QVERIFY(QTest::qWaitForWindowExposed(g.widget()));
    QMenu* view = g.ctl<QMenu>(viewMenu);
    QCOMPARE(view->title(), QStringLiteral("View"));
    QStringList got;
    for (QAction* a : view->actions())
        got << a->objectName() + QLatin1Char('=') + a->text();
    QCOMPARE(got, items);

    const Switch loaded = state(g);
    const Switch table = {false, true, true, false, face(0), face(3)};
    test::click(g.ctl(QStringLiteral("Image10")));
    compareState(state(g), table);
    // The picture of the view shown is disabled: a click does nothing.
    test::click(g.ctl(QStringLiteral("Image10")));
    compareState(state(g), table);
    // The View items repeat the current view harmlessly.
    test::trigger(viewItem(g, 1));
    compareState(state(g), table);
    test::click(g.ctl(QStringLiteral("Image9")));
    compareState(state(g), loaded);
    test::trigger(viewItem(g, 1));
    compareState(state(g), table);
    test::trigger(viewItem(g, 0));
    compareState(state(g), loaded);
    // A computation leaves the view as it is.
    test::click(g.ctl(QStringLiteral("Image10")));
    test::click(g.ctl(QStringLiteral("calcula"), 0));
    compareState(state(g), table);
    QCOMPARE(fx.msgs.count(), 0);
}

void TestGraphFrame::pointCount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<int>("npontos");
    QTest::newRow("letters typed") << "abc" << true << 60;
    // Every keystroke is a change: "12" counts before the letter comes.
    QTest::newRow("12 and a letter typed") << "12a" << true << 12;
    QTest::newRow("12 and a letter set") << "12a" << false << 60;
    QTest::newRow("emptied") << "" << false << 60;
    QTest::newRow("25.5 to even") << "25.5" << false << 26;
    QTest::newRow("24.5 to even") << "24.5" << true << 24;
    QTest::newRow("beyond 16 bits") << "40000" << false << 60;
    QTest::newRow("negative") << "-3" << false << -3;
}

void TestGraphFrame::pointCount()
{
    QFETCH(QString, text);
    QFETCH(bool, typed);
    QFETCH(int, npontos);
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico2"));
    g.show();
    QCOMPARE(int(g.npontos), 60);
    if (typed)
        test::type(g.combo1()->lineEdit(), text);
    else
        g.combo1()->setText(text);
    QCOMPARE(int(g.npontos), npontos);
    // Nothing is recomputed when the count changes.
    QCOMPARE(g.graph1()->numPoints(), 61);
    // A pick from the list sets it like typing it.
    g.combo1()->setListIndex(2);
    QCOMPARE(g.combo1()->text(), QStringLiteral("30"));
    QCOMPARE(int(g.npontos), 30);
}

void TestGraphFrame::freshAtEveryVisit()
{
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico1"));
    g.show();
    test::type(g.text2(), QStringLiteral("50"));
    test::type(g.combo1()->lineEdit(), QStringLiteral("50"));
    test::click(g.ctl(QStringLiteral("calcula"), 1));
    test::click(g.ctl(QStringLiteral("Image10")));
    QCOMPARE(g.graph1()->numPoints(), 52);
    g.unload();
    QCoreApplication::processEvents();
    g.show();
    QCOMPARE(g.text2()->text(), QStringLiteral("1000"));
    QCOMPARE(int(g.npontos), 20);
    QCOMPARE(g.graph1()->numPoints(), 21);
    compareState(state(g), {true, false, false, true, face(1), face(2)});
}

// Leaving a box for another control runs its check; the focus moves on and
// the text stays as typed.
void TestGraphFrame::checkOnLeavingBox()
{
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico1"));
    g.show();
    g.widget()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(g.widget()));
    test::type(g.text1(1), QStringLiteral("1.5"));
    QCOMPARE(fx.msgs.count(), 0);
    g.text1(0)->setFocus(Qt::TabFocusReason);
    QTRY_COMPARE(fx.msgs.count(), 1);
    QCOMPARE(fx.msgs.last().text, QStringLiteral("This value shall be between 0 and 1"));
    QCOMPARE(fx.msgs.last().title, QStringLiteral("Warning"));
    QCOMPARE(fx.msgs.last().style, 48);
    QCOMPARE(g.text1(1)->text(), QStringLiteral("1.5"));
    QVERIFY(g.text1(0)->hasFocus());
    // Clicking a picture takes no focus and runs no check; the value that
    // failed is used: "x" reads 0 as X min, and RDL 0 divides by zero.
    test::type(g.text1(0), QStringLiteral("x"));
    test::click(g.ctl(QStringLiteral("calcula"), 0));
    QCoreApplication::processEvents();
    QCOMPARE(fx.msgs.count(), 2);
    QCOMPARE(fx.msgs.last().title, QStringLiteral("Error Graphic 1"));
    QVERIFY(fx.msgs.last().text.endsWith(QStringLiteral("\rTry again with new inputs")));
}

// A click handled while graph 3 yields during its plotting does not start a
// second computation over the arrays and the print table of the first.
void TestGraphFrame::clickDuringYieldIsIgnored()
{
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico3"));
    g.show();
    g.combo1()->setText(QStringLiteral("498"));
    // The first yield comes at the tenth point, whatever the machine's speed.
    const ScopedYieldPace pace(YieldPace::atEvery(10));
    const quint64 yields = yieldsMade();
    int nested = 0;
    bool wasComputing = false;
    QTimer::singleShot(0, &g, [&] {
        wasComputing = g.computing();
        g.text1(1)->setText(QStringLiteral("2000"));
        g.calcula_Click(0);
        g.Image1_Click();
        ++nested;
    });
    g.calcula_Click(1);
    QVERIFY(yieldsMade() - yields > 1);
    QCOMPARE(nested, 1);
    QVERIFY(wasComputing);
    QVERIFY(!g.computing());
    // The first computation ran to its end alone: 0 to 1000 as it started.
    QCOMPARE(g.graph1()->numPoints(), 499);
    QCOMPARE(tabelaimp().improtulo(499), test::shown(QStringLiteral("996")));
    QCOMPARE(g.text1(1)->text(), QStringLiteral("2000"));
    // Afterwards a click computes again.
    g.calcula_Click(0);
    QCOMPARE(tabelaimp().improtulo(499), test::shown(QStringLiteral("1,992")));
}

void TestGraphFrame::leavingDuringYieldStops()
{
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico3"));
    g.show();
    tabelaimp().clear();
    g.combo1()->setText(QStringLiteral("498"));
    const ScopedYieldPace pace(YieldPace::atEvery(10));
    const quint64 yields = yieldsMade();
    QTimer::singleShot(0, &g, [&] { g.unload(); });
    g.calcula_Click(1);
    QVERIFY(!g.isLoaded());
    // The first yield let the unload in; no point yielded after it.
    QCOMPARE(yieldsMade() - yields, quint64(1));
    QCOMPARE(fx.msgs.count(), 0);
    // It stopped within the first set: nothing of the headers was written.
    QCOMPARE(tabelaimp().imptitulo, QString());
    // The next visit computes normally.
    g.show();
    QCOMPARE(g.graph1()->numPoints(), 60);
}

TAV_TEST_MAIN(TestGraphFrame)
#include "tst_graphframe.moc"
