#include "simulation/fsimula1.h"

#include "common/colors.h"
#include "common/errors.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "platform/actions.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "platform/slider.h"
#include "shell/calculators.h"
#include "shell/navigation.h"
#include "shell/page.h"
#include "simulation/fresultsim.h"
#include "simulation/memsimula.h"
#include "simulation/preenchetabela.h"
#include "simulation/resultados.h"
#include "simulation/simula.h"

#include <QEvent>

namespace tav {

namespace {

const QColor kDarkBlue = vbColor(0x00C00000);
const QColor kDarkGreen = vbColor(0x00004000);
const QColor kRed = vbColor(0x000000FF);
const QColor kFrameCaption = vbColor(0x00404080);

constexpr double kSliderScale = 30000.0;

// The memory slots and the controls they remember, in restore order.
enum Kind { Text, Combo, Position };
struct Slot {
    const char* name;
    Kind kind;
};
const Slot kSlots[11] = {{"Combo1", Combo},   {"Text1_0", Text}, {"Text1_1", Text},     {"Text1_2", Text},
                         {"Combo2", Combo},   {"Text2", Text},   {"Text3", Text},       {"Combo3", Combo},
                         {"Combo4", Combo},   {"Hscroll1", Position}, {"Hscroll2", Position}};

Label* label(QWidget* parent, const QString& name, int l, int t, int w, int h, const QString& text,
             const QColor& color = kDarkBlue, bool bold = true)
{
    Label* x = place<Label>(parent, name, l, t, w, h);
    x->setText(text);
    x->setFont(arial(8.25, bold));
    x->setForeColor(color);
    return x;
}

Frame* frame(QWidget* parent, const QString& name, int l, int t, int w, int h, const QString& caption)
{
    Frame* f = place<Frame>(parent, name, l, t, w, h);
    f->setTitle(caption);
    f->setFont(arial(9, true));
    f->setBackColor(vbColor(0x00C0C0C0));
    f->setStyleSheet(QStringLiteral("QGroupBox { color: %1; }").arg(kFrameCaption.name()));
    return f;
}

ComboBox* combo(QWidget* parent, const QString& name, int l, int t, std::initializer_list<int> items)
{
    auto* c = place<ComboBox>(parent, name, l, t, name == QLatin1String("Combo1") ? 840 : 750, 315);
    for (int i : items)
        c->addItem(QString::number(i));
    return c;
}

const std::initializer_list<int> kRuns = {1, 5, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 250, 500};
const std::initializer_list<int> kPercents = {0, 5, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};

QString probabilityText(int position) { return formatNumber(position / kSliderScale, QStringLiteral("0.#####")); }

} // namespace

FSimula1::FSimula1() : Form(QStringLiteral("FSimula1")) {}

void FSimula1::build(FormWidget* w)
{
    QWidget* c = w->client();
    w->setWindowFlag(Qt::WindowStaysOnTopHint);

    label(c, arrayName(QStringLiteral("Label1"), 0), 315, 600, 2355, 300, QStringLiteral("Consignment size (units)"));
    place<TextBox>(c, arrayName(QStringLiteral("Text1"), 0), 3495, 630, 855, 285)->setText(QStringLiteral(" 1000"));
    label(c, arrayName(QStringLiteral("Label1"), 1), 330, 1065, 2355, 300, QStringLiteral("Average prevalence"));
    place<TextBox>(c, arrayName(QStringLiteral("Text1"), 1), 3495, 1065, 855, 300)->setText(localeText(QStringLiteral(" 0.1")));
    label(c, arrayName(QStringLiteral("Label1"), 2), 300, 1545, 2355, 300, QStringLiteral("Sample size"));
    place<TextBox>(c, arrayName(QStringLiteral("Text1"), 2), 3495, 1560, 855, 285)->setText(QStringLiteral("10"));
    label(c, arrayName(QStringLiteral("Label3"), 4), 4560, 810, 1305, 255, QStringLiteral("Variability  %"))
        ->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    combo(c, QStringLiteral("Combo2"), 4815, 1050, {})
        ->setToolTip(QStringLiteral("Choose the variability in the consignment prevalence"));

    Frame* calc = frame(c, QStringLiteral("Frame1"), 6090, 645, 2085, 1080, QStringLiteral("Calculate sample"));
    label(calc, arrayName(QStringLiteral("Label5"), 0), 90, 360, 525, 255, QStringLiteral("RDL"), kDarkGreen);
    place<TextBox>(calc, QStringLiteral("Text2"), 615, 315, 720, 285)
        ->setToolTip(QStringLiteral("Enter RDL to calculate the necessary sample size"));
    label(calc, arrayName(QStringLiteral("Label5"), 1), 120, 660, 330, 255, QStringLiteral("CL"), kDarkGreen);
    place<TextBox>(calc, QStringLiteral("Text3"), 615, 675, 720, 285)
        ->setToolTip(QStringLiteral("Enter the Confidence Level to calculate the necessary sample size"));
    auto* ok = place<ImageButton>(calc, QStringLiteral("calcula"), 1485, 405, 495, 405);
    ok->setPicture(pictures::word(QStringLiteral("ok"), 33, 27));
    onSignal(ok, &ImageButton::clicked, this, [this] { calcula_Click(); });

    Frame* probs = frame(c, QStringLiteral("Frame2"), 210, 2220, 8370, 1650,
                         QStringLiteral("Probabilities of establishment"));
    label(probs, arrayName(QStringLiteral("Label3"), 0), 150, 405, 2865, 630,
          QStringLiteral("Probability of the ingressed pest gets to the production areas (p1)"), kDarkGreen)
        ->setWordWrap(true);
    label(probs, arrayName(QStringLiteral("Label3"), 1), 135, 1020, 2805, 510,
          QStringLiteral("Probability of the pest find favourable conditions (p2)"), kDarkGreen)
        ->setWordWrap(true);
    label(probs, arrayName(QStringLiteral("Label3"), 2), 3105, 150, 435, 270, QStringLiteral("Low"), kRed, false)
        ->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label(probs, arrayName(QStringLiteral("Label3"), 3), 5625, 165, 435, 270, QStringLiteral("Hight"), kRed, false)
        ->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    const int sliderTops[2] = {480, 1050}, boxTops[2] = {480, 1065};
    for (int i = 1; i <= 2; ++i) {
        auto* s = place<Slider>(probs, QStringLiteral("Hscroll%1").arg(i), 3180, sliderTops[i - 1], 2895, 225);
        s->setMin(1);
        s->setMax(29999);
        s->setSmallChange(30);
        s->setLargeChange(300);
        s->setTickFrequency(1000);
        onSignal(s, &Slider::changed, this, [this, i] { sliderChanged(i); });
        onSignal(s, &Slider::scrolled, this, [this, i] { sliderScrolled(i); });
        // Wide enough for five decimals.
        auto* box = place<TextBox>(probs, QStringLiteral("lp%1").arg(i), 6225, boxTops[i - 1], 690, 285);
        box->setText(QStringLiteral(" "));
        box->installEventFilter(this);
    }
    label(probs, arrayName(QStringLiteral("Label3"), 5), 6900, 150, 1320, 270, QStringLiteral("Variability %"))
        ->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    combo(probs, QStringLiteral("Combo3"), 7140, 450, {});
    combo(probs, QStringLiteral("Combo4"), 7140, 1035, {});
    for (int i = 2; i <= 4; ++i) {
        auto* v = w->findChild<ComboBox*>(QStringLiteral("Combo%1").arg(i));
        onSignal(v, &ComboBox::changed, this, [this, i] { variabilityChanged(i); });
        onSignal(v, &ComboBox::clicked, this, [this, i] { variabilityChanged(i); });
    }

    label(c, QStringLiteral("Label4"), 315, 4080, 1275, 270, QStringLiteral("N. Iterations"));
    combo(c, QStringLiteral("Combo1"), 1995, 4050, {});

    auto* run = place<ImageButton>(c, QStringLiteral("Image1"), 3255, 4005, 1080, 360);
    run->setPicture(pictures::word(QStringLiteral("Simulate")));
    onSignal(run, &ImageButton::clicked, this, [this] { Image1_Click(); });
    auto* reset = place<ImageButton>(c, QStringLiteral("Image2"), 5610, 4035, 1935, 405);
    reset->setPicture(pictures::word(QStringLiteral("Reset to default values"), 127, 25));
    reset->setBorderStyle(1);
    onSignal(reset, &ImageButton::clicked, this, [this] { Image2_Click(); });
    auto* cancel = place<ImageButton>(c, QStringLiteral("Image3"), 7800, 4065, 795, 375);
    cancel->setPicture(pictures::word(QStringLiteral("Cancel"), 53, 25));
    onSignal(cancel, &ImageButton::clicked, this, [this] { Image3_Click(); });

    setupWindow(w, QStringLiteral("Simulation inputs"), 0x00E0E0E0, 8940, 4815);
}

void FSimula1::formLoad()
{
    IgnoreErrors e;
    // The window flag set at build keeps it above the other windows.
    for (const char* name : {"Image1", "Image2", "Image3", "calcula", "Hscroll1", "Hscroll2"})
        e.step([&] { setHandCursor(ctl(QString::fromLatin1(name))); });
    e.step([&] {
        auto* runs = ctl<ComboBox>(QStringLiteral("Combo1"));
        for (int i : kRuns)
            runs->addItem(QString::number(i));
        runs->setText(QStringLiteral("10"));
    });
    digitando_ = 0;
    for (const char* name : {"Hscroll1", "Hscroll2"})
        e.step([&] { ctl<Slider>(QString::fromLatin1(name))->setValue(10000); });
    for (const char* name : {"Combo2", "Combo3", "Combo4"})
        e.step([&] {
            auto* v = ctl<ComboBox>(QString::fromLatin1(name));
            for (int i : kPercents)
                v->addItem(QString::number(i));
            v->setText(QStringLiteral("10"));
        });

    // Each remembered input comes back as the text of the number it reads as.
    const Memsimula& mem = memsimula();
    for (int i = 0; i < 11; ++i) {
        const QVariant& kept = mem[size_t(i)];
        if (!kept.isValid() || kept.toString().isEmpty())
            continue;
        e.step([&] {
            const QString name = QString::fromLatin1(kSlots[i].name);
            const double v = numberOrLeading(kept.toString());
            switch (kSlots[i].kind) {
            case Text: ctl<QLineEdit>(name)->setText(generalText(v)); break;
            case Combo: ctl<ComboBox>(name)->setText(generalText(v)); break;
            case Position: ctl<Slider>(name)->setValue(clng(v)); break;
            }
        });
    }
}

void FSimula1::formUnload(bool& cancel)
{
    Q_UNUSED(cancel);
    IgnoreErrors e;
    // The results window's picture panel is hidden, which loads the results
    // window when it is not loaded. This window is never the last form.
    e.step([] { formRef<FResultSim>().ctl(QStringLiteral("Picture5"))->hide(); });
    Memsimula& mem = memsimula();
    for (int i = 0; i < 11; ++i)
        e.step([&] {
            const QString name = QString::fromLatin1(kSlots[i].name);
            switch (kSlots[i].kind) {
            case Text: mem[size_t(i)] = ctl<QLineEdit>(name)->text(); break;
            case Combo: mem[size_t(i)] = ctl<ComboBox>(name)->text(); break;
            case Position: mem[size_t(i)] = ctl<Slider>(name)->value(); break;
            }
        });
}

bool FSimula1::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::FocusOut) {
        if (watched->objectName() == QLatin1String("lp1"))
            typedProbability(1);
        else if (watched->objectName() == QLatin1String("lp2"))
            typedProbability(2);
    }
    return Form::eventFilter(watched, e);
}

