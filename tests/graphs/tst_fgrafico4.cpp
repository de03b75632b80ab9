// Graphic 4 as the user sees it: five curves at load, one curve for a typed
// consignment size, the comment, the failures in the error box and the
// checks on leaving a box.

#include "common/messages.h"
#include "common/tabelaimp.h"
#include "common/yields.h"
#include "graphs/fgrafico4.h"
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
#include <QTimer>

using namespace tav;
using namespace tav::test;

namespace {

FGrafico4& page() { return formRef<FGrafico4>(); }

QString comment() { return page().ctl<Label>(QStringLiteral("Label4"))->text(); }

const QString kStart = QStringLiteral("If the pest has 50% chance to get to the host (p1) and 50% chance to encounter "
                                      "favourable conditions (p2), and the consignment size is ");

} // namespace

class TestFGrafico4 : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void loadDrawsFiveCurves();
    void oneConsignment_data();
    void oneConsignment();
    void commentPoint_data();
    void commentPoint();
    void failures_data();
    void failures();
    void checksOnLeavingABox_data();
    void checksOnLeavingABox();
    void clicksWhilePlotting();
    void unloadWhilePlotting();
};

void TestFGrafico4::loadDrawsFiveCurves()
{
    ProgramFixture f;
    page().show();
    QCOMPARE(f.msgs.count(), 0);
    Grid* g = page().grid1();
    Chart* c = page().graph1();
    QCOMPARE(g->rows(), 53);
    QCOMPARE(rowOf(g, 0), QStringList({"Conf.Lev.", "Consig.= 100 Units", "Consig.= 500 Units",
                                       "Consig.= 1000 Units", "Consig.= 2000 Units", "Consig.= 5000 Units"}));
    QCOMPARE(rowOf(g, 1), QStringList({"0.8000", "33", "166", "331", "663", "1656"}));
    QCOMPARE(rowOf(g, 51), QStringList({"0.9999", "90", "450", "900", "1800", "4500"}));
    QCOMPARE(rowOf(g, 52), QStringList({"", "", "", "", "", ""}));
    QCOMPARE(c->numSets(), 5);
    QCOMPARE(c->numPoints(), 51);
    c->setThisSet(5);
    QCOMPARE(c->colorData(), 12);
    QCOMPARE(chartColor(12), QColor(Qt::red));
    QCOMPARE(c->graphTitle(), QStringLiteral("Necessary sample size to avoid establishment  (p1 = 0.5, p2 = 0.5)"));
    QCOMPARE(comment(), kStart + "5,000 units for example (red line), then you will have to sample 2,409 units of "
                                 "each consignment to be 92.79% sure to avoid the establishment.");
    const TabelaImp& t = tabelaimp();
    QCOMPARE(t.implinhas, 51);
    QCOMPARE(t.impcolunas, 5);
    QCOMPARE(t.impsubtitulo, QStringLiteral("Consignment size (units)"));
    QCOMPARE(t.improtulo(0), QStringLiteral("Conf.Lev."));
    QCOMPARE(t.impcelula(5, 0).toDouble(), 5000.0);
    QCOMPARE(t.impcelula(1, 1).toString(), QStringLiteral("33"));
    QCOMPARE(t.improtulo(51), QStringLiteral("0.9999"));
    QCOMPARE(t.imptitulo, c->graphTitle());
}

void TestFGrafico4::oneConsignment_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("sets");
    QTest::addColumn<QString>("legend");
    QTest::addColumn<QString>("commentEnd");
    QTest::newRow("1000") << "1000" << 1 << "Consig.= 1000 Units"
                          << "1,000 units, then you will have to sample 482 units of each consignment to be 92.79% "
                             "sure to avoid the establishment.";
    // Not a number: the five curves.
    QTest::newRow("abc") << "abc" << 5 << "Consig.= 100 Units"
                         << "then you will have to sample 2,409 units of each consignment to be 92.79% sure to "
                            "avoid the establishment.";
    // A grouped number in the locale is read whole.
    QTest::newRow("1,000") << "1,000" << 1 << "Consig.= 1000 Units"
                           << "1,000 units, then you will have to sample 482 units of each consignment to be 92.79% "
                              "sure to avoid the establishment.";
}

void TestFGrafico4::oneConsignment()
{
    QFETCH(QString, size);
    QFETCH(int, sets);
    QFETCH(QString, legend);
    QFETCH(QString, commentEnd);
    ProgramFixture f;
    page().show();
    page().text2(2)->setText(size);
    page().calcula_Click(1);
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(page().graph1()->numSets(), sets);
    QCOMPARE(page().grid1()->cols(), sets + 1);
    QCOMPARE(rowOf(page().grid1(), 0).at(1), legend);
    QCOMPARE(tabelaimp().impcolunas, sets);
    QVERIFY2(comment().endsWith(commentEnd), qPrintable(comment()));
    if (sets == 1)
        QCOMPARE(tabelaimp().impcelula(1, 0).toDouble(), 1000.0);
}

void TestFGrafico4::commentPoint_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<int>("points");
    QTest::addColumn<QString>("percentage");
    QTest::newRow("10") << "10" << 11 << "90.00% sure"; // point 6, x 0.89995
    QTest::newRow("100") << "100" << 101 << "92.99% sure"; // point 66, x 0.929935
}

