// The copy of a simulation run into a window's grid and the print table.
#include "common/errors.h"
#include "common/messages.h"
#include "common/random.h"
#include "common/tabelaimp.h"
#include "common/window.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "simulation/preenchetabela.h"
#include "simulation/resultados.h"
#include "simulation/simula.h"
#include "testkit.h"
#include "testmain.h"

#include <QTest>
#include <memory>

using namespace tav;

namespace {

// A simulating window: the engine's controls and a grid laid out as the
// simulation windows lay theirs out at load, with `cols` columns.
class TableWindow : public Form {
public:
    explicit TableWindow(int cols = 6) : Form(QStringLiteral("TableWindow")), cols_(cols) {}
    Grid* grid() { return ctl<Grid>(QStringLiteral("Grid1")); }

protected:
    void build(FormWidget* w) override
    {
        QWidget* c = w->client();
        for (int i = 0; i < 3; ++i)
            place<TextBox>(c, arrayName(QStringLiteral("Text1"), i), 0, 300 * i, 900, 285);
        place<ComboBox>(c, QStringLiteral("Combo1"), 0, 900, 900, 315);
        int top = 1200;
        for (const QString& name : resultLabelNames(true))
            place<Label>(c, name, 0, top += 300, 900, 285);
        Grid* g = place<Grid>(c, QStringLiteral("Grid1"), 2190, 2565, 5730, 3840);
        g->setCols(cols_);
        g->setFixedRows(1);
        g->setFixedCols(1);
        g->setFixedAlignment(0, 2);
        g->setRow(0);
        for (int col = 0; col < cols_; ++col)
            g->setColWidth(col, 1070);
    }

private:
    int cols_;
};

QString cellOf(Grid* g, int row, int col)
{
    g->setRow(row);
    g->setCol(col);
    return g->text();
}

QStringList gridRow(Grid* g, int row)
{
    QStringList out;
    for (int c = 0; c < g->cols(); ++c)
        out << cellOf(g, row, c);
    return out;
}

// Rows 1..510 of an imagined run, each cell telling its row apart.
void fillResults()
{
    for (int k = 1; k < Resultados::kRows; ++k) {
        resultados().setCell(1, k, k);
        resultados().setCell(2, k, k / 10000.0);
        resultados().setCell(3, k, k % 3);
        resultados().setCell(4, k, k % 3 ? QStringLiteral("Refused") : QStringLiteral("Ingressed"));
        resultados().setCell(5, k, k % 3 ? 0.0 : double(k % 17));
        resultados().setCell(6, k, k % 5 ? QVariant(0) : QVariant(QString::number(k % 7 + 1)));
    }
}

// The print table as an earlier fill left it.
void markPrintTable()
{
    TabelaImp& t = tabelaimp();
    t.clear();
    t.imptitulo = QStringLiteral("earlier");
    t.impsubtitulo = QStringLiteral("earlier");
    t.implinhas = 77;
    t.impcolunas = 9;
    for (int r = 0; r < TabelaImp::kRows; ++r)
        t.setImpcelula(0, r, QStringLiteral("earlier"));
}

} // namespace

class TestPreencheTabela : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void fill_data();
    void fill();
    void failingSteps_data();
    void failingSteps();
    void rowsOfARunPrintAsTheGridShowsThem();

private:
    std::unique_ptr<test::ProgramFixture> fx;
};

void TestPreencheTabela::init()
{
    fx = std::make_unique<test::ProgramFixture>();
    resetSimulationState();
    fillResults();
    markPrintTable();
}

void TestPreencheTabela::cleanup()
{
    fx.reset();
    resetSimulationState();
    tabelaimp().clear();
}

void TestPreencheTabela::fill_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("centre");
    QTest::newRow("ten with establishment") << "10" << 6 << true;
    QTest::newRow("one") << "1" << 6 << true;
    QTest::newRow("five hundred") << "500" << 6 << true;
    QTest::newRow("topic-4 width") << "10" << 5 << true;
    QTest::newRow("no centring") << "10" << 6 << false;
}

void TestPreencheTabela::fill()
{
    QFETCH(QString, count);
    QFETCH(int, width);
    QFETCH(bool, centre);
    const int I = count.toInt();
    TableWindow w(width);
    Grid* g = w.grid();
    for (int c = 1; c < width; ++c)
        g->setColAlignment(c, 1);

    IgnoreErrors h;
    QVERIFY(preenchetabela(w, count, width, centre, h));

    QCOMPARE(g->rows(), I + 1);
    QStringList headers{"Iter.", "Prevalence", "Posit.sample", "Result", "Ingressed units", "Established"};
    headers = headers.mid(0, width);
    QCOMPARE(gridRow(g, 0), headers);
    for (int j = 1; j <= width; ++j)
        QCOMPARE(resultados().text(j, 0), headers[j - 1]);
    const TabelaImp& t = tabelaimp();
    for (int i = 1; i <= I; ++i) {
        const QStringList row = gridRow(g, i);
        QCOMPARE(row.first(), QString::number(i));
        for (int j = 1; j <= width; ++j) {
            QCOMPARE(row[j - 1], resultados().text(j, i));
            QCOMPARE(t.impcelula(j - 1, i - 1).toString(), row[j - 1]);
        }
    }
    for (int r = 0; r <= I; ++r)
        QCOMPARE(t.improtulo(r), QString::number(r + 1));
    if (I < 500)
        QCOMPARE(t.impcelula(0, I).toString(), QStringLiteral("earlier"));
    QCOMPARE(t.imptitulo, QStringLiteral("Simulation of the Inspection"));
    QCOMPARE(t.impsubtitulo, width == 6 ? QStringLiteral("Preval.    Posit samp.   Result  Ing.units Established")
                                        : QStringLiteral("Preval.    Posit samp.   Result  Ing.units"));
    QCOMPARE(t.implinhas, I - 1);
    QCOMPARE(t.impcolunas, width - 1);
    QCOMPARE(g->colAlignment(0), 0);
    for (int c = 1; c < width; ++c)
        QCOMPARE(g->colAlignment(c), centre ? 2 : 1);
}

