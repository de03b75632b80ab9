#pragma once
// The relations of the three sampling graphs, over plain values.
//
// All arithmetic is checked: a failing formula raises RuntimeError where the
// window's error box must appear. The sweeps write the points into the
// window's arrays from index 1 (at() raises past their last index) and keep
// in `i` the index of the next point, so a computation stopped by an error
// still knows how far it came.

#include "common/tabelaimp.h"

#include <QString>
#include <cstdint>
#include <vector>

namespace tav {

// The sample that detects an infestation of proportion rdl in a lot of
// `size` units with probability 1 - q: size * (1 - q^(1 / (size * rdl))).
double requiredSample(double size, double q, double rdl);

// Sample size against RDL: x runs from xmin by repeated addition of step
// (never recomputed from a count) while x <= end (x >= end for a negative
// step); y = requiredSample(n, q, x).
void sweepRdl(double n, double q, double xmin, double end, double step, std::vector<double>& vx,
              std::vector<double>& vy, int& i);

// What the second curve of the consignment-size graphs samples.
enum class Sampling { Reference, Percent, Constant };

// Sample size against consignment size: x runs over whole sizes, xmin, end
// and step each rounded half to even once; x = 0 gives (0, 0); elsewhere the
// required sample is computed for every curve and y is it (Reference),
// value * x / 100 (Percent) or value (Constant). The loop also ends once
// (end - xmin) / step, in doubles, falls below the next index.
void sweepConsignments(Sampling kind, double value, double q, double rdl, double xmin, double end, double step,
                       std::vector<double>& vx, std::vector<double>& vy, int& i);

// A print-table cell read back as a number (a text by numberOrLeading).
double cellNumber(const QVariant& cell);

// The comment under the percent-sampling chart, from the print table as the
// computation left it: `sets` 2 compares the user's percentage (column 2),
// otherwise the 3% curve (column 4) with the reference (column 1) over rows
// 1..points. rdl, cl and percent are the boxes' texts, combo the point
// count's text.
QString percentComment(const TabelaImp& t, int sets, int points, const QString& rdl, const QString& cl,
                       const QString& percent, const QString& combo);

// The comment under the constant-size chart: with 2 sets the user's size
// (the number `size` reads as, rounded half to even), otherwise 200.
QString constantComment(const TabelaImp& t, int sets, int points, const QString& rdl, const QString& cl,
                        const QString& size, const QString& combo);

} // namespace tav
