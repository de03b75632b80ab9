#include "common/clock.h"

namespace tav {

double Clock::timer() const
{
    const QTime t = now().time();
    return t.msecsSinceStartOfDay() / 1000.0;
}

namespace {
Clock* g_clock = nullptr;
}

Clock& clock()
{
    static Clock system;
    return g_clock ? *g_clock : system;
}

void setClock(Clock* c) { g_clock = c; }

} // namespace tav
