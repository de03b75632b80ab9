#pragma once
// The desktop around the program: finding and starting other programs and
// opening links with the desktop's handler. Tests replace it.

#include <QString>
#include <QStringList>
#include <QUrl>

namespace tav {

class Desktop {
public:
    virtual ~Desktop() = default;
    // The full path of the first of these programs found on the PATH, or "".
    virtual QString findProgram(const QStringList& names) const;
    // Starts a program detached; false when it cannot be started.
    virtual bool startDetached(const QString& program) const;
    // Opens a web page or a mail link; the answer is not reported to the user.
    virtual bool openUrl(const QUrl& url) const;
};

Desktop& desktop();
void setDesktop(Desktop* d); // not owned; nullptr restores the real desktop

} // namespace tav
