// The inspection simulation engine: the pure run, its labels and the window
// adapter over a small window that carries the controls the engine uses.
#include "common/errors.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/random.h"
#include "common/window.h"
#include "common/yields.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "simulation/resultados.h"
#include "simulation/simula.h"
#include "testkit.h"
#include "testmain.h"

#include <QComboBox>
#include <QLocale>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <memory>

using namespace tav;

namespace {

const QString kUntouched = QStringLiteral("untouched");

QStringList allLabels() { return resultLabelNames(true); }

// A window with the named controls of the engine; some may be left out.
// Combo1 is a combo box (0), a text box (1), a label (2) or a bare Qt
// combo box (3).
class SimWindow : public Form {
public:
    explicit SimWindow(QStringList omit = {}, int comboKind = 0, const QString& name = QStringLiteral("SimWindow"))
        : Form(name), omit_(std::move(omit)), comboKind_(comboKind)
    {
    }

    QString text(const QString& name) { return controlText(ctl<QWidget>(name)); }
    void set(const QString& name, const QString& value) { setControlText(ctl<QWidget>(name), value); }
    void setInputs(const QString& N, const QString& prev, const QString& n, const QString& I)
    {
        set(QStringLiteral("Text1_0"), N);
        set(QStringLiteral("Text1_1"), prev);
        set(QStringLiteral("Text1_2"), n);
        set(QStringLiteral("Combo1"), I);
    }

protected:
    void build(FormWidget* w) override
    {
        QWidget* c = w->client();
        int top = 0;
        const auto want = [&](const QString& name) { return !omit_.contains(name); };
        for (int i = 0; i < 3; ++i)
            if (want(arrayName(QStringLiteral("Text1"), i)))
                place<TextBox>(c, arrayName(QStringLiteral("Text1"), i), 0, top += 300, 900, 285);
        if (want(QStringLiteral("Combo1"))) {
            const QString name = QStringLiteral("Combo1");
            if (comboKind_ == 0) {
                auto* box = place<ComboBox>(c, name, 0, top += 300, 900, 315);
                for (const char* item : {"1", "10", "500"})
                    box->addItem(QLatin1String(item));
            } else if (comboKind_ == 1) {
                place<TextBox>(c, name, 0, top += 300, 900, 285);
            } else if (comboKind_ == 2) {
                place<Label>(c, name, 0, top += 300, 900, 285);
            } else {
                place<QComboBox>(c, name, 0, top += 300, 900, 315)->setEditable(true);
            }
        }
        for (const QString& name : allLabels())
            if (want(name))
                place<Label>(c, name, 1000, top += 300, 900, 285)->setText(kUntouched);
    }

private:
    QStringList omit_;
    int comboKind_;
};

QString rowText(int k)
{
    QStringList cells;
    for (int c = 1; c <= 6; ++c)
        cells << resultados().text(c, k);
    return cells.join(u'|');
}

// "name=text" for every label of the window that exists.
QStringList shownLabels(SimWindow& w)
{
    QStringList out;
    for (const QString& name : allLabels())
        if (w.findCtl<QWidget>(name))
            out << name + u'=' + w.text(name);
    return out;
}

QString errorText(const QString& description)
{
    return description + QChar(13) + QStringLiteral("Try again with new inputs");
}

} // namespace

class TestSimula : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void infestedUnitsWithTolerance_data();
    void infestedUnitsWithTolerance();
    void labelTexts_data();
    void labelTexts();

    void scriptedRuns_data();
    void scriptedRuns();
    void unrunnableInputsAreRefusedBeforeAnyDraw_data();
    void unrunnableInputsAreRefusedBeforeAnyDraw();
    void errorBoxAnswers_data();
    void errorBoxAnswers();
    void combo1OfEveryKindCountsTheRun_data();
    void combo1OfEveryKindCountsTheRun();
    void fullTableRunsAndLaterRowsKeepTheirValues();

    void windowRunStoresThePureRunsRows();
    void refusalRateMatchesHypergeometric_data();
    void refusalRateMatchesHypergeometric();
    void drawnProbabilitiesStayInTheirRange_data();
    void drawnProbabilitiesStayInTheirRange();

    void secondStartWhileYieldingIsRefused();
    void unloadWhileYieldingStopsAtOnce_data();
    void unloadWhileYieldingStopsAtOnce();
    void unloadWhileTheErrorBoxIsOpenStops();

private:
    std::unique_ptr<test::ProgramFixture> fx;
    ScriptedRandom scripted;
};

