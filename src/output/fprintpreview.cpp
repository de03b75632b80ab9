#include "output/fprintpreview.h"

#include "common/errors.h"
#include "output/imprimetabela.h"
#include "output/services.h"
#include "platform/actions.h"
#include "platform/controls.h"
#include "platform/slider.h"
#include "shell/page.h"

#include <QScrollArea>
#include <algorithm>

namespace tav {

FPrintPreview& fprintpreview() { return formRef<FPrintPreview>(); }

FPrintPreview::FPrintPreview() : Form(QStringLiteral("FPrintPreview")) {}

void FPrintPreview::build(FormWidget* w)
{
    QWidget* c = w->client();
    auto* bar = place<Frame>(c, QStringLiteral("Frame1"), 0, 0, 8265, 480);
    auto* zoomLabel = place<Label>(bar, QStringLiteral("Label1"), 120, 150, 540, 255);
    zoomLabel->setText(QStringLiteral("Zoom"));
    zoomLabel->setFont(arial(8.25, true));
    auto* zoom = place<Slider>(bar, QStringLiteral("Combo1"), 660, 60, 2400, 375);
    zoom->setMin(10);
    zoom->setMax(100);
    zoom->setTickFrequency(20);
    zoom->setSmallChange(1);
    zoom->setLargeChange(5);
    const struct {
        const char* name;
        const char* caption;
        int left;
    } buttons[] = {{"Command1", "Next", 3240}, {"Command2", "Configure", 4440}, {"Command3", "Print", 5640},
                   {"Command4", "Close", 6840}};
    QPushButton* b[4];
    for (int i = 0; i < 4; ++i) {
        b[i] = place<QPushButton>(bar, QString::fromLatin1(buttons[i].name), buttons[i].left, 75, 1095, 345);
        b[i]->setText(QString::fromLatin1(buttons[i].caption));
    }
    // The page can be larger than the window, which keeps its size: it
    // lies in an area that scrolls below the toolbar.
    auto* area = place<QScrollArea>(c, QStringLiteral("PageArea"), 0, 480, 8265, 6135 - 480);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(false);
    auto* sheet = new QWidget;
    sheet->setObjectName(QStringLiteral("PageSheet"));
    area->setWidget(sheet);
    auto* page = place<PictureBox>(sheet, QStringLiteral("Picture1"), 500, 500, 7000, 5000);
    page->setBackColor(Qt::white);

    onSignal(zoom, &Slider::changed, this, [this] { Combo1_Change(); });
    onSignal(zoom, &Slider::clicked, this, [this] { Combo1_Click(); });
    onSignal(b[0], &QPushButton::clicked, this, [this] { Command1_Click(); });
    onSignal(b[1], &QPushButton::clicked, this, [this] { Command2_Click(); });
    onSignal(b[2], &QPushButton::clicked, this, [this] { Command3_Click(); });
    onSignal(b[3], &QPushButton::clicked, this, [this] { Command4_Click(); });

    setupWindow(w, QStringLiteral("Print preview"), 0x8000000F, 8265, 6135);
    w->setWindowFlags(w->windowFlags() & ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

void FPrintPreview::formLoad()
{
    choice_.reset();
    IgnoreErrors e;
    for (const char* n : {"Combo1", "Command1", "Command2", "Command3", "Command4"})
        e.step([&] { setHandCursor(ctl(QString::fromLatin1(n))); });
    // The slider reports the change, which draws the first page.
    e.step([&] { ctl<Slider>(QStringLiteral("Combo1"))->setValue(50); });
}

void FPrintPreview::formResize()
{
    ignoring([&] {
        QWidget* bar = ctl(QStringLiteral("Frame1"));
        bar->resize(widget()->width(), bar->height());
    });
    ignoring([&] {
        QWidget* area = ctl(QStringLiteral("PageArea"));
        const QWidget* client = widget()->client();
        area->resize(client->width(), std::max(0, client->height() - area->y()));
        fitSheet();
    });
}

void FPrintPreview::fitSheet()
{
    // The scrolled sheet holds the whole page and its margin, so that
    // every part of the page can be brought into sight.
    auto* area = ctl<QScrollArea>(QStringLiteral("PageArea"));
    const QWidget* page = ctl(QStringLiteral("Picture1"));
    const int margin = 500 / 15;
    const QSize view = area->maximumViewportSize();
    area->widget()->resize(std::max(page->geometry().right() + 1 + margin, view.width()),
                           std::max(page->geometry().bottom() + 1 + margin, view.height()));
}

QVariant FPrintPreview::draw(const QVariant& from)
{
    QVariant linha = from;
    const QVariant next = imprimetabela(ctl<PictureBox>(QStringLiteral("Picture1")),
                                        ctl<Slider>(QStringLiteral("Combo1"))->value() / 100.0, linha,
                                        QStringLiteral("preview"), outerWidthTwips(), choice_);
    ignoring([&] { fitSheet(); });
    return next;
}

// The page is emptied first: the page at the old zoom would show through
// the new one, two pages of different sizes on top of each other.
void FPrintPreview::Combo1_Change()
{
    IgnoreErrors e;
    e.step([&] { ctl<PictureBox>(QStringLiteral("Picture1"))->cls(); });
    e.step([&] { proximalinha = draw(0); });
}

void FPrintPreview::Combo1_Click()
{
    IgnoreErrors e;
    e.step([&] { ctl<PictureBox>(QStringLiteral("Picture1"))->cls(); });
    e.step([&] { proximalinha = draw(0); });
}

void FPrintPreview::Command1_Click()
{
    IgnoreErrors e;
    e.step([&] { ctl<PictureBox>(QStringLiteral("Picture1"))->cls(); });
    e.step([&] { proximalinha = draw(proximalinha); });
}

void FPrintPreview::Command2_Click()
{
    if (printerWaiting())
        return;
    // Cancel, or any failure, ends the command silently. What the dialog
    // chose is this window's: its pages and its prints follow it.
    try {
        PrintChoice choice;
        if (!dialogs().showPrinter(widget(), 64, QStringLiteral("Selecione uma impressora"), choice))
            return;
        choice_ = choice;
        Combo1_Click();
    } catch (const RuntimeError&) {
    }
}

void FPrintPreview::Command3_Click()
{
    // A print that waits for the print service is not started twice.
    if (printerWaiting())
        return;
    ignoring([&] {
        QVariant linha = 0;
        imprimetabela(nullptr, 1, linha, QStringLiteral("Printer"), 0, choice_);
    });
}

void FPrintPreview::Command4_Click() { ignoring([&] { unload(); }); }

} // namespace tav
