// A panel composed on the print canvas: its pictures with their drawing,
// its captions under the colour rules, and the print and save modes.

#include "common/errors.h"
#include "common/program.h"
#include "common/twips.h"
#include "output/canvas.h"
#include "output/compose.h"
#include "output/fprintpp.h"
#include "outputkit.h"
#include "platform/controls.h"
#include "testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace tav;
using tav::test::OutputFixture;

namespace {

const QString kPrintTitle = QStringLiteral("Error printing panel");
const QString kSaveTitle = QStringLiteral("Error saving panel");

bool near(QColor a, QColor b, int tolerance = 8)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

// Any pixel of the rectangle (twips) close to the colour.
bool shows(const QImage& img, const QRect& twipArea, QColor c, int tolerance = 60)
{
    const QRect px = QRect(twips(twipArea.left()), twips(twipArea.top()), twips(twipArea.width()),
                           twips(twipArea.height()))
                         .intersected(img.rect());
    for (int y = px.top(); y <= px.bottom(); ++y)
        for (int x = px.left(); x <= px.right(); ++x)
            if (near(img.pixelColor(x, y), c, tolerance))
                return true;
    return false;
}

QColor at(const QImage& img, int xTwips, int yTwips) { return img.pixelColor(twips(xTwips), twips(yTwips)); }

// A dark panel with two picture boxes and one caption, printed as a window
// of the program would print it.
struct Panel {
    Panel()
    {
        panel = std::make_unique<PictureBox>();
        panel->resize(twips(3000), twips(1500));
        panel->setBackColor(Qt::black);
        first = place<PictureBox>(panel.get(), QStringLiteral("PictureA"), 150, 150, 900, 600);
        first->setBackColor(QColor(0, 160, 0));
        // Drawing over the background: it must reach the picture too.
        first->setDrawWidth(3);
        first->line(0, 300, 900, 300, QColor(0, 0, 255));
        second = place<PictureBox>(panel.get(), QStringLiteral("PictureB"), 1500, 300, 600, 600);
        QPixmap yellow(twips(600), twips(600));
        yellow.fill(QColor(255, 255, 0));
        second->setPicture(yellow);
        caption = place<Label>(panel.get(), QStringLiteral("Caption"), 300, 1050, 2400, 400);
        caption->setText(QStringLiteral("MMMMMMMM"));
        caption->setFont(arial(14, true, true));
        caption->setForeColor(QColor(255, 255, 255));
    }

    void print()
    {
        TrapErrors t(QStringLiteral("Reload and try again"), kPrintTitle);
        Composer c(t, flag == 1);
        c.sizeCanvas(3000, 1500) && c.picture([&] { return first; }, stagingPicture())
            && c.picture(
                [&] {
                    if (failSecond)
                        throw RuntimeError(ErrInvalidPicture, QStringLiteral("Invalid picture"));
                    return second;
                },
                secondStagingPicture())
            && c.caption([&] { return static_cast<QLabel*>(caption); }, CaptionColor::CopyWhiteAsBlack)
            && c.finish();
    }

    void save(const QString& file)
    {
        TrapErrors t(QStringLiteral("Reload and try again"), kSaveTitle);
        saveComposed([&](int v) { flag = v; }, [&] { print(); }, file, t);
    }

    std::unique_ptr<PictureBox> panel;
    PictureBox* first = nullptr;
    PictureBox* second = nullptr;
    Label* caption = nullptr;
    int flag = 0;
    bool failSecond = false;
};

void freshCanvas()
{
    emptyPicture(canvas());
    QFile::remove(tempPictureFile());
}

} // namespace

class TestCompose : public QObject {
    Q_OBJECT

private slots:
    void printShowsThePanelOnWhite();
    void captionColors_data();
    void captionColors();
    void captionKeepsFontButNotItalic();
    void saveWritesABitmapAndNoWindow_data();
    void saveWritesABitmapAndNoWindow();
    void abortWhileComposing_data();
    void abortWhileComposing();
    void abortInTheSaveBoxLeavesPrintMode();
    void composingAgainShowsTheNewDrawing();
};

