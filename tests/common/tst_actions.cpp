// One user action answers each failing step at most once: Ignore silences
// the same step for the rest of the action, Abort ends every trapped
// procedure the action still runs, Retry repeats. Clicks and timer ticks
// each make one action; what a handler yields to stays inside it.

#include "common/errors.h"
#include "common/messages.h"
#include "platform/actions.h"
#include "platform/combo.h"
#include "platform/slider.h"
#include "testkit.h"
#include "testmain.h"

#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <exception>
#include <new>

using namespace tav;

namespace {

const QString kAdvice = QStringLiteral("Try again");
const QString kTitle = QStringLiteral("Error T");

// A trapped procedure whose one statement fails with `error` (0: none);
// returns whether the statement ran.
bool procedure(int error, const QString& title = kTitle)
{
    bool ran = false;
    TrapErrors t(kAdvice, title);
    t.step([&] {
        ran = true;
        if (error)
            raise(error);
    });
    return ran;
}

enum Scenario {
    LoopOverOneStep,
    SameFailureAtTwoStatements,
    TwoFailuresAtTwoStatements,
    OneStatementFailingTwoWays,
    StepsListWithTheSameFailure,
    StepsListWithTwoFailures,
    TwoProceduresWithTheSameBox,
    TwoProceduresWithTwoTitles,
    TwoActions,
};

void run(Scenario s)
{
    switch (s) {
    case LoopOverOneStep: {
        TrapErrors t(kAdvice, kTitle);
        for (int i = 0; i < 500; ++i)
            t.step([] { raise(ErrDivisionByZero); });
        break;
    }
    case SameFailureAtTwoStatements: {
        TrapErrors t(kAdvice, kTitle);
        t.step([] { raise(ErrOverflow); });
        t.step([] { raise(ErrOverflow); });
        break;
    }
    case TwoFailuresAtTwoStatements: {
        TrapErrors t(kAdvice, kTitle);
        t.step([] { raise(ErrOverflow); });
        t.step([] { raise(ErrDivisionByZero); });
        break;
    }
    case OneStatementFailingTwoWays: {
        TrapErrors t(kAdvice, kTitle);
        for (int i = 0; i < 10; ++i)
            t.step([&] { raise(i % 2 ? ErrOverflow : ErrDivisionByZero); });
        break;
    }
    case StepsListWithTheSameFailure: {
        TrapErrors t(kAdvice, kTitle);
        t.steps({[] { raise(ErrOverflow); }, [] {}, [] { raise(ErrOverflow); }});
        break;
    }
    case StepsListWithTwoFailures: {
        TrapErrors t(kAdvice, kTitle);
        t.steps({[] { raise(ErrOverflow); }, [] { raise(ErrTypeMismatch); }});
        break;
    }
    case TwoProceduresWithTheSameBox: {
        ActionScope action;
        procedure(ErrOverflow);
        procedure(ErrOverflow);
        break;
    }
    case TwoProceduresWithTwoTitles: {
        ActionScope action;
        procedure(ErrOverflow);
        procedure(ErrOverflow, QStringLiteral("Error U"));
        break;
    }
    case TwoActions:
        for (int i = 0; i < 2; ++i) {
            ActionScope action;
            procedure(ErrOverflow);
            procedure(ErrOverflow);
        }
        break;
    }
}

// A sender whose `fire` emits from a frame that notes whether an error
// unwound it: such an error came up through Qt's signal machinery, as it
// would through a control's own code.
class Emitter : public QObject {
    Q_OBJECT
public:
    void fire()
    {
        const Unwinding watch(unwound);
        emit fired();
    }
    bool unwound = false;

signals:
    void fired();

private:
    struct Unwinding {
        explicit Unwinding(bool& flag) : flag(flag) {}
        ~Unwinding()
        {
            if (std::uncaught_exceptions() > before)
                flag = true;
        }
        bool& flag;
        const int before = std::uncaught_exceptions();
    };
};

// Whether an error left f. Caught here, so that a handler's error let
// through into Qt's frames fails the test instead of ending the program.
bool errorLeft(const std::function<void()>& f)
{
    try {
        f();
    } catch (...) {
        return true;
    }
    return false;
}

enum Failure { ProgramError, LibraryError };
// Where the emission happens: on its own, in a Qt call a statement makes
// through throughQt, or in an event delivered while that call yields.
enum Emission { Alone, InACallersQtCall, InAnEventInsideTheCall };

} // namespace

