// The sampling page driven as a user would: typing into its boxes, marking
// the value to compute and pressing Calculate.

#include "common/colors.h"
#include "common/messages.h"
#include "common/twips.h"
#include "platform/controls.h"
#include "shell/form1.h"
#include "testkit.h"
#include "testmain.h"

#include <QApplication>
#include <QLocale>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTest>
#include <algorithm>

using namespace tav;
using tav::test::click;
using tav::test::ProgramFixture;
using tav::test::type;

namespace {

constexpr uint32_t kComputed = 0x80000001u;
constexpr uint32_t kInput = 0x80000005u;

TextBox* box(int i) { return form1().ctl<TextBox>(QStringLiteral("Text1"), i); }
QRadioButton* option(int i) { return form1().ctl<QRadioButton>(QStringLiteral("Option1"), i); }
QWidget* focused() { return form1().widget()->focusWidget(); }

// Shows the page and waits until it is the active window.
bool showPage()
{
    form1().show();
    return QTest::qWaitForWindowActive(form1().widget());
}

// Marks the value to compute, types the four boxes (a null string leaves a
// box alone) and leaves the focus on the option button, away from the boxes.
void enter(int marked, const QStringList& texts)
{
    click(option(marked));
    for (int i = 0; i < texts.size(); ++i)
        if (!texts[i].isNull())
            type(box(i), texts[i]);
    option(marked)->setFocus();
}

void calculate() { click(form1().ctl(QStringLiteral("Image1"))); }

QString name(QWidget* w) { return w ? w->objectName() : QStringLiteral("(none)"); }

// The page with a control missing, so that its load fails where that
// control's text is set.
class Form1WithoutLabel1 : public Form1 {
protected:
    void buildContent(FormWidget* w) override
    {
        Form1::buildContent(w);
        delete w->findChild<QWidget*>(QStringLiteral("Label1"));
    }
};

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private slots:
    // A test that sets a locale leaves the desktop's locale behind.
    void cleanup() { QLocale::setDefault(QLocale::system()); }
    void layout_data();
    void layout();
    void loadsItsTextsAndLooks();
    void focusOnActivation();
    void resizeSpansTheBands();
    void warnings_data();
    void warnings();
    void focusStaysAfterTheWarningCloses();
    void results_data();
    void results();
    void resultsServeAsInputs_data();
    void resultsServeAsInputs();
    void readsEachBoxInTheUsersLocale_data();
    void readsEachBoxInTheUsersLocale();
    void failedComputationKeepsTheDash_data();
    void failedComputationKeepsTheDash();
    void optionFocusAndLooks_data();
    void optionFocusAndLooks();
    void tooltips_data();
    void tooltips();
    void loadError_data();
    void loadError();
};

void TestForm1::layout_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QRect>("twipsRect");
    QTest::addColumn<QString>("text");

    auto row = [](const char* ctl, int l, int t, int w, int h, const char* text = nullptr) {
        QTest::newRow(ctl) << QString::fromLatin1(ctl) << QRect(l, t, w, h)
                           << (text ? QString::fromLatin1(text) : QString());
    };
    row("Frame4", -30, -15, 10050, 705);
    row("Image6", 105, 165, 480, 480);
    row("Image4", 795, 165, 480, 480);
    row("Image3", 1395, 165, 480, 480);
    row("Image7", 2280, 165, 480, 480);
    row("Image8", 2910, 165, 480, 480);
    row("Image9", 3750, 165, 480, 480);
    row("Image10", 4410, 165, 480, 480);
    row("Image11", 5460, 165, 480, 480);
    row("Label4", -60, 675, 10350, 645, "1. Sampling");
    row("Label1", 345, 1560, 9450, 2940);
    row("Label2", 285, 4475, 5775, 2025);
    row("Frame1", 6690, 4560, 3555, 2430, "Inputs");
    row("Label3_0", 105, 375, 1470, 255, "Consignment size:");
    row("Label3_1", 135, 690, 1470, 405, "Required detection level:");
    row("Label3_2", 120, 1200, 1470, 255, "Confidence level:");
    row("Label3_3", 105, 1575, 1680, 285, "Sample size:");
    row("Text1_0", 1800, 315, 1110, 285);
    row("Text1_1", 1800, 735, 1110, 285);
    row("Text1_2", 1800, 1140, 1110, 285);
    row("Text1_3", 1800, 1545, 1110, 285);
    row("Option1_0", 3090, 780, 270, 240);
    row("Option1_1", 3090, 1200, 270, 240);
    row("Option1_2", 3090, 1560, 270, 240);
    row("Image1", 270, 1935, 1080, 360);
}

