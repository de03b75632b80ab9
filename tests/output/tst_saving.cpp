// Saving to files: the Save dialog convention, page text files, a grid as
// tab-separated text and a chart as a bitmap.

#include "common/errors.h"
#include "common/messages.h"
#include "common/safefile.h"
#include "output/canvas.h"
#include "output/form4output.h"
#include "simulation/form4.h"
#include "output/saving.h"
#include "outputkit.h"
#include "platform/chart.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "shell/form1.h"
#include "shell/topics.h"
#include "testmain.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>

using namespace tav;
using tav::test::OutputFixture;

namespace {

QByteArray contents(const QString& file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

void writeFile(const QString& file, const QByteArray& bytes)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QString form1Text()
{
    auto caption = [](const char* n) { return form1().ctl<QLabel>(QString::fromLatin1(n))->text(); };
    return caption("Label4") + QStringLiteral("\r\n\r\n") + caption("Label1") + QLatin1Char(' ') + caption("Label2")
        + QStringLiteral("\r\n");
}

// A page with the title and text labels of a topic page, named as it.
class TextPage : public Form {
public:
    TextPage(const QString& name, int texts, int missing = -1) : Form(name), texts_(texts), missing_(missing) {}

protected:
    void build(FormWidget* w) override
    {
        place<Label>(w->client(), QStringLiteral("Label2"), 0, 0, 3000, 300)->setText(QStringLiteral("Title"));
        for (int i = 0; i < texts_; ++i)
            if (i != missing_)
                place<Label>(w->client(), arrayName(QStringLiteral("Label1"), i), 0, 400 * (i + 1), 3000, 300)
                    ->setText(QStringLiteral("Text %1\nline").arg(i));
    }

private:
    int texts_, missing_;
};

class ChartPage : public Form {
public:
    ChartPage() : Form(QStringLiteral("ChartPage")) {}

protected:
    void build(FormWidget* w) override
    {
        Chart* g = place<Chart>(w->client(), QStringLiteral("Graph1"), 0, 0, 4500, 3000);
        g->setNumPoints(3);
        for (int p = 1; p <= 3; ++p) {
            g->setThisPoint(p);
            g->setGraphData(p * p);
        }
        g->setDrawMode(2);
    }
};

class EmptyPage : public Form {
public:
    EmptyPage() : Form(QStringLiteral("EmptyPage")) {}

protected:
    void build(FormWidget*) override {}
};

} // namespace

class TestSaving : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pageText_data();
    void pageText();
    void pageSaveWritesThePageText();
    void noNameWritesNothing_data();
    void noNameWritesNothing();
    void dialogProposesTheNameOfThisVisit();
    void lessonPageSave();
    void everyTopicPageSaves_data();
    void everyTopicPageSaves();
    void pageSaveFailures_data();
    void pageSaveFailures();
    void salvagridWritesEveryRow_data();
    void salvagridWritesEveryRow();
    void salvagridReplacesAndLeavesTheLastCell();
    void salvagridCannotCreate();
    void salvagraficoWritesTheChart();
    void salvagraficoWithoutChart();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void saveDialogNeedsAnExistingFolder();
};

void TestSaving::pageText_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("text");
    const QString crlf = QStringLiteral("\r\n"), two = crlf + crlf;
    auto l = [](int i) { return QStringLiteral("<Label1_%1>").arg(i); };
    QTest::newRow("Form1") << "Form1" << "<Label4>" + two + "<Label1> <Label2>" + crlf;
    QTest::newRow("Form3") << "Form3" << "<Label2>" + two + l(0) + crlf + l(1) + crlf;
    QTest::newRow("Form5") << "Form5" << "<Label2>" + two + l(0) + crlf + l(1) + crlf + l(2) + crlf + l(3) + crlf;
    QTest::newRow("Form6") << "Form6"
                           << "<Label2>" + two + l(0) + two + l(1) + two + "1/(p1 * p2) = RDL * Population" + two
            + l(2) + two + l(3) + crlf;
    QTest::newRow("Form8") << "Form8"
                           << "<Label2>" + two + l(0) + two + l(1) + two + l(2) + two
            + "RDL = 1/(p1 * p2 * Consignment_size)" + two + l(3) + crlf;
    QTest::newRow("Form9") << "Form9"
                           << "<Label2>" + two + l(0) + two + l(1) + two + l(2) + two
            + "RDL = (1-CL)/(p1 * p2 * Consignment_size)" + two + l(3) + two + l(4) + crlf;
    QTest::newRow("Form10") << "Form10"
                            << "<Label2>\n\n" + l(0)
            + "\n\nConsig size * Fiel prev * (1-PM effic) * Import/year * (1-CL) * p1 * p2 = Establ\n\n" + l(1)
            + crlf;
    QTest::newRow("Form10a") << "Form10a"
                             << "<Label2>\n\n" + l(0)
            + "\n\nTotalEfficay = 1 - ((1 - efficay1) * (1 - efficacy2) * ... * (1 - efficacyN))\n\n" + l(2) + "\n\n"
            + l(3) + crlf;
    QTest::newRow("Form12") << "Form12"
                            << "<Label2>" + two + l(0) + two + l(1) + two + l(2) + two + l(3) + two + l(4) + crlf;
}