void TestSimula::init()
{
    fx = std::make_unique<test::ProgramFixture>();
    resetSimulationState();
    scripted = ScriptedRandom();
    setRng(&scripted);
}

void TestSimula::cleanup()
{
    setRng(nullptr);
    fx.reset();
    resetSimulationState();
}

void TestSimula::infestedUnitsWithTolerance_data()
{
    QTest::addColumn<double>("D");
    QTest::addColumn<int>("units");
    QTest::newRow("0.07 of 100") << 0.07 * 100 << 7;
    QTest::newRow("0.23 of 10") << 0.23 * 10 << 3;
    QTest::newRow("2.3") << 2.3 << 3;
    QTest::newRow("just above a whole") << 7.0000001 << 8;
    QTest::newRow("whole") << 10.0 << 10;
    QTest::newRow("zero") << 0.0 << 0;
    QTest::newRow("a fraction of a unit") << 0.01 << 1;
    QTest::newRow("a whole consignment") << 0.999 * 10000 / 0.999 << 10000;
}

void TestSimula::infestedUnitsWithTolerance()
{
    QFETCH(double, D);
    QFETCH(int, units);
    QCOMPARE(infestedUnits(D), units);
}

void TestSimula::labelTexts_data()
{
    QTest::addColumn<int>("N");
    QTest::addColumn<int>("I");
    QTest::addColumn<int>("refused");
    QTest::addColumn<int>("ingressed");
    QTest::addColumn<int>("found");
    QTest::addColumn<double>("sumPrevalence");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("thirds") << 100 << 3 << 1 << 2 << 7 << 0.2 << QStringList{
        "Lpre_ing=0.1", "Lencontradas=7", "Lingreso=10", "Ling=33.3 %", "Lpct_ing=66.7 %", "Lingreso_total=20"};
    QTest::newRow("one decimal of the mean found") << 100 << 4 << 3 << 1 << 7 << 0.1 << QStringList{
        "Lencontradas=2.3", "Ling=75 %", "Lpct_ing=25 %"};
    // N x m of four digits shows in full, without grouping.
    QTest::newRow("large ingress") << 9000 << 2 << 0 << 2 << 0 << 0.2743 << QStringList{
        "Lpre_ing=0.1372", "Lingreso=1234", "Lingreso_total=2468", "Lencontradas=-"};
    QTest::newRow("halves away from zero") << 10 << 2 << 0 << 2 << 0 << 0.5 << QStringList{
        "Lpre_ing=0.25", "Lingreso=3", "Lingreso_total=6"};
    QTest::newRow("less than half a unit ingresses") << 10 << 2 << 0 << 2 << 0 << 0.05 << QStringList{
        "Lpre_ing=0.025", "Lingreso=0", "Lingreso_total=0"};
    QTest::newRow("every consignment refused") << 10 << 2 << 2 << 0 << 3 << 0.0 << QStringList{
        "Lpre_ing=-", "Lingreso=0", "Lingreso_total=0", "Ling=100 %", "Lpct_ing=0 %", "Lencontradas=1.5"};
}

void TestSimula::labelTexts()
{
    QFETCH(int, N);
    QFETCH(int, I);
    QFETCH(int, refused);
    QFETCH(int, ingressed);
    QFETCH(int, found);
    QFETCH(double, sumPrevalence);
    QFETCH(QStringList, expected);
    SimulationInputs in;
    in.N = N;
    in.I = I;
    SimulationTotals t;
    t.refused = refused;
    t.ingressed = ingressed;
    t.found = found;
    t.sumPrevalence = sumPrevalence;
    for (const QString& e : expected) {
        const QString name = e.section(u'=', 0, 0);
        QCOMPARE(name + u'=' + resultLabelText(name, in, t), test::shown(e));
    }
}

