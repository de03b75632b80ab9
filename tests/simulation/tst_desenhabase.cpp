// The consignment drawing of the results window: its grid, the units it
// marks, the bound on the sample's repeated draws and what it paints.
#include "common/clock.h"
#include "common/messages.h"
#include "common/random.h"
#include "common/runtime.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "simulation/desenhabase.h"
#include "simulation/fresultsim.h"
#include "testkit.h"
#include "testmain.h"

#include <QApplication>
#include <QPainter>
#include <QTest>
#include <cmath>
#include <functional>

using namespace tav;

namespace {

constexpr float kW = 3390, kH = 3030; // the consignment picture's design size

// Draws that pick the given units of a consignment of `pop`.
QList<float> unitsDraws(std::initializer_list<int> units, int pop)
{
    QList<float> out;
    for (int u : units)
        out << (float(u) - 0.5f) / float(pop);
    return out;
}

int countPixels(PictureBox* p, const std::function<bool(QColor)>& match)
{
    const QImage img = p->image();
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (match(img.pixelColor(x, y)))
                ++n;
    return n;
}

bool reddish(QColor c) { return c.red() > 180 && c.green() < 110 && c.blue() < 110; }
bool bluish(QColor c) { return c.blue() > 180 && c.red() < 110 && c.green() < 110; }
bool gridGrey(QColor c) { return qAbs(c.red() - 200) < 6 && qAbs(c.green() - 200) < 6 && qAbs(c.blue() - 200) < 6; }

} // namespace

class TestDesenhabase : public QObject {
    Q_OBJECT

    FResultSim* win = nullptr;
    PictureBox* pic(const char* name) { return win->ctl<PictureBox>(QString::fromLatin1(name)); }
    Label* heading(int i) { return win->ctl<Label>(QStringLiteral("Label4"), i); }

private slots:
    void init() { setRng(nullptr); }
    void cleanup() { setRng(nullptr); }

    void geometry_data()
    {
        QTest::addColumn<int>("pop");
        QTest::addColumn<int>("cols");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("s");
        QTest::addColumn<int>("t");
        QTest::addColumn<int>("lastVertical");
        QTest::addColumn<int>("lastHorizontal");
        QTest::newRow("100 units") << 100 << 11 << 10 << 308 << 303 << 3388 << 3030;
        QTest::newRow("27 units") << 27 << 5 << 4 << 678 << 758 << 3390 << 2274;
        QTest::newRow("largest") << 5000 << 75 << 67 << 45 << 45 << 3375 << 3015;
        QTest::newRow("one unit") << 1 << 1 << 1 << 3390 << 3030 << 3390 << 3030;
    }
    void geometry()
    {
        QFETCH(int, pop);
        QFETCH(int, cols);
        QFETCH(int, rows);
        QFETCH(int, s);
        QFETCH(int, t);
        QFETCH(int, lastVertical);
        QFETCH(int, lastHorizontal);
        const BaseGeometry g = baseGeometry(kW, kH, pop);
        QCOMPARE(g.cols, cols);
        QCOMPARE(g.rows, rows);
        QCOMPARE(g.s, s);
        QCOMPARE(g.t, t);
        QCOMPARE(g.verticals().first(), 0);
        QCOMPARE(g.verticals().last(), lastVertical);
        QCOMPARE(g.horizontals().last(), lastHorizontal);
        // The cells use the exact sizes, not the line steps.
        QCOMPARE(g.cw, kW / float(cols));
        QCOMPARE(g.ch, kH / float(rows));
    }

    void cellsOfUnits()
    {
        const BaseGeometry g = baseGeometry(kW, kH, 27);
        // Units count from 1: the first cell stays empty, unit 1 is the second.
        QCOMPARE(g.centre(1), QPointF(g.cw * 1.5, g.ch / 2));
        QCOMPARE(g.centre(5), QPointF(g.cw / 2, g.ch * 1.5));
        QVERIFY(g.centre(19).y() < kH);
        // Rows 4 and 5 lie below the picture.
        QVERIFY(g.centre(20).y() > kH);
        QVERIFY(g.centre(27).y() > kH);
    }

