// A number that is not finite never becomes text: every picture and the
// plain conversion raise Overflow, so the caller's error handling decides.
#include "common/format.h"
#include "common/runtime.h"
#include "platform/grid.h"
#include "testmain.h"

#include <QLocale>
#include <QTest>
#include <functional>
#include <limits>

using namespace tav;

namespace {

int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

} // namespace

class TestFormat : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void nonFiniteIsOverflow_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        const double inf = std::numeric_limits<double>::infinity();
        const double nan = std::numeric_limits<double>::quiet_NaN();
        const QStringList patterns{"#.####", "######", "####,##0", "0.0000", "0.0#####", "0.0E-00", "0.0%",
                                   "Scientific", "Fixed", "Standard", "Percent", "General Number", ""};
        for (const QString& p : patterns) {
            QTest::newRow(qPrintable(QStringLiteral("+inf ") + p)) << inf << p;
            QTest::newRow(qPrintable(QStringLiteral("-inf ") + p)) << -inf << p;
            QTest::newRow(qPrintable(QStringLiteral("nan ") + p)) << nan << p;
        }
        // Finite, but not once scaled to a percentage.
        QTest::newRow("1e308 as a percentage") << 1e308 << "0.0%";
        QTest::newRow("-1e307 as Percent") << -1e307 << "Percent";
    }
    void nonFiniteIsOverflow()
    {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        for (const char* locale : {"C", "pt_BR"}) {
            QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
            QCOMPARE(errorOf([&] { formatNumber(value, pattern); }), int(ErrOverflow));
        }
    }

    void plainTextOfNonFiniteIsOverflow()
    {
        QCOMPARE(errorOf([] { generalText(std::numeric_limits<double>::infinity()); }), int(ErrOverflow));
        QCOMPARE(errorOf([] { generalText(-std::numeric_limits<double>::infinity()); }), int(ErrOverflow));
        QCOMPARE(errorOf([] { generalText(std::numeric_limits<double>::quiet_NaN()); }), int(ErrOverflow));
        // The largest finite values still show.
        QCOMPARE(generalText(1e308), QStringLiteral("1E+308"));
        QCOMPARE(generalText(-1.7976931348623157e308), QStringLiteral("-1.79769313486232E+308"));
        QCOMPARE(formatNumber(1e308, QStringLiteral("0.0E-00")), QStringLiteral("1.0E308"));
        QCOMPARE(formatNumber(1e-310, QStringLiteral("0.0000")), QStringLiteral("0.0000"));
    }

    // A grid cell written from a number keeps its text when the number is
    // not finite.
    void gridCellOfNonFinite()
    {
        Grid g;
        g.setRows(2);
        g.setCols(2);
        g.setRow(1);
        g.setCol(1);
        g.setText(QStringLiteral("12"));
        QCOMPARE(errorOf([&] { g.setText(std::numeric_limits<double>::infinity()); }), int(ErrOverflow));
        QCOMPARE(g.text(), QStringLiteral("12"));
    }

    // A pattern read once and met again, after many others, gives the text
    // it gave the first time.
    void patternMetAgain_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("point dropped") << "#.####" << 1.0 << "1";
        QTest::newRow("no digit left") << "######" << 0.3 << "";
        QTest::newRow("zero through #") << "#.####" << 0.0 << "0";
        QTest::newRow("grouped, rounded") << "###,##0" << 1234540.5 << "1,234,541";
        QTest::newRow("fixed places") << "0.0000" << -2.5 << "-2.5000";
        QTest::newRow("optional places") << "0.0#####" << 0.125 << "0.125";
        QTest::newRow("exponent") << "0.0E-00" << 12345.0 << "1.2E04";
        QTest::newRow("named scientific") << "Scientific" << 0.00015 << "1.50E-04";
        QTest::newRow("named standard") << "standard" << 1234.5 << "1,234.50";
        QTest::newRow("named percent") << "Percent" << 0.125 << "12.50%";
        QTest::newRow("general") << "General Number" << 0.1 << "0.1";
        QTest::newRow("empty") << "" << 2.5 << "2.5";
        QTest::newRow("prefix and suffix") << "x 0.00 kg" << 3.14159 << "x 3.14 kg";
    }

    void patternMetAgain()
    {
        QFETCH(QString, pattern);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(formatNumber(value, pattern), text);
        const QStringList others{"0",     "0.0",     "0.00",    "#",       "#.#",   "0.0E+00", "00.000",
                                 "#,##0", "Fixed",   "0%",      "0.00E-0", "##.##", "0.###"};
        for (const QString& other : others)
            (void)formatNumber(1.5, other);
        QCOMPARE(formatNumber(value, pattern), text);
        QCOMPARE(formatNumber(value, QString(pattern)), text);
    }

    // The same string changed in place between calls is read anew.
    void patternChangedInPlace()
    {
        QString p = QStringLiteral("0.000");
        QCOMPARE(formatNumber(1.5, p), QStringLiteral("1.500"));
        p[4] = u'#';
        QCOMPARE(formatNumber(1.5, p), QStringLiteral("1.50"));
        p[3] = u'#';
        QCOMPARE(formatNumber(1.5, p), QStringLiteral("1.5"));
        p[1] = u'E';
        p[2] = u'+';
        QCOMPARE(formatNumber(1.5, p), QStringLiteral("2E+00"));
    }

    // The separators follow the user's locale at every call, whatever the
    // pattern met before.
    void separatorsFollowTheLocale()
    {
        const QString p = QStringLiteral("#,##0.00");
        QCOMPARE(formatNumber(1234.5, p), QStringLiteral("1,234.50"));
        QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
        QCOMPARE(formatNumber(1234.5, p), QStringLiteral("1.234,50"));
        QCOMPARE(formatNumber(0.25, QStringLiteral("0.00")), QStringLiteral("0,25"));
        QLocale::setDefault(QLocale::c());
        QCOMPARE(formatNumber(1234.5, p), QStringLiteral("1,234.50"));
    }
};

TAV_TEST_MAIN(TestFormat)
#include "tst_format.moc"
