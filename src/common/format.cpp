#include "common/format.h"

#include "common/runtime.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tav {

namespace {

// A non-negative decimal: digits with the decimal point after `point` of them.
struct Decimal {
    QString digits; // no sign
    int point = 0;  // position of the decimal point within digits (may be <0 or >size)
};

// The value's decimal form at 15 significant digits (the platform's precision).
Decimal toDecimal(double v)
{
    Decimal d;
    if (v == 0.0) {
        d.digits = QStringLiteral("0");
        d.point = 1;
        return d;
    }
    // d.dddddddddddddde[+-]XX, as printf's %.14e writes it, at a fraction of
    // its cost: every table cell of the graph pages passes here.
    char buf[64];
    char* end = std::to_chars(buf, buf + sizeof buf - 1, std::fabs(v), std::chars_format::scientific, 14).ptr;
    *end = '\0';
    const char* e = std::find(static_cast<const char*>(buf), static_cast<const char*>(end), 'e');
    if (e == end) { // not a finite number: no digits to show
        d.digits = QStringLiteral("0");
        d.point = 1;
        return d;
    }
    char digits[32];
    int n = 0;
    for (const char* c = buf; c < e && n < int(sizeof digits); ++c)
        if (*c != '.')
            digits[n++] = *c;
    d.digits = QString::fromLatin1(digits, n);
    d.point = std::atoi(e + 1) + 1;
    return d;
}

// Rounds to `frac` digits after the point, halves away from zero; returns
// whole and fraction digit strings (whole without leading zeros, may be empty).
void roundDecimal(const Decimal& d, int frac, QString* whole, QString* fraction)
{
    QString digits = d.digits;
    int point = d.point;
    // Pad so that every digit up to point + frac exists.
    if (point < 0) {
        digits = QString(-point, u'0') + digits;
        point = 0;
    }
    const int keep = point + frac;
    if (digits.size() < keep)
        digits += QString(keep - int(digits.size()), u'0');
    bool up = keep < digits.size() && digits[keep] >= u'5';
    digits.truncate(keep);
    if (up) {
        int i = keep - 1;
        for (; i >= 0; --i) {
            if (digits[i] == u'9') {
                digits[i] = u'0';
            } else {
                digits[i] = QChar(digits[i].unicode() + 1);
                break;
            }
        }
        if (i < 0) {
            digits.prepend(u'1');
            ++point;
        }
    }
    QString w = digits.left(point);
    while (!w.isEmpty() && w[0] == u'0')
        w.remove(0, 1);
    *whole = w;
    *fraction = digits.mid(point);
}

QString group(const QString& whole, const QString& sep)
{
    QString out;
    const int n = int(whole.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += sep;
        out += whole[i];
    }
    return out;
}

struct Pattern {
    QString prefix, suffix;
    int intZeros = 0;
    bool grouping = false;
    int fracMin = 0, fracMax = 0;
    bool exponent = false;
    bool expPlus = false;
    int expDigits = 0;
    bool percent = false;
};

Pattern parse(const QString& p)
{
    Pattern r;
    const int n = int(p.size());
    int i = 0;
    auto isPh = [](QChar c) { return c == u'0' || c == u'#'; };
    while (i < n && !isPh(p[i]) && p[i] != u'.' && p[i] != u',') {
        if (p[i] == u'%')
            r.percent = true;
        r.prefix += p[i++];
    }
    while (i < n && (isPh(p[i]) || p[i] == u',')) {
        if (p[i] == u'0')
            ++r.intZeros;
        if (p[i] == u',')
            r.grouping = true;
        ++i;
    }
    if (i < n && p[i] == u'.') {
        ++i;
        int count = 0;
        while (i < n && isPh(p[i])) {
            ++count;
            if (p[i] == u'0')
                r.fracMin = count;
            ++i;
        }
        r.fracMax = count;
    }
    if (i + 1 < n && (p[i] == u'E' || p[i] == u'e') && (p[i + 1] == u'+' || p[i + 1] == u'-')) {
        r.exponent = true;
        r.expPlus = p[i + 1] == u'+';
        i += 2;
        while (i < n && isPh(p[i])) {
            ++r.expDigits;
            ++i;
        }
    }
    while (i < n) {
        if (p[i] == u'%')
            r.percent = true;
        r.suffix += p[i++];
    }
    return r;
}

// The user's separators, read once per number.
struct Separators {
    QString point, group;
};

QString assemble(bool negative, QString whole, QString fraction, const Pattern& pt, bool hasPoint,
                 const Separators& seps)
{
    while (fraction.size() > pt.fracMin && fraction.endsWith(u'0'))
        fraction.chop(1);
    if (whole.size() < pt.intZeros)
        whole = QString(pt.intZeros - int(whole.size()), u'0') + whole;
    if (pt.grouping)
        whole = group(whole, seps.group);
    QString out = whole;
    if (!fraction.isEmpty())
        out += seps.point + fraction;
    if (out.isEmpty())
        return hasPoint ? QStringLiteral("0") : QString();
    const bool allZero = std::none_of(out.cbegin(), out.cend(), [](QChar c) { return c >= u'1' && c <= u'9'; });
    if (negative && !allZero)
        out.prepend(u'-');
    return out;
}

// A pattern as read: a named one resolved, its picture parsed.
struct Compiled {
    bool general = false;
    bool hasPoint = false;
    Pattern pt;
};

Compiled compile(const QString& pattern)
{
    Compiled c;
    const QString named = pattern.trimmed().toLower();
    if (named == QLatin1String("general number") || pattern.isEmpty()) {
        c.general = true;
        return c;
    }
    QString p = pattern;
    if (named == QLatin1String("scientific"))
        p = QStringLiteral("0.00E+00");
    else if (named == QLatin1String("fixed"))
        p = QStringLiteral("0.00");
    else if (named == QLatin1String("standard"))
        p = QStringLiteral("#,##0.00");
    else if (named == QLatin1String("percent"))
        p = QStringLiteral("0.00%");
    c.pt = parse(p);
    c.hasPoint = p.contains(u'.');
    return c;
}

// A table or a curve shows many numbers through the same few patterns:
// the last ones read are kept, by their text.
const Compiled& compiled(const QString& pattern)
{
    struct Entry {
        QString key;
        Compiled value;
    };
    constexpr int kKept = 8;
    thread_local Entry kept[kKept];
    thread_local int used = 0, next = 0;
    for (int i = 0; i < used; ++i)
        if (kept[i].key == pattern)
            return kept[i].value;
    Entry& e = kept[next];
    next = (next + 1) % kKept;
    used = std::max(used, next == 0 ? kKept : next);
    e.value = compile(pattern);
    e.key = pattern;
    return e.value;
}

} // namespace

