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

void graphPrint(Form& frm);
void graphSave(Form& frm);

} // namespace tav