void FSimula1::variabilityChanged(int index)
{
    ignoring([&] {
        const QString text = ctl<ComboBox>(QStringLiteral("Combo%1").arg(index))->text();
        // A text that is not a number keeps the variability as it was.
        if (!isNumber(text))
            return;
        const double v = localeValue(text) / 100.0;
        (index == 2 ? own_.varprev : index == 3 ? own_.varp1 : own_.varp2) = v;
        Variabilidades& vars = variabilidades();
        (index == 2 ? vars.varprev : index == 3 ? vars.varp1 : vars.varp2) = v;
    });
}

void FSimula1::applyVariabilities()
{
    for (int i = 2; i <= 4; ++i)
        variabilityChanged(i);
    variabilidades() = own_;
}

void FSimula1::sliderChanged(int index)
{
    if (digitando_ == 1)
        return;
    ignoring([&] {
        const int v = ctl<Slider>(QStringLiteral("Hscroll%1").arg(index))->value();
        ctl<QLineEdit>(QStringLiteral("lp%1").arg(index))->setText(probabilityText(v));
    });
}

void FSimula1::sliderScrolled(int index)
{
    ignoring([&] {
        auto* s = ctl<Slider>(QStringLiteral("Hscroll%1").arg(index));
        s->setText(probabilityText(s->value()));
    });
}

