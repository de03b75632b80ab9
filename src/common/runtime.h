#pragma once
// Run-time errors and checked arithmetic.
//
// C++ arithmetic does not fault, but the program's procedures report failing
// formulas in the error box. Every formula goes through these helpers, which
// raise RuntimeError with the platform's usual number and description, so that
// no NaN or infinity ever reaches a control.

#include <QString>
#include <cstdint>
#include <exception>

namespace tav {

enum ErrorNumber : int {
    ErrInvalidCall = 5,
    ErrOverflow = 6,
    ErrSubscript = 9,
    ErrDivisionByZero = 11,
    ErrTypeMismatch = 13,
    ErrInvalidProperty = 380,
    ErrObjectRequired = 424,
};

QString errorDescription(int number);

class RuntimeError : public std::exception {
public:
    explicit RuntimeError(int number, QString description = {});
    int number() const { return number_; }
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    QString description_;
    std::string what_;
};

[[noreturn]] void raise(int number);

// A result that is not finite is an overflow.
double checked(double v);
double cdiv(double a, double b);
double cpow(double base, double exponent);
double clog(double v);
double csqrt(double v);
double cexp(double v);

// Powers near 1 and their complements. Where a power is close to 1 (a tiny
// exponent, or a base 1 − x with x tiny), 1 − base^exponent written out
// loses its digits to cancellation: the sample sizes of consignments of many
// millions of units fall to nothing. These compute the same values through
// expm1 and log1p. For a base or exponent they cannot take that way (a base
// of 0 or below, anything not finite) they give exactly the plain formula's
// result, so every failure is the one cpow or clog raises.
//   oneMinusPow(b, e)           = 1 − b^e
//   powOfOneMinus(x, e)         = (1 − x)^e
//   oneMinusPowOfOneMinus(x, e) = 1 − (1 − x)^e
//   logOfOneMinus(x)            = log(1 − x)
double oneMinusPow(double base, double exponent);
double powOfOneMinus(double x, double exponent);
double oneMinusPowOfOneMinus(double x, double exponent);
double logOfOneMinus(double x);

// Conversions to 16- and 32-bit whole numbers: halves round to even, a value
// out of range is an overflow.
int16_t cint(double v);
int32_t clng(double v);

// The integer part towards minus infinity.
double vbInt(double v);

} // namespace tav
