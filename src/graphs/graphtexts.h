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

// A label on `parent` showing `caption`, nothing else set.
Label* captionLabel(QWidget* parent, const QString& name, int left, int top, int width, int height,
                    const QString& caption);

// A label on `parent` with Arial at `points`, its colour and alignment, its
// words wrapped unless told otherwise.
Label* designLabel(QWidget* parent, const QString& name, int left, int top, int width, int height,
                   const QString& caption, double points, bool bold, bool italic, const QColor& color,
                   bool centred, bool wrap = true);

// The page heading (Arial 14.25 bold, dark red, centred) and the hint under
// the Back picture.
Label* heading(QWidget* parent, const QString& name, int left, int top, int width, int height,
               const QString& caption, bool wrap = true);
Label* backHint(QWidget* parent, int left, int top, int width, int height);

// The comment beside the chart (Arial 9.75, blue, wrapped, from the top
// left); it shows its own name until a computation writes it.
Label* commentLabel(QWidget* parent, const QString& name, int left, int top, int width, int height);

// A caption inside a frame: Arial 8.25, dark blue, on one line.
Label* frameCaption(QWidget* parent, const QString& name, int left, int top, int width, int height,
                    const QString& caption, bool bold = false);

} // namespace tav
