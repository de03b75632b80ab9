#include "measures/animation.h"

#include "common/clock.h"
#include "common/format.h"
#include "common/random.h"
#include "common/readings.h"
#include "common/runtime.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tav::measures {

namespace {

const QColor kRed(255, 0, 0);
const QColor kGrey(200, 200, 200);
const QColor kBlue(0, 0, 255);
const QColor kBlack(0, 0, 0);

void reseed(RandomSource& r) { r.reseed(clock().timer()); }

DrawOp mk(DrawOp::Kind kind, Pic pic)
{
    DrawOp op;
    op.kind = kind;
    op.pic = pic;
    return op;
}

struct Planner {
    const AnimationParams& in;
    const AnimationGeometry& g;
    AnimationState& st;
    RandomSource& r;
    DrawingPlan plan;

    float draw() { return r.next(); }

    void clear(Pic p) { plan.ops.append(mk(DrawOp::Clear, p)); }

    // A random place in a pixel picture: the vertical draw first.
    void randomMark(Pic p, double w, double h, DrawOp::Kind kind)
    {
        DrawOp op = mk(kind, p);
        op.y = vbInt(h * double(draw()) + 1.0);
        op.x = vbInt(w * double(draw()) + 1.0);
        op.radius = 1;
        op.color = kRed;
        plan.ops.append(op);
    }

    int marks(Pic p, double count, double w, double h, DrawOp::Kind kind)
    {
        const int64_t n = int64_t(nint(checked(count)));
        for (int64_t i = 0; i < n; ++i)
            randomMark(p, w, h, kind);
        return int(n < 0 ? 0 : n);
    }

    int unit(int32_t pop) { return int(vbInt(double(pop) * double(draw()) + 1.0)); }

    void updateMean()
    {
        if (st.nsimul > 0) {
            st.somaestab = float(double(st.ninfest) * in.pr1 * in.pr2 + st.somaestab);
            const float mean = float(st.somaestab / float(st.nsimul));
            plan.label6 = formatNumber(mean, QStringLiteral("0.0"));
        }
    }

    void run()
    {
        if (in.timerOn) {
            ++st.nsimul;
        } else {
            st.nsimul = 0;
            st.somaestab = 0;
            plan.label6 = localeText(QStringLiteral("0.0"));
        }
        const int entry = in.flag >= 1 && in.flag <= 4 ? in.flag : 0;
        float inf = in.inf;
        const double pop = in.pop;

        if (entry <= 0) {
            reseed(r);
            float hi = inf + inf * in.cvar;
            float lo = inf - inf * in.cvar;
            if (hi >= 1.0f)
                hi = 0.999999f;
            if (lo < 0.0f)
                lo = 0.0000001f;
            if (hi > lo)
                inf = lo + (hi - lo) * draw();
            plan.label1 = formatNumber(inf, QStringLiteral("0.0000"));
            clear(Pic::Field);
            plan.fieldPoints = marks(Pic::Field, pop * inf, g.fieldW, g.fieldH, DrawOp::Point);
        }
        plan.inf = inf;
        if (entry <= 1) {
            reseed(r);
            clear(Pic::AfterMeasure);
            plan.afterCircles = marks(Pic::AfterMeasure, pop * inf * in.effic, g.afterW, g.afterH, DrawOp::Circle);
        }
        if (entry <= 2) {
            if (!consignment(inf))
                return;
        }
        if (entry <= 3) {
            clear(Pic::Host);
            plan.hostCircles = marks(Pic::Host, double(st.ninfest) * in.pr1, g.hostW, g.hostH, DrawOp::Circle);
        }
        reseed(r);
        clear(Pic::Established);
        plan.establishedCircles =
            marks(Pic::Established, double(st.ninfest) * in.pr1 * in.pr2, g.estW, g.estH, DrawOp::Circle);
        updateMean();
    }

