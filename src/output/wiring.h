#pragma once
// Connects the print, save and copy commands of a window (its toolbar's
// Print and Save buttons, the File menu's Print and Save items, Edit > Copy)
// from one table, so that the pages need no code of their own for them.

#include <QString>
#include <QStringList>

namespace tav {

class Form;
class FormWidget;

enum class PrintCommand { None, PageImage, GraphView, InspectionPage, TwoCharts, ResultSim, Measure };
enum class SaveCommand { None, PageText, GraphView, InspectionPage, TwoCharts, ResultSim, Measure };

struct OutputRow {
    PrintCommand print = PrintCommand::None;
    SaveCommand save = SaveCommand::None;
    bool copy = false;
};

// The commands of a window by name (all None for a window without them).
OutputRow outputRow(const QString& window);

// The Print and Save buttons' procedures of a page.
void Image7_Click(Form& frm);
void Image8_Click(Form& frm);

void wireOutput(Form& self, FormWidget* w);

} // namespace tav
