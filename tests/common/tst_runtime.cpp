// Checked arithmetic, whole-number conversions and the two handling modes.
#include "common/errors.h"
#include "common/random.h"
#include "common/runtime.h"
#include "testkit.h"
#include "testmain.h"

#include <QFileInfo>
#include <QSet>
#include <QTest>
#include <cmath>
#include <limits>
#include <optional>

using namespace tav;

class TestRuntime : public QObject {
    Q_OBJECT
private slots:
    void arithmeticErrors_data();
    void arithmeticErrors();
    void conversions_data();
    void conversions();
    void powersNearOne_data();
    void powersNearOne();
    void powersNearOneFailAsThePlainFormulas();

    void trapRetryRepeatsTheStep();
    void trapIgnoreGoesOnWithNextStep();
    void trapAbortLeavesAndReturnsPartialResult();
    void calleeFailureCountsAgainstCaller();
    void unboundedRetryEndsWhenScriptRunsOut();
    void errorBoxTextAndStyle();
    void ignoreSkipsOnlyTheFailingStep();
    void noStepRunsAfterEncerra();
    void temporaryPictureIsPrivate();
    void reseedsWithinOneTickDoNotCycle();
};

// op: 0 div, 1 pow, 2 log, 3 sqrt, 4 checked
void TestRuntime::arithmeticErrors_data()
{
    QTest::addColumn<int>("op");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<int>("error"); // 0 none
    QTest::addColumn<double>("result");
    QTest::newRow("div ok") << 0 << 1.0 << 4.0 << 0 << 0.25;
    QTest::newRow("div by zero") << 0 << 1.0 << 0.0 << int(ErrDivisionByZero) << 0.0;
    QTest::newRow("zero by zero overflows") << 0 << 0.0 << 0.0 << int(ErrOverflow) << 0.0;
    QTest::newRow("div overflow") << 0 << 1e308 << 1e-308 << int(ErrOverflow) << 0.0;
    QTest::newRow("pow fractional of negative") << 1 << -8.0 << 1.0 / 3 << int(ErrInvalidCall) << 0.0;
    QTest::newRow("pow whole of negative") << 1 << -2.0 << 3.0 << 0 << -8.0;
    QTest::newRow("pow zero to negative") << 1 << 0.0 << -1.0 << int(ErrDivisionByZero) << 0.0;
    QTest::newRow("pow overflow") << 1 << 10.0 << 400.0 << int(ErrOverflow) << 0.0;
    QTest::newRow("log zero") << 2 << 0.0 << 0.0 << int(ErrInvalidCall) << 0.0;
    QTest::newRow("log negative") << 2 << -1.0 << 0.0 << int(ErrInvalidCall) << 0.0;
    QTest::newRow("log e") << 2 << std::exp(1.0) << 0.0 << 0 << 1.0;
    QTest::newRow("sqrt negative") << 3 << -1.0 << 0.0 << int(ErrInvalidCall) << 0.0;
    QTest::newRow("nan is overflow") << 4 << std::numeric_limits<double>::quiet_NaN() << 0.0
                                     << int(ErrOverflow) << 0.0;
}

void TestRuntime::arithmeticErrors()
{
    QFETCH(int, op);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(int, error);
    QFETCH(double, result);
    int raised = 0;
    double got = 0;
    try {
        switch (op) {
        case 0: got = cdiv(a, b); break;
        case 1: got = cpow(a, b); break;
        case 2: got = clog(a); break;
        case 3: got = csqrt(a); break;
        default: got = checked(a); break;
        }
    } catch (const RuntimeError& e) {
        raised = e.number();
        QVERIFY(!e.description().isEmpty());
    }
    QCOMPARE(raised, error);
    if (!error)
        QCOMPARE(got, result);
}

