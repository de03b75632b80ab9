// The simulation results window: limpa, the activation that follows the
// input window, the sliders written back into it, the view switches, the
// simulate-again command, the continuous run and the dragging of the panel.
#include "common/random.h"
#include "common/readings.h"
#include "common/tabelaimp.h"
#include "common/yields.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/slider.h"
#include "simulation/fresultsim.h"
#include "simulation/fsimula1.h"
#include "simulation/resultados.h"
#include "simulation/simula.h"
#include "testkit.h"
#include "testmain.h"

#include <QMouseEvent>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace tav;

namespace {

FSimula1& input() { return formRef<FSimula1>(); }
FResultSim& win() { return formRef<FResultSim>(); }
QString label(const QString& name) { return win().ctl<QLabel>(name)->text(); }
QString valueLabel(int i) { return win().ctl<QLabel>(QStringLiteral("Label14"), i)->text(); }
Slider* slider(int i) { return win().ctl<Slider>(QStringLiteral("Hscroll%1").arg(i)); }
QTimer* timer() { return win().ctl<QTimer>(QStringLiteral("Timer1")); }
QWidget* panel() { return win().ctl(QStringLiteral("Picture5")); }
Grid* grid() { return win().ctl<Grid>(QStringLiteral("Grid1")); }
QWidget* continuous() { return win().ctl(QStringLiteral("Image1")); }
QImage face() { return win().ctl<ImageButton>(QStringLiteral("Image1"))->picture().toImage(); }
QImage startFace() { return win().ctl<PictureBox>(QStringLiteral("Picture8"))->picture().toImage(); }
QImage stopFace() { return win().ctl<PictureBox>(QStringLiteral("Picture9"))->picture().toImage(); }

bool drawn(const char* name)
{
    const QImage img = win().ctl<PictureBox>(QString::fromLatin1(name))->image();
    const QColor bg = img.pixelColor(img.width() - 1, 0);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) != bg)
                return true;
    return false;
}

// The input window's boxes as the run leaves them for this window.
void setInputs(const QString& n, const QString& prev, const QString& samp, const QString& runs = QStringLiteral("5"))
{
    input().ctl<QLineEdit>(QStringLiteral("Text1_0"))->setText(n);
    input().ctl<QLineEdit>(QStringLiteral("Text1_1"))->setText(prev);
    input().ctl<QLineEdit>(QStringLiteral("Text1_2"))->setText(samp);
    for (const char* name : {"Text1_0", "Text1_1", "Text1_2"})
        win().ctl<QLabel>(QString::fromLatin1(name))
            ->setText(input().ctl<QLineEdit>(QString::fromLatin1(name))->text());
    win().ctl<QLabel>(QStringLiteral("Combo1"))->setText(runs);
}

void mouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button)
{
    QMouseEvent e(type, QPointF(local), QPointF(w->mapToGlobal(local)),
                  button, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                  Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

} // namespace

class TestFResultSim : public QObject {
    Q_OBJECT

    std::unique_ptr<test::ProgramFixture> fx;
    LcgRandom lcg{777};

private slots:
    void init()
    {
        fx = std::make_unique<test::ProgramFixture>();
        resetSimulationState();
        tabelaimp().clear();
        lcg = LcgRandom(777);
        setRng(&lcg);
    }
    void cleanup()
    {
        setRng(nullptr);
        fx.reset();
    }

    void limpa_data()
    {
        QTest::addColumn<int>("f");
        QTest::addColumn<bool>("inputsCleared");
        QTest::newRow("results only") << 0 << false;
        QTest::newRow("inputs too") << 1 << true;
    }
    void limpa()
    {
        QFETCH(int, f);
        QFETCH(bool, inputsCleared);
        const QStringList inputs = {"Combo1", "Text1_0", "Text1_1", "Text1_2", "p1", "p2"};
        const QStringList results = {"Ling",    "Lpct_ing", "Lpre_ing", "Lencontradas", "Lingreso", "Lnsim",
                                     "Lingreso_total", "Lp1medio", "Lp2medio", "Np1medio", "Np2medio"};
        for (const QString& n : inputs + results)
            win().ctl<QLabel>(n)->setText(QStringLiteral("7"));
        win().limpa(f);
        for (const QString& n : results)
            QVERIFY2(label(n).isEmpty(), qPrintable(n));
        for (const QString& n : inputs)
            QCOMPARE(label(n).isEmpty(), inputsCleared);
    }

    void loadState()
    {
        win().show();
        QVERIFY(panel()->isHidden());
        QVERIFY(grid()->isHidden());
        QVERIFY(continuous()->isHidden());
        QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("0"));
        QCOMPARE(grid()->cols(), 6);
        QCOMPARE(grid()->colWidth(5), 1070);
        QCOMPARE(grid()->fixedAlignment(0), 2);
        QVERIFY(!timer()->isActive());
        QCOMPARE(timer()->interval(), 1000);
    }

    // Each slider shows its value, mirrors it into the input label and
    // writes it back into the input window.
    void sliderWritesBack_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("labelIndex");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("mirror");
        QTest::addColumn<QString>("inputControl");
        QTest::addColumn<QString>("written");
        QTest::newRow("p1 one step above") << 1 << 1000 << 2 << "0.1000" << "p1" << "Hscroll1" << "3001";
        QTest::newRow("p2") << 2 << 1000 << 3 << "0.1000" << "p2" << "Hscroll2" << "3000";
        QTest::newRow("sample") << 3 << 50 << 1 << "50" << "Text1_2" << "Text1_2" << "50";
        QTest::newRow("size") << 4 << 100 << 4 << "100" << "Text1_0" << "Text1_0" << "100";
        QTest::newRow("prevalence") << 5 << 2500 << 0 << "0.2500" << "Text1_1" << "Text1_1" << "0.2500";
    }
    void sliderWritesBack()
    {
        QFETCH(int, index);
        QFETCH(int, value);
        QFETCH(int, labelIndex);
        QFETCH(QString, shown);
        QFETCH(QString, mirror);
        QFETCH(QString, inputControl);
        QFETCH(QString, written);
        setInputs(QStringLiteral("1000"), QStringLiteral("0.1"), QStringLiteral("10"));
        slider(index)->setValue(value);
        QCOMPARE(valueLabel(labelIndex), test::shown(shown));
        QCOMPARE(label(mirror), test::shown(shown));
        if (inputControl.startsWith(QLatin1String("Hscroll")))
            QCOMPARE(QString::number(input().ctl<Slider>(inputControl)->value()), written);
        else
            QCOMPARE(input().ctl<QLineEdit>(inputControl)->text(), test::shown(written));
        QVERIFY(!input().visible());
    }

    void sizeBoundsTheSample()
    {
        setInputs(QStringLiteral("1000"), QStringLiteral("0.1"), QStringLiteral("10"));
        slider(4)->setValue(100);
        QCOMPARE(slider(3)->max(), 90);
        QCOMPARE(slider(3)->tickFrequency(), 9);
    }

    // A consignment size that lowers the sample's maximum below the sample
    // moves the sample as a change: its label, both sample-size boxes and the
    // drawing follow.
    void sizeBoundMovesTheSample()
    {
        win().show();
        setInputs(QStringLiteral("1000"), QStringLiteral("0.1"), QStringLiteral("900"));
        slider(4)->setValue(1000);
        slider(3)->setValue(900);
        panel()->show();
        win().ctl<PictureBox>(QStringLiteral("Picture1"))->cls();
        slider(4)->setValue(100);
        QCOMPARE(slider(3)->value(), 90);
        QCOMPARE(valueLabel(1), QStringLiteral("90"));
        QCOMPARE(label(QStringLiteral("Text1_2")), QStringLiteral("90"));
        QCOMPARE(input().ctl<QLineEdit>(QStringLiteral("Text1_2"))->text(), QStringLiteral("90"));
        QCOMPARE(fx->msgs.count(), 0);
        QVERIFY(drawn("Picture1"));
    }

    // The activation puts the sample where the input window has it, even
    // above 90 % of the consignment, and never writes another sample back.
    void activationKeepsTheInputSample_data()
    {
        QTest::addColumn<int>("sliderSize");   // consignment slider before
        QTest::addColumn<int>("sliderSample"); // sample slider before
        QTest::newRow("size changes, sample above 90 %") << 1000 << 900;
        QTest::newRow("size changes, sample below") << 1000 << 20;
        QTest::newRow("size unchanged") << 100 << 50;
    }
    void activationKeepsTheInputSample()
    {
        QFETCH(int, sliderSize);
        QFETCH(int, sliderSample);
        slider(4)->setValue(sliderSize);
        slider(3)->setMax(sliderSize - 1);
        slider(3)->setValue(sliderSample);
        setInputs(QStringLiteral("100"), QStringLiteral("0.2"), QStringLiteral("95"));
        win().Form_Activate();
        QCOMPARE(slider(4)->value(), 100);
        QCOMPARE(slider(3)->value(), 95);
        QCOMPARE(slider(3)->max(), 99);
        QCOMPARE(valueLabel(1), QStringLiteral("95"));
        QCOMPARE(label(QStringLiteral("Text1_2")), QStringLiteral("95"));
        QCOMPARE(input().ctl<QLineEdit>(QStringLiteral("Text1_2"))->text(), QStringLiteral("95"));
    }

    void activationFollowsTheInputs()
    {
        setInputs(QStringLiteral("100"), QStringLiteral("0.2"), QStringLiteral("20"));
        input().ctl<Slider>(QStringLiteral("Hscroll1"))->setValue(3000);
        input().ctl<Slider>(QStringLiteral("Hscroll2"))->setValue(15000);
        slider(4)->setValue(100); // unchanged by the activation below
        win().ctl<PictureBox>(QStringLiteral("Picture1"))->cls();
        win().Form_Activate();
        QCOMPARE(slider(3)->max(), 99);
        QCOMPARE(slider(3)->value(), 20);
        QCOMPARE(valueLabel(1), QStringLiteral("20"));
        QCOMPARE(slider(5)->value(), 2000);
        QCOMPARE(valueLabel(0), test::shown(QStringLiteral("0.2000")));
        QCOMPARE(slider(1)->value(), 1000);
        QCOMPARE(slider(2)->value(), 5000);
        QCOMPARE(label(QStringLiteral("p2")), test::shown(QStringLiteral("0.5000")));
        QCOMPARE(win().ajustando(), 0);
        // No view shown: nothing drawn, the continuous run stopped.
        QVERIFY(!drawn("Picture1"));
        QVERIFY(continuous()->isHidden());
        QVERIFY(!timer()->isActive());
        QCOMPARE(face(), startFace());
    }

    void activationWithTheGridDrawsIntoTheHiddenPanel()
    {
        setInputs(QStringLiteral("100"), QStringLiteral("0.2"), QStringLiteral("20"));
        grid()->show();
        win().Form_Activate();
        QVERIFY(!continuous()->isHidden());
        QVERIFY(panel()->isHidden());
        QVERIFY(drawn("Picture1"));
    }

    void showImage_data()
    {
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("prevalence");
        QTest::addColumn<QString>("message");
        QTest::newRow("drawable") << "5000" << "0.9" << "";
        QTest::newRow("consignment too large") << "6000" << "0.1" << "Consignment to large to draw the image";
        QTest::newRow("prevalence too large") << "100" << "0.95" << "Prevalence to large to draw the image";
    }
    void showImage()
    {
        QFETCH(QString, size);
        QFETCH(QString, prevalence);
        QFETCH(QString, message);
        win().show();
        setInputs(size, prevalence, QStringLiteral("10"));
        grid()->show();
        win().Image9_Click();
        if (message.isEmpty()) {
            QCOMPARE(fx->msgs.count(), 0);
            QVERIFY(!panel()->isHidden());
            QVERIFY(grid()->isHidden());
            QVERIFY(!continuous()->isHidden());
        } else {
            QCOMPARE(fx->msgs.count(), 1);
            QCOMPARE(fx->msgs.last().text, message);
            QCOMPARE(fx->msgs.last().style, int(MbInformation));
            QCOMPARE(fx->msgs.last().title, QStringLiteral("Warning"));
            QVERIFY(panel()->isHidden());
            QVERIFY(!grid()->isHidden());
        }
    }

    void viewSwitchesAndTheTimer()
    {
        win().show();
        setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"));
        win().Image9_Click();
        QVERIFY(!panel()->isHidden());
        win().Image1_Click();
        QVERIFY(timer()->isActive());
        QCOMPARE(face(), stopFace());
        // The grid replaces the panel and the run goes on.
        win().Image10_Click();
        QVERIFY(panel()->isHidden());
        QVERIFY(!grid()->isHidden());
        QVERIFY(timer()->isActive());
        // Back to the panel, then no view at all: the run stops.
        win().Image9_Click();
        QVERIFY(timer()->isActive());
        win().Image9_Click();
        QVERIFY(panel()->isHidden());
        QVERIFY(continuous()->isHidden());
        QVERIFY(!timer()->isActive());
        QCOMPARE(face(), startFace());
    }

    void continuousRunStartsAndStops()
    {
        win().show();
        setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"));
        grid()->show();
        win().Image1_Click();
        QVERIFY(timer()->isActive());
        QCOMPARE(face(), stopFace());
        // The first run was made at once.
        QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("5"));
        QCOMPARE(grid()->rows(), 6);
        win().Image1_Click();
        QVERIFY(!timer()->isActive());
        QCOMPARE(face(), startFace());
    }

    void ticksSimulateAgain()
    {
        win().show();
        setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"));
        grid()->show();
        win().Image1_Click();
        win().ctl<QLabel>(QStringLiteral("Lnsim"))->setText(QStringLiteral("x"));
        // Only the test's ticks fire the timer: one tick, one whole run.
        const quint64 yields = yieldsMade();
        fx->timers.tick(timer());
        QCOMPARE(yieldsMade() - yields, quint64(5));
        QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("5"));
        QVERIFY(timer()->isActive());
        // Change inputs stops the run and leaves the face as it was.
        win().Image3_Click();
        QVERIFY(!timer()->isActive());
        QCOMPARE(face(), stopFace());
        QVERIFY(input().visible());
    }

    void simulateAgainWithThePanelHidden()
    {
        win().show();
        setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("7"));
        input().ctl<Slider>(QStringLiteral("Hscroll1"))->setValue(15000);
        grid()->setColAlignment(3, 1);
        win().Image4_Click();
        QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("7"));
        QCOMPARE(label(QStringLiteral("p1")), test::shown(QStringLiteral("0.5")));
        QVERIFY(!label(QStringLiteral("Lp1medio")).isEmpty() || label(QStringLiteral("Lpct_ing")) == "0 %");
        QCOMPARE(grid()->rows(), 8);
        QCOMPARE(tabelaimp().implinhas, 6);
        // The fill does not centre the columns again.
        QCOMPARE(grid()->colAlignment(3), 1);
        // The consignment went into the hidden panel.
        QVERIFY(drawn("Picture1"));
    }

    void simulateAgainWithThePanelShownOnlyDraws()
    {
        win().show();
        setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"));
        slider(4)->setValue(100);
        slider(5)->setValue(1000);
        slider(3)->setValue(10);
        panel()->show();
        win().ctl<QLabel>(QStringLiteral("Ling"))->setText(QStringLiteral("kept"));
        grid()->setRows(3);
        win().ctl<PictureBox>(QStringLiteral("Picture1"))->cls();
        win().Image4_Click();
        QCOMPARE(label(QStringLiteral("Ling")), QStringLiteral("kept"));
        QCOMPARE(grid()->rows(), 3);
        QVERIFY(drawn("Picture1"));
    }

    // The run takes the input window's three variabilities, not what
    // another window left in the shared ones.
    void simulateAgainUsesTheInputWindowsVariabilities()
    {
        win().show();
        setInputs(QStringLiteral("1000"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("50"));
        for (const char* c : {"Combo2", "Combo3", "Combo4"})
            input().ctl<ComboBox>(QString::fromLatin1(c))->setText(QStringLiteral("10"));
        input().ctl<ComboBox>(QStringLiteral("Combo4"))->setText(QStringLiteral("20"));
        variabilidades() = Variabilidades{0.9, 0.9, 0.9}; // as the topic-4 page may leave them
        grid()->show();
        win().Image4_Click();
        QCOMPARE(fx->msgs.count(), 0);
        QCOMPARE(variabilidades().varprev, 0.1);
        QCOMPARE(variabilidades().varp1, 0.1);
        QCOMPARE(variabilidades().varp2, 0.2);
        for (int row = 1; row <= 50; ++row) {
            const double p = numberOrLeading(resultados().text(2, row));
            QVERIFY2(p >= 0.09 - 1e-9 && p <= 0.11 + 1e-9, qPrintable(QString::number(p)));
        }
    }

    // A run the engine refuses after a good one leaves labels, grid and
    // print table in agreement: no results.
    void refusedRunLeavesNoOldResults()
    {
        win().show();
        setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("5"));
        grid()->show();
        win().Image4_Click();
        QCOMPARE(grid()->rows(), 6);
        win().ctl<QLabel>(QStringLiteral("Text1_0"))->setText(QStringLiteral("20000"));
        win().Image4_Click();
        QCOMPARE(fx->msgs.count(), 1);
        QCOMPARE(fx->msgs.last().title, QStringLiteral("Error in simulation"));
        for (const char* l : {"Ling", "Lpct_ing", "Lpre_ing", "Lencontradas", "Lingreso", "Lingreso_total"})
            QVERIFY2(label(QString::fromLatin1(l)).isEmpty(), l);
        QCOMPARE(grid()->rows(), 1);
        QCOMPARE(tabelaimp().implinhas, -1);
    }

    // The input window's Reset changes no input while a run yields.
    void inputResetWhileTheRunYields()
    {
        win().show();
        setInputs(QStringLiteral("100"), QStringLiteral("0.2"), QStringLiteral("20"), QStringLiteral("20"));
        QTimer::singleShot(0, &win(), [&] { input().Image2_Click(); });
        const quint64 yields = yieldsMade();
        win().Image4_Click();
        // One yield per consignment; the Reset came at the first.
        QCOMPARE(yieldsMade() - yields, quint64(20));
        QCOMPARE(input().ctl<QLineEdit>(QStringLiteral("Text1_0"))->text(), QStringLiteral("100"));
        QCOMPARE(input().ctl<QLineEdit>(QStringLiteral("Text1_2"))->text(), QStringLiteral("20"));
        input().Image2_Click();
        QCOMPARE(input().ctl<QLineEdit>(QStringLiteral("Text1_0"))->text(), QStringLiteral("1000"));
    }

    // A tick or a click while a run yields starts no second run.
    void nestedStartIsRefused()
    {
        win().show();
        setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("20"));
        bool sawRunning = false;
        QString during;
        QTimer::singleShot(0, &win(), [&] {
            sawRunning = simulaRunning();
            win().ctl<QLabel>(QStringLiteral("Ling"))->setText(QStringLiteral("marker"));
            win().Image4_Click();
            during = label(QStringLiteral("Ling"));
        });
        const quint64 yields = yieldsMade();
        win().Image4_Click();
        QCOMPARE(yieldsMade() - yields, quint64(20));
        QVERIFY(sawRunning);
        // The nested call did not clear the labels.
        QCOMPARE(during, QStringLiteral("marker"));
        QCOMPARE(label(QStringLiteral("Lnsim")), QStringLiteral("20"));
        QCOMPARE(grid()->rows(), 21);
        QVERIFY(label(QStringLiteral("Ling")).endsWith(QLatin1String(" %")));
    }

    void windowClosedDuringTheRun()
    {
        win().show();
        setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("20"));
        QTimer::singleShot(0, &win(), [] { win().unload(); });
        const quint64 yields = yieldsMade();
        win().Image4_Click();
        // The run ended at the yield that let the unload in.
        QCOMPARE(yieldsMade() - yields, quint64(1));
        // Nothing reloaded the window to draw or fill it.
        QVERIFY(!win().isLoaded());
    }

    void dragMovesThePanelAndTheGrid_data()
    {
        QTest::addColumn<bool>("onGrid");
        QTest::addColumn<int>("button");
        QTest::newRow("panel, left") << false << int(Qt::LeftButton);
        QTest::newRow("panel, right") << false << int(Qt::RightButton);
        QTest::newRow("grid") << true << int(Qt::LeftButton);
    }
    void dragMovesThePanelAndTheGrid()
    {
        QFETCH(bool, onGrid);
        QFETCH(int, button);
        win().show();
        QWidget* moved = onGrid ? static_cast<QWidget*>(grid()) : panel();
        moved->show();
        QWidget* target = onGrid ? grid()->table()->viewport() : moved;
        const QPoint before = moved->pos();
        const auto b = Qt::MouseButton(button);
        mouse(target, QEvent::MouseButtonPress, QPoint(5, 5), b);
        mouse(target, QEvent::MouseMove, QPoint(45, 35), b);
        mouse(target, QEvent::MouseButtonRelease, QPoint(45, 35), b);
        QCOMPARE(moved->pos(), before + QPoint(40, 30));
        // Without a button held nothing moves.
        mouse(target, QEvent::MouseMove, QPoint(90, 90), Qt::NoButton);
        QCOMPARE(moved->pos(), before + QPoint(40, 30));
    }

    void unloadStopsTheTimer()
    {
        win().show();
        setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"));
        panel()->show();
        win().Image1_Click();
        QTimer* t = timer();
        QVERIFY(t->isActive());
        win().unload();
        QVERIFY(!t->isActive());
    }
};

TAV_TEST_MAIN(TestFResultSim)
#include "tst_fresultsim.moc"