// Rows read "k|prevalence|found|result|ingressed units|established".
void TestSimula::scriptedRuns_data()
{
    QTest::addColumn<QStringList>("inputs"); // N, prevalence, n, consignments
    QTest::addColumn<QList<double>>("settings"); // varprev, varp1, varp2, prob1, prob2
    QTest::addColumn<QList<float>>("script");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("labels");
    QTest::addColumn<int>("draws"); // -1: not pinned

    // Per consignment: prevalence, infested units, inspected units, P1, P2.
    QTest::newRow("all refused, establishment on")
        << QStringList{"10", "0.2", "3", "2"} << QList<double>{0, 0, 0, 0.5, 0.5}
        << QList<float>{0.5f, 0.0f, 0.1f, 0.0f, 0.15f, 0.9f,          // units 1, 2; sample 1, 2, 10
                        0.3f, 0.95f, 0.55f, 0.95f, 0.0f, 0.05f, 0.25f} // units 10, 6; sample 10, 1, (1), 3
        << QStringList{"1|0.2|2|Refused|0|0", "2|0.2|1|Refused|0|0"}
        << QStringList{"Lpre_ing=-", "Lencontradas=1.5", "Lingreso=0", "Ling=100 %", "Lpct_ing=0 %", "Lnsim=2",
                       "Lingreso_total=0", "p1=0.5", "p2=0.5", "Np1medio=-", "Np2medio=-", "Lp1medio=-",
                       "Lp2medio=-"}
        << 13;
    QTest::newRow("none refused, establishment on")
        << QStringList{"10", "0.5", "2", "2"} << QList<double>{0, 0.25, 0, 0.8, 0.5}
        << QList<float>{0.0f, 0.0f, 0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.5f, 0.9f,
                        0.0f, 0.0f, 0.1f, 0.2f, 0.3f, 0.4f, 0.7f, 0.8f, 0.0f, 0.9f}
        << QStringList{"1|0.5|0|Ingressed|5|2", "2|0.5|0|Ingressed|5|2"}
        << QStringList{"Lpre_ing=0.5", "Lencontradas=-", "Lingreso=5", "Ling=0 %", "Lpct_ing=100 %", "Lnsim=2",
                       "Lingreso_total=10", "p1=0.8", "p2=0.5", "Np1medio=4", "Np2medio=2", "Lp1medio=0.7",
                       "Lp2medio=0.5"}
        << 20;
    // hi 3, lo 1: D = 1 + 2 x 0.65 = 2.3; 10.5 and 2.5 round to even.
    QTest::newRow("D = 2.3 infests 3 units")
        << QStringList{" 10.5", "0.2", "2.5 units", "1"} << QList<double>{0.5, 0, 0, 0, 0}
        << QList<float>{0.65f, 0.0f, 0.1f, 0.2f, 0.5f, 0.6f}
        << QStringList{"1|0.23|0|Ingressed|2|0"}
        << QStringList{"Lpre_ing=0.23", "Lencontradas=-", "Lingreso=2", "Ling=0 %", "Lpct_ing=100 %", "Lnsim=1",
                       "Lingreso_total=2", "p1=untouched", "p2=untouched", "Np1medio=untouched",
                       "Np2medio=untouched", "Lp1medio=untouched", "Lp2medio=untouched"}
        << 6;
    // Shown values round halves away from zero: D = 2.5 ingresses 3 units.
    QTest::newRow("half a unit ingresses")
        << QStringList{"10", "0.2", "1", "1"} << QList<double>{0.5, 0, 0, 0, 0}
        << QList<float>{0.75f, 0.0f, 0.1f, 0.2f, 0.5f}
        << QStringList{"1|0.25|0|Ingressed|3|0"} << QStringList{"Lingreso=3"} << 5;
    QTest::newRow("prevalence half at the fifth decimal")
        << QStringList{"32", "0.03125", "0", "1"} << QList<double>{0, 0, 0, 0, 0} << QList<float>{0.0f, 0.0f}
        << QStringList{"1|0.0313|0|Ingressed|1|0"} << QStringList{"Lpre_ing=0.0313"} << 2;
    QTest::newRow("0.07 of 100 units infests 7")
        << QStringList{"100", "0.07", "0", "1"} << QList<double>{0, 0, 0, 0, 0}
        << QList<float>{0.0f, 0.005f, 0.015f, 0.025f, 0.035f, 0.045f, 0.055f, 0.065f}
        << QStringList{"1|0.07|0|Ingressed|7|0"} << QStringList{"Lingreso=7", "Lnsim=1"} << 8;
    QTest::newRow("n = N - 1 leaves the one infested unit out")
        << QStringList{"5", "0.2", "4", "1"} << QList<double>{0, 0, 0, 0, 0}
        << QList<float>{0.0f, 0.9f, 0.0f, 0.2f, 0.4f, 0.6f}
        << QStringList{"1|0.2|0|Ingressed|1|0"} << QStringList{"Ling=0 %", "Lpct_ing=100 %"} << 6;
    QTest::newRow("a sample of N inspects every unit")
        << QStringList{"4", "0.25", "4", "1"} << QList<double>{0, 0, 0, 0, 0}
        << QList<float>{0.0f, 0.8f, 0.0f, 0.3f, 0.5f, 0.8f}
        << QStringList{"1|0.25|1|Refused|0|0"} << QStringList{"Ling=100 %", "Lencontradas=1"} << 6;
    // A generator stuck on one value still ends every pick.
    QTest::newRow("n = N - 1 with a stuck generator")
        << QStringList{"5", "0.4", "4", "1"} << QList<double>{0, 0, 0, 0, 0}
        << QList<float>{0.0f, 0.0f, 0.0f, 0.2f, 0.0f}
        << QStringList{"1|0.4|2|Refused|0|0"} << QStringList{"Lencontradas=2"} << -1;
    QTest::newRow("prob1 only: P2 is drawn as 0")
        << QStringList{"10", "0.2", "2", "1"} << QList<double>{0, 0, 0, 0.5, 0}
        << QList<float>{0.0f, 0.0f, 0.1f, 0.5f, 0.6f, 0.3f, 0.7f}
        << QStringList{"1|0.2|0|Ingressed|2|0"}
        << QStringList{"p1=0.5", "p2=0", "Np1medio=1", "Np2medio=0", "Lp1medio=0.5", "Lp2medio=0"} << 7;
    // A negative p variability does not matter to a run without establishment.
    QTest::newRow("p variabilities unused without establishment")
        << QStringList{"10", "0.1", "1", "1"} << QList<double>{0, -0.5, -0.5, 0, 0}
        << QList<float>{0.0f, 0.0f, 0.5f}
        << QStringList{"1|0.1|0|Ingressed|1|0"} << QStringList{"Lnsim=1", "p1=untouched"} << 3;
}

