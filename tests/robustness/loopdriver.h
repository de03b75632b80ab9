#pragma once
// The walk with real message boxes. Every box is the program's own
// QMessageBox in its own event loop, answered from a timer that fires inside
// that loop: one of its buttons, Enter, Esc or the close box. Before it
// answers, and while a handler yields to the event loop, the walk goes on
// acting as input queued behind the box would (clicks, menu items,
// navigation, typing), boxes nested a few deep at most and a few actions a
// step, so every step ends.
//
// A process that dies cannot report from inside: CrashTrail keeps the seed
// and the last actions rendered and writes them out from a fatal signal or a
// sanitizer's report.

#include "robustkit.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstring>
#include <functional>
#include <unistd.h>
#include <vector>

extern "C" void __sanitizer_set_death_callback(void (*callback)(void)) __attribute__((weak));

namespace tav::robust {

// --- The trail in a crash ------------------------------------------------------

class CrashTrail {
public:
    // What to print should the process die now.
    static void set(const QString& text)
    {
        const QByteArray b = text.toUtf8();
        Buffer& buf = buffer();
        buf.length = 0;
        std::atomic_signal_fence(std::memory_order_seq_cst);
        const size_t n = std::min(size_t(b.size()), sizeof buf.text);
        std::memcpy(buf.text, b.constData(), n);
        std::atomic_signal_fence(std::memory_order_seq_cst);
        buf.length = n;
    }
    static void clear() { buffer().length = 0; }

    // Once a process. A fatal signal prints the trail and goes on to the
    // handler that was there before (the sanitizer's or the test library's).
    static void install()
    {
        static bool done = false;
        if (done)
            return;
        done = true;
        for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
            struct sigaction sa = {};
            sa.sa_sigaction = &CrashTrail::onSignal;
            sa.sa_flags = SA_SIGINFO | SA_ONSTACK; // the test library's stack for an overflow, if it has one
            sigemptyset(&sa.sa_mask);
            sigaction(sig, &sa, &previous()[sig]);
        }
        if (__sanitizer_set_death_callback)
            __sanitizer_set_death_callback(&CrashTrail::print);
    }

private:
    struct Buffer {
        char text[32768];
        volatile size_t length = 0;
    };
    static Buffer& buffer()
    {
        static Buffer b;
        return b;
    }
    static struct sigaction* previous()
    {
        static struct sigaction p[NSIG];
        return p;
    }
    static void print()
    {
        static const char head[] = "\nFINDING crash: the process is dying. Where the walk was:\n";
        const Buffer& buf = buffer();
        const size_t n = buf.length;
        if (!n)
            return;
        ssize_t r = ::write(2, head, sizeof head - 1);
        r = ::write(2, buf.text, n);
        r = ::write(2, "\n", 1);
        (void)r;
    }
    static void onSignal(int sig, siginfo_t* info, void*)
    {
        print();
        buffer().length = 0;
        // On to the handler from before: a fault comes again where it was
        // on return, a sent signal is sent again.
        sigaction(sig, &previous()[sig], nullptr);
        if (!info || info->si_code <= 0)
            ::raise(sig);
    }
};

// --- The boxes and the loops -----------------------------------------------------

class LoopDriver : public MessageService {
public:
    struct Limits {
        int boxDepth = 3;    // boxes open at once
        int actionDepth = 4; // actions running at once, the step's own included
        int perStep = 8;     // actions taken inside loops during one step
    };

    // `act` takes one action of the walk from inside a loop; `note` adds a
    // line to the trail.
    LoopDriver(AnsweringMessages& log, QRandomGenerator& rng, std::function<void()> act,
               std::function<void(const QString&)> note)
        : log_(log), rng_(rng), act_(std::move(act)), note_(std::move(note))
    {
        current() = this;
    }
    ~LoopDriver() override
    {
        if (current() == this)
            current() = nullptr;
    }

    // Shows the program's real box; the timer of its frame answers it.
    int show(const QString& text, int style, const QString& title) override
    {
        const int i = log_.open(text, style, title);
        note_(indent() + QStringLiteral("box [%1: %2]").arg(title, flat(text)));
        int answer = 0;
        {
            Frame f(this, true);
            deepestBoxes = std::max(deepestBoxes, boxesOpen());
            MessageService* was = &messages();
            setMessages(nullptr);
            MessageService& qt = messages();
            setMessages(was);
            answer = qt.show(text, style, title);
        }
        log_.close(i, answer);
        ++boxes;
        return answer;
    }

    // Runs one action of the walk; the loops it opens get input too.
    void run(const std::function<void()>& action)
    {
        Frame f(this, false);
        action();
    }

    // A new step of the walk: its budget of actions inside loops.
    void beginStep() { left_ = limits.perStep; }

    // Indentation for the trail: how deep the loops are.
    QString indent() const { return QString(int(2 * stack_.size()), QLatin1Char(' ')); }

    // While the walk itself lets the event loop run (bringing a window to the
    // front), no input is queued there; a box the program opens meanwhile is
    // answered all the same.
    struct Quiet {
        Quiet() : was(quietAt()) { quietAt() = current() ? int(current()->stack_.size()) : -1; }
        ~Quiet() { quietAt() = was; }
        int was;
    };
    // True while an action runs from inside a loop: it is input queued
    // behind a box or a yield, which brings no window to the front.
    static bool nested() { return nesting() > 0; }

