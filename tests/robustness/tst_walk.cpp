// A seeded random walk over every window a user can reach from the start
// page: clicks, menu items, hostile typing, slider moves, combo picks,
// Escape, Tab, closing windows and the windows' timers, every box answered
// with one of its buttons at random. After every action it looks for a box
// storm, nan or inf in sight and Qt warnings; a watchdog ends the process on
// an action that never returns. Exits are rare and start the walk again.
//
// With real boxes (loopdriver.h) every box is the program's own, answered
// from a timer inside its loop, and the walk goes on acting inside boxes and
// yields as queued input would; it also presses single keys in place.
//
// CI walks a few thousand steps over fixed seeds, half of them on a
// comma-decimal desktop (TAVRELO_WALK_CI_STEPS steps a seed, default 400),
// and a shorter part with real boxes (TAVRELO_WALK_CI_REAL_STEPS, default
// 300), both times the factor TAVRELO_WALK_SCALE; with TAVRELO_WALK_RATIO
// set (to QT_SCALE_FACTOR's value), two short walks at that ratio instead.
// longWalk walks as long as
// asked and prints figures:
//   TAVRELO_WALK_SEED=7,8 TAVRELO_WALK_STEPS=50000 TAVRELO_WALK_LOCALE=pt_BR tst_walk longWalk
// (TAVRELO_WALK_LOCALE "both" alternates C and pt_BR over the seeds;
// TAVRELO_WALK_REAL_BOXES=1 walks with real boxes.) Should the process die,
// the seed and the last actions are printed first.

#include "loopdriver.h"
#include "robustkit.h"
#include "testmain.h"

#include "graphs/pointsweep.h"

#include <QElapsedTimer>
#include <QProcess>

using namespace tav;
using namespace tav::robust;

namespace {

class Walk {
public:
    struct Report {
        Finding finding;
        int step;
        QString action;
        QString trail;
    };

    Walk(Session& s, WarningLog& warnings, Watchdog& dog, quint32 seed, const QString& locale, bool realBoxes)
        : s_(s), warnings_(warnings), dog_(dog), seed_(seed), locale_(locale)
    {
        CrashTrail::install();
        if (realBoxes) {
            loops_ = std::make_unique<LoopDriver>(
                s_.answers, s_.rng, [this] { actInside(); }, [this](const QString& line) { remember(line); });
            setMessages(loops_.get());
            s_.byKeys = true;
        }
    }
    ~Walk()
    {
        CrashTrail::clear();
        if (loops_)
            setMessages(&s_.answers);
    }
    const LoopDriver* loops() const { return loops_.get(); }

    // Walks `steps` actions; with keepGoing every new kind of finding is
    // reported and the walk goes on, else it stops at the first.
    void run(int steps, bool keepGoing)
    {
        s_.restart();
        for (int i = 0; i < steps; ++i) {
            step();
            if (!keepGoing && !reports.isEmpty())
                return;
        }
    }

    QString trailText() const
    {
        QString out;
        for (const QString& t : trail_)
            out += QStringLiteral("    ") + t + QLatin1Char('\n');
        return out;
    }
    QString header() const
    {
        return QStringLiteral("seed %1 (locale %2)%3, step %4")
            .arg(seed_)
            .arg(locale_, loops_ ? QStringLiteral(", real boxes") : QString())
            .arg(steps);
    }

    int steps = 0;
    int restarts = 0;
    int findings = 0;
    QList<Report> reports; // one per distinct finding
    QSet<QString> windowsReached;
    qint64 slowestMs = 0; // how near the watchdog's limit the walk came
    QString slowest;

private:
    struct Action {
        QString label;
        std::function<void()> run;
    };

