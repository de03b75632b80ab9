#pragma once
// Print and Save of the graph pages with one chart: they act on the view in
// sight, the chart (through the print set-up window, or a bitmap file) or
// the table (through the table preview, or a text file).

#include <QString>

namespace tav {

class Form;

struct GraphOutputTitles {
    QString print;
    QString save;
};
// The error box titles of a graph page, empty for other windows.
GraphOutputTitles graphOutputTitles(const QString& window);

// The view in sight, Graph1 or Grid1 of a graph page, as the page set it,
// whether or not the window is on screen.
bool graphViewShown(Form& frm, const QString& name);
class ErrorHandler;
// The file kind Save offers: a bitmap while the chart is in sight, a text
// file while the table is; false when a step ended the procedure.
bool graphSaveKind(Form& frm, QString& filter, QString& ext, ErrorHandler& t);

void graphPrint(Form& frm);
void graphSave(Form& frm);

} // namespace tav
