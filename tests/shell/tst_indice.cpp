// The start page: topic links, "Last Form", the "Error Index" box, help,
// resize rules and the end of the program.
#include "common/colors.h"
#include "common/errors.h"
#include "platform/controls.h"
#include "shell/indice.h"
#include "shell/topics.h"
#include "testkit.h"
#include "testmain.h"

#include <QMenuBar>
#include <QTest>
#include <algorithm>

using namespace tav;

class TestIndice : public QObject {
    Q_OBJECT
private slots:
    void layoutAndLoad();
    void linksOpenTheirPages_data();
    void linksOpenTheirPages();
    void openPageIsRaisedNotReloaded();
    void lastFormEnablesAtFirstLink();
    void errorIndexAnswers_data();
    void errorIndexAnswers();
    void helpNotice();
    void resizeKeepsBandAndEmblem();
    void exitEndsWithoutUnloads_data();
    void exitEndsWithoutUnloads();
};

static Label* link(int i) { return indice().ctl<Label>(QStringLiteral("Label3"), i); }

void TestIndice::layoutAndLoad()
{
    test::ProgramFixture fx;
    indice().show();
    FormWidget* w = indice().widget();
    QCOMPARE(w->windowTitle(), QStringLiteral("Index"));
    QCOMPARE(w->client()->size(), QSize(792, 554)); // 11880 x 8310 twips
    QCOMPARE(indice().ctl<Label>(QStringLiteral("Label2"), 1)->text(), QStringLiteral("Tavrelo"));
    for (int i = 0; i < 13; ++i) {
        QCOMPARE(link(i)->text(), topics()[i].caption);
        QCOMPARE(link(i)->foreColor(), vbColor(0x40));
        QCOMPARE(link(i)->pos(), QPoint(twips(topics()[i].left), twips(topics()[i].top)));
        QCOMPARE(link(i)->cursor().shape(), Qt::BitmapCursor);
    }
    QCOMPARE(indice().ctl(QStringLiteral("Image11"))->toolTip(), QStringLiteral("Exit application"));
    QVERIFY(!indice().ctl(QStringLiteral("Picture1"))->isVisibleTo(w));
    QVERIFY(!indice().ctl<PictureBox>(QStringLiteral("Picture3"), 3)->picture().isNull());
    QVERIFY(!indice().ctl<QAction>(QStringLiteral("menu0"))->isEnabled());
}

void TestIndice::linksOpenTheirPages_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::newRow("1") << 0 << "Form1" << "Sampling";
    QTest::newRow("2") << 1 << "Form2" << "Graphical relations";
    QTest::newRow("4") << 3 << "Form4" << "Simulations of Inspection";
    QTest::newRow("10") << 9 << "Form10" << "Phytosanitary measures: Holistic approach";
    QTest::newRow("11") << 10 << "Form10a" << "Phytosanitary measures: Effect";
    QTest::newRow("12") << 11 << "Form11" << "Phytosanitary measures: Simulation";
    QTest::newRow("13") << 12 << "Form12" << "Inspection and establishment";
}

void TestIndice::linksOpenTheirPages()
{
    QFETCH(int, index);
    QFETCH(QString, window);
    QFETCH(QString, caption);
    test::ProgramFixture fx;
    indice().show();
    test::click(link(index));
    Form* page = Form::find(window);
    QVERIFY(page);
    QVERIFY(page->visible());
    QCOMPARE(page->widget()->windowTitle(), caption);
    QVERIFY(page->findCtl<QWidget>(QStringLiteral("Frame4")));
    QVERIFY(indice().visible()); // the start page stays beside it
    QCOMPARE(ultimoform(), &indice());
}

void TestIndice::openPageIsRaisedNotReloaded()
{
    test::ProgramFixture fx;
    indice().show();
    test::click(link(0));
    test::click(link(1));
    test::click(link(0));
    QCOMPARE(topicForm(1).loadCount(), 1);
    QVERIFY(topicForm(1).visible());
    QVERIFY(topicForm(2).visible());
    QCOMPARE(ultimoform(), &indice());
}

