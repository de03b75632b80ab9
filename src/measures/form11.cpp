#include "measures/form11.h"

#include "common/errors.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/random.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "common/twips.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "platform/slider.h"
#include "shell/indice.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QTimer>
#include <cmath>

namespace tav {

using namespace measures;

namespace {

const QString kAdvice = QStringLiteral("Try again with new inputs");

QColor rgb(int r, int g, int b) { return QColor(r, g, b); }

// A caption written into a label; a label that sizes itself follows its text.
void setCaption(QLabel* l, const QString& text)
{
    l->setText(text);
    if (!l->wordWrap())
        l->adjustSize();
}

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
    connect(timer, &QTimer::timeout, this, [this] { Timer1_Timer(); });

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
        connect(b, &QRadioButton::clicked, this, [this, index] { Option1_Click(index); });
    }

    // Notices.
    auto wire = [this](Slider* s, void (Form11::*change)(), void (Form11::*scroll)()) {
        connect(s, &Slider::changed, this, [this, change] { (this->*change)(); });
        if (scroll)
            connect(s, &Slider::scrolled, this, [this, scroll] { (this->*scroll)(); });
    };
    auto find = [panel](const char* n) { return panel->findChild<Slider*>(QString::fromLatin1(n)); };
    wire(find("Hscroll1"), &Form11::Hscroll1_Change, &Form11::Hscroll1_Scroll);
    wire(find("Hscroll2"), &Form11::Hscroll2_Change, &Form11::Hscroll2_Scroll);
    wire(find("Hscroll3"), &Form11::Hscroll3_Change, nullptr);
    wire(find("Hscroll4"), &Form11::Hscroll4_Change, &Form11::Hscroll4_Scroll);
    wire(find("Hscroll5"), &Form11::Hscroll5_Change, &Form11::Hscroll5_Scroll);
    wire(find("Hscroll7"), &Form11::Hscroll7_Change, &Form11::Hscroll7_Scroll);
    wire(find("Hscroll9"), &Form11::Hscroll9_Change, &Form11::Hscroll9_Scroll);
    connect(find("Hscroll9"), &Slider::clicked, this, [this] { Hscroll9_Click(); });
    wire(alp, &Form11::Slider1_Change, &Form11::Slider1_Scroll);
    connect(variability, &ComboBox::changed, this, [this] { Combo1_Change(); });
    connect(variability, &ComboBox::clicked, this, [this] { Combo1_Click(); });
    connect(imports, &ComboBox::changed, this, [this] { Combo2_Change(); });
    connect(imports, &ComboBox::clicked, this, [this] { Combo2_Click(); });
    connect(once, &ImageButton::clicked, this, [this] { Image4_Click(); });
    connect(playStop, &ImageButton::clicked, this, [this] { Image3_Click(); });
    connect(reset, &ImageButton::clicked, this, [this] { Image32_Click(); });
    auto* frame4 = client->findChild<QWidget*>(QStringLiteral("Frame4"));
    if (frame4) {
        if (auto* b = frame4->findChild<ImageButton*>(QStringLiteral("Image9")))
            connect(b, &ImageButton::clicked, this, [this] { Image9_Click(); });
        if (auto* b = frame4->findChild<ImageButton*>(QStringLiteral("Image10")))
            connect(b, &ImageButton::clicked, this, [this] { Image10_Click(); });
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
    e.step([&] { slider(QStringLiteral("Hscroll4"))->setValue(4000); });
    e.step([&] { slider(QStringLiteral("Hscroll7"))->setValue(900000); });
    e.step([&] { combo(QStringLiteral("Combo1"))->setText(QStringLiteral("0")); });
    e.step([&] { combo(QStringLiteral("Combo2"))->setText(QStringLiteral("1")); });
    e.step([&] { slider(QStringLiteral("Hscroll3"))->setValue(25); });
    e.step([&] { slider(QStringLiteral("Hscroll1"))->setValue(2000); });
    e.step([&] { slider(QStringLiteral("Hscroll2"))->setValue(2000); });
    flctr = 0;
}

// Probit --------------------------------------------------------------------

double Form11::probit(double& p)
{
    TrapErrors t(kAdvice, QStringLiteral("Error Form11 (probit)"));
    double result = 5.0;
    t.step([&] { p = probitArgument(p); }) && t.step([&] { result = probitValue(p); });
    return t.aborted() ? 0.0 : result;
}

double Form11::mortal(double& z)
{
    TrapErrors t(kAdvice, QStringLiteral("Error Form11 (mortal)"));
    const double given = z;
    double result = 0.0;
    t.step([&] { z = checked(z - 5.0); }) && t.step([&] { result = mortalValue(given); });
    return t.aborted() ? 0.0 : result;
}

// Model ---------------------------------------------------------------------

void Form11::atualiza()
{
    if (flctr == 1)
        return;
    IgnoreErrors e;
    e.step([&] { setCaption(label(QStringLiteral("Label6")), localeText(QStringLiteral("0.0"))); });
    anim_.nsimul = 0;
    anim_.somaestab = 0;
    // The results table shows the parameters as their captions show them.
    for (auto [to, from] : {std::pair{0, 0}, {4, 1}, {1, 2}, {2, 3}, {5, 4}, {3, 5}, {7, 6}})
        e.step([&] {
            setCaption(label(QStringLiteral("Label88"), to), label(QStringLiteral("Label99"), from)->text());
        });

    ModelCaptions in;
    ModelResults io;
    io.ic = ic;
    e.step([&] {
        in.prevalence = label(QStringLiteral("Label99"), 0)->text();
        in.consignment = label(QStringLiteral("Label99"), 1)->text();
        in.efficacy = label(QStringLiteral("Label99"), 2)->text();
        in.sample = label(QStringLiteral("Label99"), 4)->text();
        in.p1 = label(QStringLiteral("Label88"), 3)->text();
        in.p2 = label(QStringLiteral("Label88"), 7)->text();
        in.variability = combo(QStringLiteral("Combo1"))->text();
        in.imports = combo(QStringLiteral("Combo2"))->text();
        io.prevalenceAfter = label(QStringLiteral("Label21"), 1)->text();
        io.confidence = label(QStringLiteral("Label88"), 6)->text();
        io.refused = label(QStringLiteral("Label21"), 3)->text();
        io.establishments = label(QStringLiteral("Label21"), 0)->text();
        io.years = label(QStringLiteral("Label21"), 2)->text();
    });
    recompute(in, io);
    ic = io.ic;
    e.step([&] { setCaption(label(QStringLiteral("Label21"), 1), io.prevalenceAfter); });
    e.step([&] { setCaption(label(QStringLiteral("Label88"), 6), io.confidence); });
    e.step([&] { setCaption(label(QStringLiteral("Label21"), 3), io.refused); });
    // The sentences close up behind the values that change length.
    const auto follow = [&](Label* l, QWidget* after) { l->move(after->x() + after->width() + twips(90), l->y()); };
    e.step([&] { follow(label(QStringLiteral("Label24"), 14), label(QStringLiteral("Label21"), 3)); });
    e.step([&] { setCaption(label(QStringLiteral("Label21"), 2), io.years); });
    e.step([&] { setCaption(label(QStringLiteral("Label21"), 0), io.establishments); });
    e.step([&] { follow(label(QStringLiteral("Label24"), 11), label(QStringLiteral("Label21"), 0)); });
    e.step([&] { follow(label(QStringLiteral("Label21"), 2), label(QStringLiteral("Label24"), 11)); });
    e.step([&] { follow(label(QStringLiteral("Label24"), 12), label(QStringLiteral("Label21"), 2)); });
    muda();
}

// Parameter controls --------------------------------------------------------

void Form11::redraw(int flag)
{
    int32_t pop = 0, samp = 0;
    float inf = 0, pr1 = 0, pr2 = 0, effic = 0;
    pop = slider(QStringLiteral("Hscroll4"))->value();
    inf = float(slider(QStringLiteral("Hscroll5"))->value() / 10000.0);
    samp = slider(QStringLiteral("Hscroll3"))->value();
    pr1 = float(slider(QStringLiteral("Hscroll1"))->value() / 10000.0);
    pr2 = float(slider(QStringLiteral("Hscroll2"))->value() / 10000.0);
    effic = float(1.0 - slider(QStringLiteral("Hscroll7"))->value() / 1000000.0);
    desenhabase(flag, pop, inf, samp, pr1, pr2, effic);
}

namespace {
QString tenThousandths(int v) { return formatNumber(v / 10000.0, QStringLiteral("0.0000")); }
} // namespace

// A probability slider: its caption in four decimals, then, unless the page
// is setting its controls, the model and the drawing from `stage` on.
void Form11::probabilityChanged(const QString& slider_, int caption, int stage)
{
    IgnoreErrors e;
    e.step([&] { setCaption(label(QStringLiteral("Label99"), caption), tenThousandths(slider(slider_)->value())); });
    if (flctr != 1) {
        e.step([&] { atualiza(); });
        e.step([&] { redraw(stage); });
    }
}

void Form11::Hscroll1_Change() { probabilityChanged(QStringLiteral("Hscroll1"), 5, 3); }
void Form11::Hscroll2_Change() { probabilityChanged(QStringLiteral("Hscroll2"), 6, 4); }
void Form11::Hscroll5_Change() { probabilityChanged(QStringLiteral("Hscroll5"), 0, 0); }

void Form11::Hscroll3_Change()
{
    IgnoreErrors e;
    e.step([&] { setCaption(label(QStringLiteral("Label99"), 4), QString::number(slider(QStringLiteral("Hscroll3"))->value())); });
    // The consignment stays at least a tenth larger than the sample.
    e.step([&] { slider(QStringLiteral("Hscroll4"))->setMin(int(vbInt(1.1 * slider(QStringLiteral("Hscroll3"))->value()))); });
    if (flctr != 1) {
        e.step([&] { atualiza(); });
        e.step([&] { redraw(2); });
    }
}

void Form11::Hscroll4_Change()
{
    IgnoreErrors e;
    e.step([&] { setCaption(label(QStringLiteral("Label99"), 1), QString::number(slider(QStringLiteral("Hscroll4"))->value())); });
    e.step([&] { slider(QStringLiteral("Hscroll3"))->setMax(int(vbInt(0.9 * slider(QStringLiteral("Hscroll4"))->value()))); });
    if (flctr != 1) {
        e.step([&] { atualiza(); });
        e.step([&] { redraw(0); });
    }
}

void Form11::Hscroll7_Change()
{
    IgnoreErrors e;
    double x = 0;
    e.step([&] { x = slider(QStringLiteral("Hscroll7"))->value() / 1000000.0; });
    e.step([&] {
        setCaption(label(QStringLiteral("Label99"), 2),
                   generalText(readCaption(formatNumber(x, QStringLiteral("0.000000")))));
    });
    if (flctr == 1)
        return;
    flctr = 1;
    e.step([&] { setCaption(label(QStringLiteral("Label99"), 3), formatNumber(probit(x), QStringLiteral("0.0"))); });
    e.step([&] { slider(QStringLiteral("Hscroll9"))->setValue(cint(readCaption(label(QStringLiteral("Label99"), 3)->text()) * 10)); });
    flctr = 0;
    e.step([&] { atualiza(); });
    e.step([&] { redraw(1); });
}

void Form11::Hscroll9_Change()
{
    IgnoreErrors e;
    double z = 0;
    e.step([&] { z = slider(QStringLiteral("Hscroll9"))->value() / 10.0; });
    e.step([&] { setCaption(label(QStringLiteral("Label99"), 3), formatNumber(z, QStringLiteral("0.0"))); });
    if (flctr == 1)
        return;
    e.step([&] { setCaption(label(QStringLiteral("Label99"), 2), formatNumber(mortal(z), QStringLiteral("0.000000"))); });
    flctr = 1;
    e.step([&] { slider(QStringLiteral("Hscroll7"))->setValue(clng(readCaption(label(QStringLiteral("Label99"), 2)->text()) * 1000000.0)); });
    flctr = 0;
    e.step([&] { atualiza(); });
    e.step([&] { redraw(1); });
}

void Form11::Hscroll9_Click()
{
    IgnoreErrors e;
    double z = 0;
    e.step([&] { z = slider(QStringLiteral("Hscroll9"))->value() / 10.0; });
    e.step([&] { setCaption(label(QStringLiteral("Label99"), 3), formatNumber(z, QStringLiteral("0.0"))); });
    if (flctr == 1)
        return;
    e.step([&] { setCaption(label(QStringLiteral("Label99"), 2), formatNumber(mortal(z), QStringLiteral("0.00000"))); });
    flctr = 1;
    e.step([&] { slider(QStringLiteral("Hscroll7"))->setValue(clng(readCaption(label(QStringLiteral("Label99"), 2)->text()) * 1000000.0)); });
    flctr = 0;
    e.step([&] { redraw(1); });
}

void Form11::Hscroll1_Scroll()
{
    ignoring([&] { slider(QStringLiteral("Hscroll1"))->setText(tenThousandths(slider(QStringLiteral("Hscroll1"))->value())); });
}

void Form11::Hscroll2_Scroll()
{
    ignoring([&] { slider(QStringLiteral("Hscroll2"))->setText(tenThousandths(slider(QStringLiteral("Hscroll2"))->value())); });
}

void Form11::Hscroll5_Scroll()
{
    ignoring([&] { slider(QStringLiteral("Hscroll5"))->setText(tenThousandths(slider(QStringLiteral("Hscroll5"))->value())); });
}

void Form11::Hscroll7_Scroll()
{
    ignoring([&] {
        Slider* s = slider(QStringLiteral("Hscroll7"));
        s->setText(formatNumber(s->value() / 1000000.0, QStringLiteral("0.0000")));
    });
}

void Form11::Hscroll9_Scroll()
{
    ignoring([&] {
        Slider* s = slider(QStringLiteral("Hscroll9"));
        s->setText(formatNumber(s->value() / 10.0, QStringLiteral("0.0")));
    });
}

void Form11::Hscroll4_Scroll()
{
    IgnoreErrors e;
    const int n = slider(QStringLiteral("Hscroll3"))->value();
    if (slider(QStringLiteral("Hscroll4"))->value() < n + 1) {
        e.step([&] { msgbox(QStringLiteral("The consignment size can't be less then the sample size"), MbExclamation,
                            QStringLiteral("Warning")); });
        e.step([&] { slider(QStringLiteral("Hscroll4"))->setValue(n + 100); });
    }
}

void Form11::Combo1_Change()
{
    IgnoreErrors e;
    e.step([&] { cvar_pmp = float(converted(combo(QStringLiteral("Combo1"))->text()) / 100.0); });
    e.step([&] { atualiza(); });
}

void Form11::Combo1_Click()
{
    IgnoreErrors e;
    e.step([&] { cvar_pmp = float(converted(combo(QStringLiteral("Combo1"))->text()) / 100.0); });
    e.step([&] { atualiza(); });
    // A running animation picks the new variability up at its next tick.
    e.step([&] {
        if (!timer()->isActive())
            redraw(0);
    });
}

void Form11::Combo2_Change() { ignoring([&] { atualiza(); }); }
void Form11::Combo2_Click() { ignoring([&] { atualiza(); }); }

// ALP -----------------------------------------------------------------------

AlpAnswers Form11::answers()
{
    AlpAnswers a;
    a.efficacy = label(QStringLiteral("Label40"))->text();
    a.probit = label(QStringLiteral("Label41"))->text();
    a.prevalence = label(QStringLiteral("Label42"))->text();
    a.consignment = label(QStringLiteral("Label43"))->text();
    a.sample = label(QStringLiteral("Label44"))->text();
    a.p1 = label(QStringLiteral("Label45"))->text();
    a.p2 = label(QStringLiteral("Label46"))->text();
    return a;
}

void Form11::muda()
{
    TrapErrors t(kAdvice, QStringLiteral("Error Form11(muda)"));
    AlpInputs in;
    AlpAnswers a;
    if (!t.step([&] {
            in.prevalence = label(QStringLiteral("Label88"), 0)->text();
            in.consignment = label(QStringLiteral("Label88"), 4)->text();
            in.p1 = label(QStringLiteral("Label88"), 3)->text();
            in.p2 = label(QStringLiteral("Label88"), 7)->text();
            in.imports = combo(QStringLiteral("Combo2"))->text();
            in.efficacy = label(QStringLiteral("Label99"), 2)->text();
            in.prevalenceAfter = label(QStringLiteral("Label21"), 1)->text();
            in.ic = ic;
            in.yy1 = yy1;
            a = answers();
        }))
        return;
    solveAlp(in, a, t, [this](double x) { return probit(x); });
    // What was solved before an abort is shown; the rest keep their captions.
    IgnoreErrors e;
    e.step([&] { label(QStringLiteral("Label40"))->setText(a.efficacy); });
    e.step([&] { label(QStringLiteral("Label41"))->setText(a.probit); });
    e.step([&] { label(QStringLiteral("Label42"))->setText(a.prevalence); });
    e.step([&] { label(QStringLiteral("Label43"))->setText(a.consignment); });
    e.step([&] { label(QStringLiteral("Label44"))->setText(a.sample); });
    e.step([&] { label(QStringLiteral("Label45"))->setText(a.p1); });
    e.step([&] { label(QStringLiteral("Label46"))->setText(a.p2); });
    for (int i = 0; i < 6; ++i)
        t.step([&] {
            auto* o = ctl<QRadioButton>(QStringLiteral("Option1"), i);
            if (o->isChecked())
                o->setText(answerOptionCaption(i, a));
        });
}

void Form11::Slider1_Change()
{
    IgnoreErrors e;
    int v = 0;
    e.step([&] { v = slider(QStringLiteral("Slider1"))->value(); });
    e.step([&] { yy1 = alpYears(v); });
    e.step([&] { slider(QStringLiteral("Slider1"))->setText(formatNumber(v / 10.0, QStringLiteral("#0.0"))); });
    e.step([&] {
        setCaption(label(QStringLiteral("Label24"), 17),
                   formatNumber(yy1, QStringLiteral("#,##0")) + QStringLiteral(" years between introductions"));
    });
    if (flctr != 1)
        e.step([&] { muda(); });
}

void Form11::Slider1_Scroll()
{
    IgnoreErrors e;
    int v = 0;
    e.step([&] { v = slider(QStringLiteral("Slider1"))->value(); });
    e.step([&] { yy1 = alpYears(v); });
    e.step([&] { slider(QStringLiteral("Slider1"))->setText(formatNumber(v / 10.0, QStringLiteral("#0.0"))); });
    e.step([&] {
        setCaption(label(QStringLiteral("Label24"), 17),
                   formatNumber(yy1, QStringLiteral("#,##0")) + QStringLiteral(" years between introductions"));
    });
    // An ALP the current data already beat is not a level to aim at.
    e.step([&] {
        if (readCaption(label(QStringLiteral("Label21"), 2)->text()) >= yy1)
            slider(QStringLiteral("Slider1"))->setText(QStringLiteral("Introductions more frequent then current data"));
    });
}

void Form11::Option1_Click(int index)
{
    IgnoreErrors e;
    AlpAnswers a;
    e.step([&] { a = answers(); });
    for (int i = 0; i < 6; ++i)
        e.step([&] {
            ctl<QRadioButton>(QStringLiteral("Option1"), i)
                ->setText(i == index ? answerOptionCaption(i, a) : plainOptionCaption(i));
        });
}

// Results panel ---------------------------------------------------------------

void Form11::Image10_Click()
{
    IgnoreErrors e;
    QWidget* panel = ctl(QStringLiteral("Picture10"));
    if (panel->isVisibleTo(panel->parentWidget())) {
        e.step([&] { panel->hide(); });
        return;
    }
    e.step([&] { atualiza(); });
    e.step([&] { panel->show(); });
    e.step([&] { ctl<ImageButton>(QStringLiteral("Image9"))->setPicture(indice().ctl<PictureBox>(QStringLiteral("Picture3"), 0)->picture()); });
    e.step([&] { ctl<ImageButton>(QStringLiteral("Image10"))->setPicture(indice().ctl<PictureBox>(QStringLiteral("Picture3"), 3)->picture()); });
    e.step([&] { ctl(QStringLiteral("Image9"))->setEnabled(true); });
    e.step([&] { ctl(QStringLiteral("Image10"))->setEnabled(false); });
}

void Form11::Image9_Click()
{
    IgnoreErrors e;
    QWidget* panel = ctl(QStringLiteral("Picture10"));
    if (!panel->isVisibleTo(panel->parentWidget())) {
        e.step([&] { panel->show(); });
        return;
    }
    e.step([&] { panel->hide(); });
    e.step([&] { ctl(QStringLiteral("Image9"))->setEnabled(false); });
    e.step([&] { ctl(QStringLiteral("Image10"))->setEnabled(true); });
    e.step([&] { ctl<ImageButton>(QStringLiteral("Image9"))->setPicture(indice().ctl<PictureBox>(QStringLiteral("Picture3"), 1)->picture()); });
    e.step([&] { ctl<ImageButton>(QStringLiteral("Image10"))->setPicture(indice().ctl<PictureBox>(QStringLiteral("Picture3"), 2)->picture()); });
}

bool Form11::eventFilter(QObject* o, QEvent* ev)
{
    // The results panel follows the mouse, with any button, inside the
    // picture area.
    auto* panel = qobject_cast<QWidget*>(o);
    if (panel && panel->objectName() == QLatin1String("Picture10")) {
        if (ev->type() == QEvent::MouseButtonPress) {
            // A press on one of the panel's controls is that control's.
            if (panel->childAt(static_cast<QMouseEvent*>(ev)->position().toPoint()))
                return false;
            dragFrom_ = static_cast<QMouseEvent*>(ev)->globalPosition().toPoint();
            dragging_ = true;
            return true;
        }
        if (ev->type() == QEvent::MouseMove && dragging_) {
            const QPoint at = static_cast<QMouseEvent*>(ev)->globalPosition().toPoint();
            QWidget* area = panel->parentWidget();
            QPoint to = panel->pos() + (at - dragFrom_);
            to.setX(qBound(-panel->width() + 8, to.x(), area->width() - 8));
            to.setY(qBound(-panel->height() + 8, to.y(), area->height() - 8));
            dragFrom_ += to - panel->pos();
            panel->move(to);
            return true;
        }
        if (ev->type() == QEvent::MouseButtonRelease) {
            dragging_ = false;
            return true;
        }
    }
    return ToolbarPage::eventFilter(o, ev);
}

// Animation -----------------------------------------------------------------

void Form11::setPointer(int pointer)
{
    pointer_ = pointer;
    if (FormWidget* w = widgetIfLoaded()) {
        if (pointer == 11)
            w->setCursor(Qt::WaitCursor);
        else
            w->unsetCursor();
    }
}

namespace {

// One circle drawn once and then stamped wherever it is wanted: stroking
// thousands of tiny circles one by one takes far longer than a frame.
const QImage& stamp(const QColor& color, double radius, int width)
{
    static QHash<QString, QImage> stamps;
    const QString key = QStringLiteral("%1/%2/%3").arg(color.rgb()).arg(qRound(radius * 10)).arg(width);
    auto it = stamps.find(key);
    if (it == stamps.end()) {
        const int side = int(std::ceil(2 * (radius + width))) + 2;
        QImage img(side, side, QImage::Format_ARGB32_Premultiplied);
        img.fill(Qt::transparent);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(color, width));
        p.drawEllipse(QPointF(side / 2.0, side / 2.0), radius, radius);
        p.end();
        it = stamps.insert(key, img);
    }
    return *it;
}

} // namespace

