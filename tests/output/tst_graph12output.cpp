// Graphic 12 prints and saves its two charts as one picture, one above the
// other with a band between them, or its table.

#include "common/messages.h"
#include "common/program.h"
#include "common/twips.h"
#include "graphs/graphpage.h"
#include "output/canvas.h"
#include "output/fprintpp.h"
#include "output/fprintpreview.h"
#include "output/graph12output.h"
#include "output/saving.h"
#include "outputkit.h"
#include "platform/chart.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "shell/topics.h"
#include "testmain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tav;
using tav::test::OutputFixture;

namespace {

Form& page()
{
    Form& f = windowNamed(QStringLiteral("FGrafico12"));
    f.show();
    return f;
}

Chart* chart(Form& f, int n) { return f.ctl<Chart>(QStringLiteral("Graph%1").arg(n)); }

// The chart as it writes its picture: on the print background.
QImage printedChart(Chart* c)
{
    c->setBackground(15);
    c->refresh();
    QImage img = c->image().convertToFormat(QImage::Format_RGB32);
    c->setBackground(0);
    c->refresh();
    return img;
}

// Mean difference per channel between `part` and the area of `whole` at
// (0, top).
double difference(const QImage& whole, const QImage& part, int top)
{
    double sum = 0;
    int n = 0;
    for (int y = 0; y < part.height(); ++y)
        for (int x = 0; x < part.width(); ++x) {
            if (top + y >= whole.height() || x >= whole.width())
                continue;
            const QColor a = whole.pixelColor(x, top + y), b = part.pixelColor(x, y);
            sum += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
            ++n;
        }
    return n ? sum / (3.0 * n) : 1e9;
}

bool rowWhite(const QImage& img, int y)
{
    for (int x = 0; x < img.width(); ++x)
        if (img.pixelColor(x, y) != QColor(Qt::white))
            return false;
    return true;
}

} // namespace

class TestGraph12Output : public QObject {
    Q_OBJECT

private slots:
    void printStacksTheCharts();
    void saveWritesThePicture_data();
    void saveWritesThePicture();
    void tableView_data();
    void tableView();
    void abortWhileComposingStillSaves();
};

void TestGraph12Output::printStacksTheCharts()
{
    OutputFixture f;
    emptyPicture(canvas());
    Form& p = page();
    f.msgs.clear();
    QCOMPARE(chart(p, 1)->widthTwips(), 5730);
    QCOMPARE(chart(p, 1)->heightTwips(), 2985);
    test::click(p.ctl(QStringLiteral("Image7")));
    QCOMPARE(f.msgs.count(), 0);
    QVERIFY(fprintpp().visible());
    // 5730 x (2985 + 100 + 2985) twips.
    QCOMPARE(canvas()->size(), QSize(twips(5730), twips(6070)));
    const QImage img = QImage(tempPictureFile()).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(img.size(), canvas()->size());
    // Both charts are drawn again on screen in their own colours.
    for (int n : {1, 2}) {
        QCOMPARE(chart(p, n)->background(), 0);
        QCOMPARE(chart(p, n)->drawMode(), 2);
    }
    const QImage first = printedChart(chart(p, 1));
    const QImage second = printedChart(chart(p, 2));
    QVERIFY(first != second);
    // Graph1 at the top, flush left; Graph2 from 3085 twips down.
    const int secondTop = twips(2985 + kChartGapTwips);
    QVERIFY(difference(img, first, 0) < 0.5);
    QVERIFY(difference(img, second, secondTop) < 0.5);
    QVERIFY(difference(img, first, secondTop) > 5.0);
    QVERIFY(difference(img, second, twips(2985)) > 5.0);
    // The band between them stays the page's white.
    for (int y = twips(2985) + 1; y < secondTop - 1; ++y)
        QVERIFY2(rowWhite(img, y), qPrintable(QString::number(y)));
}

void TestGraph12Output::saveWritesThePicture_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("name");
    QTest::newRow("button") << "Image8" << "charts.bmp";
    QTest::newRow("menu, other extension") << "meniFileSave" << "charts.txt";
}

void TestGraph12Output::saveWritesThePicture()
{
    QFETCH(QString, how);
    QFETCH(QString, name);
    OutputFixture f;
    QTemporaryDir dir;
    Form& p = page();
    f.msgs.clear();
    QFile::remove(tempPictureFile());
    const QString file = dir.filePath(name);
    f.dialogs.answerSave(file);
    if (how == QLatin1String("Image8"))
        test::click(p.ctl(how));
    else
        test::trigger(p.ctl<QAction>(how));
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(f.dialogs.saveRequests.size(), 1);
    QCOMPARE(f.dialogs.saveRequests[0].filter, kBitmapFilter);
    QCOMPARE(f.dialogs.saveRequests[0].defaultExt, QStringLiteral(".bmp"));
    QFile in(file);
    QVERIFY(in.open(QIODevice::ReadOnly));
    QCOMPARE(in.read(2), QByteArray("BM"));
    QCOMPARE(QImage(file, "BMP").size(), QSize(twips(5730), twips(6070)));
    // No print window and no temporary picture left behind.
    QVERIFY(!fprintpp().isLoaded());
    QVERIFY(!QFile::exists(tempPictureFile()));
    QCOMPARE(graph12Flag(p), 0);
}

void TestGraph12Output::tableView_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("print") << false;
    QTest::newRow("save") << true;
}

void TestGraph12Output::tableView()
{
    QFETCH(bool, save);
    OutputFixture f;
    QTemporaryDir dir;
    Form& p = page();
    mostratabela(p);
    QVERIFY(chart(p, 2)->isHidden());
    f.msgs.clear();
    const QString file = dir.filePath(QStringLiteral("table.txt"));
    f.dialogs.answerSave(file);
    test::click(p.ctl(save ? QStringLiteral("Image8") : QStringLiteral("Image7")));
    QCOMPARE(f.msgs.count(), 0);
    QVERIFY(!fprintpp().isLoaded());
    QCOMPARE(fprintpreview().visible(), !save);
    if (save) {
        QCOMPARE(f.dialogs.saveRequests[0].filter, kTextFilter);
        QFile in(file);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll().count("\r\n"), p.ctl<Grid>(QStringLiteral("Grid1"))->rows());
    }
    mostragrafico(p);
}

void TestGraph12Output::abortWhileComposingStillSaves()
{
    OutputFixture f;
    QTemporaryDir dir;
    Form& p = page();
    f.msgs.clear();
    // The temporary picture cannot be written: a folder stands in its way.
    QFile::remove(tempPictureFile());
    QVERIFY(QDir().mkpath(tempPictureFile()));
    const QString file = dir.filePath(QStringLiteral("cut.bmp"));
    f.dialogs.answerSave(file);
    f.msgs.answer(IdAbort);
    test::click(p.ctl(QStringLiteral("Image8")));
    QDir().rmdir(tempPictureFile());
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().title, QStringLiteral("Error printing Graphic 12"));
    // The save goes on with what the canvas holds, and leaves save mode.
    QCOMPARE(QImage(file, "BMP").size(), QSize(twips(5730), twips(6070)));
    QCOMPARE(graph12Flag(p), 0);
    QVERIFY(!fprintpp().isLoaded());
    test::click(p.ctl(QStringLiteral("Image7")));
    QCOMPARE(f.msgs.count(), 1);
    QVERIFY(fprintpp().visible());
}

TAV_TEST_MAIN(TestGraph12Output)
#include "tst_graph12output.moc"
