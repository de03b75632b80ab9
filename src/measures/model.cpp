#include "measures/model.h"

#include "common/errors.h"
#include "common/format.h"
#include "common/readings.h"
#include "common/runtime.h"

#include <QLocale>
#include <cmath>

namespace tav::measures {

namespace {

// Percentage points of the normal distribution (Beasley and Springer).
constexpr double kSplit = 0.42;
constexpr double a0 = 2.50662823884, a1 = -18.61500062529, a2 = 41.39119773534, a3 = -25.44106049637;
constexpr double b1 = -8.47351093090, b2 = 23.08336743743, b3 = -21.06224101826, b4 = 3.13082909833;
constexpr double c0 = -2.78718931138, c1 = -2.29796479134, c2 = 4.85014127135, c3 = 2.32121276858;
constexpr double d1 = 3.54388924762, d2 = 1.63706781897;

// The normal integral (Hill), with one cut-off for both tails.
constexpr double kCutoff = 12.7;
constexpr double kSwitch = 1.28;
constexpr double p1 = 0.398942280444, p2 = 0.399903438504, p3 = 5.75885480458, p4 = 29.8213557808,
                 p5 = 2.62433121679, p6 = 48.6959930692, p7 = 5.92885724438;
constexpr double q1 = 0.398942280385, q2 = 3.8052e-8, q3 = 1.00000615302, q4 = 3.98064794e-4,
                 q5 = 1.98615381364, q6 = 0.151679116635, q7 = 5.29330324926, q8 = 4.8385912808,
                 q9 = 15.1508972451, q10 = 0.742380924027, q11 = 30.789933034, q12 = 3.99019417011;

QString pct(double ic) { return formatNumber(checked(ic * 100.0), QStringLiteral("##0.0")) + QLatin1Char('%'); }

} // namespace

double probitValue(double p)
{
    checked(p);
    const double q = p - 0.5;
    double x = 0.0;
    if (std::fabs(q) <= kSplit) {
        const double r = q * q;
        x = cdiv(q * (((a3 * r + a2) * r + a1) * r + a0), (((b4 * r + b3) * r + b2) * r + b1) * r + 1.0);
    } else {
        double r = q <= 0.0 ? p : 1.0 - p;
        // The publication's fault exit, without its fault indicator.
        if (r <= 0.0)
            return 5.0;
        r = csqrt(-clog(r));
        x = cdiv(((c3 * r + c2) * r + c1) * r + c0, (d2 * r + d1) * r + 1.0);
        if (q < 0.0)
            x = -x;
    }
    return checked(x + 5.0);
}

double mortalValue(double z)
{
    z = checked(z - 5.0);
    const double x = std::fabs(z);
    double Q = 0.0;
    if (x <= kCutoff) {
        const double y = z * z / 2.0;
        if (x <= kSwitch)
            Q = 0.5 - x * (p1 - p2 * y / (y + p3 - p4 / (y + p5 + p6 / (y + p7))));
        else
            Q = q1 * cexp(-y)
                / (x - q2 + q3 / (x + q4 + q5 / (x - q6 + q7 / (x + q8 - q9 / (x + q10 + q11 / (x + q12))))));
        checked(Q);
    }
    return z < 0.0 ? Q : 1.0 - Q;
}

double readCaption(const QString& text) { return numberOrLeading(text); }

double converted(const QString& text)
{
    if (!isNumber(text))
        raise(ErrTypeMismatch);
    return localeValue(text);
}

QString formatKeepingPoint(double value, const QString& pattern)
{
    QString s = formatNumber(value, pattern);
    const qsizetype dot = pattern.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return s;
    for (qsizetype i = dot + 1; i < pattern.size(); ++i)
        if (pattern[i] == QLatin1Char('0'))
            return s;
    const QString point = QLocale().decimalPoint();
    if (!s.contains(point))
        s += point;
    return s;
}

double prevalenceAfter(double p, double e) { return checked((1.0 - e) * p); }

double detectionProbability(double n, double N, double pa)
{
    return oneMinusPowOfOneMinus(cdiv(n, N), checked(pa * N));
}

double yearsBetween(double N, double P1, double P2, double k, double ic, double pa)
{
    return cdiv(1.0, checked(N * P1 * P2 * k * (1.0 - ic) * pa));
}

void recompute(const ModelCaptions& in, ModelResults& io)
{
    IgnoreErrors e;
    QString& after = io.prevalenceAfter;
    e.step([&] {
        after = formatNumber(prevalenceAfter(readCaption(in.prevalence), readCaption(in.efficacy)),
                             QStringLiteral("0.000000"));
    });
    // A prevalence that shows as nothing goes on as a tiny one, not as none.
    e.step([&] {
        if (readCaption(after) < 1e-11)
            after = generalText(1e-10);
    });
    e.step([&] {
        if (readCaption(after) < 1e-6)
            after = formatNumber(readCaption(after), QStringLiteral("0.0E-00"));
    });
    e.step([&] {
        if (readCaption(in.variability) > 0.0)
            after = after + QStringLiteral(" +/- ")
                    + generalText(checked(converted(in.variability) * readCaption(after) / 100.0));
    });
    const double pa = readCaption(after);

    e.step([&] { io.ic = detectionProbability(readCaption(in.sample), readCaption(in.consignment), pa); });
    // The detection stays strictly between 0 and 1, so T stays finite.
    e.step([&] {
        if (!(io.ic < 1.0))
            io.ic = 0.999999999;
    });
    e.step([&] {
        if (!(io.ic > 0.0))
            io.ic = 1e-9;
    });
    e.step([&] { io.confidence = formatNumber(io.ic, QStringLiteral("0.0######")); });
    e.step([&] { io.refused = pct(io.ic); });

    double T = 0.0;
    bool timed = false;
    e.step([&] {
        T = yearsBetween(readCaption(in.consignment), readCaption(in.p1), readCaption(in.p2),
                         converted(in.imports), io.ic, pa);
        timed = true;
    });
    // No importations (or a count that is not a number): no time to tell.
    e.step([&] { io.years = timed ? formatKeepingPoint(T, QStringLiteral("#,##0.#")) : QStringLiteral("-"); });
    io.establishments = QStringLiteral("1");
    if (T < 1.0 && T != 0.0) {
        // More than one a year: so many establishments each year.
        e.step([&] {
            io.establishments = formatNumber(readCaption(generalText(cdiv(1.0, T))), QStringLiteral("#0.0"));
        });
        io.years = QStringLiteral("1");
    }
    io.T = T;
}

double alpYears(int position) { return cpow(10.0, position / 10.0); }

void solveAlp(const AlpInputs& in, AlpAnswers& io, ErrorHandler& h, const std::function<double(double)>& probitOf)
{
    const double p = readCaption(in.prevalence);
    const double N = readCaption(in.consignment);
    const double P1 = readCaption(in.p1);
    const double P2 = readCaption(in.p2);
    const double k = readCaption(in.imports);
    const double e = readCaption(in.efficacy);
    const double ic = in.ic;
    const double yy1 = in.yy1;
    const QString fraction = QStringLiteral("0.0#####");
    const QString whole = QStringLiteral("#,##0");

    h.step([&] { io.prevalence = formatNumber(cdiv(1.0, N * yy1 * P1 * P2 * k * (1.0 - ic) * (1.0 - e)), fraction); });
    h.step([&] { io.consignment = formatNumber(cdiv(1.0, p * yy1 * P1 * P2 * k * (1.0 - ic) * (1.0 - e)), whole); });
    h.step([&] { io.efficacy = formatNumber(1.0 - cdiv(1.0, p * N * yy1 * P1 * P2 * k * (1.0 - ic)), fraction); });
    // A negative efficacy means the ALP is met without any measure.
    h.step([&] {
        if (readCaption(io.efficacy) < 0.0)
            io.efficacy = localeText(QStringLiteral("0.0"));
    });
    h.step([&] {
        const double x = readCaption(io.efficacy);
        io.probit = formatNumber(probitOf ? probitOf(x) : probitValue(probitArgument(x)), QStringLiteral("0.0#"));
    });
    h.step([&] {
        // The probability of missing the pest that meets the ALP.
        double u = cdiv(1.0, p * N * yy1 * P1 * P2 * k * (1.0 - e));
        if (u < 1e-9)
            u = 1e-9;
        if (u > 0.999999999)
            u = 0.999999999;
        const double pa = readCaption(in.prevalenceAfter);
        io.sample = formatNumber(checked(N * oneMinusPow(u, cdiv(1.0, N * pa))), whole);
    });
    h.step([&] {
        io.p1 = formatNumber(cdiv(1.0, converted(in.imports) * N * yy1 * p * P2 * (1.0 - ic) * (1.0 - e)), fraction);
    });
    h.step([&] {
        io.p2 = formatNumber(cdiv(1.0, converted(in.imports) * N * yy1 * p * P1 * (1.0 - ic) * (1.0 - e)), fraction);
    });
}

QString plainOptionCaption(int index)
{
    switch (index) {
    case 0: return QStringLiteral("Measures efficacy");
    case 1: return QStringLiteral("Sample size");
    case 2: return QStringLiteral("Consignment size");
    case 3: return QStringLiteral("Field prevalence");
    case 4: return QStringLiteral("Probability P1");
    case 5: return QStringLiteral("Probability P2");
    default: raise(ErrSubscript);
    }
}

QString answerOptionCaption(int index, const AlpAnswers& a)
{
    switch (index) {
    case 0: return QStringLiteral("Measures efficacy = ") + a.efficacy + QStringLiteral(" (Probit ") + a.probit + QLatin1Char(')');
    case 1: return QStringLiteral("Sample size = ") + a.sample;
    case 2: return QStringLiteral("Consignment size = ") + a.consignment;
    case 3: return QStringLiteral("Field prevalence = ") + a.prevalence;
    case 4: return QStringLiteral("Probability P1 = ") + a.p1;
    case 5: return QStringLiteral("Probability P2 = ") + a.p2;
    default: raise(ErrSubscript);
    }
}

} // namespace tav::measures
