// The table renderer's page layout over the print table, and the preview
// window that pages through it and prints it.

#include "common/errors.h"
#include "common/tabelaimp.h"
#include "output/fprintpreview.h"
#include "output/imprimetabela.h"
#include "outputkit.h"
#include "platform/controls.h"
#include "platform/slider.h"
#include "testmain.h"

#include <QPushButton>
#include <QPrinter>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

using namespace tav;
using tav::test::OutputFixture;

namespace {

constexpr double kCm = 567;

// Text 10 twips wide per character and point, lines 20 twips per point.
class FixedMetrics : public TableSurface {
public:
    double textWidth(const QString& text, const TableFont& f) const override { return text.size() * 10 * f.size; }
    double lineHeight(const TableFont& f) const override { return 20 * f.size; }
    void text(double, double, const QString&, const TableFont&) override {}
    void line(double, double, double, double) override {}
};

void fill(int rows, int cols)
{
    TabelaImp& t = tabelaimp();
    t.clear();
    t.imptitulo = QStringLiteral("Sample size");
    t.impsubtitulo = QStringLiteral("Confidence level");
    t.implinhas = rows;
    t.impcolunas = cols;
    for (int i = 0; i <= std::min(rows, 500); ++i) {
        t.setImprotulo(i, QString::number(i));
        for (int j = 0; j <= std::min(cols, 10); ++j)
            t.setImpcelula(j, i, i * 10 + j);
    }
}

TablePage layout(double e, int first, bool printMode, double pageHeight, ErrorHandler& h)
{
    return layoutTablePage(tabelaimp(), e, first, printMode, pageHeight, FixedMetrics(), h);
}

TablePage layout(double e, int first, bool printMode, double pageHeight)
{
    IgnoreErrors h;
    return layout(e, first, printMode, pageHeight, h);
}

const TableText* findText(const TablePage& p, const QString& text)
{
    for (const TableText& t : p.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

} // namespace

class TestImprimetabela : public QObject {
    Q_OBJECT

private slots:
    // A print path that warns has left a painter or a printer in a bad state.
    void init() { test::failOnQtWarnings(); }
    void cleanup() { tabelaimp().clear(); }
    void columnsAndRules_data();
    void columnsAndRules();
    void titleAndRowPlaces();
    void rowsPerPage_data();
    void rowsPerPage();
    void printPassTakesEveryRowWithoutRules();
    void tableBeyondItsSize_data();
    void tableBeyondItsSize();
    void previewPagesThroughAndWraps();
    void previewPrintsOnePassWithoutDialog();
    void configure_data();
    void configure();
    void printAbortLeavesThePrinterIdle();
    void printPaginatesLikeThePreview_data();
    void printPaginatesLikeThePreview();
    void failedJobsLeaveThePrinterIdle();
    void previewScrollsToEveryPart_data();
    void previewScrollsToEveryPart();
    void rulesClearOfTheDigits_data();
    void rulesClearOfTheDigits();
    void zoomChangeShowsOnePage_data();
    void zoomChangeShowsOnePage();
};

void TestImprimetabela::columnsAndRules_data()
{
    QTest::addColumn<int>("cols");
    QTest::addColumn<double>("rightCm");
    QTest::addColumn<double>("subtitleCentreCm");

    QTest::newRow("two as three") << 2 << 9.9 << 7.0;
    QTest::newRow("three") << 3 << 9.9 << 7.0;
    QTest::newRow("four") << 4 << 13.1 << 8.5;
    QTest::newRow("five") << 5 << 16.3 << 10.0;
    QTest::newRow("one") << 1 << 3.5 << 4.0;
}

void TestImprimetabela::columnsAndRules()
{
    QFETCH(int, cols);
    QFETCH(double, rightCm);
    QFETCH(double, subtitleCentreCm);
    fill(3, cols);
    const TablePage p = layout(1, 0, false, 16838);

    const double right = rightCm * kCm;
    // Top rule, one rule per row, the closing rule, three verticals.
    QCOMPARE(p.rules.size(), 1 + 4 + 1 + 3);
    for (const TableRule& r : p.rules) {
        if (r.y1 == r.y2) {
            QCOMPARE(r.x1, 2.5 * kCm);
            QVERIFY(qFuzzyCompare(r.x2, right));
        } else {
            QVERIFY2(qFuzzyCompare(r.x1, 4.5 * kCm) || qFuzzyCompare(r.x1, 2.5 * kCm) || qFuzzyCompare(r.x1, right),
                     qPrintable(QString::number(r.x1)));
        }
    }
    const TableText* sub = findText(p, QStringLiteral("Confidence level"));
    QVERIFY(sub);
    QVERIFY(qFuzzyCompare(sub->x + 16 * 10 * 10 / 2.0, subtitleCentreCm * kCm));
    // Value columns stand at 6, 8, 10 ... cm; column 0 is never drawn.
    for (int j = 1; j <= cols; ++j) {
        const QString cell = QString::number(20 + j);
        const TableText* t = findText(p, cell);
        QVERIFY2(t, qPrintable(cell));
        QVERIFY(qFuzzyCompare(t->x + cell.size() * 100 / 2.0, 2 * (j + 2) * kCm));
    }
    QVERIFY(!findText(p, QStringLiteral("20")));
}

void TestImprimetabela::titleAndRowPlaces()
{
    fill(2, 2);
    tabelaimp().setImprotulo(1, QStringLiteral("0.05"));
    const TablePage p = layout(0.5, 0, false, 8419);
    const TableText* title = findText(p, QStringLiteral("Sample size"));
    QVERIFY(title);
    QCOMPARE(title->x, 2.5 * kCm * 0.5);
    QCOMPARE(title->y, 280.0);
    QCOMPARE(title->font, (TableFont{7, true}));
    const TableText* sub = findText(p, QStringLiteral("Confidence level"));
    // 500 twips below the title's line, at the top rule.
    QCOMPARE(sub->y, 280.0 + 140 + 250);
    QCOMPARE(sub->font, (TableFont{5, true}));
    QCOMPARE(p.rules.first().y1, sub->y);
    // Rows start 100 twips below the subtitle's line, label centred on 3.5 cm.
    const TableText* label = findText(p, QStringLiteral("0.05"));
    QCOMPARE(label->y, 670.0 + 100 + 50 + 100);
    QCOMPARE(label->x + 4 * 10 * 5 / 2.0, 3.5 * kCm * 0.5);
    QCOMPARE(label->font, (TableFont{5, false}));
    QCOMPARE(findText(p, QStringLiteral("11"))->y, label->y);
}

void TestImprimetabela::rowsPerPage_data()
{
    QTest::addColumn<double>("escala");
    QTest::addColumn<double>("pageHeight");
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("lastRow");
    QTest::addColumn<int>("next");

    // Rows of 200 twips from 1640: row n ends at 1640 + 200 (n + 1).
    QTest::newRow("A4 first page") << 1.0 << 16838.0 << 100 << 0 << 73 << 74;
    QTest::newRow("A4 last page") << 1.0 << 16838.0 << 100 << 74 << 100 << 0;
    QTest::newRow("half zoom, same rows") << 0.5 << 8419.0 << 100 << 0 << 73 << 74;
    // Row 9 ends exactly 500 twips above the foot and stays; row 10 ends
    // lower and closes the page.
    QTest::newRow("exactly at the margin") << 1.0 << 4140.0 << 40 << 0 << 10 << 11;
    // No page of titles alone after a page that the last row filled.
    QTest::newRow("the last row fills the page") << 1.0 << 4140.0 << 10 << 0 << 10 << 0;
    QTest::newRow("start past the end") << 1.0 << 16838.0 << 10 << 11 << -1 << 0;
    QTest::newRow("500 rows") << 1.0 << 16838.0 << 500 << 444 << 500 << 0;
}

void TestImprimetabela::rowsPerPage()
{
    QFETCH(double, escala);
    QFETCH(double, pageHeight);
    QFETCH(int, rows);
    QFETCH(int, first);
    QFETCH(int, lastRow);
    QFETCH(int, next);
    fill(rows, 3);
    const TablePage p = layout(escala, first, false, pageHeight);
    QCOMPARE(p.lastRow, lastRow);
    QCOMPARE(p.next, QVariant(next));
    // Title and subtitle on every page.
    QVERIFY(findText(p, QStringLiteral("Sample size")));
    QVERIFY(findText(p, QStringLiteral("Confidence level")));
    if (lastRow >= 0)
        QVERIFY(findText(p, QString::number(first)));
}

void TestImprimetabela::printPassTakesEveryRowWithoutRules()
{
    fill(500, 4);
    const TablePage p = layout(1, 0, true, 0);
    QCOMPARE(p.lastRow, 500);
    QCOMPARE(p.next, QVariant(0));
    QVERIFY(p.rules.isEmpty());
    // The same places as the preview at 100 %.
    const TablePage preview = layout(1, 0, false, 1e9);
    QCOMPARE(findText(p, QStringLiteral("Sample size"))->y, findText(preview, QStringLiteral("Sample size"))->y);
    QCOMPARE(findText(p, QStringLiteral("5004"))->x, findText(preview, QStringLiteral("5004"))->x);
    QCOMPARE(findText(p, QStringLiteral("5004"))->y, findText(preview, QStringLiteral("5004"))->y);
}

void TestImprimetabela::tableBeyondItsSize_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("cols");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<int>("lastRow");
    QTest::addColumn<bool>("aborted");

    QTest::newRow("row 501, abort") << 501 << 1 << QList<int>{IdAbort} << 1 << 500 << true;
    // The cell fails with the box just ignored for the label: no second box.
    QTest::newRow("row 501, ignore label and cell") << 501 << 1 << QList<int>{IdIgnore} << 1 << 501 << false;
    QTest::newRow("column 11, abort") << 3 << 11 << QList<int>{IdAbort} << 1 << -1 << true;
}

void TestImprimetabela::tableBeyondItsSize()
{
    QFETCH(int, rows);
    QFETCH(int, cols);
    QFETCH(QList<int>, answers);
    QFETCH(int, boxes);
    QFETCH(int, lastRow);
    QFETCH(bool, aborted);
    OutputFixture f;
    fill(rows, cols);
    for (int a : answers)
        f.msgs.answer(a);
    TrapErrors t(QStringLiteral("Reload and try again"), QStringLiteral("Error PrintPreView"));
    const TablePage p = layout(1, 0, true, 0, t);
    QCOMPARE(f.msgs.count(), boxes);
    QCOMPARE(f.msgs.last().title, QStringLiteral("Error PrintPreView"));
    QCOMPARE(f.msgs.last().text, QStringLiteral("Subscript out of range\rReload and try again"));
    QCOMPARE(p.lastRow, lastRow);
    QCOMPARE(p.aborted, aborted);
    QCOMPARE(p.next.isValid(), !aborted);
}

void TestImprimetabela::previewPagesThroughAndWraps()
{
    OutputFixture f;
    fill(200, 3);
    FPrintPreview& w = fprintpreview();
    w.show();
    // Loaded at 50 %: the page is half the printer's page.
    QCOMPARE(w.ctl<Slider>(QStringLiteral("Combo1"))->value(), 50);
    PictureBox* page = w.ctl<PictureBox>(QStringLiteral("Picture1"));
    QCOMPARE(page->width(), qRound(11906 * 0.5 / 15));
    QCOMPARE(page->height(), qRound(16838 * 0.5 / 15));
    const int firstNext = w.proximalinha.toInt();
    QVERIFY2(firstNext > 10 && firstNext < 200, qPrintable(QString::number(firstNext)));

    QList<int> starts{0, firstNext};
    for (int guard = 0; guard < 50 && w.proximalinha.toInt() != 0; ++guard) {
        test::click(w.ctl(QStringLiteral("Command1")));
        starts << w.proximalinha.toInt();
    }
    QCOMPARE(starts.last(), 0);
    for (int i = 1; i + 1 < starts.size() - 1; ++i)
        QVERIFY(starts[i + 1] > starts[i]);
    // The Next after the last page draws the first page again.
    test::click(w.ctl(QStringLiteral("Command1")));
    QCOMPARE(w.proximalinha.toInt(), firstNext);
    QCOMPARE(f.msgs.count(), 0);
}

void TestImprimetabela::previewPrintsOnePassWithoutDialog()
{
    OutputFixture f;
    fill(300, 2);
    fprintpreview().show();
    const QImage before = fprintpreview().ctl<PictureBox>(QStringLiteral("Picture1"))->image();
    test::click(fprintpreview().ctl(QStringLiteral("Command3")));
    QCOMPARE(f.paper.documents.size(), 1);
    QVERIFY(f.dialogs.printerRequests.isEmpty());
    QCOMPARE(fprintpreview().ctl<PictureBox>(QStringLiteral("Picture1"))->image(), before);
    // Text reaches the page: not every pixel of the band under the title is white.
    const QImage& doc = f.paper.documents.first().first();
    bool ink = false;
    for (int y = 0; y < 150 && !ink; ++y)
        for (int x = 0; x < doc.width() && !ink; ++x)
            ink = doc.pixelColor(x, y) != QColor(Qt::white);
    QVERIFY(ink);
}

void TestImprimetabela::configure_data()
{
    QTest::addColumn<int>("copies");
    QTest::addColumn<bool>("redrawn");
    QTest::newRow("cancel") << 0 << false;
    QTest::newRow("ok") << 1 << true;
}

void TestImprimetabela::configure()
{
    QFETCH(int, copies);
    QFETCH(bool, redrawn);
    OutputFixture f;
    fill(300, 3);
    FPrintPreview& w = fprintpreview();
    w.show();
    const int firstNext = w.proximalinha.toInt();
    test::click(w.ctl(QStringLiteral("Command1")));
    const int secondNext = w.proximalinha.toInt();
    QVERIFY(secondNext != firstNext);
    f.dialogs.answerPrinter(copies);
    test::click(w.ctl(QStringLiteral("Command2")));
    QCOMPARE(f.dialogs.printerRequests.size(), 1);
    QCOMPARE(f.dialogs.printerRequests[0].flags, 64);
    QCOMPARE(f.dialogs.printerRequests[0].title, QStringLiteral("Selecione uma impressora"));
    QCOMPARE(w.proximalinha.toInt(), redrawn ? firstNext : secondNext);
    QCOMPARE(f.msgs.count(), 0);
}

void TestImprimetabela::printAbortLeavesThePrinterIdle()
{
    OutputFixture f;
    fill(501, 2);
    fprintpreview().show();
    f.msgs.clear();
    test::click(fprintpreview().ctl(QStringLiteral("Command3")));
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().title, QStringLiteral("Error PrintPreView"));
    QVERIFY(f.paper.documents.isEmpty());
    QCOMPARE(f.paper.begun, 1);
    QVERIFY(!f.paper.open());
}

