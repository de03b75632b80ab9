// Print and Save of the measure page: the picture panel or the results
// panel, chosen by whether the results panel is shown; the results also as
// a text report.

#include "common/program.h"
#include "common/twips.h"
#include "measures/form11.h"
#include "output/canvas.h"
#include "output/compose.h"
#include "output/form11output.h"
#include "output/fprintpp.h"
#include "output/saving.h"
#include "outputkit.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "testmain.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

using namespace tav;
using tav::test::OutputFixture;

namespace {

Form11& openPage(OutputFixture& f, bool results)
{
    Form11& p = formRef<Form11>();
    p.show();
    p.ctl(QStringLiteral("Picture10"))->setVisible(results);
    f.msgs.clear();
    QFile::remove(tempPictureFile());
    return p;
}

// Captions that the model would write, fixed so that the report is known.
void fixResults(Form11& p)
{
    p.ctl<ComboBox>(QStringLiteral("Combo2"))->setText(QStringLiteral("12"));
    const char* const l88[] = {"0.01", "0.9", "6.3", "0.5", "1000", "50", "0.95", "0.25"};
    for (int i = 0; i < 8; ++i)
        p.ctl<Label>(QStringLiteral("Label88"), i)->setText(QString::fromLatin1(l88[i]));
    const char* const l21[] = {"0.4", "0.001", "2.5", "39.5 %"};
    for (int i = 0; i < 4; ++i)
        p.ctl<Label>(QStringLiteral("Label21"), i)->setText(QString::fromLatin1(l21[i]));
    p.ctl<Label>(QStringLiteral("Label24"), 17)->setText(QStringLiteral("30 years."));
    const char* const options[] = {"Measure efficacy 0.99", "Sample size 120",    "Consignment size 400",
                                   "Field prevalence 0.002", "Probability P1 0.1", "Probability P2 0.05"};
    for (int i = 0; i < 6; ++i)
        p.ctl<QRadioButton>(QStringLiteral("Option1"), i)->setText(QString::fromLatin1(options[i]));
}

const char* const kReport =
    "Currently your data are:\r\n"
    "\r\n"
    "Field Prevalence:  0.01                     Consignment size: 1000\r\n"
    "Measures efficacy: 0.9                      Sample size:      50\r\n"
    "Probit:            6.3                      Confidence level: 0.95\r\n"
    "Probability P1:    0.5                      Probability P2:   0.25\r\n"
    "\r\n"
    "With these data the prevalence in the consignment is:  0.001\r\n"
    "If you have 12 importations per year then you could get 0.4 establishement(s) each 2.5 year(s).\r\n"
    "\r\n"
    "You are also expected to refuse 39.5 % of the consignments.\r\n"
    "-----------------------------------------\r\n"
    "\r\n"
    "Appropriated Level of Protection\r\n"
    "\r\n"
    "The ALP can be expressed throught the time lag between probable introductions. You can choose your ALP in "
    "the slider.\r\n"
    "Choosed: 30 years.\r\n"
    "\r\n"
    "To get this level of protection, it is necessary to adjust:\r\n"
    "\r\n"
    "Measure efficacy 0.99                       Field prevalence 0.002\r\n"
    "Sample size 120                             Probability P1 0.1\r\n"
    "Consignment size 400                        Probability P2 0.05\r\n";

QByteArray fileBytes(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int count(const QImage& img, const QRect& twipArea, const std::function<bool(QColor)>& match)
{
    const QRect r = twipRect(twipArea.x(), twipArea.y(), twipArea.width(), twipArea.height()) & img.rect();
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += match(img.pixelColor(x, y)) ? 1 : 0;
    return n;
}

bool blue(QColor c) { return c.blue() > 150 && c.red() < 90 && c.green() < 90; }
bool dark(QColor c) { return c.red() < 100 && c.green() < 90 && c.blue() < 90; }
bool yellow(QColor c) { return c.red() > 180 && c.green() > 180 && c.blue() < 150; }

void run(Form& p, const QString& how)
{
    if (how.startsWith(QLatin1String("menu")))
        test::trigger(p.ctl<QAction>(how));
    else
        test::click(p.ctl(how));
}

} // namespace

class TestForm11Output : public QObject {
    Q_OBJECT

private slots:
    void toColumn_data();
    void toColumn();
    void reportText_data();
    void reportText();
    void printPictures();
    void printResults();
    void savePicture_data();
    void savePicture();
    void noNameWritesNothing_data();
    void noNameWritesNothing();
    void reportFileFailure_data();
    void reportFileFailure();
    void pictureSaveAbort();
    void freshVisitReportsValues_data();
    void freshVisitReportsValues();
};

void TestForm11Output::toColumn_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("expected");
    QTest::newRow("short: blanks up to the column") << "abc" << 6 << "abc  ";
    QTest::newRow("ends just before it: nothing added") << "abcde" << 6 << "abcde";
    QTest::newRow("reaches it: next line, blanks") << "abcdef" << 6 << "abcdef\r\n     ";
    QTest::newRow("beyond it") << "abcdefgh" << 3 << "abcdefgh\r\n  ";
    QTest::newRow("counted on the current line") << "abcdefgh\r\nab" << 6 << "abcdefgh\r\nab   ";
    QTest::newRow("column 1") << "" << 1 << "";
}

