#include "simulation/form4.h"

#include "common/colors.h"
#include "common/errors.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "platform/actions.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/pictures.h"
#include "shell/calculators.h"
#include "simulation/form4drawing.h"
#include "simulation/preenchetabela.h"
#include "simulation/resultados.h"
#include "simulation/simula.h"

#include <QMouseEvent>
#include <QTableWidget>
#include <algorithm>

namespace tav {

namespace {

const char* const kResultLabels[] = {"Lpre_ing", "Ling", "Lencontradas", "Lpct_ing", "Lingreso", "Lingreso_total"};

const QString kParagraph1 = QStringLiteral(
    "To simulate the inspection it is required to enter the consignment size, its average prevalence, the sample "
    "size and the number of iterations (simulations) that will be done.");
const QString kParagraph2 = QStringLiteral(
    "As an option the sample size may be calculated using the hypergeometric distribution, entering the required "
    "detection level (RDL) and the confidence level (CL).");
const QString kParagraph3 = QStringLiteral(
    "The program presents the average results from the simulations and a graphical representation of the infected "
    "and sampled units.");

// Moves a control inside its window while a mouse button is held down on its
// grip, as a window follows the mouse by its caption. With `bareOnly` only a
// press on the control itself starts it, not one on a child control.
class ControlDrag : public QObject {
public:
    ControlDrag(QWidget* target, QWidget* grip, bool bareOnly)
        : QObject(target), target_(target), grip_(grip), bareOnly_(bareOnly)
    {
        grip->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched != grip_)
            return false;
        switch (e->type()) {
        case QEvent::MouseButtonPress: {
            auto* me = static_cast<QMouseEvent*>(e);
            if (bareOnly_ && grip_->childAt(me->position().toPoint()))
                return false;
            dragging_ = true;
            last_ = me->globalPosition().toPoint();
            return false;
        }
        case QEvent::MouseMove: {
            if (!dragging_)
                return false;
            auto* me = static_cast<QMouseEvent*>(e);
            const QPoint now = me->globalPosition().toPoint();
            QPoint to = target_->pos() + (now - last_);
            last_ = now;
            if (QWidget* parent = target_->parentWidget()) {
                to.setX(std::clamp(to.x(), 0, std::max(0, parent->width() - target_->width())));
                to.setY(std::clamp(to.y(), 0, std::max(0, parent->height() - target_->height())));
            }
            target_->move(to);
            return true;
        }
        case QEvent::MouseButtonRelease:
            dragging_ = false;
            return false;
        default:
            return false;
        }
    }

private:
    QWidget* target_;
    QWidget* grip_;
    bool bareOnly_;
    bool dragging_ = false;
    QPoint last_;
};

Label* resultCaption(QWidget* c, int index, const QString& text, int left, int top)
{
    Label* l = place<Label>(c, arrayName(QStringLiteral("Label1"), index), left, top, 600, 255);
    l->setText(text);
    l->setForeColor(vbColor(0x00800000));
    l->setFont(arial(8.25, true));
    l->setWordWrap(false);
    l->adjustSize();
    return l;
}

// A value label just right of what stands before it.
Label* resultValue(QWidget* c, const QString& name, QWidget* before, int width = 1095)
{
    const int left = pixelsToTwips(before->geometry().right() + 1) + 75;
    Label* l = place<Label>(c, name, left, pixelsToTwips(before->y()) - 15, width, 285);
    l->setForeColor(vbColor(0x00000000));
    l->setFont(arial(9, true));
    return l;
}

} // namespace

Form4::Form4()
    : ToolbarPage(QStringLiteral("Form4"),
                  PageDesign{QStringLiteral("Simulations of Inspection"), 0x00C0E0FF, 11880, 8310, true, -30, QString()})
{
}