namespace {

// The first row of each page the preview shows, Next after Next until it
// comes back to the first page.
QList<int> previewStarts(FPrintPreview& w)
{
    QList<int> starts{0};
    for (int guard = 0; guard < 100 && w.proximalinha.toInt() != 0; ++guard) {
        starts << w.proximalinha.toInt();
        test::click(w.ctl(QStringLiteral("Command1")));
    }
    return starts;
}

} // namespace

void TestImprimetabela::printPaginatesLikeThePreview_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("exactFill");
    QTest::newRow("500 rows") << 500 << false;
    QTest::newRow("two pages filled exactly") << 500 << true;
}

// The printed pages hold the rows of the preview's pages, title and
// subtitle on each, inside the paper; no page holds no rows.
void TestImprimetabela::printPaginatesLikeThePreview()
{
    QFETCH(int, rows);
    QFETCH(bool, exactFill);
    OutputFixture f;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("table.pdf"));
    SystemPrinter pdf;
    pdf.qprinter().setOutputFormat(QPrinter::PdfFormat);
    pdf.qprinter().setOutputFileName(file);
    setPrinter(&pdf);
    const int cols = 3;
    fill(rows, cols);
    if (exactFill) {
        // The table ends with the last row of its second page.
        const QList<int> starts = tablePageStarts(tabelaimp(), pdf.pageHeightTwips());
        QVERIFY(starts.size() > 2);
        tabelaimp().implinhas = starts[2] - 1;
    }
    const int last = tabelaimp().implinhas;
    FPrintPreview& w = fprintpreview();
    w.show();
    const QList<int> preview = previewStarts(w);
    QCOMPARE(preview, tablePageStarts(tabelaimp(), pdf.pageHeightTwips()));
    if (exactFill)
        QCOMPARE(preview.size(), 2);
    for (int start : preview)
        QVERIFY(start <= last);
    test::click(w.ctl(QStringLiteral("Command3")));
    QVERIFY(!pdf.active());
    setPrinter(&f.paper);
    QCOMPARE(f.msgs.count(), 0);

    const QList<test::PdfPage> pages = test::readPdf(file);
    QCOMPARE(pages.size(), preview.size());
    const double k = pdf.dpi() / 1440.0;
    for (int i = 0; i < pages.size(); ++i) {
        QVERIFY(std::abs(pages[i].points.width() - 595) < 1 && std::abs(pages[i].points.height() - 842) < 1);
        const int end = i + 1 < preview.size() ? preview[i + 1] - 1 : last;
        // Title, subtitle, and a label and the cells of each row.
        QCOMPARE(pages[i].texts.size(), 2 + (end - preview[i] + 1) * (1 + cols));
        QVERIFY(std::abs(pages[i].texts[0].x() - 2.5 * kCm * k) < 1);
        const QRectF paper(0, 0, pages[i].points.width() * pdf.dpi() / 72, pages[i].points.height() * pdf.dpi() / 72);
        for (const QPointF& t : pages[i].texts)
            QVERIFY2(paper.contains(t) && t.y() < paper.height() - 400 * k,
                     qPrintable(QStringLiteral("page %1: %2,%3").arg(i).arg(t.x()).arg(t.y())));
        // The rows stand where the preview at 100 % puts them.
        IgnoreErrors quiet;
        const TablePage laid =
            layoutTablePage(tabelaimp(), 1, preview[i], true, pdf.pageHeightTwips(), ReferenceMetrics(), quiet, end);
        QCOMPARE(laid.lastRow, end);
        const TableText& lastText = laid.texts.last();
        QVERIFY(std::abs(pages[i].texts.last().x() - lastText.x * k) < 1);
        QVERIFY(pages[i].texts.last().y() > lastText.y * k && pages[i].texts.last().y() < (lastText.y + 300) * k);
    }
}

