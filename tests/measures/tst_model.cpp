// The measure model's computations over plain values: probit and its
// inverse, the recomputation from captions and the ALP answers.

#include "common/errors.h"
#include "common/messages.h"
#include "measures/model.h"
#include "testkit.h"
#include "testmain.h"

#include <QLocale>
#include <QTest>
#include <cmath>

using namespace tav;
using namespace tav::measures;

namespace {

ModelCaptions loadCaptions()
{
    ModelCaptions c;
    c.prevalence = QStringLiteral("0.3000");
    c.consignment = QStringLiteral("4000");
    c.efficacy = QStringLiteral("0.9");
    c.sample = QStringLiteral("25");
    c.p1 = QStringLiteral("0.2000");
    c.p2 = QStringLiteral("0.2000");
    c.variability = QStringLiteral("0");
    c.imports = QStringLiteral("1");
    return c;
}

AlpInputs exampleInputs()
{
    AlpInputs in;
    in.prevalence = QStringLiteral("0.3000");
    in.consignment = QStringLiteral("4000");
    in.p1 = QStringLiteral("0.2000");
    in.p2 = QStringLiteral("0.2000");
    in.imports = QStringLiteral("1");
    in.efficacy = QStringLiteral("0.9");
    in.prevalenceAfter = QStringLiteral("0.030000");
    in.ic = 0.5;
    in.yy1 = 100;
    return in;
}

AlpAnswers designAnswers()
{
    return AlpAnswers{QStringLiteral("Label42"), QStringLiteral("Label43"), QStringLiteral("Label40"),
                      QStringLiteral("L41"),     QStringLiteral("Label44"), QStringLiteral("Label45"),
                      QStringLiteral("Label46")};
}

} // namespace

