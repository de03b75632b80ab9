// Print and Save of the inspection page follow the view in sight: the
// consignment panel composed as one picture, the table, or the page itself
// (its window image, its text report).

#include "common/messages.h"
#include "common/program.h"
#include "common/tabelaimp.h"
#include "common/twips.h"
#include "output/canvas.h"
#include "output/form4output.h"
#include "output/fprintpp.h"
#include "output/fprintpreview.h"
#include "output/saving.h"
#include "output/wiring.h"
#include "outputkit.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "shell/topics.h"
#include "simulation/form4.h"
#include "testmain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace tav;
using tav::test::OutputFixture;

namespace {

enum View { Neither, Panel, Table };

Form4& page()
{
    auto& f = static_cast<Form4&>(windowNamed(QStringLiteral("Form4")));
    f.show();
    return f;
}

void setView(Form& f, View v)
{
    f.ctl(QStringLiteral("Picture3"))->setVisible(v == Panel);
    f.ctl(QStringLiteral("Grid1"))->setVisible(v == Table);
}

bool near(QColor a, QColor b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance
        && std::abs(a.blue() - b.blue()) <= tolerance;
}

// Any pixel of the twip rectangle close to the colour.
bool shows(const QImage& img, const QRect& tw, QColor c, int tolerance = 70)
{
    const QRect px = QRect(twips(tw.left()), twips(tw.top()), twips(tw.width()), twips(tw.height())).intersected(img.rect());
    for (int y = px.top(); y <= px.bottom(); ++y)
        for (int x = px.left(); x <= px.right(); ++x)
            if (near(img.pixelColor(x, y), c, tolerance))
                return true;
    return false;
}

QColor at(const QImage& img, int x, int y) { return img.pixelColor(twips(x), twips(y)); }

QByteArray readAll(const QString& file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

} // namespace

class TestForm4Output : public QObject {
    Q_OBJECT

private slots:
    void printFollowsTheView_data();
    void printFollowsTheView();
    void composedPanel();
    void saveFollowsTheView_data();
    void saveFollowsTheView();
    void noNameWritesNothing_data();
    void noNameWritesNothing();
    void report_data();
    void report();
    void menusSetTheViewFirst_data();
    void menusSetTheViewFirst();
    void compositionFailure_data();
    void compositionFailure();
    void reportFailure();
    void panelStartsFromAClearCanvas();
};

void TestForm4Output::printFollowsTheView_data()
{
    QTest::addColumn<int>("view");
    QTest::newRow("panel") << int(Panel);
    QTest::newRow("table") << int(Table);
    QTest::newRow("page") << int(Neither);
}

void TestForm4Output::printFollowsTheView()
{
    QFETCH(int, view);
    OutputFixture f;
    Form4& p = page();
    setView(p, View(view));
    f.msgs.clear();
    test::click(p.ctl(QStringLiteral("Image7")));
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(fprintpreview().visible(), view == Table);
    QCOMPARE(fprintpp().visible(), view != Table);
    if (view == Panel)
        QCOMPARE(canvas()->size(), p.ctl(QStringLiteral("Picture3"))->size());
    // The page's capture is the window's size, not the panel's.
    if (view == Neither)
        QVERIFY(QImage(tempPictureFile()).size() != p.ctl(QStringLiteral("Picture3"))->size());
}

void TestForm4Output::composedPanel()
{
    OutputFixture f;
    emptyPicture(canvas());
    Form4& p = page();
    setView(p, Panel);
    auto* drawing = p.ctl<PictureBox>(QStringLiteral("Picture1"));
    auto* marked = p.ctl<PictureBox>(QStringLiteral("Picture2"));
    drawing->cls();
    // A mark drawn on the consignment must come with its picture.
    drawing->setDrawWidth(4);
    drawing->line(0, 1500, 4200, 1500, QColor(0, 200, 0));
    test::click(p.ctl(QStringLiteral("Image7")));
    QCOMPARE(f.msgs.count(), 0);
    QVERIFY(fprintpp().visible());
    const QImage img(tempPictureFile());
    QCOMPARE(img.size(), QSize(twips(7005), twips(3975)));
    // The drawing at the box's place (Picture1 stands at 120, 600).
    QVERIFY(shows(img, QRect(1000, 600 + 1440, 600, 120), QColor(0, 200, 0), 40));
    // Picture2 at its place holds its own image.
    const QImage second = marked->image();
    QVERIFY(near(at(img, 4545 + 1000, 630 + 1500), second.pixelColor(twips(1000), twips(1500)), 30));
    // The legend: the blue circle's rim, the red circle's rim, on white.
    QVERIFY(shows(img, QRect(535 + 173 - 30, 322 - 30, 60, 60), QColor(0, 0, 255)));
    QVERIFY(shows(img, QRect(2032 + 128 - 30, 322 - 30, 60, 60), QColor(255, 0, 0)));
    QVERIFY(!shows(img, QRect(535 + 173 - 30, 322 - 30, 60, 60), QColor(255, 0, 0), 40));
    QVERIFY(near(at(img, 535, 322), Qt::white, 0));
    // Gaps are the page's white, not the panel's black.
    QVERIFY(near(at(img, 4430, 2000), Qt::white, 0));
    QVERIFY(near(at(img, 6800, 3900), Qt::white, 0));
    // The two words, in bold, where the legend's labels stand.
    QVERIFY(shows(img, QRect(825, 210, 900, 255), canvas()->foreColor()));
    QVERIFY(shows(img, QRect(2295, 210, 800, 255), canvas()->foreColor()));
    QVERIFY(canvas()->font().bold());
    QCOMPARE(canvas()->drawWidth(), 2);
}

void TestForm4Output::saveFollowsTheView_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("ext");
    QTest::newRow("panel") << int(Panel) << kBitmapFilter << ".bmp";
    QTest::newRow("table") << int(Table) << kTextFilter << ".txt";
    QTest::newRow("page") << int(Neither) << kDocFilter << ".doc";
}

