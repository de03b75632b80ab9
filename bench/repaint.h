#pragma once
// What the user waits for ends with the repaint an action causes. These
// helpers run the event loop until it is through and tell whether the
// window in question was painted in it.

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace bench {

// Watches, application-wide, for a paint of any widget of the top-level
// window with the given name; the window may not exist yet when watching
// starts (a switch creates it).
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QString window = {}) : window_(std::move(window)) { qApp->installEventFilter(this); }
    ~PaintWatch() override { qApp->removeEventFilter(this); }
    void expect(const QString& window)
    {
        window_ = window;
        painted_ = false;
    }
    bool painted() const { return painted_; }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (!painted_ && e->type() == QEvent::Paint && o->isWidgetType()) {
            const QWidget* top = static_cast<QWidget*>(o)->window();
            painted_ = top && top->objectName() == window_;
        }
        return false;
    }

private:
    QString window_;
    bool painted_ = false;
};

// The rounds of the event loop that follow a click: the window left is
// deleted, the one shown is exposed, laid out and painted, and the updates
// that the layout posts are painted too.
inline void untilRepainted()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

} // namespace bench
