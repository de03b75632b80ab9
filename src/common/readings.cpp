#include "common/readings.h"

#include <QLocale>
#include <cmath>

namespace tav {

namespace {
bool parseLocale(const QString& text, double* out)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    const double v = QLocale().toDouble(t, &ok);
    if (!ok || !std::isfinite(v))
        return false;
    if (out)
        *out = v;
    return true;
}
} // namespace

bool isNumber(const QString& text) { return parseLocale(text, nullptr); }

double localeValue(const QString& text)
{
    double v = 0.0;
    return parseLocale(text, &v) ? v : 0.0;
}

double leadingValue(const QString& text)
{
    const int n = int(text.size());
    int i = 0;
    while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\n' || text[i] == u'\r'))
        ++i;
    QString num;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        num += text[i++];
    bool digits = false;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
        num += text[i++];
        digits = true;
    }
    if (i < n && text[i] == u'.') {
        num += text[i++];
        while (i < n && text[i].isDigit() && text[i].unicode() < 128) {
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
        while (j < n && text[j].isDigit() && text[j].unicode() < 128) {
            exp += text[j++];
            expDigits = true;
        }
        if (expDigits)
            num += exp;
    }
    bool ok = false;
    const double v = num.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

double numberOrLeading(const QString& text)
{
    double v = 0.0;
    return parseLocale(text, &v) ? v : leadingValue(text);
}

} // namespace tav
