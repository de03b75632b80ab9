#pragma once
// Every handler the program has runs as a slot of some signal: a click, a
// menu item, a typed text, a pick, a slider move, a timer tick. The platform
// makes each signal emission one user action (see common/errors.h), so that
// a handler's trapped procedures answer every failing step at most once.
// Emissions nest: the signals a handler raises itself, and those delivered
// while it yields, belong to the handler's action.

namespace tav {

// Opens an ActionScope around every signal emission on the GUI thread (the
// thread that calls this).
void installActionScopes();

} // namespace tav
