#include "platform/actions.h"

#include "common/errors.h"

#include <QObject>
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

// The emissions open on this thread, innermost last. The action record is
// per thread too, so a signal on a worker thread never touches the GUI
// thread's action.
struct Emission {
    const QObject* sender;
    int signal;
};
thread_local std::vector<Emission> t_open;

void signalBegins(QObject* sender, int signal, void**)
{
    t_open.push_back({sender, signal});
    enterAction();
}

// An error thrown through an emission skips its end: the end of the
// emission around it closes it as well.
void signalEnds(QObject* sender, int signal)
{
    for (auto i = t_open.size(); i-- > 0;) {
        if (t_open[i].sender != sender || t_open[i].signal != signal)
            continue;
        while (t_open.size() > i) {
            t_open.pop_back();
            leaveAction();
        }
        return;
    }
}

QSignalSpyCallbackSet g_callbacks{signalBegins, nullptr, signalEnds, nullptr};

} // namespace

void installActionScopes() { qt_register_signal_spy_callbacks(&g_callbacks); }

} // namespace tav
