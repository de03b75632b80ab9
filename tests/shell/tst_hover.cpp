// Hover highlighting by mouse moves over named controls.
#include "common/colors.h"
#include "platform/controls.h"
#include "shell/hover.h"
#include "shell/indice.h"
#include "shell/topics.h"
#include "shell/navigation.h"
#include "testkit.h"
#include "testmain.h"

#include <QTest>

using namespace tav;

namespace {

void moveOver(QWidget* w, QPoint at = QPoint(-1, -1))
{
    QVERIFY(w);
    if (at == QPoint(-1, -1))
        at = w->rect().center();
    QTest::mouseMove(w, at);
    QCoreApplication::processEvents();
}

int border(Form& f, const QString& name) { return f.ctl<ImageButton>(name)->borderStyle(); }

Form& shown(int topic)
{
    Form& f = topicForm(topic);
    f.show();
    if (!QTest::qWaitForWindowExposed(f.widget()))
        qWarning("window not exposed");
    return f;
}

} // namespace

class TestHover : public QObject {
    Q_OBJECT
private slots:
    void startPageLabels();
    void toolbarFrameClearsItsList();
    void titleBandSparesSave();
    void disabledButtonTakesNoBorder();
    void invertedResetButton_data();
    void invertedResetButton();
    void graphPages();
    void movesOverASliderReachTheSlider_data();
    void movesOverASliderReachTheSlider();
    void tablesNameOnlyRealSurfaces();
};

void TestHover::startPageLabels()
{
    test::ProgramFixture fx;
    indice().show();
    QVERIFY(QTest::qWaitForWindowExposed(indice().widget()));
    auto label = [](int i) { return indice().ctl<Label>(QStringLiteral("Label3"), i); };
    moveOver(label(4));
    QCOMPARE(label(4)->foreColor(), QColor(0, 0, 255));
    moveOver(label(7));
    QCOMPARE(label(7)->foreColor(), QColor(0, 0, 255));
    QCOMPARE(label(4)->foreColor(), vbColor(0x40));
    // The headings have no procedure: the link stays blue over them.
    moveOver(indice().ctl(QStringLiteral("Label2"), 0));
    moveOver(indice().ctl(QStringLiteral("Image1"), 1));
    QCOMPARE(label(7)->foreColor(), QColor(0, 0, 255));
    moveOver(indice().ctl(QStringLiteral("Image11")));
    QCOMPARE(border(indice(), QStringLiteral("Image11")), 1);
    // The background clears both.
    moveOver(indice().widget()->client(), QPoint(700, 300));
    QCOMPARE(border(indice(), QStringLiteral("Image11")), 0);
    QCOMPARE(label(7)->foreColor(), vbColor(0x40));
}

void TestHover::toolbarFrameClearsItsList()
{
    test::ProgramFixture fx;
    Form& f = shown(5);
    for (const char* b : {"Image6", "Image2", "Image5", "Image7", "Image8", "Image11"}) {
        moveOver(f.ctl(QString::fromLatin1(b)));
        QCOMPARE(border(f, QString::fromLatin1(b)), 1);
    }
    // Moving straight from button to button leaves both bordered until the
    // frame is crossed.
    QCOMPARE(border(f, QStringLiteral("Image6")), 1);
    moveOver(f.ctl(QStringLiteral("Frame4")), QPoint(2, 2));
    for (const char* b : {"Image6", "Image2", "Image5", "Image7", "Image8", "Image11"})
        QCOMPARE(border(f, QString::fromLatin1(b)), 0);
}

void TestHover::titleBandSparesSave()
{
    test::ProgramFixture fx;
    Form& f = shown(6);
    moveOver(f.ctl(QStringLiteral("Image8")));
    moveOver(f.ctl(QStringLiteral("Image12")));
    moveOver(f.ctl(QStringLiteral("Label2")));
    QCOMPARE(border(f, QStringLiteral("Image12")), 0);
    QCOMPARE(border(f, QStringLiteral("Image8")), 1);
    moveOver(f.ctl(QStringLiteral("Frame4")), QPoint(2, 2));
    QCOMPARE(border(f, QStringLiteral("Image8")), 0);
}

void TestHover::disabledButtonTakesNoBorder()
{
    test::ProgramFixture fx;
    Form& f = shown(3); // its chart and table buttons are disabled
    moveOver(f.ctl(QStringLiteral("Image6")));
    QCOMPARE(border(f, QStringLiteral("Image6")), 1);
    QVERIFY(!f.ctl(QStringLiteral("Image9"))->isEnabled());
    moveOver(f.ctl(QStringLiteral("Image9")));
    QCOMPARE(border(f, QStringLiteral("Image9")), 0);
    // The move over the disabled button reaches its container, the toolbar.
    QCOMPARE(border(f, QStringLiteral("Image6")), 0);
}

void TestHover::invertedResetButton_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("reset");
    QTest::addColumn<QString>("surface"); // a frame around the calculator
    QTest::newRow("topic 4") << "Form4" << "Image3" << "Frame2";
    QTest::newRow("input window") << "FSimula1" << "Image2" << "Frame1";
}

