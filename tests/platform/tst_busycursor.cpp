// The busy cursor of print jobs and file writes: shown once the work passes
// its threshold (set to 0 here, or far away, so that nothing depends on how
// fast the machine is), and the pointer given back on every way out: the
// work done, an error raised, a document dropped.

#include "common/runtime.h"
#include "common/safefile.h"
#include "output/canvas.h"
#include "output/saving.h"
#include "output/services.h"
#include "platform/busy.h"
#include "testmain.h"

#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace tav;

namespace {

// The cursor the program shows over every window, if any.
bool busy()
{
    const QCursor* c = QGuiApplication::overrideCursor();
    return c && c->shape() == Qt::WaitCursor;
}
bool overridden() { return QGuiApplication::overrideCursor() != nullptr; }

// Writes past the limit fail with EFBIG (RLIM_INFINITY: the hard limit).
void setFileSizeLimit(rlim_t bytes)
{
    rlimit l{};
    getrlimit(RLIMIT_FSIZE, &l);
    l.rlim_cur = bytes == RLIM_INFINITY ? l.rlim_max : bytes;
    setrlimit(RLIMIT_FSIZE, &l);
}

} // namespace

class TestBusyCursor : public QObject {
    Q_OBJECT

private slots:
    void init() { BusyCursor::setThresholdForTesting(0); }
    void cleanup()
    {
        BusyCursor::setThresholdForTesting(-1);
        setFileSizeLimit(RLIM_INFINITY);
        while (overridden())
            QGuiApplication::restoreOverrideCursor();
    }

    void shownPastTheThreshold()
    {
        {
            BusyCursor b;
            QVERIFY(!busy()); // not before the work has gone on
            b.progress();
            QVERIFY(busy());
            b.progress(); // once only
        }
        QVERIFY(!overridden());
    }

    void notShownBeforeTheThreshold()
    {
        BusyCursor::setThresholdForTesting(3600 * 1000);
        BusyCursor b;
        b.progress();
        QVERIFY(!busy());
        QCoreApplication::processEvents();
        QVERIFY(!busy());
    }

    void shownWhenTheEventLoopRuns()
    {
        {
            BusyCursor b;
            QTRY_VERIFY(busy());
        }
        QVERIFY(!overridden());
    }

    void restoredWhenAnErrorIsRaised()
    {
        try {
            BusyCursor b;
            b.progress();
            QVERIFY(busy());
            tav::raise(ErrInvalidProperty);
        } catch (const RuntimeError&) {
        }
        QVERIFY(!overridden());
    }

    void releasedOnceOnly()
    {
        BusyCursor b;
        b.progress();
        b.release();
        QVERIFY(!overridden());
        b.progress(); // the work is over: not shown again
        QVERIFY(!overridden());
    }

    void givesBackACursorSetBefore()
    {
        QGuiApplication::setOverrideCursor(QCursor(Qt::PointingHandCursor));
        {
            BusyCursor b;
            b.progress();
            QVERIFY(busy());
        }
        QVERIFY(overridden());
        QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    }

    void liftedWhileABoxIsUp()
    {
        BusyCursor outer;
        outer.progress();
        {
            const BusyCursor::Paused box;
            QVERIFY(!overridden());
            {
                const BusyCursor::Paused boxOnBox;
                QVERIFY(!overridden());
            }
            QVERIFY(!overridden());
            BusyCursor during; // work started from the box waits for it
            during.progress();
            QVERIFY(!overridden());
        }
        QVERIFY(busy());
        {
            const BusyCursor::Paused box;
            outer.release(); // the work ends while the box is up
        }
        QVERIFY(!overridden());
    }

    void textFileWritten()
    {
        QTemporaryDir dir;
        TextFile f;
        f.open(dir.filePath(QStringLiteral("page.txt")));
        f.write(QStringLiteral("line\r\n"));
        QVERIFY(busy());
        f.close();
        QVERIFY(!overridden());
    }

    void textFileFailing_data()
    {
        QTest::addColumn<bool>("badFolder");
        QTest::newRow("folder missing at open") << true;
        QTest::newRow("disk full at write") << false;
    }
    void textFileFailing()
    {
        QFETCH(bool, badFolder);
        QTemporaryDir dir;
        bool raised = false;
        try {
            TextFile f;
            if (badFolder) {
                f.open(dir.filePath(QStringLiteral("no/such/folder/page.txt")));
            } else {
                // The kernel refuses every byte, as a full disk would.
                std::signal(SIGXFSZ, SIG_IGN);
                setFileSizeLimit(0);
                f.open(dir.filePath(QStringLiteral("page.txt")));
                f.write(QStringLiteral("line\r\n"));
            }
            f.close();
        } catch (const RuntimeError&) {
            raised = true;
        }
        QVERIFY(raised);
        QVERIFY(!overridden());
    }

    void pictureSaved_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("written") << "picture.bmp";
        QTest::newRow("folder missing") << "no/such/folder/picture.bmp";
    }
    void pictureSaved()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        QImage img(20, 10, QImage::Format_RGB32);
        img.fill(Qt::red);
        try {
            savePicture(img, dir.filePath(name));
        } catch (const RuntimeError&) {
        }
        QVERIFY(!overridden());
    }

    void printJob_data()
    {
        QTest::addColumn<bool>("ended");
        QTest::newRow("sent") << true;
        QTest::newRow("dropped") << false;
    }
    void printJob()
    {
        QFETCH(bool, ended);
        ImagePrinter paper;
        {
            PrintJob job(paper);
            QVERIFY(job.ok());
            job.painter().drawLine(0, 0, 10, 10);
            QVERIFY(busy());
            QVERIFY(job.newPage());
            if (ended) {
                QVERIFY(job.end());
                QVERIFY(!overridden()); // at once, not when the job goes
            }
        }
        QVERIFY(!overridden());
        QCOMPARE(paper.documents.size(), ended ? 1 : 0);
    }
};

TAV_TEST_MAIN(TestBusyCursor)
#include "tst_busycursor.moc"
