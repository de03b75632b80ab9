#include "graphs/relation6.h"

#include "common/format.h"
#include "common/readings.h"
#include "common/runtime.h"

namespace tav {

double yearsBetweenIntroductions(double p1, double p2, double N, double M, double x)
{
    return cdiv(1.0, checked(p1 * p2 * N * M * x));
}

void graph6Set(const PointArrays& pts, int& computed, double& ymin, double& ymax, double xMin, double xMax, double step,
               double p1, double p2, double N, double M)
{
    computed = 0;
    ymin = 1e7;
    ymax = -1.0;
    for (double x = xMin; sweepGoesOn(x, xMax, step); x += step) {
        const double y = yearsBetweenIntroductions(p1, p2, N, M, x);
        pts.store(computed + 1, x, y);
        if (y < ymin)
            ymin = y;
        if (y > ymax)
            ymax = y;
        ++computed;
    }
}

QString graph6RdlText(double x)
{
    return formatNumber(x, x >= 0.00001 ? QStringLiteral("0.000000") : QStringLiteral("Scientific"));
}

QString graph6YearsText(double y)
{
    return y > 1.0 ? generalText(vbInt(y + 0.5)) : formatNumber(y, QStringLiteral("0.##"));
}

QString graph6Label(double x)
{
    return formatNumber(x, x >= 0.000001 ? QStringLiteral("0.0####") : QStringLiteral("Scientific"));
}

int16_t graph6CommentPoint(int points, int computed)
{
    const double v = points;
    const int k = int(vbInt(v - v / 2.0));
    return int16_t(qMax(1, qMin(k, computed)));
}

QString graph6Comment(double p1, double p2, double N, const QString& importsText, double x, double y)
{
    const QString years = y >= 1.0
                              ? QStringLiteral(" 1 establishment each ") + formatNumber(y, QStringLiteral("#,###.0"))
                              : formatNumber(cdiv(1.0, y), QStringLiteral("#,###.0")) +
                                    QStringLiteral(" establishments each ");
    return QStringLiteral("If the pest has ") + generalText(checked(p1 * 100.0)) +
           QStringLiteral("% chance to get to the host (p1) and ") + generalText(checked(p2 * 100.0)) +
           QStringLiteral("% chance to find favourable conditions (p2), and if the consignment size is ") +
           formatNumber(N, QStringLiteral("#,###")) + QStringLiteral(" units and you import ") + quotedText(importsText) +
           QStringLiteral(" consignment(s) per year, then for a RDL of ") + generalText(numberOrLeading(generalText(x))) +
           QStringLiteral(", you could have ") + years + QStringLiteral(" year(s).");
}

QString graph6ScaleWarning(int index, const std::array<QString, 2>& text1)
{
    if (index < 0 || index > 1)
        return {};
    const QString& t = text1[size_t(index)];
    if (!isNumber(t))
        return QStringLiteral("Please enter a number");
    const double v = numberOrLeading(t);
    if (v <= 0.0 || v >= 1.0)
        return QStringLiteral("Please input a bumber between 0 and 1");
    if (numberOrLeading(text1[0]) >= numberOrLeading(text1[1]))
        return QStringLiteral("X max shall be greater then X min");
    return {};
}

QString graph6SpecWarning(int index, const QString& text)
{
    if (index < 0 || index > 3)
        return {};
    if (!isNumber(text))
        return QStringLiteral("Please enter a number");
    const double v = numberOrLeading(text);
    if (index >= 2)
        return v > 0.0 && v < 1.0 ? QString() : QStringLiteral("This number shal be between 0 and 1");
    return v >= 1.0 ? QString() : QStringLiteral("Please input a number >= 1");
}

} // namespace tav