void Form11::paint(const DrawingPlan& plan)
{
    // Each picture's strokes go onto one transparent layer that is laid onto
    // the picture's drawing in a single step: tens of thousands of marks
    // stay within a frame.
    struct Layer {
        PictureBox* box = nullptr;
        QImage image;
        QPainter painter;
        double scale = 1; // pixels per unit of the box's scale
    };
    Layer layers[6];
    const char* names[6] = {"Picture6", "Picture7", "Picture1", "Picture4", "Picture2", "Picture3"};
    for (int i = 0; i < 6; ++i) {
        layers[i].box = ctl<PictureBox>(QString::fromLatin1(names[i]));
        layers[i].scale = layers[i].box->scaleMode() == PictureBox::ScaleTwips ? 1.0 / kTwipsPerPixel : 1.0;
    }
    const auto flush = [](Layer& l) {
        if (!l.painter.isActive())
            return;
        l.painter.end();
        l.box->paintPicture(QPixmap::fromImage(l.image), 0, 0);
    };
    const auto layer = [](Layer& l) -> QPainter& {
        if (!l.painter.isActive()) {
            l.image = QImage(l.box->size(), QImage::Format_ARGB32_Premultiplied);
            l.image.fill(Qt::transparent);
            l.painter.begin(&l.image);
            // Marks of a pixel or two: plain strokes, as the window system draws them.
        }
        return l.painter;
    };
    for (const DrawOp& op : plan.ops) {
        Layer& l = layers[int(op.pic)];
        const int width = op.pic == Pic::Consignment ? op.width : l.box->drawWidth();
        switch (op.kind) {
        case DrawOp::Clear:
            // What was laid on so far would be wiped with the picture.
            if (l.painter.isActive())
                l.painter.end();
            l.box->cls();
            break;
        case DrawOp::Point: {
            QPainter& p = layer(l);
            p.setPen(QPen(op.color, width));
            p.drawPoint(QPointF(op.x * l.scale, op.y * l.scale));
            break;
        }
        case DrawOp::Circle: {
            const QImage& mark = stamp(op.color, op.radius * l.scale, width);
            layer(l).drawImage(QPointF(op.x * l.scale - mark.width() / 2.0, op.y * l.scale - mark.height() / 2.0),
                               mark);
            break;
        }
        case DrawOp::Line: {
            QPainter& p = layer(l);
            p.setPen(QPen(op.color, width));
            p.drawLine(QPointF(op.x * l.scale, op.y * l.scale), QPointF(op.x2 * l.scale, op.y2 * l.scale));
            break;
        }
        case DrawOp::Warning:
            // The box shows over what has been drawn so far.
            for (Layer& each : layers)
                flush(each);
            msgbox(redrawLimitText(), MbCritical, QStringLiteral("Warning"));
            break;
        }
    }
    for (Layer& each : layers)
        flush(each);
}