namespace {

enum PowerForm { OneMinusPow, PowOfOneMinus, OneMinusPowOfOneMinus, LogOfOneMinus };

// A form computed by its helper (stable) or written out plainly with cpow
// and clog; the error number it raised, or 0.
struct Outcome {
    int error = 0;
    double value = 0.0;
};
Outcome evaluate(int form, double a, double b, bool stable)
{
    Outcome o;
    try {
        switch (form) {
        case OneMinusPow: o.value = stable ? oneMinusPow(a, b) : checked(1.0 - cpow(a, b)); break;
        case PowOfOneMinus: o.value = stable ? powOfOneMinus(a, b) : cpow(1.0 - a, b); break;
        case OneMinusPowOfOneMinus:
            o.value = stable ? oneMinusPowOfOneMinus(a, b) : checked(1.0 - cpow(1.0 - a, b));
            break;
        default: o.value = stable ? logOfOneMinus(a) : clog(1.0 - a); break;
        }
    } catch (const RuntimeError& e) {
        o.error = e.number();
    }
    return o;
}

} // namespace

void TestRuntime::powersNearOne_data()
{
    QTest::addColumn<int>("form");
    QTest::addColumn<double>("a");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("expected");
    // Worked out to 60 digits in decimals. Written out plainly, the first
    // rows of each form give 0, 1 or a value wrong in its leading digits.
    QTest::newRow("1 - b^e, e 1e-18") << int(OneMinusPow) << 0.05 << 1e-18 << 2.9957322735539911e-18;
    QTest::newRow("1 - b^e, e 0.02") << int(OneMinusPow) << 0.05 << 0.02 << 0.058155079116972269;
    QTest::newRow("(1 - x)^e, x 5e-9") << int(PowOfOneMinus) << 5e-9 << 1e9 << 0.0067379469148611291;
    QTest::newRow("1 - (1 - x)^e, x 3e-17") << int(OneMinusPowOfOneMinus) << 3e-17 << 1e17 << 0.95021293163213606;
    QTest::newRow("1 - (1 - x)^e, x 0.5") << int(OneMinusPowOfOneMinus) << 0.5 << 2.0 << 0.75;
    QTest::newRow("log(1 - x), x 1e-17") << int(LogOfOneMinus) << 1e-17 << 0.0 << -1.0000000000000001e-17;
    QTest::newRow("log(1 - x), x -1e-17") << int(LogOfOneMinus) << -1e-17 << 0.0 << 1.0000000000000001e-17;
}

void TestRuntime::powersNearOne()
{
    QFETCH(int, form);
    QFETCH(double, a);
    QFETCH(double, b);
    QFETCH(double, expected);
    const Outcome o = evaluate(form, a, b, true);
    QCOMPARE(o.error, 0);
    QVERIFY2(std::fabs(o.value - expected) <= 4e-16 * std::fabs(expected),
             QByteArray::number(o.value, 'g', 17).constData());
}

void TestRuntime::powersNearOneFailAsThePlainFormulas()
{
    // Over awkward arguments each helper raises what its plain formula
    // raises, and otherwise agrees with it, down to the sign of a zero (a
    // power of exactly 1 leaves +0, never -0).
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double args[] = {-inf, -1e308, -2.0, -0.5, -1e-300, 0.0, 1e-300, 1e-17, 0.5, 1.0, 2.0, 1e308, inf, nan};
    const double exponents[] = {-inf, -1e18, -3.0, -0.5, 0.0, 1e-18, 0.5, 1.0, 3.0, 1e18, inf, nan};
    for (int form : {OneMinusPow, PowOfOneMinus, OneMinusPowOfOneMinus, LogOfOneMinus}) {
        for (double a : args) {
            for (double b : exponents) {
                const Outcome plain = evaluate(form, a, b, false);
                const Outcome stable = evaluate(form, a, b, true);
                const QByteArray where = "form " + QByteArray::number(form) + ", " + QByteArray::number(a, 'g', 17)
                    + ", " + QByteArray::number(b, 'g', 17) + ": " + QByteArray::number(plain.error) + " "
                    + QByteArray::number(plain.value, 'g', 17) + " against " + QByteArray::number(stable.error)
                    + " " + QByteArray::number(stable.value, 'g', 17);
                QVERIFY2(stable.error == plain.error, where.constData());
                // Where 1 - x or b^e rounds to 1 the plain value is the loss
                // itself; the table above checks those against true values.
                if (plain.error || a == 1e-17 || std::fabs(b) == 1e18 || b == 1e-18)
                    continue;
                QVERIFY2(std::fabs(stable.value - plain.value) <= 1e-12 * std::max(1.0, std::fabs(plain.value)),
                         where.constData());
                if (plain.value == 0.0 && stable.value == 0.0)
                    QVERIFY2(std::signbit(stable.value) == std::signbit(plain.value), where.constData());
            }
        }
    }
}