void TestIndice::lastFormEnablesAtFirstLink()
{
    test::ProgramFixture fx;
    indice().show();
    QAction* last = indice().ctl<QAction>(QStringLiteral("menu0"));
    QVERIFY(!last->isEnabled());
    test::click(link(2));
    QVERIFY(last->isEnabled());
    // Right after a link "Last Form" shows the start page itself.
    test::trigger(last);
    QVERIFY(indice().visible());
    QCOMPARE(indice().loadCount(), 1);
    // A page that unloaded comes back freshly loaded.
    topicForm(3).unload();
    QCOMPARE(ultimoform(), &topicForm(3));
    test::trigger(last);
    QVERIFY(topicForm(3).visible());
    QCOMPARE(topicForm(3).loadCount(), 2);
}

// A link whose page cannot be shown (an index beyond the table) goes
// through the "Error Index" box.
void TestIndice::errorIndexAnswers_data()
{
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<int>("boxes");
    QTest::addColumn<bool>("stored");
    QTest::newRow("abort") << QList<int>{IdAbort} << 1 << false;
    QTest::newRow("ignore") << QList<int>{IdIgnore} << 1 << true;
    QTest::newRow("retry then abort") << QList<int>{IdRetry, IdRetry, IdAbort} << 3 << false;
    QTest::newRow("retry then ignore") << QList<int>{IdRetry, IdIgnore} << 2 << true;
}

void TestIndice::errorIndexAnswers()
{
    QFETCH(QList<int>, answers);
    QFETCH(int, boxes);
    QFETCH(bool, stored);
    test::ProgramFixture fx;
    indice().show();
    for (int a : answers)
        fx.msgs.answer(a);
    indice().Label3_Click(13);
    QCOMPARE(fx.msgs.count(), boxes);
    QCOMPARE(fx.msgs.last().title, QStringLiteral("Error Index"));
    QCOMPARE(fx.msgs.last().style, 18);
    QCOMPARE(fx.msgs.last().text, QStringLiteral("Subscript out of range\rTry again"));
    QCOMPARE(ultimoform() == &indice(), stored);
    QCOMPARE(indice().ctl<QAction>(QStringLiteral("menu0"))->isEnabled(), stored);
}

void TestIndice::helpNotice()
{
    test::ProgramFixture fx;
    indice().show();
    test::trigger(indice().ctl<QAction>(QStringLiteral("menuHelpHelp")));
    QCOMPARE(fx.msgs.count(), 1);
    QCOMPARE(fx.msgs.last().text, QStringLiteral("Help will be available in the next version"));
    QCOMPARE(fx.msgs.last().style, 64);
    QCOMPARE(fx.msgs.last().title, QStringLiteral("Help"));
}

void TestIndice::resizeKeepsBandAndEmblem()
{
    test::ProgramFixture fx;
    indice().show();
    FormWidget* w = indice().widget();
    for (int width : {1000, 600}) {
        w->resize(width, w->height());
        QCoreApplication::processEvents();
        const int outer = w->frameGeometry().width();
        // The outer width, and at least to the right edge (a thinner frame
        // under a scale factor).
        QWidget* band = indice().ctl(QStringLiteral("Label1"));
        QCOMPARE(band->width(), std::max(outer, band->parentWidget()->width() - band->x()));
        QWidget* emblem = indice().ctl(QStringLiteral("Image1"), 1);
        QCOMPARE(emblem->x() + emblem->width(), outer);
    }
}

void TestIndice::exitEndsWithoutUnloads_data()
{
    QTest::addColumn<int>("how"); // 0 Exit button, 1 File > Exit, 2 close box
    QTest::newRow("exit button") << 0;
    QTest::newRow("file exit") << 1;
    QTest::newRow("close box") << 2;
}

void TestIndice::exitEndsWithoutUnloads()
{
    QFETCH(int, how);
    test::ProgramFixture fx;
    indice().show();
    test::click(link(0));
    test::click(link(4));
    switch (how) {
    case 0: test::click(indice().ctl(QStringLiteral("Image11"))); break;
    case 1: test::trigger(indice().ctl<QAction>(QStringLiteral("menuFileExit"))); break;
    default: indice().widget()->close(); break;
    }
    QCOMPARE(fx.exits, 1);
    QCOMPARE(topicForm(1).unloadCount(), 0);
    QCOMPARE(topicForm(5).unloadCount(), 0);
    QCOMPARE(ultimoform(), &indice()); // no page recorded itself
    QVERIFY(!topicForm(1).visible());
    QVERIFY(!indice().visible());
}

TAV_TEST_MAIN(TestIndice)
#include "tst_indice.moc"
