// Moving between windows as a user does: clicking the toolbar buttons and
// the start page's topic links, choosing menu items and closing windows, and
// checking which windows are loaded and shown, in what order they appeared
// and disappeared, how often each was loaded, and what "Last Form" holds.

#include "testkit.h"

#include "platform/controls.h"
#include "shell/indice.h"
#include "shell/menus.h"
#include "shell/navigation.h"
#include "shell/topics.h"
#include "shell/toolbar.h"
#include "simulation/fresultsim.h"
#include "testmain.h"

#include <QApplication>
#include <QMap>
#include <QSet>
#include <algorithm>
#include <QMenuBar>
#include <QPointer>
#include <QRandomGenerator>
#include <QTimer>
#include <memory>

using namespace tav;
using namespace tav::test;

namespace {

// Records, in order, each window that appears ("show:Form3") or disappears
// ("hide:Form2").
class WindowLog : public QObject {
public:
    QStringList entries;
    QString text() const { return entries.join(QLatin1Char(' ')); }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if ((e->type() == QEvent::Show || e->type() == QEvent::Hide) && qobject_cast<FormWidget*>(o))
            entries << (e->type() == QEvent::Show ? QStringLiteral("show:") : QStringLiteral("hide:")) + o->objectName();
        return false;
    }
};

// Records, in order, each window that comes to the front. The offscreen
// screen hands the front to no window of its own accord when the one in
// front goes, so every entry is a window the program brought forward.
class FrontLog : public QObject {
public:
    QStringList entries;
    QString text() const { return entries.join(QLatin1Char(' ')); }

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::WindowActivate && qobject_cast<FormWidget*>(o))
            entries << o->objectName();
        return false;
    }
};

Form& win(const QString& name) { return windowNamed(name); }

void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QString names(bool (*pick)(const Form*))
{
    QStringList n;
    for (const Form* f : Form::all())
        if (pick(f))
            n << f->name();
    n.sort();
    return n.join(QLatin1Char(' '));
}
QString loadedNow() { return names([](const Form* f) { return f->isLoaded(); }); }
QString visibleNow() { return names([](const Form* f) { return f->visible(); }); }
QString lastForm() { return ultimoform() ? ultimoform()->name() : QStringLiteral("-"); }

// One user action: "Form3.Image6" clicks a picture button or label,
// "Form3.menu7" chooses a menu item, "Form3.close" uses the close box and
// "FGrafico1.show" opens a window the way a lesson page's link does.
void act(const QString& step)
{
    const QString window = step.section(QLatin1Char('.'), 0, 0);
    const QString control = step.section(QLatin1Char('.'), 1);
    Form& f = win(window);
    if (control == QLatin1String("show")) {
        f.show();
    } else if (control == QLatin1String("close")) {
        QVERIFY2(f.isLoaded(), qPrintable(step));
        f.widgetIfLoaded()->close();
    } else {
        QObject* o = f.findCtl<QObject>(control);
        QVERIFY2(o, qPrintable(step + QStringLiteral(": no such control")));
        if (auto* a = qobject_cast<QAction*>(o))
            trigger(a);
        else
            click(qobject_cast<QWidget*>(o));
    }
    flushDeletes();
}

void actAll(const QStringList& steps)
{
    for (const QString& s : steps) {
        act(s);
        if (QTest::currentTestFailed())
            return;
    }
}

QString loadCounts(const QStringList& windows)
{
    QStringList out;
    for (const QString& w : windows)
        out << w + QLatin1Char('=') + QString::number(win(w).loadCount());
    return out.join(QLatin1Char(' '));
}

const QStringList kTopicPages = {"Form1", "Form2", "Form3",  "Form4",   "Form5",  "Form6", "Form7",
                                 "Form8", "Form9", "Form10", "Form10a", "Form11", "Form12"};
const QStringList kGraphPages = {"FGrafico1", "FGrafico2", "FGrafico3", "FGrafico4",
                                 "FGrafico5", "FGrafico6", "FGrafico12"};
QStringList toolbarPages() { return kTopicPages + kGraphPages + QStringList{"FResultSim"}; }

} // namespace

class TestNavigation : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ProgramFixture> fx;
    WindowLog log;

    void start()
    {
        indice().show();
        log.entries.clear();
    }

private slots:
    void initTestCase() { qApp->installEventFilter(&log); }
    void cleanupTestCase() { qApp->removeEventFilter(&log); }
    void init()
    {
        fx = std::make_unique<ProgramFixture>();
        log.entries.clear();
    }
    void cleanup() { fx.reset(); }

    void toolbar_data();
    void toolbar();
    void menus_data();
    void menus();
    void commands_data();
    void commands();
    void fileCloseLeaves_data();
    void fileCloseLeaves();
    void exits_data();
    void exits();
    void scenarios_data();
    void scenarios();
    void courseThereAndBack();
    void closingQuestion_data();
    void closingQuestion();
    void limpa_data();
    void limpa();
    void changeInputs();
    void unloadInsideHandler_data();
    void unloadInsideHandler();
    void randomWalk();
};

// --- The toolbar --------------------------------------------------------------

