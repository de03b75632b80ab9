// The lesson pages as a reader meets them: their texts after a first load,
// a reload and a second show, how paragraphs are joined and laid out, the
// title band, the toolbar faces and pointers the load leaves, the pictures,
// the links to the tool windows, and what a resize moves.

#include "testkit.h"

#include "lessons/figures.h"
#include "lessons/lessonpages.h"
#include "platform/controls.h"
#include "shell/indice.h"
#include "shell/topics.h"
#include "testmain.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMap>
#include <QPointer>
#include <QSet>

using namespace tav;
using namespace tav::test;

namespace {

const QStringList kPages = {"Form2", "Form3", "Form5", "Form6", "Form7", "Form8", "Form9", "Form10", "Form10a", "Form12"};
// The number of text labels of each page.
const QMap<QString, int> kLabels = {{"Form2", 4}, {"Form3", 2}, {"Form5", 4}, {"Form6", 4},  {"Form7", 3},
                                    {"Form8", 4}, {"Form9", 5}, {"Form10", 2}, {"Form10a", 4}, {"Form12", 5}};

Form& win(const QString& name) { return windowNamed(name); }
void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

QString caption(Form& f, int i) { return f.ctl<Label>(QStringLiteral("Label1"), i)->text(); }

QStringList captions(Form& f)
{
    QStringList out;
    for (int i = 0; i < kLabels.value(f.name()); ++i)
        out << caption(f, i);
    return out;
}

// Records the order in which windows appear.
class ShowLog : public QObject {
public:
    QStringList shown;

protected:
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::Show && qobject_cast<FormWidget*>(o))
            shown << o->objectName();
        return false;
    }
};

QSet<QString> visibleWindows()
{
    QSet<QString> s;
    for (const Form* f : Form::all())
        if (f->visible())
            s.insert(f->name());
    return s;
}

QImage faceOf(Form& f, const QString& button) { return f.ctl<ImageButton>(button)->picture().toImage(); }
QImage startFace(int i) { return indice().ctl<PictureBox>(QStringLiteral("Picture3"), i)->picture().toImage(); }

enum Pointer { Arrow, Hand, NoDrop };
Pointer pointerOf(QWidget* w)
{
    if (!w->testAttribute(Qt::WA_SetCursor))
        return Arrow;
    switch (w->cursor().shape()) {
    case Qt::BitmapCursor: return Hand;
    case Qt::ForbiddenCursor: return NoDrop;
    default: return Arrow;
    }
}

// The bounding box of everything that is not the background colour.
QRect ink(const QImage& img)
{
    const QRgb back = img.pixel(0, 0);
    QRect r;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != back)
                r |= QRect(x, y, 1, 1);
    return r;
}

// A bare lesson page whose steps name a window and controls that do not
// exist, to show that each failing step is skipped.
class ProbePage : public LessonPage {
public:
    ProbePage() : LessonPage(QStringLiteral("ProbePage"), PageDesign{}) {}
    void link() { go({"NoSuchWindow", "FSimula1"}); }
    void steps()
    {
        handCursors({"NoSuchImage", "Label2"});
        paragraphs(7, {QStringLiteral("a"), QStringLiteral("b")}, QStringLiteral("\n\n"));
        setTitle(QStringLiteral("reached"));
    }
};

} // namespace

class TestLessons : public QObject {
    Q_OBJECT

private slots:
    void texts_data();
    void texts();
    void paragraphLayout_data();
    void paragraphLayout();
    void singleParagraphLabels();
    void quotedTexts_data();
    void quotedTexts();
    void textsFitTheirBoxes();
    void windowAndTitle_data();
    void windowAndTitle();
    void toolbarAtLoad_data();
    void toolbarAtLoad();
    void pointers_data();
    void pointers();
    void pictures_data();
    void pictures();
    void picturesOnPages_data();
    void picturesOnPages();
    void links_data();
    void links();
    void form6GraphLightsTheTableFace();
    void failingStepsAreSkipped();
    void deadControls_data();
    void deadControls();
    void resizeMovesOnlyToolbarAndTitle_data();
    void resizeMovesOnlyToolbarAndTitle();
};

