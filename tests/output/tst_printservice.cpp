// Printing through a real print service: a private cupsd whose queue keeps
// every job it is given and reports unprintable margins. The pages must lie
// inside the printable area, a job the service does not take must say so
// once, each window's paper must be its own, and the dialog must open on a
// printer that is there or on a file that can be written.

#include "common/messages.h"
#include "common/program.h"
#include "common/tabelaimp.h"
#include "output/canvas.h"
#include "output/fprintpp.h"
#include "output/fprintpreview.h"
#include "output/services.h"
#include "outputkit.h"
#include "platform/controls.h"
#include "platform/slider.h"
#include "printservicekit.h"
#include "shell/topics.h"
#include "testmain.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace tav;
using tav::test::OutputFixture;
using tav::test::PrintService;

namespace {

const QString kQueue = QStringLiteral("office");

// The printable rectangle of A4 on the queue, points from the paper's top.
const QRectF kPrintableA4(QPointF(test::kMarginLeft, test::kMarginTop),
                          QPointF(595 - test::kMarginRight, 842 - test::kMarginBottom));

void fill(int rows, int cols)
{
    TabelaImp& t = tabelaimp();
    t.clear();
    t.imptitulo = QStringLiteral("Inspection");
    t.impsubtitulo = QStringLiteral("Consignments");
    t.implinhas = rows;
    t.impcolunas = cols;
    for (int i = 0; i <= rows; ++i) {
        t.setImprotulo(i, QStringLiteral("L%1").arg(i));
        for (int j = 1; j <= cols; ++j)
            t.setImpcelula(j, i, double(i * 10 + j));
    }
}

void preparePicture(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::red);
    QVERIFY(img.save(tempPictureFile(), "BMP"));
    canvas()->resize(w, h);
}

// The scripted dialogs and boxes, and the system printer on the service's
// default queue.
struct OfficeFixture : OutputFixture {
    OfficeFixture() { setPrinter(&office); }
    ~OfficeFixture() { setPrinter(&paper); }
    SystemPrinter office;
};

// The print set-up window showing a red picture of 300 by 200.
FprintPP& pictureWindow()
{
    preparePicture(300, 200);
    FprintPP& pp = fprintpp();
    pp.show();
    return pp;
}

// The first row of every preview page, paging with "Next".
QList<int> previewStarts(FPrintPreview& w)
{
    QList<int> starts{0};
    for (int guard = 0; guard < 100 && w.proximalinha.toInt() != 0; ++guard) {
        starts << w.proximalinha.toInt();
        test::click(w.ctl(QStringLiteral("Command1")));
    }
    return starts;
}

// Every page of the job is on this paper (points); `got` says what it was.
bool onPaper(const test::KeptJob& job, const QSizeF& paper, QString* got)
{
    const QList<test::PrintedPage> pages = test::printedPages(job.pdf);
    got->clear();
    bool all = !pages.isEmpty();
    for (const test::PrintedPage& p : pages) {
        *got += QStringLiteral("%1 x %2 pt; ").arg(p.points.width()).arg(p.points.height());
        all = all && std::abs(p.points.width() - paper.width()) < 1 && std::abs(p.points.height() - paper.height()) < 1;
    }
    return all;
}

Form& inspectionPageShowingItsTable()
{
    Form& p = windowNamed(QStringLiteral("Form4"));
    p.show();
    p.ctl(QStringLiteral("Picture3"))->setVisible(false);
    p.ctl(QStringLiteral("Grid1"))->setVisible(true);
    return p;
}

// Answers the program's own print dialog from inside its loop: `look`
// sees the dialog, then OK is pressed. Any box the dialog raises in turn is
// recorded and closed, and a dialog still open after a few tries is
// cancelled, so the test never waits for a person.
class DialogAnswer : public QObject {
public:
    explicit DialogAnswer(std::function<void(QPrintDialog*)> look) : look_(std::move(look))
    {
        connect(&timer_, &QTimer::timeout, this, [this] { poke(); });
        timer_.start(30);
    }
    int dialogs = 0;
    QStringList boxes;

private:
    void poke()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            boxes << box->text();
            box->done(QMessageBox::Cancel);
            return;
        }
        auto* d = qobject_cast<QPrintDialog*>(w);
        if (!d)
            return;
        if (++tries_ > 5) {
            d->reject();
            return;
        }
        ++dialogs;
        if (look_)
            look_(d);
        d->accept();
    }
    std::function<void(QPrintDialog*)> look_;
    QTimer timer_;
    int tries_ = 0;
};

} // namespace

