#pragma once
// Moving between windows: the toolbar's Back, Next, Index and Exit buttons,
// File > Close and File > Exit, the Index menu's topic items and "Last Form"
// of every toolbar window, driven by one table of targets per window.
//
// A command is a short list of steps (show a window, unload this window,
// unload another window, end the program, run another command of this
// window, ask the closing question). Every step ignores run-time errors on
// its own, so a target that cannot be shown still leaves the window unloaded.

#include <QList>
#include <QString>

namespace tav {

class Form;
class FormWidget;

enum class NavCommand { Index, Back, Next, Exit, FileClose, FileExit };

struct NavStep {
    enum Kind {
        Show,        // show `window` without blocking
        ShowLast,    // show the window held in ultimoform, if any
        UnloadSelf,  // unload the window the command was given in
        Unload,      // unload `window` (nothing when it is not loaded)
        End,         // encerra
        RunIndex,    // this window's Index procedure
        RunExit,     // this window's Exit procedure
        EndQuestion, // "That is all ! ..." with Yes and No
    };
    Kind kind;
    QString window;
};
using NavSteps = QList<NavStep>;


// The steps of a command on a toolbar window (empty for other windows).
NavSteps navSteps(const QString& window, NavCommand command);
// Runs steps on behalf of `self`, each one ignoring run-time errors.
void runSteps(Form& self, const NavSteps& steps);

void navigate(Form& self, NavCommand command);
// Index-menu item k (1..13) of a topic page or the results window.
void topicItem(Form& self, int topic);
// "Last Form" of a topic page or the results window.
void lastForm(Form& self);

// Connects the toolbar buttons and the File and Index menu items of a
// toolbar window to the commands above.
void wireNavigation(Form& self, FormWidget* w);

} // namespace tav