void TestForm1::layout()
{
    QFETCH(QString, control);
    QFETCH(QRect, twipsRect);
    QFETCH(QString, text);
    ProgramFixture fx;

    QWidget* c = form1().ctl(control);

    QCOMPARE(c->geometry(), twipRect(twipsRect.x(), twipsRect.y(), twipsRect.width(), twipsRect.height()));
    if (auto* l = qobject_cast<QLabel*>(c); l && !text.isNull())
        QCOMPARE(l->text(), text);
    if (auto* g = qobject_cast<QGroupBox*>(c); g && !text.isNull())
        QCOMPARE(g->title(), text);
}

void TestForm1::loadsItsTextsAndLooks()
{
    ProgramFixture fx;
    QVERIFY(showPage());
    FormWidget* w = form1().widget();

    QCOMPARE(w->windowTitle(), QStringLiteral("Sampling"));
    QCOMPARE(w->client()->size(), QSize(twips(11880), twips(8310)));
    const QString sep = QStringLiteral("\n\n");
    QCOMPARE(form1().ctl<QLabel>(QStringLiteral("Label1"))->text(),
             QStringLiteral("To keep constant the security of the inspection services it is necessary to adjust the "
                            "size of the sample, considering: ")
                 + sep
                 + QStringLiteral("1. Required detection level (RDL): Prevalence below this level will not be "
                                  "detected. A number from 0 to 1 that represents the proportion of infected units "
                                  "expresses the detection level ")
                 + sep
                 + QStringLiteral("2. Confidence level (CL): It is expressed by a number between 0 and 1 that "
                                  "indicate the proportion of inspections that will detect consignments with "
                                  "prevalence equal or above the required detection level. For example, a "
                                  "Confidence Level of 0.95 means that 95% of the inspections will detect "
                                  "consignments with infestations above the RDL."));
    QCOMPARE(form1().ctl<QLabel>(QStringLiteral("Label2"))->text(),
             QStringLiteral("To calculate the required sampling size, taking into account the RDL and the CL, it is "
                            "used the hypergeometric statistical distribution, because the population is of binomial "
                            "(yes/no) nature and the units sampled are not returned to the consignment")
                 + sep
                 + QStringLiteral("To calculate the sampling size, the Required Detection Level (RDL) or the "
                                  "Confidence Level (CL) enter the consignment size, choose your option and input "
                                  "the required numbers in the avaiable fields."));

    auto* title = form1().ctl<Label>(QStringLiteral("Label4"));
    QCOMPARE(title->foreColor(), vbColor(0x0000FFFF));
    QCOMPARE(title->palette().color(QPalette::Window), vbColor(0x00000040));
    QVERIFY(title->font().bold());
    QCOMPARE(title->font().pointSizeF(), 20.25);
    QCOMPARE(form1().ctl<Label>(QStringLiteral("Label1"))->foreColor(), vbColor(0x00000040));

    // The sample size is the value to compute; every box starts empty.
    QVERIFY(option(2)->isChecked());
    QVERIFY(!option(0)->isChecked() && !option(1)->isChecked());
    for (int i = 0; i < 4; ++i)
        QVERIFY(box(i)->text().isEmpty());
    QCOMPARE(box(3)->backColor(), kComputed);
    QCOMPARE(box(3)->appearance(), 0);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(box(i)->backColor(), kInput);
        QCOMPARE(box(i)->appearance(), 1);
    }
    QCOMPARE(box(0)->toolTip(), QStringLiteral("Enter the required value"));

    // Hand cursors on the buttons that act; the greyed ones keep no-drop.
    for (const char* b : {"Image1", "Image6", "Image4", "Image3", "Image7", "Image8", "Image11"})
        QVERIFY2(form1().ctl(QString::fromLatin1(b))->cursor().shape() == Qt::BitmapCursor, b);
    for (const char* b : {"Image9", "Image10"}) {
        QCOMPARE(form1().ctl(QString::fromLatin1(b))->cursor().shape(), Qt::ForbiddenCursor);
        QVERIFY(!form1().ctl(QString::fromLatin1(b))->isEnabled());
    }
    for (const char* item : {"menuFileSave", "menuFilePrint", "menuFileClose", "menuFileExit", "menuEditCopy"})
        QVERIFY2(w->findChild<QAction*>(QString::fromLatin1(item)), item);
    QCOMPARE(fx.msgs.count(), 0);
}

