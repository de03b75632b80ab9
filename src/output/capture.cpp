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

std::optional<int> reportedFrameTop;

// A length in logical pixels on whole device pixels at `ratio`.
int onDevice(int logical, qreal ratio) { return int(std::lround(logical * ratio)); }

} // namespace

int frameTop(const QWidget* window)
{
    if (reportedFrameTop)
        return *reportedFrameTop;
    return window->geometry().top() - window->frameGeometry().top();
}

void setReportedFrameTop(std::optional<int> top) { reportedFrameTop = top; }

int titleBand(int frameTop, const QFont& caption)
{
    if (frameTop <= 0)
        return 0;
    const int height = int(std::ceil(QFontMetricsF(caption).height()));
    return std::max(frameTop, std::max(kIconPx, height) + 4);
}

int titleBand(const QWidget* window) { return titleBand(frameTop(window), captionFont()); }

int pageCut(int band, int menuBar, qreal ratio)
{
    // The band is drawn on whole device pixels and the window's own image
    // below it; inside that image a row lies where its logical place
    // rounds to at the ratio, as the window draws its controls.
    return onDevice(band, ratio) + onDevice(menuBar + twips(kToolbarBandTwips), ratio);
}

QImage windowImage(QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    const int band = titleBand(window);
    const int left = inner.left() - frame.left();
    // The frame's sides and foot, with the title band for its top.
    const QSize outer(frame.width(), band + frame.bottom() - inner.top() + 1);
    // At the resolution of the window's screen, as the window shows there:
    // the window's own grab is laid on it pixel for pixel, and the band, its
    // icon and its caption are drawn at it, in logical pixels like the
    // window.
    const qreal ratio = window->devicePixelRatioF();
    QImage out((QSizeF(outer) * ratio).toSize(), QImage::Format_RGB32);
    out.setDevicePixelRatio(ratio);
    out.fill(QColor(0, 0, 128));
    if (band > 0) {
        QPainter p(&out);
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
    // The window's own pixels from the device row the band rounds to, where
    // the page print counts its cut from (pageCut).
    QImage content = window->grab().toImage();
    content.setDevicePixelRatio(1);
    out.setDevicePixelRatio(1);
    {
        QPainter p(&out);
        p.drawImage(QPoint(onDevice(left, ratio), onDevice(band, ratio)), content);
    }
    out.setDevicePixelRatio(ratio);
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

// The window's rows above its client area: its menu bar.
int aboveClient(const FormWidget* w) { return w->client()->mapTo(w, QPoint(0, 0)).y(); }

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
    FormWidget* window = nullptr;
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
               // takes it at its logical size. What lies above the page is
               // cut: the title band as drawn, the menu bar and the toolbar
               // band (pageCut).
               const qreal ratio = shot.devicePixelRatio();
               const int cut = window ? pageCut(titleBand(window), aboveClient(window), ratio) : 0;
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
