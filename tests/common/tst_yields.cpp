// The pace of a computation's yields and the yield itself.
#include "common/yields.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>

using namespace tav;

class TestYields : public QObject {
    Q_OBJECT
private slots:
    void pace_data()
    {
        QTest::addColumn<int>("everyNth");
        QTest::addColumn<qint64>("intervalNs");
        QTest::addColumn<QString>("due"); // one letter per point: y yields, . does not
        QTest::newRow("every point") << 1 << qint64(0) << "yyyyyyy";
        QTest::newRow("every third point") << 3 << qint64(0) << "..y..y.";
        QTest::newRow("by count, the clock not read") << 2 << qint64(1) << ".y.y.y.";
        QTest::newRow("clock, no interval") << 0 << qint64(0) << "yyyyyyy";
        QTest::newRow("clock, an interval not reached") << 0 << qint64(3600'000'000'000) << ".......";
    }
    void pace()
    {
        QFETCH(int, everyNth);
        QFETCH(qint64, intervalNs);
        QFETCH(QString, due);
        YieldPace p;
        p.everyNth = everyNth;
        p.intervalNs = intervalNs;
        const ScopedYieldPace scope(p);
        YieldPacer pacer;
        QString got;
        for (int i = 0; i < due.size(); ++i)
            got += pacer.due() ? QLatin1Char('y') : QLatin1Char('.');
        QCOMPARE(got, due);
    }

    // The program paces by the clock; a test's pace ends with its scope.
    void programPaceRestored()
    {
        QCOMPARE(yieldPace().everyNth, 0);
        QCOMPARE(yieldPace().intervalNs, qint64(1000000));
        {
            const ScopedYieldPace scope(YieldPace::atEvery(4));
            QCOMPARE(yieldPace().everyNth, 4);
        }
        QCOMPARE(yieldPace().everyNth, 0);
    }

    // A yield runs what is waiting and is counted.
    void yieldRunsEventsAndCounts()
    {
        int ran = 0;
        QTimer::singleShot(0, this, [&] { ++ran; });
        const quint64 before = yieldsMade();
        yieldToEventLoop();
        QCOMPARE(ran, 1);
        QCOMPARE(yieldsMade() - before, quint64(1));
    }
};

QTEST_GUILESS_MAIN(TestYields)
#include "tst_yields.moc"
