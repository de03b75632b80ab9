#include "output/services.h"

#include "common/runtime.h"
#include "common/safefile.h"
#include "output/saving.h"
#include "platform/printservice.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QWidget>
#include <cmath>
#include <memory>

namespace tav {

QStringList nameFilters(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    return out;
}

namespace {

// The platform's save dialog, refusing a name in a folder that does not
// exist when the flags ask for that: the dialog stays open.
class SaveDialog : public QFileDialog {
public:
    SaveDialog(QWidget* parent, const QString& title, int flags) : QFileDialog(parent, title), flags_(flags) {}
    void accept() override
    {
        const QStringList files = selectedFiles();
        if (!files.isEmpty() && !saveNameAccepted(flags_, files.constFirst()))
            return;
        QFileDialog::accept();
    }

private:
    int flags_;
};

class QtDialogs : public Dialogs {
public:
    std::optional<QString> showSave(QWidget* parent, const SaveRequest& r) override
    {
        SaveDialog d(parent, r.title, r.flags);
        d.setAcceptMode(QFileDialog::AcceptSave);
        d.setFileMode(QFileDialog::AnyFile);
        d.setNameFilters(nameFilters(r.filter));
        QString ext = r.defaultExt;
        if (ext.startsWith(QLatin1Char('.')))
            ext.remove(0, 1);
        d.setDefaultSuffix(ext);
        if (!r.fileName.isEmpty())
            d.selectFile(r.fileName);
        for (;;) {
            if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
                return std::nullopt;
            // A native dialog closes without asking accept().
            if (saveNameAccepted(r.flags, d.selectedFiles().constFirst()))
                return d.selectedFiles().constFirst();
        }
    }

    bool showPrinter(QWidget* parent, int flags, const QString& title, int& copies) override;
};

// Made on first use and let go before the application goes, so that the
// printer is never torn down after the window system.
SystemPrinter& qtPrinter()
{
    static SystemPrinter* p = nullptr;
    if (!p) {
        p = new SystemPrinter();
        qAddPostRoutine([] {
            delete p;
            p = nullptr;
        });
    }
    return *p;
}

bool QtDialogs::showPrinter(QWidget* parent, int flags, const QString& title, int& copies)
{
    // The printer in use, unless that is not the system's.
    auto* sys = dynamic_cast<SystemPrinter*>(&printer());
    SystemPrinter& target = sys ? *sys : qtPrinter();
    // The dialog changes the printer's settings, which an open document
    // forbids; it opens on a printer that is there.
    target.prepareForDialog(printJobName());
    QPrintDialog d(&target.qprinter(), parent);
    if (!title.isEmpty())
        d.setWindowTitle(title);
    // Flag 4: no choice of printing a selection.
    d.setOption(QAbstractPrintDialog::PrintSelection, (flags & 4) == 0);
    if (d.exec() != QDialog::Accepted)
        return false;
    copies = target.qprinter().copyCount();
    return true;
}

class QtClipboard : public Clipboard {
public:
    void clear() override { QApplication::clipboard()->clear(); }
    void setImage(const QImage& image) override { QApplication::clipboard()->setImage(image); }
    QImage image() const override { return QApplication::clipboard()->image(); }
};

Dialogs* g_dialogs = nullptr;
Printer* g_printer = nullptr;
Clipboard* g_clipboard = nullptr;

} // namespace

Dialogs& dialogs()
{
    static QtDialogs qt;
    return g_dialogs ? *g_dialogs : qt;
}
void setDialogs(Dialogs* d) { g_dialogs = d; }

Printer& printer() { return g_printer ? *g_printer : qtPrinter(); }
void setPrinter(Printer* p) { g_printer = p; }

Clipboard& clipboard()
{
    static QtClipboard qt;
    return g_clipboard ? *g_clipboard : qt;
}
void setClipboard(Clipboard* c) { g_clipboard = c; }

// Scripted -------------------------------------------------------------------

std::optional<QString> ScriptedDialogs::showSave(QWidget*, const SaveRequest& request)
{
    saveRequests.append(request);
    return saves_.isEmpty() ? std::nullopt : saves_.takeFirst();
}

bool ScriptedDialogs::showPrinter(QWidget*, int flags, const QString& title, int& copies)
{
    printerRequests.append({flags, title});
    const int answer = printers_.isEmpty() ? 1 : printers_.takeFirst();
    if (answer <= 0)
        return false;
    copies = answer;
    return true;
}

namespace {
[[noreturn]] void noDocument() { throw RuntimeError(482, QStringLiteral("Printer error")); }
[[noreturn]] void printerError() { throw RuntimeError(482, QStringLiteral("Printer error")); }
QSizeF twipsOf(const QPageSize& size, bool landscape)
{
    const QSizeF twips = size.size(QPageSize::Millimeter) * (1440 / 25.4);
    return landscape ? twips.transposed() : twips;
}
QString g_printSource;
} // namespace

void notePrintSource(const QWidget* window)
{
    if (window)
        g_printSource = window->windowTitle().trimmed();
}

QString printJobName()
{
    const QString program = QStringLiteral("Tavrelo");
    return g_printSource.isEmpty() ? program : program + QStringLiteral(" - ") + g_printSource;
}

PrintJob::PrintJob(Printer& p, const DocSettings& settings) : printer_(p)
{
    // A document left open or waiting by anyone is not this job's to send.
    if (printer_.active() || printer_.pending())
        printer_.abortDoc();
    open_ = printer_.beginDoc(settings);
}

PrintJob::~PrintJob()
{
    if (open_ || (ended_ && printer_.pending()))
        printer_.abortDoc();
}

bool PrintJob::end()
{
    bool sent = false;
    busy_.progress();
    if (open_) {
        open_ = false;
        ended_ = true;
        sent = printer_.endDoc();
    } else if (ended_ && printer_.pending()) {
        // Again, after the printer did not take it.
        sent = printer_.endDoc();
    } else {
        return false;
    }
    busy_.release();
    return sent;
}

// The system printer --------------------------------------------------------

SystemPrinter::SystemPrinter() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    // The layout's margins are the printer's unprintable border.
    printer_->setFullPage(false);
}

