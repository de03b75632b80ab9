#include "shell/app.h"

#include "platform/actions.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "shell/hover.h"

namespace tav {

void setupApplication(Application& app)
{
    QApplication::setApplicationName(QStringLiteral("Tavrelo"));
    QApplication::setWindowIcon(windowIcon());
    QApplication::setFont(arial(8.25));
    app.setQuitOnLastWindowClosed(false);
    installHover(app);
}

} // namespace tav
