#pragma once
// Print and Save of the measure page: the picture panel (the stages of the
// animation with the parameter sliders) or, when it lies over them, the
// results panel; the results also as a text report.

#include <QString>
#include <QStringList>

namespace tav {

class Form;

// `text` padded with blanks so that what follows starts at `column`
// (counted from 1); when the text already reaches that column the line is
// ended and the next one filled with blanks up to it.
QString toColumn(const QString& text, int column);

// The results report's lines, without their line ends, from the page's
// captions as they stand.
QStringList form11Report(Form& frm);

// The page's Print (Image7) and Save (Image8) commands.
void form11Print(Form& frm);
void form11Save(Form& frm);
// The File menu's Print and Save items: the results panel shown or hidden,
// then the command.
void form11MenuCommand(Form& frm, bool results, bool save);

} // namespace tav