void TestSimula::scriptedRuns()
{
    QFETCH(QStringList, inputs);
    QFETCH(QList<double>, settings);
    QFETCH(QList<float>, script);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, labels);
    QFETCH(int, draws);

    for (float r : script)
        scripted.push(r);
    variabilidades() = Variabilidades{settings[0], settings[1], settings[2]};
    SimWindow w;
    w.setInputs(inputs[0], inputs[1], inputs[2], inputs[3]);
    QCOMPARE(simula(settings[3], settings[4], w), SimulaEnd::Finished);

    QCOMPARE(fx->msgs.count(), 0);
    for (int k = 1; k <= rows.size(); ++k)
        QCOMPARE(rowText(k), test::shown(rows[k - 1]));
    const QStringList shown = shownLabels(w);
    for (const QString& l : labels)
        QVERIFY2(shown.contains(test::shown(l)), qPrintable(l + QStringLiteral(" not in ") + shown.join(u',')));
    QCOMPARE(w.text(QStringLiteral("Combo1")), QString::number(rows.size()));
    if (draws >= 0)
        QCOMPARE(scripted.draws, draws);
}

void TestSimula::unrunnableInputsAreRefusedBeforeAnyDraw_data()
{
    QTest::addColumn<QStringList>("inputs");
    QTest::addColumn<QList<double>>("settings"); // varprev, varp1, varp2, prob1
    QTest::addColumn<QString>("description");

    QTest::newRow("sample above the consignment after rounding")
        << QStringList{"10.4", "0.1", "10.6", "5"} << QList<double>{0, 0, 0, 0}
        << "Sample size larger than the consignment size";
    QTest::newRow("negative sample") << QStringList{"10", "0.1", "-1", "5"} << QList<double>{0, 0, 0, 0}
                                     << "Negative sample size";
    QTest::newRow("negative prevalence variability")
        << QStringList{"10", "0.9", "2", "5"} << QList<double>{-0.5, 0, 0, 0} << "Negative variability";
    QTest::newRow("negative p2 variability with establishment")
        << QStringList{"10", "0.1", "2", "5"} << QList<double>{0, 0, -0.1, 0.3} << "Negative variability";
    QTest::newRow("empty consignment") << QStringList{"0", "0.1", "0", "5"} << QList<double>{0, 0, 0, 0}
                                       << "Consignment size below 1";
    QTest::newRow("more units than the state table") << QStringList{"10001", "0.1", "10", "5"}
                                                     << QList<double>{0, 0, 0, 0} << "Subscript out of range";
    QTest::newRow("511 consignments") << QStringList{"100", "0.1", "10", "511"} << QList<double>{0, 0, 0, 0}
                                      << "Subscript out of range";
}

