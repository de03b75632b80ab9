// The topic-4 page: its load, the run with its checks, what a run writes
// (labels, grid, print table, picture), the defaults, the variability box,
// the three views of the left area and the dragging of the panel and grid.
#include "common/format.h"
#include "common/random.h"
#include "common/readings.h"
#include "common/tabelaimp.h"
#include "common/yields.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "shell/topics.h"
#include "simulation/form4.h"
#include "simulation/resultados.h"
#include "testkit.h"
#include "testmain.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace tav;

namespace {

const QStringList kValueLabels{"Lpre_ing", "Ling", "Lencontradas", "Lpct_ing", "Lingreso", "Lingreso_total"};

QString cell(Grid* g, int row, int col)
{
    g->setRow(row);
    g->setCol(col);
    return g->text();
}

} // namespace

class TestForm4 : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void loadState();
    void loadResetsWhatAVisitChanged();
    void runChecks_data();
    void runChecks();
    void runWritesResults_data();
    void runWritesResults();
    void everyConsignmentRefused();
    void runBeyondThePrintTable();
    void runWithANonNumericCount();
    void refusedRunLeavesNoOldResults_data();
    void refusedRunLeavesNoOldResults();
    void runUsesThePagesVariability();
    void defaultsWhileTheRunYields();
    void runInterrupted_data();
    void runInterrupted();
    void inputsEditedWhileTheRunYields();
    void defaults_data();
    void defaults();
    void variability_data();
    void variability();
    void views_data();
    void views();
    void runWithThePanelShown_data();
    void runWithThePanelShown();
    void dragging_data();
    void dragging();
    void activationClearsTheSaveFlag();

private:
    Form4& page() { return formRef<Form4>(); }
    QLineEdit* box(int i) { return page().ctl<QLineEdit>(QStringLiteral("Text1"), i); }
    ComboBox* combo(const char* name) { return page().ctl<ComboBox>(QString::fromLatin1(name)); }
    QString label(const QString& name) { return page().ctl<QLabel>(name)->text(); }
    Grid* grid() { return page().ctl<Grid>(QStringLiteral("Grid1")); }
    QWidget* panel() { return page().ctl(QStringLiteral("Picture3")); }
    void showPage();
    void setInputs(const QString& N, const QString& prev, const QString& n, const QString& I);

    std::unique_ptr<test::ProgramFixture> fx;
    std::unique_ptr<LcgRandom> random;
};

void TestForm4::init()
{
    fx = std::make_unique<test::ProgramFixture>();
    resetSimulationState();
    tabelaimp().clear();
    random = std::make_unique<LcgRandom>(4242);
    setRng(random.get());
    QLocale::setDefault(QLocale::system());
}

void TestForm4::cleanup()
{
    setRng(nullptr);
    fx.reset();
    QLocale::setDefault(QLocale::system());
}

void TestForm4::showPage()
{
    page().show();
    QVERIFY(QTest::qWaitForWindowActive(page().widget()));
}

void TestForm4::setInputs(const QString& N, const QString& prev, const QString& n, const QString& I)
{
    box(0)->setText(N);
    box(1)->setText(prev);
    box(2)->setText(n);
    combo("Combo1")->setText(I);
}

