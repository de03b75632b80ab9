#pragma once
// What the random walk and the hostile sweep share: the hostile inputs, the
// scripted desktop (message boxes answered at random or with Ignore, file and
// printer dialogs cancelled, no browser, a clock and a generator fixed by the
// seed, the windows' timers ticking only when the walk says so), a watchdog
// for a loop that never returns, the capture of Qt's warnings, and the checks
// made after every user action.

#include "../output/outputkit.h"
#include "testkit.h"

#include "common/clock.h"
#include "common/random.h"
#include "common/yields.h"
#include "platform/chart.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/desktop.h"
#include "platform/grid.h"
#include "platform/slider.h"
#include "shell/indice.h"
#include "shell/topics.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QHash>
#include <QLocale>
#include <QMenuBar>
#include <QPointer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QSlider>
#include <QTableWidget>
#include <QTimer>
#include <QTimerEvent>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <pthread.h>
#include <time.h>

namespace tav::robust {

// --- Inputs ------------------------------------------------------------------

inline QString longNumber()
{
    QString s;
    s.reserve(10000);
    for (int i = 0; i < 1000; ++i)
        s += QStringLiteral("1234567890");
    return s;
}

// What a hostile user types: nothing, signs alone, extremes, non-numbers,
// both decimal signs, stray text and blanks, an endless number, an emoji.
inline const QStringList& hostileCorpus()
{
    static const QStringList c = {QString(),
                                  QStringLiteral("-"),
                                  QStringLiteral("0"),
                                  QStringLiteral("-5"),
                                  QStringLiteral("1e308"),
                                  QStringLiteral("-1e308"),
                                  QStringLiteral("1e-320"),
                                  QStringLiteral("nan"),
                                  QStringLiteral("inf"),
                                  QStringLiteral("1,000"),
                                  QStringLiteral("0,95"),
                                  QStringLiteral("0.5x"),
                                  QStringLiteral(" 12 "),
                                  longNumber(),
                                  QString::fromUtf8("\xF0\x9F\x98\x80")};
    return c;
}

// An input as the trail prints it.
inline QString shownInput(const QString& s)
{
    if (s.size() > 40)
        return QStringLiteral("<%1 digits>").arg(s.size());
    return QLatin1Char('"') + s + QLatin1Char('"');
}

// Every window of the program, the start page first.
inline const QStringList& windowNames()
{
    static const QStringList n = {"Indice",    "Form1",     "Form2",     "Form3",     "Form4",      "Form5",
                                  "Form6",     "Form7",     "Form8",     "Form9",     "Form10",     "Form10a",
                                  "Form11",    "Form12",    "FGrafico1", "FGrafico2", "FGrafico3",  "FGrafico4",
                                  "FGrafico5", "FGrafico6", "FGrafico12", "FResultSim", "FSimula1", "frmAbout"};
    return n;
}

// --- What must never be shown ---------------------------------------------------

// "nan", "inf", "infinity" as a word of their own or a number's text
// ("-Infinity%", "1.#INF"), not inside a word ("information", "infested").
inline const QRegularExpression& nanOrInf()
{
    static const QRegularExpression re(QStringLiteral("(?<!\\p{L})(?:nan|inf(?:inity)?)(?!\\p{L})"),
                                       QRegularExpression::CaseInsensitiveOption);
    return re;
}
inline bool showsNanOrInf(const QString& text) { return nanOrInf().match(text).hasMatch(); }

// The part of a long text around its first nan or inf.
inline QString aroundNanOrInf(const QString& text)
{
    const qsizetype at = nanOrInf().match(text).capturedStart();
    const qsizetype from = qMax<qsizetype>(0, at - 100);
    return (from > 0 ? QStringLiteral("...") : QString()) + text.mid(from, 200)
           + (from + 200 < text.size() ? QStringLiteral("...") : QString());
}

// The name a control is known by: inner parts of a combo, slider, grid or
// chart answer with their owner's name.
inline QString controlName(const QObject* o)
{
    while (o && o->parent()
           && (o->objectName().isEmpty() || o->objectName() == QLatin1String("box")
               || o->objectName() == QLatin1String("slider") || o->objectName() == QLatin1String("table")
               || o->objectName() == QLatin1String("view") || o->objectName().startsWith(QLatin1String("qt_"))))
        o = o->parent();
    return o ? o->objectName() : QString();
}

inline FormWidget* formOf(const QObject* o)
{
    for (; o; o = o->parent())
        if (auto* f = qobject_cast<const FormWidget*>(o))
            return const_cast<FormWidget*>(f);
    return nullptr;
}

inline QString windowOf(const QObject* o)
{
    FormWidget* f = formOf(o);
    return f ? f->objectName() : QStringLiteral("?");
}

// The windows on screen, in the program's order.
inline QList<FormWidget*> shownWindows()
{
    QList<FormWidget*> out;
    for (Form* f : Form::all())
        if (f->visible())
            out << f->widgetIfLoaded();
    return out;
}

struct Shown {
    QString where; // "Window.Control"
    QString text;
};

// Every nan or inf in sight: labels, boxes, combo entries, grid cells,
// buttons, slider tips, chart titles and labels, window titles. A text the
// user typed and that the program only echoes is not the program's.
inline QList<Shown> nanOrInfShown(const QSet<QString>& typed)
{
    QList<Shown> out;
    auto check = [&](const QObject* o, const QString& text) {
        if (!showsNanOrInf(text) || typed.contains(text.trimmed().toLower()))
            return;
        out.append({windowOf(o) + QLatin1Char('.') + controlName(o), aroundNanOrInf(text)});
    };
    for (FormWidget* w : shownWindows()) {
        check(w, w->windowTitle());
        for (QWidget* c : w->findChildren<QWidget*>()) {
            if (!c->isVisible())
                continue;
            if (auto* l = qobject_cast<QLabel*>(c))
                check(l, l->text());
            else if (auto* e = qobject_cast<QLineEdit*>(c))
                check(e, e->text());
            else if (auto* b = qobject_cast<QAbstractButton*>(c))
                check(b, b->text());
            else if (auto* cb = qobject_cast<QComboBox*>(c)) {
                for (int i = 0; i < cb->count(); ++i)
                    check(cb, cb->itemText(i));
            } else if (auto* g = qobject_cast<Grid*>(c)) {
                QTableWidget* t = g->table();
                for (int r = 0; r < t->rowCount(); ++r)
                    for (int k = 0; k < t->columnCount(); ++k)
                        if (const QTableWidgetItem* it = t->item(r, k))
                            check(g, it->text());
            } else if (auto* s = qobject_cast<Slider*>(c)) {
                check(s, s->shownTip());
            } else if (auto* ch = qobject_cast<Chart*>(c)) {
                check(ch, ch->graphTitle());
                check(ch, ch->leftTitle());
                check(ch, ch->bottomTitle());
                for (const auto& l : ch->xLabels())
                    check(ch, l.second);
            }
        }
    }
    return out;
}

// --- The scripted desktop ----------------------------------------------------------

// Answers every box with one of the buttons it shows: at random (seeded), or
// Ignore (Yes on a question, OK on a notice). Keeps the boxes of the current
// step, each with the user action that raised it. Real boxes (see
// loopdriver.h) are only recorded here: open() before the box shows, close()
// with the answer it got.
class AnsweringMessages : public MessageService {
public:
    enum Mode { Random, Ignore };
    struct Box {
        QString title;
        QString text;
        int style;
        int answer; // 0 while the box is open
        int userAction;
    };

