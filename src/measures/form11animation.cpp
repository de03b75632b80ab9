// The measure page's animation: one random consignment drawn on the six
// pictures, once or on every tick of Timer1.

#include "measures/form11.h"
#include "measures/form11shared.h"

#include "common/errors.h"
#include "common/messages.h"
#include "common/random.h"
#include "common/twips.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "platform/sprites.h"

#include <QPainter>
#include <QTimer>
#include <cmath>

namespace tav {

using namespace measures;
using namespace form11;

// Animation -----------------------------------------------------------------

void Form11::setPointer(int pointer)
{
    pointer_ = pointer;
    if (FormWidget* w = widgetIfLoaded()) {
        if (pointer == 11)
            w->setCursor(Qt::WaitCursor);
        else
            w->unsetCursor();
    }
}

void Form11::paint(const DrawingPlan& plan)
{
    // Each picture's marks go onto one transparent layer that is laid onto
    // the picture's drawing in a single step; circles and points are stamped
    // from sprites, so tens of thousands of marks stay within a frame.
    struct Layer {
        PictureBox* box = nullptr;
        QImage image;
        QPainter painter; // for points off the whole pixels
        double scale = 1; // pixels per unit of the box's scale
    };
    Layer layers[6];
    const char* names[6] = {"Picture6", "Picture7", "Picture1", "Picture4", "Picture2", "Picture3"};
    for (int i = 0; i < 6; ++i) {
        layers[i].box = ctl<PictureBox>(QString::fromLatin1(names[i]));
        layers[i].scale = layers[i].box->scaleMode() == PictureBox::ScaleTwips ? 1.0 / kTwipsPerPixel : 1.0;
    }
    const auto flush = [](Layer& l) {
        if (l.painter.isActive())
            l.painter.end();
        if (l.image.isNull())
            return;
        l.box->layDown(l.image);
    };
    const auto layer = [](Layer& l) -> QImage& {
        if (l.image.isNull())
            l.image = l.box->takeLayer();
        return l.image;
    };
    const auto painter = [&](Layer& l) -> QPainter& {
        if (!l.painter.isActive())
            // Marks of a pixel or two: plain strokes, as the window system draws them.
            l.painter.begin(&layer(l));
        return l.painter;
    };
    const auto stamp = [](Layer& l, QImage& target, const QImage& mark, QPointF at) {
        if (l.painter.isActive())
            l.painter.end();
        sprites::stamp(target, mark, at);
    };
    // Runs of marks share their sprite: it is looked up again only when the
    // mark changes.
    QImage mark;
    QRgb markColor = 0;
    double markRadius = -1;
    int markWidth = -1;
    DrawOp::Kind markKind = DrawOp::Clear;
    const auto sprite = [&](const DrawOp& op, double radius, int width) -> const QImage& {
        if (op.kind != markKind || op.color.rgba() != markColor || radius != markRadius || width != markWidth) {
            const qreal ratio = pictures::ratioOf(layers[int(op.pic)].box);
            mark = op.kind == DrawOp::Point ? sprites::point(op.color, width, ratio)
                                            : sprites::ring(op.color, radius, width, 0, 0, ratio);
            markKind = op.kind;
            markColor = op.color.rgba();
            markRadius = radius;
            markWidth = width;
        }
        return mark;
    };
    const auto penWidth = [&](const DrawOp& op) {
        return op.pic == Pic::Consignment ? op.width : layers[int(op.pic)].box->drawWidth();
    };
    for (qsizetype i = 0; i < plan.ops.size(); ++i) {
        const DrawOp& op = plan.ops[i];
        Layer& l = layers[int(op.pic)];
        const int width = penWidth(op);
        switch (op.kind) {
        case DrawOp::Clear:
            // What was laid on so far would be wiped with the picture.
            if (l.painter.isActive())
                l.painter.end();
            if (!l.image.isNull())
                l.box->layDown(l.image, false);
            l.box->cls();
            break;
        case DrawOp::Point: {
            const QPointF at(op.x * l.scale, op.y * l.scale);
            if (at.x() == std::floor(at.x()) && at.y() == std::floor(at.y())) {
                // A point on a whole pixel is the sprite's, placed on it.
                const QImage& m = sprite(op, 0, width);
                stamp(l, layer(l), m, at - QPointF(m.width() / 2, m.height() / 2) / m.devicePixelRatio());
            } else {
                QPainter& p = painter(l);
                p.setPen(QPen(op.color, width));
                p.drawPoint(at);
            }
            break;
        }
        case DrawOp::Circle: {
            const QImage& m = sprite(op, op.radius * l.scale, width);
            const QSizeF half = m.deviceIndependentSize() / 2.0;
            stamp(l, layer(l), m, QPointF(op.x * l.scale - half.width(), op.y * l.scale - half.height()));
            break;
        }
        case DrawOp::Line: {
            // A run of lines (the grid) is drawn once per geometry and laid
            // down whole.
            QList<QLineF> run;
            for (; i < plan.ops.size(); ++i) {
                const DrawOp& o = plan.ops[i];
                if (o.kind != DrawOp::Line || o.pic != op.pic || o.color != op.color || penWidth(o) != width)
                    break;
                run.append(QLineF(o.x * l.scale, o.y * l.scale, o.x2 * l.scale, o.y2 * l.scale));
            }
            --i;
            const QImage grid = sprites::lines(l.box->size(), op.color, width, run, pictures::ratioOf(l.box));
            stamp(l, layer(l), grid, QPointF(0, 0));
            break;
        }
        case DrawOp::Warning:
            // The box shows over what has been drawn so far.
            for (Layer& each : layers)
                flush(each);
            msgbox(redrawLimitText(), MbCritical, QStringLiteral("Warning"));
            break;
        }
    }
    for (Layer& each : layers)
        flush(each);
}

void Form11::desenhabase(int& flag, int32_t& pop, float& inf, int32_t& samp, float& pr1, float& pr2, float& effic)
{
    TrapErrors t(QStringLiteral("Unexpected error. Try again with new inputs"), QStringLiteral("Error Form11 (simul)"));
    // A tick that falls due while a drawing (or its warning box) is open waits
    // for the next one instead of drawing inside it.
    drawing_ = true;
    AnimationParams in;
    in.flag = flag;
    in.pop = pop;
    in.inf = inf;
    in.samp = samp;
    in.pr1 = pr1;
    in.pr2 = pr2;
    in.effic = effic;
    in.cvar = cvar_pmp;
    DrawingPlan plan;
    AnimationGeometry g;
    bool ok = t.step([&] { in.timerOn = timer()->isActive(); });
    ok = ok && t.step([&] {
        g.fieldW = ctl<PictureBox>(QStringLiteral("Picture6"))->scaleWidth();
        g.fieldH = ctl<PictureBox>(QStringLiteral("Picture6"))->scaleHeight();
        g.afterW = ctl<PictureBox>(QStringLiteral("Picture7"))->scaleWidth();
        g.afterH = ctl<PictureBox>(QStringLiteral("Picture7"))->scaleHeight();
        g.shelfW = ctl<PictureBox>(QStringLiteral("Picture4"))->scaleWidth();
        g.shelfH = ctl<PictureBox>(QStringLiteral("Picture4"))->scaleHeight();
        g.hostW = ctl<PictureBox>(QStringLiteral("Picture2"))->scaleWidth();
        g.hostH = ctl<PictureBox>(QStringLiteral("Picture2"))->scaleHeight();
        g.estW = ctl<PictureBox>(QStringLiteral("Picture3"))->scaleWidth();
        g.estH = ctl<PictureBox>(QStringLiteral("Picture3"))->scaleHeight();
    });
    ok = ok && t.step([&] { setPointer(11); });
    ok = ok && t.step([&] { plan = planDrawing(in, g, anim_, rng()); });
    if (ok)
        inf = plan.inf;
    ok = ok && t.step([&] {
        if (!plan.label1.isNull())
            setCaption(label(QStringLiteral("Label1")), plan.label1);
    });
    ok = ok && t.step([&] { paint(plan); });
    ok = ok && t.step([&] {
        if (!plan.label6.isNull())
            setCaption(label(QStringLiteral("Label6")), plan.label6);
    });
    ok = ok && t.step([&] { setPointer(0); });
    drawing_ = false;
}

void Form11::Image3_Click()
{
    IgnoreErrors e;
    if (timer()->isActive()) {
        e.step([&] { timer()->stop(); });
        e.step([&] { ctl<ImageButton>(QStringLiteral("Image3"))->setPicture(ctl<PictureBox>(QStringLiteral("Picture8"))->picture()); });
        return;
    }
    e.step([&] { redraw(0); });
    e.step([&] { ctl<ImageButton>(QStringLiteral("Image3"))->setPicture(ctl<PictureBox>(QStringLiteral("Picture9"))->picture()); });
    e.step([&] { timer()->start(); });
    e.step([&] { label(QStringLiteral("Label6"))->show(); });
}

void Form11::Image4_Click()
{
    IgnoreErrors e;
    if (timer()->isActive())
        return;
    e.step([&] { label(QStringLiteral("Label6"))->hide(); });
    e.step([&] { redraw(0); });
}

void Form11::Timer1_Timer()
{
    if (drawing_)
        return;
    ignoring([&] { redraw(0); });
}

} // namespace tav