void TestCompose::printShowsThePanelOnWhite()
{
    OutputFixture f;
    freshCanvas();
    Panel p;
    p.print();
    QCOMPARE(f.msgs.count(), 0);
    QVERIFY(fprintpp().visible());
    QCOMPARE(canvas()->size(), QSize(twips(3000), twips(1500)));
    // The temporary file holds the finished picture while the window is open.
    const QImage img(tempPictureFile());
    QCOMPARE(img.size(), canvas()->size());
    QVERIFY(near(at(img, 300, 250), QColor(0, 160, 0)));   // first box's background
    QVERIFY(near(at(img, 600, 450), QColor(0, 0, 255), 40)); // its drawn line
    QVERIFY(near(at(img, 1800, 600), QColor(255, 255, 0))); // second box's picture
    QVERIFY(near(at(img, 1300, 600), Qt::white));           // gap: the page, not the dark panel
    QVERIFY(near(at(img, 2500, 200), Qt::white));
    // The white caption prints black.
    QVERIFY(shows(img, QRect(300, 1050, 2400, 400), Qt::black));
    QVERIFY(!shows(img, QRect(300, 1050, 2400, 400), QColor(0, 160, 0), 10));
}

void TestCompose::captionColors_data()
{
    QTest::addColumn<QColor>("label");
    QTest::addColumn<int>("rule");
    QTest::addColumn<QColor>("expected");
    const QColor white(255, 255, 255), black(0, 0, 0), yellow(255, 255, 0), blue(0, 0, 255);
    const QColor current(64, 0, 0);
    QTest::newRow("copy keeps white") << white << int(CaptionColor::Copy) << white;
    QTest::newRow("white as black") << white << int(CaptionColor::CopyWhiteAsBlack) << black;
    QTest::newRow("yellow stays yellow") << yellow << int(CaptionColor::CopyWhiteAsBlack) << yellow;
    QTest::newRow("near white stays") << QColor(254, 255, 255) << int(CaptionColor::CopyWhiteAsBlack)
                                      << QColor(254, 255, 255);
    QTest::newRow("fixed colour") << yellow << int(CaptionColor::Fixed) << blue;
    QTest::newRow("canvas colour") << yellow << int(CaptionColor::Current) << current;
}

void TestCompose::captionColors()
{
    QFETCH(QColor, label);
    QFETCH(int, rule);
    QFETCH(QColor, expected);
    OutputFixture f;
    canvas()->setForeColor(QColor(64, 0, 0));
    QCOMPARE(captionColor(label, CaptionColor(rule), QColor(0, 0, 255)).rgb(), expected.rgb());
}

void TestCompose::captionKeepsFontButNotItalic()
{
    OutputFixture f;
    freshCanvas();
    Panel p;
    p.caption->setForeColor(QColor(255, 0, 0));
    IgnoreErrors e;
    Composer c(e, true);
    QVERIFY(c.sizeCanvas(3000, 1500));
    QVERIFY(c.caption([&] { return static_cast<QLabel*>(p.caption); }, CaptionColor::Copy));
    const QFont font = canvas()->font();
    QCOMPARE(font.family(), p.caption->font().family());
    QCOMPARE(font.pointSizeF(), 14.0);
    QVERIFY(font.bold());
    QVERIFY(!font.italic());
    QCOMPARE(canvas()->foreColor().rgb(), QColor(255, 0, 0).rgb());
    const QImage img = canvas()->image();
    QVERIFY(shows(img, QRect(300, 1050, 2400, 400), QColor(255, 0, 0)));
    QVERIFY(!shows(img, QRect(0, 0, 3000, 1000), QColor(255, 0, 0)));
}

