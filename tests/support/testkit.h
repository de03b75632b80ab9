#pragma once
// Shared test fixture: scripted message boxes, a recorded exit, a fresh
// program state per test, and helpers that act as a user would.

#include "common/messages.h"
#include "common/program.h"
#include "common/window.h"

#include <QAction>
#include <QStringList>
#include <QTest>

class QLineEdit;

namespace tav::test {

class ProgramFixture {
public:
    ProgramFixture();
    ~ProgramFixture();
    ScriptedMessages msgs;
    int exits = 0;
};

// Left click in the middle of a control.
void click(QWidget* w);
// Selects a menu item (as its click procedure runs).
void trigger(QAction* a);
// Replaces the text of a box as typing would.
void type(QLineEdit* box, const QString& text);

// A text with numbers written the English way ("1,000.5") as the current
// locale shows it: a "." before a digit becomes the decimal point and a ","
// between digits the group separator; other points and commas stay.
QString shown(const QString& english);
QStringList shown(const QStringList& english);
// The QString of the current data row's `column`, shown as above.
QString shownData(const char* column);

} // namespace tav::test
