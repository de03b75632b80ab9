// Graphs 1, 2 and 3 as the user sees them: the defaults, the chart, the
// table, the print table, the comments, the field checks and the error box.

#include "common/readings.h"
#include "common/tabelaimp.h"
#include "graphs/graphpages.h"
#include "platform/chart.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "shell/topics.h"
#include "graphtestkit.h"
#include "testkit.h"
#include "testmain.h"

#include <QLineEdit>
#include <QMenu>
#include <QTest>

using namespace tav;

namespace {

GraphPage& page(const QString& name)
{
    GraphPage& g = static_cast<GraphPage&>(windowNamed(name));
    g.show();
    return g;
}

QString cell(GraphPage& g, int r, int c) { return test::cellOf(g.grid1(), r, c); }
QStringList row(GraphPage& g, int r) { return test::rowOf(g.grid1(), r); }

QStringList legends(Chart* c)
{
    QStringList l;
    for (int s = 1; s <= c->numSets(); ++s) {
        c->setThisSet(s);
        l << c->legendText() + QLatin1Char('/') + QString::number(c->colorData());
    }
    return l;
}

QVariantList printHeaders()
{
    QVariantList l;
    for (int s = 1; s <= tabelaimp().impcolunas; ++s)
        l << tabelaimp().impcelula(s, 0);
    return l;
}

QString comment(GraphPage& g) { return g.label(QStringLiteral("Label4"))->text(); }

const QString kB = QStringLiteral("The data shows that, considering a RDL of 0.01 and a Confidence Level of 0.95");

} // namespace

class TestGraphPages : public QObject {
    Q_OBJECT
private slots:
    void graph1Defaults();
    void graph1Points_data();
    void graph1Points();
    void graph1AxisTop();
    void graph1ConsignmentRounding_data();
    void graph1ConsignmentRounding();
    void graph1ErrorKeepsFileMenuOff();
    void errorBoxAnswers_data();
    void errorBoxAnswers();
    void graph2Defaults();
    void graph2OwnPercentage();
    void graph2Comments_data();
    void graph2Comments();
    void graph3Defaults();
    void graph3Comments_data();
    void graph3Comments();
    void graph3OwnSizeLine();
    void computeErrors_data();
    void computeErrors();
    void checks_data();
    void checks();
};

void TestGraphPages::graph1Defaults()
{
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico1"));
    QCOMPARE(fx.msgs.count(), 0);
    QCOMPARE(g.label(QStringLiteral("Label2"))->text(),
             QStringLiteral("Sample size for different Required Detection Levels (RDL) and Confidence Levels (CL)"));
    QCOMPARE(g.text2()->text(), QStringLiteral("1000"));
    QCOMPARE(leadingValue(g.text1(0)->text()), 0.00001);
    QCOMPARE(g.text1(1)->text(), test::shown(QStringLiteral("0.02")));
    Chart* c = g.graph1();
    QCOMPARE(c->numSets(), 5);
    QCOMPARE(c->numPoints(), 21);
    QCOMPARE(c->graphType(), 6);
    QCOMPARE(c->yAxisMin(), 0.0);
    QCOMPARE(c->yAxisMax(), 1000.0);
    QCOMPARE(c->labelEvery(), 2.1);
    QCOMPARE(c->tickEvery(), 2);
    QCOMPARE(c->graphTitle(), QStringLiteral("Sample size x RDL: Consignment size = 1000"));
    QCOMPARE(c->leftTitle(), QStringLiteral("Sample size"));
    QCOMPARE(c->bottomTitle(), QStringLiteral("Required detection level"));
    QCOMPARE(legends(c), QStringList({"CL: 80%/6", "CL: 90%/9", "CL: 95%/2", "CL: 99%/13", "CL: 99.9%/12"}));
    c->setThisSet(5);
    c->setThisPoint(21);
    QCOMPARE(c->labelText(), test::shown(QStringLiteral("0.0200")));
    QCOMPARE(qRound(c->graphData()), 292);

    QCOMPARE(g.grid1()->rows(), 23);
    QCOMPARE(g.grid1()->cols(), 6);
    QCOMPARE(row(g, 0), QStringList({"RDL", "CL: 80%", "CL: 90%", "CL: 95%", "CL: 99%", "CL: 99.9%"}));
    QCOMPARE(row(g, 1), test::shown(QStringList({"0.0000", "1000", "1000", "1000", "1000", "1000"})));
    QCOMPARE(row(g, 2), test::shown(QStringList({"0.0010", "797", "898", "949", "990", "999"})));
    QCOMPARE(row(g, 21), test::shown(QStringList({"0.0200", "77", "109", "139", "206", "292"})));
    QCOMPARE(row(g, 22), QStringList({"", "", "", "", "", ""}));

    const TabelaImp& t = tabelaimp();
    QCOMPARE(t.imptitulo, c->graphTitle());
    QCOMPARE(t.impsubtitulo, QStringLiteral("Confidence level"));
    QCOMPARE(t.implinhas, 21);
    QCOMPARE(t.impcolunas, 5);
    QCOMPARE(t.improtulo(0), QStringLiteral("RDL"));
    QCOMPARE(printHeaders(), QVariantList({"80%", "90%", "95%", "99%", "99.9%"}));
    QCOMPARE(t.improtulo(21), test::shown(QStringLiteral("0.0200")));
    QCOMPARE(t.impcelula(4, 21).toString(), QStringLiteral("206"));
    QVERIFY(g.ctl<QMenu>(QStringLiteral("menuARchivo"))->isEnabled());
}

