#pragma once
// The menu bar of the windows with a toolbar: File, Edit and, on the topic
// pages and the results window, the Index menu with "Last Form" and the
// thirteen topic items, whose names and captions differ a little from window
// to window.

#include <QString>

namespace tav {

class FormWidget;

void buildPageMenus(FormWidget* w, const QString& window);

// Names of the File menu's Close and Exit items.
QString fileCloseName(const QString& window);
QString fileExitName(const QString& window);

// The Index menu: present on the thirteen topic pages and the results window.
bool hasIndexMenu(const QString& window);
// The page's own topic (its item is disabled), 0 for none.
int ownTopic(const QString& window);
// Item 0 is "Last Form", items 1..13 the topics.
QString indexItemName(const QString& window, int item);
QString indexItemCaption(const QString& window, int item);

} // namespace tav
