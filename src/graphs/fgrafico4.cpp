#include "graphs/fgrafico4.h"

#include "common/errors.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "common/tabelaimp.h"
#include "graphs/graphdraft.h"
#include "graphs/graphtexts.h"
#include "graphs/relation4.h"
#include "platform/chart.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"

#include <QLineEdit>
#include <algorithm>

namespace tav {

namespace {

GraphSpec makeSpec()
{
    GraphSpec s;
    s.comboDefault = QStringLiteral("50");
    s.gridRows = 300;
    s.gridCols = 6;
    s.colWidths = {1140, 1140, 1140, 1140, 1140, 1140};
    s.centred = {1, 2, 3, 4, 5};
    s.loadAdvice = QStringLiteral("Check your instalation for Grid32.ocx and Graph32.ocx");
    s.loadTitle = QStringLiteral("Error loading Graphic 4");
    s.computeTitle = QStringLiteral("Error Graphic 4");
    s.graph = QRect(2820, 1620, 8640, 5130);
    s.grid = QRect(3690, 1620, 7260, 5145);
    s.xColumn = QStringLiteral("C.Level (X)");
    return s;
}

} // namespace

FGrafico4::FGrafico4()
    : GraphPage(QStringLiteral("FGrafico4"), QStringLiteral("Graphic 4"),
                GraphLayout{QRect(120, 1620, 2615, 2040), QRect(120, 4725, 2615, 1935), QRect(), {0, 1, 2, 3}, false,
                            3, true},
                makeSpec())
{
}

void FGrafico4::buildPage(FormWidget* w)
{
    QWidget* c = w->client();
    if (auto* specs = w->findChild<Frame*>(QStringLiteral("Frame2"))) {
        const QString captions[] = {QStringLiteral("P1"), QStringLiteral("P2"), QStringLiteral("Consign. size")};
        for (int i = 0; i < 3; ++i)
            frameCaption(specs, arrayName(QStringLiteral("Label2"), i), 180, 300 + 345 * i, 1100, 255,
                         captions[i]);
        for (int i = 0; i < 2; ++i)
            if (auto* box = w->findChild<QLineEdit*>(arrayName(QStringLiteral("Text2"), i)))
                box->setText(localeText(QStringLiteral("0.5")));
    }
    if (auto* box = w->findChild<QLineEdit*>(arrayName(QStringLiteral("Text1"), 0)))
        box->setText(localeText(QStringLiteral("0.8")));
    if (auto* box = w->findChild<QLineEdit*>(arrayName(QStringLiteral("Text1"), 1)))
        box->setText(localeText(QStringLiteral("0.9999")));
    heading(c, arrayName(QStringLiteral("Label2"), 3), 2805, 795, 8670, 510,
            QStringLiteral("Sample size and establishment"), /*wrap=*/false);
    commentLabel(c, QStringLiteral("Label4"), 2730, 6795, 8700, 1290);
}

void FGrafico4::defaults(IgnoreErrors& e)
{
    e.step([&] { text1(2)->setText(QStringLiteral("0")); });
    e.step([&] { text1(3)->setText(QStringLiteral("5000")); });
    e.step([&] { text1(0)->setText(generalText(0.8)); });
    e.step([&] { text1(1)->setText(generalText(0.9999)); });
    e.step([&] { text2(0)->setText(generalText(0.5)); });
    e.step([&] { text2(1)->setText(generalText(0.5)); });
    e.step([&] { text2(2)->setText(QString()); });
}

void FGrafico4::compute(int index, TrapErrors& t)
{
    Q_UNUSED(index);
    LookedUp<Chart> G;
    LookedUp<TableDraft> T;
    // Col before Row: a failing cell leaves the grid's current cell as this
    // page always left it.
    auto cell = [&](int row, int col, const QString& text) {
        T().setCol(col);
        T().setRow(row);
        T().setText(text);
        return T().text();
    };
    TabelaImp& imp = printTable();

    t.step([&] { G = graph1(); });
    t.step([&] { T = &table(); });
    t.step([&] { G().setDataReset(9); });
    t.step([&] { T().setRows(cint(double(npontos) + 3)); });
    bool one = false;
    double p1 = 0, p2 = 0, xMin = 0, xMax = 0, typedXMax = 0;
    int32_t N = 0;
    // The boxes as this computation read them, for its comment.
    QString p1Text, p2Text, sizeText;
    ignoring([&] {
        p1Text = text2(0)->text();
        p2Text = text2(1)->text();
        sizeText = text2(2)->text();
        typedXMax = leading(text1(1));
    });
    t.step([&] { p1 = leading(text2(0)); });
    t.step([&] { p2 = leading(text2(1)); });
    t.step([&] {
        if (isNumber(sizeText)) {
            one = true;
            N = clng(leading(text2(2)));
        }
    });
    t.step([&] { G().setYAxisMin(leading(text1(2))); });
    t.step([&] { G().setYAxisMax(leading(text1(3))); });
    t.step([&] { xMin = leading(text1(0)); });
    t.step([&] { xMax = leading(text1(1)); });
    t.step([&] { G().setGraphType(6); });
    t.step([&] { T().setCols(6); });
    t.step([&] { G().setNumSets(5); });
    // A sweep that cannot advance ends the computation, whatever the answer.
    Graph4Range range;
    if (!sweepStarts(t, [&] {
            range = graph4Range(xMin, xMax, npontos);
            checkSweep(xMin, graph4CappedEnd(range.loopEnd), range.step);
        }))
        return;

    // One curve into the arrays, then into the chart, the table and the
    // print table; false when the window went away while it yielded.
    YieldPacer pacer;
    XTexts xTexts(QStringLiteral("0.0000"));
    int shown = 0;
    auto curve = [&](double size) {
        int computed = 0;
        shown = 0;
        t.step([&] { graph4Set({valoresx, valoresy}, computed, size, xMin, range.loopEnd, range.step, p1, p2); });
        t.step([&] { shown = graph4Shown({valoresx, valoresy}, computed, typedXMax); });
        t.step([&] { G().setNumPoints(shown); });
        for (int j = 1; j <= shown && !t.aborted(); ++j) {
            t.step([&] {
                const double x = at(valoresx, j);
                const double y = at(valoresy, j);
                const int set = G().thisSet();
                const QString xText = xTexts(j, x);
                imp.setImprotulo(j, cell(j, 0, xText));
                const QString yText = wholeText(y);
                cell(j, set, yText);
                // The two patterns differ only where no digit is left: the
                // print table then shows a 0 where the grid shows none.
                const bool digits = std::any_of(yText.begin(), yText.end(), [](QChar ch) { return ch.isDigit(); });
                imp.setImpcelula(set, j, digits ? yText : formatNumber(y, QStringLiteral("#####0")));
                G().setThisPoint(j);
                G().setLabelText(xText);
                G().setGraphData(y);
            });
            if (pacer.due() && !yieldPoint())
                return false;
        }
        return true;
    };
    if (one) {
        t.step([&] { T().setCols(2); });
        t.step([&] { G().setNumSets(1); });
        t.step([&] { G().setThisSet(1); });
        if (!curve(N))
            return;
    } else {
        for (int s = 1; s <= 5; ++s) {
            t.step([&] { G().setThisSet(s); });
            if (!curve(kGraph4Sizes[size_t(s - 1)]))
                return;
        }
    }

    const int sets = one ? 1 : 5;
    t.step([&] { cell(0, 0, QStringLiteral("Conf.Lev.")); });
    for (int s = 1; s <= sets; ++s) {
        const int32_t size = one ? N : kGraph4Sizes[size_t(s - 1)];
        t.step([&] { G().setThisSet(s); });
        t.step([&] { G().setLegendText(graph4Legend(size)); });
        t.step([&] { cell(0, s, G().legendText()); });
        t.step([&] { G().setColorData(kGraph4Colors[size_t(s - 1)]); });
        if (s == 1)
            t.step([&] { imp.setImprotulo(0, QStringLiteral("Conf.Lev.")); });
        t.step([&] { imp.setImpcelula(s, 0, double(size)); });
        if (s == 1)
            t.step([&] { imp.impcolunas = 5; });
    }
    writeChartTexts(t, G, imp,
                    {0, QStringLiteral("Consignment size (units)"), 10.0, graph4Title(p1, p2),
                     QStringLiteral("Sample size"), QStringLiteral("Confidence level")});
    t.step([&] {
        for (int col = 1; col < T().cols(); ++col)
            T().setColAlignment(col, 2);
    });
    t.step([&] { imp.impcolunas = G().numSets(); });

    t.step([&] {
        const int k = graph4CommentPoint(npontos, shown);
        const QString text = G().numSets() < 3
                                 ? graph4CommentOne(p1Text, p2Text, sizeText, at(valoresx, k), at(valoresy, k))
                                 : graph4CommentFive(p1Text, p2Text, at(valoresx, k), imp.impcelula(5, k));
        label(QStringLiteral("Label4"))->setText(text);
    });
}

void FGrafico4::validateText1(int index, IgnoreErrors& e)
{
    e.step([&] {
        const std::array<QString, 4> texts = {text1(0)->text(), text1(1)->text(), text1(2)->text(),
                                              text1(3)->text()};
        for (const QString& w : graph4ScaleWarnings(index, texts))
            warning(w);
    });
}

void FGrafico4::validateText2(int index, IgnoreErrors& e)
{
    e.step([&] {
        const std::array<QString, 3> texts = {text2(0)->text(), text2(1)->text(), text2(2)->text()};
        for (const QString& w : graph4SpecWarnings(index, texts))
            warning(w);
    });
}

} // namespace tav