class TestModel : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void probitValues_data()
    {
        QTest::addColumn<double>("p");
        QTest::addColumn<double>("expected");
        QTest::newRow("half") << 0.5 << 5.0;
        QTest::newRow("0.9, central series") << 0.9 << 6.2815516;
        QTest::newRow("lower tail") << 0.000001 << 0.2465609;
        QTest::newRow("upper tail") << 0.999999 << 9.7534391;
        QTest::newRow("1 is taken as 0.9999999999") << probitArgument(1.0) << 11.3614662;
        QTest::newRow("split point, inside") << 0.92 << 6.4050716;
        QTest::newRow("0 has no deviate") << 0.0 << 5.0;
        QTest::newRow("below 0") << -0.2 << 5.0;
        QTest::newRow("above 1") << 1.2 << 5.0;
    }
    void probitValues()
    {
        QFETCH(double, p);
        QFETCH(double, expected);
        QVERIFY2(std::fabs(probitValue(p) - expected) < 5e-7, qPrintable(QString::number(probitValue(p), 'g', 12)));
    }

    void mortalValues_data()
    {
        QTest::addColumn<double>("z");
        QTest::addColumn<double>("expected");
        QTest::addColumn<double>("tolerance");
        QTest::newRow("5 is the median") << 5.0 << 0.5 << 1e-12;
        QTest::newRow("series") << 6.2 << 0.8849303 << 5e-8;
        QTest::newRow("continued fraction, low") << 0.1 << 4.79e-7 << 5e-10;
        QTest::newRow("continued fraction, high") << 9.5 << 0.9999966 << 5e-8;
        QTest::newRow("beyond the upper cut-off") << 18.0 << 1.0 << 0.0;
        QTest::newRow("beyond the lower cut-off") << -8.0 << 0.0 << 0.0;
        QTest::newRow("12 below, still computed") << -7.0 << 1.78e-33 << 1e-35;
    }
    void mortalValues()
    {
        QFETCH(double, z);
        QFETCH(double, expected);
        QFETCH(double, tolerance);
        const double m = mortalValue(z);
        QVERIFY2(std::fabs(m - expected) <= tolerance, qPrintable(QString::number(m, 'g', 12)));
    }

    // mortal undoes probit to the precision the sliders use.
    void roundTrip_data()
    {
        QTest::addColumn<double>("p");
        for (double p : {0.000001, 0.01, 0.3, 0.5, 0.88493, 0.999})
            QTest::newRow(qPrintable(QString::number(p))) << p;
    }
    void roundTrip()
    {
        QFETCH(double, p);
        QVERIFY(std::fabs(mortalValue(probitValue(p)) - p) < 1e-6 * std::max(p, 1e-3));
    }

    void readingsAndPoint_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        QTest::newRow("whole keeps the point") << 45.0 << "#,##0.#" << "45.";
        QTest::newRow("grouped, with a decimal") << 1768097.4 << "#,##0.#" << "1,768,097.4";
        QTest::newRow("zero") << 0.0 << "#,##0.#" << "0.";
        QTest::newRow("a 0 place never adds a point") << 45.0 << "#0.0" << "45.0";
    }
    void readingsAndPoint()
    {
        QFETCH(double, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(formatKeepingPoint(value, pattern), expected);
    }

    void captionReads_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        const QString c = QStringLiteral("C"), br = QStringLiteral("pt_BR"), de = QStringLiteral("de_DE");
        QTest::newRow("exponent") << c << "1.0E-10" << 1e-10;
        QTest::newRow("suffix ignored") << c << "0.030000 +/- 0.003" << 0.03;
        QTest::newRow("grouped reads whole") << c << "2,500." << 2500.0;
        QTest::newRow("design placeholder") << c << "Label25" << 0.0;
        QTest::newRow("comma exponent") << br << "1,0E-10" << 1e-10;
        QTest::newRow("comma suffix ignored") << de << "0,030000 +/- 0,003" << 0.03;
        QTest::newRow("comma efficacy") << br << "0,900000" << 0.9;
        QTest::newRow("comma placeholder") << de << "Label25" << 0.0;
    }
    void captionReads()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(double, expected);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(readCaption(text), expected);
    }

    void conversionFails()
    {
        QVERIFY_THROWS_EXCEPTION(RuntimeError, converted(QStringLiteral("12a")));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, converted(QString()));
        QCOMPARE(converted(QStringLiteral(" 18 ")), 18.0);
    }

    // The recomputation from the captions the page shows.
    void recomputation_data()
    {
        QTest::addColumn<QString>("field");     // which caption to change
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("pa");
        QTest::addColumn<QString>("confidence");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<QString>("establishments");
        QTest::addColumn<QString>("years");
        QTest::newRow("load values") << "" << "" << "0.030000" << "0.5287439" << "52.9%" << "2.3" << "1";
        QTest::newRow("120 importations") << "imports" << "120" << "0.030000" << "0.5287439" << "52.9%" << "271.4"
                                          << "1";
        QTest::newRow("variability 10 %") << "variability" << "10" << "0.030000 +/- 0.003" << "0.5287439" << "52.9%"
                                          << "2.3" << "1";
        QTest::newRow("prevalence below six decimals") << "efficacy" << "0.999999" << "1.0E-10" << "0.0"
                                                       << "0.0%" << "1" << "62,500,000.2";
        QTest::newRow("sample almost the consignment")
            << "sample" << "3600" << "0.030000" << "1.0" << "100.0%" << "1" << "208,333,339.2";
        QTest::newRow("importations not a number") << "imports" << "many" << "0.030000" << "0.5287439" << "52.9%"
                                                   << "1" << "-";
        QTest::newRow("importations 0") << "imports" << "0" << "0.030000" << "0.5287439" << "52.9%" << "1" << "-";
        QTest::newRow("variability that does not convert") << "variability" << "10x" << "0.030000" << "0.5287439"
                                                           << "52.9%" << "2.3" << "1";
    }
    void recomputation()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        ModelCaptions c = loadCaptions();
        if (field == QLatin1String("imports"))
            c.imports = value;
        else if (field == QLatin1String("variability"))
            c.variability = value;
        else if (field == QLatin1String("efficacy"))
            c.efficacy = value;
        else if (field == QLatin1String("sample"))
            c.sample = value;
        ModelResults r;
        recompute(c, r);
        QTEST(r.prevalenceAfter, "pa");
        QTEST(r.confidence, "confidence");
        QTEST(r.refused, "refused");
        QTEST(r.establishments, "establishments");
        QTEST(r.years, "years");
        QVERIFY(std::isfinite(r.T));
        QVERIFY(r.ic > 0.0 && r.ic < 1.0);
    }

    void loadValuesInDetail()
    {
        ModelResults r;
        recompute(loadCaptions(), r);
        QVERIFY(std::fabs(r.ic - 0.528743) < 1e-6);
        QVERIFY(std::fabs(r.T - 0.442) < 1e-3);
    }

    void rareEstablishments()
    {
        ModelCaptions c = loadCaptions();
        c.p1 = c.p2 = QStringLiteral("0.0001");
        ModelResults r;
        recompute(c, r);
        QCOMPARE(r.establishments, QStringLiteral("1"));
        QVERIFY(r.T > 1.0);
        QCOMPARE(r.years, formatKeepingPoint(r.T, QStringLiteral("#,##0.#")));
        QVERIFY(r.years.contains(QLatin1Char(',')));
    }

    void detectionOfHugeConsignments_data()
    {
        QTest::addColumn<double>("n");
        QTest::addColumn<double>("N");
        QTest::addColumn<double>("pa");
        QTest::addColumn<double>("expected");
        // Worked out to 60 digits as 1 - exp(pa N ln(1 - n/N)) in decimals.
        QTest::newRow("1e18 units") << 30.0 << 1e18 << 0.1 << 0.95021293163213607;
        QTest::newRow("1e15 units") << 30.0 << 1e15 << 0.1 << 0.95021293163213831;
        QTest::newRow("1000 units") << 58.0 << 1000.0 << 0.05 << 0.94958669851080249;
    }
    void detectionOfHugeConsignments()
    {
        QFETCH(double, n);
        QFETCH(double, N);
        QFETCH(double, pa);
        QFETCH(double, expected);
        const double d = detectionProbability(n, N, pa);
        QVERIFY2(std::fabs(d - expected) <= 1e-11 * expected, QByteArray::number(d, 'g', 17).constData());
    }

    // The sample that meets the ALP in a huge consignment: the miss
    // probability is held at 1e-9, so it is -ln(1e-9) / 0.03 = 690.78 units.
    void alpSampleOfHugeConsignments_data()
    {
        QTest::addColumn<QString>("consignment");
        QTest::newRow("1e12") << "1e12";
        QTest::newRow("1e18") << "1e18";
        QTest::newRow("2^63") << "9223372036854775808";
    }
    void alpSampleOfHugeConsignments()
    {
        QFETCH(QString, consignment);
        AlpInputs in = exampleInputs();
        in.consignment = consignment;
        AlpAnswers a = designAnswers();
        IgnoreErrors h;
        solveAlp(in, a, h);
        QCOMPARE(a.sample, QStringLiteral("691"));
    }

    // A failing detection keeps the last value, then the limits apply.
    void detectionFailureKeepsLastValue_data()
    {
        QTest::addColumn<QString>("consignment");
        QTest::addColumn<QString>("sample");
        QTest::addColumn<double>("previous");
        QTest::addColumn<double>("expected");
        QTest::newRow("size 0, first run") << "0" << "25" << 0.0 << 1e-9;
        QTest::newRow("size 0, after a run") << "0" << "25" << 0.4 << 0.4;
        QTest::newRow("sample above the size") << "4000" << "4500.5" << 0.7 << 0.7;
    }
    void detectionFailureKeepsLastValue()
    {
        QFETCH(QString, consignment);
        QFETCH(QString, sample);
        QFETCH(double, previous);
        ModelCaptions c = loadCaptions();
        c.consignment = consignment;
        c.sample = sample;
        c.prevalence = QStringLiteral("0.3001"); // pa N not a whole number
        ModelResults r;
        r.ic = previous;
        recompute(c, r);
        QTEST(r.ic, "expected");
    }

    void alpAnswers_data()
    {
        QTest::addColumn<QString>("imports");
        QTest::addColumn<QString>("prevalence");
        QTest::addColumn<QString>("consignment");
        QTest::addColumn<QString>("efficacy");
        QTest::addColumn<QString>("probit");
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QString>("p1");
        QTest::newRow("one importation") << "1" << "0.00125" << "17" << "0.999583" << "8.34" << "201" << "0.000833";
        QTest::newRow("two importations") << "2" << "0.000625" << "8" << "0.999792" << "8.53" << "222" << "0.000417";
    }
    void alpAnswers()
    {
        QFETCH(QString, imports);
        AlpInputs in = exampleInputs();
        in.imports = imports;
        AlpAnswers a = designAnswers();
        IgnoreErrors h;
        solveAlp(in, a, h);
        QTEST(a.prevalence, "prevalence");
        QTEST(a.consignment, "consignment");
        QTEST(a.efficacy, "efficacy");
        QTEST(a.probit, "probit");
        QTEST(a.sample, "sample");
        QTEST(a.p1, "p1");
        QTEST(a.p2, "p1");
    }

    void alpLimits_data()
    {
        QTest::addColumn<double>("yy1");
        QTest::addColumn<QString>("imports");
        QTest::addColumn<QString>("efficacy");
        QTest::addColumn<QString>("probit");
        QTest::addColumn<QString>("sample");
        // Met without any measure: no efficacy needed, probit of 0.
        QTest::newRow("met without a measure") << 0.001 << "1" << "0.0" << "5.0" << "0";
        // No sample can meet it: the miss probability is held at 1e-9.
        QTest::newRow("no sample meets it") << 1e8 << "120" << "1.0" << "11.36" << "634";
    }
    void alpLimits()
    {
        QFETCH(double, yy1);
        QFETCH(QString, imports);
        AlpInputs in = exampleInputs();
        in.yy1 = yy1;
        in.imports = imports;
        AlpAnswers a = designAnswers();
        IgnoreErrors h;
        solveAlp(in, a, h);
        QTEST(a.efficacy, "efficacy");
        QTEST(a.probit, "probit");
        QTEST(a.sample, "sample");
    }

    // Before the first update every input reads 0: each step but the probit
    // fails, all with the same box, shown once; Ignore keeps the captions,
    // Abort stops the solver.
    void alpFailures()
    {
        test::ProgramFixture f;
        AlpInputs in;
        in.prevalence = QStringLiteral("Label25");
        in.consignment = QStringLiteral("Label26");
        in.p1 = QStringLiteral("Label34");
        in.p2 = QStringLiteral("Label37");
        in.imports = QStringLiteral("1");
        in.efficacy = QStringLiteral("0.9");
        in.prevalenceAfter = QStringLiteral("Label38");
        in.yy1 = 1.2589;
        AlpAnswers a = designAnswers();
        f.msgs.answer(IdIgnore);
        {
            TrapErrors t(QStringLiteral("Try again with new inputs"), QStringLiteral("Error Form11(muda)"));
            solveAlp(in, a, t);
        }
        QCOMPARE(f.msgs.count(), 1);
        QCOMPARE(f.msgs.last().title, QStringLiteral("Error Form11(muda)"));
        QCOMPARE(f.msgs.last().style, MbCritical + MbAbortRetryIgnore);
        QCOMPARE(f.msgs.last().text, QStringLiteral("Division by zero\rTry again with new inputs"));
        QCOMPARE(a.prevalence, QStringLiteral("Label42"));
        QCOMPARE(a.sample, QStringLiteral("Label44"));
        QCOMPARE(a.probit, QStringLiteral("5.0")); // the probit of the placeholder's 0

        f.msgs.clear();
        a = designAnswers();
        f.msgs.answer(IdAbort);
        TrapErrors t2(QStringLiteral("Try again with new inputs"), QStringLiteral("Error Form11(muda)"));
        solveAlp(in, a, t2);
        QCOMPARE(f.msgs.count(), 1);
        QCOMPARE(a.probit, QStringLiteral("L41"));
    }

    // Importations that read but do not convert fail only the P1 and P2 answers.
    void alpImportsThatDoNotConvert()
    {
        test::ProgramFixture f;
        AlpInputs in = exampleInputs();
        in.imports = QStringLiteral("2 a year");
        AlpAnswers a = designAnswers();
        f.msgs.answer(IdIgnore);
        TrapErrors t(QStringLiteral("Try again with new inputs"), QStringLiteral("Error Form11(muda)"));
        solveAlp(in, a, t);
        QCOMPARE(f.msgs.count(), 1); // the same box for both
        QVERIFY(f.msgs.last().text.startsWith(QStringLiteral("Type mismatch")));
        QCOMPARE(a.prevalence, QStringLiteral("0.000625"));
        QCOMPARE(a.p1, QStringLiteral("Label45"));
        QCOMPARE(a.p2, QStringLiteral("Label46"));
    }

    void alpYearsOfPositions_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<double>("years");
        QTest::newRow("0") << 0 << 1.0;
        QTest::newRow("20") << 20 << 100.0;
        QTest::newRow("30") << 30 << 1000.0;
        QTest::newRow("80") << 80 << 1e8;
    }
    void alpYearsOfPositions()
    {
        QFETCH(int, position);
        QFETCH(double, years);
        QCOMPARE(alpYears(position), years);
    }

    void optionCaptions()
    {
        AlpAnswers a = designAnswers();
        a.efficacy = QStringLiteral("0.999583");
        a.probit = QStringLiteral("8.34");
        QCOMPARE(answerOptionCaption(0, a), QStringLiteral("Measures efficacy = 0.999583 (Probit 8.34)"));
        QCOMPARE(answerOptionCaption(4, a), QStringLiteral("Probability P1 = Label45"));
        QCOMPARE(plainOptionCaption(4), QStringLiteral("Probability P1"));
        QCOMPARE(plainOptionCaption(0), QStringLiteral("Measures efficacy"));
    }
};

TAV_TEST_MAIN(TestModel)
#include "tst_model.moc"