void TestGraphPages::graph1Points_data()
{
    QTest::addColumn<QString>("points");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("lastRdl");
    QTest::addColumn<int>("rows");
    QTest::newRow("20") << "20" << 21 << "0.0200" << 23;
    // One step beyond X max, filling every row.
    QTest::newRow("50") << "50" << 52 << "0.0204" << 53;
    QTest::newRow("100") << "100" << 102 << "0.0202" << 103;
    // The most that fits the arrays: 107 + 3 points computed.
    QTest::newRow("107") << "107" << 109 << "0.0202" << 110;
}

void TestGraphPages::graph1Points()
{
    QFETCH(QString, points);
    QFETCH(int, shown);
    QFETCH(QString, lastRdl);
    QFETCH(int, rows);
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico1"));
    g.combo1()->setText(points);
    test::click(g.ctl(QStringLiteral("calcula"), 1));
    QCOMPARE(fx.msgs.count(), 0);
    QCOMPARE(g.graph1()->numPoints(), shown);
    QCOMPARE(g.grid1()->rows(), rows);
    QCOMPARE(cell(g, shown, 0), test::shown(lastRdl));
    QCOMPARE(tabelaimp().implinhas, shown);
    QCOMPARE(tabelaimp().improtulo(shown), test::shown(lastRdl));
}

void TestGraphPages::graph1AxisTop()
{
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico1"));
    g.text1(3)->setText(QStringLiteral("500"));
    test::click(g.ctl(QStringLiteral("calcula"), 0));
    QCOMPARE(g.graph1()->yAxisMax(), 500.0);
    test::click(g.ctl(QStringLiteral("calcula"), 1));
    QCOMPARE(g.graph1()->yAxisMax(), 1000.0);
    QCOMPARE(g.text1(3)->text(), QStringLiteral("500"));
    test::click(g.ctl(QStringLiteral("calcula"), 0));
    test::click(g.ctl(QStringLiteral("Image1")));
    QCOMPARE(g.graph1()->yAxisMax(), 1000.0);
    QCOMPARE(g.text1(3)->text(), QStringLiteral("1000"));
}

void TestGraphPages::graph1ConsignmentRounding_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("title");
    QTest::newRow("10.5 to even") << "10.5" << "Sample size x RDL: Consignment size = 10";
    QTest::newRow("11.5 to even") << "11.5" << "Sample size x RDL: Consignment size = 12";
    QTest::newRow("leading number") << "250 units" << "Sample size x RDL: Consignment size = 250";
}

void TestGraphPages::graph1ConsignmentRounding()
{
    QFETCH(QString, typed);
    QFETCH(QString, title);
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico1"));
    g.text2()->setText(typed);
    test::click(g.ctl(QStringLiteral("calcula"), 1));
    QCOMPARE(g.graph1()->graphTitle(), title);
    QCOMPARE(tabelaimp().imptitulo, title);
}

