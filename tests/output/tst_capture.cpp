// Printing a page by capturing its window, and Edit > Copy.

#include "common/colors.h"
#include "common/program.h"
#include "common/twips.h"
#include "output/canvas.h"
#include "output/capture.h"
#include "output/fprintpp.h"
#include "outputkit.h"
#include "platform/controls.h"
#include "shell/menus.h"
#include "shell/form1.h"
#include "shell/indice.h"
#include "shell/topics.h"
#include "testmain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QScopeGuard>
#include <QTest>
#include <cmath>
#include <cstring>
#include <optional>

using namespace tav;
using tav::test::OutputFixture;

namespace {

bool showActive(Form& f)
{
    f.show();
    return QTest::qWaitForWindowActive(f.widget());
}

// Where the window's own top-left corner lies in its outer image: inside
// the frame's left side, under the title band.
QPoint windowInImage(const FormWidget* w) { return {w->geometry().left() - w->frameGeometry().left(), titleBand(w)}; }

// The size of a window's outer image, logical pixels: the frame's, with the
// title band in place of the frame's top.
QSize capturedSize(const FormWidget* w)
{
    return {w->frameGeometry().width(), titleBand(w) + w->frameGeometry().bottom() - w->geometry().top() + 1};
}

// The window's rows above its client area: the menu bar.
int menuBarRows(const FormWidget* w) { return w->client()->mapTo(w, QPoint(0, 0)).y(); }

// Where a client point of a window lies in its outer image.
QPoint inOuterImage(Form& f, QPoint clientPoint)
{
    FormWidget* w = f.widget();
    return w->client()->mapTo(w, clientPoint) + windowInImage(w);
}

QColor clientBack(Form& f) { return f.widget()->client()->palette().color(QPalette::Window); }

} // namespace

class TestCapture : public QObject {
    Q_OBJECT

private slots:
    void pagePrintCutsTheTopBand_data();
    void pagePrintCutsTheTopBand();
    void unwritablePictureFile();
    void copyPutsTheActiveWindowOnTheClipboard_data();
    void copyPutsTheActiveWindowOnTheClipboard();
    void saveAndPrintSubmenus_data();
    void saveAndPrintSubmenus();
    void captureTakesTheCommandsWindow_data();
    void captureTakesTheCommandsWindow();
    void pagePrintStartsFromAClearCanvas();
    void captureKeepsTheScreensResolution_data();
    void captureKeepsTheScreensResolution();
    void captionLiesInTheTitleBand_data();
    void captionLiesInTheTitleBand();
    void titleBandHoldsTheFrameAndTheCaption_data();
    void titleBandHoldsTheFrameAndTheCaption();
    void pageCutIsWhatLiesAboveThePage_data();
    void pageCutIsWhatLiesAboveThePage();
    void pagePrintStartsUnderTheToolbar_data();
    void pagePrintStartsUnderTheToolbar();
    void printSetUpShowsTheHeadingWhole_data();
    void printSetUpShowsTheHeadingWhole();
    void titleBandDrawnAtTheRatio_data();
    void titleBandDrawnAtTheRatio();
};

void TestCapture::pagePrintCutsTheTopBand_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("how");
    QTest::newRow("Print button") << "Form1" << "Image7";
    QTest::newRow("File > Print...") << "Form1" << "menuFilePrint";
    QTest::newRow("lesson page") << "Form6" << "Image7";
    QTest::newRow("lesson page, File > Print...") << "Form9" << "menuFilePrintr";
}

void TestCapture::pagePrintCutsTheTopBand()
{
    QFETCH(QString, window);
    QFETCH(QString, how);
    OutputFixture f;
    Form& page = windowNamed(window);
    QVERIFY(showActive(page));
    const QColor peach = clientBack(page);
    f.clip.setImage(QImage(5, 5, QImage::Format_RGB32));
    if (how == QLatin1String("Image7"))
        test::click(page.ctl(how));
    else
        test::trigger(page.ctl<QAction>(how));
    QCOMPARE(f.msgs.count(), 0);

    // The print picture has the window's outer size.
    const QSize outer = page.widget()->frameGeometry().size();
    QCOMPARE(canvas()->size(), outer);
    QCOMPARE(stagingPicture()->size(), outer);
    QImage printed(tempPictureFile());
    QCOMPARE(printed.size(), outer);

    // The clipboard keeps the capture, taken on a white background.
    const QImage shot = f.clip.image().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.size(), capturedSize(page.widget()));
    const QPoint spot = inOuterImage(page, QPoint(6, page.widget()->client()->height() - 6));
    QCOMPARE(shot.pixelColor(spot), QColor(Qt::white));
    QVERIFY(peach != QColor(Qt::white));

    // The capture moved up by what lies above the page: the title band, the
    // menu bar and the toolbar band; the foot receives nothing.
    const int cut = titleBand(page.widget()) + menuBarRows(page.widget()) + twips(kToolbarBandTwips);
    const int kept = shot.height() - cut;
    printed = printed.convertToFormat(QImage::Format_RGB32);
    QCOMPARE(printed.copy(0, 0, outer.width(), kept), shot.copy(0, cut, outer.width(), kept));
    QImage foot(outer.width(), outer.height() - kept, QImage::Format_RGB32);
    foot.fill(Qt::white);
    QCOMPARE(printed.copy(0, kept, outer.width(), outer.height() - kept), foot);

    // The page is back in its colour and the print set-up shows the picture.
    QCOMPARE(clientBack(page), peach);
    QVERIFY(fprintpp().visible());
    QCOMPARE(fprintpp().largimagem, float(outer.width() * 15));
    QCOMPARE(fprintpp().altimagem, float(outer.height() * 15));
}

