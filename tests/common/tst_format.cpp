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
};

TAV_TEST_MAIN(TestFormat)
#include "tst_format.moc"
