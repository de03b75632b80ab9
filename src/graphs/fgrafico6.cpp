#include "graphs/fgrafico6.h"

#include "common/errors.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "common/tabelaimp.h"
#include "graphs/graphdraft.h"
#include "graphs/graphtexts.h"
#include "graphs/relation6.h"
#include "platform/chart.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"

#include <QLineEdit>

namespace tav {

namespace {

GraphSpec makeSpec()
{
    GraphSpec s;
    s.comboDefault = QStringLiteral("50");
    s.gridRows = 50;
    s.gridCols = 2;
    s.colWidths = {1300, 2000};
    s.centred = {1};
    s.gridWidthFromColumns = true;
    s.facesFirst = true;
    s.loadAdvice = QStringLiteral("Check Grid32 and Graph32 libraries");
    s.loadTitle = QStringLiteral("Error Loading Graphic 6");
    s.computeTitle = QStringLiteral("Error Graphic 6");
    s.comboSetsGridRows = true;
    s.resetIndex = 0;
    s.graph = QRect(2820, 1530, 8760, 5130);
    s.grid = QRect(5490, 1545, 2475, 5145);
    s.yColumn = QStringLiteral("Years (Y)");
    s.xColumn = QStringLiteral("RDL (X)");
    return s;
}

} // namespace

FGrafico6::FGrafico6()
    : GraphPage(QStringLiteral("FGrafico6"), QStringLiteral("Graphic 6"),
                GraphLayout{QRect(120, 1530, 2585, 2025), QRect(165, 4365, 2585, 2085), QRect(), {0, 1}, false, 4,
                            true},
                makeSpec())
{
}

void FGrafico6::buildPage(FormWidget* w)
{
    QWidget* c = w->client();
    // The y axis scales itself: labels stand where its boxes would.
    if (auto* scale = w->findChild<Frame*>(QStringLiteral("Frame1")))
        for (int i = 0; i < 2; ++i)
            captionLabel(scale, arrayName(QStringLiteral("Label4"), i), 525, 570 + 330 * i, 960, 285,
                         QStringLiteral("AutoScale"))
                ->setBackColor(QColor(0xE0, 0xE0, 0xE0));
    if (auto* specs = w->findChild<Frame*>(QStringLiteral("Frame2"))) {
        const QString captions[] = {QStringLiteral("Consign. size"), QStringLiteral("Importations/ year"),
                                    QStringLiteral("P1"), QStringLiteral("P2")};
        const int names[] = {2, 3, 0, 1};
        // The imports caption takes two lines, centred on its box.
        for (int i = 0; i < 4; ++i)
            frameCaption(specs, arrayName(QStringLiteral("Label2"), names[i]), 90, i == 1 ? 555 : 285 + 345 * i,
                         1200, i == 1 ? 390 : 255, captions[i]);
        for (int i = 2; i < 4; ++i)
            if (auto* box = w->findChild<QLineEdit*>(arrayName(QStringLiteral("Text2"), i)))
                box->setText(localeText(QStringLiteral("0.5")));
    }
    heading(c, arrayName(QStringLiteral("Label2"), 4), 2805, 900, 8670, 600,
            QStringLiteral("Inspection failure and required detection level"), /*wrap=*/false);
    commentLabel(c, QStringLiteral("Label3"), 2820, 6825, 8745, 1170);
}

void FGrafico6::defaults(IgnoreErrors& e)
{
    e.step([&] { text1(0)->setText(generalText(0.000001)); });
    e.step([&] { text1(1)->setText(generalText(0.002)); });
    e.step([&] { combo1()->setText(QStringLiteral("50")); });
    e.step([&] { text2(0)->setText(QStringLiteral("1000")); });
    e.step([&] { text2(1)->setText(QStringLiteral("12")); });
    e.step([&] { text2(2)->setText(generalText(0.1)); });
    e.step([&] { text2(3)->setText(generalText(0.1)); });
}

void FGrafico6::compute(int index, TrapErrors& t)
{
    Q_UNUSED(index);
    LookedUp<Chart> G;
    LookedUp<TableDraft> T;
    auto cell = [&](int row, int col, const QString& text) { return putCell(T(), row, col, text); };
    TabelaImp& imp = printTable();

    t.step([&] { G = graph1(); });
    t.step([&] { T = &table(); });
    t.step([&] { G().setDataReset(9); });
    double p1 = 0, p2 = 0, xMin = 0, xMax = 0;
    int32_t N = 0, M = 0;
    // The boxes as this computation read them, for its comment.
    QString importsText;
    double size = 0;
    ignoring([&] { importsText = text2(1)->text(); });
    ignoring([&] { size = leading(text2(0)); });
    t.step([&] { p1 = leading(text2(2)); });
    t.step([&] { p2 = leading(text2(3)); });
    t.step([&] { N = clng(leading(text2(0))); });
    t.step([&] { M = clng(leading(text2(1))); });
    t.step([&] { xMin = leading(text1(0)); });
    t.step([&] { xMax = leading(text1(1)); });
    t.step([&] { G().setGraphType(7); });
    t.step([&] { G().setNumSets(1); });
    t.step([&] { G().setThisSet(1); });
    t.step([&] { G().setColorData(9); });
    t.step([&] { G().setLegendText(QString()); });

    double step = 0, ymin = 1e7, ymax = -1;
    int computed = 0;
    // A sweep that cannot advance ends the computation, whatever the answer.
    if (!sweepStarts(t, [&] {
            step = cdiv(xMax - xMin, npontos);
            checkSweep(xMin, xMax, step);
        }))
        return;
    t.step([&] { graph6Set({valoresx, valoresy}, computed, ymin, ymax, xMin, xMax, step, p1, p2, N, M); });
    t.step([&] { T().setRows(computed + 1); });
    t.step([&] { G().setNumPoints(computed); });
    YieldPacer pacer;
    for (int k = 1; k <= computed && !t.aborted(); ++k) {
        t.step([&] {
            const double x = at(valoresx, k);
            const double y = at(valoresy, k);
            imp.setImprotulo(k, cell(k, 0, graph6RdlText(x)));
            imp.setImpcelula(1, k, cell(k, 1, graph6YearsText(y)));
            G().setThisPoint(k);
            G().setLabelText(graph6Label(x));
            G().setThisPoint(k);
            G().setGraphData(y);
        });
        if (pacer.due() && !yieldPoint())
            return;
    }

    t.step([&] { cell(0, 0, QStringLiteral("RDL")); });
    t.step([&] { cell(0, 1, QStringLiteral("Years between introd.")); });
    t.step([&] { imp.setImprotulo(0, QStringLiteral("RDL")); });
    t.step([&] { imp.setImpcelula(1, 0, QStringLiteral(" ")); });
    writeChartTexts(t, G, imp,
                    {1, QStringLiteral("Years between introd."), 5.0,
                     QStringLiteral("Required detection level and years between introductions"),
                     QStringLiteral("Years between introductions"), QStringLiteral("Required detection level")});
    t.step([&] { G().setYAxisMin(cdiv(ymin, 10)); });
    t.step([&] { G().setYAxisMax(checked(ymax * 10)); });

    t.step([&] {
        const int k = graph6CommentPoint(npontos, computed);
        const QString text = graph6Comment(p1, p2, size, importsText, at(valoresx, k), at(valoresy, k));
        label(QStringLiteral("Label3"))->setText(text);
    });
}

void FGrafico6::validateText1(int index, IgnoreErrors& e)
{
    e.step([&] {
        warnIf(graph6ScaleWarning(index, {text1(0)->text(), text1(1)->text()}));
    });
}

void FGrafico6::validateText2(int index, IgnoreErrors& e)
{
    e.step([&] {
        warnIf(graph6SpecWarning(index, text2(index)->text()));
    });
}

} // namespace tav