void TestForm4::loadState()
{
    variabilidades().varprev = 0.37; // as the input window may have left it
    showPage();
    Form4& f = page();
    QCOMPARE(f.widget()->windowTitle(), QStringLiteral("Simulations of Inspection"));
    QCOMPARE(label(QStringLiteral("Label2")), QStringLiteral("4. Simulation of the inspection"));
    const QStringList paragraphs = label(QStringLiteral("Label11")).split(QStringLiteral("\n\n"));
    QCOMPARE(paragraphs.size(), 3);
    QVERIFY(paragraphs[0].startsWith(QStringLiteral("To simulate the inspection it is required")));
    QVERIFY(paragraphs[1].endsWith(QStringLiteral("the confidence level (CL).")));
    QVERIFY(paragraphs[2].endsWith(QStringLiteral("of the infected and sampled units.")));

    QCOMPARE(box(0)->text(), QStringLiteral("100"));
    QCOMPARE(box(1)->text(), test::shown(QStringLiteral("0.1")));
    QCOMPARE(box(2)->text(), QStringLiteral("10"));
    QCOMPARE(combo("Combo1")->text(), QStringLiteral("10"));
    QStringList runs;
    for (int i = 0; i < combo("Combo1")->listCount(); ++i)
        runs << combo("Combo1")->list(i);
    QCOMPARE(runs, QString("1 5 10 20 30 40 50 60 70 80 90 100 250 500").split(QLatin1Char(' ')));
    QStringList variabilities;
    for (int i = 0; i < combo("Combo2")->listCount(); ++i)
        variabilities << combo("Combo2")->list(i);
    QCOMPARE(variabilities, QString("0 5 10 20 30 40 50 60 70 80 90 100").split(QLatin1Char(' ')));
    QCOMPARE(combo("Combo2")->text(), QStringLiteral("10"));
    QCOMPARE(variabilidades().varprev, 0.1);

    for (const QString& name : kValueLabels)
        QVERIFY2(label(name).isEmpty(), qPrintable(name));
    QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("0"));
    QCOMPARE(f.ctl<Label>(QStringLiteral("Label7"), 2)->text(), QStringLiteral("Consignment"));

    QVERIFY(panel()->isHidden());
    QVERIFY(grid()->isHidden());
    QVERIFY(f.ctl(QStringLiteral("Label11"))->isVisible());
    QCOMPARE(grid()->cols(), 5);
    QCOMPARE(grid()->fixedRows(), 1);
    QCOMPARE(grid()->fixedCols(), 1);
    QCOMPARE(grid()->fixedAlignment(0), 2);
    for (int c = 0; c < 5; ++c)
        QCOMPARE(grid()->colWidth(c), 1070);
    for (const char* name : {"Image1", "calcula", "Image3", "Image9", "Image10"})
        QCOMPARE(f.ctl(QString::fromLatin1(name))->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(fx->msgs.count(), 0);
}

void TestForm4::loadResetsWhatAVisitChanged()
{
    showPage();
    setInputs(QStringLiteral("300"), QStringLiteral("0.2"), QStringLiteral("30"), QStringLiteral("5"));
    page().Image1_Click();
    page().Image10_Click();
    QVERIFY(!grid()->isHidden());
    QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("5"));

    page().unload();
    QTRY_VERIFY(!page().isLoaded());
    showPage();
    QCOMPARE(box(0)->text(), QStringLiteral("100"));
    QCOMPARE(combo("Combo1")->text(), QStringLiteral("10"));
    QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("0"));
    QVERIFY(label(QStringLiteral("Ling")).isEmpty());
    QVERIFY(grid()->isHidden());
    // The shared table keeps the last run.
    QCOMPARE(resultados().text(1, 5), QStringLiteral("5"));
    QCOMPARE(tabelaimp().implinhas, 4);
}

void TestForm4::runChecks_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("N");
    QTest::addColumn<QString>("prev");
    QTest::addColumn<QString>("n");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focus");
    const QString c = QStringLiteral("C");
    QTest::newRow("size empty") << c << "" << "0.1" << "10" << "Input the consignment size" << 0;
    QTest::newRow("prevalence letters") << c << "100" << "abc" << "10" << "Input the RDL" << 1;
    QTest::newRow("sample letters") << c << "100" << "0.1" << "ten" << "Input the sample size" << 2;
    // The "is a number" checks come first, whatever box fails later.
    QTest::newRow("size 0, sample letters") << c << "0" << "0.1" << "x" << "Input the sample size" << 2;
    QTest::newRow("size 0") << c << "0" << "0.1" << "0" << "The consignment size shall be > 0" << 0;
    QTest::newRow("size 0.5") << c << "0.5" << "0.1" << "0" << "The consignment size shall be > 0" << 0;
    QTest::newRow("sample equals size") << c << "10" << "0.1" << "10" << "The sample size shall be < the consignment size" << 2;
    QTest::newRow("sample above size") << c << "10" << "0.1" << "11" << "The sample size shall be < the consignment size" << 2;
    QTest::newRow("prevalence 1") << c << "100" << "1" << "10" << "The RDL shall be > 0 and < 1" << 1;
    QTest::newRow("prevalence 0") << c << "100" << "0" << "10" << "The RDL shall be > 0 and < 1" << 1;
    QTest::newRow("prevalence negative") << c << "100" << "-0.1" << "10" << "The RDL shall be > 0 and < 1" << 1;
    // A box is read whole as the number its check accepted.
    QTest::newRow("decimal comma") << "de_DE" << "100" << "0,1" << "10" << "" << -1;
    QTest::newRow("point in a comma locale") << "pt_BR" << "100" << "0.1" << "10" << "" << -1;
    QTest::newRow("grouped size") << "en_US" << "1,000" << "0.1" << "999" << "" << -1;
    QTest::newRow("grouped size, comma locale") << "pt_BR" << "1.000" << "0,1" << "1000" << "The sample size shall be < the consignment size" << 2;
    QTest::newRow("all good") << c << "100" << "0.5" << "99" << "" << -1;
}

