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
#include <QMenuBar>
#include <QScopeGuard>
#include <QTest>

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
    return w->frameGeometry().size() + QSize(0, titleBand(w) - (w->geometry().top() - w->frameGeometry().top()));
}

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

    // The capture moved up by 1260 twips from the frame's top, and by the
    // title band's height over the frame's; the foot receives nothing.
    const int cut = twips(kCutBandTwips);
    const int grown = shot.height() - outer.height();
    printed = printed.convertToFormat(QImage::Format_RGB32);
    QCOMPARE(printed.copy(0, 0, outer.width(), outer.height() - cut),
             shot.copy(0, cut + grown, outer.width(), outer.height() - cut));
    QImage foot(outer.width(), cut, QImage::Format_RGB32);
    foot.fill(Qt::white);
    QCOMPARE(printed.copy(0, outer.height() - cut, outer.width(), cut), foot);

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
    const int band = twips(kCutBandTwips);
    for (int y = printed.height() - band + 2; y < printed.height(); y += 7)
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
        const int cut = twips(kCutBandTwips) + captured.height() - outer.height();
        const QImage kept = printed.convertToFormat(QImage::Format_RGB32)
                                .copy(0, 0, outer.width(), outer.height() - twips(kCutBandTwips));
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

TAV_TEST_MAIN(TestCapture)
#include "tst_capture.moc"