    void step()
    {
        ++steps;
        inside_ = 0;
        if (programEnded() || shownWindows().isEmpty()) {
            ++restarts;
            remember(QStringLiteral("-- the program ended: a fresh start"));
            dog_.arm(header() + QStringLiteral(": restarting\nlast actions:\n") + trailText());
            s_.restart();
            dog_.disarm();
            shownBefore_.clear();
            warnings_.take();
        }
        for (FormWidget* w : shownWindows())
            windowsReached.insert(w->objectName());

        Action a = choose();
        remember(QStringLiteral("#%1 %2").arg(steps).arg(a.label));
        dog_.arm(header() + QStringLiteral(": ") + a.label + QStringLiteral("\nlast actions:\n") + trailText());
        s_.beginAction();
        QElapsedTimer took;
        took.start();
        if (loops_) {
            loops_->beginStep();
            loops_->run(a.run);
        } else {
            a.run();
        }
        Session::settle();
        dog_.disarm();
        if (took.elapsed() > slowestMs) {
            slowestMs = took.elapsed();
            slowest = a.label;
        }
        if (!loops_ && !s_.answers.action.isEmpty())
            trail_.back() += QStringLiteral("  boxes: ") + s_.answers.summary();

        QList<Finding> found = checkAction(s_, warnings_, 5, false, shownBefore_);
        if (loops_) {
            for (const QString& e : std::as_const(loops_->escaped))
                found.append({QStringLiteral("exception"), QString(), e});
            loops_->escaped.clear();
        }
        for (const Finding& f : found) {
            ++findings;
            // Alike when of one kind, at one control, with the same first
            // box or text, whatever the numbers and answers.
            static const QRegularExpression noise(QStringLiteral("-> [A-Za-z]+|[0-9.,]+|\\(\\+# boxes\\)"));
            QString seen = f.seen;
            if (f.kind == QLatin1String("storm"))
                seen = seen.section(QLatin1Char(']'), 0, 0);
            const QString key = f.kind + QLatin1Char('|') + (f.where.isEmpty() ? target_ : f.where) + QLatin1Char('|')
                                + seen.replace(noise, QStringLiteral("#"));
            if (distinct_.contains(key))
                continue;
            distinct_.insert(key);
            reports.append({f, steps, a.label, trailText()});
        }
    }

    void remember(const QString& line)
    {
        trail_.push_back(line);
        while (trail_.size() > 40)
            trail_.pop_front();
        CrashTrail::set(header() + QStringLiteral("\nlast actions:\n") + trailText());
    }

    // An action taken while the step's own waits in a box or a yield. It
    // leaves the step's target to the step.
    void actInside()
    {
        if (programEnded() || shownWindows().isEmpty())
            return;
        const QString target = target_;
        Action a = choose();
        remember(loops_->indent() + QStringLiteral("#%1.%2 %3").arg(steps).arg(++inside_).arg(a.label));
        dog_.arm(header() + QStringLiteral(": ") + a.label + QStringLiteral(" (inside a loop)\nlast actions:\n")
                 + trailText());
        target_ = target;
        loops_->run(a.run);
    }

    QString pick(const QStringList& from) { return from[int(s_.rng.bounded(quint32(from.size())))]; }
    int below(int n) { return n <= 0 ? 0 : int(s_.rng.bounded(quint32(n))); }

    QString input()
    {
        if (below(100) < 65)
            return pick(hostileCorpus());
        const QString point = below(2) ? QString(QLocale().decimalPoint()) : QStringLiteral(".");
        switch (below(4)) {
        case 0: return QString::number(1 + below(2000));
        case 1: return QStringLiteral("0") + point + QString::number(1 + below(99));
        case 2: return QString::number(below(100)) + point + QString::number(below(10));
        default: return pick({"1", "10", "100", "1000", "0.5", "0.05", "0.95", "0.01", "1E-05", "50"});
        }
    }

    static bool isExit(const QObject* o)
    {
        const QString n = o->objectName();
        return n == QLatin1String("Image11") || n.endsWith(QLatin1String("FileExit"));
    }

