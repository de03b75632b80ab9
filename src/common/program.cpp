#include "common/program.h"

#include "common/runtime.h"
#include "common/window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

namespace tav {

namespace {
bool g_ended = false;
std::function<void()> g_exit;
Form* g_ultimo = nullptr;
std::unique_ptr<QTemporaryDir> g_tmp;
}

void encerra()
{
    if (g_ended)
        return;
    g_ended = true;
    Form::shutdownAll();
    if (g_exit)
        g_exit();
    else if (QCoreApplication::instance())
        QCoreApplication::exit(0);
}

bool programEnded() { return g_ended; }
void setExitHandler(std::function<void()> handler) { g_exit = std::move(handler); }

Form* ultimoform() { return g_ultimo; }
void setUltimoform(Form* form) { g_ultimo = form; }

namespace {

// A new private folder in `place`, mode 700 and new, so that no one else
// can have planted a file in it; nothing when it cannot be made there. A
// relative or empty place would put it wherever the program was started,
// the root perhaps.
std::unique_ptr<QTemporaryDir> privateFolderIn(const QString& place)
{
    if (!QDir::isAbsolutePath(place) || !QFileInfo(place).isDir())
        return nullptr;
    auto dir = std::make_unique<QTemporaryDir>(place + QStringLiteral("/tavrelo-XXXXXX"));
    return dir->isValid() ? std::move(dir) : nullptr;
}

} // namespace

QString privateTempDir()
{
    if (!g_tmp) {
        // The temporary folder the user named (or the system's), else the
        // user's runtime folder, else the user's cache.
        g_tmp = privateFolderIn(QDir::tempPath());
        if (!g_tmp)
            g_tmp = privateFolderIn(qEnvironmentVariable("XDG_RUNTIME_DIR"));
        if (!g_tmp) {
            const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
            if (QDir::isAbsolutePath(cache))
                QDir().mkpath(cache);
            g_tmp = privateFolderIn(cache);
        }
        // Nowhere to keep the print picture: printing cannot be had, and
        // the print command says so.
        if (!g_tmp)
            throw RuntimeError(75, QStringLiteral("Path/File access error"));
        static bool cleanup = false;
        if (!cleanup) {
            cleanup = true;
            // Removed when the process ends normally; qAddPostRoutine runs
            // before statics are torn down.
            qAddPostRoutine([] { g_tmp.reset(); });
        }
    }
    return g_tmp->path();
}

void dropPrivateTempDir() { g_tmp.reset(); }

QString tempPictureFile() { return privateTempDir() + QStringLiteral("/tmp.bmp"); }

void resetProgram()
{
    Form::resetAll();
    g_ultimo = nullptr;
    g_ended = false;
}

} // namespace tav
