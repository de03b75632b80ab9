#include "shell/indice.h"

#include "common/colors.h"
#include "common/errors.h"
#include "common/messages.h"
#include "common/program.h"
#include "output/wiring.h"
#include "platform/actions.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "shell/about.h"
#include "shell/page.h"
#include "shell/topics.h"

#include <QMenuBar>

namespace tav {

Indice& indice() { return formRef<Indice>(); }

Indice::Indice() : Form(QStringLiteral("Indice")) {}

void Indice::build(FormWidget* w)
{
    QWidget* c = w->client();

    QMenu* file = addMenu(w, QStringLiteral("menuFile"), QStringLiteral("File"));
    QAction* exitItem = addItem(file, QStringLiteral("menuFileExit"), QStringLiteral("Exit"));
    QMenu* edit = addMenu(w, QStringLiteral("menuEdit"), QStringLiteral("Edit"));
    addItem(edit, QStringLiteral("menuEditCopy"), QStringLiteral("Copy"));
    QAction* last = addBarCommand(w, QStringLiteral("menu0"), QStringLiteral("Last Form"));
    QMenu* help = addMenu(w, QStringLiteral("menuHelp"), QStringLiteral("Help"));
    QAction* helpItem = addItem(help, QStringLiteral("menuHelpHelp"), QStringLiteral("Help"));
    QAction* about = addItem(help, QStringLiteral("menuHelpAbout"), QStringLiteral("About"));
    onSignal(exitItem, &QAction::triggered, this, [this] { menuFileExit_Click(); });
    onSignal(last, &QAction::triggered, this, [this] { menu0_Click(); });
    onSignal(helpItem, &QAction::triggered, this, [this] { menuHelpHelp_Click(); });
    onSignal(about, &QAction::triggered, this, [this] { menuHelpAbout_Click(); });

    Label* band = place<Label>(c, QStringLiteral("Label1"), -60, -60, 10005, 1020);
    band->setBackColor(vbColor(0x00C0FFFF));

    Label* product = place<Label>(c, arrayName(QStringLiteral("Label2"), 1), 3075, 165, 5070, 510);
    product->setText(QStringLiteral("Tavrelo"));
    product->setFont(arial(21.75, true));
    product->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    Label* heading = place<Label>(c, arrayName(QStringLiteral("Label2"), 0), 3735, 1185, 1620, 420);
    heading->setText(QStringLiteral("Index"));
    heading->setForeColor(vbColor(0x00800000));
    heading->setFont(arial(15.75, true));
    heading->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    for (const Topic& t : topics()) {
        const int i = t.number - 1;
        Label* link = place<Label>(c, arrayName(QStringLiteral("Label3"), i), t.left, t.top, 4000, 345);
        link->setText(t.caption);
        link->setFont(arial(14.25, true, true));
        link->setAutoSize(true);
        onSignal(link, &Label::clicked, this, [this, i] { Label3_Click(i); });
    }

    auto* round = place<ImageButton>(c, arrayName(QStringLiteral("Image1"), 0), 15, 0, 900, 900);
    round->setPicture(pictures::emblemRound());
    auto* wide = place<ImageButton>(c, arrayName(QStringLiteral("Image1"), 1), 8355, 75, 1485, 810);
    wide->setPicture(pictures::emblemWide());
    wide->setStretch(true);

    auto* exitButton = place<ImageButton>(c, QStringLiteral("Image11"), 4785, 7455, 480, 480);
    exitButton->setPicture(pictures::exitFace());
    exitButton->setToolTip(QStringLiteral("Exit application"));
    onSignal(exitButton, &ImageButton::clicked, this, [this] { Image11_Click(); });

    // The hidden picture store.
    auto store = [c](const QString& name, int l, int t, int wd, int h) {
        auto* p = place<PictureBox>(c, name, l, t, wd, h);
        p->hide();
        return p;
    };
    store(QStringLiteral("Picture1"), 195, 1590, 510, 555)->setPicture(pictures::hand());
    store(arrayName(QStringLiteral("Picture3"), 0), 285, 2400, 480, 480)->setPicture(pictures::chart(false));
    store(arrayName(QStringLiteral("Picture3"), 1), 885, 2355, 480, 480)->setPicture(pictures::chart(true));
    store(arrayName(QStringLiteral("Picture3"), 2), 795, 1665, 480, 480)->setPicture(pictures::document(false));
    store(arrayName(QStringLiteral("Picture3"), 3), 1560, 1590, 480, 480)->setPicture(pictures::document(true));
    store(QStringLiteral("Picture4"), -30, 3630, 2220, 1860);
    PictureBox* p5 = store(QStringLiteral("Picture5"), 660, 4590, 930, 2025);
    p5->setForeColor(vbColor(0x80000008));
    PictureBox* p6 = store(QStringLiteral("Picture6"), -180, 4890, 1665, 2310);
    p6->setForeColor(vbColor(0x00000040));

    wireOutput(*this, w);
    setupWindow(w, QStringLiteral("Index"), 0x00C0E0FF, 11880, 8310);
}

void Indice::formLoad()
{
    IgnoreErrors e;
    for (int i = 0; i <= 12; ++i) {
        e.step([&] { ctl<Label>(QStringLiteral("Label3"), i)->setForeColor(vbColor(0x00000040)); });
        e.step([&] { setHandCursor(ctl(QStringLiteral("Label3"), i)); });
    }
    e.step([&] { setHandCursor(ctl(QStringLiteral("Image11"))); });
    e.step([&] { ctl<QAction>(QStringLiteral("menu0"))->setEnabled(false); });
}

void Indice::formResize()
{
    IgnoreErrors e;
    e.step([&] {
        stretchBand(*this, ctl(QStringLiteral("Label1")));
    });
    e.step([&] {
        QWidget* emblem = ctl(QStringLiteral("Image1"), 1);
        emblem->move(twips(outerWidthTwips()) - emblem->width(), emblem->y());
    });
}

void Indice::formUnload(bool& cancel)
{
    Q_UNUSED(cancel);
    ignoring([] { encerra(); });
}

void Indice::Label3_Click(int index)
{
    TrapErrors t(QStringLiteral("Try again"), QStringLiteral("Error Index"));
    t.step([&] { topicForm(index + 1).show(); })
        && t.step([&] { setUltimoform(this); })
        && t.step([&] { ctl<QAction>(QStringLiteral("menu0"))->setEnabled(true); });
}

void Indice::Image11_Click()
{
    ignoring([] { encerra(); });
}

void Indice::menuFileExit_Click()
{
    ignoring([] { encerra(); });
}

void Indice::menu0_Click()
{
    ignoring([] {
        if (Form* f = ultimoform())
            f->show();
    });
}

void Indice::menuHelpHelp_Click()
{
    ignoring([] {
        msgbox(QStringLiteral("Help will be available in the next version"), MbInformation, QStringLiteral("Help"));
    });
}

void Indice::menuHelpAbout_Click()
{
    ignoring([] { tav::about().show(); });
}

} // namespace tav