// Abort in the error box leaves the File menu unavailable until a later
// computation ends.
void TestGraphPages::graph1ErrorKeepsFileMenuOff()
{
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico1"));
    QMenu* file = g.ctl<QMenu>(QStringLiteral("menuARchivo"));
    g.text1(0)->setText(QStringLiteral("0.01"));
    g.text1(1)->setText(QStringLiteral("0.01"));
    fx.msgs.answer(IdAbort);
    test::click(g.ctl(QStringLiteral("calcula"), 0));
    QCOMPARE(fx.msgs.count(), 1);
    QCOMPARE(fx.msgs.last().title, QStringLiteral("Error Graphic 1"));
    QCOMPARE(fx.msgs.last().style, 18);
    QVERIFY(!file->isEnabled());
    // The toolbar stays usable.
    test::click(g.ctl(QStringLiteral("Image10")));
    QVERIFY(g.grid1()->isVisibleTo(g.widget()));
    test::click(g.ctl(QStringLiteral("Image1")));
    QCOMPARE(fx.msgs.count(), 1);
    QVERIFY(file->isEnabled());
}

// Retry runs the failing statement again, Ignore goes on with the next one.
void TestGraphPages::errorBoxAnswers_data()
{
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<bool>("titled");
    QTest::newRow("abort") << QList<int>{IdAbort} << 1 << false;
    QTest::newRow("retry, abort") << QList<int>{IdRetry, IdAbort} << 2 << false;
    // Consignment 0: each set fails, then its empty point count; after
    // Ignore the same two steps fail again for the other sets without a box,
    // and the computation goes on to its titles.
    QTest::newRow("ignore all") << QList<int>{IdIgnore, IdIgnore} << 2 << true;
}

void TestGraphPages::errorBoxAnswers()
{
    QFETCH(QList<int>, answers);
    QFETCH(int, boxes);
    QFETCH(bool, titled);
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico1"));
    g.text2()->setText(QStringLiteral("0"));
    for (int a : answers)
        fx.msgs.answer(a);
    test::click(g.ctl(QStringLiteral("calcula"), 1));
    QCOMPARE(fx.msgs.count(), boxes);
    for (const auto& b : fx.msgs.boxes)
        QCOMPARE(b.title, QStringLiteral("Error Graphic 1"));
    QCOMPARE(g.graph1()->graphTitle() == QStringLiteral("Sample size x RDL: Consignment size = 0"), titled);
    QCOMPARE(g.ctl<QMenu>(QStringLiteral("menuARchivo"))->isEnabled(), titled);
}

void TestGraphPages::graph2Defaults()
{
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico2"));
    QCOMPARE(fx.msgs.count(), 0);
    QCOMPARE(g.text2(0)->text(), test::shown(QStringLiteral("0.01")));
    QCOMPARE(g.text2(1)->text(), QString());
    QCOMPARE(g.text2(2)->text(), test::shown(QStringLiteral("0.95")));
    QCOMPARE(g.text1(1)->text(), QStringLiteral("20000"));
    Chart* c = g.graph1();
    QCOMPARE(c->numSets(), 5);
    QCOMPARE(c->numPoints(), 61);
    QCOMPARE(c->yAxisMax(), 1000.0);
    QCOMPARE(c->graphTitle(), test::shown(QStringLiteral("Percent sampling  (Reference: RDL = 0.01, CL = 0.95)")));
    QCOMPARE(c->bottomTitle(), QStringLiteral("Consignemt size"));
    QCOMPARE(legends(c), QStringList({"Reference/6", "Samp. = 1%/9", "Samp. = 2%/2", "Samp. = 3%/13", "Samp. = 5%/12"}));
    QCOMPARE(g.grid1()->rows(), 63);
    QCOMPARE(g.grid1()->cols(), 6);
    QCOMPARE(row(g, 0), QStringList({"Consig.", "Reference", "Samp. = 1%", "Samp. = 2%", "Samp. = 3%", "Samp. = 5%"}));
    QCOMPARE(row(g, 1), QStringList({"0", "0", "0", "0", "0", "0"}));
    QCOMPARE(row(g, 2), QStringList({"333", "198", "3", "7", "10", "17"}));
    QCOMPARE(cell(g, 61, 0), test::shown(QStringLiteral("19,980")));
    QCOMPARE(row(g, 62), QStringList({"", "", "", "", "", ""}));

    const TabelaImp& t = tabelaimp();
    QCOMPARE(t.impsubtitulo, QStringLiteral("% Sampling"));
    QCOMPARE(t.improtulo(0), QStringLiteral("Consig."));
    QCOMPARE(t.improtulo(61), test::shown(QStringLiteral("19,980")));
    QCOMPARE(t.implinhas, 61);
    QCOMPARE(t.impcolunas, 5);
    QCOMPARE(printHeaders(), QVariantList({"Reference", "1%", "2%", "3%", "5%"}));
    // Value cells are whole numbers, halves away from zero.
    QCOMPARE(t.impcelula(4, 2), QVariant(10.0));
    QCOMPARE(t.impcelula(5, 61), QVariant(999.0));
    // The 3% curve crosses the reference between 9,657 and 9,990.
    QCOMPARE(comment(g), test::shown(kB
                 + ", if, for instance, you sample 3% of the consignment then you will be oversampling in consignments "
                   "grater then 9,990 units. Also your sample size will be less then necessary to detect the specified "
                   "RDL in consignments with less then 9,990 units."));
}

