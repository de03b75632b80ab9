#include "shell/form1.h"

#include "common/colors.h"
#include "common/errors.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/program.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "platform/actions.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "shell/amostra.h"

#include <QEvent>
#include <QRadioButton>

namespace tav {

namespace {

constexpr uint32_t kComputedBack = 0x80000001u; // the desktop colour
constexpr uint32_t kInputBack = 0x80000005u;    // the window background
constexpr uint32_t kDarkRed = 0x00000040u;

const QString kText1 = QStringLiteral("Text1");
const QString kOption1 = QStringLiteral("Option1");

// The two looks of the boxes beside the option buttons.
void setComputedLook(TextBox* box, bool computed)
{
    box->setAppearance(computed ? 0 : 1);
    box->setBackColor(computed ? kComputedBack : kInputBack);
}

Label* explanation(QWidget* parent, const QString& name, int left, int top, int width, int height)
{
    Label* l = place<Label>(parent, name, left, top, width, height);
    l->setFont(arial(9));
    l->setForeColor(vbColor(kDarkRed));
    return l;
}

} // namespace

Form1& form1() { return formRef<Form1>(); }

Form1::Form1()
    : ToolbarPage(QStringLiteral("Form1"), PageDesign{QStringLiteral("Sampling"), 0x00C0E0FF, 11880, 8310,
                                                      false, -30, QString()})
{
}

TextBox* Form1::text1(int index) { return ctl<TextBox>(kText1, index); }

void Form1::buildContent(FormWidget* w)
{
    QWidget* c = w->client();

    Label* title = place<Label>(c, QStringLiteral("Label4"), -60, 675, 10350, 645);
    title->setText(QStringLiteral("1. Sampling"));
    title->setFont(arial(20.25, true));
    title->setForeColor(vbColor(0x0000FFFF));
    title->setBackColor(vbColor(kDarkRed));
    title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    explanation(c, QStringLiteral("Label1"), 345, 1560, 9450, 2940);
    explanation(c, QStringLiteral("Label2"), 285, 4475, 5775, 2025);

    Frame* inputs = place<Frame>(c, QStringLiteral("Frame1"), 6690, 4560, 3555, 2430);
    inputs->setTitle(QStringLiteral("Inputs"));
    inputs->setFont(arial(9, true));

    struct Row {
        const char* caption;
        int left, top, width, height;
    };
    const Row captions[] = {{"Consignment size:", 105, 375, 1470, 255},
                            {"Required detection level:", 135, 690, 1470, 405},
                            {"Confidence level:", 120, 1200, 1470, 255},
                            {"Sample size:", 105, 1575, 1680, 285}};
    for (int i = 0; i < 4; ++i) {
        const Row& r = captions[i];
        Label* l = place<Label>(inputs, arrayName(QStringLiteral("Label3"), i), r.left, r.top, r.width, r.height);
        l->setText(QString::fromLatin1(r.caption));
        l->setFont(arial(8.25));
    }

    const int boxTops[] = {315, 735, 1140, 1545};
    for (int i = 0; i < 4; ++i) {
        TextBox* box = place<TextBox>(inputs, arrayName(kText1, i), 1800, boxTops[i], 1110, 285);
        box->setFont(arial(8.25));
        box->setAppearance(1);
        box->setBackColor(kInputBack);
        box->installEventFilter(this);
    }
    text1(0)->setToolTip(QStringLiteral("Enter the required value"));

    const int optionTops[] = {780, 1200, 1560};
    for (int i = 0; i < 3; ++i) {
        auto* option = place<QRadioButton>(inputs, arrayName(kOption1, i), 3090, optionTops[i], 270, 240);
        onSignal(option, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }
    ctl<QRadioButton>(kOption1, 2)->setChecked(true);

    auto* calculate = place<ImageButton>(inputs, QStringLiteral("Image1"), 270, 1935, 1080, 360);
    calculate->setPicture(pictures::word(QStringLiteral("Calculate")));
    onSignal(calculate, &ImageButton::clicked, this, [this] { Image1_Click(); });
}

void Form1::pageLoad()
{
    TrapErrors t(QString(), QStringLiteral("Error Loading Form1"));
    for (const char* name : {"Image1", "Image6", "Image4", "Image3", "Image7", "Image8", "Image11"})
        if (!t.step([&] { setHandCursor(ctl(QString::fromLatin1(name))); }))
            return;
    t.step([&] { separator_ = QStringLiteral("\n\n"); })
        && t.step([&] {
               ctl<Label>(QStringLiteral("Label1"))
                   ->setText(QStringLiteral("To keep constant the security of the inspection services it is "
                                            "necessary to adjust the size of the sample, considering: ")
                             + separator_
                             + QStringLiteral("1. Required detection level (RDL): Prevalence below this level "
                                              "will not be detected. A number from 0 to 1 that represents the "
                                              "proportion of infected units expresses the detection level ")
                             + separator_
                             + QStringLiteral("2. Confidence level (CL): It is expressed by a number between 0 "
                                              "and 1 that indicate the proportion of inspections that will "
                                              "detect consignments with prevalence equal or above the required "
                                              "detection level. For example, a Confidence Level of 0.95 means "
                                              "that 95% of the inspections will detect consignments with "
                                              "infestations above the RDL."));
           })
        && t.step([&] {
               ctl<Label>(QStringLiteral("Label2"))
                   ->setText(QStringLiteral("To calculate the required sampling size, taking into account the "
                                            "RDL and the CL, it is used the hypergeometric statistical "
                                            "distribution, because the population is of binomial (yes/no) "
                                            "nature and the units sampled are not returned to the consignment"));
           })
        && t.step([&] {
               Label* l = ctl<Label>(QStringLiteral("Label2"));
               l->setText(l->text() + separator_
                          + QStringLiteral("To calculate the sampling size, the Required Detection Level (RDL) "
                                           "or the Confidence Level (CL) enter the consignment size, choose your "
                                           "option and input the required numbers in the avaiable fields."));
           })
        && t.step([&] { setComputedLook(text1(3), true); });
}

void Form1::formActivate()
{
    ignoring([&] { text1(0)->setFocus(); });
}

void Form1::formResize()
{
    ToolbarPage::formResize();
    ignoring([&] {
        stretchBand(*this, ctl(QStringLiteral("Label4")));
    });
}

void Form1::Option1_Click(int index)
{
    IgnoreErrors e;
    e.step([&] { setComputedLook(text1(index + 1), true); });
    for (int i = 1; i <= 3; ++i)
        if (i != index + 1)
            e.step([&] { setComputedLook(text1(i), false); });
    e.step([&] {
        // The box after the computed one, wrapping from the sample size to the RDL.
        const int next = text1(0)->text().isEmpty() ? 0 : (index + 1) % 3 + 1;
        text1(next)->setFocus();
    });
}

void Form1::Text1_MouseMove(int index)
{
    if (index > 0)
        ignoring([&] {
            TextBox* box = text1(index);
            box->setToolTip(box->backColor() == kComputedBack ? QStringLiteral("The result will be shown here")
                                                               : QStringLiteral("Enter the required value"));
        });
}

bool Form1::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        for (int i = 0; i < 4; ++i)
            if (watched->objectName() == arrayName(kText1, i))
                Text1_MouseMove(i);
    }
    return ToolbarPage::eventFilter(watched, event);
}

