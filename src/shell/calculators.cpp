#include "shell/calculators.h"

#include "common/errors.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/readings.h"
#include "common/window.h"
#include "shell/amostra.h"

#include <QLineEdit>

namespace tav {

namespace {

struct Check {
    enum Kind { IsNumber, AboveOne, Fraction } kind;
    const char* box;
    const char* message;
};

bool passes(const Check& c, const QString& text)
{
    // A box that passed "is a number" is used as that number.
    const double v = numberOrLeading(text);
    switch (c.kind) {
    case Check::IsNumber: return isNumber(text);
    case Check::AboveOne: return v > 1;
    case Check::Fraction: return v > 0 && v < 1;
    }
    return false;
}

QLineEdit* box(Form& f, const char* name) { return f.ctl<QLineEdit>(QString::fromLatin1(name)); }

void calcula(Form& f, std::initializer_list<Check> checks)
{
    IgnoreErrors e;
    for (const Check& c : checks) {
        bool ok = true;
        e.step([&] { ok = passes(c, box(f, c.box)->text()); });
        if (!ok) {
            e.step([&] { warning(QString::fromLatin1(c.message)); });
            e.step([&] { box(f, c.box)->setFocus(); });
            return;
        }
    }
    // The call, the format and the write are one step: a failure in any of
    // them leaves the sample size as it was.
    e.step([&] {
        const double risk = checked(1.0 - localeValue(box(f, "Text3")->text()));
        const std::optional<double> n = amostra(box(f, "Text1_0"), box(f, "Text2"), risk, "-");
        box(f, "Text1_2")->setText(n ? formatNumber(*n, QStringLiteral("######")) : QString());
    });
}

} // namespace

void form4Calcula(Form& form)
{
    calcula(form, {
                      {Check::IsNumber, "Text1_0", "Input the consignment size"},
                      {Check::AboveOne, "Text1_0", "The consignment size shall be > 1"},
                      {Check::IsNumber, "Text2", "Input the RDL"},
                      {Check::IsNumber, "Text3", "Input the CL"},
                      {Check::Fraction, "Text2", "The RDL shall be > 0 and < 1"},
                      {Check::Fraction, "Text3", "The CL shall be > 0 and < 1"},
                  });
}

void fsimula1Calcula(Form& form)
{
    calcula(form, {
                      {Check::IsNumber, "Text1_0", "Input the consignment size"},
                      {Check::IsNumber, "Text2", "Input the Required Detection Level"},
                      {Check::IsNumber, "Text3", "Input the confidence level"},
                      {Check::AboveOne, "Text1_0", "The consignment size shall be > 1"},
                      {Check::Fraction, "Text2", "The RDL shall be > 0 y < 1"},
                      {Check::Fraction, "Text3", "The CL shall be > 0 y < 1"},
                  });
}

} // namespace tav
