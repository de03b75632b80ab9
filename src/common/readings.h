#pragma once
// The three readings of a typed value.
//
//  - isNumber: the whole text (blanks around it allowed) is a number in the
//    user's locale; "", "-", "inf" and "nan" are not.
//  - localeValue: that number (0 when the text is not one).
//  - leadingValue: the number at the start of the text with "." as the
//    decimal point; leading blanks, tabs and line feeds are skipped, reading
//    stops at the first character that cannot continue the number, and a
//    text that does not start with a number reads 0.

#include <QString>

namespace tav {

bool isNumber(const QString& text);
double localeValue(const QString& text);
double leadingValue(const QString& text);

// A box that passed isNumber is used as that number; only texts that are
// not numbers fall back to their leading value.
double numberOrLeading(const QString& text);

} // namespace tav
