#pragma once
// What printing, saving and copying need of the desktop, behind small
// interfaces: the file-save and printer dialogs, the printer, the clipboard.
// The program uses the Qt implementations; tests install the scripted ones
// below so that no real dialog opens and nothing reaches a real printer.

#include "platform/busy.h"
#include "platform/printservice.h"

#include <QImage>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QString>
#include <memory>
#include <optional>

class QBuffer;
class QPainter;
class QPdfWriter;
class QPaintDevice;
class QPrinter;
class QWidget;

namespace tav {

// Error numbers of the file operations.
enum FileErrorNumber : int {
    ErrBadFileNumber = 52,
    ErrFileNotFound = 53,
    ErrPathFileAccess = 75,
    ErrInvalidPicture = 481,
};

// The properties a Save command sets before it shows the dialog.
struct SaveRequest {
    QString title;
    QString filter;     // "Description|*.ext|All files(*.*)|*.*"
    QString defaultExt; // ".doc"
    int flags = 0;
    QString fileName;   // proposed in the name field
};

// What a printer dialog chose for one print. It is that print's alone:
// the next print, from any window, starts from the printer's defaults.
struct PrintChoice {
    int copies = 1;
    // A PDF file to print to; empty: a printer.
    QString file;
    // The platform dialog's own printer, with the printer, paper, pages,
    // colour and sides chosen; none: the current printer's defaults.
    std::shared_ptr<QPrinter> printer;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The chosen full name, or nothing when cancelled.
    virtual std::optional<QString> showSave(QWidget* parent, const SaveRequest& request) = 0;
    // The printer dialog (flags 64: printer set-up); false when cancelled.
    // `choice` gives back what was chosen, the number of copies among it.
    virtual bool showPrinter(QWidget* parent, int flags, const QString& title, PrintChoice& choice) = 0;
};

Dialogs& dialogs();
void setDialogs(Dialogs* d); // not owned; nullptr restores the Qt dialogs

// The paper of one document: a page size and its orientation.
struct Paper {
    QPageSize size;
    bool landscape = false;
};

// A page of the printer, in twips: the paper in its orientation, and the
// part of it that the printer can print, from the paper's top-left corner.
struct PageArea {
    QSizeF paper;
    QRectF printable;
};

// What a document is sent with: its own paper (the printer's own when
// none), the name it carries in the print queue, and what its window's
// printer dialog chose (the current printer's defaults when none).
struct DocSettings {
    std::optional<Paper> paper;
    QString title;
    std::optional<PrintChoice> choice;
};

// The printer: one document at a time, drawn in the printer's dots from the
// printable area's top-left corner. A document is begun, drawn page after
// page and then ended or aborted; between documents the printer is idle.
// PrintJob below keeps that order whatever happens in between. A failure
// the printer can name raises "Printer error" (a file that may not be
// written, "Path/File access error"); begin and end return false for one it
// cannot.
class Printer {
public:
    virtual ~Printer() = default;
    // The page a document with these settings prints on.
    virtual PageArea page(const DocSettings& settings = {}) const = 0;
    int pageWidthTwips() const { return int(page().paper.width()); }
    int pageHeightTwips() const { return int(page().paper.height()); }
    // Learns the current printer's defaults (its orientation, its colour)
    // from the print service, before a print command lays out its pages.
    virtual void refresh() {}
    // Opens a document; false when the printer cannot start one.
    virtual bool beginDoc(const DocSettings& settings = {}) = 0;
    virtual bool active() const = 0;
    // The painter of the open document; raises when none is open.
    virtual QPainter& painter() = 0;
    virtual double dpi() const = 0;
    virtual bool newPage() = 0;
    // Sends the document; false when it could not be printed. A document
    // that was finished but not taken is kept: ending again sends it again.
    virtual bool endDoc() = 0;
    // A finished document waits to be sent again.
    virtual bool pending() const { return false; }
    // Drops the open or waiting document, if any.
    virtual void abortDoc() = 0;
};

// One document on a printer: begun when made, aborted when it goes without
// having been sent, so that no painter outlives its job and no document
// that failed is sent later by another.
class PrintJob {
public:
    explicit PrintJob(Printer& p, const DocSettings& settings = {});
    ~PrintJob();
    PrintJob(const PrintJob&) = delete;
    PrintJob& operator=(const PrintJob&) = delete;
    bool ok() const { return open_; }
    QPainter& painter()
    {
        busy_.progress();
        return printer_.painter();
    }
    bool newPage()
    {
        busy_.progress();
        return open_ && printer_.newPage();
    }
    // Sends the document; after a failure, sends it again.
    bool end();

private:
    Printer& printer_;
    bool open_ = false;
    bool ended_ = false;
    BusyCursor busy_; // declared last: restored after the document is dropped
};

// The system's printer: the current print queue with its defaults (a PDF
// file when a test sets one). Every document is drawn as a PDF in memory.
// A PDF file goes to its file through the program's file writer when the
// document ends well: a target that may not be written raises "Path/File
// access error" before anything is drawn, a failed write raises it at the
// end, and in either case the old file stays whole. A printer's document
// goes to the print service as one job, whose answer is checked: a printer
// that is gone, a queue that refuses jobs or a service that is down or does
// not answer in time raise "Printer error", and no part of the job is
// printed. Every call to the service has a bounded wait, while the windows
// repaint.
//
// What a print dialog chooses (a file, a page range, copies, another
// paper) is that print's own and travels in its DocSettings; only the
// printer chosen stays, as the current printer.
class SystemPrinter : public Printer {
public:
    SystemPrinter();
    ~SystemPrinter() override;
    PageArea page(const DocSettings& settings = {}) const override;
    void refresh() override;
    bool beginDoc(const DocSettings& settings = {}) override;
    bool active() const override;
    QPainter& painter() override;
    double dpi() const override;
    bool newPage() override;
    bool endDoc() override;
    bool pending() const override { return !unsent_.isEmpty(); }
    void abortDoc() override;
    // The current printer.
    QPrinter& qprinter() { return *printer_; }
    // The printer a print dialog opens on, of that dialog's own: the
    // current printer with its defaults (one that is gone gives way to the
    // system's default), or, with no printer at all, a print to a file
    // named after `title` in the user's documents folder. `answered` says
    // whether the service answered; where it did not, the dialog must not
    // ask it (QtWithoutService).
    std::shared_ptr<QPrinter> dialogPrinter(const QString& title, bool* answered);
    // The printer chosen in a dialog is the current printer from now on.
    void choose(const QString& queue) { chosen_ = queue; }

private:
    // What the service says of the current printer, which takes its
    // defaults; none when there is no printer to ask about.
    std::optional<printservice::Survey> learn();
    const QPrinter& source(const DocSettings& settings) const;
    QString fileOf(const DocSettings& settings) const;
    bool toFile(const DocSettings& settings) const;
    QPageLayout layoutFor(const QPrinter& source, const std::optional<Paper>& paper, bool toFile) const;
    void apply(const QString& queue, const printservice::Survey& survey);
    void dropFile();
    void send();
    std::unique_ptr<QPrinter> printer_;
    // The queue chosen in a dialog: it takes the printer's place at the
    // next refresh, once the service has answered.
    QString chosen_;
    // The document being drawn, and where it goes.
    std::unique_ptr<QBuffer> pdfBytes_;
    std::unique_ptr<QPdfWriter> pdf_;
    QString pdfFile_;
    QString docQueue_;
    QString title_;
    double docDpi_ = 0;
    int pages_ = 0;
    printservice::JobOptions options_;
    std::unique_ptr<QPainter> painter_;
    // A printer's document that the service did not take.
    QByteArray unsent_;
};

// A print waits for the print service: a second print, or a printer
// dialog, is not started meanwhile.
bool printerWaiting();

// A Print command of `window` begins: its caption names the jobs that
// follow (the program's name, and the caption of the window whose Print
// command made the picture or table), and the printer learns its defaults.
void preparePrint(const QWidget* window);
QString printJobName();

Printer& printer();
void setPrinter(Printer* p); // not owned; nullptr restores the system printer

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual void setImage(const QImage& image) = 0;
    // The picture held, null when the clipboard holds none.
    virtual QImage image() const = 0;
};

