#pragma once
// Pictures of windows as a user takes them: a window's outer image on the
// clipboard (Copy), and a page printed as it looks on the screen, on a
// white background and without what lies above the page (title band, menu
// bar and toolbar).

#include <QImage>
#include <optional>

class QFont;
class QWidget;

namespace tav {

class Form;

// The toolbar band Frame4 covers the first 690 twips of a page's client
// area: the page print's picture starts at this line of the client area.
constexpr int kToolbarBandTwips = 690;

// The frame's top as the window system reports it for a window, logical
// pixels; 0 where it reports no frame.
int frameTop(const QWidget* window);
// Stands in for the window system's report of every window's frame top
// (logical pixels), as a window system with a title bar of that height
// would give it; std::nullopt gives back the window system's own report.
// For tests: the platforms they run on report only their own frame.
void setReportedFrameTop(std::optional<int> top);

// The height of the title band a window image draws, logical pixels: the
// frame's top, or what the icon and the caption (in `caption`) take where
// that is less; none for a frame top of 0. A window system may give its
// title bar the same device pixels at every ratio, too few at 1.5 and 2 for
// a caption drawn at the ratio.
int titleBand(int frameTop, const QFont& caption);
// The same for a window, its frame top and the caption font windowImage
// draws with.
int titleBand(const QWidget* window);

// The rows the page print cuts off the top of a window image, device pixels
// at the image's `ratio`: what lies above the page, that is the title band
// as windowImage draws it (`band` logical pixels, on whole device pixels),
// the window's rows above its client area (the menu bar, `menuBar` logical
// pixels) and the toolbar band, the first kToolbarBandTwips of the client
// area. The print picture thus starts at the client area's 690-twip line,
// whatever the frame, the menu font or the ratio. A band of fixed height
// fits only one title bar and menu bar: with no frame, another title bar or
// a larger menu font it would take off the top of the page's heading or
// leave a strip of the toolbar above it.
int pageCut(int band, int menuBar, qreal ratio);

// A window's outer image: its frame area (a plain title bar of the window's
// icon and caption where the window system reports a frame) with the
// window's content in it. The width is the frame's; the height, the frame's
// with the title band in place of the frame's top. The window's own pixels
// start on the device row and column that the band and the frame's left
// side round to.
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