    // Leaf items of a window's menus (submenus walked into).
    static void menuItems(const QList<QAction*>& actions, QList<QAction*>& out)
    {
        for (QAction* a : actions) {
            if (a->isSeparator() || !a->isVisible() || !a->isEnabled())
                continue;
            if (a->menu())
                menuItems(a->menu()->actions(), out);
            else
                out << a;
        }
    }

    // Brings the window to the front as a click into it would.
    static void activate(QWidget* w)
    {
        if (LoopDriver::nested())
            return; // input queued behind a box or a yield goes where it was aimed
        LoopDriver::Quiet quiet;
        QWidget* win = w->window();
        if (QApplication::activeWindow() != win) {
            win->activateWindow();
            QCoreApplication::processEvents();
        }
    }

    Action choose()
    {
        const bool exitAllowed = below(150) == 0;
        QList<QWidget*> buttons, labels, boxes, sliders, combos;
        QList<QAction*> items;
        QList<FormWidget*> windows = shownWindows();
        for (FormWidget* w : windows) {
            for (QWidget* c : w->findChildren<QWidget*>()) {
                if (!c->isVisible() || !c->isEnabled())
                    continue;
                if (qobject_cast<ImageButton*>(c) || qobject_cast<QAbstractButton*>(c)) {
                    if (qobject_cast<QAbstractButton*>(c) && c->objectName().startsWith(QLatin1String("qt_")))
                        continue;
                    if (!isExit(c) || exitAllowed)
                        buttons << c;
                } else if (qobject_cast<Label*>(c)) {
                    labels << c;
                } else if (auto* e = qobject_cast<QLineEdit*>(c)) {
                    if (!e->isReadOnly())
                        boxes << e;
                } else if (qobject_cast<Slider*>(c)) {
                    sliders << c;
                } else if (auto* cb = qobject_cast<ComboBox*>(c)) {
                    if (cb->listCount() > 0)
                        combos << c;
                }
            }
            QList<QAction*> mine;
            menuItems(w->menuBar()->actions(), mine);
            for (QAction* a : mine)
                if (!isExit(a) || exitAllowed)
                    items << a;
        }
        const QList<QTimer*> timers = TimerGate::running();

        struct Kind {
            int weight;
            qsizetype count;
        };
        const Kind kinds[] = {{30, buttons.size()}, {6, labels.size()},   {10, items.size()},
                              {24, boxes.size()},   {4, boxes.size()},    {4, boxes.size()},
                              {10, sliders.size()}, {8, combos.size()},   {2, windows.size()},
                              {2, windows.size()},  {6, timers.size()},   {loops_ ? 12 : 0, boxes.size()}};
        int total = 0;
        for (const Kind& k : kinds)
            total += k.count ? k.weight : 0;
        int r = below(total);
        int kind = 0;
        for (; kind < int(std::size(kinds)); ++kind) {
            if (!kinds[kind].count)
                continue;
            if (r < kinds[kind].weight)
                break;
            r -= kinds[kind].weight;
        }

        auto where = [](QObject* o) { return windowOf(o) + QLatin1Char('.') + controlName(o); };
        auto one = [&](const auto& list) { return list[below(int(list.size()))]; };
        switch (kind) {
        case 0:
        case 1: {
            QPointer<QWidget> c = one(kind == 0 ? buttons : labels);
            target_ = where(c);
            return {target_ + QStringLiteral(" click"), [c] {
                        if (!c)
                            return;
                        activate(c);
                        if (c)
                            QTest::mouseClick(c, Qt::LeftButton, Qt::NoModifier, c->rect().center());
                    }};
        }
        case 2: {
            QPointer<QAction> a = one(items);
            target_ = windowOf(a) + QLatin1Char('.') + a->objectName();
            return {target_ + QStringLiteral(" menu \"") + QString(a->text()).remove(QLatin1Char('&')) + QLatin1Char('"'),
                    [a] {
                        if (a && a->isEnabled())
                            a->trigger();
                    }};
        }
        case 3: {
            QPointer<QLineEdit> e = qobject_cast<QLineEdit*>(one(boxes));
            const QString text = input();
            target_ = where(e);
            return {target_ + QStringLiteral(" type ") + shownInput(text), [this, e, text] {
                        if (!e)
                            return;
                        activate(e);
                        if (e)
                            s_.type(e, text);
                    }};
        }
        case 4:
        case 5: {
            QPointer<QWidget> e = one(boxes);
            const auto key = kind == 4 ? Qt::Key_Return : Qt::Key_Tab;
            target_ = where(e);
            return {target_ + (kind == 4 ? QStringLiteral(" Enter") : QStringLiteral(" Tab")), [e, key] {
                        if (!e)
                            return;
                        activate(e);
                        if (!e)
                            return;
                        e->setFocus(Qt::MouseFocusReason);
                        QTest::keyClick(e, key);
                    }};
        }
        case 6: {
            auto* sl = qobject_cast<Slider*>(one(sliders));
            QPointer<QSlider> q = sl->slider();
            target_ = where(sl);
            const int lo = q->minimum(), hi = q->maximum();
            const int how = below(4);
            if (how == 3) {
                static const Qt::Key keys[] = {Qt::Key_Home, Qt::Key_End,    Qt::Key_Left,
                                               Qt::Key_Right, Qt::Key_PageUp, Qt::Key_PageDown};
                const Qt::Key k = keys[below(6)];
                return {target_ + QStringLiteral(" key ") + QKeySequence(k).toString(), [q, k] {
                            if (!q)
                                return;
                            activate(q);
                            if (q)
                                QTest::keyClick(q, k);
                        }};
            }
            const int v = how == 0 ? lo : how == 1 ? hi : lo + below(hi - lo + 1);
            return {target_ + QStringLiteral(" slide to %1 (%2..%3)").arg(v).arg(lo).arg(hi), [q, v] {
                        if (!q)
                            return;
                        activate(q);
                        if (!q)
                            return;
                        // A drag: the thumb moves, then is let go.
                        q->setSliderDown(true);
                        q->setSliderPosition(v);
                        if (q)
                            q->setSliderDown(false);
                        if (q)
                            QTest::mouseRelease(q, Qt::LeftButton, Qt::NoModifier, q->rect().center());
                    }};
        }
        case 7: {
            QPointer<ComboBox> cb = qobject_cast<ComboBox*>(one(combos));
            const int i = below(cb->listCount());
            target_ = where(cb);
            return {target_ + QStringLiteral(" pick \"%1\"").arg(cb->list(i)), [cb, i] {
                        if (!cb)
                            return;
                        activate(cb);
                        if (cb && i < cb->listCount())
                            cb->setListIndex(i);
                    }};
        }
        case 8: {
            QPointer<FormWidget> w = one(windows);
            target_ = w->objectName();
            return {target_ + QStringLiteral(" Escape"), [w] {
                        if (!w)
                            return;
                        activate(w);
                        QWidget* to = QApplication::focusWidget();
                        if (!to || to->window() != w)
                            to = w;
                        QTest::keyClick(to, Qt::Key_Escape);
                    }};
        }
        case 9: {
            QPointer<FormWidget> w = one(windows);
            target_ = w->objectName();
            return {target_ + QStringLiteral(" close box"), [w] {
                        if (w)
                            w->close();
                    }};
        }
        case 11: {
            // One key, as a user edits a number in place: into the box, or
            // into whatever has the focus in its window.
            QPointer<QWidget> e = one(boxes);
            static const Qt::Key keys[] = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_0,     Qt::Key_1,
                                           Qt::Key_5,         Qt::Key_Minus,  Qt::Key_Period, Qt::Key_Comma,
                                           Qt::Key_Return,    Qt::Key_End};
            const Qt::Key k = keys[below(int(std::size(keys)))];
            const bool toFocus = below(4) == 0;
            target_ = where(e);
            const QString aim = toFocus ? QStringLiteral(" (to the focus)") : QString();
            return {target_ + QStringLiteral(" key ") + QKeySequence(k).toString() + aim, [this, e, k, toFocus] {
                        if (!e)
                            return;
                        QPointer<QWidget> to = e.data();
                        if (toFocus && e->window()->focusWidget())
                            to = e->window()->focusWidget();
                        else
                            activate(e);
                        if (!to)
                            return;
                        // No key writes a nan or inf: one in the box after
                        // it is what the user had typed there.
                        QPointer<QLineEdit> line = qobject_cast<QLineEdit*>(to.data());
                        if (auto* cb = qobject_cast<QComboBox*>(to.data()); cb && !line)
                            line = cb->lineEdit();
                        const bool own = line && showsNanOrInf(line->text());
                        QTest::keyClick(to, k);
                        if (own && line)
                            s_.typedTexts.insert(line->text().trimmed().toLower());
                    }};
        }
        default: {
            QPointer<QTimer> t = one(timers);
            target_ = where(t);
            return {target_ + QStringLiteral(" tick"), [this, t] {
                        if (t && t->isActive())
                            s_.timers.tick(t);
                    }};
        }
        }
    }

