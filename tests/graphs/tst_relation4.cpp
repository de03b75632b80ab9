// The sample size to avoid establishment: the curve points, how many of them
// show, the failures, the comment and the box checks.

#include "common/format.h"
#include "common/runtime.h"
#include "graphs/relation4.h"
#include "graphtestkit.h"

#include <QLocale>
#include <QTest>
#include <cmath>

using namespace tav;
using namespace tav::test;

namespace {

// Runs one curve as the computation does: range, capped end, sweep.
int sweep(const PointArrays& pts, double N, double xMin, double xMax, int npontos, double p = 0.5)
{
    const Graph4Range r = graph4Range(xMin, xMax, npontos);
    int computed = 0;
    graph4Set(pts, computed, N, xMin, r.loopEnd, r.step, p, p);
    return computed;
}

} // namespace

class TestRelation4 : public QObject {
    Q_OBJECT
private slots:
    void wholeTextAsThePattern_data();
    void wholeTextAsThePattern();
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void defaultCurves();
    void tinyExponentsKeepTheirDigits_data();
    void tinyExponentsKeepTheirDigits();
    void pointsShown_data();
    void pointsShown();
    void failures_data();
    void failures();
    void comment_data();
    void comment();
    void commentFailures();
    void commentPoint_data();
    void commentPoint();
    void scaleWarnings_data();
    void scaleWarnings();
    void specWarnings_data();
    void specWarnings();
};

// The five default curves over 0.8 to 0.9999 with 50 steps: the first and
// last rows of the table as the grid shows them.
void TestRelation4::defaultCurves()
{
    QStringList first, last;
    for (int32_t N : kGraph4Sizes) {
        WindowArrays a;
        const PointArrays& pts = a.pts;
        const int computed = sweep(pts, N, 0.8, 0.9999, 50);
        QCOMPARE(computed, 51);
        QCOMPARE(graph4Shown(pts, computed, 0.9999), 51);
        first << formatNumber(pts.y[1], QStringLiteral("######"));
        last << formatNumber(pts.y[51], QStringLiteral("######"));
        QCOMPARE(formatNumber(pts.x[1], QStringLiteral("0.0000")), QStringLiteral("0.8000"));
        QCOMPARE(formatNumber(pts.x[51], QStringLiteral("0.0000")), QStringLiteral("0.9999"));
        QCOMPARE(graph4Legend(N), QStringLiteral("Consig.= %1 Units").arg(N));
    }
    QCOMPARE(first, QStringList({"33", "166", "331", "663", "1656"}));
    QCOMPARE(last, QStringList({"90", "450", "900", "1800", "4500"}));
    QCOMPARE(graph4Title(0.5, 0.5), QStringLiteral("Necessary sample size to avoid establishment  (p1 = 0.5, p2 = 0.5)"));
}

// Accumulated x decides the last point; the extended end is capped below 1.
void TestRelation4::tinyExponentsKeepTheirDigits_data()
{
    QTest::addColumn<double>("N");
    QTest::addColumn<double>("cl");
    QTest::addColumn<double>("p1");
    QTest::addColumn<double>("p2");
    QTest::addColumn<double>("expected");
    // Worked out to 60 digits as N (1 - exp(p1 p2 ln(1 - CL))) in decimals.
    QTest::newRow("p1 p2 1e-12") << 2147483647.0 << 0.95 << 1e-6 << 1e-6 << 0.0064332860682376875;
    QTest::newRow("p1 p2 1e-9") << 2000000000.0 << 0.99 << 1e-4 << 1e-5 << 9.2103403507685897;
    QTest::newRow("p1 p2 0.25") << 5000.0 << 0.95 << 0.5 << 0.5 << 2635.6459774920599;
}

void TestRelation4::tinyExponentsKeepTheirDigits()
{
    QFETCH(double, N);
    QFETCH(double, cl);
    QFETCH(double, p1);
    QFETCH(double, p2);
    QFETCH(double, expected);
    const double y = sampleToAvoidEstablishment(N, cl, p1, p2);
    QVERIFY2(std::fabs(y - expected) <= 1e-11 * expected, QByteArray::number(y, 'g', 17).constData());
}

