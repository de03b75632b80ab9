#include "shell/app.h"

#include "platform/actions.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "platform/style.h"
#include "shell/hover.h"

#include "common/program.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tav {

namespace {

// The write end of the pipe through which a signal reaches the event loop.
int g_signalPipe = -1;

void noteSignal(int)
{
    const int saved = errno;
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe, &c, 1);
    errno = saved;
}

} // namespace

// The handler only writes a byte; the loop does the rest.
void endOnSignals(Application& app)
{
    if (g_signalPipe >= 0)
        return;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_signalPipe = fds[1];
    auto* notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, &app);
    onSignal(notifier, &QSocketNotifier::activated, &app, [fd = fds[0]] {
        char buf[64];
        while (::read(fd, buf, sizeof buf) > 0) {
        }
        encerra();
    });
    struct sigaction sa {};
    sa.sa_handler = &noteSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &sa, nullptr);
}

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
