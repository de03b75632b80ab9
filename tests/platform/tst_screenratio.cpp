// The pictures the program draws itself, at the device pixel ratio of the
// screen (QT_SCALE_FACTOR in the test's environment; ctest runs this at 1,
// 1.25, 1.5 and 2): each surface has the device size, a picture at 2x is
// drawn at 2x and not its 1x raster doubled, a framed box shows its four
// lines (at a whole ratio, each one line wide on the box's outermost device
// pixels), a grid's lines have one width, the bands reach the right edge;
// and a window moved to a screen of another ratio draws its pictures and
// marks again (two screens of the offscreen platform, from a configuration
// file).

#include "testkit.h"
#include "testmain.h"

#include "common/random.h"
#include "common/tabelaimp.h"
#include "measures/form11.h"
#include "output/fprintpreview.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "shell/indice.h"
#include "shell/topics.h"
#include "simulation/form4.h"
#include "simulation/form4drawing.h"
#include "simulation/fresultsim.h"
#include "simulation/simula.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <cmath>
#include <cstring>
#include <memory>

using namespace tav;
using namespace tav::test;

namespace {

qreal ratio() { return qApp->devicePixelRatio(); }

// The share, in points, of neighbouring rows and columns that are exact
// copies of each other: a picture drawn at 1x and stretched to 2x repeats
// every row and column.
double copyShare(const QImage& source)
{
    const QImage img = source.convertToFormat(QImage::Format_RGB32);
    const int w = img.width(), h = img.height();
    if (w < 2 || h < 2)
        return 0;
    int copies = 0;
    for (int y = 1; y < h; ++y)
        copies += std::memcmp(img.constScanLine(y), img.constScanLine(y - 1), size_t(w) * 4) == 0;
    for (int x = 1; x < w; ++x) {
        bool same = true;
        for (int y = 0; y < h && same; ++y)
            same = img.pixel(x, y) == img.pixel(x - 1, y);
        copies += same;
    }
    return 100.0 * copies / double(w - 1 + h - 1);
}

// A control as the screen shows it, and as it paints itself at 1x.
QImage atScreen(QWidget* w) { return w->grab().toImage(); }
QImage atOne(QWidget* w)
{
    QImage one(w->size(), QImage::Format_RGB32);
    one.fill(Qt::white);
    w->render(&one);
    return one;
}

// The rise of a picture at the screen's ratio over the same at 1x.
double rise(const QImage& screen, const QImage& one) { return copyShare(screen) - copyShare(one); }

bool fullLine(const QImage& img, bool row, int at, int from, int to, QRgb color)
{
    for (int i = from; i <= to; ++i)
        if ((row ? img.pixel(i, at) : img.pixel(at, i)) != color)
            return false;
    return true;
}

// The sides of `r` (device pixels of `img`) without an unbroken line of
// `color` within `slack` device pixels of the edge.
QStringList missingSides(const QImage& img, const QRect& r, QRgb color, int slack)
{
    QStringList missing;
    const auto near = [&](int edge, bool row, int from, int to) {
        const int limit = row ? img.height() - 1 : img.width() - 1;
        for (int at = std::max(0, edge - slack); at <= std::min(limit, edge + slack); ++at)
            if (fullLine(img, row, at, from, to, color))
                return true;
        return false;
    };
    const int inset = slack + 1;
    if (!near(r.top(), true, r.left() + inset, r.right() - inset))
        missing << QStringLiteral("top");
    if (!near(r.bottom(), true, r.left() + inset, r.right() - inset))
        missing << QStringLiteral("bottom");
    if (!near(r.left(), false, r.top() + inset, r.bottom() - inset))
        missing << QStringLiteral("left");
    if (!near(r.right(), false, r.top() + inset, r.bottom() - inset))
        missing << QStringLiteral("right");
    return missing;
}

// How many device pixels thick each side of `r` (device pixels of `img`) is
// in `color`, from its outermost row or column inwards: the unbroken lines
// along the side, away from the corners by `inset`, as "left/right/top/bottom".
QString sideDepths(const QImage& img, const QRect& r, QRgb color, int inset)
{
    const auto depth = [&](bool row, int edge, int step, int from, int to) {
        int n = 0;
        for (int at = edge; at >= 0 && at < (row ? img.height() : img.width()); at += step, ++n)
            if (!fullLine(img, row, at, from, to, color))
                break;
        return n;
    };
    const int x0 = r.left() + inset, x1 = r.right() - inset, y0 = r.top() + inset, y1 = r.bottom() - inset;
    return QStringLiteral("%1/%2/%3/%4")
        .arg(depth(false, r.left(), 1, y0, y1))
        .arg(depth(false, r.right(), -1, y0, y1))
        .arg(depth(true, r.top(), 1, x0, x1))
        .arg(depth(true, r.bottom(), -1, x0, x1));
}

// The runs of columns (or rows) of `img` that `color` fills for most of
// their length: a grid's lines, as {start, width}.
QList<QPair<int, int>> gridLines(const QImage& img, QRgb color, bool vertical)
{
    const int n = vertical ? img.width() : img.height(), len = vertical ? img.height() : img.width();
    QList<QPair<int, int>> out;
    for (int i = 0; i < n; ++i) {
        int count = 0;
        for (int j = 0; j < len; ++j)
            count += (vertical ? img.pixel(i, j) : img.pixel(j, i)) == color;
        if (count * 10 < len * 6)
            continue;
        if (!out.isEmpty() && out.last().first + out.last().second == i)
            ++out.last().second;
        else
            out.append({i, 1});
    }
    // A line running off the far edge shows only in part.
    if (!out.isEmpty() && out.last().first + out.last().second == n)
        out.removeLast();
    return out;
}

QString describe(const QList<QPair<int, int>>& lines)
{
    QStringList parts;
    for (const auto& l : lines)
        parts << QStringLiteral("%1+%2").arg(l.first).arg(l.second);
    return parts.join(QLatin1Char(' '));
}

// The inspected rings of topic 4's consignment not of the size a ring drawn
// at the drawing's ratio has (its diameter and pen width in device pixels,
// give or take the smoothed rim), and a word if there are not as many as
// the sample: empty when all is well. Each ring is looked for within its
// unit's cell, so that neighbours touching do not merge.
QString wrongRings(Form& f)
{
    auto* box = f.ctl<PictureBox>(QStringLiteral("Picture1"));
    const int units = f.ctl<QLineEdit>(QStringLiteral("Text1"), 0)->text().toInt();
    const int sample = f.ctl<QLineEdit>(QStringLiteral("Text1"), 2)->text().toInt();
    const QImage& d = box->drawing();
    const qreal r = d.devicePixelRatio();
    const double unit = box->scaleMode() == PictureBox::ScaleTwips ? 15 : 1;
    const ConsignmentGrid g = consignmentGrid(float(box->scaleWidth()), float(box->scaleHeight()), units);
    const double side = (2 * g.inspectedRadius() / unit + box->drawWidth()) * r;
    const auto dev = [&](double v) { return int(std::lround(v / unit * r)); };
    // The ring's own blue, not its rim nor where it crosses a grid line.
    const auto blue = [](QRgb p) { return qAlpha(p) >= 160 && qRed(p) <= 60 && qGreen(p) <= 60 && qBlue(p) >= 195; };
    QStringList wrong;
    int rings = 0;
    for (int u = 1; u <= units; ++u) {
        const QPointF c = g.centre(u);
        const int x0 = std::max(0, dev(c.x() - g.cellW / 2)), x1 = std::min(d.width(), dev(c.x() + g.cellW / 2));
        const int y0 = std::max(0, dev(c.y() - g.cellH / 2)), y1 = std::min(d.height(), dev(c.y() + g.cellH / 2));
        QRect seen;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (blue(d.pixel(x, y)))
                    seen |= QRect(x, y, 1, 1);
        if (seen.isEmpty())
            continue;
        ++rings;
        if (std::max(seen.width(), seen.height()) > side + 2 || std::min(seen.width(), seen.height()) < side - 3)
            wrong << QStringLiteral("%1x%2").arg(seen.width()).arg(seen.height());
    }
    if (rings != sample)
        wrong << QStringLiteral("%1 rings of %2").arg(rings).arg(sample);
    if (!wrong.isEmpty())
        wrong.prepend(QStringLiteral("at %1, %2 device pixels across:").arg(r).arg(side));
    return wrong.join(QLatin1Char(' '));
}

// The window of that name; the table preview is reached from printing only.
Form& named(const QString& window)
{
    if (window == QLatin1String("FPrintPreview"))
        return fprintpreview();
    return windowNamed(window);
}

// Shows a window and makes the drawing its picture boxes hold.
void prepare(const QString& window)
{
    if (window == QLatin1String("FPrintPreview")) {
        // A table of digits and rules for the preview's page.
        TabelaImp& t = tabelaimp();
        t.imptitulo = QStringLiteral("Sample size");
        t.impsubtitulo = QStringLiteral("Confidence level");
        t.implinhas = 40;
        t.impcolunas = 4;
        for (int i = 0; i <= 40; ++i) {
            t.setImprotulo(i, QString::number(i));
            for (int j = 0; j <= 4; ++j)
                t.setImpcelula(j, i, i * 10 + j);
        }
    }
    Form& f = named(window);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(f.widget()));
    if (window == QLatin1String("Form4")) {
        formRef<Form4>().Image1_Click();
    } else if (window == QLatin1String("FResultSim")) {
        f.ctl(QStringLiteral("Picture5"))->show();
        formRef<FResultSim>().desenhabase(0, 100, 0.1f, 10, 0.9f, 0.9f);
    } else if (window == QLatin1String("Form11")) {
        int flag = 0;
        int32_t pop = 100, samp = 10;
        float inf = 0.1f, pr1 = 0.9f, pr2 = 0.9f, effic = 0.5f;
        formRef<Form11>().desenhabase(flag, pop, inf, samp, pr1, pr2, effic);
    }
    settle();
}

