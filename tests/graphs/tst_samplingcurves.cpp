// The relations of the three sampling graphs and their comments, without
// any window.

#include "common/format.h"
#include "common/runtime.h"
#include "common/tabelaimp.h"
#include "graphs/samplingcurves.h"

#include <QTest>
#include <cmath>

using namespace tav;

class TestSamplingCurves : public QObject {
    Q_OBJECT
private slots:
    void requiredSample_data();
    void requiredSample();
    void requiredSampleFails_data();
    void requiredSampleFails();
    void sweepRdl_data();
    void sweepRdl();
    void sweepRdlStopsAtCapacity();
    void sweepConsignments_data();
    void sweepConsignments();
    void sweepConsignmentsEqualEnds();
    void percentComment_data();
    void percentComment();
    void constantComment_data();
    void constantComment();
};

void TestSamplingCurves::requiredSample_data()
{
    QTest::addColumn<double>("size");
    QTest::addColumn<double>("cl");
    QTest::addColumn<double>("rdl");
    QTest::addColumn<double>("expected");
    // 1 / (N x) = 1: the sample is N times the CL.
    QTest::newRow("exponent 1") << 1000.0 << 0.8 << 0.001 << 800.0;
    QTest::newRow("exponent 1, small lot") << 100.0 << 0.95 << 0.01 << 95.0;
    // 1 / (N x) = 1/2: N (1 - sqrt(q)).
    QTest::newRow("square root") << 1000.0 << 0.95 << 0.002 << 1000.0 * (1 - std::sqrt(0.05));
    // A tiny RDL asks for the whole lot.
    QTest::newRow("whole lot") << 1000.0 << 0.8 << 0.00001 << 1000.0;
    // The worked example's second row: RDL 0.00001 + 0.0009995.
    QTest::newRow("example row 2, 99%") << 1000.0 << 0.99 << 0.0010095 << 989.557;
    // A huge lot needs -ln(1 - CL) / RDL units, however large it is.
    QTest::newRow("1e12 units, 99%") << 1e12 << 0.99 << 0.01 << 460.517;
    QTest::newRow("1e17 units") << 1e17 << 0.95 << 0.1 << 29.957;
    QTest::newRow("1e18 units") << 1e18 << 0.95 << 0.1 << 29.957;
    QTest::newRow("2^63 units") << 9223372036854775808.0 << 0.95 << 0.1 << 29.957;
}

void TestSamplingCurves::requiredSample()
{
    QFETCH(double, size);
    QFETCH(double, cl);
    QFETCH(double, rdl);
    QFETCH(double, expected);
    const double n = tav::requiredSample(size, 1 - cl, rdl);
    QVERIFY2(std::abs(n - expected) < 0.05, qPrintable(QString::number(n, 'g', 12)));
}

void TestSamplingCurves::requiredSampleFails_data()
{
    QTest::addColumn<double>("size");
    QTest::addColumn<double>("q");
    QTest::addColumn<double>("rdl");
    QTest::addColumn<int>("error");
    QTest::newRow("RDL 0") << 1000.0 << 0.05 << 0.0 << int(ErrDivisionByZero);
    QTest::newRow("size 0") << 0.0 << 0.05 << 0.01 << int(ErrDivisionByZero);
    QTest::newRow("CL above 1") << 1000.0 << -0.2 << 0.003 << int(ErrInvalidCall);
}

void TestSamplingCurves::requiredSampleFails()
{
    QFETCH(double, size);
    QFETCH(double, q);
    QFETCH(double, rdl);
    QFETCH(int, error);
    try {
        tav::requiredSample(size, q, rdl);
        QFAIL("no error");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), error);
    }
}

void TestSamplingCurves::sweepRdl_data()
{
    QTest::addColumn<double>("xmin");
    QTest::addColumn<double>("xmax");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("computed");
    QTest::addColumn<QString>("lastShown");
    // The accumulated x lands just below 0.02 + 2 steps: 22 computed.
    QTest::newRow("defaults, 20") << 0.00001 << 0.02 << 20 << 22 << "0.0200";
    QTest::newRow("defaults, 50") << 0.00001 << 0.02 << 50 << 53 << "0.0204";
    QTest::newRow("defaults, 100") << 0.00001 << 0.02 << 100 << 103 << "0.0202";
    QTest::newRow("downward") << 0.02 << 0.00001 << 10 << 12 << "0.0000";
}

