#include "platform/desktop.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace tav {

QString Desktop::findProgram(const QStringList& names) const
{
    for (const QString& n : names) {
        const QString path = QStandardPaths::findExecutable(n);
        if (!path.isEmpty())
            return path;
    }
    return QString();
}

bool Desktop::startDetached(const QString& program) const
{
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, {});
}

bool Desktop::openUrl(const QUrl& url) const { return QDesktopServices::openUrl(url); }

namespace {
Desktop* g_desktop = nullptr;
}

Desktop& desktop()
{
    static Desktop real;
    return g_desktop ? *g_desktop : real;
}

void setDesktop(Desktop* d) { g_desktop = d; }

} // namespace tav
