// The windows on English and comma-decimal desktops: the defaults of every
// graph page, the simulation runs, the measure page, and the numbers the
// program writes and reads back, in the C, en_US, pt_BR and de_DE locales.
// Expected texts are written the English way and shown in the locale.

#include "common/program.h"
#include "common/random.h"
#include "common/readings.h"
#include "common/tabelaimp.h"
#include "graphs/graphpage.h"
#include "measures/form11.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/slider.h"
#include "shell/topics.h"
#include "simulation/form4.h"
#include "simulation/fresultsim.h"
#include "simulation/fsimula1.h"
#include "simulation/resultados.h"
#include "testkit.h"
#include "testmain.h"

#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <memory>

using namespace tav;
using test::shown;

namespace {

const char* const kLocales[] = {"C", "en_US", "pt_BR", "de_DE"};

QLocale localeNamed(const QString& name) { return name == QLatin1String("C") ? QLocale::c() : QLocale(name); }

QString rowText(Grid* g, int row)
{
    QStringList out;
    for (int c = 0; c < g->cols(); ++c) {
        g->setRow(row);
        g->setCol(c);
        out << g->text();
    }
    return out.join(u'|');
}

// One program state with a seeded generator, in a locale.
struct Session {
    explicit Session(const QString& locale, uint32_t seed = 4242) : lcg(seed)
    {
        QLocale::setDefault(localeNamed(locale));
        fx = std::make_unique<test::ProgramFixture>();
        resetSimulationState();
        tabelaimp().clear();
        setRng(&lcg);
    }
    ~Session()
    {
        setRng(nullptr);
        fx.reset();
    }
    LcgRandom lcg;
    std::unique_ptr<test::ProgramFixture> fx;
};

const QStringList kForm4Labels{"Lnsim", "Lpre_ing", "Ling", "Lencontradas", "Lpct_ing", "Lingreso", "Lingreso_total"};
const QStringList kResultLabels{"Text1_0", "Text1_1", "Text1_2", "p1", "p2", "Lnsim", "Ling", "Lpct_ing", "Lpre_ing",
                                "Lencontradas", "Lingreso", "Lingreso_total", "Lp1medio", "Lp2medio", "Np1medio",
                                "Np2medio"};

// The Defaults run of the simulation page: its inputs, rates and table.
QStringList form4Defaults(const QString& locale, int* messages)
{
    Session s(locale);
    Form4& f = formRef<Form4>();
    f.show();
    test::click(f.ctl(QStringLiteral("Image3")));
    *messages = s.fx->msgs.count();
    QStringList out;
    for (int i = 0; i < 3; ++i)
        out << f.ctl<QLineEdit>(QStringLiteral("Text1"), i)->text();
    for (const QString& name : kForm4Labels)
        out << name + u'=' + f.ctl<QLabel>(name)->text();
    Grid* g = f.ctl<Grid>(QStringLiteral("Grid1"));
    for (int r = 1; r < g->rows(); ++r)
        out << rowText(g, r);
    return out;
}

// The input window's defaults simulated into the results window.
QStringList simulationRun(const QString& locale, int* messages)
{
    Session s(locale, 12345);
    FSimula1& input = formRef<FSimula1>();
    FResultSim& results = formRef<FResultSim>();
    input.show();
    input.Image2_Click();
    input.Image1_Click();
    *messages = s.fx->msgs.count();
    QStringList out;
    for (const QString& name : kResultLabels)
        out << name + u'=' + results.ctl<QLabel>(name)->text();
    Grid* g = results.ctl<Grid>(QStringLiteral("Grid1"));
    for (int r = 1; r < g->rows(); ++r)
        out << rowText(g, r);
    // The results window wrote its sliders back into the input window.
    out << QStringLiteral("Hscroll1=%1").arg(input.ctl<Slider>(QStringLiteral("Hscroll1"))->value());
    out << QStringLiteral("Hscroll2=%1").arg(input.ctl<Slider>(QStringLiteral("Hscroll2"))->value());
    return out;
}

} // namespace

class TestLocales : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }
    void environmentLocale();
    void graphDefaults_data();
    void graphDefaults();
    void form4Defaults_data();
    void form4Defaults();
    void simulationRun_data();
    void simulationRun();
    void form11Captions_data();
    void form11Captions();
    void roundTrips_data();
    void roundTrips();
};

// The second pass of the window tests runs with LC_ALL=pt_BR.UTF-8: the
// program's locale is then the comma-decimal one.
void TestLocales::environmentLocale()
{
    const QByteArray lc = qgetenv("LC_ALL");
    if (lc.startsWith("pt_BR")) {
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
        QCOMPARE(QLocale().groupSeparator(), QStringLiteral("."));
    } else if (lc.startsWith("C")) {
        QCOMPARE(QLocale().decimalPoint(), QStringLiteral("."));
    }
}