    Session& s_;
    WarningLog& warnings_;
    Watchdog& dog_;
    quint32 seed_;
    QString locale_;
    std::unique_ptr<LoopDriver> loops_;
    int inside_ = 0;
    std::deque<QString> trail_;
    QString target_;
    QSet<QString> shownBefore_;
    QSet<QString> distinct_;
};

QString describe(const Walk& w)
{
    QString out;
    for (const Walk::Report& r : w.reports)
        out += QStringLiteral("FINDING %1 at step %2 (%3)%4: %5\n  action: %6\n  last actions:\n%7")
                   .arg(r.finding.kind)
                   .arg(r.step)
                   .arg(w.header().section(QLatin1Char(','), 0, 0))
                   .arg(r.finding.where.isEmpty() ? QString() : QStringLiteral(" in ") + r.finding.where)
                   .arg(r.finding.seen, r.action, r.trail);
    return out;
}

} // namespace

class TestWalk : public QObject {
    Q_OBJECT

private slots:
    void nanOrInfText_data();
    void nanOrInfText();
    void realBoxesAnswered();
    void realBoxesYield();
    void crashTrail();
    void crashTrailChild();
    void walk_data();
    void walk();
    void longWalk();
};

namespace {
// What an answer line of the trail says was done.
bool noted(const QStringList& lines, const QString& what)
{
    return std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.contains(what); });
}
} // namespace

