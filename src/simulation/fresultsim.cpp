#include "simulation/fresultsim.h"

#include "common/colors.h"
#include "common/errors.h"
#include "platform/actions.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "platform/grid.h"
#include "platform/slider.h"
#include "simulation/desenhabase.h"
#include "simulation/fsimula1.h"
#include "simulation/preenchetabela.h"
#include "simulation/simula.h"

#include <QLineEdit>
#include <QMouseEvent>
#include <QTableWidget>
#include <QTimer>
#include <cmath>

namespace tav {

namespace {

const QStringList kInputs = {QStringLiteral("Combo1"), QStringLiteral("Text1_0"), QStringLiteral("Text1_1"),
                             QStringLiteral("Text1_2"), QStringLiteral("p1"),      QStringLiteral("p2")};
const QStringList kResults = {QStringLiteral("Ling"),         QStringLiteral("Lpct_ing"),
                              QStringLiteral("Lpre_ing"),     QStringLiteral("Lencontradas"),
                              QStringLiteral("Lingreso"),     QStringLiteral("Lnsim"),
                              QStringLiteral("Lingreso_total"), QStringLiteral("Lp1medio"),
                              QStringLiteral("Lp2medio"),     QStringLiteral("Np1medio"),
                              QStringLiteral("Np2medio")};

struct Row {
    const char* caption;
    const char* value;
};

Label* caption(QWidget* c, int index, int left, int top, int width, const QString& text)
{
    Label* l = place<Label>(c, arrayName(QStringLiteral("Label1"), index), left, top, width, 285);
    l->setText(text);
    l->setFont(arial(8.25, true));
    return l;
}

Label* value(QWidget* c, const QString& name, int left, int top, int width)
{
    Label* l = place<Label>(c, name, left, top, width, 285);
    l->setFont(arial(8.25, true));
    l->setForeColor(vbColor(0x00800000));
    return l;
}

// Moves a control inside its window while a mouse button held on it (or on
// the widget that takes its mouse events) moves.
class DragMover : public QObject {
public:
    DragMover(QWidget* moved, QObject* parent) : QObject(parent), moved_(moved) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        Q_UNUSED(watched);
        switch (e->type()) {
        case QEvent::MouseButtonPress: {
            auto* m = static_cast<QMouseEvent*>(e);
            dragging_ = true;
            from_ = m->globalPosition().toPoint();
            start_ = moved_->pos();
            break;
        }
        case QEvent::MouseMove:
            if (dragging_) {
                auto* m = static_cast<QMouseEvent*>(e);
                moved_->move(start_ + (m->globalPosition().toPoint() - from_));
                return true;
            }
            break;
        case QEvent::MouseButtonRelease: dragging_ = false; break;
        default: break;
        }
        return false;
    }

private:
    QWidget* moved_;
    bool dragging_ = false;
    QPoint from_, start_;
};

struct PanelPicture {
    const char* name;
    int left;
    int width;
    uint32_t back;
    int scale;
    int heading; // Label4 index
    const char* caption;
};

const PanelPicture kPictures[] = {
    {"Picture1", 120, 3390, 0x00E0E0E0, PictureBox::ScaleTwips, 0, "Consignment"},
    {"Picture4", 3945, 2055, 0x00FFFFC0, PictureBox::ScalePixels, 3, "Consignment"},
    {"Picture2", 6375, 2055, 0x00FFFFC0, PictureBox::ScalePixels, 1, "Host"},
    {"Picture3", 8835, 2055, 0x00C0FFC0, PictureBox::ScalePixels, 2, "Established"},
};

struct PanelSlider {
    int index; // Hscroll index
    int left, width;
    int min, max;
    int caption; // Label13 index
    const char* text;
    int valueLabel; // Label14 index
};

const PanelSlider kSliders[] = {
    {4, 165, 1455, 10, 5000, 0, "Cons. size:", 4},
    {5, 1815, 1515, 1, 9999, 1, "Prevalence:", 0},
    {3, 3975, 2055, 1, 9999, 2, "Sample size:", 1},
    {1, 6450, 2055, 1, 9999, 3, "Probability P1:", 2},
    {2, 8895, 2055, 1, 9999, 4, "Probability P2:", 3},
};

const PanelSlider& sliderSpec(int index)
{
    for (const PanelSlider& s : kSliders)
        if (s.index == index)
            return s;
    return kSliders[0];
}

QString hscroll(int i) { return QStringLiteral("Hscroll%1").arg(i); }

// The input window's boxes, as this window reads them.
QString inputText(const char* name) { return formRef<FSimula1>().ctl<QLineEdit>(QString::fromLatin1(name))->text(); }
double inputValue(const char* name) { return numberOrLeading(inputText(name)); }

} // namespace

