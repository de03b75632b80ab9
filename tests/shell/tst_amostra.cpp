// The sample-size routine on its own: the value it computes for each marked
// argument, the consignment-size search, its warning and its error box.

#include "common/messages.h"
#include "shell/amostra.h"
#include "testkit.h"
#include "testmain.h"

#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <cmath>

using namespace tav;
using tav::test::ProgramFixture;

namespace {

// A table cell as an argument: a double column entry is a number, a string
// entry a text.
SampleValue arg(const QVariant& v)
{
    if (v.typeId() == QMetaType::QString)
        return SampleValue(v.toString());
    return SampleValue(v.toDouble());
}

QVariant num(double v) { return QVariant(v); }
QVariant txt(const char* s) { return QVariant(QString::fromUtf8(s)); }

// The four argument columns of a table, and the routine called on a row's.
void addArgumentColumns()
{
    for (const char* column : {"nlote", "rdl", "risco", "namostra"})
        QTest::addColumn<QVariant>(column);
}

std::optional<double> amostraOfRow()
{
    QFETCH(QVariant, nlote);
    QFETCH(QVariant, rdl);
    QFETCH(QVariant, risco);
    QFETCH(QVariant, namostra);
    return amostra(arg(nlote), arg(rdl), arg(risco), arg(namostra));
}

// The smallest sample that finds at least one of d infested units among n
// with probability 1 - alpha, drawing without replacement: the first n with
// P(no infested unit in the sample) = C(N-d, n) / C(N, n) <= alpha.
int exactHypergeometricSample(int N, int d, double alpha)
{
    double missAll = 1.0; // P(none of the first n units is infested)
    for (int n = 0; n < N; ++n) {
        if (missAll <= alpha)
            return n;
        missAll *= double(N - d - n) / double(N - n);
    }
    return N;
}

const QString kErrorAdvice = QStringLiteral("Try again with new inputs");

} // namespace

class TestAmostra : public QObject {
    Q_OBJECT

private slots:
    // A test that sets the user's locale leaves the C locale behind.
    void cleanup() { QLocale::setDefault(QLocale::system()); }
    void computesTheMarkedValue_data();
    void computesTheMarkedValue();
    void readsNumbersInTheUsersLocale_data();
    void readsNumbersInTheUsersLocale();
    void textBoxesPassTheirText();
    void searchPasses_data();
    void searchPasses();
    void searchGivesUpWithOneBox_data();
    void searchGivesUpWithOneBox();
    void searchIgnoreKeepsTheLastF();
    void tooFewNumbersWarn_data();
    void tooFewNumbersWarn();
    void failuresShowTheErrorBox_data();
    void failuresShowTheErrorBox();
    void matchesPublishedHypergeometricSamples_data();
    void matchesPublishedHypergeometricSamples();
    void neverAsksForFewerUnitsThanExact();
    void hugeConsignments_data();
    void hugeConsignments();
};

void TestAmostra::computesTheMarkedValue_data()
{
    addArgumentColumns();
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("tolerance");

    QTest::newRow("sample size") << num(1000) << num(0.05) << num(0.05) << txt("-") << 58.15508 << 1e-5;
    QTest::newRow("all four numbers: n computed again")
        << num(1000) << num(0.05) << num(0.05) << num(10) << 58.15508 << 1e-5;
    QTest::newRow("1 - CL marked returns the CL")
        << num(1000) << num(0.05) << txt("-") << num(58) << 0.949587 << 1e-6;
    QTest::newRow("RDL") << num(1000) << txt("-") << num(0.05) << num(58) << 0.050138 << 1e-6;
    QTest::newRow("RDL above 1 for a tiny sample") << num(100) << txt("-") << num(0.05) << num(1) << 2.9807 << 1e-4;
    QTest::newRow("RDL and 1 - CL marked: CL with RDL 0")
        << num(1000) << txt("-") << txt("-") << num(58) << 0.0 << 0.0;
    // The CL formula runs first and reads the RDL's leading number.
    QTest::newRow("a text that is not a number enters by its leading value")
        << num(1000) << txt("0.05 or so") << txt("-") << num(58) << 0.949587 << 1e-6;
    QTest::newRow("consignment size") << txt("-") << num(0.05) << num(0.05) << num(58) << 925.0 << 0.0;
    QTest::newRow("consignment size, long search")
        << txt("-") << num(0.01) << num(0.05) << num(295) << 4900.0 << 0.0;
    QTest::newRow("texts that are numbers")
        << txt("1000") << txt(" 0.05 ") << txt("0.05") << txt("-") << 58.15508 << 1e-5;
    QTest::newRow("exponent text") << txt("1e3") << txt("5E-2") << num(0.05) << txt("-") << 58.15508 << 1e-5;
}