void TestSimula::unrunnableInputsAreRefusedBeforeAnyDraw()
{
    QFETCH(QStringList, inputs);
    QFETCH(QList<double>, settings);
    QFETCH(QString, description);

    resultados().setCell(1, 1, QStringLiteral("earlier"));
    variabilidades() = Variabilidades{settings[0], settings[1], settings[2]};
    SimWindow w;
    w.setInputs(inputs[0], inputs[1], inputs[2], inputs[3]);
    QCOMPARE(simula(settings[3], 0.0, w), SimulaEnd::Failed); // the box's default: Abort

    QCOMPARE(fx->msgs.count(), 1);
    QCOMPARE(fx->msgs.last().title, QStringLiteral("Error in simulation"));
    QCOMPARE(fx->msgs.last().text, errorText(description));
    QCOMPARE(fx->msgs.last().style, MbCritical + MbAbortRetryIgnore);
    QCOMPARE(scripted.draws, 0);
    QCOMPARE(resultados().text(1, 1), QStringLiteral("earlier"));
    QCOMPARE(w.text(QStringLiteral("Combo1")), inputs[3]);
    QCOMPARE(w.text(QStringLiteral("Ling")), kUntouched);
}

void TestSimula::errorBoxAnswers_data()
{
    QTest::addColumn<QStringList>("omit");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("boxes"); // error descriptions in order
    QTest::addColumn<QStringList>("labels");

    const QString overflow = QStringLiteral("Overflow");
    const QString missing = QStringLiteral("Object required: SimWindow.Lingreso");
    // No consignment runs; the percentages divide 0 by 0.
    QTest::newRow("empty count, abort")
        << QStringList{} << "" << QList<int>{} << QStringList{overflow}
        << QStringList{"Lpre_ing=-", "Lencontradas=-", "Lingreso=0", "Ling=untouched", "Lnsim=untouched"};
    // Both percentages fail with the same box: shown once.
    QTest::newRow("words for a count, ignore")
        << QStringList{} << "ten" << QList<int>{IdIgnore} << QStringList{overflow}
        << QStringList{"Ling=untouched", "Lpct_ing=untouched", "Lnsim=ten", "Lingreso_total=0"};
    QTest::newRow("missing label, abort")
        << QStringList{"Lingreso"} << "2" << QList<int>{IdAbort} << QStringList{missing}
        << QStringList{"Lpre_ing=0.1", "Lencontradas=-", "Ling=untouched", "Lnsim=untouched"};
    QTest::newRow("missing label, retry then ignore")
        << QStringList{"Lingreso"} << "2" << QList<int>{IdRetry, IdIgnore} << QStringList{missing, missing}
        << QStringList{"Ling=0 %", "Lpct_ing=100 %", "Lnsim=2", "Lingreso_total=2"};
    // Ignoring the unreadable prevalence runs with 0: nothing is infested.
    QTest::newRow("missing prevalence box, ignore")
        << QStringList{"Text1_1"} << "2" << QList<int>{IdIgnore}
        << QStringList{QStringLiteral("Object required: SimWindow.Text1_1")}
        << QStringList{"Lpre_ing=0", "Lpct_ing=100 %", "Lingreso=0"};
}

void TestSimula::errorBoxAnswers()
{
    QFETCH(QStringList, omit);
    QFETCH(QString, count);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, labels);

    for (int a : answers)
        fx->msgs.answer(a);
    SimWindow w(omit);
    // N 10, prevalence 0.1: one infested unit, never in a sample of 0.
    for (const auto& [name, value] : {std::pair{"Text1_0", "10"}, {"Text1_1", "0.1"}, {"Text1_2", "0"}})
        if (!omit.contains(QLatin1String(name)))
            w.set(QLatin1String(name), QLatin1String(value));
    w.set(QStringLiteral("Combo1"), count);
    simula(0.0, 0.0, w);

    QCOMPARE(fx->msgs.count(), boxes.size());
    for (int i = 0; i < boxes.size(); ++i)
        QCOMPARE(fx->msgs.boxes[i].text, errorText(boxes[i]));
    const QStringList shown = shownLabels(w);
    for (const QString& l : labels)
        QVERIFY2(shown.contains(test::shown(l)), qPrintable(l + QStringLiteral(" not in ") + shown.join(u',')));
}

void TestSimula::combo1OfEveryKindCountsTheRun_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("combo box") << 0;
    QTest::newRow("text box") << 1;
    QTest::newRow("label") << 2;
    QTest::newRow("bare Qt combo box") << 3;
}