const QRgb kGridGrey = qRgb(200, 200, 200);

} // namespace

class TestScreenRatio : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> fx;
    std::unique_ptr<LcgRandom> random;

private slots:
    void init()
    {
        fx = std::make_unique<ProgramFixture>();
        resetSimulationState();
        tabelaimp().clear();
        random = std::make_unique<LcgRandom>(4242);
        setRng(random.get());
        indice().show();
    }
    void cleanup()
    {
        setRng(nullptr);
        fx.reset();
    }

    void picturesAtTheScreensRatio_data();
    void picturesAtTheScreensRatio();
    void iconAndHandAtTheScreensRatio();
    void framedBoxesWhole_data();
    void framedBoxesWhole();
    void gridLinesOfOneWidth_data();
    void gridLinesOfOneWidth();
    void pixelOperationsKeepTheirMeaning_data();
    void pixelOperationsKeepTheirMeaning();
    void bandsReachTheRightEdge_data();
    void bandsReachTheRightEdge();
    void picturesFollowTheScreen();
};

void TestScreenRatio::picturesAtTheScreensRatio_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("drawing"); // a picture box's kept drawing, else its picture
    QTest::newRow("start page emblem") << "Indice" << "Image1_0" << false;
    QTest::newRow("sampling: Calculate face") << "Form1" << "Image1" << false;
    QTest::newRow("sampling: toolbar face") << "Form1" << "Image3" << false;
    QTest::newRow("topic 6 equation") << "Form6" << "Image1" << false;
    QTest::newRow("topic 13 formula") << "Form12" << "Picture1" << false;
    QTest::newRow("topic 10 diagram") << "Form10" << "Image3" << false;
    QTest::newRow("topic 4 consignment after a run") << "Form4" << "Picture1" << true;
    QTest::newRow("results consignment") << "FResultSim" << "Picture1" << true;
    QTest::newRow("measures Picture1") << "Form11" << "Picture1" << true;
    QTest::newRow("measures Picture6") << "Form11" << "Picture6" << true;
    QTest::newRow("measures Picture7") << "Form11" << "Picture7" << true;
    QTest::newRow("table preview page") << "FPrintPreview" << "Picture1" << true;
}

