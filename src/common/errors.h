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
// calling step. After encerra no step runs.
//
//   TrapErrors t(u"Try again"_s, u"Error Index"_s);
//   t.step([&] { ... }) && t.step([&] { ... });

#include "common/runtime.h"

#include <QString>
#include <functional>

namespace tav {

// The error being handled (what the error box describes).
const RuntimeError& currentError();
void setCurrentError(const RuntimeError& e);

// The shared error box: description, a lone CR, the advice; style 18.
int mostraerro(const QString& texto, const QString& titulo);

class ErrorHandler {
public:
    virtual ~ErrorHandler() = default;
    // Runs one step; false when the procedure must be left.
    virtual bool step(const std::function<void()>& f) = 0;
    // Runs the steps in order; false when one of them ended the procedure.
    bool steps(std::initializer_list<std::function<void()>> fs);
};

class IgnoreErrors : public ErrorHandler {
public:
    bool step(const std::function<void()>& f) override;
};

class TrapErrors : public ErrorHandler {
public:
    TrapErrors(QString advice, QString title) : advice_(std::move(advice)), title_(std::move(title)) {}
    bool step(const std::function<void()>& f) override;
    bool aborted() const { return aborted_; }

private:
    QString advice_;
    QString title_;
    bool aborted_ = false;
};

// Runs f ignoring every failure (a one-statement IgnoreErrors).
inline void ignoring(const std::function<void()>& f) { IgnoreErrors().step(f); }

} // namespace tav