SystemPrinter::~SystemPrinter() { abortDoc(); }

bool SystemPrinter::toFile() const { return printer_->outputFormat() == QPrinter::PdfFormat; }

// The printer's own page, or `paper` in its place with the printer's
// border; a file has no border.
QPageLayout SystemPrinter::layoutFor(const std::optional<Paper>& paper) const
{
    const QPageLayout own = printer_->pageLayout();
    const QPageLayout::Orientation orientation =
        paper ? (paper->landscape ? QPageLayout::Landscape : QPageLayout::Portrait) : own.orientation();
    QMarginsF border = toFile() ? QMarginsF() : own.margins();
    // Turned a quarter, the page's sides lie on the paper's other sides;
    // which way it turns is the driver's, so each side keeps the wider of
    // the two borders it may meet.
    if (orientation != own.orientation()) {
        const double across = std::max(border.top(), border.bottom());
        const double along = std::max(border.left(), border.right());
        border = QMarginsF(across, along, across, along);
    }
    QPageLayout l(paper ? paper->size : own.pageSize(), orientation, border, own.units());
    l.setMode(QPageLayout::StandardMode);
    return l;
}

PageArea SystemPrinter::page(const std::optional<Paper>& paper) const
{
    const QPageLayout l = layoutFor(paper);
    const QRectF full = l.fullRect(QPageLayout::Point);
    const QRectF paint = l.paintRect(QPageLayout::Point);
    return {full.size() * 20, QRectF(paint.topLeft() * 20, paint.size() * 20)};
}

void SystemPrinter::setCopies(int copies) { printer_->setCopyCount(copies); }

bool SystemPrinter::beginDoc(const DocSettings& settings)
{
    abortDoc();
    if (toFile()) {
        // A PDF printer without a file cannot begin; asking it would only warn.
        if (printer_->outputFileName().isEmpty())
            return false;
        // Before a page is drawn; and the printer never opens the file
        // itself, which for a FIFO would wait for a reader for ever.
        checkWritableTarget(printer_->outputFileName());
        pdfFile_ = printer_->outputFileName();
    } else {
        if (printer_->printerName().isEmpty())
            return false;
        // A printer removed, or a service stopped, since it was chosen.
        if (!QPrinterInfo::availablePrinterNames().contains(printer_->printerName()))
            printerError();
        queue_ = printer_->printerName();
    }
    title_ = settings.title.isEmpty() ? printJobName() : settings.title;
    pdfBytes_ = std::make_unique<QBuffer>();
    pdfBytes_->open(QIODevice::WriteOnly);
    pdf_ = std::make_unique<QPdfWriter>(pdfBytes_.get());
    pdf_->setResolution(printer_->resolution());
    pdf_->setPageLayout(layoutFor(settings.paper));
    pdf_->setPdfVersion(printer_->pdfVersion());
    pdf_->setTitle(title_);
    pdf_->setCreator(printer_->creator());
    auto p = std::make_unique<QPainter>();
    if (!p->begin(pdf_.get())) {
        dropFile();
        return false;
    }
    painter_ = std::move(p);
    return true;
}

void SystemPrinter::dropFile()
{
    pdf_.reset();
    pdfBytes_.reset();
    pdfFile_.clear();
}

bool SystemPrinter::active() const { return painter_ != nullptr; }

QPainter& SystemPrinter::painter()
{
    if (!painter_)
        noDocument();
    return *painter_;
}

double SystemPrinter::dpi() const { return printer_->resolution(); }

bool SystemPrinter::newPage() { return painter_ && pdf_->newPage(); }

