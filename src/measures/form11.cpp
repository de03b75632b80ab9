// The measure page: its window, the load, the unload and the reset button.
// The rest of the page lives beside it: form11controls.cpp (the parameter
// sliders and combos), form11results.cpp (the model recomputation and the
// results panel), form11alp.cpp (the ALP solver) and form11animation.cpp
// (the drawing of random consignments).

#include "measures/form11.h"
#include "measures/form11shared.h"

#include "common/errors.h"
#include "common/readings.h"
#include "common/twips.h"
#include "platform/actions.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "platform/slider.h"
#include "shell/indice.h"

#include <QRadioButton>
#include <QTimer>

namespace tav {

using namespace measures;
using namespace form11;

namespace {

QColor rgb(int r, int g, int b) { return QColor(r, g, b); }

Label* addLabel(QWidget* parent, const QString& name, int left, int top, const QString& text,
                const QColor& fore, const QFont* font = nullptr, bool autoSize = true, int width = 1500,
                int height = 255)
{
    Label* l = place<Label>(parent, name, left, top, width, height);
    if (font)
        l->setFont(*font);
    l->setForeColor(fore);
    l->setText(text);
    l->setAutoSize(autoSize);
    return l;
}

PictureBox* addPicture(QWidget* parent, const QString& name, int left, int top, int width, int height,
                       const QColor& back, int scale)
{
    PictureBox* p = place<PictureBox>(parent, name, left, top, width, height);
    p->setBackColor(back);
    p->setScaleMode(scale);
    p->setDrawWidth(scale == PictureBox::ScalePixels ? 2 : 1);
    return p;
}

struct SliderDesign {
    const char* name;
    int left, top, width;
    int min, max, smallChange, largeChange, tick, design;
};

// Positions, ranges and design values of the parameter sliders and the ALP.
const SliderDesign kSliders[] = {
    {"Hscroll5", 165, 2280, 2055, 1, 9999, 1, 5, 500, 1},
    {"Hscroll4", 3450, 2280, 2655, 10, 10000, 1, 5, 300, 10},
    {"Hscroll7", 6300, 2280, 2655, 1, 999999, 100, 500, 50000, 1},
    {"Hscroll9", 9150, 2280, 1950, 1, 95, 1, 1, 10, 1},
    {"Hscroll3", 165, 5630, 2655, 10, 5000, 1, 5, 200, 10},
    {"Hscroll1", 6435, 5630, 2055, 1, 9999, 1, 5, 500, 1},
    {"Hscroll2", 8865, 5630, 2055, 1, 9999, 1, 5, 500, 1},
};

QPixmap buttonFace(const QString& words, int widthTwips, int heightTwips)
{
    return pictures::word(words, twips(widthTwips), twips(heightTwips));
}

} // namespace

Form11::Form11()
    : ToolbarPage(QStringLiteral("Form11"), PageDesign{QStringLiteral("Phytosanitary measures: Simulation"),
                                                       0x00C0FFFF, 11880, 8310, true, -30,
                                                       QStringLiteral("12. Phytosanitary measures")})
{
}

// Controls ------------------------------------------------------------------

Label* Form11::label(const QString& name, int index)
{
    return index < 0 ? ctl<Label>(name) : ctl<Label>(name, index);
}

Slider* Form11::slider(const QString& name) { return ctl<Slider>(name); }
ComboBox* Form11::combo(const QString& name) { return ctl<ComboBox>(name); }
QTimer* Form11::timer() { return ctl<QTimer>(QStringLiteral("Timer1")); }

void Form11::buildContent(FormWidget* w)
{
    QWidget* client = w->client();
    if (auto* title = client->findChild<QWidget*>(QStringLiteral("Label2"), Qt::FindDirectChildrenOnly))
        title->setGeometry(twipRect(-30, 705, 10395, 645));

    const QColor darkBrown = rgb(64, 0, 0), lightYellow = rgb(255, 255, 192), yellow = rgb(255, 255, 0);
    const QColor darkBlue = rgb(0, 0, 192), blue = rgb(0, 0, 255), black = rgb(0, 0, 0);
    const QFont titleFont = arial(12, true, true);

    Label* intro = addLabel(client, QStringLiteral("Label19"), 300, 1800, QString(), black, nullptr, false, 11160, 2940);
    intro->lower();

    auto* panel = addPicture(client, QStringLiteral("Picture5"), 180, 1365, 11265, 6105, rgb(0, 0, 128),
                             PictureBox::ScaleTwips);

    auto* reset = place<ImageButton>(client, QStringLiteral("Image32"), 4665, 7400, 1710, 405);
    reset->setPicture(buttonFace(QStringLiteral("Reset to default values"), 1710, 405));
    reset->setStretch(true);
    reset->setBorderStyle(1);

    auto* timer = new QTimer(w);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(1000);
    onSignal(timer, &QTimer::timeout, this, [this] { Timer1_Timer(); });

    auto* play = place<PictureBox>(client, QStringLiteral("Picture8"), 0, 0, 1710, 360);
    play->setPicture(buttonFace(QStringLiteral("Conrinuous simulation"), 1710, 360));
    play->hide();
    auto* stop = place<PictureBox>(client, QStringLiteral("Picture9"), 0, 0, 1710, 360);
    stop->setPicture(buttonFace(QStringLiteral("Stop"), 1710, 360));
    stop->hide();

    // The pictures of the animation and their titles.
    addPicture(panel, QStringLiteral("Picture6"), 165, 405, 5175, 1530, rgb(192, 255, 255), PictureBox::ScalePixels);
    addPicture(panel, QStringLiteral("Picture7"), 5880, 405, 5175, 1500, rgb(255, 255, 255), PictureBox::ScalePixels);
    addPicture(panel, QStringLiteral("Picture1"), 375, 3300, 3390, 2000, rgb(255, 255, 192), PictureBox::ScaleTwips);
    addPicture(panel, QStringLiteral("Picture4"), 3960, 3285, 2055, 2000, rgb(255, 255, 255), PictureBox::ScalePixels);
    addPicture(panel, QStringLiteral("Picture2"), 6435, 3240, 2055, 2000, rgb(255, 255, 255), PictureBox::ScalePixels);
    addPicture(panel, QStringLiteral("Picture3"), 8865, 3255, 2055, 2000, rgb(192, 255, 192), PictureBox::ScalePixels);
    struct Title { int index, left, top; const char* text; };
    for (const Title& t : {Title{4, 165, 105, "Field"}, Title{5, 5880, 105, "After measure"},
                           Title{0, 375, 2985, "Sampled consignment"}, Title{3, 3960, 2985, "Shelf"},
                           Title{1, 6435, 2940, "Host"}, Title{2, 8865, 2940, "Established"}})
        addLabel(panel, arrayName(QStringLiteral("Label4"), t.index), t.left, t.top, QString::fromLatin1(t.text),
                 yellow, &titleFont);
    addLabel(panel, QStringLiteral("Label1"), 2955, 75, QString(), yellow, &titleFont);
    addLabel(panel, QStringLiteral("Label6"), 10260, 2820, localeText(QStringLiteral("0.0")), yellow, &titleFont);
    new Line(panel, QStringLiteral("Line1"), 30, 2730, 11220, 2730, rgb(255, 0, 0));

    // The parameter controls with their titles and value captions.
    for (const SliderDesign& d : kSliders) {
        auto* s = place<Slider>(panel, QString::fromLatin1(d.name), d.left, d.top, d.width, 375);
        s->setMax(d.max);
        s->setMin(d.min);
        s->setSmallChange(d.smallChange);
        s->setLargeChange(d.largeChange);
        s->setTickFrequency(d.tick);
        s->setValue(d.design);
    }
    auto* variability = place<ComboBox>(panel, QStringLiteral("Combo1"), 2400, 2280, 855, 315);
    struct Caption { int index, left, top; const char* text; };
    const Caption titles[] = {{0, 165, 2010, "Field Prevalence"}, {1, 2400, 2010, "% Variability"},
                              {2, 3450, 2010, "Consignment size"}, {3, 6300, 2010, "Measures efficacy"},
                              {4, 9150, 2010, "Probit"},          {5, 165, 5350, "Sample size"},
                              {6, 6435, 5350, "Probability P1:"}, {7, 8865, 5350, "Probability P2:"}};
    const int valueOf[] = {0, -1, 1, 2, 3, 4, 5, 6}; // the value caption beside each title
    for (const Caption& c : titles) {
        Label* t = addLabel(panel, arrayName(QStringLiteral("Label80"), c.index), c.left, c.top,
                            QString::fromLatin1(c.text), lightYellow);
        if (valueOf[c.index] >= 0)
            addLabel(panel, arrayName(QStringLiteral("Label99"), valueOf[c.index]), 0, c.top, QString(), lightYellow)
                ->move(t->x() + t->width() + twips(90), t->y());
    }

    auto* once = place<ImageButton>(panel, QStringLiteral("Image4"), 2940, 5530, 1425, 360);
    once->setPicture(buttonFace(QStringLiteral("Simulate again"), 1425, 360));
    once->setStretch(true);
    auto* playStop = place<ImageButton>(panel, QStringLiteral("Image3"), 4485, 5535, 1710, 360);
    playStop->setPicture(play->picture());
    playStop->setStretch(true);

    // The results panel.
    auto* results = addPicture(panel, QStringLiteral("Picture10"), 2220, -90, 6390, 6135, rgb(255, 224, 192),
                               PictureBox::ScaleTwips);
    results->setToolTip(QStringLiteral("Click and drag"));
    results->hide();
    results->installEventFilter(this);

    const QFont sentence = arial(9.75, true);
    const QFont value = arial(9.75, true, true);
    QFont heading = sentence;
    heading.setUnderline(true);
    const QFont alpFont = arial(9, true);
    struct Text { int index, left, top; const char* text; };
    for (const Text& t : {Text{0, 375, 465, "Field Prevalence:"}, Text{4, 3330, 465, "Consignment size:"},
                          Text{1, 255, 735, "Measures efficacy:"}, Text{5, 3720, 750, "Sample size:"},
                          Text{2, 1155, 990, "Probit:"}, Text{6, 3390, 990, "Confidence level:"},
                          Text{3, 585, 1260, "Probability P1:"}, Text{7, 3600, 1260, "Probability P2:"}}) {
        Label* l = addLabel(results, arrayName(QStringLiteral("Label24"), t.index), t.left, t.top,
                            QString::fromLatin1(t.text), darkBlue);
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    for (const Text& t : {Text{0, 1785, 465, "Label25"}, Text{4, 4800, 465, "Label26"}, Text{1, 1785, 735, "Label29"},
                          Text{5, 4800, 735, "Label33"}, Text{2, 1785, 990, "Label30"}, Text{6, 4800, 990, "Label47"},
                          Text{3, 1785, 1260, "Label34"}, Text{7, 4800, 1260, "Label37"}})
        addLabel(results, arrayName(QStringLiteral("Label88"), t.index), t.left, t.top, QString::fromLatin1(t.text),
                 black);
    for (const Text& t : {Text{19, 300, 105, "Currently your data are:"},
                          Text{8, 180, 1740, "With these data the prevalence in the consignment is:"},
                          Text{10, 2115, 2040, "importations per year then you could get"},
                          Text{11, 720, 2400, "establishement(s) each"}, Text{12, 4050, 2400, "year(s)."},
                          Text{13, 180, 2745, "You are also expected to refuse"},
                          Text{14, 3810, 2745, "of the consignments."},
                          Text{18, 120, 4455, "To get this level of protection, it is necessary to adjust:"}})
        addLabel(results, arrayName(QStringLiteral("Label24"), t.index), t.left, t.top, QString::fromLatin1(t.text),
                 darkBrown, &sentence);
    addLabel(results, arrayName(QStringLiteral("Label24"), 9), 180, 2055, QStringLiteral("If you have"), darkBrown,
             &sentence, false, 1095, 255);
    addLabel(results, arrayName(QStringLiteral("Label24"), 15), 105, 3195,
             QStringLiteral("Appropriated Level of Protection"), rgb(192, 0, 0), &heading);
    addLabel(results, arrayName(QStringLiteral("Label24"), 16), 180, 3510,
             QStringLiteral("The ALP can be expressed throught the time lag between probable introductions. You can "
                            "choose your ALP in the slider."),
             darkBrown, &sentence, false, 6135, 570);
    addLabel(results, arrayName(QStringLiteral("Label24"), 17), 2970, 4140, QStringLiteral("years."), blue, &alpFont);
    for (const Text& t : {Text{1, 5415, 1755, "Label38"}, Text{0, 300, 2400, "L21"}, Text{2, 2970, 2400, "Label39"},
                          Text{3, 3345, 2745, "L48"}})
        addLabel(results, arrayName(QStringLiteral("Label21"), t.index), t.left, t.top, QString::fromLatin1(t.text),
                 blue, &value);
    auto* imports = place<ComboBox>(results, QStringLiteral("Combo2"), 1305, 2070, 720, 315);
    new Line(results, QStringLiteral("Line2"), -15, 3090, 6315, 3090, rgb(192, 0, 0), 2);
    auto* alp = place<Slider>(results, QStringLiteral("Slider1"), 180, 4110, 2655, 375);
    alp->setMax(80);
    alp->setMin(0);
    alp->setSmallChange(1);
    alp->setLargeChange(5);
    alp->setTickFrequency(2);
    alp->setValue(30);

    // The answers, kept in hidden labels behind the option frame.
    int left = 120;
    for (const char* n : {"Label40", "L41", "Label42", "Label43", "Label44", "Label45", "Label46"}) {
        const QString name = QString::fromLatin1(n) == QLatin1String("L41") ? QStringLiteral("Label41")
                                                                           : QString::fromLatin1(n);
        addLabel(results, name, left, 4900, QString::fromLatin1(n), black)->hide();
        left += 800;
    }
    addLabel(results, arrayName(QStringLiteral("Label31"), 2), 3000, 4900, QStringLiteral("(Probit"), black);
    auto* frame = place<Frame>(results, QStringLiteral("Frame1"), 75, 4800, 6210, 1245);
    frame->setTitle(QString());
    // The frame hides what lies behind it.
    frame->setBackColor(rgb(255, 224, 192));
    struct Option { int index, left, top; const char* text; };
    for (const Option& o : {Option{0, 120, 150, "Measure efficacy"}, Option{1, 120, 480, "Sample size"},
                            Option{2, 120, 855, "Consignment size"}, Option{3, 3615, 150, "Field prevalence"},
                            Option{4, 3615, 480, "Probability P1 "}, Option{5, 3615, 855, "Probability P2"}}) {
        auto* b = place<QRadioButton>(frame, arrayName(QStringLiteral("Option1"), o.index), o.left, o.top, 3450, 300);
        b->setText(QString::fromLatin1(o.text));
        QPalette pal = b->palette();
        pal.setColor(QPalette::WindowText, darkBlue);
        pal.setColor(QPalette::ButtonText, darkBlue);
        b->setPalette(pal);
        b->setChecked(o.index == 0);
        const int index = o.index;
        onSignal(b, &QRadioButton::clicked, this, [this, index] { Option1_Click(index); });
    }

    // Notices.
    auto wire = [this](Slider* s, void (Form11::*change)(), void (Form11::*scroll)()) {
        onSignal(s, &Slider::changed, this, [this, change] { (this->*change)(); });
        if (scroll)
            onSignal(s, &Slider::scrolled, this, [this, scroll] { (this->*scroll)(); });
    };
    auto find = [panel](const char* n) { return panel->findChild<Slider*>(QString::fromLatin1(n)); };
    wire(find("Hscroll1"), &Form11::Hscroll1_Change, &Form11::Hscroll1_Scroll);
    wire(find("Hscroll2"), &Form11::Hscroll2_Change, &Form11::Hscroll2_Scroll);
    wire(find("Hscroll3"), &Form11::Hscroll3_Change, nullptr);
    wire(find("Hscroll4"), &Form11::Hscroll4_Change, &Form11::Hscroll4_Scroll);
    wire(find("Hscroll5"), &Form11::Hscroll5_Change, &Form11::Hscroll5_Scroll);
    wire(find("Hscroll7"), &Form11::Hscroll7_Change, &Form11::Hscroll7_Scroll);
    wire(find("Hscroll9"), &Form11::Hscroll9_Change, &Form11::Hscroll9_Scroll);
    onSignal(find("Hscroll9"), &Slider::clicked, this, [this] { Hscroll9_Click(); });
    wire(alp, &Form11::Slider1_Change, &Form11::Slider1_Scroll);
    onSignal(variability, &ComboBox::changed, this, [this] { Combo1_Change(); });
    onSignal(variability, &ComboBox::clicked, this, [this] { Combo1_Click(); });
    onSignal(imports, &ComboBox::changed, this, [this] { Combo2_Change(); });
    onSignal(imports, &ComboBox::clicked, this, [this] { Combo2_Click(); });
    onSignal(once, &ImageButton::clicked, this, [this] { Image4_Click(); });
    onSignal(playStop, &ImageButton::clicked, this, [this] { Image3_Click(); });
    onSignal(reset, &ImageButton::clicked, this, [this] { Image32_Click(); });
    auto* frame4 = client->findChild<QWidget*>(QStringLiteral("Frame4"));
    if (frame4) {
        if (auto* b = frame4->findChild<ImageButton*>(QStringLiteral("Image9")))
            onSignal(b, &ImageButton::clicked, this, [this] { Image9_Click(); });
        if (auto* b = frame4->findChild<ImageButton*>(QStringLiteral("Image10")))
            onSignal(b, &ImageButton::clicked, this, [this] { Image10_Click(); });
    }
}

// Set-up --------------------------------------------------------------------

void Form11::pageLoad()
{
    IgnoreErrors e;
    e.step([&] { flagsalva = 0; });
    e.step([&] {
        ctl<ImageButton>(QStringLiteral("Image9"))
            ->setPicture(indice().ctl<PictureBox>(QStringLiteral("Picture3"), 1)->picture());
    });
    e.step([&] {
        setCaption(label(QStringLiteral("Label19")),
                   QStringLiteral("Phytosanitary measures are mostly used to decrease the prevalence of the pest in "
                                  "the commodity to be exported."));
    });
    e.step([&] { ctl(QStringLiteral("Image9"))->setEnabled(false); });
    e.step([&] { ctl(QStringLiteral("Image10"))->setEnabled(true); });
    e.step([&] { label(QStringLiteral("Label6"))->hide(); });
    flctr = 1;
    for (auto [name, v] : {std::pair{"Hscroll4", 4000}, {"Hscroll5", 3000}, {"Hscroll3", 25}, {"Hscroll1", 2000},
                           {"Hscroll2", 2000}, {"Hscroll7", 900000}, {"Hscroll9", 62}, {"Slider1", 1}})
        e.step([&] { slider(QString::fromLatin1(name))->setValue(v); });
    for (const char* n : {"Image3", "Image4", "Hscroll1", "Hscroll2", "Hscroll3", "Hscroll4", "Hscroll5", "Hscroll7",
                          "Hscroll9", "Slider1", "Image6", "Image12", "Image5", "Image7", "Image8", "Image9",
                          "Image10", "Image11", "Image32"})
        e.step([&] { setHandCursor(ctl(QString::fromLatin1(n))); });
    e.step([&] {
        ComboBox* c = combo(QStringLiteral("Combo1"));
        for (int i = 0; i <= 100; i += 10)
            c->addItem(QString::number(i));
        c->setText(QStringLiteral("0"));
    });
    e.step([&] {
        ComboBox* c = combo(QStringLiteral("Combo2"));
        for (int i = 1; i <= 5; ++i)
            c->addItem(QString::number(i));
        for (int i = 6; i <= 120; i += 6)
            c->addItem(QString::number(i));
        c->setText(QStringLiteral("1"));
    });
    flctr = 0;
    e.step([&] { redraw(0); });
}

void Form11::formUnload(bool& cancel)
{
    // The continuous run stops before the page records itself.
    ignoring([&] { ctl<QTimer>(QStringLiteral("Timer1"))->stop(); });
    ToolbarPage::formUnload(cancel);
}

void Form11::Image32_Click()
{
    IgnoreErrors e;
    flctr = 1;
    e.step([&] { slider(QStringLiteral("Hscroll5"))->setValue(3000); });
    // The sample goes first, so that the consignment's minimum (1.1 times the
    // sample) lets 4000 in, and again after it, when a consignment too small
    // for 25 units had held the sample's maximum below 25.
    e.step([&] { slider(QStringLiteral("Hscroll3"))->setValue(25); });
    e.step([&] { slider(QStringLiteral("Hscroll4"))->setValue(4000); });
    e.step([&] { slider(QStringLiteral("Hscroll7"))->setValue(900000); });
    e.step([&] { combo(QStringLiteral("Combo1"))->setText(QStringLiteral("0")); });
    e.step([&] { combo(QStringLiteral("Combo2"))->setText(QStringLiteral("1")); });
    e.step([&] { slider(QStringLiteral("Hscroll3"))->setValue(25); });
    e.step([&] { slider(QStringLiteral("Hscroll1"))->setValue(2000); });
    e.step([&] { slider(QStringLiteral("Hscroll2"))->setValue(2000); });
    flctr = 0;
}

} // namespace tav