void TestCapture::unwritablePictureFile()
{
    OutputFixture f;
    QVERIFY(showActive(form1()));
    const QColor peach = clientBack(form1());
    QFile::remove(tempPictureFile());
    QVERIFY(QDir().mkpath(tempPictureFile()));
    imprimeform(form1());
    QDir().rmdir(tempPictureFile());
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().title, QStringLiteral("Error printing form"));
    QCOMPARE(f.msgs.last().text, QStringLiteral("Path/File access error\rReload and try again"));
    // Abort: no print set-up, and the page keeps its white background.
    QVERIFY(!fprintpp().isLoaded());
    QCOMPARE(clientBack(form1()), QColor(Qt::white));
    QVERIFY(clientBack(form1()) != peach);
}

void TestCapture::copyPutsTheActiveWindowOnTheClipboard_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("start page") << "Indice";
    QTest::newRow("topic page") << "Form1";
    QTest::newRow("lesson page") << "Form2";
    QTest::newRow("graph page") << "FGrafico3";
    QTest::newRow("results window") << "FResultSim";
    QTest::newRow("measure page") << "Form11";
}

void TestCapture::copyPutsTheActiveWindowOnTheClipboard()
{
    QFETCH(QString, window);
    OutputFixture f;
    indice().show();
    Form& w = windowNamed(window);
    QVERIFY(showActive(w));
    const QColor back = clientBack(w);
    f.clip.setImage(QImage(5, 5, QImage::Format_RGB32));
    f.msgs.clear();
    test::trigger(w.ctl<QAction>(editCopyName(window)));
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(f.clip.clears, 1);
    const QImage shot = f.clip.image().convertToFormat(QImage::Format_RGB32);
    // The whole window, menus included, in its own colours.
    QCOMPARE(shot.size(), capturedSize(w.widget()));
    const QPoint spot = inOuterImage(w, QPoint(6, w.widget()->client()->height() - 6));
    QCOMPARE(shot.pixelColor(spot), back);
    QMenuBar* bar = w.widget()->menuBar();
    const QRect barRect = bar->geometry().translated(windowInImage(w.widget()));
    QCOMPARE(shot.copy(barRect), bar->grab().toImage().convertToFormat(QImage::Format_RGB32));
    QCOMPARE(clientBack(w), back);
    QVERIFY(!fprintpp().isLoaded());
}

void TestCapture::saveAndPrintSubmenus_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("save");
    QTest::addColumn<QStringList>("print");
    QTest::newRow("Form4") << "Form4"
                           << QStringList{"menuFileSaveForm=Form...", "menuFileSaveTable=Table...",
                                          "menuFileSavePicture=Picture..."}
                           << QStringList{"menuFilePrintForm=Form...", "menuFilePrintTable=Table...",
                                          "menuFilePrintPic=Picture..."};
    QTest::newRow("Form11") << "Form11"
                            << QStringList{"menuFileSavePicture=Picture...", "menuFileSaveResults=Results..."}
                            << QStringList{"menuFilePrintPicture=Picture...", "menuFilePrintResults=Results..."};
}

void TestCapture::saveAndPrintSubmenus()
{
    QFETCH(QString, window);
    QFETCH(QStringList, save);
    QFETCH(QStringList, print);
    OutputFixture f;
    Form& w = windowNamed(window);
    w.show();
    auto items = [&](const char* menu) {
        QStringList out;
        for (QAction* a : w.ctl<QMenu>(QString::fromLatin1(menu) + QStringLiteral("_menu"))->actions())
            out << a->objectName() + QLatin1Char('=') + a->text();
        return out;
    };
    QCOMPARE(items("menuFileSave"), save);
    QCOMPARE(items("menuFilePrint"), print);
}