void TestForm4::runChecks()
{
    QFETCH(QString, locale);
    QFETCH(QString, N);
    QFETCH(QString, prev);
    QFETCH(QString, n);
    QFETCH(QString, message);
    QFETCH(int, focus);
    QLocale::setDefault(locale == QLatin1String("C") ? QLocale::c() : QLocale(locale));
    showPage();
    // What an earlier run left.
    for (const QString& name : kValueLabels)
        page().ctl<QLabel>(name)->setText(QStringLiteral("old"));
    page().ctl<QLabel>(QStringLiteral("Lnsim"))->setText(QStringLiteral("7"));
    setInputs(N, prev, n, QStringLiteral("3"));
    page().ctl(QStringLiteral("Text2"))->setFocus();

    test::click(page().ctl(QStringLiteral("Image1")));
    if (message.isEmpty()) {
        QCOMPARE(fx->msgs.count(), 0);
        QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("3"));
        QCOMPARE(grid()->rows(), 4);
        return;
    }
    QCOMPARE(fx->msgs.count(), 1);
    QCOMPARE(fx->msgs.last().text, message);
    QCOMPARE(fx->msgs.last().title, QStringLiteral("Warning"));
    QCOMPARE(fx->msgs.last().style, int(MbExclamation));
    QCOMPARE(QApplication::focusWidget(), box(focus));
    // The results were cleared before the checks; nothing else ran.
    for (const QString& name : kValueLabels)
        QVERIFY2(label(name).isEmpty(), qPrintable(name));
    QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("0"));
    QCOMPARE(combo("Combo1")->text(), QStringLiteral("3"));
    QCOMPARE(grid()->rows(), 2);
    QCOMPARE(page().ctl<Label>(QStringLiteral("Label7"), 2)->text(), QStringLiteral("Consignment"));
}

void TestForm4::runWritesResults_data()
{
    QTest::addColumn<QString>("N");
    QTest::addColumn<QString>("prev");
    QTest::addColumn<QString>("n");
    QTest::addColumn<int>("I");
    QTest::newRow("defaults") << "100" << "0.1" << "10" << 10;
    QTest::newRow("one consignment") << "100" << "0.1" << "10" << 1;
    QTest::newRow("large sample") << "1000" << "0.02" << "300" << 50;
    QTest::newRow("500 consignments") << "200" << "0.05" << "20" << 500;
}