void FSimula1::typedProbability(int index)
{
    IgnoreErrors e;
    e.step([&] {
        const QString text = ctl<QLineEdit>(QStringLiteral("lp%1").arg(index))->text();
        if (!isNumber(text))
            return;
        const double v = localeValue(text);
        digitando_ = 1;
        if (v > 0 && v < 1)
            ignoring([&] { ctl<Slider>(QStringLiteral("Hscroll%1").arg(index))->setValue(clng(v * kSliderScale)); });
        digitando_ = 0;
    });
}

void FSimula1::Image2_Click()
{
    // The boxes are the inputs of the run in progress: they stay until it ends.
    if (simulaRunning())
        return;
    IgnoreErrors e;
    const std::pair<const char*, const char*> texts[] = {
        {"Text1_0", "1000"}, {"Text1_1", "0.1"}, {"Text1_2", "10"}};
    for (const auto& [name, text] : texts)
        e.step([&] { ctl<QLineEdit>(QString::fromLatin1(name))->setText(localeText(QString::fromLatin1(text))); });
    e.step([&] { ctl<ComboBox>(QStringLiteral("Combo2"))->setText(QStringLiteral("10")); });
    for (const char* name : {"Hscroll1", "Hscroll2"})
        e.step([&] { ctl<Slider>(QString::fromLatin1(name))->setValue(clng(0.3333 * kSliderScale)); });
    for (const char* name : {"Combo3", "Combo4", "Combo1"})
        e.step([&] { ctl<ComboBox>(QString::fromLatin1(name))->setText(QStringLiteral("10")); });
}

