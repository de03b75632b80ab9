// Print and Save of the simulation results window follow the view in sight:
// the composed results picture, the table, or the window and its report.

#include "common/colors.h"
#include "common/program.h"
#include "common/twips.h"
#include "output/canvas.h"
#include "output/fprintpp.h"
#include "output/fprintpreview.h"
#include "output/saving.h"
#include "outputkit.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "shell/topics.h"
#include "simulation/fresultsim.h"
#include "testmain.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace tav;
using tav::test::OutputFixture;

namespace {

enum View { Panel, Table, Neither };

Form& openWindow(OutputFixture& f, View view)
{
    Form& w = windowNamed(QStringLiteral("FResultSim"));
    w.show();
    w.ctl(QStringLiteral("Picture5"))->setVisible(view == Panel);
    w.ctl(QStringLiteral("Grid1"))->setVisible(view == Table);
    f.msgs.clear();
    QFile::remove(tempPictureFile());
    return w;
}

void setCaption(Form& w, const char* name, const char* text)
{
    w.ctl<Label>(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
}

QByteArray fileBytes(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Pixels of the canvas inside a twip rectangle that match a test.
int count(const QImage& img, const QRect& twipArea, const std::function<bool(QColor)>& match)
{
    const QRect r = twipRect(twipArea.x(), twipArea.y(), twipArea.width(), twipArea.height()) & img.rect();
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += match(img.pixelColor(x, y)) ? 1 : 0;
    return n;
}

bool dark(QColor c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; }
bool red(QColor c) { return c.red() > 180 && c.green() < 90 && c.blue() < 90; }
bool yellow(QColor c) { return c.red() > 180 && c.green() > 180 && c.blue() < 90; }

const char* const kReport = "Simulation results\r\n"
                            "\r\n"
                            "Data\r\n"
                            "\r\n"
                            "Consignment size = 1000\r\n"
                            "Sample size = 50\r\n"
                            "Prevalence = 0.01\r\n"
                            "P1 = 0.5\r\n"
                            "P2 = 0.25\r\n"
                            "\r\n"
                            "\r\n"
                            "Results\r\n"
                            "\r\n"
                            "Refused consignments = 40 %\r\n"
                            "Ingressed consignments = 60 %\r\n"
                            "Average prevalence per ingressed consignment = 0.004\r\n"
                            "Average positive samples found per consignment = 0.8\r\n"
                            "Ingressed infected units per consignment = 6.3\r\n"
                            "Ingressed infected units in 10 consignments = 63\r\n"
                            "Avarage probability to get to the host (p1) = 0.49\r\n"
                            "Avarage probability to find suitable conditions (p2) = 0.26\r\n"
                            "Number of individuals that could get to the host per ingressed consignment = 3.1\r\n"
                            "Number of induviduals that could establishes per ingressed consignment = 0.8\r\n";

const char* const kClearedReport = "Simulation results\r\n"
                                   "\r\n"
                                   "Data\r\n"
                                   "\r\n"
                                   "Consignment size = \r\n"
                                   "Sample size = \r\n"
                                   "Prevalence = \r\n"
                                   "P1 = \r\n"
                                   "P2 = \r\n"
                                   "\r\n"
                                   "\r\n"
                                   "Results\r\n"
                                   "\r\n"
                                   "Refused consignments = \r\n"
                                   "Ingressed consignments = \r\n"
                                   "Average prevalence per ingressed consignment = \r\n"
                                   "Average positive samples found per consignment = \r\n"
                                   "Ingressed infected units per consignment = \r\n"
                                   "Ingressed infected units in  consignments = \r\n"
                                   "Avarage probability to get to the host (p1) = \r\n"
                                   "Avarage probability to find suitable conditions (p2) = \r\n"
                                   "Number of individuals that could get to the host per ingressed consignment = \r\n"
                                   "Number of induviduals that could establishes per ingressed consignment = \r\n";

} // namespace

class TestResultSimOutput : public QObject {
    Q_OBJECT

private slots:
    void reportText_data();
    void reportText();
    void printFollowsTheView_data();
    void printFollowsTheView();
    void saveFollowsTheView_data();
    void saveFollowsTheView();
    void composedPicture_data();
    void composedPicture();
    void noNameWritesNothing_data();
    void noNameWritesNothing();
    void reportFileFailure_data();
    void reportFileFailure();
};

void TestResultSimOutput::reportText_data()
{
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<QString>("how");
    QTest::newRow("a run, Save button") << false << "Image8";
    QTest::newRow("a run, File menu") << false << "menuFileSave";
    QTest::newRow("labels cleared by Change inputs") << true << "Image8";
}

void TestResultSimOutput::reportText()
{
    QFETCH(bool, cleared);
    QFETCH(QString, how);
    OutputFixture f;
    QTemporaryDir dir;
    Form& w = openWindow(f, Neither);
    setCaption(w, "Text1_0", "1000");
    setCaption(w, "Text1_2", "50");
    setCaption(w, "Text1_1", "0.01");
    setCaption(w, "p1", "0.5");
    setCaption(w, "p2", "0.25");
    setCaption(w, "Ling", "40 %");
    setCaption(w, "Lpct_ing", "60 %");
    setCaption(w, "Lpre_ing", "0.004");
    setCaption(w, "Lencontradas", "0.8");
    setCaption(w, "Lingreso", "6.3");
    setCaption(w, "Lnsim", "10");
    setCaption(w, "Lingreso_total", "63");
    setCaption(w, "Lp1medio", "0.49");
    setCaption(w, "Lp2medio", "0.26");
    setCaption(w, "Np1medio", "3.1");
    setCaption(w, "Np2medio", "0.8");
    if (cleared) {
        int inputsToo = 1;
        static_cast<FResultSim&>(w).limpa(inputsToo);
        w.ctl<Label>(QStringLiteral("Lnsim"))->clear();
    }
    const QString name = dir.filePath(QStringLiteral("report.doc"));
    // An earlier, longer file of that name is replaced whole.
    {
        QFile old(name);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(5000, 'x'));
    }
    f.dialogs.answerSave(name);
    if (how == QLatin1String("Image8"))
        test::click(w.ctl(how));
    else
        test::trigger(w.ctl<QAction>(how));
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(f.dialogs.saveRequests.size(), 1);
    QCOMPARE(f.dialogs.saveRequests[0].filter, kDocFilter);
    QCOMPARE(f.dialogs.saveRequests[0].defaultExt, QStringLiteral(".doc"));
    QCOMPARE(QString::fromLatin1(fileBytes(name)), QString::fromLatin1(cleared ? kClearedReport : kReport));
    QVERIFY(!fprintpp().isLoaded());
}

void TestResultSimOutput::printFollowsTheView_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("how");
    QTest::newRow("panel, Print button") << int(Panel) << "Image7";
    QTest::newRow("panel, File menu") << int(Panel) << "menuFilePrint";
    QTest::newRow("table") << int(Table) << "Image7";
    QTest::newRow("neither: the window") << int(Neither) << "menuFilePrint";
}