void TestSaving::pageText()
{
    QFETCH(QString, window);
    QFETCH(QString, text);
    const PageTextSpec* spec = pageTextSpec(window);
    QVERIFY(spec);
    QCOMPARE(tav::pageText(*spec, [](const QString& n) { return QLatin1Char('<') + n + QLatin1Char('>'); }), text);
}

void TestSaving::pageSaveWritesThePageText()
{
    OutputFixture f;
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("page.doc"));
    // An existing longer file is replaced whole.
    writeFile(name, QByteArray(20000, 'x'));
    form1().show();
    f.dialogs.answerSave(name);
    test::click(form1().ctl(QStringLiteral("Image8")));
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(f.dialogs.saveRequests.size(), 1);
    const SaveRequest& r = f.dialogs.saveRequests[0];
    QCOMPARE(r.title, QStringLiteral("Save"));
    QCOMPARE(r.filter, QStringLiteral("Word (.doc)|*.doc|All files(*.*)|*.*"));
    QCOMPARE(r.defaultExt, QStringLiteral(".doc"));
    QCOMPARE(r.flags, 2100230);
    QCOMPARE(r.fileName, QString());
    const QByteArray first = contents(name);
    QCOMPARE(first, form1Text().toLocal8Bit());
    QVERIFY(first.contains("1. Sampling\r\n\r\nTo keep constant"));
    // File > Save... writes the same bytes.
    f.dialogs.answerSave(name);
    test::trigger(form1().ctl<QAction>(QStringLiteral("menuFileSave")));
    QCOMPARE(contents(name), first);
}

void TestSaving::noNameWritesNothing_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("name");
    QTest::newRow("cancel") << true << QString();
    QTest::newRow("empty") << false << QString();
    QTest::newRow("one blank") << false << QStringLiteral(" ");
}

void TestSaving::noNameWritesNothing()
{
    QFETCH(bool, cancel);
    QFETCH(QString, name);
    OutputFixture f;
    QTemporaryDir dir;
    // Later tests in this binary must not run from a folder that is gone.
    const QString before = QDir::currentPath();
    const auto back = qScopeGuard([&] { QDir::setCurrent(before); });
    QDir::setCurrent(dir.path());
    form1().show();
    if (!cancel)
        f.dialogs.answerSave(name);
    test::click(form1().ctl(QStringLiteral("Image8")));
    QCOMPARE(f.dialogs.saveRequests.size(), 1);
    QCOMPARE(f.msgs.count(), 0);
    QVERIFY(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

void TestSaving::dialogProposesTheNameOfThisVisit()
{
    OutputFixture f;
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("first.doc"));
    form1().show();
    f.dialogs.answerSave(name);
    test::click(form1().ctl(QStringLiteral("Image8")));
    writeFile(name, "kept");
    // The second save proposes the first name; Cancel leaves the file alone.
    test::click(form1().ctl(QStringLiteral("Image8")));
    QCOMPARE(f.dialogs.saveRequests[1].fileName, name);
    QCOMPARE(contents(name), QByteArray("kept"));
    // A new visit starts with an empty name.
    form1().unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    form1().show();
    test::click(form1().ctl(QStringLiteral("Image8")));
    QCOMPARE(f.dialogs.saveRequests[2].fileName, QString());
}

void TestSaving::lessonPageSave()
{
    OutputFixture f;
    QTemporaryDir dir;
    TextPage page(QStringLiteral("Form8"), 4);
    page.show();
    const QString name = dir.filePath(QStringLiteral("risk.doc"));
    f.dialogs.answerSave(name);
    savePageText(page);
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(contents(name),
             QByteArray("Title\r\n\r\nText 0\nline\r\n\r\nText 1\nline\r\n\r\nText 2\nline\r\n\r\n"
                        "RDL = 1/(p1 * p2 * Consignment_size)\r\n\r\nText 3\nline\r\n"));
}

void TestSaving::everyTopicPageSaves_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("texts");
    QTest::addColumn<QString>("formula");
    QTest::newRow("Form2") << "Form2" << 4 << "";
    QTest::newRow("Form3") << "Form3" << 2 << "";
    QTest::newRow("Form5") << "Form5" << 4 << "";
    QTest::newRow("Form6") << "Form6" << 4 << "1/(p1 * p2) = RDL * Population";
    QTest::newRow("Form7") << "Form7" << 3 << "";
    QTest::newRow("Form8") << "Form8" << 4 << "RDL = 1/(p1 * p2 * Consignment_size)";
    QTest::newRow("Form9") << "Form9" << 5 << "RDL = (1-CL)/(p1 * p2 * Consignment_size)";
    QTest::newRow("Form10") << "Form10" << 2 << "Consig size * Fiel prev";
    QTest::newRow("Form10a") << "Form10a" << 4 << "TotalEfficay = 1 - ((1 - efficay1)";
    QTest::newRow("Form12") << "Form12" << 5 << "";
}