    AnsweringMessages(QRandomGenerator& rng, Mode mode) : rng_(rng), mode_(mode) {}

    int show(const QString& text, int style, const QString& title) override
    {
        const QList<int> buttons = answersOf(style);
        int answer;
        if (mode_ == Ignore)
            answer = buttons.contains(IdIgnore) ? IdIgnore : buttons.first();
        else
            answer = buttons[int(rng_.bounded(quint32(buttons.size())))];
        // A run of Retries on a failure that stays must end some time.
        if (answer == IdRetry && retryRun(title, text) >= 20)
            answer = buttons.contains(IdIgnore) ? IdIgnore : buttons.last();
        close(open(text, style, title), answer);
        return answer;
    }

    // The answers a box of `style` offers, in the order of its buttons.
    static QList<int> answersOf(int style)
    {
        switch (style & 7) {
        case 1: return {IdOk, 2}; // OK, Cancel
        case MbAbortRetryIgnore: return {IdAbort, IdRetry, IdIgnore};
        case 3: return {IdYes, IdNo, 2};
        case MbYesNo: return {IdYes, IdNo};
        case 5: return {IdRetry, 2};
        default: return {IdOk};
        }
    }

    int open(const QString& text, int style, const QString& title)
    {
        action.append({title, text, style, 0, userAction_});
        ++total;
        return int(action.size()) - 1;
    }
    void close(int box, int answer) { action[box].answer = answer; }

