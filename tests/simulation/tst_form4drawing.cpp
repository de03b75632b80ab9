// The topic-4 page's picture of one consignment: the cells, the draws of the
// infested and inspected units, the verdict and the destination dots, first
// as computations on a scripted generator, then painted on the page's panel.
#include "common/errors.h"
#include "common/random.h"
#include "common/runtime.h"
#include "platform/controls.h"
#include "simulation/form4.h"
#include "simulation/form4drawing.h"
#include "testkit.h"
#include "testmain.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <memory>

using namespace tav;

namespace {

constexpr float kW = 4200.0f; // the design picture, in twips
constexpr float kH = 3165.0f;

// The draw that picks unit u of N.
float unitDraw(int u, int N) { return (float(u) - 0.5f) / float(N); }

QList<float> unitDraws(const QList<int>& units, int N)
{
    QList<float> out;
    for (int u : units)
        out << unitDraw(u, N);
    return out;
}

// Pixels of `img` near `centre` (in pixels) whose colour leans to `hue`.
int leaningPixels(const QImage& img, QPointF centre, double radius, const QColor& hue)
{
    int count = 0;
    const int r = int(radius) + 2;
    for (int y = int(centre.y()) - r; y <= int(centre.y()) + r; ++y)
        for (int x = int(centre.x()) - r; x <= int(centre.x()) + r; ++x) {
            if (!img.rect().contains(x, y))
                continue;
            const QColor c = img.pixelColor(x, y);
            const int lean = hue == Qt::red ? c.red() - std::max(c.green(), c.blue())
                                            : c.blue() - std::max(c.red(), c.green());
            if (lean > 90)
                ++count;
        }
    return count;
}

} // namespace

class TestForm4Drawing : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { setRng(nullptr); }

    void geometry_data();
    void geometry();
    void geometryWithoutUnits_data();
    void geometryWithoutUnits();
    void unitPositions_data();
    void unitPositions();
    void everyUnitOnAVisibleCell_data();
    void everyUnitOnAVisibleCell();
    void gridFollowsTheSize_data();
    void gridFollowsTheSize();
    void infestedCountOnCells_data();
    void infestedCountOnCells();
    void drawsSkipMarkedUnits();
    void inspectionCountsPlacedUnits();
    void moreInfestedThanUnitsOverflows();
    void fullSampleCannotGrowPastTheUnits();
    void verdictIsTheFirstInspectedInfestedUnit_data();
    void verdictIsTheFirstInspectedInfestedUnit();
    void destinationDotTakesYThenX();
    void workedExampleOnThePage_data();
    void workedExampleOnThePage();
    void moreInfestedThanUnitsRefusedOnThePage_data();
    void moreInfestedThanUnitsRefusedOnThePage();
    void largeConsignmentOnTheHiddenPanel();
};

void TestForm4Drawing::geometry_data()
{
    QTest::addColumn<int>("N");
    QTest::addColumn<int>("cols");
    QTest::addColumn<int>("shapeRows");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("verticals");
    QTest::addColumn<int>("horizontals");
    // The lines step by repeated single-precision additions while within the
    // picture, so the last one may fall just outside and is not drawn. A row
    // is added when the shape's cells leave the last units without one.
    QTest::newRow("100 units") << 100 << 12 << 9 << 9 << 13 << 9;
    QTest::newRow("1000 units") << 1000 << 36 << 27 << 28 << 36 << 29;
    QTest::newRow("5000 units") << 5000 << 81 << 61 << 62 << 82 << 63;
    QTest::newRow("one unit") << 1 << 1 << 1 << 2 << 2 << 3;
}

