#pragma once
// Marks drawn once and then stamped: stroking thousands of tiny circles one
// by one takes far longer than a frame, so each kind of mark (colour, size,
// pen, where it sits within a pixel) is rendered into a small premultiplied
// image the first time it is asked for and copied from then on.
//
// The last few sprites asked for are kept, a fixed number whatever the
// drawings made, so that redraws with the same geometry reuse them.
//
// Sizes, radii, pen widths and positions are logical pixels; each sprite and
// grid is drawn at a device pixel ratio (kept apart per ratio), and a target
// image's own ratio says where its logical pixels fall.

#include <QColor>
#include <QImage>
#include <QLine>
#include <QList>
#include <QPointF>

namespace tav::sprites {

// An antialiased outline circle of `radius` pixels drawn with a pen `width`
// pixels wide at `ratio`, centred at (side / 2 + dx, side / 2 + dy) device
// pixels of a square image of side ceil(2 (radius + width) ratio) + 2
// device pixels; dx and dy are within a device pixel.
QImage ring(const QColor& color, double radius, int width, double dx = 0, double dy = 0, qreal ratio = 1);

// A point as QPainter sets it with a pen `width` pixels wide and without
// smoothing, at (side / 2, side / 2) device pixels of a square image of side
// 2 width ratio + 2 device pixels.
QImage point(const QColor& color, int width, qreal ratio = 1);

// Lays `sprite` over `target` with its top-left corner at `at` (the target's
// logical pixels), rounded to the device pixel and clipped to the target:
// the same pixels as QPainter::drawImage(at, sprite) on a painter without
// transform or clip, for premultiplied images of the target's ratio (others
// go through a painter).
void stamp(QImage& target, const QImage& sprite, QPointF at);

// An antialiased ring stamped with its centre at `centre` (the target's
// logical pixels), at the target's ratio: the sprite drawn a quarter of a
// device pixel or less from where the centre falls.
void stampRing(QImage& target, QPointF centre, const QColor& color, double radius, int width);

// Lines one pixel wide and without smoothing on a clear image of `size` at
// `ratio`: a consignment's grid, drawn once for its geometry; the last few
// are kept. Each line lies on whole device pixels and every line has the
// same width in device pixels, whatever the ratio.
QImage lines(QSize size, const QColor& color, const QList<QLine>& lines, qreal ratio = 1);

// A grid's lines from 0 to `height` at each of `verticals` and from 0 to
// `width` at each of `horizontals`, through `at`, which rounds a point of
// the drawing's scale to a whole pixel.
template <class T, class At>
QList<QLine> gridLines(const QList<T>& verticals, double height, const QList<T>& horizontals, double width, At at)
{
    QList<QLine> out;
    out.reserve(verticals.size() + horizontals.size());
    for (T x : verticals)
        out.append(QLine(at(x, 0), at(x, height)));
    for (T y : horizontals)
        out.append(QLine(at(0, y), at(width, y)));
    return out;
}
// Lines as the painter strokes them between points in fractions of a pixel,
// `width` pixels wide and without smoothing; at a ratio other than 1, each
// level or upright line lies on whole device pixels, all of one width.
QImage lines(QSize size, const QColor& color, int width, const QList<QLineF>& lines, qreal ratio = 1);

// Sprites kept now (for tests of the bound).
int kept();

} // namespace tav::sprites
