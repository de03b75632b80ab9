#pragma once
// The clock, behind an interface so tests can fix it.

#include <QDateTime>

namespace tav {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since midnight, with fractions.
    virtual double timer() const;
    virtual QDateTime now() const { return QDateTime::currentDateTime(); }
};

Clock& clock();
void setClock(Clock* c); // not owned; nullptr restores the system clock

} // namespace tav
