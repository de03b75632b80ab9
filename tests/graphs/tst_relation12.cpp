// Efficacy, time lag and refusals: the model at a point, the sweep, the
// shape of the curve and its comment, the texts and the box checks.

#include "common/format.h"
#include "common/runtime.h"
#include "graphs/relation12.h"
#include "graphtestkit.h"

#include <QLocale>
#include <QTest>
#include <cmath>

using namespace tav;
using namespace tav::test;

namespace {

struct Run {
    std::vector<double> x = std::vector<double>(501, 0.0);
    std::vector<double> y = std::vector<double>(501, 0.0);
    std::vector<double> r = std::vector<double>(501, 0.0);
    EfficacyArrays pts{{x, y}, r};
    int computed = -1;
};

// The defaults: N 4000, prevalence 0.3, sample 25, p1 = p2 = 0.2,
// efficacy 0.1 to 0.9999 by 100, time-lag axis up to 1000000.
EfficacyInputs defaults()
{
    EfficacyInputs in;
    in.p1 = 0.2;
    in.p2 = 0.2;
    in.N = 4000;
    in.f = 0.3f;
    in.n = 25;
    in.xMin = 0.1;
    in.xMax = 0.9999;
    in.yMax = 1000000;
    return in;
}

void sweep(Run& run, const EfficacyInputs& in, int npontos = 100)
{
    efficacyPoints(run.pts, run.computed, in, efficacyStep(in, npontos));
}

const QString kBoth = QStringLiteral(
    "This data generated a very intrusting graph. First the time lag between introductions decreases while the "
    "measure efficacy increases!. This is because when the efficay increase the prevalence in the consignment "
    "decrease and the probability to find a infected unit (if the sample size is keept constant) also decreases. "
    "This beahviour goes up to a point (efficay around 86.94% in this case) and then the time lag between "
    "indroductions increases exponentially with the measure efficay.\n\rThe graph suggest that heavly infected "
    "consignments are more safe for the importing coun try because they could be more easly detected. However a "
    "very hight percentage of consignment would be refused in lowers efficacies, as you can see in the second "
    "graph, and the trade would be practicaly not viable.");

} // namespace

class TestRelation12 : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QStringLiteral("en_US"))); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void defaultCurves();
    void comment_data();
    void comment();
    void heldToAxis();
    void model_data();
    void model();
    void tinyRefusalsKeepTheirDigits_data();
    void tinyRefusalsKeepTheirDigits();
    void failures_data();
    void failures();
    void scaleWarnings_data();
    void scaleWarnings();
    void specWarnings_data();
    void specWarnings();
    void refusalAxis();
};

void TestRelation12::defaultCurves()
{
    Run run;
    sweep(run, defaults());
    QCOMPARE(run.computed, 101);
    QCOMPARE(timeLagText(run.y[1]), QStringLiteral("20"));
    QCOMPARE(refusedText(run.r[1]), QStringLiteral("99.89"));
    QCOMPARE(timeLagText(run.y[101]), QStringLiteral("208"));
    QCOMPARE(refusedText(run.r[101]), QStringLiteral("0.08"));
    QCOMPARE(efficacyText(run.x[101]), QStringLiteral("0.999900"));
    QCOMPARE(efficacyLabel(run.x[101]), QStringLiteral("0.9999"));
    double lowest = 1e300;
    for (int k = 1; k <= 101; ++k)
        lowest = qMin(lowest, run.y[size_t(k)]);
    QCOMPARE(timeLagText(lowest), QStringLiteral("0.43"));
    const EfficacyShape s = efficacyShape(run.pts, run.computed);
    QVERIFY(s.decrease);
    QVERIFY(s.increase);
    QCOMPARE(formatNumber(s.turning, QStringLiteral("##0.00")), QStringLiteral("86.94"));
    QCOMPARE(s.smallest, 0.08f);
    QCOMPARE(s.largest, 99.89f);
}

// The shape of the time-lag curve picks the comment.
void TestRelation12::comment_data()
{
    QTest::addColumn<double>("xMin");
    QTest::addColumn<double>("xMax");
    QTest::addColumn<QString>("expected");
    QTest::newRow("falls then rises") << 0.1 << 0.9999 << kBoth;
    QTest::newRow("only rises")
        << 0.95 << 0.9999
        << "This graph presents the expected effect of increasing efficacy of a phytosanitary measure. When the "
           "efficacy goes up also the time lag bteween expected introduction increases.\n\r\n\rNote in the second "
           "graph that, depending on the efficay, the expected percentage of refused consignments can goes from "
           "0.45% up to 31.35%.";
    QTest::newRow("only falls")
        << 0.1 << 0.5
        << "In this case the time lag between introductions decreases while the measure efficacy increases!. This "
           "is because when the efficay increase the prevalence in the consignment decrease and the probability to "
           "find a infected unit (if the sample size is keept constant) also decreases. However the maximum efficay "
           "(X scale = 0.5) is not enought to start increasing the time lag between introductions.";
    // No point, no shape: the comment stays.
    QTest::newRow("no points") << 0.9999 << 0.1 << "previous";
}