void TestRuntime::conversions_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("wide"); // clng rather than cint
    QTest::addColumn<int>("expected");
    QTest::addColumn<bool>("overflow");
    QTest::newRow("75.5 to even up") << 75.5 << false << 76 << false;
    QTest::newRow("74.5 to even down") << 74.5 << false << 74 << false;
    QTest::newRow("-2.5") << -2.5 << false << -2 << false;
    QTest::newRow("2.51") << 2.51 << false << 3 << false;
    QTest::newRow("int16 max") << 32767.4 << false << 32767 << false;
    QTest::newRow("int16 overflow") << 32767.6 << false << 0 << true;
    QTest::newRow("int16 min") << -32768.0 << false << -32768 << false;
    QTest::newRow("int32 fits") << 100000.5 << true << 100000 << false;
    QTest::newRow("int32 overflow") << 3e9 << true << 0 << true;
}

void TestRuntime::conversions()
{
    QFETCH(double, value);
    QFETCH(bool, wide);
    QFETCH(int, expected);
    QFETCH(bool, overflow);
    try {
        const int got = wide ? clng(value) : cint(value);
        QVERIFY(!overflow);
        QCOMPARE(got, expected);
    } catch (const RuntimeError& e) {
        QVERIFY(overflow);
        QCOMPARE(e.number(), int(ErrOverflow));
    }
}

void TestRuntime::trapRetryRepeatsTheStep()
{
    test::ProgramFixture fx;
    fx.msgs.answer({IdRetry, IdRetry});
    int tries = 0;
    bool second = false;
    TrapErrors t(QStringLiteral("Try again"), QStringLiteral("Error X"));
    const bool done = t.step([&] {
        if (++tries < 3)
            raise(ErrDivisionByZero);
    }) && t.step([&] { second = true; });
    QVERIFY(done);
    QCOMPARE(tries, 3);
    QCOMPARE(fx.msgs.count(), 2);
    QVERIFY(second);
}

void TestRuntime::trapIgnoreGoesOnWithNextStep()
{
    test::ProgramFixture fx;
    fx.msgs.answer(IdIgnore);
    QStringList ran;
    TrapErrors t(QString(), QStringLiteral("T"));
    t.steps({[&] { ran << "1"; }, [&] { raise(ErrOverflow); ran << "2"; }, [&] { ran << "3"; }});
    QCOMPARE(ran, (QStringList{"1", "3"}));
    QVERIFY(!t.aborted());
}

// A function that assigns its result in steps returns what it had when the
// user aborts.
static std::optional<double> partial(int failAt)
{
    std::optional<double> result;
    TrapErrors t(QStringLiteral("Try again"), QStringLiteral("Error F"));
    t.step([&] { if (failAt == 1) raise(ErrOverflow); result = 1.0; })
        && t.step([&] { if (failAt == 2) raise(ErrOverflow); result = 2.0; });
    return result;
}

