#pragma once
// The yields of long computations to the event loop, in one place.
//
// The simulation engine yields once per consignment; the graph computations
// may yield once per plotted point, paced. The program paces them by the
// clock: a point yields when a millisecond has passed since the last yield,
// which keeps the window repainting and answering while thousands of points
// cost no more than their drawing. Tests that act while a computation runs
// pace by count instead, so that the yields fall at points they can name
// whatever the machine's speed, and read the yields made to see that they did.

#include <QElapsedTimer>
#include <QtGlobal>

namespace tav {

struct YieldPace {
    // 0: by the clock; n > 0: at every n-th paced point.
    int everyNth = 0;
    qint64 intervalNs = 1000000; // the clock's pace

    static YieldPace byClock() { return {}; }
    static YieldPace atEvery(int n) { return {qMax(1, n)}; }
};

YieldPace yieldPace();
void setYieldPace(const YieldPace& pace);

// Sets a pace while in scope (tests), then restores the one before.
class ScopedYieldPace {
public:
    explicit ScopedYieldPace(const YieldPace& pace) : before_(yieldPace()) { setYieldPace(pace); }
    ~ScopedYieldPace() { setYieldPace(before_); }
    ScopedYieldPace(const ScopedYieldPace&) = delete;
    ScopedYieldPace& operator=(const ScopedYieldPace&) = delete;

private:
    YieldPace before_;
};

// The pacing of one computation's points.
class YieldPacer {
public:
    YieldPacer() { last_.start(); }
    // True when this point is to yield.
    bool due();

private:
    QElapsedTimer last_;
    int points_ = 0;
};

// Lets the event loop run once: clicks, repaints and timers due run inside.
void yieldToEventLoop();
// The yields made so far, paced or not.
quint64 yieldsMade();

} // namespace tav