class TestActions : public QObject {
    Q_OBJECT
private slots:
    void ignoreAnswersAStepOncePerAction_data()
    {
        QTest::addColumn<int>("scenario");
        QTest::addColumn<int>("boxes");
        QTest::newRow("a loop over one failing step") << int(LoopOverOneStep) << 1;
        QTest::newRow("the same failure at two statements") << int(SameFailureAtTwoStatements) << 1;
        QTest::newRow("two failures at two statements") << int(TwoFailuresAtTwoStatements) << 2;
        QTest::newRow("one statement failing two ways") << int(OneStatementFailingTwoWays) << 1;
        QTest::newRow("a list of steps, the same failure") << int(StepsListWithTheSameFailure) << 1;
        QTest::newRow("a list of steps, two failures") << int(StepsListWithTwoFailures) << 2;
        QTest::newRow("two procedures, the same box") << int(TwoProceduresWithTheSameBox) << 1;
        QTest::newRow("two procedures, two titles") << int(TwoProceduresWithTwoTitles) << 2;
        QTest::newRow("two actions") << int(TwoActions) << 2;
    }
    void ignoreAnswersAStepOncePerAction()
    {
        QFETCH(int, scenario);
        QFETCH(int, boxes);
        test::ProgramFixture fx;
        for (int i = 0; i < 600; ++i)
            fx.msgs.answer(IdIgnore);
        run(Scenario(scenario));
        QCOMPARE(fx.msgs.count(), boxes);
    }

    // Retry repeats the statement and its box; only Ignore silences it.
    void retryStillRepeats()
    {
        test::ProgramFixture fx;
        fx.msgs.answer({IdRetry, IdRetry, IdIgnore});
        int tries = 0;
        TrapErrors t(kAdvice, kTitle);
        for (int i = 0; i < 5; ++i)
            QVERIFY(t.step([&] {
                ++tries;
                raise(ErrOverflow);
            }));
        QCOMPARE(fx.msgs.count(), 3);
        QCOMPARE(tries, 7); // three runs of the first, one of each other
    }

    void abortEndsTheWholeAction()
    {
        test::ProgramFixture fx;
        fx.msgs.answer(IdAbort);
        bool ignoredRan = false;
        {
            ActionScope action;
            procedure(ErrOverflow);
            QCOMPARE(fx.msgs.count(), 1);
            QVERIFY(actionAborted());
            // The trapped procedures the handler still calls do not run...
            QVERIFY(!procedure(0));
            TrapErrors later(kAdvice, QStringLiteral("Error U"));
            QVERIFY(!later.step([] {}));
            QVERIFY(later.aborted());
            // ...those that ignore errors do.
            IgnoreErrors e;
            e.step([&] { ignoredRan = true; });
        }
        QVERIFY(ignoredRan);
        QCOMPARE(fx.msgs.count(), 1);
        // The next action starts afresh.
        QVERIFY(!actionAborted());
        QVERIFY(procedure(0));
        // A trapped procedure on its own is an action of its own.
        fx.msgs.answer(IdAbort);
        procedure(ErrOverflow);
        QVERIFY(procedure(0));
    }

    // A save that composes through the print command goes on after an Abort
    // in the composition.
    void nestedCommandAbortEndsItAlone()
    {
        test::ProgramFixture fx;
        fx.msgs.answer(IdAbort);
        ActionScope action;
        TrapErrors save(kAdvice, QStringLiteral("Error saving"));
        bool composed = false, written = false;
        QVERIFY(save.step([&] {
            const NestedCommand composing;
            procedure(ErrOverflow, QStringLiteral("Error printing"));
            composed = true;
        }));
        QVERIFY(composed);
        QVERIFY(save.step([&] { written = true; }));
        QVERIFY(written);
        QCOMPARE(fx.msgs.count(), 1);
    }