void TestForm4Output::saveFollowsTheView()
{
    QFETCH(int, view);
    QFETCH(QString, filter);
    QFETCH(QString, ext);
    OutputFixture f;
    QTemporaryDir dir;
    // A name without the view's extension: the panel is still a bitmap.
    const QString file = dir.filePath(QStringLiteral("out.dat"));
    Form4& p = page();
    setView(p, View(view));
    Grid* grid = p.ctl<Grid>(QStringLiteral("Grid1"));
    grid->setRows(2);
    grid->setRow(1);
    grid->setCol(1);
    grid->setText(QStringLiteral("0.25"));
    QFile::remove(tempPictureFile());
    f.msgs.clear();
    f.dialogs.answerSave(file);
    test::click(p.ctl(QStringLiteral("Image8")));
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(f.dialogs.saveRequests.size(), 1);
    QCOMPARE(f.dialogs.saveRequests[0].title, QStringLiteral("Save"));
    QCOMPARE(f.dialogs.saveRequests[0].filter, filter);
    QCOMPARE(f.dialogs.saveRequests[0].defaultExt, ext);
    QCOMPARE(p.salvando, int16_t(0));
    QVERIFY(!fprintpp().visible());
    QVERIFY(!fprintpreview().visible());
    QVERIFY(!QFile::exists(tempPictureFile()));
    const QByteArray bytes = readAll(file);
    if (view == Panel) {
        QVERIFY(bytes.startsWith("BM"));
        QCOMPARE(QImage(file, "BMP").size(), p.ctl(QStringLiteral("Picture3"))->size());
    } else if (view == Table) {
        QVERIFY(bytes.contains("\t0.25"));
        QVERIFY(bytes.endsWith("\r\n"));
    } else {
        QVERIFY(bytes.startsWith("4. Simulation of the inspection\r\n"));
    }
}

void TestForm4Output::noNameWritesNothing_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("answer"); // "cancel" for a cancelled dialog
    for (View v : {Panel, Table, Neither}) {
        const QByteArray tag = QByteArray::number(int(v));
        QTest::newRow(tag + " cancel") << int(v) << "cancel";
        QTest::newRow(tag + " empty") << int(v) << "";
        QTest::newRow(tag + " blank") << int(v) << " ";
    }
}