void FSimula1::Image1_Click()
{
    struct Test {
        enum { IsNumber, AtLeastOne, AboveSample, Fraction } kind;
        const char* box;
        const char* message;
        const char* focus;
    };
    static const Test kTests[] = {
        {Test::IsNumber, "Text1_0", "Input the consignment size", "Text1_0"},
        {Test::IsNumber, "Text1_1", "Input the Required Detection Level", "Text1_1"},
        {Test::IsNumber, "Text1_2", "Input the sample size", "Text1_2"},
        {Test::AtLeastOne, "Text1_0", "The consignment size shal be > 0", "Text1_0"},
        {Test::AboveSample, "Text1_0", "The sample size shall be < the consignment size", "Text1_2"},
        {Test::Fraction, "Text1_1", "The RDL shall be > 0 and < 1", "Text1_1"},
    };
    auto text = [this](const char* name) { return ctl<QLineEdit>(QString::fromLatin1(name))->text(); };
    // A box that passed "is a number" is used as that number.
    auto value = [&](const char* name) { return numberOrLeading(text(name)); };

    TrapErrors t(QStringLiteral("Unexpected error. Reload and try again with new inputs"),
                 QStringLiteral("Error FormSimula1"));
    for (const Test& test : kTests) {
        bool ok = true;
        if (!t.step([&] {
                switch (test.kind) {
                case Test::IsNumber: ok = isNumber(text(test.box)); break;
                case Test::AtLeastOne: ok = value(test.box) >= 1; break;
                case Test::AboveSample: ok = value("Text1_0") > value("Text1_2"); break;
                case Test::Fraction: ok = value(test.box) > 0 && value(test.box) < 1; break;
                }
            }))
            return;
        if (!ok) {
            t.step([&] { warning(QString::fromLatin1(test.message)); });
            t.step([&] { ctl(QString::fromLatin1(test.focus))->setFocus(); });
            return;
        }
    }

    FResultSim& results = formRef<FResultSim>();
    QString runs;
    double p1 = 0, p2 = 0;
    SimulaEnd end = SimulaEnd::Finished;
    t.step([&] { results.ctl<QLabel>(QStringLiteral("Text1_0"))->setText(generalText(value("Text1_0"))); })
        && t.step([&] {
               results.ctl<QLabel>(QStringLiteral("Text1_1"))
                   ->setText(formatNumber(value("Text1_1"), QStringLiteral("0.####")));
           })
        && t.step([&] { results.ctl<QLabel>(QStringLiteral("Text1_2"))->setText(generalText(value("Text1_2"))); })
        && t.step([&] {
               results.ctl<QLabel>(QStringLiteral("Combo1"))->setText(ctl<ComboBox>(QStringLiteral("Combo1"))->text());
           })
        && t.step([&] { results.show(); })
        && t.step([&] { unload(); })
        // Reading the probabilities loads this window again, hidden, with
        // the remembered inputs: they are the sliders' positions.
        && t.step([&] { p1 = numberOrLeading(text("lp1")); })
        && t.step([&] { p2 = numberOrLeading(text("lp2")); })
        && t.step([&] { applyVariabilities(); })
        && t.step([&] { end = simula(p1, p2, results); })
        && t.step([&] { runs = ctl<ComboBox>(QStringLiteral("Combo1"))->text(); })
        // A nested start, or a results window closed during the run, leaves
        // nothing to copy; a refused run leaves nothing to show.
        && (end != SimulaEnd::Finished || preenchetabela(results, runs, 6, true, t));
    if (end == SimulaEnd::Failed && results.isLoaded()) {
        ignoring([&] {
            int resultsOnly = 0;
            results.limpa(resultsOnly);
        });
        clearRunTable(results);
    }
}

void FSimula1::calcula_Click() { fsimula1Calcula(*this); }

void FSimula1::Image3_Click()
{
    runSteps(*this, {{NavStep::UnloadSelf, {}}, {NavStep::Unload, QStringLiteral("FResultSim")},
                     {NavStep::Show, QStringLiteral("Form5")}});
}

} // namespace tav
