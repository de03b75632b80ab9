#include "common/errors.h"

#include "common/messages.h"
#include "common/program.h"

#include <QScopeGuard>
#include <QSet>
#include <exception>
#include <vector>

namespace tav {

namespace {
RuntimeError g_current(0, QStringLiteral(""));

// The action in progress. Handlers run on the GUI thread only. Never
// destroyed: objects torn down at exit may still raise signals.
struct Action {
    int depth = 0;
    bool aborted = false;
    // The steps and the boxes the user answered Ignore for.
    QSet<QString> ignored;
};
Action& g_action = *new Action;

void (*g_actionsEnded)() = nullptr;

// The callers of throughQt waiting for their Qt call, innermost last; a null
// entry stands for an event delivery inside it.
struct Caller {
    std::exception_ptr error;
};
std::vector<Caller*>& g_callers = *new std::vector<Caller*>;

QString siteKey(const QString& title, const QString& advice, const std::source_location& where, int index)
{
    return QStringLiteral("site\x1f%1\x1f%2\x1f%3:%4:%5#%6")
        .arg(title, advice, QString::fromUtf8(where.file_name()))
        .arg(where.line())
        .arg(where.column())
        .arg(index);
}

QString boxKey(const QString& title, const QString& advice, const RuntimeError& e)
{
    return QStringLiteral("box\x1f%1\x1f%2\x1f%3\x1f%4").arg(title, advice, QString::number(e.number()), e.description());
}
} // namespace

const RuntimeError& currentError() { return g_current; }
void setCurrentError(const RuntimeError& e) { g_current = e; }

int mostraerro(const QString& texto, const QString& titulo)
{
    const QString text = currentError().description() + QChar(13) + texto;
    return msgbox(text, MbCritical + MbAbortRetryIgnore, titulo);
}

void enterAction() { ++g_action.depth; }

void leaveAction()
{
    if (g_action.depth > 0 && --g_action.depth == 0) {
        g_action.aborted = false;
        g_action.ignored.clear();
        if (g_actionsEnded)
            g_actionsEnded();
    }
}

void setActionsEndedHook(void (*hook)()) { g_actionsEnded = hook; }

void runHandler(const std::function<void()>& f)
{
    const ActionScope action;
    Caller* caller = g_callers.empty() ? nullptr : g_callers.back();
    // The statement that raised the signal has already failed.
    if (caller && caller->error)
        return;
    try {
        f();
    } catch (const RuntimeError& e) {
        setCurrentError(e);
        if (caller)
            caller->error = std::current_exception();
    } catch (const std::exception&) {
        if (caller)
            caller->error = std::current_exception();
    }
}

void throughQt(const std::function<void()>& call)
{
    Caller caller;
    g_callers.push_back(&caller);
    const auto pop = qScopeGuard([] { g_callers.pop_back(); });
    call();
    if (caller.error)
        std::rethrow_exception(caller.error);
}

EventDelivery::EventDelivery() { g_callers.push_back(nullptr); }
EventDelivery::~EventDelivery() { g_callers.pop_back(); }

ActionScope::ActionScope() { enterAction(); }
ActionScope::~ActionScope() { leaveAction(); }

bool actionAborted() { return g_action.aborted; }
bool actionRunning() { return g_action.depth > 0; }

NestedCommand::NestedCommand()
{
    enterAction();
    outerAborted_ = g_action.aborted;
    g_action.aborted = false;
}

NestedCommand::~NestedCommand()
{
    g_action.aborted = outerAborted_;
    leaveAction();
}

bool ErrorHandler::steps(std::initializer_list<std::function<void()>> fs, std::source_location where)
{
    int index = 0;
    for (const auto& f : fs)
        if (!run(f, where, ++index))
            return false;
    return true;
}

bool IgnoreErrors::run(const std::function<void()>& f, const std::source_location&, int)
{
    if (programEnded())
        return false;
    try {
        f();
    } catch (const RuntimeError& e) {
        setCurrentError(e);
    }
    return !programEnded();
}

bool TrapErrors::run(const std::function<void()>& f, const std::source_location& where, int index)
{
    for (;;) {
        if (g_action.aborted)
            aborted_ = true;
        if (aborted_ || programEnded())
            return false;
        try {
            f();
            return !programEnded();
        } catch (const RuntimeError& e) {
            setCurrentError(e);
            const QString site = siteKey(title_, advice_, where, index);
            const QString box = boxKey(title_, advice_, e);
            if (g_action.ignored.contains(site) || g_action.ignored.contains(box))
                return !programEnded();
            const int answer = mostraerro(advice_, title_);
            if (answer == IdRetry)
                continue;
            if (answer == IdIgnore) {
                g_action.ignored.insert(site);
                g_action.ignored.insert(box);
                return !programEnded();
            }
            aborted_ = true;
            g_action.aborted = true;
            return false;
        }
    }
}

} // namespace tav