FResultSim::FResultSim()
    : ToolbarPage(QStringLiteral("FResultSim"),
                  PageDesign{QStringLiteral("Simulation results"), 0x00C0E0FF, 11880, 8310, true, -30,
                             QStringLiteral("Simulation results")})
{
}

void FResultSim::buildContent(FormWidget* w)
{
    QWidget* c = w->client();
    int n = 0;
    Label* data = caption(c, n++, 240, 1380, 1500, QStringLiteral("Data"));
    data->setFont(arial(18, true, true));
    data->resize(data->width(), 30);

    // The inputs in two columns above the line, the results below it.
    const Row inputs[] = {{"Consignment size", "Text1_0"}, {"Prevalence", "Text1_1"}, {"Sample size", "Text1_2"},
                          {"Iteractions", "Combo1"},       {"P1", "p1"},             {"P2", "p2"}};
    for (int i = 0; i < 6; ++i) {
        const int left = i < 3 ? 2040 : 6240, top = 1770 + (i % 3) * 240;
        caption(c, n++, left, top, 1800, QString::fromLatin1(inputs[i].caption));
        value(c, QString::fromLatin1(inputs[i].value), left + 1860, top, 1500);
    }

    Label* results = caption(c, n++, 240, 2640, 2000, QStringLiteral("Results"));
    results->setFont(arial(18, true, true));
    results->resize(results->width(), 30);
    const Row rows[] = {
        {"Refused consignments", "Ling"},
        {"Ingressed consignments", "Lpct_ing"},
        {"Average prevalence per ingressed consignment", "Lpre_ing"},
        {"Average positive samples found per consignment", "Lencontradas"},
        {"Ingressed infected units per consignment", "Lingreso"},
        {"Avarage probability to get to the host (p1)", "Lp1medio"},
        {"Avarage probability to find suitable conditions (p2)", "Lp2medio"},
        {"Number of individuals that could get to the host per ingressed consignment", "Np1medio"},
        {"Number of induviduals that could establishes per ingressed consignment", "Np2medio"},
    };
    int top = 3120;
    for (const Row& r : rows) {
        caption(c, n++, 240, top, 6600, QString::fromLatin1(r.caption));
        value(c, QString::fromLatin1(r.value), 6960, top, 1800);
        top += 330;
    }
    caption(c, n++, 240, top, 2400, QStringLiteral("Ingressed infected units in"));
    value(c, QStringLiteral("Lnsim"), 2700, top, 600);
    caption(c, n++, 3360, top, 1200, QStringLiteral("consignments"));
    value(c, QStringLiteral("Lingreso_total"), 6960, top, 1800);

    auto* grid = place<Grid>(c, QStringLiteral("Grid1"), 2190, 2565, 5730, 3840);
    auto* panel = place<PictureBox>(c, QStringLiteral("Picture5"), 30, 2475, 11145, 4485);
    panel->setBackColor(Qt::black);
    for (const PanelPicture& p : kPictures) {
        auto* pic = place<PictureBox>(panel, QString::fromLatin1(p.name), p.left, 600, p.width, 3030);
        pic->setBackColor(vbColor(p.back));
        pic->setScaleMode(p.scale);
        if (p.scale == PictureBox::ScalePixels)
            pic->setDrawWidth(2);
        Label* h = place<Label>(panel, arrayName(QStringLiteral("Label4"), p.heading), p.left, 240, p.width, 330);
        h->setText(QString::fromLatin1(p.caption));
        h->setFont(arial(12, true, true));
        h->setForeColor(vbColor(0x0000FFFF));
    }
    for (const PanelSlider& s : kSliders) {
        Label* cap = place<Label>(panel, arrayName(QStringLiteral("Label13"), s.caption), s.left, 3675, 1100, 285);
        cap->setText(QString::fromLatin1(s.text));
        cap->setFont(arial(8.25, true));
        cap->setForeColor(vbColor(0x00C0FFFF));
        cap->setAutoSize(true);
        // The value follows its caption on the same line.
        const int valueLeft = (cap->x() + cap->width()) * 15 + 60;
        Label* val = place<Label>(panel, arrayName(QStringLiteral("Label14"), s.valueLabel), valueLeft, 3675, 800, 285);
        val->setFont(arial(8.25, true));
        val->setForeColor(vbColor(0x00C0FFFF));
        auto* sl = place<Slider>(panel, hscroll(s.index), s.left, 4035, s.width, 255);
        sl->setMin(s.min);
        sl->setMax(s.max);
        sl->setLargeChange(10);
        sl->setSmallChange(1);
        sl->setTickFrequency(500);
        sl->setValue(10);
        const int i = s.index;
        onSignal(sl, &Slider::changed, this, [this, i] { sliderChanged(i); });
        onSignal(sl, &Slider::scrolled, this, [this, i] { sliderScrolled(i); });
    }
    panel->installEventFilter(new DragMover(panel, panel));
    grid->table()->viewport()->installEventFilter(new DragMover(grid, grid));

    auto* again = place<ImageButton>(c, QStringLiteral("Image4"), 450, 7470, 1425, 360);
    again->setPicture(pictures::word(QStringLiteral("Simulate again"), 95, 24));
    onSignal(again, &ImageButton::clicked, this, [this] { Image4_Click(); });
    auto* change = place<ImageButton>(c, QStringLiteral("Image3"), 2250, 7470, 1425, 360);
    change->setPicture(pictures::word(QStringLiteral("Change inputs"), 95, 24));
    onSignal(change, &ImageButton::clicked, this, [this] { Image3_Click(); });
    auto* continuous = place<ImageButton>(c, QStringLiteral("Image1"), 4275, 7485, 1710, 360);
    continuous->setPicture(pictures::word(QStringLiteral("Conrinuous simulation"), 114, 24));
    onSignal(continuous, &ImageButton::clicked, this, [this] { Image1_Click(); });
    // The two faces of the continuous-run button, never shown.
    auto* start = place<PictureBox>(c, QStringLiteral("Picture8"), 6240, 7485, 1710, 360);
    start->setPicture(pictures::word(QStringLiteral("Conrinuous simulation"), 114, 24));
    start->hide();
    auto* stop = place<PictureBox>(c, QStringLiteral("Picture9"), 8040, 7485, 1710, 360);
    stop->setPicture(pictures::word(QStringLiteral("Stop"), 114, 24));
    stop->hide();

    if (auto* show = w->findChild<ImageButton*>(QStringLiteral("Image9")))
        onSignal(show, &ImageButton::clicked, this, [this] { Image9_Click(); });
    if (auto* table = w->findChild<ImageButton*>(QStringLiteral("Image10")))
        onSignal(table, &ImageButton::clicked, this, [this] { Image10_Click(); });

    auto* timer = new QTimer(w);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(1000);
    onSignal(timer, &QTimer::timeout, this, [this] { Image4_Click(); });
}