// Each of the program's real boxes is answered from inside its own loop,
// with every kind of answer; actions run in the box's loop first, boxes nest
// no deeper than the limit, and a question's Esc or close box, which answers
// nothing, is followed by another answer.
void TestWalk::realBoxesAnswered()
{
    WarningLog warnings;
    Session s(5, QStringLiteral("C"), AnsweringMessages::Random);
    Watchdog dog;
    QStringList lines;
    int inside = 0, insideBox = 0, deepest = 0, open = 0, nestedBad = 0;
    LoopDriver d(
        s.answers, s.rng,
        [&] {
            ++inside;
            if (qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                ++insideBox;
            // Half the actions raise a box of their own.
            if (s.rng.bounded(2)) {
                const int a = msgbox(QStringLiteral("inner"), MbYesNo, QStringLiteral("Inner"));
                nestedBad += a != IdYes && a != IdNo;
            }
        },
        [&](const QString& l) { lines << l; });
    // Counts the boxes open at once, the nested ones included.
    struct Counting : MessageService {
        LoopDriver& d;
        int& open;
        int& deepest;
        Counting(LoopDriver& d, int& open, int& deepest) : d(d), open(open), deepest(deepest) {}
        int show(const QString& t, int st, const QString& ti) override
        {
            deepest = qMax(deepest, ++open);
            const int a = d.show(t, st, ti);
            --open;
            return a;
        }
    } counting(d, open, deepest);
    setMessages(&counting);

    const int styles[] = {MbOkOnly | MbExclamation, MbAbortRetryIgnore | MbCritical, MbYesNo | MbQuestion,
                          MbAbortRetryIgnore | MbDefaultButton2};
    for (int i = 0; i < 200; ++i) {
        const int style = styles[i % 4];
        dog.arm(QStringLiteral("box %1 of style %2 not answered").arg(i).arg(style));
        d.beginStep();
        int a = 0;
        d.run([&] { a = msgbox(QStringLiteral("Division by zero"), style, QStringLiteral("Error")); });
        dog.disarm();
        QVERIFY2(AnsweringMessages::answersOf(style).contains(a), qPrintable(QString::number(a)));
        QVERIFY(!QApplication::activeModalWidget());
    }
    setMessages(&s.answers);
    QCOMPARE(nestedBad, 0);
    QVERIFY(insideBox > 50);
    QCOMPARE(insideBox, inside); // no yield here: every action ran in a box's loop
    QCOMPARE(deepest, d.limits.boxDepth);
    QCOMPARE(d.deepestBoxes, d.limits.boxDepth);
    for (const char* how : {"(click)", "(Enter)", "(Esc)", "(close box)", "nothing, the box stays", "Abort (",
                            "Retry (", "Ignore (", "Yes (", "No (", "OK ("})
        QVERIFY2(noted(lines, QLatin1String(how)), how);
    QVERIFY(d.escaped.isEmpty());
    QCOMPARE(warnings.take(), QStringList());
}

// While a handler yields to the event loop, the walk acts a few times in it,
// and no more than its budget for the step.
void TestWalk::realBoxesYield()
{
    Session s(6, QStringLiteral("C"), AnsweringMessages::Random);
    QStringList lines;
    int inside = 0;
    LoopDriver d(s.answers, s.rng, [&] { ++inside; }, [&](const QString& l) { lines << l; });
    setMessages(&d);
    int total = 0;
    for (int i = 0; i < 50; ++i) {
        d.beginStep();
        inside = 0;
        d.run([&] {
            // A computation yielding at every point.
            for (int k = 0; k < 200; ++k)
                QCoreApplication::processEvents();
        });
        QVERIFY(inside <= 2);
        total += inside;
        {
            // The walk's own event processing (bringing a window up) is not a
            // yield of the program.
            d.beginStep();
            inside = 0;
            d.run([&] {
                LoopDriver::Quiet quiet;
                for (int k = 0; k < 50; ++k)
                    QCoreApplication::processEvents();
            });
            QCOMPARE(inside, 0);
        }
    }
    setMessages(&s.answers);
    QVERIFY(total > 50);
    QVERIFY(noted(lines, QStringLiteral("(a yield)")));
}

// A walk that dies still tells where it was: the trail is printed from the
// fatal signal, before the handler that was there before ends the process.
void TestWalk::crashTrail()
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TAVRELO_WALK_DIE"), QStringLiteral("1"));
    p.setProcessEnvironment(env);
    p.start(QCoreApplication::applicationFilePath(), {QStringLiteral("crashTrailChild")});
    QVERIFY(p.waitForFinished(100000));
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    QVERIFY2(p.exitStatus() == QProcess::CrashExit || p.exitCode() != 0, qPrintable(err));
    QVERIFY2(err.contains(QLatin1String("FINDING crash")), qPrintable(err));
    QVERIFY2(err.contains(QLatin1String("seed 99, step 7")), qPrintable(err));
    QVERIFY2(err.contains(QLatin1String("#7 Form11.Combo2 key Backspace")), qPrintable(err));
}

