// The readings of a typed value and the number formats.
#include "common/format.h"
#include "common/readings.h"

#include <QLocale>
#include <QTest>

using namespace tav;

class TestText : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void readings_data();
    void readings();
    void patterns_data();
    void patterns();
    void generalText_data();
    void generalText();
    void quotedText_data();
    void quotedText();
};

void TestText::readings_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("number");
    QTest::addColumn<double>("localeValue");
    QTest::addColumn<double>("leading");
    const QString en = QStringLiteral("en_US"), de = QStringLiteral("de_DE");
    QTest::newRow("plain") << en << "0.95" << true << 0.95 << 0.95;
    QTest::newRow("blanks around") << en << " 1000 " << true << 1000.0 << 1000.0;
    QTest::newRow("empty") << en << "" << false << 0.0 << 0.0;
    QTest::newRow("dash") << en << "-" << false << 0.0 << 0.0;
    QTest::newRow("inf") << en << "inf" << false << 0.0 << 0.0;
    QTest::newRow("nan") << en << "nan" << false << 0.0 << 0.0;
    QTest::newRow("grouped thousands") << en << "1,000" << true << 1000.0 << 1.0;
    QTest::newRow("trailing text") << en << "12abc" << false << 0.0 << 12.0;
    QTest::newRow("leading tabs and feeds") << en << "\t\n 7.5x" << false << 0.0 << 7.5;
    QTest::newRow("sign and exponent") << en << "-1.5e3" << true << -1500.0 << -1500.0;
    QTest::newRow("exponent without digits") << en << "2e" << false << 0.0 << 2.0;
    QTest::newRow("point only") << en << "." << false << 0.0 << 0.0;
    QTest::newRow("leading point") << en << ".5" << true << 0.5 << 0.5;
    QTest::newRow("comma decimal") << de << "0,95" << true << 0.95 << 0.95;
    QTest::newRow("point in comma locale") << de << "0.95" << true << 0.95 << 0.95;
    const QString br = QStringLiteral("pt_BR"), c = QStringLiteral("C");
    QTest::newRow("br comma") << br << "0,05" << true << 0.05 << 0.05;
    QTest::newRow("br point") << br << "0.05" << true << 0.05 << 0.05;
    QTest::newRow("br grouped thousands") << br << "1.000" << true << 1000.0 << 1.0;
    QTest::newRow("br grouped with decimals") << br << "1.234,5" << true << 1234.5 << 1.234;
    QTest::newRow("br leading space") << br << " 0,1" << true << 0.1 << 0.1;
    QTest::newRow("br trailing text") << br << "0,02x" << false << 0.0 << 0.02;
    QTest::newRow("br dash") << br << "-" << false << 0.0 << 0.0;
    QTest::newRow("br comma exponent") << br << "1,5E+15" << true << 1.5e15 << 1.5e15;
    QTest::newRow("br point and comma") << br << "1.5,2" << false << 0.0 << 1.5;
    QTest::newRow("br point, three decimals") << br << "0.002" << true << 0.002 << 0.002;
    QTest::newRow("br point, trailing zeros") << br << "0.100" << true << 0.1 << 0.1;
    QTest::newRow("br negative point decimal") << br << "-0.250" << true << -0.25 << -0.25;
    QTest::newRow("en zero group") << en << "0,100" << false << 0.0 << 0.0;
    QTest::newRow("de point decimal") << de << "1.5" << true << 1.5 << 1.5;
    QTest::newRow("de grouped thousands") << de << "1.000" << true << 1000.0 << 1.0;
    QTest::newRow("en comma not decimal") << en << "1,5" << false << 0.0 << 1.0;
    QTest::newRow("C plain") << c << "0.02" << true << 0.02 << 0.02;
    QTest::newRow("C comma not decimal") << c << "0,02" << false << 0.0 << 0.0;
}

void TestText::readings()
{
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, number);
    QFETCH(double, localeValue);
    QFETCH(double, leading);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(isNumber(text), number);
    QCOMPARE(tav::localeValue(text), localeValue);
    QCOMPARE(leadingValue(text), leading);
    QCOMPARE(numberOrLeading(text), number ? localeValue : leading);
}