void TestGraphPages::graph2OwnPercentage()
{
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico2"));
    g.text2(1)->setText(test::shown(QStringLiteral("2.5")));
    test::click(g.ctl(QStringLiteral("calcula"), 0));
    QCOMPARE(g.graph1()->numSets(), 2);
    QCOMPARE(g.grid1()->cols(), 3);
    QCOMPARE(row(g, 0), test::shown(QStringList({"Consig.", "Reference", "Samp.= 2.5%"})));
    QCOMPARE(legends(g.graph1()), test::shown(QStringList({"Reference/6", "Samp.= 2.5%/9"})));
    QCOMPARE(tabelaimp().impcolunas, 2);
    QCOMPARE(printHeaders(), QVariantList({"Reference", test::shown(QStringLiteral("2.5%"))}));
    QCOMPARE(comment(g), test::shown(kB
                 + ", and a sample size corresponding to 2.5% of the consignment then you will be oversampling in "
                   "consignments grater then 11,988 units. Also your sample size will be less then necessary to "
                   "detect the specified RDL in consignments with less then 11,988 units."));
    // Back to the four fixed percentages: the table regains its columns.
    g.text2(1)->setText(QStringLiteral("-1"));
    test::click(g.ctl(QStringLiteral("calcula"), 1));
    QCOMPARE(g.graph1()->numSets(), 5);
    QCOMPARE(g.grid1()->cols(), 6);
}

void TestGraphPages::graph2Comments_data()
{
    QTest::addColumn<QString>("percent");
    QTest::addColumn<QString>("points");
    QTest::addColumn<QString>("expected");
    QTest::newRow("high: above only") << "60" << "60"
                                      << kB + ", and a sample size corresponding to 60% of the consignment then you will be "
                                              "always oversampling and your inspectiom costs will be greater then necessary.";
    QTest::newRow("low: below only") << "0.5" << "60"
                                     << kB + ", and a sample size corresponding to 0.5% of the consignment then you will be "
                                             "always sampling using a sample size less then necessary to detect the "
                                             "specified RDL in consignments.";
    QTest::newRow("50 points: advice") << "" << "50"
                                       << "Please increase de number of points for a more realible numbers in the comment.";
    QTest::newRow("combo no number: advice") << "" << "many"
                                             << "Please increase de number of points for a more realible numbers in the "
                                                "comment.";
}

void TestGraphPages::graph2Comments()
{
    QFETCH(QString, percent);
    QFETCH(QString, points);
    QFETCH(QString, expected);
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico2"));
    g.text2(1)->setText(test::shown(percent));
    g.combo1()->setText(points);
    test::click(g.ctl(QStringLiteral("calcula"), 1));
    QCOMPARE(fx.msgs.count(), 0);
    QCOMPARE(comment(g), test::shown(expected));
}

