#pragma once
// Small pieces the graph windows build their own controls from.

#include <QColor>
#include <QString>

class QWidget;

namespace tav {

class FormWidget;
class Label;

// Moves a control already built on the window to its design place (twips).
void moveTo(FormWidget* w, const QString& name, int left, int top);

// A label on `parent` with Arial at `points`, its colour and alignment.
Label* designLabel(QWidget* parent, const QString& name, int left, int top, int width, int height,
                   const QString& caption, double points, bool bold, bool italic, const QColor& color,
                   bool centred);

// The page heading (Arial 14.25 bold, dark red, centred) and the hint under
// the Back picture.
Label* heading(QWidget* parent, const QString& name, int left, int top, int width, int height,
               const QString& caption);
Label* backHint(QWidget* parent, int left, int top, int width, int height);

} // namespace tav
