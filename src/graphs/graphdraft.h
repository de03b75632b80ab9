#pragma once
// What a graph computation writes before it shows anything: the table and
// the print table are gathered apart and the charts' data is kept aside, so
// that a computation is shown whole when it ends and not at all when it is
// aborted or its window goes away.

#include "common/tabelaimp.h"

#include <QList>
#include <QString>
#include <memory>
#include <vector>

namespace tav {

class Chart;
class Grid;

// The cells a computation writes into Grid1, with the grid's own members
// and failures (Rows below FixedRows "Invalid property value", a cell out of
// range "Subscript out of range"). It starts from the grid's layout with no
// text: a row the computation does not write is empty when shown.
class TableDraft {
public:
    explicit TableDraft(const Grid& layout);

    int rows() const { return rows_; }
    void setRows(int n);
    int cols() const { return cols_; }
    void setCols(int n);
    void setRow(int r);
    void setCol(int c);
    QString text() const;
    void setText(const QString& t);
    int colAlignment(int c) const;
    void setColAlignment(int c, int value);

    // Shows the draft in the grid at once.
    void commitTo(Grid& g) const;

private:
    void checkCol(int c) const;
    void resize(int rows, int cols);

    int rows_, cols_, fixedRows_, fixedCols_;
    int row_ = 0, col_ = 0;
    std::vector<QString> cells_; // row by row
    std::vector<int> alignments_;
};

// Row, Col and Text of the draft, in that order; the text the cell took.
QString putCell(TableDraft& t, int row, int col, const QString& text);

// A chart's data as it was drawn, to put back when a computation that has
// written into the chart does not end.
class ChartSnapshot {
public:
    explicit ChartSnapshot(const Chart& c);
    void restore(Chart& c) const;

private:
    int type_, sets_, points_, thisSet_, thisPoint_, tickEvery_;
    double yMin_, yMax_, labelEvery_;
    std::vector<std::vector<double>> values_;
    std::vector<QString> labels_;
    QString legends_[5];
    int colors_[5];
    QString title_, left_, bottom_;
};

// One computation's drafts: the table, the print table (empty at the start:
// it holds this computation only) and the charts' data as drawn before.
struct GraphDraft {
    GraphDraft(const Grid& grid, const QList<Chart*>& charts);
    TableDraft table;
    std::unique_ptr<TabelaImp> print;
    QList<Chart*> charts;
    std::vector<ChartSnapshot> before;
};

} // namespace tav
