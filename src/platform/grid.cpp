#include "platform/grid.h"

#include "common/format.h"
#include "common/runtime.h"
#include "common/twips.h"
#include "platform/innerpart.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tav {

namespace {

// Enough for every table the program fills, small enough that a mistyped
// count cannot exhaust memory.
constexpr qint64 kMaxCells = 4'000'000;

// Draws each cell with its column's alignment and the header look of the
// fixed rows and columns, so that neither needs storing per cell.
class GridDelegate : public QStyledItemDelegate {
public:
    GridDelegate(const Grid* grid) : QStyledItemDelegate(const_cast<Grid*>(grid)), grid_(grid) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = grid_->cellAlignment(index.row(), index.column());
        if (grid_->isFixedCell(index.row(), index.column()))
            option->backgroundBrush = grid_->palette().button();
    }

private:
    const Grid* grid_;
};

Qt::Alignment alignmentOf(int value)
{
    switch (value) {
    case 1: return Qt::AlignRight | Qt::AlignVCenter;
    case 2: return Qt::AlignHCenter | Qt::AlignVCenter;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

void checkAlignment(int value)
{
    if (value < 0 || value > 2)
        tav::raise(ErrInvalidProperty);
}

int buttonCode(Qt::MouseButton b)
{
    switch (b) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

int shiftCode(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

} // namespace

Grid::Grid(QWidget* parent)
    : QWidget(parent),
      table_(new QTableWidget(this)),
      widths_(cols_, kDefaultColWidth),
      alignments_(cols_, 0),
      fixedAlignments_(cols_, 0)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table_);
    table_->setObjectName(QStringLiteral("table"));
    markInnerPart(table_);
    table_->horizontalHeader()->hide();
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setItemDelegate(new GridDelegate(this));
    table_->setRowCount(rows_);
    table_->setColumnCount(cols_);
    resizeColumns();
    table_->viewport()->installEventFilter(this);
}

void Grid::setRows(int n)
{
    if (n < fixedRows_ || qint64(n) * cols_ > kMaxCells)
        tav::raise(ErrInvalidProperty);
    rows_ = n;
    table_->setRowCount(n);
    row_ = qMax(0, qMin(row_, n - 1));
}

void Grid::setCols(int n)
{
    if (n < fixedCols_ || qint64(n) * rows_ > kMaxCells)
        tav::raise(ErrInvalidProperty);
    cols_ = n;
    table_->setColumnCount(n);
    widths_.resize(n, kDefaultColWidth);
    alignments_.resize(n, 0);
    fixedAlignments_.resize(n, 0);
    resizeColumns();
    col_ = qMax(0, qMin(col_, n - 1));
}

void Grid::setFixedRows(int n)
{
    if (n < 0 || n > rows_)
        tav::raise(ErrInvalidProperty);
    fixedRows_ = n;
    table_->viewport()->update();
}

void Grid::setFixedCols(int n)
{
    if (n < 0 || n > cols_)
        tav::raise(ErrInvalidProperty);
    fixedCols_ = n;
    table_->viewport()->update();
}

void Grid::setRow(int r)
{
    if (r < 0 || r >= rows_)
        tav::raise(ErrSubscript);
    row_ = r;
}

void Grid::setCol(int c)
{
    checkCol(c);
    col_ = c;
}

QString Grid::text() const
{
    if (row_ >= rows_ || col_ >= cols_)
        return QString();
    const QTableWidgetItem* item = table_->item(row_, col_);
    return item ? item->text() : QString();
}

void Grid::setText(const QString& t)
{
    if (row_ >= rows_ || col_ >= cols_)
        tav::raise(ErrSubscript);
    if (QTableWidgetItem* item = table_->item(row_, col_)) {
        item->setText(t);
        return;
    }
    auto* item = new QTableWidgetItem(t);
    item->setFlags(Qt::ItemIsEnabled);
    table_->setItem(row_, col_, item);
}

void Grid::setText(double v) { setText(generalText(v)); }

void Grid::setCells(int rows, int cols, const std::vector<QString>& cells)
{
    if (rows < fixedRows_ || cols < fixedCols_ || qint64(rows) * cols > kMaxCells
        || cells.size() != size_t(rows) * size_t(cols))
        tav::raise(ErrInvalidProperty);
    table_->setUpdatesEnabled(false);
    rows_ = rows;
    table_->setRowCount(rows);
    if (cols != cols_)
        setCols(cols);
    row_ = qMax(0, qMin(row_, rows - 1));
    {
        // One repaint for the whole table instead of a change notice a cell.
        const QSignalBlocker quiet(table_->model());
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                const QString& t = cells[size_t(r) * size_t(cols) + size_t(c)];
                if (QTableWidgetItem* item = table_->item(r, c)) {
                    if (item->text() != t)
                        item->setText(t);
                } else if (!t.isEmpty()) {
                    auto* fresh = new QTableWidgetItem(t);
                    fresh->setFlags(Qt::ItemIsEnabled);
                    table_->setItem(r, c, fresh);
                }
            }
    }
    table_->setUpdatesEnabled(true);
    table_->viewport()->update();
}

int Grid::colWidth(int c) const
{
    checkCol(c);
    return widths_[c];
}

void Grid::setColWidth(int c, int tw)
{
    checkCol(c);
    if (tw < 0)
        tav::raise(ErrInvalidProperty);
    widths_[c] = tw;
    table_->setColumnWidth(c, twips(tw));
}

int Grid::colAlignment(int c) const
{
    checkCol(c);
    return alignments_[c];
}

void Grid::setColAlignment(int c, int value)
{
    checkCol(c);
    checkAlignment(value);
    alignments_[c] = value;
    table_->viewport()->update();
}

int Grid::fixedAlignment(int c) const
{
    checkCol(c);
    return fixedAlignments_[c];
}

void Grid::setFixedAlignment(int c, int value)
{
    checkCol(c);
    checkAlignment(value);
    fixedAlignments_[c] = value;
    table_->viewport()->update();
}

int Grid::widthTwips() const { return pixelsToTwips(width()); }

void Grid::setWidthTwips(int tw)
{
    if (tw < 0)
        tav::raise(ErrInvalidProperty);
    resize(twips(tw), height());
}

Qt::Alignment Grid::cellAlignment(int r, int c) const
{
    if (c < 0 || c >= cols_)
        return alignmentOf(0);
    return alignmentOf(isFixedCell(r, c) ? fixedAlignments_[c] : alignments_[c]);
}

bool Grid::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == table_->viewport() && e->type() == QEvent::MouseButtonPress) {
        auto* me = static_cast<QMouseEvent*>(e);
        const QPoint p = table_->viewport()->mapTo(this, me->position().toPoint());
        emit mouseDown(buttonCode(me->button()), shiftCode(me->modifiers()), pixelsToTwips(p.x()),
                       pixelsToTwips(p.y()));
    }
    return QWidget::eventFilter(watched, e);
}

void Grid::checkCol(int c) const
{
    if (c < 0 || c >= cols_)
        tav::raise(ErrSubscript);
}

void Grid::resizeColumns()
{
    for (int c = 0; c < cols_; ++c)
        table_->setColumnWidth(c, twips(widths_[c]));
}

} // namespace tav
