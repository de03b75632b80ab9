#pragma once
// Message boxes by style number, behind an interface: the program shows Qt
// boxes, tests script the answers.
//
// Style = buttons (0 OK, 2 Abort/Retry/Ignore, 4 Yes/No) + icon (16 critical,
// 32 question, 48 exclamation, 64 information) + 256 when the second button
// is the default. Answers: 1 OK, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No.

#include <QList>
#include <QString>

#include <functional>

namespace tav {

enum MsgStyle : int {
    MbOkOnly = 0,
    MbAbortRetryIgnore = 2,
    MbYesNo = 4,
    MbCritical = 16,
    MbQuestion = 32,
    MbExclamation = 48,
    MbInformation = 64,
    MbDefaultButton2 = 256,
};

enum MsgAnswer : int {
    IdOk = 1,
    IdAbort = 3,
    IdRetry = 4,
    IdIgnore = 5,
    IdYes = 6,
    IdNo = 7,
};

// The answer a box gives when the user just presses Enter.
int defaultAnswer(int style);

class MessageService {
public:
    virtual ~MessageService() = default;
    virtual int show(const QString& text, int style, const QString& title) = 0;
};

MessageService& messages();
// Replaces the service (not owned); nullptr restores the Qt boxes.
void setMessages(MessageService* service);

int msgbox(const QString& text, int style = MbOkOnly, const QString& title = QString());

// The warning of an input check: exclamation icon, OK, title "Warning".
void warning(const QString& text);

// Records every box and answers from a queue; an empty queue gives the box's
// default answer (Abort for the error box), so no retry loop can hang a test.
class ScriptedMessages : public MessageService {
public:
    struct Box {
        QString text;
        int style;
        QString title;
    };
    int show(const QString& text, int style, const QString& title) override;
    void answer(int a) { answers_.append(a); }
    void answer(std::initializer_list<int> as) { for (int a : as) answers_.append(a); }
    QList<Box> boxes;
    int count() const { return int(boxes.size()); }
    const Box& last() const { return boxes.last(); }
    void clear() { boxes.clear(); answers_.clear(); }
    // Called while each box is "open", before it answers (a test can look at
    // focus or windows here).
    std::function<void(const Box&)> onShow;

private:
    QList<int> answers_;
};

} // namespace tav