    // A new user action begins within the step (each keystroke of a typed
    // text is one): the counts below are per user action. Returns the one it
    // replaces, for an action taken while another waits in a nested loop.
    int newAction()
    {
        const int was = userAction_;
        userAction_ = ++lastAction_;
        return was;
    }
    void resumeAction(int a) { userAction_ = a; }
    void clearAction()
    {
        action.clear();
        userAction_ = lastAction_ = 0;
    }

    // The boxes that count in the user action that had most: a box that
    // repeats the one its action had just answered Retry is that Retry's
    // repeat.
    int counted() const
    {
        QHash<int, int> n;
        int most = 0;
        for (int i = 0; i < action.size(); ++i)
            if (!isRetryRepeat(i))
                most = qMax(most, ++n[action[i].userAction]);
        return most;
    }
    bool isRetryRepeat(int i) const
    {
        int j = i - 1;
        while (j >= 0 && action[j].userAction != action[i].userAction)
            --j;
        return j >= 0 && action[j].answer == IdRetry && action[j].title == action[i].title
               && action[j].text == action[i].text;
    }
    // The box repeated most often within one user action (not counting
    // Retry's repeats) and how often it came.
    std::pair<int, const Box*> mostRepeated() const
    {
        std::pair<int, const Box*> best{0, nullptr};
        QHash<QString, int> n;
        for (int i = 0; i < action.size(); ++i) {
            if (isRetryRepeat(i))
                continue;
            const int c = ++n[QString::number(action[i].userAction) + QChar(0) + action[i].title + QChar(0)
                              + action[i].text];
            if (c > best.first)
                best = {c, &action[i]};
        }
        return best;
    }
    QString summary() const
    {
        QStringList s;
        for (int i = 0; i < action.size() && i < 3; ++i)
            s << QStringLiteral("[%1: %2 -> %3]")
                     .arg(action[i].title, QString(action[i].text).replace(QChar(13), QLatin1Char('|')).left(60),
                          answerName(action[i].answer));
        if (action.size() > 3)
            s << QStringLiteral("(+%1 boxes)").arg(action.size() - 3);
        return s.join(QLatin1Char(' '));
    }
    static QString answerName(int a)
    {
        switch (a) {
        case IdOk: return QStringLiteral("OK");
        case 2: return QStringLiteral("Cancel");
        case IdAbort: return QStringLiteral("Abort");
        case IdRetry: return QStringLiteral("Retry");
        case IdIgnore: return QStringLiteral("Ignore");
        case IdYes: return QStringLiteral("Yes");
        case IdNo: return QStringLiteral("No");
        default: return QString::number(a);
        }
    }
    // How many times in a row the box was just answered Retry.
    int retryRun(const QString& title, const QString& text) const
    {
        int n = 0;
        for (qsizetype i = action.size() - 1; i >= 0; --i) {
            if (action[i].answer == 0)
                continue; // still open: an outer box
            if (action[i].answer != IdRetry || action[i].title != title || action[i].text != text)
                break;
            ++n;
        }
        return n;
    }