void TestRuntime::trapAbortLeavesAndReturnsPartialResult()
{
    test::ProgramFixture fx;
    fx.msgs.answer({IdAbort, IdAbort});
    QCOMPARE(partial(2), std::optional<double>(1.0));
    QCOMPARE(partial(1), std::optional<double>());
    QCOMPARE(fx.msgs.count(), 2);
    // Any other answer also leaves.
    fx.msgs.answer(IdOk);
    QCOMPARE(partial(2), std::optional<double>(1.0));
}

static void calleeThatDoesNotHandle(int& calls)
{
    ++calls;
    raise(ErrInvalidCall);
}

void TestRuntime::calleeFailureCountsAgainstCaller()
{
    test::ProgramFixture fx;
    fx.msgs.answer({IdRetry, IdIgnore});
    int calls = 0;
    TrapErrors t(QStringLiteral("Reload and try again"), QStringLiteral("Error caller"));
    t.step([&] { calleeThatDoesNotHandle(calls); });
    QCOMPARE(calls, 2); // Retry made the whole call again
    QCOMPARE(fx.msgs.count(), 2);
    QCOMPARE(fx.msgs.last().title, QStringLiteral("Error caller"));
}

void TestRuntime::unboundedRetryEndsWhenScriptRunsOut()
{
    test::ProgramFixture fx;
    for (int i = 0; i < 50; ++i)
        fx.msgs.answer(IdRetry);
    int tries = 0;
    TrapErrors t(QString(), QStringLiteral("T"));
    QVERIFY(!t.step([&] { ++tries; raise(ErrOverflow); }));
    QCOMPARE(tries, 51); // 50 retries, then the empty script answers Abort
    QVERIFY(t.aborted());
    QVERIFY(!t.step([] {})); // nothing runs after Abort
}

void TestRuntime::errorBoxTextAndStyle()
{
    test::ProgramFixture fx;
    TrapErrors t(QString(), QStringLiteral("Error Loading Form1"));
    t.step([] { raise(ErrDivisionByZero); });
    QCOMPARE(fx.msgs.count(), 1);
    QCOMPARE(fx.msgs.last().text, QStringLiteral("Division by zero\r"));
    QCOMPARE(fx.msgs.last().style, 18);
    QCOMPARE(fx.msgs.last().title, QStringLiteral("Error Loading Form1"));
}

void TestRuntime::ignoreSkipsOnlyTheFailingStep()
{
    test::ProgramFixture fx;
    QStringList ran;
    IgnoreErrors e;
    e.steps({[&] { ran << "1"; }, [&] { raise(ErrOverflow); }, [&] { ran << "3"; }});
    QCOMPARE(ran, (QStringList{"1", "3"}));
    QCOMPARE(fx.msgs.count(), 0);
}

void TestRuntime::noStepRunsAfterEncerra()
{
    test::ProgramFixture fx;
    bool after = false;
    IgnoreErrors e;
    e.steps({[] { encerra(); }, [&] { after = true; }});
    QVERIFY(!after);
    QCOMPARE(fx.exits, 1);
    TrapErrors t{QString(), QString()};
    QVERIFY(!t.step([&] { after = true; }));
    QVERIFY(!after);
}

void TestRuntime::temporaryPictureIsPrivate()
{
    const QString dir = privateTempDir();
    QVERIFY(QFileInfo(dir).isDir());
    QVERIFY(dir != QCoreApplication::applicationDirPath());
    QCOMPARE(tempPictureFile(), dir + QStringLiteral("/tmp.bmp"));
    QCOMPARE(QFileInfo(dir).permissions() & (QFile::ReadOther | QFile::WriteOther), QFile::Permissions());
}

void TestRuntime::reseedsWithinOneTickDoNotCycle()
{
    LcgRandom r;
    QSet<float> seen;
    for (int i = 0; i < 5000; ++i) {
        r.reseed(43200.25); // the same clock every time
        seen.insert(r.next());
    }
    QVERIFY(seen.size() > 4900);
}

TAV_TEST_MAIN(TestRuntime)
#include "tst_runtime.moc"
