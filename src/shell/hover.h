#pragma once
// Hover highlighting: the picture button under the mouse takes a thin
// border and the surfaces around it take borders away; on the start page
// the topic label under the mouse turns blue. Per window one table says
// which control sets which border; one application-wide event filter
// applies them.

#include <QHash>
#include <QString>
#include <QStringList>

class QApplication;

namespace tav {

class Form;

struct HoverTable {
    QStringList takes;                    // buttons that take a border under the mouse
    QStringList startBorder;              // buttons with a border in the design
    QStringList inverted;                 // their own procedure clears their border
    QHash<QString, QStringList> clears;   // surface -> buttons it clears ("Form": the background)
    QHash<QString, QStringList> gives;    // surface -> buttons it gives a border
    QHash<QString, QStringList> alsoClears; // button -> buttons its procedure also clears
    QHash<QString, QStringList> clickClears; // surface -> buttons its click clears
};

// The table of a window, or nullptr for a window without hover procedures.
const HoverTable* hoverTable(const QString& window);

// Installs the filter and the design borders at every load.
void installHover(QApplication& app);

// What the filter does for a move over `control` (a control name, "Form"
// for the background) of `form`: exposed for the tests.
void hoverMove(Form& form, const QString& control);

} // namespace tav
