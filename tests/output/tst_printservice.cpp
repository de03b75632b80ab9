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
#include "platform/printservice.h"
#include "platform/slider.h"
#include "printservicekit.h"
#include "shell/topics.h"
#include "testmain.h"

#include <QApplication>
#include <QScopeGuard>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
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
    OfficeFixture()
    {
        office.refresh();
        setPrinter(&office);
    }
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
    explicit DialogAnswer(std::function<void(QPrintDialog*)> look, bool accept = true)
        : look_(std::move(look)), accept_(accept)
    {
        connect(&timer_, &QTimer::timeout, this, [this] { poke(); });
        timer_.start(30);
    }
    int dialogs = 0;
    QStringList boxes;
    // Opens the printer's properties first, and `set` sets them.
    void throughProperties(std::function<void(QWidget*)> set) { properties_ = std::move(set); }

private:
    void poke()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            boxes << box->text();
            box->done(QMessageBox::Cancel);
            return;
        }
        // The printer's properties, opened from the dialog: set, then OK.
        if (w && properties_ && qstrcmp(w->metaObject()->className(), "QPrintPropertiesDialog") == 0) {
            properties_(w);
            properties_ = {};
            QMetaObject::invokeMethod(w, "accept", Qt::QueuedConnection);
            return;
        }
        auto* d = qobject_cast<QPrintDialog*>(w);
        if (!d)
            return;
        if (properties_) {
            // Opened once, from a timer of its own: this one must go on ticking.
            if (!propertiesAsked_)
                QTimer::singleShot(0, d, [d] { d->findChild<QPushButton*>(QStringLiteral("properties"))->click(); });
            propertiesAsked_ = true;
            return;
        }
        if (++tries_ > 5) {
            d->reject();
            return;
        }
        ++dialogs;
        if (look_)
            look_(d);
        if (accept_)
            d->accept();
        else
            d->reject();
    }
    std::function<void(QPrintDialog*)> look_;
    std::function<void(QWidget*)> properties_;
    bool propertiesAsked_ = false;
    bool accept_;
    QTimer timer_;
    int tries_ = 0;
};

// The dialog's own controls, as a user sets them.
void printToFile(QPrintDialog* d, const QString& file)
{
    auto* printers = d->findChild<QComboBox*>(QStringLiteral("printers"));
    printers->setCurrentIndex(printers->count() - 1); // "Print to File (PDF)", last
    d->findChild<QLineEdit*>(QStringLiteral("filename"))->setText(file);
}
void pagesFromTo(QPrintDialog* d, int from, int to)
{
    d->findChild<QRadioButton*>(QStringLiteral("printRange"))->setChecked(true);
    d->findChild<QSpinBox*>(QStringLiteral("from"))->setValue(from);
    d->findChild<QSpinBox*>(QStringLiteral("to"))->setValue(to);
}

// Short limits, so that a service that does not answer is given up soon.
struct ShortLimits {
    explicit ShortLimits(int answerMs, int reachMs) { printservice::setLimitsForTesting(answerMs, reachMs); }
    ~ShortLimits() { printservice::setLimitsForTesting(-1, -1); }
};

// Whether the event loop runs: the ticks of a timer, and the longest time
// it stood still.
class LoopWatch : public QObject {
public:
    LoopWatch()
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            const qint64 now = clock_.elapsed();
            longest_ = std::max(longest_, now - last_);
            last_ = now;
            ++ticks;
        });
        clock_.start();
        timer_.start(10);
    }
    qint64 longestStill() const { return std::max(longest_, clock_.elapsed() - last_); }
    int ticks = 0;

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    qint64 longest_ = 0;
};

// The files of a folder with their bytes.
QMap<QString, QByteArray> filesIn(const QString& folder)
{
    QMap<QString, QByteArray> out;
    for (const QFileInfo& i : QDir(folder).entryInfoList(QDir::Files)) {
        QFile f(i.absoluteFilePath());
        f.open(QIODevice::ReadOnly);
        out.insert(i.fileName(), f.readAll());
    }
    return out;
}

