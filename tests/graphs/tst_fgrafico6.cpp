// Graphic 6 as the user sees it: the defaults computed at load into the
// chart, the table, the print table and the comment, the point count, the
// failures in the error box and the checks on leaving a box.

#include "common/messages.h"
#include "common/tabelaimp.h"
#include "graphs/fgrafico6.h"
#include "platform/chart.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "graphtestkit.h"
#include "testkit.h"
#include "testmain.h"

#include <QLineEdit>
#include <QLocale>
#include <QTest>

using namespace tav;
using namespace tav::test;

namespace {

FGrafico6& page() { return formRef<FGrafico6>(); }

QString comment() { return page().ctl<Label>(QStringLiteral("Label3"))->text(); }

void compute() { page().calcula_Click(0); }

} // namespace

class TestFGrafico6 : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void loadComputesTheDefaults();
    void typedInputs_data();
    void typedInputs();
    void pointCountSetsTheRows();
    void failures_data();
    void failures();
    void ignoreKeepsThePointsThatFit();
    void checksOnLeavingABox_data();
    void checksOnLeavingABox();
};

// Ignoring the arrays' bound goes on with the 500 points that fit, once.
void TestFGrafico6::ignoreKeepsThePointsThatFit()
{
    ProgramFixture f;
    page().show();
    page().combo1()->setText(QStringLiteral("600"));
    f.msgs.answer(IdIgnore);
    compute();
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(page().graph1()->numPoints(), 500);
    QCOMPARE(page().grid1()->rows(), 501);
    QCOMPARE(tabelaimp().implinhas, 500);
    QVERIFY2(comment().contains(QStringLiteral("for a RDL of 0.00099716833")), qPrintable(comment()));
}

void TestFGrafico6::loadComputesTheDefaults()
{
    ProgramFixture f;
    page().show();
    QCOMPARE(f.msgs.count(), 0);
    Grid* g = page().grid1();
    Chart* c = page().graph1();
    QCOMPARE(page().text1(0)->text(), QStringLiteral("1E-06"));
    QCOMPARE(g->rows(), 52);
    QCOMPARE(g->cols(), 2);
    QCOMPARE(g->widthTwips(), 3600);
    QCOMPARE(cellOf(g, 0, 0), QStringLiteral("RDL"));
    QCOMPARE(cellOf(g, 0, 1), QStringLiteral("Years between introd."));
    QCOMPARE(cellOf(g, 1, 0), QStringLiteral("1.00E-06"));
    QCOMPARE(cellOf(g, 1, 1), QStringLiteral("8333"));
    QCOMPARE(cellOf(g, 25, 0), QStringLiteral("0.000961"));
    QCOMPARE(cellOf(g, 51, 1), QStringLiteral("4"));
    QCOMPARE(c->numPoints(), 51);
    QCOMPARE(c->graphType(), 7);
    QCOMPARE(c->labelEvery(), 10.2);
    QCOMPARE(c->tickEvery(), 10);
    QVERIFY(qAbs(c->yAxisMin() - 0.41667) < 1e-4);
    QVERIFY(qAbs(c->yAxisMax() - 83333.3) < 0.1);
    c->setThisPoint(2);
    QCOMPARE(c->labelText(), QStringLiteral("0.00004"));
    QCOMPARE(c->graphTitle(), QStringLiteral("Required detection level and years between introductions"));
    QCOMPARE(comment(), QStringLiteral("If the pest has 10% chance to get to the host (p1) and 10% chance to find "
                                       "favourable conditions (p2), and if the consignment size is 1,000 units and "
                                       "you import 12 consignment(s) per year, then for a RDL of 0.00096052, you "
                                       "could have  1 establishment each 8.7 year(s)."));
    const TabelaImp& t = tabelaimp();
    QCOMPARE(t.implinhas, 51);
    QCOMPARE(t.impcolunas, 2);
    QCOMPARE(t.imptitulo, QStringLiteral("Required detection level and years between introductions"));
    QCOMPARE(t.impsubtitulo, QStringLiteral("Years between introd."));
    QCOMPARE(t.improtulo(0), QStringLiteral("RDL"));
    QCOMPARE(t.impcelula(1, 0).toString(), QStringLiteral(" "));
    QCOMPARE(t.improtulo(51), QStringLiteral("0.002000"));
    QCOMPARE(t.impcelula(1, 51).toString(), QStringLiteral("4"));
    QVERIFY(c->isVisible());
    QVERIFY(!g->isVisible());
}

