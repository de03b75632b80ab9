#pragma once
// The program's own pictures, drawn with QPainter: window icon, cursor,
// toolbar faces, word buttons and the two emblems.

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <functional>

class QEvent;
class QPainter;
class QWidget;

namespace tav::pictures {

// Every surface the program draws into carries the device pixel ratio of the
// screen its window is on: it is sized in device pixels and its ratio set, so
// that the drawing code keeps working in logical pixels while the result is
// as sharp as the text beside it.
//
// The ratio of the screen `w`'s window is on (the application's for none).
qreal ratioOf(const QWidget* w);
// The application's ratio: that of the screen a new window opens on.
qreal screenRatio();
// `size` logical pixels at `ratio`, in whole device pixels: the size a
// surface is given.
QSize deviceSize(QSize size, qreal ratio);
// A picture of `size` logical pixels at `ratio`, filled.
QPixmap surface(QSize size, qreal ratio, const QColor& fill);
// A clear premultiplied layer of `size` logical pixels at `ratio`.
QImage layer(QSize size, qreal ratio);

// A line one logical pixel wide around the inside of `r` (logical, in the
// painter's coordinates), laid on whole device pixels: drawn one pixel
// inside the box at a fractional ratio, a side would fall between device
// pixels and vanish.
void drawFrame(QPainter& p, const QRect& r, const QColor& color);
// Whether `e` tells a widget that its window went to a screen with another
// ratio (or may have: a screen change).
bool isRatioChange(const QEvent* e);
// A line's width in whole device pixels at `ratio`: one logical pixel,
// rounded, and never none.
int deviceLineWidth(qreal ratio);

// Every picture here (and the lesson figures) is drawn once per ratio and
// kept across loads: none changes between loads, and the keys come from the
// design (a picture and its size) and the few ratios of the screens, so the
// store is bounded by the design and does not grow with visits.
QPixmap kept(const QString& key, qreal ratio, const std::function<QPixmap(qreal)>& draw);
// The same picture drawn at `ratio` when it came from kept(); any other
// picture as it is.
QPixmap atRatio(const QPixmap& picture, qreal ratio);
// Tests: with true, every picture (and every kept lesson text) is drawn
// anew and nothing is kept, to compare the kept pictures with fresh ones.
void setDrawAnew(bool on);
bool drawingAnew();

// Sizes are logical pixels; each is drawn at the screen's ratio unless told.
QPixmap beetle(qreal ratio = screenRatio());   // 32x32 window icon: red and blue beetle on yellow
QPixmap hand(qreal ratio = screenRatio());     // 32x32 pointing hand with blue cuff (hot spot 12, 1)
QPixmap exitFace(qreal ratio = screenRatio()); // 32x32 green sad face
QPixmap chart(bool greyed, qreal ratio = screenRatio()); // 32x32 bar chart
QPixmap document(bool greyed, qreal ratio = screenRatio());
QPixmap indexArrow(qreal ratio = screenRatio()); // bar with a left-pointing triangle
QPixmap backArrow(qreal ratio = screenRatio());
QPixmap nextArrow(qreal ratio = screenRatio());
QPixmap printer(qreal ratio = screenRatio());
QPixmap floppy(qreal ratio = screenRatio());
QPixmap emblemRound(qreal ratio = screenRatio()); // 60x60
QPixmap emblemWide(qreal ratio = screenRatio());  // 99x54
// A word in black on an olive-yellow gradient (72x24 unless told).
QPixmap word(const QString& text, int width = 72, int height = 24, qreal ratio = screenRatio());

} // namespace tav::pictures

namespace tav {
QIcon windowIcon();
// The hand at `ratio`; a control carrying it gets it again when its window
// moves to a screen with another ratio (setMousePointer).
QCursor handCursor(qreal ratio = pictures::screenRatio());
} // namespace tav