void TestNavigation::toolbar_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("back");
    QTest::addColumn<QString>("next");
    QTest::addColumn<int>("nextLeft");
    // Tooltips of Print, Show graph and Show table; "" for none.
    QTest::addColumn<QStringList>("tips");
    // Show graph and Show table enabled at design.
    QTest::addColumn<QList<bool>>("enabled");

    const QString show = QStringLiteral("Show graph"), table = QStringLiteral("Show table"),
                  print = QStringLiteral("Print"), image = QStringLiteral("Show image");
    using B = QList<bool>;
    QTest::newRow("Form1") << "Form1" << "Image4" << "Image3" << 1395 << QStringList{print, "", ""} << B{false, false};
    QTest::newRow("Form2") << "Form2" << "Image4" << "Image3" << 1395 << QStringList{print, show, table} << B{false, true};
    QTest::newRow("Form3") << "Form3" << "Image2" << "Image1" << 1395 << QStringList{print, "", ""} << B{false, false};
    QTest::newRow("Form4") << "Form4" << "Image2" << "Image5" << 1395 << QStringList{print, image, table} << B{true, true};
    QTest::newRow("Form5") << "Form5" << "Image2" << "Image5" << 1395 << QStringList{print, "", ""} << B{false, false};
    QTest::newRow("Form6") << "Form6" << "Image12" << "Image5" << 1395 << QStringList{print, show, ""} << B{true, true};
    QTest::newRow("Form7") << "Form7" << "Image12" << "Image5" << 1395 << QStringList{print, show, ""} << B{true, false};
    QTest::newRow("Form8") << "Form8" << "Image12" << "Image5" << 1395 << QStringList{print, "", ""} << B{false, false};
    QTest::newRow("Form9") << "Form9" << "Image12" << "Image5" << 1395 << QStringList{print, show, ""} << B{true, false};
    QTest::newRow("Form10") << "Form10" << "Image2" << "Image1" << 1395 << QStringList{print, "", ""} << B{false, false};
    QTest::newRow("Form10a") << "Form10a" << "Image2" << "Image1" << 1395 << QStringList{print, "", ""} << B{false, false};
    QTest::newRow("Form11") << "Form11" << "Image12" << "Image5" << 1395 << QStringList{print, image, table} << B{true, true};
    QTest::newRow("Form12") << "Form12" << "Image12" << "Image5" << 1395 << QStringList{print, show, ""} << B{true, true};
    QTest::newRow("FGrafico1") << "FGrafico1" << "Image4" << "Image3" << 1410 << QStringList{print, show, table} << B{true, true};
    QTest::newRow("FGrafico2") << "FGrafico2" << "Image4" << "Image3" << 1425 << QStringList{"Print  ", show, table} << B{true, true};
    QTest::newRow("FGrafico3") << "FGrafico3" << "Image4" << "Image3" << 1410 << QStringList{print, show, table} << B{true, true};
    QTest::newRow("FGrafico4") << "FGrafico4" << "Image4" << "Image3" << 1410 << QStringList{"Print ", show, table} << B{true, true};
    QTest::newRow("FGrafico5") << "FGrafico5" << "Image4" << "Image3" << 1410 << QStringList{print, show, table} << B{true, true};
    QTest::newRow("FGrafico6") << "FGrafico6" << "Image4" << "Image3" << 1410 << QStringList{print, show, table} << B{true, true};
    QTest::newRow("FGrafico12") << "FGrafico12" << "Image4" << "Image3" << 1410 << QStringList{print, show, table} << B{true, true};
    QTest::newRow("FResultSim") << "FResultSim" << "Image12" << "Image5" << 1395 << QStringList{"Print form", image, table} << B{true, true};
}

void TestNavigation::toolbar()
{
    QFETCH(QString, window);
    QFETCH(QString, back);
    QFETCH(QString, next);
    QFETCH(int, nextLeft);
    QFETCH(QStringList, tips);
    QFETCH(QList<bool>, enabled);

    // The design, before any load procedure changes a face or a state.
    const ToolbarSpec* spec = toolbarSpec(window);
    QVERIFY(spec);
    FormWidget host(&indice());
    QWidget* bar = buildToolbar(&host, *spec);
    QCOMPARE(bar->objectName(), QStringLiteral("Frame4"));
    QCOMPARE(bar->geometry(), twipRect(-30, -15, 10050, 705));

    QList<ImageButton*> buttons = bar->findChildren<ImageButton*>();
    std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->x() < b->x(); });
    QStringList order;
    for (ImageButton* b : buttons) {
        order << b->objectName();
        QCOMPARE(b->size(), twipRect(0, 0, 480, 480).size());
        QCOMPARE(b->focusPolicy(), Qt::NoFocus);
    }
    const QStringList expected = {"Image6", back, next, "Image7", "Image8", "Image9", "Image10", "Image11"};
    QCOMPARE(order, expected);

    auto* nextButton = bar->findChild<ImageButton*>(next);
    QCOMPARE(nextButton->x(), twips(nextLeft));
    QCOMPARE(bar->findChild<QWidget*>("Image6")->toolTip(), QStringLiteral("Index"));
    QCOMPARE(bar->findChild<QWidget*>(back)->toolTip(), QStringLiteral("Back"));
    QCOMPARE(nextButton->toolTip(), QStringLiteral("Next"));
    QCOMPARE(bar->findChild<QWidget*>("Image8")->toolTip(), QStringLiteral("Save"));
    QCOMPARE(bar->findChild<QWidget*>("Image11")->toolTip(), QStringLiteral("Exit application"));
    QCOMPARE(bar->findChild<QWidget*>("Image7")->toolTip(), tips[0]);
    QCOMPARE(bar->findChild<QWidget*>("Image9")->toolTip(), tips[1]);
    QCOMPARE(bar->findChild<QWidget*>("Image10")->toolTip(), tips[2]);
    QCOMPARE(bar->findChild<QWidget*>("Image9")->isEnabled(), enabled[0]);
    QCOMPARE(bar->findChild<QWidget*>("Image10")->isEnabled(), enabled[1]);

    // The few buttons that stand off the common line.
    const int indexTop = window == "Form4" ? 150 : 165;
    const int saveTop = window == "Form3" ? 180 : 165;
    const int printLeft = window == "FGrafico12" ? 2265 : 2280;
    const int graphLeft = window == "Form1" ? 3750 : 3765;
    QCOMPARE(bar->findChild<QWidget*>("Image6")->pos(), twipRect(105, indexTop, 0, 0).topLeft());
    QCOMPARE(bar->findChild<QWidget*>("Image8")->pos(), twipRect(2910, saveTop, 0, 0).topLeft());
    QCOMPARE(bar->findChild<QWidget*>("Image7")->x(), twips(printLeft));
    QCOMPARE(bar->findChild<QWidget*>("Image9")->x(), twips(graphLeft));
    QCOMPARE(bar->findChild<QWidget*>("Image10")->x(), twips(4410));
    QCOMPARE(bar->findChild<QWidget*>("Image11")->x(), twips(5460));
}

