#include "output/services.h"

#include "common/runtime.h"
#include "common/safefile.h"
#include "output/saving.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFileDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
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
    // The dialog changes the printer's settings, which an open document forbids.
    target.abortDoc();
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
int mmToTwips(double mm) { return int(std::lround(mm * 1440.0 / 25.4)); }
} // namespace

PrintJob::PrintJob(Printer& p) : printer_(p)
{
    // A document left open by anyone is not this job's to draw on.
    if (printer_.active())
        printer_.abortDoc();
    open_ = printer_.beginDoc();
}

PrintJob::~PrintJob()
{
    if (open_)
        printer_.abortDoc();
}

bool PrintJob::end()
{
    if (!open_)
        return false;
    open_ = false;
    busy_.progress();
    const bool sent = printer_.endDoc();
    busy_.release();
    return sent;
}

// The system printer --------------------------------------------------------

SystemPrinter::SystemPrinter() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    // Drawn from the paper's corner, as the preview's sheet is.
    printer_->setFullPage(true);
}

SystemPrinter::~SystemPrinter() { abortDoc(); }

int SystemPrinter::pageWidthTwips() const { return int(printer_->pageLayout().fullRectPoints().width() * 20); }

int SystemPrinter::pageHeightTwips() const { return int(printer_->pageLayout().fullRectPoints().height() * 20); }

void SystemPrinter::setCopies(int copies) { printer_->setCopyCount(copies); }

void SystemPrinter::setPaper(double widthMm, double heightMm, bool landscape)
{
    if (active() || !(widthMm > 0) || !(heightMm > 0))
        return;
    printer_->setPageSize(QPageSize(QSizeF(widthMm, heightMm), QPageSize::Millimeter, QString(),
                                    QPageSize::ExactMatch));
    printer_->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer_->setFullPage(true);
}

bool SystemPrinter::beginDoc()
{
    abortDoc();
    const bool pdf = printer_->outputFormat() == QPrinter::PdfFormat;
    // A PDF printer without a file cannot begin; asking it would only warn.
    if (pdf && printer_->outputFileName().isEmpty())
        return false;
    if (printer_->outputFormat() == QPrinter::NativeFormat && printer_->printerName().isEmpty())
        return false;
    if (pdf) {
        // Before a page is drawn; and the printer never opens the file
        // itself, which for a FIFO would wait for a reader for ever.
        checkWritableTarget(printer_->outputFileName());
        pdfFile_ = printer_->outputFileName();
        pdfBytes_ = std::make_unique<QBuffer>();
        pdfBytes_->open(QIODevice::WriteOnly);
        pdf_ = std::make_unique<QPdfWriter>(pdfBytes_.get());
        pdf_->setResolution(printer_->resolution());
        pdf_->setPageLayout(printer_->pageLayout());
        pdf_->setPdfVersion(printer_->pdfVersion());
        pdf_->setTitle(printer_->docName());
        pdf_->setCreator(printer_->creator());
    }
    auto p = std::make_unique<QPainter>();
    if (!p->begin(&device())) {
        dropFile();
        return false;
    }
    painter_ = std::move(p);
    return true;
}

QPaintDevice& SystemPrinter::device()
{
    if (pdf_)
        return *pdf_;
    return *printer_;
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

bool SystemPrinter::newPage() { return painter_ && (pdf_ ? pdf_->newPage() : printer_->newPage()); }

bool SystemPrinter::endDoc()
{
    if (!painter_)
        return false;
    const bool ok = painter_->end();
    painter_.reset();
    if (!pdf_)
        return ok;
    pdf_.reset();
    const QByteArray bytes = pdfBytes_->data();
    const QString file = pdfFile_;
    dropFile();
    // A print to a file that did not end well says so, and the old file
    // stays as it was.
    if (!ok || bytes.isEmpty())
        throw RuntimeError(ErrPathFileAccess, QStringLiteral("Path/File access error"));
    writeFileWhole(file, bytes);
    return true;
}

void SystemPrinter::abortDoc()
{
    if (!painter_)
        return;
    if (!pdf_)
        printer_->abort();
    painter_->end();
    painter_.reset();
    dropFile();
}

// Pictures as pages -----------------------------------------------------------

ImagePrinter::ImagePrinter(int widthTwips, int heightTwips, double dpi)
    : width_(widthTwips), height_(heightTwips), dpi_(dpi)
{
}

ImagePrinter::~ImagePrinter() { delete painter_; }

void ImagePrinter::setPaper(double widthMm, double heightMm, bool landscape)
{
    if (painter_ || !(widthMm > 0) || !(heightMm > 0))
        return;
    width_ = mmToTwips(landscape ? heightMm : widthMm);
    height_ = mmToTwips(landscape ? widthMm : heightMm);
}

void ImagePrinter::startPage()
{
    QImage page(int(std::lround(width_ * dpi_ / 1440)), int(std::lround(height_ * dpi_ / 1440)),
                QImage::Format_RGB32);
    page.setDotsPerMeterX(int(std::lround(dpi_ / 0.0254)));
    page.setDotsPerMeterY(int(std::lround(dpi_ / 0.0254)));
    page.fill(Qt::white);
    pages_.append(page);
    painter_ = new QPainter(&pages_.last());
}

bool ImagePrinter::beginDoc()
{
    abortDoc();
    ++begun;
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