void TestSamplingCurves::sweepRdl()
{
    QFETCH(double, xmin);
    QFETCH(double, xmax);
    QFETCH(int, points);
    QFETCH(int, computed);
    QFETCH(QString, lastShown);
    std::vector<double> vx(111), vy(111);
    const double step = (xmax - xmin) / points;
    int i = 0;
    tav::sweepRdl(1000, 1 - 0.95, xmin, xmax + 2 * step, step, vx, vy, i);
    QCOMPARE(i - 1, computed);
    QCOMPARE(formatNumber(vx[size_t(i - 2)], QStringLiteral("0.0000")), lastShown);
    QCOMPARE(vx[1], xmin);
    // Repeated addition, never xmin + k step.
    double x = xmin;
    for (int k = 1; k < i; ++k, x += step)
        QCOMPARE(vx[size_t(k)], x);
}

void TestSamplingCurves::sweepRdlStopsAtCapacity()
{
    std::vector<double> vx(111), vy(111);
    int i = 0;
    try {
        tav::sweepRdl(1000, 0.05, 0.01, 0.01, 0.0, vx, vy, i);
        QFAIL("no error");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), int(ErrSubscript));
    }
    QCOMPARE(i, 111);
}

void TestSamplingCurves::sweepConsignments_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("xmin");
    QTest::addColumn<double>("xmax");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("computed");
    QTest::addColumn<double>("lastShownX");
    QTest::addColumn<double>("lastShownY");
    const int ref = int(Sampling::Reference), pct = int(Sampling::Percent), cst = int(Sampling::Constant);
    QTest::newRow("graph 2 defaults") << pct << 3.0 << 0.0 << 20000.0 << 60 << 62 << 19980.0 << 599.4;
    // The end quotient falls just below 62.
    QTest::newRow("0 to 1000 by 60") << cst << 200.0 << 0.0 << 1000.0 << 60 << 61 << 1003.0 << 200.0;
    QTest::newRow("reference") << ref << 0.0 << 0.0 << 1000.0 << 60 << 61 << 1003.0 << -1.0;
    // A step that rounds to 0 keeps every x at X min.
    QTest::newRow("zero step") << pct << 2.0 << 10.0 << 15.0 << 60 << 61 << 10.0 << 0.2;
}

void TestSamplingCurves::sweepConsignments()
{
    QFETCH(int, kind);
    QFETCH(double, value);
    QFETCH(double, xmin);
    QFETCH(double, xmax);
    QFETCH(int, points);
    QFETCH(int, computed);
    QFETCH(double, lastShownX);
    QFETCH(double, lastShownY);
    std::vector<double> vx(511), vy(511);
    const double step = (xmax - xmin) / points;
    int i = 0;
    tav::sweepConsignments(Sampling(kind), value, 0.05, 0.01, xmin, xmax + 2 * step, step, vx, vy, i);
    QCOMPARE(i - 1, computed);
    QCOMPARE(vx[size_t(i - 2)], lastShownX);
    if (lastShownY >= 0)
        QVERIFY(std::abs(vy[size_t(i - 2)] - lastShownY) < 1e-9);
    else
        QCOMPARE(vy[size_t(i - 2)], tav::requiredSample(lastShownX, 0.05, 0.01));
    if (xmin == 0) {
        QCOMPARE(vx[1], 0.0);
        QCOMPARE(vy[1], 0.0); // every curve starts at (0, 0)
    }
}

// Equal ends: the end test divides 0 by 0 after the first point.
void TestSamplingCurves::sweepConsignmentsEqualEnds()
{
    std::vector<double> vx(511), vy(511);
    int i = 0;
    try {
        tav::sweepConsignments(Sampling::Reference, 0, 0.05, 0.01, 500, 500, 0, vx, vy, i);
        QFAIL("no error");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.number(), int(ErrOverflow));
    }
    QCOMPARE(i, 2);
}

namespace {

// A print table with the reference in column 1 and the compared curve in
// column `c`, x labels as the grid shows them.
TabelaImp table(int c, const QList<double>& ref, const QList<double>& other, const QStringList& x)
{
    TabelaImp t;
    for (int j = 0; j < ref.size(); ++j) {
        t.setImpcelula(1, j + 1, ref[j]);
        t.setImpcelula(c, j + 1, other[j]);
        t.setImprotulo(j + 1, x[j]);
    }
    return t;
}

const QString kB = QStringLiteral("The data shows that, considering a RDL of 0.01 and a Confidence Level of 0.95");

} // namespace