class TestPrintService : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void tableInsidePrintableArea();
    void pictureInsidePrintableArea_data();
    void pictureInsidePrintableArea();
    void refusedJobSaysSoOnce_data();
    void refusedJobSaysSoOnce();
    void retryAfterARefusalPrints();
    void pausedQueueKeepsTheJob();
    void paperIsEachWindowsOwn();
    void letterIsLetter();
    void jobsCarryTheirWindowsName();
    void removedPrinterGivesWayToTheDefault();
    void noPrinterProposesAFile();

private:
    PrintService service_;
};

void TestPrintService::initTestCase()
{
    QString why;
    if (!service_.start(&why))
        QSKIP(qPrintable(why));
    QVERIFY(service_.addQueue(kQueue));
    service_.run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), kQueue});
    QCOMPARE(QPrinterInfo::defaultPrinterName(), kQueue);
}

void TestPrintService::cleanup()
{
    Form::resetAll();
    service_.clearJobs();
}

// A table of 126 rows on a printer that cannot print its paper's border:
// every word inside the printable area, every row once and in order, and
// the pages break where the preview's do.
void TestPrintService::tableInsidePrintableArea()
{
    OfficeFixture f;
    QCOMPARE(f.office.qprinter().printerName(), kQueue);
    fill(126, 3);
    test::click(inspectionPageShowingItsTable().ctl(QStringLiteral("Image7")));
    FPrintPreview& w = fprintpreview();
    QVERIFY(w.visible());
    const QList<int> preview = previewStarts(w);
    test::click(w.ctl(QStringLiteral("Command3")));
    QCOMPARE(f.msgs.count(), 0);
    const QList<test::KeptJob> jobs = service_.jobs(1);
    QCOMPARE(jobs.size(), 1);
    const QList<test::PrintedPage> pages = test::printedPages(jobs[0].pdf);
    QCOMPARE(pages.size(), preview.size());

    QList<int> rows, firstRows;
    double top = 1e9, bottom = -1e9;
    for (const test::PrintedPage& page : pages) {
        QVERIFY(std::abs(page.points.width() - 595) < 1 && std::abs(page.points.height() - 842) < 1);
        bool first = true;
        for (const test::PrintedWord& word : page.words) {
            top = std::min(top, word.box.top());
            bottom = std::max(bottom, word.box.bottom());
            QVERIFY2(kPrintableA4.adjusted(-0.5, -0.5, 0.5, 0.5).contains(word.box),
                     qPrintable(QStringLiteral("%1 at %2,%3-%4,%5")
                                    .arg(word.text)
                                    .arg(word.box.left())
                                    .arg(word.box.top())
                                    .arg(word.box.right())
                                    .arg(word.box.bottom())));
            if (word.text.startsWith(QLatin1Char('L'))) {
                rows << word.text.mid(1).toInt();
                if (first)
                    firstRows << rows.last();
                first = false;
            }
        }
    }
    qInfo("text from %.1f pt to %.1f pt; printable area %.0f to %.0f pt", top, bottom, kPrintableA4.top(),
          kPrintableA4.bottom());
    QList<int> all;
    for (int i = 0; i <= 126; ++i)
        all << i;
    QCOMPARE(rows, all);
    QCOMPARE(firstRows, preview);
}

void TestPrintService::pictureInsidePrintableArea_data()
{
    QTest::addColumn<bool>("landscape");
    QTest::addColumn<int>("size");
    QTest::newRow("portrait, 100") << false << 100;
    QTest::newRow("landscape, 100") << true << 100;
    QTest::newRow("portrait, 200: past the sheet") << false << 200;
    QTest::newRow("landscape, 200: past the sheet") << true << 200;
}