void TestForm1::focusOnActivation()
{
    ProgramFixture fx;
    QVERIFY(showPage());
    QCOMPARE(name(QApplication::focusWidget()), QStringLiteral("Text1_0"));

    // Every new visit starts from the design values.
    type(box(2), QStringLiteral("0.9"));
    click(option(0));
    form1().unload();
    QVERIFY(showPage());
    QVERIFY(option(2)->isChecked());
    QVERIFY(box(2)->text().isEmpty());
    QCOMPARE(name(QApplication::focusWidget()), QStringLiteral("Text1_0"));
}

void TestForm1::resizeSpansTheBands()
{
    ProgramFixture fx;
    QVERIFY(showPage());
    FormWidget* w = form1().widget();
    w->resize(w->width() + 150, w->height());
    // The outer width, and at least to the right edge (a thinner frame
    // under a scale factor).
    const auto spans = [&](const char* name) {
        QWidget* band = form1().ctl(QString::fromLatin1(name));
        return std::max(w->frameGeometry().width(), band->parentWidget()->width() - band->x());
    };
    QTRY_COMPARE(form1().ctl(QStringLiteral("Frame4"))->width(), spans("Frame4"));
    QCOMPARE(form1().ctl(QStringLiteral("Label4"))->width(), spans("Label4"));
}

void TestForm1::warnings_data()
{
    QTest::addColumn<int>("marked");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focus");
    QTest::addColumn<bool>("dashed"); // the marked box shows "-" afterwards

    const QString number = QStringLiteral("Input a number");
    const QString nOver1 = QStringLiteral("The consignment size shall be > 1");
    const QString clRange = QStringLiteral("The confidence level shall be >0 and < 1");
    const QString rdlRange = QStringLiteral("The RDL shall be >0 and <1");
    const QString belowN = QStringLiteral("The sample size shall be < the consignment size");
    const QString above0 = QStringLiteral("The sample size shall be > 0");
    using L = QStringList;

    // The consignment size comes first, before any box is touched.
    QTest::newRow("N empty") << 2 << L{"", "0.05", "0.95", "7"} << number << 0 << false;
    QTest::newRow("N text") << 1 << L{"many", "0.05", "0.9", "58"} << number << 0 << false;
    QTest::newRow("N 1") << 0 << L{"1", "7", "0.95", "58"} << nOver1 << 0 << false;
    QTest::newRow("N 1.5 passes") << 2 << L{"1.5", "0.05", "", "7"} << number << 2 << true;

    // Sample size marked: CL, then RDL.
    QTest::newRow("n: CL empty") << 2 << L{"1000", "0.05", "", "7"} << number << 2 << true;
    QTest::newRow("n: CL 0") << 2 << L{"1000", "0.05", "0", "7"} << clRange << 2 << true;
    QTest::newRow("n: CL 1") << 2 << L{"1000", "0.05", "1", "7"} << clRange << 2 << true;
    QTest::newRow("n: RDL text") << 2 << L{"1000", "five", "0.95", "7"} << number << 1 << true;
    QTest::newRow("n: RDL 0") << 2 << L{"1000", "0", "0.95", "7"} << rdlRange << 1 << true;
    QTest::newRow("n: RDL 1") << 2 << L{"1000", "1", "0.95", "7"} << rdlRange << 1 << true;

    // CL marked: RDL, then the sample size.
    QTest::newRow("CL: RDL empty") << 1 << L{"1000", "", "7", "58"} << number << 1 << true;
    QTest::newRow("CL: RDL 1.2") << 1 << L{"1000", "1.2", "7", "58"} << rdlRange << 1 << true;
    QTest::newRow("CL: n empty") << 1 << L{"1000", "0.05", "7", ""} << number << 3 << true;
    QTest::newRow("CL: n 0") << 1 << L{"1000", "0.05", "7", "0"} << above0 << 3 << true;
    QTest::newRow("CL: n negative") << 1 << L{"1000", "0.05", "7", "-3"} << above0 << 3 << true;
    QTest::newRow("CL: n equals N") << 1 << L{"1000", "0.05", "7", "1000"} << belowN << 3 << true;

    // RDL marked: CL, then the sample size; n >= N puts the focus on N.
    QTest::newRow("RDL: CL empty") << 0 << L{"1000", "7", "", "58"} << number << 2 << true;
    QTest::newRow("RDL: CL 0") << 0 << L{"1000", "7", "0", "58"} << clRange << 2 << true;
    QTest::newRow("RDL: n empty") << 0 << L{"1000", "7", "0.95", ""} << number << 3 << true;
    QTest::newRow("RDL: n 0") << 0 << L{"1000", "7", "0.95", "0"} << above0 << 3 << true;
    QTest::newRow("RDL: n equals N") << 0 << L{"1000", "7", "0.95", "1000"} << belowN << 0 << true;
    QTest::newRow("RDL: n above N") << 0 << L{"1000", "7", "0.95", "2000"} << belowN << 0 << true;
}