void TestForm4::runWritesResults()
{
    QFETCH(QString, N);
    QFETCH(QString, prev);
    QFETCH(QString, n);
    QFETCH(int, I);
    showPage();
    setInputs(N, prev, n, QString::number(I));
    page().Image1_Click();
    QCOMPARE(fx->msgs.count(), 0);

    // Labels: the counts of the grid's rows.
    Grid* g = grid();
    QCOMPARE(g->rows(), I + 1);
    QCOMPARE(g->cols(), 5);
    const QStringList headers{"Iter.", "Prevalence", "Posit.sample", "Result", "Ingressed units"};
    for (int c = 0; c < 5; ++c)
        QCOMPARE(cell(g, 0, c), headers[c]);
    int refused = 0;
    double ingressedUnits = 0;
    for (int r = 1; r <= I; ++r) {
        QCOMPARE(cell(g, r, 0), QString::number(r));
        const bool isRefused = cell(g, r, 3) == QLatin1String("Refused");
        QVERIFY(isRefused || cell(g, r, 3) == QLatin1String("Ingressed"));
        QCOMPARE(cell(g, r, 2).toInt() > 0, isRefused);
        refused += isRefused;
        ingressedUnits += numberOrLeading(cell(g, r, 4));
    }
    const auto percent = [&](int count) {
        return generalText(numberOrLeading(formatNumber(count * 100.0 / I, QStringLiteral("##0.0")))) + QStringLiteral(" %");
    };
    QCOMPARE(label(QStringLiteral("Ling")), percent(refused));
    QCOMPARE(label(QStringLiteral("Lpct_ing")), percent(I - refused));
    QCOMPARE(label(QStringLiteral("Lnsim")), QString::number(I));
    QCOMPARE(combo("Combo1")->text(), QString::number(I));
    if (refused == I)
        QCOMPARE(label(QStringLiteral("Lpre_ing")), QStringLiteral("-"));
    else
        QVERIFY(numberOrLeading(label(QStringLiteral("Lpre_ing"))) > 0);
    QCOMPARE(label(QStringLiteral("Lencontradas")) == QLatin1String("-"), refused == 0);
    QCOMPARE(numberOrLeading(label(QStringLiteral("Lingreso_total"))),
             numberOrLeading(label(QStringLiteral("Lingreso"))) * (I - refused));

    for (int c = 1; c < 5; ++c)
        QCOMPARE(g->colAlignment(c), 2);
    QCOMPARE(g->colAlignment(0), 0);

    // The print table holds the same characters as the grid.
    const TabelaImp& t = tabelaimp();
    QCOMPARE(t.imptitulo, QStringLiteral("Simulation of the Inspection"));
    QCOMPARE(t.impsubtitulo, QStringLiteral("Preval.    Posit samp.   Result  Ing.units"));
    QCOMPARE(t.implinhas, I - 1);
    QCOMPARE(t.impcolunas, 4);
    for (int r = 0; r < I; ++r)
        for (int c = 0; c < 5; ++c)
            QCOMPARE(t.impcelula(c, r).toString(), cell(g, r + 1, c));

    // And the picture was drawn, though the panel is hidden.
    const QString verdict = page().ctl<Label>(QStringLiteral("Label7"), 2)->text();
    QVERIFY2(verdict == QLatin1String("Refused !") || verdict == QLatin1String("Ingressed !"), qPrintable(verdict));
    QVERIFY(panel()->isHidden());
    QVERIFY(grid()->isHidden());
}

void TestForm4::everyConsignmentRefused()
{
    showPage();
    // Half the units infested and all but one inspected: no consignment passes.
    combo("Combo2")->setText(QStringLiteral("0"));
    setInputs(QStringLiteral("100"), QStringLiteral("0.5"), QStringLiteral("99"), QStringLiteral("20"));
    page().Image1_Click();
    QCOMPARE(label(QStringLiteral("Ling")), QStringLiteral("100 %"));
    QCOMPARE(label(QStringLiteral("Lpct_ing")), QStringLiteral("0 %"));
    QCOMPARE(label(QStringLiteral("Lpre_ing")), QStringLiteral("-"));
    QCOMPARE(label(QStringLiteral("Lingreso")), QStringLiteral("0"));
    QCOMPARE(label(QStringLiteral("Lingreso_total")), QStringLiteral("0"));
    QVERIFY(numberOrLeading(label(QStringLiteral("Lencontradas"))) >= 49);
    QCOMPARE(cell(grid(), 20, 3), QStringLiteral("Refused"));
    QCOMPARE(cell(grid(), 20, 1), test::shown(QStringLiteral("0.5")));
    QCOMPARE(page().ctl<Label>(QStringLiteral("Label7"), 2)->text(), QStringLiteral("Refused !"));
    QCOMPARE(page().ctl<Label>(QStringLiteral("Label7"), 2)->foreColor(), QColor(255, 0, 0));
}