    void consignmentBelowOneUnitRaises_data()
    {
        QTest::addColumn<int>("pop");
        QTest::newRow("none") << 0;
        QTest::newRow("negative") << -4;
    }
    void consignmentBelowOneUnitRaises()
    {
        QFETCH(int, pop);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, baseGeometry(kW, kH, pop));
    }

    void infestedCellsCountTheGrid_data()
    {
        QTest::addColumn<int>("pop");
        QTest::addColumn<float>("inf");
        QTest::addColumn<float>("cells");
        QTest::newRow("110 cells at 0.1") << 100 << 0.1f << 11.0f;
        QTest::newRow("4 cells for 3 units") << 3 << 0.9f << 4.0f;
        QTest::newRow("none") << 100 << 0.0f << 0.0f;
        QTest::newRow("largest") << 5000 << 0.9f << 4523.0f;
    }
    void infestedCellsCountTheGrid()
    {
        QFETCH(int, pop);
        QFETCH(float, inf);
        QFETCH(float, cells);
        QCOMPARE(infestedCells(baseGeometry(kW, kH, pop), inf), cells);
    }

    // Draws in the order of the drawing: infested units (repeats skipped),
    // then the sample (repeats counted), with a reseed before each.
    void marksFromScriptedDraws_data()
    {
        QTest::addColumn<QList<float>>("draws");
        QTest::addColumn<QList<int>>("infested");
        QTest::addColumn<QList<int>>("sampled");
        QTest::addColumn<int>("attempts");
        QTest::addColumn<bool>("refused");
        // 10 units: a 3 x 3 grid, 0.2 of it is 2 infested cells.
        QTest::newRow("sample hits an infested unit")
            << (unitsDraws({1, 1, 4}, 10) + unitsDraws({6, 6, 1}, 10)) << QList<int>{1, 4} << QList<int>{6, 1}
            << 1 << true;
        QTest::newRow("sample misses") << (unitsDraws({1, 4}, 10) + unitsDraws({6, 6, 6, 10}, 10))
                                       << QList<int>{1, 4} << QList<int>{6, 10} << 2 << false;
    }
    void marksFromScriptedDraws()
    {
        QFETCH(QList<float>, draws);
        QFETCH(QList<int>, infested);
        QFETCH(QList<int>, sampled);
        QFETCH(int, attempts);
        QFETCH(bool, refused);
        ScriptedRandom r(draws);
        const BasePlan plan = planBase(kW, kH, 10, 0.2f, 2, r);
        QVERIFY(plan.drawn);
        QCOMPARE(plan.ninfestadas, 2.0f);
        QCOMPARE(plan.infested, infested);
        QCOMPARE(plan.sampled, sampled);
        QCOMPARE(plan.attempts, attempts);
        QCOMPARE(plan.refused, refused);
        QVERIFY(!plan.sampleFailed);
        QCOMPARE(r.reseeds, 2);
        QCOMPARE(r.draws, int(draws.size()));
    }

    void limitsDrawNothing_data()
    {
        QTest::addColumn<int>("pop");
        QTest::addColumn<float>("inf");
        QTest::addColumn<bool>("drawn");
        QTest::newRow("prevalence 0.9") << 100 << 0.9f << true;
        QTest::newRow("prevalence 0.9001") << 100 << 0.9001f << false;
        QTest::newRow("5000 units") << 5000 << 0.1f << true;
        QTest::newRow("5001 units") << 5001 << 0.1f << false;
    }
    void limitsDrawNothing()
    {
        QFETCH(int, pop);
        QFETCH(float, inf);
        QFETCH(bool, drawn);
        LcgRandom r;
        const BasePlan plan = planBase(kW, kH, pop, inf, 5, r);
        QCOMPARE(plan.drawn, drawn);
        if (!drawn) {
            QCOMPARE(r.state(), LcgRandom().state());
            QVERIFY(plan.infested.isEmpty());
        }
    }

    // A grid with more cells than units: the placement ends with every unit
    // infested instead of drawing for ever.
    void moreInfestedCellsThanUnits_data()
    {
        QTest::addColumn<int>("pop");
        QTest::addColumn<float>("inf");
        QTest::newRow("3 units") << 3 << 0.9f;
        QTest::newRow("7 units") << 7 << 0.9f;
        QTest::newRow("163 units") << 163 << 0.9f;
    }
    void moreInfestedCellsThanUnits()
    {
        QFETCH(int, pop);
        QFETCH(float, inf);
        LcgRandom r;
        const BasePlan plan = planBase(kW, kH, pop, inf, 1, r);
        QVERIFY(plan.ninfestadas > float(pop));
        QCOMPARE(int(plan.infested.size()), pop);
        QVERIFY(plan.refused);
    }

    void sampleBound_data()
    {
        QTest::addColumn<int>("pop");
        QTest::addColumn<int>("samp");
        QTest::addColumn<bool>("failed");
        QTest::newRow("one more than the consignment") << 10 << 11 << true;
        QTest::newRow("the whole consignment") << 10 << 10 << false;
        QTest::newRow("largest, one short") << 5000 << 4999 << false;
    }
    void sampleBound()
    {
        QFETCH(int, pop);
        QFETCH(int, samp);
        QFETCH(bool, failed);
        LcgRandom r;
        const BasePlan plan = planBase(kW, kH, pop, 0.1f, samp, r);
        QCOMPARE(plan.sampleFailed, failed);
        if (failed) {
            QCOMPARE(plan.attempts, kMaxSampleAttempts + 1);
            QCOMPARE(int(plan.sampled.size()), pop);
        } else {
            QCOMPARE(int(plan.sampled.size()), samp);
            QVERIFY(plan.attempts <= kMaxSampleAttempts);
        }
    }

    void dotCounts_data()
    {
        QTest::addColumn<float>("n");
        QTest::addColumn<float>("pr1");
        QTest::addColumn<float>("pr2");
        QTest::addColumn<int>("host");
        QTest::addColumn<int>("established");
        QTest::newRow("5.5 and 0.55") << 11.0f << 0.5f << 0.1f << 6 << 1;
        QTest::newRow("4.5 rounds to even") << 9.0f << 0.5f << 1.0f << 4 << 4;
        QTest::newRow("none") << 0.0f << 0.5f << 0.5f << 0 << 0;
    }
    void dotCounts()
    {
        QFETCH(float, n);
        QFETCH(float, pr1);
        QFETCH(float, pr2);
        QFETCH(int, host);
        QFETCH(int, established);
        QCOMPARE(hostDots(n, pr1), host);
        QCOMPARE(establishedDots(n, pr1, pr2), established);
    }

    void dotPositions()
    {
        ScriptedRandom r({0.0f, 0.999f, 0.5f, 0.25f});
        // y is drawn first.
        QCOMPARE(dotAt(r, 137, 202), QPoint(137, 1));
        QCOMPARE(dotAt(r, 137, 202), QPoint(35, 102));
    }

    // ---- the painting on the results window ----

    void refusedConsignment()
    {
        test::ProgramFixture fx;
        win = &formRef<FResultSim>();
        ScriptedRandom r(unitsDraws({1, 4}, 10) + unitsDraws({1}, 10));
        setRng(&r);
        heading(1)->setForeColor(Qt::red);
        win->desenhabase(0, 10, 0.2f, 1, 0.5f, 0.5f);
        QCOMPARE(heading(3)->text(), QStringLiteral("Refused !"));
        QCOMPARE(heading(3)->foreColor(), QColor(255, 255, 255));
        QCOMPARE(heading(1)->foreColor(), QColor(255, 255, 255));
        QCOMPARE(heading(2)->foreColor(), QColor(255, 255, 255));
        QVERIFY(countPixels(pic("Picture1"), gridGrey) > 0);
        QVERIFY(countPixels(pic("Picture1"), reddish) > 0);
        QVERIFY(countPixels(pic("Picture1"), bluish) > 0);
        for (const char* name : {"Picture2", "Picture3", "Picture4"})
            QCOMPARE(countPixels(pic(name), reddish), 0);
        QCOMPARE(win->ninfestadas(), 2.0f);
        QCOMPARE(win->widget()->cursor().shape(), Qt::ArrowCursor);

        // The host redraw after a refusal only clears its picture.
        pic("Picture2")->circle(10, 10, 3, Qt::red);
        win->desenhabase(3, 10, 0.2f, 1, 0.9f, 0.9f);
        QCOMPARE(countPixels(pic("Picture2"), reddish), 0);
        QCOMPARE(heading(1)->foreColor(), QColor(255, 255, 255));
    }

    void ingressedConsignment()
    {
        test::ProgramFixture fx;
        win = &formRef<FResultSim>();
        // 100 units at 0.1: 11 infested cells, units 1..11; a sample of 5
        // beside them; then the dots.
        ScriptedRandom r(unitsDraws({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 100) + unitsDraws({50, 51, 52, 53, 54}, 100)
                         + QList<float>{0.3f, 0.6f});
        setRng(&r);
        win->desenhabase(0, 100, 0.1f, 5, 0.5f, 0.1f);
        QCOMPARE(heading(3)->text(), QStringLiteral("Ingressed !"));
        QCOMPARE(heading(3)->foreColor(), QColor(255, 0, 0));
        QCOMPARE(win->ninfestadas(), 11.0f);
        // 5.5 pests reach a host: more than one; 0.55 establish: not.
        QCOMPARE(heading(1)->foreColor(), QColor(255, 0, 0));
        QCOMPARE(heading(2)->foreColor(), QColor(255, 255, 255));
        for (const char* name : {"Picture2", "Picture3", "Picture4"})
            QVERIFY2(countPixels(pic(name), reddish) > 0, name);
        // 11 + 6 + 1 dots of two draws each, 16 units, 4 reseeds.
        QCOMPARE(r.draws, 16 + 2 * (11 + 6 + 1));
        QCOMPARE(r.reseeds, 5);

        // The establishment redraw leaves the host picture alone.
        const QImage host = pic("Picture2")->image();
        win->desenhabase(4, 100, 0.1f, 5, 0.5f, 0.0f);
        QCOMPARE(countPixels(pic("Picture3"), reddish), 0);
        QCOMPARE(pic("Picture2")->image(), host);

        // A drawing refused by the limits clears only the consignment.
        const QImage ingressed = pic("Picture4")->image();
        win->desenhabase(0, 5001, 0.1f, 5, 0.5f, 0.1f);
        QCOMPARE(countPixels(pic("Picture1"), gridGrey), 0);
        QCOMPARE(pic("Picture4")->image(), ingressed);
        QCOMPARE(heading(3)->text(), QStringLiteral("Ingressed !"));
    }

    void sampleTooLargeMessage()
    {
        test::ProgramFixture fx;
        win = &formRef<FResultSim>();
        for (const char* name : {"Picture1", "Picture2", "Picture3", "Picture4"})
            pic(name)->circle(20, 20, 5, Qt::red);
        win->desenhabase(0, 10, 0.2f, 11, 0.5f, 0.5f);
        QCOMPARE(fx.msgs.count(), 1);
        QCOMPARE(fx.msgs.last().text,
                 QStringLiteral("Sample size too large or too close to the consignmento size. It is not possible "
                                "to show graphical representation."));
        QCOMPARE(fx.msgs.last().style, int(MbCritical));
        QCOMPARE(fx.msgs.last().title, QStringLiteral("Warning"));
        for (const char* name : {"Picture1", "Picture2", "Picture3", "Picture4"}) {
            QCOMPARE(countPixels(pic(name), reddish), 0);
            QCOMPARE(countPixels(pic(name), gridGrey), 0);
        }
        // The verdict stays as it was.
        QCOMPARE(heading(3)->text(), QStringLiteral("Consignment"));
    }

    // Every pixel the grid changes is the grid colour, in lines one pixel
    // wide on the pixels nearest theirs, also after a grid of another size.
    void gridLinesAreCrisp_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("pop");
        QTest::addColumn<int>("verticals");
        QTest::addColumn<int>("horizontals");
        // 11 x 10 cells, steps of 308 and 303 twips: the last lines (3388
        // and 3030, 226 and 202 pixels) fall on the edge, outside.
        QTest::newRow("100 units") << 0 << 100 << 11 << 10;
        QTest::newRow("100 after 27") << 27 << 100 << 11 << 10;
        // 5 x 4 cells, steps of 678 and 758 twips, all within.
        QTest::newRow("27 after 100") << 100 << 27 << 5 << 4;
    }
    void gridLinesAreCrisp()
    {
        QFETCH(int, before);
        QFETCH(int, pop);
        QFETCH(int, verticals);
        QFETCH(int, horizontals);
        test::ProgramFixture fx;
        win = &formRef<FResultSim>();
        LcgRandom r(3);
        setRng(&r);
        if (before > 0)
            win->desenhabase(0, before, 0.1f, 2, 0.5f, 0.5f);
        // No infested cell and no sample: the grid alone.
        win->desenhabase(0, pop, 0.0f, 0, 0.5f, 0.5f);
        PictureBox* box = pic("Picture1");
        // In device pixels: each line from the device pixel its whole pixel
        // starts at, all of one width.
        const QImage drawn = test::shownAtDevice(box);
        const QImage back = test::shownAtDevice(box, false);
        const qreal ratio = drawn.devicePixelRatio();
        const int width = pictures::deviceLineWidth(ratio);
        const BaseGeometry g = baseGeometry(float(box->scaleWidth()), float(box->scaleHeight()), pop);
        const auto lines = [&](bool vertical) { return test::linesAcross(drawn, back, QColor(200, 200, 200), vertical); };
        QList<int> expectedVerticals, expectedHorizontals;
        int inVertical = 0, inHorizontal = 0;
        for (int x : g.verticals())
            if (std::lround(x / 15.0) < box->width()) {
                ++inVertical;
                for (int k = 0; k < width; ++k)
                    expectedVerticals << int(std::lround(std::lround(x / 15.0) * ratio)) + k;
            }
        for (int y : g.horizontals())
            if (std::lround(y / 15.0) < box->height()) {
                ++inHorizontal;
                for (int k = 0; k < width; ++k)
                    expectedHorizontals << int(std::lround(std::lround(y / 15.0) * ratio)) + k;
            }
        QCOMPARE(inVertical, verticals);
        QCOMPARE(inHorizontal, horizontals);
        QCOMPARE(lines(true), expectedVerticals);
        QCOMPARE(lines(false), expectedHorizontals);
        QCOMPARE(fx.msgs.count(), 0);
    }

    // The consignment picture is the grid and the rings of the plan, each
    // ring drawn afresh and laid on the nearest whole pixel, also right after
    // a drawing of another size, whose rings were of other sizes.
    void consignmentShowsThePlan_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("pop");
        QTest::addColumn<float>("inf");
        QTest::addColumn<int>("samp");
        QTest::newRow("100 units") << 0 << 100 << 0.1f << 10;
        QTest::newRow("largest after 100") << 100 << 5000 << 0.9f << 500;
        QTest::newRow("100 after the largest") << 5000 << 100 << 0.3f << 20;
        QTest::newRow("4900 after 5000") << 5000 << 4900 << 0.5f << 100;
    }
    void consignmentShowsThePlan()
    {
        if (qApp->devicePixelRatio() != 1.0)
            QSKIP("the reference is drawn one mark at a time at 1x; tst_screenratio checks the drawing at other ratios");
        QFETCH(int, before);
        QFETCH(int, pop);
        QFETCH(float, inf);
        QFETCH(int, samp);
        struct StillClock : Clock {
            double timer() const override { return 12345.25; }
        } still;
        setClock(&still);
        test::ProgramFixture fx;
        win = &formRef<FResultSim>();
        LcgRandom first(9), onPage(31), planned(31);
        setRng(&first);
        if (before > 0)
            win->desenhabase(0, before, 0.5f, 10, 0.5f, 0.5f);
        setRng(&onPage);
        win->desenhabase(0, pop, inf, samp, 0.5f, 0.5f);
        setRng(nullptr);
        PictureBox* box = pic("Picture1");
        const BasePlan plan = planBase(float(box->scaleWidth()), float(box->scaleHeight()), pop, inf, samp, planned);
        setClock(nullptr);
        QVERIFY(plan.drawn && !plan.sampleFailed);

        const BaseGeometry& g = plan.geometry;
        const auto layer = [&] {
            QImage img(box->size(), QImage::Format_ARGB32_Premultiplied);
            img.fill(Qt::transparent);
            return img;
        };
        QImage grid = layer(), rings = layer(), drawing = layer();
        {
            QPainter p(&grid);
            p.setPen(QPen(QColor(200, 200, 200), 1));
            const auto at = [](double x, double y) { return QPoint(int(std::lround(x / 15)), int(std::lround(y / 15))); };
            for (int x : g.verticals())
                p.drawLine(at(x, 0), at(x, g.H));
            for (int y : g.horizontals())
                p.drawLine(at(0, y), at(g.W, y));
        }
        {
            QPainter p(&rings);
            const auto ring = [&](int u, double radius, const QColor& color) {
                const double r = radius / 15;
                const int side = int(std::ceil(2 * (r + box->drawWidth()))) + 2;
                QImage sprite(side, side, QImage::Format_ARGB32_Premultiplied);
                sprite.fill(Qt::transparent);
                QPainter sp(&sprite);
                sp.setRenderHint(QPainter::Antialiasing);
                sp.setPen(QPen(color, box->drawWidth()));
                sp.drawEllipse(QPointF(side / 2.0, side / 2.0), r, r);
                sp.end();
                const QPointF c = g.centre(u) / 15;
                p.drawImage(QPointF(std::round(c.x() - side / 2.0), std::round(c.y() - side / 2.0)), sprite);
            };
            for (int u : plan.infested)
                ring(u, g.ch / 3.5f, QColor(255, 0, 0));
            for (int u : plan.sampled)
                ring(u, g.ch / 2.2f, QColor(0, 0, 255));
        }
        {
            QPainter p(&drawing);
            p.drawImage(0, 0, grid);
            p.drawImage(0, 0, rings);
        }
        QImage expected(box->size(), QImage::Format_RGB32);
        expected.fill(box->backColor());
        {
            QPainter p(&expected);
            p.drawPixmap(0, 0, box->picture());
            p.drawImage(0, 0, drawing);
        }
        QCOMPARE(box->image(), expected);
    }

    void errorEndsTheDrawing()
    {
        test::ProgramFixture fx;
        win = &formRef<FResultSim>();
        pic("Picture1")->circle(20, 20, 5, Qt::red);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, win->desenhabase(0, 0, 0.1f, 1, 0.5f, 0.5f));
        QCOMPARE(countPixels(pic("Picture1"), reddish), 0);
        // The pointer comes back even then.
        QCOMPARE(win->widget()->cursor().shape(), Qt::ArrowCursor);
    }
};

TAV_TEST_MAIN(TestDesenhabase)
#include "tst_desenhabase.moc"