// The picture of the print set-up window lies inside the printable area,
// and one enlarged past the sheet is cut at its edge, not at the paper's.
void TestPrintService::pictureInsidePrintableArea()
{
    QFETCH(bool, landscape);
    QFETCH(int, size);
    OfficeFixture f;
    FprintPP& pp = pictureWindow();
    if (landscape)
        pp.ctl<QRadioButton>(QStringLiteral("Option5"))->click();
    pp.ctl<Slider>(QStringLiteral("Slider1"))->setValue(size);
    test::click(pp.ctl(QStringLiteral("Command1")));
    QCOMPARE(f.msgs.count(), 0);
    const QList<test::KeptJob> jobs = service_.jobs(1);
    QCOMPARE(jobs.size(), 1);
    // Two pixels a point.
    const QImage page = test::renderedPage(jobs[0].pdf, 144);
    QVERIFY(!page.isNull());
    QRect red;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60)
                red |= QRect(x, y, 1, 1);
        }
    QVERIFY(!red.isEmpty());
    const QRectF points(red.x() / 2.0, red.y() / 2.0, red.width() / 2.0, red.height() / 2.0);
    // Turned, the page's sides meet the paper's other borders.
    const QRectF printable = landscape ? QRectF(QPointF(test::kMarginTop, test::kMarginLeft),
                                                QPointF(842 - test::kMarginBottom, 595 - test::kMarginRight))
                                       : kPrintableA4;
    QVERIFY2(printable.adjusted(-1, -1, 1, 1).contains(points),
             qPrintable(QStringLiteral("picture at %1,%2 %3x%4 pt").arg(points.x()).arg(points.y())
                            .arg(points.width()).arg(points.height())));
    if (size > 100)
        QVERIFY(std::abs(points.right() - printable.right()) < 1 || std::abs(points.bottom() - printable.bottom()) < 1);
}

void TestPrintService::refusedJobSaysSoOnce_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<bool>("table");
    for (const char* failure : {"queue rejects jobs", "printer removed", "service stopped"}) {
        QTest::newRow(qPrintable(QStringLiteral("table, %1").arg(QLatin1String(failure))))
            << QString::fromLatin1(failure) << true;
        QTest::newRow(qPrintable(QStringLiteral("page, %1").arg(QLatin1String(failure))))
            << QString::fromLatin1(failure) << false;
    }
}

// A print that the service never takes is one box, of the window that
// printed, and leaves no job behind, whole or in part.
void TestPrintService::refusedJobSaysSoOnce()
{
    QFETCH(QString, failure);
    QFETCH(bool, table);
    const QString gone = QStringLiteral("gone");
    OfficeFixture f;
    SystemPrinter& office = f.office;
    if (failure == QLatin1String("printer removed")) {
        QVERIFY(service_.addQueue(gone));
        office.qprinter().setPrinterName(gone);
        QCOMPARE(office.qprinter().printerName(), gone);
    }
    fill(40, 2);
    if (table) {
        test::click(inspectionPageShowingItsTable().ctl(QStringLiteral("Image7")));
        QVERIFY(fprintpreview().visible());
    } else {
        preparePicture(300, 200);
        fprintpp().show();
    }
    QString why;
    if (failure == QLatin1String("queue rejects jobs"))
        service_.run(QStringLiteral("cupsreject"), {kQueue});
    else if (failure == QLatin1String("printer removed"))
        service_.run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), gone});
    else
        service_.stop();
    f.msgs.clear();
    if (table)
        test::click(fprintpreview().ctl(QStringLiteral("Command3")));
    else
        test::click(fprintpp().ctl(QStringLiteral("Command1")));
    const int boxes = f.msgs.count();
    const QString title = boxes ? f.msgs.last().title : QString();
    const int style = boxes ? f.msgs.last().style : 0;

    if (failure == QLatin1String("queue rejects jobs"))
        service_.run(QStringLiteral("cupsaccept"), {kQueue});
    else if (failure == QLatin1String("service stopped"))
        QVERIFY2(service_.resume(&why), qPrintable(why));
    QCOMPARE(boxes, 1);
    QCOMPARE(title, table ? QStringLiteral("Error PrintPreView") : QStringLiteral("Error FPrintPP"));
    QCOMPARE(style & 7, table ? int(MbAbortRetryIgnore) : style & 7);
    QVERIFY(!office.active());
    QCOMPARE(service_.jobs(0, 0).size(), 0);
    QCOMPARE(service_.waitingJobs(kQueue), 0);
}