void TestForm4::runBeyondThePrintTable()
{
    // 510 consignments run; the print table ends at row 500, and Abort in
    // the page's box also skips the picture.
    showPage();
    setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("510"));
    page().Image1_Click();
    QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("510"));
    QCOMPARE(fx->msgs.count(), 1);
    QCOMPARE(fx->msgs.last().title, QStringLiteral("Error on simulation Form4"));
    QCOMPARE(fx->msgs.last().style, int(MbAbortRetryIgnore | MbCritical));
    QVERIFY(fx->msgs.last().text.endsWith(QStringLiteral("\rUnexpected error. Try again with new inputs")));
    QCOMPARE(page().ctl<Label>(QStringLiteral("Label7"), 2)->text(), QStringLiteral("Consignment"));
}

void TestForm4::runWithANonNumericCount()
{
    showPage();
    setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("many"));
    page().Image1_Click();
    // The engine's box; the refused run fills no table.
    QCOMPARE(fx->msgs.count(), 1);
    QCOMPARE(fx->msgs.boxes[0].title, QStringLiteral("Error in simulation"));
    QCOMPARE(grid()->rows(), 1);
}

// A run the engine refuses after a good one: the labels, the grid and the
// print table all drop the earlier run's results.
void TestForm4::refusedRunLeavesNoOldResults_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("count");
    QTest::newRow("consignment above the largest") << "20000" << "10";
    QTest::newRow("more consignments than the table") << "100" << "600";
}

void TestForm4::refusedRunLeavesNoOldResults()
{
    QFETCH(QString, size);
    QFETCH(QString, count);
    showPage();
    setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("10"));
    page().Image1_Click();
    QCOMPARE(grid()->rows(), 11);
    QCOMPARE(tabelaimp().implinhas, 9);
    setInputs(size, QStringLiteral("0.1"), QStringLiteral("10"), count);
    page().Image1_Click();
    QCOMPARE(fx->msgs.count(), 1);
    QCOMPARE(fx->msgs.last().title, QStringLiteral("Error in simulation"));
    for (const QString& l : kValueLabels)
        QVERIFY2(label(l).isEmpty(), qPrintable(l));
    QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("0"));
    QCOMPARE(grid()->rows(), 1);
    QCOMPARE(cell(grid(), 0, 1), QStringLiteral("Prevalence"));
    QCOMPARE(tabelaimp().implinhas, -1);
    QCOMPARE(tabelaimp().impcelula(0, 0), QVariant());
}

// The run takes the page's own variability, not the one another window set.
void TestForm4::runUsesThePagesVariability()
{
    showPage();
    combo("Combo2")->setText(QStringLiteral("10"));
    variabilidades() = Variabilidades{0.9, 0.5, 0.5}; // as the input window may leave them
    setInputs(QStringLiteral("1000"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("50"));
    page().Image1_Click();
    QCOMPARE(fx->msgs.count(), 0);
    QCOMPARE(variabilidades().varprev, 0.1);
    for (int row = 1; row <= 50; ++row) {
        const double p = numberOrLeading(cell(grid(), row, 1));
        QVERIFY2(p >= 0.09 - 1e-9 && p <= 0.11 + 1e-9, qPrintable(QString::number(p)));
    }
}

// While a run yields, Defaults changes no input.
void TestForm4::defaultsWhileTheRunYields()
{
    showPage();
    setInputs(QStringLiteral("50"), QStringLiteral("0.3"), QStringLiteral("5"), QStringLiteral("20"));
    combo("Combo2")->setText(QStringLiteral("40"));
    QTimer::singleShot(0, this, [&] { page().Image3_Click(); });
    const quint64 yields = yieldsMade();
    page().Image1_Click();
    // One yield per consignment; Defaults came at the first.
    QCOMPARE(yieldsMade() - yields, quint64(20));
    QCOMPARE(box(0)->text(), QStringLiteral("50"));
    QCOMPARE(box(1)->text(), QStringLiteral("0.3"));
    QCOMPARE(box(2)->text(), QStringLiteral("5"));
    QCOMPARE(combo("Combo1")->text(), QStringLiteral("20"));
    QCOMPARE(combo("Combo2")->text(), QStringLiteral("40"));
    QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("20"));
    QCOMPARE(grid()->rows(), 21);
    // Once the run has ended, Defaults works again.
    page().Image3_Click();
    QCOMPARE(box(0)->text(), QStringLiteral("100"));
}