void FResultSim::pageLoad()
{
    TrapErrors t(QStringLiteral("Check your instalation for Grid32.ocx"), QStringLiteral("Error loading form"));
    for (const char* name : {"Frame4", "Image3", "Image4", "Image1", "Hscroll1", "Hscroll2", "Hscroll3", "Hscroll4",
                             "Hscroll5"})
        t.step([&] { setHandCursor(ctl(QString::fromLatin1(name))); });
    t.step([&] { ctl(QStringLiteral("Picture5"))->hide(); });
    t.step([&] { ctl(QStringLiteral("Image1"))->hide(); });
    for (const char* name : {"Lpre_ing", "Ling", "Lencontradas", "Lpct_ing", "Lingreso", "Lingreso_total"})
        t.step([&] { ctl<Label>(QString::fromLatin1(name))->clear(); });
    t.step([&] { ctl<Label>(QStringLiteral("Lnsim"))->setText(QStringLiteral("0")); });
    t.step([&] {
        Grid* g = ctl<Grid>(QStringLiteral("Grid1"));
        g->setCols(6);
        g->setFixedRows(1);
        g->setFixedCols(1);
        g->setFixedAlignment(0, 2);
        g->setRow(0);
        for (int col = 0; col <= 5; ++col)
            g->setColWidth(col, 1070);
        g->hide();
    });
}

