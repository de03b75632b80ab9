#include "simulation/fsimula1.h"

#include "common/colors.h"
#include "common/errors.h"
#include "common/format.h"
#include "common/readings.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "shell/calculators.h"
#include "shell/navigation.h"
#include "shell/page.h"
#include "simulation/fresultsim.h"

namespace tav {

namespace {
const QColor kDarkGreen = vbColor(0x00004000);
}

FSimula1::FSimula1() : Form(QStringLiteral("FSimula1")) {}

void FSimula1::build(FormWidget* w)
{
    QWidget* c = w->client();
    w->setWindowFlag(Qt::WindowStaysOnTopHint);

    place<TextBox>(c, arrayName(QStringLiteral("Text1"), 0), 3495, 630, 855, 285)->setText(QStringLiteral(" 1000"));
    place<TextBox>(c, arrayName(QStringLiteral("Text1"), 1), 3495, 1065, 855, 300)->setText(QStringLiteral(" 0.1"));
    place<TextBox>(c, arrayName(QStringLiteral("Text1"), 2), 3495, 1560, 855, 285)->setText(QStringLiteral("10"));

    Frame* calc = place<Frame>(c, QStringLiteral("Frame1"), 6090, 645, 2085, 1080);
    calc->setTitle(QStringLiteral("Calculate sample"));
    calc->setFont(arial(9, true));
    calc->setBackColor(vbColor(0x00C0C0C0));
    Label* rdl = place<Label>(calc, arrayName(QStringLiteral("Label5"), 0), 90, 360, 525, 255);
    rdl->setText(QStringLiteral("RDL"));
    rdl->setForeColor(kDarkGreen);
    TextBox* text2 = place<TextBox>(calc, QStringLiteral("Text2"), 615, 315, 720, 285);
    text2->setToolTip(QStringLiteral("Enter RDL to calculate the necessary sample size"));
    Label* cl = place<Label>(calc, arrayName(QStringLiteral("Label5"), 1), 120, 660, 330, 255);
    cl->setText(QStringLiteral("CL"));
    cl->setForeColor(kDarkGreen);
    TextBox* text3 = place<TextBox>(calc, QStringLiteral("Text3"), 615, 675, 720, 285);
    text3->setToolTip(QStringLiteral("Enter the Confidence Level to calculate the necessary sample size"));
    auto* ok = place<ImageButton>(calc, QStringLiteral("calcula"), 1485, 405, 495, 405);
    ok->setPicture(pictures::word(QStringLiteral("ok"), 33, 27));
    connect(ok, &ImageButton::clicked, this, [this] { calcula_Click(); });

    Frame* probs = place<Frame>(c, QStringLiteral("Frame2"), 210, 2220, 8370, 1650);
    probs->setTitle(QStringLiteral("Probabilities of establishment"));
    probs->setFont(arial(9, true));
    probs->setBackColor(vbColor(0x00C0C0C0));

    place<ImageButton>(c, QStringLiteral("Image1"), 3255, 4005, 1080, 360)
        ->setPicture(pictures::word(QStringLiteral("Simulate")));
    auto* reset = place<ImageButton>(c, QStringLiteral("Image2"), 5610, 4035, 1935, 405);
    reset->setPicture(pictures::word(QStringLiteral("Reset to default values"), 127, 25));
    reset->setBorderStyle(1);
    auto* cancel = place<ImageButton>(c, QStringLiteral("Image3"), 7800, 4065, 795, 375);
    cancel->setPicture(pictures::word(QStringLiteral("Cancel"), 53, 25));
    connect(cancel, &ImageButton::clicked, this, [this] { Image3_Click(); });

    setupWindow(w, QStringLiteral("Simulation inputs"), 0x00E0E0E0, 8940, 4815);
}

void FSimula1::formLoad()
{
    IgnoreErrors e;
    for (const char* name : {"Image1", "Image2", "Image3"})
        e.step([&] { setHandCursor(ctl(QString::fromLatin1(name))); });
    e.step([&] { setHandCursor(ctl(QStringLiteral("calcula"))); });
    // The calculator keeps its values between visits, each written again from
    // its value.
    const std::pair<const char*, QString*> kept[] = {{"Text2", &memRdl_}, {"Text3", &memCl_}};
    for (const auto& [name, mem] : kept)
        if (!mem->isEmpty())
            e.step([&] { ctl<QLineEdit>(QString::fromLatin1(name))->setText(generalText(numberOrLeading(*mem))); });
}

void FSimula1::formUnload(bool& cancel)
{
    Q_UNUSED(cancel);
    IgnoreErrors e;
    e.step([&] { memRdl_ = ctl<QLineEdit>(QStringLiteral("Text2"))->text(); });
    e.step([&] { memCl_ = ctl<QLineEdit>(QStringLiteral("Text3"))->text(); });
    // The results window's picture panel is hidden, which loads the results
    // window when it is not loaded. This window is never the last form.
    ignoring([] { formRef<FResultSim>().ctl(QStringLiteral("Picture5"))->hide(); });
}

void FSimula1::calcula_Click() { fsimula1Calcula(*this); }

void FSimula1::Image3_Click()
{
    runSteps(*this, {{NavStep::UnloadSelf, {}}, {NavStep::Unload, QStringLiteral("FResultSim")},
                     {NavStep::Show, QStringLiteral("Form5")}});
}

} // namespace tav
