#include "common/yields.h"

#include <QCoreApplication>

namespace tav {

namespace {
YieldPace g_pace;
quint64 g_yields = 0;
} // namespace

YieldPace yieldPace() { return g_pace; }
void setYieldPace(const YieldPace& pace) { g_pace = pace; }

bool YieldPacer::due()
{
    if (g_pace.everyNth > 0) {
        if (++points_ < g_pace.everyNth)
            return false;
        points_ = 0;
        return true;
    }
    if (last_.nsecsElapsed() < g_pace.intervalNs)
        return false;
    last_.restart();
    return true;
}

void yieldToEventLoop()
{
    ++g_yields;
    QCoreApplication::processEvents();
}

quint64 yieldsMade() { return g_yields; }

} // namespace tav
