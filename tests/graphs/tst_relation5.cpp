// Inspections without failure: the reference sample, the swept sample sizes,
// the marker, the titles, the failures and the box checks.

#include "common/format.h"
#include "common/runtime.h"
#include "graphs/relation5.h"
#include "graphtestkit.h"

#include <QLocale>
#include <QTest>
#include <cmath>

using namespace tav;
using namespace tav::test;

namespace {

struct Curve : WindowArrays {
    double nref = 0.0;
    Graph5Range range;
    int kept = 0;
    double ymax = 0.0;
};

void curve(Curve& c, int32_t N, double I, double p1, double p2, int npontos)
{
    c.nref = referenceSample(1.0 / I, p1, p2, N);
    c.range = graph5Range(c.nref, N, npontos);
    graph5Set(c.pts, c.kept, c.ymax, c.range, c.nref, N, p1, p2);
}

QString whole(double v) { return generalText(std::floor(v + 0.5)); }

} // namespace

class TestRelation5 : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void defaults();
    void sampleLabels_data();
    void sampleLabels();
    void referenceAtConsignment();
    void tinyFractionsKeepTheirDigits_data();
    void tinyFractionsKeepTheirDigits();
    void referenceRoundsTheTrueValue();
    void failures_data();
    void failures();
    void comment_data();
    void comment();
    void warnings_data();
    void warnings();
};

// N 1000, I 10000, p1 0.1, p2 0.3, 70 points.
void TestRelation5::defaults()
{
    Curve c;
    curve(c, 1000, 10000, 0.1, 0.3, 70);
    QCOMPARE(c.nref, 241.0);
    QCOMPARE(c.range.lo, 24.6);
    QCOMPARE(c.range.hi, 265.6);
    QVERIFY(std::fabs(c.range.step - 3.4428571428571) < 1e-12);
    QCOMPARE(c.kept, 70);
    QCOMPARE(whole(c.pts.x[1]), QStringLiteral("25"));
    QCOMPARE(whole(c.pts.y[1]), QStringLiteral("2"));
    QCOMPARE(formatNumber(c.pts.x[70], QStringLiteral("0.000")), QStringLiteral("262.157"));
    QCOMPARE(whole(c.pts.x[70]), QStringLiteral("262"));
    QCOMPARE(whole(c.pts.y[70]), QStringLiteral("25189"));
    QCOMPARE(formatNumber(10.0 * c.ymax, QStringLiteral("0.00")), QStringLiteral("251886.03"));
    // The marker drops at the first sample size whose curve reaches I.
    int drop = 0;
    for (int k = 1; k <= c.kept && !drop; ++k)
        if (graph5Marker(c.pts.y[size_t(k)], 10000) == 1.0)
            drop = k;
    QVERIFY(drop > 1);
    QCOMPARE(c.pts.x[size_t(drop)], 241.5);
    QCOMPARE(formatNumber(c.pts.y[size_t(drop)], QStringLiteral("0.0")), QStringLiteral("10034.1"));
    QCOMPARE(graph5Marker(c.pts.y[size_t(drop - 1)], 10000), 10000.0);
    QCOMPARE(graph5Title(10000, c.nref), QStringLiteral("Samples for 10,000 inspections without failure: 241"));
}

// The sample sizes as the grid and the chart show them.
void TestRelation5::sampleLabels_data()
{
    QTest::addColumn<int>("N");
    QTest::addColumn<double>("I");
    QTest::addColumn<double>("p1");
    QTest::addColumn<double>("p2");
    QTest::addColumn<int>("npontos");
    QTest::addColumn<QStringList>("labels");

    QTest::newRow("defaults, 10 points")
        << 1000 << 10000.0 << 0.1 << 0.3 << 10
        << QStringList({"25", "49", "73", "97", "121", "145", "169", "193", "217", "241", "266"});
    // The sample size 5.0 equals nref and is left out.
    QTest::newRow("nref on the sweep") << 10 << 10.0 << 0.5 << 0.6 << 10
                                       << QStringList({"1", "2", "2", "3", "3", "4", "4", "5", "6", "6"});
}

void TestRelation5::sampleLabels()
{
    QFETCH(int, N);
    QFETCH(double, I);
    QFETCH(double, p1);
    QFETCH(double, p2);
    QFETCH(int, npontos);
    QFETCH(QStringList, labels);
    Curve c;
    curve(c, N, I, p1, p2, npontos);
    QStringList got;
    for (int k = 1; k <= c.kept; ++k)
        got << whole(c.pts.x[size_t(k)]);
    QCOMPARE(got, labels);
}

// p1 = p2 = 1 asks for the whole consignment: the sweep stops at N - 1 and
// the title shows 0.9999 N grouped.
void TestRelation5::referenceAtConsignment()
{
    Curve c;
    curve(c, 1000, 10000, 1, 1, 10);
    QCOMPARE(c.nref, 1000.0);
    QCOMPARE(c.range.hi, 999.0);
    QCOMPARE(c.kept, 10);
    QVERIFY(c.pts.x[10] < 1000.0);
    QCOMPARE(graph5Title(10000, 0.9999 * 1000), QStringLiteral("Samples for 10,000 inspections without failure: 1,000"));
}