void TestWalk::crashTrailChild()
{
    if (!qEnvironmentVariableIsSet("TAVRELO_WALK_DIE"))
        QSKIP("the process crashTrail starts and watches die");
    CrashTrail::install();
    CrashTrail::set(QStringLiteral("seed 99, step 7\n    #7 Form11.Combo2 key Backspace\n"));
    std::fflush(stdout);
    ::raise(SIGSEGV);
    QFAIL("still alive");
}

// What the walk flags as nan or inf in sight, and the words it must leave.
void TestWalk::nanOrInfText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("flagged");
    QTest::newRow("nan") << "nan" << true;
    QTest::newRow("NaN in a sentence") << "a level of NaN units" << true;
    QTest::newRow("inf") << "inf" << true;
    QTest::newRow("minus infinity percent") << "to be -Infinity% sure" << true;
    QTest::newRow("Infinity% chance") << "Infinity% chance" << true;
    QTest::newRow("platform's infinity") << "1.#INF" << true;
    QTest::newRow("number then inf") << "12inf" << true;
    QTest::newRow("information") << "More information" << false;
    QTest::newRow("infested") << "infested consignments" << false;
    QTest::newRow("infected") << "an infected unit" << false;
    QTest::newRow("Portuguese word") << "infância" << false;
    QTest::newRow("banana") << "banana" << false;
    QTest::newRow("plain number") << "1,000.5" << false;
}