// Every label gets its text at load, once: a reload starts from the design
// placeholders again and a show of a loaded page does not load it again.
void TestLessons::texts_data()
{
    QTest::addColumn<QString>("window");
    for (const QString& p : kPages)
        QTest::newRow(qPrintable(p)) << p;
}

void TestLessons::texts()
{
    QFETCH(QString, window);
    ProgramFixture fx;
    Form& f = win(window);
    f.show();
    const QStringList first = captions(f);
    QCOMPARE(first.size(), kLabels.value(window));
    for (const QString& c : first) {
        QVERIFY2(c.size() > 40, qPrintable(c));
        QVERIFY(!c.startsWith(QLatin1String("Label1")));
    }
    QVERIFY2(!f.findCtl<QWidget>(arrayName(QStringLiteral("Label1"), kLabels.value(window))), "one label too many");

    f.show(); // still loaded: only brought forward
    QCOMPARE(f.loadCount(), 1);
    QCOMPARE(captions(f), first);

    f.unload();
    flushDeletes();
    QVERIFY(!f.isLoaded());
    f.show();
    QCOMPARE(f.loadCount(), 2);
    QCOMPARE(captions(f), first);
}

// Labels with several paragraphs: the raw separators and the lines they
// give (one empty line between paragraphs; Form3's second label two lines
// down).
void TestLessons::paragraphLayout_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("label");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<int>("paragraphs");
    QTest::addColumn<bool>("leadingSeparator");

    const QString crlfcr = QStringLiteral("\r\n\r"), lfcr = QStringLiteral("\n\r"), lflf = QStringLiteral("\n\n");
    QTest::newRow("Form3 first") << "Form3" << 0 << crlfcr << 4 << false;
    QTest::newRow("Form3 second") << "Form3" << 1 << crlfcr << 2 << true;
    QTest::newRow("Form5 second") << "Form5" << 1 << lfcr << 2 << false;
    QTest::newRow("Form8 last") << "Form8" << 3 << lflf << 2 << false;
    QTest::newRow("Form10 first") << "Form10" << 0 << lflf << 2 << false;
    QTest::newRow("Form10 second") << "Form10" << 1 << lflf << 2 << false;
    QTest::newRow("Form10a first") << "Form10a" << 0 << lflf << 2 << false;
    QTest::newRow("Form10a last") << "Form10a" << 3 << lflf << 3 << false;
}

void TestLessons::paragraphLayout()
{
    QFETCH(QString, window);
    QFETCH(int, label);
    QFETCH(QString, separator);
    QFETCH(int, paragraphs);
    QFETCH(bool, leadingSeparator);
    ProgramFixture fx;
    Form& f = win(window);
    f.show();
    const QString text = caption(f, label);

    // The raw caption: paragraphs joined by the page's separator and by
    // nothing else.
    QStringList parts = text.split(separator);
    if (leadingSeparator) {
        QVERIFY(text.startsWith(separator));
        QVERIFY(parts.first().isEmpty());
        parts.removeFirst();
    }
    QCOMPARE(parts.size(), paragraphs);
    for (const QString& p : parts) {
        QVERIFY2(!p.isEmpty(), qPrintable(text));
        QVERIFY2(!p.contains(QLatin1Char('\r')) && !p.contains(QLatin1Char('\n')), qPrintable(p));
    }

    // The lines the label shows.
    QStringList expected;
    if (leadingSeparator)
        expected << QString() << QString();
    for (int i = 0; i < parts.size(); ++i) {
        if (i > 0)
            expected << QString();
        expected << parts[i];
    }
    QCOMPARE(LessonText::displayed(text).split(QLatin1Char('\n')), expected);
}