void TestScreenRatio::picturesAtTheScreensRatio()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(bool, drawing);
    prepare(window);
    QWidget* w = named(window).ctl(control);
    const qreal r = ratio();
    QCOMPARE(w->devicePixelRatioF(), r);
    const QImage screen = atScreen(w), one = atOne(w);

    // The surface drawn into, after the control has been painted.
    QSize device, logical;
    qreal surfaceRatio = 0;
    if (drawing) {
        const QImage& d = static_cast<PictureBox*>(w)->drawing();
        device = d.size();
        surfaceRatio = d.devicePixelRatio();
        logical = w->size();
    } else {
        const QPixmap p = qobject_cast<ImageButton*>(w) ? static_cast<ImageButton*>(w)->picture()
                                                         : static_cast<PictureBox*>(w)->picture();
        device = p.size();
        surfaceRatio = p.devicePixelRatio();
        logical = p.deviceIndependentSize().toSize();
    }
    const double up = rise(screen, one);
    qInfo("rise %s %s at %g: %.1f", qPrintable(window), qPrintable(control), r, up);
    QCOMPARE(surfaceRatio, r);
    QCOMPARE(device, pictures::deviceSize(logical, r));
    if (r >= 2)
        QVERIFY2(up < 10, qPrintable(QStringLiteral("rise %1").arg(up)));
}