void TestRelation4::pointsShown_data()
{
    QTest::addColumn<double>("xMin");
    QTest::addColumn<double>("xMax");
    QTest::addColumn<int>("npontos");
    QTest::addColumn<int>("computed");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QString>("lastShown");

    // Capped: every computed point shows, the last at 0.9999.
    QTest::newRow("default 50") << 0.8 << 0.9999 << 50 << 51 << 51 << "0.9999";
    QTest::newRow("default 10") << 0.8 << 0.9999 << 10 << 11 << 11 << "0.9999";
    QTest::newRow("default 100") << 0.8 << 0.9999 << 100 << 101 << 101 << "0.9999";
    // X max 1: the cap stops the curve short of it, at 0.996.
    QTest::newRow("X max 1") << 0.8 << 1.0 << 50 << 50 << 50 << "0.9960";
    // Below the cap: one step beyond X max computed, X max the last shown.
    QTest::newRow("0.5 to 0.9 by 10") << 0.5 << 0.9 << 10 << 12 << 11 << "0.9000";
    QTest::newRow("0.1 to 0.5 by 40") << 0.1 << 0.5 << 40 << 42 << 41 << "0.5000";
    QTest::newRow("0.9 to 0.98 by 10") << 0.9 << 0.98 << 10 << 12 << 11 << "0.9800";
    // Downwards the typed X max is always beyond the last x: all show,
    // down to two steps below it.
    QTest::newRow("0.9 down to 0.5") << 0.9 << 0.5 << 10 << 12 << 12 << "0.4600";
}

void TestRelation4::pointsShown()
{
    QFETCH(double, xMin);
    QFETCH(double, xMax);
    QFETCH(int, npontos);
    QFETCH(int, computed);
    QFETCH(int, shown);
    QFETCH(QString, lastShown);
    WindowArrays a;
    const PointArrays& pts = a.pts;
    QCOMPARE(sweep(pts, 100, xMin, xMax, npontos), computed);
    QCOMPARE(graph4Shown(pts, computed, xMax), shown);
    QCOMPARE(formatNumber(pts.x[size_t(shown)], QStringLiteral("0.0000")), lastShown);
}

void TestRelation4::failures_data()
{
    QTest::addColumn<double>("xMin");
    QTest::addColumn<double>("xMax");
    QTest::addColumn<int>("npontos");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("computed");

    QTest::newRow("no points") << 0.8 << 0.9999 << 0 << int(ErrDivisionByZero) << 0;
    QTest::newRow("no points, no range") << 0.8 << 0.8 << 0 << int(ErrOverflow) << 0;
    // A zero step never leaves: the arrays' bound ends it.
    QTest::newRow("X min = X max") << 0.8 << 0.8 << 50 << int(ErrSubscript) << 500;
    QTest::newRow("too many points") << 0.1 << 0.9 << 600 << int(ErrSubscript) << 500;
    QTest::newRow("497 points fit") << 0.1 << 0.9 << 497 << 0 << 500;
    // Downwards from above 1: 1 - x is negative under a fractional power.
    QTest::newRow("efficacy above 1") << 1.5 << 1.2 << 10 << int(ErrInvalidCall) << 0;
}

void TestRelation4::failures()
{
    QFETCH(double, xMin);
    QFETCH(double, xMax);
    QFETCH(int, npontos);
    QFETCH(int, error);
    QFETCH(int, computed);
    WindowArrays a;
    const PointArrays& pts = a.pts;
    int done = -1;
    QCOMPARE(errorOf([&] {
                 const Graph4Range r = graph4Range(xMin, xMax, npontos);
                 graph4Set(pts, done, 100, xMin, r.loopEnd, r.step, 0.5, 0.5);
             }),
             error);
    QCOMPARE(qMax(done, 0), computed);
}

