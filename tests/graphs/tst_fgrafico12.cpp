// Graphic 12 as the user sees it: the two charts and the table computed at
// load, the comment chosen by the curve's shape, the view switch of both
// charts, the failures in the error box and the checks on leaving a box.

#include "common/messages.h"
#include "common/tabelaimp.h"
#include "graphs/fgrafico12.h"
#include "platform/chart.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "graphtestkit.h"
#include "testkit.h"
#include "testmain.h"

#include <QAction>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

using namespace tav;
using namespace tav::test;

namespace {

FGrafico12& page() { return formRef<FGrafico12>(); }

QString comment() { return page().ctl<Label>(QStringLiteral("Label3"))->text(); }

} // namespace

class TestFGrafico12 : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void loadComputesTheDefaults();
    void shapeOfTheCurve_data();
    void shapeOfTheCurve();
    void lagHeldToTheAxis();
    void viewSwitchMovesBothCharts();
    void noPoints();
    void failures_data();
    void failures();
    void checksOnLeavingABox_data();
    void checksOnLeavingABox();
};

void TestFGrafico12::loadComputesTheDefaults()
{
    ProgramFixture f;
    page().show();
    QCOMPARE(f.msgs.count(), 0);
    Grid* g = page().grid1();
    Chart* c1 = page().graph1();
    Chart* c2 = page().graph2();
    QCOMPARE(g->rows(), 102);
    QVERIFY(qAbs(g->widthTwips() - 5600) < 15); // whole pixels
    QCOMPARE(rowOf(g, 0), QStringList({"Efficacy", "Years between introd.", "Refused consig. %"}));
    QCOMPARE(rowOf(g, 1), QStringList({"0.100000", "20", "99.89"}));
    QCOMPARE(rowOf(g, 101), QStringList({"0.999900", "208", "0.08"}));
    QCOMPARE(c1->numPoints(), 101);
    QCOMPARE(c2->numPoints(), 101);
    QCOMPARE(c1->graphType(), 7);
    QCOMPARE(c2->graphType(), 6);
    QCOMPARE(c2->yAxisMax(), 100.0);
    c1->setThisPoint(101);
    c2->setThisPoint(101);
    QCOMPARE(c1->labelText(), QStringLiteral("0.9999"));
    QCOMPARE(c2->labelText(), QStringLiteral("0.9999"));
    QCOMPARE(c2->bottomTitle(), QStringLiteral("Measure efficacy"));
    QCOMPARE(c2->graphTitle(), QStringLiteral("Efficacy and refused consignaments"));
    QVERIFY(comment().contains(QStringLiteral("(efficay around 86.94% in this case)")));
    const TabelaImp& t = tabelaimp();
    QCOMPARE(t.implinhas, 101);
    QCOMPARE(t.impcolunas, 2);
    QCOMPARE(t.improtulo(0), QStringLiteral("Effic."));
    QCOMPARE(t.impcelula(1, 0).toString(), QStringLiteral("Years"));
    QCOMPARE(t.impcelula(2, 101).toString(), QStringLiteral("0.08"));
    QCOMPARE(t.imptitulo, QStringLiteral("Efficacy and years between introductions"));
    QVERIFY(c1->isVisible());
    QVERIFY(c2->isVisible());
    QVERIFY(!g->isVisible());
}

void TestFGrafico12::shapeOfTheCurve_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("only rises") << "Text1_0" << "0.95" << "can goes from 0.45% up to 31.35%.";
    QTest::newRow("only falls") << "Text1_1" << "0.5" << "(X scale = 0.5) is not enought";
}

void TestFGrafico12::shapeOfTheCurve()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    ProgramFixture f;
    page().show();
    page().ctl<QLineEdit>(box)->setText(text);
    page().calcula_Click(2);
    QCOMPARE(f.msgs.count(), 0);
    QVERIFY2(comment().contains(expected), qPrintable(comment()));
}

void TestFGrafico12::lagHeldToTheAxis()
{
    ProgramFixture f;
    page().show();
    page().text1(3)->setText(QStringLiteral("100"));
    page().calcula_Click(0);
    QCOMPARE(rowOf(page().grid1(), 101).at(1), QStringLiteral("100"));
    QCOMPARE(tabelaimp().impcelula(1, 101).toString(), QStringLiteral("100"));
    page().graph1()->setThisPoint(101);
    QCOMPARE(page().graph1()->graphData(), 100.0);
    QVERIFY(comment().startsWith(QStringLiteral("This data generated a very intrusting graph.")));
}