void Form4::buildContent(FormWidget* w)
{
    QWidget* c = w->client();
    if (auto* title = c->findChild<Label*>(QStringLiteral("Label2")))
        title->setGeometry(twipRect(-30, 675, 10395, 555));

    Label* text = place<Label>(c, QStringLiteral("Label11"), 480, 1950, 5625, 3060);
    text->setForeColor(vbColor(0x00000040));
    text->setFont(arial(8.25, true));
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

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
        t->setText(localeText(QString::fromLatin1(designs[i])));
        t->setFont(arial(8.25));
    }
    auto* iterations = place<ComboBox>(inputs, QStringLiteral("Combo1"), 2610, 1470, 735, 315);
    iterations->setText(QStringLiteral("10"));
    iterations->setFont(arial(8.25));

    Label* variability = place<Label>(inputs, arrayName(QStringLiteral("Label3"), 4), 3405, 195, 825, 435);
    variability->setText(QStringLiteral("Variability (%)"));
    variability->setFont(arial(8.25));
    variability->setWordWrap(true);
    variability->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    auto* variabilityBox = place<ComboBox>(inputs, QStringLiteral("Combo2"), 3420, 690, 780, 315);
    variabilityBox->setText(QStringLiteral("Combo2"));
    variabilityBox->setFont(arial(8.25));
    onSignal(variabilityBox, &ComboBox::changed, this, [this] { Combo2_Change(); });
    onSignal(variabilityBox, &ComboBox::clicked, this, [this] { Combo2_Change(); });

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
    onSignal(ok, &ImageButton::clicked, this, [this] { calcula_Click(); });

    auto* simulate = place<ImageButton>(inputs, QStringLiteral("Image1"), 300, 2400, 1080, 360);
    simulate->setPicture(pictures::word(QStringLiteral("Simulate")));
    onSignal(simulate, &ImageButton::clicked, this, [this] { Image1_Click(); });
    auto* reset = place<ImageButton>(c, QStringLiteral("Image3"), 7305, 5250, 1935, 405);
    reset->setPicture(pictures::word(QStringLiteral("Reset to default values"), 127, 25));
    reset->setBorderStyle(1);
    onSignal(reset, &ImageButton::clicked, this, [this] { Image3_Click(); });

    Label* results = place<Label>(c, QStringLiteral("Label6"), 390, 5910, 11175, 465);
    results->setText(QStringLiteral("Results"));
    results->setForeColor(vbColor(0x00000080));
    results->setFont(arial(18, true, true));
    results->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    resultValue(c, QStringLiteral("Ling"), resultCaption(c, 4, QStringLiteral("Refused consignments:"), 480, 6450));
    resultValue(c, QStringLiteral("Lencontradas"),
                resultCaption(c, 5, QStringLiteral("Avarage infected samples found by refused consignment:"), 480, 6855));
    resultValue(c, QStringLiteral("Lingreso"),
                resultCaption(c, 8, QStringLiteral("Infected units (by consignment) that ingresses:"), 480, 7260));
    Label* sentence = resultCaption(c, 0, QStringLiteral("Infected units that ingresses in"), 480, 7665);
    Label* count = resultValue(c, QStringLiteral("Lnsim"), sentence, 480);
    count->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label* importations = resultCaption(c, 2, QStringLiteral("importations:"), pixelsToTwips(count->geometry().right() + 1) + 45, 7665);
    resultValue(c, QStringLiteral("Lingreso_total"), importations);
    resultValue(c, QStringLiteral("Lpct_ing"), resultCaption(c, 6, QStringLiteral("Ingressed consignments:"), 7020, 6450));
    resultValue(c, QStringLiteral("Lpre_ing"),
                resultCaption(c, 7, QStringLiteral("Average prevalence by ingressed consignment:"), 7020, 6855));

    auto* grid = place<Grid>(c, QStringLiteral("Grid1"), 990, 2130, 5730, 3090);
    new ControlDrag(grid, grid->table()->viewport(), false);
    QWidget* panel = buildConsignmentPanel(c);
    new ControlDrag(panel, panel, true);

    if (auto* showImage = w->findChild<ImageButton*>(QStringLiteral("Image9")))
        onSignal(showImage, &ImageButton::clicked, this, [this] { Image9_Click(); });
    if (auto* showTable = w->findChild<ImageButton*>(QStringLiteral("Image10")))
        onSignal(showTable, &ImageButton::clicked, this, [this] { Image10_Click(); });
}