void TestForm11Output::toColumn()
{
    QFETCH(QString, text);
    QFETCH(int, column);
    QFETCH(QString, expected);
    QCOMPARE(tav::toColumn(text, column), expected);
}

void TestForm11Output::reportText_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("results");
    QTest::newRow("Save button, results shown") << "Image8" << true;
    QTest::newRow("File > Save > Results... from the pictures") << "menuFileSaveResults" << false;
}

void TestForm11Output::reportText()
{
    QFETCH(QString, how);
    QFETCH(bool, results);
    OutputFixture f;
    QTemporaryDir dir;
    Form11& p = openPage(f, results);
    fixResults(p);
    const QString name = dir.filePath(QStringLiteral("results.txt"));
    f.dialogs.answerSave(name);
    run(p, how);
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(f.dialogs.saveRequests.size(), 1);
    QCOMPARE(f.dialogs.saveRequests[0].filter, kReportFilter);
    QCOMPARE(f.dialogs.saveRequests[0].defaultExt, QStringLiteral(".doc"));
    QCOMPARE(QString::fromLatin1(fileBytes(name)), QString::fromLatin1(kReport));
    // A results save touches neither the canvas nor the temporary file.
    QVERIFY(!QFile::exists(tempPictureFile()));
    QVERIFY(!fprintpp().isLoaded());
    QVERIFY(!p.ctl(QStringLiteral("Picture10"))->isHidden());
}

void TestForm11Output::printPictures()
{
    OutputFixture f;
    Form11& p = openPage(f, true);
    // The item hides the results panel and prints the pictures.
    run(p, QStringLiteral("menuFilePrintPicture"));
    QCOMPARE(f.msgs.count(), 0);
    QVERIFY(p.ctl(QStringLiteral("Picture10"))->isHidden());
    QVERIFY(fprintpp().visible());
    QCOMPARE(canvas()->size(), QSize(twips(11265), twips(6105)));
    QCOMPARE(QImage(tempPictureFile()).size(), canvas()->size());
    const QImage img = canvas()->image();
    // The "Field" picture at its place, as the page shows it.
    const QImage field = p.ctl<PictureBox>(QStringLiteral("Picture6"))->image().convertToFormat(QImage::Format_RGB32);
    const QImage printed = img.copy(twipRect(165, 405, 5175, 1530)).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(printed.size(), field.size());
    int differing = 0;
    for (int y = 0; y < printed.height(); ++y)
        for (int x = 0; x < printed.width(); ++x)
            differing += printed.pixel(x, y) != field.pixel(x, y) ? 1 : 0;
    QCOMPARE(differing, 0);
    // No dark blue panel between the pictures.
    QCOMPARE(img.pixelColor(twips(5600), twips(1000)), QColor(Qt::white));
    // Stage titles blue, not their yellow; slider names black.
    const QRect fieldTitle(165, 105, 1500, 300);
    QVERIFY(count(img, fieldTitle, blue) > 0);
    QCOMPARE(count(img, fieldTitle, yellow), 0);
    const QRect sliderName(165, 2010, 1800, 270);
    QVERIFY(count(img, sliderName, dark) > 0);
    QCOMPARE(count(img, sliderName, yellow), 0);
    // The titles are italic on the screen, upright on the page.
    QVERIFY(!canvas()->font().italic());
}