    Limits limits;
    int boxes = 0;
    int nestedActions = 0;
    int deepestBoxes = 0;
    QStringList escaped; // errors that came out of an action taken inside a loop

private:
    struct Frame {
        Frame(LoopDriver* d, bool box) : d(d), box(box)
        {
            d->stack_.push_back(this);
            timer.setInterval(0);
            QObject::connect(&timer, &QTimer::timeout, &timer, [this] { this->d->tick(this); });
            timer.start();
        }
        ~Frame()
        {
            timer.stop();
            d->stack_.pop_back();
        }
        LoopDriver* d;
        bool box;
        int left = -1;  // a box: actions still to take before answering
        int wait = -1;  // a yield: yields to let pass before the next action
        int taken = 0;  // actions taken inside this frame's loops
        bool noOp = false; // Esc or the close box left this box up
        QTimer timer;
    };

    static LoopDriver*& current()
    {
        static LoopDriver* d = nullptr;
        return d;
    }
    // The depth of the frames whose loop the walk runs itself (-1: none).
    static int& quietAt()
    {
        static int q = -1;
        return q;
    }
    static int& nesting()
    {
        static int n = 0;
        return n;
    }
    static QString flat(const QString& s) { return QString(s).replace(QChar(13), QLatin1Char('|')).left(80); }
    int below(int n) { return n <= 0 ? 0 : int(rng_.bounded(quint32(n))); }
    int boxesOpen() const { return int(std::count_if(stack_.begin(), stack_.end(), [](Frame* f) { return f->box; })); }
    int actionsRunning() const { return int(stack_.size()) - boxesOpen(); }

    // Each frame's timer fires in whatever loop runs; only the innermost
    // frame's acts, the others wait for their loop to come back.
    void tick(Frame* f)
    {
        if (stack_.empty() || stack_.back() != f || (!f->box && int(stack_.size()) == quietAt()))
            return;
        // Nothing may leave a timer's slot: an error of a queued action is a
        // finding, not a jump through the event loop.
        try {
            if (f->box)
                boxTick(f);
            else
                yieldTick(f);
        } catch (const std::exception& e) {
            escaped << QString::fromLocal8Bit(e.what());
        } catch (...) {
            escaped << QStringLiteral("an exception of unknown type");
        }
    }

    void actInside(Frame* f)
    {
        --left_;
        ++f->taken;
        ++nestedActions;
        const int was = log_.newAction();
        ++nesting();
        struct Back {
            AnsweringMessages& log;
            int was;
            ~Back()
            {
                --nesting();
                log.resumeAction(was);
            }
        } back{log_, was};
        act_();
    }

    void boxTick(Frame* f)
    {
        QPointer<QMessageBox> box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return; // not up yet
        if (f->left < 0) {
            // A third of the boxes answered at once, the others after a few
            // actions.
            const int n = below(3) == 0 ? 0 : 1 + below(3);
            f->left = boxesOpen() < limits.boxDepth && actionsRunning() < limits.actionDepth ? n : 0;
        }
        if (f->left > 0 && left_ > 0) {
            --f->left;
            actInside(f);
            return;
        }
        answer(f, box);
    }

    void yieldTick(Frame* f)
    {
        if (left_ <= 0 || f->taken >= 2 || actionsRunning() >= limits.actionDepth)
            return;
        if (f->wait < 0)
            f->wait = below(8);
        if (f->wait-- > 0)
            return;
        note_(indent() + QStringLiteral("(a yield)"));
        actInside(f);
    }

    static QString label(const QAbstractButton* b) { return b ? QString(b->text()).remove(QLatin1Char('&')) : QString(); }

    // One of the box's answers at random: a button clicked, Enter, Esc or the
    // close box. Esc and the close box do nothing on a box without an escape
    // answer; the next tick then clicks one of its buttons.
    void answer(Frame* f, QPointer<QMessageBox> box)
    {
        const QList<QAbstractButton*> buttons = box->buttons();
        if (buttons.isEmpty())
            return;
        const int i = log_.action.size() > 0 ? int(log_.action.size()) - 1 : -1;
        const AnsweringMessages::Box* open = nullptr;
        for (int k = i; k >= 0 && !open; --k)
            if (log_.action[k].answer == 0)
                open = &log_.action[k];
        // A run of Retries on a failure that stays must end some time.
        const bool retryDone = open && log_.retryRun(open->title, open->text) >= 20;
        auto isRetry = [](const QAbstractButton* b) { return label(b) == QLatin1String("Retry"); };
        auto* def = qobject_cast<QAbstractButton*>(box->defaultButton());

        int r = below(int(buttons.size()) + (f->noOp ? 0 : 3));
        if (retryDone && (r < buttons.size() ? isRetry(buttons[r]) : r == buttons.size() && isRetry(def)))
            r = int(std::find_if(buttons.begin(), buttons.end(), [&](auto* b) { return !isRetry(b); }) - buttons.begin());
        QString how;
        if (r < buttons.size()) {
            how = label(buttons[r]) + QStringLiteral(" (click)");
            QTest::mouseClick(buttons[r], Qt::LeftButton, Qt::NoModifier, buttons[r]->rect().center());
        } else if (r == buttons.size()) {
            how = label(def) + QStringLiteral(" (Enter)");
            QTest::keyClick(box.data(), Qt::Key_Return);
        } else if (r == buttons.size() + 1) {
            how = label(box->escapeButton()) + QStringLiteral(" (Esc)");
            QTest::keyClick(box.data(), Qt::Key_Escape);
        } else {
            how = label(box->escapeButton()) + QStringLiteral(" (close box)");
            box->close();
        }
        if (box && box->isVisible()) {
            f->noOp = true;
            how = how.section(QLatin1Char('('), 1).chopped(1) + QStringLiteral(": nothing, the box stays");
        }
        note_(indent() + QStringLiteral("-> ") + how);
    }

    AnsweringMessages& log_;
    QRandomGenerator& rng_;
    std::function<void()> act_;
    std::function<void(const QString&)> note_;
    std::vector<Frame*> stack_;
    int left_ = 0;
};

} // namespace tav::robust
