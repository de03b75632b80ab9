#pragma once
// The window lifecycle.
//
// Every window is one Form subclass with a single instance in its global
// reference (formRef<T>()), created on first use. Loading builds the controls
// from their design values and runs the load procedure; unloading runs the
// unload procedure, destroys the controls and keeps the instance (and its
// member variables). Showing a window that is not loaded loads it; reaching a
// control of an unloaded window loads it hidden.
//
// The loaded window is a FormWidget (a QMainWindow named after the form);
// controls sit on its client area at their twip positions and carry their
// names as objectName, arrays as "Text1_0".
//
// A window unloaded while code is still running (a handler waiting in a
// message box or a yield, an event of one of its controls still being
// delivered) disappears at once and counts as unloaded, but its widgets stay
// until the outermost action has ended: nothing is destroyed under code that
// still runs on it. Until then its controls' notices reach no procedure.

#include "common/runtime.h"

#include <QMainWindow>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

namespace tav {

class Form;

class FormWidget : public QMainWindow {
    Q_OBJECT
public:
    explicit FormWidget(Form* form);
    ~FormWidget() override;
    Form* form() const { return form_; }
    // The client area, where controls are placed.
    QWidget* client() const { return client_; }
    void setClientSizeTwips(int width, int height);
    // The window its form has loaded now (not one closed and waiting to go).
    bool isCurrent() const;

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool event(QEvent* e) override;

private:
    QPointer<Form> form_;
    QWidget* client_;
};

class Form : public QObject {
    Q_OBJECT
public:
    explicit Form(const QString& name);
    ~Form() override;

    const QString& name() const { return name_; }
    bool isLoaded() const { return widget_ != nullptr; }
    // The loaded window; loads it, hidden, when it is not loaded.
    FormWidget* widget();
    FormWidget* widgetIfLoaded() const { return widget_; }

    void load();
    // Shows without blocking: loads when needed, else brings it to the front.
    void show();
    void hide();
    // Runs the unload procedure (which may cancel), destroys the controls and
    // keeps the instance. Destruction waits for the end of the outermost
    // action and then for the event loop, so a window may unload itself from
    // one of its own handlers. Unloading a window that is not loaded does
    // nothing.
    void unload();
    bool visible() const;

    int loadCount() const { return loads_; }
    int unloadCount() const { return unloads_; }

    // The window's outer size in twips (its Width and Height).
    int outerWidthTwips() const;
    int outerHeightTwips() const;

    // A control by name (loads the window, hidden, when it is not loaded).
    // A missing control raises a run-time error.
    template <class T = QWidget>
    T* ctl(const QString& name)
    {
        T* c = widget()->findChild<T*>(name);
        if (!c)
            throwMissing(name);
        return c;
    }
    template <class T = QWidget>
    T* ctl(const QString& name, int index)
    {
        return ctl<T>(name + QLatin1Char('_') + QString::number(index));
    }
    template <class T = QWidget>
    T* findCtl(const QString& name)
    {
        return isLoaded() ? widget_->findChild<T*>(name) : nullptr;
    }

    // Every window instance created so far.
    static QList<Form*> all();
    static Form* find(const QString& name);
    // The window most recently activated (the program's active form).
    static Form* activeForm();
    // encerra: every window disappears and every timer stops; no unload
    // procedure runs.
    static void shutdownAll();
    // Tests: destroy every window and instance without unload procedures.
    static void resetAll();
    static void registerReset(std::function<void()> reset);
    // Runs after a window's controls are built and before its load procedure
    // (the hover highlighting sets the design borders from it).
    static void setBuiltHook(std::function<void(Form&)> hook);

protected:
    // Creates the controls with their design values.
    virtual void build(FormWidget* w) = 0;
    virtual void formLoad() {}
    virtual void formUnload(bool& cancel) { Q_UNUSED(cancel); }
    virtual void formActivate() {}
    virtual void formResize() {}
    // Centred on the screen at every load (false: the form places itself).
    virtual bool centred() const { return true; }

private:
    friend class FormWidget;
    [[noreturn]] void throwMissing(const QString& name) const;
    void destroyWidget(bool deferred);
    void activated();
    static void releaseClosed();

    QString name_;
    FormWidget* widget_ = nullptr;
    bool building_ = false;
    int loads_ = 0;
    int unloads_ = 0;
};

// The global reference of a window class: created on first use.
template <class T>
T& formRef()
{
    static T* instance = nullptr;
    if (!instance) {
        instance = new T();
        Form::registerReset([] {
            delete instance;
            instance = nullptr;
        });
    }
    return *instance;
}

} // namespace tav
