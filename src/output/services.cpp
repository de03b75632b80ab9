#include "output/services.h"

#include "output/saving.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
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

class QtPrinter : public Printer {
public:
    QtPrinter() : printer_(QPrinter::HighResolution) {}
    ~QtPrinter() override
    {
        if (painter_)
            painter_->end();
    }
    int pageWidthTwips() const override
    {
        return int(printer_.pageLayout().fullRectPoints().width() * 20);
    }
    int pageHeightTwips() const override
    {
        return int(printer_.pageLayout().fullRectPoints().height() * 20);
    }
    void setCopies(int copies) override { printer_.setCopyCount(copies); }
    QPainter& painter() override
    {
        if (!painter_) {
            painter_ = std::make_unique<QPainter>();
            painter_->begin(&printer_);
        }
        return *painter_;
    }
    double dpi() const override { return printer_.resolution(); }
    bool endDoc() override
    {
        if (!painter_)
            return true;
        const bool ok = painter_->isActive() && painter_->end();
        painter_.reset();
        return ok;
    }
    QPrinter& qprinter() { return printer_; }

private:
    QPrinter printer_;
    std::unique_ptr<QPainter> painter_;
};

// Made on first use and let go before the application goes, so that the
// printer is never torn down after the window system.
QtPrinter& qtPrinter()
{
    static QtPrinter* p = nullptr;
    if (!p) {
        p = new QtPrinter();
        qAddPostRoutine([] {
            delete p;
            p = nullptr;
        });
    }
    return *p;
}

bool QtDialogs::showPrinter(QWidget* parent, int flags, const QString& title, int& copies)
{
    QPrintDialog d(&qtPrinter().qprinter(), parent);
    if (!title.isEmpty())
        d.setWindowTitle(title);
    // Flag 4: no choice of printing a selection.
    d.setOption(QAbstractPrintDialog::PrintSelection, (flags & 4) == 0);
    if (d.exec() != QDialog::Accepted)
        return false;
    copies = qtPrinter().qprinter().copyCount();
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

ImagePrinter::ImagePrinter(int widthTwips, int heightTwips) : width_(widthTwips), height_(heightTwips) {}

ImagePrinter::~ImagePrinter() { delete painter_; }

QPainter& ImagePrinter::painter()
{
    if (!painter_) {
        page_ = QImage(width_ / 15, height_ / 15, QImage::Format_RGB32);
        page_.setDotsPerMeterX(3780);
        page_.setDotsPerMeterY(3780);
        page_.fill(Qt::white);
        painter_ = new QPainter(&page_);
    }
    return *painter_;
}

bool ImagePrinter::endDoc()
{
    if (!painter_)
        painter();
    painter_->end();
    delete painter_;
    painter_ = nullptr;
    documents.append(page_);
    page_ = QImage();
    return true;
}

} // namespace tav