// --- The menus ----------------------------------------------------------------

void TestNavigation::menus_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("closeName");
    QTest::addColumn<QString>("exitName");
    QTest::addColumn<QString>("disabled"); // "" when none (or no Index menu)
    // "k=caption" where item k reads other than on most windows.
    QTest::addColumn<QStringList>("captions");

    const QString close = QStringLiteral("menuFileClose"), exit = QStringLiteral("menuFileExit");
    QTest::newRow("Form1") << "Form1" << close << exit << "menu1_muestra"
                           << QStringList{"13=13. Phytosanitary measures: Efficay and ALP"};
    QTest::newRow("Form2") << "Form2" << close << "meniFileExit" << "menu2"
                           << QStringList{"1=1.Sampling", "7=7. Inspection risks "};
    QTest::newRow("Form3") << "Form3" << close << exit << "menu3" << QStringList{"8=8. Acceptable level of risk "};
    QTest::newRow("Form4") << "Form4" << close << exit << "menu4"
                           << QStringList{"4=4. Simulation of the inspections", "9=9.  Appropriated level of protection"};
    QTest::newRow("Form5") << "Form5" << close << exit << "menu5"
                           << QStringList{"7=7. Inspection risk", "8=8. Aceptable level of risk"};
    QTest::newRow("Form6") << "Form6" << close << exit << "menu6" << QStringList{};
    QTest::newRow("Form7") << "Form7" << close << exit << "menu7" << QStringList{};
    QTest::newRow("Form8") << "Form8" << close << exit << "menu8" << QStringList{"7=7. Inspections risks"};
    QTest::newRow("Form9") << "Form9" << close << exit << "menu9" << QStringList{};
    QTest::newRow("Form10") << "Form10" << close << exit << "menu10" << QStringList{};
    QTest::newRow("Form10a") << "Form10a" << close << exit << "menu11"
                             << QStringList{"11=11. Phytosanitary measures: Effects"};
    QTest::newRow("Form11") << "Form11" << close << exit << "menu12"
                            << QStringList{"4=4. Simulatioin of the inspection", "6=6. Inspection and establhisment"};
    QTest::newRow("Form12") << "Form12" << close << exit << "menu13" << QStringList{};
    QTest::newRow("FResultSim") << "FResultSim" << close << exit << "" << QStringList{};
    QTest::newRow("FGrafico1") << "FGrafico1" << close << exit << "" << QStringList{};
    QTest::newRow("FGrafico2") << "FGrafico2" << close << "meniFileExit" << "" << QStringList{};
    QTest::newRow("FGrafico3") << "FGrafico3" << "meniFileClose" << exit << "" << QStringList{};
    QTest::newRow("FGrafico12") << "FGrafico12" << close << exit << "" << QStringList{};
}

void TestNavigation::menus()
{
    QFETCH(QString, window);
    QFETCH(QString, closeName);
    QFETCH(QString, exitName);
    QFETCH(QString, disabled);
    QFETCH(QStringList, captions);

    start();
    Form& f = win(window);
    f.show();
    QMenuBar* bar = f.widget()->menuBar();
    QStringList tops;
    for (QAction* a : bar->actions())
        tops << a->text();
    const bool topic = window.startsWith("Form") || window == "FResultSim";
    const bool graph = window.startsWith("FGrafico");
    QCOMPARE(tops, topic   ? QStringList({"File", "Edit", "Index"})
                   : graph ? QStringList({"File", "Edit", "View"})
                           : QStringList({"File", "Edit"}));

    QStringList file;
    for (QAction* a : f.findCtl<QMenu>(fileMenuName(window))->actions())
        file << a->objectName() + QLatin1Char('=') + a->text();
    // Form4 and Form11 save and print through submenus.
    const bool submenus = window == "Form4" || window == "Form11";
    QCOMPARE(file, QStringList({submenus ? "menuFileSave=Save" : fileSaveName(window) + "=Save...",
                                submenus ? "menuFilePrint=Print" : filePrintName(window) + "=Print...", closeName + "=Close",
                                exitName + "=Exit"}));
    if (!topic)
        return;

    QStringList standard = {"Last Form",
                            "1. Sampling",
                            "2. Graphical relations",
                            "3. Concepts of simulation",
                            "4. Simulation of the inspection",
                            "5. Ingress and introduction",
                            "6. Inspection and establishment",
                            "7. Inspection risks",
                            "8. Acceptable level of risk",
                            "9. Appropriated level of protection",
                            "10. Phytosanitary measures: Holistic approach",
                            "11. Phytosanitary measures: Effect",
                            "12. Phytosanitary measures: Simulation",
                            "13. Phytosanitary measures: Efficacy and ALP"};
    for (const QString& c : captions)
        standard[c.section('=', 0, 0).toInt()] = c.section('=', 1);
    QStringList names = {"menu0"};
    for (int k = 1; k <= 13; ++k)
        names << QStringLiteral("menu%1").arg(k);
    if (window == "Form1")
        for (int k = 1; k <= 9; ++k)
            names[k] = QStringList{"menu1_muestra",  "menu2_relacionesGraficas", "menu3_Conceptos_simula",
                                   "menu4_Simulacion_inspec", "menu5_Ingreso", "menu6_inspeccion",
                                   "menu7_riesgos", "menu8_NAR", "menu9_NAP"}[k - 1];

    QMenu* index = f.findCtl<QMenu>("menuIndice");
    QVERIFY(index);
    QCOMPARE(index->title(), QStringLiteral("Index"));
    const QList<QAction*> items = index->actions();
    QCOMPARE(items.size(), 14);
    for (int k = 0; k < 14; ++k) {
        QCOMPARE(items[k]->objectName(), names[k]);
        QCOMPARE(items[k]->text(), standard[k]);
        QCOMPARE(items[k]->isEnabled(), items[k]->objectName() != disabled);
        QVERIFY(items[k]->shortcut().isEmpty());
        QVERIFY(items[k]->isVisible());
    }

    // The own item stays disabled at every visit.
    act(window + ".Image6");
    f.show();
    if (!disabled.isEmpty())
        QVERIFY(!f.findCtl<QAction>(disabled)->isEnabled());
}

