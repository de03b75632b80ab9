#include "output/imprimetabela.h"

#include "common/errors.h"
#include "common/format.h"
#include "common/runtime.h"
#include "common/tabelaimp.h"
#include "output/services.h"
#include "platform/controls.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>
#include <optional>

namespace tav {

int tableWidthCount(int impcolunas) { return impcolunas == 2 ? 3 : impcolunas; }

QString tableCellText(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: return generalText(v.toDouble());
    default: return v.toString();
    }
}

TablePage layoutTablePage(const TabelaImp& table, double e, int linha, bool printMode, double pageHeight,
                          const TableSurface& metrics, ErrorHandler& h, int pageEnd)
{
    TablePage page;
    // A step left through Abort ends the rendering.
    bool stopped = false;
    auto step = [&](const std::function<void()>& f) {
        if (!stopped && !h.step(f))
            stopped = true;
    };
    page.firstRow = linha;
    const double cm = 567.0 * e;
    TableFont font{14 * e, true};
    double x = 0, y = 0;
    // Text goes at the current position; the position then moves to the
    // start of the next line.
    auto print = [&](const QString& text) {
        page.texts.append({x, y, text, font});
        y += metrics.lineHeight(font);
        x = 0;
    };
    auto rule = [&](double x1, double y1, double x2, double y2) {
        if (!printMode)
            page.rules.append({x1, y1, x2, y2});
    };

    int c = 0;
    double x0 = 0, y0 = 0, x1 = 0;
    if (printMode)
        step([&] { print(QString()); });
    step([&] { c = tableWidthCount(table.impcolunas); });
    step([&] { font = {14 * e, true}; });
    step([&] { y = 560 * e; });
    step([&] { x = 2.5 * cm; });
    step([&] { print(table.imptitulo); });
    step([&] { y += 500 * e; });
    step([&] {
        x0 = 2.5 * cm;
        y0 = y;
        x1 = (3.2 * c + 0.3) * cm;
    });
    step([&] { rule(x0, y0, x1, y0); });
    step([&] { font.size = 10 * e; });
    step([&] { x = cm + (3 * (c + 1) * cm - metrics.textWidth(table.impsubtitulo, font)) / 2; });
    step([&] { print(table.impsubtitulo); });
    step([&] { x = 2.5 * cm; });
    step([&] { y += 100 * e; });
    step([&] { font.bold = false; });
    step([&] { x = 2 * cm; });

    auto finish = [&] {
        step([&] { rule(2.5 * cm, y, x1, y); });
        step([&] { rule(4.5 * cm, y0, 4.5 * cm, y); });
        step([&] { rule(2.5 * cm, y0, 2.5 * cm, y); });
        step([&] { rule(x1, y0, x1, y); });
    };

    for (int i = linha; i <= table.implinhas; ++i) {
        double top = 0;
        bool full = false;
        step([&] { x = 2.5 * cm; });
        step([&] { rule(2.5 * cm, y, x1, y); });
        step([&] { top = clng(y); });
        step([&] {
            const QString label = table.improtulo(i);
            x = 3.5 * cm - metrics.textWidth(label, font) / 2;
            print(label);
        });
        for (int j = 1; j <= table.impcolunas; ++j) {
            step([&] { y = top; });
            step([&] {
                const QString cell = tableCellText(table.impcelula(j, i));
                x = 2 * (j + 2) * cm - metrics.textWidth(cell, font) / 2;
                print(cell);
            });
        }
        if (stopped) {
            page.aborted = true;
            return page;
        }
        page.lastRow = i;
        if (pageEnd >= 0)
            full = i >= pageEnd;
        else if (!printMode)
            step([&] { full = y > pageHeight - 500 * e; });
        if (full) {
            // A page that ends with the table's last row is the last page:
            // no page of titles alone follows it.
            page.next = i >= table.implinhas ? 0 : i + 1;
            finish();
            if (stopped) {
                page.aborted = true;
                page.next = QVariant();
            }
            return page;
        }
    }
    finish();
    page.aborted = stopped;
    if (!stopped)
        page.next = 0;
    return page;
}

void drawTablePage(const TablePage& page, TableSurface& texts, TableSurface* rules)
{
    for (const TableText& t : page.texts)
        if (!t.text.isEmpty())
            texts.text(t.x, t.y, t.text, t.font);
    if (rules)
        for (const TableRule& r : page.rules)
            rules->line(r.x1, r.y1, r.x2, r.y2);
}

// Surfaces -------------------------------------------------------------------

namespace {
QFont tableFont(const TableFont& f)
{
    QFont font = arial(10, f.bold);
    // Fonts scale with the zoom; a size the font system refuses stays tiny.
    font.setPointSizeF(std::max(f.size, 0.5));
    return font;
}
} // namespace