bool SystemPrinter::endDoc()
{
    if (!painter_) {
        if (unsent_.isEmpty())
            return false;
        send();
        return true;
    }
    const bool ok = painter_->end();
    painter_.reset();
    pdf_.reset();
    const QByteArray bytes = pdfBytes_->data();
    const QString file = pdfFile_;
    dropFile();
    if (file.isEmpty()) {
        if (!ok || bytes.isEmpty())
            printerError();
        unsent_ = bytes;
        send();
        return true;
    }
    // A print to a file that did not end well says so, and the old file
    // stays as it was.
    if (!ok || bytes.isEmpty())
        throw RuntimeError(ErrPathFileAccess, QStringLiteral("Path/File access error"));
    writeFileWhole(file, bytes);
    return true;
}

// The waiting document to the service as one job, with what the dialog chose.
void SystemPrinter::send()
{
    printservice::JobOptions o;
    o.copies = printer_->copyCount();
    o.collate = printer_->collateCopies();
    switch (printer_->duplex()) {
    case QPrinter::DuplexNone: o.sides = QStringLiteral("one-sided"); break;
    case QPrinter::DuplexLongSide: o.sides = QStringLiteral("two-sided-long-edge"); break;
    case QPrinter::DuplexShortSide: o.sides = QStringLiteral("two-sided-short-edge"); break;
    case QPrinter::DuplexAuto: break;
    }
    o.monochrome = printer_->colorMode() == QPrinter::GrayScale;
    if (printer_->printRange() == QPrinter::PageRange) {
        o.fromPage = printer_->fromPage();
        o.toPage = printer_->toPage();
    }
    const printservice::JobAnswer answer = printservice::submitPdf(queue_, title_, unsent_, o);
    if (!answer.ok())
        printerError();
    unsent_.clear();
}

void SystemPrinter::abortDoc()
{
    unsent_.clear();
    if (!painter_)
        return;
    painter_->end();
    painter_.reset();
    dropFile();
}

namespace {
// A file named after the print in the user's documents folder (the home
// folder when there is none).
QString proposedPdf(const QString& title)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QDir::homePath();
    QString name = title;
    for (QChar& c : name)
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    name = name.trimmed();
    if (name.isEmpty() || name.startsWith(QLatin1Char('.')))
        name.prepend(QStringLiteral("Tavrelo"));
    return QDir(folder).filePath(name + QStringLiteral(".pdf"));
}
} // namespace

void SystemPrinter::prepareForDialog(const QString& title)
{
    abortDoc();
    const QStringList names = QPrinterInfo::availablePrinterNames();
    if (printer_->outputFormat() == QPrinter::NativeFormat && !names.contains(printer_->printerName())) {
        const QString fallback = QPrinterInfo::defaultPrinterName();
        if (!fallback.isEmpty() && names.contains(fallback))
            printer_->setPrinterName(fallback);
        else if (!names.isEmpty())
            printer_->setPrinterName(names.constFirst());
    }
    printer_->setDocName(title);
    if (names.isEmpty()) {
        const QString current = printer_->outputFileName();
        if (current.isEmpty() || QFileInfo(current).isDir())
            printer_->setOutputFileName(proposedPdf(title));
    }
}

// Pictures as pages -----------------------------------------------------------

ImagePrinter::ImagePrinter(int widthTwips, int heightTwips, double dpi, const QMarginsF& margins)
    : width_(widthTwips), height_(heightTwips), dpi_(dpi), margins_(margins)
{
}

ImagePrinter::~ImagePrinter() { delete painter_; }

PageArea ImagePrinter::page(const std::optional<Paper>& paper) const
{
    const QSizeF size = paper ? twipsOf(paper->size, paper->landscape) : QSizeF(width_, height_);
    return {size, QRectF(QPointF(margins_.left(), margins_.top()),
                         QSizeF(size.width() - margins_.left() - margins_.right(),
                                size.height() - margins_.top() - margins_.bottom()))};
}

void ImagePrinter::startPage()
{
    const double k = dpi_ / 1440;
    QImage page(int(std::lround(page_.paper.width() * k)), int(std::lround(page_.paper.height() * k)),
                QImage::Format_RGB32);
    page.setDotsPerMeterX(int(std::lround(dpi_ / 0.0254)));
    page.setDotsPerMeterY(int(std::lround(dpi_ / 0.0254)));
    page.fill(Qt::white);
    pages_.append(page);
    painter_ = new QPainter(&pages_.last());
    painter_->translate(page_.printable.topLeft() * k);
}

bool ImagePrinter::beginDoc(const DocSettings& settings)
{
    abortDoc();
    ++begun;
    settings_ = settings;
    page_ = page(settings.paper);
    startPage();
    return true;
}

QPainter& ImagePrinter::painter()
{
    if (!painter_)
        noDocument();
    return *painter_;
}

bool ImagePrinter::newPage()
{
    if (!painter_)
        return false;
    painter_->end();
    delete painter_;
    startPage();
    return true;
}

bool ImagePrinter::endDoc()
{
    if (!painter_)
        return false;
    painter_->end();
    delete painter_;
    painter_ = nullptr;
    documents.append(pages_);
    sentSettings.append(settings_);
    pages_.clear();
    return true;
}

void ImagePrinter::abortDoc()
{
    if (!painter_)
        return;
    painter_->end();
    delete painter_;
    painter_ = nullptr;
    pages_.clear();
}

} // namespace tav