    QList<Box> action;
    int total = 0;

private:
    QRandomGenerator& rng_;
    Mode mode_;
    int userAction_ = 0;
    int lastAction_ = 0;
};

// File and printer dialogs cancelled, as a user who changes their mind.
class CancellingDialogs : public Dialogs {
public:
    std::optional<QString> showSave(QWidget*, const SaveRequest&) override
    {
        ++asked;
        return std::nullopt;
    }
    bool showPrinter(QWidget*, int, const QString&, PrintChoice&) override
    {
        ++asked;
        return false;
    }
    int asked = 0;
};

// No browser, mail program or other program ever starts.
class QuietDesktop : public Desktop {
public:
    QString findProgram(const QStringList&) const override { return QString(); }
    bool startDetached(const QString&) const override { return false; }
    bool openUrl(const QUrl&) const override { return false; }
};

// A clock that moves a little at every reading, the same way every run.
class SteppingClock : public Clock {
public:
    double timer() const override { return seconds_ += 0.015625; }
    QDateTime now() const override
    {
        return QDateTime(QDate(2024, 6, 11), QTime(10, 0)).addMSecs(qint64(seconds_ * 1000));
    }

private:
    mutable double seconds_ = 36000.0;
};

// The windows' interval timers fire only when ticked (the fixture holds the
// gate): what runs then does not depend on how fast the machine is, so a
// seed always walks the same way.
using test::TimerGate;

// --- Qt's warnings ---------------------------------------------------------------

// Every warning Qt gives while installed, but the offscreen platform's notes
// on what it cannot do.
class WarningLog {
public:
    WarningLog()
    {
        self() = this;
        previous_ = qInstallMessageHandler(&WarningLog::handle);
    }
    ~WarningLog()
    {
        qInstallMessageHandler(previous_);
        self() = nullptr;
    }
    QStringList take()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        QStringList out;
        out.swap(warnings_);
        return out;
    }
    static bool platformNote(const QString& msg) { return msg.startsWith(QLatin1String("This plugin does not support")); }

private:
    static WarningLog*& self()
    {
        static WarningLog* s = nullptr;
        return s;
    }
    static void handle(QtMsgType type, const QMessageLogContext& ctx, const QString& msg)
    {
        WarningLog* log = self();
        if ((type == QtWarningMsg || type == QtCriticalMsg) && platformNote(msg))
            return;
        if (log && (type == QtWarningMsg || type == QtCriticalMsg)) {
            std::lock_guard<std::mutex> lock(log->mutex_);
            log->warnings_ << (ctx.category && qstrcmp(ctx.category, "default") != 0
                                   ? QStringLiteral("[%1] ").arg(QLatin1String(ctx.category))
                                   : QString())
                                  + msg;
        }
        if (log && log->previous_)
            log->previous_(type, ctx, msg);
    }
    QtMessageHandler previous_ = nullptr;
    std::mutex mutex_;
    QStringList warnings_;
};

// --- The watchdog ----------------------------------------------------------------

// A loop that never returns cannot be failed from inside: another thread
// watches each action and, past the limit, prints what led there and ends
// the process. A loop that spins is measured by the CPU time of the thread
// that acts, so other processes competing for the core (ctest's parallel
// jobs, a machine held to one core) do not count against it; a loop that
// waits for nothing uses no CPU and is caught by a wall-clock limit far above
// what any action takes on the slowest machine, yet below ctest's timeout so
// the trail is still printed.
class Watchdog {
public:
    Watchdog()
    {
        limit_ = std::chrono::milliseconds(qEnvironmentVariableIsSet("TAVRELO_WATCHDOG_SECONDS")
                                               ? int(qEnvironmentVariable("TAVRELO_WATCHDOG_SECONDS").toDouble() * 1000)
                                               : 5000);
        wallLimit_ = std::max(limit_ * 12, std::chrono::milliseconds(60000));
        if (pthread_getcpuclockid(pthread_self(), &cpuClock_) != 0)
            cpuClock_ = CLOCK_PROCESS_CPUTIME_ID;
        thread_ = std::thread([this] { watch(); });
    }
    ~Watchdog()
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        cv_.notify_all();
        thread_.join();
    }
    // `context` is printed should the action not end in time.
    void arm(const QString& context)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        context_ = context.toStdString();
        cpuStart_ = cpuNow();
        wallStart_ = std::chrono::steady_clock::now();
        armed_ = true;
    }
    void disarm()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        armed_ = false;
    }
    double limitSeconds() const { return limit_.count() / 1000.0; }

