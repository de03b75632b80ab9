// The drawing of one consignment as computed, before anything is painted:
// what each stage draws, where, from which draws, and the running mean.

#include "common/random.h"
#include "measures/animation.h"
#include "testmain.h"

#include <QTest>

using namespace tav;
using namespace tav::measures;

namespace {

AnimationParams params(int flag, int32_t pop, float inf, int32_t samp, float pr1, float pr2, float effic,
                       bool timerOn = false, float cvar = 0)
{
    AnimationParams p;
    p.flag = flag;
    p.pop = pop;
    p.inf = inf;
    p.samp = samp;
    p.pr1 = pr1;
    p.pr2 = pr2;
    p.effic = effic;
    p.timerOn = timerOn;
    p.cvar = cvar;
    return p;
}

QList<DrawOp> opsOn(const DrawingPlan& plan, Pic pic, DrawOp::Kind kind)
{
    QList<DrawOp> out;
    for (const DrawOp& op : plan.ops)
        if (op.pic == pic && op.kind == kind)
            out.append(op);
    return out;
}

bool clears(const DrawingPlan& plan, Pic pic) { return !opsOn(plan, pic, DrawOp::Clear).isEmpty(); }

// Draws for the eleven-unit fixture: field (6 points) and after measure
// (2 circles) at the middle, infested units 1 and 2 (unit 1 drawn twice).
QList<float> smallConsignmentStart()
{
    QList<float> d;
    for (int i = 0; i < 12 + 4; ++i)
        d << 0.5f;
    d << 0.0f << 0.0f << 0.1f;
    return d;
}

} // namespace

class TestAnimation : public QObject {
    Q_OBJECT

private slots:
    // The load values: what each stage draws.
    void loadValues()
    {
        LcgRandom r(12345);
        AnimationState st;
        const DrawingPlan plan = planDrawing(params(0, 4000, 0.3f, 25, 0.2f, 0.2f, 0.1f), AnimationGeometry(), st, r);
        QCOMPARE(plan.label1, QStringLiteral("0.3000"));
        QCOMPARE(plan.fieldPoints, 1200);
        QCOMPARE(plan.afterCircles, 120);
        QCOMPARE(plan.columns, 82);
        QCOMPARE(plan.rows, 49); // 48 for the picture's shape, one more for units 3936 to 4000
        QCOMPARE(plan.infestedUnits, 120);
        QCOMPARE(plan.sampledUnits, 25);
        // Grid lines every 41 twips, up to 3390 across and 2000 down.
        const QList<DrawOp> lines = opsOn(plan, Pic::Consignment, DrawOp::Line);
        int vertical = 0, horizontal = 0;
        for (const DrawOp& l : lines) {
            QCOMPARE(l.color, QColor(200, 200, 200));
            if (l.x == l.x2) {
                QCOMPARE(l.x, 41.0 * vertical++);
            } else {
                QCOMPARE(l.y, 41.0 * horizontal++);
            }
        }
        QCOMPARE(vertical, 83);
        QCOMPARE(horizontal, 49);
        if (plan.refused) {
            QCOMPARE(st.ninfest, 0.0f);
            QCOMPARE(plan.shelfCircles, 0);
        } else {
            QCOMPARE(st.ninfest, 120.0f);
            QCOMPARE(plan.shelfCircles, 120);
            QCOMPARE(plan.hostCircles, 24);
            QCOMPARE(plan.establishedCircles, 5); // nint(4.8)
        }
    }