// --- Back, Next, Index and File > Close on every toolbar window ----------------

void TestNavigation::commands_data()
{
    QTest::addColumn<QStringList>("open");   // windows opened before the window itself
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("order");      // windows appearing and disappearing
    QTest::addColumn<QString>("loaded");     // afterwards
    QTest::addColumn<QString>("last");

    // Back and Next: show the target, then unload the window.
    const struct {
        const char *window, *back, *backTarget, *next, *nextTarget;
    } steps[] = {
        {"Form2", "Image4", "Form1", "Image3", "Form3"},      {"Form3", "Image2", "Form2", "Image1", "Form4"},
        {"Form4", "Image2", "Form3", "Image5", "Form5"},      {"Form5", "Image2", "Form4", "Image5", "Form6"},
        {"Form6", "Image12", "Form5", "Image5", "Form7"},     {"Form7", "Image12", "Form6", "Image5", "Form8"},
        {"Form8", "Image12", "Form7", "Image5", "Form9"},     {"Form9", "Image12", "Form8", "Image5", "Form10"},
        {"Form10", "Image2", "Form9", "Image1", "Form10a"},   {"Form10a", "Image2", "Form10", "Image1", "Form11"},
        {"Form11", "Image12", "Form10a", "Image5", "Form12"}, {"Form12", "Image12", "Form11", "Image5", "FGrafico12"},
        {"FGrafico4", "Image4", "Form6", "Image3", "Form7"},  {"FGrafico5", "Image4", "Form7", "Image3", "Form8"},
        {"FGrafico6", "Image4", "Form9", "Image3", "Form10"}, {"FResultSim", "Image12", "Form5", "Image5", "Form6"},
    };
    auto row = [](const QString& name, const QStringList& open, const QString& w, const QString& control,
                  const QString& order, const QString& loaded, const QString& last) {
        QTest::newRow(qPrintable(name)) << open << w << control << order << loaded << last;
    };
    for (const auto& s : steps) {
        const QString w = s.window;
        for (const auto& [c, t] : {std::pair{s.back, s.backTarget}, std::pair{s.next, s.nextTarget}}) {
            const QString target = t;
            QStringList loaded = {target, "Indice"};
            loaded.sort();
            row(w + " " + c, {}, w, c, "show:" + target + " hide:" + w, loaded.join(' '), w);
        }
    }
    // Back on the first page does what its Index button does.
    row("Form1 Back", {}, "Form1", "Image4", "hide:Form1", "Indice", "Form1");
    row("Form1 Next", {}, "Form1", "Image3", "show:Form2 hide:Form1", "Form2 Indice", "Form1");
    // A target already open only comes to the front.
    row("Form4 Next to an open page", {"Form5"}, "Form4", "Image5", "hide:Form4", "Form5 Indice", "Form4");

    // The graphs of topic 2: back to it, and on to topic 3, closing topic 2
    // as well when it was opened again meanwhile.
    for (const char* g : {"FGrafico1", "FGrafico2", "FGrafico3"}) {
        const QString w = g;
        row(w + " Back", {}, w, "Image4", "show:Form2 hide:" + w, "Form2 Indice", w);
        row(w + " Next", {}, w, "Image3", "show:Form3 hide:" + w, "Form3 Indice", w);
        row(w + " Next with Form2 open", {"Form2"}, w, "Image3", "show:Form3 hide:" + w + " hide:Form2",
            "Form3 Indice", "Form2");
    }
    row("FGrafico12 Back", {}, "FGrafico12", "Image4", "show:Form12 hide:FGrafico12", "Form12 Indice", "FGrafico12");

    // Index: the start page (already shown) comes to the front.
    for (const QString& w : toolbarPages())
        row(w + " Index", {}, w, "Image6", "hide:" + w, "Indice", w);

    // File > Close: the topic pages and the results window only unload; the
    // graph pages open a page as well, before or after unloading.
    for (const QString& w : kTopicPages + QStringList{"FResultSim"})
        row(w + " Close", {}, w, "menuFileClose", "hide:" + w, "Indice", w);
    row("FGrafico1 Close", {}, "FGrafico1", "menuFileClose", "hide:FGrafico1 show:Form1", "Form1 Indice", "FGrafico1");
    row("FGrafico2 Close", {}, "FGrafico2", "menuFileClose", "hide:FGrafico2 show:Form1", "Form1 Indice", "FGrafico2");
    row("FGrafico3 Close", {}, "FGrafico3", "meniFileClose", "show:Form1 hide:FGrafico3", "Form1 Indice", "FGrafico3");
    row("FGrafico4 Close", {}, "FGrafico4", "menuFileClose", "show:Form6 hide:FGrafico4", "Form6 Indice", "FGrafico4");
    row("FGrafico5 Close", {}, "FGrafico5", "menuFileClose", "show:Form7 hide:FGrafico5", "Form7 Indice", "FGrafico5");
    row("FGrafico6 Close", {}, "FGrafico6", "menuFileClose", "show:Form9 hide:FGrafico6", "Form9 Indice", "FGrafico6");
    row("FGrafico12 Close", {}, "FGrafico12", "menuFileClose", "hide:FGrafico12 show:Form12", "Form12 Indice",
        "FGrafico12");

    // The close box only unloads, on the graph pages too.
    for (const QString& w : QStringList{"Form3", "FGrafico1", "FGrafico12", "FResultSim"})
        row(w + " close box", {}, w, "close", "hide:" + w, "Indice", w);
}