void TestAmostra::computesTheMarkedValue()
{
    QFETCH(double, expected);
    QFETCH(double, tolerance);
    ProgramFixture fx;

    const std::optional<double> r = amostraOfRow();

    QVERIFY(r.has_value());
    QVERIFY2(std::fabs(*r - expected) <= tolerance, qPrintable(QString::number(*r, 'g', 10)));
    QCOMPARE(fx.msgs.count(), 0);
}

void TestAmostra::readsNumbersInTheUsersLocale_data()
{
    QTest::addColumn<QString>("locale");
    addArgumentColumns();
    QTest::addColumn<double>("expected");

    // "1,000" is a thousand where "," groups digits, not the 1 it starts with.
    QTest::newRow("grouped consignment size, C") << "C" << txt("1,000") << txt("0.05") << num(0.05) << txt("-")
                                                 << 58.15508;
    QTest::newRow("grouped consignment size, en_US")
        << "en_US" << txt("1,000") << txt("0.05") << num(0.05) << txt("-") << 58.15508;
    QTest::newRow("comma decimals, de_DE") << "de_DE" << txt("1000") << txt("0,05") << num(0.05) << txt("-")
                                           << 58.15508;
    QTest::newRow("grouped with dots, de_DE")
        << "de_DE" << txt("1.000") << txt("0,05") << txt("0,05") << txt("-") << 58.15508;
    // A number handed over as a number is not rewritten as "0,05" (which
    // would read 0) on its way in.
    QTest::newRow("numbers stay numbers, de_DE") << "de_DE" << num(1000) << num(0.05) << num(0.05) << txt("-")
                                                 << 58.15508;
    QTest::newRow("CL in a comma locale") << "de_DE" << num(1000) << txt("0,05") << txt("-") << txt("58")
                                          << 0.949587;
}

void TestAmostra::readsNumbersInTheUsersLocale()
{
    QFETCH(QString, locale);
    QFETCH(double, expected);
    ProgramFixture fx;
    QLocale::setDefault(QLocale(locale));

    const std::optional<double> r = amostraOfRow();

    QCOMPARE(fx.msgs.count(), 0);
    QVERIFY(r.has_value());
    QVERIFY2(std::fabs(*r - expected) <= 1e-5, qPrintable(QString::number(*r, 'g', 10)));
}

void TestAmostra::textBoxesPassTheirText()
{
    ProgramFixture fx;
    QLineEdit n(QStringLiteral("1000")), rdl(QStringLiteral("-")), sample(QStringLiteral("58"));

    const std::optional<double> r = amostra(&n, &rdl, 0.05, &sample);

    QVERIFY(r.has_value());
    QVERIFY(std::fabs(*r - 0.050138) < 1e-6);
    QCOMPARE(rdl.text(), QStringLiteral("-"));
}

void TestAmostra::searchPasses_data()
{
    QTest::addColumn<double>("alpha");
    QTest::addColumn<double>("rdl");
    QTest::addColumn<double>("n");
    QTest::addColumn<double>("expected");
    QTest::addColumn<QList<double>>("tried");

    // The first fall halves the step at once; the N returned is the one
    // after the move of the pass that met the target.
    QTest::newRow("falls, then rises into the target") << 0.05 << 0.05 << 58.0 << 925.0
                                                       << QList<double>{1000, 950, 900};
    QList<double> rising;
    for (double N = 1000; N <= 4800; N += 100)
        rising.append(N);
    QTest::newRow("rises by 100 for 39 passes") << 0.05 << 0.01 << 295.0 << 4900.0 << rising;
}

void TestAmostra::searchPasses()
{
    QFETCH(double, alpha);
    QFETCH(double, rdl);
    QFETCH(double, n);
    QFETCH(double, expected);
    QFETCH(QList<double>, tried);
    ProgramFixture fx;

    QList<double> seen;
    const std::optional<double> r = consignmentSearch(alpha, rdl, n, &seen);

    QCOMPARE(seen, tried);
    QVERIFY(r.has_value());
    QCOMPARE(*r, expected);
    QCOMPARE(fx.msgs.count(), 0);
}