void TestScreenRatio::iconAndHandAtTheScreensRatio()
{
    prepare(QStringLiteral("Form6"));
    Form& f = windowNamed(QStringLiteral("Form6"));
    const qreal r = ratio();
    const QPixmap icon = f.widget()->windowIcon().pixmap(QSize(32, 32), r);
    const QPixmap icon1 = f.widget()->windowIcon().pixmap(QSize(32, 32), 1.0);
    QCOMPARE(icon.size(), pictures::deviceSize(QSize(32, 32), r));
    const double up = rise(icon.toImage(), icon1.toImage());
    qInfo("rise window icon at %g: %.1f", r, up);
    if (r >= 2)
        QVERIFY2(up < 10, qPrintable(QStringLiteral("rise %1").arg(up)));

    QWidget* carrier = f.ctl(QStringLiteral("Image2"));
    QCOMPARE(carrier->cursor().shape(), Qt::BitmapCursor);
    const QPixmap hand = carrier->cursor().pixmap();
    QCOMPARE(hand.devicePixelRatio(), r);
    QCOMPARE(hand.size(), pictures::deviceSize(QSize(32, 32), r));
}

void TestScreenRatio::framedBoxesWhole_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::newRow("topic 6 equation") << "Form6" << "Image1";
    QTest::newRow("topic 8 equation") << "Form8" << "Image1";
    QTest::newRow("topic 9 equation") << "Form9" << "Image1";
    QTest::newRow("topic 10 diagram") << "Form10" << "Image3";
    QTest::newRow("topic 13 formula") << "Form12" << "Picture1";
}

void TestScreenRatio::framedBoxesWhole()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    prepare(window);
    QWidget* w = windowNamed(window).ctl(control);
    const qreal r = ratio();
    const QRgb black = qRgb(0, 0, 0);
    const int slack = int(std::ceil(r));

    // The control alone.
    const QImage alone = atScreen(w);
    QStringList missing = missingSides(alone, alone.rect(), black, slack);
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("alone: ") + missing.join(QLatin1Char(' '))));

    // In its window, where its edges fall between device pixels.
    QWidget* top = w->window();
    const QImage whole = atScreen(top);
    const QPoint at = w->mapTo(top, QPoint(0, 0));
    const auto dev = [&](int v) { return int(std::lround(v * r)); };
    const QRect box(QPoint(dev(at.x()), dev(at.y())), QPoint(dev(at.x() + w->width()) - 1, dev(at.y() + w->height()) - 1));
    missing = missingSides(whole, box, black, slack);
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("in the window: ") + missing.join(QLatin1Char(' '))));

    // At a whole ratio the box's edges fall on device pixels, so there is
    // no room for the slack above: each side is one line wide, on the box's
    // outermost device pixels, and a line short of the edge shows as none.
    if (r != std::round(r))
        return;
    const int t = pictures::deviceLineWidth(r);
    const QString want = QStringLiteral("%1/%1/%1/%1").arg(t);
    QCOMPARE(sideDepths(alone, alone.rect(), black, t), want);
    QCOMPARE(sideDepths(whole, box, black, t), want);
}