void TestForm4Drawing::geometry()
{
    QFETCH(int, N);
    QFETCH(int, cols);
    QFETCH(int, shapeRows);
    QFETCH(int, rows);
    QFETCH(int, verticals);
    QFETCH(int, horizontals);
    const ConsignmentGrid g = consignmentGrid(kW, kH, N);
    QCOMPARE(g.cols, cols);
    QCOMPARE(g.shapeRows, shapeRows);
    QCOMPARE(g.rows, rows);
    QCOMPARE(g.cells(), int64_t(cols) * shapeRows);
    QCOMPARE(g.cellW, kW / float(cols));
    QCOMPARE(g.cellH, kH / float(rows));
    QCOMPARE(g.verticals.size(), verticals);
    QCOMPARE(g.horizontals.size(), horizontals);
    QCOMPARE(g.verticals.first(), 0.0f);
    QVERIFY(g.verticals.last() <= kW);
    QVERIFY(g.horizontals.last() <= kH);
    QCOMPARE(g.infestedRadius(), g.cellH / 3.5f);
    QCOMPARE(g.inspectedRadius(), g.cellH / 2.2f);
}

void TestForm4Drawing::geometryWithoutUnits_data()
{
    // The page's checks keep these out of a run, but the boxes are read again
    // when the picture is drawn and may have been edited while the run yielded.
    QTest::addColumn<int>("N");
    QTest::addColumn<int>("error");
    QTest::newRow("no unit") << 0 << int(ErrDivisionByZero);
    QTest::newRow("negative") << -5 << int(ErrInvalidCall);
}

void TestForm4Drawing::geometryWithoutUnits()
{
    QFETCH(int, N);
    QFETCH(int, error);
    try {
        consignmentGrid(kW, kH, N);
        QFAIL("a grid without units");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), error);
    }
}

void TestForm4Drawing::unitPositions_data()
{
    QTest::addColumn<int>("N");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    // The top-left cell holds no unit; unit cols opens the second row.
    QTest::newRow("first unit") << 100 << 1 << 1 << 0;
    QTest::newRow("end of the first row") << 100 << 11 << 11 << 0;
    QTest::newRow("unit cols") << 100 << 12 << 0 << 1;
    QTest::newRow("last unit of 100") << 100 << 100 << 4 << 8;
    QTest::newRow("last cell of 5000's shape") << 5000 << 4940 << 80 << 60;
    QTest::newRow("first unit past 5000's shape") << 5000 << 4941 << 0 << 61;
    QTest::newRow("the single unit") << 1 << 1 << 0 << 1;
}

void TestForm4Drawing::unitPositions()
{
    QFETCH(int, N);
    QFETCH(int, unit);
    QFETCH(int, col);
    QFETCH(int, row);
    const ConsignmentGrid g = consignmentGrid(kW, kH, N);
    const QPointF c = g.centre(unit);
    QCOMPARE(float(c.x()), float(col) * g.cellW + g.cellW / 2);
    QCOMPARE(float(c.y()), float(row) * g.cellH + g.cellH / 2);
    QVERIFY(c.y() < kH);
}

// Whatever the size, every unit's cell lies within the grid and the
// picture, and a mark on the last unit is seen on the page.
void TestForm4Drawing::everyUnitOnAVisibleCell_data()
{
    QTest::addColumn<int>("N");
    QTest::newRow("one") << 1;
    QTest::newRow("ten") << 10;
    QTest::newRow("twenty-seven") << 27;
    QTest::newRow("hundred") << 100;
    QTest::newRow("163") << 163;
    QTest::newRow("thousand") << 1000;
    QTest::newRow("4999") << 4999;
    QTest::newRow("largest on the panel") << 5000;
    QTest::newRow("hidden panel's 10000") << 10000;
}