// Retry in the table's box sends the finished document again: once the
// queue takes jobs, the table prints, once.
void TestPrintService::retryAfterARefusalPrints()
{
    OfficeFixture f;
    const SystemPrinter& office = f.office;
    fill(40, 2);
    test::click(inspectionPageShowingItsTable().ctl(QStringLiteral("Image7")));
    service_.run(QStringLiteral("cupsreject"), {kQueue});
    f.msgs.clear();
    f.msgs.answer(IdRetry);
    f.msgs.onShow = [&](const ScriptedMessages::Box&) { service_.run(QStringLiteral("cupsaccept"), {kQueue}); };
    test::click(fprintpreview().ctl(QStringLiteral("Command3")));
    f.msgs.onShow = {};
    service_.run(QStringLiteral("cupsaccept"), {kQueue});
    QCOMPARE(f.msgs.count(), 1);
    const QList<test::KeptJob> jobs = service_.jobs(1);
    QCOMPARE(jobs.size(), 1);
    int rows = 0;
    for (const test::PrintedPage& page : test::printedPages(jobs[0].pdf))
        for (const test::PrintedWord& word : page.words)
            rows += word.text.startsWith(QLatin1Char('L'));
    QCOMPARE(rows, 41);
    QVERIFY(!office.active());
}

// A paused queue takes the job and keeps it until it goes on: no failure.
void TestPrintService::pausedQueueKeepsTheJob()
{
    OfficeFixture f;
    fill(20, 2);
    service_.run(QStringLiteral("cupsdisable"), {kQueue});
    test::click(inspectionPageShowingItsTable().ctl(QStringLiteral("Image7")));
    test::click(fprintpreview().ctl(QStringLiteral("Command3")));
    const int boxes = f.msgs.count();
    const int waiting = service_.waitingJobs(kQueue);
    service_.run(QStringLiteral("cupsenable"), {kQueue});
    QCOMPARE(boxes, 0);
    QCOMPARE(waiting, 1);
    QCOMPARE(service_.jobs(1).size(), 1);
}

// A custom landscape paper chosen for one picture print is that print's:
// the table printed next comes out on the printer's own paper, and its
// preview shows that paper.
void TestPrintService::paperIsEachWindowsOwn()
{
    OfficeFixture f;
    FprintPP& pp = pictureWindow();
    pp.ctl<QRadioButton>(QStringLiteral("Option3"))->click();
    pp.ctl<QLineEdit>(QStringLiteral("Text1"))->setText(QStringLiteral("100"));
    pp.ctl<QLineEdit>(QStringLiteral("Text2"))->setText(QStringLiteral("150"));
    test::click(pp.ctl(QStringLiteral("Command2")));
    pp.ctl<QRadioButton>(QStringLiteral("Option5"))->click();
    test::click(pp.ctl(QStringLiteral("Command1")));
    QCOMPARE(service_.jobs(1).size(), 1);

    fill(126, 3);
    test::click(inspectionPageShowingItsTable().ctl(QStringLiteral("Image7")));
    FPrintPreview& w = fprintpreview();
    const QSize sheet = w.ctl(QStringLiteral("Picture1"))->size();
    test::click(w.ctl(QStringLiteral("Command3")));
    QCOMPARE(f.msgs.count(), 0);
    const QList<test::KeptJob> jobs = service_.jobs(2);
    QCOMPARE(jobs.size(), 2);
    QString paper;
    // 150 by 100 mm, then A4.
    QVERIFY2(onPaper(jobs[0], QSizeF(425.2, 283.5), &paper), qPrintable(paper));
    QVERIFY2(onPaper(jobs[1], QSizeF(595, 842), &paper), qPrintable(paper));
    QVERIFY(test::printedPages(jobs[1].pdf).size() > 1);
    // A4 at the preview's 50 %: 11906 by 16838 twips.
    QVERIFY2(std::abs(sheet.width() - 11906 * 0.5 / 15) <= 1 && std::abs(sheet.height() - 16838 * 0.5 / 15) <= 1,
             qPrintable(QStringLiteral("%1 x %2").arg(sheet.width()).arg(sheet.height())));
}

