#include "simulation/fresultsim.h"

#include "common/colors.h"
#include "common/errors.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "simulation/fsimula1.h"

#include <QTimer>

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

    auto* panel = place<PictureBox>(c, QStringLiteral("Picture5"), 30, 2475, 11145, 4485);
    panel->setBackColor(Qt::black);

    auto* again = place<ImageButton>(c, QStringLiteral("Image4"), 450, 7470, 1425, 360);
    again->setPicture(pictures::word(QStringLiteral("Simulate again"), 95, 24));
    auto* change = place<ImageButton>(c, QStringLiteral("Image3"), 2250, 7470, 1425, 360);
    change->setPicture(pictures::word(QStringLiteral("Change inputs"), 95, 24));
    connect(change, &ImageButton::clicked, this, [this] { Image3_Click(); });
    auto* continuous = place<ImageButton>(c, QStringLiteral("Image1"), 4275, 7485, 1710, 360);
    continuous->setPicture(pictures::word(QStringLiteral("Conrinuous simulation"), 114, 24));

    auto* timer = new QTimer(w);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(1000);
}

void FResultSim::pageLoad()
{
    TrapErrors t(QStringLiteral("Check your instalation for Grid32.ocx"), QStringLiteral("Error loading form"));
    for (const char* name : {"Frame4", "Image3", "Image4", "Image1"})
        t.step([&] { setHandCursor(ctl(QString::fromLatin1(name))); });
    t.step([&] { ctl(QStringLiteral("Picture5"))->hide(); });
    t.step([&] { ctl(QStringLiteral("Image1"))->hide(); });
    for (const char* name : {"Lpre_ing", "Ling", "Lencontradas", "Lpct_ing", "Lingreso", "Lingreso_total"})
        t.step([&] { ctl<Label>(QString::fromLatin1(name))->clear(); });
    t.step([&] { ctl<Label>(QStringLiteral("Lnsim"))->setText(QStringLiteral("0")); });
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

void FResultSim::formUnload(bool& cancel)
{
    // The continuous run stops before the window records itself.
    ignoring([&] { ctl<QTimer>(QStringLiteral("Timer1"))->stop(); });
    ToolbarPage::formUnload(cancel);
}

} // namespace tav