// The metrics of the font last asked for: a page asks for two or three
// fonts, row after row.
const QFontMetricsF& PictureSurface::metrics(const TableFont& font) const
{
    if (cachedFont_ != font) {
        cachedMetrics_.emplace(tableFont(font));
        cachedFont_ = font;
    }
    return *cachedMetrics_;
}

// The ink of the digits about the baseline, in the font last asked for.
const QRectF& PictureSurface::digitsInk(const TableFont& font) const
{
    if (inkFont_ != font) {
        digitsInk_ = metrics(font).tightBoundingRect(QStringLiteral("0123456789"));
        inkFont_ = font;
    }
    return digitsInk_;
}

double PictureSurface::textWidth(const QString& text, const TableFont& font) const
{
    return metrics(font).horizontalAdvance(text) * 15.0;
}

double PictureSurface::lineHeight(const TableFont& font) const { return metrics(font).height() * 15.0; }

// The page is laid out with the reference measures, which the screen's
// font does not follow at small sizes: its ascent is rounded up to whole
// pixels, so text placed by it sinks into the rule below. The baseline goes
// where the layout's measures put it instead, on a whole device pixel, with
// the digits' ink between the line's rule and the next line's.
void PictureSurface::text(double x, double y, const QString& text, const TableFont& font)
{
    if (box_->font() != tableFont(font))
        box_->setFont(tableFont(font));
    const double d = box_->devicePixelRatioF();
    const ReferenceMetrics layout;
    const QRectF& ink = digitsInk(font);
    const double top = y / 15.0;
    const double highest = std::floor(top * d) + box_->drawWidth() * d + std::ceil(-ink.top() * d - 1e-3);
    const double lowest =
        std::floor((top + layout.lineHeight(font) / 15.0) * d) - std::max(0.0, std::ceil(ink.bottom() * d - 1e-3));
    const double wanted = std::round((top + layout.ascent(font) / 15.0) * d);
    const double baseline = std::min(std::max(wanted, highest), lowest) / d;
    box_->setCurrentX(x);
    box_->setCurrentY((baseline - metrics(font).ascent()) * 15.0);
    box_->print(text);
}

// A rule fills the device pixels that its ends fall in, from edge to edge:
// one drawn between pixels is smeared over two rows in grey, into the text
// beside it.
void PictureSurface::line(double x1, double y1, double x2, double y2)
{
    const double d = box_->devicePixelRatioF();
    const double width = box_->drawWidth() * d;
    const auto onPixel = [&](double t) { return (std::floor(t / 15.0 * d) + width / 2) / d * 15.0; };
    box_->line(onPixel(x1), onPixel(y1), onPixel(x2), onPixel(y2), Qt::black);
}

// Point sizes on the printer's device: metrics in its dots, turned to twips.
const QFontMetricsF& PrinterSurface::metrics(const TableFont& font) const
{
    if (cachedFont_ != font) {
        cachedMetrics_.emplace(tableFont(font), printer_.painter().device());
        cachedFont_ = font;
    }
    return *cachedMetrics_;
}

double PrinterSurface::textWidth(const QString& text, const TableFont& font) const
{
    return metrics(font).horizontalAdvance(text) * 1440.0 / printer_.dpi();
}

double PrinterSurface::lineHeight(const TableFont& font) const
{
    return metrics(font).height() * 1440.0 / printer_.dpi();
}

void PrinterSurface::text(double x, double y, const QString& text, const TableFont& font)
{
    QPainter& p = printer_.painter();
    const double k = printer_.dpi() / 1440.0;
    if (painterFont_ != font) {
        p.setFont(tableFont(font));
        p.setPen(Qt::black);
        painterFont_ = font;
    }
    p.drawText(QPointF(x * k, y * k + metrics(font).ascent()), text);
}

void PrinterSurface::line(double x1, double y1, double x2, double y2)
{
    QPainter& p = printer_.painter();
    const double k = printer_.dpi() / 1440.0;
    p.setPen(Qt::black);
    p.drawLine(QPointF(x1 * k, y1 * k), QPointF(x2 * k, y2 * k));
}

// Measures -------------------------------------------------------------------

namespace {
// The font's measures at 10 points on a 1440-dot inch, in twips.
const QFontMetricsF& referenceMetrics(bool bold)
{
    static const auto make = [](bool b) {
        static QImage device(1, 1, QImage::Format_RGB32);
        device.setDotsPerMeterX(56693); // 1440 dots per inch
        device.setDotsPerMeterY(56693);
        QFont f = tableFont({10, b});
        return QFontMetricsF(f, &device);
    };
    static const QFontMetricsF regular = make(false);
    static const QFontMetricsF heavy = make(true);
    return bold ? heavy : regular;
}
} // namespace

double ReferenceMetrics::textWidth(const QString& text, const TableFont& font) const
{
    return referenceMetrics(font.bold).horizontalAdvance(text) * font.size / 10.0;
}

double ReferenceMetrics::lineHeight(const TableFont& font) const
{
    return referenceMetrics(font.bold).height() * font.size / 10.0;
}