void TestForm4Drawing::everyUnitOnAVisibleCell()
{
    QFETCH(int, N);
    const ConsignmentGrid g = consignmentGrid(kW, kH, N);
    for (int u = 1; u <= N; ++u) {
        const QPointF c = g.centre(u);
        const int row = u / g.cols, col = u - row * g.cols;
        const bool inside = row < g.rows && col < g.cols && c.x() - g.cellW / 2 >= 0 && c.y() - g.cellH / 2 >= 0
                            && c.x() + g.cellW / 2 <= kW * 1.0001 && c.y() + g.cellH / 2 <= kH * 1.0001;
        if (!inside)
            QFAIL(qPrintable(QStringLiteral("unit %1 at %2, %3").arg(u).arg(c.x()).arg(c.y())));
    }
    if (N < 2)
        return;

    // The last unit infested and the one before it inspected, drawn on the
    // page: both marks in sight.
    test::ProgramFixture fx;
    Form4& f = formRef<Form4>();
    f.load();
    const double prevalence = 0.5 / double(g.cells()) + 1e-9; // one infested unit
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 0)->setText(QString::number(N));
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 1)->setText(QString::number(prevalence, 'f', 12));
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 2)->setText(QStringLiteral("1"));
    ScriptedRandom r(unitDraws({N, N - 1}, N));
    setRng(&r);
    IgnoreErrors h;
    QVERIFY(drawConsignment(f, h));
    QCOMPARE(fx.msgs.count(), 0);
    const QImage picture = f.ctl<PictureBox>(QStringLiteral("Picture1"))->image();
    const auto px = [](QPointF p) { return p / 15.0; };
    QVERIFY(leaningPixels(picture, px(g.centre(N)), g.infestedRadius() / 15, Qt::red) > 0);
    QVERIFY(leaningPixels(picture, px(g.centre(N - 1)), g.inspectedRadius() / 15, Qt::blue) > 0);
}

void TestForm4Drawing::gridFollowsTheSize_data()
{
    QTest::addColumn<QList<int>>("sizes");
    QTest::newRow("smaller after larger") << QList<int>{1000, 100};
    QTest::newRow("larger after smaller") << QList<int>{100, 5000};
    QTest::newRow("back to the first") << QList<int>{100, 1000, 100};
    QTest::newRow("one row more for the last unit") << QList<int>{971, 972};
}

// The grid laid down is the one of the size drawn, whatever was drawn
// before: its lines at the whole pixels nearest theirs, and nothing else.
void TestForm4Drawing::gridFollowsTheSize()
{
    if (qApp->devicePixelRatio() != 1.0)
        QSKIP("the reference is drawn one mark at a time at 1x; tst_screenratio checks the drawing at other ratios");
    QFETCH(QList<int>, sizes);
    test::ProgramFixture fx;
    Form4& f = formRef<Form4>();
    f.load();
    auto* box = f.ctl<PictureBox>(QStringLiteral("Picture1"));
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 1)->setText(QStringLiteral("0.00001")); // no infested unit
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 2)->setText(QStringLiteral("0"));       // and no sample
    ScriptedRandom r;
    setRng(&r);
    for (int N : sizes) {
        f.ctl<QLineEdit>(QStringLiteral("Text1"), 0)->setText(QString::number(N));
        IgnoreErrors h;
        QVERIFY(drawConsignment(f, h));
    }
    const ConsignmentGrid g = consignmentGrid(float(box->scaleWidth()), float(box->scaleHeight()), sizes.last());
    QImage expected(box->size(), QImage::Format_RGB32);
    expected.fill(box->backColor());
    {
        QPainter p(&expected);
        p.drawPixmap(0, 0, box->picture());
        p.setPen(QPen(QColor(200, 200, 200), 1));
        const auto at = [](double x, double y) { return QPoint(int(std::lround(x / 15)), int(std::lround(y / 15))); };
        for (float x : g.verticals)
            p.drawLine(at(x, 0), at(x, g.height));
        for (float y : g.horizontals)
            p.drawLine(at(0, y), at(g.width, y));
    }
    QCOMPARE(box->image(), expected);
    QCOMPARE(fx.msgs.count(), 0);
}

void TestForm4Drawing::infestedCountOnCells_data()
{
    QTest::addColumn<int>("N");
    QTest::addColumn<double>("prevalence");
    QTest::addColumn<int>("infested");
    QTest::newRow("108 cells at 0.1") << 100 << 0.1 << 11;
    QTest::newRow("one in a hundred") << 100 << 0.01 << 1;
    QTest::newRow("10 units, 12 cells") << 10 << 0.9 << 11;
    QTest::newRow("more than the units") << 100 << 0.95 << 103;
    QTest::newRow("5000 units") << 5000 << 0.1 << 494;
}