void TestHover::invertedResetButton()
{
    QFETCH(QString, window);
    QFETCH(QString, reset);
    QFETCH(QString, surface);
    test::ProgramFixture fx;
    Form& f = windowNamed(window);
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(f.widget()));
    QCOMPARE(border(f, reset), 1); // at rest
    moveOver(f.ctl(reset));
    QCOMPARE(border(f, reset), 0); // under the mouse
    moveOver(f.ctl(QStringLiteral("calcula")));
    QCOMPARE(border(f, QStringLiteral("calcula")), 1);
    moveOver(f.ctl(surface), QPoint(3, f.ctl(surface)->height() - 3));
    QCOMPARE(border(f, QStringLiteral("calcula")), 0);
    QCOMPARE(border(f, reset), 0); // only the background gives it back
    moveOver(f.widget()->client(), QPoint(5, f.widget()->client()->height() - 5));
    QCOMPARE(border(f, reset), 1);
    // Back to the design border at the next load.
    moveOver(f.ctl(reset));
    f.unload();
    f.show();
    QCOMPARE(border(f, reset), 1);
}

void TestHover::graphPages()
{
    test::ProgramFixture fx;
    Form& g2 = windowNamed(QStringLiteral("FGrafico2"));
    g2.show();
    QVERIFY(QTest::qWaitForWindowExposed(g2.widget()));
    QCOMPARE(border(g2, QStringLiteral("Image1")), 1);
    moveOver(g2.ctl(QStringLiteral("calcula"), 0));
    moveOver(g2.ctl(QStringLiteral("calcula"), 1));
    moveOver(g2.ctl(QStringLiteral("Frame2")), QPoint(3, 3));
    // Frame2 clears its own ok button only; the reset button keeps its border.
    QCOMPARE(border(g2, QStringLiteral("calcula_1")), 0);
    QCOMPARE(border(g2, QStringLiteral("calcula_0")), 1);
    QCOMPARE(border(g2, QStringLiteral("Image1")), 1);
    moveOver(g2.widget()->client(), QPoint(g2.widget()->client()->width() - 5, g2.widget()->client()->height() - 5));
    QCOMPARE(border(g2, QStringLiteral("Image1")), 0);
    QCOMPARE(border(g2, QStringLiteral("calcula_0")), 0);

    Form& g1 = windowNamed(QStringLiteral("FGrafico1"));
    g1.show();
    QVERIFY(QTest::qWaitForWindowExposed(g1.widget()));
    QCOMPARE(border(g1, QStringLiteral("Image1")), 0);
    moveOver(g1.ctl(QStringLiteral("calcula"), 0));
    moveOver(g1.ctl(QStringLiteral("calcula"), 1));
    moveOver(g1.ctl(QStringLiteral("Frame2")), QPoint(3, 3));
    QCOMPARE(border(g1, QStringLiteral("calcula_0")), 0); // both frames clear both
    QCOMPARE(border(g1, QStringLiteral("calcula_1")), 0);
}

void TestHover::movesOverASliderReachTheSlider_data()
{
    QTest::addColumn<QString>("slider");
    QTest::addColumn<QString>("button");
    QTest::newRow("P1 clears play") << "Hscroll1" << "Image3";
    QTest::newRow("P1 clears one run") << "Hscroll1" << "Image4";
    QTest::newRow("sample clears play") << "Hscroll3" << "Image3";
    QTest::newRow("sample clears one run") << "Hscroll3" << "Image4";
}

// The mouse over a slider lands on the Qt slider inside it; the move is the
// slider's all the same.
void TestHover::movesOverASliderReachTheSlider()
{
    QFETCH(QString, slider);
    QFETCH(QString, button);
    test::ProgramFixture fx;
    Form& f = windowNamed(QStringLiteral("Form11"));
    f.show();
    QVERIFY(QTest::qWaitForWindowExposed(f.widget()));
    moveOver(f.ctl(button));
    QCOMPARE(border(f, button), 1);
    QWidget* inner = f.ctl(slider)->findChild<QWidget*>(QStringLiteral("slider"));
    QVERIFY(inner);
    moveOver(inner, QPoint(inner->width() / 2, inner->height() - 2));
    QCOMPARE(border(f, button), 0);
}

// Every window with a toolbar has a table whose toolbar-frame list names
// only buttons of its toolbar.
void TestHover::tablesNameOnlyRealSurfaces()
{
    test::ProgramFixture fx;
    for (int topic = 1; topic <= 13; ++topic) {
        Form& f = topicForm(topic);
        const HoverTable* t = hoverTable(f.name());
        QVERIFY2(t, qPrintable(f.name()));
        for (const QString& b : t->clears.value(QStringLiteral("Frame4")))
            QVERIFY2(f.ctl(QStringLiteral("Frame4"))->findChild<ImageButton*>(b), qPrintable(f.name() + ' ' + b));
    }
    QVERIFY(!hoverTable(QStringLiteral("frmAbout")));
}

TAV_TEST_MAIN(TestHover)
#include "tst_hover.moc"