void TestLessons::singleParagraphLabels()
{
    ProgramFixture fx;
    const QSet<QString> joined = {"Form3/0", "Form3/1", "Form5/1", "Form8/3", "Form10/0", "Form10/1", "Form10a/0",
                                  "Form10a/3"};
    for (const QString& page : kPages) {
        Form& f = win(page);
        f.show();
        for (int i = 0; i < kLabels.value(page); ++i) {
            if (joined.contains(page + QLatin1Char('/') + QString::number(i)))
                continue;
            const QString c = caption(f, i);
            QVERIFY2(!c.contains(QLatin1Char('\r')) && !c.contains(QLatin1Char('\n')),
                     qPrintable(page + QLatin1Char(' ') + c));
        }
    }
}

// The words the pages quote and the list items and formula line they carry
// exactly, and what a paragraph must say of them.
void TestLessons::quotedTexts_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("label");
    QTest::addColumn<QString>("quoted");
    QTest::addColumn<bool>("whole"); // the quotation is one paragraph of its own

    QTest::newRow("NPPOs") << "Form2" << 2 << "NPPOs" << false;
    QTest::newRow("list item 1") << "Form3" << 0
                                 << "1. the probability of a certain level of infestation (prevalence) in the "
                                    "consignment and"
                                 << true;
    QTest::newRow("list item 2") << "Form3" << 0 << "2. the probability that the inspection system detects this prevalence"
                                 << true;
    QTest::newRow("p1*p2") << "Form6" << 0 << "(p1*p2)" << false;
    QTest::newRow("1/(1-CL)") << "Form7" << 1 << "1/(1-CL)" << false;
    QTest::newRow("F11") << "Form10a" << 1
                         << "      TotalEfficay = 1 - {(1 - efficay1) x (1 - efficacy2) x ... x (1 - efficacyN)}"
                         << true;
    QTest::newRow("introduction") << "Form12" << 1 << "(ingress + establishment)" << false;
    QTest::newRow("F11 measures") << "Form10a" << 2 << "single measures of the systems approach" << false;
    QTest::newRow("F11 removal") << "Form10a" << 2 << "100% removal of the pest" << false;
    QTest::newRow("953 units") << "Form8" << 1 << "953" << false;
}

void TestLessons::quotedTexts()
{
    QFETCH(QString, window);
    QFETCH(int, label);
    QFETCH(QString, quoted);
    QFETCH(bool, whole);
    ProgramFixture fx;
    Form& f = win(window);
    f.show();
    const QString text = caption(f, label);
    if (whole)
        QVERIFY2(text == quoted || LessonText::displayed(text).split(QLatin1Char('\n')).contains(quoted),
                 qPrintable(text));
    else
        QVERIFY2(text.contains(quoted), qPrintable(text));
}

// Labels cut off what does not fit: every text must fit its design box in
// the label's own font.
void TestLessons::textsFitTheirBoxes()
{
    ProgramFixture fx;
    for (const QString& page : kPages) {
        Form& f = win(page);
        f.show();
        for (int i = 0; i < kLabels.value(page); ++i) {
            Label* l = f.ctl<Label>(QStringLiteral("Label1"), i);
            const QRect need = QFontMetrics(l->font()).boundingRect(
                QRect(0, 0, l->width(), 100000), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                LessonText::displayed(l->text()));
            QVERIFY2(need.height() <= l->height() && need.width() <= l->width(),
                     qPrintable(QStringLiteral("%1 Label1(%2) needs %3x%4 in %5x%6")
                                    .arg(page)
                                    .arg(i)
                                    .arg(need.width())
                                    .arg(need.height())
                                    .arg(l->width())
                                    .arg(l->height())));
        }
    }
}

void TestLessons::windowAndTitle_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QString>("title");

    const QColor peach(255, 224, 192), white(255, 255, 255);
    QTest::newRow("Form2") << "Form2" << "Graphical relations" << peach << "2. Graphical Relations ";
    QTest::newRow("Form3") << "Form3" << "Concepts of simulation" << peach << "3. Concepts of simulation";
    QTest::newRow("Form5") << "Form5" << "Ingress and introduction" << peach << "5. Ingress and Introduction";
    QTest::newRow("Form6") << "Form6" << "Inspection and establishment" << peach << "6. Inspection and establishment";
    QTest::newRow("Form7") << "Form7" << "Inspection risks" << peach << "7. Risk of the Inspection";
    QTest::newRow("Form8") << "Form8" << "Acceptable level of risk" << peach << "8. Aceptable Level of Risk";
    QTest::newRow("Form9") << "Form9" << "Appropriated level of protection" << peach
                           << "9. Appropriated Level of Protection";
    QTest::newRow("Form10") << "Form10" << "Phytosanitary measures: Holistic approach" << white
                            << "10. Phytosanitary measures: Holistic approach";
    QTest::newRow("Form10a") << "Form10a" << "Phytosanitary measures: Effect" << white
                             << "11. Phytosanitary measures: Effect";
    QTest::newRow("Form12") << "Form12" << "Inspection and establishment" << peach
                            << "13. Phytosanitary measures: Efficacy and ALP";
}

