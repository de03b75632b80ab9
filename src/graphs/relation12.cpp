#include "graphs/relation12.h"

#include "common/format.h"
#include "common/readings.h"
#include "common/runtime.h"

namespace tav {

EfficacyPoint efficacyModel(const EfficacyInputs& in, double x)
{
    const double f = double(in.f);
    const double left = checked(f * (1.0 - x));
    double prev = left;
    if (!(prev >= 1e-11))
        prev = 1e-10;
    double det = oneMinusPowOfOneMinus(cdiv(in.n, in.N), checked(in.N * prev));
    if (det >= 1.0)
        det = 0.999999999;
    else if (!(det > 0.0))
        det = 1e-9;
    EfficacyPoint p;
    p.refused = 100.0 * det;
    p.years = cdiv(1.0, checked(in.p1 * in.p2 * in.N * f * (1.0 - x) * (1.0 - det)));
    return p;
}

double efficacyStep(const EfficacyInputs& in, int npontos) { return cdiv(in.xMax - in.xMin, npontos); }

void efficacyPoints(const EfficacyArrays& pts, int& computed, const EfficacyInputs& in, double step)
{
    computed = 0;
    for (double x = in.xMin; sweepGoesOn(x, in.xMax, step); x += step) {
        const EfficacyPoint p = efficacyModel(in, x);
        const int i = computed + 1;
        if (size_t(i) >= pts.r.size())
            raise(ErrSubscript);
        double years = p.years;
        if (csng(in.yMax) < csng(years))
            years = in.yMax;
        pts.xy.store(i, x, years);
        pts.r[size_t(i)] = p.refused;
        ++computed;
    }
}

EfficacyShape efficacyShape(const EfficacyArrays& pts, int P)
{
    EfficacyShape s;
    const std::vector<double>& xs = pts.xy.x;
    const std::vector<double>& ys = pts.xy.y;
    const int last = int(qMin(pts.r.size(), qMin(xs.size(), ys.size()))) - 1;
    int kSmallest = 0, kLargest = 0;
    for (int k = 1; k <= P && k <= last; ++k) {
        const double T = ys[size_t(k)];
        if (k > 1) {
            const double before = ys[size_t(k - 1)];
            if (before > T)
                s.decrease = true;
            if (before < T && !s.increase) {
                s.increase = true;
                s.turning = (xs[size_t(k - 1)] + xs[size_t(k)]) * 100.0 / 2.0;
            }
        }
        const float R = csng(pts.r[size_t(k)]);
        if (kSmallest == 0 || R < csng(pts.r[size_t(kSmallest)]))
            kSmallest = k;
        if (kLargest == 0 || R > csng(pts.r[size_t(kLargest)]))
            kLargest = k;
    }
    // The extremes as the comment writes them, two decimals; rounding only
    // them gives what rounding every new extreme on the way gave.
    const auto rounded = [&](int k) { return csng(localeValue(formatNumber(pts.r[size_t(k)], QStringLiteral("#0.00")))); };
    if (kSmallest > 0 && csng(pts.r[size_t(kSmallest)]) < s.smallest)
        s.smallest = rounded(kSmallest);
    if (kLargest > 0 && csng(pts.r[size_t(kLargest)]) > s.largest)
        s.largest = rounded(kLargest);
    return s;
}

QString efficacyText(double x)
{
    return formatNumber(x, x >= 0.00001 ? QStringLiteral("0.000000") : QStringLiteral("Scientific"));
}

QString timeLagText(double T)
{
    return T > 1.0 ? generalText(vbInt(T + 0.5)) : formatNumber(T, QStringLiteral("0.##"));
}

QString refusedText(double R) { return formatNumber(R, QStringLiteral("##0.00")); }

QString efficacyLabel(double x)
{
    return formatNumber(x, x >= 0.000001 ? QStringLiteral("0.0####") : QStringLiteral("Scientific"));
}

QString efficacyComment(const EfficacyShape& shape, double xMax, const QString& previous)
{
    const QString sep = QStringLiteral("\n\r");
    if (shape.decrease && shape.increase)
        return QStringLiteral(
                   "This data generated a very intrusting graph. First the time lag between introductions decreases "
                   "while the measure efficacy increases!. This is because when the efficay increase the prevalence "
                   "in the consignment decrease and the probability to find a infected unit (if the sample size is "
                   "keept constant) also decreases. This beahviour goes up to a point (efficay around ") +
               formatNumber(shape.turning, QStringLiteral("##0.00")) +
               QStringLiteral("% in this case) and then the time lag between indroductions increases exponentially "
                              "with the measure efficay.") +
               sep +
               QStringLiteral(
                   "The graph suggest that heavly infected consignments are more safe for the importing coun try "
                   "because they could be more easly detected. However a very hight percentage of consignment would "
                   "be refused in lowers efficacies, as you can see in the second graph, and the trade would be "
                   "practicaly not viable.");
    if (shape.decrease)
        return QStringLiteral(
                   "In this case the time lag between introductions decreases while the measure efficacy increases!. "
                   "This is because when the efficay increase the prevalence in the consignment decrease and the "
                   "probability to find a infected unit (if the sample size is keept constant) also decreases. "
                   "However the maximum efficay (X scale = ") +
               formatNumber(xMax, QStringLiteral("0.######")) +
               QStringLiteral(") is not enought to start increasing the time lag between introductions.");
    if (shape.increase)
        return QStringLiteral("This graph presents the expected effect of increasing efficacy of a phytosanitary "
                              "measure. When the efficacy goes up also the time lag bteween expected introduction "
                              "increases.") +
               sep + sep +
               QStringLiteral("Note in the second graph that, depending on the efficay, the expected percentage of "
                              "refused consignments can goes from ") +
               singleText(shape.smallest) + QStringLiteral("% up to ") + singleText(shape.largest) +
               QStringLiteral("%.");
    return previous;
}

QString efficacyScaleWarning(int index, const std::array<QString, 4>& text1)
{
    if (index < 0 || index > 3)
        return {};
    const QString& t = text1[size_t(index)];
    if (!isNumber(t))
        return QStringLiteral("Please enter a number");
    const double v = numberOrLeading(t);
    if (index <= 1) {
        if (numberOrLeading(text1[0]) >= numberOrLeading(text1[1]))
            return QStringLiteral("X max shall be greater then X min");
        if (v >= 1.0)
            return QStringLiteral("Not allowed efficay >= 1");
        if (v < 0.0)
            return QStringLiteral("Not allowed negative efficay <= 1");
        return {};
    }
    if (numberOrLeading(text1[2]) >= numberOrLeading(text1[3]))
        return QStringLiteral("Y max shall be greater then Y min");
    if (v <= 0.0)
        return QStringLiteral("Logaritm scale. This number shall be > 0");
    return {};
}

QString efficacySpecWarning(int index, const std::array<QString, 5>& text2)
{
    if (index < 0 || index > 4)
        return {};
    const QString& t = text2[size_t(index)];
    if (!isNumber(t))
        return QStringLiteral("Please enter a number");
    const double v = localeValue(t);
    if (index >= 1 && index <= 3)
        return v > 0.0 && v < 1.0 ? QString() : QStringLiteral("Please, enter a number >= 0 and <=1");
    if (v < 0.0)
        return QStringLiteral("Please enter a positive number");
    if (localeValue(text2[0]) - 1.0 < localeValue(text2[4]))
        return QStringLiteral("Sample size shall be less then the consignment size");
    return {};
}

QString refusalAxisText(int index, const QString& text)
{
    if (text.isEmpty())
        return index == 0 ? QStringLiteral("0") : QStringLiteral("1");
    return text;
}

} // namespace tav
