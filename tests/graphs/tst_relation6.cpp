// Years between introductions against the RDL: the points, how they are
// written, the comment and the box checks.

#include "common/format.h"
#include "common/runtime.h"
#include "graphs/relation6.h"
#include "graphtestkit.h"

#include <QLocale>
#include <QTest>

using namespace tav;
using namespace tav::test;

namespace {

struct Curve : WindowArrays {
    int computed = -1;
    double ymin = 0.0, ymax = 0.0;
};

void sweep(Curve& c, double xMin, double xMax, int npontos, double p1 = 0.1, double p2 = 0.1, double N = 1000,
           double M = 12)
{
    const double step = cdiv(xMax - xMin, npontos);
    graph6Set(c.pts, c.computed, c.ymin, c.ymax, xMin, xMax, step, p1, p2, N, M);
}

} // namespace

class TestRelation6 : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void defaultRows_data();
    void defaultRows();
    void defaultRange();
    void pointCount_data();
    void pointCount();
    void texts();
    void comment_data();
    void comment();
    void failures_data();
    void failures();
    void scaleWarnings_data();
    void scaleWarnings();
    void specWarnings_data();
    void specWarnings();
};

// The defaults: p1 = p2 = 0.1, N 1000, M 12, RDL 0.000001 to 0.002 by 50.
void TestRelation6::defaultRows_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("rdl");
    QTest::addColumn<QString>("years");
    QTest::addColumn<QString>("label");
    QTest::newRow("1") << 1 << "1.00E-06" << "8333" << "0.0";
    QTest::newRow("2") << 2 << "0.000041" << "203" << "0.00004";
    QTest::newRow("25") << 25 << "0.000961" << "9" << "0.00096";
    QTest::newRow("51") << 51 << "0.002000" << "4" << "0.002";
}

void TestRelation6::defaultRows()
{
    QFETCH(int, row);
    QFETCH(QString, rdl);
    QFETCH(QString, years);
    QFETCH(QString, label);
    Curve c;
    sweep(c, 0.000001, 0.002, 50);
    QCOMPARE(graph6RdlText(c.x[size_t(row)]), rdl);
    QCOMPARE(graph6YearsText(c.y[size_t(row)]), years);
    QCOMPARE(graph6Label(c.x[size_t(row)]), label);
}

void TestRelation6::defaultRange()
{
    Curve c;
    sweep(c, 0.000001, 0.002, 50);
    QCOMPARE(c.computed, 51);
    QCOMPARE(formatNumber(c.ymin, QStringLiteral("0.0000")), QStringLiteral("4.1667"));
    QCOMPARE(formatNumber(c.ymax, QStringLiteral("0.0")), QStringLiteral("8333.3"));
}

// X advances by repeated addition: at 40 steps the point at X max is lost.
void TestRelation6::pointCount_data()
{
    QTest::addColumn<int>("npontos");
    QTest::addColumn<int>("computed");
    for (int n = 10; n <= 100; n += 10)
        QTest::addRow("%d", n) << n << (n == 40 ? 40 : n + 1);
}

void TestRelation6::pointCount()
{
    QFETCH(int, npontos);
    QFETCH(int, computed);
    Curve c;
    sweep(c, 0.000001, 0.002, npontos);
    QCOMPARE(c.computed, computed);
}

void TestRelation6::texts()
{
    // The years: above 1 the whole number nearest (halves up), else two
    // decimals at most; the RDL switches to scientific below 0.00001 in the
    // table and below 0.000001 under the chart.
    QCOMPARE(graph6YearsText(1.0), QStringLiteral("1"));
    QCOMPARE(graph6YearsText(1.5), QStringLiteral("2"));
    QCOMPARE(graph6YearsText(2.5), QStringLiteral("3"));
    QCOMPARE(graph6YearsText(0.456), QStringLiteral("0.46"));
    QCOMPARE(graph6YearsText(0.5), QStringLiteral("0.5"));
    QCOMPARE(graph6YearsText(12345.6), QStringLiteral("12346"));
    QCOMPARE(graph6RdlText(0.00001), QStringLiteral("0.000010"));
    QCOMPARE(graph6RdlText(0.0000099), QStringLiteral("9.90E-06"));
    QCOMPARE(graph6Label(0.000001), QStringLiteral("0.0"));
    QCOMPARE(graph6Label(0.00000099), QStringLiteral("9.90E-07"));
    QCOMPARE(graph6Label(0.5), QStringLiteral("0.5"));
}