void TestAmostra::searchGivesUpWithOneBox_data()
{
    QTest::addColumn<QVariant>("nlote");
    QTest::addColumn<QVariant>("namostra");
    QTest::addColumn<double>("rdl");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("passes");
    QTest::addColumn<double>("lastN");

    // The sample size "-" reads 0: f stays below 1 and N falls by 50 to 0.
    for (int a : {int(IdAbort), int(IdIgnore)}) {
        const QByteArray tag = a == IdAbort ? "abort" : "ignore";
        QTest::newRow("N falls to 0, " + tag) << txt("-") << txt("-") << 0.05 << a << 20 << 50.0;
        // A sample this large never meets the target at RDL 0.01: N rises by
        // 100 each pass until the passes run out.
        QTest::newRow("passes run out, " + tag)
            << txt("-") << num(5000) << 0.01 << a << kMaxSearchPasses << 1000.0 + 100.0 * (kMaxSearchPasses - 1);
    }
}

void TestAmostra::searchGivesUpWithOneBox()
{
    QFETCH(QVariant, nlote);
    QFETCH(QVariant, namostra);
    QFETCH(double, rdl);
    QFETCH(int, answer);
    QFETCH(int, passes);
    QFETCH(double, lastN);
    ProgramFixture fx;
    fx.msgs.answer(answer);

    const std::optional<double> r = amostra(arg(nlote), rdl, 0.05, arg(namostra));
    QList<double> seen;
    fx.msgs.answer(answer);
    consignmentSearch(0.05, rdl, arg(namostra).value(), &seen);

    QVERIFY(!r.has_value());
    QCOMPARE(fx.msgs.count(), 2); // one box for each of the two searches
    QCOMPARE(fx.msgs.boxes[0].title, QStringLiteral("Error Form1"));
    QCOMPARE(fx.msgs.boxes[0].style, int(MbCritical + MbAbortRetryIgnore));
    QVERIFY(fx.msgs.boxes[0].text.endsWith(QChar(13) + kErrorAdvice));
    QCOMPARE(seen.size(), passes);
    QCOMPARE(seen.last(), lastN);
}

void TestAmostra::searchIgnoreKeepsTheLastF()
{
    // RDL 0 fails every pass; Ignore goes on with the last f, none yet (0),
    // so N falls as for f below 1 and the search stops at N = 0. The later
    // passes fail at the step already ignored, without a box; the search
    // then reports that no size fits (answered Abort).
    ProgramFixture fx;
    fx.msgs.answer(IdIgnore);
    fx.msgs.answer(IdAbort);

    QList<double> seen;
    const std::optional<double> r = consignmentSearch(0.05, 0.0, 58.0, &seen);

    QVERIFY(!r.has_value());
    QCOMPARE(seen.size(), 20);
    QCOMPARE(seen.first(), 1000.0);
    QCOMPARE(seen[1], 950.0);
    QCOMPARE(seen.last(), 50.0);
    QCOMPARE(fx.msgs.count(), 2);
    for (const auto& b : fx.msgs.boxes)
        QCOMPARE(b.title, QStringLiteral("Error Form1"));

    // Retry runs the failing pass again, not a new pass.
    fx.msgs.clear();
    fx.msgs.answer({IdRetry, IdRetry, IdAbort});
    seen.clear();
    QVERIFY(!consignmentSearch(0.05, 0.0, 58.0, &seen).has_value());
    QCOMPARE(fx.msgs.count(), 3);
    QCOMPARE(seen, QList<double>{1000});
}

void TestAmostra::tooFewNumbersWarn_data()
{
    addArgumentColumns();

    QTest::newRow("nothing given") << txt("-") << txt("-") << txt("-") << txt("-");
    QTest::newRow("empty texts") << txt("") << txt("") << txt("") << txt("");
    QTest::newRow("only N: neither 1 - CL nor n") << num(1000) << txt("-") << txt("-") << txt("-");
    QTest::newRow("only RDL: n missing for 1 - CL") << txt("-") << num(0.05) << txt("-") << txt("-");
    QTest::newRow("N and RDL") << num(1000) << num(0.05) << txt("x") << txt("-");
}

void TestAmostra::tooFewNumbersWarn()
{
    ProgramFixture fx;

    const std::optional<double> r = amostraOfRow();

    QVERIFY(!r.has_value());
    QCOMPARE(fx.msgs.count(), 1);
    QCOMPARE(fx.msgs.last().text, QStringLiteral("Input 3 arguments"));
    QCOMPARE(fx.msgs.last().style, int(MbExclamation));
    QCOMPARE(fx.msgs.last().title, QStringLiteral("Warning"));
}