void TestGraphPages::graph3Defaults()
{
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico3"));
    QCOMPARE(fx.msgs.count(), 0);
    QCOMPARE(g.label(QStringLiteral("Label2_3"))->text(), QStringLiteral("Constant size sample"));
    Chart* c = g.graph1();
    QCOMPARE(c->numPoints(), 60);
    QCOMPARE(c->yAxisMax(), 400.0);
    QCOMPARE(c->graphTitle(), test::shown(QStringLiteral("  Constant size sampling (Reference: RDL = 0.01, CL = 0.95)")));
    QCOMPARE(c->bottomTitle(), QStringLiteral("Consignment size"));
    QCOMPARE(legends(c), QStringList({"Ref./6", "Sample= 50 Units/9", "Sample= 100 Units/2", "Sample= 200 Units/13",
                                      "Sample= 300 Units/12"}));
    // The constant lines start at their own height, the reference at 0.
    QCOMPARE(row(g, 1), QStringList({"0", "0", "50", "100", "200", "300"}));
    QCOMPARE(row(g, 0), QStringList({"Consignment", "Ref.", "Sample= 50 Units", "Sample= 100 Units",
                                     "Sample= 200 Units", "Sample= 300 Units"}));
    QCOMPARE(cell(g, 2, 0), QStringLiteral("17"));
    QCOMPARE(cell(g, 60, 0), test::shown(QStringLiteral("1,003")));
    QCOMPARE(g.grid1()->rows(), 63);
    QCOMPARE(row(g, 61), QStringList({"", "", "", "", "", ""}));
    c->setThisSet(2);
    c->setThisPoint(1);
    QCOMPARE(c->graphData(), 50.0);

    const TabelaImp& t = tabelaimp();
    QCOMPARE(t.impsubtitulo, QStringLiteral("Sampling size (units)"));
    QCOMPARE(t.improtulo(0), QStringLiteral("Consig."));
    QCOMPARE(printHeaders(), QVariantList({"Ref.", 50.0, 100.0, 200.0, 300.0}));
    QCOMPARE(t.impcelula(4, 1), QVariant(200.0));
    QCOMPARE(comment(g), test::shown(kB
                 + ", if for example, you sample 200 units then you will be oversampling in consignments with less then "
                   "340 units. Also your sample size will be less then necessary to detect the specified RDL in "
                   "consignments grater then 340 units."));
}

void TestGraphPages::graph3Comments_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("expected");
    const QString own = kB + QStringLiteral(", and a sample size corresponding to ");
    QTest::newRow("100") << "100"
                         << own + "100 units then you will be oversampling in consignments with less then 102 units. Also "
                                  "your sample size will be less then necessary to detect the specified RDL in "
                                  "consignments greater then 102 units.";
    QTest::newRow("300: above only") << "300"
                                     << own + "300 units then you will be always oversampling and your inspectiom "
                                              "costs will be greater then necessary.";
    QTest::newRow("10: only x = 0 below") << "10"
                                          << own + "10 units then you will be always sampling using a sample size less "
                                                   "then necessary to detect the specified RDL in consignments.";
    QTest::newRow("0.4 compares 0") << "0.4"
                                    << own + "0.4 units then you will be always sampling using a sample size less then "
                                             "necessary to detect the specified RDL in consignments.";
}

void TestGraphPages::graph3Comments()
{
    QFETCH(QString, size);
    QFETCH(QString, expected);
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico3"));
    g.text2(1)->setText(test::shown(size));
    test::click(g.ctl(QStringLiteral("calcula"), 0));
    QCOMPARE(fx.msgs.count(), 0);
    QCOMPARE(g.graph1()->numSets(), 2);
    QCOMPARE(comment(g), test::shown(expected));
}

// 75.5: the line and the legend keep it, the comparison takes 76.
void TestGraphPages::graph3OwnSizeLine()
{
    test::ProgramFixture fx;
    GraphPage& g = page(QStringLiteral("FGrafico3"));
    g.text2(1)->setText(test::shown(QStringLiteral("75.5")));
    test::click(g.ctl(QStringLiteral("calcula"), 1));
    Chart* c = g.graph1();
    QCOMPARE(legends(c), test::shown(QStringList({"Ref./6", "Sample= 75.5 Units/9"})));
    c->setThisSet(2);
    c->setThisPoint(30);
    QCOMPARE(c->graphData(), 75.5);
    QCOMPARE(cell(g, 30, 2), QStringLiteral("76"));
    QCOMPARE(tabelaimp().impcelula(2, 0), QVariant(75.5));
    QCOMPARE(tabelaimp().impcelula(2, 30), QVariant(76.0));
    QCOMPARE(g.grid1()->cols(), 3);
    QVERIFY(comment(g).startsWith(test::shown(kB + ", and a sample size corresponding to 75.5 units then you will be oversampling")));
}

