#include "graphs/fgrafico5.h"

#include "common/errors.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "common/tabelaimp.h"
#include "graphs/graphdraft.h"
#include "graphs/graphtexts.h"
#include "graphs/relation5.h"
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
    s.comboValues = {10, 30, 50, 70, 90, 110, 130, 150, 170, 190};
    s.comboDefault = QStringLiteral("70");
    s.gridRows = 200;
    s.gridCols = 2;
    s.colWidths = {1000, 1800};
    s.centred = {1};
    s.gridWidthFromColumns = false;
    s.facesFirst = true;
    s.loadAdvice = QStringLiteral("Check your instalation for Grid32.ocx");
    s.loadTitle = QStringLiteral("Error loading Graphic 5");
    s.computeAdvice = QStringLiteral("Unexpected error. Try again with new inputs");
    s.computeTitle = QStringLiteral("Error Graphic 5");
    s.comboSetsGridRows = true;
    s.resetIndex = 0;
    s.graph = QRect(2820, 1620, 8760, 5130);
    s.yColumn = QStringLiteral("Inspec (Y)");
    s.xColumn = QStringLiteral("S.Size (X)");
    return s;
}

// A box is read only when it is a number in the user's locale.
double value(QLineEdit* box)
{
    const QString t = box->text();
    return isNumber(t) ? numberOrLeading(t) : 0.0;
}

} // namespace

FGrafico5::FGrafico5()
    : GraphPage(QStringLiteral("FGrafico5"), QStringLiteral("Graphic 5"),
                GraphLayout{QRect(120, 1620, 2615, 2040), QRect(120, 4365, 2615, 2085), QRect(), {0, 1, 2, 3}, true,
                            4, true},
                makeSpec())
{
}

void FGrafico5::buildPage(FormWidget* w)
{
    QWidget* c = w->client();
    if (auto* scale = w->findChild<Frame*>(QStringLiteral("Frame1")))
        for (int i = 0; i < 4; ++i)
            if (auto* l = scale->findChild<Label*>(arrayName(QStringLiteral("Text1"), i)))
                l->setBackColor(QColor(0xE0, 0xE0, 0xE0));
    if (auto* specs = w->findChild<Frame*>(QStringLiteral("Frame2"))) {
        const QString captions[] = {QStringLiteral("Consign. size"), QStringLiteral("Inspect. without failure"),
                                    QStringLiteral("P1"), QStringLiteral("P2")};
        const int names[] = {2, 3, 0, 1};
        // The inspections caption takes two lines, centred on its box.
        for (int i = 0; i < 4; ++i)
            frameCaption(specs, arrayName(QStringLiteral("Label2"), names[i]), 90, i == 1 ? 555 : 270 + 345 * i,
                         1200, i == 1 ? 390 : 330, captions[i])
                ->setWordWrap(true);
        for (int i = 2; i < 4; ++i)
            if (auto* box = w->findChild<QLineEdit*>(arrayName(QStringLiteral("Text2"), i)))
                box->setText(localeText(QStringLiteral("0.5")));
    }
    heading(c, arrayName(QStringLiteral("Label2"), 4), 2805, 900, 8670, 600,
            QStringLiteral("Inspection failure and sample size"), /*wrap=*/false);
    commentLabel(c, QStringLiteral("Label3"), 2880, 6855, 8745, 1170);
}

void FGrafico5::loadHeading(TrapErrors& t)
{
    // The comment spans the chart.
    t.step([&] {
        Label* l = label(QStringLiteral("Label3"));
        l->resize(graph1()->width(), l->height());
    });
}

void FGrafico5::defaults(IgnoreErrors& e)
{
    e.step([&] { combo1()->setText(QStringLiteral("70")); });
    e.step([&] { text2(0)->setText(QStringLiteral("1000")); });
    e.step([&] { text2(1)->setText(QStringLiteral("10000")); });
    e.step([&] { text2(2)->setText(generalText(0.1)); });
    e.step([&] { text2(3)->setText(generalText(0.3)); });
}

void FGrafico5::compute(int index, TrapErrors& t)
{
    Q_UNUSED(index);
    // The count is taken again from the combo, whatever was typed since.
    ignoring([&] {
        const QString text = combo1()->text();
        if (isNumber(text))
            npontos = cint(localeValue(text));
    });
    calculagrafico(t);
}