void TestForm4Drawing::infestedCountOnCells()
{
    QFETCH(int, N);
    QFETCH(double, prevalence);
    QFETCH(int, infested);
    QCOMPARE(infestedCount(consignmentGrid(kW, kH, N), prevalence), infested);
}

void TestForm4Drawing::drawsSkipMarkedUnits()
{
    ScriptedRandom r(unitDraws({3, 3, 7, 3, 7, 1}, 10));
    ConsignmentDraws d(10);
    d.startInfestation();
    QCOMPARE(d.placeInfested(r), 3);
    QCOMPARE(d.placeInfested(r), 7);
    QCOMPARE(d.placeInfested(r), 1);
    QCOMPARE(d.infested(), (QList<int32_t>{3, 7, 1}));
    // Every draw counts in the infestation, collisions included.
    QCOMPARE(d.counter(), 6);
    QVERIFY(d.isInfested(7));
    QVERIFY(!d.isInfested(2));
    QVERIFY(!d.isInspected(3));

    d.startInfestation();
    QCOMPARE(d.counter(), 0);
    QVERIFY(!d.isInfested(3));
}

void TestForm4Drawing::inspectionCountsPlacedUnits()
{
    ScriptedRandom r(unitDraws({4, 4, 4, 9, 2}, 10));
    ConsignmentDraws d(10);
    d.startInspection();
    QCOMPARE(d.placeInspected(r), 4);
    d.countInspected();
    QCOMPARE(d.placeInspected(r), 9);
    d.countInspected();
    QCOMPARE(d.placeInspected(r), 2);
    d.countInspected();
    QCOMPARE(r.draws, 5);
    QCOMPARE(r.reseeds, 0);
    // The inspection counts placed units, not draws.
    QCOMPARE(d.counter(), 3);
}

void TestForm4Drawing::moreInfestedThanUnitsOverflows()
{
    // 10 units with prevalence 0.9: 12 cells ask for 11 infested units. The
    // picture is refused before the first draw, saying why.
    ScriptedRandom r({0.5f});
    try {
        planConsignment(kW, kH, 10, 0.9, 0.0f, 137, 202, r);
        QFAIL("not refused");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), int(ErrInvalidCall));
        QVERIFY(e.description().contains(QStringLiteral("11 infested units in a consignment of 10 units")));
    }
    QCOMPARE(r.draws, 0);

    // The draws themselves stay bounded by the 16-bit counter.
    ScriptedRandom s(unitDraws({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 10));
    ConsignmentDraws d(10);
    d.startInfestation();
    for (int i = 0; i < 10; ++i)
        d.placeInfested(s);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, d.placeInfested(s));
    QCOMPARE(d.counter(), 32767);
    QCOMPARE(s.draws, 32768);
    QCOMPARE(d.infested().size(), 10);
}

void TestForm4Drawing::fullSampleCannotGrowPastTheUnits()
{
    ScriptedRandom r(unitDraws({1, 2, 3}, 3));
    ConsignmentDraws d(3);
    d.startInspection();
    for (int i = 0; i < 3; ++i)
        d.placeInspected(r);
    const int draws = r.draws;
    try {
        d.placeInspected(r);
        QFAIL("a fourth unit of three");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), int(ErrInvalidCall));
    }
    QCOMPARE(r.draws, draws);
}

void TestForm4Drawing::verdictIsTheFirstInspectedInfestedUnit_data()
{
    QTest::addColumn<QList<int>>("infested");
    QTest::addColumn<QList<int>>("inspected");
    QTest::addColumn<int>("firstHit");
    QTest::newRow("disjoint") << QList<int>{5, 9} << QList<int>{1, 2, 3} << 0;
    QTest::newRow("one hit") << QList<int>{5, 9} << QList<int>{9, 2} << 9;
    QTest::newRow("lowest of two hits") << QList<int>{9, 5} << QList<int>{9, 5} << 5;
    QTest::newRow("no sample") << QList<int>{5} << QList<int>{} << 0;
}