void TestForm4::runInterrupted_data()
{
    QTest::addColumn<bool>("closePage");
    QTest::newRow("page closed while the run yields") << true;
    QTest::newRow("Simulate pressed again while it yields") << false;
}

void TestForm4::runInterrupted()
{
    QFETCH(bool, closePage);
    showPage();
    setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("50"));
    tabelaimp().implinhas = 77;
    int nestedRows = -1; // the print table's last row right after the second press
    QTimer::singleShot(0, this, [&] {
        if (closePage) {
            page().unload();
            return;
        }
        page().Image1_Click();
        nestedRows = tabelaimp().implinhas;
    });
    const quint64 yields = yieldsMade();
    page().Image1_Click();
    // The unload ends the run at the first yield; the second press leaves it
    // to yield once per consignment.
    QCOMPARE(yieldsMade() - yields, quint64(closePage ? 1 : 50));
    QCOMPARE(fx->msgs.count(), 0);
    if (closePage) {
        // Nothing is shown for a run whose page went away, and the page is
        // not loaded again for it.
        QVERIFY(!page().isLoaded());
        QCOMPARE(tabelaimp().implinhas, 77);
        return;
    }
    // The second press neither filled the table nor started a run.
    QCOMPARE(nestedRows, 77);
    QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("50"));
    QCOMPARE(grid()->rows(), 51);
    QCOMPARE(tabelaimp().implinhas, 49);
}

void TestForm4::inputsEditedWhileTheRunYields()
{
    // The picture reads the boxes when it is drawn: a sample larger than the
    // consignment typed during the run ends in the page's box, not in an
    // endless search for units.
    showPage();
    setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("20"));
    QTimer::singleShot(0, this, [&] {
        box(0)->setText(QStringLiteral("10"));
        box(2)->setText(QStringLiteral("50"));
    });
    const quint64 yields = yieldsMade();
    page().Image1_Click();
    QCOMPARE(yieldsMade() - yields, quint64(20));
    QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("20"));
    QCOMPARE(grid()->rows(), 21);
    QCOMPARE(fx->msgs.count(), 1);
    QCOMPARE(fx->msgs.last().title, QStringLiteral("Error on simulation Form4"));
    QCOMPARE(page().ctl<Label>(QStringLiteral("Label7"), 2)->text(), QStringLiteral("Consignment"));
}

void TestForm4::defaults_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("prevalence");
    QTest::addColumn<QString>("warning");
    QTest::newRow("C") << "C" << "0.1" << "";
    QTest::newRow("en_US") << "en_US" << "0.1" << "";
    QTest::newRow("pt_BR") << "pt_BR" << "0,1" << "";
    QTest::newRow("de_DE") << "de_DE" << "0,1" << "";
}

void TestForm4::defaults()
{
    QFETCH(QString, locale);
    QFETCH(QString, prevalence);
    QFETCH(QString, warning);
    QLocale::setDefault(locale == QLatin1String("C") ? QLocale::c() : QLocale(locale));
    showPage();
    setInputs(QStringLiteral("50"), QStringLiteral("0.3"), QStringLiteral("5"), QStringLiteral("20"));
    // The input window changed the shared variability while the box kept 10.
    variabilidades().varprev = 0.5;

    test::click(page().ctl(QStringLiteral("Image3")));
    QCOMPARE(box(0)->text(), QStringLiteral("100"));
    QCOMPARE(box(1)->text(), prevalence);
    QCOMPARE(box(2)->text(), QStringLiteral("10"));
    QCOMPARE(combo("Combo2")->text(), QStringLiteral("10"));
    QCOMPARE(variabilidades().varprev, 0.1);
    if (!warning.isEmpty()) {
        QCOMPARE(fx->msgs.count(), 1);
        QCOMPARE(fx->msgs.last().text, warning);
        QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("0"));
        return;
    }
    QCOMPARE(fx->msgs.count(), 0);
    QCOMPARE(combo("Combo1")->text(), QStringLiteral("10"));
    QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("10"));
    QVERIFY(!label(QStringLiteral("Ling")).isEmpty());
    QCOMPARE(grid()->rows(), 11);
    QCOMPARE(cell(grid(), 0, 4), QStringLiteral("Ingressed units"));
    QCOMPARE(tabelaimp().implinhas, 9);
}