void FGrafico5::calculagrafico(TrapErrors& t)
{
    LookedUp<Chart> G;
    LookedUp<TableDraft> T;
    auto cell = [&](int row, int col, const QString& text) { return putCell(T(), row, col, text); };
    TabelaImp& imp = printTable();

    t.step([&] { G = graph1(); });
    t.step([&] { T = &table(); });
    t.step([&] { G().setDataReset(9); });
    double p1 = 0, p2 = 0, I = 0, alpha = 1;
    int32_t N = 0, IL = 0;
    // The inspections box as this computation read it, for its comment.
    QString iText;
    ignoring([&] { iText = text2(1)->text(); });
    t.step([&] { p1 = value(text2(2)); });
    t.step([&] { p2 = value(text2(3)); });
    t.step([&] { N = clng(value(text2(0))); });
    t.step([&] { I = value(text2(1)); });
    t.step([&] { IL = clng(I); });
    t.step([&] { alpha = isNumber(text2(1)->text()) ? cdiv(1.0, I) : 1.0; });
    t.step([&] { G().setGraphType(7); });
    t.step([&] { T().setCols(2); });
    t.step([&] { G().setNumSets(2); });
    t.step([&] { G().setThisSet(1); });
    t.step([&] { G().setColorData(9); });
    t.step([&] { G().setLegendText(QStringLiteral("Inspections failure ")); });

    double nref = 0, ymax = -10000;
    Graph5Range range;
    int P = 0;
    t.step([&] { nref = referenceSample(alpha, p1, p2, N); });
    // A sweep that cannot advance ends the computation, whatever the answer.
    if (!sweepStarts(t, [&] {
            range = graph5Range(nref, N, npontos);
            checkSweep(range.lo, range.hi, range.step);
        }))
        return;
    t.step([&] { graph5Set({valoresx, valoresy}, P, ymax, range, nref, N, p1, p2); });
    t.step([&] { T().setRows(P + 1); });
    t.step([&] { G().setNumPoints(P); });
    for (int k = 1; k <= P && !t.aborted(); ++k)
        t.step([&] {
            const double x = vbInt(at(valoresx, k) + 0.5);
            const double y = at(valoresy, k);
            imp.setImprotulo(k, cell(k, 0, generalText(x)));
            const double inspections = vbInt(y + 0.5);
            cell(k, 1, generalText(inspections));
            imp.setImpcelula(1, k, inspections);
            G().setThisPoint(k);
            G().setLabelText(generalText(x));
            G().setThisPoint(k);
            G().setGraphData(y);
        });

    t.step([&] { G().setThisSet(2); });
    t.step([&] { G().setColorData(12); });
    t.step([&] {
        if (nref == N)
            nref = 0.9999 * N;
    });
    for (int k = 1; k <= P && !t.aborted(); ++k)
        t.step([&] {
            G().setThisPoint(k);
            G().setGraphData(graph5Marker(at(valoresy, k), IL));
        });

    t.step([&] { cell(0, 0, QStringLiteral("Samp.size")); });
    t.step([&] { cell(0, 1, QStringLiteral("Insp. wo/failure")); });
    t.step([&] { G().setThisSet(2); });
    t.step([&] { imp.setImprotulo(0, QStringLiteral("Samp.size")); });
    t.step([&] { imp.setImpcelula(1, 0, QStringLiteral("Insp.wo failure")); });
    t.step([&] { imp.setImpcelula(2, 0, QVariant()); });
    writeChartTexts(t, G, imp,
                    {0, QStringLiteral(" "), 10.0, graph5Title(I, nref), QStringLiteral("Inspections without failure"),
                     QStringLiteral("Sample size")});
    t.step([&] {
        for (int col = 1; col < T().cols(); ++col)
            T().setColAlignment(col, 2);
    });
    t.step([&] { imp.impcolunas = G().numSets(); });
    t.step([&] { G().setYAxisMin(1); });
    t.step([&] { G().setYAxisMax(checked(10 * ymax)); });
    t.step([&] {
        label(QStringLiteral("Label3"))->setText(graph5Comment(p1, p2, N, nref, iText));
    });
}

void FGrafico5::validateText2(int index, IgnoreErrors& e)
{
    e.step([&] {
        warnIf(graph5Warning(index, text2(index)->text()));
    });
}

} // namespace tav
