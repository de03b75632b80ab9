#include "platform/actions.h"

#include "common/window.h"

namespace tav {

Application::Application(int& argc, char** argv) : QApplication(argc, argv), gui_(std::this_thread::get_id()) {}

bool Application::notify(QObject* receiver, QEvent* event)
{
    // Events of worker threads are no user action.
    if (std::this_thread::get_id() != gui_)
        return QApplication::notify(receiver, event);
    const EventDelivery delivery;
    return QApplication::notify(receiver, event);
}

bool reachesProgram(const QObject* sender)
{
    for (const QObject* o = sender; o; o = o->parent())
        if (auto* w = qobject_cast<const FormWidget*>(o))
            return w->isCurrent();
    return true;
}

} // namespace tav
