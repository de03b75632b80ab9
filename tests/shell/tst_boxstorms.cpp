// A failing computation answers one click or keystroke with at most one box
// per failing step, whichever window and loop it fails in; Abort ends all
// that the action still had to run.

#include "common/messages.h"
#include "platform/combo.h"
#include "shell/topics.h"
#include "testkit.h"
#include "testmain.h"

#include <QLineEdit>
#include <QSet>
#include <QTest>

using namespace tav;

namespace {

// Shows the window and writes its inputs ("box=text"; a combo by its name).
Form& open(const QString& window, const QStringList& inputs)
{
    Form& f = windowNamed(window);
    f.show();
    for (const QString& in : inputs) {
        const QString name = in.section(u'=', 0, 0), text = in.section(u'=', 1);
        if (auto* c = f.findCtl<ComboBox>(name))
            c->setText(text);
        else
            f.ctl<QLineEdit>(name)->setText(text);
    }
    return f;
}

// One user action: "click:Control" or "key:Combo=c" (one key typed over the
// whole text).
void act(Form& f, const QString& action)
{
    const QString kind = action.section(u':', 0, 0), what = action.section(u':', 1);
    if (kind == QLatin1String("click")) {
        test::click(f.ctl(what));
        return;
    }
    QLineEdit* edit = f.ctl<ComboBox>(what.section(u'=', 0, 0))->lineEdit();
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, what.section(u'=', 1));
}

QString boxOf(const ScriptedMessages::Box& b) { return b.title + u'|' + b.text; }

void addCases()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QString>("action");
    const QString digits(10000, u'7');
    QTest::newRow("Graph 1, point count 0") << "FGrafico1" << QStringList{"Combo1=0"} << "click:calcula_0";
    QTest::newRow("Graph 1, point count 1e-320") << "FGrafico1" << QStringList{"Combo1=1e-320"} << "click:calcula_1";
    QTest::newRow("Graph 1, X min empty") << "FGrafico1" << QStringList{"Text1_0="} << "click:calcula_0";
    QTest::newRow("Graph 1, consignment 1e308") << "FGrafico1" << QStringList{"Text2=1e308"} << "click:calcula_1";
    QTest::newRow("Graph 2, point count 0") << "FGrafico2" << QStringList{"Combo1=0"} << "click:calcula_0";
    QTest::newRow("Graph 2, X max nan") << "FGrafico2" << QStringList{"Text1_1=nan"} << "click:calcula_0";
    QTest::newRow("Graph 3, point count 0") << "FGrafico3" << QStringList{"Combo1=0"} << "click:calcula_0";
    QTest::newRow("Graph 3, X min 1e308") << "FGrafico3" << QStringList{"Text1_0=1e308"} << "click:calcula_0";
    QTest::newRow("Graph 3, RDL -") << "FGrafico3" << QStringList{"Text2_0=-"} << "click:calcula_1";
    QTest::newRow("Graph 3, RDL of 10,000 digits") << "FGrafico3" << QStringList{"Text2_0=" + digits} << "click:calcula_1";
    QTest::newRow("Form4, consignment 1e308") << "Form4" << QStringList{"Text1_0=1e308"} << "click:Image1";
    QTest::newRow("Form4, runs 1e308") << "Form4" << QStringList{"Combo1=1e308"} << "click:Image1";
    QTest::newRow("Form4, runs -1e308") << "Form4" << QStringList{"Combo1=-1e308"} << "click:Image1";
    QTest::newRow("FSimula1, runs 1e308") << "FSimula1" << QStringList{"Combo1=1e308"} << "click:Image1";
    QTest::newRow("FSimula1, runs -1e308") << "FSimula1" << QStringList{"Combo1=-1e308"} << "click:Image1";
    QTest::newRow("Form11, imports 0") << "Form11" << QStringList{} << "key:Combo2=0";
}

} // namespace

class TestBoxStorms : public QObject {
    Q_OBJECT
private slots:
    // Every box the user ignores stays away for the rest of the action.
    void ignoreShowsEachBoxOnce_data() { addCases(); }
    void ignoreShowsEachBoxOnce()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, inputs);
        QFETCH(QString, action);
        test::ProgramFixture fx;
        Form& f = open(window, inputs);
        fx.msgs.clear();
        for (int i = 0; i < 2000; ++i)
            fx.msgs.answer(IdIgnore);
        act(f, action);
        QVERIFY(fx.msgs.count() >= 1);
        QSet<QString> seen;
        for (const auto& b : fx.msgs.boxes) {
            QVERIFY2(!seen.contains(boxOf(b)), qPrintable(QStringLiteral("shown again: ") + boxOf(b)));
            seen.insert(boxOf(b));
        }
        QVERIFY2(fx.msgs.count() <= 5, qPrintable(QString::number(fx.msgs.count()) + QStringLiteral(" boxes")));

        // The next action is a new one: its first failure has its box again.
        const QString first = boxOf(fx.msgs.boxes.first());
        fx.msgs.clear();
        for (int i = 0; i < 2000; ++i)
            fx.msgs.answer(IdIgnore);
        act(f, action);
        QVERIFY(fx.msgs.count() >= 1);
        QCOMPARE(boxOf(fx.msgs.boxes.first()), first);
    }

    // Abort ends the action: no trapped procedure of it shows another box.
    void abortEndsTheAction_data() { addCases(); }
    void abortEndsTheAction()
    {
        QFETCH(QString, window);
        QFETCH(QStringList, inputs);
        QFETCH(QString, action);
        test::ProgramFixture fx;
        Form& f = open(window, inputs);
        fx.msgs.clear();
        for (int i = 0; i < 2000; ++i)
            fx.msgs.answer(IdAbort);
        act(f, action);
        QCOMPARE(fx.msgs.count(), 1);
    }

    // Each keystroke is an action of its own.
    void oneBoxPerKeystroke()
    {
        test::ProgramFixture fx;
        Form& f = open(QStringLiteral("Form11"), {});
        fx.msgs.clear();
        for (int i = 0; i < 100; ++i)
            fx.msgs.answer(IdIgnore);
        act(f, QStringLiteral("key:Combo2=000"));
        QCOMPARE(fx.msgs.count(), 3);
        for (const auto& b : fx.msgs.boxes)
            QCOMPARE(b.title, QStringLiteral("Error Form11(muda)"));
    }
};

TAV_TEST_MAIN(TestBoxStorms)
#include "tst_boxstorms.moc"
