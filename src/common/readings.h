#pragma once
// The reading of a typed value, the same for every box, check and
// computation:
//
//  1. text that reads whole as a number in the user's locale is that number
//     (blanks around it allowed, group separators where the locale puts
//     them, never behind a leading 0: "0.002" is not 2 where "." groups);
//  2. else text that reads whole as a plain decimal with "." and no grouping
//     is that number, so "0.05" typed on a comma desktop works;
//  3. else the number at the start of the text (the leading reading).
//
// "", "-", "inf" and "nan" are never numbers.
//
//  - isNumber: the text is a number by rule 1 or 2.
//  - localeValue: that number (0 when the text is not one).
//  - leadingValue: rule 3 alone: leading blanks, tabs and line feeds are
//    skipped, either "." or the locale's decimal point is the decimal point,
//    reading stops at the first character that cannot continue the number,
//    and a text that does not start with a number reads 0.
//  - numberOrLeading: the whole reading (rules 1, 2, then 3).

#include <QString>

namespace tav {

bool isNumber(const QString& text);
double localeValue(const QString& text);
double leadingValue(const QString& text);
double numberOrLeading(const QString& text);

// A number text written with "." (a design value) as the user's locale shows
// it: the decimal point becomes the locale's, blanks around it stay.
QString localeText(const QString& plain);

// A box's text as a comment quotes it: as typed, unless it names a value that
// is not finite ("nan", "inf", "-Infinity"), which no text may show; such a
// box is quoted as the number the computation read from it.
QString quotedText(const QString& typed);

} // namespace tav