void TestFGrafico4::commentPoint()
{
    QFETCH(QString, combo);
    QFETCH(int, points);
    QFETCH(QString, percentage);
    ProgramFixture f;
    page().show();
    page().combo1()->setText(combo);
    page().calcula_Click(0);
    QCOMPARE(page().graph1()->numPoints(), points);
    QVERIFY2(comment().contains(percentage), qPrintable(comment()));
}

void TestFGrafico4::failures_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("boxes"); // answering Abort, or Ignore for the comment
    QTest::newRow("no points") << "Combo1" << "0" << "Division by zero" << 1;
    QTest::newRow("X min = X max") << "Text1_0" << "0.9999" << "Invalid procedure call or argument" << 1;
    // The curves come from the leading number; the comment needs a number.
    QTest::newRow("P1 0.5x") << "Text2_0" << "0.5x" << "Type mismatch" << 1;
}

void TestFGrafico4::failures()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, description);
    QFETCH(int, boxes);
    ProgramFixture f;
    page().show();
    const QString before = comment();
    setInput(page(), box, text);
    f.msgs.answer(IdAbort);
    page().calcula_Click(0);
    QCOMPARE(f.msgs.count(), boxes);
    QCOMPARE(f.msgs.last().title, QStringLiteral("Error Graphic 4"));
    QCOMPARE(f.msgs.last().text, description + QChar(13) + QStringLiteral("Try again with new inputs"));
    QCOMPARE(comment(), before);
}

void TestFGrafico4::checksOnLeavingABox_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("warnings");
    QTest::newRow("X min 1") << "Text1_0" << "1"
                             << QStringList({"This value shall be between 0 and 1", "X max shall be greater then X min"});
    QTest::newRow("Y max 0") << "Text1_3" << "0" << QStringList({"Y max shall be greater then Y min"});
    QTest::newRow("P2 1") << "Text2_1" << "1" << QStringList({"P2 shall be between 0 and 1"});
    QTest::newRow("size 1000") << "Text2_2" << "1000" << QStringList();
}

void TestFGrafico4::checksOnLeavingABox()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QStringList, warnings);
    ProgramFixture f;
    page().show();
    QVERIFY(QTest::qWaitForWindowActive(page().widget()));
    auto* edit = page().ctl<QLineEdit>(box);
    typeAndLeave(edit, text, page().text2(0) == edit ? page().text2(1) : page().text2(0));
    QTRY_COMPARE(f.msgs.count(), int(warnings.size()));
    // No further box comes.
    settle();
    QStringList got;
    for (const auto& b : f.msgs.boxes)
        got << b.text;
    QCOMPARE(got, warnings);
    QCOMPARE(edit->text(), text);
}

// Five curves of about 500 points.
void setLongComputation()
{
    page().combo1()->setText(QStringLiteral("497"));
    page().text1(0)->setText(QStringLiteral("0.1"));
    page().text1(1)->setText(QStringLiteral("0.9"));
}

// The compute and defaults pictures pressed while the curves are drawn do
// not start again over the half-written arrays and print table.
void TestFGrafico4::clicksWhilePlotting()
{
    ProgramFixture f;
    page().show();
    setLongComputation();
    // A yield at every point, whatever the machine's speed.
    const ScopedYieldPace pace(YieldPace::atEvery(1));
    int fired = 0;
    QTimer press;
    press.setInterval(0);
    connect(&press, &QTimer::timeout, [&] {
        ++fired;
        page().calcula_Click(1);
        page().Image1_Click();
    });
    press.start();
    const quint64 before = yieldsMade();
    page().calcula_Click(0);
    press.stop();
    QCOMPARE(yieldsMade() - before, quint64(5 * 499));
    QVERIFY(fired > 0);
    QCOMPARE(f.msgs.count(), 0);
    // 500 computed, the last one beyond X max not shown.
    QCOMPARE(page().graph1()->numPoints(), 499);
    QCOMPARE(tabelaimp().implinhas, 499);
    QCOMPARE(page().text1(0)->text(), QStringLiteral("0.1"));
    QCOMPARE(rowOf(page().grid1(), 499).at(0), QStringLiteral("0.9016"));
}

// Leaving the page while it plots ends the computation quietly at that
// point; the next visit starts afresh.
void TestFGrafico4::unloadWhilePlotting()
{
    ProgramFixture f;
    page().show();
    setLongComputation();
    const ScopedYieldPace pace(YieldPace::atEvery(3));
    QTimer::singleShot(0, [] { page().unload(); });
    const quint64 before = yieldsMade();
    page().calcula_Click(0);
    QVERIFY(!page().isLoaded());
    // The first yield, at the third point, let the unload in; none followed.
    QCOMPARE(yieldsMade() - before, quint64(1));
    QCOMPARE(f.msgs.count(), 0);
    page().show();
    QCOMPARE(page().graph1()->numPoints(), 51);
    QCOMPARE(f.msgs.count(), 0);
}

TAV_TEST_MAIN(TestFGrafico4)
#include "tst_fgrafico4.moc"