namespace {

// A caret that blinks between a capture and the grab it is compared with
// would tell them apart; a steady one shows in both.
auto steadyCaret()
{
    const int flash = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    return qScopeGuard([flash] { QApplication::setCursorFlashTime(flash); });
}

} // namespace

void TestCapture::captureTakesTheCommandsWindow_data()
{
    QTest::addColumn<bool>("copy");
    QTest::newRow("Copy") << true;
    QTest::newRow("page print") << false;
}

// Another window active (a dialog just closed, a window clicked): the
// command still takes the window it belongs to.
void TestCapture::captureTakesTheCommandsWindow()
{
    QFETCH(bool, copy);
    OutputFixture f;
    const auto caret = steadyCaret();
    indice().show();
    Form& page = form1();
    page.show();
    Form& other = windowNamed(QStringLiteral("FResultSim"));
    QVERIFY(showActive(other));
    const QImage otherImage = windowImage(other.widget()).convertToFormat(QImage::Format_RGB32);
    if (copy) {
        test::trigger(page.ctl<QAction>(QStringLiteral("menuEditCopy")));
        QCOMPARE(f.clip.image().size(), capturedSize(page.widget()));
        QCOMPARE(f.clip.image().convertToFormat(QImage::Format_RGB32),
                 windowImage(page.widget()).convertToFormat(QImage::Format_RGB32));
    } else {
        test::click(page.ctl(QStringLiteral("Image7")));
        QCOMPARE(QImage(tempPictureFile()).size(), page.widget()->frameGeometry().size());
        // The capture stays on the clipboard: the page's, not the other's.
        QCOMPARE(f.clip.image().size(), capturedSize(page.widget()));
        QVERIFY(f.clip.image().convertToFormat(QImage::Format_RGB32) != otherImage);
    }
    QCOMPARE(f.msgs.count(), 0);
}