void TestGraphPages::computeErrors_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("description");
    QTest::newRow("1: X min 0") << "FGrafico1" << "Text1_0" << "0" << "Error Graphic 1" << "Division by zero";
    QTest::newRow("1: consignment 0") << "FGrafico1" << "Text2" << "0" << "Error Graphic 1" << "Division by zero";
    QTest::newRow("1: X min = X max") << "FGrafico1" << "Text1_0" << "0.02" << "Error Graphic 1"
                                      << "Subscript out of range";
    QTest::newRow("1: no intervals") << "FGrafico1" << "Combo1" << "0" << "Error Graphic 1" << "Division by zero";
    QTest::newRow("1: 108 points") << "FGrafico1" << "Combo1" << "108" << "Error Graphic 1"
                                   << "Subscript out of range";
    QTest::newRow("2: RDL 0") << "FGrafico2" << "Text2_0" << "0" << "Error Graphic 2" << "Division by zero";
    QTest::newRow("2: CL above 1") << "FGrafico2" << "Text2_2" << "1.2" << "Error Graphic 2"
                                   << "Invalid procedure call or argument";
    QTest::newRow("2: X min = X max") << "FGrafico2" << "Text1_0" << "20000" << "Error Graphic 2" << "Overflow";
    QTest::newRow("2: 499 points fit") << "FGrafico2" << "Combo1" << "499" << "" << "";
    QTest::newRow("2: 500 points") << "FGrafico2" << "Combo1" << "500" << "Error Graphic 2"
                                   << "Subscript out of range";
    QTest::newRow("3: RDL 0") << "FGrafico3" << "Text2_0" << "0" << "Error Graphic 3" << "Division by zero";
    QTest::newRow("3: 499 points") << "FGrafico3" << "Combo1" << "499" << "Error Graphic 3"
                                   << "Subscript out of range";
}

void TestGraphPages::computeErrors()
{
    QFETCH(QString, window);
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(QString, description);
    test::ProgramFixture fx;
    GraphPage& g = page(window);
    test::setInput(g, box, text);
    fx.msgs.answer(IdAbort);
    test::click(g.ctl(QStringLiteral("calcula"), 0));
    if (title.isEmpty()) {
        QCOMPARE(fx.msgs.count(), 0);
        return;
    }
    QCOMPARE(fx.msgs.count(), 1);
    QCOMPARE(fx.msgs.last().title, title);
    QCOMPARE(fx.msgs.last().text, description + QStringLiteral("\rTry again with new inputs"));
}