void TestText::patterns_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("expected");
    QTest::newRow("cl") << 0.949587 << "#.####" << ".9496";
    QTest::newRow("rdl") << 0.050138 << "#.####" << ".0501";
    QTest::newRow("above one") << 2.98071 << "#.####" << "2.9807";
    QTest::newRow("rounds to whole") << 0.999996 << "#.####" << "1";
    QTest::newRow("zero") << 0.0 << "#.####" << "0";
    QTest::newRow("half away from zero") << 0.00005 << "#.####" << ".0001";
    QTest::newRow("negative half") << -0.00005 << "#.####" << "-.0001";
    QTest::newRow("whole number") << 58.155 << "######" << "58";
    QTest::newRow("below a half, whole pattern") << 0.0101 << "######" << "";
    QTest::newRow("zero, whole pattern with 0") << 0.0 << "###0" << "0";
    QTest::newRow("whole half") << 40.5 << "###,##0" << "41";
    QTest::newRow("grouping") << 1234567.0 << "####,##0" << "1,234,567";
    QTest::newRow("grouping small") << 12.0 << "#,###" << "12";
    QTest::newRow("fixed decimals") << 0.5 << "0.0000" << "0.5000";
    QTest::newRow("optional decimals") << 0.25 << "0.0#####" << "0.25";
    QTest::newRow("min decimals kept") << 3.0 << "0.0#####" << "3.0";
    QTest::newRow("one decimal grouped") << 1234.56 << "#,##0.#" << "1,234.6";
    QTest::newRow("two optional") << 2.0 << "0.##" << "2";
    QTest::newRow("leading zeros") << 5.04 << "##0.0" << "5.0";
    QTest::newRow("decimal half, four places") << 0.12345 << "0.####" << "0.1235";
    QTest::newRow("binary half") << 2.675 << "0.##" << "2.68"; // on its decimal value
    QTest::newRow("exponent") << 12345.0 << "0.0E-00" << "1.2E04";
    QTest::newRow("small exponent") << 0.000123 << "0.0E-00" << "1.2E-04";
    QTest::newRow("exponent carry") << 9.96 << "0.0E-00" << "1.0E01";
    QTest::newRow("scientific") << 1234.0 << "Scientific" << "1.23E+03";
    QTest::newRow("percent") << 0.125 << "0.0%" << "12.5%";
    QTest::newRow("negative grouped") << -1234.0 << "#,##0" << "-1,234";
}

void TestText::patterns()
{
    QFETCH(double, value);
    QFETCH(QString, pattern);
    QFETCH(QString, expected);
    QCOMPARE(formatNumber(value, pattern), expected);
}

void TestText::generalText_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("tenth") << "C" << 0.1 << "0.1";
    QTest::newRow("whole") << "C" << 100.0 << "100";
    QTest::newRow("fifteen digits") << "C" << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("large") << "C" << 1e15 << "1E+15";
    QTest::newRow("small") << "C" << 1e-5 << "1E-05";
    QTest::newRow("negative") << "C" << -2.5 << "-2.5";
    QTest::newRow("comma locale") << "de_DE" << 0.5 << "0,5";
}

void TestText::generalText()
{
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(tav::generalText(value), expected);
}

// A comment quotes a box as typed, but never a word for a value that is not
// finite: that box is quoted as the number read from it.
void TestText::quotedText_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("quoted");
    QTest::newRow("number as typed") << "C" << "0.05" << "0.05";
    QTest::newRow("partial as typed") << "C" << "0.05x" << "0.05x";
    QTest::newRow("grouped as typed") << "en_US" << "1,000" << "1,000";
    QTest::newRow("comma as typed") << "pt_BR" << "0,95" << "0,95";
    QTest::newRow("word with inf in it") << "C" << "infested" << "infested";
    QTest::newRow("inf") << "C" << "inf" << "0";
    QTest::newRow("nan") << "pt_BR" << "NaN" << "0";
    QTest::newRow("-Infinity") << "C" << "-Infinity" << "0";
    QTest::newRow("number then inf") << "pt_BR" << "0,5inf" << "0,5";
}

void TestText::quotedText()
{
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(QString, quoted);
    QLocale::setDefault(QLocale(locale));
    QCOMPARE(tav::quotedText(typed), quoted);
}

QTEST_GUILESS_MAIN(TestText)
#include "tst_text.moc"