void TestSimula::combo1OfEveryKindCountsTheRun()
{
    QFETCH(int, kind);
    LcgRandom seeded;
    setRng(&seeded);
    SimWindow w({}, kind);
    w.setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("7"));
    QStringList seen;
    QWidget* combo = w.ctl<QWidget>(QStringLiteral("Combo1"));
    QTimer probe;
    connect(&probe, &QTimer::timeout, this, [&] { seen << w.text(QStringLiteral("Combo1")); });
    probe.start(0);
    const quint64 yields = yieldsMade();
    QCOMPARE(simula(0.0, 0.0, w), SimulaEnd::Finished);
    probe.stop();
    // One yield per consignment.
    QCOMPARE(yieldsMade() - yields, quint64(7));
    QVERIFY(combo);
    QCOMPARE(fx->msgs.count(), 0);
    QCOMPARE(w.text(QStringLiteral("Combo1")), QStringLiteral("7"));
    QCOMPARE(w.text(QStringLiteral("Lnsim")), QStringLiteral("7"));
    // The counter is seen moving while the run yields.
    seen.removeDuplicates();
    QCOMPARE(seen, (QStringList{"1", "2", "3", "4", "5", "6", "7"}));
}

void TestSimula::fullTableRunsAndLaterRowsKeepTheirValues()
{
    LcgRandom seeded;
    setRng(&seeded);
    variabilidades().varprev = 0.1;
    SimWindow w;
    w.setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("510"));
    QCOMPARE(simula(0.0, 0.0, w), SimulaEnd::Finished);
    QCOMPARE(fx->msgs.count(), 0);
    QCOMPARE(resultados().text(1, 510), QStringLiteral("510"));
    QCOMPARE(w.text(QStringLiteral("Lnsim")), QStringLiteral("510"));
    int refused = 0;
    for (int k = 1; k <= 510; ++k)
        refused += resultados().text(4, k) == QLatin1String("Refused");
    QCOMPARE(w.text(QStringLiteral("Ling")),
             generalText(std::round(refused * 1000.0 / 510) / 10) + QStringLiteral(" %"));

    const QString row7 = rowText(7);
    w.set(QStringLiteral("Combo1"), QStringLiteral("5"));
    QCOMPARE(simula(0.0, 0.0, w), SimulaEnd::Finished);
    QCOMPARE(resultados().text(1, 5), QStringLiteral("5"));
    QCOMPARE(rowText(7), row7);
}

// The adapter stores what the pure run computes, each value as its picture
// pattern shows it.
void TestSimula::windowRunStoresThePureRunsRows()
{
    const Variabilidades vars{0.9, 0.5, 0.5};
    variabilidades() = vars;
    SimulationInputs in;
    in.N = 997;
    in.prevalence = 0.3;
    in.n = 3;
    in.I = 500;
    in.varprev = vars.varprev;
    in.varp1 = vars.varp1;
    in.varp2 = vars.varp2;
    in.prob1 = 0.9;
    in.prob2 = 0.7;
    LcgRandom a(0x777777);
    const SimulationResult pure = simulate(in, a);

    LcgRandom b(0x777777);
    setRng(&b);
    SimWindow w;
    w.setInputs(QStringLiteral("997"), QStringLiteral("0.3"), QStringLiteral("3"), QStringLiteral("500"));
    QCOMPARE(simula(in.prob1, in.prob2, w), SimulaEnd::Finished);

    const auto shown = [](double v, const char* pattern) {
        return QLocale().toDouble(formatNumber(v, QString::fromLatin1(pattern)));
    };
    int established = 0;
    for (const SimulationRow& row : pure.rows) {
        QCOMPARE(row.prevalence, shown(row.D / in.N, "0.####"));
        QCOMPARE(row.ingressed, row.refused ? 0.0 : shown(row.D, "#######"));
        const QString est = row.est >= 1 ? formatNumber(row.est, QStringLiteral("#0")) : QStringLiteral("0");
        established += row.est >= 1;
        QCOMPARE(rowText(row.k), QStringList({QString::number(row.k), generalText(row.prevalence),
                                              QString::number(row.found), row.refused ? "Refused" : "Ingressed",
                                              generalText(row.ingressed), est})
                                     .join(u'|'));
    }
    QVERIFY(established > 50);
    for (const QString& name : resultLabelNames(true))
        if (name != QLatin1String("Lnsim"))
            QCOMPARE(w.text(name), resultLabelText(name, in, pure.totals));
}

// The chance that a sample of n from N units with K infested finds none.
static double noneFound(int N, int K, int n)
{
    double p = 1.0;
    for (int i = 0; i < n; ++i)
        p *= double(N - K - i) / double(N - i);
    return p;
}

