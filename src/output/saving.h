#pragma once
// Saving to files the user names: the Save dialog every Save command asks
// through, the page text files of the topic pages, a grid as tab-separated
// text and a chart as a bitmap.

#include "common/safefile.h"
#include "platform/busy.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace tav {

class ErrorHandler;
class Form;
class Grid;

// The filters and default extensions in use.
extern const QString kDocFilter;
extern const QString kTextFilter;
extern const QString kBitmapFilter;
extern const QString kReportFilter;
constexpr int kSaveFlags = 2100230;

// Asks for a file name in `frm`'s dialog: title "Save", the filter and the
// default extension, the name chosen last on this visit proposed. Nothing
// when the dialog was cancelled or the name is empty or one blank. Each
// property set, the dialog and the test are steps of `errors`.
std::optional<QString> askSaveName(Form& frm, const QString& filter, const QString& defaultExt, ErrorHandler& errors);
// The name last chosen in `frm`'s dialog on this visit ("" when fresh).
QString dialogFileName(Form& frm);

// A text file written in steps, whole or not at all: the text reaches the
// named file only at close. A failing open, write or close raises once;
// after a failure the later steps do nothing, so one error box tells of it.
// A file not closed (Abort) is dropped and the old file stays as it was.
class TextFile {
public:
    void open(const QString& name);
    void write(const QString& text);
    void close();

private:
    SafeFile file_;
    std::optional<BusyCursor> busy_; // from open to close
};

// Whether a name from the Save dialog may be written under `flags`: with
// "path must exist" (&H800) its folder has to exist.
bool saveNameAccepted(int flags, const QString& name);

// The page text file: which labels, in which order, with which separators.
struct PageTextSpec {
    QString titleLabel;
    // Label names, or fixed texts where they start with '='.
    QStringList pieces;
    QString afterTitle;
    QString between;
};
// The spec of a topic page, nullptr for a window without a page save.
const PageTextSpec* pageTextSpec(const QString& window);
// The file's text, its last CR LF included; `caption` gives a label's text.
QString pageText(const PageTextSpec& spec, const std::function<QString(const QString&)>& caption);

// The Save command of a topic page (its Image8).
void savePageText(Form& frm);

// Writes a grid's rows, cells separated by `separador` and wrapped in
// `aspas`, every line ended by CR LF. Errors go to "Error exporting grid".
void salvagrid(Grid& grade, const QString& arquivo, const QString& separador = QStringLiteral("\t"),
               const QString& aspas = QString());
// Has `frm`'s chart Graph1 write its picture to `arquivo`. Errors go to
// "Error Saving Graph".
void salvagrafico(Form& frm, const QString& arquivo);

} // namespace tav
