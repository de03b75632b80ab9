#include "graphs/fgrafico3.h"

#include "common/colors.h"
#include "common/errors.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/readings.h"
#include "graphs/graphtexts.h"
#include "platform/combo.h"
#include "platform/controls.h"

#include <QLineEdit>

namespace tav {

namespace {

GraphSpec makeSpec()
{
    GraphSpec s = consignmentSpec();
    s.loadTitle = QStringLiteral("Error Loading Graphic 3");
    s.computeTitle = QStringLiteral("Error Graphic 3");
    s.capacity = 501;
    s.graph = QRect(2820, 1620, 8640, 5130);
    s.grid = QRect(3510, 1620, 7170, 5145);
    return s;
}

ConsignmentDesign makeDesign()
{
    ConsignmentDesign d;
    d.sampling = Sampling::Constant;
    d.fixedValues = {50, 100, 200, 300};
    d.xHeader = QStringLiteral("Consignment");
    d.referenceLegend = QStringLiteral("Ref.");
    d.subtitle = QStringLiteral("Sampling size (units)");
    d.titleHead = QStringLiteral("  Constant size sampling ");
    d.bottomTitle = QStringLiteral("Consignment size");
    d.comment = constantComment;
    d.captions = {QStringLiteral("RDL"), QStringLiteral("Sample size"), QStringLiteral("Confid. level")};
    d.captionStep = 360;
    d.heading = QRect(2850, 795, 8670, 585);
    d.headingText = QStringLiteral("Constant size sample");
    d.hint = QRect(420, 705, 1725, 510);
    d.commentPlace = QRect(2730, 6795, 8700, 1290);
    d.yMax = QStringLiteral("400");
    d.xMax = QStringLiteral("1000");
    d.clearOwnFirst = true;
    return d;
}

} // namespace

FGrafico3::FGrafico3()
    : ConsignmentGraph(QStringLiteral("FGrafico3"), QStringLiteral("Graphic 3"),
                       GraphLayout{QRect(105, 1620, 2615, 2040), QRect(135, 4710, 2615, 2010), QRect(), {0, 1, 2, 3},
                                   false, 3, false},
                       makeSpec(), makeDesign())
{
}

void FGrafico3::arrange(FormWidget* w)
{
    moveTo(w, QStringLiteral("Label1_2"), 470, 1305);
    moveTo(w, QStringLiteral("Combo1"), 500, 1590);
    moveTo(w, QStringLiteral("calcula_0"), 1800, 1530);
    moveTo(w, QStringLiteral("Text2_0"), 1335, 270);
    moveTo(w, QStringLiteral("Text2_1"), 1350, 615);
    moveTo(w, QStringLiteral("Text2_2"), 1350, 975);
    moveTo(w, QStringLiteral("calcula_1"), 1800, 1440);
    moveTo(w, QStringLiteral("Image1"), 330, 4005);
    const char* designs[] = {"0", "1000", "0", "400"};
    for (int i = 0; i < 4; ++i)
        w->findChild<QLineEdit*>(arrayName(QStringLiteral("Text1"), i))->setText(QString::fromLatin1(designs[i]));
}

void FGrafico3::validateText2(int index, IgnoreErrors& e)
{
    e.step([&] {
        if (!isNumber(text2(0)->text()) || !isNumber(text2(2)->text())) {
            warning(QStringLiteral("Please enter a number"));
            return;
        }
        if (index == 0) {
            const double v = leading(text2(0));
            if (v <= 0 || v >= 1)
                warning(QStringLiteral("RDL shall be between 0 and 1"));
        } else if (index == 1) {
            const QString n = text2(1)->text();
            if (n.isEmpty() || n == QLatin1String(" "))
                return;
            const double v = leading(text2(1));
            if (!isNumber(n))
                warning(QStringLiteral("Please enter a number"));
            else if (v <= 0 || v > leading(text1(1)) - 1)
                warning(QStringLiteral("Sample size shall be greter then zero and less then the maximum consignment "
                                       "size (")
                        + text1(1)->text() + QStringLiteral(")."));
        } else if (index == 2) {
            const double v = localeValue(text2(2)->text());
            if (v <= 0 || v >= 1) {
                warning(QStringLiteral("CL shall be between 0 and 1"));
                text1(1)->setFocus();
            }
        }
    });
}

QString FGrafico3::legend(double value, bool own) const
{
    Q_UNUSED(own);
    return QStringLiteral("Sample= ") + generalText(value) + QStringLiteral(" Units");
}

// The size itself, a number, heads its print-table column.
QVariant FGrafico3::printHeader(double value) const { return value; }

} // namespace tav
