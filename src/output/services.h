#pragma once
// What printing, saving and copying need of the desktop, behind small
// interfaces: the file-save and printer dialogs, the printer, the clipboard.
// The program uses the Qt implementations; tests install the scripted ones
// below so that no real dialog opens and nothing reaches a real printer.

#include <QImage>
#include <QList>
#include <QString>
#include <optional>

class QPainter;
class QPaintDevice;
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

// The printer: one document at a time, drawn in twips from the page's
// top-left corner; the document starts at the first drawing.
class Printer {
public:
    virtual ~Printer() = default;
    virtual int pageWidthTwips() const = 0;
    virtual int pageHeightTwips() const = 0;
    virtual void setCopies(int copies) = 0;
    // The painter of the open document (opened on first use) and the
    // device's resolution.
    virtual QPainter& painter() = 0;
    virtual double dpi() const = 0;
    // Sends the document; false when it could not be printed.
    virtual bool endDoc() = 0;
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

// A printer whose pages are images at 96 dots per inch.
class ImagePrinter : public Printer {
public:
    explicit ImagePrinter(int widthTwips = 11906, int heightTwips = 16838);
    ~ImagePrinter() override;
    int pageWidthTwips() const override { return width_; }
    int pageHeightTwips() const override { return height_; }
    void setCopies(int copies) override { copies_ = copies; }
    QPainter& painter() override;
    double dpi() const override { return 96.0; }
    bool endDoc() override;

    int copies() const { return copies_; }
    bool open() const { return painter_ != nullptr; }
    // Every document sent, each the image of its page.
    QList<QImage> documents;

private:
    int width_, height_;
    int copies_ = 1;
    QImage page_;
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