void TestFGrafico6::typedInputs_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QStringList>("specs"); // size, imports, P1, P2
    QTest::addColumn<QStringList>("range");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("commentEnd");

    // The point at X max is lost to rounding; the comment reads point 20.
    QTest::newRow("40 points") << "40" << QStringList({"1000", "12", "0.1", "0.1"})
                               << QStringList({"1E-06", "0.002"}) << 40
                               << "RDL of 0.000950525, you could have  1 establishment each 8.8 year(s).";
    QTest::newRow("below a year") << "10" << QStringList({"1000", "1", "0.5", "0.5"}) << QStringList({"0.1", "0.5"})
                                  << 11 << "RDL of 0.26, you could have 65.0 establishments each  year(s).";
}

void TestFGrafico6::typedInputs()
{
    QFETCH(QString, combo);
    QFETCH(QStringList, specs);
    QFETCH(QStringList, range);
    QFETCH(int, points);
    QFETCH(QString, commentEnd);
    ProgramFixture f;
    page().show();
    page().combo1()->setText(combo);
    for (int i = 0; i < 4; ++i)
        page().text2(i)->setText(specs[i]);
    page().text1(0)->setText(range[0]);
    page().text1(1)->setText(range[1]);
    compute();
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(page().graph1()->numPoints(), points);
    QCOMPARE(page().grid1()->rows(), points + 1);
    QCOMPARE(tabelaimp().implinhas, points);
    QVERIFY2(comment().endsWith(commentEnd), qPrintable(comment()));
}

// Choosing a count resizes the table at once; the next computation sizes it
// to the points.
void TestFGrafico6::pointCountSetsTheRows()
{
    ProgramFixture f;
    page().show();
    page().combo1()->setText(QStringLiteral("100"));
    QCOMPARE(page().grid1()->rows(), 101);
    QCOMPARE(page().graph1()->numPoints(), 51);
    compute();
    QCOMPARE(page().grid1()->rows(), 102);
    QCOMPARE(page().graph1()->numPoints(), 101);
}

void TestFGrafico6::failures_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("commentKept");

    QTest::newRow("P1 0") << "Text2_2" << "0" << "Division by zero" << true;
    QTest::newRow("X min 0") << "Text1_0" << "0" << "Division by zero" << true;
    QTest::newRow("too many points") << "Combo1" << "600" << "Subscript out of range" << true;
}

void TestFGrafico6::failures()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, description);
    QFETCH(bool, commentKept);
    ProgramFixture f;
    page().show();
    const QString before = comment();
    setInput(page(), box, text);
    f.msgs.answer(IdAbort);
    compute();
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().title, QStringLiteral("Error Graphic 6"));
    QCOMPARE(f.msgs.last().text, description + QChar(13) + QStringLiteral("Try again with new inputs"));
    QCOMPARE(f.msgs.last().style, MbCritical + MbAbortRetryIgnore);
    if (commentKept)
        QCOMPARE(comment(), before);
}

void TestFGrafico6::checksOnLeavingABox_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning");
    QTest::newRow("P1 1") << "Text2_2" << "1" << "This number shal be between 0 and 1";
    QTest::newRow("imports 0.5") << "Text2_1" << "0.5" << "Please input a number >= 1";
    QTest::newRow("X max 1.5") << "Text1_1" << "1.5" << "Please input a bumber between 0 and 1";
    QTest::newRow("12 and letters") << "Text2_0" << "12abc" << "Please enter a number";
    QTest::newRow("size 2000 passes") << "Text2_0" << "2000" << "";
}

void TestFGrafico6::checksOnLeavingABox()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, warning);
    ProgramFixture f;
    page().show();
    QVERIFY(QTest::qWaitForWindowActive(page().widget()));
    auto* edit = page().ctl<QLineEdit>(box);
    typeAndLeave(edit, text, page().text2(3) == edit ? page().text2(2) : page().text2(3));
    QTRY_COMPARE(f.msgs.count(), warning.isEmpty() ? 0 : 1);
    // No further box comes.
    settle();
    QCOMPARE(f.msgs.count(), warning.isEmpty() ? 0 : 1);
    if (!warning.isEmpty()) {
        QCOMPARE(f.msgs.last().text, warning);
        QCOMPARE(f.msgs.last().title, QStringLiteral("Warning"));
    }
    QCOMPARE(edit->text(), text);
}

TAV_TEST_MAIN(TestFGrafico6)
#include "tst_fgrafico6.moc"
