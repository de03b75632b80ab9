// The window lifecycle: load on show, raise without reload, unload keeps the
// instance, control access loads hidden, the close box, deferred destruction.
#include "common/errors.h"
#include "common/window.h"
#include "platform/actions.h"
#include "platform/controls.h"
#include "testkit.h"
#include "testmain.h"

#include <QLineEdit>
#include <QTest>

using namespace tav;

namespace {

// A part of a control that still reports a change while it is torn down.
class NoisyPart : public QObject {
public:
    using QObject::QObject;
    ~NoisyPart() override { setObjectName(QStringLiteral("gone")); }
};

class Probe : public Form {
public:
    Probe() : Form(QStringLiteral("Probe")) {}
    int loads = 0, unloads = 0, activations = 0, resizes = 0;
    bool cancelUnload = false;
    int kept = 0; // a module-level variable: survives unloads
    int teardownNotices = 0;
    std::function<void()> onClick;

protected:
    void build(FormWidget* w) override
    {
        auto* box = place<TextBox>(w->client(), arrayName(QStringLiteral("Text1"), 0), 100, 100, 1500, 300);
        box->setText(QStringLiteral("design"));
        auto* button = place<ImageButton>(w->client(), QStringLiteral("Image1"), 100, 600, 480, 480);
        onSignal(button, &ImageButton::clicked, this, [this] { if (onClick) onClick(); });
        auto* part = new NoisyPart(button);
        onSignal(part, &QObject::objectNameChanged, this, [this] {
            ++teardownNotices;
            ctl(QStringLiteral("Image1"));
        });
        w->setClientSizeTwips(6000, 4000);
    }
    void formLoad() override { ++loads; }
    void formUnload(bool& cancel) override
    {
        ++unloads;
        cancel = cancelUnload;
    }
    void formActivate() override { ++activations; }
    void formResize() override { ++resizes; }
};

class Other : public Form {
public:
    Other() : Form(QStringLiteral("Other")) {}

protected:
    void build(FormWidget* w) override { w->setClientSizeTwips(3000, 3000); }
};

} // namespace

class TestWindow : public QObject {
    Q_OBJECT
private slots:
    void showLoadsOnceAndRaisesAfter();
    void unloadKeepsInstanceAndReloadsFromDesign();
    void controlAccessLoadsHidden();
    void closeBoxUnloadsUnlessCancelled();
    void unloadFromOwnHandlerIsSafe();
    void missingControlRaises();
    void activationOnlyWhenActiveFormChanges();
    void encerraRunsNoUnloadProcedure();
    void closedWindowWaitsForTheAction_data();
    void closedWindowWaitsForTheAction();
};

void TestWindow::showLoadsOnceAndRaisesAfter()
{
    test::ProgramFixture fx;
    Probe& p = formRef<Probe>();
    QVERIFY(!p.isLoaded());
    p.show();
    QVERIFY(p.visible());
    QCOMPARE(p.loads, 1);
    QCOMPARE(p.ctl(QStringLiteral("Text1"), 0)->objectName(), QStringLiteral("Text1_0"));
    QCOMPARE(p.widget()->objectName(), QStringLiteral("Probe"));
    p.show();
    QCOMPARE(p.loads, 1);
    QCOMPARE(p.loadCount(), 1);
    QCOMPARE(&formRef<Probe>(), &p); // one instance
}

void TestWindow::unloadKeepsInstanceAndReloadsFromDesign()
{
    test::ProgramFixture fx;
    Probe& p = formRef<Probe>();
    p.show();
    p.kept = 42;
    p.ctl<QLineEdit>(QStringLiteral("Text1_0"))->setText(QStringLiteral("typed"));
    p.unload();
    QVERIFY(!p.isLoaded());
    QCOMPARE(p.unloads, 1);
    QCOMPARE(p.unloadCount(), 1);
    p.unload(); // not loaded: nothing happens
    QCOMPARE(p.unloads, 1);
    p.show();
    QCOMPARE(&formRef<Probe>(), &p);
    QCOMPARE(p.kept, 42);
    QCOMPARE(p.loads, 2);
    QCOMPARE(p.ctl<QLineEdit>(QStringLiteral("Text1_0"))->text(), QStringLiteral("design"));
}

void TestWindow::controlAccessLoadsHidden()
{
    test::ProgramFixture fx;
    Probe& p = formRef<Probe>();
    QLineEdit* box = p.ctl<QLineEdit>(QStringLiteral("Text1"), 0);
    QVERIFY(box);
    QVERIFY(p.isLoaded());
    QVERIFY(!p.visible());
    QCOMPARE(p.loads, 1);
    p.show(); // already loaded: shown without a second load
    QCOMPARE(p.loads, 1);
    QVERIFY(p.visible());
}

