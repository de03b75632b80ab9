// The simulation input window: its start values, the inputs it remembers
// between visits, the typed probabilities, the defaults, the checks of the
// run and the run itself on the results window.
#include "common/random.h"
#include "common/tabelaimp.h"
#include "common/yields.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/slider.h"
#include "simulation/fresultsim.h"
#include "simulation/fsimula1.h"
#include "simulation/memsimula.h"
#include "simulation/resultados.h"
#include "testkit.h"
#include "testmain.h"

#include <QApplication>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace tav;

namespace {

FSimula1& input() { return formRef<FSimula1>(); }
FResultSim& results() { return formRef<FResultSim>(); }
TextBox* box(const QString& name) { return input().ctl<TextBox>(name); }
ComboBox* combo(const QString& name) { return input().ctl<ComboBox>(name); }
Slider* slider(const QString& name) { return input().ctl<Slider>(name); }
QString resultText(const QString& name) { return results().ctl<QLabel>(name)->text(); }

void setInput(const QString& name, const QString& text)
{
    if (name.startsWith(QLatin1String("Combo")))
        combo(name)->setText(text);
    else
        box(name)->setText(text);
}

} // namespace

class TestFSimula1 : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ProgramFixture> fx;
    LcgRandom lcg{12345};

private slots:
    void init()
    {
        fx = std::make_unique<test::ProgramFixture>();
        resetSimulationState();
        tabelaimp().clear();
        lcg = LcgRandom(12345);
        setRng(&lcg);
    }
    void cleanup()
    {
        setRng(nullptr);
        fx.reset();
    }

    void firstOpen()
    {
        input().show();
        QVERIFY(input().widget()->windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(box(QStringLiteral("Text1_0"))->text(), QStringLiteral(" 1000"));
        QCOMPARE(box(QStringLiteral("Text1_1"))->text(), test::shown(QStringLiteral(" 0.1")));
        QCOMPARE(box(QStringLiteral("Text1_2"))->text(), QStringLiteral("10"));
        QCOMPARE(combo(QStringLiteral("Combo1"))->text(), QStringLiteral("10"));
        QCOMPARE(combo(QStringLiteral("Combo1"))->listCount(), 14);
        QCOMPARE(combo(QStringLiteral("Combo1"))->list(13), QStringLiteral("500"));
        for (const char* name : {"Combo2", "Combo3", "Combo4"}) {
            QCOMPARE(combo(QString::fromLatin1(name))->text(), QStringLiteral("10"));
            QCOMPARE(combo(QString::fromLatin1(name))->listCount(), 12);
        }
        QCOMPARE(variabilidades().varprev, 0.1);
        QCOMPARE(variabilidades().varp1, 0.1);
        QCOMPARE(variabilidades().varp2, 0.1);
        for (int i = 1; i <= 2; ++i) {
            QCOMPARE(slider(QStringLiteral("Hscroll%1").arg(i))->value(), 10000);
            QCOMPARE(slider(QStringLiteral("Hscroll%1").arg(i))->min(), 1);
            QCOMPARE(slider(QStringLiteral("Hscroll%1").arg(i))->max(), 29999);
            QCOMPARE(box(QStringLiteral("lp%1").arg(i))->text(), test::shown(QStringLiteral("0.33333")));
        }
    }

    // Each input comes back, after an unload, as the text of its leading
    // number; the variability boxes set their variables again.
    void rememberedAcrossUnloads_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("restored");
        QTest::newRow("prevalence") << "Text1_1" << " 0.25" << "0.25";
        QTest::newRow("size, not a number") << "Text1_0" << "abc" << "0";
        QTest::newRow("size with a tail") << "Text1_0" << "250 units" << "250";
        QTest::newRow("sample") << "Text1_2" << "33" << "33";
        QTest::newRow("consignments") << "Combo1" << "250" << "250";
        QTest::newRow("variability") << "Combo2" << "30" << "30";
        QTest::newRow("RDL") << "Text2" << " 0.05" << "0.05";
        QTest::newRow("CL") << "Text3" << "0.95" << "0.95";
        QTest::newRow("p1 variability") << "Combo3" << "40" << "40";
        QTest::newRow("p2 variability") << "Combo4" << "5" << "5";
    }
    void rememberedAcrossUnloads()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, restored);
        input().show();
        setInput(name, typed);
        input().unload();
        QVERIFY(!input().isLoaded());
        input().show();
        const QString shown = name.startsWith(QLatin1String("Combo")) ? combo(name)->text() : box(name)->text();
        QCOMPARE(shown, test::shown(restored));
        if (name == QLatin1String("Combo2"))
            QCOMPARE(variabilidades().varprev, 0.3);
        // The other inputs start from the load's values.
        if (name != QLatin1String("Text1_2"))
            QCOMPARE(box(QStringLiteral("Text1_2"))->text(), QStringLiteral("10"));
    }

    void slidersRemembered()
    {
        input().show();
        slider(QStringLiteral("Hscroll1"))->setValue(27000);
        slider(QStringLiteral("Hscroll2"))->setValue(1);
        input().unload();
        QCOMPARE(memsimula()[9].toInt(), 27000);
        input().show();
        QCOMPARE(box(QStringLiteral("lp1"))->text(), test::shown(QStringLiteral("0.9")));
        QCOMPARE(box(QStringLiteral("lp2"))->text(), test::shown(QStringLiteral("0.00003")));
    }

    void variabilityNotANumberKeepsTheLast()
    {
        input().show();
        combo(QStringLiteral("Combo3"))->setText(QStringLiteral("20"));
        QCOMPARE(variabilidades().varp1, 0.2);
        combo(QStringLiteral("Combo3"))->setText(QStringLiteral("abc"));
        QCOMPARE(variabilidades().varp1, 0.2);
        combo(QStringLiteral("Combo3"))->setListIndex(11);
        QCOMPARE(variabilidades().varp1, 1.0);
    }

    // A typed probability reaches its slider when the box loses the focus;
    // the typed text stays.
    void typedProbability_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("position");
        QTest::newRow("0.9") << "0.9" << 27000;
        QTest::newRow("kept as typed") << "0.90001" << 27000;
        QTest::newRow("above 1") << "5" << 10000;
        QTest::newRow("0") << "0" << 10000;
        QTest::newRow("not a number") << "abc" << 10000;
    }
    void typedProbability()
    {
        QFETCH(QString, typed);
        QFETCH(int, position);
        input().show();
        input().widget()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(input().widget()));
        test::type(box(QStringLiteral("lp1")), typed);
        QCOMPARE(slider(QStringLiteral("Hscroll1"))->value(), 10000);
        box(QStringLiteral("Text1_0"))->setFocus();
        QCOMPARE(slider(QStringLiteral("Hscroll1"))->value(), position);
        QCOMPARE(box(QStringLiteral("lp1"))->text(), typed);
        QCOMPARE(input().digitando(), 0);
    }

    void dragTip()
    {
        input().show();
        Slider* s = slider(QStringLiteral("Hscroll2"));
        s->slider()->setSliderDown(true);
        s->slider()->setSliderPosition(4500);
        QCOMPARE(s->text(), test::shown(QStringLiteral("0.15")));
        s->slider()->setSliderDown(false);
        QCOMPARE(box(QStringLiteral("lp2"))->text(), test::shown(QStringLiteral("0.15")));
    }

    void defaults()
    {
        input().show();
        for (const char* name : {"Text1_0", "Text1_1", "Text1_2", "Text2", "Text3"})
            box(QString::fromLatin1(name))->setText(QStringLiteral("0.5"));
        combo(QStringLiteral("Combo1"))->setText(QStringLiteral("250"));
        combo(QStringLiteral("Combo2"))->setText(QStringLiteral("50"));
        test::click(input().ctl(QStringLiteral("Image2")));
        QCOMPARE(box(QStringLiteral("Text1_0"))->text(), QStringLiteral("1000"));
        QCOMPARE(box(QStringLiteral("Text1_1"))->text(), test::shown(QStringLiteral("0.1")));
        QCOMPARE(box(QStringLiteral("Text1_2"))->text(), QStringLiteral("10"));
        QCOMPARE(combo(QStringLiteral("Combo1"))->text(), QStringLiteral("10"));
        QCOMPARE(variabilidades().varprev, 0.1);
        QCOMPARE(slider(QStringLiteral("Hscroll1"))->value(), 9999);
        QCOMPARE(box(QStringLiteral("lp1"))->text(), test::shown(QStringLiteral("0.3333")));
        QCOMPARE(box(QStringLiteral("lp2"))->text(), test::shown(QStringLiteral("0.3333")));
        // The calculator keeps its boxes.
        QCOMPARE(box(QStringLiteral("Text2"))->text(), QStringLiteral("0.5"));
        QCOMPARE(box(QStringLiteral("Text3"))->text(), QStringLiteral("0.5"));
    }

    void checksOfTheRun_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("prevalence");
        QTest::addColumn<QString>("sample");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("size not a number") << "abc" << "x" << "" << "Input the consignment size" << "Text1_0";
        QTest::newRow("prevalence not a number") << "100" << "x" << "" << "Input the Required Detection Level"
                                                 << "Text1_1";
        QTest::newRow("sample empty") << "100" << "0.1" << "" << "Input the sample size" << "Text1_2";
        QTest::newRow("size 0.5") << "0.5" << "0.1" << "0.2" << "The consignment size shal be > 0" << "Text1_0";
        QTest::newRow("sample equal to size") << "100" << "0.1" << "100"
                                              << "The sample size shall be < the consignment size" << "Text1_2";
        QTest::newRow("prevalence 1") << "100" << "1" << "10" << "The RDL shall be > 0 and < 1" << "Text1_1";
        QTest::newRow("prevalence 0") << "100" << "0" << "10" << "The RDL shall be > 0 and < 1" << "Text1_1";
    }
    void checksOfTheRun()
    {
        QFETCH(QString, size);
        QFETCH(QString, prevalence);
        QFETCH(QString, sample);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        input().show();
        input().widget()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(input().widget()));
        box(QStringLiteral("Text1_0"))->setText(size);
        box(QStringLiteral("Text1_1"))->setText(prevalence);
        box(QStringLiteral("Text1_2"))->setText(sample);
        combo(QStringLiteral("Combo1"))->setFocus();
        test::click(input().ctl(QStringLiteral("Image1")));
        QCOMPARE(fx->msgs.count(), 1);
        QCOMPARE(fx->msgs.last().text, message);
        QCOMPARE(fx->msgs.last().title, QStringLiteral("Warning"));
        QCOMPARE(fx->msgs.last().style, int(MbExclamation));
        QTRY_VERIFY(box(focus)->hasFocus());
        // Nothing reached the results window.
        QVERIFY(!results().isLoaded());
        QVERIFY(input().visible());
    }

    void runFillsTheResultsWindow()
    {
        results().show();
        input().show();
        box(QStringLiteral("Text1_0"))->setText(QStringLiteral(" 100"));
        box(QStringLiteral("Text1_1"))->setText(QStringLiteral("0.12346"));
        box(QStringLiteral("Text1_2"))->setText(QStringLiteral("10"));
        combo(QStringLiteral("Combo1"))->setText(QStringLiteral("12"));
        slider(QStringLiteral("Hscroll1"))->setValue(15000);
        results().ctl(QStringLiteral("Picture5"))->show();

        input().Image1_Click();

        QCOMPARE(fx->msgs.count(), 0);
        QCOMPARE(resultText(QStringLiteral("Text1_0")), QStringLiteral("100"));
        QCOMPARE(resultText(QStringLiteral("Text1_1")), test::shown(QStringLiteral("0.1235")));
        QCOMPARE(resultText(QStringLiteral("Text1_2")), QStringLiteral("10"));
        QCOMPARE(resultText(QStringLiteral("Combo1")), QStringLiteral("12"));
        QCOMPARE(resultText(QStringLiteral("Lnsim")), QStringLiteral("12"));
        QCOMPARE(resultText(QStringLiteral("p1")), test::shown(QStringLiteral("0.5")));
        QCOMPARE(resultText(QStringLiteral("p2")), test::shown(QStringLiteral("0.3333")));
        QVERIFY(resultText(QStringLiteral("Ling")).endsWith(QLatin1String(" %")));
        QVERIFY(results().visible());
        QVERIFY(results().ctl(QStringLiteral("Picture5"))->isHidden());

        // The input window came back hidden, with the inputs it remembered.
        QVERIFY(input().isLoaded());
        QVERIFY(!input().visible());
        QCOMPARE(input().loadCount(), 2);
        QCOMPARE(combo(QStringLiteral("Combo1"))->text(), QStringLiteral("12"));
        // The results window's activation wrote its sliders back: p1 one
        // step above its x 30000.
        QCOMPARE(slider(QStringLiteral("Hscroll1"))->value(), 15001);

        Grid* g = results().ctl<Grid>(QStringLiteral("Grid1"));
        QCOMPARE(g->rows(), 13);
        g->setRow(0);
        g->setCol(5);
        QCOMPARE(g->text(), QStringLiteral("Established"));
        g->setRow(12);
        g->setCol(0);
        QCOMPARE(g->text(), QStringLiteral("12"));
        for (int c = 1; c <= 5; ++c)
            QCOMPARE(g->colAlignment(c), 2);
        QCOMPARE(tabelaimp().implinhas, 11);
        QCOMPARE(tabelaimp().impcolunas, 5);
        QCOMPARE(tabelaimp().imptitulo, QStringLiteral("Simulation of the Inspection"));
        QCOMPARE(tabelaimp().impcelula(3, 11).toString(), resultados().text(4, 12));
    }

    // A consignment the checks pass but the engine refuses (above its
    // 10000 units), after a good run: the results window shows no old rows.
    void refusedRunLeavesNoOldResults()
    {
        results().show();
        input().show();
        box(QStringLiteral("Text1_0"))->setText(QStringLiteral("100"));
        box(QStringLiteral("Text1_1"))->setText(QStringLiteral("0.1"));
        box(QStringLiteral("Text1_2"))->setText(QStringLiteral("10"));
        combo(QStringLiteral("Combo1"))->setText(QStringLiteral("5"));
        input().Image1_Click();
        QCOMPARE(results().ctl<Grid>(QStringLiteral("Grid1"))->rows(), 6);
        input().show();
        box(QStringLiteral("Text1_0"))->setText(QStringLiteral("20000"));
        input().Image1_Click();
        QCOMPARE(fx->msgs.count(), 1);
        QCOMPARE(fx->msgs.last().title, QStringLiteral("Error in simulation"));
        QVERIFY(resultText(QStringLiteral("Ling")).isEmpty());
        QVERIFY(resultText(QStringLiteral("Lingreso")).isEmpty());
        QCOMPARE(results().ctl<Grid>(QStringLiteral("Grid1"))->rows(), 1);
        QCOMPARE(tabelaimp().implinhas, -1);
    }

    // A run started while the results window's own run yields: the engine
    // refuses it and the table keeps the run in progress.
    void runWhileTheEngineIsBusy()
    {
        results().show();
        for (const char* name : {"Text1_0", "Text1_1", "Text1_2", "Combo1"})
            results().ctl<QLabel>(QString::fromLatin1(name))->setText(QStringLiteral("100"));
        results().ctl<QLabel>(QStringLiteral("Text1_1"))->setText(QStringLiteral("0.1"));
        results().ctl<QLabel>(QStringLiteral("Text1_2"))->setText(QStringLiteral("10"));
        results().ctl<QLabel>(QStringLiteral("Combo1"))->setText(QStringLiteral("20"));
        combo(QStringLiteral("Combo1"))->setText(QStringLiteral("3"));
        bool ran = false;
        QTimer::singleShot(0, &input(), [&] {
            ran = true;
            input().Image1_Click();
        });
        const quint64 yields = yieldsMade();
        results().Image4_Click();
        QCOMPARE(yieldsMade() - yields, quint64(20));
        QVERIFY(ran);
        QCOMPARE(fx->msgs.count(), 0);
        QCOMPARE(resultText(QStringLiteral("Lnsim")), QStringLiteral("20"));
        QCOMPARE(results().ctl<Grid>(QStringLiteral("Grid1"))->rows(), 21);
        QCOMPARE(tabelaimp().implinhas, 19);
    }

    void cancelClosesTheSimulation()
    {
        results().show();
        input().show();
        box(QStringLiteral("Text1_2"))->setText(QStringLiteral("44"));
        test::click(input().ctl(QStringLiteral("Image3")));
        QVERIFY(!input().isLoaded());
        QVERIFY(!results().isLoaded());
        QVERIFY(Form::find(QStringLiteral("Form5"))->visible());
        QCOMPARE(memsimula()[3].toString(), QStringLiteral("44"));
    }
};

TAV_TEST_MAIN(TestFSimula1)
#include "tst_fsimula1.moc"
