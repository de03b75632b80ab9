// The File and Edit menu names each window gives its items.
#include "shell/topics.h"
#include "testkit.h"
#include "testmain.h"

#include <QMenu>
#include <QTest>

using namespace tav;

class TestMenus : public QObject {
    Q_OBJECT
private slots:
    void names_data();
    void names();
};

void TestMenus::names_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("print");
    QTest::addColumn<QString>("save");
    QTest::addColumn<QString>("copy");
    QTest::newRow("Form1") << "Form1" << "menuArchivo" << "menuFilePrint" << "menuFileSave" << "menuEditCopy";
    QTest::newRow("Form2") << "Form2" << "meniArchivo" << "MenuFilePrint" << "menuFileSave" << "menuEditCopia";
    QTest::newRow("Form9") << "Form9" << "menuArchivo" << "menuFilePrintr" << "menuFileSave" << "menuEditCopy";
    QTest::newRow("Form10a") << "Form10a" << "menuArquivo" << "menuFilePrint" << "menuFileSave" << "menuEditCopy";
    QTest::newRow("Form12") << "Form12" << "menuArchivo" << "menuFilePrint" << "menuFileSave" << "menuEditCopia";
    QTest::newRow("FGrafico1") << "FGrafico1" << "menuARchivo" << "menuFilePrint" << "menuFileSave" << "menuEditCopy";
    QTest::newRow("FGrafico2") << "FGrafico2" << "menuSave" << "menuFilePrint" << "menuFileSave" << "menuEditCopy";
    QTest::newRow("FGrafico3") << "FGrafico3" << "menuFile" << "meniFilePrint" << "menuFileSave" << "menuEditCopy";
    QTest::newRow("FGrafico12") << "FGrafico12" << "menuArchivo" << "menuFilePrint" << "meniFileSave" << "menuEditCopy";
    QTest::newRow("FResultSim") << "FResultSim" << "menuArchivo" << "menuFilePrint" << "menuFileSave" << "menuEditCopy";
}

void TestMenus::names()
{
    QFETCH(QString, window);
    QFETCH(QString, file);
    QFETCH(QString, print);
    QFETCH(QString, save);
    QFETCH(QString, copy);
    test::ProgramFixture fx;
    Form& f = windowNamed(window);
    QMenu* menu = f.ctl<QMenu>(file);
    QCOMPARE(menu->title(), QStringLiteral("File"));
    QCOMPARE(f.ctl<QAction>(print)->text(), QStringLiteral("Print..."));
    QCOMPARE(f.ctl<QAction>(save)->text(), QStringLiteral("Save..."));
    QVERIFY(menu->actions().contains(f.ctl<QAction>(print)));
    QCOMPARE(f.ctl<QAction>(copy)->text(), QStringLiteral("Copy"));
}

TAV_TEST_MAIN(TestMenus)
#include "tst_menus.moc"