    // Eleven units: 4 columns by 3 rows; every draw placed as stated.
    void smallConsignmentAccepted()
    {
        QList<float> d = smallConsignmentStart();
        d << 0.5f << 0.95f;            // sample: units 6 and 11
        d << 0.25f << 0.75f << 0.25f << 0.75f; // shelf
        d << 0.0f << 0.99f;            // host
        ScriptedRandom r(d);
        AnimationState st;
        AnimationGeometry g;
        const DrawingPlan plan = planDrawing(params(0, 11, 0.5f, 2, 0.5f, 0.5f, 0.4f), g, st, r);
        QCOMPARE(plan.fieldPoints, 6); // nint(5.5) goes to the even 6
        QCOMPARE(plan.afterCircles, 2);
        QCOMPARE(plan.columns, 4);
        QCOMPARE(plan.rows, 3);
        QVERIFY(!plan.refused);
        QCOMPARE(st.ninfest, 2.0f);
        QCOMPARE(plan.hostCircles, 1);
        QCOMPARE(plan.establishedCircles, 0); // nint(0.5) goes to the even 0
        QCOMPARE(r.draws, 12 + 4 + 3 + 2 + 4 + 2);
        QCOMPARE(r.reseeds, 7);

        // A random point: vertical draw first, Int(size x draw + 1).
        const DrawOp first = opsOn(plan, Pic::Field, DrawOp::Point).first();
        QCOMPARE(first.y, std::floor(g.fieldH * 0.5 + 1));
        QCOMPARE(first.x, std::floor(g.fieldW * 0.5 + 1));
        QCOMPARE(first.color, QColor(255, 0, 0));
        const DrawOp host = opsOn(plan, Pic::Host, DrawOp::Circle).first();
        QCOMPARE(host.y, 1.0);
        QCOMPARE(host.x, std::floor(g.hostW * 0.99f + 1));

        // Infested units 1 and 2 in red, then sampled 6 and 11 in blue; unit
        // 11 lies in row 2, the last.
        const QList<DrawOp> circles = opsOn(plan, Pic::Consignment, DrawOp::Circle);
        QCOMPARE(circles.size(), 4);
        const double cw = 3390.0f / 4, ch = 2000.0f / 3;
        QCOMPARE(circles[0].color, QColor(255, 0, 0));
        QCOMPARE(circles[0].x, 1 * cw + cw / 2);
        QCOMPARE(circles[0].y, ch / 2);
        QVERIFY(qAbs(circles[0].radius - ch / 3.5) < 1e-3);
        QCOMPARE(circles[1].x, 2 * cw + cw / 2);
        QCOMPARE(circles[2].color, QColor(0, 0, 255));
        QCOMPARE(circles[2].width, 1);
        QCOMPARE(circles[2].x, 2 * cw + cw / 2); // unit 6: row 1, column 2
        QCOMPARE(circles[2].y, ch + ch / 2);
        QVERIFY(qAbs(circles[2].radius - ch / 2.2) < 1e-3);
        QCOMPARE(circles[3].y, 2 * ch + ch / 2);
        QVERIFY(circles[3].y < 2000);
    }

    // Whatever the size, every unit drawn (infested or sampled) lies on a
    // cell of the grid inside the picture.
    void everyUnitOnAVisibleCell_data()
    {
        QTest::addColumn<int>("units");
        QTest::addColumn<int>("sample");
        QTest::newRow("load size") << 4000 << 3600;
        QTest::newRow("eleven") << 11 << 9;
        QTest::newRow("twelve") << 12 << 10;
        QTest::newRow("twenty-seven") << 27 << 24;
        QTest::newRow("largest") << 10000 << 9000;
        QTest::newRow("one") << 1 << 1;
    }
    void everyUnitOnAVisibleCell()
    {
        QFETCH(int, units);
        QFETCH(int, sample);
        LcgRandom r(31);
        AnimationState st;
        const AnimationGeometry g;
        // A prevalence of 0.9 after a measure that lets every pest through.
        const DrawingPlan plan = planDrawing(params(0, units, 0.9f, sample, 0.5f, 0.5f, 1.0f), g, st, r);
        QVERIFY(!plan.redrawLimit);
        const double cw = g.consignmentW / plan.columns, ch = g.consignmentH / plan.rows;
        const QList<DrawOp> circles = opsOn(plan, Pic::Consignment, DrawOp::Circle);
        QCOMPARE(circles.size(), plan.infestedUnits + plan.sampledUnits);
        for (const DrawOp& c : circles) {
            const int col = int(c.x / cw), row = int(c.y / ch);
            QVERIFY2(col >= 0 && col < plan.columns && row >= 0 && row < plan.rows,
                     qPrintable(QStringLiteral("unit at %1, %2").arg(c.x).arg(c.y)));
        }
    }