void TestForm11Output::printResults()
{
    OutputFixture f;
    Form11& p = openPage(f, false);
    fixResults(p);
    run(p, QStringLiteral("menuFilePrintResults"));
    QCOMPARE(f.msgs.count(), 0);
    QVERIFY(!p.ctl(QStringLiteral("Picture10"))->isHidden());
    // The results are printed as they stood, not recomputed.
    QCOMPARE(p.ctl<Label>(QStringLiteral("Label21"), 3)->text(), QStringLiteral("39.5 %"));
    QVERIFY(fprintpp().visible());
    QCOMPARE(canvas()->size(), QSize(twips(6390), twips(6135)));
    const QImage img = canvas()->image();
    // Texts alone: the panel's own colour appears nowhere.
    QCOMPARE(count(img, QRect(0, 0, 6390, 6135), [](QColor c) { return c == QColor(255, 224, 192); }), 0);
    QCOMPARE(img.pixelColor(0, 0), QColor(Qt::white));
    // The note on two lines: the second one text height below the first.
    Label* note = p.ctl<Label>(QStringLiteral("Label24"), 16);
    const int h = QFontMetrics(note->font()).height() * 15;
    QVERIFY(count(img, QRect(180, 3510, 6135, h), dark) > 0);
    QVERIFY(count(img, QRect(180, 3510 + h, 6135, h), dark) > 0);
    // The first line ends after "between", though the whole caption would
    // run past the panel; the second line starts at the label's Left.
    const QFontMetrics m(note->font());
    const QString first = QStringLiteral("The ALP can be expressed throught the time lag between ");
    const int firstEnd = 180 + m.horizontalAdvance(first) * 15;
    QVERIFY(180 + m.horizontalAdvance(note->text()) * 15 > 6390);
    QCOMPARE(count(img, QRect(firstEnd + 60, 3510, 6390 - firstEnd - 60, h - 30), dark), 0);
    QVERIFY(count(img, QRect(180, 3510 + h, 300, h), dark) > 0);
    // The option captions at their places inside the frame (75, 4800).
    QVERIFY(count(img, QRect(75 + 120, 4800 + 150, 2000, 250), blue) > 0);
    QVERIFY(count(img, QRect(75 + 3615, 4800 + 855, 2000, 250), blue) > 0);
    // Italic values and the underlined heading print plain.
    QVERIFY(!canvas()->font().italic());
    QVERIFY(!canvas()->font().underline());
}

void TestForm11Output::savePicture_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("results");
    QTest::newRow("Save button, pictures shown") << "Image8" << false;
    QTest::newRow("File > Save > Picture... from the results") << "menuFileSavePicture" << true;
}

void TestForm11Output::savePicture()
{
    QFETCH(QString, how);
    QFETCH(bool, results);
    OutputFixture f;
    QTemporaryDir dir;
    Form11& p = openPage(f, results);
    const QString name = dir.filePath(QStringLiteral("page.doc"));
    f.dialogs.answerSave(name);
    run(p, how);
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(f.dialogs.saveRequests.size(), 1);
    QCOMPARE(f.dialogs.saveRequests[0].filter, kBitmapFilter);
    QCOMPARE(f.dialogs.saveRequests[0].defaultExt, QStringLiteral(".bmp"));
    QCOMPARE(QImage(name, "BMP").size(), QSize(twips(11265), twips(6105)));
    QCOMPARE(p.flagsalva, 0);
    QVERIFY(!QFile::exists(tempPictureFile()));
    QVERIFY(!fprintpp().isLoaded());
    QVERIFY(p.ctl(QStringLiteral("Picture10"))->isHidden());
}

void TestForm11Output::noNameWritesNothing_data()
{
    QTest::addColumn<bool>("results");
    QTest::addColumn<QString>("answer");
    for (bool r : {false, true}) {
        const QByteArray tag = r ? "results" : "pictures";
        QTest::newRow(tag + ", cancelled") << r << "cancel";
        QTest::newRow(tag + ", empty name") << r << "";
        QTest::newRow(tag + ", one blank") << r << " ";
    }
}