// The rows of a table job, in order.
QList<int> printedRows(const test::KeptJob& job)
{
    QList<int> rows;
    for (const test::PrintedPage& page : test::printedPages(job.pdf))
        for (const test::PrintedWord& word : page.words)
            if (word.text.startsWith(QLatin1Char('L')))
                rows << word.text.mid(1).toInt();
    return rows;
}

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
    void aFileIsItsOwnPrintsTarget_data();
    void aFileIsItsOwnPrintsTarget();
    void aChoiceIsItsPrintsOwn_data();
    void aChoiceIsItsPrintsOwn();
    void pagesPastTheDocumentAreNoPrint();
    void tablePrintFollowsTheQueuesOrientation();
    void stoppedServiceIsGivenUp_data();
    void stoppedServiceIsGivenUp();
    void slowServicePrintsOnce();
    void unreachableServiceOffersAFile();
    void colourAsTheQueueHasIt_data();
    void colourAsTheQueueHasIt();
    void printerGoneBeforeTheDocumentBegins();
    void sentDocumentIsNotKept();

private:
    // The user's documents folder, emptied.
    QString emptyDocuments()
    {
        const QString documents = service_.home() + QStringLiteral("/Documents");
        QDir(documents).removeRecursively();
        QDir().mkpath(documents);
        return documents;
    }
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
    // Whatever the test did to the service, it goes on for the next.
    service_.thaw();
    printservice::setStageHookForTesting({});
    printservice::setLimitsForTesting(-1, -1);
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
    const QString documents = emptyDocuments();
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

void TestPrintService::aFileIsItsOwnPrintsTarget_data()
{
    QTest::addColumn<bool>("service");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("a picture to a file, then a table") << true << true;
    QTest::newRow("no service: a picture to the file proposed, then a table") << false << true;
    QTest::newRow("no service: the picture's dialog cancelled, then a table") << false << false;
}

// A file chosen, or only proposed, in one print's dialog is that print's:
// a table printed next from its preview, which shows no dialog, goes to the
// printer, and where there is none it says so; no file is written over.
void TestPrintService::aFileIsItsOwnPrintsTarget()
{
    QFETCH(bool, service);
    QFETCH(bool, accepted);
    OfficeFixture f;
    setDialogs(nullptr);
    const QString documents = emptyDocuments();
    const QString chart = documents + QStringLiteral("/chart.pdf");
    if (!service)
        service_.stop();
    FprintPP& pp = pictureWindow();
    {
        DialogAnswer answer(
            [&](QPrintDialog* d) {
                if (service)
                    printToFile(d, chart);
            },
            accepted);
        test::click(pp.ctl(QStringLiteral("Command1")));
        QCOMPARE(answer.dialogs, 1);
    }
    const QMap<QString, QByteArray> before = filesIn(documents);
    QCOMPARE(before.size(), accepted ? 1 : 0);
    if (service)
        QVERIFY(before.contains(QStringLiteral("chart.pdf")));

    fill(20, 2);
    test::click(inspectionPageShowingItsTable().ctl(QStringLiteral("Image7")));
    f.msgs.clear();
    test::click(fprintpreview().ctl(QStringLiteral("Command3")));
    const int boxes = f.msgs.count();
    const QString title = boxes ? f.msgs.last().title : QString();
    QString why;
    if (!service)
        QVERIFY2(service_.resume(&why), qPrintable(why));
    QCOMPARE(filesIn(documents), before);
    if (service) {
        QCOMPARE(boxes, 0);
        const QList<test::KeptJob> jobs = service_.jobs(1);
        QCOMPARE(jobs.size(), 1);
        QCOMPARE(printedRows(jobs[0]).size(), 21);
    } else {
        QCOMPARE(boxes, 1);
        QCOMPARE(title, QStringLiteral("Error PrintPreView"));
        QCOMPARE(service_.jobs(0, 0).size(), 0);
    }
}

void TestPrintService::aChoiceIsItsPrintsOwn_data()
{
    QTest::addColumn<bool>("tableFirst");
    QTest::newRow("pages 2-3 of a table, then a page") << true;
    QTest::newRow("3 copies of a page, then a table") << false;
}

