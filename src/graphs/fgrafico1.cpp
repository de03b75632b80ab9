#include "graphs/fgrafico1.h"

#include "common/errors.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "common/tabelaimp.h"
#include "graphs/graphdraft.h"
#include "graphs/graphtexts.h"
#include "graphs/samplingcurves.h"
#include "platform/chart.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"

#include <QLineEdit>
#include <QMenu>

namespace tav {

namespace {

GraphSpec makeSpec()
{
    GraphSpec s;
    s.comboValues = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    s.comboDefault = QStringLiteral("20");
    s.gridRows = 101;
    s.gridCols = 6;
    s.colWidths = {1140, 1140, 1140, 1140, 1140, 1140};
    s.centred = {1, 2, 3, 4, 5};
    s.loadAdvice = QStringLiteral("Check your instalation for Graph32.ocx and Grid32.ocx");
    s.loadTitle = QStringLiteral("Error loading graphic 1");
    s.computeAdvice = QStringLiteral("Try again with new inputs");
    s.computeTitle = QStringLiteral("Error Graphic 1");
    s.capacity = 111;
    s.resetIndex = 1;
    s.xColumn = QStringLiteral("RDL (X)");
    s.graph = QRect(2850, 1980, 8760, 5130);
    s.grid = QRect(3675, 1995, 7050, 5115);
    return s;
}

struct ClSet {
    double cl;
    const char* legend;
    int color;
};
// Legends and print-table headers (the legend from its fifth character).
const ClSet kSets[] = {
    {0.8, "CL: 80%", 6}, {0.9, "CL: 90%", 9}, {0.95, "CL: 95%", 2}, {0.99, "CL: 99%", 13}, {0.999, "CL: 99.9%", 12},
};

} // namespace

FGrafico1::FGrafico1()
    : GraphPage(QStringLiteral("FGrafico1"), QStringLiteral("Graphic 1"),
                GraphLayout{QRect(105, 1980, 2615, 2040), QRect(105, 5070, 2615, 1065), QRect(), {0, 1, 2, 3}, false,
                            0, false},
                makeSpec())
{
}

void FGrafico1::buildPage(FormWidget* w)
{
    QWidget* c = w->client();
    moveTo(w, QStringLiteral("Text1_0"), 1490, 555);
    moveTo(w, QStringLiteral("calcula_1"), 1800, 495);
    moveTo(w, QStringLiteral("Image1"), 330, 4335);
    w->findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QStringLiteral("100"));
    backHint(c, 420, 705, 1800, 435);
    heading(c, QStringLiteral("Label2"), 2880, 1095, 8670, 660, QStringLiteral("Label2"));
}

void FGrafico1::loadHeading(TrapErrors& t)
{
    t.step([&] {
        label(QStringLiteral("Label2"))
            ->setText(QStringLiteral("Sample size for different Required Detection Levels (RDL) and Confidence Levels (CL)"));
    });
}

void FGrafico1::afterGridLayout(TrapErrors& t)
{
    t.step([&] { grid1()->setRows(int(npontos) + 6); });
}

void FGrafico1::defaults(IgnoreErrors& e)
{
    e.step([&] { text1(2)->setText(QStringLiteral("0")); });
    e.step([&] { text1(3)->setText(QStringLiteral("1000")); });
    e.step([&] { text1(0)->setText(generalText(0.00001)); });
    e.step([&] { text1(1)->setText(generalText(0.02)); });
    e.step([&] { text2()->setText(QStringLiteral("1000")); });
    e.step([&] { combo1()->setText(QStringLiteral("20")); });
}

