#pragma once
// The years between two introductions (establishments) of a pest that passes
// inspection at the required detection level x, for a country that imports
// M consignments of N units a year, p1 being the chance that a pest reaches
// a host and p2 that it finds favourable conditions:
//     Y(x) = 1 / (p1·p2·N·M·x),
// the product taken from left to right. Graphic 6 draws Y against x.

#include "graphs/pointsweep.h"

#include <QStringList>
#include <array>
#include <cstdint>

namespace tav {

double yearsBetweenIntroductions(double p1, double p2, double N, double M, double x);

// The curve: x from xMin by repeated addition of the step while not past
// xMax, Y for each into pts from index 1. `computed` counts the points
// written so far (also when one fails); ymin and ymax, starting at 10^7 and
// −1, follow the values written.
void graph6Set(const PointArrays& pts, int& computed, double& ymin, double& ymax, double xMin, double xMax, double step,
               double p1, double p2, double N, double M);

// How a point is written: the RDL in the table, the years in the table, the
// RDL under the chart.
QString graph6RdlText(double x);
QString graph6YearsText(double y);
QString graph6Label(double x);

// The point the comment reads: v − v/2 rounded down, v the point count the
// computation used (50 gives 25), and never past the last point computed.
int16_t graph6CommentPoint(int points, int computed);
// The comment on the point x, y; importsText is the imports box as typed.
// A y of 0 (a point never computed) is a division by zero; a percentage
// that is not finite an overflow.
QString graph6Comment(double p1, double p2, double N, const QString& importsText, double x, double y);

// The warning of leaving a scale box (0 X min, 1 X max) or a parameter
// box (0 consignment size, 1 imports, 2 P1, 3 P2); empty when it passes.
QString graph6ScaleWarning(int index, const std::array<QString, 2>& text1);
QString graph6SpecWarning(int index, const QString& text);

} // namespace tav