// The pages as they are built: every label the file takes is there, and
// the file holds the captions the page shows.
void TestSaving::everyTopicPageSaves()
{
    QFETCH(QString, window);
    QFETCH(int, texts);
    QFETCH(QString, formula);
    OutputFixture f;
    QTemporaryDir dir;
    Form& page = windowNamed(window);
    page.show();
    f.msgs.clear();
    const QString name = dir.filePath(QStringLiteral("page.doc"));
    f.dialogs.answerSave(name);
    test::click(page.ctl(QStringLiteral("Image8")));
    QCOMPARE(f.msgs.count(), 0);
    const QString text = QString::fromLocal8Bit(contents(name));
    QVERIFY(text.startsWith(page.ctl<QLabel>(QStringLiteral("Label2"))->text()));
    QVERIFY(text.endsWith(QStringLiteral("\r\n")));
    for (int i = 0; i < texts; ++i) {
        if (window == QLatin1String("Form10a") && i == 1)
            continue;
        const QString caption = page.ctl<QLabel>(QStringLiteral("Label1"), i)->text();
        QVERIFY2(!caption.isEmpty() && text.contains(caption), qPrintable(QString::number(i)));
    }
    QVERIFY(!page.findCtl<QLabel>(arrayName(QStringLiteral("Label1"), texts)));
    if (!formula.isEmpty())
        QVERIFY(text.contains(formula));
}

void TestSaving::pageSaveFailures_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<bool>("intoFolder");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("title");

    const QString open = QStringLiteral("Path/File access error\rReload and try again");
    // Retry tries the open again; after Ignore the write has no file and
    // adds no box of its own.
    QTest::newRow("open fails: retry, ignore")
        << "Form2" << true << QList<int>{IdRetry, IdIgnore, IdAbort} << QStringList{open, open}
        << "Error saving Form2";
    QTest::newRow("open fails: abort") << "Form5" << true << QList<int>{IdAbort} << QStringList{open}
                                       << "Error saving Form5";
    QTest::newRow("missing label, own advice")
        << "Form10" << false << QList<int>{IdAbort}
        << QStringList{QStringLiteral("Object required: Form10.Label1_1\rReload and try agains")}
        << "Error saving From10";
}

void TestSaving::pageSaveFailures()
{
    QFETCH(QString, window);
    QFETCH(bool, intoFolder);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, texts);
    QFETCH(QString, title);
    OutputFixture f;
    QTemporaryDir dir;
    TextPage page(window, 4, intoFolder ? -1 : 1);
    page.show();
    const QString name = intoFolder ? dir.path() : dir.filePath(QStringLiteral("p.doc"));
    f.dialogs.answerSave(name);
    for (int a : answers)
        f.msgs.answer(a);
    savePageText(page);
    QStringList shown;
    for (const auto& b : f.msgs.boxes) {
        shown << b.text;
        QCOMPARE(b.title, title);
        QCOMPARE(b.style, 18);
    }
    QCOMPARE(shown, texts);
    if (!intoFolder)
        QVERIFY(!QFile::exists(name));
}

void TestSaving::salvagridWritesEveryRow_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("quote");
    QTest::addColumn<QByteArray>("file");

    const QStringList xy{"x", "y", "1", "2", "", ""};
    QTest::newRow("3 x 2, empty row") << 3 << 2 << xy << "\t" << "" << QByteArray("x\ty\r\n1\t2\r\n\t\r\n");
    QTest::newRow("1 x 1") << 1 << 1 << QStringList{"only"} << "\t" << "" << QByteArray("only\r\n");
    QTest::newRow("cell texts unchanged")
        << 2 << 3 << QStringList{"a\tb", "", "\"q\"", " 1.5 ", "", "x"} << "\t" << ""
        << QByteArray("a\tb\t\t\"q\"\r\n 1.5 \t\tx\r\n");
    QTest::newRow("separator and quotes")
        << 2 << 2 << QStringList{"a", "say \"hi\"", "", "3"} << ";" << "\""
        << QByteArray("\"a\";\"say \"hi\"\"\r\n\"\";\"3\"\r\n");
}