void TestLocales::graphDefaults_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("design");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("cells");
    QTest::addColumn<QString>("comment");
    struct Page {
        const char *name, *box, *design;
        int row;
        const char *cells, *comment;
    };
    const Page pages[] = {
        {"FGrafico1", "Text1_1", "0.02", 2, "0.0010|797|898|949|990|999", ""},
        {"FGrafico2", "Text2_2", "0.95", 2, "333|198|3|7|10|17", ""},
        {"FGrafico3", "Text2_0", "0.01", 1, "0|0|50|100|200|300", ""},
        {"FGrafico4", "Text1_0", "0.8", 1, "0.8000|33|166|331|663|1656", ""},
        {"FGrafico5", "Text2_2", "0.1", 1, "25|2",
         "The data show that, if the probabilities p1 and p2 are 0.1 and 0.3 respectivelly and the consignments size "
         "is 1,000 units then it will be necessary to sample 241 unit(s) of each consignment to have one failure "
         "(establishment) in each 10,000 inspections (importations). "},
        {"FGrafico6", "Text2_2", "0.1", 1, "1.00E-06|8333",
         "If the pest has 10% chance to get to the host (p1) and 10% chance to find favourable conditions (p2), and "
         "if the consignment size is 1,000 units and you import 12 consignment(s) per year, then for a RDL of "
         "0.00096052, you could have  1 establishment each 8.7 year(s)."},
        {"FGrafico12", "Text1_1", "0.9999", 1, "0.100000|20|99.89", ""},
    };
    for (const char* locale : kLocales)
        for (const Page& p : pages)
            QTest::addRow("%s %s", p.name, locale)
                << locale << p.name << p.box << p.design << p.row << p.cells << p.comment;
}

void TestLocales::graphDefaults()
{
    QFETCH(QString, locale);
    QFETCH(QString, page);
    QFETCH(QString, box);
    QFETCH(QString, design);
    QFETCH(int, row);
    QFETCH(QString, cells);
    QFETCH(QString, comment);
    QLocale::setDefault(localeNamed(locale));
    test::ProgramFixture fx;
    GraphPage& g = static_cast<GraphPage&>(windowNamed(page));
    g.show();
    QCOMPARE(fx.msgs.count(), 0);
    QCOMPARE(g.ctl<QLineEdit>(box)->text(), shown(design));
    QCOMPARE(rowText(g.grid1(), row), shown(cells));
    if (!comment.isEmpty())
        QCOMPARE(g.label(QStringLiteral("Label3"))->text(), shown(comment));
}

void TestLocales::form4Defaults_data()
{
    QTest::addColumn<QString>("locale");
    for (const char* locale : kLocales)
        QTest::newRow(locale) << locale;
}

// The same run in every locale, each number shown the locale's way.
void TestLocales::form4Defaults()
{
    QFETCH(QString, locale);
    int messages = -1;
    const QStringList english = ::form4Defaults(QStringLiteral("C"), &messages);
    QCOMPARE(messages, 0);
    QCOMPARE(english.mid(0, 4), QStringList({"100", "0.1", "10", "Lnsim=10"}));
    QVERIFY(english.at(4) != QLatin1String("Lpre_ing="));
    const QStringList local = ::form4Defaults(locale, &messages);
    QCOMPARE(messages, 0);
    QCOMPARE(local.size(), english.size());
    for (int i = 0; i < english.size(); ++i)
        QCOMPARE(local[i], shown(english[i]));
}

void TestLocales::simulationRun_data() { form4Defaults_data(); }

void TestLocales::simulationRun()
{
    QFETCH(QString, locale);
    int messages = -1;
    const QStringList english = ::simulationRun(QStringLiteral("C"), &messages);
    QCOMPARE(messages, 0);
    QCOMPARE(english.mid(0, 6),
             QStringList({"Text1_0=1000", "Text1_1=0.1000", "Text1_2=10", "p1=0.3333", "p2=0.3333", "Lnsim=10"}));
    QVERIFY(english.contains(QStringLiteral("Hscroll1=10000")));
    const QStringList local = ::simulationRun(locale, &messages);
    QCOMPARE(messages, 0);
    QCOMPARE(local.size(), english.size());
    for (int i = 0; i < english.size(); ++i)
        QCOMPARE(local[i], shown(english[i]));
}

void TestLocales::form11Captions_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<bool>("table");
    for (const char* locale : kLocales) {
        QTest::addRow("load %s", locale) << locale << false;
        QTest::addRow("show table %s", locale) << locale << true;
    }
}

