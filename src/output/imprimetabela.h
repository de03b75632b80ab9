#pragma once
// The table renderer: the print table laid out as a page of a title, a
// subtitle and rows of a label and value columns at fixed places measured
// in centimetres (567 twips), all scaled by the zoom. The preview draws it
// page by page with rules; the printer gets the same pages, without rules.

#include "output/services.h"

#include <QFont>
#include <QFontMetricsF>
#include <QList>
#include <optional>
#include <QString>
#include <QVariant>

namespace tav {

class ErrorHandler;
class PictureBox;
class Printer;
class TabelaImp;

struct TableFont {
    double size = 10; // points
    bool bold = false;
    bool operator==(const TableFont&) const = default;
};

// What the renderer draws on: text with its top-left corner at (x, y),
// lines, text measures; everything in twips.
class TableSurface {
public:
    virtual ~TableSurface() = default;
    virtual double textWidth(const QString& text, const TableFont& font) const = 0;
    virtual double lineHeight(const TableFont& font) const = 0;
    virtual void text(double x, double y, const QString& text, const TableFont& font) = 0;
    virtual void line(double x1, double y1, double x2, double y2) = 0;
};

struct TableText {
    double x, y;
    QString text;
    TableFont font;
};
struct TableRule {
    double x1, y1, x2, y2;
};

// One rendering, laid out.
struct TablePage {
    QList<TableText> texts;
    QList<TableRule> rules; // preview only
    int firstRow = 0;
    int lastRow = -1;       // the last row drawn
    QVariant next;          // the result: next row, 0 at the end, empty after Abort
    bool aborted = false;
};

// The table's width count: the number of value columns, 3 for 2.
int tableWidthCount(int impcolunas);

// Lays out one rendering of `table` from row `linha`. `pageHeight` is the
// target's height in twips (preview; the printer has no page break).
// Every step runs under `errors`; `metrics` measures the text.
// `pageEnd`, when given, is the page's last row in place of the height test.
TablePage layoutTablePage(const TabelaImp& table, double escala, int linha, bool printMode, double pageHeight,
                          const TableSurface& metrics, ErrorHandler& errors, int pageEnd = -1);

// Text measured alike on every target and at every zoom: the font's
// measures at 10 points, scaled in proportion to the size asked.
class ReferenceMetrics : public TableSurface {
public:
    double textWidth(const QString& text, const TableFont& font) const override;
    double lineHeight(const TableFont& font) const override;
    // Where the baseline lies below the top of the line.
    double ascent(const TableFont& font) const;
    void text(double, double, const QString&, const TableFont&) override {}
    void line(double, double, double, double) override {}
};

// The first row of every page of `table` on a page `pageHeight` twips
// high, laid out at 100 % with the reference measures.
QList<int> tablePageStarts(const TabelaImp& table, double pageHeight);

void drawTablePage(const TablePage& page, TableSurface& texts, TableSurface* rules);

// A picture box in twips as the surface.
class PictureSurface : public TableSurface {
public:
    explicit PictureSurface(PictureBox* box) : box_(box) {}
    double textWidth(const QString& text, const TableFont& font) const override;
    double lineHeight(const TableFont& font) const override;
    void text(double x, double y, const QString& text, const TableFont& font) override;
    void line(double x1, double y1, double x2, double y2) override;

private:
    const QFontMetricsF& metrics(const TableFont& font) const;
    const QRectF& digitsInk(const TableFont& font) const;
    PictureBox* box_;
    mutable std::optional<TableFont> cachedFont_;
    mutable std::optional<QFontMetricsF> cachedMetrics_;
    mutable std::optional<TableFont> inkFont_;
    mutable QRectF digitsInk_;
};

// The printer's page as the surface.
class PrinterSurface : public TableSurface {
public:
    explicit PrinterSurface(Printer& p) : printer_(p) {}
    double textWidth(const QString& text, const TableFont& font) const override;
    double lineHeight(const TableFont& font) const override;
    void text(double x, double y, const QString& text, const TableFont& font) override;
    void line(double x1, double y1, double x2, double y2) override;

private:
    const QFontMetricsF& metrics(const TableFont& font) const;
    Printer& printer_;
    mutable std::optional<TableFont> cachedFont_;
    mutable std::optional<QFontMetricsF> cachedMetrics_;
    std::optional<TableFont> painterFont_;
};

// The renderer as the preview and the print call it: `alvo` is what the text
// goes on, `rules` the preview's page (rules are drawn there whatever the
// target); `previewWidth` places the page in the preview window. Errors go
// to the "Error PrintPreView" box. Returns the next row (0 at the end, empty
// after Abort) and writes it into `linha` when a preview page fills up.
// `choice` is what the preview's printer dialog chose: the page it shows
// and the print follow it (the printer's own page and defaults when none).
QVariant imprimetabela(PictureBox* preview, double escala, QVariant& linha, const QString& destino,
                       int previewWindowWidth, const std::optional<PrintChoice>& choice = std::nullopt);

// The text of a print-table cell.
QString tableCellText(const QVariant& v);

} // namespace tav
