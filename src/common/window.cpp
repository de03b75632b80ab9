#include "common/window.h"

#include "common/errors.h"
#include "common/program.h"
#include "common/twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

namespace tav {

namespace {
QList<Form*>& registry()
{
    static QList<Form*> forms;
    return forms;
}
QList<std::function<void()>>& resetters()
{
    static QList<std::function<void()>> r;
    return r;
}
QPointer<Form> g_active;
std::function<void(Form&)> g_builtHook;

// The windows unloaded during the action in progress.
QList<QPointer<FormWidget>>& closed()
{
    static QList<QPointer<FormWidget>> c;
    return c;
}
} // namespace

FormWidget::FormWidget(Form* form)
    : QMainWindow(nullptr), form_(form), client_(new QWidget(this))
{
    setObjectName(form->name());
    client_->setObjectName(form->name() + QStringLiteral("_client"));
    client_->setAutoFillBackground(true);
    client_->setMouseTracking(true);
    setCentralWidget(client_);
}

FormWidget::~FormWidget()
{
    // Controls torn down with the window raise no notice: once this body has
    // run, the window no longer knows itself as a FormWidget to stop them.
    for (QObject* c : findChildren<QObject*>())
        c->blockSignals(true);
}

bool FormWidget::isCurrent() const { return form_ && form_->widget_ == this; }

void FormWidget::setClientSizeTwips(int width, int height)
{
    const int menuHeight = menuWidget() ? menuBar()->sizeHint().height() : 0;
    resize(twips(width), twips(height) + menuHeight);
}

void FormWidget::closeEvent(QCloseEvent* e)
{
    // The close box unloads the form; the unload procedure may cancel it.
    e->ignore();
    if (isCurrent() && !programEnded())
        runHandler([&] { form_->unload(); });
}

void FormWidget::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    if (isCurrent() && !form_->building_ && !programEnded())
        runHandler([&] { form_->formResize(); });
}

bool FormWidget::event(QEvent* e)
{
    // The window's own events (close box, resize, activation) reach its
    // procedures here rather than through a signal: each is one action.
    const ActionScope action;
    if (e->type() == QEvent::WindowActivate && isCurrent() && !programEnded())
        runHandler([&] { form_->activated(); });
    return QMainWindow::event(e);
}

Form::Form(const QString& name) : name_(name)
{
    registry().append(this);
    setActionsEndedHook(&Form::releaseClosed);
}

Form::~Form()
{
    registry().removeAll(this);
    if (ultimoform() == this)
        setUltimoform(nullptr);
    if (widget_)
        destroyWidget(false);
}

FormWidget* Form::widget()
{
    if (!widget_)
        load();
    if (!widget_)
        throwMissing(QString());
    return widget_;
}

void Form::load()
{
    if (widget_ || programEnded())
        return;
    widget_ = new FormWidget(this);
    building_ = true;
    build(widget_);
    building_ = false;
    ++loads_;
    if (centred()) {
        if (QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect avail = screen->availableGeometry();
            QRect g = widget_->frameGeometry();
            g.moveCenter(avail.center());
            widget_->move(g.topLeft());
        }
    }
    if (g_builtHook)
        g_builtHook(*this);
    formLoad();
}

void Form::show()
{
    if (programEnded())
        return;
    load();
    if (!widget_)
        return;
    widget_->show();
    widget_->raise();
    widget_->activateWindow();
}

void Form::hide()
{
    if (widget_)
        widget_->hide();
}

void Form::unload()
{
    if (!widget_ || programEnded())
        return;
    bool cancel = false;
    formUnload(cancel);
    if (cancel || !widget_ || programEnded())
        return;
    destroyWidget(true);
    ++unloads_;
}

void Form::destroyWidget(bool deferred)
{
    FormWidget* w = widget_;
    widget_ = nullptr;
    if (g_active == this)
        g_active = nullptr;
    for (QTimer* t : w->findChildren<QTimer*>())
        t->stop();
    w->hide();
    if (deferred) {
        // Released when the outermost action ends: an event of one of its
        // controls may still be on its way up the stack (a key press whose
        // change notice opened a box, in whose loop the window was closed).
        closed().append(w);
        if (!actionRunning())
            releaseClosed();
    } else {
        delete w;
    }
}

void Form::releaseClosed()
{
    if (closed().isEmpty())
        return;
    const auto ws = closed();
    closed().clear();
    // Posted from the delivery that is ending, so they run once that
    // delivery has returned to the loop.
    for (FormWidget* w : ws)
        if (w)
            w->deleteLater();
}

bool Form::visible() const { return widget_ && widget_->isVisible(); }

int Form::outerWidthTwips() const
{
    return widget_ ? pixelsToTwips(widget_->frameGeometry().width()) : 0;
}

int Form::outerHeightTwips() const
{
    return widget_ ? pixelsToTwips(widget_->frameGeometry().height()) : 0;
}

void Form::throwMissing(const QString& name) const
{
    throw RuntimeError(ErrObjectRequired,
                       QStringLiteral("Object required: %1.%2").arg(name_, name));
}

void Form::activated()
{
    // Only a change of the program's active form counts: closing a message
    // box re-activates the window under it without a new activation.
    if (g_active == this)
        return;
    g_active = this;
    formActivate();
}

QList<Form*> Form::all() { return registry(); }

Form* Form::find(const QString& name)
{
    for (Form* f : registry())
        if (f->name() == name)
            return f;
    return nullptr;
}

Form* Form::activeForm() { return g_active; }

void Form::shutdownAll()
{
    for (Form* f : registry()) {
        if (!f->widget_)
            continue;
        for (QTimer* t : f->widget_->findChildren<QTimer*>())
            t->stop();
        f->widget_->hide();
    }
}

void Form::resetAll()
{
    const auto ws = closed();
    closed().clear();
    for (FormWidget* w : ws)
        delete w;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    for (Form* f : registry())
        if (f->widget_)
            f->destroyWidget(false);
    const auto rs = resetters();
    resetters().clear();
    for (const auto& r : rs)
        r();
    g_active = nullptr;
    QApplication::processEvents();
}

void Form::setBuiltHook(std::function<void(Form&)> hook) { g_builtHook = std::move(hook); }

void Form::registerReset(std::function<void()> reset) { resetters().append(std::move(reset)); }

} // namespace tav
