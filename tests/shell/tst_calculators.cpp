// The sample-size calculators of the topic-4 page and the simulation input
// window: their checks in order, the focus after a warning, the result.
#include "shell/topics.h"
#include "testkit.h"
#include "testmain.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

using namespace tav;

class TestCalculators : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::system()); }
    void checksAndResult_data();
    void checksAndResult();
    void inputWindowKeepsItsValues();
    void failedRoutineLeavesSampleEmpty();
};

void TestCalculators::checksAndResult_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("n"); // "=" keeps the design text
    QTest::addColumn<QString>("rdl");
    QTest::addColumn<QString>("cl");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("sample");
    const QString f4 = QStringLiteral("Form4"), fs = QStringLiteral("FSimula1");
    QTest::newRow("f4 design size") << f4 << "=" << "0.05" << "0.95" << "" << "" << "45";
    QTest::newRow("f4 rdl 0.1") << f4 << "100" << "0.1" << "0.95" << "" << "" << "26";
    QTest::newRow("f4 empty rdl") << f4 << "=" << "" << "0.95" << "Input the RDL" << "Text2" << "10";
    QTest::newRow("f4 cl letters") << f4 << "=" << "0.05" << "0.95x" << "Input the CL" << "Text3" << "10";
    QTest::newRow("f4 rdl 1") << f4 << "=" << "1" << "0.95" << "The RDL shall be > 0 and < 1" << "Text2" << "10";
    QTest::newRow("f4 cl 0") << f4 << "=" << "0.05" << "0" << "The CL shall be > 0 and < 1" << "Text3" << "10";
    QTest::newRow("f4 cl negative") << f4 << "=" << "0.05" << "-0.5" << "The CL shall be > 0 and < 1" << "Text3" << "10";
    // The page's own consignment size is checked first.
    QTest::newRow("f4 size not a number") << f4 << "abc" << "" << "" << "Input the consignment size" << "Text1_0" << "10";
    QTest::newRow("f4 size 1") << f4 << "1" << "0.05" << "0.95" << "The consignment size shall be > 1" << "Text1_0" << "10";
    QTest::newRow("fs design size") << fs << "=" << "0.05" << "0.95" << "" << "" << "58";
    QTest::newRow("fs empty rdl") << fs << "=" << "" << "0.95" << "Input the Required Detection Level" << "Text2" << "10";
    QTest::newRow("fs size 1, no rdl") << fs << "1" << "" << "0.95" << "Input the Required Detection Level" << "Text2" << "10";
    QTest::newRow("fs size 1") << fs << "1" << "0.05" << "0.95" << "The consignment size shall be > 1" << "Text1_0" << "10";
    QTest::newRow("fs size 1.5") << fs << "1.5" << "0.05" << "0.95" << "" << "" << "2";
    QTest::newRow("fs grouped size") << fs << "1,000" << "0.05" << "0.95" << "" << "" << "58";
    QTest::newRow("fs cl letters") << fs << "=" << "0.05" << "0.95x" << "Input the confidence level" << "Text3" << "10";
    QTest::newRow("fs rdl 0") << fs << "=" << "0" << "0.95" << "The RDL shall be > 0 y < 1" << "Text2" << "10";
    QTest::newRow("fs rdl 0.9999") << fs << "=" << "0.9999" << "0.95" << "" << "" << "3";
    QTest::newRow("fs cl 1") << fs << "=" << "0.05" << "1" << "The CL shall be > 0 y < 1" << "Text3" << "10";
    QTest::newRow("fs below a half") << fs << "2" << "0.99" << "0.01" << "" << "" << "";
    QTest::newRow("f4 huge size") << f4 << "1e18" << "0.1" << "0.95" << "" << "" << "30";
    QTest::newRow("fs huge size") << fs << "9223372036854775808" << "0.01" << "0.99" << "" << "" << "461";
}

void TestCalculators::checksAndResult()
{
    QFETCH(QString, window);
    QFETCH(QString, n);
    QFETCH(QString, rdl);
    QFETCH(QString, cl);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, sample);
    test::ProgramFixture fx;
    QLocale::setDefault(QLocale(QStringLiteral("en_US")));
    Form& f = windowNamed(window);
    f.show();
    QVERIFY(QTest::qWaitForWindowActive(f.widget()));
    if (n != QLatin1String("="))
        test::type(f.ctl<QLineEdit>(QStringLiteral("Text1_0")), n);
    test::type(f.ctl<QLineEdit>(QStringLiteral("Text2")), rdl);
    test::type(f.ctl<QLineEdit>(QStringLiteral("Text3")), cl);
    test::click(f.ctl(QStringLiteral("calcula")));
    QCOMPARE(f.ctl<QLineEdit>(QStringLiteral("Text1_2"))->text(), sample);
    if (message.isEmpty()) {
        QCOMPARE(fx.msgs.count(), 0);
        return;
    }
    QCOMPARE(fx.msgs.count(), 1);
    QCOMPARE(fx.msgs.last().text, message);
    QCOMPARE(fx.msgs.last().style, 48);
    QCOMPARE(fx.msgs.last().title, QStringLiteral("Warning"));
    QCOMPARE(QApplication::focusWidget(), f.ctl(focus));
}

void TestCalculators::inputWindowKeepsItsValues()
{
    test::ProgramFixture fx;
    Form& fs = windowNamed(QStringLiteral("FSimula1"));
    fs.show();
    test::type(fs.ctl<QLineEdit>(QStringLiteral("Text2")), QStringLiteral("0.050x"));
    test::type(fs.ctl<QLineEdit>(QStringLiteral("Text3")), QStringLiteral("0.95"));
    fs.unload();
    fs.show();
    QCOMPARE(fs.ctl<QLineEdit>(QStringLiteral("Text2"))->text(), test::shown(QStringLiteral("0.05")));
    QCOMPARE(fs.ctl<QLineEdit>(QStringLiteral("Text3"))->text(), test::shown(QStringLiteral("0.95")));
    // The topic-4 page starts its calculator empty at every visit.
    Form& f4 = windowNamed(QStringLiteral("Form4"));
    f4.show();
    test::type(f4.ctl<QLineEdit>(QStringLiteral("Text2")), QStringLiteral("0.05"));
    f4.unload();
    f4.show();
    QCOMPARE(f4.ctl<QLineEdit>(QStringLiteral("Text2"))->text(), QString());
}

// An RDL so small that the exponent overflows: the routine's own error box,
// then an empty sample size.
void TestCalculators::failedRoutineLeavesSampleEmpty()
{
    test::ProgramFixture fx;
    Form& fs = windowNamed(QStringLiteral("FSimula1"));
    fs.show();
    test::type(fs.ctl<QLineEdit>(QStringLiteral("Text2")), QStringLiteral("1e-320"));
    test::type(fs.ctl<QLineEdit>(QStringLiteral("Text3")), QStringLiteral("0.95"));
    test::click(fs.ctl(QStringLiteral("calcula")));
    QCOMPARE(fx.msgs.count(), 1);
    QCOMPARE(fx.msgs.last().title, QStringLiteral("Error Form1"));
    QCOMPARE(fs.ctl<QLineEdit>(QStringLiteral("Text1_2"))->text(), QString());
}

TAV_TEST_MAIN(TestCalculators)
#include "tst_calculators.moc"
