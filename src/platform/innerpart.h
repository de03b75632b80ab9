#pragma once
// A control of ours made of Qt widgets (a slider, a combo box, a grid, a
// chart) marks the widgets inside it, so that whatever asks which control
// lies under the mouse (the hover procedures) finds the control itself.

#include <QWidget>

namespace tav {

inline void markInnerPart(QWidget* w) { w->setProperty("tavInnerPart", true); }
inline bool isInnerPart(const QWidget* w) { return w->property("tavInnerPart").toBool(); }

} // namespace tav
