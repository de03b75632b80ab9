#pragma once
// Print and Save of the simulation results window: they act on the view in
// sight, the results picture (composed on the print canvas), the results
// table, or neither (the window image, and a text report of the run).

#include <QStringList>

namespace tav {

class Form;

// The report's lines, without their line ends, as the window's labels hold
// them now.
QStringList resultSimReport(Form& frm);

// The window's Print (Image7) and Save (Image8) commands.
void resultSimPrint(Form& frm);
void resultSimSave(Form& frm);

} // namespace tav