void TestRelation12::comment()
{
    QFETCH(double, xMin);
    QFETCH(double, xMax);
    QFETCH(QString, expected);
    EfficacyInputs in = defaults();
    in.xMin = xMin;
    in.xMax = xMax;
    Run run;
    // A negative count over a rising range computes nothing.
    sweep(run, in, xMin < xMax ? 100 : -100);
    QCOMPARE(efficacyComment(efficacyShape(run.pts, run.computed), xMax, QStringLiteral("previous")), expected);
}

// A time lag above the axis maximum is drawn at it; the shape still sees
// the rise.
void TestRelation12::heldToAxis()
{
    EfficacyInputs in = defaults();
    in.yMax = 100;
    Run run;
    sweep(run, in);
    QCOMPARE(run.y[101], 100.0);
    QCOMPARE(timeLagText(run.y[101]), QStringLiteral("100"));
    QCOMPARE(efficacyComment(efficacyShape(run.pts, run.computed), in.xMax, QString()), kBoth);
}

void TestRelation12::model_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("refused");
    QTest::addColumn<double>("years");
    // No measure: prevalence 0.3 of 4000 units, a sample of 25.
    const double det = 1.0 - std::pow(1.0 - 25.0 / 4000, 4000 * double(0.3f));
    QTest::newRow("efficacy 0") << 0.0 << 25 << 100 * det
                                << 1 / (0.2 * 0.2 * 4000 * double(0.3f) * (1 - det));
    // A prevalence floored to 1e-10: detection almost never.
    const double rare = 1.0 - std::pow(1.0 - 25.0 / 4000, 4000 * 1e-10);
    const double almost = 1.0 - 1e-12;
    QTest::newRow("floored prevalence") << almost << 25 << 100 * rare
                                        << 1 / (0.2 * 0.2 * 4000 * double(0.3f) * (1 - almost) * (1 - rare));
    // Sampling everything detects for sure: bounded below 1.
    QTest::newRow("whole consignment") << 0.5 << 4000 << 99.9999999
                                       << 1 / (0.2 * 0.2 * 4000 * double(0.3f) * 0.5 * (1 - 0.999999999));
    // Sampling nothing never detects: bounded above 0.
    QTest::newRow("no sample") << 0.5 << 0 << 1e-7 << 1 / (0.2 * 0.2 * 4000 * double(0.3f) * 0.5 * (1 - 1e-9));
}

void TestRelation12::model()
{
    QFETCH(double, x);
    QFETCH(int, n);
    QFETCH(double, refused);
    QFETCH(double, years);
    EfficacyInputs in = defaults();
    in.n = n;
    const EfficacyPoint p = efficacyModel(in, x);
    QVERIFY2(std::fabs(p.refused - refused) <= 1e-9 * qMax(1.0, refused), qPrintable(QString::number(p.refused)));
    QVERIFY2(std::fabs(p.years - years) <= 1e-9 * years, qPrintable(QString::number(p.years)));
}

void TestRelation12::tinyRefusalsKeepTheirDigits_data()
{
    QTest::addColumn<int>("N");
    QTest::addColumn<int>("n");
    QTest::addColumn<float>("f");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("refused");
    // Worked out to 60 digits as 100 (1 - exp(N prev ln(1 - n/N))) in
    // decimals, prev being the single-precision f times 1 - x.
    QTest::newRow("one unit of 2e9, f 1e-9") << 2000000000 << 1 << 1e-9f << 0.0 << 9.9999997146806856e-8;
    QTest::newRow("three units of 2e9, f 1e-8, half") << 2000000000 << 3 << 1e-8f << 0.5 << 1.4999999807587937e-6;
    QTest::newRow("58 of 1000, f 0.05") << 1000 << 58 << 0.05f << 0.0 << 94.958670075506259;
}

void TestRelation12::tinyRefusalsKeepTheirDigits()
{
    QFETCH(int, N);
    QFETCH(int, n);
    QFETCH(float, f);
    QFETCH(double, x);
    QFETCH(double, refused);
    EfficacyInputs in = defaults();
    in.N = N;
    in.n = n;
    in.f = f;
    const EfficacyPoint p = efficacyModel(in, x);
    QVERIFY2(std::fabs(p.refused - refused) <= 1e-11 * refused, QByteArray::number(p.refused, 'g', 17).constData());
}