void TestSaving::salvagridWritesEveryRow()
{
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(QStringList, cells);
    QFETCH(QString, separator);
    QFETCH(QString, quote);
    QFETCH(QByteArray, file);
    OutputFixture f;
    QTemporaryDir dir;
    Grid grid;
    grid.setRows(rows);
    grid.setCols(cols);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c) {
            grid.setRow(r);
            grid.setCol(c);
            grid.setText(cells[r * cols + c]);
        }
    const QString name = dir.filePath(QStringLiteral("t.txt"));
    if (separator == QLatin1String("\t") && quote.isEmpty())
        salvagrid(grid, name);
    else
        salvagrid(grid, name, separator, quote);
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(contents(name), file);
}

void TestSaving::salvagridReplacesAndLeavesTheLastCell()
{
    OutputFixture f;
    QTemporaryDir dir;
    Grid grid;
    grid.setRows(4);
    grid.setCols(3);
    grid.setRow(1);
    grid.setCol(1);
    grid.setText(QStringLiteral("5"));
    const QString name = dir.filePath(QStringLiteral("t.txt"));
    writeFile(name, QByteArray(500, 'z'));
    salvagrid(grid, name);
    salvagrid(grid, name);
    QCOMPARE(contents(name), QByteArray("\t\t\r\n\t5\t\r\n\t\t\r\n\t\t\r\n"));
    QCOMPARE(grid.row(), 3);
    QCOMPARE(grid.col(), 2);
}

void TestSaving::salvagridCannotCreate()
{
    OutputFixture f;
    QTemporaryDir dir;
    Grid grid;
    f.msgs.answer(IdIgnore);
    salvagrid(grid, dir.filePath(QStringLiteral("no/such/folder/t.txt")));
    // The open only: after Ignore the rows have nowhere to go, and say so
    // no more.
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.boxes[0].title, QStringLiteral("Error exporting grid"));
    QCOMPARE(f.msgs.boxes[0].text, QStringLiteral("Path/File access error\rReload and try again"));
}

void TestSaving::salvagraficoWritesTheChart()
{
    OutputFixture f;
    QTemporaryDir dir;
    ChartPage page;
    page.show();
    Chart* g = page.ctl<Chart>(QStringLiteral("Graph1"));
    g->setBackground(4);
    salvagrafico(page, dir.filePath(QStringLiteral("chart")));
    QCOMPARE(f.msgs.count(), 0);
    const QImage written(dir.filePath(QStringLiteral("chart.bmp")));
    QVERIFY(!written.isNull());
    QCOMPARE(written.size(), g->image().size());
    QCOMPARE(g->background(), 0);
    QCOMPARE(g->drawMode(), 2);
    QCOMPARE(g->imageFile(), dir.filePath(QStringLiteral("chart")));
}

void TestSaving::salvagraficoWithoutChart()
{
    OutputFixture f;
    EmptyPage page;
    f.msgs.answer(IdIgnore);
    salvagrafico(page, QStringLiteral("x"));
    // Every step of the sequence reaches for the chart and fails; after
    // Ignore the same failure goes on without a box.
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().title, QStringLiteral("Error Saving Graph"));
}

namespace {

enum Fault { Partway, SyncFails, FolderInPlace, ParentIsAFile, MissingFolder };
enum Kind { PageTextFile, TableFile, ReportFile, ChartBitmap, PictureBitmap };

// Writes one file of the kind under `name`, the way its command does.
void saveKind(OutputFixture& f, int kind, const QString& name)
{
    switch (kind) {
    case PageTextFile: {
        TextPage page(QStringLiteral("Form2"), 4);
        page.show();
        f.dialogs.answerSave(name);
        savePageText(page);
        break;
    }
    case TableFile: {
        Grid grid;
        grid.setRows(500);
        grid.setCols(4);
        for (int r = 0; r < 500; ++r) {
            grid.setRow(int16_t(r));
            grid.setCol(1);
            grid.setText(QString::number(r * 1.5));
        }
        salvagrid(grid, name);
        break;
    }
    case ReportFile: {
        Form& page = windowNamed(QStringLiteral("Form4"));
        page.show();
        page.ctl(QStringLiteral("Picture3"))->hide();
        page.ctl(QStringLiteral("Grid1"))->hide();
        f.msgs.clear();
        f.dialogs.answerSave(name);
        form4Save(page);
        break;
    }
    case ChartBitmap: {
        ChartPage page;
        page.show();
        salvagrafico(page, name);
        break;
    }
    case PictureBitmap:
        canvas()->resize(120, 80);
        canvas()->line(0, 0, 1500, 1000, Qt::black);
        TrapErrors t(QStringLiteral("Reload and try again"), QStringLiteral("Error saving"));
        t.step([&] { savePicture(canvas()->image(), name); });
        break;
    }
}

} // namespace