    // Each click is one action, whatever the procedures its handler calls.
    void aClickIsOneAction_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("secondRuns"); // runs of the second procedure's statement
        QTest::newRow("ignore") << int(IdIgnore) << 2;
        QTest::newRow("abort") << int(IdAbort) << 0;
    }
    void aClickIsOneAction()
    {
        QFETCH(int, answer);
        QFETCH(int, secondRuns);
        test::ProgramFixture fx;
        for (int i = 0; i < 10; ++i)
            fx.msgs.answer(answer);
        QPushButton button;
        int runs = 0;
        connect(&button, &QPushButton::clicked, [&] {
            procedure(ErrOverflow);
            runs += procedure(ErrOverflow, QStringLiteral("Error U")) ? 1 : 0;
            runs += procedure(ErrOverflow) ? 1 : 0;
        });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        const int perClick = answer == IdIgnore ? 2 : 1;
        test::click(&button);
        QCOMPARE(fx.msgs.count(), perClick);
        // A second click is a new action with its own boxes.
        test::click(&button);
        QCOMPARE(fx.msgs.count(), 2 * perClick);
        QCOMPARE(runs, 2 * secondRuns);
    }

    // Events handled while a handler yields belong to its action; a tick
    // after the handler returned is an action of its own.
    void yieldsStayInTheAction()
    {
        test::ProgramFixture fx;
        for (int i = 0; i < 10; ++i)
            fx.msgs.answer(IdIgnore);
        QTimer tick;
        tick.setSingleShot(true);
        int ticks = 0;
        connect(&tick, &QTimer::timeout, [&] {
            ++ticks;
            procedure(ErrOverflow);
        });
        QPushButton button;
        connect(&button, &QPushButton::clicked, [&] {
            procedure(ErrOverflow);
            tick.start(0);
            QTRY_COMPARE_WITH_TIMEOUT(ticks, 1, 2000); // yields until the tick ran
            procedure(ErrOverflow);
        });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        test::click(&button);
        QCOMPARE(ticks, 1);
        QCOMPARE(fx.msgs.count(), 1);
        tick.start(0);
        QTRY_COMPARE_WITH_TIMEOUT(ticks, 2, 2000);
        QCOMPARE(fx.msgs.count(), 2);
    }

    // A handler that lets its error through to the procedure that raised
    // its signal: the error comes back to the caller's step once Qt's call
    // has returned, and the action still ends with the click.
    void errorThroughASignalEndsWithIt()
    {
        test::ProgramFixture fx;
        fx.msgs.answer(IdAbort);
        QPushButton inner;
        onSignal(&inner, &QPushButton::clicked, &inner, [] { raise(ErrOverflow); });
        QPushButton button;
        bool statementWentOn = false;
        onSignal(&button, &QPushButton::clicked, &button, [&] {
            TrapErrors t(kAdvice, kTitle);
            t.step([&] {
                throughQt([&] { inner.click(); });
                statementWentOn = true;
            });
        });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        test::click(&button);
        QCOMPARE(fx.msgs.count(), 1);
        QCOMPARE(fx.msgs.last().title, kTitle);
        QVERIFY(!statementWentOn);
        QVERIFY(!actionAborted());
        QVERIFY(procedure(0));
    }

    // However a handler fails, its error stops at the boundary: no Qt frame
    // between the emission and the handler is unwound. A statement that
    // raised the signal through throughQt gets the error back after Qt's
    // call; otherwise it ends the handler alone.
    void noErrorLeavesAHandlerThroughQt_data()
    {
        QTest::addColumn<int>("failure");
        QTest::addColumn<int>("emission");
        QTest::addColumn<bool>("backAtTheCaller");
        const struct {
            const char* name;
            Failure failure;
        } failures[] = {{"run-time error", ProgramError}, {"library error", LibraryError}};
        const struct {
            const char* name;
            Emission emission;
            bool back;
        } emissions[] = {{"no caller", Alone, false},
                         {"a caller's Qt call", InACallersQtCall, true},
                         {"an event inside a caller's call", InAnEventInsideTheCall, false}};
        for (const auto& f : failures)
            for (const auto& e : emissions)
                QTest::addRow("%s, %s", f.name, e.name) << int(f.failure) << int(e.emission) << e.back;
    }
    void noErrorLeavesAHandlerThroughQt()
    {
        QFETCH(int, failure);
        QFETCH(int, emission);
        QFETCH(bool, backAtTheCaller);
        test::ProgramFixture fx;
        Emitter emitter;
        int runs = 0;
        onSignal(&emitter, &Emitter::fired, &emitter, [&] {
            ++runs;
            if (failure == ProgramError)
                raise(ErrOverflow);
            throw std::bad_alloc();
        });
        const bool reachedTheTest = errorLeft([&] {
            switch (Emission(emission)) {
            case Alone: emitter.fire(); break;
            case InACallersQtCall: throughQt([&] { emitter.fire(); }); break;
            case InAnEventInsideTheCall:
                throughQt([&] {
                    const EventDelivery delivery;
                    emitter.fire();
                });
                break;
            }
        });
        QCOMPARE(runs, 1);
        QVERIFY2(!emitter.unwound, "the error left its handler through Qt's frames");
        QCOMPARE(reachedTheTest, backAtTheCaller);
        QCOMPARE(fx.msgs.count(), 0);
    }

    // A control's notice of a change the program made runs its handler
    // through the boundary: the handler's error is the setter's, counted
    // against the step that called it, whose Retry runs it again.
    void handlerErrorsReachTheSetter_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("a slider's value") << 0;
        QTest::newRow("a combo box's text") << 1;
        QTest::newRow("a pick from a combo box's list") << 2;
    }
    void handlerErrorsReachTheSetter()
    {
        QFETCH(int, kind);
        test::ProgramFixture fx;
        fx.msgs.answer({IdRetry, IdAbort});
        Slider slider;
        ComboBox combo;
        combo.addItem(QStringLiteral("a"));
        combo.addItem(QStringLiteral("b"));
        int runs = 0, secondHandlerRuns = 0;
        const auto failing = [&] {
            ++runs;
            raise(ErrDivisionByZero);
        };
        const auto second = [&] { ++secondHandlerRuns; };
        onSignal(&slider, &Slider::changed, &slider, failing);
        onSignal(&slider, &Slider::changed, &slider, second);
        onSignal(&combo, &ComboBox::changed, &combo, failing);
        onSignal(&combo, &ComboBox::changed, &combo, second);
        onSignal(&combo, &ComboBox::clicked, &combo, failing);
        onSignal(&combo, &ComboBox::clicked, &combo, second);
        int value = 0;
        TrapErrors t(kAdvice, kTitle);
        const bool went = t.step([&] {
            ++value;
            if (kind == 0)
                slider.setValue(value);
            else if (kind == 1)
                combo.setText(QString::number(value));
            else
                combo.setListIndex(value % 2);
        });
        QVERIFY(!went);
        QCOMPARE(runs, 2);
        QCOMPARE(fx.msgs.count(), 2);
        QCOMPARE(currentError().number(), int(ErrDivisionByZero));
        // Once a handler failed, the statement is left: the signal's other
        // handlers do not run.
        QCOMPARE(secondHandlerRuns, 0);
        // The control itself is left in order: a later value is taken, and
        // is a change of the program's, not the user scrolling.
        if (kind == 0) {
            int scrolls = 0;
            onSignal(&slider, &Slider::scrolled, &slider, [&] { ++scrolls; });
            ignoring([&] { slider.setValue(7); });
            QCOMPARE(slider.value(), 7);
            // The user's scroll has no caller: the failing handler's error
            // ends there.
            QVERIFY(!errorLeft([&] {
                slider.slider()->setSliderDown(true);
                slider.slider()->setSliderPosition(8);
                slider.slider()->setSliderDown(false);
            }));
            QCOMPARE(scrolls, 1);
        }
    }

    // An error with no caller to go back to (a user's click) ends its
    // handler only; one raised while the caller's Qt call yields belongs to
    // the event handled in the yield, not to the caller's statement.
    void handlerErrorsWithoutACaller()
    {
        test::ProgramFixture fx;
        QPushButton button;
        bool otherRan = false;
        onSignal(&button, &QPushButton::clicked, &button, [] { raise(ErrOverflow); });
        onSignal(&button, &QPushButton::clicked, &button, [&] { otherRan = true; });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QVERIFY(!errorLeft([&] { test::click(&button); }));
        QVERIFY(otherRan);
        QCOMPARE(currentError().number(), int(ErrOverflow));
        QCOMPARE(fx.msgs.count(), 0);

        QTimer tick;
        tick.setSingleShot(true);
        bool ticked = false;
        onSignal(&tick, &QTimer::timeout, &tick, [&] {
            ticked = true;
            raise(ErrTypeMismatch);
        });
        QPushButton inner;
        onSignal(&inner, &QPushButton::clicked, &inner, [&] {
            tick.start(0);
            QTRY_VERIFY_WITH_TIMEOUT(ticked, 5000); // yields until the tick ran
        });
        bool statementWentOn = false;
        TrapErrors t(kAdvice, kTitle);
        QVERIFY(t.step([&] {
            throughQt([&] { inner.click(); });
            statementWentOn = true;
        }));
        QVERIFY(ticked);
        QVERIFY(statementWentOn);
        QCOMPARE(fx.msgs.count(), 0);
    }
};

TAV_TEST_MAIN(TestActions)
#include "tst_actions.moc"