void FGrafico1::compute(int index, TrapErrors& t)
{
    TabelaImp& imp = printTable();
    auto fileMenu = [&] { return ctl<QMenu>(QStringLiteral("menuARchivo")); };
    int32_t n = 0;
    double xmin = 0, xmax = 0, step = 0, end = 0;
    // The File menu stays unavailable until a computation ends.
    bool ok = t.step([&] { fileMenu()->setEnabled(false); }) && t.step([&] { table().setRows(int(npontos) + 3); })
        && t.step([&] { graph1()->setDataReset(9); }) && t.step([&] { n = clng(leading(text2())); })
        && t.step([&] { graph1()->setYAxisMin(0); }) && t.step([&] { graph1()->setYAxisMax(n); })
        && t.step([&] { graph1()->setYAxisMin(leading(text1(2))); })
        && t.step([&] { graph1()->setYAxisMax(leading(text1(3))); }) && t.step([&] { xmin = leading(text1(0)); })
        && t.step([&] { xmax = leading(text1(1)); }) && (index != 1 || t.step([&] { graph1()->setYAxisMax(n); }))
        && t.step([&] { graph1()->setGraphType(6); }) && t.step([&] { graph1()->setNumSets(5); })
        && t.step([&] { imp.impcolunas = graph1()->numSets(); })
        && t.step([&] { step = cdiv(xmax - xmin, npontos); }) && t.step([&] { end = checked(xmax + 2 * step); });
    if (!ok)
        return;

    for (int s = 1; s <= 5; ++s) {
        const ClSet& set = kSets[s - 1];
        int i = 1;
        ok = t.step([&] { graph1()->setThisSet(s); })
            && t.step([&] { sweepRdl(n, 1 - set.cl, xmin, end, step, valoresx, valoresy, i); });
        // The last point computed lies beyond the range shown.
        const int shown = i - 2;
        ok = ok && t.step([&] { graph1()->setNumPoints(shown); });
        for (int k = 1; ok && k <= shown; ++k) {
            QString x, y;
            ok = t.step([&] { x = formatNumber(at(valoresx, k), QStringLiteral("0.0000")); })
                && t.step([&] { y = formatNumber(at(valoresy, k), QStringLiteral("######")); })
                && t.step([&] { gridCell(k, 0, x); }) && t.step([&] { imp.setImprotulo(k, x); })
                && t.step([&] { gridCell(k, s, y); }) && t.step([&] { imp.setImpcelula(s, k, y); })
                && t.step([&] { graph1()->setThisPoint(k); }) && t.step([&] { graph1()->setLabelText(x); })
                && t.step([&] { graph1()->setThisPoint(k); })
                && t.step([&] { graph1()->setGraphData(at(valoresy, k)); });
        }
        if (!ok)
            return;
    }

    ok = t.step([&] { gridCell(0, 0, QStringLiteral("RDL")); }) && t.step([&] { imp.setImprotulo(0, QStringLiteral("RDL")); });
    for (int s = 1; ok && s <= 5; ++s) {
        const QString legend = QString::fromLatin1(kSets[s - 1].legend);
        ok = t.step([&] { graph1()->setThisSet(s); }) && t.step([&] { graph1()->setLegendText(legend); })
            && t.step([&] { imp.setImpcelula(s, 0, legend.mid(4)); }) && t.step([&] { gridCell(0, s, legend); })
            && t.step([&] { graph1()->setColorData(kSets[s - 1].color); });
    }
    const QString title = QStringLiteral("Sample size x RDL: Consignment size = ") + QString::number(n);
    ok = ok && t.step([&] { imp.implinhas = graph1()->numPoints(); })
        && t.step([&] { imp.impsubtitulo = QStringLiteral("Confidence level"); })
        && t.step([&] { graph1()->setLabelEvery(graph1()->numPoints() / 10.0); })
        && t.step([&] { graph1()->setTickEvery(cint(graph1()->labelEvery())); })
        && t.step([&] { graph1()->setGraphTitle(title); }) && t.step([&] { imp.imptitulo = graph1()->graphTitle(); })
        && t.step([&] { graph1()->setLeftTitle(QStringLiteral("Sample size")); })
        && t.step([&] { graph1()->setBottomTitle(QStringLiteral("Required detection level")); })
        && t.step([&] { fileMenu()->setEnabled(true); });
}

void FGrafico1::validateText1(int index, IgnoreErrors& e)
{
    e.step([&] {
        if (!isNumber(text1(index)->text())) {
            warning(QStringLiteral("Please enter a number"));
            return;
        }
        const double v = leading(text1(index));
        if (index < 2 && !(v > 0 && v < 1)) {
            warning(QStringLiteral("This value shall be between 0 and 1"));
            return;
        }
        if (!(leading(text1(0)) < leading(text1(1)))) {
            warning(QStringLiteral("X max shall be greater then X min"));
            return;
        }
        if (!(leading(text1(2)) < leading(text1(3))))
            warning(QStringLiteral("Y max shall be greater then Y min"));
    });
}

void FGrafico1::validateText2(int index, IgnoreErrors& e)
{
    Q_UNUSED(index);
    // Both tests run: a text without a number gets both warnings.
    e.step([&] {
        if (!isNumber(text2()->text()))
            warning(QStringLiteral("Please enter a number"));
    });
    e.step([&] {
        if (leading(text2()) < 1)
            warning(QStringLiteral("This number shall be greater then 1"));
    });
}

} // namespace tav