void Form1::Image1_Click()
{
    IgnoreErrors e;
    bool ended = false;
    // A failing check warns, puts the focus in its box and ends the click.
    auto require = [&](bool ok, const char* text, int focus) {
        if (ok)
            return true;
        ended = true;
        warning(QString::fromLatin1(text));
        e.step([&] { text1(focus)->setFocus(); });
        return false;
    };
    // Each box is read once: a box that is a number is that number wherever
    // it is used after its check.
    auto number = [&](int i) { return isNumber(text1(i)->text()); };
    auto value = [&](int i) { return numberOrLeading(text1(i)->text()); };
    const char* const inputNumber = "Input a number";
    const char* const clRange = "The confidence level shall be >0 and < 1";
    const char* const rdlRange = "The RDL shall be >0 and <1";
    const char* const belowN = "The sample size shall be < the consignment size";
    const char* const aboveZero = "The sample size shall be > 0";

    e.step([&] {
        require(number(0), inputNumber, 0) && require(value(0) > 1, "The consignment size shall be > 1", 0);
    });
    if (ended || programEnded())
        return;

    int marked = -1;
    e.step([&] {
        for (int i = 0; i < 3; ++i)
            if (ctl<QRadioButton>(kOption1, i)->isChecked())
                marked = i;
    });
    if (marked < 0)
        return;
    e.step([&] { text1(marked + 1)->setText(QStringLiteral("-")); });
    e.step([&] {
        switch (marked) {
        case 0:
            require(number(2), inputNumber, 2) && require(value(2) > 0 && value(2) < 1, clRange, 2)
                && require(number(3), inputNumber, 3) && require(value(3) > 0, aboveZero, 3)
                && require(value(0) > value(3), belowN, 0);
            break;
        case 1:
            require(number(1), inputNumber, 1) && require(value(1) > 0 && value(1) < 1, rdlRange, 1)
                && require(number(3), inputNumber, 3) && require(value(3) > 0, aboveZero, 3)
                && require(value(0) > value(3), belowN, 3);
            break;
        default:
            require(number(2), inputNumber, 2) && require(value(2) > 0 && value(2) < 1, clRange, 2)
                && require(number(1), inputNumber, 1) && require(value(1) > 0 && value(1) < 1, rdlRange, 1);
            break;
        }
    });
    if (ended || programEnded())
        return;

    // The risk 1 - CL goes to the routine as a number, or "-" when the CL is
    // the value to compute.
    SampleValue risk(QStringLiteral("-"));
    e.step([&] {
        if (number(2))
            risk = SampleValue(1.0 - value(2));
    });
    std::optional<double> result;
    e.step([&] { result = amostra(text1(0), text1(1), risk, text1(3)); });
    // A failed computation has had its error box; its box keeps the "-".
    if (!result)
        return;
    e.step([&] {
        if (marked == 2)
            text1(3)->setText(generalText(vbInt(vbInt((*result + 0.5) * 10.0) / 10.0)));
        else
            text1(marked + 1)->setText(formatNumber(*result, QStringLiteral("#.####")));
    });
}

} // namespace tav
