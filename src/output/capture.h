#pragma once
// Pictures of windows as a user takes them: a window's outer image on the
// clipboard (Copy), and a page printed as it looks on the screen,
// on a white background and without its top band.

#include <QImage>

class QWidget;

namespace tav {

class Form;

// The band of a captured window that a page print leaves out: title bar,
// menu bar and toolbar, in twips. Fixed, whatever the title bar's height:
// counted from the top of the window's frame, so that a title band drawn
// taller than the frame's (titleBand) is left out with it.
constexpr int kCutBandTwips = 1260;

// The height of the title band a window image draws, logical pixels: the
// frame's top, or what the icon and the caption take where that is less;
// none where the window system reports no frame. A window system may give
// its title bar the same device pixels at every ratio, too few at 1.5 and 2
// for a caption drawn at the ratio.
int titleBand(const QWidget* window);

// A window's outer image: its frame area (a plain title bar of the window's
// icon and caption where the window system reports a frame) with the
// window's content in it. The width is the frame's; the height, the frame's
// with the title band in place of the frame's top.
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