// Letter asks the printer for Letter paper, 8.5 by 11 inches.
void TestPrintService::letterIsLetter()
{
    OfficeFixture f;
    FprintPP& pp = pictureWindow();
    pp.ctl<QRadioButton>(QStringLiteral("Option2"))->click();
    test::click(pp.ctl(QStringLiteral("Command1")));
    QCOMPARE(f.msgs.count(), 0);
    const QList<test::KeptJob> jobs = service_.jobs(1);
    QCOMPARE(jobs.size(), 1);
    QString paper;
    QVERIFY2(onPaper(jobs[0], QSizeF(612, 792), &paper), qPrintable(paper));
}

// A job in the queue is named after the program and the window it came from.
void TestPrintService::jobsCarryTheirWindowsName()
{
    OfficeFixture f;
    Form& sampling = windowNamed(QStringLiteral("Form1"));
    sampling.show();
    test::click(sampling.ctl(QStringLiteral("Image7")));
    QVERIFY(fprintpp().visible());
    test::click(fprintpp().ctl(QStringLiteral("Command1")));
    fill(10, 2);
    Form& inspection = inspectionPageShowingItsTable();
    test::click(inspection.ctl(QStringLiteral("Image7")));
    test::click(fprintpreview().ctl(QStringLiteral("Command3")));
    QCOMPARE(f.msgs.count(), 0);
    const QList<test::KeptJob> jobs = service_.jobs(2);
    QCOMPARE(jobs.size(), 2);
    QCOMPARE(jobs[0].title, QStringLiteral("Tavrelo - ") + sampling.widget()->windowTitle().trimmed());
    QCOMPARE(jobs[1].title, QStringLiteral("Tavrelo - ") + inspection.widget()->windowTitle().trimmed());
}

// The printer used last is removed: the next print dialog opens on the
// system's default printer, and the page goes there.
void TestPrintService::removedPrinterGivesWayToTheDefault()
{
    OutputFixture f;
    setDialogs(nullptr);
    const QString gone = QStringLiteral("gone");
    QVERIFY(service_.addQueue(QStringLiteral("another")));
    QVERIFY(service_.addQueue(gone));
    SystemPrinter office;
    setPrinter(&office);
    office.qprinter().setPrinterName(gone);
    service_.run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), gone});
    preparePicture(300, 200);
    fprintpp().show();
    QString offered;
    {
        DialogAnswer answer([&](QPrintDialog* d) {
            if (auto* printers = d->findChild<QComboBox*>(QStringLiteral("printers")))
                offered = printers->currentText();
        });
        test::click(fprintpp().ctl(QStringLiteral("Command1")));
        QCOMPARE(answer.dialogs, 1);
        QCOMPARE(answer.boxes, QStringList());
    }
    service_.run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), QStringLiteral("another")});
    QCOMPARE(offered, kQueue);
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(service_.jobs(1).size(), 1);
}

// With no printer at all the dialog offers a print to a file: OK prints to
// a file of the user's documents folder at once.
void TestPrintService::noPrinterProposesAFile()
{
    OutputFixture f;
    setDialogs(nullptr);
    service_.stop();
    const QString documents = service_.home() + QStringLiteral("/Documents");
    QDir(documents).removeRecursively();
    QDir().mkpath(documents);
    QStringList boxes;
    int dialogs = 0;
    {
        SystemPrinter nowhere;
        setPrinter(&nowhere);
        preparePicture(300, 200);
        fprintpp().show();
        DialogAnswer answer({});
        test::click(fprintpp().ctl(QStringLiteral("Command1")));
        boxes = answer.boxes;
        dialogs = answer.dialogs;
        setPrinter(&f.paper);
    }
    QString why;
    QVERIFY2(service_.resume(&why), qPrintable(why));
    QCOMPARE(dialogs, 1);
    QCOMPARE(boxes, QStringList());
    QCOMPARE(f.msgs.count(), 0);
    const QStringList files = QDir(documents).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    QCOMPARE(files.size(), 1);
    QCOMPARE(test::printedPages(QDir(documents).filePath(files[0])).size(), 1);
}

TAV_TEST_MAIN(TestPrintService)
#include "tst_printservice.moc"
