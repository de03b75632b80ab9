#pragma once
// The sample size each consignment needs for a given confidence of avoiding
// the establishment of a pest: a pest that ingresses reaches the host with
// probability p1 and finds favourable conditions with probability p2, so a
// consignment of N units sampled with confidence CL needs
//     n = N·(1 − (1 − CL)^(p1·p2)).
// Graphic 4 draws n against CL for one typed size or for five fixed ones.

#include "graphs/pointsweep.h"

#include <QStringList>
#include <QVariant>
#include <array>
#include <cstdint>

namespace tav {

double sampleToAvoidEstablishment(double N, double cl, double p1, double p2);

// The consignment sizes of the five curves drawn when no size is typed.
inline constexpr std::array<int32_t, 5> kGraph4Sizes = {100, 500, 1000, 2000, 5000};
// Their palette colours; the comment calls the last one the red line.
inline constexpr std::array<int, 5> kGraph4Colors = {14, 9, 2, 13, 12};

// The step of the sweep and its end, X max plus two steps, fixed once for
// all the sets of a computation. A point count of 0 is a division by zero.
struct Graph4Range {
    double step = 0.0;
    double loopEnd = 0.0;
};
Graph4Range graph4Range(double xMin, double xMax, int npontos);

// An end of 1 or more becomes 0.9999, so that 1 − x never reaches 0.
double graph4CappedEnd(double loopEnd);

// One curve: x from xMin by repeated addition of the step while it is at
// most the capped end, n for each x into pts from index 1. `computed` counts
// the points written so far, also when a point fails (the 501st raises
// "Subscript out of range", a negative 1 − x with a fractional exponent
// "Invalid procedure call").
void graph4Set(const PointArrays& pts, int& computed, double N, double xMin, double loopEnd, double step, double p1,
               double p2);

// The points shown of a set: all computed but the last, or all of them when
// the typed X max lies beyond the last x computed.
int graph4Shown(const PointArrays& pts, int computed, double typedXMax);

QString graph4Legend(int32_t N);
QString graph4Title(double p1, double p2);

// The point the comment reads: v − v/3 rounded down, v the point count the
// computation used (50 gives 33), and never past the last point shown.
int16_t graph4CommentPoint(int points, int shown);

// The comment on the one typed consignment size, reading the curve at x, y.
// P1 and P2 are the boxes' texts, which must be numbers in the locale; a
// percentage that is not finite is an overflow.
QString graph4CommentOne(const QString& p1Text, const QString& p2Text, const QString& sizeText, double x,
                         double y);
// The comment on the five curves, reading the print table's cell of the
// last curve at the comment's point.
QString graph4CommentFive(const QString& p1Text, const QString& p2Text, double x, const QVariant& cell);

// The warnings of leaving a scale box (0 X min, 1 X max, 2 Y min, 3 Y max)
// or a parameter box (0 P1, 1 P2, 2 consignment size), in order.
QStringList graph4ScaleWarnings(int index, const std::array<QString, 4>& text1);
QStringList graph4SpecWarnings(int index, const std::array<QString, 3>& text2);

} // namespace tav