void Form11::desenhabase(int& flag, int32_t& pop, float& inf, int32_t& samp, float& pr1, float& pr2, float& effic)
{
    TrapErrors t(QStringLiteral("Unexpected error. Try again with new inputs"), QStringLiteral("Error Form11 (simul)"));
    // A tick that falls due while a drawing (or its warning box) is open waits
    // for the next one instead of drawing inside it.
    drawing_ = true;
    AnimationParams in;
    in.flag = flag;
    in.pop = pop;
    in.inf = inf;
    in.samp = samp;
    in.pr1 = pr1;
    in.pr2 = pr2;
    in.effic = effic;
    in.cvar = cvar_pmp;
    DrawingPlan plan;
    AnimationGeometry g;
    bool ok = t.step([&] { in.timerOn = timer()->isActive(); });
    ok = ok && t.step([&] {
        g.fieldW = ctl<PictureBox>(QStringLiteral("Picture6"))->scaleWidth();
        g.fieldH = ctl<PictureBox>(QStringLiteral("Picture6"))->scaleHeight();
        g.afterW = ctl<PictureBox>(QStringLiteral("Picture7"))->scaleWidth();
        g.afterH = ctl<PictureBox>(QStringLiteral("Picture7"))->scaleHeight();
        g.shelfW = ctl<PictureBox>(QStringLiteral("Picture4"))->scaleWidth();
        g.shelfH = ctl<PictureBox>(QStringLiteral("Picture4"))->scaleHeight();
        g.hostW = ctl<PictureBox>(QStringLiteral("Picture2"))->scaleWidth();
        g.hostH = ctl<PictureBox>(QStringLiteral("Picture2"))->scaleHeight();
        g.estW = ctl<PictureBox>(QStringLiteral("Picture3"))->scaleWidth();
        g.estH = ctl<PictureBox>(QStringLiteral("Picture3"))->scaleHeight();
    });
    ok = ok && t.step([&] { setPointer(11); });
    ok = ok && t.step([&] { plan = planDrawing(in, g, anim_, rng()); });
    if (ok)
        inf = plan.inf;
    ok = ok && t.step([&] {
        if (!plan.label1.isNull())
            setCaption(label(QStringLiteral("Label1")), plan.label1);
    });
    ok = ok && t.step([&] { paint(plan); });
    ok = ok && t.step([&] {
        if (!plan.label6.isNull())
            setCaption(label(QStringLiteral("Label6")), plan.label6);
    });
    ok = ok && t.step([&] { setPointer(0); });
    drawing_ = false;
}

void Form11::Image3_Click()
{
    IgnoreErrors e;
    if (timer()->isActive()) {
        e.step([&] { timer()->stop(); });
        e.step([&] { ctl<ImageButton>(QStringLiteral("Image3"))->setPicture(ctl<PictureBox>(QStringLiteral("Picture8"))->picture()); });
        return;
    }
    e.step([&] { redraw(0); });
    e.step([&] { ctl<ImageButton>(QStringLiteral("Image3"))->setPicture(ctl<PictureBox>(QStringLiteral("Picture9"))->picture()); });
    e.step([&] { timer()->start(); });
    e.step([&] { label(QStringLiteral("Label6"))->show(); });
}

void Form11::Image4_Click()
{
    IgnoreErrors e;
    if (timer()->isActive())
        return;
    e.step([&] { label(QStringLiteral("Label6"))->hide(); });
    e.step([&] { redraw(0); });
}

void Form11::Timer1_Timer()
{
    if (drawing_)
        return;
    ignoring([&] { redraw(0); });
}

} // namespace tav