void TestForm11Output::noNameWritesNothing()
{
    QFETCH(bool, results);
    QFETCH(QString, answer);
    OutputFixture f;
    QTemporaryDir dir;
    QVERIFY(QDir::setCurrent(dir.path()));
    Form11& p = openPage(f, results);
    if (answer == QLatin1String("cancel"))
        f.dialogs.answerSave(std::nullopt);
    else
        f.dialogs.answerSave(answer);
    run(p, QStringLiteral("Image8"));
    QCOMPARE(f.msgs.count(), 0);
    QCOMPARE(f.dialogs.saveRequests.size(), 1);
    QVERIFY(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
    QVERIFY(!QFile::exists(tempPictureFile()));
    QVERIFY(!fprintpp().isLoaded());
    QCOMPARE(p.flagsalva, 0);
}

void TestForm11Output::reportFileFailure_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("boxes");
    // A file that cannot be created is reported once: Ignore goes on with
    // lines that have nowhere to go and says nothing more.
    QTest::newRow("Ignore") << int(IdIgnore) << 1;
    QTest::newRow("Abort") << int(IdAbort) << 1;
}

void TestForm11Output::reportFileFailure()
{
    QFETCH(int, answer);
    QFETCH(int, boxes);
    OutputFixture f;
    QTemporaryDir dir;
    Form11& p = openPage(f, true);
    const QString name = dir.filePath(QStringLiteral("missing/results.doc"));
    f.dialogs.answerSave(name);
    for (int i = 0; i < 30; ++i)
        f.msgs.answer(answer);
    run(p, QStringLiteral("Image8"));
    QCOMPARE(f.msgs.count(), boxes);
    QCOMPARE(f.msgs.boxes[0].title, QStringLiteral("Error savinf Form11"));
    QCOMPARE(f.msgs.boxes[0].text, QStringLiteral("Path/File access error\rReload and try again"));
    QVERIFY(!QFile::exists(name));
}

void TestForm11Output::pictureSaveAbort()
{
    OutputFixture f;
    QTemporaryDir dir;
    Form11& p = openPage(f, false);
    // The temporary file cannot be written: the composition fails at its
    // first picture.
    QVERIFY(QDir().mkpath(tempPictureFile()));
    const QString name = dir.filePath(QStringLiteral("p.bmp"));
    f.dialogs.answerSave(name);
    f.msgs.answer(IdAbort);
    run(p, QStringLiteral("Image8"));
    QDir().rmdir(tempPictureFile());
    QCOMPARE(f.msgs.count(), 1);
    QCOMPARE(f.msgs.boxes[0].title, QStringLiteral("Error printing Form11"));
    // The save goes on with what the canvas holds, and leaves print mode.
    QCOMPARE(QImage(name, "BMP").size(), QSize(twips(11265), twips(6105)));
    QCOMPARE(p.flagsalva, 0);
    QVERIFY(!fprintpp().isLoaded());
    run(p, QStringLiteral("Image7"));
    QCOMPARE(f.msgs.count(), 1);
    QVERIFY(fprintpp().visible());
}

void TestForm11Output::freshVisitReportsValues_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("save") << true;
    QTest::newRow("print") << false;
}

// On a visit where the page has not yet computed, the results are computed
// before they are written: no design caption stands in for a value.
void TestForm11Output::freshVisitReportsValues()
{
    QFETCH(bool, save);
    OutputFixture f;
    QTemporaryDir dir;
    Form11& p = openPage(f, true);
    const QString name = dir.filePath(QStringLiteral("results.doc"));
    if (save)
        f.dialogs.answerSave(name);
    run(p, save ? QStringLiteral("Image8") : QStringLiteral("Image7"));
    QCOMPARE(f.msgs.count(), 0);
    QStringList written;
    for (int i = 0; i < 8; ++i)
        written << p.ctl<Label>(QStringLiteral("Label88"), i)->text();
    for (int i = 0; i < 4; ++i)
        written << p.ctl<Label>(QStringLiteral("Label21"), i)->text();
    if (save)
        written << QString::fromLatin1(fileBytes(name));
    for (const char* design : {"Label25", "Label26", "Label29", "Label33", "Label30", "Label47", "Label34", "Label37",
                               "L21", "Label38", "Label39", "L48"})
        for (const QString& w : written)
            QVERIFY2(!w.contains(QLatin1String(design)), design);
}

TAV_TEST_MAIN(TestForm11Output)
#include "tst_form11output.moc"