void TestGraphPages::checks_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("texts"); // box=text, set before leaving
    QTest::addColumn<QString>("left");
    QTest::addColumn<QStringList>("warnings");
    const QString num = QStringLiteral("Please enter a number");
    QTest::newRow("1: X max 1.5") << "FGrafico1" << QStringList{"Text1_1=1.5"} << "Text1_1"
                                  << QStringList{"This value shall be between 0 and 1"};
    QTest::newRow("1: Y max 5000") << "FGrafico1" << QStringList{"Text1_3=5000"} << "Text1_3" << QStringList{};
    QTest::newRow("1: Y min above Y max") << "FGrafico1" << QStringList{"Text1_2=2000"} << "Text1_2"
                                          << QStringList{"Y max shall be greater then Y min"};
    QTest::newRow("1: X min above X max, from a Y box") << "FGrafico1" << QStringList{"Text1_0=0.05"} << "Text1_3"
                                                        << QStringList{"X max shall be greater then X min"};
    QTest::newRow("1: 12 and letters") << "FGrafico1" << QStringList{"Text1_3=12ab"} << "Text1_3" << QStringList{num};
    QTest::newRow("1: consignment abc") << "FGrafico1" << QStringList{"Text2=abc"} << "Text2"
                                        << QStringList{num, "This number shall be greater then 1"};
    QTest::newRow("1: consignment 1") << "FGrafico1" << QStringList{"Text2=1"} << "Text2" << QStringList{};
    QTest::newRow("1: consignment 0.5") << "FGrafico1" << QStringList{"Text2=0.5"} << "Text2"
                                        << QStringList{"This number shall be greater then 1"};
    QTest::newRow("2: negative X min") << "FGrafico2" << QStringList{"Text1_0=-5"} << "Text1_0"
                                       << QStringList{"This value shall be positive"};
    QTest::newRow("2: X min = X max") << "FGrafico2" << QStringList{"Text1_0=20000"} << "Text1_0"
                                      << QStringList{"X max shall be greater then X min"};
    QTest::newRow("2: RDL 1") << "FGrafico2" << QStringList{"Text2_0=1"} << "Text2_0"
                              << QStringList{"RDL shall be between 0 and 1"};
    QTest::newRow("2: CL not a number, leaving RDL") << "FGrafico2" << QStringList{"Text2_2=x"} << "Text2_0"
                                                     << QStringList{num};
    QTest::newRow("2: percent empty") << "FGrafico2" << QStringList{"Text2_1="} << "Text2_1" << QStringList{};
    QTest::newRow("2: percent one blank") << "FGrafico2" << QStringList{"Text2_1= "} << "Text2_1" << QStringList{};
    QTest::newRow("2: percent letters") << "FGrafico2" << QStringList{"Text2_1=abc"} << "Text2_1" << QStringList{num};
    QTest::newRow("2: percent 150") << "FGrafico2" << QStringList{"Text2_1=150"} << "Text2_1"
                                    << QStringList{"Percent of samples shall be between 0 and 100"};
    QTest::newRow("2: percent 100") << "FGrafico2" << QStringList{"Text2_1=100"} << "Text2_1" << QStringList{};
    QTest::newRow("2: CL 0") << "FGrafico2" << QStringList{"Text2_2=0"} << "Text2_2"
                             << QStringList{"CL shall be between 0 and 1"};
    QTest::newRow("3: size above X max - 1") << "FGrafico3" << QStringList{"Text2_1=999.5"} << "Text2_1"
                                             << QStringList{"Sample size shall be greter then zero and less then the "
                                                            "maximum consignment size (1000)."};
    QTest::newRow("3: size X max - 1") << "FGrafico3" << QStringList{"Text2_1=999"} << "Text2_1" << QStringList{};
    QTest::newRow("3: size 0") << "FGrafico3" << QStringList{"Text2_1=0"} << "Text2_1"
                               << QStringList{"Sample size shall be greter then zero and less then the maximum "
                                              "consignment size (1000)."};
    QTest::newRow("3: CL 1") << "FGrafico3" << QStringList{"Text2_2=1"} << "Text2_2"
                             << QStringList{"CL shall be between 0 and 1"};
    QTest::newRow("3: Y max below Y min") << "FGrafico3" << QStringList{"Text1_3=-1"} << "Text1_3"
                                          << QStringList{"This value shall be positive"};
}

void TestGraphPages::checks()
{
    QFETCH(QString, window);
    QFETCH(QStringList, texts);
    QFETCH(QString, left);
    QFETCH(QStringList, warnings);
    test::ProgramFixture fx;
    GraphPage& g = page(window);
    for (const QString& t : texts) {
        const int eq = int(t.indexOf(QLatin1Char('=')));
        g.ctl<QLineEdit>(t.left(eq))->setText(t.mid(eq + 1));
    }
    const int sep = int(left.indexOf(QLatin1Char('_')));
    const int index = sep < 0 ? -1 : left.mid(sep + 1).toInt();
    if (left.startsWith(QLatin1String("Text1")))
        g.Text1_Validate(index);
    else
        g.Text2_Validate(index);
    QStringList got;
    for (const auto& b : fx.msgs.boxes) {
        QCOMPARE(b.title, QStringLiteral("Warning"));
        QCOMPARE(b.style, 48);
        got << b.text;
    }
    QCOMPARE(got, warnings);
    // The text stays as typed.
    for (const QString& t : texts) {
        const int eq = int(t.indexOf(QLatin1Char('=')));
        QCOMPARE(g.ctl<QLineEdit>(t.left(eq))->text(), t.mid(eq + 1));
    }
}

TAV_TEST_MAIN(TestGraphPages)
#include "tst_graphpages.moc"