// A job that fails to begin or is left through Abort ends with the
// printer idle: the next job prints, and no painter warns.
void TestImprimetabela::failedJobsLeaveThePrinterIdle()
{
    OutputFixture f;
    QTemporaryDir dir;
    SystemPrinter pdf;
    pdf.qprinter().setOutputFormat(QPrinter::PdfFormat);
    setPrinter(&pdf);
    fill(40, 2);
    fprintpreview().show();
    // No file to print to: the document cannot begin.
    test::click(fprintpreview().ctl(QStringLiteral("Command3")));
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().title, QStringLiteral("Error PrintPreView"));
    QVERIFY(!pdf.active());
    // Abort part-way through the rows.
    const QString file = dir.filePath(QStringLiteral("t.pdf"));
    pdf.qprinter().setOutputFileName(file);
    fill(501, 2);
    test::click(fprintpreview().ctl(QStringLiteral("Command3")));
    QCOMPARE(f.msgs.count(), 2);
    QVERIFY(!pdf.active());
    // The next job prints whole.
    fill(40, 2);
    test::click(fprintpreview().ctl(QStringLiteral("Command3")));
    QCOMPARE(f.msgs.count(), 2);
    QVERIFY(!pdf.active());
    setPrinter(&f.paper);
    QCOMPARE(test::readPdf(file).size(), 1);
}