QString formatNumber(double value, const QString& pattern)
{
    const Compiled& c = compiled(pattern);
    if (c.general)
        return generalText(value);
    const Pattern& pt = c.pt;
    const QLocale locale;
    const Separators seps{locale.decimalPoint(), pt.grouping ? locale.groupSeparator() : QString()};
    // No picture shows a value that is not finite, nor one that the
    // percentage scaling takes out of range.
    const double v = checked(pt.percent ? checked(value) * 100.0 : value);
    const bool negative = v < 0;
    QString whole, fraction;
    if (!pt.exponent) {
        roundDecimal(toDecimal(v), pt.fracMax, &whole, &fraction);
        return pt.prefix + assemble(negative, whole, fraction, pt, c.hasPoint, seps) + pt.suffix;
    }

    // Exponent: the mantissa has as many whole digits as the pattern's
    // whole placeholders (at least one).
    const int wholeDigits = std::max(1, pt.intZeros);
    Decimal d = toDecimal(v);
    int exp = 0;
    if (v != 0.0) {
        exp = d.point - wholeDigits;
        d.point = wholeDigits;
    }
    roundDecimal(d, pt.fracMax, &whole, &fraction);
    if (whole.size() > wholeDigits) { // 9.99 rounded up to 10.0
        fraction = whole.right(whole.size() - wholeDigits) + fraction;
        fraction.chop(int(whole.size()) - wholeDigits);
        whole.truncate(wholeDigits);
        ++exp;
    }
    Pattern mant = pt;
    mant.intZeros = std::max(1, pt.intZeros);
    QString e = QString::number(std::abs(exp));
    if (e.size() < pt.expDigits)
        e = QString(pt.expDigits - int(e.size()), u'0') + e;
    const QString sign = exp < 0 ? QStringLiteral("-") : (pt.expPlus ? QStringLiteral("+") : QString());
    return pt.prefix + assemble(negative, whole, fraction, mant, true, seps) + QStringLiteral("E") + sign + e + pt.suffix;
}

QString generalText(double value)
{
    checked(value);
    if (value == 0.0)
        return QStringLiteral("0");
    QString s = QString::number(value, 'g', 15);
    const int e = int(s.indexOf(u'e'));
    if (e >= 0) {
        QString mant = s.left(e);
        QString exp = s.mid(e + 1); // "+15" or "-05"
        const QChar sign = exp[0];
        exp = exp.mid(1);
        while (exp.size() < 2)
            exp.prepend(u'0');
        s = mant + QStringLiteral("E") + sign + exp;
    }
    return s.replace(u'.', QLocale().decimalPoint());
}

} // namespace tav
