#include "platform/actions.h"

#include "common/errors.h"

#include <QObject>
#include <thread>
#include <vector>

// Qt's hook around signal emission (QtCore exports it for its signal
// dumper); its layout has been the same throughout Qt 6. It is the one place
// every handler passes through, whatever control or timer raised it.
struct QSignalSpyCallbackSet {
    typedef void (*BeginCallback)(QObject* caller, int signal_or_method_index, void** argv);
    typedef void (*EndCallback)(QObject* caller, int signal_or_method_index);
    BeginCallback signal_begin_callback, slot_begin_callback;
    EndCallback signal_end_callback, slot_end_callback;
};
void qt_register_signal_spy_callbacks(QSignalSpyCallbackSet* callback_set);

namespace tav {

namespace {

// Handlers run on the GUI thread; signals of worker threads are no action.
std::thread::id g_guiThread;

// The emissions open on the GUI thread, innermost last. Never destroyed:
// objects torn down at exit may still raise signals.
struct Emission {
    const QObject* sender;
    int signal;
};
std::vector<Emission>& g_open = *new std::vector<Emission>;

void signalBegins(QObject* sender, int signal, void**)
{
    if (std::this_thread::get_id() != g_guiThread)
        return;
    g_open.push_back({sender, signal});
    enterAction();
}

// An error thrown through an emission skips its end: the end of the
// emission around it closes it as well.
void signalEnds(QObject* sender, int signal)
{
    if (std::this_thread::get_id() != g_guiThread)
        return;
    for (auto i = g_open.size(); i-- > 0;) {
        if (g_open[i].sender != sender || g_open[i].signal != signal)
            continue;
        while (g_open.size() > i) {
            g_open.pop_back();
            leaveAction();
        }
        return;
    }
}

QSignalSpyCallbackSet g_callbacks{signalBegins, nullptr, signalEnds, nullptr};

} // namespace

void installActionScopes()
{
    g_guiThread = std::this_thread::get_id();
    qt_register_signal_spy_callbacks(&g_callbacks);
}

} // namespace tav