void TestForm4Drawing::verdictIsTheFirstInspectedInfestedUnit()
{
    QFETCH(QList<int>, infested);
    QFETCH(QList<int>, inspected);
    QFETCH(int, firstHit);
    ScriptedRandom r(unitDraws(infested + inspected, 10));
    ConsignmentDraws d(10);
    d.startInfestation();
    for (qsizetype i = 0; i < infested.size(); ++i)
        d.placeInfested(r);
    d.startInspection();
    for (qsizetype i = 0; i < inspected.size(); ++i)
        d.placeInspected(r);
    QCOMPARE(d.firstHit(), firstHit);
    QCOMPARE(verdictText(firstHit != 0), firstHit ? QStringLiteral("Refused !") : QStringLiteral("Ingressed !"));
    QCOMPARE(verdictColor(firstHit != 0), firstHit ? QColor(255, 0, 0) : QColor(16, 146, 16));
}

void TestForm4Drawing::destinationDotTakesYThenX()
{
    ScriptedRandom r({0.5f, 0.25f, 0.0f, 0.999f});
    QCOMPARE(destinationDot(r, 137, 202), QPointF(35, 102));
    QCOMPARE(destinationDot(r, 137, 202), QPointF(137, 1));
}

void TestForm4Drawing::workedExampleOnThePage_data()
{
    QTest::addColumn<QList<int>>("inspected");
    QTest::addColumn<bool>("refused");
    // 100 units at 0.1 with a sample of 10: 12 x 9 cells, 11 infested units
    // (1 to 11), 10 inspected ones.
    QTest::newRow("ingressed") << QList<int>{20, 21, 22, 23, 24, 25, 26, 27, 28, 29} << false;
    QTest::newRow("refused") << QList<int>{20, 21, 22, 23, 7, 25, 26, 27, 28, 29} << true;
}

void TestForm4Drawing::workedExampleOnThePage()
{
    QFETCH(QList<int>, inspected);
    QFETCH(bool, refused);
    test::ProgramFixture fx;
    const QList<int> infested{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    QList<float> draws = unitDraws(infested + inspected, 100);
    for (int i = 0; i < 11; ++i) // the dots: y then x
        draws << 0.05f * float(i) << 0.9f - 0.05f * float(i);

    ScriptedRandom plain(draws);
    const ConsignmentPlan plan = planConsignment(kW, kH, 100, 0.1, 10.0f, 137, 202, plain);
    QCOMPARE(plan.grid.cols, 12);
    QCOMPARE(plan.grid.rows, 9);
    QCOMPARE(plan.nInf, 11);
    QCOMPARE(plan.infested, (QList<int32_t>(infested.begin(), infested.end())));
    QCOMPARE(plan.inspected, (QList<int32_t>(inspected.begin(), inspected.end())));
    QCOMPARE(plan.refused, refused);
    QCOMPARE(plan.dots.size(), refused ? 0 : 11);

    Form4& f = formRef<Form4>();
    f.load();
    ScriptedRandom onPage(draws);
    setRng(&onPage);
    IgnoreErrors h;
    QVERIFY(drawConsignment(f, h));
    QCOMPARE(fx.msgs.count(), 0);
    auto* verdict = f.ctl<Label>(QStringLiteral("Label7"), 2);
    QCOMPARE(verdict->text(), refused ? QStringLiteral("Refused !") : QStringLiteral("Ingressed !"));
    QCOMPARE(verdict->foreColor(), refused ? QColor(255, 0, 0) : QColor(16, 146, 16));
    QCOMPARE(onPage.draws, plain.draws);

    // The marks are painted where the units lie (the drawing is kept on the
    // hidden panel).
    const QImage picture = f.ctl<PictureBox>(QStringLiteral("Picture1"))->image();
    const auto px = [](QPointF p) { return p / 15.0; };
    for (int u : infested)
        QVERIFY2(leaningPixels(picture, px(plan.grid.centre(u)), plan.grid.infestedRadius() / 15, Qt::red) > 0,
                 qPrintable(QString::number(u)));
    for (int u : inspected)
        QVERIFY2(leaningPixels(picture, px(plan.grid.centre(u)), plan.grid.inspectedRadius() / 15, Qt::blue) > 0,
                 qPrintable(QString::number(u)));
    QCOMPARE(leaningPixels(picture, px(plan.grid.centre(50)), plan.grid.inspectedRadius() / 15, Qt::red), 0);

    auto* destination = f.ctl<PictureBox>(QStringLiteral("Picture2"));
    const QImage dest = destination->image();
    int dotted = 0;
    for (const QPointF& d : plan.dots)
        dotted += leaningPixels(dest, d, 1, Qt::red) > 0;
    QCOMPARE(dotted, plan.dots.size());
    if (refused) {
        destination->cls();
        QCOMPARE(destination->image(), dest);
    }
}

void TestForm4Drawing::moreInfestedThanUnitsRefusedOnThePage_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("prevalence");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("why");
    QTest::newRow("10 units at 0.9") << "10" << "0.9" << int(IdAbort) << "11 infested units in a consignment of 10";
    QTest::newRow("100 units at 0.95") << "100" << "0.95" << int(IdAbort)
                                       << "103 infested units in a consignment of 100";
    QTest::newRow("ignored") << "10" << "0.99" << int(IdIgnore) << "12 infested units in a consignment of 10";
}

