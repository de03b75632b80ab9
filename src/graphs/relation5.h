#pragma once
// How many inspections go without failure (an establishment) for each
// failure when every consignment of N units is sampled with s units and a
// pest that passes reaches a host with probability p1 and finds favourable
// conditions with probability p2:
//     Y(s) = 1 / (1 − s/N)^(1 / (p1·p2)),
// and the inverse, the sample size for one failure in I inspections, rounded
// half up: nref = Int((1 − (1/I)^(p1·p2))·N + 0.5). Graphic 5 draws Y on a
// logarithmic axis around nref.

#include "graphs/pointsweep.h"

#include <QStringList>
#include <cstdint>

namespace tav {

double inspectionsWithoutFailure(double s, double N, double p1, double p2);
// alpha is 1/I, the failures per inspection asked for.
double referenceSample(double alpha, double p1, double p2, double N);

// The sample sizes swept: from a tenth to 1.1 times nref, each plus a half
// and not rounded, kept within 1 and N − 1.
struct Graph5Range {
    double lo = 0.0;
    double hi = 0.0;
    double step = 0.0;
};
Graph5Range graph5Range(double nref, int32_t N, int npontos);

// The curve: s from lo by repeated addition of the step while not past hi;
// an s exactly equal to nref is left out. `kept` counts the points written
// so far (also when one fails) and ymax is the largest Y written, starting
// at −10000.
void graph5Set(const PointArrays& pts, int& kept, double& ymax, const Graph5Range& r, double nref, double N, double p1,
               double p2);

// The marker set: level at I while the curve is below it, 1 (the bottom of
// the axis) from the first sample size whose curve reaches it.
inline double graph5Marker(double y, int32_t IL) { return y >= IL ? 1.0 : double(IL); }

QString graph5Title(double I, double nref);
// iText is the inspections box as typed: a number is grouped, any other
// text stands as it is.
QString graph5Comment(double p1, double p2, int32_t N, double nref, const QString& iText);

// The warning of leaving parameter box `index` (0 consignment size,
// 1 inspections without failure, 2 P1, 3 P2) with that text; empty when it
// passes.
QString graph5Warning(int index, const QString& text);

} // namespace tav
