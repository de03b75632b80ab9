#include "common/runtime.h"
#include "platform/combo.h"
#include "testmain.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <functional>

using tav::ComboBox;
using ComboStep = std::function<void(ComboBox&)>;
Q_DECLARE_METATYPE(ComboStep)

namespace {

void pickWithMouse(ComboBox& c, int i)
{
    c.box()->showPopup();
    QAbstractItemView* view = c.box()->view();
    QVERIFY(QTest::qWaitForWindowExposed(view->window()));
    const QRect r = view->visualRect(view->model()->index(i, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
}

void typeKeys(ComboBox& c, const QString& keys)
{
    c.lineEdit()->setFocus();
    QTest::keyClicks(c.lineEdit(), keys);
}

} // namespace

class TestCombo : public QObject {
    Q_OBJECT
private slots:
    void notices_data();
    void notices();
    void fillingKeepsTheText();
    void listOutOfRange();
};

void TestCombo::notices_data()
{
    QTest::addColumn<ComboStep>("step");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("log");
    const QStringList none;
    const QString c = QStringLiteral("change"), k = QStringLiteral("click");
    // Fixture: list 10, 20, 30, text "20" written before the log starts.
    QTest::newRow("program sets text")
        << ComboStep([](ComboBox& b) { b.setText(QStringLiteral("60")); }) << QStringLiteral("60") << QStringList{c};
    QTest::newRow("program sets same text")
        << ComboStep([](ComboBox& b) { b.setText(QStringLiteral("20")); }) << QStringLiteral("20") << none;
    QTest::newRow("typing") << ComboStep([](ComboBox& b) {
        b.lineEdit()->selectAll();
        typeKeys(b, QStringLiteral("25.5"));
    }) << QStringLiteral("25.5") << QStringList{c, c, c, c};
    QTest::newRow("typing not completed from the list") << ComboStep([](ComboBox& b) {
        b.lineEdit()->selectAll();
        typeKeys(b, QStringLiteral("3"));
    }) << QStringLiteral("3") << QStringList{c};
    QTest::newRow("typed text and Return") << ComboStep([](ComboBox& b) {
        b.lineEdit()->selectAll();
        typeKeys(b, QStringLiteral("7"));
        QTest::keyClick(b.lineEdit(), Qt::Key_Return);
    }) << QStringLiteral("7") << QStringList{c};
    QTest::newRow("typed listed value and Return") << ComboStep([](ComboBox& b) {
        b.lineEdit()->selectAll();
        typeKeys(b, QStringLiteral("30"));
        QTest::keyClick(b.lineEdit(), Qt::Key_Return);
    }) << QStringLiteral("30") << QStringList{c, c};
    QTest::newRow("typed listed value and focus leaving") << ComboStep([](ComboBox& b) {
        b.lineEdit()->selectAll();
        typeKeys(b, QStringLiteral("10"));
        b.lineEdit()->clearFocus();
        emit b.lineEdit()->editingFinished();
    }) << QStringLiteral("10") << QStringList{c, c};
    QTest::newRow("pick with the mouse")
        << ComboStep([](ComboBox& b) { pickWithMouse(b, 2); }) << QStringLiteral("30") << QStringList{k};
    QTest::newRow("pick with arrow key") << ComboStep([](ComboBox& b) {
        b.setListIndex(0);
        QTest::keyClick(b.box(), Qt::Key_Down);
    }) << QStringLiteral("20") << QStringList{k, k};
    QTest::newRow("pick the current entry over typed text") << ComboStep([](ComboBox& b) {
        b.setListIndex(0);
        b.lineEdit()->selectAll();
        typeKeys(b, QStringLiteral("x"));
        pickWithMouse(b, 0);
    }) << QStringLiteral("10") << QStringList{k, c, k};
    QTest::newRow("pick from code")
        << ComboStep([](ComboBox& b) { b.setListIndex(1); }) << QStringLiteral("20") << QStringList{k};
    QTest::newRow("list cleared and refilled") << ComboStep([](ComboBox& b) {
        b.clear();
        b.addItem(QStringLiteral("5"));
    }) << QStringLiteral("20") << none;
}

void TestCombo::notices()
{
    QFETCH(ComboStep, step);
    QFETCH(QString, text);
    QFETCH(QStringList, log);
    ComboBox b;
    b.resize(80, 22);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    for (const char* item : {"10", "20", "30"})
        b.addItem(QString::fromLatin1(item));
    b.setText(QStringLiteral("20"));
    QStringList seen;
    connect(&b, &ComboBox::changed, this, [&] { seen << QStringLiteral("change"); });
    connect(&b, &ComboBox::clicked, this, [&] { seen << QStringLiteral("click"); });
    step(b);
    QCOMPARE(b.text(), text);
    QCOMPARE(seen.join(u','), log.join(u','));
}

// Filling the list at load must neither replace the text nor run the
// handlers: a page sets its text only after the list is filled.
void TestCombo::fillingKeepsTheText()
{
    ComboBox b;
    int changes = 0, clicks = 0;
    connect(&b, &ComboBox::changed, this, [&] { ++changes; });
    connect(&b, &ComboBox::clicked, this, [&] { ++clicks; });
    for (int v = 10; v <= 100; v += 10)
        b.addItem(QString::number(v));
    QCOMPARE(b.text(), QString());
    QCOMPARE(b.listCount(), 10);
    QCOMPARE(b.list(0), QStringLiteral("10"));
    QCOMPARE(b.list(9), QStringLiteral("100"));
    QCOMPARE(changes + clicks, 0);
    b.setText(QStringLiteral("20"));
    QCOMPARE(changes, 1);
    b.clear();
    QCOMPARE(b.text(), QStringLiteral("20"));
    QCOMPARE(b.listCount(), 0);
    QCOMPARE(changes + clicks, 1);
}

void TestCombo::listOutOfRange()
{
    ComboBox b;
    b.addItem(QStringLiteral("1"));
    b.setText(QStringLiteral("keep"));
    try {
        (void)b.list(1);
        QFAIL("no error");
    } catch (const tav::RuntimeError& e) {
        QCOMPARE(e.number(), int(tav::ErrSubscript));
    }
    try {
        b.setListIndex(-1);
        QFAIL("no error");
    } catch (const tav::RuntimeError& e) {
        QCOMPARE(e.number(), int(tav::ErrInvalidProperty));
    }
    QCOMPARE(b.text(), QStringLiteral("keep"));
}

TAV_TEST_MAIN(TestCombo)
#include "tst_combo.moc"
