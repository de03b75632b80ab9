#pragma once
// The two ways a procedure handles run-time errors, over numbered steps.
//
//  - IgnoreErrors: a failing step is skipped and the procedure goes on.
//  - TrapErrors: a failing step calls mostraerro with the procedure's advice
//    and title; Retry runs the step again, Ignore goes on with the next step,
//    Abort (or any other answer) leaves the procedure: every later step()
//    returns false without running.
//
// A step is any callable. A failure inside a procedure it calls that does not
// handle the error itself propagates as RuntimeError and counts against the
// calling step; so does one in a handler that a control's notice ran on the
// program's behalf (see throughQt). After encerra no step runs.
//
//   TrapErrors t(u"Try again"_s, u"Error Index"_s);
//   t.step([&] { ... }) && t.step([&] { ... });
//
// One user action (an event handler's run, with the procedures it calls and
// the yields inside it) answers each failing step at most once:
//  - after Ignore, the same step failing again in that action goes on
//    without a box; "the same step" is the same statement (its call site) of
//    a procedure with the same title and advice, or a failure that would show
//    the very box the user just ignored;
//  - after Abort, no trapped step runs for the rest of the action, in this
//    procedure or any other the handler still calls.
// The application opens an action for every event it delivers and the
// handler boundary for every signal (platform/actions.h); a TrapErrors opens
// one too, so a procedure run on its own is one action.

#include "common/runtime.h"

#include <QString>
#include <functional>
#include <source_location>

namespace tav {

// The error being handled (what the error box describes).
const RuntimeError& currentError();
void setCurrentError(const RuntimeError& e);

// The shared error box: description, a lone CR, the advice; style 18.
int mostraerro(const QString& texto, const QString& titulo);

// One user action. Scopes nest; the outermost one owns the action's answers,
// which are forgotten when it closes.
class ActionScope {
public:
    ActionScope();
    ~ActionScope();
    ActionScope(const ActionScope&) = delete;
    ActionScope& operator=(const ActionScope&) = delete;
};
// The same, for a hook that opens and closes the scope in two calls.
void enterAction();
void leaveAction();
// Runs each time the outermost action has ended (the window lifecycle then
// lets the windows closed during it go).
void setActionsEndedHook(void (*hook)());

// Where Qt calls program code: a slot, or an event handler of ours. f runs as
// (part of) one action, and no error leaves it into Qt's frames: a caller
// that raised the signal through throughQt gets it back once Qt's call has
// returned; an error with no caller to go back to ends the handler only.
void runHandler(const std::function<void()>& f);
// Runs a Qt call that may run handlers (a control's notice of a change the
// program made, a programmatic click): the first error a handler let
// through is raised here after the call, as if the handler had been called
// directly. Once one is kept, the other handlers of the call do not run.
void throughQt(const std::function<void()>& call);
// One event delivered by the application: one action, or part of the one
// in progress when delivered inside it (a yield, a box's loop). Errors of
// the handlers it runs do not go to a caller further up, whose statement
// did not raise them.
class EventDelivery {
public:
    EventDelivery();
    ~EventDelivery();
    EventDelivery(const EventDelivery&) = delete;
    EventDelivery& operator=(const EventDelivery&) = delete;

private:
    ActionScope action_;
};

// The current action was ended through Abort.
bool actionAborted();
// An action is in progress (some handler or procedure is still running).
bool actionRunning();

// A command run inside another that goes on after it whatever it answers
// (a save composes its picture through the print command, then writes what
// the canvas holds): an Abort in it ends it alone.
class NestedCommand {
public:
    NestedCommand();
    ~NestedCommand();
    NestedCommand(const NestedCommand&) = delete;
    NestedCommand& operator=(const NestedCommand&) = delete;

private:
    bool outerAborted_;
};

class ErrorHandler {
public:
    virtual ~ErrorHandler() = default;
    // Runs one step; false when the procedure must be left.
    bool step(const std::function<void()>& f, std::source_location where = std::source_location::current())
    {
        return run(f, where, 0);
    }
    // Runs the steps in order; false when one of them ended the procedure.
    bool steps(std::initializer_list<std::function<void()>> fs,
               std::source_location where = std::source_location::current());

protected:
    // `where` and `index` (within a steps() list) name the statement.
    virtual bool run(const std::function<void()>& f, const std::source_location& where, int index) = 0;
};

class IgnoreErrors : public ErrorHandler {
protected:
    bool run(const std::function<void()>& f, const std::source_location& where, int index) override;
};

class TrapErrors : public ErrorHandler {
public:
    TrapErrors(QString advice, QString title) : advice_(std::move(advice)), title_(std::move(title)) {}
    // Left through Abort, here or elsewhere in the same action.
    bool aborted() const { return aborted_ || actionAborted(); }

protected:
    bool run(const std::function<void()>& f, const std::source_location& where, int index) override;

private:
    ActionScope action_;
    QString advice_;
    QString title_;
    bool aborted_ = false;
};

// Runs f ignoring every failure (a one-statement IgnoreErrors).
inline void ignoring(const std::function<void()>& f) { IgnoreErrors().step(f); }

} // namespace tav
