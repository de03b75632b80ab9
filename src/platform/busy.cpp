#include "platform/busy.h"

#include <QCursor>
#include <QGuiApplication>
#include <QTimer>

namespace tav {

namespace {
constexpr int kThresholdMs = 100;
int g_threshold = kThresholdMs;
int g_shown = 0;  // busy cursors on the override stack
int g_paused = 0; // message boxes up
} // namespace

BusyCursor::BusyCursor()
{
    clock_.start();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    timer_ = std::make_unique<QTimer>();
    timer_->setSingleShot(true);
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { show(); });
    timer_->start(g_threshold);
}

BusyCursor::~BusyCursor() { release(); }

void BusyCursor::progress()
{
    if (!shown_ && !released_ && clock_.elapsed() >= g_threshold)
        show();
}

void BusyCursor::show()
{
    if (shown_ || released_ || !timer_ || g_paused > 0)
        return;
    shown_ = true;
    ++g_shown;
    timer_->stop();
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void BusyCursor::release()
{
    if (released_)
        return;
    released_ = true;
    if (timer_)
        timer_->stop();
    if (shown_) {
        --g_shown;
        if (g_paused == 0) // else a message box has lifted it already
            QGuiApplication::restoreOverrideCursor();
    }
}

BusyCursor::Paused::Paused()
{
    // Only the outermost box lifts them.
    if (g_paused++ == 0)
        for (int i = 0; i < g_shown; ++i)
            QGuiApplication::restoreOverrideCursor();
}

BusyCursor::Paused::~Paused()
{
    // Back for the work still going on.
    if (--g_paused == 0)
        for (int i = 0; i < g_shown; ++i)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

void BusyCursor::setThresholdForTesting(int ms) { g_threshold = ms < 0 ? kThresholdMs : ms; }

} // namespace tav