void TestForm4::variability_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed"); // "#i" picks entry i
    QTest::addColumn<double>("varprev");
    QTest::newRow("typed") << "C" << "25" << 0.25;
    QTest::newRow("picked") << "C" << "#11" << 1.0;
    QTest::newRow("picked 0") << "C" << "#0" << 0.0;
    QTest::newRow("not a number keeps it") << "C" << "abc" << 0.1;
    QTest::newRow("emptied keeps it") << "C" << "" << 0.1;
    QTest::newRow("decimal comma") << "de_DE" << "12,5" << 0.125;
}

void TestForm4::variability()
{
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(double, varprev);
    QLocale::setDefault(locale == QLatin1String("C") ? QLocale::c() : QLocale(locale));
    showPage();
    ComboBox* c = combo("Combo2");
    if (typed.startsWith(QLatin1Char('#'))) {
        c->setListIndex(typed.mid(1).toInt());
    } else {
        c->lineEdit()->selectAll();
        c->lineEdit()->del();
        QTest::keyClicks(c->lineEdit(), typed);
    }
    QCOMPARE(variabilidades().varprev, varprev);
}

void TestForm4::views_data()
{
    QTest::addColumn<QString>("N");
    QTest::addColumn<QString>("prev");
    QTest::addColumn<bool>("typedLate"); // the inputs typed after the first click
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("view"); // text, panel, grid
    QTest::addColumn<QString>("message");
    const QStringList image{"image"};
    QTest::newRow("show image") << "100" << "0.1" << false << image << "panel" << "";
    QTest::newRow("image twice") << "100" << "0.1" << false << QStringList{"image", "image"} << "text" << "";
    QTest::newRow("table") << "100" << "0.1" << false << QStringList{"table"} << "grid" << "";
    QTest::newRow("table twice") << "100" << "0.1" << false << QStringList{"table", "table"} << "text" << "";
    QTest::newRow("table hides the panel") << "100" << "0.1" << false << QStringList{"image", "table"} << "grid" << "";
    QTest::newRow("image hides the grid") << "100" << "0.1" << false << QStringList{"table", "image"} << "panel" << "";
    QTest::newRow("at the limits") << "5000" << "0.9" << false << image << "panel" << "";
    QTest::newRow("too many units") << "6000" << "0.1" << false << image << "text"
                                    << "Consignment to large to draw the image";
    QTest::newRow("too many, from the grid") << "6000" << "0.1" << false << QStringList{"table", "image"} << "grid"
                                             << "Consignment to large to draw the image";
    QTest::newRow("prevalence too large") << "100" << "0.95" << false << image << "text"
                                          << "Prevalence to large to draw the image";
    QTest::newRow("size tested first") << "6000" << "0.95" << false << image << "text"
                                       << "Consignment to large to draw the image";
    // Hiding the shown panel tests nothing.
    QTest::newRow("hide with a large size") << "6000" << "0.95" << true << QStringList{"image", "image"} << "text" << "";
}

void TestForm4::views()
{
    QFETCH(QString, N);
    QFETCH(QString, prev);
    QFETCH(bool, typedLate);
    QFETCH(QStringList, clicks);
    QFETCH(QString, view);
    QFETCH(QString, message);
    showPage();
    const auto typeInputs = [&] {
        box(0)->setText(N);
        box(1)->setText(prev);
    };
    if (!typedLate)
        typeInputs();
    for (const QString& c : clicks) {
        test::click(page().ctl(c == QLatin1String("image") ? QStringLiteral("Image9") : QStringLiteral("Image10")));
        if (typedLate)
            typeInputs();
    }
    QCOMPARE(panel()->isHidden(), view != QLatin1String("panel"));
    QCOMPARE(grid()->isHidden(), view != QLatin1String("grid"));
    if (message.isEmpty()) {
        QCOMPARE(fx->msgs.count(), 0);
    } else {
        QCOMPARE(fx->msgs.count(), 1);
        QCOMPARE(fx->msgs.last().text, message);
        QCOMPARE(fx->msgs.last().style, int(MbInformation));
        QCOMPARE(fx->msgs.last().title, QStringLiteral("Warning"));
    }
}

