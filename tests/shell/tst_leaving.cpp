// Leaving a window (File > Close, a topic of the Index menu, the toolbar's
// Index) while one of its handlers still waits in a message box or a yield:
// the window closes as the user sees it, the next window shows, and the
// handler finishes on controls that still exist.

#include "common/messages.h"
#include "graphs/pointsweep.h"
#include "platform/combo.h"
#include "platform/slider.h"
#include "shell/menus.h"
#include "shell/toolbar.h"
#include "shell/topics.h"
#include "testkit.h"
#include "testmain.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace tav;

namespace {

QAction* menuItem(Form& f, const QString& name)
{
    auto* a = f.findCtl<QAction>(name);
    if (!a)
        qFatal("no menu item %s", qPrintable(name));
    return a;
}

// Form11 with its defaults, its importations box holding "1".
QLineEdit* importationsOfForm11()
{
    Form& f = windowNamed(QStringLiteral("Form11"));
    f.show();
    QLineEdit* edit = f.ctl<ComboBox>(QStringLiteral("Combo2"))->lineEdit();
    edit->setFocus();
    edit->end(false);
    return edit;
}

// The names of the windows on screen, in order.
QStringList shownWindows()
{
    QStringList names;
    for (Form* f : Form::all())
        if (f->visible())
            names << f->name();
    names.sort();
    return names;
}

// What a modal box does while it is up: an event loop of its own, here one
// that ends as soon as it has run once.
void boxLoop()
{
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
}

// The text of a real box's button for an answer.
QString buttonText(int answer)
{
    switch (answer) {
    case IdAbort: return QStringLiteral("&Abort");
    case IdRetry: return QStringLiteral("&Retry");
    case IdIgnore: return QStringLiteral("&Ignore");
    default: return QStringLiteral("OK");
    }
}

// A topic of the Index menu that leads elsewhere.
int otherTopic(const QString& window) { return ownTopic(window) == 3 ? 4 : 3; }

void press(QMessageBox* box, int answer)
{
    for (QAbstractButton* b : box->buttons())
        if (b->text() == buttonText(answer)) {
            b->click();
            return;
        }
    qFatal("no button %s", qPrintable(buttonText(answer)));
}


// How the window is left while its handler waits.
enum Leave { FileClose, TopicMenu, IndexButton };
// How each box is answered: Abort, Retry then Abort, Ignore, Esc, the close
// box, OK.
enum Answers { Abort, RetryAbort, Ignore, Escape, CloseBox, Ok };

// What the case does before the action, with the scripted boxes (every box
// its default answer), and the action itself, with Qt's boxes.
struct Scenario {
    QString window;
    std::function<void(Form&)> setup;
    std::function<void(Form&)> act;
    bool yields; // left during a yield rather than a box
};

void typeKey(Form& f, const QString& combo, Qt::Key key)
{
    QLineEdit* edit = f.ctl<ComboBox>(combo)->lineEdit();
    edit->setFocus();
    edit->end(false);
    QTest::keyClick(edit, key);
}

void setFsimula1Inputs()
{
    Form& input = windowNamed(QStringLiteral("FSimula1"));
    Form& results = windowNamed(QStringLiteral("FResultSim"));
    const QString values[] = {QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10")};
    for (int i = 0; i < 3; ++i) {
        input.ctl<QLineEdit>(QStringLiteral("Text1"), i)->setText(values[i]);
        results.ctl<QLabel>(QStringLiteral("Text1"), i)->setText(values[i]);
    }
    results.ctl<QLabel>(QStringLiteral("Combo1"))->setText(QStringLiteral("5"));
}

const QMap<QString, Scenario>& scenarios()
{
    static const QMap<QString, Scenario> m = {
        {QStringLiteral("Form11 Combo1"),
         {QStringLiteral("Form11"),
          [](Form& f) { f.ctl<ComboBox>(QStringLiteral("Combo2"))->setText(QString()); },
          [](Form& f) { typeKey(f, QStringLiteral("Combo1"), Qt::Key_5); }, false}},
        {QStringLiteral("Form11 Combo2"),
         {QStringLiteral("Form11"), [](Form&) {},
          [](Form& f) { typeKey(f, QStringLiteral("Combo2"), Qt::Key_Backspace); }, false}},
        {QStringLiteral("Form11 slider"),
         {QStringLiteral("Form11"),
          [](Form& f) { f.ctl<ComboBox>(QStringLiteral("Combo2"))->setText(QString()); },
          [](Form& f) {
              QSlider* s = f.ctl<Slider>(QStringLiteral("Hscroll5"))->slider();
              s->setFocus();
              QTest::keyClick(s, Qt::Key_Right);
          },
          false}},
        {QStringLiteral("graph compute"),
         {QStringLiteral("FGrafico1"),
          [](Form& f) { f.ctl<ComboBox>(QStringLiteral("Combo1"))->setText(QStringLiteral("0")); },
          [](Form& f) { test::click(f.ctl(QStringLiteral("calcula_0"))); }, false}},
        {QStringLiteral("graph compute, yielding"),
         {QStringLiteral("FGrafico4"), [](Form&) {},
          [](Form& f) { test::click(f.ctl(QStringLiteral("calcula_0"))); }, true}},
        {QStringLiteral("Form4 run"),
         {QStringLiteral("Form4"), [](Form&) {}, [](Form& f) { test::click(f.ctl(QStringLiteral("Image1"))); }, true}},
        {QStringLiteral("FResultSim run"),
         {QStringLiteral("FResultSim"), [](Form&) { setFsimula1Inputs(); },
          [](Form& f) { test::click(f.ctl(QStringLiteral("Image4"))); }, true}},
        {QStringLiteral("Form1 warning"),
         {QStringLiteral("Form1"),
          [](Form& f) { f.ctl<QLineEdit>(QStringLiteral("Text1"), 0)->setText(QStringLiteral("many")); },
          [](Form& f) { test::click(f.ctl(QStringLiteral("Image1"))); }, false}},
    };
    return m;
}

// Answers Qt's boxes from inside their own loops and, while the action's box
// or yield is open, leaves the window once.
class Driver : public QObject {
public:
    Driver(Form& f, Leave leave, Answers answers, bool inYield)
        : form_(f), leave_(leave), answers_(answers), inYield_(inYield)
    {
        timer_.setInterval(0);
        connect(&timer_, &QTimer::timeout, this, [this] { tick(); });
        timer_.start();
    }
    ~Driver() override { timer_.stop(); }
    bool left = false;
    int boxes = 0;
    QStringList warnings;

private:
    void tick()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box && (!box->isVisible() || box == answered_))
            return;
        if (!box && !inYield_)
            return;
        if (!left) {
            left = true;
            leave();
        }
        if (!box)
            return;
        answered_ = box;
        answer(box, boxes++);
    }

