#include "common/format.h"
#include "platform/chart.h"
#include "platform/grid.h"

#include <QCoreApplication>
#include <QTest>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

// A graph page's computation at its largest: five sets of 500 points with
// their labels, legends, colours and titles, then the draw.
void fillChart(tav::Chart& c, const QStringList& labels)
{
    constexpr int kSets = 5, kPoints = 500;
    c.setDataReset(9);
    c.setGraphType(6);
    c.setYAxisMin(0);
    c.setYAxisMax(1000);
    c.setNumSets(kSets);
    for (int s = 1; s <= kSets; ++s) {
        c.setThisSet(s);
        c.setNumPoints(kPoints);
        for (int p = 1; p <= kPoints; ++p) {
            c.setThisPoint(p);
            c.setLabelText(labels[p - 1]);
            c.setGraphData(1000.0 * (1.0 - std::pow(1.0 - 0.01 * s, p / 50.0)));
        }
    }
    const int colours[] = {2, 6, 9, 12, 13};
    for (int s = 1; s <= kSets; ++s) {
        c.setThisSet(s);
        c.setLegendText(QStringLiteral("CL = 0.%1").arg(90 + s));
        c.setColorData(colours[s - 1]);
    }
    c.setLabelEvery(kPoints / 10.0);
    c.setTickEvery(50);
    c.setGraphTitle(QStringLiteral("Sample size x RDL: Consignment size = 1000"));
    c.setLeftTitle(QStringLiteral("Sample size"));
    c.setBottomTitle(QStringLiteral("Required detection level"));
    c.setDrawMode(2);
}

QStringList chartLabels()
{
    QStringList labels;
    for (int p = 1; p <= 500; ++p)
        labels << tav::formatNumber(p * 0.00004, QStringLiteral("0.0000"));
    return labels;
}

} // namespace

// Filled and drawn while shown, up to the next frame laid out and painted.
static void BM_ChartFill5x500(benchmark::State& state)
{
    const QStringList labels = chartLabels();
    tav::Chart c;
    c.resize(584, 342);
    c.show();
    if (!QTest::qWaitForWindowExposed(&c))
        state.SkipWithError("not exposed");
    for (auto _ : state) {
        fillChart(c, labels);
        QCoreApplication::processEvents();
        c.repaint();
    }
}
BENCHMARK(BM_ChartFill5x500)->Unit(benchmark::kMillisecond);

// The print and save path: the chart's picture at its size on the page.
static void BM_ChartImage5x500(benchmark::State& state)
{
    tav::Chart c;
    c.setWidthTwips(8760);
    c.setHeightTwips(5130);
    fillChart(c, chartLabels());
    for (auto _ : state) {
        c.setBackground(15);
        c.refresh();
        c.setDrawMode(3);
        benchmark::DoNotOptimize(c.image());
        c.setBackground(0);
        c.setDrawMode(2);
    }
}
BENCHMARK(BM_ChartImage5x500)->Unit(benchmark::kMillisecond);

// A table of 500 rows of seven cells, written cell by cell through Row, Col
// and Text while shown, up to the next frame painted.
static void BM_GridFill500x7(benchmark::State& state)
{
    QStringList texts;
    for (int r = 0; r <= 500; ++r)
        texts << tav::formatNumber(r * 13.37, QStringLiteral("###,##0"));
    tav::Grid g;
    g.resize(584, 342);
    g.setCols(7);
    g.show();
    if (!QTest::qWaitForWindowExposed(&g))
        state.SkipWithError("not exposed");
    for (auto _ : state) {
        g.setRows(501);
        for (int r = 0; r <= 500; ++r) {
            g.setRow(r);
            for (int c = 0; c < 7; ++c) {
                g.setCol(c);
                g.setText(texts[r]);
                benchmark::DoNotOptimize(g.text());
            }
        }
        for (int c = 1; c < 7; ++c)
            g.setColAlignment(c, 2);
        QCoreApplication::processEvents();
        g.repaint();
        state.PauseTiming();
        g.setRows(1); // the next fill starts from an empty table
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GridFill500x7)->Unit(benchmark::kMillisecond);

