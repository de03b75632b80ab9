#include "graphs/relation5.h"

#include "common/format.h"
#include "common/readings.h"
#include "common/runtime.h"

namespace tav {

double inspectionsWithoutFailure(double s, double N, double p1, double p2)
{
    const double exponent = cdiv(1.0, p1 * p2);
    return cdiv(1.0, powOfOneMinus(cdiv(s, N), exponent));
}

double referenceSample(double alpha, double p1, double p2, double N)
{
    return vbInt(checked(oneMinusPow(alpha, p1 * p2) * N + 0.5));
}

Graph5Range graph5Range(double nref, int32_t N, int npontos)
{
    Graph5Range r;
    r.lo = 0.1 * nref + 0.5;
    if (r.lo < 1.0)
        r.lo = 1.0;
    r.hi = 1.1 * nref + 0.5;
    if (r.hi >= N)
        r.hi = double(N) - 1.0;
    r.step = cdiv(r.hi - r.lo, npontos);
    return r;
}

void graph5Set(const PointArrays& pts, int& kept, double& ymax, const Graph5Range& r, double nref, double N, double p1,
               double p2)
{
    kept = 0;
    ymax = -10000.0;
    for (double s = r.lo; sweepGoesOn(s, r.hi, r.step); s += r.step) {
        if (s == nref)
            continue;
        const double y = inspectionsWithoutFailure(s, N, p1, p2);
        pts.store(kept + 1, s, y);
        if (y > ymax)
            ymax = y;
        ++kept;
    }
}

QString graph5Title(double I, double nref)
{
    return QStringLiteral("Samples for ") + formatNumber(I, QStringLiteral("#,###")) +
           QStringLiteral(" inspections without failure: ") + formatNumber(nref, QStringLiteral("#,###"));
}

QString graph5Comment(double p1, double p2, int32_t N, double nref, const QString& iText)
{
    const QString sample = nref < 1.0 ? QStringLiteral("less then 1") : formatNumber(nref, QStringLiteral("#,###"));
    const QString inspections = isNumber(iText) ? formatNumber(localeValue(iText), QStringLiteral("#,###")) : quotedText(iText);
    return QStringLiteral("The data show that, if the probabilities p1 and p2 are ") + generalText(p1) +
           QStringLiteral(" and ") + generalText(p2) +
           QStringLiteral(" respectivelly and the consignments size is ") + formatNumber(N, QStringLiteral("#,###")) +
           QStringLiteral(" units then it will be necessary to sample ") + sample +
           QStringLiteral(" unit(s) of each consignment to have one failure (establishment) in each ") + inspections +
           QStringLiteral(" inspections (importations). ");
}

QString graph5Warning(int index, const QString& text)
{
    if (!isNumber(text))
        return QStringLiteral("Please enter a number");
    switch (index) {
    case 0:
        return numberOrLeading(text) >= 2.0 ? QString() : QStringLiteral("Consignment size shall greater then 1");
    case 1:
        return numberOrLeading(text) > 1.0 ? QString() : QStringLiteral("Please enter a number >= 1");
    case 2:
    case 3: {
        const double v = localeValue(text);
        return v > 0.0 && v < 1.0 ? QString() : QStringLiteral("Please enter a number between 0 and 1");
    }
    default:
        return {};
    }
}

} // namespace tav