void TestForm1::warnings()
{
    QFETCH(int, marked);
    QFETCH(QStringList, texts);
    QFETCH(QString, message);
    QFETCH(int, focus);
    QFETCH(bool, dashed);
    ProgramFixture fx;
    QVERIFY(showPage());
    enter(marked, texts);

    calculate();

    QCOMPARE(fx.msgs.count(), 1);
    QCOMPARE(fx.msgs.last().text, message);
    QCOMPARE(fx.msgs.last().style, int(MbExclamation));
    QCOMPARE(fx.msgs.last().title, QStringLiteral("Warning"));
    QCOMPARE(name(focused()), QStringLiteral("Text1_%1").arg(focus));
    for (int i = 0; i < 4; ++i) {
        const QString expected = (dashed && i == marked + 1) ? QStringLiteral("-") : texts[i];
        QCOMPARE(box(i)->text(), expected);
    }
}

void TestForm1::focusStaysAfterTheWarningCloses()
{
    // A message box takes the activation away from the page and gives it
    // back when it closes; that return is no new visit of the page.
    ProgramFixture fx;
    QVERIFY(showPage());
    enter(2, {QStringLiteral("1000"), QStringLiteral("0.05"), QStringLiteral("2"), QString()});
    QWidget stand_in; // takes the place of the box while it is open
    fx.msgs.onShow = [&](const ScriptedMessages::Box&) {
        stand_in.show();
        stand_in.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&stand_in));
    };

    calculate();
    stand_in.hide();
    form1().widget()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form1().widget()));

    QCOMPARE(fx.msgs.count(), 1);
    QCOMPARE(name(QApplication::focusWidget()), QStringLiteral("Text1_2"));
}