double ReferenceMetrics::ascent(const TableFont& font) const
{
    return referenceMetrics(font.bold).ascent() * font.size / 10.0;
}

namespace {
// Where rows break depends on line heights alone: widths are not measured.
class HeightMetrics : public ReferenceMetrics {
public:
    double textWidth(const QString&, const TableFont&) const override { return 0; }
};
} // namespace

QList<int> tablePageStarts(const TabelaImp& table, double pageHeight)
{
    QList<int> starts{0};
    IgnoreErrors quiet;
    const HeightMetrics metrics;
    for (int from = 0;;) {
        const TablePage page = layoutTablePage(table, 1, from, false, pageHeight, metrics, quiet);
        const int next = page.next.toInt();
        if (next <= from)
            break;
        starts.append(next);
        from = next;
    }
    return starts;
}

// The renderer ---------------------------------------------------------------

namespace {

// The last row of the page that starts at `from`.
int pageEndFor(const QList<int>& starts, int from, int lastRow)
{
    for (int start : starts)
        if (start > from)
            return start - 1;
    return std::max(lastRow, from);
}

[[noreturn]] void printerError() { throw RuntimeError(482, QStringLiteral("Printer error")); }

void shiftPage(TablePage& page, double dx, double dy)
{
    for (TableText& t : page.texts) {
        t.x += dx;
        t.y += dy;
    }
    for (TableRule& r : page.rules)
        r = {r.x1 + dx, r.y1 + dy, r.x2 + dx, r.y2 + dy};
}

} // namespace

QVariant imprimetabela(PictureBox* preview, double escala, QVariant& linha, const QString& destino,
                       int previewWindowWidth, const std::optional<PrintChoice>& choice)
{
    TrapErrors t(QStringLiteral("Reload and try again"), QStringLiteral("Error PrintPreView"));
    const bool printMode = destino == QLatin1String("Printer");
    int first = 0;
    if (!t.step([&] { first = clng(linha.isValid() ? linha.toDouble() : 0.0); }))
        return {};
    const TabelaImp& table = tabelaimp();
    const DocSettings settings{std::nullopt, printJobName(), choice};
    const ReferenceMetrics metrics;
    if (!printMode) {
        // The printer's own paper, whatever another window chose for its
        // print, or what this preview's dialog chose. Pages are cut by its
        // printable height at 100 % with measures that are the same on the
        // screen and on paper, so that the preview at any zoom and the
        // print hold the same rows on each page.
        const PageArea area = printer().page(settings);
        const double printableHeight = area.printable.height();
        const QList<int> starts = tablePageStarts(table, printableHeight);
        t.step([&] {
            if (!preview)
                raise(ErrObjectRequired);
            const int w = int(std::lround(area.paper.width() * escala / 15.0));
            const int h = int(std::lround(area.paper.height() * escala / 15.0));
            if (w < 0 || h < 0)
                raise(ErrInvalidProperty);
            preview->resize(w, h);
            const double left = previewWindowWidth / 2.0 - preview->width() * 15.0 / 2 + 200;
            preview->move(int(std::lround((left < 500 ? 500 : left) / 15.0)), 500 / 15);
        });
        PictureSurface screen(preview);
        TablePage page = layoutTablePage(table, escala, first, false, printableHeight * escala, metrics, t,
                                         pageEndFor(starts, first, table.implinhas));
        // The sheet is the whole paper; the page starts at its printable
        // corner, where the print starts.
        shiftPage(page, area.printable.left() * escala, area.printable.top() * escala);
        drawTablePage(page, screen, &screen);
        if (page.aborted)
            return {};
        if (page.next.toInt() != 0)
            linha = page.next;
        return page.next;
    }
    // The print: page after page as the preview shows them, in one document
    // of its own, dropped if a step is left through Abort.
    // A file that may not be written is refused as the job begins.
    std::optional<PrintJob> printing;
    if (!t.step([&] {
            printing.emplace(printer(), settings);
            if (!printing->ok())
                printerError();
        }))
        return {};
    PrintJob& job = *printing;
    // The page as the job has it: the printer's defaults are read as it
    // begins.
    const PageArea area = printer().page(settings);
    const double printableHeight = area.printable.height();
    const QList<int> starts = tablePageStarts(table, printableHeight);
    for (int from = first, pages = 0;; ++pages) {
        if (pages > 0 && !t.step([&] {
                if (!job.newPage())
                    printerError();
            }))
            return {};
        PrinterSurface paper(printer());
        const TablePage page =
            layoutTablePage(table, 1, from, true, printableHeight, metrics, t, pageEndFor(starts, from, table.implinhas));
        drawTablePage(page, paper, nullptr);
        if (page.aborted)
            return {};
        const int next = page.next.toInt();
        if (next <= from)
            break;
        from = next;
    }
    t.step([&] {
        if (!job.end())
            printerError();
    });
    return 0;
}

} // namespace tav