// A page range or a number of copies chosen for one print is not the next
// print's, whichever window it comes from.
void TestPrintService::aChoiceIsItsPrintsOwn()
{
    QFETCH(bool, tableFirst);
    OfficeFixture f;
    setDialogs(nullptr);
    fill(126, 3);
    const auto table = [&](bool configure) {
        test::click(inspectionPageShowingItsTable().ctl(QStringLiteral("Image7")));
        if (configure) {
            DialogAnswer answer([](QPrintDialog* d) { pagesFromTo(d, 2, 3); });
            test::click(fprintpreview().ctl(QStringLiteral("Command2")));
            QCOMPARE(answer.dialogs, 1);
        }
        test::click(fprintpreview().ctl(QStringLiteral("Command3")));
    };
    const auto page = [&](bool copies) {
        DialogAnswer answer([&](QPrintDialog* d) {
            if (copies)
                d->findChild<QSpinBox*>(QStringLiteral("copies"))->setValue(3);
        });
        test::click(pictureWindow().ctl(QStringLiteral("Command1")));
        QCOMPARE(answer.dialogs, 1);
    };
    if (tableFirst) {
        table(true);
        page(false);
    } else {
        page(true);
        table(false);
    }
    QCOMPARE(f.msgs.count(), 0);
    const QList<test::KeptJob> jobs = service_.jobs(2);
    QCOMPARE(jobs.size(), 2);
    const test::KeptJob& chosen = jobs[0];
    const test::KeptJob& next = jobs[1];
    qInfo("first: copies %d, %s", chosen.copies, qPrintable(chosen.options));
    qInfo("next: copies %d, %s", next.copies, qPrintable(next.options));
    if (tableFirst)
        QVERIFY(chosen.options.contains(QStringLiteral("page-ranges=2-3")));
    else
        QCOMPARE(chosen.copies, 3);
    QCOMPARE(next.copies, 1);
    QVERIFY(!next.options.contains(QStringLiteral("page-ranges")));
    // The whole of it: the page, or every row of the table.
    if (tableFirst)
        QCOMPARE(test::printedPages(next.pdf).size(), 1);
    else
        QCOMPARE(printedRows(next).size(), 127);
}

// Pages asked for that the document does not have: one box, and no job
// that prints nothing.
void TestPrintService::pagesPastTheDocumentAreNoPrint()
{
    OfficeFixture f;
    setDialogs(nullptr);
    {
        DialogAnswer answer([](QPrintDialog* d) { pagesFromTo(d, 2, 3); });
        test::click(pictureWindow().ctl(QStringLiteral("Command1")));
        QCOMPARE(answer.dialogs, 1);
    }
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().title, QStringLiteral("Error FPrintPP"));
    QCOMPARE(service_.jobs(0, 500).size(), 0);
    QCOMPARE(service_.waitingJobs(kQueue), 0);
}