void TestNavigation::commands()
{
    QFETCH(QStringList, open);
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QString, order);
    QFETCH(QString, loaded);
    QFETCH(QString, last);

    start();
    for (const QString& o : open)
        win(o).show();
    win(window).show();
    QMap<QString, int> loads;
    for (Form* f : Form::all())
        loads[f->name()] = f->loadCount();
    log.entries.clear();

    act(window + "." + control);
    QCOMPARE(log.text(), order);
    QCOMPARE(loadedNow(), loaded);
    QCOMPARE(visibleNow(), loaded);
    QCOMPARE(lastForm(), last);
    QCOMPARE(fx->exits, 0);
    // Windows that were open already were not loaded again.
    for (Form* f : Form::all())
        if (loads.contains(f->name()) && f->isLoaded())
            QCOMPARE(f->loadCount(), loads[f->name()]);
    QCOMPARE(indice().loadCount(), 1);
}

// --- What File > Close leaves on screen ---------------------------------------

void TestNavigation::fileCloseLeaves_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("onScreen"); // afterwards
    QTest::addColumn<QString>("front");    // brought to the front by the Close

    // The pages and the results window only go: the start page and the page
    // beside it stay, and nothing comes forward.
    for (const char* w : {"Form1", "Form2", "Form3", "Form4", "Form5", "Form6", "Form7", "Form8", "Form9", "Form10",
                          "Form10a", "Form11", "Form12", "FResultSim"})
        QTest::newRow(w) << w << "menuFileClose" << (QString(w) == "Form2" ? "Form3 Indice" : "Form2 Indice") << "";
    // The graph pages open a page in their place.
    QTest::newRow("FGrafico1") << "FGrafico1" << "menuFileClose" << "Form1 Form2 Indice" << "Form1";
    // FGrafico2 does as FGrafico1.
    QTest::newRow("FGrafico2") << "FGrafico2" << "menuFileClose" << "Form1 Form2 Indice" << "Form1";
    QTest::newRow("FGrafico3") << "FGrafico3" << "meniFileClose" << "Form1 Form2 Indice" << "Form1";
    QTest::newRow("FGrafico4") << "FGrafico4" << "menuFileClose" << "Form2 Form6 Indice" << "Form6";
    QTest::newRow("FGrafico5") << "FGrafico5" << "menuFileClose" << "Form2 Form7 Indice" << "Form7";
    QTest::newRow("FGrafico6") << "FGrafico6" << "menuFileClose" << "Form2 Form9 Indice" << "Form9";
    QTest::newRow("FGrafico12") << "FGrafico12" << "menuFileClose" << "Form12 Form2 Indice" << "Form12";
}

void TestNavigation::fileCloseLeaves()
{
    QFETCH(QString, window);
    QFETCH(QString, item);
    QFETCH(QString, onScreen);
    QFETCH(QString, front);

    // The start page, a page opened beside it from its topic links (the
    // graphs of topic 2 thus find their lesson page open again), and the
    // window in front, its File menu in the user's hand.
    start();
    act(window == "Form2" ? "Indice.Label3_2" : "Indice.Label3_1");
    Form& f = win(window);
    f.show();
    settle();
    QCOMPARE(QApplication::activeWindow(), f.widgetIfLoaded());

    FrontLog fronts;
    qApp->installEventFilter(&fronts);
    act(window + "." + item);
    settle();
    qApp->removeEventFilter(&fronts);
    QCOMPARE(visibleNow(), onScreen);
    QCOMPARE(fronts.text(), front);
    QCOMPARE(fx->exits, 0);
}

// --- Exit ---------------------------------------------------------------------

void TestNavigation::exits_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    for (const QString& w : toolbarPages()) {
        QTest::newRow(qPrintable(w + " Exit")) << w << "Image11";
        QTest::newRow(qPrintable(w + " File Exit")) << w << fileExitName(w);
    }
    QTest::newRow("Indice Exit") << "Indice" << "Image11";
    QTest::newRow("Indice File Exit") << "Indice" << "menuFileExit";
}

void TestNavigation::exits()
{
    QFETCH(QString, window);
    QFETCH(QString, control);

    // Several windows open, one of them already left once.
    start();
    act("Indice.Label3_6");
    act("Form7.Image6");
    act("Indice.Label3_2");
    win(window).show();
    QMap<QString, int> unloads;
    for (Form* f : Form::all())
        unloads[f->name()] = f->unloadCount();
    log.entries.clear();

    act(window + "." + control);
    QCOMPARE(fx->exits, 1);
    QVERIFY(programEnded());
    QCOMPARE(visibleNow(), QString());
    // No unload procedure ran: nothing was recorded as the last form.
    QCOMPARE(lastForm(), QStringLiteral("Indice"));
    for (Form* f : Form::all())
        QCOMPARE(f->unloadCount(), unloads.value(f->name()));
    QVERIFY(!log.text().contains("show:"));
}