void TestLessons::windowAndTitle()
{
    QFETCH(QString, window);
    QFETCH(QString, caption);
    QFETCH(QColor, background);
    QFETCH(QString, title);
    ProgramFixture fx;
    Form& f = win(window);
    f.show();
    QCOMPARE(f.widget()->windowTitle(), caption);
    QCOMPARE(f.widget()->client()->palette().color(QPalette::Window), background);
    QCOMPARE(f.ctl<Label>(QStringLiteral("Label2"))->text(), title);
    QCOMPARE(f.ctl(QStringLiteral("Label2"))->x(), window == QLatin1String("Form10a") ? 0 : -2);
    f.unload();
    flushDeletes();
    f.show();
    QCOMPARE(f.ctl<Label>(QStringLiteral("Label2"))->text(), title);
}

// Faces: 0 chart in colour, 1 chart greyed, 2 table in colour, 3 table greyed.
void TestLessons::toolbarAtLoad_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("chartFace");
    QTest::addColumn<bool>("chartEnabled");
    QTest::addColumn<int>("tableFace");
    QTest::addColumn<bool>("tableEnabled");

    QTest::newRow("Form2") << "Form2" << 1 << false << 3 << true;
    QTest::newRow("Form3") << "Form3" << 1 << false << 3 << false;
    QTest::newRow("Form5") << "Form5" << 1 << false << 3 << false;
    QTest::newRow("Form6") << "Form6" << 0 << true << 3 << false;
    QTest::newRow("Form7") << "Form7" << 0 << true << 3 << false;
    QTest::newRow("Form8") << "Form8" << 1 << false << 3 << false;
    QTest::newRow("Form9") << "Form9" << 0 << true << 3 << false;
    QTest::newRow("Form10") << "Form10" << 1 << false << 3 << false;
    QTest::newRow("Form10a") << "Form10a" << 1 << false << 3 << false;
    QTest::newRow("Form12") << "Form12" << 0 << true << 3 << false;
}

void TestLessons::toolbarAtLoad()
{
    QFETCH(QString, window);
    QFETCH(int, chartFace);
    QFETCH(bool, chartEnabled);
    QFETCH(int, tableFace);
    QFETCH(bool, tableEnabled);
    ProgramFixture fx;
    Form& f = win(window);
    f.show();
    QCOMPARE(faceOf(f, QStringLiteral("Image9")), startFace(chartFace));
    QCOMPARE(f.ctl(QStringLiteral("Image9"))->isEnabled(), chartEnabled);
    QCOMPARE(faceOf(f, QStringLiteral("Image10")), startFace(tableFace));
    QCOMPARE(f.ctl(QStringLiteral("Image10"))->isEnabled(), tableEnabled);
    for (const char* b : {"Image6", "Image7", "Image8", "Image11"})
        QVERIFY2(f.ctl(QString::fromLatin1(b))->isEnabled(), b);
}