Clipboard& clipboard();
void setClipboard(Clipboard* c); // not owned; nullptr restores the system clipboard

// Scripted dialogs: records every request and answers from queues. An
// empty save queue cancels; an empty printer queue accepts with one copy.
class ScriptedDialogs : public Dialogs {
public:
    std::optional<QString> showSave(QWidget* parent, const SaveRequest& request) override;
    bool showPrinter(QWidget* parent, int flags, const QString& title, PrintChoice& choice) override;

    void answerSave(const std::optional<QString>& name) { saves_.append(name); }
    // copies 0 cancels the printer dialog.
    void answerPrinter(int copies) { printers_.append(copies); }

    QList<SaveRequest> saveRequests;
    struct PrinterRequest {
        int flags;
        QString title;
    };
    QList<PrinterRequest> printerRequests;

private:
    QList<std::optional<QString>> saves_;
    QList<int> printers_;
};

// A printer whose pages are images of the whole paper, 96 dots per inch
// unless told; `margins` (twips) leave a border that it does not print, and
// the painter starts at the printable area's corner, as a real printer's.
class ImagePrinter : public Printer {
public:
    explicit ImagePrinter(int widthTwips = 11906, int heightTwips = 16838, double dpi = 96,
                          const QMarginsF& margins = {});
    ~ImagePrinter() override;
    PageArea page(const DocSettings& settings = {}) const override;
    bool beginDoc(const DocSettings& settings = {}) override;
    bool active() const override { return painter_ != nullptr; }
    QPainter& painter() override;
    double dpi() const override { return dpi_; }
    bool newPage() override;
    bool endDoc() override;
    void abortDoc() override;

    // The copies of the document begun last.
    int copies() const { return settings_.choice ? settings_.choice->copies : 1; }
    bool open() const { return painter_ != nullptr; }
    // Every document sent, each its pages' images, and its settings.
    QList<QList<QImage>> documents;
    QList<DocSettings> sentSettings;
    // Documents begun, whether sent or dropped.
    int begun = 0;

private:
    void startPage();
    int width_, height_;
    double dpi_;
    QMarginsF margins_;
    PageArea page_;
    DocSettings settings_;
    QList<QImage> pages_;
    QPainter* painter_ = nullptr;
};

class MemoryClipboard : public Clipboard {
public:
    void clear() override { image_ = QImage(); ++clears; }
    void setImage(const QImage& image) override { image_ = image; }
    QImage image() const override { return image_; }
    int clears = 0;

private:
    QImage image_;
};

// The parts of a dialog filter ("Text (.txt)|*.txt|All files(*.*)|*.*") as
// name filters of the platform dialog: "Text (.txt) (*.txt)", ...
QStringList nameFilters(const QString& filter);

} // namespace tav
