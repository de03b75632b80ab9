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
#include <QPrintEngine>
#include <QPrinter>
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

// The platform's print dialog. As it closes, Qt asks the print service
// again, on this thread and with no limit, for what it already holds: a
// service stopped meanwhile would freeze the program there. It is not asked
// then; the print's own calls to the service have their limits.
class PrintDialog : public QPrintDialog {
public:
    using QPrintDialog::QPrintDialog;
    void accept() override
    {
        printservice::QtWithoutService closing;
        QPrintDialog::accept();
    }
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

    bool showPrinter(QWidget* parent, int flags, const QString& title, PrintChoice& choice) override;
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

bool QtDialogs::showPrinter(QWidget* parent, int flags, const QString& title, PrintChoice& choice)
{
    // The printer in use, unless that is not the system's.
    auto* sys = dynamic_cast<SystemPrinter*>(&printer());
    SystemPrinter& target = sys ? *sys : qtPrinter();
    // A printer of the dialog's own: what it chooses is this print's alone.
    bool answered = false;
    const std::shared_ptr<QPrinter> chosen = target.dialogPrinter(printJobName(), &answered);
    // Qt's dialog asks the service itself, with no limit: not one that did
    // not answer just now.
    printservice::QtWithoutService unanswered(!answered);
    PrintDialog d(chosen.get(), parent);
    if (!title.isEmpty())
        d.setWindowTitle(title);
    // Flag 4: no choice of printing a selection.
    d.setOption(QAbstractPrintDialog::PrintSelection, (flags & 4) == 0);
    if (d.exec() != QDialog::Accepted)
        return false;
    choice.copies = chosen->copyCount();
    choice.printer = chosen;
    choice.file = chosen->outputFormat() == QPrinter::PdfFormat ? chosen->outputFileName() : QString();
    if (chosen->outputFormat() == QPrinter::NativeFormat && !chosen->printerName().isEmpty())
        target.choose(chosen->printerName());
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

bool ScriptedDialogs::showPrinter(QWidget*, int flags, const QString& title, PrintChoice& choice)
{
    printerRequests.append({flags, title});
    const int answer = printers_.isEmpty() ? 1 : printers_.takeFirst();
    if (answer <= 0)
        return false;
    choice.copies = answer;
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

void preparePrint(const QWidget* window)
{
    if (window)
        g_printSource = window->windowTitle().trimmed();
    printer().refresh();
}

bool printerWaiting() { return printservice::waiting(); }

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

namespace {
// What the dialog's printer properties chose of the driver's own options
// (a colour model, a tray, pages per sheet): Qt keeps them, as name and
// value after each other, in a property of its print engine.
QList<QPair<QByteArray, QByteArray>> driverOptions(const QPrinter& p)
{
    constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);
    const QStringList list = p.printEngine() ? p.printEngine()->property(kCupsOptions).toStringList() : QStringList();
    QList<QPair<QByteArray, QByteArray>> out;
    for (qsizetype i = 0; i + 1 < list.size(); i += 2)
        if (!list[i].isEmpty() && !list[i + 1].isEmpty())
            out.append({list[i].toUtf8(), list[i + 1].toUtf8()});
    return out;
}

// A printer told to print to a file (tests): it has no queue to ask about.
bool isFilePrinter(const QPrinter& p)
{
    return p.outputFormat() == QPrinter::PdfFormat && !p.outputFileName().isEmpty();
}

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

SystemPrinter::SystemPrinter()
{
    // Qt's printer would ask the service for its default as it is made,
    // with no limit: the printer takes its queue at the first refresh.
    {
        printservice::QtWithoutService notYet;
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    // The layout's margins are the printer's unprintable border.
    printer_->setFullPage(false);
}

SystemPrinter::~SystemPrinter() { abortDoc(); }

// The current printer takes `queue` with its defaults; the service has
// just answered `survey`.
void SystemPrinter::apply(const QString& queue, const printservice::Survey& survey)
{
    if (queue.isEmpty() || !survey.has(queue))
        return;
    if (printer_->printerName() != queue || printer_->outputFormat() != QPrinter::NativeFormat)
        printer_->setPrinterName(queue);
    if (printer_->printerName() == queue)
        chosen_.clear();
    if (survey.defaults.contains(queue)) {
        const printservice::QueueDefaults d = survey.defaultsOf(queue);
        printer_->setPageOrientation(d.landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        printer_->setColorMode(d.colour ? QPrinter::Color : QPrinter::GrayScale);
    }
}

std::optional<printservice::Survey> SystemPrinter::learn()
{
    if (active() || isFilePrinter(*printer_))
        return std::nullopt;
    const QString wanted = chosen_.isEmpty() ? printer_->printerName() : chosen_;
    const printservice::Survey survey = printservice::survey(wanted);
    // A printer that has gone stays chosen: a print to it says so.
    if (survey.answered)
        apply(wanted.isEmpty() ? survey.defaultQueue : wanted, survey);
    return survey;
}

void SystemPrinter::refresh() { learn(); }

std::shared_ptr<QPrinter> SystemPrinter::dialogPrinter(const QString& title, bool* answered)
{
    abortDoc();
    const QString wanted = chosen_.isEmpty() ? printer_->printerName() : chosen_;
    const printservice::Survey survey = printservice::survey(wanted);
    *answered = survey.answered;
    std::shared_ptr<QPrinter> p;
    {
        printservice::QtWithoutService unanswered(!survey.answered);
        p = std::make_shared<QPrinter>(QPrinter::HighResolution);
    }
    p->setFullPage(false);
    p->setDocName(title);
    if (isFilePrinter(*printer_)) {
        p->setOutputFileName(printer_->outputFileName());
        return p;
    }
    QString queue;
    if (survey.answered) {
        // A printer that is gone gives way to the system's default.
        queue = survey.has(wanted) ? wanted : survey.has(survey.defaultQueue) ? survey.defaultQueue
                                          : survey.queues.value(0);
        if (!queue.isEmpty()) {
            apply(queue, survey);
            p->setPrinterName(printer_->printerName());
            p->setPageOrientation(printer_->pageLayout().orientation());
            p->setColorMode(printer_->colorMode());
        }
    }
    if (queue.isEmpty() || p->outputFormat() != QPrinter::NativeFormat) {
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setOutputFileName(proposedPdf(title));
    }
    return p;
}

const QPrinter& SystemPrinter::source(const DocSettings& s) const
{
    return s.choice && s.choice->printer ? *s.choice->printer : *printer_;
}

// The file a document goes to; empty for a printer.
QString SystemPrinter::fileOf(const DocSettings& s) const
{
    if (s.choice && !s.choice->file.isEmpty())
        return s.choice->file;
    const QPrinter& p = source(s);
    return p.outputFormat() == QPrinter::PdfFormat ? p.outputFileName() : QString();
}

// The page of `source`, or `paper` in its place with the printer's
// border; a file has no border.
QPageLayout SystemPrinter::layoutFor(const QPrinter& source, const std::optional<Paper>& paper, bool toFile) const
{
    const QPageLayout own = source.pageLayout();
    const QPageLayout::Orientation orientation =
        paper ? (paper->landscape ? QPageLayout::Landscape : QPageLayout::Portrait) : own.orientation();
    QMarginsF border = toFile ? QMarginsF() : own.margins();
    // Turned a quarter, the page's sides lie on the paper's other sides;
    // which way it turns is the driver's, so each side keeps the wider of
    // the two borders it may meet. The driver gives its borders for the
    // paper upright.
    if (orientation != own.orientation() || orientation == QPageLayout::Landscape) {
        const double across = std::max(border.top(), border.bottom());
        const double along = std::max(border.left(), border.right());
        border = QMarginsF(across, along, across, along);
    }
    QPageLayout l(paper ? paper->size : own.pageSize(), orientation, border, own.units());
    l.setMode(QPageLayout::StandardMode);
    return l;
}

bool SystemPrinter::toFile(const DocSettings& s) const
{
    return !fileOf(s).isEmpty() || source(s).outputFormat() == QPrinter::PdfFormat;
}

PageArea SystemPrinter::page(const DocSettings& settings) const
{
    const QPageLayout l = layoutFor(source(settings), settings.paper, toFile(settings));
    const QRectF full = l.fullRect(QPageLayout::Point);
    const QRectF paint = l.paintRect(QPageLayout::Point);
    return {full.size() * 20, QRectF(paint.topLeft() * 20, paint.size() * 20)};
}

bool SystemPrinter::beginDoc(const DocSettings& settings)
{
    abortDoc();
    const QString file = fileOf(settings);
    const bool toFile = this->toFile(settings);
    printservice::QueueDefaults queue;
    if (toFile) {
        // A PDF printer without a file cannot begin; asking it would only warn.
        if (file.isEmpty())
            return false;
        // Before a page is drawn; and the printer never opens the file
        // itself, which for a FIFO would wait for a reader for ever.
        checkWritableTarget(file);
        pdfFile_ = file;
    } else {
        // The current printer's defaults, as the service has them now.
        std::optional<printservice::Survey> survey;
        if (!settings.choice)
            survey = learn();
        docQueue_ = source(settings).printerName();
        if (docQueue_.isEmpty())
            return false;
        // Asked again where the printer asked about was another.
        if (!survey || (survey->has(docQueue_) && !survey->defaults.contains(docQueue_)))
            survey = printservice::survey(docQueue_);
        // A printer removed, or a service stopped, since it was chosen.
        if (!survey->answered || !survey->has(docQueue_))
            printerError();
        queue = survey->defaultsOf(docQueue_);
    }
    const QPrinter& from = source(settings);
    const QPageLayout layout = layoutFor(from, settings.paper, toFile);
    // What this print is sent with: its dialog's choice, or the printer's
    // defaults; nothing of it stays for the next print.
    options_ = {};
    options_.copies = settings.choice ? std::max(1, settings.choice->copies) : 1;
    options_.collate = from.collateCopies();
    switch (from.duplex()) {
    case QPrinter::DuplexNone: options_.sides = QStringLiteral("one-sided"); break;
    case QPrinter::DuplexLongSide: options_.sides = QStringLiteral("two-sided-long-edge"); break;
    case QPrinter::DuplexShortSide: options_.sides = QStringLiteral("two-sided-short-edge"); break;
    case QPrinter::DuplexAuto: break;
    }
    options_.monochrome = from.colorMode() == QPrinter::GrayScale;
    options_.colour = !options_.monochrome && queue.colourCapable;
    const QSizeF paperSize = layout.fullRect(QPageLayout::Point).size();
    options_.landscape = paperSize.width() > paperSize.height();
    if (settings.choice && settings.choice->printer) {
        if (from.printRange() == QPrinter::PageRange) {
            options_.fromPage = from.fromPage();
            options_.toPage = from.toPage();
        }
        options_.driver = driverOptions(from);
    }
    title_ = settings.title.isEmpty() ? printJobName() : settings.title;
    docDpi_ = from.resolution();
    pages_ = 1;
    pdfBytes_ = std::make_unique<QBuffer>();
    pdfBytes_->open(QIODevice::WriteOnly);
    pdf_ = std::make_unique<QPdfWriter>(pdfBytes_.get());
    pdf_->setResolution(int(docDpi_));
    pdf_->setPageLayout(layout);
    pdf_->setPdfVersion(from.pdfVersion());
    pdf_->setTitle(title_);
    pdf_->setCreator(from.creator());
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

double SystemPrinter::dpi() const { return painter_ ? docDpi_ : printer_->resolution(); }

bool SystemPrinter::newPage()
{
    if (!painter_ || !pdf_->newPage())
        return false;
    ++pages_;
    return true;
}

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

// The waiting document to the service as one job, with what was chosen
// for it.
void SystemPrinter::send()
{
    printservice::JobOptions o = options_;
    // Pages asked for that the document does not have: nothing to print is
    // no print.
    if (o.fromPage > pages_)
        printerError();
    if (o.toPage > pages_)
        o.toPage = pages_;
    const printservice::JobAnswer answer = printservice::submitPdf(docQueue_, title_, unsent_, o);
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

// Pictures as pages -----------------------------------------------------------

ImagePrinter::ImagePrinter(int widthTwips, int heightTwips, double dpi, const QMarginsF& margins)
    : width_(widthTwips), height_(heightTwips), dpi_(dpi), margins_(margins)
{
}

ImagePrinter::~ImagePrinter() { delete painter_; }

PageArea ImagePrinter::page(const DocSettings& settings) const
{
    const std::optional<Paper>& paper = settings.paper;
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
    page_ = page(settings);
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