void TestWindow::closeBoxUnloadsUnlessCancelled()
{
    test::ProgramFixture fx;
    Probe& p = formRef<Probe>();
    p.show();
    p.cancelUnload = true;
    p.widget()->close();
    QVERIFY(p.isLoaded());
    QVERIFY(p.visible());
    p.cancelUnload = false;
    p.widget()->close();
    QVERIFY(!p.isLoaded());
    QCOMPARE(p.unloads, 2);
}

void TestWindow::unloadFromOwnHandlerIsSafe()
{
    test::ProgramFixture fx;
    Probe& p = formRef<Probe>();
    p.show();
    QPointer<QWidget> old = p.widget();
    bool touchedAfter = false;
    p.onClick = [&] {
        p.unload();
        // Still inside the button's handler: the window is gone for the
        // program but its widgets live until the event loop frees them.
        touchedAfter = old && !old->isVisible();
    };
    test::click(p.ctl(QStringLiteral("Image1")));
    QVERIFY(touchedAfter);
    QVERIFY(!p.isLoaded());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(old.isNull());
}

void TestWindow::missingControlRaises()
{
    test::ProgramFixture fx;
    Probe& p = formRef<Probe>();
    bool raised = false;
    try {
        p.ctl(QStringLiteral("NoSuchControl"));
    } catch (const RuntimeError& e) {
        raised = true;
        QCOMPARE(e.number(), int(ErrObjectRequired));
    }
    QVERIFY(raised);
}

void TestWindow::activationOnlyWhenActiveFormChanges()
{
    test::ProgramFixture fx;
    Probe& p = formRef<Probe>();
    p.show();
    QVERIFY(QTest::qWaitForWindowActive(p.widget()));
    QCOMPARE(p.activations, 1);
    // A box that closes hands activation back without a new activation.
    QWidget box;
    box.show();
    box.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    box.close();
    p.widget()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.widget()));
    QCOMPARE(p.activations, 1);
    // Another form in between does count.
    formRef<Other>().show();
    QVERIFY(QTest::qWaitForWindowActive(formRef<Other>().widget()));
    p.widget()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(p.widget()));
    QCOMPARE(p.activations, 2);
}

void TestWindow::encerraRunsNoUnloadProcedure()
{
    test::ProgramFixture fx;
    Probe& p = formRef<Probe>();
    p.show();
    formRef<Other>().show();
    encerra();
    QCOMPARE(fx.exits, 1);
    QCOMPARE(p.unloads, 0);
    QVERIFY(!p.visible());
    QVERIFY(!formRef<Other>().visible());
    p.show(); // nothing of the program runs any more
    QVERIFY(!p.visible());
}

// A window unloaded while an action runs stays, hidden and deaf, until the
// action ends; then it goes with the next pass of the event loop, whatever
// ended the program or the test meanwhile.
void TestWindow::closedWindowWaitsForTheAction_data()
{
    QTest::addColumn<QString>("then");
    QTest::newRow("the action ends") << "end";
    QTest::newRow("the program ends in the action") << "encerra";
    QTest::newRow("the test resets in the action") << "reset";
    QTest::newRow("loaded again in the action") << "reload";
}

void TestWindow::closedWindowWaitsForTheAction()
{
    QFETCH(QString, then);
    test::ProgramFixture fx;
    Probe& p = formRef<Probe>();
    p.show();
    QPointer<FormWidget> old = p.widget();
    auto* button = p.ctl<ImageButton>(QStringLiteral("Image1"));
    int clicks = 0;
    p.onClick = [&] { ++clicks; };
    {
        const ActionScope action;
        p.unload();
        QVERIFY(!p.isLoaded());
        QCOMPARE(p.unloads, 1);
        QVERIFY(old && old->isHidden());
        // Its controls' notices reach no procedure, and so load nothing.
        emit button->clicked();
        QCOMPARE(clicks, 0);
        QVERIFY(!p.isLoaded());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QVERIFY(old);
        if (then == QLatin1String("encerra")) {
            encerra();
        } else if (then == QLatin1String("reset")) {
            resetProgram();
            QVERIFY(old.isNull());
            return;
        } else if (then == QLatin1String("reload")) {
            p.show();
            QVERIFY(p.widgetIfLoaded() != old.data());
            emit p.ctl<ImageButton>(QStringLiteral("Image1"))->clicked();
            QCOMPARE(clicks, 1);
        }
    }
    QVERIFY(old);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(old.isNull());
    // Its destruction ran no procedure, which would have loaded it again.
    QCOMPARE(p.teardownNotices, 0);
    QCOMPARE(p.isLoaded(), then == QLatin1String("reload"));
    QCOMPARE(p.loads, then == QLatin1String("reload") ? 2 : 1);
}

TAV_TEST_MAIN(TestWindow)
#include "tst_window.moc"
