#include "common/readings.h"

#include "common/format.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

namespace tav {

namespace {
bool finite(double v, bool ok, double* out)
{
    if (!ok || !std::isfinite(v))
        return false;
    if (out)
        *out = v;
    return true;
}

bool parseWhole(const QString& text, double* out)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    double v = 0.0;
    // A grouped number never starts with a 0 group: "0.002" on a desktop
    // that groups with "." is the plain decimal, not 2.
    const QLocale locale;
    const QString group = locale.groupSeparator();
    const bool zeroGroup = !group.isEmpty() && t.contains(group)
        && (t.startsWith(u'0') || t.startsWith(QLatin1String("-0")) || t.startsWith(QLatin1String("+0")));
    if (!zeroGroup) {
        v = locale.toDouble(t, &ok);
        if (finite(v, ok, out))
            return true;
    }
    // A plain decimal: "." and no grouping, whatever the locale.
    QLocale plain = QLocale::c();
    plain.setNumberOptions(QLocale::RejectGroupSeparator);
    v = plain.toDouble(t, &ok);
    return finite(v, ok, out);
}

bool isAsciiDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }
} // namespace

bool isNumber(const QString& text) { return parseWhole(text, nullptr); }

double localeValue(const QString& text)
{
    double v = 0.0;
    return parseWhole(text, &v) ? v : 0.0;
}

double leadingValue(const QString& text)
{
    const QString point = QLocale().decimalPoint();
    const int n = int(text.size());
    int i = 0;
    while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r'))
        ++i;
    QString num;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        num += text[i++];
    bool digits = false;
    while (i < n && isAsciiDigit(text[i])) {
        num += text[i++];
        digits = true;
    }
    int sepLength = 0;
    if (i < n && text[i] == u'.')
        sepLength = 1;
    else if (!point.isEmpty() && QStringView(text).mid(i).startsWith(point))
        sepLength = int(point.size());
    if (sepLength) {
        num += u'.';
        i += sepLength;
        while (i < n && isAsciiDigit(text[i])) {
            num += text[i++];
            digits = true;
        }
    }
    if (!digits)
        return 0.0;
    // An exponent counts only when digits follow it.
    if (i < n && (text[i] == u'e' || text[i] == u'E' || text[i] == u'd' || text[i] == u'D')) {
        int j = i + 1;
        QString exp = QStringLiteral("e");
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            exp += text[j++];
        bool expDigits = false;
        while (j < n && isAsciiDigit(text[j])) {
            exp += text[j++];
            expDigits = true;
        }
        if (expDigits)
            num += exp;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(num, &ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

double numberOrLeading(const QString& text)
{
    double v = 0.0;
    return parseWhole(text, &v) ? v : leadingValue(text);
}

QString localeText(const QString& plain)
{
    QString s = plain;
    return s.replace(u'.', QLocale().decimalPoint());
}

QString quotedText(const QString& typed)
{
    static const QRegularExpression notFinite(QStringLiteral("(?<!\\p{L})(?:nan|inf(?:inity)?)(?!\\p{L})"),
                                              QRegularExpression::CaseInsensitiveOption);
    if (!notFinite.match(typed).hasMatch())
        return typed;
    return generalText(numberOrLeading(typed));
}

} // namespace tav
