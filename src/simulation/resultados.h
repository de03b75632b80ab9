#pragma once
// The simulation results table and the variabilities of the draws, shared by
// every window that simulates.

#include <QString>
#include <QVariant>
#include <array>

namespace tav {

// One row per simulated consignment, columns 0..6 by rows 0..510. Row 0 holds
// the column headers that the table fill writes; column 0 is never used. A
// cell holds a number, a text or nothing (before it is first written); an
// index out of range raises "Subscript out of range".
class Resultados {
public:
    static constexpr int kCols = 7;
    static constexpr int kRows = 511;

    const QVariant& cell(int col, int row) const;
    void setCell(int col, int row, const QVariant& value);
    // The cell as a grid shows it: a number as its plain decimal text, a
    // text as it stands, nothing as an empty text.
    QString text(int col, int row) const;
    void clear();

private:
    std::array<std::array<QVariant, kRows>, kCols> cells_;
};

Resultados& resultados();

// The plain text of a cell value (see Resultados::text).
QString cellText(const QVariant& value);

// The relative half-widths of the uniform draws of prevalence, p1 and p2, as
// fractions (the percentage chosen divided by 100); 0 at program start.
struct Variabilidades {
    double varprev = 0.0;
    double varp1 = 0.0;
    double varp2 = 0.0;
};

Variabilidades& variabilidades();

// Back to the program's start: an empty table, variabilities 0 (tests).
void resetSimulationState();

} // namespace tav
