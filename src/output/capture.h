#pragma once
// Pictures of windows as a user takes them: a window's outer image on the
// clipboard (Copy), and a page printed as it looks on the screen,
// on a white background and without its top band.

#include <QImage>

class QWidget;

namespace tav {

class Form;

// The band of a captured window that a page print leaves out: title bar,
// menu bar and toolbar, in twips. Fixed, whatever the title bar's height.
constexpr int kCutBandTwips = 1260;

// A window's outer image: its frame area (drawn as a plain title bar where
// the window system reports one) with the window's content in it.
QImage windowImage(QWidget* window);

// The system's "copy the active window" key: the active window's image on
// the clipboard; events run while the window system takes it.
void captureActiveWindow(QWidget* active);

// Prints `frm` (the window whose Print was used) through the print set-up
// window: the capture goes to the temporary picture file. Errors go to
// "Error printing form".
void imprimeform(Form& frm);
// Edit > Copy of `frm`: its window image on the clipboard, whichever window
// is active; errors ignored.
void copiajanela(Form& frm);

} // namespace tav