private:
    std::chrono::nanoseconds cpuNow() const
    {
        timespec ts{};
        clock_gettime(cpuClock_, &ts);
        return std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec);
    }
    void watch()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!stop_) {
            cv_.wait_for(lock, std::chrono::milliseconds(100));
            if (!armed_)
                continue;
            const auto cpu = cpuNow() - cpuStart_;
            const auto wall = std::chrono::steady_clock::now() - wallStart_;
            if (cpu > limit_ || wall > wallLimit_) {
                std::fprintf(stderr,
                             "\nFINDING freeze: the action did not return within %.1f s of its own CPU time "
                             "or %.0f s in all (the event loop is stalled; %.1f s CPU, %.1f s in all)\n%s\n",
                             limit_.count() / 1000.0, wallLimit_.count() / 1000.0,
                             std::chrono::duration<double>(cpu).count(), std::chrono::duration<double>(wall).count(),
                             context_.c_str());
                std::fflush(stderr);
                std::fflush(stdout);
                std::_Exit(3);
            }
        }
    }
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::chrono::milliseconds limit_;
    std::chrono::milliseconds wallLimit_;
    clockid_t cpuClock_ = CLOCK_PROCESS_CPUTIME_ID;
    std::chrono::nanoseconds cpuStart_{};
    std::chrono::steady_clock::time_point wallStart_;
    std::string context_;
    bool armed_ = false;
    bool stop_ = false;
};

// --- A session --------------------------------------------------------------------

// One seeded run of the program on the scripted desktop, in a given locale.
class Session : public test::ProgramFixture {
public:
    Session(quint32 seed, const QString& locale, AnsweringMessages::Mode mode)
        : rng(seed), answers(rng, mode), program(seed & 0xFFFFFF), locale_(QLocale())
    {
        QLocale::setDefault(QLocale(locale));
        setMessages(&answers);
        setDialogs(&dialogs);
        setPrinter(&paper);
        setClipboard(&clip);
        setDesktop(&desk);
        setClock(&clock);
        setRng(&program);
    }
    ~Session()
    {
        resetProgram();
        setMessages(&msgs);
        setDialogs(nullptr);
        setPrinter(nullptr);
        setClipboard(nullptr);
        setDesktop(nullptr);
        setClock(nullptr);
        setRng(nullptr);
        QLocale::setDefault(locale_);
    }

    // Back to a fresh start on the start page (after the program ended or
    // nothing is left on screen).
    void restart()
    {
        resetProgram();
        typedTexts.clear();
        indice().show();
        settle();
    }

