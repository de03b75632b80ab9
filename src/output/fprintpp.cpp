#include "output/fprintpp.h"

#include "common/colors.h"
#include "common/errors.h"
#include "common/messages.h"
#include "common/program.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "common/safefile.h"
#include "output/canvas.h"
#include "output/services.h"
#include "platform/actions.h"
#include "platform/controls.h"
#include "platform/slider.h"
#include "shell/page.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <cmath>

namespace tav {

FprintPP& fprintpp() { return formRef<FprintPP>(); }

namespace {

// A control's size cannot be negative.
double sized(double v)
{
    if (v < 0 || !std::isfinite(v))
        raise(ErrInvalidProperty);
    return double(float(v));
}

double single(double v) { return double(float(checked(v))); }

} // namespace

SheetLayout orientaLayout(const SheetLayout& previous, const SheetInput& in)
{
    SheetLayout l = previous;
    IgnoreErrors e;
    const double zoom = in.zoom;
    float w = 0, h = 0;
    if (!in.landscape) {
        e.step([&] { l.sheetHeight = sized(0.8 * in.windowHeight); });
        e.step([&] { l.sheetWidth = sized(cdiv(l.sheetHeight, cdiv(in.paperHeight, in.paperWidth))); });
        e.step([&] { l.sheetLeft = single(in.windowWidth / 2 - l.sheetWidth / 2); });
        e.step([&] { l.sheetTop = single(in.windowHeight / 2 - l.sheetHeight / 2); });
        e.step([&] { h = float(checked(0.9 * zoom * l.sheetHeight)); });
        e.step([&] { w = float(cdiv(double(h) * in.imageWidth, in.imageHeight)); });
        e.step([&] {
            if (float(0.9 * zoom * l.sheetWidth) < w) {
                w = float(checked(0.9 * zoom * l.sheetWidth));
                h = float(cdiv(double(w) * in.imageHeight, in.imageWidth));
            }
        });
        e.step([&] { l.imageHeight = sized(h); });
        e.step([&] { l.imageWidth = sized(w); });
    } else {
        e.step([&] { l.sheetWidth = sized(0.8 * in.windowHeight); });
        e.step([&] { l.sheetHeight = sized(cdiv(l.sheetWidth * in.paperWidth, in.paperHeight)); });
        e.step([&] { l.sheetLeft = single(in.windowWidth / 2 - l.sheetWidth / 2 + in.labelWidth + 350); });
        e.step([&] { l.sheetTop = single(in.windowHeight / 2 - l.sheetHeight / 2); });
        e.step([&] { w = float(checked(0.9 * zoom * l.sheetWidth)); });
        e.step([&] { h = float(cdiv(double(w) * in.imageHeight, in.imageWidth)); });
        e.step([&] {
            if (float(0.9 * zoom * l.sheetHeight) < h) {
                h = float(checked(0.9 * zoom * l.sheetHeight));
                w = float(cdiv(double(h) * in.imageWidth, in.imageHeight));
            }
        });
        e.step([&] { l.imageWidth = sized(w); });
        e.step([&] { l.imageHeight = sized(h); });
    }
    e.step([&] { l.imageLeft = single(0.05 * l.sheetWidth); });
    e.step([&] { l.imageTop = single(0.05 * l.sheetHeight); });
    return l;
}

std::optional<PaperSize> customPaper(const QString& widthText, const QString& heightText)
{
    if (!isNumber(widthText) || !isNumber(heightText))
        return std::nullopt;
    PaperSize p{float(numberOrLeading(widthText)), float(numberOrLeading(heightText))};
    if (p.width >= p.height)
        p = {float(numberOrLeading(heightText)), float(numberOrLeading(widthText))};
    return p;
}

FprintPP::FprintPP() : Form(QStringLiteral("FprintPP")) {}

void FprintPP::build(FormWidget* w)
{
    QWidget* c = w->client();
    auto* paper = place<Frame>(c, QStringLiteral("Frame1"), 285, 240, 2610, 2190);
    paper->setTitle(QStringLiteral("Paper size"));
    auto option = [&](QWidget* parent, const QString& name, const QString& caption, int top) {
        auto* o = place<QRadioButton>(parent, name, 180, top, 2300, 255);
        o->setText(caption);
        return o;
    };
    option(paper, QStringLiteral("Option1"), QStringLiteral("A4 (210 x 297 mm)"), 300)->setChecked(true);
    option(paper, QStringLiteral("Option2"), QStringLiteral("Letter (216 x 294 mm)"), 600);
    option(paper, QStringLiteral("Option3"), QStringLiteral("Custom"), 900);
    place<Label>(paper, QStringLiteral("Label2"), 180, 1260, 1100, 255)->setText(QStringLiteral("Width (mm)"));
    place<TextBox>(paper, QStringLiteral("Text1"), 1320, 1230, 735, 285);
    place<Label>(paper, QStringLiteral("Label3"), 180, 1620, 1100, 255)->setText(QStringLiteral("Height (mm)"));
    place<TextBox>(paper, QStringLiteral("Text2"), 1320, 1590, 735, 285);
    auto* ok = place<QPushButton>(paper, QStringLiteral("Command2"), 2100, 1410, 420, 315);
    ok->setText(QStringLiteral("ok"));
    ok->setToolTip(QStringLiteral("Accept custom paper size"));
    for (const char* n : {"Label2", "Label3", "Text1", "Text2", "Command2"})
        c->findChild<QWidget*>(QString::fromLatin1(n))->setEnabled(false);

    auto* orientation = place<Frame>(c, QStringLiteral("Frame2"), 300, 2760, 2595, 645);
    orientation->setTitle(QStringLiteral("Orientation"));
    auto* portrait = place<QRadioButton>(orientation, QStringLiteral("Option4"), 120, 300, 1100, 255);
    portrait->setText(QStringLiteral("Portrait"));
    portrait->setChecked(true);
    place<QRadioButton>(orientation, QStringLiteral("Option5"), 1300, 300, 1200, 255)->setText(QStringLiteral("Landscape"));

    place<Label>(c, QStringLiteral("Label1"), 1095, 3480, 870, 255)->setText(QStringLiteral("Image Size"));
    auto* slider = place<Slider>(c, QStringLiteral("Slider1"), 285, 3780, 2610, 495);
    slider->setMin(5);
    slider->setMax(200);
    slider->setTickFrequency(20);
    slider->setSmallChange(1);
    slider->setLargeChange(5);
    slider->setValue(100);
    place<QPushButton>(c, QStringLiteral("Command1"), 600, 4560, 900, 375)->setText(QStringLiteral("Print"));
    place<QPushButton>(c, QStringLiteral("Cancel"), 1680, 4560, 900, 375)->setText(QStringLiteral("Cancel"));

    // The sheet is paper: the system's window colour (that of text boxes and
    // lists), not the form's grey, and edged, so that its size and shape show.
    auto* sheet = place<BorderedPictureBox>(c, QStringLiteral("Picture1"), 3300, 240, 4000, 5600);
    sheet->setBackColor(vbColor(0x80000005));
    place<PictureBox>(sheet, QStringLiteral("Picture2"), 0, 0, 300, 300)->hide();
    auto* image = place<ImageButton>(sheet, QStringLiteral("Image1"), 200, 280, 3600, 5040);
    image->setStretch(true);

    auto on = [this](QWidget* wgt, void (FprintPP::*f)()) {
        if (auto* b = qobject_cast<QAbstractButton*>(wgt))
            onSignal(b, &QAbstractButton::clicked, this, [this, f] { (this->*f)(); });
    };
    on(c->findChild<QWidget*>(QStringLiteral("Option1")), &FprintPP::Option1_Click);
    on(c->findChild<QWidget*>(QStringLiteral("Option2")), &FprintPP::Option2_Click);
    on(c->findChild<QWidget*>(QStringLiteral("Option3")), &FprintPP::Option3_Click);
    on(portrait, &FprintPP::Option4_Click);
    on(c->findChild<QWidget*>(QStringLiteral("Option5")), &FprintPP::Option5_Click);
    on(ok, &FprintPP::Command2_Click);
    on(c->findChild<QWidget*>(QStringLiteral("Command1")), &FprintPP::Command1_Click);
    on(c->findChild<QWidget*>(QStringLiteral("Cancel")), &FprintPP::Cancel_Click);
    onSignal(slider, &Slider::changed, this, [this] { Slider1_Change(); });

    setupWindow(w, QStringLiteral("Print Preview "), 0x00E0E0E0, 8000, 6000);
    w->setWindowFlags(w->windowFlags() & ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    // Watched as it shows: only then does the window system tell its frame.
    w->installEventFilter(this);
}

QRect windowWithin(const QRect& available, const QMargins& frame)
{
    const QRect inside = available.marginsRemoved(frame);
    return {inside.topLeft(), inside.size().expandedTo(QSize(0, 0))};
}

namespace {

// The frame the window system has put around `w`: none until it is shown.
QMargins frameOf(const QWidget* w)
{
    const QWindow* h = w->windowHandle();
    return h && w->isVisible() ? h->frameMargins() : QMargins();
}

// The frame `self` is to get: its own once shown; before that, that of the
// program's window in front, as the window system frames them alike.
QMargins expectedFrame(const QWidget* self)
{
    if (self->isVisible())
        return frameOf(self);
    QList<QWidget*> windows = QApplication::topLevelWidgets();
    windows.prepend(QApplication::activeWindow());
    for (const QWidget* w : std::as_const(windows)) {
        if (!w || w == self || !qobject_cast<const FormWidget*>(w))
            continue;
        const QMargins m = frameOf(w);
        if (!m.isNull())
            return m;
    }
    return {};
}

} // namespace

void FprintPP::fitToScreen(const QMargins& frame)
{
    QScreen* s = QGuiApplication::primaryScreen();
    if (!s)
        raise(ErrInvalidCall);
    frame_ = frame;
    widget()->setGeometry(windowWithin(s->availableGeometry(), frame));
}

bool FprintPP::eventFilter(QObject* watched, QEvent* e)
{
    FormWidget* w = widgetIfLoaded();
    if (!w)
        return false;
    if (watched == w && e->type() == QEvent::Show) {
        if (QWindow* h = w->windowHandle())
            h->installEventFilter(this);
    } else if (watched == w->windowHandle() && e->type() == QEvent::Expose && w->windowHandle()->isExposed()) {
        // The window system tells the frame once it shows the window; the
        // load went by the frame it expected. Another frame: the window is
        // fitted again and the sheet laid out on its new size.
        const QMargins frame = frameOf(w);
        if (frame != frame_) {
            ignoring([&] { fitToScreen(frame); });
            reorient();
        }
    }
    return false;
}

void FprintPP::formLoad()
{
    TrapErrors t(QStringLiteral("Reload and try again with new inputs"), QStringLiteral("Error FPrintPP"));
    t.step([&] { ctl<PictureBox>(QStringLiteral("Picture2"))->setPicture(loadPicture(tempPictureFile())); })
        && t.step([&] {
               for (const char* n : {"Slider1", "Command1", "Cancel"})
                   setHandCursor(ctl(QString::fromLatin1(n)));
           })
        && t.step([&] { ctl<TextBox>(QStringLiteral("Text1"))->clear(); })
        && t.step([&] { ctl<TextBox>(QStringLiteral("Text2"))->clear(); })
        && t.step([&] {
               largpapel = 210;
               altpapel = 297;
               zoom = 1;
               // The print is named after the window whose picture this is.
               jobName_ = printJobName();
           })
        // The screen's size, less what its panels take, frame included.
        && t.step([&] { fitToScreen(expectedFrame(widget())); })
        && t.step([&] { largimagem = float(canvas()->width() * 15); })
        && t.step([&] { altimagem = float(canvas()->height() * 15); })
        && t.step([&] { Option1_Click(); })
        && t.step([&] {
               for (const char* n : {"Label2", "Label3", "Text1", "Text2", "Command2"})
                   ctl(QString::fromLatin1(n))->setEnabled(false);
           });
}

void FprintPP::formUnload(bool& cancel)
{
    Q_UNUSED(cancel);
    IgnoreErrors e;
    e.step([] { emptyPicture(canvas()); });
    e.step([] { emptyPicture(stagingPicture()); });
    e.step([] { emptyPicture(secondStagingPicture()); });
    e.step([] { QFile::remove(tempPictureFile()); });
}

void FprintPP::orienta(const QString& tipo, float wi, float he)
{
    IgnoreErrors e;
    PictureBox* sheet = nullptr;
    ImageButton* image = nullptr;
    e.step([&] { sheet = ctl<PictureBox>(QStringLiteral("Picture1")); });
    e.step([&] { image = ctl<ImageButton>(QStringLiteral("Image1")); });
    if (!sheet || !image)
        return;
    sheet->hide();
    if (tipo == QLatin1String("P") || tipo == QLatin1String("L")) {
        SheetInput in;
        in.landscape = tipo == QLatin1String("L");
        in.paperWidth = wi;
        in.paperHeight = he;
        in.zoom = zoom;
        in.imageWidth = largimagem;
        in.imageHeight = altimagem;
        // The window's size inside its frame, which the load fitted to the
        // screen: the sheet lies on what the window shows.
        in.windowWidth = widget()->width() * 15.0;
        in.windowHeight = widget()->height() * 15.0;
        e.step([&] { in.labelWidth = ctl(QStringLiteral("Label1"))->width() * 15.0; });
        layout_ = orientaLayout(layout_, in);
    }
    auto px = [](double t) { return int(std::lround(t / 15.0)); };
    sheet->setGeometry(px(layout_.sheetLeft), px(layout_.sheetTop), px(layout_.sheetWidth), px(layout_.sheetHeight));
    image->setGeometry(px(layout_.imageLeft), px(layout_.imageTop), px(layout_.imageWidth), px(layout_.imageHeight));
    e.step([&] {
        image->setPicture(reducedTo(ctl<PictureBox>(QStringLiteral("Picture2"))->picture(), image->size(),
                                    image->devicePixelRatioF()));
    });
    sheet->show();
}

void FprintPP::reorient()
{
    IgnoreErrors e;
    e.step([&] {
        if (ctl<QRadioButton>(QStringLiteral("Option4"))->isChecked())
            orienta(QStringLiteral("P"), largpapel, altpapel);
    });
    e.step([&] {
        if (ctl<QRadioButton>(QStringLiteral("Option5"))->isChecked())
            orienta(QStringLiteral("L"), largpapel, altpapel);
    });
}

namespace {
void enableCustom(Form& f, bool on)
{
    IgnoreErrors e;
    for (const char* n : {"Label2", "Label3", "Text1", "Text2", "Command2"})
        e.step([&] { f.ctl(QString::fromLatin1(n))->setEnabled(on); });
}
} // namespace

void FprintPP::Option1_Click()
{
    enableCustom(*this, false);
    largpapel = 210;
    altpapel = 297;
    paperSize_ = QPageSize(QPageSize::A4);
    reorient();
}

// The sheet keeps its designed 216 by 294 shape; the printer is asked for
// real Letter paper.
void FprintPP::Option2_Click()
{
    enableCustom(*this, false);
    largpapel = 216;
    altpapel = 294;
    paperSize_ = QPageSize(QPageSize::Letter);
    reorient();
}

void FprintPP::Option3_Click() { enableCustom(*this, true); }

void FprintPP::Option4_Click() { ignoring([&] { orienta(QStringLiteral("P"), largpapel, altpapel); }); }

void FprintPP::Option5_Click() { ignoring([&] { orienta(QStringLiteral("L"), largpapel, altpapel); }); }

void FprintPP::Command2_Click()
{
    IgnoreErrors e;
    e.step([&] {
        const auto p = customPaper(ctl<TextBox>(QStringLiteral("Text1"))->text(),
                                   ctl<TextBox>(QStringLiteral("Text2"))->text());
        if (!p) {
            msgbox(QStringLiteral("Please, enter a number."), MbExclamation, QStringLiteral("Warning"));
            return;
        }
        largpapel = p->width;
        altpapel = p->height;
        paperSize_ = QPageSize(QSizeF(largpapel, altpapel), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
        reorient();
    });
}

void FprintPP::Slider1_Change()
{
    ignoring([&] { zoom = float(ctl<Slider>(QStringLiteral("Slider1"))->value() / 100.0); });
    reorient();
}

QRectF printedPlace(const SheetLayout& sheet, double printableWidth, double printableHeight)
{
    if (!(sheet.sheetWidth > 0) || !(sheet.sheetHeight > 0) || !(printableWidth > 0) || !(printableHeight > 0))
        return {};
    const double k = std::min(printableWidth / sheet.sheetWidth, printableHeight / sheet.sheetHeight);
    return {sheet.imageLeft * k, sheet.imageTop * k, sheet.imageWidth * k, sheet.imageHeight * k};
}

void FprintPP::Command1_Click()
{
    // The dialog's Cancel ends the print silently. A print that fails, to a
    // file or to a printer, says so once: one that never happens must not
    // look like one that did.
    // A print that waits for the print service is not started twice.
    if (printerWaiting())
        return;
    try {
        PrintChoice choice;
        if (!dialogs().showPrinter(widget(), 4, QString(), choice))
            return;
        Printer& p = printer();
        // This print's own paper, as the sheet shows it, and what its
        // dialog chose; other windows' prints keep the printer's own.
        const Paper paper{paperSize_, ctl<QRadioButton>(QStringLiteral("Option5"))->isChecked()};
        if (!paper.size.isValid())
            return;
        const DocSettings settings{paper, jobName_.isEmpty() ? printJobName() : jobName_, choice};
        const PageArea area = p.page(settings);
        const QRectF place = printedPlace(layout_, area.printable.width(), area.printable.height());
        if (place.isEmpty())
            return;
        // The picture as loaded: the sheet shows a reduced copy.
        const QPixmap picture = ctl<PictureBox>(QStringLiteral("Picture2"))->picture();
        PrintJob job(p, settings);
        if (!job.ok())
            throw RuntimeError(482, QStringLiteral("Printer error"));
        const double k = p.dpi() / 1440.0;
        QPainter& painter = job.painter();
        // A picture enlarged past the sheet is cut at the printable edge, as
        // the sheet cuts it on the screen.
        painter.setClipRect(QRectF(0, 0, area.printable.width() * k, area.printable.height() * k));
        painter.drawPixmap(QRectF(place.x() * k, place.y() * k, place.width() * k, place.height() * k), picture,
                           QRectF(picture.rect()));
        if (!job.end())
            throw RuntimeError(482, QStringLiteral("Printer error"));
    } catch (const RuntimeError& e) {
        if (e.number() == ErrSafePathFileAccess || e.number() == 482) {
            setCurrentError(e);
            mostraerro(QStringLiteral("Reload and try again"), QStringLiteral("Error FPrintPP"));
        }
    }
}

void FprintPP::Cancel_Click() { ignoring([&] { unload(); }); }

} // namespace tav