void TestSamplingCurves::percentComment_data()
{
    QTest::addColumn<int>("sets");
    QTest::addColumn<QList<double>>("ref");
    QTest::addColumn<QList<double>>("other");
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QString>("expected");
    QTest::newRow("3%, both") << 5 << QList<double>{0, 190, 290, 298} << QList<double>{0, 150, 300, 360} << "60"
                              << kB + ", if, for instance, you sample 3% of the consignment then you will be oversampling in "
                                      "consignments grater then 9,990 units. Also your sample size will be less then necessary to "
                                      "detect the specified RDL in consignments with less then 9,990 units.";
    QTest::newRow("3%, below only") << 5 << QList<double>{0, 190, 290, 298} << QList<double>{0, 150, 200, 290} << "100"
                                    << kB + ", if, for instance, you sample 3% of the consignment then you will be always sampling "
                                            "using a sample size less then necessary to detect the specified RDL in consignments.";
    QTest::newRow("own, above only") << 2 << QList<double>{0, 190, 290, 298} << QList<double>{0, 500, 999, 1200} << "60"
                                     << kB + ", and a sample size corresponding to 2.5% of the consignment then you will be always "
                                             "oversampling and your inspectiom costs will be greater then necessary.";
    QTest::newRow("own, both: first x above") << 2 << QList<double>{0, 190, 290, 298} << QList<double>{0, 191, 200, 400}
                                              << "60"
                                              << kB + ", and a sample size corresponding to 2.5% of the consignment then you will be "
                                                      "oversampling in consignments grater then 5,000 units. Also your sample size will "
                                                      "be less then necessary to detect the specified RDL in consignments with less then "
                                                      "5,000 units.";
    QTest::newRow("equal: no comment") << 5 << QList<double>{0, 190, 290, 298} << QList<double>{0, 190, 290, 298} << "60"
                                       << "";
    QTest::newRow("few points") << 5 << QList<double>{0, 190, 290, 298} << QList<double>{0, 150, 300, 360} << "50"
                                << "Please increase de number of points for a more realible numbers in the comment.";
    QTest::newRow("combo not a number") << 5 << QList<double>{0, 1} << QList<double>{0, 1} << "abc"
                                        << "Please increase de number of points for a more realible numbers in the comment.";
}

void TestSamplingCurves::percentComment()
{
    QFETCH(int, sets);
    QFETCH(QList<double>, ref);
    QFETCH(QList<double>, other);
    QFETCH(QString, combo);
    QFETCH(QString, expected);
    const QStringList x = {"0", "5,000", "9,990", "12,000"};
    const TabelaImp t = table(sets == 2 ? 2 : 4, ref, other, x);
    QCOMPARE(tav::percentComment(t, sets, int(ref.size()), QStringLiteral("0.01"), QStringLiteral("0.95"),
                                 QStringLiteral("2.5"), combo),
             expected);
}

void TestSamplingCurves::constantComment_data()
{
    QTest::addColumn<int>("sets");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QList<double>>("ref");
    QTest::addColumn<QString>("expected");
    // The reference rises through the compared size: the last x below it.
    QTest::newRow("200, both") << 5 << "" << QList<double>{0, 150, 210, 199, 250}
                               << kB + ", if for example, you sample 200 units then you will be oversampling in consignments with "
                                       "less then 1003 units. Also your sample size will be less then necessary to detect the "
                                       "specified RDL in consignments grater then 1003 units.";
    QTest::newRow("own 75.5 compares 76") << 2 << "75.5" << QList<double>{0, 50, 75.8, 77, 90}
                                          << kB + ", and a sample size corresponding to 75.5 units then you will be oversampling in "
                                                  "consignments with less then 500 units. Also your sample size will be less then "
                                                  "necessary to detect the specified RDL in consignments greater then 500 units.";
    // Only x = 0 lies below: no oversampling after all.
    QTest::newRow("only zero below") << 2 << "10" << QList<double>{0, 11, 20, 30, 40}
                                     << kB + ", and a sample size corresponding to 10 units then you will be always sampling "
                                             "using a sample size less then necessary to detect the specified RDL in consignments.";
    QTest::newRow("always above") << 2 << "300" << QList<double>{0, 100, 150, 200, 259}
                                  << kB + ", and a sample size corresponding to 300 units then you will be always oversampling "
                                          "and your inspectiom costs will be greater then necessary.";
    QTest::newRow("size 0.4 compares 0") << 2 << "0.4" << QList<double>{0, 1, 2, 3, 4}
                                         << kB + ", and a sample size corresponding to 0.4 units then you will be always "
                                                 "sampling using a sample size less then necessary to detect the specified RDL in "
                                                 "consignments.";
}

void TestSamplingCurves::constantComment()
{
    QFETCH(int, sets);
    QFETCH(QString, size);
    QFETCH(QList<double>, ref);
    QFETCH(QString, expected);
    const QStringList x = {"0", "17", "500", "1,003", "2,000"};
    TabelaImp t = table(2, ref, ref, x);
    QCOMPARE(tav::constantComment(t, sets, int(ref.size()), QStringLiteral("0.01"), QStringLiteral("0.95"), size,
                                  QStringLiteral("60")),
             expected);
}

QTEST_GUILESS_MAIN(TestSamplingCurves)
#include "tst_samplingcurves.moc"
