#include "shell/app.h"

#include "platform/actions.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "platform/style.h"
#include "shell/hover.h"

#include <QApplication>

namespace tav {

void setupApplication(QApplication& app)
{
    QApplication::setApplicationName(QStringLiteral("Tavrelo"));
    installStyle();
    QApplication::setWindowIcon(windowIcon());
    QApplication::setFont(arial(8.25));
    app.setQuitOnLastWindowClosed(false);
    installHover(app);
    installActionScopes();
}

} // namespace tav