// --- Sequences ------------------------------------------------------------------

void TestNavigation::scenarios_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("order");   // of the last step
    QTest::addColumn<QString>("visible"); // afterwards
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("loads");   // "Window=times loaded"

    QTest::newRow("topic item, then Last Form twice")
        << QStringList{"Indice.Label3_2", "Form3.menu7", "Form7.menu0", "Form3.menu0"}
        << "show:Form7 hide:Form3" << "Form7 Indice" << "Form3" << "Form3=2 Form7=2";
    QTest::newRow("Last Form holding the start page")
        << QStringList{"Indice.Label3_2", "Form3.menu0"} << "hide:Form3" << "Indice" << "Form3" << "Form3=1 Indice=1";
    QTest::newRow("start page's Last Form reopens the page left")
        << QStringList{"Indice.Label3_2", "Form3.menu0", "Indice.menu0"} << "show:Form3" << "Form3 Indice" << "Form3"
        << "Form3=2";
    QTest::newRow("start page's Last Form holding itself changes nothing")
        << QStringList{"Indice.Label3_4", "Indice.menu0"} << "" << "Form5 Indice" << "Indice" << "Form5=1 Indice=1";
    QTest::newRow("Last Form holding the window itself acts as Close")
        << QStringList{"Indice.Label3_2", "Form3.Image6", "Indice.menu0", "Form3.menu0"} << "hide:Form3" << "Indice"
        << "Form3" << "Form3=2";
    QTest::newRow("Last Form to a window still open keeps it as it is")
        << QStringList{"Indice.Label3_2", "Indice.Label3_6", "Form3.menuFileClose", "Indice.menu0", "Form7.menu0"}
        << "hide:Form7" << "Form3 Indice" << "Form7" << "Form3=2 Form7=1";
    QTest::newRow("Last Form with nothing stored still unloads")
        << QStringList{"Form3.show", "Form3.menu0"} << "hide:Form3" << "" << "Form3" << "Form3=1";
    QTest::newRow("Last Form reloads a graph page")
        << QStringList{"Indice.Label3_12", "Form12.Image5", "FGrafico12.Image4", "Form12.menu0"}
        << "show:FGrafico12 hide:Form12" << "FGrafico12 Indice" << "Form12" << "FGrafico12=2 Form12=2";
    QTest::newRow("close box stores the page for Last Form")
        << QStringList{"Indice.Label3_2", "Indice.Label3_8", "Form3.close", "Form9.menu0"}
        << "show:Form3 hide:Form9" << "Form3 Indice" << "Form9" << "Form3=2 Form9=1";
    QTest::newRow("topic item to a page open beside")
        << QStringList{"Indice.Label3_2", "Indice.Label3_6", "Form3.menu7"} << "hide:Form3" << "Form7 Indice"
        << "Form3" << "Form7=1";
    QTest::newRow("topic item of the results window")
        << QStringList{"Indice.Label3_4", "FResultSim.show", "FResultSim.menu9"} << "show:Form9 hide:FResultSim"
        << "Form5 Form9 Indice" << "FResultSim" << "Form9=1 FResultSim=1";
    QTest::newRow("Last Form of the results window")
        << QStringList{"Indice.Label3_4", "Form5.Image6", "FResultSim.show", "FResultSim.menu0"}
        << "show:Form5 hide:FResultSim" << "Form5 Indice" << "FResultSim" << "Form5=2";
    QTest::newRow("Form1's topic items")
        << QStringList{"Indice.Label3_0", "Form1.menu9_NAP", "Form9.menu0"} << "show:Form1 hide:Form9"
        << "Form1 Indice" << "Form9" << "Form1=2 Form9=1";
    QTest::newRow("cancel with the results window open")
        << QStringList{"Indice.Label3_4", "Form5.Image6", "FResultSim.show", "FSimula1.show", "FSimula1.Image3"}
        << "hide:FSimula1 hide:FResultSim show:Form5" << "Form5 Indice" << "FResultSim"
        << "FResultSim=1 FSimula1=1 Form5=2";
    QTest::newRow("cancel without the results window")
        << QStringList{"Indice.Label3_6", "FSimula1.show", "FSimula1.Image3"} << "hide:FSimula1 show:Form5"
        << "Form5 Form7 Indice" << "FResultSim" << "FResultSim=1 FSimula1=1 Form5=1";
    QTest::newRow("the input window's close box stores nothing")
        << QStringList{"Indice.Label3_6", "FSimula1.show", "FSimula1.close"} << "hide:FSimula1" << "Form7 Indice"
        << "Indice" << "FSimula1=1 FResultSim=1";
}

void TestNavigation::scenarios()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, order);
    QFETCH(QString, visible);
    QFETCH(QString, last);
    QFETCH(QString, loads);

    if (steps.first().startsWith("Indice"))
        start();
    actAll(steps.mid(0, steps.size() - 1));
    log.entries.clear();
    act(steps.last());
    QCOMPARE(log.text(), order);
    QCOMPARE(visibleNow(), visible);
    QCOMPARE(lastForm(), last);
    const QStringList windows = loads.isEmpty() ? QStringList{} : loads.split(' ');
    QStringList names;
    for (const QString& w : windows)
        names << w.section('=', 0, 0);
    QCOMPARE(loadCounts(names), loads);
}