void TestImprimetabela::previewScrollsToEveryPart_data()
{
    QTest::addColumn<int>("zoom");
    QTest::newRow("50 %") << 50;
    QTest::newRow("100 %") << 100;
    QTest::newRow("10 %") << 10;
}

// However large the page, each of its corners can be scrolled into the
// window's sight, and the window keeps its size.
void TestImprimetabela::previewScrollsToEveryPart()
{
    QFETCH(int, zoom);
    OutputFixture f;
    fill(200, 3);
    FPrintPreview& w = fprintpreview();
    w.show();
    const QSize client = w.widget()->client()->size();
    w.ctl<Slider>(QStringLiteral("Combo1"))->setValue(zoom);
    QCoreApplication::processEvents();
    QCOMPARE(w.widget()->client()->size(), client);
    PictureBox* page = w.ctl<PictureBox>(QStringLiteral("Picture1"));
    QCOMPARE(page->size(), QSize(qRound(11906 * zoom / 100.0 / 15), qRound(16838 * zoom / 100.0 / 15)));
    auto* area = w.widget()->findChild<QScrollArea*>();
    QVERIFY(area);
    const QRect sight = QRect(QPoint(0, 0), w.widget()->client()->size());
    for (const QPoint corner : {QPoint(0, 0), QPoint(page->width() - 1, 0), QPoint(0, page->height() - 1),
                                QPoint(page->width() - 1, page->height() - 1)}) {
        area->ensureVisible(page->mapTo(area->widget(), corner).x(), page->mapTo(area->widget(), corner).y(), 1, 1);
        const QPoint seen = page->mapTo(w.widget()->client(), corner);
        QVERIFY2(sight.contains(seen) && area->viewport()->rect().contains(page->mapTo(area->viewport(), corner)),
                 qPrintable(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y())));
    }
    QCOMPARE(f.msgs.count(), 0);
}