void TestSimula::refusalRateMatchesHypergeometric_data()
{
    QTest::addColumn<int>("N");
    QTest::addColumn<double>("prevalence");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("K");
    QTest::newRow("topic-4 defaults") << 100 << 0.1 << 10 << 10;
    QTest::newRow("input window defaults") << 1000 << 0.1 << 10 << 100;
    QTest::newRow("half a unit rounds up") << 50 << 0.07 << 20 << 4;
    QTest::newRow("large sample") << 200 << 0.01 << 150 << 2;
}

void TestSimula::refusalRateMatchesHypergeometric()
{
    QFETCH(int, N);
    QFETCH(double, prevalence);
    QFETCH(int, n);
    QFETCH(int, K);
    SimulationInputs in;
    in.N = N;
    in.prevalence = prevalence;
    in.n = n;
    in.I = 500;
    LcgRandom seeded(0x2A2A2A);
    const SimulationResult r = simulate(in, seeded);
    QCOMPARE(r.rows.size(), 500);
    for (const SimulationRow& row : r.rows)
        QCOMPARE(row.infested, K);
    const double p = 1.0 - noneFound(N, K, n);
    const double rate = r.totals.refused / 500.0;
    const double sigma = std::sqrt(p * (1 - p) / 500);
    QVERIFY2(std::abs(rate - p) <= 4 * sigma + 1e-9,
             qPrintable(QStringLiteral("refused %1, expected %2").arg(rate).arg(p)));
    QCOMPARE(r.totals.refused + r.totals.ingressed, 500);
}

void TestSimula::drawnProbabilitiesStayInTheirRange_data()
{
    QTest::addColumn<double>("prob1");
    QTest::addColumn<double>("varp1");
    QTest::addColumn<double>("prob2");
    QTest::addColumn<double>("varp2");
    QTest::addColumn<QList<double>>("ranges"); // lo1, hi1, lo2, hi2
    QTest::newRow("inside") << 0.3 << 0.5 << 0.6 << 0.5 << QList<double>{0.15, 0.45, 0.3, 0.9};
    QTest::newRow("top clipped") << 0.8 << 0.5 << 0.99 << 1.0 << QList<double>{0.4, 1.0, 0.0, 1.0};
    QTest::newRow("bottom clipped") << 0.2 << 3.0 << 0.5 << 1.5 << QList<double>{0.0, 0.8, 0.0, 1.0};
    QTest::newRow("means outside 0..1") << 1.5 << 0.1 << -0.5 << 0.1 << QList<double>{1.0, 1.0, 0.0, 0.0};
}

void TestSimula::drawnProbabilitiesStayInTheirRange()
{
    QFETCH(double, prob1);
    QFETCH(double, varp1);
    QFETCH(double, prob2);
    QFETCH(double, varp2);
    QFETCH(QList<double>, ranges);
    SimulationInputs in;
    in.N = 100;
    in.prevalence = 0.05;
    in.n = 0; // every consignment ingresses
    in.I = 500;
    in.prob1 = prob1;
    in.varp1 = varp1;
    in.prob2 = prob2;
    in.varp2 = varp2;
    LcgRandom seeded(0x123456);
    const SimulationResult r = simulate(in, seeded);
    QCOMPARE(r.totals.ingressed, 500);
    for (const SimulationRow& row : r.rows) {
        QVERIFY(row.drewP);
        QVERIFY2(row.p1 >= ranges[0] - 1e-12 && row.p1 <= ranges[1] + 1e-12, qPrintable(QString::number(row.p1)));
        QVERIFY2(row.p2 >= ranges[2] - 1e-12 && row.p2 <= ranges[3] + 1e-12, qPrintable(QString::number(row.p2)));
        QCOMPARE(row.est, row.D * row.p1 * row.p2);
    }
    // Uniform draws: the mean lies within 4 standard errors of the middle.
    const auto near = [](double mean, double lo, double hi) {
        const double se = (hi - lo) / std::sqrt(12.0 * 500);
        return std::abs(mean - (lo + hi) / 2) <= 4 * se + 1e-12;
    };
    QVERIFY(near(r.totals.sumP1 / 500, ranges[0], ranges[1]));
    QVERIFY(near(r.totals.sumP2 / 500, ranges[2], ranges[3]));
    const QString meanP2 = resultLabelText(QStringLiteral("Lp2medio"), in, r.totals);
    QVERIFY(near(QLocale().toDouble(meanP2), ranges[2] - 0.0001, ranges[3] + 0.0001));
}