void TestRelation12::failures_data()
{
    QTest::addColumn<int>("N");
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("p1");
    QTest::addColumn<double>("xMin");
    QTest::addColumn<double>("xMax");
    QTest::addColumn<int>("npontos");
    QTest::addColumn<int>("error");
    QTest::addColumn<int>("computed");
    QTest::newRow("consignment 0") << 0 << 25 << 0.2 << 0.1 << 0.9999 << 100 << int(ErrDivisionByZero) << 0;
    QTest::newRow("p1 0") << 4000 << 25 << 0.0 << 0.1 << 0.9999 << 100 << int(ErrDivisionByZero) << 0;
    QTest::newRow("sample above size") << 4000 << 9000 << 0.2 << 0.1 << 0.9999 << 100 << int(ErrInvalidCall) << 0;
    // The efficacy reaches 1 exactly at the third point.
    QTest::newRow("efficacy 1") << 4000 << 25 << 0.2 << 0.5 << 1.0 << 2 << int(ErrDivisionByZero) << 2;
    QTest::newRow("no points") << 4000 << 25 << 0.2 << 0.1 << 0.9999 << 0 << int(ErrDivisionByZero) << -1;
    QTest::newRow("equal bounds") << 4000 << 25 << 0.2 << 0.1 << 0.1 << 100 << int(ErrSubscript) << 500;
    QTest::newRow("300 points") << 4000 << 25 << 0.2 << 0.1 << 0.9999 << 300 << 0 << 301;
}

void TestRelation12::failures()
{
    QFETCH(int, N);
    QFETCH(int, n);
    QFETCH(double, p1);
    QFETCH(double, xMin);
    QFETCH(double, xMax);
    QFETCH(int, npontos);
    QFETCH(int, error);
    QFETCH(int, computed);
    EfficacyInputs in = defaults();
    in.N = N;
    in.n = n;
    in.p1 = p1;
    in.xMin = xMin;
    in.xMax = xMax;
    Run run;
    QCOMPARE(errorOf([&] { sweep(run, in, npontos); }), error);
    QCOMPARE(run.computed, computed);
}

void TestRelation12::scaleWarnings_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("warning");
    const QStringList ok = {"0.1", "0.9999", "0.1", "1000000"};
    auto with = [&](int i, const char* t) {
        QStringList l = ok;
        l[i] = QString::fromUtf8(t);
        return l;
    };
    QTest::newRow("Y max 1000000") << 3 << ok << "";
    QTest::newRow("X min 0") << 0 << with(0, "0") << "";
    QTest::newRow("Y min 0") << 2 << with(2, "0") << "Logaritm scale. This number shall be > 0";
    QTest::newRow("X max 1") << 1 << with(1, "1") << "Not allowed efficay >= 1";
    QTest::newRow("X min -0.1") << 0 << with(0, "-0.1") << "Not allowed negative efficay <= 1";
    QTest::newRow("X min above max") << 0 << with(0, "0.99999") << "X max shall be greater then X min";
    QTest::newRow("Y min above max") << 2 << with(2, "2000000") << "Y max shall be greater then Y min";
    QTest::newRow("letters") << 1 << with(1, "high") << "Please enter a number";
}

void TestRelation12::scaleWarnings()
{
    QFETCH(int, index);
    QFETCH(QStringList, texts);
    QFETCH(QString, warning);
    QCOMPARE(efficacyScaleWarning(index, {texts[0], texts[1], texts[2], texts[3]}), warning);
}

void TestRelation12::specWarnings_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("texts"); // size, prevalence, P1, P2, sample
    QTest::addColumn<QString>("warning");
    const QStringList ok = {"4000", "0.3", "0.2", "0.2", "25"};
    auto with = [&](int i, const char* t) {
        QStringList l = ok;
        l[i] = QString::fromUtf8(t);
        return l;
    };
    QTest::newRow("defaults") << 4 << ok << "";
    QTest::newRow("P1 0") << 2 << with(2, "0") << "Please, enter a number >= 0 and <=1";
    QTest::newRow("P2 1") << 3 << with(3, "1") << "Please, enter a number >= 0 and <=1";
    QTest::newRow("prevalence 0") << 1 << with(1, "0") << "Please, enter a number >= 0 and <=1";
    QTest::newRow("sample 4000 of 4000") << 4 << with(4, "4000") << "Sample size shall be less then the consignment size";
    QTest::newRow("sample 3999 of 4000") << 4 << with(4, "3999") << "";
    QTest::newRow("size 4000 after sample 4000") << 0 << with(4, "4000")
                                                 << "Sample size shall be less then the consignment size";
    QTest::newRow("sample 0") << 4 << with(4, "0") << "";
    QTest::newRow("size -1") << 0 << with(0, "-1") << "Please enter a positive number";
    QTest::newRow("size letters") << 0 << with(0, "4k") << "Please enter a number";
}

void TestRelation12::specWarnings()
{
    QFETCH(int, index);
    QFETCH(QStringList, texts);
    QFETCH(QString, warning);
    QCOMPARE(efficacySpecWarning(index, {texts[0], texts[1], texts[2], texts[3], texts[4]}), warning);
}

void TestRelation12::refusalAxis()
{
    QCOMPARE(refusalAxisText(0, QString()), QStringLiteral("0"));
    QCOMPARE(refusalAxisText(1, QString()), QStringLiteral("1"));
    QCOMPARE(refusalAxisText(1, QStringLiteral(" ")), QStringLiteral(" "));
    QCOMPARE(refusalAxisText(0, QStringLiteral("5")), QStringLiteral("5"));
}

QTEST_GUILESS_MAIN(TestRelation12)
#include "tst_relation12.moc"
