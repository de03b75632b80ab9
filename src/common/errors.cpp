#include "common/errors.h"

#include "common/messages.h"
#include "common/program.h"

namespace tav {

namespace {
RuntimeError g_current(0, QStringLiteral(""));
}

const RuntimeError& currentError() { return g_current; }
void setCurrentError(const RuntimeError& e) { g_current = e; }

int mostraerro(const QString& texto, const QString& titulo)
{
    const QString text = currentError().description() + QChar(13) + texto;
    return msgbox(text, MbCritical + MbAbortRetryIgnore, titulo);
}

bool ErrorHandler::steps(std::initializer_list<std::function<void()>> fs)
{
    for (const auto& f : fs)
        if (!step(f))
            return false;
    return true;
}

bool IgnoreErrors::step(const std::function<void()>& f)
{
    if (programEnded())
        return false;
    try {
        f();
    } catch (const RuntimeError& e) {
        setCurrentError(e);
    }
    return !programEnded();
}

bool TrapErrors::step(const std::function<void()>& f)
{
    for (;;) {
        if (aborted_ || programEnded())
            return false;
        try {
            f();
            return !programEnded();
        } catch (const RuntimeError& e) {
            setCurrentError(e);
            const int answer = mostraerro(advice_, title_);
            if (answer == IdRetry)
                continue;
            if (answer == IdIgnore)
                return !programEnded();
            aborted_ = true;
            return false;
        }
    }
}

} // namespace tav