void TestForm1::results_data()
{
    QTest::addColumn<int>("marked");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("expected");

    using L = QStringList;
    QTest::newRow("sample size") << 2 << L{"1000", "0.05", "0.95", ""} << "58";
    QTest::newRow("sample size, old value ignored") << 2 << L{"1000", "0.05", "0.95", "123"} << "58";
    QTest::newRow("sample size rounds up from .9") << 2 << L{"1000", "0.01", "0.95", ""} << "259";
    QTest::newRow("N 1.5") << 2 << L{"1.5", "0.5", "0.95", ""} << "1";
    QTest::newRow("CL") << 1 << L{"1000", "0.05", "", "58"} << ".9496";
    QTest::newRow("RDL") << 0 << L{"1000", "", "0.95", "58"} << ".0501";
    QTest::newRow("RDL above 1") << 0 << L{"100", "", "0.95", "1"} << "2.9807";
    // However large the consignment, RDL 0.1 at 95 % needs 29.96 units.
    QTest::newRow("sample size, N 1e15") << 2 << L{"1e15", "0.1", "0.95", ""} << "30";
    QTest::newRow("sample size, N 1e17") << 2 << L{"1e17", "0.1", "0.95", ""} << "30";
    QTest::newRow("sample size, N 1e18") << 2 << L{"1e18", "0.1", "0.95", ""} << "30";
    QTest::newRow("sample size, N 2^63") << 2 << L{"9223372036854775808", "0.1", "0.95", ""} << "30";
    QTest::newRow("sample size, N 1e18, RDL 0.01, CL 0.99") << 2 << L{"1e18", "0.01", "0.99", ""} << "461";
    QTest::newRow("CL, N 1e18") << 1 << L{"1e18", "0.1", "", "30"} << ".9502";
    QTest::newRow("RDL, N 1e18") << 0 << L{"1e18", "", "0.95", "30"} << ".0999";
    // One unit of 1e20 still tells the RDL: -ln(0.05) / 1.
    QTest::newRow("RDL, N 1e20, n 1") << 0 << L{"1e20", "", "0.95", "1"} << "2.9957";
}

void TestForm1::results()
{
    QFETCH(int, marked);
    QFETCH(QStringList, texts);
    QFETCH(QString, expected);
    ProgramFixture fx;
    QVERIFY(showPage());
    enter(marked, texts);

    calculate();

    QCOMPARE(fx.msgs.count(), 0);
    QCOMPARE(box(marked + 1)->text(), test::shown(expected));
    for (int i = 0; i < 4; ++i)
        if (i != marked + 1)
            QCOMPARE(box(i)->text(), texts[i]);
}

void TestForm1::resultsServeAsInputs_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("typed"); // N, RDL, CL
    QTest::addColumn<QStringList>("chain"); // n, then CL, then RDL, then n again

    QTest::newRow("C") << "C" << QStringList{"1000", "0.05", "0.95"} << QStringList{"58", ".9496", ".05", "58"};
    // Written back with the decimal comma, each result reads as that number.
    QTest::newRow("de_DE") << "de_DE" << QStringList{"1000", "0,05", "0,95"}
                           << QStringList{"58", ",9496", ",05", "58"};
}

void TestForm1::resultsServeAsInputs()
{
    QFETCH(QString, locale);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, chain);
    ProgramFixture fx;
    QLocale::setDefault(QLocale(locale));
    QVERIFY(showPage());
    enter(2, typed);

    calculate();
    QCOMPARE(box(3)->text(), chain[0]);
    click(option(1));
    calculate();
    QCOMPARE(box(2)->text(), chain[1]);
    click(option(0));
    calculate();
    QCOMPARE(box(1)->text(), chain[2]);
    click(option(2));
    calculate();
    QCOMPARE(box(3)->text(), chain[3]);
    QCOMPARE(fx.msgs.count(), 0);
}

