#include "graphs/fgrafico2.h"

#include "common/colors.h"
#include "common/errors.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/readings.h"
#include "common/twips.h"
#include "graphs/graphtexts.h"
#include "platform/combo.h"
#include "platform/controls.h"

#include <QLineEdit>

namespace tav {

namespace {

GraphSpec makeSpec()
{
    GraphSpec s = consignmentSpec();
    s.facesFirst = true;
    s.loadTitle = QStringLiteral("Error loading Graphic 2");
    s.computeTitle = QStringLiteral("Error Graphic 2");
    s.capacity = 511;
    s.viewMenu = QStringLiteral("meniView");
    s.viewGraph = QStringLiteral("meniViewGraph");
    s.viewTable = QStringLiteral("menuViewTable");
    s.graph = QRect(2805, 1605, 8760, 4950);
    s.grid = QRect(3570, 1620, 7350, 4875);
    return s;
}

ConsignmentDesign makeDesign()
{
    ConsignmentDesign d;
    d.sampling = Sampling::Percent;
    d.fixedValues = {1, 2, 3, 5};
    d.xHeader = QStringLiteral("Consig.");
    d.referenceLegend = QStringLiteral("Reference");
    d.subtitle = QStringLiteral("% Sampling");
    d.titleHead = QStringLiteral("Percent sampling  ");
    d.bottomTitle = QStringLiteral("Consignemt size");
    d.comment = percentComment;
    d.captions = {QStringLiteral("RDL"), QStringLiteral("Sample size %"), QStringLiteral("Conf. Level")};
    d.captionStep = 350;
    d.heading = QRect(2790, 840, 8670, 660);
    d.headingText = QStringLiteral("Percent sampling");
    d.hint = QRect(420, 705, 1800, 435);
    d.commentPlace = QRect(2850, 6630, 8700, 1290);
    d.yMax = QStringLiteral("1000");
    d.xMax = QStringLiteral("20000");
    d.clearOwnFirst = false;
    return d;
}

} // namespace

FGrafico2::FGrafico2()
    : ConsignmentGraph(QStringLiteral("FGrafico2"), QStringLiteral("Graphic 2"),
                       GraphLayout{QRect(90, 1605, 2615, 2040), QRect(90, 4620, 2615, 1905), QRect(), {0, 1, 2, 3},
                                   false, 3, true},
                       makeSpec(), makeDesign())
{
}

void FGrafico2::arrange(FormWidget* w)
{
    moveTo(w, QStringLiteral("Text1_2"), 680, 570);
    moveTo(w, QStringLiteral("Text1_3"), 680, 900);
    moveTo(w, QStringLiteral("Text1_0"), 1670, 570);
    moveTo(w, QStringLiteral("Text1_1"), 1670, 900);
    moveTo(w, QStringLiteral("Combo1"), 670, 1590);
    moveTo(w, QStringLiteral("calcula_0"), 1800, 1515);
    moveTo(w, QStringLiteral("Text2_0"), 1305, 270);
    moveTo(w, QStringLiteral("Text2_1"), 1305, 615);
    moveTo(w, QStringLiteral("Text2_2"), 1305, 975);
    moveTo(w, QStringLiteral("calcula_1"), 1800, 1395);
    if (QWidget* reset = w->findChild<QWidget*>(QStringLiteral("Image1")))
        reset->setGeometry(twipRect(300, 3885, 1935, 405));
    if (auto* f = w->findChild<Frame*>(QStringLiteral("Frame1")))
        f->setBackColor(vbColor(0x8000000B));
}

void FGrafico2::validateText2(int index, IgnoreErrors& e)
{
    e.step([&] {
        if (!isNumber(text2(0)->text()) || !isNumber(text2(2)->text())) {
            warning(QStringLiteral("Please enter a number"));
            return;
        }
        const double v = leading(text2(index));
        if (index == 0) {
            if (v <= 0 || v >= 1)
                warning(QStringLiteral("RDL shall be between 0 and 1"));
        } else if (index == 1) {
            const QString p = text2(1)->text();
            if (p.isEmpty() || p == QLatin1String(" "))
                return;
            if (!isNumber(p))
                warning(QStringLiteral("Please enter a number"));
            else if (v <= 0 || v > 100)
                warning(QStringLiteral("Percent of samples shall be between 0 and 100"));
        } else if (index == 2) {
            if (v <= 0 || v >= 1)
                warning(QStringLiteral("CL shall be between 0 and 1"));
        }
    });
}

QString FGrafico2::legend(double value, bool own) const
{
    // The user's percentage is written without a blank before "=".
    return (own ? QStringLiteral("Samp.= ") : QStringLiteral("Samp. = ")) + generalText(value) + QStringLiteral("%");
}

QVariant FGrafico2::printHeader(double value) const { return generalText(value) + QStringLiteral("%"); }

} // namespace tav