// A queue whose default is landscape: the table is laid out on landscape
// pages, in the preview as on paper, and the job asks for them as they
// are; a portrait picture on the same queue asks for portrait.
void TestPrintService::tablePrintFollowsTheQueuesOrientation()
{
    const QString wide = QStringLiteral("wide");
    QVERIFY(service_.addQueue(wide, {QStringLiteral("orientation-requested-default=4")}));
    const auto removed = qScopeGuard([&] { service_.run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), wide}); });
    OfficeFixture f;
    f.office.qprinter().setPrinterName(wide);
    fill(126, 3);
    test::click(inspectionPageShowingItsTable().ctl(QStringLiteral("Image7")));
    FPrintPreview& w = fprintpreview();
    const QSize sheet = w.ctl(QStringLiteral("Picture1"))->size();
    const QList<int> preview = previewStarts(w);
    test::click(w.ctl(QStringLiteral("Command3")));
    test::click(pictureWindow().ctl(QStringLiteral("Command1")));
    QCOMPARE(f.msgs.count(), 0);
    const QList<test::KeptJob> jobs = service_.jobs(2);
    QCOMPARE(jobs.size(), 2);
    qInfo("table: %s", qPrintable(jobs[0].options));
    qInfo("picture: %s", qPrintable(jobs[1].options));
    QVERIFY2(sheet.width() > sheet.height(), qPrintable(QStringLiteral("%1 x %2").arg(sheet.width()).arg(sheet.height())));
    QVERIFY(jobs[0].options.contains(QStringLiteral("orientation-requested=4")));
    QVERIFY(jobs[1].options.contains(QStringLiteral("orientation-requested=3")));
    QString paper;
    QVERIFY2(onPaper(jobs[0], QSizeF(842, 595), &paper), qPrintable(paper));
    QVERIFY2(onPaper(jobs[1], QSizeF(595, 842), &paper), qPrintable(paper));
    // Turned either way, the landscape page's borders are the paper's.
    const QRectF printable(QPointF(test::kMarginTop, test::kMarginLeft),
                           QPointF(842 - test::kMarginBottom, 595 - test::kMarginRight));
    QList<int> rows, firstRows;
    for (const test::PrintedPage& page : test::printedPages(jobs[0].pdf)) {
        bool first = true;
        for (const test::PrintedWord& word : page.words) {
            QVERIFY2(printable.adjusted(-0.5, -0.5, 0.5, 0.5).contains(word.box),
                     qPrintable(QStringLiteral("%1 at %2,%3").arg(word.text).arg(word.box.left()).arg(word.box.top())));
            if (word.text.startsWith(QLatin1Char('L'))) {
                rows << word.text.mid(1).toInt();
                if (first)
                    firstRows << rows.last();
                first = false;
            }
        }
    }
    QList<int> all;
    for (int i = 0; i <= 126; ++i)
        all << i;
    QCOMPARE(rows, all);
    QCOMPARE(firstRows, preview);
}

void TestPrintService::stoppedServiceIsGivenUp_data()
{
    QTest::addColumn<bool>("table");
    QTest::addColumn<bool>("asTheJobIsMade");
    QTest::addColumn<int>("answer");
    QTest::newRow("table, stopped before Print, Abort") << true << false << int(IdAbort);
    QTest::newRow("table, stopped before Print, Retry once it goes on") << true << false << int(IdRetry);
    QTest::newRow("table, stopped as the job is made, Abort") << true << true << int(IdAbort);
    QTest::newRow("page, stopped before OK in the print dialog") << false << false << int(IdAbort);
}

// A service that stops answering (SIGSTOP) does not freeze the program:
// the event loop goes on, the print is given up within the limit with one
// box, and once the service goes on nothing of the print given up prints;
// Retry then prints it once.
void TestPrintService::stoppedServiceIsGivenUp()
{
    QFETCH(bool, table);
    QFETCH(bool, asTheJobIsMade);
    QFETCH(int, answer);
    const int limit = 1500;
    ShortLimits limits(limit, 1000);
    OfficeFixture f;
    fill(40, 2);
    if (table) {
        test::click(inspectionPageShowingItsTable().ctl(QStringLiteral("Image7")));
        QVERIFY(fprintpreview().visible());
    } else {
        pictureWindow();
        setDialogs(nullptr);
    }
    f.msgs.clear();
    f.msgs.answer(answer);
    QElapsedTimer clock;
    qint64 boxAt = -1;
    f.msgs.onShow = [&](const ScriptedMessages::Box&) {
        boxAt = clock.elapsed();
        if (answer == IdRetry)
            service_.thaw();
    };
    if (asTheJobIsMade)
        printservice::setStageHookForTesting([&](printservice::Stage s) {
            if (s == printservice::Stage::JobMade)
                service_.freeze();
        });
    else if (table)
        service_.freeze();
    int dialogs = 0;
    qint64 still = 0;
    int ticks = 0;
    {
        LoopWatch watch;
        clock.start();
        if (table) {
            test::click(fprintpreview().ctl(QStringLiteral("Command3")));
        } else {
            DialogAnswer dialog([&](QPrintDialog*) { service_.freeze(); });
            test::click(fprintpp().ctl(QStringLiteral("Command1")));
            dialogs = dialog.dialogs;
        }
        still = watch.longestStill();
        ticks = watch.ticks;
    }
    const qint64 total = clock.elapsed();
    printservice::setStageHookForTesting({});
    f.msgs.onShow = {};
    const bool wasFrozen = service_.frozen() || answer == IdRetry;
    service_.thaw();
    qInfo("event loop still at most %lld ms (%d ticks); box after %lld ms; click over after %lld ms",
          still, ticks, boxAt, total);
    QVERIFY(wasFrozen);
    if (!table)
        QCOMPARE(dialogs, 1);
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().title, table ? QStringLiteral("Error PrintPreView") : QStringLiteral("Error FPrintPP"));
    QVERIFY(ticks > 0);
    QVERIFY2(still < 500, qPrintable(QString::number(still)));
    QVERIFY2(boxAt >= limit / 2 && boxAt < limit + 1500, qPrintable(QString::number(boxAt)));
    if (answer == IdRetry) {
        const QList<test::KeptJob> jobs = service_.jobs(1);
        QCOMPARE(jobs.size(), 1);
        QCOMPARE(printedRows(jobs[0]).size(), 41);
    }
    // What the service held of the print given up is withdrawn once it goes on.
    QTRY_COMPARE_WITH_TIMEOUT(printservice::jobsToWithdraw(), 0, 15000);
    QTest::qWait(1000);
    qInfo("after the service went on: %d printed, %d waiting in the queue", int(service_.jobs(0, 0).size()),
          service_.waitingJobs(kQueue));
    QCOMPARE(service_.jobs(0, 0).size(), answer == IdRetry ? 1 : 0);
    QCOMPARE(service_.waitingJobs(kQueue), 0);
}

