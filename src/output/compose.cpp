#include "output/compose.h"

#include "common/errors.h"
#include "common/program.h"
#include "common/twips.h"
#include "output/canvas.h"
#include "output/fprintpp.h"
#include "output/services.h"
#include "platform/controls.h"

#include <QFile>
#include <QLabel>

namespace tav {

QColor captionColor(const QColor& labelColor, CaptionColor rule, const QColor& fixed)
{
    switch (rule) {
    case CaptionColor::Copy: return labelColor;
    case CaptionColor::CopyWhiteAsBlack:
        return labelColor.rgb() == QColor(255, 255, 255).rgb() ? QColor(0, 0, 0) : labelColor;
    case CaptionColor::Fixed: return fixed;
    case CaptionColor::Current: break;
    }
    return canvas()->foreColor();
}

TwipBox twipBox(const QWidget* w)
{
    return {pixelsToTwips(w->x()), pixelsToTwips(w->y()), pixelsToTwips(w->width()), pixelsToTwips(w->height())};
}

Composer::Composer(ErrorHandler& errors, bool saveMode) : errors_(errors), save_(saveMode)
{
    step([] { resetPrintPictures(); });
}

bool Composer::step(const std::function<void()>& f)
{
    if (!alive_)
        return false;
    alive_ = errors_.step(f);
    return alive_;
}

bool Composer::sizeCanvas(int widthTwips, int heightTwips)
{
    return step([&] { canvas()->resize(twips(widthTwips), canvas()->height()); })
        && step([&] { canvas()->resize(canvas()->width(), twips(heightTwips)); });
}

bool Composer::sizeStaging(PictureBox* staging, int widthTwips, int heightTwips)
{
    return step([&] { staging->resize(staging->width(), twips(heightTwips)); })
        && step([&] { staging->resize(twips(widthTwips), staging->height()); });
}

bool Composer::stage(const std::function<PictureBox*()>& box, PictureBox* staging)
{
    // The box's image holds its drawing, not only its background picture.
    return step([&] { savePicture(box()->image(), tempPictureFile()); }) && loadStaged(staging);
}

bool Composer::loadStaged(PictureBox* staging)
{
    return step([&] { staging->setPicture(loadPicture(tempPictureFile())); });
}

bool Composer::paintStaged(PictureBox* staging, const TwipBox& at)
{
    return paintStaged(staging, std::function<TwipBox()>([at] { return at; }));
}

bool Composer::paintStaged(PictureBox* staging, const std::function<TwipBox()>& place)
{
    return step([&] {
        const TwipBox at = place();
        canvas()->paintPicture(staging->picture(), at.left, at.top, at.width, at.height);
    });
}

bool Composer::picture(const std::function<PictureBox*()>& box, PictureBox* staging)
{
    return stage(box, staging) && paintStaged(staging, std::function<TwipBox()>([&] { return twipBox(box()); }));
}

bool Composer::drawWidth(int pixels)
{
    return step([&] { canvas()->setDrawWidth(pixels); });
}

bool Composer::circle(double x, double y, double radius, const QColor& color)
{
    return step([&] { canvas()->circle(x, y, radius, color); });
}

bool Composer::bold(bool on)
{
    return step([&] {
        QFont f = canvas()->font();
        f.setBold(on);
        canvas()->setFont(f);
    });
}

bool Composer::text(double x, double y, const QString& s)
{
    return step([&] { canvas()->setCurrentX(x); })
        && step([&] { canvas()->setCurrentY(y); })
        && step([&] { canvas()->print(s); });
}

bool Composer::caption(const std::function<QLabel*()>& label, CaptionColor rule, const QColor& fixed)
{
    // The canvas keeps its own italic and underline: only these three pass.
    return step([&] { canvas()->setCurrentY(pixelsToTwips(label()->y())); })
        && step([&] { canvas()->setCurrentX(pixelsToTwips(label()->x())); })
        && step([&] {
               QFont f = canvas()->font();
               f.setFamily(label()->font().family());
               canvas()->setFont(f);
           })
        && step([&] {
               QFont f = canvas()->font();
               f.setPointSizeF(label()->font().pointSizeF());
               canvas()->setFont(f);
           })
        && step([&] {
               QFont f = canvas()->font();
               f.setBold(label()->font().bold());
               canvas()->setFont(f);
           })
        && step([&] {
               canvas()->setForeColor(
                   captionColor(label()->palette().color(QPalette::WindowText), rule, fixed));
           })
        && step([&] { canvas()->print(label()->text()); });
}

bool Composer::finish()
{
    if (save_)
        return step([] {
            if (QFile::exists(tempPictureFile()) && !QFile::remove(tempPictureFile()))
                throw RuntimeError(ErrPathFileAccess, QStringLiteral("Path/File access error"));
        });
    return step([] { savePicture(canvas()->image(), tempPictureFile()); }) && step([] { fprintpp().show(); });
}

void saveComposed(const std::function<void(int)>& setFlag, const std::function<void()>& print, const QString& file,
                  ErrorHandler& errors)
{
    errors.step([&] { setFlag(1); }) && errors.step([&] {
        const NestedCommand composing;
        print();
    })
        && errors.step([&] { savePicture(canvas()->image(), file); }) && errors.step([&] { setFlag(0); });
    // Abort in the save's own box must not leave the window in save mode.
    setFlag(0);
}

} // namespace tav