void TestRelation5::tinyFractionsKeepTheirDigits_data()
{
    QTest::addColumn<double>("s");
    QTest::addColumn<double>("N");
    QTest::addColumn<double>("p1");
    QTest::addColumn<double>("p2");
    QTest::addColumn<double>("expected");
    // Worked out to 60 digits as exp(-ln(1 - s/N) / (p1 p2)) in decimals.
    QTest::newRow("s/N 5e-9, p1 p2 1e-9") << 10.0 << 2000000000.0 << 1e-5 << 1e-4 << 148.41316095774101;
    QTest::newRow("one unit of the largest lot") << 1.0 << 2147483647.0 << 1e-6 << 1e-6 << 1.7144611760703733e+202;
    QTest::newRow("s/N 0.05, p1 p2 0.25") << 50.0 << 1000.0 << 0.5 << 0.5 << 1.2277376631548254;
}

void TestRelation5::tinyFractionsKeepTheirDigits()
{
    QFETCH(double, s);
    QFETCH(double, N);
    QFETCH(double, p1);
    QFETCH(double, p2);
    QFETCH(double, expected);
    const double y = inspectionsWithoutFailure(s, N, p1, p2);
    QVERIFY2(std::fabs(y - expected) <= 1e-11 * expected, QByteArray::number(y, 'g', 17).constData());
}

void TestRelation5::referenceRoundsTheTrueValue()
{
    // N (1 - alpha^(p1 p2)) is 0.49999997 here (worked out in decimals): no
    // unit, where the digits lost to 1 - alpha^1e-12 made it 0.50000003.
    QCOMPARE(referenceSample(1.0 / 1e200, 1e-6, 1e-6, 1085736150.0), 0.0);
    // Just above the half it is one unit.
    QCOMPARE(referenceSample(1.0 / 1e200, 1e-6, 1e-6, 1085736210.0), 1.0);
}

void TestRelation5::failures_data()
{
    QTest::addColumn<int>("N");
    QTest::addColumn<double>("p1");
    QTest::addColumn<int>("npontos");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("kept");

    QTest::newRow("p1 0") << 1000 << 0.0 << 70 << int(ErrDivisionByZero) << 0;
    QTest::newRow("no points") << 1000 << 0.1 << 0 << int(ErrDivisionByZero) << 0;
    QTest::newRow("499 points fit") << 1000 << 0.1 << 499 << 0 << 499;
    QTest::newRow("600 points") << 1000 << 0.1 << 600 << int(ErrSubscript) << 500;
}

void TestRelation5::failures()
{
    QFETCH(int, N);
    QFETCH(double, p1);
    QFETCH(int, npontos);
    QFETCH(int, error);
    QFETCH(int, kept);
    Curve c;
    c.kept = -1;
    QCOMPARE(errorOf([&] {
                 c.nref = referenceSample(1.0 / 10000, p1, 0.3, N);
                 c.range = graph5Range(c.nref, N, npontos);
                 graph5Set(c.pts, c.kept, c.ymax, c.range, c.nref, N, p1, 0.3);
             }),
             error);
    QCOMPARE(qMax(c.kept, 0), kept);
}

void TestRelation5::comment_data()
{
    QTest::addColumn<double>("nref");
    QTest::addColumn<QString>("iText");
    QTest::addColumn<QString>("expected");
    const QString head = QStringLiteral("The data show that, if the probabilities p1 and p2 are 0.1 and 0.3 "
                                        "respectivelly and the consignments size is 1,000 units then it will be "
                                        "necessary to sample ");
    QTest::newRow("defaults") << 241.0 << "10000"
                              << head + "241 unit(s) of each consignment to have one failure (establishment) in "
                                        "each 10,000 inspections (importations). ";
    QTest::newRow("below one unit") << 0.0 << "1.5"
                                    << head + "less then 1 unit(s) of each consignment to have one failure "
                                              "(establishment) in each 2 inspections (importations). ";
    QTest::newRow("inspections not a number")
        << 241.0 << "many" << head + "241 unit(s) of each consignment to have one failure (establishment) in each "
                                     "many inspections (importations). ";
}

void TestRelation5::comment()
{
    QFETCH(double, nref);
    QFETCH(QString, iText);
    QFETCH(QString, expected);
    QCOMPARE(graph5Comment(0.1, 0.3, 1000, nref, iText), expected);
}

void TestRelation5::warnings_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning");
    QTest::newRow("size 1000") << 0 << "1000" << "";
    QTest::newRow("size 2") << 0 << "2" << "";
    QTest::newRow("size 1") << 0 << "1" << "Consignment size shall greater then 1";
    QTest::newRow("size letters") << 0 << "ten" << "Please enter a number";
    QTest::newRow("inspections 1") << 1 << "1" << "Please enter a number >= 1";
    QTest::newRow("inspections 1.5") << 1 << "1.5" << "";
    QTest::newRow("p1 0.1") << 2 << "0.1" << "";
    QTest::newRow("p1 0") << 2 << "0" << "Please enter a number between 0 and 1";
    QTest::newRow("p2 1") << 3 << "1" << "Please enter a number between 0 and 1";
    QTest::newRow("p2 12abc") << 3 << "12abc" << "Please enter a number";
}

void TestRelation5::warnings()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QString, warning);
    QCOMPARE(graph5Warning(index, text), warning);
}

QTEST_GUILESS_MAIN(TestRelation5)
#include "tst_relation5.moc"