void FResultSim::limpa(int& f)
{
    IgnoreErrors e;
    if (f == 1)
        for (const QString& name : kInputs)
            e.step([&] { ctl<Label>(name)->clear(); });
    for (const QString& name : kResults)
        e.step([&] { ctl<Label>(name)->clear(); });
}

void FResultSim::Image3_Click()
{
    IgnoreErrors e;
    e.step([&] {
        int inputsToo = 1;
        limpa(inputsToo);
    });
    e.step([&] { ctl<QTimer>(QStringLiteral("Timer1"))->stop(); });
    e.step([] { formRef<FSimula1>().show(); });
}

bool FResultSim::viewShown()
{
    return !ctl(QStringLiteral("Picture5"))->isHidden() || !ctl(QStringLiteral("Grid1"))->isHidden();
}

void FResultSim::setStartFace()
{
    ctl<ImageButton>(QStringLiteral("Image1"))
        ->setPicture(ctl<PictureBox>(QStringLiteral("Picture8"))->picture());
}

void FResultSim::desenhabase(int flag, int32_t pop, float inf, int32_t samp, float pr1, float pr2)
{
    BaseSurface s;
    s.consignment = ctl<PictureBox>(QStringLiteral("Picture1"));
    s.ingressed = ctl<PictureBox>(QStringLiteral("Picture4"));
    s.host = ctl<PictureBox>(QStringLiteral("Picture2"));
    s.established = ctl<PictureBox>(QStringLiteral("Picture3"));
    s.verdict = ctl<Label>(QStringLiteral("Label4"), 3);
    s.hostLabel = ctl<Label>(QStringLiteral("Label4"), 1);
    s.establishedLabel = ctl<Label>(QStringLiteral("Label4"), 2);
    s.window = widget();
    tav::desenhabase(s, ninfestadas_, flag, pop, inf, samp, pr1, pr2);
}

void FResultSim::Form_Activate()
{
    IgnoreErrors e;
    salvando_ = 0;
    ajustando_ = 1;
    // The sample is read before any slider moves: a slider's change writes
    // back into the input window.
    int32_t sample = 0;
    bool sampleRead = false;
    e.step([&] {
        sample = clng(inputValue("Text1_2"));
        sampleRead = true;
    });
    e.step([&] { ctl<Slider>(QStringLiteral("Hscroll1"))->setValue(clng(inputValue("lp1") * 10000)); });
    e.step([&] { ctl<Slider>(QStringLiteral("Hscroll2"))->setValue(clng(inputValue("lp2") * 10000)); });
    e.step([&] { ctl<Slider>(QStringLiteral("Hscroll5"))->setValue(clng(inputValue("Text1_1") * 10000)); });
    // The consignment size before the sample: its change sets the sample's
    // maximum to 90 %, which must not cut a sample the input window allows
    // (up to N - 1), so the sample's own range and value come last. The value
    // goes first when it fits, so that the new maximum never moves it.
    e.step([&] { ctl<Slider>(QStringLiteral("Hscroll4"))->setValue(clng(inputValue("Text1_0"))); });
    e.step([&] {
        auto* s = ctl<Slider>(QStringLiteral("Hscroll3"));
        const int32_t max = clng(localeValue(inputText("Text1_0")) - 1);
        if (sampleRead && sample <= s->max())
            s->setValue(sample);
        setSampleMax(max);
        if (sampleRead)
            s->setValue(sample);
    });
    e.step([&] {
        ctl<Label>(QStringLiteral("Label14"), 1)
            ->setText(QString::number(ctl<Slider>(QStringLiteral("Hscroll3"))->value()));
    });
    ajustando_ = 0;

    bool shown = false;
    e.step([&] { shown = viewShown(); });
    if (shown) {
        e.step([&] { ctl(QStringLiteral("Image1"))->show(); });
        e.step([&] {
            desenhabase(0, clng(inputValue("Text1_0")), float(inputValue("Text1_1")), clng(inputValue("Text1_2")),
                        float(inputValue("lp1")), float(inputValue("lp2")));
        });
    } else {
        e.step([&] { ctl(QStringLiteral("Image1"))->hide(); });
        e.step([&] { ctl<QTimer>(QStringLiteral("Timer1"))->stop(); });
        e.step([&] { setStartFace(); });
    }
}