// The hand on every control that reacts to a click; the design pointers
// elsewhere; the formula pictures keep the arrow although they are links.
void TestLessons::pointers_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QStringList>("hand");
    QTest::addColumn<QStringList>("noDrop");
    QTest::addColumn<QStringList>("arrow");

    QTest::newRow("Form2") << "Form2" << QStringList{"Image1", "Image2", "Image5", "Image6", "Image4", "Image3", "Image7", "Image8", "Image11"}
                           << QStringList{"Image9", "Image10"} << QStringList{};
    QTest::newRow("Form3") << "Form3" << QStringList{"Image6", "Image2", "Image1", "Image7", "Image8", "Image11"}
                           << QStringList{"Image9", "Image10"} << QStringList{};
    QTest::newRow("Form5") << "Form5" << QStringList{"Image1", "Image6", "Image2", "Image5", "Image7", "Image8", "Image11"}
                           << QStringList{"Image9", "Image10"} << QStringList{};
    QTest::newRow("Form6") << "Form6" << QStringList{"Image2", "Image6", "Image12", "Image5", "Image7", "Image8", "Image9", "Image10", "Image11"}
                           << QStringList{} << QStringList{"Image1"};
    QTest::newRow("Form7") << "Form7" << QStringList{"Image2", "Image6", "Image12", "Image5", "Image7", "Image8", "Image9", "Image10", "Image11"}
                           << QStringList{} << QStringList{};
    QTest::newRow("Form8") << "Form8" << QStringList{"Image6", "Image12", "Image5", "Image7", "Image8", "Image11"}
                           << QStringList{"Image9", "Image10"} << QStringList{"Image1"};
    QTest::newRow("Form9") << "Form9" << QStringList{"Image2", "Image9", "Image6", "Image12", "Image5", "Image7", "Image8", "Image10", "Image11"}
                           << QStringList{} << QStringList{"Image1"};
    QTest::newRow("Form10") << "Form10" << QStringList{"Image6", "Image2", "Image1", "Image7", "Image8", "Image11"}
                            << QStringList{} << QStringList{"Image3", "Image9", "Image10"};
    QTest::newRow("Form10a") << "Form10a" << QStringList{"Image6", "Image2", "Image1", "Image7", "Image8", "Image11"}
                             << QStringList{} << QStringList{"Image9", "Image10"};
    QTest::newRow("Form12") << "Form12" << QStringList{"Image2", "Image6", "Image12", "Image5", "Image7", "Image8", "Image9", "Image10", "Image11"}
                            << QStringList{} << QStringList{"Picture1"};
}

void TestLessons::pointers()
{
    QFETCH(QString, window);
    QFETCH(QStringList, hand);
    QFETCH(QStringList, noDrop);
    QFETCH(QStringList, arrow);
    ProgramFixture fx;
    Form& f = win(window);
    f.show();
    for (const QString& n : hand)
        QVERIFY2(pointerOf(f.ctl(n)) == Hand, qPrintable(n));
    for (const QString& n : noDrop)
        QVERIFY2(pointerOf(f.ctl(n)) == NoDrop, qPrintable(n));
    for (const QString& n : arrow)
        QVERIFY2(pointerOf(f.ctl(n)) == Arrow, qPrintable(n));
}

// The drawn pictures: their sizes, and all their ink inside them (nothing
// cut off at an edge).
void TestLessons::pictures_data()
{
    QTest::addColumn<QPixmap>("picture");
    QTest::addColumn<QSize>("size");

    QTest::newRow("topic 6 equation") << figures::establishmentEquation() << QSize(314, 71);
    QTest::newRow("topic 8 equation") << figures::thresholdEquation() << QSize(320, 59);
    QTest::newRow("topic 9 equation") << figures::confidenceEquation() << QSize(340, 63);
    QTest::newRow("topic 10 diagram") << figures::pathwayDiagram() << QSize(630, 195);
    QTest::newRow("topic 13 equation") << figures::protectionEquation() << QSize(620, 75);
}