void TestScreenRatio::gridLinesOfOneWidth_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::newRow("topic 4 consignment") << "Form4" << "Picture1";
    QTest::newRow("results consignment") << "FResultSim" << "Picture1";
    QTest::newRow("measures consignment") << "Form11" << "Picture1";
}

void TestScreenRatio::gridLinesOfOneWidth()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    prepare(window);
    auto* box = windowNamed(window).ctl<PictureBox>(control);
    const qreal r = ratio();
    // The grid as the screen shows it, against the same box without it.
    const QImage screen = atScreen(box).convertToFormat(QImage::Format_RGB32);
    for (bool vertical : {true, false}) {
        const QList<QPair<int, int>> lines = gridLines(screen, kGridGrey, vertical);
        const QString seen = describe(lines);
        QVERIFY2(lines.size() >= 3, qPrintable(seen));
        int widest = 0, narrowest = INT_MAX, largest = 0, smallest = INT_MAX;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            widest = std::max(widest, lines[i].second);
            narrowest = std::min(narrowest, lines[i].second);
            if (i > 0) {
                const int cell = lines[i].first - lines[i - 1].first;
                largest = std::max(largest, cell);
                smallest = std::min(smallest, cell);
            }
        }
        QVERIFY2(widest == narrowest, qPrintable(seen));
        QCOMPARE(widest, pictures::deviceLineWidth(r));
        // Cells as equal as whole device pixels allow.
        QVERIFY2(largest - smallest <= int(std::ceil(r)), qPrintable(seen));
    }
}

void TestScreenRatio::pixelOperationsKeepTheirMeaning_data()
{
    QTest::addColumn<int>("scale");
    QTest::newRow("pixels") << int(PictureBox::ScalePixels);
    QTest::newRow("twips") << int(PictureBox::ScaleTwips);
}

void TestScreenRatio::pixelOperationsKeepTheirMeaning()
{
    // A point, a line and a circle fall where their logical coordinates say,
    // whatever the ratio: the drawing read back at logical positions.
    QFETCH(int, scale);
    QWidget host;
    auto* box = new PictureBox(&host);
    box->setGeometry(0, 0, 100, 80);
    box->setScaleMode(scale);
    box->setDrawWidth(3);
    host.show();
    QVERIFY(QTest::qWaitForWindowExposed(&host));
    const double u = scale == PictureBox::ScaleTwips ? 15 : 1;
    const qreal r = ratio();
    const QColor red(255, 0, 0), blue(0, 0, 255), green(0, 160, 0);
    box->pset(20 * u, 20 * u, red);
    box->line(10 * u, 60 * u, 90 * u, 60 * u, blue);
    box->circle(60 * u, 25 * u, 15 * u, green);
    const QImage& d = box->drawing();
    QCOMPARE(d.devicePixelRatio(), r);
    QCOMPARE(d.size(), pictures::deviceSize(box->size(), r));
    const auto at = [&](double x, double y) { return d.pixelColor(int(x * r), int(y * r)); };
    QCOMPARE(at(20, 20), red);
    QCOMPARE(at(50, 60), blue);
    QCOMPARE(at(75, 25), green);  // on the ring's right side
    QCOMPARE(at(60, 25).alpha(), 0); // its centre stays clear
    QCOMPARE(at(20, 30).alpha(), 0);
    QCOMPARE(at(50, 55).alpha(), 0);
    // The saved picture keeps the box's designed size, reduced smoothly:
    // the line's core stays blue, give or take the smoothing.
    const QImage saved = box->image();
    QCOMPARE(saved.size(), box->size());
    const QColor core = saved.pixelColor(50, 60);
    QVERIFY2(core.red() < 24 && core.green() < 24 && core.blue() > 230, qPrintable(core.name()));
}

