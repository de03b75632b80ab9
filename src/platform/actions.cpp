#include "platform/actions.h"

#include "common/window.h"

#include <malloc.h>

namespace tav {

namespace {

// Every window shown anew gets a new backing store, and a picture drawn anew
// a new image: megabytes at 2x. When the heap gave such memory back to the
// kernel at once, every page of the next one faulted on its first touch,
// which made a window switch at 2x cost four times its drawing. Keeping a
// margin at the heap's top lets the next window reuse pages already mapped.
void keepPictureMemoryMapped()
{
    mallopt(M_TOP_PAD, 64 * 1024 * 1024);
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv), gui_(std::this_thread::get_id())
{
    keepPictureMemoryMapped();
}

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
