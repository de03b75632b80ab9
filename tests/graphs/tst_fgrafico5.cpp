// Graphic 5 as the user sees it: the defaults at load, the marker set, the
// titles and the comment, the point count taken at each computation, the
// failures in the error box and the checks on leaving a box.

#include "common/messages.h"
#include "common/tabelaimp.h"
#include "graphs/fgrafico5.h"
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

FGrafico5& page() { return formRef<FGrafico5>(); }

QString comment() { return page().ctl<Label>(QStringLiteral("Label3"))->text(); }

} // namespace

class TestFGrafico5 : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void loadComputesTheDefaults();
    void typedInputs_data();
    void typedInputs();
    void stalePrintColumnCleared();
    void failures_data();
    void failures();
    void checksOnLeavingABox_data();
    void checksOnLeavingABox();
};

void TestFGrafico5::loadComputesTheDefaults()
{
    ProgramFixture f;
    page().show();
    QCOMPARE(f.msgs.count(), 0);
    Grid* g = page().grid1();
    Chart* c = page().graph1();
    QCOMPARE(page().npontos, int16_t(70));
    QCOMPARE(g->rows(), 71);
    QCOMPARE(cellOf(g, 0, 0), QStringLiteral("Samp.size"));
    QCOMPARE(cellOf(g, 0, 1), QStringLiteral("Insp. wo/failure"));
    QCOMPARE(cellOf(g, 1, 0), QStringLiteral("25"));
    QCOMPARE(cellOf(g, 1, 1), QStringLiteral("2"));
    QCOMPARE(cellOf(g, 70, 0), QStringLiteral("262"));
    QCOMPARE(cellOf(g, 70, 1), QStringLiteral("25189"));
    QCOMPARE(c->numSets(), 2);
    QCOMPARE(c->numPoints(), 70);
    QCOMPARE(c->graphType(), 7);
    QCOMPARE(c->yAxisMin(), 1.0);
    QVERIFY(qAbs(c->yAxisMax() - 251886.03) < 0.01);
    // The marker: level at I, down to 1 from the sample size 241.5 on.
    int drop = 0;
    for (int k = 1; k <= 70 && !drop; ++k)
        if (dataOf(c, 2, k) == 1.0)
            drop = k;
    QCOMPARE(page().valoresx[size_t(drop)], 241.5);
    QCOMPARE(dataOf(c, 2, drop - 1), 10000.0);
    QCOMPARE(dataOf(c, 2, 70), 1.0);
    c->setThisSet(1);
    QCOMPARE(c->legendText(), QStringLiteral("Inspections failure "));
    QCOMPARE(c->graphTitle(), QStringLiteral("Samples for 10,000 inspections without failure: 241"));
    QCOMPARE(comment(), QStringLiteral("The data show that, if the probabilities p1 and p2 are 0.1 and 0.3 "
                                       "respectivelly and the consignments size is 1,000 units then it will be "
                                       "necessary to sample 241 unit(s) of each consignment to have one failure "
                                       "(establishment) in each 10,000 inspections (importations). "));
    const TabelaImp& t = tabelaimp();
    QCOMPARE(t.improtulo(0), QStringLiteral("Samp.size"));
    QCOMPARE(t.impcelula(1, 0).toString(), QStringLiteral("Insp.wo failure"));
    QCOMPARE(t.implinhas, 70);
    QCOMPARE(t.impcolunas, 2);
    QCOMPARE(t.impsubtitulo, QStringLiteral(" "));
    QCOMPARE(t.imptitulo, c->graphTitle());
    QCOMPARE(t.impcelula(1, 70).toDouble(), 25189.0);
}

void TestFGrafico5::typedInputs_data()
{
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QStringList>("specs"); // size, inspections, P1, P2
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<QString>("title");

    QTest::newRow("10 points") << "10" << QStringList({"1000", "10000", "0.1", "0.3"})
                               << QStringList({"25", "49", "73", "97", "121", "145", "169", "193", "217", "241",
                                               "266"})
                               << "Samples for 10,000 inspections without failure: 241";
    // The sample size 5.0 is nref and left out.
    QTest::newRow("nref on the sweep") << "10" << QStringList({"10", "10", "0.5", "0.6"})
                                       << QStringList({"1", "2", "2", "3", "3", "4", "4", "5", "6", "6"})
                                       << "Samples for 10 inspections without failure: 5";
    // The whole consignment: the title shows 0.9999 N, grouped.
    QTest::newRow("nref = N") << "10" << QStringList({"1000", "10000", "1", "1"}) << QStringList()
                              << "Samples for 10,000 inspections without failure: 1,000";
}

void TestFGrafico5::typedInputs()
{
    QFETCH(QString, combo);
    QFETCH(QStringList, specs);
    QFETCH(QStringList, labels);
    QFETCH(QString, title);
    ProgramFixture f;
    page().show();
    page().combo1()->setText(combo);
    for (int i = 0; i < 4; ++i)
        page().text2(i)->setText(specs[i]);
    page().calcula_Click(1);
    QCOMPARE(f.msgs.count(), 0);
    Grid* g = page().grid1();
    if (!labels.isEmpty()) {
        QStringList got;
        for (int r = 1; r < g->rows(); ++r)
            got << cellOf(g, r, 0);
        QCOMPARE(got, labels);
        QCOMPARE(tabelaimp().improtulo(labels.size()), labels.last());
    }
    QCOMPARE(page().graph1()->graphTitle(), title);
}

// A table of three columns printed before: only column 1 is this page's.
void TestFGrafico5::stalePrintColumnCleared()
{
    ProgramFixture f;
    tabelaimp().setImpcelula(2, 0, QStringLiteral("old"));
    tabelaimp().setImpcelula(2, 5, 42.0);
    page().show();
    QVERIFY(!tabelaimp().impcelula(2, 0).isValid() || tabelaimp().impcelula(2, 0).toString().isEmpty());
    QVERIFY(!tabelaimp().impcelula(2, 5).isValid() || tabelaimp().impcelula(2, 5).toString().isEmpty());
}

void TestFGrafico5::failures_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("description");
    QTest::newRow("P1 0") << "Text2_2" << "0" << "Division by zero";
    QTest::newRow("P2 not a number") << "Text2_3" << "x" << "Division by zero";
    QTest::newRow("no points") << "Combo1" << "0" << "Division by zero";
    QTest::newRow("600 points") << "Combo1" << "600" << "Subscript out of range";
}

void TestFGrafico5::failures()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, description);
    ProgramFixture f;
    page().show();
    const QString before = comment();
    setInput(page(), box, text);
    f.msgs.answer(IdAbort);
    page().calcula_Click(0);
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().title, QStringLiteral("Error Graphic 5"));
    QCOMPARE(f.msgs.last().text,
             description + QChar(13) + QStringLiteral("Unexpected error. Try again with new inputs"));
    QCOMPARE(comment(), before);
}

void TestFGrafico5::checksOnLeavingABox_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning");
    QTest::newRow("inspections 1") << "Text2_1" << "1" << "Please enter a number >= 1";
    QTest::newRow("size 1") << "Text2_0" << "1" << "Consignment size shall greater then 1";
    QTest::newRow("P1 1") << "Text2_2" << "1" << "Please enter a number between 0 and 1";
    QTest::newRow("letters") << "Text2_0" << "many" << "Please enter a number";
    QTest::newRow("P1 0.2 passes") << "Text2_2" << "0.2" << "";
}

void TestFGrafico5::checksOnLeavingABox()
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

TAV_TEST_MAIN(TestFGrafico5)
#include "tst_fgrafico5.moc"
