#pragma once
// The menu bar of the windows with a toolbar: File, Edit and, on the topic
// pages and the results window, the Index menu.

#include <QString>

namespace tav {

class FormWidget;

void buildPageMenus(FormWidget* w, const QString& window);

} // namespace tav