// Whatever an earlier picture left on the canvas, the page print's lowest
// band, which the capture does not reach, is white.
void TestCapture::pagePrintStartsFromAClearCanvas()
{
    OutputFixture f;
    indice().show();
    Form& page = form1();
    QVERIFY(showActive(page));
    canvas()->resize(2000, 2000);
    canvas()->setForeColor(Qt::red);
    for (int y = 0; y < 30000; y += 150)
        canvas()->line(0, y, 30000, y, Qt::red);
    test::click(page.ctl(QStringLiteral("Image7")));
    QCOMPARE(f.msgs.count(), 0);
    const QImage printed(tempPictureFile());
    QCOMPARE(printed.size(), page.widget()->frameGeometry().size());
    const int reached = f.clip.image().height() - pageCut(titleBand(page.widget()), menuBarRows(page.widget()), 1);
    QVERIFY(reached > 0 && reached < printed.height() - 10);
    for (int y = reached + 2; y < printed.height(); y += 7)
        for (int x = 0; x < printed.width(); x += 5)
            QVERIFY2(printed.pixelColor(x, y) == QColor(Qt::white), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
}

void TestCapture::captureKeepsTheScreensResolution_data()
{
    QTest::addColumn<bool>("copy");
    QTest::newRow("Copy") << true;
    QTest::newRow("page print") << false;
}

// The capture is the window at its screen's resolution, as the screen shows
// it: on a screen of ratio 2 (this test runs there too) an image of twice
// the window's size, not a grab at one pixel per logical pixel. The picture
// the page print writes to a file keeps the window's designed size.
void TestCapture::captureKeepsTheScreensResolution()
{
    QFETCH(bool, copy);
    OutputFixture f;
    const auto caret = steadyCaret();
    indice().show();
    Form& page = form1();
    QVERIFY(showActive(page));
    FormWidget* w = page.widget();
    const qreal ratio = w->devicePixelRatioF();
    const QSize outer = w->frameGeometry().size();
    if (copy)
        test::trigger(page.ctl<QAction>(QStringLiteral("menuEditCopy")));
    else
        test::click(page.ctl(QStringLiteral("Image7")));
    QCOMPARE(f.msgs.count(), 0);

    QImage shot = f.clip.image().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.devicePixelRatio(), ratio);
    const QSize captured = capturedSize(w);
    QCOMPARE(shot.size(), (QSizeF(captured) * ratio).toSize());
    if (copy) {
        // Pixel for pixel the window as it shows on the screen.
        QImage content = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
        shot.setDevicePixelRatio(1);
        content.setDevicePixelRatio(1);
        const QPoint at = (QPointF(windowInImage(w)) * ratio).toPoint();
        QCOMPARE(shot.copy(QRect(at, content.size())), content);
    } else {
        const QImage printed(tempPictureFile());
        QCOMPARE(printed.size(), outer);
        QCOMPARE(canvas()->size(), outer);
        // The capture below the band cut off, at the designed size: within
        // a shade of its smooth reduction nearly everywhere.
        const int cut = titleBand(w) + menuBarRows(w) + twips(kToolbarBandTwips);
        const QImage kept = printed.convertToFormat(QImage::Format_RGB32)
                                .copy(0, 0, outer.width(), captured.height() - cut);
        shot.setDevicePixelRatio(1);
        const QImage reduced = shot.scaled(captured, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                   .copy(0, cut, outer.width(), kept.height());
        int off = 0;
        for (int y = 0; y < kept.height(); ++y)
            for (int x = 0; x < kept.width(); ++x)
                off += std::abs(qGray(kept.pixel(x, y)) - qGray(reduced.pixel(x, y))) > 96 ? 1 : 0;
        QVERIFY2(off < kept.width() * kept.height() / 50, qPrintable(QString::number(off)));
        QVERIFY(fprintpp().visible());
    }
}

void TestCapture::captionLiesInTheTitleBand_data()
{
    // Captions with capitals, ascenders and descenders, which a band too
    // low cuts at the top or at the foot.
    QTest::addColumn<QString>("window");
    QTest::newRow("topic page") << "Form1";
    QTest::newRow("lesson page") << "Form2";
    QTest::newRow("results window") << "FResultSim";
}

// Copy draws a title band above the window's image, at the screen's ratio
// like the window (this test runs at 2 and 1.5 too): the caption's ink,
// what the band shows with the caption and not without it, lies wholly
// inside the band, a clear pixel off its top and off the window below.
void TestCapture::captionLiesInTheTitleBand()
{
    QFETCH(QString, window);
    OutputFixture f;
    const auto caret = steadyCaret();
    indice().show();
    Form& page = windowNamed(window);
    QVERIFY(showActive(page));
    FormWidget* w = page.widget();
    const qreal ratio = w->devicePixelRatioF();
    test::trigger(page.ctl<QAction>(editCopyName(window)));
    QCOMPARE(f.msgs.count(), 0);
    QImage shot = f.clip.image().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.devicePixelRatio(), ratio);
    shot.setDevicePixelRatio(1);

    // The band: the rows above the window's own pixels.
    QImage content = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    content.setDevicePixelRatio(1);
    const int left = int(std::lround((w->geometry().left() - w->frameGeometry().left()) * ratio));
    const QImage firstRow = content.copy(0, 0, content.width(), 1);
    int band = -1;
    for (int y = 0; band < 0 && y + content.height() <= shot.height(); ++y)
        if (shot.copy(left, y, content.width(), 1) == firstRow
            && shot.copy(left, y, content.width(), content.height()) == content)
            band = y;
    QVERIFY2(band > 0, "no band above the window's image");

    const QString caption = w->windowTitle();
    QVERIFY(!caption.isEmpty());
    w->setWindowTitle(QString());
    QImage blank = windowImage(w).convertToFormat(QImage::Format_RGB32);
    w->setWindowTitle(caption);
    blank.setDevicePixelRatio(1);
    QCOMPARE(blank.size(), shot.size());
    QRect ink;
    for (int y = 0; y < band; ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) != blank.pixel(x, y))
                ink |= QRect(x, y, 1, 1);
    QVERIFY2(!ink.isEmpty(), "no caption in the band");
    QVERIFY2(ink.top() >= 1 && ink.bottom() <= band - 2,
             qPrintable(QStringLiteral("caption rows %1 to %2, band rows 0 to %3")
                            .arg(ink.top())
                            .arg(ink.bottom())
                            .arg(band - 1)));
    // The caption is as tall at this ratio as its font makes it: not
    // shrunk to fit a band that stays low.
    QVERIFY2(ink.height() >= 0.6 * QFontMetricsF(arial(8.25, true)).height() * ratio,
             qPrintable(QString::number(ink.height())));
}

