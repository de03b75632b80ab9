#include "graphs/pointsweep.h"

#include "common/format.h"
#include "common/readings.h"
#include "common/runtime.h"

#include <cfloat>
#include <cmath>

namespace tav {

namespace {
void bound(const std::vector<double>& v, int i)
{
    if (i < 0 || size_t(i) >= v.size())
        raise(ErrSubscript);
}
} // namespace

void PointArrays::store(int i, double vx, double vy) const
{
    bound(x, i);
    bound(y, i);
    x[size_t(i)] = vx;
    y[size_t(i)] = vy;
}

double PointArrays::xAt(int i) const
{
    bound(x, i);
    return x[size_t(i)];
}

double PointArrays::yAt(int i) const
{
    bound(y, i);
    return y[size_t(i)];
}

void checkSweep(double from, double to, double step)
{
    if (!std::isfinite(step) || !std::isfinite(from) || !std::isfinite(to))
        raise(ErrOverflow);
    if (step == 0.0 || (from != to && (to - from > 0) != (step > 0)))
        raise(ErrInvalidCall);
}

QString wholeText(double v)
{
    const double a = std::fabs(v);
    if (!(a < 1e9) || std::fabs(a - std::floor(a) - 0.5) < 1e-6)
        return formatNumber(v, QStringLiteral("######"));
    // Halves away from zero, as the pattern rounds.
    const qint64 r = qint64(std::floor(a + 0.5));
    if (r == 0)
        return QString();
    return QString::number(v < 0 ? -r : r);
}

QString XTexts::operator()(int i, double x)
{
    if (i < 0)
        return formatNumber(x, pattern_);
    if (size_t(i) >= texts_.size())
        texts_.resize(size_t(i) + 1);
    Entry& e = texts_[size_t(i)];
    if (!e.known || e.x != x) {
        e.text = formatNumber(x, pattern_);
        e.x = x;
        e.known = true;
    }
    return e.text;
}

double localeNumber(const QString& text)
{
    if (!isNumber(text))
        raise(ErrTypeMismatch);
    return localeValue(text);
}

float csng(double v)
{
    checked(v);
    if (std::fabs(v) > double(FLT_MAX))
        raise(ErrOverflow);
    return float(v);
}

QString singleText(float v)
{
    // The seven-digit decimal of the single, then its plain text.
    return generalText(QString::number(double(v), 'g', 7).toDouble());
}

} // namespace tav
