#pragma once
// What printing, saving and copying need of the desktop, behind small
// interfaces: the file-save and printer dialogs, the printer, the clipboard.
// The program uses the Qt implementations; tests install the scripted ones
// below so that no real dialog opens and nothing reaches a real printer.

#include "platform/busy.h"

#include <QImage>
#include <QList>
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

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The chosen full name, or nothing when cancelled.
    virtual std::optional<QString> showSave(QWidget* parent, const SaveRequest& request) = 0;
    // The printer dialog (flags 64: printer set-up); false when cancelled.
    // `copies` gives back the number of copies chosen.
    virtual bool showPrinter(QWidget* parent, int flags, const QString& title, int& copies) = 0;
};

Dialogs& dialogs();
void setDialogs(Dialogs* d); // not owned; nullptr restores the Qt dialogs

// The printer: one document at a time, drawn in the printer's dots from the
// paper's top-left corner. A document is begun, drawn page after page and
// then ended or aborted; between documents the printer is idle. PrintJob
// below keeps that order whatever happens in between.
class Printer {
public:
    virtual ~Printer() = default;
    // The paper of the next document, in twips, in its orientation.
    virtual int pageWidthTwips() const = 0;
    virtual int pageHeightTwips() const = 0;
    virtual void setCopies(int copies) = 0;
    // The paper in mm, the smaller side first, and its orientation, for the
    // documents to come; ignored while a document is open.
    virtual void setPaper(double widthMm, double heightMm, bool landscape) = 0;
    // Opens a document; false when the printer cannot start one.
    virtual bool beginDoc() = 0;
    virtual bool active() const = 0;
    // The painter of the open document; raises when none is open.
    virtual QPainter& painter() = 0;
    virtual double dpi() const = 0;
    virtual bool newPage() = 0;
    // Sends the document; false when it could not be printed.
    virtual bool endDoc() = 0;
    // Drops the open document, if any.
    virtual void abortDoc() = 0;
};

// One document on a printer: begun when made, aborted when it goes without
// having been ended, so that no painter outlives its job.
class PrintJob {
public:
    explicit PrintJob(Printer& p);
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
    bool end();

private:
    Printer& printer_;
    bool open_ = false;
    BusyCursor busy_; // declared last: restored after the document is dropped
};

// The system's printer (a PDF file when told so). A PDF is drawn in memory
// and goes to its file through the program's file writer when the document
// ends well: a target that may not be written raises "Path/File access
// error" before anything is drawn, a failed write raises it at the end, and
// in either case the old file stays whole.
class SystemPrinter : public Printer {
public:
    SystemPrinter();
    ~SystemPrinter() override;
    int pageWidthTwips() const override;
    int pageHeightTwips() const override;
    void setCopies(int copies) override;
    void setPaper(double widthMm, double heightMm, bool landscape) override;
    bool beginDoc() override;
    bool active() const override;
    QPainter& painter() override;
    double dpi() const override;
    bool newPage() override;
    bool endDoc() override;
    void abortDoc() override;
    QPrinter& qprinter() { return *printer_; }

private:
    QPaintDevice& device();
    void dropFile();
    std::unique_ptr<QPrinter> printer_;
    // The document drawn for a file, and that file's name.
    std::unique_ptr<QBuffer> pdfBytes_;
    std::unique_ptr<QPdfWriter> pdf_;
    QString pdfFile_;
    std::unique_ptr<QPainter> painter_;
};

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
    bool showPrinter(QWidget* parent, int flags, const QString& title, int& copies) override;

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

// A printer whose pages are images, 96 dots per inch unless told.
class ImagePrinter : public Printer {
public:
    explicit ImagePrinter(int widthTwips = 11906, int heightTwips = 16838, double dpi = 96);
    ~ImagePrinter() override;
    int pageWidthTwips() const override { return width_; }
    int pageHeightTwips() const override { return height_; }
    void setCopies(int copies) override { copies_ = copies; }
    void setPaper(double widthMm, double heightMm, bool landscape) override;
    bool beginDoc() override;
    bool active() const override { return painter_ != nullptr; }
    QPainter& painter() override;
    double dpi() const override { return dpi_; }
    bool newPage() override;
    bool endDoc() override;
    void abortDoc() override;

    int copies() const { return copies_; }
    bool open() const { return painter_ != nullptr; }
    // Every document sent, each its pages' images.
    QList<QList<QImage>> documents;
    // Documents begun, whether sent or dropped.
    int begun = 0;

private:
    void startPage();
    int width_, height_;
    double dpi_;
    int copies_ = 1;
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