// A service that answers late, but within the limit, prints as ever: once,
// with no box.
void TestPrintService::slowServicePrintsOnce()
{
    ShortLimits limits(8000, 3000);
    OfficeFixture f;
    fill(40, 2);
    test::click(inspectionPageShowingItsTable().ctl(QStringLiteral("Image7")));
    f.msgs.clear();
    service_.freeze();
    // Woken from a thread of its own, whatever the window does meanwhile.
    std::thread waking([&] {
        std::this_thread::sleep_for(std::chrono::seconds(2));
        service_.thaw();
    });
    QElapsedTimer clock;
    clock.start();
    test::click(fprintpreview().ctl(QStringLiteral("Command3")));
    qInfo("printed after %lld ms", clock.elapsed());
    waking.join();
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(service_.jobs(1).size(), 1);
    QTest::qWait(500);
    QCOMPARE(service_.jobs(0, 0).size(), 1);
    QCOMPARE(service_.waitingJobs(kQueue), 0);
}

// A service at an address that neither takes nor refuses a connection:
// the print dialog opens within the time it takes to decide that the
// service cannot be reached, on a file; OK prints the page there.
void TestPrintService::unreachableServiceOffersAFile()
{
    test::DroppingListener drop;
    QVERIFY(drop.start());
    const int reach = 1000;
    ShortLimits limits(3000, reach);
    const QByteArray saved = qgetenv("CUPS_SERVER");
    const int savedPort = ippPort();
    const auto restore = qScopeGuard([&] {
        qputenv("CUPS_SERVER", saved);
        cupsSetServer(saved.constData());
        ippSetPort(savedPort);
    });
    qputenv("CUPS_SERVER", drop.address().toLatin1());
    cupsSetServer(drop.address().toLatin1().constData());
    const QString documents = emptyDocuments();

    OutputFixture f;
    setDialogs(nullptr);
    QElapsedTimer clock;
    clock.start();
    SystemPrinter nowhere;
    const qint64 made = clock.elapsed();
    setPrinter(&nowhere);
    preparePicture(300, 200);
    fprintpp().show();
    qint64 dialogAt = -1;
    int dialogs = 0;
    QStringList boxes;
    {
        DialogAnswer answer([&](QPrintDialog*) { dialogAt = clock.elapsed(); });
        clock.restart();
        test::click(fprintpp().ctl(QStringLiteral("Command1")));
        dialogs = answer.dialogs;
        boxes = answer.boxes;
    }
    const qint64 total = clock.elapsed();
    setPrinter(&f.paper);
    qInfo("printer made in %lld ms; dialog after %lld ms; print over after %lld ms", made, dialogAt, total);
    QVERIFY2(made < reach + 1500, qPrintable(QString::number(made)));
    QCOMPARE(dialogs, 1);
    QCOMPARE(boxes, QStringList());
    QVERIFY2(dialogAt >= 0 && dialogAt < reach + 1500, qPrintable(QString::number(dialogAt)));
    QVERIFY2(total < reach + 3000, qPrintable(QString::number(total)));
    QCOMPARE(f.msgs.count(), 0);
    const QStringList files = QDir(documents).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    QCOMPARE(files.size(), 1);
}