    // A sampled infested unit refuses the consignment: black, thicker, and
    // shelf, host and establishment are left empty.
    void smallConsignmentRefused()
    {
        QList<float> d = smallConsignmentStart();
        d << 0.0f << 0.5f; // sample: unit 1 (infested) and unit 6
        ScriptedRandom r(d);
        AnimationState st{5, 3, 9};
        const DrawingPlan plan =
            planDrawing(params(0, 11, 0.5f, 2, 0.5f, 0.5f, 0.4f, true), AnimationGeometry(), st, r);
        QVERIFY(plan.refused);
        QCOMPARE(st.ninfest, 0.0f);
        const QList<DrawOp> circles = opsOn(plan, Pic::Consignment, DrawOp::Circle);
        QCOMPARE(circles[2].color, QColor(0, 0, 0));
        QCOMPARE(circles[2].width, 2);
        for (Pic p : {Pic::Shelf, Pic::Host, Pic::Established}) {
            QVERIFY(clears(plan, p));
            QVERIFY(opsOn(plan, p, DrawOp::Circle).isEmpty());
        }
        QCOMPARE(r.draws, 12 + 4 + 3 + 2);
        // Counted with 0 established: 9 / 4.
        QCOMPARE(st.nsimul, 4);
        QCOMPARE(plan.label6, QStringLiteral("2.3"));
    }

    // Which pictures each entry stage redraws.
    void stagesByFlag_data()
    {
        QTest::addColumn<int>("flag");
        QTest::addColumn<bool>("field");
        QTest::addColumn<bool>("after");
        QTest::addColumn<bool>("consignment");
        QTest::addColumn<bool>("host");
        QTest::newRow("0") << 0 << true << true << true << true;
        QTest::newRow("negative") << -3 << true << true << true << true;
        QTest::newRow("above 4") << 7 << true << true << true << true;
        QTest::newRow("1") << 1 << false << true << true << true;
        QTest::newRow("2") << 2 << false << false << true << true;
        QTest::newRow("3") << 3 << false << false << false << true;
        QTest::newRow("4") << 4 << false << false << false << false;
    }
    void stagesByFlag()
    {
        QFETCH(int, flag);
        LcgRandom r(99);
        AnimationState st{120, 0, 0};
        // No sample, so no consignment is refused.
        const DrawingPlan plan =
            planDrawing(params(flag, 4000, 0.3f, 0, 0.2f, 0.2f, 0.1f), AnimationGeometry(), st, r);
        QTEST(clears(plan, Pic::Field), "field");
        QTEST(!plan.label1.isNull(), "field");
        QTEST(clears(plan, Pic::AfterMeasure), "after");
        QTEST(clears(plan, Pic::Consignment), "consignment");
        QTEST(clears(plan, Pic::Shelf), "consignment");
        QTEST(clears(plan, Pic::Host), "host");
        QVERIFY(clears(plan, Pic::Established));
        QCOMPARE(plan.establishedCircles, 5);
    }

    // The field prevalence drawn within the variability.
    void variability_data()
    {
        QTest::addColumn<float>("inf");
        QTest::addColumn<float>("cvar");
        QTest::addColumn<float>("drawn");
        QTest::addColumn<QString>("label");
        QTest::newRow("none: no draw") << 0.3f << 0.0f << 0.3f << "0.3000";
        QTest::newRow("10 %, low end") << 0.3f << 0.1f << 0.3f - 0.03f << "0.2700";
        QTest::newRow("100 %, from 0") << 0.3f << 1.0f << 0.0f << "0.0000";
        QTest::newRow("upper end held below 1") << 0.8f << 1.0f << 0.0f << "0.0000";
    }
    void variability()
    {
        QFETCH(float, inf);
        QFETCH(float, cvar);
        QFETCH(float, drawn);
        ScriptedRandom r({0.0f});
        AnimationState st;
        AnimationParams p = params(4, 100, inf, 0, 0.2f, 0.2f, 0.1f, false, cvar);
        p.flag = 0;
        p.pop = 1; // too few units to place any: only the prevalence draw counts
        const DrawingPlan plan = planDrawing(p, AnimationGeometry(), st, r);
        QCOMPARE(plan.inf, drawn);
        QTEST(plan.label1, "label");
        QCOMPARE(r.draws, cvar > 0 ? 1 : 0);
    }