void Form4::pageLoad()
{
    TrapErrors t(QStringLiteral("Check your instalation for Grid32.ocx"), QStringLiteral("Error loading Form4"));
    if (!t.step([&] { ctl(QStringLiteral("Picture3"))->hide(); }))
        return;
    for (const char* name : {"Image1", "calcula", "Image3", "Image6", "Image2", "Image5", "Image7", "Image8",
                             "Image9", "Image10", "Image11"})
        if (!t.step([&] { setHandCursor(ctl(QString::fromLatin1(name))); }))
            return;
    if (!t.step([&] { ctl<Label>(QStringLiteral("Label2"))->setText(QStringLiteral("4. Simulation of the inspection")); }) ||
        !t.step([&] { ctl<Label>(QStringLiteral("Label11"))->setText(kParagraph1); }) ||
        !t.step([&] {
            Label* l = ctl<Label>(QStringLiteral("Label11"));
            l->setText(l->text() + QStringLiteral("\n\n") + kParagraph2);
        }) ||
        !t.step([&] {
            Label* l = ctl<Label>(QStringLiteral("Label11"));
            l->setText(l->text() + QStringLiteral("\n\n") + kParagraph3);
        }))
        return;
    for (const char* name : kResultLabels)
        if (!t.step([&] { ctl<Label>(QString::fromLatin1(name))->clear(); }))
            return;
    if (!t.step([&] { ctl<Label>(QStringLiteral("Lnsim"))->setText(QStringLiteral("0")); }))
        return;

    const auto combo = [&](const char* name) { return ctl<ComboBox>(QString::fromLatin1(name)); };
    for (int v : {1, 5, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 250, 500})
        if (!t.step([&] { combo("Combo1")->addItem(QString::number(v)); }))
            return;
    if (!t.step([&] { combo("Combo1")->setText(QStringLiteral("10")); }))
        return;

    const auto grid = [&] { return ctl<Grid>(QStringLiteral("Grid1")); };
    if (!t.steps({[&] { grid()->setCols(5); }, [&] { grid()->setFixedRows(1); }, [&] { grid()->setFixedCols(1); },
                  [&] { grid()->setFixedAlignment(0, 2); }, [&] { grid()->setRow(0); },
                  [&] { grid()->setFixedAlignment(0, 2); }}))
        return;

    for (int v : {0, 5, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100})
        if (!t.step([&] { combo("Combo2")->addItem(QString::number(v)); }))
            return;
    // Its change notice sets the shared variability: every visit starts at 10 %.
    if (!t.step([&] { combo("Combo2")->setText(QStringLiteral("10")); }))
        return;

    for (int col = 0; col <= 4; ++col)
        if (!t.step([&] { grid()->setColWidth(col, 1070); }))
            return;
    if (!t.step([&] { grid()->hide(); }))
        return;
    // The calculator's boxes start empty at every visit.
    t.step([&] { ctl<QLineEdit>(QStringLiteral("Text2"))->clear(); })
        && t.step([&] { ctl<QLineEdit>(QStringLiteral("Text3"))->clear(); });
}

void Form4::formActivate()
{
    ignoring([&] { salvando = 0; });
}

void Form4::calcula_Click() { form4Calcula(*this); }

void Form4::Combo2_Change()
{
    ignoring([&] {
        const QString text = ctl<ComboBox>(QStringLiteral("Combo2"))->text();
        if (isNumber(text)) {
            varprev_ = cdiv(localeValue(text), 100.0);
            variabilidades().varprev = varprev_;
        }
    });
}

