#include "graphs/consignmentgraph.h"

#include "common/errors.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "common/colors.h"
#include "common/tabelaimp.h"
#include "graphs/graphdraft.h"
#include "graphs/graphtexts.h"
#include "graphs/pointsweep.h"
#include "platform/chart.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"

#include <QLineEdit>
#include <cmath>

namespace tav {

namespace {
const int kColors[] = {6, 9, 2, 13, 12};
}

GraphSpec consignmentSpec()
{
    GraphSpec s;
    s.comboValues = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    s.comboDefault = QStringLiteral("60");
    s.gridRows = 300;
    s.gridCols = 6;
    s.colWidths = {1140, 1140, 1140, 1140, 1140, 1140};
    s.centred = {1, 2, 3, 4, 5};
    s.loadAdvice = QStringLiteral("Check your instalation for Grid32.ocx and Graph32.ocx");
    s.computeAdvice = QStringLiteral("Try again with new inputs");
    s.resetIndex = 1;
    s.xColumn = QStringLiteral("C.Size (X)");
    return s;
}

ConsignmentGraph::ConsignmentGraph(const QString& name, const QString& caption, GraphLayout layout, GraphSpec spec,
                                   ConsignmentDesign design)
    : GraphPage(name, caption, std::move(layout), std::move(spec)), design_(std::move(design))
{
}

void ConsignmentGraph::buildPage(FormWidget* w)
{
    arrange(w);
    const ConsignmentDesign& d = design_;
    QWidget* c = w->client();
    w->findChild<QLineEdit*>(QStringLiteral("Text2_2"))->setText(localeText(QStringLiteral(".95")));
    QWidget* specs = w->findChild<QWidget*>(QStringLiteral("Frame2"));
    for (int i = 0; i < d.captions.size(); ++i)
        designLabel(specs, arrayName(QStringLiteral("Label2"), i), 120, 300 + d.captionStep * i, 1150, 255,
                    d.captions[i], 8.25, false, false, vbColor(0x00800000), false);
    heading(c, arrayName(QStringLiteral("Label2"), 3), d.heading.x(), d.heading.y(), d.heading.width(),
            d.heading.height(), d.headingText);
    backHint(c, d.hint.x(), d.hint.y(), d.hint.width(), d.hint.height());
    commentLabel(c, QStringLiteral("Label4"), d.commentPlace.x(), d.commentPlace.y(), d.commentPlace.width(),
                 d.commentPlace.height());
}

void ConsignmentGraph::defaults(IgnoreErrors& e)
{
    e.step([&] { text1(2)->setText(QStringLiteral("0")); });
    e.step([&] { text1(3)->setText(design_.yMax); });
    e.step([&] { text1(0)->setText(QStringLiteral("0")); });
    e.step([&] { text1(1)->setText(design_.xMax); });
    e.step([&] { combo1()->setText(QStringLiteral("60")); });
    e.step([&] { text2(0)->setText(generalText(0.01)); });
    if (design_.clearOwnFirst)
        e.step([&] { text2(1)->clear(); });
    e.step([&] { text2(2)->setText(generalText(0.95)); });
    if (!design_.clearOwnFirst)
        e.step([&] { text2(1)->clear(); });
}

QString ConsignmentGraph::title(double rdl, double cl) const
{
    return design_.titleHead + QStringLiteral("(Reference: RDL = ") + generalText(rdl) + QStringLiteral(", CL = ")
        + generalText(cl) + QStringLiteral(")");
}

bool ConsignmentGraph::curva(TrapErrors& t, YieldPacer& pacer, XTexts& xTexts, int set, Sampling kind, double value, double q,
                             double rdl, double xmin, double end, double step)
{
    TabelaImp& imp = printTable();
    int i = 1;
    if (!t.step([&] { sweepConsignments(kind, value, q, rdl, xmin, end, step, valoresx, valoresy, i); }))
        return false;
    // The last point computed lies beyond the range shown.
    const int shown = i - 2;
    // Looked up once: a lookup by name for each of a thousand points costs
    // more than the point.
    LookedUp<Chart> G;
    if (!t.step([&] { G = graph1(); }) || !t.step([&] { G().setNumPoints(shown); }))
        return false;
    TableDraft& table = this->table();
    const bool yields = design_.sampling == Sampling::Constant;
    QString yText;
    double yLast = 0;
    for (int j = 1; j <= shown; ++j) {
        QString x;
        // A constant line starts at its own height, also at x = 0.
        double y = 0;
        bool ok = t.step([&] { x = xTexts(j, at(valoresx, j)); })
            && t.step([&] { y = kind == Sampling::Constant ? value : at(valoresy, j); })
            && t.step([&] { putCell(table, j, 0, x); }) && t.step([&] { imp.setImprotulo(j, x); })
            && t.step([&] {
                   // A constant line has one text.
                   if (yText.isNull() || y != yLast)
                       yText = formatNumber(y, QStringLiteral("###,##0"));
                   yLast = y;
                   putCell(table, j, set, yText);
               })
            && t.step([&] { imp.setImpcelula(set, j, checked(std::round(y))); })
            && t.step([&] { G().setThisPoint(j); }) && t.step([&] { G().setLabelText(x); })
            && t.step([&] { G().setGraphData(y); });
        if (!ok)
            return false;
        // The window repaints and takes input while the lines are drawn.
        if (yields && pacer.due() && !yieldPoint())
            return false;
    }
    return true;
}

void ConsignmentGraph::compute(int index, TrapErrors& t)
{
    Q_UNUSED(index); // both ok buttons do the same
    TabelaImp& imp = printTable();
    double own = 0, cl = 0, rdl = 0, q = 0, xmin = 0, xmax = 0, step = 0;
    int sets = 0;
    // The comment tells of the boxes as this computation read them.
    QString rdlText, clText, ownText, comboText;
    ignoring([&] {
        rdlText = text2(0)->text();
        clText = text2(2)->text();
        ownText = text2(1)->text();
        comboText = combo1()->text();
    });
    bool ok = t.step([&] { graph1()->setDataReset(9); }) && t.step([&] { table().setRows(int(npontos) + 3); })
        && t.step([&] { own = leading(text2(1)); }) && t.step([&] { cl = leading(text2(2)); })
        && t.step([&] { rdl = leading(text2(0)); }) && t.step([&] { graph1()->setYAxisMin(leading(text1(2))); })
        && t.step([&] { graph1()->setYAxisMax(leading(text1(3))); }) && t.step([&] { xmin = leading(text1(0)); })
        && t.step([&] { xmax = leading(text1(1)); }) && t.step([&] { graph1()->setGraphType(6); });
    if (!ok)
        return;
    sets = own > 0 ? 2 : 5;
    ok = t.step([&] { graph1()->setNumSets(sets); }) && t.step([&] { table().setCols(sets + 1); })
        && t.step([&] { step = cdiv(xmax - xmin, npontos); }) && t.step([&] { xmax = checked(xmax + 2 * step); })
        && t.step([&] { q = 1 - cl; });
    if (!ok)
        return;

    QList<double> values;
    if (sets == 2)
        values = {own};
    else
        values = design_.fixedValues;
    YieldPacer pacer;
    XTexts xTexts(QStringLiteral("###,##0"));
    ok = t.step([&] { graph1()->setThisSet(1); })
        && curva(t, pacer, xTexts, 1, Sampling::Reference, 0, q, rdl, xmin, xmax, step);
    for (int s = 2; ok && s <= sets; ++s)
        ok = t.step([&] { graph1()->setThisSet(s); })
            && curva(t, pacer, xTexts, s, design_.sampling, values[s - 2], q, rdl, xmin, xmax, step);
    if (!ok)
        return;

    ok = t.step([&] { gridCell(0, 0, design_.xHeader); });
    for (int s = 1; ok && s <= sets; ++s) {
        const QString legend = s == 1 ? design_.referenceLegend : this->legend(values[s - 2], sets == 2);
        const QVariant header = s == 1 ? QVariant(design_.referenceLegend) : printHeader(values[s - 2]);
        ok = t.step([&] { graph1()->setThisSet(s); }) && t.step([&] { graph1()->setLegendText(legend); })
            && t.step([&] { graph1()->setColorData(kColors[s - 1]); }) && t.step([&] { gridCell(0, s, legend); })
            && t.step([&] { imp.setImpcelula(s, 0, header); });
    }
    ok = ok && t.step([&] { imp.setImprotulo(0, QStringLiteral("Consig.")); })
        && t.step([&] { imp.implinhas = graph1()->numPoints(); })
        && t.step([&] { imp.impcolunas = graph1()->numSets(); }) && t.step([&] { imp.impsubtitulo = design_.subtitle; })
        && t.step([&] { graph1()->setLabelEvery(graph1()->numPoints() / 10.0); })
        && t.step([&] { graph1()->setTickEvery(cint(graph1()->labelEvery())); })
        && t.step([&] { graph1()->setGraphTitle(title(rdl, 1 - q)); })
        && t.step([&] { imp.imptitulo = graph1()->graphTitle(); })
        && t.step([&] { graph1()->setLeftTitle(QStringLiteral("Sample size")); })
        && t.step([&] { graph1()->setBottomTitle(design_.bottomTitle); });
    for (int c = 1; ok && c < sets + 1; ++c)
        ok = t.step([&] { table().setColAlignment(c, 2); });
    ok = ok && t.step([&] { label(QStringLiteral("Label4"))->clear(); })
        && t.step([&] {
               const int points = graph1()->numPoints();
               const int shown = graph1()->numSets();
               label(QStringLiteral("Label4"))
                   ->setText(design_.comment(printTable(), shown, points, rdlText, clText, ownText, comboText));
           });
}

void ConsignmentGraph::validateText1(int index, IgnoreErrors& e)
{
    e.step([&] {
        if (!isNumber(text1(index)->text())) {
            warning(QStringLiteral("Please enter a number"));
            return;
        }
        if (leading(text1(index)) < 0) {
            warning(QStringLiteral("This value shall be positive"));
            return;
        }
        if (leading(text1(0)) >= leading(text1(1))) {
            warning(QStringLiteral("X max shall be greater then X min"));
            return;
        }
        if (leading(text1(2)) >= leading(text1(3)))
            warning(QStringLiteral("Y max shall be greater then Y min"));
    });
}

} // namespace tav