// More infested units than units: one box under the page's title, before
// any draw, whatever the answer; the picture stays clean.
void TestForm4Drawing::moreInfestedThanUnitsRefusedOnThePage()
{
    QFETCH(QString, size);
    QFETCH(QString, prevalence);
    QFETCH(int, answer);
    QFETCH(QString, why);
    test::ProgramFixture fx;
    Form4& f = formRef<Form4>();
    f.load();
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 0)->setText(size);
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 1)->setText(prevalence);
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 2)->setText(QStringLiteral("2"));
    ScriptedRandom r(unitDraws({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 10));
    setRng(&r);
    fx.msgs.answer(answer);
    PictureBox* picture = f.ctl<PictureBox>(QStringLiteral("Picture1"));
    picture->cls();
    const QImage clean = picture->image();
    TrapErrors t(QStringLiteral("Unexpected error. Try again with new inputs"), QStringLiteral("Error on simulation Form4"));
    QVERIFY(!drawConsignment(f, t));
    QCOMPARE(fx.msgs.count(), 1);
    QCOMPARE(fx.msgs.last().title, QStringLiteral("Error on simulation Form4"));
    QVERIFY2(fx.msgs.last().text.contains(why), qPrintable(fx.msgs.last().text));
    QCOMPARE(r.draws, 0);
    QCOMPARE(picture->image(), clean); // not even the grid lines
    QCOMPARE(f.ctl<Label>(QStringLiteral("Label7"), 2)->text(), QStringLiteral("Consignment"));
}

void TestForm4Drawing::largeConsignmentOnTheHiddenPanel()
{
    // Beyond the engine's units the hidden panel still draws, without a flag
    // per unit and without a line per cell.
    test::ProgramFixture fx;
    Form4& f = formRef<Form4>();
    f.load();
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 0)->setText(QStringLiteral("2000000000"));
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 1)->setText(QStringLiteral("0.00001"));
    f.ctl<QLineEdit>(QStringLiteral("Text1"), 2)->setText(QStringLiteral("300"));
    LcgRandom r(777);
    setRng(&r);
    IgnoreErrors h;
    QVERIFY(drawConsignment(f, h));
    QCOMPARE(fx.msgs.count(), 0);
    QVERIFY(f.ctl<Label>(QStringLiteral("Label7"), 2)->text().endsWith(QLatin1Char('!')));
}

TAV_TEST_MAIN(TestForm4Drawing)
#include "tst_form4drawing.moc"
