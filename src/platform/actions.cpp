#include "platform/actions.h"

#include "common/errors.h"

#include <QObject>

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

// The action record is per thread, so a signal on a worker thread never
// touches the GUI thread's action.
void signalBegins(QObject*, int, void**) { enterAction(); }
void signalEnds(QObject*, int) { leaveAction(); }

QSignalSpyCallbackSet g_callbacks{signalBegins, nullptr, signalEnds, nullptr};

} // namespace

void installActionScopes() { qt_register_signal_spy_callbacks(&g_callbacks); }

} // namespace tav
