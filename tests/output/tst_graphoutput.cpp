// Print and Save of the graph pages follow the view in sight.

#include "common/program.h"
#include "common/tabelaimp.h"
#include "common/twips.h"
#include "graphs/graphpage.h"
#include "output/canvas.h"
#include "output/fprintpp.h"
#include "output/fprintpreview.h"
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
QStringList graphs() { return {"FGrafico1", "FGrafico2", "FGrafico3", "FGrafico4", "FGrafico5", "FGrafico6"}; }
} // namespace

class TestGraphOutput : public QObject {
    Q_OBJECT

private slots:
    void printFollowsTheView_data();
    void printFollowsTheView();
    void saveFollowsTheView_data();
    void saveFollowsTheView();
    void chartImageFailure();
};

void TestGraphOutput::printFollowsTheView_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("table");
    for (const QString& g : graphs()) {
        QTest::newRow(qPrintable(g + " chart")) << g << false;
        QTest::newRow(qPrintable(g + " table")) << g << true;
    }
}

void TestGraphOutput::printFollowsTheView()
{
    QFETCH(QString, window);
    QFETCH(bool, table);
    OutputFixture f;
    Form& page = windowNamed(window);
    page.show();
    f.msgs.clear();
    Chart* chart = page.ctl<Chart>(QStringLiteral("Graph1"));
    if (table)
        mostratabela(page);
    chart->setBackground(9);
    test::click(page.ctl(QStringLiteral("Image7")));
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(fprintpreview().visible(), table);
    QCOMPARE(fprintpp().visible(), !table);
    if (!table) {
        QVERIFY(!QImage(tempPictureFile()).isNull());
        QCOMPARE(canvas()->size(), QSize(twips(chart->widthTwips()), twips(chart->heightTwips())));
        QCOMPARE(chart->background(), 0);
        QCOMPARE(chart->drawMode(), 2);
    } else {
        QCOMPARE(chart->background(), 9);
    }
}

void TestGraphOutput::saveFollowsTheView_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("table");
    QTest::addColumn<QString>("how");
    for (const QString& g : graphs()) {
        QTest::newRow(qPrintable(g + " chart")) << g << false << "Image8";
        QTest::newRow(qPrintable(g + " table")) << g << true << "menuFileSave";
    }
}

void TestGraphOutput::saveFollowsTheView()
{
    QFETCH(QString, window);
    QFETCH(bool, table);
    QFETCH(QString, how);
    OutputFixture f;
    QTemporaryDir dir;
    Form& page = windowNamed(window);
    page.show();
    f.msgs.clear();
    QFile::remove(tempPictureFile());
    if (table)
        mostratabela(page);
    const QString name = dir.filePath(table ? QStringLiteral("t.txt") : QStringLiteral("c.bmp"));
    f.dialogs.answerSave(name);
    if (how == QLatin1String("Image8"))
        test::click(page.ctl(how));
    else
        test::trigger(page.ctl<QAction>(how));
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(f.dialogs.saveRequests.size(), 1);
    QCOMPARE(f.dialogs.saveRequests[0].filter, table ? kTextFilter : kBitmapFilter);
    QCOMPARE(f.dialogs.saveRequests[0].defaultExt, table ? QStringLiteral(".txt") : QStringLiteral(".bmp"));
    if (table) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.count("\r\n"), page.ctl<Grid>(QStringLiteral("Grid1"))->rows());
    } else {
        QVERIFY(!QImage(name).isNull());
    }
    // A chart save never touches the temporary picture file.
    QVERIFY(!QFile::exists(tempPictureFile()));
    QVERIFY(!fprintpp().isLoaded());
}

void TestGraphOutput::chartImageFailure()
{
    OutputFixture f;
    Form& page = windowNamed(QStringLiteral("FGrafico2"));
    page.show();
    f.msgs.clear();
    QFile::remove(tempPictureFile());
    QVERIFY(QDir().mkpath(tempPictureFile()));
    f.msgs.answer(IdIgnore);
    test::click(page.ctl(QStringLiteral("Image7")));
    QDir().rmdir(tempPictureFile());
    QVERIFY(f.msgs.count() >= 1);
    QCOMPARE(f.msgs.boxes[0].title, QStringLiteral("Error printing Graphic 2"));
    QCOMPARE(f.msgs.boxes[0].text, QStringLiteral("Path/File access error\rReload and try again"));
    // Ignore goes on: the chart is back in its colours and the set-up opens.
    QCOMPARE(page.ctl<Chart>(QStringLiteral("Graph1"))->background(), 0);
    QVERIFY(fprintpp().isLoaded());
}

TAV_TEST_MAIN(TestGraphOutput)
#include "tst_graphoutput.moc"
