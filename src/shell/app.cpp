#include "shell/app.h"

#include "platform/actions.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "platform/style.h"
#include "shell/hover.h"

#include <QApplication>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tav {

void setupApplication(Application& app)
{
#if defined(__GLIBC__)
    // Large blocks (a window's backing store, a drawing's layers) are mapped
    // apart and go back to the system when freed. Left to itself the C
    // library raises this bound after the first such block is freed and
    // takes the next ones from the heap, where one small block above them
    // keeps their pages resident after they are freed: the process's size
    // then climbs a megabyte or two at a time with nothing held.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    QApplication::setApplicationName(QStringLiteral("Tavrelo"));
    installStyle();
    QApplication::setWindowIcon(windowIcon());
    QApplication::setFont(arial(8.25));
    app.setQuitOnLastWindowClosed(false);
    installHover(app);
}

} // namespace tav