void Form4::Image1_Click()
{
    // One run at a time: a click while the engine yields is not a new run.
    if (simulaRunning())
        return;
    IgnoreErrors e;
    for (const char* name : kResultLabels)
        e.step([&] { ctl<Label>(QString::fromLatin1(name))->clear(); });
    e.step([&] { ctl<Label>(QStringLiteral("Lnsim"))->setText(QStringLiteral("0")); });

    const auto box = [&](int i) { return ctl<QLineEdit>(QStringLiteral("Text1"), i); };
    const auto value = [&](int i) { return numberOrLeading(box(i)->text()); };
    struct Check {
        std::function<bool()> passes;
        const char* message;
        int focus;
    };
    const Check checks[] = {
        {[&] { return isNumber(box(0)->text()); }, "Input the consignment size", 0},
        {[&] { return isNumber(box(1)->text()); }, "Input the RDL", 1},
        {[&] { return isNumber(box(2)->text()); }, "Input the sample size", 2},
        {[&] { return value(0) >= 1; }, "The consignment size shall be > 0", 0},
        {[&] { return value(0) > value(2); }, "The sample size shall be < the consignment size", 2},
        {[&] { return value(1) > 0 && value(1) < 1; }, "The RDL shall be > 0 and < 1", 1},
    };
    for (const Check& c : checks) {
        bool ok = true;
        e.step([&] { ok = c.passes(); });
        if (!ok) {
            e.step([&] { warning(QString::fromLatin1(c.message)); });
            e.step([&] { box(c.focus)->setFocus(); });
            return;
        }
    }

    // The run takes this page's variability, whatever another window set
    // since; the page draws no P1 or P2.
    e.step([&] { variabilidades() = Variabilidades{varprev_, 0.0, 0.0}; });
    SimulaEnd end = SimulaEnd::Busy;
    e.step([&] { end = simula(0.0, 0.0, *this); });
    // Only a run that ended here has rows to show (not a refused nested
    // start, nor a run whose page went away while it yielded).
    if (end == SimulaEnd::Finished && isLoaded())
        mostrasimulacao();
    // A run the engine refused leaves no results: labels, grid and print
    // table say so together.
    if (end == SimulaEnd::Failed && isLoaded()) {
        for (const char* name : kResultLabels)
            e.step([&] { ctl<Label>(QString::fromLatin1(name))->clear(); });
        e.step([&] { ctl<Label>(QStringLiteral("Lnsim"))->setText(QStringLiteral("0")); });
        clearRunTable(*this);
    }
}

void Form4::mostrasimulacao()
{
    TrapErrors t(QStringLiteral("Unexpected error. Try again with new inputs"), QStringLiteral("Error on simulation Form4"));
    QString count;
    if (!t.step([&] { count = ctl<ComboBox>(QStringLiteral("Combo1"))->text(); }))
        return;
    if (!preenchetabela(*this, count, 5, true, t))
        return;
    drawConsignment(*this, t);
}

void Form4::Image3_Click()
{
    // The boxes are the inputs of the run in progress: they stay until it ends.
    if (simulaRunning())
        return;
    IgnoreErrors e;
    e.step([&] { ctl<QLineEdit>(QStringLiteral("Text1"), 0)->setText(QStringLiteral("100")); });
    e.step([&] { ctl<QLineEdit>(QStringLiteral("Text1"), 1)->setText(generalText(0.1)); });
    e.step([&] { ctl<QLineEdit>(QStringLiteral("Text1"), 2)->setText(QStringLiteral("10")); });
    e.step([&] { ctl<ComboBox>(QStringLiteral("Combo1"))->setText(QStringLiteral("10")); });
    e.step([&] { ctl<ComboBox>(QStringLiteral("Combo2"))->setText(QStringLiteral("10")); });
    // The box may show 10 already while the input window changed the shared
    // variability since: the defaults mean 10 % either way.
    Combo2_Change();
    Image1_Click();
}

void Form4::Image9_Click()
{
    IgnoreErrors e;
    e.step([&] {
        QWidget* panel = ctl(QStringLiteral("Picture3"));
        if (!panel->isHidden()) {
            panel->hide();
            return;
        }
        if (numberOrLeading(ctl<QLineEdit>(QStringLiteral("Text1"), 0)->text()) > 5000) {
            msgbox(QStringLiteral("Consignment to large to draw the image"), MbInformation, QStringLiteral("Warning"));
            return;
        }
        if (numberOrLeading(ctl<QLineEdit>(QStringLiteral("Text1"), 1)->text()) > 0.9) {
            msgbox(QStringLiteral("Prevalence to large to draw the image"), MbInformation, QStringLiteral("Warning"));
            return;
        }
        panel->show();
        ctl(QStringLiteral("Grid1"))->hide();
    });
}

void Form4::Image10_Click()
{
    IgnoreErrors e;
    e.step([&] {
        QWidget* grid = ctl(QStringLiteral("Grid1"));
        if (!grid->isHidden()) {
            grid->hide();
            return;
        }
        grid->show();
        ctl(QStringLiteral("Picture3"))->hide();
    });
}

} // namespace tav