void TestFGrafico12::viewSwitchMovesBothCharts()
{
    ProgramFixture f;
    page().show();
    page().Image10_Click();
    QVERIFY(!page().graph1()->isVisible());
    QVERIFY(!page().graph2()->isVisible());
    QVERIFY(page().grid1()->isVisible());
    QVERIFY(!page().ctl(QStringLiteral("Image10"))->isEnabled());
    tav::test::trigger(page().widget()->findChild<QAction*>(QStringLiteral("menuViewGraph")));
    QVERIFY(page().graph1()->isVisible());
    QVERIFY(page().graph2()->isVisible());
    QVERIFY(!page().grid1()->isVisible());
    tav::test::trigger(page().widget()->findChild<QAction*>(QStringLiteral("meniViewTable")));
    QVERIFY(page().grid1()->isVisible());
    QVERIFY(!page().graph2()->isVisible());
    // A computation keeps the view.
    page().calcula_Click(1);
    QVERIFY(page().grid1()->isVisible());
    QVERIFY(!page().graph2()->isVisible());
}

// A negative count over a rising range leads away from X max: the sweep
// does not start, one box, and the page keeps its points and comment.
void TestFGrafico12::noPoints()
{
    ProgramFixture f;
    page().show();
    const QString before = comment();
    const int points = tabelaimp().implinhas;
    page().combo1()->setText(QStringLiteral("-10"));
    f.msgs.answer(IdIgnore);
    page().calcula_Click(0);
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().text.section(QChar(13), 0, 0), QStringLiteral("Invalid procedure call or argument"));
    QCOMPARE(tabelaimp().implinhas, points);
    QCOMPARE(page().graph1()->numPoints(), points);
    QCOMPARE(comment(), before);
}

void TestFGrafico12::failures_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("description");
    QTest::newRow("consignment 0") << "Text2_0" << "0" << "Division by zero";
    QTest::newRow("prevalence 0") << "Text2_1" << "0" << "Division by zero";
    QTest::newRow("sample above size") << "Text2_4" << "5000" << "Invalid procedure call or argument";
    QTest::newRow("equal bounds") << "Text1_1" << "0.1" << "Invalid procedure call or argument";
    QTest::newRow("no points") << "Combo1" << "0" << "Division by zero";
}

void TestFGrafico12::failures()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, description);
    ProgramFixture f;
    page().show();
    const QString before = comment();
    setInput(page(), box, text); // Combo1 also sizes the grid to the count
    const int rows = page().grid1()->rows();
    const QStringList row = rows > 1 ? rowOf(page().grid1(), 1) : QStringList();
    f.msgs.answer(IdAbort);
    page().calcula_Click(0);
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().title, QStringLiteral("Error Graphic12(calc)"));
    QCOMPARE(f.msgs.last().text,
             description + QChar(13) + QStringLiteral("Unexpected error. Try again with new inputs"));
    QCOMPARE(comment(), before);
    QCOMPARE(page().grid1()->rows(), rows);
    if (rows > 1)
        QCOMPARE(rowOf(page().grid1(), 1), row);
    // Ignore ends the computation too, with what the points gave.
    f.msgs.answer(IdIgnore);
    page().calcula_Click(0);
    QVERIFY(f.msgs.count() >= 2);
}

void TestFGrafico12::checksOnLeavingABox_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("after");
    QTest::newRow("Y min 0") << "Text1_2" << "0" << "Logaritm scale. This number shall be > 0" << "0";
    QTest::newRow("X max 1") << "Text1_1" << "1" << "Not allowed efficay >= 1" << "1";
    QTest::newRow("Y max 1000000") << "Text1_3" << "1000000" << "" << "1000000";
    QTest::newRow("P1 1") << "Text2_2" << "1" << "Please, enter a number >= 0 and <=1" << "1";
    QTest::newRow("sample 4000") << "Text2_4" << "4000" << "Sample size shall be less then the consignment size"
                                 << "4000";
    QTest::newRow("refusal max emptied") << "Text3_1" << "" << "" << "1";
    QTest::newRow("refusal min emptied") << "Text3_0" << "" << "" << "0";
}

void TestFGrafico12::checksOnLeavingABox()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, warning);
    QFETCH(QString, after);
    ProgramFixture f;
    page().show();
    QVERIFY(QTest::qWaitForWindowActive(page().widget()));
    auto* edit = page().ctl<QLineEdit>(box);
    typeAndLeave(edit, text, page().text2(0) == edit ? page().text2(1) : page().text2(0));
    QTRY_COMPARE(f.msgs.count(), warning.isEmpty() ? 0 : 1);
    QTRY_COMPARE(edit->text(), after);
    // No further box comes.
    settle();
    QCOMPARE(f.msgs.count(), warning.isEmpty() ? 0 : 1);
    if (!warning.isEmpty())
        QCOMPARE(f.msgs.last().text, warning);
}

TAV_TEST_MAIN(TestFGrafico12)
#include "tst_fgrafico12.moc"