namespace {

bool ink(QRgb p) { return p != qRgb(255, 255, 255); }

// The rows of `img` that hold ink in at least `share` of the columns from
// `left` to `right`.
QList<int> inkedRows(const QImage& img, int left, int right, double share)
{
    QList<int> rows;
    left = std::max(left, 0);
    right = std::min(right, img.width() - 1);
    for (int y = 0; y < img.height(); ++y) {
        int n = 0;
        for (int x = left; x <= right; ++x)
            n += ink(img.pixel(x, y)) ? 1 : 0;
        if (n > 0 && n >= share * (right - left + 1))
            rows << y;
    }
    return rows;
}

// The first preview page at `escala` as the preview lays it out.
TablePage firstPreviewPage(double escala)
{
    const double paper = printer().pageHeightTwips();
    const QList<int> starts = tablePageStarts(tabelaimp(), paper);
    IgnoreErrors quiet;
    return layoutTablePage(tabelaimp(), escala, 0, false, paper * escala, ReferenceMetrics(), quiet,
                           starts.size() > 1 ? starts[1] - 1 : tabelaimp().implinhas);
}

// A white box of the page's size with `page` drawn on it by the preview's
// surface: its texts, its rules, or both.
QImage drawnApart(const TablePage& page, QSize size, bool texts, bool rules)
{
    PictureBox box;
    box.resize(size);
    box.setBackColor(Qt::white);
    PictureSurface surface(&box);
    TablePage part = page;
    if (!texts)
        part.texts.clear();
    drawTablePage(part, surface, rules ? &surface : nullptr);
    return box.image().convertToFormat(QImage::Format_RGB32);
}

} // namespace

