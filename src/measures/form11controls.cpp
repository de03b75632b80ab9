// The measure page's parameter controls: the model sliders, the probit and
// efficacy pair kept in step, and the two combo boxes.

#include "measures/form11.h"
#include "measures/form11shared.h"

#include "common/errors.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/runtime.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/slider.h"

#include <QTimer>

namespace tav {

using namespace measures;
using namespace form11;

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
    // A sample the new maximum moves reports its change under the guard: its
    // caption and bound follow, and this handler recomputes and redraws once.
    const int guard = flctr;
    flctr = 1;
    e.step([&] { slider(QStringLiteral("Hscroll3"))->setMax(int(vbInt(0.9 * slider(QStringLiteral("Hscroll4"))->value()))); });
    flctr = guard;
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

// The efficacy of a probit, written into its caption in `pattern` and then
// onto the efficacy slider. The slider ends at 0.000001 and 0.999999; a
// figure beyond them (probit 0.1, or 9.5 in five decimals) is taken at that
// end, so that caption, slider and model tell the same efficacy.
void Form11::efficacyFromProbit(double z, const QString& pattern)
{
    constexpr double kLeast = 0.000001, kMost = 0.999999;
    IgnoreErrors e;
    e.step([&] {
        QString text = formatNumber(mortal(z), pattern);
        const double figure = readCaption(text);
        if (figure < kLeast || figure > kMost)
            text = formatNumber(qBound(kLeast, figure, kMost), QStringLiteral("0.000000"));
        setCaption(label(QStringLiteral("Label99"), 2), text);
    });
    flctr = 1;
    e.step([&] { slider(QStringLiteral("Hscroll7"))->setValue(clng(readCaption(label(QStringLiteral("Label99"), 2)->text()) * 1000000.0)); });
    flctr = 0;
}

// The probit slider's value, shown in its caption.
double Form11::probitShown(IgnoreErrors& e)
{
    double z = 0;
    e.step([&] { z = slider(QStringLiteral("Hscroll9"))->value() / 10.0; });
    e.step([&] { setCaption(label(QStringLiteral("Label99"), 3), formatNumber(z, QStringLiteral("0.0"))); });
    return z;
}

void Form11::Hscroll9_Change()
{
    IgnoreErrors e;
    const double z = probitShown(e);
    if (flctr == 1)
        return;
    efficacyFromProbit(z, QStringLiteral("0.000000"));
    e.step([&] { atualiza(); });
    e.step([&] { redraw(1); });
}

void Form11::Hscroll9_Click()
{
    IgnoreErrors e;
    const double z = probitShown(e);
    if (flctr == 1)
        return;
    efficacyFromProbit(z, QStringLiteral("0.00000"));
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

} // namespace tav