void TestWalk::nanOrInfText()
{
    QFETCH(QString, text);
    QFETCH(bool, flagged);
    QCOMPARE(showsNanOrInf(text), flagged);
}

void TestWalk::walk_data()
{
    QTest::addColumn<quint32>("seed");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("steps");
    QTest::addColumn<bool>("realBoxes");
    const int steps = scaled(envInt("TAVRELO_WALK_CI_STEPS", 400));
    const int real = scaled(envInt("TAVRELO_WALK_CI_REAL_STEPS", 300));
    // Under a scale factor (TAVRELO_WALK_RATIO, as QT_SCALE_FACTOR), short
    // walks over the pictures drawn at that ratio, instead of the rows below.
    if (const QString scale = qEnvironmentVariable("TAVRELO_WALK_RATIO"); !scale.isEmpty()) {
        QTest::addRow("seed 7, English desktop, at %sx", qPrintable(scale)) << 7u << QStringLiteral("C") << steps
                                                                           << false;
        QTest::addRow("seed 2718, pt_BR desktop, real boxes, at %sx", qPrintable(scale))
            << 2718u << QStringLiteral("pt_BR") << real << true;
        return;
    }
    const quint32 seeds[] = {20240611u, 7u, 1234567u, 31337u};
    for (quint32 seed : seeds) {
        QTest::addRow("seed %u, English desktop", seed) << seed << QStringLiteral("C") << steps << false;
        QTest::addRow("seed %u, pt_BR desktop", seed + 1) << seed + 1 << QStringLiteral("pt_BR") << steps << false;
    }
    const quint32 realSeeds[] = {2718u, 90210u};
    for (quint32 seed : realSeeds) {
        QTest::addRow("seed %u, English desktop, real boxes", seed) << seed << QStringLiteral("C") << real << true;
        QTest::addRow("seed %u, pt_BR desktop, real boxes", seed + 1) << seed + 1 << QStringLiteral("pt_BR") << real
                                                                      << true;
    }
    // Walks that once closed a window under its own key press or run. The
    // old code crashed on them only in the sanitizer build; the release
    // walk went through them unharmed. Only the sanitizer pass of this test
    // guards them, so that pass must stay.
    for (quint32 seed : {311u, 20u})
        QTest::addRow("seed %u, pt_BR desktop, real boxes", seed) << seed << QStringLiteral("pt_BR") << real << true;
}