void TestResultSimOutput::printFollowsTheView()
{
    QFETCH(int, view);
    QFETCH(QString, how);
    OutputFixture f;
    Form& w = openWindow(f, View(view));
    if (how == QLatin1String("Image7"))
        test::click(w.ctl(how));
    else
        test::trigger(w.ctl<QAction>(how));
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(fprintpreview().visible(), view == Table);
    QCOMPARE(fprintpp().visible(), view != Table);
    if (view != Table)
        QVERIFY(!QImage(tempPictureFile()).isNull());
    if (view == Panel) {
        QCOMPARE(canvas()->size(), QSize(twips(11145), twips(4485)));
        QCOMPARE(QImage(tempPictureFile()).size(), canvas()->size());
    }
    QCOMPARE(static_cast<FResultSim&>(w).salvando(), 0);
}

void TestResultSimOutput::saveFollowsTheView_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("ext");
    QTest::newRow("panel") << int(Panel) << "p.txt" << kBitmapFilter << ".bmp";
    QTest::newRow("table") << int(Table) << "t.txt" << kTextFilter << ".txt";
}

void TestResultSimOutput::saveFollowsTheView()
{
    QFETCH(int, view);
    QFETCH(QString, file);
    QFETCH(QString, filter);
    QFETCH(QString, ext);
    OutputFixture f;
    QTemporaryDir dir;
    Form& w = openWindow(f, View(view));
    const QString name = dir.filePath(file);
    f.dialogs.answerSave(name);
    test::click(w.ctl(QStringLiteral("Image8")));
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(f.dialogs.saveRequests.size(), 1);
    QCOMPARE(f.dialogs.saveRequests[0].filter, filter);
    QCOMPARE(f.dialogs.saveRequests[0].defaultExt, ext);
    if (view == Panel) {
        // A bitmap whatever the name's extension, the size of the panel.
        QCOMPARE(QImage(name, "BMP").size(), QSize(twips(11145), twips(4485)));
        QCOMPARE(static_cast<FResultSim&>(w).salvando(), 0);
    } else {
        QCOMPARE(fileBytes(name).count("\r\n"), w.ctl<Grid>(QStringLiteral("Grid1"))->rows());
    }
    QVERIFY(!QFile::exists(tempPictureFile()));
    QVERIFY(!fprintpp().isLoaded());
    QVERIFY(!fprintpreview().isLoaded());
}

void TestResultSimOutput::composedPicture_data()
{
    QTest::addColumn<QString>("verdict");
    QTest::addColumn<QColor>("screen");
    QTest::addColumn<bool>("printedRed");
    QTest::newRow("refused: white prints black") << "Refused !" << QColor(255, 255, 255) << false;
    QTest::newRow("ingressed: red stays red") << "Ingressed !" << QColor(255, 0, 0) << true;
}

