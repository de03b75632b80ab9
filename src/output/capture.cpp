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
#include <QFontMetricsF>
#include <QIcon>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace tav {

namespace {

constexpr int kIconPx = 16;
QFont captionFont() { return arial(8.25, true); }

// The frame's top, logical pixels.
int frameTop(const QWidget* window) { return window->geometry().top() - window->frameGeometry().top(); }

} // namespace

int titleBand(const QWidget* window)
{
    const int top = frameTop(window);
    if (top <= 0)
        return 0;
    const int caption = int(std::ceil(QFontMetricsF(captionFont()).height()));
    return std::max(top, std::max(kIconPx, caption) + 4);
}

QImage windowImage(QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    const int band = titleBand(window);
    const QSize outer(frame.width(), frame.height() - frameTop(window) + band);
    // At the resolution of the window's screen, as the window shows there:
    // the window's own grab is drawn at it, pixel for pixel, and so are the
    // band, its icon and its caption, in logical pixels like the window.
    const qreal ratio = window->devicePixelRatioF();
    QImage out((QSizeF(outer) * ratio).toSize(), QImage::Format_RGB32);
    out.setDevicePixelRatio(ratio);
    out.fill(QColor(0, 0, 128));
    QPainter p(&out);
    const int left = inner.left() - frame.left();
    if (band > 0) {
        int captionLeft = left + 4;
        const QIcon icon = window->windowIcon();
        if (!icon.isNull()) {
            const QRect place(left + 2, (band - kIconPx) / 2, kIconPx, kIconPx);
            p.drawPixmap(place, icon.pixmap(place.size(), ratio));
            captionLeft = place.right() + 5;
        }
        p.setPen(Qt::white);
        p.setFont(captionFont());
        p.drawText(QRect(captionLeft, 0, frame.width() - captionLeft - 4, band), Qt::AlignVCenter | Qt::AlignLeft,
                   window->windowTitle());
    }
    p.drawPixmap(QPoint(left, band), window->grab());
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
    preparePrint(frm.widgetIfLoaded());
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
               // takes it at its logical size. The band is cut from the
               // frame's top: a title band drawn taller than the frame's
               // goes with it.
               const qreal ratio = shot.devicePixelRatio();
               const int grown = window ? titleBand(window) - frameTop(window) : 0;
               const int cut = int(std::lround((twips(kCutBandTwips) + std::max(grown, 0)) * ratio));
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
