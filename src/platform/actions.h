#pragma once
// Every handler the program has runs as a slot of some signal (a click, a
// menu item, a typed text, a pick, a slider move, a timer tick) or as an
// event handler of ours. Each event the application delivers is one user
// action (see common/errors.h), so that a handler's trapped procedures
// answer every failing step at most once. Deliveries nest: the events
// handled while a handler yields or shows a box, and the signals it raises
// itself, belong to the handler's action.
//
// Every connection from a Qt signal to program code goes through onSignal:
// the handler runs as an action, its errors never cross Qt's frames, and a
// control of a window that was closed reaches no procedure any more.

#include "common/errors.h"

#include <QApplication>
#include <QObject>
#include <thread>
#include <type_traits>
#include <utility>

namespace tav {

// The application: counts event deliveries on the GUI thread (the thread
// that creates it) as actions. The program and every test run under it.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    std::thread::id gui_;
};

// Whether a notice of `sender` may still reach the program: false once the
// window it sits on was unloaded (a window waiting to be destroyed).
bool reachesProgram(const QObject* sender);

// Connects `signal` of `sender` to the handler f (a callable taking the
// signal's arguments or none) through the boundary described above.
template <class Sender, class Signal, class F>
QMetaObject::Connection onSignal(Sender* sender, Signal signal, const QObject* context, F f)
{
    return QObject::connect(sender, signal, context, [sender, f = std::move(f)](const auto&... args) {
        if (!reachesProgram(sender))
            return;
        runHandler([&] {
            if constexpr (std::is_invocable_v<const F&, decltype(args)...>)
                f(args...);
            else
                f();
        });
    });
}

} // namespace tav