void TestCompose::saveWritesABitmapAndNoWindow_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("bmp name") << QStringLiteral("panel.bmp");
    QTest::newRow("other extension") << QStringLiteral("panel.txt");
    QTest::newRow("no extension") << QStringLiteral("panel");
}

void TestCompose::saveWritesABitmapAndNoWindow()
{
    QFETCH(QString, name);
    OutputFixture f;
    freshCanvas();
    QTemporaryDir dir;
    const QString file = dir.filePath(name);
    Panel p;
    p.save(file);
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(p.flag, 0);
    QVERIFY(!fprintpp().visible());
    QVERIFY(!QFile::exists(tempPictureFile()));
    QFile in(file);
    QVERIFY(in.open(QIODevice::ReadOnly));
    QCOMPARE(in.read(2), QByteArray("BM"));
    in.close();
    const QImage img(file, "BMP");
    QCOMPARE(img.size(), QSize(twips(3000), twips(1500)));
    QVERIFY(near(at(img, 1800, 600), QColor(255, 255, 0)));
    QVERIFY(near(at(img, 1300, 600), Qt::white));
}

void TestCompose::abortWhileComposing_data()
{
    QTest::addColumn<bool>("saving");
    QTest::newRow("print") << false;
    QTest::newRow("save") << true;
}

void TestCompose::abortWhileComposing()
{
    QFETCH(bool, saving);
    OutputFixture f;
    freshCanvas();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("cut.bmp"));
    Panel p;
    p.failSecond = true;
    f.msgs.answer(3); // Abort
    if (saving)
        p.save(file);
    else
        p.print();
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().title, kPrintTitle);
    QCOMPARE(p.flag, 0);
    QVERIFY(!fprintpp().visible());
    // The canvas keeps what was composed before the failing step; a save
    // still writes it.
    const QImage img = saving ? QImage(file, "BMP") : canvas()->image();
    QVERIFY(!img.isNull());
    QVERIFY(near(at(img, 300, 250), QColor(0, 160, 0)));
    QVERIFY(near(at(img, 1800, 600), Qt::white));
    QVERIFY(!shows(img, QRect(300, 1050, 2400, 400), Qt::black, 10));
    // The first box's image stays in the temporary file.
    QVERIFY(QFile::exists(tempPictureFile()));
}

void TestCompose::abortInTheSaveBoxLeavesPrintMode()
{
    OutputFixture f;
    freshCanvas();
    Panel p;
    f.msgs.answer(3); // Abort the failing write
    p.save(QDir::tempPath() + QStringLiteral("/no/such/folder/panel.bmp"));
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().title, kSaveTitle);
    QCOMPARE(p.flag, 0);
    QVERIFY(!fprintpp().visible());
    p.print();
    QVERIFY(fprintpp().visible());
    QVERIFY(QFile::exists(tempPictureFile()));
}

void TestCompose::composingAgainShowsTheNewDrawing()
{
    OutputFixture f;
    freshCanvas();
    QTemporaryDir dir;
    Panel p;
    p.save(dir.filePath(QStringLiteral("one.bmp")));
    // Within the same second the temporary file is rewritten under the
    // same name: the new image must be read, not a remembered one.
    p.first->line(450, 0, 450, 600, QColor(255, 0, 255));
    p.save(dir.filePath(QStringLiteral("two.bmp")));
    QCOMPARE(f.msgs.count(), 0);
    const QImage one(dir.filePath(QStringLiteral("one.bmp")), "BMP");
    const QImage two(dir.filePath(QStringLiteral("two.bmp")), "BMP");
    QVERIFY(!shows(one, QRect(500, 200, 200, 100), QColor(255, 0, 255), 40));
    QVERIFY(shows(two, QRect(500, 200, 200, 100), QColor(255, 0, 255), 40));
}

TAV_TEST_MAIN(TestCompose)
#include "tst_compose.moc"
