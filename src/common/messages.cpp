#include "common/messages.h"

namespace tav {

MessageService* qtMessageService(); // platform/qtmessages.cpp

namespace {
MessageService* g_service = nullptr;
}

int defaultAnswer(int style)
{
    const bool second = (style & MbDefaultButton2) != 0;
    switch (style & 7) {
    case MbAbortRetryIgnore: return second ? IdRetry : IdAbort;
    case MbYesNo: return second ? IdNo : IdYes;
    default: return IdOk;
    }
}

MessageService& messages() { return g_service ? *g_service : *qtMessageService(); }

void setMessages(MessageService* service) { g_service = service; }

int msgbox(const QString& text, int style, const QString& title)
{
    return messages().show(text, style, title);
}

void warning(const QString& text) { msgbox(text, MbExclamation, QStringLiteral("Warning")); }

int ScriptedMessages::show(const QString& text, int style, const QString& title)
{
    boxes.append({text, style, title});
    if (onShow)
        onShow(boxes.last());
    if (answers_.isEmpty())
        return defaultAnswer(style);
    return answers_.takeFirst();
}

} // namespace tav