    void variabilityUpperEnd()
    {
        ScriptedRandom r({0.99999994f});
        AnimationState st;
        AnimationParams p = params(0, 1, 0.8f, 0, 0.2f, 0.2f, 0.1f, false, 1.0f);
        const DrawingPlan plan = planDrawing(p, AnimationGeometry(), st, r);
        QVERIFY(plan.inf < 0.999999f);
        QVERIFY(plan.inf > 0.99f);
    }

    // The running mean while the timer runs: three accepted consignments
    // with 120 infested units at P1 = P2 = 0.2 give 4.8, a refused fourth 3.6.
    void runningMean()
    {
        LcgRandom r(7);
        AnimationState st{120, 0, 0};
        QString shown;
        for (int i = 0; i < 3; ++i)
            shown = planDrawing(params(3, 4000, 0.3f, 25, 0.2f, 0.2f, 0.1f, true), AnimationGeometry(), st, r).label6;
        QCOMPARE(shown, QStringLiteral("4.8"));
        QList<float> d = smallConsignmentStart();
        d << 0.0f << 0.5f;
        ScriptedRandom refusing(d);
        const DrawingPlan refused =
            planDrawing(params(0, 11, 0.5f, 2, 0.2f, 0.2f, 0.4f, true), AnimationGeometry(), st, refusing);
        QVERIFY(refused.refused);
        QCOMPARE(refused.label6, QStringLiteral("3.6"));
        QCOMPARE(st.nsimul, 4);

        // A drawing while stopped starts the mean again.
        const DrawingPlan stopped =
            planDrawing(params(4, 4000, 0.3f, 25, 0.2f, 0.2f, 0.1f, false), AnimationGeometry(), st, r);
        QCOMPARE(stopped.label6, QStringLiteral("0.0"));
        QCOMPARE(st.nsimul, 0);
        QCOMPARE(st.somaestab, 0.0f);
    }

    // A sample that cannot be completed gives up after the redraw limit:
    // the warning, then the four lower pictures cleared, the mean untouched.
    void redrawLimit()
    {
        LcgRandom r(3);
        AnimationState st{0, 2, 6};
        const DrawingPlan plan = planDrawing(params(2, 10, 0.3f, 11, 0.2f, 0.2f, 0.5f, true), AnimationGeometry(), st, r);
        QVERIFY(plan.redrawLimit);
        QCOMPARE(plan.sampledUnits, 10);
        int warning = -1;
        for (int i = 0; i < plan.ops.size(); ++i)
            if (plan.ops[i].kind == DrawOp::Warning)
                warning = i;
        QVERIFY(warning >= 0);
        QCOMPARE(plan.ops.size() - warning - 1, 4);
        for (int i = warning + 1; i < plan.ops.size(); ++i)
            QCOMPARE(plan.ops[i].kind, DrawOp::Clear);
        QVERIFY(plan.label6.isNull());
        QCOMPARE(st.nsimul, 3);
        QCOMPARE(st.somaestab, 6.0f);
    }

    // A source that keeps giving the same unit does not hang the infestation.
    void stuckSourceStillEnds()
    {
        ScriptedRandom r({0.5f});
        AnimationState st;
        const DrawingPlan plan = planDrawing(params(2, 11, 0.9f, 0, 0.2f, 0.2f, 0.5f), AnimationGeometry(), st, r);
        QCOMPARE(plan.infestedUnits, 4);
    }
};

TAV_TEST_MAIN(TestAnimation)
#include "tst_animation.moc"
