#pragma once
// What the relations of the graph windows 4, 5, 6 and 12 share: the point
// arrays a window keeps while it is loaded, the test that ends a sweep of x
// over a range, and the readings and texts their sentences use.

#include "common/yields.h"

#include <QString>
#include <vector>

namespace tav {

// The arrays of x and y values of a graph window (valoresx, valoresy), which
// the window keeps while it is loaded; a set is written from index 1 upward
// (index 0 is never written). A set overwrites only the entries it reaches:
// beyond them the arrays keep what an earlier set or computation wrote, and a
// comment that reads such an entry sees that.
struct PointArrays {
    static constexpr int kLast = 500; // the windows' arrays run 0..500
    std::vector<double>& x;
    std::vector<double>& y;

    // Writes point i; an index beyond the arrays raises "Subscript out of
    // range" and writes nothing.
    void store(int i, double vx, double vy) const;
    // Reads entry i of x or y, with the same bound.
    double xAt(int i) const;
    double yAt(int i) const;
};

// The loop test of a sweep whose bound and step were fixed when it started:
// upwards (a step of 0 included, which never leaves) while x is at most the
// end, downwards while x is at least it.
inline bool sweepGoesOn(double x, double end, double step) { return step >= 0.0 ? x <= end : x >= end; }

// Raises unless a sweep from `from` by `step` reaches `to`: a step that is
// not finite is an overflow; a step of zero, or one that leads away from
// `to`, an invalid procedure call (such a sweep would never end, or never
// start). A sweep that starts at its end takes any other finite step.
void checkSweep(double from, double to, double step);

// The whole text as a number in the user's locale; a text that is not one
// raises a type mismatch.
double localeNumber(const QString& text);

// A double taken in single precision; beyond the single range an overflow.
float csng(double v);

// A single-precision number as text: up to seven significant digits, no
// trailing zeros, the user's decimal point.
QString singleText(float v);

// formatNumber(v, "######"), the whole number nearest v with nothing for 0,
// without the formatter's decimal expansion where the answer is plain (v
// well inside the 32-bit range and not near a half); it is a table's most
// frequent cell.
QString wholeText(double v);

// The text of point i's x through a pattern, formatted once for all the
// sets of a computation: its sets sweep the same x values, and formatting
// is the larger part of filling a table.
class XTexts {
public:
    explicit XTexts(QString pattern) : pattern_(std::move(pattern)) {}
    QString operator()(int i, double x);

private:
    struct Entry {
        bool known = false;
        double x = 0.0;
        QString text;
    };
    QString pattern_;
    std::vector<Entry> texts_;
};

} // namespace tav