void TestForm4Output::noNameWritesNothing()
{
    QFETCH(int, view);
    QFETCH(QString, answer);
    OutputFixture f;
    Form4& p = page();
    setView(p, View(view));
    QFile::remove(tempPictureFile());
    f.msgs.clear();
    if (answer != QLatin1String("cancel"))
        f.dialogs.answerSave(answer);
    test::click(p.ctl(QStringLiteral("Image8")));
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(f.dialogs.saveRequests.size(), 1);
    QVERIFY(!fprintpp().visible());
    QVERIFY(!QFile::exists(tempPictureFile()));
    QVERIFY(!QFile::exists(QStringLiteral(" ")));
}

void TestForm4Output::report_data()
{
    QTest::addColumn<QString>("size");
    QTest::addColumn<bool>("simulated");
    QTest::newRow("fresh page") << "100" << false;
    QTest::newRow("empty size") << "" << false;
    QTest::newRow("after a run") << "100" << true;
}

void TestForm4Output::report()
{
    QFETCH(QString, size);
    QFETCH(bool, simulated);
    OutputFixture f;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("page.doc"));
    Form4& p = page();
    p.unload();
    p.show();
    setView(p, Neither);
    p.ctl<QLineEdit>(QStringLiteral("Text1"), 0)->setText(size);
    if (simulated) {
        p.ctl<Label>(QStringLiteral("Ling"))->setText(QStringLiteral("30 %"));
        p.ctl<Label>(QStringLiteral("Lnsim"))->setText(QStringLiteral("10"));
        p.ctl<Label>(QStringLiteral("Lingreso_total"))->setText(QStringLiteral("63"));
    }
    const QString explanation = p.ctl<Label>(QStringLiteral("Label11"))->text();
    QVERIFY(explanation.contains(QStringLiteral("\n\n")));
    f.msgs.clear();
    f.dialogs.answerSave(file);
    test::click(p.ctl(QStringLiteral("Image8")));
    QCOMPARE(f.msgs.count(), 0);
    const QString refused = simulated ? QStringLiteral("30 %") : QString();
    const QStringList expected = {
        QStringLiteral("4. Simulation of the inspection"),
        QString(),
        explanation,
        QString(),
        QString(),
        QStringLiteral("Inputs"),
        QString(),
        QString(),
        QStringLiteral("Consignment size = ") + size,
        QStringLiteral("Avarage prevalence = 0.1 - Variability (%) = 10"),
        QStringLiteral("Sample size = 10"),
        QStringLiteral("N. Iterations = 10"),
        QString(),
        QStringLiteral("Results"),
        QString(),
        QStringLiteral("Refused consignments: = ") + refused,
        QStringLiteral("Ingressed consignments: = "),
        QStringLiteral("Avarage infected samples found by refused consignment: = "),
        QStringLiteral("Average prevalence by ingressed consignment: = "),
        QStringLiteral("Infected units (by consignment) that ingresses: = "),
        simulated ? QStringLiteral("Infected units that ingresses in 10 importations: = 63")
                  : QStringLiteral("Infected units that ingresses in 0 importations: = "),
    };
    QCOMPARE(QString::fromLocal8Bit(readAll(file)), expected.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

void TestForm4Output::menusSetTheViewFirst_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("view");
    QTest::addColumn<bool>("save");
    QTest::newRow("print form") << "menuFilePrintForm" << int(Neither) << false;
    QTest::newRow("print table") << "menuFilePrintTable" << int(Table) << false;
    QTest::newRow("print picture") << "menuFilePrintPic" << int(Panel) << false;
    QTest::newRow("save form") << "menuFileSaveForm" << int(Neither) << true;
    QTest::newRow("save table") << "menuFileSaveTable" << int(Table) << true;
    QTest::newRow("save picture") << "menuFileSavePicture" << int(Panel) << true;
}

