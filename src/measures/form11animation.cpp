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

#include <QHash>
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

namespace {

// One circle drawn once and then stamped wherever it is wanted: stroking
// thousands of tiny circles one by one takes far longer than a frame.
const QImage& stamp(const QColor& color, double radius, int width)
{
    static QHash<QString, QImage> stamps;
    const QString key = QStringLiteral("%1/%2/%3").arg(color.rgb()).arg(qRound(radius * 10)).arg(width);
    auto it = stamps.find(key);
    if (it == stamps.end()) {
        const int side = int(std::ceil(2 * (radius + width))) + 2;
        QImage img(side, side, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(color, width));
        p.drawEllipse(QPointF(side / 2.0, side / 2.0), radius, radius);
        p.end();
        it = stamps.insert(key, img);
    }
    return *it;
}

} // namespace

void Form11::paint(const DrawingPlan& plan)
{
    // Each picture's strokes go onto one transparent layer that is laid onto
    // the picture's drawing in a single step: tens of thousands of marks
    // stay within a frame.
    struct Layer {
        PictureBox* box = nullptr;
        QImage image;
        QPainter painter;
        double scale = 1; // pixels per unit of the box's scale
    };
    Layer layers[6];
    const char* names[6] = {"Picture6", "Picture7", "Picture1", "Picture4", "Picture2", "Picture3"};
    for (int i = 0; i < 6; ++i) {
        layers[i].box = ctl<PictureBox>(QString::fromLatin1(names[i]));
        layers[i].scale = layers[i].box->scaleMode() == PictureBox::ScaleTwips ? 1.0 / kTwipsPerPixel : 1.0;
    }
    const auto flush = [](Layer& l) {
        if (!l.painter.isActive())
            return;
        l.painter.end();
        l.box->paintPicture(QPixmap::fromImage(l.image), 0, 0);
    };
    const auto layer = [](Layer& l) -> QPainter& {
        if (!l.painter.isActive()) {
            l.image = QImage(l.box->size(), QImage::Format_ARGB32_Premultiplied);
            l.image.fill(Qt::transparent);
            l.painter.begin(&l.image);
            // Marks of a pixel or two: plain strokes, as the window system draws them.
        }
        return l.painter;
    };
    for (const DrawOp& op : plan.ops) {
        Layer& l = layers[int(op.pic)];
        const int width = op.pic == Pic::Consignment ? op.width : l.box->drawWidth();
        switch (op.kind) {
        case DrawOp::Clear:
            // What was laid on so far would be wiped with the picture.
            if (l.painter.isActive())
                l.painter.end();
            l.box->cls();
            break;
        case DrawOp::Point: {
            QPainter& p = layer(l);
            p.setPen(QPen(op.color, width));
            p.drawPoint(QPointF(op.x * l.scale, op.y * l.scale));
            break;
        }
        case DrawOp::Circle: {
            const QImage& mark = stamp(op.color, op.radius * l.scale, width);
            layer(l).drawImage(QPointF(op.x * l.scale - mark.width() / 2.0, op.y * l.scale - mark.height() / 2.0),
                               mark);
            break;
        }
        case DrawOp::Line: {
            QPainter& p = layer(l);
            p.setPen(QPen(op.color, width));
            p.drawLine(QPointF(op.x * l.scale, op.y * l.scale), QPointF(op.x2 * l.scale, op.y2 * l.scale));
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
