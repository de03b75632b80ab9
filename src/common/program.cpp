#include "common/program.h"

#include "common/window.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>
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

QString privateTempDir()
{
    if (!g_tmp) {
        g_tmp = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/tavrelo-XXXXXX"));
        // Removed when the process ends normally; qAddPostRoutine runs before
        // statics are torn down.
        qAddPostRoutine([] { g_tmp.reset(); });
    }
    return g_tmp->path();
}

QString tempPictureFile() { return privateTempDir() + QStringLiteral("/tmp.bmp"); }

void resetProgram()
{
    Form::resetAll();
    g_ultimo = nullptr;
    g_ended = false;
}

} // namespace tav