void TestWalk::walk()
{
    QFETCH(quint32, seed);
    QFETCH(QString, locale);
    QFETCH(int, steps);
    QFETCH(bool, realBoxes);
    if (const QString scale = qEnvironmentVariable("TAVRELO_WALK_RATIO"); !scale.isEmpty())
        QCOMPARE(qApp->devicePixelRatio(), scale.toDouble());

    WarningLog warnings;
    Watchdog dog;
    Session s(seed, locale, AnsweringMessages::Random);
    Walk w(s, warnings, dog, seed, locale, realBoxes);
    w.run(steps, false);
    if (!w.reports.isEmpty()) {
        // The whole trail: QTest cuts long messages short.
        std::fputs(qPrintable(describe(w)), stdout);
        std::fflush(stdout);
    }
    QVERIFY2(w.reports.isEmpty(), qPrintable(w.reports.isEmpty() ? QString() : w.reports[0].finding.kind + QStringLiteral(": ") + w.reports[0].finding.seen.left(200)));
    QVERIFY(w.steps == steps);
}

void TestWalk::longWalk()
{
    if (!qEnvironmentVariableIsSet("TAVRELO_WALK_SEED"))
        QSKIP("a long walk runs when TAVRELO_WALK_SEED is set (make walk)");
    QList<quint32> seeds;
    for (const QString& p : qEnvironmentVariable("TAVRELO_WALK_SEED").split(QLatin1Char(','), Qt::SkipEmptyParts))
        seeds << p.trimmed().toUInt();
    QVERIFY(!seeds.isEmpty());
    const int steps = envInt("TAVRELO_WALK_STEPS", 50000);
    const QString locales = qEnvironmentVariable("TAVRELO_WALK_LOCALE", QStringLiteral("both"));
    const bool realBoxes = envInt("TAVRELO_WALK_REAL_BOXES", 0) != 0;

    WarningLog warnings;
    Watchdog dog;
    QElapsedTimer clock;
    clock.start();
    int total = 0, findings = 0, distinct = 0, restarts = 0, boxes = 0, inside = 0, deepest = 0;
    QSet<QString> reached;
    qint64 slowestMs = 0;
    QString slowest;
    for (int i = 0; i < seeds.size(); ++i) {
        const QString locale = locales == QLatin1String("both") ? (i % 2 ? QStringLiteral("pt_BR") : QStringLiteral("C"))
                                                                 : locales;
        Session s(seeds[i], locale, AnsweringMessages::Random);
        Walk w(s, warnings, dog, seeds[i], locale, realBoxes);
        w.run(steps, true);
        const QString found = describe(w);
        std::fputs(qPrintable(found), stdout);
        std::printf("seed %u (%s): %d steps, %d fresh starts, %d boxes, %d findings (%d distinct)\n", seeds[i],
                    qPrintable(locale), w.steps, w.restarts, s.answers.total, w.findings, int(w.reports.size()));
        std::fflush(stdout);
        total += w.steps;
        findings += w.findings;
        distinct += int(w.reports.size());
        restarts += w.restarts;
        boxes += s.answers.total;
        if (w.loops()) {
            inside += w.loops()->nestedActions;
            deepest = qMax(deepest, w.loops()->deepestBoxes);
        }
        reached += w.windowsReached;
        if (w.slowestMs > slowestMs) {
            slowestMs = w.slowestMs;
            slowest = w.header().section(QLatin1Char(','), 0, 0) + QStringLiteral(": ") + w.slowest;
        }
    }
    const double seconds = clock.elapsed() / 1000.0;
    QStringList names(reached.begin(), reached.end());
    names.sort();
    std::printf("WALK FIGURES: %d steps over %d seeds, %d fresh starts, %d boxes answered, %d findings (%d distinct), "
                "%.1f s, %.0f steps per second\nwindows reached (%d): %s\nslowest action: %lld ms (%s)\n",
                total, int(seeds.size()), restarts, boxes, findings, distinct, seconds, total / qMax(seconds, 0.001),
                int(names.size()), qPrintable(names.join(QLatin1Char(' '))), slowestMs, qPrintable(slowest));
    if (realBoxes)
        std::printf("real boxes: %d actions taken inside a box or a yield, at most %d boxes open at once\n", inside,
                    deepest);
    std::fflush(stdout);
    QCOMPARE(findings, 0);
}

TAV_TEST_MAIN(TestWalk)
#include "tst_walk.moc"
