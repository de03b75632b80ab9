#pragma once
// The toolbar that twenty-one windows carry across their top edge: the frame
// Frame4 with eight picture buttons (Index, Back, Next, Print, Save, Show
// graph, Show table, Exit), per window its control names, places, tooltips
// and design states.

#include <QList>
#include <QString>
#include <QStringList>

namespace tav {

class Frame;
class FormWidget;

struct ToolbarButton {
    QString name;
    int left = 0;
    int top = 165;
    QString tooltip;
    bool enabled = true;
    bool greyed = false; // chart and table faces only
    int pointer = 0;     // design mouse pointer (12 no-drop)
};

struct ToolbarSpec {
    QString window;
    ToolbarButton index, back, next, print, save, graph, table, exit;
    // In place order, left to right.
    QList<const ToolbarButton*> buttons() const
    {
        return {&index, &back, &next, &print, &save, &graph, &table, &exit};
    }
};

// The toolbar of a window, or nullptr for a window without one.
const ToolbarSpec* toolbarSpec(const QString& window);
// All windows that carry the toolbar.
QStringList toolbarWindows();

// Builds Frame4 and its buttons on the window's client area.
Frame* buildToolbar(FormWidget* w, const ToolbarSpec& spec);

} // namespace tav