void TestForm4Output::menusSetTheViewFirst()
{
    QFETCH(QString, item);
    QFETCH(int, view);
    QFETCH(bool, save);
    OutputFixture f;
    QTemporaryDir dir;
    Form4& p = page();
    // Start from the opposite view, so that the item must change it.
    setView(p, view == Panel ? Table : Panel);
    f.msgs.clear();
    f.dialogs.answerSave(dir.filePath(QStringLiteral("menu.out")));
    test::trigger(p.widget()->findChild<QAction*>(item));
    QCOMPARE(f.msgs.count(), 0);
    // The view stays as the item set it.
    QCOMPARE(!p.ctl(QStringLiteral("Picture3"))->isHidden(), view == Panel);
    QCOMPARE(!p.ctl(QStringLiteral("Grid1"))->isHidden(), view == Table);
    if (save) {
        QCOMPARE(f.dialogs.saveRequests.size(), 1);
        const QString expected = view == Panel ? kBitmapFilter : view == Table ? kTextFilter : kDocFilter;
        QCOMPARE(f.dialogs.saveRequests[0].filter, expected);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("menu.out"))));
        QVERIFY(!fprintpp().visible());
    } else {
        QVERIFY(f.dialogs.saveRequests.isEmpty());
        QCOMPARE(fprintpreview().visible(), view == Table);
        QCOMPARE(fprintpp().visible(), view != Table);
    }
}

void TestForm4Output::compositionFailure_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("print") << false;
    QTest::newRow("save") << true;
}

void TestForm4Output::compositionFailure()
{
    QFETCH(bool, save);
    OutputFixture f;
    QTemporaryDir dir;
    Form4& p = page();
    setView(p, Panel);
    f.msgs.clear();
    // The temporary picture cannot be written: a folder stands in its way.
    QFile::remove(tempPictureFile());
    QVERIFY(QDir().mkpath(tempPictureFile()));
    const QString file = dir.filePath(QStringLiteral("cut.bmp"));
    f.dialogs.answerSave(file);
    f.msgs.answer(IdAbort);
    test::click(p.ctl(save ? QStringLiteral("Image8") : QStringLiteral("Image7")));
    QDir().rmdir(tempPictureFile());
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().title, QStringLiteral("Error printing Form4"));
    QCOMPARE(f.msgs.last().text, QStringLiteral("Path/File access error\rReload and try again"));
    QVERIFY(!fprintpp().isLoaded());
    QCOMPARE(p.salvando, int16_t(0));
    // A save still writes what the canvas holds: the panel's size.
    QCOMPARE(QFile::exists(file), save);
    if (save)
        QCOMPARE(QImage(file, "BMP").size(), p.ctl(QStringLiteral("Picture3"))->size());
}

void TestForm4Output::reportFailure()
{
    OutputFixture f;
    QTemporaryDir dir;
    Form4& p = page();
    setView(p, Neither);
    f.msgs.clear();
    // A folder of that name: the report cannot be created.
    f.dialogs.answerSave(dir.path());
    f.msgs.answer(IdAbort);
    test::click(p.ctl(QStringLiteral("Image8")));
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.last().title, QStringLiteral("Error saving Form4"));
    QVERIFY(QFileInfo(dir.path()).isDir());
}

// A picture saved before (the canvas then stays as it was left) shows
// nothing through the next panel.
void TestForm4Output::panelStartsFromAClearCanvas()
{
    OutputFixture f;
    QTemporaryDir dir;
    Form4& p = page();
    setView(p, Panel);
    auto save = [&](const QString& name) {
        f.dialogs.answerSave(dir.filePath(name));
        test::click(p.ctl(QStringLiteral("Image8")));
        return QImage(dir.filePath(name));
    };
    const QImage clean = save(QStringLiteral("clean.bmp"));
    QVERIFY(!clean.isNull());
    canvas()->resize(clean.width() * 2, clean.height() * 2);
    for (int y = 0; y < clean.height() * 30; y += 60)
        canvas()->line(0, y, clean.width() * 30, y, Qt::red);
    canvas()->setCurrentX(100);
    canvas()->setCurrentY(100);
    canvas()->print(QStringLiteral("Field"));
    const QImage after = save(QStringLiteral("after.bmp"));
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(after, clean);
}

TAV_TEST_MAIN(TestForm4Output)
#include "tst_form4output.moc"
