#include "shell/about.h"

#include "common/colors.h"
#include "common/errors.h"
#include "common/messages.h"
#include "platform/actions.h"
#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/pictures.h"
#include "shell/page.h"

#include <QApplication>
#include <QScreen>

namespace tav {

frmAbout& about() { return formRef<frmAbout>(); }

frmAbout::frmAbout() : Form(QStringLiteral("frmAbout")) {}

QUrl frmAbout::webPage() { return QUrl(QStringLiteral("https://www.ippc.int/")); }

QString frmAbout::contactAddress() { return QStringLiteral("tavrelo-team@example.org"); }

QStringList frmAbout::systemInfoPrograms()
{
    return {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor"), QStringLiteral("xfce4-taskmanager"),
            QStringLiteral("lxtask")};
}

void frmAbout::build(FormWidget* w)
{
    w->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QWidget* c = w->client();

    auto* emblem = place<ImageButton>(c, QStringLiteral("Image1"), -15, 75, 1515, 840);
    emblem->setPicture(pictures::emblemWide());
    emblem->setStretch(true);
    emblem->setBorderStyle(1);
    onSignal(emblem, &ImageButton::clicked, this, [this] { Image1_Click(); });

    Label* title = place<Label>(c, QStringLiteral("lblTitle"), 1755, 150, 2775, 285);
    title->setForeColor(vbColor(0x00800000));
    title->setFont(arial(12, true));
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Label* version = place<Label>(c, QStringLiteral("lblVersion"), 1830, 465, 2535, 240);
    version->setText(QStringLiteral("Beta release (February 2003)"));
    version->setForeColor(vbColor(0x00000040));
    version->setFont(arial(9.75));
    version->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    version->setAutoSize(true);

    new Line(c, arrayName(QStringLiteral("Line1"), 1), -90, 1095, 5474, 1095, vbColor(0x00808080), 1);
    new Line(c, arrayName(QStringLiteral("Line1"), 0), -90, 1125, 5459, 1125, vbColor(0x00FFFFFF), 2);

    Label* credit = place<Label>(c, QStringLiteral("lblDisclaimer"), 105, 1230, 2100, 255);
    credit->setText(QStringLiteral("Tavrelo developers"));
    credit->setForeColor(vbColor(0x00000080));
    credit->setFont(arial(9, true, true));
    credit->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Label* contact = place<Label>(c, QStringLiteral("Label1"), 345, 1500, 1590, 225);
    contact->setText(contactAddress());
    contact->setForeColor(vbColor(0x00FF0000));
    contact->setFont(arial(9, true, true));
    contact->setAutoSize(true);
    onSignal(contact, &Label::clicked, this, [this] { Label1_Click(); });

    auto* ok = place<QPushButton>(c, QStringLiteral("cmdOK"), 2880, 1200, 1260, 345);
    ok->setText(QStringLiteral("OK"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    auto* info = place<QPushButton>(c, QStringLiteral("cmdSysInfo"), 2910, 1590, 1245, 345);
    info->setText(QStringLiteral("&System Info..."));
    onSignal(ok, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    onSignal(info, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });
    // Esc presses OK, as the box's cancel button.
    auto* esc = new QAction(w);
    esc->setShortcut(Qt::Key_Escape);
    esc->setShortcutContext(Qt::WindowShortcut);
    w->addAction(esc);
    onSignal(esc, &QAction::triggered, this, [this] { cmdOK_Click(); });
    ok->setFocus();

    setupWindow(w, QString(), 0x00FFFFFF, 4800, 2070);
    w->setFixedSize(w->size());
    // Its design place on the screen, not centred.
    const QPoint origin = QApplication::primaryScreen() ? QApplication::primaryScreen()->geometry().topLeft() : QPoint();
    w->move(origin + QPoint(twips(2340), twips(1935)) - (w->geometry().topLeft() - w->frameGeometry().topLeft()));
}

void frmAbout::formLoad()
{
    // No error trap: a failure reaches the caller, which ignores it.
    setHandCursor(ctl(QStringLiteral("Label1")));
    setHandCursor(ctl(QStringLiteral("Image1")));
    widget()->setWindowTitle(QStringLiteral("About ") + QApplication::applicationName());
    ctl<Label>(QStringLiteral("lblTitle"))->setText(QApplication::applicationName());
}

void frmAbout::cmdOK_Click() { unload(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo()
{
    const QString program = desktop().findProgram(systemInfoPrograms());
    if (!program.isEmpty() && desktop().startDetached(program))
        return;
    msgbox(QStringLiteral("System Information Is Unavailable At This Time"), MbOkOnly,
           QApplication::applicationName());
}

void frmAbout::Image1_Click()
{
    ignoring([] { desktop().openUrl(webPage()); });
}

void frmAbout::Label1_Click()
{
    ignoring([] { desktop().openUrl(QUrl(QStringLiteral("mailto:") + contactAddress())); });
}

} // namespace tav