void TestScreenRatio::bandsReachTheRightEdge_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("band");
    QTest::newRow("start page band") << "Indice" << "Label1";
    QTest::newRow("sampling toolbar") << "Form1" << "Frame4";
    QTest::newRow("sampling second band") << "Form1" << "Label4";
    QTest::newRow("topic 6 toolbar") << "Form6" << "Frame4";
    QTest::newRow("topic 6 title band") << "Form6" << "Label2";
    QTest::newRow("measures title band") << "Form11" << "Label2";
}

void TestScreenRatio::bandsReachTheRightEdge()
{
    QFETCH(QString, window);
    QFETCH(QString, band);
    prepare(window);
    QWidget* b = windowNamed(window).ctl(band);
    const QWidget* container = b->parentWidget();
    QVERIFY2(b->geometry().right() >= container->width() - 1,
             qPrintable(QStringLiteral("%1 ends at %2 of %3").arg(band).arg(b->geometry().right()).arg(container->width())));
}

void TestScreenRatio::picturesFollowTheScreen()
{
    // Run with two offscreen screens of ratios 1 and 2 (see
    // tests/CMakeLists.txt); skipped on a single screen.
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() < 2 || screens[0]->devicePixelRatio() == screens[1]->devicePixelRatio())
        QSKIP("needs two screens of different ratios");
    prepare(QStringLiteral("Form4"));
    Form& f = windowNamed(QStringLiteral("Form4"));
    QWidget* top = f.widget();
    auto* face = f.ctl<ImageButton>(QStringLiteral("Image6"));
    auto* consignment = f.ctl<PictureBox>(QStringLiteral("Picture1"));
    const qreal from = top->devicePixelRatioF();
    QCOMPARE(wrongRings(f), QString());
    QScreen* other = top->screen() == screens[0] ? screens[1] : screens[0];
    const qreal to = other->devicePixelRatio();
    (void)atScreen(face);
    QCOMPARE(face->picture().devicePixelRatio(), from);
    QCOMPARE(consignment->drawing().devicePixelRatio(), from);

    top->windowHandle()->setScreen(other);
    top->move(other->geometry().topLeft() + QPoint(20, 20));
    QTRY_COMPARE_WITH_TIMEOUT(top->devicePixelRatioF(), to, 5000);
    settle();
    const QImage shown = atScreen(face);
    QCOMPARE(face->picture().devicePixelRatio(), to);
    QCOMPARE(face->picture().size(), pictures::deviceSize(QSize(32, 32), to));
    QCOMPARE(shown.size(), pictures::deviceSize(face->size(), to));
    // What was drawn stays, carried to the new ratio.
    QCOMPARE(consignment->drawing().devicePixelRatio(), to);
    QCOMPARE(consignment->drawing().size(), pictures::deviceSize(consignment->size(), to));
    QVERIFY(!gridLines(atScreen(consignment).convertToFormat(QImage::Format_RGB32), kGridGrey, true).isEmpty());
    // The hand on the window's controls, drawn again for the new screen.
    int hands = 0;
    for (QWidget* carrier : top->findChildren<QWidget*>())
        if (carrier->testAttribute(Qt::WA_SetCursor) && carrier->cursor().shape() == Qt::BitmapCursor) {
            QVERIFY2(carrier->cursor().pixmap().devicePixelRatio() == to, qPrintable(carrier->objectName()));
            ++hands;
        }
    QVERIFY(hands > 0);
    // A drawing made there is at the new ratio, its rings stamped from
    // marks drawn for it and not from those kept for the first screen.
    f.ctl<PictureBox>(QStringLiteral("Picture1"))->cls();
    formRef<Form4>().Image1_Click();
    QCOMPARE(consignment->drawing().devicePixelRatio(), to);
    QCOMPARE(wrongRings(f), QString());
}

TAV_TEST_MAIN(TestScreenRatio)

#include "tst_screenratio.moc"