// mode: 0 the caller ignores errors, 1 it traps them into the error box.
void TestPreencheTabela::failingSteps_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<int>("lastGridRow"); // the last row with its cells written
    QTest::addColumn<int>("implinhas");   // 77: left as it was
    QTest::addColumn<bool>("finished");   // title set and columns centred

    // Past the print table's row 500 each failing step fails on its own.
    QTest::newRow("505 ignored") << "505" << 0 << QList<int>{} << 0 << 505 << 504 << true;
    QTest::newRow("505 aborted") << "505" << 1 << QList<int>{IdAbort} << 1 << 500 << 77 << false;
    // Row 501 fails at its label; rows 502..505 at the label and six cells,
    // all with the box ignored at the first.
    QTest::newRow("505, every box ignored") << "505" << 1 << QList<int>{IdIgnore} << 1 << 505 << 504 << true;
    QTest::newRow("words ignored") << "ten" << 0 << QList<int>{} << 0 << -1 << 77 << true;
    QTest::newRow("words aborted") << "ten" << 1 << QList<int>{} << 1 << -1 << 77 << false;
}

void TestPreencheTabela::failingSteps()
{
    QFETCH(QString, count);
    QFETCH(int, mode);
    QFETCH(QList<int>, answers);
    QFETCH(int, boxes);
    QFETCH(int, lastGridRow);
    QFETCH(int, implinhas);
    QFETCH(bool, finished);
    for (int a : answers)
        fx->msgs.answer(a);
    TableWindow w;
    Grid* g = w.grid();

    IgnoreErrors ignore;
    TrapErrors trap(QStringLiteral("Unexpected error. Reload and try again with new inputs"),
                    QStringLiteral("Error FormSimula1"));
    ErrorHandler& h = mode == 0 ? static_cast<ErrorHandler&>(ignore) : trap;
    QCOMPARE(preenchetabela(w, count, 6, true, h), finished);

    QCOMPARE(fx->msgs.count(), boxes);
    for (const auto& box : fx->msgs.boxes)
        QCOMPARE(box.title, QStringLiteral("Error FormSimula1"));
    if (lastGridRow >= 0) {
        QCOMPARE(g->rows(), count.toInt() + 1);
        QCOMPARE(cellOf(g, lastGridRow, 5), resultados().text(6, lastGridRow));
        QCOMPARE(cellOf(g, lastGridRow, 0), QString::number(lastGridRow));
        if (lastGridRow < count.toInt())
            QCOMPARE(cellOf(g, lastGridRow + 1, 0), QString());
    }
    const TabelaImp& t = tabelaimp();
    if (lastGridRow >= 500) {
        QCOMPARE(t.improtulo(500), QStringLiteral("501"));
        QCOMPARE(t.impcelula(0, 499).toString(), QStringLiteral("500"));
    }
    if (lastGridRow > 500) // row 501 still fits the print table's row 500
        QCOMPARE(t.impcelula(5, 500).toString(), resultados().text(6, 501));
    QCOMPARE(t.implinhas, implinhas);
    QCOMPARE(t.imptitulo, finished ? QStringLiteral("Simulation of the Inspection") : QStringLiteral("earlier"));
    QCOMPARE(g->colAlignment(3), finished ? 2 : 0);
}

void TestPreencheTabela::rowsOfARunPrintAsTheGridShowsThem()
{
    LcgRandom seeded;
    setRng(&seeded);
    variabilidades() = Variabilidades{0.5, 0.5, 0.5};
    TableWindow w;
    w.ctl<TextBox>(QStringLiteral("Text1"), 0)->setText(QStringLiteral("200"));
    w.ctl<TextBox>(QStringLiteral("Text1"), 1)->setText(QStringLiteral("0.05"));
    w.ctl<TextBox>(QStringLiteral("Text1"), 2)->setText(QStringLiteral("10"));
    w.ctl<ComboBox>(QStringLiteral("Combo1"))->setText(QStringLiteral("40"));
    QCOMPARE(simula(0.9, 0.4, w), SimulaEnd::Finished);
    TrapErrors h(QStringLiteral("Unexpected error. Reload and try again with new inputs"),
                 QStringLiteral("Error FormSimula1"));
    QVERIFY(preenchetabela(w, w.ctl<ComboBox>(QStringLiteral("Combo1"))->text(), 6, true, h));
    setRng(nullptr);

    QCOMPARE(fx->msgs.count(), 0);
    const TabelaImp& t = tabelaimp();
    QCOMPARE(t.implinhas, 39);
    int refused = 0, established = 0;
    for (int r = 0; r < 40; ++r) {
        QStringList printed;
        for (int c = 1; c <= t.impcolunas; ++c)
            printed << t.impcelula(c, r).toString();
        QCOMPARE(printed, gridRow(w.grid(), r + 1).mid(1));
        QCOMPARE(t.improtulo(r), t.impcelula(0, r).toString());
        if (printed[2] == QLatin1String("Refused")) {
            ++refused;
            QCOMPARE(printed.mid(3), (QStringList{"0", "0"}));
        } else {
            QCOMPARE(printed[2], QStringLiteral("Ingressed"));
            established += printed[4] != QLatin1String("0");
        }
    }
    QVERIFY(refused > 0 && refused < 40);
    QVERIFY(established > 0);
}

TAV_TEST_MAIN(TestPreencheTabela)
#include "tst_preenchetabela.moc"