void TestNavigation::courseThereAndBack()
{
    start();
    QVERIFY(!indice().findCtl<QAction>("menu0")->isEnabled());
    act("Indice.Label3_0");
    QVERIFY(indice().findCtl<QAction>("menu0")->isEnabled());
    QCOMPARE(lastForm(), QStringLiteral("Indice"));

    const QStringList nextOf = {"Image3", "Image3", "Image1", "Image5", "Image5", "Image5", "Image5",
                                "Image5", "Image5", "Image1", "Image1", "Image5", "Image5"};
    const QStringList backOf = {"Image4", "Image4", "Image2", "Image2", "Image2", "Image12", "Image12",
                                "Image12", "Image12", "Image2", "Image2", "Image12", "Image12"};
    const QStringList course = kTopicPages + QStringList{"FGrafico12"};
    for (int i = 0; i < 13; ++i) {
        act(course[i] + "." + nextOf[i]);
        QCOMPARE(visibleNow(), QStringList({course[i + 1], "Indice"}).join(' '));
        QCOMPARE(lastForm(), course[i]);
    }
    act("FGrafico12.Image4");
    for (int i = 12; i >= 0; --i) {
        QCOMPARE(visibleNow(), QStringList({course[i], "Indice"}).join(' '));
        act(course[i] + "." + backOf[i]);
        QCOMPARE(lastForm(), course[i]);
    }
    QCOMPARE(visibleNow(), QStringLiteral("Indice"));
    QCOMPARE(loadedNow(), QStringLiteral("Indice"));
    for (const QString& p : kTopicPages)
        QCOMPARE(win(p).loadCount(), 2);
    QCOMPARE(win("FGrafico12").loadCount(), 1);
    QCOMPARE(indice().loadCount(), 1);
    QCOMPARE(fx->msgs.count(), 0);
}

// --- The end of the course ------------------------------------------------------

void TestNavigation::closingQuestion_data()
{
    QTest::addColumn<QList<int>>("answers"); // 0: the box closed without a button
    QTest::addColumn<int>("asked");
    QTest::addColumn<int>("exits");
    QTest::addColumn<QString>("visible");
    QTest::addColumn<QString>("last");

    QTest::newRow("yes") << QList<int>{IdYes} << 1 << 0 << "Indice" << "FGrafico12";
    QTest::newRow("no") << QList<int>{IdNo} << 1 << 1 << "" << "Form12";
    QTest::newRow("enter takes the default No") << QList<int>{} << 1 << 1 << "" << "Form12";
    QTest::newRow("closed, then yes") << QList<int>{0, IdYes} << 2 << 0 << "Indice" << "FGrafico12";
    QTest::newRow("closed twice, then no") << QList<int>{0, 0, IdNo} << 3 << 1 << "" << "Form12";
}

void TestNavigation::closingQuestion()
{
    QFETCH(QList<int>, answers);
    QFETCH(int, asked);
    QFETCH(int, exits);
    QFETCH(QString, visible);
    QFETCH(QString, last);

    start();
    actAll({"Indice.Label3_12", "Form12.Image5"});
    for (int a : answers)
        fx->msgs.answer(a);
    act("FGrafico12.Image3");
    QCOMPARE(fx->msgs.count(), asked);
    for (const auto& box : fx->msgs.boxes) {
        QCOMPARE(box.text, QStringLiteral("That is all ! Go Back to the begining ? "));
        QCOMPARE(box.style, 4 + 32 + 256);
        QCOMPARE(box.title, QStringLiteral("The End"));
    }
    QCOMPARE(fx->exits, exits);
    QCOMPARE(visibleNow(), visible);
    QCOMPARE(lastForm(), last);
    QCOMPARE(win("FGrafico12").unloadCount(), exits ? 0 : 1);
}

// --- The results and input windows -------------------------------------------

void TestNavigation::limpa_data()
{
    QTest::addColumn<int>("f");
    QTest::addColumn<bool>("inputsCleared");
    QTest::newRow("results only") << 0 << false;
    QTest::newRow("inputs too") << 1 << true;
}

void TestNavigation::limpa()
{
    QFETCH(int, f);
    QFETCH(bool, inputsCleared);

    auto& r = static_cast<FResultSim&>(win("FResultSim"));
    const QStringList inputs = {"Combo1", "Text1_0", "Text1_1", "Text1_2", "p1", "p2"};
    const QStringList results = {"Ling",     "Lpct_ing", "Lpre_ing", "Lencontradas", "Lingreso", "Lnsim",
                                 "Lingreso_total", "Lp1medio", "Lp2medio", "Np1medio",     "Np2medio"};
    for (const QString& n : inputs + results)
        r.ctl<QLabel>(n)->setText("7");
    r.limpa(f);
    for (const QString& n : results)
        QCOMPARE(r.ctl<QLabel>(n)->text(), QString());
    for (const QString& n : inputs)
        QCOMPARE(r.ctl<QLabel>(n)->text().isEmpty(), inputsCleared);
    QCOMPARE(f, inputsCleared ? 1 : 0); // read, never written
}

void TestNavigation::changeInputs()
{
    start();
    act("Indice.Label3_4");
    auto& r = static_cast<FResultSim&>(win("FResultSim"));
    r.show();
    r.ctl<QLabel>("Text1_0")->setText("1000");
    r.ctl<QLabel>("Ling")->setText("12");
    r.ctl<QTimer>("Timer1")->start();
    log.entries.clear();

    act("FResultSim.Image3");
    QCOMPARE(log.text(), QStringLiteral("show:FSimula1"));
    QCOMPARE(visibleNow(), QStringLiteral("FResultSim FSimula1 Form5 Indice"));
    QVERIFY(!r.ctl<QTimer>("Timer1")->isActive());
    QCOMPARE(r.ctl<QLabel>("Text1_0")->text(), QString());
    QCOMPARE(r.ctl<QLabel>("Ling")->text(), QString());
    QCOMPARE(r.loadCount(), 1);
    QCOMPARE(lastForm(), QStringLiteral("Indice"));

    // A second time the input window, already open, only comes forward.
    act("FResultSim.Image3");
    QCOMPARE(win("FSimula1").loadCount(), 1);
}