void FResultSim::sliderChanged(int index)
{
    IgnoreErrors e;
    const PanelSlider& spec = sliderSpec(index);
    int v = 0;
    if (!e.step([&] { v = ctl<Slider>(hscroll(index))->value(); }))
        return;
    const bool count = index == 3 || index == 4;
    const QString text = count ? QString::number(v) : formatNumber(v / 10000.0, QStringLiteral("0.0000"));
    e.step([&] { ctl<Label>(QStringLiteral("Label14"), spec.valueLabel)->setText(text); });
    static const char* const kMirror[6] = {nullptr, "p1", "p2", "Text1_2", "Text1_0", "Text1_1"};
    e.step([&] { ctl<Label>(QString::fromLatin1(kMirror[index]))->setText(text); });

    FSimula1& input = formRef<FSimula1>();
    if (index >= 3) {
        // The activation follows the input window: a bound it moves on the
        // way is not an input.
        if (!(boundMoved_ && ajustando_ == 1))
            e.step([&] { input.ctl<QLineEdit>(QString::fromLatin1(kMirror[index]))->setText(text); });
    } else {
        // p1 goes back one step above x x 30000, p2 does not.
        e.step([&] {
            const double x = numberOrLeading(ctl<Label>(QStringLiteral("Label14"), spec.valueLabel)->text());
            input.ctl<Slider>(hscroll(index))->setValue(clng(x * 30000 + (index == 1 ? 1 : 0)));
        });
    }
    if (index == 4) {
        e.step([&] {
            auto* sample = ctl<Slider>(QStringLiteral("Hscroll3"));
            setSampleMax(int(std::floor(0.9 * v)));
            sample->setTickFrequency(clng(sample->max() / 10.0));
        });
    }
    // A sample moved by a bound is redrawn by the change that moved it.
    if (ajustando_ == 1 || boundMoved_)
        return;

    e.step([&] {
        auto slider = [this](int i) { return ctl<Slider>(hscroll(i))->value(); };
        const int32_t pop = index == 4 ? v : clng(inputValue("Text1_0"));
        const float inf = index == 4 ? float(slider(5) / 10000.0)
                          : index == 5 ? float(v / 10000.0)
                                       : float(inputValue("Text1_1"));
        const int32_t samp = index == 3 ? v : clng(inputValue("Text1_2"));
        const float pr1 = index == 1 ? float(v / 10000.0) : float(inputValue("lp1"));
        const float pr2 = index == 2 ? float(v / 10000.0) : float(inputValue("lp2"));
        const int flag = index == 1 ? 3 : index == 2 ? 4 : 0;
        desenhabase(flag, pop, inf, samp, pr1, pr2);
    });
}

void FResultSim::setSampleMax(int max)
{
    // A sample the new maximum moves reports its change with the flag set:
    // its labels follow at once, its redraw is left to the caller.
    const bool outer = !boundMoved_;
    boundMoved_ = true;
    struct Restore {
        bool& flag;
        bool outer;
        ~Restore() { if (outer) flag = false; }
    } restore{boundMoved_, outer};
    ctl<Slider>(QStringLiteral("Hscroll3"))->setMax(max);
}

void FResultSim::sliderScrolled(int index)
{
    // The counts show no tip.
    if (index == 3 || index == 4)
        return;
    ignoring([&] {
        auto* s = ctl<Slider>(hscroll(index));
        s->setText(formatNumber(s->value() / 10000.0, QStringLiteral("0.0000")));
    });
}

void FResultSim::Image9_Click()
{
    IgnoreErrors e;
    bool panelShown = false;
    e.step([&] { panelShown = !ctl(QStringLiteral("Picture5"))->isHidden(); });
    if (panelShown) {
        e.step([&] { ctl(QStringLiteral("Picture5"))->hide(); });
        e.step([&] { ctl<QTimer>(QStringLiteral("Timer1"))->stop(); });
        e.step([&] { setStartFace(); });
    } else {
        bool refused = false;
        e.step([&] {
            if (numberOrLeading(ctl<Label>(QStringLiteral("Text1_0"))->text()) > kMaxDrawnConsignment) {
                refused = true;
                msgbox(QStringLiteral("Consignment to large to draw the image"), MbInformation,
                       QStringLiteral("Warning"));
            }
        });
        if (refused)
            return;
        e.step([&] {
            if (numberOrLeading(ctl<Label>(QStringLiteral("Text1_1"))->text()) > 0.9) {
                refused = true;
                msgbox(QStringLiteral("Prevalence to large to draw the image"), MbInformation,
                       QStringLiteral("Warning"));
            }
        });
        if (refused)
            return;
        e.step([&] { ctl(QStringLiteral("Picture5"))->show(); });
        e.step([&] { ctl(QStringLiteral("Grid1"))->hide(); });
    }
    bool shown = false;
    e.step([&] { shown = viewShown(); });
    if (shown) {
        e.step([&] { ctl(QStringLiteral("Image1"))->show(); });
    } else {
        e.step([&] { ctl(QStringLiteral("Image1"))->hide(); });
        e.step([&] { ctl<QTimer>(QStringLiteral("Timer1"))->stop(); });
    }
}

