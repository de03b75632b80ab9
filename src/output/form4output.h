#pragma once
// Print and Save of the inspection page: the view in sight decides. The
// consignment panel is composed on the print canvas, the table goes to the
// table preview or a text file, and the page itself is captured or written
// as a text report. The File submenus choose the view first.

#include <QString>
#include <functional>

namespace tav {

class Form;
class FormWidget;

void form4Print(Form& frm); // Image7_Click
void form4Save(Form& frm);  // Image8_Click

// The report's lines, without their CR LF; `text` gives a control's
// caption or text by name ("Label3_0" for an array member).
QStringList form4ReportLines(const std::function<QString(const QString&)>& text);

// The six File > Print / Save items.
void wireForm4Menus(Form& frm, FormWidget* w);

} // namespace tav
