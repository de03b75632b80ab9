#include "graphs/pointsweep.h"

#include "common/format.h"
#include "common/readings.h"
#include "common/runtime.h"

#include <cfloat>
#include <cmath>

namespace tav {

void PointArrays::store(int i, double vx, double vy)
{
    if (i < 0 || i > kLast)
        raise(ErrSubscript);
    x[size_t(i)] = vx;
    y[size_t(i)] = vy;
}

double PointArrays::xAt(int i) const
{
    if (i < 0 || i > kLast)
        raise(ErrSubscript);
    return x[size_t(i)];
}

double PointArrays::yAt(int i) const
{
    if (i < 0 || i > kLast)
        raise(ErrSubscript);
    return y[size_t(i)];
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