void TestLocales::form11Captions()
{
    QFETCH(QString, locale);
    QFETCH(bool, table);
    Session s(locale);
    Form11& f = formRef<Form11>();
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(f.widget()));
    const auto caption = [&](const char* name, int i) { return f.ctl<QLabel>(QString::fromLatin1(name), i)->text(); };
    const QStringList captions{"0.3000", "4000", "0.9", "6.2", "25", "0.2000", "0.2000"};
    for (int i = 0; i < captions.size(); ++i)
        QCOMPARE(caption("Label99", i), shown(captions[i]));
    QCOMPARE(f.ctl<Slider>(QStringLiteral("Hscroll9"))->value(), 62);
    QCOMPARE(f.ctl<Slider>(QStringLiteral("Slider1"))->text(), shown(QStringLiteral("0.1")));
    if (table) {
        test::click(f.ctl(QStringLiteral("Image10")));
        const std::pair<int, const char*> results88[] = {{0, "0.3000"}, {4, "4000"}, {1, "0.9"},
                                                         {2, "6.2"},    {5, "25"},   {6, "0.5287439"}};
        for (const auto& [i, text] : results88)
            QCOMPARE(caption("Label88", i), shown(QString::fromLatin1(text)));
        const std::pair<int, const char*> results21[] = {{1, "0.030000"}, {3, "52.9%"}, {0, "2.3"}, {2, "1"}};
        for (const auto& [i, text] : results21)
            QCOMPARE(caption("Label21", i), shown(QString::fromLatin1(text)));
        QVERIFY(std::fabs(f.ic - 0.528743) < 1e-6);
    }
    QCOMPARE(s.fx->msgs.count(), 0);
}

void TestLocales::roundTrips_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("typed"); // English way, shown in the locale unless it is kept as typed
    QTest::addColumn<bool>("asTyped");
    QTest::addColumn<QString>("back");
    for (const char* locale : kLocales) {
        QTest::addRow("remembered prevalence %s", locale) << locale << "memsimula" << " 0.25" << false << "0.25";
        QTest::addRow("remembered RDL typed with a point %s", locale)
            << locale << "memsimula" << "0.05" << true << "0.05";
        QTest::addRow("slider caption %s", locale) << locale << "slider" << "27000" << true << "0.9";
        QTest::addRow("small slider caption %s", locale) << locale << "slider" << "1" << true << "0.00003";
        QTest::addRow("results prevalence written back %s", locale)
            << locale << "writeBack" << "2500" << true << "0.2500";
    }
}

void TestLocales::roundTrips()
{
    QFETCH(QString, locale);
    QFETCH(QString, kind);
    QFETCH(QString, typed);
    QFETCH(bool, asTyped);
    QFETCH(QString, back);
    Session s(locale, 12345);
    FSimula1& input = formRef<FSimula1>();
    input.show();
    if (kind == QLatin1String("memsimula")) {
        // Kept in memory as shown and read back when the window loads again.
        const QString name = typed.startsWith(u' ') ? QStringLiteral("Text1_1") : QStringLiteral("Text2");
        input.ctl<QLineEdit>(name)->setText(asTyped ? typed : shown(typed));
        input.unload();
        input.show();
        QCOMPARE(input.ctl<QLineEdit>(name)->text(), shown(back));
        QCOMPARE(numberOrLeading(input.ctl<QLineEdit>(name)->text()), back.toDouble());
    } else if (kind == QLatin1String("slider")) {
        // The caption a slider writes reads back as the slider's value.
        Slider* slider = input.ctl<Slider>(QStringLiteral("Hscroll1"));
        slider->setValue(typed.toInt());
        const QString caption = input.ctl<QLineEdit>(QStringLiteral("lp1"))->text();
        QCOMPARE(caption, shown(back));
        QCOMPARE(qRound(numberOrLeading(caption) * 30000), typed.toInt());
        input.unload();
        input.show();
        QCOMPARE(slider->value(), typed.toInt());
        QCOMPARE(input.ctl<QLineEdit>(QStringLiteral("lp1"))->text(), shown(back));
    } else {
        // The results window's prevalence slider writes into the input box,
        // which the next run reads as that prevalence.
        FResultSim& results = formRef<FResultSim>();
        input.Image2_Click();
        input.Image1_Click();
        results.ctl<Slider>(QStringLiteral("Hscroll5"))->setValue(typed.toInt());
        const QString written = input.ctl<QLineEdit>(QStringLiteral("Text1_1"))->text();
        QCOMPARE(written, shown(back));
        QVERIFY(isNumber(written));
        QCOMPARE(numberOrLeading(written), typed.toDouble() / 10000.0);
        input.Image1_Click();
        QCOMPARE(numberOrLeading(results.ctl<QLabel>(QStringLiteral("Text1_1"))->text()), typed.toDouble() / 10000.0);
    }
    QCOMPARE(s.fx->msgs.count(), 0);
}

TAV_TEST_MAIN(TestLocales)
#include "tst_locales.moc"