void TestImprimetabela::rulesClearOfTheDigits_data()
{
    QTest::addColumn<int>("zoom");
    for (int zoom : {100, 90, 70, 50, 30})
        QTest::addRow("%d %%", zoom) << zoom;
}

// No row of pixels that a rule crosses holds a pixel of text: the digits of
// each row stand between its rule and the next.
void TestImprimetabela::rulesClearOfTheDigits()
{
    QFETCH(int, zoom);
    OutputFixture f;
    fill(120, 4);
    tabelaimp().setImprotulo(7, QStringLiteral("0.05"));
    FPrintPreview& w = fprintpreview();
    w.show();
    w.ctl<Slider>(QStringLiteral("Combo1"))->setValue(zoom);
    PictureBox* shown = w.ctl<PictureBox>(QStringLiteral("Picture1"));
    const double e = zoom / 100.0;
    const TablePage page = firstPreviewPage(e);
    QVERIFY(page.lastRow > 20);
    // The parts drawn apart make up the page shown.
    QCOMPARE(drawnApart(page, shown->size(), true, true), shown->image().convertToFormat(QImage::Format_RGB32));

    const QImage texts = drawnApart(page, shown->size(), true, false);
    const QImage rules = drawnApart(page, shown->size(), false, true);
    const int left = int(2.5 * kCm * e / 15) + 3, right = int((3.2 * 4 + 0.3) * kCm * e / 15) - 3;
    const QList<int> ruled = inkedRows(rules, left, right, 0.5);
    const QList<int> written = inkedRows(texts, 0, texts.width() - 1, 0);
    // Top rule, a rule per row and the closing rule, each in its own rows.
    QVERIFY2(ruled.size() >= page.lastRow + 2, qPrintable(QString::number(ruled.size())));
    QStringList crossed;
    for (int y : ruled)
        if (written.contains(y))
            crossed << QString::number(y);
    QVERIFY2(crossed.isEmpty(), qPrintable(QStringLiteral("rows with a rule and text: ") + crossed.join(u' ')));
    // Each rule lies whole on its rows of pixels, black: one drawn between
    // two rows is smeared over both in grey, up to the text beside it.
    QStringList grey;
    for (int y : ruled)
        for (int x = left; x <= right; ++x)
            if (qGray(rules.pixel(x, y)) > 32) {
                grey << QString::number(y);
                break;
            }
    QVERIFY2(grey.isEmpty(), qPrintable(QStringLiteral("grey rule rows: ") + grey.join(u' ')));
    QCOMPARE(f.msgs.count(), 0);
}