void TestForm1::readsEachBoxInTheUsersLocale_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("marked");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QString>("expected");

    using L = QStringList;
    // A grouped thousand passes the checks as 1000 and is computed as 1000.
    QTest::newRow("grouped N, en_US") << "en_US" << 2 << L{"1,000", "0.05", "0.95", ""} << "58";
    QTest::newRow("grouped N, C") << "C" << 2 << L{"1,000", "0.05", "0.95", ""} << "58";
    QTest::newRow("grouped N, de_DE") << "de_DE" << 2 << L{"1.000", "0,05", "0,95", ""} << "58";
    QTest::newRow("grouped n, CL, en_US") << "en_US" << 1 << L{"10,000", "0.01", "", "295"} << ".9499";
    // Decimal commas pass the range checks and reach the routine intact.
    QTest::newRow("sample size, de_DE") << "de_DE" << 2 << L{"1000", "0,05", "0,95", ""} << "58";
    QTest::newRow("CL, de_DE") << "de_DE" << 1 << L{"1000", "0,05", "", "58"} << ",9496";
    QTest::newRow("RDL, de_DE") << "de_DE" << 0 << L{"1000", "", "0,95", "58"} << ",0501";
    // On a comma desktop the comma, the plain point and the grouped thousand
    // all read as the number meant.
    QTest::newRow("comma RDL, pt_BR") << "pt_BR" << 2 << L{"1000", "0,05", "0,95", ""} << "58";
    QTest::newRow("point RDL, pt_BR") << "pt_BR" << 2 << L{"1000", "0.05", "0.95", ""} << "58";
    QTest::newRow("grouped N, pt_BR") << "pt_BR" << 2 << L{"1.000", "0,05", "0,95", ""} << "58";
    QTest::newRow("point RDL gives CL, pt_BR") << "pt_BR" << 1 << L{"1.000", "0.05", "", "58"} << ",9496";
    // Three decimals after a point are no thousands group behind a 0.
    QTest::newRow("point RDL with three decimals, pt_BR") << "pt_BR" << 2 << L{"1000", "0.010", "0.95", ""} << "259";
    QTest::newRow("point RDL, de_DE") << "de_DE" << 2 << L{"1000", "0.05", "0.95", ""} << "58";
    QTest::newRow("point RDL, en_US") << "en_US" << 2 << L{"1000", "0.05", "0.95", ""} << "58";
}

void TestForm1::readsEachBoxInTheUsersLocale()
{
    QFETCH(QString, locale);
    QFETCH(int, marked);
    QFETCH(QStringList, texts);
    QFETCH(QString, expected);
    ProgramFixture fx;
    QLocale::setDefault(QLocale(locale));
    QVERIFY(showPage());
    enter(marked, texts);

    calculate();

    QCOMPARE(fx.msgs.count(), 0);
    QCOMPARE(box(marked + 1)->text(), expected);
}

void TestForm1::failedComputationKeepsTheDash_data()
{
    QTest::addColumn<int>("marked");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("answer");

    using L = QStringList;
    for (int a : {int(IdAbort), int(IdIgnore)}) {
        const char* how = a == IdAbort ? "abort" : "ignore";
        // ln(1 - n/N) N is about -n: ln(0.01) / -1e-308 overflows.
        QTest::addRow("RDL, %s", how) << 0 << L{"2", "0.3", "0.99", "1e-308"} << a;
        // 1 / (N * RDL) overflows.
        QTest::addRow("sample size, %s", how) << 2 << L{"2", "1e-310", "0.95", "12"} << a;
    }
}

void TestForm1::failedComputationKeepsTheDash()
{
    QFETCH(int, marked);
    QFETCH(QStringList, texts);
    QFETCH(int, answer);
    ProgramFixture fx;
    QVERIFY(showPage());
    enter(marked, texts);
    fx.msgs.answer(answer);

    calculate();

    QCOMPARE(fx.msgs.count(), 1);
    QCOMPARE(fx.msgs.last().title, QStringLiteral("Error Form1"));
    QCOMPARE(fx.msgs.last().style, 18);
    QCOMPARE(box(marked + 1)->text(), QStringLiteral("-"));
}

void TestForm1::optionFocusAndLooks_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("consignment");
    QTest::addColumn<int>("focus");

    for (int i = 0; i < 3; ++i) {
        QTest::addRow("option %d, N empty", i) << i << QString() << 0;
        // The box after the computed one, wrapping from n to the RDL.
        QTest::addRow("option %d, N typed", i) << i << QStringLiteral("1000") << (i + 1) % 3 + 1;
    }
}