void TestForm4::runWithThePanelShown_data()
{
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("N");
    QTest::addColumn<bool>("warned");
    QTest::newRow("shown, 6000 units") << true << "6000" << true;
    QTest::newRow("hidden, 6000 units") << false << "6000" << false;
    QTest::newRow("shown, 5000 units") << true << "5000" << false;
}

void TestForm4::runWithThePanelShown()
{
    QFETCH(bool, shown);
    QFETCH(QString, N);
    QFETCH(bool, warned);
    showPage();
    page().Image1_Click(); // a first picture at the defaults
    const QImage before = page().ctl<PictureBox>(QStringLiteral("Picture1"))->image();
    if (shown)
        page().Image9_Click();
    setInputs(N, QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("3"));
    page().Image1_Click();
    QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("3"));
    QCOMPARE(grid()->rows(), 4);
    auto* picture = page().ctl<PictureBox>(QStringLiteral("Picture1"));
    if (warned) {
        QCOMPARE(fx->msgs.count(), 1);
        QCOMPARE(fx->msgs.last().text,
                 QStringLiteral("Graphical representation only for consignments less or equal 5000 units"));
        QCOMPARE(fx->msgs.last().style, int(MbExclamation));
        QVERIFY(panel()->isHidden());
        // The picture was cleared and nothing drawn.
        picture->cls();
        QCOMPARE(page().ctl<PictureBox>(QStringLiteral("Picture1"))->image(), picture->image());
        return;
    }
    QCOMPARE(fx->msgs.count(), 0);
    QCOMPARE(panel()->isHidden(), !shown);
    QVERIFY(picture->image() != before);
}

void TestForm4::dragging_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("grip");
    QTest::addColumn<QPoint>("press"); // in the grip
    QTest::addColumn<QPoint>("move");
    QTest::addColumn<QPoint>("moved");
    QTest::newRow("panel by its border") << "Picture3" << "Picture3" << QPoint(3, 3) << QPoint(40, 25) << QPoint(40, 25);
    QTest::newRow("panel kept inside the page") << "Picture3" << "Picture3" << QPoint(3, 3) << QPoint(-200, -300)
                                                << QPoint(-4, -131);
    QTest::newRow("not by its pictures") << "Picture3" << "Picture1" << QPoint(30, 30) << QPoint(40, 25) << QPoint(0, 0);
    QTest::newRow("grid") << "Grid1" << "viewport" << QPoint(20, 10) << QPoint(-30, 50) << QPoint(-30, 50);
}

void TestForm4::dragging()
{
    QFETCH(QString, target);
    QFETCH(QString, grip);
    QFETCH(QPoint, press);
    QFETCH(QPoint, move);
    QFETCH(QPoint, moved);
    showPage();
    QWidget* t = page().ctl(target);
    t->show();
    QWidget* g = grip == QLatin1String("viewport") ? grid()->table()->viewport() : page().ctl(grip);
    const QPoint start = t->pos();

    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, QPointF(at), QPointF(g->mapToGlobal(at)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(g, &e);
    };
    send(QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    // The grip moves with the control, so each position is taken from the
    // press point in global terms.
    const QPoint global = g->mapToGlobal(press);
    const QPoint half = global + move / 2;
    send(QEvent::MouseMove, g->mapFromGlobal(half), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, g->mapFromGlobal(global + move), Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, g->mapFromGlobal(global + move), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(t->pos() - start, moved);

    // A move after the release drags nothing; a run keeps the position.
    send(QEvent::MouseMove, g->mapFromGlobal(global + move + QPoint(10, 10)), Qt::NoButton, Qt::NoButton);
    page().Image1_Click();
    QCOMPARE(t->pos() - start, moved);
}

void TestForm4::activationClearsTheSaveFlag()
{
    showPage();
    page().salvando = 1;
    Form& other = windowNamed(QStringLiteral("Form3"));
    other.show();
    QVERIFY(QTest::qWaitForWindowActive(other.widget()));
    QCOMPARE(page().salvando, 1);
    page().show();
    page().widget()->activateWindow();
    QTRY_COMPARE(page().salvando, 0);
}

TAV_TEST_MAIN(TestForm4)
#include "tst_form4.moc"