namespace {

// A window system whose title bar is `top` logical pixels high, as it
// reports it, for as long as this lives.
class FrameTopOf {
public:
    explicit FrameTopOf(int top) { setReportedFrameTop(top); }
    ~FrameTopOf() { setReportedFrameTop(std::nullopt); }
    FrameTopOf(const FrameTopOf&) = delete;
    FrameTopOf& operator=(const FrameTopOf&) = delete;
};

// What a title band over a frame top of `top` holds: the frame's top, or
// the 16-pixel icon and the caption, each with 2 pixels above and below,
// where that is taller; nothing without a frame.
int bandFor(int top, const QFont& caption = arial(8.25, true))
{
    if (top <= 0)
        return 0;
    return std::max(top, std::max(16, int(std::ceil(QFontMetricsF(caption).height()))) + 4);
}

int device(double logical, qreal ratio) { return int(std::lround(logical * ratio)); }

// The window's own grab, device pixels, on the white background the page
// print gives it.
QImage whiteGrab(Form& f)
{
    QWidget* client = f.widget()->client();
    const QPalette own = client->palette();
    QPalette white = own;
    white.setColor(QPalette::Window, Qt::white);
    client->setPalette(white);
    QImage grab = f.widget()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    client->setPalette(own);
    grab.setDevicePixelRatio(1);
    return grab;
}

// The rows of `color` at the top of column x, from row `from` on.
int rowsOf(const QImage& img, int x, int from, const QColor& color, int tolerance = 0)
{
    int n = 0;
    for (int y = from; y < img.height(); ++y, ++n) {
        const QColor c = img.pixelColor(x, y);
        if (std::abs(c.red() - color.red()) > tolerance || std::abs(c.green() - color.green()) > tolerance
            || std::abs(c.blue() - color.blue()) > tolerance)
            break;
    }
    return n;
}

// The rows of `b` within `part` are those of `a` from `at` on, pixel for
// pixel (a comparison without copies: fresh images of a window's size at 2x
// cost more than the rest of the test).
bool sameRows(const QImage& a, QPoint at, const QImage& b, const QRect& part)
{
    if (!a.rect().contains(QRect(at, part.size())) || !b.rect().contains(part))
        return false;
    for (int y = 0; y < part.height(); ++y)
        if (std::memcmp(a.constScanLine(at.y() + y) + at.x() * 4, b.constScanLine(part.y() + y) + part.x() * 4,
                        size_t(part.width()) * 4)
            != 0) {
            qWarning("row %d differs", part.y() + y);
            return false;
        }
    return true;
}

// The rows of `img` from `from` on are white.
bool allWhite(const QImage& img, int from)
{
    for (int y = from; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255))
                return false;
    return true;
}

// The page's heading band under the toolbar.
QWidget* heading(Form& f) { return f.ctl(f.name() == QLatin1String("Form1") ? "Label4" : "Label2"); }

// A page that prints its window (the lesson and tool pages; Form4 and
// FResultSim with neither picture panel nor grid shown), on screen and
// active.
bool showForPrint(Form& page)
{
    page.show();
    if (page.name() == QLatin1String("FResultSim"))
        page.ctl(QStringLiteral("Picture5"))->hide();
    else if (page.name() == QLatin1String("Form4"))
        page.ctl(QStringLiteral("Picture3"))->hide();
    if (page.name() == QLatin1String("FResultSim") || page.name() == QLatin1String("Form4"))
        page.ctl(QStringLiteral("Grid1"))->hide();
    return QTest::qWaitForWindowActive(page.widget());
}

// A menu bar made taller by a bigger font, laid out again.
void tallerMenuBar(FormWidget* w)
{
    QFont font = w->menuBar()->font();
    font.setPointSizeF(font.pointSizeF() * 1.5);
    w->menuBar()->setFont(font);
    w->layout()->activate();
}

} // namespace

void TestCapture::titleBandHoldsTheFrameAndTheCaption_data()
{
    QTest::addColumn<int>("top");
    QTest::addColumn<double>("points"); // the caption font's size, bold Arial
    QTest::addColumn<int>("band");
    QTest::newRow("no frame") << 0 << 8.25 << 0;
    QTest::newRow("frame of 2") << 2 << 8.25 << 20;
    QTest::newRow("frame of 20") << 20 << 8.25 << 20;
    QTest::newRow("frame of 30") << 30 << 8.25 << 30;
    QTest::newRow("frame of 40") << 40 << 8.25 << 40;
    // Bold Arial of 16 points: a line of 24 pixels at the 96 dpi of the test
    // screens, and 4 more.
    QTest::newRow("frame of 2, larger caption") << 2 << 16.0 << 28;
    QTest::newRow("frame of 20, larger caption") << 20 << 16.0 << 28;
    QTest::newRow("frame of 30, larger caption") << 30 << 16.0 << 30;
}

// The title band is the frame's top, or the icon's and caption's height
// where that is more; a fixed band would either cut a taller caption or
// leave part of a taller frame drawn over the window.
void TestCapture::titleBandHoldsTheFrameAndTheCaption()
{
    QFETCH(int, top);
    QFETCH(double, points);
    QFETCH(int, band);
    const QFont caption = arial(points, true);
    QCOMPARE(bandFor(top, caption), band);
    QCOMPARE(titleBand(top, caption), band);
}

