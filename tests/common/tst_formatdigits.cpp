// The decimal digits behind every picture pattern: fifteen significant
// digits, exactly as the C library writes them, for any finite value.

#include "common/format.h"

#include <QLocale>
#include <QTest>
#include <cmath>
#include <cstdio>

class TestFormatDigits : public QObject {
    Q_OBJECT
private slots:
    void asPrintf_data();
    void asPrintf();
};

void TestFormatDigits::asPrintf_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("factor");
    QTest::newRow("tiny") << 4.9e-324 << 1.37;
    QTest::newRow("small") << 1e-12 << 1.0001;
    QTest::newRow("halves") << 0.5 << 1.5;
    QTest::newRow("around one") << 0.999999999999999 << 1.0000000000003;
    QTest::newRow("large") << 1e250 << 1.91;
    QTest::newRow("negative") << -1e-3 << 1.07;
}

// The scientific pattern shows all fifteen digits: its text is printf's.
void TestFormatDigits::asPrintf()
{
    QFETCH(double, start);
    QFETCH(double, factor);
    QLocale::setDefault(QLocale::c());
    double v = start;
    for (int i = 0; i < 2000 && std::isfinite(v) && v != 0; ++i, v *= factor) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.14E", v);
        QString expected = QString::fromLatin1(buf);
        // printf writes at least two exponent digits, the pattern as many.
        QCOMPARE(tav::formatNumber(v, QStringLiteral("0.00000000000000E+00")), expected);
    }
}

QTEST_GUILESS_MAIN(TestFormatDigits)
#include "tst_formatdigits.moc"