void TestResultSimOutput::composedPicture()
{
    QFETCH(QString, verdict);
    QFETCH(QColor, screen);
    QFETCH(bool, printedRed);
    OutputFixture f;
    Form& w = openWindow(f, Panel);
    Label* heading = w.ctl<Label>(QStringLiteral("Label4"), 3);
    heading->setText(verdict);
    heading->setForeColor(screen);
    // A first print just before: the second must not take the first's
    // staged pictures, rewritten within the same second.
    test::click(w.ctl(QStringLiteral("Image7")));
    // A drawing on the consignment picture, not only its background.
    auto* consignment = w.ctl<PictureBox>(QStringLiteral("Picture1"));
    consignment->line(300, 300, 3000, 300, QColor(0, 128, 0));
    test::click(w.ctl(QStringLiteral("Image7")));
    QCOMPARE(f.msgs.count(), 0);
    const QImage img = canvas()->image();

    // Picture1 at its place (120, 600) in the panel, its drawing included.
    const QImage screenPicture = consignment->image().convertToFormat(QImage::Format_RGB32);
    const QImage printed = img.copy(twipRect(120, 600, 3390, 3030)).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(printed.size(), screenPicture.size());
    QVERIFY(count(screenPicture, QRect(QPoint(0, 0), screenPicture.size() * 15), [](QColor c) {
                return c.green() > c.red() + 40;
            }) > 0);
    int differing = 0;
    for (int y = 0; y < printed.height(); ++y)
        for (int x = 0; x < printed.width(); ++x)
            differing += printed.pixel(x, y) != screenPicture.pixel(x, y) ? 1 : 0;
    QCOMPARE(differing, 0);
    // The gap between two pictures is white, not the panel's black.
    QCOMPARE(img.pixelColor(twips(3700), twips(2000)), QColor(Qt::white));

    const QRect verdictArea(3945, 240, 2055, 330);
    QCOMPARE(count(img, verdictArea, red) > 0, printedRed);
    QCOMPARE(count(img, verdictArea, dark) > 0, !printedRed);
    // The yellow heading over the consignment stays yellow.
    QVERIFY(count(img, QRect(120, 240, 3390, 330), yellow) > 0);
    // The light yellow slider captions and values print black.
    const QRect row(0, 3675, 11145, 285);
    QVERIFY(count(img, row, dark) > 0);
    QCOMPARE(count(img, row, yellow), 0);
    QCOMPARE(canvas()->foreColor(), QColor(0, 0, 0));
}

void TestResultSimOutput::noNameWritesNothing_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("answer"); // "cancel" for a cancelled dialog
    for (View v : {Panel, Table, Neither}) {
        const QByteArray tag = v == Panel ? "panel" : v == Table ? "table" : "neither";
        QTest::newRow(tag + ", cancelled") << int(v) << "cancel";
        QTest::newRow(tag + ", empty name") << int(v) << "";
        QTest::newRow(tag + ", one blank") << int(v) << " ";
    }
}

void TestResultSimOutput::noNameWritesNothing()
{
    QFETCH(int, view);
    QFETCH(QString, answer);
    OutputFixture f;
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    Form& w = openWindow(f, View(view));
    if (answer == QLatin1String("cancel"))
        f.dialogs.answerSave(std::nullopt);
    else
        f.dialogs.answerSave(answer);
    test::click(w.ctl(QStringLiteral("Image8")));
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(f.dialogs.saveRequests.size(), 1);
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
    QVERIFY(!QFile::exists(tempPictureFile()));
    QVERIFY(!fprintpp().isLoaded());
    QCOMPARE(static_cast<FResultSim&>(w).salvando(), 0);
}

void TestResultSimOutput::reportFileFailure_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("boxes");
    // A file that cannot be created is reported once: Ignore goes on with
    // lines that have nowhere to go and says nothing more.
    QTest::newRow("Ignore") << int(IdIgnore) << 1;
    QTest::newRow("Abort") << int(IdAbort) << 1;
}

void TestResultSimOutput::reportFileFailure()
{
    QFETCH(int, answer);
    QFETCH(int, boxes);
    OutputFixture f;
    QTemporaryDir dir;
    Form& w = openWindow(f, Neither);
    const QString name = dir.filePath(QStringLiteral("missing/report.doc"));
    f.dialogs.answerSave(name);
    for (int i = 0; i < 30; ++i)
        f.msgs.answer(answer);
    test::click(w.ctl(QStringLiteral("Image8")));
    QCOMPARE(f.msgs.count(), boxes);
    QCOMPARE(f.msgs.boxes[0].title, QStringLiteral("Error saving results simulation"));
    QCOMPARE(f.msgs.boxes[0].text, QStringLiteral("Path/File access error\rReload and try again"));
    QVERIFY(!QFile::exists(name));
}

TAV_TEST_MAIN(TestResultSimOutput)
#include "tst_resultsimoutput.moc"