// --- Windows left from inside their own handlers --------------------------------

void TestNavigation::unloadInsideHandler_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QStringList>("left"); // windows whose old controls must outlive the handler

    QTest::newRow("Index") << QStringList{"Indice.Label3_2"} << "Form3.Image6" << QStringList{"Form3"};
    QTest::newRow("topic item") << QStringList{"Indice.Label3_2"} << "Form3.menu5" << QStringList{"Form3"};
    QTest::newRow("graph Next closing topic 2 too") << QStringList{"Indice.Label3_1", "FGrafico2.show"}
                                                    << "FGrafico2.Image3" << QStringList{"FGrafico2", "Form2"};
    QTest::newRow("Last Form to itself") << QStringList{"Indice.Label3_2", "Form3.Image6", "Indice.menu0"}
                                         << "Form3.menu0" << QStringList{"Form3"};
    QTest::newRow("cancel") << QStringList{"Indice.Label3_4", "FResultSim.show", "FSimula1.show"}
                            << "FSimula1.Image3" << QStringList{"FSimula1", "FResultSim"};
}

void TestNavigation::unloadInsideHandler()
{
    QFETCH(QStringList, before);
    QFETCH(QString, step);
    QFETCH(QStringList, left);

    start();
    actAll(before);
    QList<QPointer<FormWidget>> old;
    for (const QString& w : left)
        old << win(w).widgetIfLoaded();

    const QString window = step.section('.', 0, 0);
    QObject* o = win(window).findCtl<QObject>(step.section('.', 1));
    QVERIFY(o);
    if (auto* a = qobject_cast<QAction*>(o))
        trigger(a);
    else
        click(qobject_cast<QWidget*>(o));
    // Right after the handler: gone from the screen and unloaded, but the
    // controls are still there until the event loop takes them.
    for (int i = 0; i < left.size(); ++i) {
        QVERIFY2(old[i], qPrintable(left[i]));
        QVERIFY(!old[i]->isVisible());
        QVERIFY(!win(left[i]).isLoaded());
    }
    flushDeletes();
    for (const QPointer<FormWidget>& w : old)
        QVERIFY(w.isNull());
}

// --- A long random walk -----------------------------------------------------------

void TestNavigation::randomWalk()
{
    QRandomGenerator rng(20240611u);
    const QStringList tools = kGraphPages + QStringList{"FResultSim", "FSimula1"};
    const QSet<QString> storing = [] {
        QSet<QString> s;
        for (const QString& w : toolbarPages())
            s.insert(w);
        s.insert("Indice");
        return s;
    }();

    start();
    int clicks = 0;
    for (int i = 0; i < 3000; ++i) {
        // Everything a user could click now.
        QStringList choices;
        for (Form* f : Form::all()) {
            if (!f->visible())
                continue;
            const QString w = f->name();
            if (w == "Indice") {
                for (int k = 0; k < 13; ++k)
                    choices << QStringLiteral("Indice.Label3_%1").arg(k);
                if (f->findCtl<QAction>("menu0")->isEnabled())
                    choices << "Indice.menu0";
                continue;
            }
            choices << w + ".close";
            if (w == "FSimula1") {
                choices << "FSimula1.Image3";
                continue;
            }
            if (w == "FResultSim")
                choices << "FResultSim.Image3";
            const ToolbarSpec* spec = toolbarSpec(w);
            QVERIFY(spec);
            for (const ToolbarButton* b : {&spec->index, &spec->back, &spec->next})
                choices << w + "." + b->name;
            choices << w + "." + fileCloseName(w);
            if (hasIndexMenu(w))
                for (int k = 0; k <= 13; ++k)
                    if (f->findCtl<QAction>(indexItemName(w, k))->isEnabled())
                        choices << w + "." + indexItemName(w, k);
        }
        // The lesson pages' links to the tool windows.
        if (rng.bounded(8) == 0)
            choices = {tools[rng.bounded(int(tools.size()))] + ".show"};

        const QString step = choices[rng.bounded(int(choices.size()))];
        if (step == "FGrafico12.Image3")
            fx->msgs.answer(IdYes);
        act(step);
        ++clicks;
        if (i % 64 == 0)
            QCoreApplication::processEvents();

        QVERIFY2(!programEnded(), qPrintable(step));
        QVERIFY2(indice().visible(), qPrintable(step));
        QVERIFY2(!ultimoform() || storing.contains(ultimoform()->name()), qPrintable(step));
        for (const Form* f : Form::all()) {
            QVERIFY2(f->loadCount() - f->unloadCount() == int(f->isLoaded()), qPrintable(step + " " + f->name()));
            QVERIFY2(!f->visible() || f->isLoaded(), qPrintable(step));
        }
        if (QTest::currentTestFailed())
            return;
    }
    for (const auto& box : fx->msgs.boxes)
        QCOMPARE(box.title, QStringLiteral("The End"));

    // One instance per window class, and no window left over.
    QCoreApplication::processEvents();
    flushDeletes();
    QMap<QString, int> widgets;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* fw = qobject_cast<FormWidget*>(w)) {
            ++widgets[fw->objectName()];
            QVERIFY(fw->form() && fw->form()->widgetIfLoaded() == fw);
        }
    QSet<QString> classes;
    for (const Form* f : Form::all()) {
        QVERIFY(!classes.contains(f->name()));
        classes.insert(f->name());
        QCOMPARE(widgets.value(f->name()), int(f->isLoaded()));
    }
    QVERIFY(clicks == 3000);
    QVERIFY(win("FGrafico1").loadCount() > 0 && win("Form10a").loadCount() > 0);
}

TAV_TEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
