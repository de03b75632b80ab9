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

namespace {

// A positive finite base (or 1 − x with x below 1) and a finite exponent:
// the powers the stable forms below compute.
bool positiveFinite(double base, double exponent)
{
    return base > 0.0 && std::isfinite(base) && std::isfinite(exponent);
}
bool belowOneFinite(double x, double exponent) { return x < 1.0 && std::isfinite(x) && std::isfinite(exponent); }

// 1 − e^y; 0 − rather than unary minus, so that a power of exactly 1 gives
// +0 as the plain formula does, never −0.
double oneMinusExp(double y) { return checked(0.0 - std::expm1(y)); }

} // namespace

double oneMinusPow(double base, double exponent)
{
    if (!positiveFinite(base, exponent))
        return checked(1.0 - cpow(base, exponent));
    return oneMinusExp(exponent * std::log(base));
}

double powOfOneMinus(double x, double exponent)
{
    if (!belowOneFinite(x, exponent))
        return cpow(1.0 - x, exponent);
    return checked(std::exp(exponent * std::log1p(-x)));
}

double oneMinusPowOfOneMinus(double x, double exponent)
{
    if (!belowOneFinite(x, exponent))
        return checked(1.0 - cpow(1.0 - x, exponent));
    return oneMinusExp(exponent * std::log1p(-x));
}

double logOfOneMinus(double x)
{
    if (!belowOneFinite(x, 0.0))
        return clog(1.0 - x);
    return checked(0.0 + std::log1p(-x)); // +0, not −0, for x = 0
}

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
