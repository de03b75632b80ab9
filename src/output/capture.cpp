#include "output/capture.h"

#include "common/errors.h"
#include "common/program.h"
#include "common/runtime.h"
#include "common/twips.h"
#include "common/window.h"
#include "output/canvas.h"
#include "output/fprintpp.h"
#include "output/services.h"
#include "platform/controls.h"

#include <QApplication>
#include <QPainter>
#include <cmath>

namespace tav {

QImage windowImage(QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    // At the resolution of the window's screen, as the window shows there:
    // the window's own grab is drawn at it, pixel for pixel.
    const qreal ratio = window->devicePixelRatioF();
    QImage out((QSizeF(frame.size()) * ratio).toSize(), QImage::Format_RGB32);
    out.setDevicePixelRatio(ratio);
    out.fill(QColor(0, 0, 128));
    QPainter p(&out);
    const QPoint offset = inner.topLeft() - frame.topLeft();
    if (offset.y() > 0) {
        p.setPen(Qt::white);
        p.setFont(arial(8.25, true));
        p.drawText(QRect(4, 0, frame.width() - 8, offset.y()), Qt::AlignVCenter | Qt::AlignLeft,
                   window->windowTitle());
    }
    p.drawPixmap(offset, window->grab());
    return out;
}

void captureActiveWindow(QWidget* active)
{
    QCoreApplication::processEvents();
    if (active)
        clipboard().setImage(windowImage(active));
    QCoreApplication::processEvents();
}

namespace {

QColor backColor(Form& frm) { return frm.widget()->client()->palette().color(QPalette::Window); }

void setBackColor(Form& frm, const QColor& c)
{
    QWidget* client = frm.widget()->client();
    QPalette pal = client->palette();
    pal.setColor(QPalette::Window, c);
    client->setPalette(pal);
}

} // namespace

void imprimeform(Form& frm)
{
    notePrintSource(frm.widgetIfLoaded());
    TrapErrors t(QStringLiteral("Reload and try again"), QStringLiteral("Error printing form"));
    QColor back;
    QWidget* window = nullptr;
    t.step([] { resetPrintPictures(); })
        && t.step([&] { back = backColor(frm); })
        && t.step([&] { setBackColor(frm, Qt::white); })
        && t.step([&] { canvas()->resize(twips(frm.outerWidthTwips()), canvas()->height()); })
        && t.step([&] { canvas()->resize(canvas()->width(), twips(frm.outerHeightTwips())); })
        && t.step([&] { stagingPicture()->resize(twips(frm.outerWidthTwips()), stagingPicture()->height()); })
        && t.step([&] { stagingPicture()->resize(stagingPicture()->width(), twips(frm.outerHeightTwips())); })
        && t.step([&] { clipboard().clear(); })
        && t.step([&] { window = frm.widget(); })
        && t.step([&] { captureActiveWindow(window); })
        && t.step([&] { stagingPicture()->setPicture(QPixmap::fromImage(clipboard().image())); })
        && t.step([&] {
               const QPixmap shot = stagingPicture()->picture();
               if (shot.isNull())
                   throw RuntimeError(ErrInvalidPicture, QStringLiteral("Invalid picture"));
               // The capture is at the screen's resolution; the canvas
               // takes it at its logical size.
               const qreal ratio = shot.devicePixelRatio();
               const int cut = int(std::lround(twips(kCutBandTwips) * ratio));
               if (shot.height() > cut) {
                   const QPixmap kept = shot.copy(0, cut, shot.width(), shot.height() - cut);
                   canvas()->paintPicture(kept, 0, 0, kept.width() / ratio * kTwipsPerPixel,
                                          kept.height() / ratio * kTwipsPerPixel);
               }
           })
        && t.step([&] { savePicture(canvas()->image(), tempPictureFile()); })
        && t.step([&] { setBackColor(frm, back); })
        && t.step([&] { fprintpp().show(); });
}

void copiajanela(Form& frm)
{
    IgnoreErrors e;
    e.step([] { clipboard().clear(); });
    // The window whose Copy was used, whichever window is active by now.
    e.step([&] { captureActiveWindow(frm.widgetIfLoaded()); });
}

} // namespace tav
