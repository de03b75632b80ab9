#include "common/runtime.h"

#include <cmath>

namespace tav {

QString errorDescription(int number)
{
    switch (number) {
    case ErrInvalidCall: return QStringLiteral("Invalid procedure call or argument");
    case ErrOverflow: return QStringLiteral("Overflow");
    case ErrSubscript: return QStringLiteral("Subscript out of range");
    case ErrDivisionByZero: return QStringLiteral("Division by zero");
    case ErrTypeMismatch: return QStringLiteral("Type mismatch");
    case ErrInvalidProperty: return QStringLiteral("Invalid property value");
    case ErrObjectRequired: return QStringLiteral("Object required");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

RuntimeError::RuntimeError(int number, QString description)
    : number_(number),
      description_(description.isEmpty() ? errorDescription(number) : std::move(description)),
      what_(description_.toStdString())
{
}

void raise(int number) { throw RuntimeError(number); }

double checked(double v)
{
    if (!std::isfinite(v))
        raise(ErrOverflow);
    return v;
}

double cdiv(double a, double b)
{
    if (b == 0.0)
        raise(a == 0.0 ? ErrOverflow : ErrDivisionByZero);
    return checked(a / b);
}

double cpow(double base, double exponent)
{
    if (base < 0.0 && exponent != std::floor(exponent))
        raise(ErrInvalidCall);
    if (base == 0.0 && exponent < 0.0)
        raise(ErrDivisionByZero);
    return checked(std::pow(base, exponent));
}

double clog(double v)
{
    if (!(v > 0.0))
        raise(ErrInvalidCall);
    return checked(std::log(v));
}

double csqrt(double v)
{
    if (v < 0.0)
        raise(ErrInvalidCall);
    return checked(std::sqrt(v));
}

double cexp(double v) { return checked(std::exp(v)); }

int16_t cint(double v)
{
    checked(v);
    const double r = std::nearbyint(v); // the default rounding mode: halves to even
    if (r < -32768.0 || r > 32767.0)
        raise(ErrOverflow);
    return static_cast<int16_t>(r);
}

int32_t clng(double v)
{
    checked(v);
    const double r = std::nearbyint(v);
    if (r < -2147483648.0 || r > 2147483647.0)
        raise(ErrOverflow);
    return static_cast<int32_t>(r);
}

double vbInt(double v) { return std::floor(checked(v)); }

} // namespace tav
