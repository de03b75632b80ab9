#pragma once
// Numbers as text.
//
// formatNumber(v, pattern) shows a number through a picture pattern such as
// "#.####", "######", "####,##0", "0.0000", "0.0#####", "0.0E-00":
//  - "0" a digit always shown, "#" a digit shown only when significant;
//  - "," in the whole part groups thousands, "." is the decimal point (both
//    shown in the user's locale);
//  - the value is rounded at the last fraction placeholder, halves away from
//    zero on its decimal value (40.5 with "###,##0" shows 41);
//  - "E-"/"E+" followed by zeros gives an exponent of at least that many
//    digits ("E+" always signed, "E-" only when negative); "%" scales by 100;
//  - named patterns: "Scientific" (0.00E+00), "Fixed" (0.00), "Standard"
//    (#,##0.00), "Percent" (0.00%), "General Number" (generalText).
// When no fraction digit is left the decimal point is dropped (1 through
// "#.####" shows "1", not "1."). A value with no significant digit left shows
// as an empty text through a whole-number pattern of "#" alone (0.3 through
// "######" shows ""), and as "0" through any other pattern (0 through
// "#.####" shows "0").
//
// generalText(v) is the plain conversion: up to 15 significant digits, no
// grouping, a 0 before the decimal point, no trailing zeros, "E+15" style
// exponents for very large or small values, the locale's decimal point.
//
// Neither ever shows a value that is not finite: both raise Overflow, which
// the caller's error handling reports or skips like any failing formula.

#include <QString>

namespace tav {

QString formatNumber(double value, const QString& pattern);
QString generalText(double value);

} // namespace tav
