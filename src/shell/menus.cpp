#include "shell/menus.h"

#include "common/window.h"
#include "platform/controls.h"

namespace tav {

void buildPageMenus(FormWidget* w, const QString& window)
{
    QMenu* file = addMenu(w, QStringLiteral("menuArchivo"), QStringLiteral("File"));
    addItem(file, QStringLiteral("menuFileSave"), QStringLiteral("Save..."));
    addItem(file, QStringLiteral("menuFilePrint"), QStringLiteral("Print..."));
    addItem(file, window == QLatin1String("FGrafico3") ? QStringLiteral("meniFileClose")
                                                       : QStringLiteral("menuFileClose"),
            QStringLiteral("Close"));
    const bool meni = window == QLatin1String("Form2") || window == QLatin1String("FGrafico2");
    addItem(file, meni ? QStringLiteral("meniFileExit") : QStringLiteral("menuFileExit"),
            QStringLiteral("Exit"));
    QMenu* edit = addMenu(w, QStringLiteral("menuEdit"), QStringLiteral("Edit"));
    addItem(edit, QStringLiteral("menuEditCopy"), QStringLiteral("Copy"));
}

} // namespace tav