void TestAmostra::failuresShowTheErrorBox_data()
{
    addArgumentColumns();
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QString>("description");

    struct Failure {
        const char* name;
        QVariant n, r, a, s;
        const char* description;
    };
    const Failure failures[] = {
        {"n with RDL 0", num(1000), num(0), num(0.05), txt("-"), "Division by zero"},
        {"RDL with n 0", num(1000), txt("-"), num(0.05), num(0), "Division by zero"},
        {"CL with N 0", num(0), num(0.05), txt("-"), num(58), "Division by zero"},
        {"n with a negative risk", num(1000), num(0.05), num(-0.5), txt("-"), "Invalid procedure call or argument"},
        {"RDL with n above N", num(100), txt("-"), num(0.05), num(200), "Invalid procedure call or argument"},
    };
    const struct {
        const char* name;
        QList<int> answers;
    } scripts[] = {
        {"abort", {IdAbort}},
        {"ignore", {IdIgnore}},
        {"retry twice, abort", {IdRetry, IdRetry, IdAbort}},
        {"retry, ignore", {IdRetry, IdIgnore}},
    };
    for (const Failure& f : failures)
        for (const auto& s : scripts)
            QTest::addRow("%s, %s", f.name, s.name)
                << f.n << f.r << f.a << f.s << s.answers << QString::fromLatin1(f.description);
}

void TestAmostra::failuresShowTheErrorBox()
{
    QFETCH(QList<int>, answers);
    QFETCH(QString, description);
    ProgramFixture fx;
    for (int a : answers)
        fx.msgs.answer(a);

    const std::optional<double> r = amostraOfRow();

    QVERIFY(!r.has_value());
    // One box per answer: Retry brings it back, Abort and Ignore end the call.
    QCOMPARE(fx.msgs.count(), int(answers.size()));
    for (const auto& b : fx.msgs.boxes) {
        QCOMPARE(b.text, description + QChar(13) + kErrorAdvice);
        QCOMPARE(b.style, 18);
        QCOMPARE(b.title, QStringLiteral("Error Form1"));
    }
}

void TestAmostra::matchesPublishedHypergeometricSamples_data()
{
    QTest::addColumn<int>("N");
    QTest::addColumn<double>("rdl");
    QTest::addColumn<double>("routine");
    QTest::addColumn<int>("published");

    QTest::newRow("N 1000 at 5 %, 95 %") << 1000 << 0.05 << 58.155 << 57;
    QTest::newRow("N 10000 at 1 %, 95 %") << 10000 << 0.01 << 295.13 << 294;
}

void TestAmostra::matchesPublishedHypergeometricSamples()
{
    QFETCH(int, N);
    QFETCH(double, rdl);
    QFETCH(double, routine);
    QFETCH(int, published);
    ProgramFixture fx;

    const std::optional<double> r = amostra(N, rdl, 0.05, "-");

    QVERIFY(r.has_value());
    QVERIFY2(std::fabs(*r - routine) < 0.005, qPrintable(QString::number(*r, 'g', 10)));
    QCOMPARE(exactHypergeometricSample(N, int(std::lround(N * rdl)), 0.05), published);
}

void TestAmostra::neverAsksForFewerUnitsThanExact()
{
    ProgramFixture fx;
    int compared = 0;
    for (int N : {2, 5, 10, 20, 50, 100, 250, 1000, 4000, 10000, 100000}) {
        for (double rdl : {0.5, 0.2, 0.1, 0.05, 0.02, 0.01, 0.001}) {
            const double infested = N * rdl;
            if (infested < 1 || std::fabs(infested - std::round(infested)) > 1e-9)
                continue;
            for (double alpha : {0.2, 0.1, 0.05, 0.01, 0.001}) {
                const std::optional<double> r = amostra(N, rdl, alpha, "-");
                QVERIFY(r.has_value());
                const int exact = exactHypergeometricSample(N, int(std::lround(infested)), alpha);
                // The whole units to inspect: the routine's value rounded up.
                QVERIFY2(std::ceil(*r - 1e-9) >= exact,
                         qPrintable(QStringLiteral("N %1, RDL %2, alpha %3: %4 < %5")
                                        .arg(N)
                                        .arg(rdl)
                                        .arg(alpha)
                                        .arg(*r)
                                        .arg(exact)));
                ++compared;
            }
        }
    }
    QVERIFY(compared > 0);
    QCOMPARE(fx.msgs.count(), 0);
}