void TestLessons::pictures()
{
    QFETCH(QPixmap, picture);
    QFETCH(QSize, size);
    // Drawn at the screen's ratio: the design size in logical pixels.
    const qreal ratio = picture.devicePixelRatio();
    QCOMPARE(ratio, qApp->devicePixelRatio());
    QCOMPARE(picture.deviceIndependentSize().toSize(), size);
    QImage img = picture.toImage();
    QCOMPARE(QColor(img.pixel(0, 0)), QColor(Qt::white));
    if (ratio != 1.0) // the ink's place in logical pixels
        img = img.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QRect r = ink(img);
    QVERIFY(r.width() > size.width() / 2);
    QVERIFY2(r.left() >= 1 && r.top() >= 1 && r.right() <= size.width() - 2 && r.bottom() <= size.height() - 2,
             qPrintable(QStringLiteral("ink %1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height())));
}

// Where the pages show them: framed by a thin line, in their design boxes.
void TestLessons::picturesOnPages_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QPixmap>("picture");
    QTest::addColumn<QRect>("box"); // twips

    QTest::newRow("Form6") << "Form6" << "Image1" << figures::establishmentEquation() << QRect(3030, 3105, 4575, 1035);
    QTest::newRow("Form8") << "Form8" << "Image1" << figures::thresholdEquation() << QRect(2760, 4635, 4830, 915);
    QTest::newRow("Form9") << "Form9" << "Image1" << figures::confidenceEquation() << QRect(2940, 3945, 5130, 975);
    QTest::newRow("Form10") << "Form10" << "Image3" << figures::pathwayDiagram() << QRect(480, 2790, 9480, 2955);
}

void TestLessons::picturesOnPages()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QPixmap, picture);
    QFETCH(QRect, box);
    ProgramFixture fx;
    Form& f = win(window);
    f.show();
    auto* img = f.ctl<ImageButton>(control);
    QCOMPARE(img->geometry(), twipRect(box.x(), box.y(), box.width(), box.height()));
    QCOMPARE(img->borderStyle(), 1);
    QCOMPARE(img->picture().toImage(), picture.toImage());
}

// Each live link shows its targets, in order, and nothing else, then the
// page unloads and becomes the last form.
void TestLessons::links_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QStringList>("targets");

    QTest::newRow("Form2 hypergeometric") << "Form2" << "Image2" << QStringList{"FGrafico1"};
    QTest::newRow("Form2 percent") << "Form2" << "Image1" << QStringList{"FGrafico2"};
    QTest::newRow("Form2 constant size") << "Form2" << "Image5" << QStringList{"FGrafico3"};
    QTest::newRow("Form5 simulate") << "Form5" << "Image1" << QStringList{"FResultSim", "FSimula1"};
    QTest::newRow("Form6 graph") << "Form6" << "Image2" << QStringList{"FGrafico4"};
    QTest::newRow("Form6 chart icon") << "Form6" << "Image9" << QStringList{"FGrafico4"};
    QTest::newRow("Form6 equation") << "Form6" << "Image1" << QStringList{"FSimula1"};
    QTest::newRow("Form7 graph") << "Form7" << "Image2" << QStringList{"FGrafico5"};
    QTest::newRow("Form7 chart icon") << "Form7" << "Image9" << QStringList{"FGrafico5"};
    QTest::newRow("Form8 equation") << "Form8" << "Image1" << QStringList{"FSimula1"};
    QTest::newRow("Form9 graph") << "Form9" << "Image2" << QStringList{"FGrafico6"};
    QTest::newRow("Form9 chart icon") << "Form9" << "Image9" << QStringList{"FGrafico6"};
    QTest::newRow("Form9 equation") << "Form9" << "Image1" << QStringList{"FSimula1"};
    QTest::newRow("Form12 graph") << "Form12" << "Image2" << QStringList{"FGrafico12"};
    QTest::newRow("Form12 chart icon") << "Form12" << "Image9" << QStringList{"FGrafico12"};
}

void TestLessons::links()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    QFETCH(QStringList, targets);
    ProgramFixture fx;
    Form& f = win(window);
    f.show();
    ShowLog log;
    qApp->installEventFilter(&log);
    click(f.ctl(control));
    flushDeletes();
    qApp->removeEventFilter(&log);

    QVERIFY(!f.isLoaded());
    QCOMPARE(f.unloadCount(), 1);
    QCOMPARE(ultimoform(), &f);
    QCOMPARE(log.shown, targets);
    QCOMPARE(visibleWindows(), QSet<QString>(targets.begin(), targets.end()));
    QCOMPARE(fx.msgs.count(), 0);
}

