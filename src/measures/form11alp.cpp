// The measure page's ALP solver: the answers for the chosen level of
// protection, the ALP slider and the option buttons that show them.

#include "measures/form11.h"
#include "measures/form11shared.h"

#include "common/errors.h"
#include "common/format.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/slider.h"

#include <QRadioButton>

namespace tav {

using namespace measures;
using namespace form11;

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

// The ALP slider's position as a level and as years between introductions;
// both the drag and the release show it.
void Form11::showAlpLevel(IgnoreErrors& e)
{
    int v = 0;
    e.step([&] { v = slider(QStringLiteral("Slider1"))->value(); });
    e.step([&] { yy1 = alpYears(v); });
    e.step([&] { slider(QStringLiteral("Slider1"))->setText(formatNumber(v / 10.0, QStringLiteral("#0.0"))); });
    e.step([&] {
        setCaption(label(QStringLiteral("Label24"), 17),
                   formatNumber(yy1, QStringLiteral("#,##0")) + QStringLiteral(" years between introductions"));
    });
}

void Form11::Slider1_Change()
{
    IgnoreErrors e;
    showAlpLevel(e);
    if (flctr != 1)
        e.step([&] { muda(); });
}

void Form11::Slider1_Scroll()
{
    IgnoreErrors e;
    showAlpLevel(e);
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

} // namespace tav