void TestAmostra::hugeConsignments_data()
{
    QTest::addColumn<double>("N");
    QTest::addColumn<double>("rdl");
    QTest::addColumn<double>("alpha");
    QTest::addColumn<double>("sample");   // n for this RDL and 1 - CL
    QTest::addColumn<double>("n");        // a whole sample, for the CL and the RDL
    QTest::addColumn<double>("cl");       // the CL that n gives at this RDL
    QTest::addColumn<double>("rdlOfN");   // the RDL that n gives at this 1 - CL

    // Worked out to 60 digits from the same formulas, as exp and ln of
    // decimals, apart from any binary arithmetic.
    struct Row {
        const char* name;
        double N;
    };
    const Row sizes[] = {{"1e6", 1e6},   {"1e12", 1e12}, {"1e15", 1e15},
                         {"1e17", 1e17}, {"1e18", 1e18}, {"2^63", 9223372036854775808.0}};
    struct Pair {
        const char* name;
        double rdl, alpha, n;
        double sample[6], cl[6], rdlOfN[6];
    };
    const Pair pairs[] = {
        {"RDL 0.1, CL 0.95",
         0.1,
         0.05,
         30,
         {29.956874019427958, 29.957322735091189, 29.957322735539461, 29.957322735539905, 29.957322735539909,
          29.957322735539910},
         {0.95021517204461131, 0.95021293163437648, 0.95021293163213830, 0.95021293163213608, 0.95021293163213606,
          0.95021293163213606},
         {0.099856244578173480, 0.099857742450301834, 0.099857742451798202, 0.099857742451799685,
          0.099857742451799698, 0.099857742451799700}},
        {"RDL 0.01, CL 0.99",
         0.01,
         0.01,
         461,
         {460.41099691215447, 460.51701849277117, 460.51701859870310, 460.51701859880808, 460.51701859880903,
          460.51701859880913},
         {0.99005875417526410, 0.99004818170272643, 0.99004818169216215, 0.99004818169215168, 0.99004818169215159,
          0.99004818169215158},
         {0.0099872204179684789, 0.0099895231777149667, 0.0099895231800152492, 0.0099895231800175287,
          0.0099895231800175495, 0.0099895231800175515}},
        {"RDL 0.05, CL 0.9",
         0.05,
         0.1,
         46,
         {46.050641496536059, 46.051701858820534, 46.051701859879853, 46.051701859880903, 46.051701859880913,
          46.051701859880914},
         {0.89974645999239259, 0.89974115628249996, 0.89974115627720157, 0.89974115627719632, 0.89974115627719627,
          0.89974115627719627},
         {0.050055046372410326, 0.050056197672632309, 0.050056197673782451, 0.050056197673783590,
          0.050056197673783601, 0.050056197673783602}},
    };
    for (const Pair& p : pairs)
        for (int i = 0; i < 6; ++i)
            QTest::addRow("%s, N %s", p.name, sizes[i].name)
                << sizes[i].N << p.rdl << p.alpha << p.sample[i] << p.n << p.cl[i] << p.rdlOfN[i];
}

void TestAmostra::hugeConsignments()
{
    QFETCH(double, N);
    QFETCH(double, rdl);
    QFETCH(double, alpha);
    QFETCH(double, sample);
    QFETCH(double, n);
    QFETCH(double, cl);
    QFETCH(double, rdlOfN);
    ProgramFixture fx;

    // Each of the three formulas, to near the precision of a double.
    auto close = [](const std::optional<double>& r, double expected) {
        return r.has_value() && std::fabs(*r - expected) <= 1e-11 * expected;
    };
    auto shown = [](const std::optional<double>& r) {
        return r ? QByteArray::number(*r, 'g', 17) : QByteArray("nothing");
    };
    const std::optional<double> s = amostra(N, rdl, alpha, "-");
    QVERIFY2(close(s, sample), shown(s).constData());
    const std::optional<double> c = amostra(N, rdl, "-", n);
    QVERIFY2(close(c, cl), shown(c).constData());
    const std::optional<double> r = amostra(N, "-", alpha, n);
    QVERIFY2(close(r, rdlOfN), shown(r).constData());
    QCOMPARE(fx.msgs.count(), 0);
}

TAV_TEST_MAIN(TestAmostra)
#include "tst_amostra.moc"
