#pragma once
// A table of text cells driven by the program, not editable by the user.
//
// Row 0 and column 0 count in Rows and Cols; the first FixedRows rows and
// FixedCols columns are drawn as headers. Row and Col make the current cell,
// which Text writes and reads. Widths are in twips. Alignments are kept per
// column (0 left, 1 right, 2 centre): ColAlignment for the ordinary cells of a
// column, FixedAlignment for its header cells; both apply to every cell of the
// column, whenever it was written. An index out of range raises "Subscript
// out of range", a count or value out of range "Invalid property value".

#include <QString>
#include <QWidget>
#include <vector>

class QTableWidget;

namespace tav {

class Grid : public QWidget {
    Q_OBJECT
public:
    explicit Grid(QWidget* parent = nullptr);

    int rows() const { return rows_; }
    void setRows(int n);
    int cols() const { return cols_; }
    void setCols(int n);
    int fixedRows() const { return fixedRows_; }
    void setFixedRows(int n);
    int fixedCols() const { return fixedCols_; }
    void setFixedCols(int n);

    int row() const { return row_; }
    void setRow(int r);
    int col() const { return col_; }
    void setCol(int c);

    // The current cell's text, exactly as written ("" if never written).
    QString text() const;
    void setText(const QString& t);
    // A number is written as its general number text.
    void setText(double v);

    int colWidth(int c) const;
    void setColWidth(int c, int twips);
    int colAlignment(int c) const;
    void setColAlignment(int c, int value);
    int fixedAlignment(int c) const;
    void setFixedAlignment(int c, int value);

    // Rows, Cols and every cell's text at once (cells row by row, rows x
    // cols of them), as writing each cell would leave them; drawn once.
    void setCells(int rows, int cols, const std::vector<QString>& cells);

    // The control's outer width.
    int widthTwips() const;
    void setWidthTwips(int twips);

    // How the cell at (r, c) is drawn: its column's alignment, fixed or not.
    Qt::Alignment cellAlignment(int r, int c) const;
    bool isFixedCell(int r, int c) const { return r < fixedRows_ || c < fixedCols_; }

    // The table widget inside (for tests and drawing).
    QTableWidget* table() const { return table_; }

    static constexpr int kDefaultColWidth = 960; // twips

signals:
    // A mouse button went down on the grid: button 1 left, 2 right, 4 middle;
    // shift 1 Shift, 2 Ctrl, 4 Alt; x and y in twips from the control's corner.
    void mouseDown(int button, int shift, int x, int y);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void checkCol(int c) const;
    void resizeColumns();

    QTableWidget* table_;
    int rows_ = 2;
    int cols_ = 2;
    int fixedRows_ = 1;
    int fixedCols_ = 1;
    int row_ = 0;
    int col_ = 0;
    std::vector<int> widths_;     // twips, one per column
    std::vector<int> alignments_; // ordinary cells, one per column
    std::vector<int> fixedAlignments_;
};

} // namespace tav