    // The sampled consignment and the shelf; false when the drawing ends here.
    bool consignment(float inf)
    {
        clear(Pic::Consignment);
        const float W = float(g.consignmentW), H = float(g.consignmentH);
        const float ratio = W / H;
        const int32_t pop = in.pop;
        const float C = float(vbInt(std::sqrt(double(pop) * ratio) + 0.5));
        // Unit k sits in cell k, counted from 0 along the rows: the rows the
        // picture's shape asks for, and more when the last unit needs them.
        const float R = C > 0 ? float(std::max(vbInt(double(C) / ratio + 0.5), vbInt(double(pop) / C) + 1))
                              : float(vbInt(double(C) / ratio + 0.5));
        plan.columns = int(C);
        plan.rows = int(R);
        const float ch = float(cdiv(H, R));
        const float cw = float(cdiv(W, C));

        auto line = [&](double x1, double y1, double x2, double y2) {
            DrawOp op = mk(DrawOp::Line, Pic::Consignment);
            op.x = x1;
            op.y = y1;
            op.x2 = x2;
            op.y2 = y2;
            op.color = kGrey;
            plan.ops.append(op);
        };
        const double s = nint(W / C), t = nint(H / R);
        if (s > 0)
            for (double x = 0; x <= nint(W); x += s)
                line(x, 0, x, H);
        if (t > 0)
            for (double y = 0; y <= nint(H); y += t)
                line(0, y, W, y);

        auto circleAt = [&](int k, double radius, const QColor& color, int width) {
            const double row = vbInt(double(k) / C);
            const double col = k - double(C) * row;
            DrawOp op = mk(DrawOp::Circle, Pic::Consignment);
            op.x = col * cw + cw / 2.0f;
            op.y = row * ch + ch / 2.0f;
            op.radius = radius;
            op.color = color;
            op.width = width;
            plan.ops.append(op);
        };

        st.ninfest = float(vbInt(double(pop) * double(inf) * double(in.effic)));
        reseed(r);
        std::vector<uint8_t> infested(size_t(pop > 0 ? pop : 0) + 1, 0), sampled(infested.size(), 0);
        const int64_t toInfest = int64_t(nint(st.ninfest));
        for (int64_t i = 0; i < toInfest && pop > 0; ++i) {
            int k = unit(pop);
            // The generator always comes round to a free unit; a source that
            // never does (a scripted one) takes the next free unit instead.
            for (int tries = 0; infested[size_t(k)]; ++tries) {
                if (tries > kRedrawLimit) {
                    while (infested[size_t(k)])
                        k = k % pop + 1;
                    break;
                }
                k = unit(pop);
            }
            infested[size_t(k)] = 1;
            ++plan.infestedUnits;
            circleAt(k, ch / 3.5f, kRed, 1);
        }

        reseed(r);
        int redraws = 0;
        bool found = false;
        for (int32_t i = 0; i < in.samp; ++i) {
            int k = pop > 0 ? unit(pop) : 0;
            while (pop <= 0 || sampled[size_t(k)]) {
                if (++redraws > kRedrawLimit) {
                    plan.redrawLimit = true;
                    plan.ops.append(mk(DrawOp::Warning, Pic::Consignment));
                    for (Pic p : {Pic::Consignment, Pic::Host, Pic::Established, Pic::Shelf})
                        clear(p);
                    return false;
                }
                if (pop > 0)
                    k = unit(pop);
            }
            sampled[size_t(k)] = 1;
            ++plan.sampledUnits;
            if (infested[size_t(k)]) {
                found = true;
                circleAt(k, ch / 2.2f, kBlack, 2);
            } else {
                circleAt(k, ch / 2.2f, kBlue, 1);
            }
        }

        if (found) {
            plan.refused = true;
            clear(Pic::Host);
            clear(Pic::Established);
            clear(Pic::Shelf);
            st.ninfest = 0;
            updateMean();
            return false;
        }
        reseed(r);
        clear(Pic::Shelf);
        plan.shelfCircles = marks(Pic::Shelf, st.ninfest, g.shelfW, g.shelfH, DrawOp::Circle);
        reseed(r);
        return true;
    }
};

} // namespace

double nint(double x) { return std::nearbyint(x); }

DrawingPlan planDrawing(const AnimationParams& in, const AnimationGeometry& g, AnimationState& st, RandomSource& r)
{
    Planner p{in, g, st, r, {}};
    p.run();
    return p.plan;
}

} // namespace tav::measures
