// The About box: caption and texts, one instance beside the start page, the
// system-information tool found, missing or failing, and the two links.
#include "platform/controls.h"
#include "platform/desktop.h"
#include "shell/about.h"
#include "shell/indice.h"
#include "testkit.h"
#include "testmain.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

using namespace tav;

namespace {
class FakeDesktop : public Desktop {
public:
    QString found;
    bool starts = true;
    mutable QStringList asked, started;
    mutable QList<QUrl> opened;
    QString findProgram(const QStringList& names) const override
    {
        asked = names;
        return found;
    }
    bool startDetached(const QString& program) const override
    {
        started << program;
        return starts;
    }
    bool openUrl(const QUrl& url) const override
    {
        opened << url;
        return false; // a desktop without a browser reports nothing
    }
};
} // namespace

class TestAbout : public QObject {
    Q_OBJECT
private slots:
    void opensBesideTheStartPage();
    void systemInfo_data();
    void systemInfo();
    void linksOpenTheirAddresses();
};

void TestAbout::opensBesideTheStartPage()
{
    test::ProgramFixture fx;
    indice().show();
    test::trigger(indice().ctl<QAction>(QStringLiteral("menuHelpAbout")));
    QVERIFY(about().visible());
    QCOMPARE(about().widget()->windowTitle(), QStringLiteral("About Tavrelo"));
    QCOMPARE(about().ctl<Label>(QStringLiteral("lblTitle"))->text(), QStringLiteral("Tavrelo"));
    QCOMPARE(about().ctl<Label>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Beta release (February 2003)"));
    QCOMPARE(about().ctl<QPushButton>(QStringLiteral("cmdSysInfo"))->text(), QStringLiteral("&System Info..."));
    QCOMPARE(about().widget()->client()->size(), QSize(320, 138));
    QVERIFY(indice().visible());
    // A second About only raises it.
    test::trigger(indice().ctl<QAction>(QStringLiteral("menuHelpAbout")));
    QCOMPARE(about().loadCount(), 1);
    // OK unloads it, and it never becomes the last form.
    test::click(about().ctl(QStringLiteral("cmdOK")));
    QVERIFY(!about().isLoaded());
    QCOMPARE(ultimoform(), nullptr);
    test::trigger(indice().ctl<QAction>(QStringLiteral("menuHelpAbout")));
    QCOMPARE(about().loadCount(), 2);
    QVERIFY(QTest::qWaitForWindowActive(about().widget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!about().isLoaded());
}

void TestAbout::systemInfo_data()
{
    QTest::addColumn<QString>("found");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<bool>("message");
    QTest::newRow("found and started") << "/usr/bin/hardinfo" << true << false;
    QTest::newRow("not found") << "" << true << true;
    QTest::newRow("fails to start") << "/usr/bin/hardinfo" << false << true;
}

void TestAbout::systemInfo()
{
    QFETCH(QString, found);
    QFETCH(bool, starts);
    QFETCH(bool, message);
    test::ProgramFixture fx;
    FakeDesktop d;
    d.found = found;
    d.starts = starts;
    setDesktop(&d);
    about().show();
    test::click(about().ctl(QStringLiteral("cmdSysInfo")));
    setDesktop(nullptr);
    QCOMPARE(d.asked, frmAbout::systemInfoPrograms());
    QCOMPARE(d.started, found.isEmpty() ? QStringList() : QStringList{found});
    QCOMPARE(fx.msgs.count(), message ? 1 : 0);
    if (message) {
        QCOMPARE(fx.msgs.last().text, QStringLiteral("System Information Is Unavailable At This Time"));
        QCOMPARE(fx.msgs.last().style, 0);
        QCOMPARE(fx.msgs.last().title, QStringLiteral("Tavrelo"));
    }
    QVERIFY(about().visible()); // the box stays open
}

void TestAbout::linksOpenTheirAddresses()
{
    test::ProgramFixture fx;
    FakeDesktop d;
    setDesktop(&d);
    about().show();
    test::click(about().ctl(QStringLiteral("Image1")));
    test::click(about().ctl(QStringLiteral("Label1")));
    setDesktop(nullptr);
    QCOMPARE(d.opened.size(), 2);
    QCOMPARE(d.opened[0], frmAbout::webPage());
    QCOMPARE(d.opened[1], QUrl(QStringLiteral("mailto:") + frmAbout::contactAddress()));
    QCOMPARE(about().ctl<Label>(QStringLiteral("Label1"))->text(), frmAbout::contactAddress());
    QCOMPARE(fx.msgs.count(), 0);
}

TAV_TEST_MAIN(TestAbout)
#include "tst_about.moc"