void TestPrintService::colourAsTheQueueHasIt_data()
{
    QTest::addColumn<bool>("table");
    QTest::addColumn<bool>("grey");
    QTest::newRow("a page, its dialog left alone") << false << false;
    QTest::newRow("a page, grey chosen") << false << true;
    QTest::newRow("a table, with no dialog") << true << false;
}

// A colour queue prints in colour unless grey is chosen.
void TestPrintService::colourAsTheQueueHasIt()
{
    QFETCH(bool, table);
    QFETCH(bool, grey);
    const QString colour = QStringLiteral("colour");
    QVERIFY(service_.addQueue(colour, {}, true));
    const auto removed = qScopeGuard([&] { service_.run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), colour}); });
    OfficeFixture f;
    f.office.qprinter().setPrinterName(colour);
    setDialogs(nullptr);
    if (table) {
        fill(20, 2);
        test::click(inspectionPageShowingItsTable().ctl(QStringLiteral("Image7")));
        test::click(fprintpreview().ctl(QStringLiteral("Command3")));
    } else {
        DialogAnswer answer({});
        // The printer's own colour model, in its properties.
        if (grey)
            answer.throughProperties([](QWidget* properties) {
                for (auto* c : properties->findChildren<QComboBox*>())
                    if (c->findText(QStringLiteral("Grayscale")) >= 0)
                        c->setCurrentIndex(c->findText(QStringLiteral("Grayscale")));
            });
        test::click(pictureWindow().ctl(QStringLiteral("Command1")));
        QCOMPARE(answer.dialogs, 1);
    }
    QCOMPARE(f.msgs.count(), 0);
    const QList<test::KeptJob> jobs = service_.jobs(1);
    QCOMPARE(jobs.size(), 1);
    qInfo("%s", qPrintable(jobs[0].options));
    QCOMPARE(jobs[0].options.contains(QStringLiteral("print-color-mode=monochrome")), grey);
    QCOMPARE(jobs[0].options.contains(QStringLiteral("print-color-mode=color")), !grey);
}

// A printer removed after it was chosen: the document does not begin, so
// nothing is drawn and no job is sent.
void TestPrintService::printerGoneBeforeTheDocumentBegins()
{
    const QString brief = QStringLiteral("brief");
    QVERIFY(service_.addQueue(brief));
    OfficeFixture f;
    f.office.qprinter().setPrinterName(brief);
    QCOMPARE(f.office.qprinter().printerName(), brief);
    service_.run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), brief});
    int raised = 0;
    try {
        f.office.beginDoc(DocSettings{std::nullopt, QStringLiteral("Tavrelo - gone"), std::nullopt});
    } catch (const RuntimeError& e) {
        raised = e.number();
    }
    QCOMPARE(raised, 482);
    QVERIFY(!f.office.active());
    QCOMPARE(service_.jobs(0, 500).size(), 0);
}

// A document the service took is not kept: ending again sends nothing.
void TestPrintService::sentDocumentIsNotKept()
{
    OfficeFixture f;
    {
        PrintJob job(f.office, DocSettings{std::nullopt, QStringLiteral("Tavrelo - once"), std::nullopt});
        QVERIFY(job.ok());
        job.painter().drawText(QPointF(500, 500), QStringLiteral("once"));
        QVERIFY(job.end());
        QVERIFY(!f.office.pending());
        QVERIFY(!job.end());
    }
    QCOMPARE(service_.jobs(1).size(), 1);
    QCOMPARE(service_.jobs(2, 1500).size(), 1);
}

TAV_TEST_MAIN(TestPrintService)
#include "tst_printservice.moc"