void TestRelation4::comment_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("size"); // empty: the five curves
    QTest::addColumn<QString>("expected");

    QTest::newRow("five curves")
        << "en_US" << ""
        << "If the pest has 50% chance to get to the host (p1) and 50% chance to encounter favourable conditions "
           "(p2), and the consignment size is 5,000 units for example (red line), then you will have to sample "
           "2,409 units of each consignment to be 92.79% sure to avoid the establishment.";
    QTest::newRow("one consignment")
        << "en_US" << "1000"
        << "If the pest has 50% chance to get to the host (p1) and 50% chance to encounter favourable conditions "
           "(p2), and the consignment size is 1,000 units, then you will have to sample 482 units of each "
           "consignment to be 92.79% sure to avoid the establishment.";
    // The confidence is read back whole in a decimal-comma locale too.
    QTest::newRow("decimal comma")
        << "de_DE" << "1000"
        << "If the pest has 50% chance to get to the host (p1) and 50% chance to encounter favourable conditions "
           "(p2), and the consignment size is 1.000 units, then you will have to sample 482 units of each "
           "consignment to be 92,79% sure to avoid the establishment.";
}

void TestRelation4::comment()
{
    QFETCH(QString, locale);
    QFETCH(QString, size);
    QFETCH(QString, expected);
    QLocale::setDefault(QLocale(locale));
    const QString half = generalText(0.5);
    const int k = graph4CommentPoint(50, 51);
    WindowArrays a;
    const PointArrays& pts = a.pts;
    sweep(pts, size.isEmpty() ? 5000 : size.toDouble(), 0.8, 0.9999, 50);
    QCOMPARE(k, 33);
    if (size.isEmpty()) {
        const QVariant cell = formatNumber(pts.y[size_t(k)], QStringLiteral("#####0"));
        QCOMPARE(graph4CommentFive(half, half, pts.x[size_t(k)], cell), expected);
    } else {
        QCOMPARE(graph4CommentOne(half, half, size, pts.x[size_t(k)], pts.y[size_t(k)]), expected);
    }
}

// The curves come from the leading number of P1, the comment needs the
// whole text; a table cell beyond the points shown is empty.
void TestRelation4::commentFailures()
{
    QCOMPARE(errorOf([] { graph4CommentOne(QStringLiteral("0.5x"), QStringLiteral("0.5"), "1000", 0.9, 100); }),
             int(ErrTypeMismatch));
    QCOMPARE(errorOf([] { graph4CommentFive(QStringLiteral("0.5"), QStringLiteral(""), 0.9, QVariant("2409")); }),
             int(ErrTypeMismatch));
    QCOMPARE(errorOf([] { graph4CommentFive(QStringLiteral("0.5"), QStringLiteral("0.5"), 0.9, QVariant()); }),
             int(ErrTypeMismatch));
}

void TestRelation4::commentPoint_data()
{
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("point");
    QTest::newRow("50") << 50 << 51 << 33;
    QTest::newRow("10") << 10 << 11 << 6;
    QTest::newRow("100") << 100 << 101 << 66;
    QTest::newRow("45") << 45 << 46 << 30;
    // A narrow range can show fewer points than the count asks for.
    QTest::newRow("fewer shown") << 50 << 20 << 20;
    QTest::newRow("none shown") << 50 << 0 << 1;
}

void TestRelation4::commentPoint()
{
    QFETCH(int, points);
    QFETCH(int, shown);
    QFETCH(int, point);
    QCOMPARE(int(graph4CommentPoint(points, shown)), point);
}