    // Lets the event loop run what the action posted: the checks of a box
    // left, deferred unloads.
    static void settle()
    {
        for (int i = 0; i < 2; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    // Types as a user does: selects all, deletes, types. A long text or one
    // outside ASCII comes in at once, as pasted.
    void type(QPointer<QLineEdit> box, const QString& text)
    {
        typedTexts.insert(text.trimmed().toLower());
        // A nan or inf the user typed stays theirs, whatever else ends up
        // beside it in the box: an action taken while a keystroke's box was
        // up may have typed into the same box.
        if (showsNanOrInf(text))
            nanTyped.append(box);
        struct Mine {
            Session& s;
            const QPointer<QLineEdit>& box;
            ~Mine()
            {
                if (box && s.nanTyped.contains(box))
                    s.typedTexts.insert(box->text().trimmed().toLower());
            }
        } mine{*this, box};
        box->setFocus(Qt::MouseFocusReason);
        box->selectAll();
        if (byKeys)
            QTest::keyClick(box.data(), Qt::Key_Delete);
        else
            box->del();
        if (!box)
            return;
        bool ascii = text.size() <= 16;
        for (QChar c : text)
            ascii = ascii && c.unicode() < 128;
        if (!ascii) {
            answers.newAction();
            box->insert(text);
            return;
        }
        for (QChar c : text) {
            if (!box)
                return;
            answers.newAction();
            QTest::keyClick(box.data(), c.toLatin1());
        }
    }

    // Before each action: nothing left of the last one.
    void beginAction()
    {
        nanTyped.clear();
        answers.clearAction();
        paper.documents.clear();
    }

    QRandomGenerator rng;
    AnsweringMessages answers;
    CancellingDialogs dialogs;
    ImagePrinter paper;
    MemoryClipboard clip;
    QuietDesktop desk;
    SteppingClock clock;
    LcgRandom program;
    // The graphs yield at every point, not when a millisecond has passed:
    // what runs inside a computation is the same on any machine.
    ScopedYieldPace pace{YieldPace::atEvery(1)};
    QSet<QString> typedTexts;
    QList<QPointer<QLineEdit>> nanTyped; // boxes the user typed a nan or inf into, this step
    // The old text goes with a Delete key press, not a direct edit.
    bool byKeys = false;

private:
    QLocale locale_;
};

// What went wrong after one action.
struct Finding {
    QString kind; // "storm", "nan-inf", "qt-warning"
    QString where;
    QString seen;
};

// The checks made after every action: Qt's warnings, boxes (more than
// `maxBoxes`, or the same box twice when `oneEach`), nan or inf in sight.
// `shownBefore` holds what was already in sight, so a text shown once counts
// once.
inline QList<Finding> checkAction(Session& s, WarningLog& warnings, int maxBoxes, bool oneEach,
                                  QSet<QString>& shownBefore)
{
    QList<Finding> out;
    for (const QString& w : warnings.take())
        out.append({QStringLiteral("qt-warning"), QString(), w});
    const int boxes = s.answers.counted();
    if (boxes > maxBoxes)
        out.append({QStringLiteral("storm"), QString(),
                    QStringLiteral("%1 boxes for one action: %2").arg(boxes).arg(s.answers.summary())});
    else if (oneEach) {
        const auto [n, box] = s.answers.mostRepeated();
        if (n > 1)
            out.append({QStringLiteral("storm"), QString(),
                        QStringLiteral("the same box %1 times in one action: [%2: %3]")
                            .arg(n)
                            .arg(box->title, QString(box->text).replace(QChar(13), QLatin1Char('|')))});
    }
    QSet<QString> now;
    for (const Shown& sh : nanOrInfShown(s.typedTexts)) {
        const QString key = sh.where + QChar(0) + sh.text;
        now.insert(key);
        if (!shownBefore.contains(key))
            out.append({QStringLiteral("nan-inf"), sh.where, QLatin1Char('"') + sh.text + QLatin1Char('"')});
    }
    shownBefore = now;
    return out;
}

// Test size knobs: a whole number from the environment, else `fallback`.
inline int envInt(const char* name, int fallback)
{
    bool ok = false;
    const int v = qEnvironmentVariableIntValue(name, &ok);
    return ok ? v : fallback;
}

// CI's walk length times TAVRELO_WALK_SCALE (a factor, default 1).
inline int scaled(int steps)
{
    const QString f = qEnvironmentVariable("TAVRELO_WALK_SCALE");
    bool ok = false;
    const double k = f.toDouble(&ok);
    return ok && k > 0 ? qMax(1, int(steps * k)) : steps;
}

} // namespace tav::robust