void TestSimula::secondStartWhileYieldingIsRefused()
{
    QList<SimulaEnd> inner;
    const auto run = [&](bool nested) {
        LcgRandom seeded(0x0BEEF0);
        setRng(&seeded);
        resultados().clear();
        SimWindow w;
        SimWindow other({}, 0, QStringLiteral("OtherWindow"));
        w.setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("6"));
        other.setInputs(QStringLiteral("50"), QStringLiteral("0.2"), QStringLiteral("5"), QStringLiteral("3"));
        auto* combo = w.ctl<ComboBox>(QStringLiteral("Combo1"));
        bool armed = nested;
        connect(combo, &ComboBox::changed, this, [&] {
            if (armed && combo->text() == QLatin1String("3"))
                // A timer tick and a click arrive while the run yields.
                QTimer::singleShot(0, this, [&] {
                    armed = false;
                    inner << simula(0.3, 0.3, w) << simula(0.0, 0.0, other);
                    if (simulaRunning())
                        inner << SimulaEnd::Busy;
                });
        });
        const SimulaEnd end = simula(0.2, 0.4, w);
        QStringList out{QString::number(int(end))};
        for (int k = 1; k <= 6; ++k)
            out << rowText(k);
        out << shownLabels(w) << other.text(QStringLiteral("Combo1")) << other.text(QStringLiteral("Ling"));
        setRng(&scripted);
        return out;
    };
    const QStringList plain = run(false);
    QCOMPARE(inner, QList<SimulaEnd>{});
    const QStringList withNested = run(true);
    QCOMPARE(inner, (QList<SimulaEnd>{SimulaEnd::Busy, SimulaEnd::Busy, SimulaEnd::Busy}));
    QCOMPARE(withNested, plain);
    QCOMPARE(plain.first(), QString::number(int(SimulaEnd::Finished)));
    QVERIFY(!simulaRunning());
    QCOMPARE(fx->msgs.count(), 0);
}

void TestSimula::unloadWhileYieldingStopsAtOnce_data()
{
    QTest::addColumn<bool>("reload");
    QTest::newRow("unloaded") << false;
    QTest::newRow("unloaded and loaded again") << true;
}

void TestSimula::unloadWhileYieldingStopsAtOnce()
{
    QFETCH(bool, reload);
    LcgRandom seeded;
    setRng(&seeded);
    SimWindow w({}, 1);
    w.setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("6"));
    resultados().setCell(1, 6, QStringLiteral("earlier"));
    auto* combo = w.ctl<QLineEdit>(QStringLiteral("Combo1"));
    connect(combo, &QLineEdit::textChanged, this, [&](const QString& t) {
        if (t == QLatin1String("3"))
            QTimer::singleShot(0, this, [&] {
                w.unload();
                QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
                if (reload)
                    w.load();
            });
    });
    QPointer<FormWidget> first = w.widgetIfLoaded();
    const quint64 yields = yieldsMade();
    QCOMPARE(simula(0.0, 0.0, w), SimulaEnd::WindowClosed);
    // The third consignment's yield let the unload in; the run stopped there.
    QCOMPARE(yieldsMade() - yields, quint64(3));

    // The closed window outlived the run that was still using it, and went
    // once the run had returned.
    QVERIFY(!first.isNull());
    QVERIFY(first->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());
    QCOMPARE(w.loadCount(), reload ? 2 : 1);
    QCOMPARE(w.isLoaded(), reload);
    QCOMPARE(resultados().text(1, 2), QStringLiteral("2"));
    QCOMPARE(rowText(3), QStringLiteral("|||||0")); // cleared, never drawn
    QCOMPARE(rowText(6), QStringLiteral("|||||0"));
    if (reload) {
        QCOMPARE(w.text(QStringLiteral("Lnsim")), kUntouched);
        QCOMPARE(w.text(QStringLiteral("Combo1")), QString());
    }
    QVERIFY(!simulaRunning());
    QCOMPARE(fx->msgs.count(), 0);
}

void TestSimula::unloadWhileTheErrorBoxIsOpenStops()
{
    LcgRandom seeded;
    setRng(&seeded);
    SimWindow w({QStringLiteral("Lingreso")});
    w.setInputs(QStringLiteral("100"), QStringLiteral("0.1"), QStringLiteral("10"), QStringLiteral("3"));
    fx->msgs.answer(IdIgnore);
    fx->msgs.onShow = [&](const ScriptedMessages::Box&) {
        w.unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    QCOMPARE(simula(0.0, 0.0, w), SimulaEnd::WindowClosed);
    QCOMPARE(fx->msgs.count(), 1);
    QCOMPARE(w.loadCount(), 1);
    QVERIFY(!w.isLoaded());
}

TAV_TEST_MAIN(TestSimula)
#include "tst_simula.moc"
