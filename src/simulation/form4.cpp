#include "simulation/form4.h"

#include "common/colors.h"
#include "common/errors.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "shell/calculators.h"

namespace tav {

Form4::Form4()
    : ToolbarPage(QStringLiteral("Form4"),
                  PageDesign{QStringLiteral("Simulations of Inspection"), 0x00C0E0FF, 11880, 8310, true, -30, QString()})
{
}

void Form4::buildContent(FormWidget* w)
{
    QWidget* c = w->client();
    Frame* inputs = place<Frame>(c, QStringLiteral("Frame1"), 7275, 2055, 4290, 3060);
    inputs->setTitle(QStringLiteral("Inspection simulation"));
    inputs->setFont(arial(9.75, true));

    const char* captions[] = {"Consignment size", "Avarage prevalence", "Sample size", "N. Iterations"};
    for (int i = 0; i < 4; ++i) {
        Label* l = place<Label>(inputs, arrayName(QStringLiteral("Label3"), i), 150, 330 + i * 390, 2340, 255);
        l->setText(QString::fromLatin1(captions[i]));
        l->setFont(arial(8.25));
    }
    const char* designs[] = {"100", "0.1", "10"};
    for (int i = 0; i < 3; ++i) {
        TextBox* t = place<TextBox>(inputs, arrayName(QStringLiteral("Text1"), i), 2610, 300 + i * 390, 735, 285);
        t->setText(QString::fromLatin1(designs[i]));
        t->setFont(arial(8.25));
    }

    Frame* calc = place<Frame>(inputs, QStringLiteral("Frame2"), 2175, 1890, 1965, 1035);
    calc->setTitle(QStringLiteral("Calculate sample size"));
    calc->setFont(arial(8.25));
    Label* rdl = place<Label>(calc, arrayName(QStringLiteral("Label5"), 0), 90, 300, 375, 255);
    rdl->setText(QStringLiteral("RDL"));
    place<TextBox>(calc, QStringLiteral("Text2"), 480, 270, 615, 285);
    Label* cl = place<Label>(calc, arrayName(QStringLiteral("Label5"), 1), 90, 645, 375, 255);
    cl->setText(QStringLiteral("CL"));
    place<TextBox>(calc, QStringLiteral("Text3"), 480, 615, 615, 285);
    auto* ok = place<ImageButton>(calc, QStringLiteral("calcula"), 1260, 405, 495, 405);
    ok->setPicture(pictures::word(QStringLiteral("ok"), 33, 27));
    connect(ok, &ImageButton::clicked, this, [this] { calcula_Click(); });

    place<ImageButton>(inputs, QStringLiteral("Image1"), 300, 2400, 1080, 360)
        ->setPicture(pictures::word(QStringLiteral("Simulate")));
    auto* reset = place<ImageButton>(c, QStringLiteral("Image3"), 7305, 5250, 1935, 405);
    reset->setPicture(pictures::word(QStringLiteral("Reset to default values"), 127, 25));
    reset->setBorderStyle(1);
}

void Form4::pageLoad()
{
    TrapErrors t(QStringLiteral("Check your instalation for Grid32.ocx"), QStringLiteral("Error loading Form4"));
    for (const char* name : {"Image6", "Image2", "Image5", "Image7", "Image8", "Image9", "Image10", "Image11",
                             "Image1", "Image3", "calcula"})
        if (!t.step([&] { setHandCursor(ctl(QString::fromLatin1(name))); }))
            return;
    // The calculator's boxes start empty at every visit.
    t.step([&] { ctl<QLineEdit>(QStringLiteral("Text2"))->clear(); })
        && t.step([&] { ctl<QLineEdit>(QStringLiteral("Text3"))->clear(); });
}

void Form4::calcula_Click() { form4Calcula(*this); }

} // namespace tav