void TestCapture::pageCutIsWhatLiesAboveThePage_data()
{
    // The frame's top, the menu bar's height (18 as the offscreen platform
    // draws it, 26 or 27 with a bigger menu font), the ratio: the title band
    // (bandFor) and the rows cut, device pixels, which are the band on whole
    // device pixels and the window's rows down to the client area's 690-twip
    // line (46 logical pixels), rounded at the ratio as the window draws.
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("menu");
    QTest::addColumn<double>("ratio");
    QTest::addColumn<int>("band");
    QTest::addColumn<int>("cut");
    struct Row {
        int top, menu;
        double ratio;
        int band, cut;
    };
    const Row rows[] = {
        {0, 18, 1, 0, 64},       {0, 26, 1, 0, 72},       {2, 18, 1, 20, 84},       {2, 26, 1, 20, 92},
        {20, 18, 1, 20, 84},     {20, 26, 1, 20, 92},     {30, 18, 1, 30, 94},      {30, 26, 1, 30, 102},
        {0, 18, 1.25, 0, 80},    {0, 26, 1.25, 0, 90},    {2, 18, 1.25, 20, 105},   {10, 26, 1.25, 20, 115},
        {20, 18, 1.25, 20, 105}, {20, 26, 1.25, 20, 115}, {30, 18, 1.25, 30, 118},  {30, 26, 1.25, 30, 128},
        {0, 18, 1.5, 0, 96},     {0, 27, 1.5, 0, 110},    {1, 18, 1.5, 20, 126},    {10, 27, 1.5, 20, 140},
        {20, 18, 1.5, 20, 126},  {20, 27, 1.5, 20, 140},  {30, 18, 1.5, 30, 141},   {30, 27, 1.5, 30, 155},
        {0, 18, 2, 0, 128},      {0, 26, 2, 0, 144},      {1, 18, 2, 20, 168},      {10, 26, 2, 20, 184},
        {20, 18, 2, 20, 168},    {20, 26, 2, 20, 184},    {30, 18, 2, 30, 188},     {30, 26, 2, 30, 204},
    };
    for (const Row& r : rows)
        QTest::addRow("frame %d, menu %d, ratio %g", r.top, r.menu, r.ratio)
            << r.top << r.menu << r.ratio << r.band << r.cut;
}

// The page print cuts exactly what lies above the page: the title band as
// drawn, the menu bar as tall as it is and the toolbar band, at the
// capture's ratio.
void TestCapture::pageCutIsWhatLiesAboveThePage()
{
    QFETCH(int, top);
    QFETCH(int, menu);
    QFETCH(double, ratio);
    QFETCH(int, band);
    QFETCH(int, cut);
    QCOMPARE(titleBand(top, arial(8.25, true)), band);
    QCOMPARE(device(band, ratio) + device(menu + 46, ratio), cut);
    QCOMPARE(pageCut(band, menu, ratio), cut);
}

void TestCapture::pagePrintStartsUnderTheToolbar_data()
{
    // Each page at the frame top the platform reports (-1) and at frame tops
    // a window system may give (0 none, as where the compositor draws the
    // decorations; 10, a title bar of 20 device pixels at 2x; 20 and 30),
    // with the menu bar as drawn and taller (a bigger menu font). The ratio
    // is the test screen's (QT_SCALE_FACTOR: 1, 1.25, 1.5 and 2).
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("top");
    QTest::addColumn<bool>("tall");
    for (const char* window : {"Form1", "Form6", "FResultSim", "Form4"}) {
        const bool every = QLatin1String(window) == QLatin1String("Form1");
        for (int top : {-1, 0, 10, 20, 30})
            for (bool tall : {false, true})
                if (every || top != 10)
                    QTest::addRow("%s, frame %s, menu %s", window,
                                  top < 0 ? "reported" : qPrintable(QString::number(top)), tall ? "taller" : "as drawn")
                        << QString::fromLatin1(window) << top << tall;
    }
}