void TestForm1::optionFocusAndLooks()
{
    QFETCH(int, index);
    QFETCH(QString, consignment);
    QFETCH(int, focus);
    ProgramFixture fx;
    QVERIFY(showPage());
    const QStringList texts{consignment, QStringLiteral("0.1"), QStringLiteral("0.2"), QStringLiteral("3")};
    for (int i = 0; i < 4; ++i)
        type(box(i), texts[i]);
    // Start from another marked option so that the click changes the looks.
    click(option((index + 1) % 3));

    click(option(index));

    QVERIFY(option(index)->isChecked());
    QCOMPARE(name(focused()), QStringLiteral("Text1_%1").arg(focus));
    for (int i = 1; i <= 3; ++i) {
        const bool computed = i == index + 1;
        QCOMPARE(box(i)->backColor(), computed ? kComputed : kInput);
        QCOMPARE(box(i)->appearance(), computed ? 0 : 1);
    }
    QCOMPARE(box(0)->backColor(), kInput);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(box(i)->text(), texts[i]);
}

void TestForm1::tooltips_data()
{
    QTest::addColumn<int>("marked");
    QTest::addColumn<int>("hovered");
    QTest::addColumn<QString>("tooltip");

    const QString result = QStringLiteral("The result will be shown here");
    const QString enter = QStringLiteral("Enter the required value");
    QTest::newRow("computed box") << 1 << 2 << result;
    QTest::newRow("input box") << 1 << 3 << enter;
    QTest::newRow("input box after it was computed") << 0 << 3 << enter;
    QTest::newRow("consignment size") << 0 << 0 << enter;
}

void TestForm1::tooltips()
{
    QFETCH(int, marked);
    QFETCH(int, hovered);
    QFETCH(QString, tooltip);
    ProgramFixture fx;
    QVERIFY(showPage());
    // Box 3 is computed at load: let it show its tooltip once first.
    QMouseEvent first(QEvent::MouseMove, QPointF(5, 5), box(3)->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(box(3), &first);
    click(option(marked));

    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), box(hovered)->mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(box(hovered), &move);

    QCOMPARE(box(hovered)->toolTip(), tooltip);
}

void TestForm1::loadError_data()
{
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("repairOnRetry");
    QTest::addColumn<bool>("wentOn"); // the steps after the failing one ran

    QTest::newRow("abort leaves the load") << QList<int>{IdAbort} << false << false;
    QTest::newRow("ignore goes on") << QList<int>{IdIgnore} << false << true;
    QTest::newRow("retry fails again, then ignore") << QList<int>{IdRetry, IdIgnore} << false << true;
    QTest::newRow("retry succeeds") << QList<int>{IdRetry} << true << true;
}

void TestForm1::loadError()
{
    QFETCH(QList<int>, answers);
    QFETCH(bool, repairOnRetry);
    QFETCH(bool, wentOn);
    ProgramFixture fx;
    for (int a : answers)
        fx.msgs.answer(a);
    Form1WithoutLabel1 page;
    fx.msgs.onShow = [&](const ScriptedMessages::Box&) {
        if (repairOnRetry)
            place<Label>(page.widgetIfLoaded()->client(), QStringLiteral("Label1"), 345, 1560, 9450, 2940);
    };

    page.load();

    QCOMPARE(fx.msgs.count(), int(answers.size()));
    for (const auto& b : fx.msgs.boxes) {
        QCOMPARE(b.title, QStringLiteral("Error Loading Form1"));
        QCOMPARE(b.style, 18);
        // The description, then a lone CR and the empty advice.
        QVERIFY2(b.text.endsWith(QChar(13)) && b.text.size() > 1, qPrintable(b.text));
        QVERIFY(!b.text.contains(QChar(10)));
    }
    QVERIFY(page.isLoaded());
    auto* label2 = page.ctl<QLabel>(QStringLiteral("Label2"));
    auto* sample = page.ctl<TextBox>(QStringLiteral("Text1"), 3);
    QCOMPARE(label2->text().startsWith(QStringLiteral("To calculate the required sampling size")), wentOn);
    QCOMPARE(sample->backColor(), wentOn ? kComputed : kInput);
    if (repairOnRetry)
        QVERIFY(page.ctl<QLabel>(QStringLiteral("Label1"))->text().startsWith(QStringLiteral("To keep constant")));
}

TAV_TEST_MAIN(TestForm1)
#include "tst_form1.moc"
