#include "graphs/relation4.h"

#include "common/format.h"
#include "common/readings.h"
#include "common/runtime.h"

namespace tav {

double sampleToAvoidEstablishment(double N, double cl, double p1, double p2)
{
    return checked(N * oneMinusPowOfOneMinus(cl, checked(p1 * p2)));
}

Graph4Range graph4Range(double xMin, double xMax, int npontos)
{
    Graph4Range r;
    r.step = cdiv(xMax - xMin, npontos);
    r.loopEnd = checked(xMax + 2.0 * r.step);
    return r;
}

double graph4CappedEnd(double loopEnd) { return loopEnd >= 1.0 ? 0.9999 : loopEnd; }

void graph4Set(const PointArrays& pts, int& computed, double N, double xMin, double loopEnd, double step, double p1,
               double p2)
{
    computed = 0;
    const double end = graph4CappedEnd(loopEnd);
    for (double x = xMin; sweepGoesOn(x, end, step); x += step) {
        pts.store(computed + 1, x, sampleToAvoidEstablishment(N, x, p1, p2));
        ++computed;
    }
}

int graph4Shown(const PointArrays& pts, int computed, double typedXMax)
{
    return computed - 1 + (typedXMax > pts.xAt(computed) ? 1 : 0);
}

QString graph4Legend(int32_t N) { return QStringLiteral("Consig.= %1 Units").arg(N); }

QString graph4Title(double p1, double p2)
{
    return QStringLiteral("Necessary sample size to avoid establishment  (p1 = ") + generalText(p1) +
           QStringLiteral(", p2 = ") + generalText(p2) + QStringLiteral(")");
}

int16_t graph4CommentPoint(int points, int shown)
{
    const double v = points;
    const int k = int(vbInt(v - v / 3.0));
    return int16_t(qMax(1, qMin(k, shown)));
}

namespace {

QString commentStart(const QString& p1Text, const QString& p2Text)
{
    return QStringLiteral("If the pest has ") + generalText(checked(localeNumber(p1Text) * 100.0)) +
           QStringLiteral("% chance to get to the host (p1) and ") + generalText(checked(localeNumber(p2Text) * 100.0)) +
           QStringLiteral("% chance to encounter favourable conditions (p2), and the consignment size is ");
}

// The confidence as a percentage: x written out and read back by its leading
// number, as the sentence always did.
QString percentage(double x)
{
    return formatNumber(checked(100.0 * numberOrLeading(generalText(checked(x)))), QStringLiteral("#0.00"));
}

QString commentEnd(double x)
{
    return QStringLiteral(" units of each consignment to be ") + percentage(x) +
           QStringLiteral("% sure to avoid the establishment.");
}

} // namespace

QString graph4CommentOne(const QString& p1Text, const QString& p2Text, const QString& sizeText, double x,
                         double y)
{
    const QString start = commentStart(p1Text, p2Text);
    const QString sample = formatNumber(vbInt(y + 0.5), QStringLiteral("#,###"));
    return start + formatNumber(numberOrLeading(sizeText), QStringLiteral("#,###")) +
           QStringLiteral(" units, then you will have to sample ") + sample + commentEnd(x);
}

QString graph4CommentFive(const QString& p1Text, const QString& p2Text, double x, const QVariant& cell)
{
    const QString start = commentStart(p1Text, p2Text);
    const QString sample = formatNumber(vbInt(localeNumber(cell.toString()) + 0.5), QStringLiteral("#,###"));
    return start +
           QStringLiteral("5,000 units for example (red line), then you will have to sample ") + sample +
           commentEnd(x);
}

QStringList graph4ScaleWarnings(int index, const std::array<QString, 4>& text1)
{
    QStringList w;
    if (index < 0 || index > 3)
        return w;
    if (!isNumber(text1[size_t(index)]))
        return {QStringLiteral("Please enter a number")};
    if (index <= 1) {
        const double v = numberOrLeading(text1[size_t(index)]);
        if (v <= 0.0 || v >= 1.0)
            w << QStringLiteral("This value shall be between 0 and 1");
        if (numberOrLeading(text1[0]) >= numberOrLeading(text1[1]))
            w << QStringLiteral("X max shall be greater then X min");
    } else if (numberOrLeading(text1[2]) >= numberOrLeading(text1[3])) {
        w << QStringLiteral("Y max shall be greater then Y min");
    }
    return w;
}

QStringList graph4SpecWarnings(int index, const std::array<QString, 3>& text2)
{
    if (index < 0 || index > 2)
        return {};
    if (!isNumber(text2[0]) || !isNumber(text2[1]))
        return {QStringLiteral("Please enter a number")};
    if (index == 0) {
        const double v = numberOrLeading(text2[0]);
        if (v <= 0.0 || v >= 1.0)
            return {QStringLiteral("P1 shall be between 0 and 1")};
    } else if (index == 1) {
        const double v = localeValue(text2[1]);
        if (v <= 0.0 || v >= 1.0)
            return {QStringLiteral("P2 shall be between 0 and 1")};
    } else {
        const QString& t = text2[2];
        if (t.isEmpty() || t == QStringLiteral(" "))
            return {};
        if (!isNumber(t))
            return {QStringLiteral("Please enter a number")};
        // The text names zero, but a size of one unit is no consignment either.
        if (numberOrLeading(t) <= 1.0)
            return {QStringLiteral("Consignment size shall be greater then zero.")};
    }
    return {};
}

} // namespace tav