// Through the page's own Print button: the print picture is the window's
// own image from its client area's 690-twip line down, pixel for pixel,
// whatever the frame's top, the menu bar's height and the ratio; nothing of
// the toolbar band shows above the page, the picture keeps the window's
// size, the rows the capture does not reach stay white, and Copy's image
// (which the clipboard keeps) is the whole window under its title band.
void TestCapture::pagePrintStartsUnderTheToolbar()
{
    QFETCH(QString, window);
    QFETCH(int, top);
    QFETCH(bool, tall);
    OutputFixture f;
    const auto caret = steadyCaret();
    std::optional<FrameTopOf> frame;
    if (top >= 0)
        frame.emplace(top);
    indice().show();
    Form& page = windowNamed(window);
    QVERIFY(showForPrint(page));
    FormWidget* w = page.widget();
    const int drawnMenu = menuBarRows(w);
    if (tall)
        tallerMenuBar(w);
    const int menu = menuBarRows(w);
    QVERIFY2(!tall || menu >= drawnMenu + 6, qPrintable(QStringLiteral("menu bar %1").arg(menu)));
    const qreal ratio = w->devicePixelRatioF();
    const int band = bandFor(frameTop(w));
    test::click(page.ctl(QStringLiteral("Image7")));
    QCOMPARE(f.msgs.count(), 0);

    // Where things lie, device pixels: the window's own image in the capture,
    // under the band; the 690-twip line in that image.
    const QImage own = whiteGrab(page);
    const int left = device(w->geometry().left() - w->frameGeometry().left(), ratio);
    const int under = device(band, ratio);
    const int line = device(menu + 46, ratio);
    const int cut = under + line;
    QImage shot = f.clip.image().convertToFormat(QImage::Format_RGB32);
    shot.setDevicePixelRatio(1);
    const QSize outer = w->frameGeometry().size();
    QImage printed = QImage(tempPictureFile()).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(printed.size(), outer);

    // The heading band: its rows in the window, those below the line, and
    // those at the top of the picture file, which are the same at the
    // file's designed size.
    QWidget* title = heading(page);
    const QColor head = title->palette().color(QPalette::Window);
    const int x = device(title->mapTo(w, QPoint(12, 0)).x(), ratio);
    const int inWindow = rowsOf(own, x, device(title->mapTo(w, QPoint(0, 0)).y(), ratio), head);
    const int belowLine = rowsOf(own, x, line, head);
    const int inPrint = rowsOf(printed, int((x + left) / ratio), 0, head, ratio == 1 ? 0 : 12);
    const QString figures = QStringLiteral("menu bar %1, title band %2; heading rows: %3 in the window, %4 below its "
                                           "690-twip line (device pixels), %5 at the top of the picture file; "
                                           "%6 of %7 device rows cut")
                                .arg(menu)
                                .arg(band)
                                .arg(inWindow)
                                .arg(belowLine)
                                .arg(inPrint)
                                .arg(cut)
                                .arg(shot.height());
    // TAVRELO_CAPTURE_FIGURES=1 prints them for every row.
    if (qEnvironmentVariableIsSet("TAVRELO_CAPTURE_FIGURES"))
        qInfo("%s", qPrintable(figures));
    QVERIFY2(belowLine > 0 && std::abs(inPrint - belowLine / ratio) <= 1, qPrintable(figures));

    // Copy's image, which the page print takes: the band, then the whole window.
    const int height = band + w->frameGeometry().bottom() - w->geometry().top() + 1;
    QCOMPARE(shot.size(), (QSizeF(outer.width(), height) * ratio).toSize());
    QVERIFY(sameRows(shot, QPoint(left, under), own, own.rect()));
    if (under > 0)
        QCOMPARE(shot.pixelColor(shot.width() - left - 10, under - 1), QColor(0, 0, 128));

    // The canvas, at the screen's resolution: the window's own rows from the
    // line (with the capture's frame at their sides and under them), then
    // white.
    QImage drawn = test::shownAtDevice(canvas()).convertToFormat(QImage::Format_RGB32);
    drawn.setDevicePixelRatio(1);
    const int kept = shot.height() - cut;
    QVERIFY(kept >= own.height() - line && kept < drawn.height());
    QCOMPARE(drawn.width(), shot.width());
    QVERIFY2(sameRows(drawn, QPoint(left, 0), own, QRect(0, line, own.width(), own.height() - line)),
             qPrintable(figures));
    QVERIFY(sameRows(drawn, QPoint(0, 0), shot, QRect(0, cut, shot.width(), kept)));
    QVERIFY(allWhite(drawn, kept));

    // The picture file is the canvas at the window's designed size: its
    // first row is the client area's 690-twip line.
    QVERIFY(printed == (ratio == 1 ? drawn : drawn.scaled(outer, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

void TestCapture::printSetUpShowsTheHeadingWhole_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("topic page") << "Form1";
    QTest::newRow("lesson page") << "Form9";
}

// The print set-up window's sheet shows the page from its heading down,
// the heading whole: as many of its rows, at the sheet's scale, as the
// window shows under the toolbar band.
void TestCapture::printSetUpShowsTheHeadingWhole()
{
    QFETCH(QString, window);
    OutputFixture f;
    indice().show();
    Form& page = windowNamed(window);
    QVERIFY(showForPrint(page));
    FormWidget* w = page.widget();
    const QRect label = heading(page)->geometry();
    const int below = label.bottom() + 1 - 46; // logical rows under the toolbar band
    QVERIFY(below > 30);
    const QColor head = heading(page)->palette().color(QPalette::Window);
    test::click(page.ctl(QStringLiteral("Image7")));
    QCOMPARE(f.msgs.count(), 0);
    QVERIFY(fprintpp().visible());
    auto* image = fprintpp().ctl<ImageButton>(QStringLiteral("Image1"));
    QImage shown = image->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const qreal ratio = shown.devicePixelRatio();
    shown.setDevicePixelRatio(1);
    // The sheet's picture scaled from the window's frame width.
    const double scale = double(shown.width()) / (w->frameGeometry().width() * ratio);
    const int x = int((label.left() + 12 + w->geometry().left() - w->frameGeometry().left()) * ratio * scale) + 1;
    const int rows = rowsOf(shown, x, 0, head, 40);
    QVERIFY2(std::abs(rows - below * ratio * scale) <= 2,
             qPrintable(QStringLiteral("%1 heading rows on the sheet, %2 expected")
                            .arg(rows)
                            .arg(below * ratio * scale)));
}

void TestCapture::titleBandDrawnAtTheRatio_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("top");
    QTest::newRow("topic page, frame reported") << "Form1" << -1;
    QTest::newRow("lesson page, frame of 30") << "Form2" << 30;
}

namespace {

// The band as windowImage lays it out, drawn at `ratio`: the icon at 2
// pixels from the frame's left side, the caption 5 pixels after it,
// centred on the band's height.
QImage bandDrawn(QWidget* w, int band, qreal ratio)
{
    const int width = w->frameGeometry().width();
    const int left = w->geometry().left() - w->frameGeometry().left();
    QImage out((QSizeF(width, band) * ratio).toSize(), QImage::Format_RGB32);
    out.setDevicePixelRatio(ratio);
    out.fill(QColor(0, 0, 128));
    QPainter p(&out);
    const QRect place(left + 2, (band - 16) / 2, 16, 16);
    p.drawPixmap(place, w->windowIcon().pixmap(place.size(), ratio));
    const int captionLeft = place.right() + 5;
    p.setPen(Qt::white);
    p.setFont(arial(8.25, true));
    p.drawText(QRect(captionLeft, 0, width - captionLeft - 4, band), Qt::AlignVCenter | Qt::AlignLeft,
               w->windowTitle());
    p.end();
    out.setDevicePixelRatio(1);
    return out;
}

// The pixels of two images of a size whose greys are more than a shade apart.
int pixelsOff(const QImage& a, const QImage& b)
{
    int off = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            off += std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y))) > 40 ? 1 : 0;
    return off;
}

} // namespace

