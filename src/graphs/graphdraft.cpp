#include "graphs/graphdraft.h"

#include "common/runtime.h"
#include "platform/chart.h"
#include "platform/grid.h"

namespace tav {

namespace {
// As Grid: enough for every table, too few for a mistyped count to exhaust
// memory.
constexpr qint64 kMaxCells = 4'000'000;
} // namespace

TableDraft::TableDraft(const Grid& g)
    : rows_(g.rows()), cols_(g.cols()), fixedRows_(g.fixedRows()), fixedCols_(g.fixedCols()),
      cells_(size_t(rows_) * size_t(cols_))
{
    for (int c = 0; c < cols_; ++c)
        alignments_.push_back(g.colAlignment(c));
}

void TableDraft::resize(int rows, int cols)
{
    std::vector<QString> cells(size_t(rows) * size_t(cols));
    for (int r = 0; r < qMin(rows, rows_); ++r)
        for (int c = 0; c < qMin(cols, cols_); ++c)
            cells[size_t(r) * size_t(cols) + size_t(c)] = std::move(cells_[size_t(r) * size_t(cols_) + size_t(c)]);
    cells_ = std::move(cells);
    rows_ = rows;
    cols_ = cols;
}

void TableDraft::setRows(int n)
{
    if (n < fixedRows_ || qint64(n) * cols_ > kMaxCells)
        raise(ErrInvalidProperty);
    resize(n, cols_);
    row_ = qMax(0, qMin(row_, n - 1));
}

void TableDraft::setCols(int n)
{
    if (n < fixedCols_ || qint64(n) * rows_ > kMaxCells)
        raise(ErrInvalidProperty);
    resize(rows_, n);
    alignments_.resize(size_t(n), 0);
    col_ = qMax(0, qMin(col_, n - 1));
}

void TableDraft::setRow(int r)
{
    if (r < 0 || r >= rows_)
        raise(ErrSubscript);
    row_ = r;
}

void TableDraft::checkCol(int c) const
{
    if (c < 0 || c >= cols_)
        raise(ErrSubscript);
}

void TableDraft::setCol(int c)
{
    checkCol(c);
    col_ = c;
}

QString TableDraft::text() const
{
    if (row_ >= rows_ || col_ >= cols_)
        return QString();
    return cells_[size_t(row_) * size_t(cols_) + size_t(col_)];
}

void TableDraft::setText(const QString& t)
{
    if (row_ >= rows_ || col_ >= cols_)
        raise(ErrSubscript);
    cells_[size_t(row_) * size_t(cols_) + size_t(col_)] = t;
}

int TableDraft::colAlignment(int c) const
{
    checkCol(c);
    return alignments_[size_t(c)];
}

void TableDraft::setColAlignment(int c, int value)
{
    checkCol(c);
    if (value < 0 || value > 2)
        raise(ErrInvalidProperty);
    alignments_[size_t(c)] = value;
}

void TableDraft::commitTo(Grid& g) const
{
    g.setCells(rows_, cols_, cells_);
    for (int c = 0; c < cols_; ++c)
        g.setColAlignment(c, alignments_[size_t(c)]);
    g.setRow(row_);
    g.setCol(col_);
}

QString putCell(TableDraft& t, int row, int col, const QString& text)
{
    t.setRow(row);
    t.setCol(col);
    t.setText(text);
    return t.text();
}

ChartSnapshot::ChartSnapshot(const Chart& chart)
{
    // Reading a point moves the current set and point: a copy is read.
    Chart& c = const_cast<Chart&>(chart);
    type_ = c.graphType();
    yMin_ = c.yAxisMin();
    yMax_ = c.yAxisMax();
    sets_ = c.numSets();
    points_ = c.numPoints();
    thisSet_ = c.thisSet();
    thisPoint_ = c.thisPoint();
    labelEvery_ = c.labelEvery();
    tickEvery_ = c.tickEvery();
    title_ = c.graphTitle();
    left_ = c.leftTitle();
    bottom_ = c.bottomTitle();
    values_.assign(size_t(Chart::kMaxSets), std::vector<double>(size_t(points_)));
    for (int s = 1; s <= Chart::kMaxSets; ++s) {
        // Sets beyond NumSets keep data too; they are reached by widening.
        if (s > sets_)
            c.setNumSets(s);
        c.setThisSet(s);
        legends_[s - 1] = c.legendText();
        colors_[s - 1] = c.colorData();
        for (int p = 1; p <= points_; ++p) {
            c.setThisPoint(p);
            values_[size_t(s - 1)][size_t(p - 1)] = c.graphData();
            if (s == 1)
                labels_.push_back(c.labelText());
        }
    }
    c.setNumSets(sets_);
    c.setThisSet(thisSet_);
    c.setThisPoint(thisPoint_);
}

void ChartSnapshot::restore(Chart& c) const
{
    c.setDataReset(9);
    c.setGraphType(type_);
    c.setYAxisMin(yMin_);
    c.setYAxisMax(yMax_);
    c.setNumPoints(points_);
    c.setNumSets(Chart::kMaxSets);
    for (int s = 1; s <= Chart::kMaxSets; ++s) {
        c.setThisSet(s);
        c.setLegendText(legends_[s - 1]);
        c.setColorData(colors_[s - 1]);
        for (int p = 1; p <= points_; ++p) {
            c.setThisPoint(p);
            c.setGraphData(values_[size_t(s - 1)][size_t(p - 1)]);
            if (s == 1)
                c.setLabelText(labels_[size_t(p - 1)]);
        }
    }
    c.setNumSets(sets_);
    c.setLabelEvery(labelEvery_);
    c.setTickEvery(tickEvery_);
    c.setGraphTitle(title_);
    c.setLeftTitle(left_);
    c.setBottomTitle(bottom_);
    c.setThisSet(thisSet_);
    c.setThisPoint(thisPoint_);
}

GraphDraft::GraphDraft(const Grid& grid, const QList<Chart*>& cs)
    : table(grid), print(std::make_unique<TabelaImp>()), charts(cs)
{
    for (Chart* c : charts)
        before.emplace_back(*c);
}

} // namespace tav