void TestRelation4::scaleWarnings_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("warnings");
    const QStringList ok = {"0.8", "0.9999", "0", "5000"};
    auto with = [&](int i, const char* t) {
        QStringList l = ok;
        l[i] = QString::fromUtf8(t);
        return l;
    };
    QTest::newRow("defaults pass") << 1 << ok << QStringList();
    QTest::newRow("letters only warn once") << 0 << with(0, "abc") << QStringList({"Please enter a number"});
    QTest::newRow("X max 1") << 1 << with(1, "1") << QStringList({"This value shall be between 0 and 1"});
    // Out of range and no longer above X min: two warnings.
    QTest::newRow("X min 1") << 0 << with(0, "1")
                             << QStringList({"This value shall be between 0 and 1", "X max shall be greater then X min"});
    QTest::newRow("X min = X max") << 0 << with(0, "0.9999") << QStringList({"X max shall be greater then X min"});
    QTest::newRow("Y min = Y max") << 2 << with(2, "5000") << QStringList({"Y max shall be greater then Y min"});
    QTest::newRow("Y max below min") << 3 << with(3, "-1") << QStringList({"Y max shall be greater then Y min"});
    QTest::newRow("Y max 12abc") << 3 << with(3, "12abc") << QStringList({"Please enter a number"});
}

void TestRelation4::scaleWarnings()
{
    QFETCH(int, index);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, warnings);
    QCOMPARE(graph4ScaleWarnings(index, {texts[0], texts[1], texts[2], texts[3]}), warnings);
}

void TestRelation4::specWarnings_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("warning");
    QTest::newRow("defaults pass") << 2 << QStringList({"0.5", "0.5", ""}) << "";
    QTest::newRow("a blank size passes") << 2 << QStringList({"0.5", "0.5", " "}) << "";
    QTest::newRow("size 1000") << 2 << QStringList({"0.5", "0.5", "1000"}) << "";
    QTest::newRow("size letters") << 2 << QStringList({"0.5", "0.5", "abc"}) << "Please enter a number";
    QTest::newRow("size 1") << 2 << QStringList({"0.5", "0.5", "1"}) << "Consignment size shall be greater then zero.";
    // Either probability not a number stops every box's check.
    QTest::newRow("size, P2 letters") << 2 << QStringList({"0.5", "x", "-5"}) << "Please enter a number";
    QTest::newRow("P1 0") << 0 << QStringList({"0", "0.5", ""}) << "P1 shall be between 0 and 1";
    QTest::newRow("P1 1") << 0 << QStringList({"1", "0.5", ""}) << "P1 shall be between 0 and 1";
    QTest::newRow("P2 1") << 1 << QStringList({"0.5", "1", ""}) << "P2 shall be between 0 and 1";
    QTest::newRow("P2 0.99") << 1 << QStringList({"0.5", "0.99", ""}) << "";
}

void TestRelation4::specWarnings()
{
    QFETCH(int, index);
    QFETCH(QStringList, texts);
    QFETCH(QString, warning);
    const QStringList got = graph4SpecWarnings(index, {texts[0], texts[1], texts[2]});
    QCOMPARE(got, warning.isEmpty() ? QStringList() : QStringList({warning}));
}

void TestRelation4::wholeTextAsThePattern_data()
{
    QTest::addColumn<double>("v");
    for (double v : {0.0, 0.3, -0.3, 0.5, -0.5, 0.4999999999999999, 2.4999999999999996, 2.5, 40.5, 123.7, -5.6,
                     999999999.4, 1e9 + 0.5, 1e12, 1e-320, 2409.4999996, 2409.5000004})
        QTest::newRow(qPrintable(QString::number(v, 'g', 17))) << v;
}

// The table cells of the curves: the same text as the pattern gives, for
// chosen values and along the curves of the defaults.
void TestRelation4::wholeTextAsThePattern()
{
    QFETCH(double, v);
    QCOMPARE(wholeText(v), formatNumber(v, QStringLiteral("######")));
    for (int32_t N : kGraph4Sizes)
        for (int k = 0; k <= 1000; ++k) {
            const double y = sampleToAvoidEstablishment(N, 0.8 + k * 0.0001999, 0.5, 0.5) + v;
            QCOMPARE(wholeText(y), formatNumber(y, QStringLiteral("######")));
        }
}

QTEST_GUILESS_MAIN(TestRelation4)
#include "tst_relation4.moc"