// The title band's icon and caption are drawn at the capture's ratio (this
// test runs at 1.5 and 2 too): within a shade of a band drawn at the ratio,
// and unlike one drawn at 1x and scaled up.
void TestCapture::titleBandDrawnAtTheRatio()
{
    QFETCH(QString, window);
    QFETCH(int, top);
    OutputFixture f;
    std::optional<FrameTopOf> frame;
    if (top >= 0)
        frame.emplace(top);
    indice().show();
    Form& page = windowNamed(window);
    QVERIFY(showActive(page));
    FormWidget* w = page.widget();
    QVERIFY(!w->windowIcon().isNull());
    const qreal ratio = w->devicePixelRatioF();
    const int band = bandFor(frameTop(w));
    if (band == 0)
        QSKIP("The window system reports no frame: no title band");
    QImage shot = windowImage(w).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shot.devicePixelRatio(), ratio);
    shot.setDevicePixelRatio(1);
    const QImage drawn = shot.copy(0, 0, shot.width(), device(band, ratio));

    const QImage atRatio = bandDrawn(w, band, ratio).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(atRatio.size(), drawn.size());
    const int near = pixelsOff(drawn, atRatio);
    QVERIFY2(near <= drawn.width() * drawn.height() / 1000, qPrintable(QString::number(near)));
    if (ratio < 1.4)
        return;
    // Drawn at 1x and scaled, the caption's strokes come out thicker and
    // blurred, or blocky: many pixels more than a shade off.
    for (auto mode : {Qt::SmoothTransformation, Qt::FastTransformation}) {
        const QImage scaled = bandDrawn(w, band, 1).scaled(drawn.size(), Qt::IgnoreAspectRatio, mode);
        const int far = pixelsOff(drawn, scaled);
        QVERIFY2(far > 10 * (near + 10), qPrintable(QStringLiteral("%1 against %2").arg(far).arg(near)));
    }
}

TAV_TEST_MAIN(TestCapture)
#include "tst_capture.moc"