// The graph button gives the page's table icon its coloured face and
// enables it just before the page goes.
void TestLessons::form6GraphLightsTheTableFace()
{
    ProgramFixture fx;
    Form& f = win(QStringLiteral("Form6"));
    f.show();
    QPointer<ImageButton> table = f.ctl<ImageButton>(QStringLiteral("Image10"));
    QVERIFY(!table->isEnabled());
    click(f.ctl(QStringLiteral("Image2")));
    QVERIFY(table); // destroyed only when the event loop runs
    QVERIFY(table->isEnabled());
    QCOMPARE(table->picture().toImage(), startFace(2));
    flushDeletes();
    QVERIFY(!table);
    // The next visit starts from the design again.
    f.show();
    QVERIFY(!f.ctl(QStringLiteral("Image10"))->isEnabled());
    QCOMPARE(faceOf(f, QStringLiteral("Image10")), startFace(3));
}

// A link whose first target cannot be shown still shows the next and
// unloads the page; a load step on a missing control is skipped without a
// message.
void TestLessons::failingStepsAreSkipped()
{
    ProgramFixture fx;
    ProbePage& page = formRef<ProbePage>();
    page.show();
    page.steps();
    QCOMPARE(page.ctl<Label>(QStringLiteral("Label2"))->text(), QStringLiteral("reached"));
    QVERIFY(pointerOf(page.ctl(QStringLiteral("Label2"))) == Hand);
    page.link();
    flushDeletes();
    QVERIFY(!page.isLoaded());
    QVERIFY(win(QStringLiteral("FSimula1")).visible());
    QCOMPARE(ultimoform(), &page);
    QCOMPARE(fx.msgs.count(), 0);
}

// Controls without a click action leave the page as it is.
void TestLessons::deadControls_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("control");

    QTest::newRow("Form2 table icon") << "Form2" << "Image10";
    QTest::newRow("Form6 table icon") << "Form6" << "Image10";
    QTest::newRow("Form10 diagram") << "Form10" << "Image3";
    QTest::newRow("Form12 equation") << "Form12" << "Picture1";
    QTest::newRow("Form12 table icon") << "Form12" << "Image10";
    QTest::newRow("Form3 text") << "Form3" << "Label1_0";
}

void TestLessons::deadControls()
{
    QFETCH(QString, window);
    QFETCH(QString, control);
    ProgramFixture fx;
    Form& f = win(window);
    f.show();
    const QStringList before = captions(f);
    click(f.ctl(control));
    flushDeletes();
    QVERIFY(f.isLoaded());
    QCOMPARE(visibleWindows(), QSet<QString>{window});
    QCOMPARE(captions(f), before);
}

void TestLessons::resizeMovesOnlyToolbarAndTitle_data()
{
    QTest::addColumn<QString>("window");
    for (const QString& p : kPages)
        QTest::newRow(qPrintable(p)) << p;
}

void TestLessons::resizeMovesOnlyToolbarAndTitle()
{
    QFETCH(QString, window);
    ProgramFixture fx;
    Form& f = win(window);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(f.widget()));
    QMap<QString, QRect> before;
    for (QWidget* c : f.widget()->client()->findChildren<QWidget*>())
        if (!c->objectName().isEmpty())
            before.insert(c->objectName(), c->geometry());

    for (int width : {420, 1100}) {
        f.widget()->resize(width, f.widget()->height());
        QCoreApplication::processEvents();
        const int outer = f.widget()->frameGeometry().width();
        QCOMPARE(f.ctl(QStringLiteral("Frame4"))->width(), outer);
        QCOMPARE(f.ctl(QStringLiteral("Label2"))->width(), outer);
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            QWidget* c = f.widget()->client()->findChild<QWidget*>(it.key());
            QVERIFY(c);
            QRect now = c->geometry();
            QRect was = it.value();
            if (it.key() == QLatin1String("Frame4") || it.key() == QLatin1String("Label2")) {
                now.setWidth(0);
                was.setWidth(0);
            }
            QVERIFY2(now == was, qPrintable(it.key()));
        }
    }
}

TAV_TEST_MAIN(TestLessons)
#include "tst_lessons.moc"
