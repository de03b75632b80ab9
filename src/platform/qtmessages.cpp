// The Qt message boxes behind the message service.

#include "common/messages.h"
#include "platform/busy.h"
#include "platform/pictures.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace tav {

namespace {

class QtMessages : public MessageService {
public:
    int show(const QString& text, int style, const QString& title) override
    {
        QMessageBox box;
        box.setWindowModality(Qt::ApplicationModal);
        box.setWindowTitle(title.isEmpty() ? QApplication::applicationName() : title);
        box.setWindowIcon(windowIcon());
        // The stored message keeps its lone CR; the box shows it as a break.
        QString shown = text;
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar(13), QChar(10));
        box.setText(shown);
        switch (style & 0x70) {
        case MbCritical: box.setIcon(QMessageBox::Critical); break;
        case MbQuestion: box.setIcon(QMessageBox::Question); break;
        case MbExclamation: box.setIcon(QMessageBox::Warning); break;
        case MbInformation: box.setIcon(QMessageBox::Information); break;
        default: break;
        }

        // Buttons all of one role keep the order they are added in; Qt would
        // otherwise reorder them by role.
        struct B {
            QString label;
            int answer;
        };
        QList<B> buttons;
        switch (style & 7) {
        case MbAbortRetryIgnore:
            buttons = {{QStringLiteral("&Abort"), IdAbort}, {QStringLiteral("&Retry"), IdRetry},
                       {QStringLiteral("&Ignore"), IdIgnore}};
            break;
        case MbYesNo:
            buttons = {{QStringLiteral("&Yes"), IdYes}, {QStringLiteral("&No"), IdNo}};
            break;
        default: buttons = {{QStringLiteral("OK"), IdOk}}; break;
        }
        QList<QPushButton*> made;
        for (const B& b : buttons)
            made.append(box.addButton(b.label, QMessageBox::AcceptRole));
        const int def = (style & MbDefaultButton2) && made.size() > 1 ? 1 : 0;
        box.setDefaultButton(made[def]);
        // Esc answers OK or Abort; a Yes/No question has no escape answer, so
        // neither Esc nor the close box answers it.
        if ((style & 7) != MbYesNo)
            box.setEscapeButton(made[0]);
        const BusyCursor::Paused ordinaryPointer;
        box.exec();
        for (int i = 0; i < made.size(); ++i)
            if (box.clickedButton() == made[i])
                return buttons[i].answer;
        return (style & 7) == MbYesNo ? defaultAnswer(style) : buttons[0].answer;
    }
};

} // namespace

MessageService* qtMessageService()
{
    static QtMessages service;
    return &service;
}

} // namespace tav
