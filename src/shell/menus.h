#pragma once
// The menu bar of the windows with a toolbar: File, Edit and, on the topic
// pages and the results window, the Index menu with "Last Form" and the
// thirteen topic items, whose names and captions differ a little from window
// to window.

#include <QList>
#include <QString>
#include <utility>

namespace tav {

class FormWidget;

void buildPageMenus(FormWidget* w, const QString& window);

// The File menu's Save and Print submenus of the pages that have them: the
// submenu's name (its action's) and caption, its items' names and captions.
struct FileSubmenu {
    QString name;
    QString caption;
    QList<std::pair<QString, QString>> items;
};
const QList<FileSubmenu>* fileSubmenus(const QString& window);

// Names of the File menu's Close and Exit items.
QString fileCloseName(const QString& window);
QString fileExitName(const QString& window);
// The names the windows give their File menu, its Print... and Save... items
// and their Edit > Copy item.
QString fileMenuName(const QString& window);
QString filePrintName(const QString& window);
QString fileSaveName(const QString& window);
QString editCopyName(const QString& window);

// The Index menu: present on the thirteen topic pages and the results window.
bool hasIndexMenu(const QString& window);
// The page's own topic (its item is disabled), 0 for none.
int ownTopic(const QString& window);
// Item 0 is "Last Form", items 1..13 the topics.
QString indexItemName(const QString& window, int item);
QString indexItemCaption(const QString& window, int item);

} // namespace tav