void FResultSim::Image10_Click()
{
    IgnoreErrors e;
    e.step([&] {
        QWidget* grid = ctl(QStringLiteral("Grid1"));
        if (!grid->isHidden()) {
            grid->hide();
        } else {
            grid->show();
            ctl(QStringLiteral("Picture5"))->hide();
        }
    });
    bool shown = false;
    e.step([&] { shown = viewShown(); });
    if (shown) {
        e.step([&] { ctl(QStringLiteral("Image1"))->show(); });
    } else {
        e.step([&] { ctl(QStringLiteral("Image1"))->hide(); });
        e.step([&] { ctl<QTimer>(QStringLiteral("Timer1"))->stop(); });
        e.step([&] { setStartFace(); });
    }
}

void FResultSim::Image4_Click()
{
    IgnoreErrors e;
    bool panelShown = false;
    if (!e.step([&] { panelShown = !ctl(QStringLiteral("Picture5"))->isHidden(); }))
        return;
    if (panelShown) {
        e.step([&] {
            auto slider = [this](int i) { return ctl<Slider>(hscroll(i))->value(); };
            desenhabase(0, slider(4), float(slider(5) / 10000.0), slider(3), float(slider(1) / 10000.0),
                        float(slider(2) / 10000.0));
        });
        return;
    }
    // A tick or a click while a run yields starts no second run: the run in
    // progress fills the window when it ends.
    if (simulaRunning())
        return;
    e.step([&] {
        int resultsOnly = 0;
        limpa(resultsOnly);
    });
    // The run takes the input window's variabilities, whatever another
    // window set since.
    e.step([&] { formRef<FSimula1>().applyVariabilities(); });
    SimulaEnd end = SimulaEnd::Finished;
    e.step([&] { end = simula(inputValue("lp1"), inputValue("lp2"), *this); });
    // A run the engine refused leaves no results: labels, grid and print
    // table say so together.
    if (end == SimulaEnd::Failed && isLoaded()) {
        e.step([&] {
            int resultsOnly = 0;
            limpa(resultsOnly);
        });
        clearRunTable(*this);
    }
    // A window unloaded during the run has nothing left to draw or fill.
    if (end != SimulaEnd::Finished)
        return;
    e.step([&] {
        desenhabase(0, clng(inputValue("Text1_0")), float(inputValue("Text1_1")), clng(inputValue("Text1_2")),
                    float(inputValue("lp1")), float(inputValue("lp2")));
    });
    e.step([&] { preenchetabela(*this, ctl<Label>(QStringLiteral("Combo1"))->text(), 6, false, e); });
}

void FResultSim::Image1_Click()
{
    IgnoreErrors e;
    bool running = false;
    e.step([&] { running = ctl<QTimer>(QStringLiteral("Timer1"))->isActive(); });
    if (running) {
        e.step([&] { ctl<QTimer>(QStringLiteral("Timer1"))->stop(); });
        e.step([&] { setStartFace(); });
        return;
    }
    e.step([&] { Image4_Click(); });
    // The run may have closed the window.
    if (!isLoaded())
        return;
    e.step([&] {
        ctl<ImageButton>(QStringLiteral("Image1"))
            ->setPicture(ctl<PictureBox>(QStringLiteral("Picture9"))->picture());
    });
    e.step([&] { ctl<QTimer>(QStringLiteral("Timer1"))->start(); });
}

void FResultSim::formUnload(bool& cancel)
{
    // The continuous run stops before the window records itself.
    ignoring([&] { ctl<QTimer>(QStringLiteral("Timer1"))->stop(); });
    ToolbarPage::formUnload(cancel);
}

} // namespace tav
