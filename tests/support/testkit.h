#pragma once
// Shared test fixture: scripted message boxes, a recorded exit, a fresh
// program state per test, and helpers that act as a user would.

#include "common/messages.h"
#include "common/program.h"
#include "common/window.h"

#include <QAction>
#include <QColor>
#include <QImage>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTest>

class QLineEdit;
class QTimer;

namespace tav {
class PictureBox;
}

namespace tav::test {

// The windows' interval timers (the one-second timers of the continuous
// runs) fire only when a test ticks them: what a test sees then does not
// depend on how long its steps take on a busy machine.
class TimerGate : public QObject {
public:
    TimerGate();
    ~TimerGate() override;
    // The windows' interval timers that are running, of the windows on screen.
    static QList<QTimer*> running();
    // One tick of a running timer, delivered as its own would be.
    void tick(QTimer* t);

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    // The tick being delivered: it alone passes, and every gate, should
    // fixtures nest; a real tick that falls due inside it is still held.
    static const QEvent* passing_;
};

class ProgramFixture {
public:
    ProgramFixture();
    ~ProgramFixture();
    ScriptedMessages msgs;
    int exits = 0;
    TimerGate timers;
};

// Lets the event loop run what is posted, a few passes, and the deferred
// deletes: the checks of a box left and what they post in turn. A count of
// passes, not a time, so a busy machine sees the same.
void settle();

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

// What a picture box shows under its drawing: back colour and picture.
QImage pictureBackground(const PictureBox* box);
// What a picture box shows, in device pixels at the ratio of its drawing:
// back colour, picture and, unless told, the drawing.
QImage shownAtDevice(const PictureBox* box, bool withDrawing = true);
// The lines of `color` that cross `drawn` through (near) its middle, one
// position per pixel apart from the background; a pixel of any other
// colour (a smoothed edge) ends the list as {-1 - position}.
QList<int> linesAcross(const QImage& drawn, const QImage& back, const QColor& color, bool vertical);

} // namespace tav::test