    void leave()
    {
        const QString name = form_.name();
        switch (leave_) {
        case FileClose: test::trigger(menuItem(form_, fileCloseName(name))); break;
        case TopicMenu: test::trigger(menuItem(form_, indexItemName(name, otherTopic(name)))); break;
        case IndexButton: test::click(form_.ctl(toolbarSpec(name)->index.name)); break;
        }
    }

    void answer(QMessageBox* box, int n)
    {
        switch (answers_) {
        case Abort: press(box, IdAbort); break;
        case RetryAbort: press(box, n == 0 ? IdRetry : IdAbort); break;
        case Ignore: press(box, IdIgnore); break;
        case Escape: QTest::keyClick(box, Qt::Key_Escape); break;
        case CloseBox: box->close(); break;
        case Ok: press(box, IdOk); break;
        }
    }

    Form& form_;
    Leave leave_;
    Answers answers_;
    bool inYield_;
    QTimer timer_;
    QPointer<QMessageBox> answered_;
};

} // namespace

class TestLeaving : public QObject {
    Q_OBJECT
private slots:
    // Any warning but the offscreen platform's notes on what it cannot do.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!This plugin does not support)"))); }

    // The key press that fails in Form11's model: while its box is up, the
    // topic menu unloads the page; Retry shows the box again, Abort ends
    // the action, and the key press finishes on its own line edit.
    void keyPressOutlivesItsWindow()
    {
        test::ProgramFixture fx;
        QLineEdit* edit = importationsOfForm11();
        Form& f = windowNamed(QStringLiteral("Form11"));
        QPointer<QWidget> old = f.widgetIfLoaded();
        fx.msgs.clear();
        fx.msgs.answer({IdRetry, IdAbort});
        fx.msgs.onShow = [&](const ScriptedMessages::Box&) {
            if (fx.msgs.count() == 1)
                test::trigger(menuItem(f, indexItemName(f.name(), 3)));
            boxLoop();
        };
        QTest::keyClick(edit, Qt::Key_Backspace);
        fx.msgs.onShow = nullptr;
        QCOMPARE(fx.msgs.count(), 2);
        QCOMPARE(fx.msgs.last().title, QStringLiteral("Error Form11(muda)"));
        // Retry reached the page's controls again, which loads it afresh,
        // hidden; the closed window is not the one loaded.
        QVERIFY(!f.visible());
        QVERIFY(f.widgetIfLoaded() != old.data());
        QVERIFY(topicForm(3).visible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(old.isNull());
    }

    // The same through Qt's own box and its event loop: File > Close while
    // the first box is up, answered Ignore.
    void keyPressOutlivesItsWindowInARealBox()
    {
        test::ProgramFixture fx;
        QLineEdit* edit = importationsOfForm11();
        Form& f = windowNamed(QStringLiteral("Form11"));
        QPointer<QWidget> old = f.widgetIfLoaded();
        setMessages(nullptr);
        int boxes = 0;
        QPointer<QMessageBox> seen;
        QTimer answerer;
        answerer.setInterval(0);
        connect(&answerer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box == seen)
                return;
            seen = box;
            if (++boxes == 1)
                test::trigger(menuItem(f, fileCloseName(f.name())));
            press(box, IdIgnore);
        });
        answerer.start();
        QTest::keyClick(edit, Qt::Key_Backspace);
        answerer.stop();
        QVERIFY(boxes >= 1);
        QVERIFY(!f.visible());
        QVERIFY(f.widgetIfLoaded() != old.data());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(old.isNull());
    }

    // Every way of leaving, with every answer the box allows, while the
    // window's handler waits in the box or yields: the window goes as the
    // user sees it, the next window shows, and what is left of the closed
    // window goes once the handler has returned.
    void leavingWhileAHandlerWaits_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<int>("leave");
        QTest::addColumn<int>("answers");
        const std::pair<Leave, const char*> leaves[] = {
            {FileClose, "File > Close"}, {TopicMenu, "topic menu"}, {IndexButton, "Index"}};
        const std::pair<Answers, const char*> errorAnswers[] = {{Abort, "Abort"},   {RetryAbort, "Retry, Abort"},
                                                                {Ignore, "Ignore"}, {Escape, "Esc"},
                                                                {CloseBox, "close box"}};
        const std::pair<Answers, const char*> warningAnswers[] = {{Ok, "OK"}, {Escape, "Esc"}, {CloseBox, "close box"}};
        for (auto it = scenarios().cbegin(); it != scenarios().cend(); ++it) {
            for (const auto& [leave, leaveName] : leaves) {
                if (leave == TopicMenu && !hasIndexMenu(it->window))
                    continue;
                const auto row = [&](Answers a, const char* answerName) {
                    QTest::addRow("%s, %s, %s", qPrintable(it.key()), leaveName, answerName)
                        << it.key() << int(leave) << int(a);
                };
                if (it->yields)
                    row(Abort, "in the yield");
                else if (it->window == QLatin1String("Form1"))
                    for (const auto& [a, n] : warningAnswers)
                        row(a, n);
                else
                    for (const auto& [a, n] : errorAnswers)
                        row(a, n);
            }
        }
    }
    void leavingWhileAHandlerWaits()
    {
        QFETCH(QString, scenario);
        QFETCH(int, leave);
        QFETCH(int, answers);
        const Scenario& sc = scenarios()[scenario];
        test::ProgramFixture fx;
        // Every plotted point yields, so the leaving falls inside the run.
        const ScopedYieldPace pace(YieldPace::atEvery(1));

        Form& f = windowNamed(sc.window);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(f.widget()));
        sc.setup(f);
        QPointer<QWidget> old = f.widgetIfLoaded();
        QStringList othersOnScreen = shownWindows();
        othersOnScreen.removeAll(sc.window);
        setMessages(nullptr);
        {
            Driver driver(f, Leave(leave), Answers(answers), sc.yields);
            sc.act(f);
            QVERIFY2(driver.left, "no box or yield to leave the window in");
            QVERIFY(sc.yields || driver.boxes >= 1);
        }
        setMessages(&fx.msgs);

        // Gone from sight. A handler that went on reaching the page's
        // controls loaded it again, hidden and afresh, as any access does.
        QVERIFY(!f.visible());
        QVERIFY(f.widgetIfLoaded() != old.data());
        Form* next = nullptr;
        bool closesOnly = false; // a File > Close that opens no window
        if (leave == TopicMenu) {
            next = &topicForm(otherTopic(sc.window));
        } else if (leave == IndexButton) {
            next = &windowNamed(QStringLiteral("Indice"));
        } else {
            // The graph pages' File > Close opens a page; the others' opens none.
            static const QMap<QString, QString> closeOpens = {{QStringLiteral("FGrafico1"), QStringLiteral("Form1")},
                                                              {QStringLiteral("FGrafico4"), QStringLiteral("Form6")}};
            if (closeOpens.contains(sc.window))
                next = &windowNamed(closeOpens[sc.window]);
            closesOnly = !next;
        }
        if (closesOnly) {
            // Nothing opens in its place.
            QCOMPARE(shownWindows(), othersOnScreen);
        } else {
            QVERIFY2(next, "no window to go to");
            QVERIFY2(next->visible(), qPrintable(next->name()));
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(old.isNull());
    }
};

TAV_TEST_MAIN(TestLeaving)
#include "tst_leaving.moc"