void TestRelation6::comment_data()
{
    QTest::addColumn<double>("p");
    QTest::addColumn<double>("N");
    QTest::addColumn<QString>("imports");
    QTest::addColumn<double>("xMin");
    QTest::addColumn<double>("xMax");
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QString>("expected");

    QTest::newRow("defaults") << 0.1 << 1000.0 << "12" << 0.000001 << 0.002 << "50"
                              << "If the pest has 10% chance to get to the host (p1) and 10% chance to find favourable "
                                 "conditions (p2), and if the consignment size is 1,000 units and you import 12 "
                                 "consignment(s) per year, then for a RDL of 0.00096052, you could have  1 "
                                 "establishment each 8.7 year(s).";
    // Every y below 1: the establishments per year, and two blanks before
    // the end.
    QTest::newRow("below a year") << 0.5 << 1000.0 << "1" << 0.1 << 0.5 << "10"
                                  << "If the pest has 50% chance to get to the host (p1) and 50% chance to find "
                                     "favourable conditions (p2), and if the consignment size is 1,000 units and you "
                                     "import 1 consignment(s) per year, then for a RDL of 0.26, you could have 65.0 "
                                     "establishments each  year(s).";
}

void TestRelation6::comment()
{
    QFETCH(double, p);
    QFETCH(double, N);
    QFETCH(QString, imports);
    QFETCH(double, xMin);
    QFETCH(double, xMax);
    QFETCH(QString, combo);
    QFETCH(QString, expected);
    Curve c;
    sweep(c, xMin, xMax, combo.toInt(), p, p, N, imports.toDouble());
    const int k = graph6CommentPoint(combo.toInt(), 500);
    QCOMPARE(graph6Comment(p, p, N, imports, c.x[size_t(k)], c.y[size_t(k)]), expected);
}

void TestRelation6::failures_data()
{
    QTest::addColumn<double>("p1");
    QTest::addColumn<double>("N");
    QTest::addColumn<double>("xMin");
    QTest::addColumn<int>("npontos");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("computed");
    QTest::newRow("p1 0") << 0.0 << 1000.0 << 0.000001 << 50 << int(ErrDivisionByZero) << 0;
    QTest::newRow("N 0") << 0.1 << 0.0 << 0.000001 << 50 << int(ErrDivisionByZero) << 0;
    QTest::newRow("RDL 0") << 0.1 << 1000.0 << 0.0 << 50 << int(ErrDivisionByZero) << 0;
    QTest::newRow("499 fit") << 0.1 << 1000.0 << 0.000001 << 499 << 0 << 499;
    QTest::newRow("600 do not") << 0.1 << 1000.0 << 0.000001 << 600 << int(ErrSubscript) << 500;
}

void TestRelation6::failures()
{
    QFETCH(double, p1);
    QFETCH(double, N);
    QFETCH(double, xMin);
    QFETCH(int, npontos);
    QFETCH(int, error);
    QFETCH(int, computed);
    Curve c;
    QCOMPARE(errorOf([&] { sweep(c, xMin, 0.002, npontos, p1, 0.1, N, 12); }), error);
    QCOMPARE(c.computed, computed);
}

void TestRelation6::scaleWarnings_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("xMin");
    QTest::addColumn<QString>("xMax");
    QTest::addColumn<QString>("warning");
    QTest::newRow("defaults") << 1 << "1E-06" << "0.002" << "";
    QTest::newRow("X max 1.5") << 1 << "0.000001" << "1.5" << "Please input a bumber between 0 and 1";
    QTest::newRow("X min 0") << 0 << "0" << "0.002" << "Please input a bumber between 0 and 1";
    QTest::newRow("X min above max") << 0 << "0.003" << "0.002" << "X max shall be greater then X min";
    QTest::newRow("letters") << 0 << "0.1a" << "0.002" << "Please enter a number";
}

void TestRelation6::scaleWarnings()
{
    QFETCH(int, index);
    QFETCH(QString, xMin);
    QFETCH(QString, xMax);
    QFETCH(QString, warning);
    QCOMPARE(graph6ScaleWarning(index, {xMin, xMax}), warning);
}

void TestRelation6::specWarnings_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("warning");
    QTest::newRow("size 1000") << 0 << "1000" << "";
    QTest::newRow("size 1") << 0 << "1" << "";
    QTest::newRow("size 0") << 0 << "0" << "Please input a number >= 1";
    QTest::newRow("imports 0.5") << 1 << "0.5" << "Please input a number >= 1";
    QTest::newRow("P1 1") << 2 << "1" << "This number shal be between 0 and 1";
    QTest::newRow("P2 0.1") << 3 << "0.1" << "";
    QTest::newRow("P2 empty") << 3 << "" << "Please enter a number";
}

void TestRelation6::specWarnings()
{
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(QString, warning);
    QCOMPARE(graph6SpecWarning(index, text), warning);
}

QTEST_GUILESS_MAIN(TestRelation6)
#include "tst_relation6.moc"