// A write past the file size limit fails with EFBIG instead of ending the
// process.
void TestSaving::initTestCase() { signal(SIGXFSZ, SIG_IGN); }

void TestSaving::failedSaveKeepsTheOldFile_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("answer");
    const struct {
        const char* name;
        int kind;
    } kinds[] = {{"page text", PageTextFile}, {"table", TableFile}, {"report", ReportFile},
                 {"chart bitmap", ChartBitmap}, {"picture bitmap", PictureBitmap}};
    const struct {
        const char* name;
        int fault;
    } faults[] = {{"disk full partway", Partway}, {"disk fails the sync", SyncFails},
                  {"folder in place of the file", FolderInPlace},
                  {"parent is a file", ParentIsAFile}, {"missing folder", MissingFolder}};
    for (const auto& k : kinds) {
        for (const auto& fa : faults)
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(k.name), QLatin1String(fa.name))))
                << k.kind << fa.fault << int(IdIgnore);
        QTest::newRow(qPrintable(QStringLiteral("%1, disk full, abort").arg(QLatin1String(k.name))))
            << k.kind << int(Partway) << int(IdAbort);
    }
}

// Whatever fails, the old file keeps its bytes, no partial or temporary
// file is left, and one box tells of it, whether Ignore goes on or Abort
// ends the command.
void TestSaving::failedSaveKeepsTheOldFile()
{
    QFETCH(int, kind);
    QFETCH(int, fault);
    QFETCH(int, answer);
    OutputFixture f;
    QTemporaryDir dir;
    const QByteArray old("the old file, longer than the first bytes of any new one");
    const QString kept = dir.filePath(QStringLiteral("old.txt"));
    writeFile(kept, old);
    QString name = kept;
    // However the row is left, no later test writes under the limit or
    // through the failing sync.
    const auto restore = [] {
        test::unlimitedFileSize();
        setSyncForTesting(nullptr);
    };
    const auto restoreOnLeaving = qScopeGuard(restore);
    switch (fault) {
    // The kernel refuses the bytes past the twentieth.
    case Partway: QVERIFY(test::limitFileSize(20)); break;
    // Every byte written, the disk reports an error when asked to keep them
    // (as a network or failing disk does); no test can have a disk do that.
    case SyncFails:
        setSyncForTesting([](int) {
            errno = EIO;
            return -1;
        });
        break;
    case FolderInPlace:
        name = dir.filePath(QStringLiteral("new.bmp"));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("new.bmp")));
        break;
    case ParentIsAFile: name = kept + QStringLiteral("/new.txt"); break;
    case MissingFolder: name = dir.filePath(QStringLiteral("missing/new.txt")); break;
    }
    for (int i = 0; i < 30; ++i)
        f.msgs.answer(answer);
    saveKind(f, kind, name);
    // Before the checks: a failure's message may go to a log file.
    restore();
    QCOMPARE(f.msgs.count(), 1);
    QVERIFY(f.msgs.last().text.startsWith(QStringLiteral("Path/File access error\r")));
    QCOMPARE(contents(kept), old);
    QStringList left = QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    left.removeAll(QStringLiteral("old.txt"));
    left.removeAll(QStringLiteral("new.bmp"));
    QCOMPARE(left, QStringList());
    if (fault == FolderInPlace)
        QVERIFY(QDir(name).isEmpty());
}

void TestSaving::saveDialogNeedsAnExistingFolder()
{
    QTemporaryDir dir;
    const QString inside = dir.filePath(QStringLiteral("a.doc"));
    const QString missing = dir.filePath(QStringLiteral("none/a.doc"));
    QVERIFY(saveNameAccepted(kSaveFlags, inside));
    QVERIFY(!saveNameAccepted(kSaveFlags, missing));
    QVERIFY(saveNameAccepted(0, missing));
}

TAV_TEST_MAIN(TestSaving)
#include "tst_saving.moc"