void TestImprimetabela::zoomChangeShowsOnePage_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<bool>("next");
    QTest::newRow("50 to 30") << 50 << 30 << false;
    QTest::newRow("50 to 100") << 50 << 100 << false;
    QTest::newRow("100 to 10") << 100 << 10 << false;
    QTest::newRow("30 to 70") << 30 << 70 << false;
    QTest::newRow("second page, 50 to 51") << 50 << 51 << true;
}

// A zoom change shows the page at the new zoom alone, as if drawn fresh on
// an empty page; nothing of the page at the old zoom shows through.
void TestImprimetabela::zoomChangeShowsOnePage()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(bool, next);
    OutputFixture f;
    fill(200, 3);
    FPrintPreview& w = fprintpreview();
    w.show();
    auto* zoom = w.ctl<Slider>(QStringLiteral("Combo1"));
    zoom->setValue(from);
    if (next)
        test::click(w.ctl(QStringLiteral("Command1")));
    zoom->setValue(to);
    QCoreApplication::processEvents();
    QCOMPARE(w.proximalinha, QVariant(tablePageStarts(tabelaimp(), printer().pageHeightTwips()).value(1)));

    PictureBox fresh;
    fresh.setBackColor(Qt::white);
    QVariant linha = 0;
    imprimetabela(&fresh, to / 100.0, linha, QStringLiteral("preview"), w.outerWidthTwips());
    PictureBox* page = w.ctl<PictureBox>(QStringLiteral("Picture1"));
    QCOMPARE(page->size(), fresh.size());
    QCOMPARE(page->image(), fresh.image());
    QCOMPARE(f.msgs.count(), 0);
}

TAV_TEST_MAIN(TestImprimetabela)
#include "tst_imprimetabela.moc"
