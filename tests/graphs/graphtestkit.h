#pragma once
// What the graph tests share: the table and the chart read back, the error
// number a call raises, a window's point arrays, and a box typed into and
// left the way a user does it.

#include "common/readings.h"
#include "common/runtime.h"
#include "common/tabelaimp.h"
#include "graphs/graphpage.h"
#include "graphs/pointsweep.h"
#include "platform/chart.h"
#include "platform/combo.h"
#include "platform/grid.h"
#include "testkit.h"

#include <QLineEdit>
#include <QStringList>
#include <cmath>
#include <functional>
#include <vector>

namespace tav::test {

// The text of one cell of the table (moves its current cell).
inline QString cellOf(Grid* g, int row, int col)
{
    g->setRow(row);
    g->setCol(col);
    return g->text();
}

// A whole row of the table, column 0 first.
inline QStringList rowOf(Grid* g, int row)
{
    QStringList out;
    for (int c = 0; c < g->cols(); ++c)
        out << cellOf(g, row, c);
    return out;
}

// The value of one point of one data set of the chart.
inline double dataOf(Chart* c, int set, int point)
{
    c->setThisSet(set);
    c->setThisPoint(point);
    return c->graphData();
}

// The number of the RuntimeError `f` raises, 0 when it raises none.
inline int errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

// A window's arrays, 0..500, as the relations write them.
struct WindowArrays {
    std::vector<double> x = std::vector<double>(501, 0.0);
    std::vector<double> y = std::vector<double>(501, 0.0);
    PointArrays pts{x, y};
    WindowArrays() = default;
    WindowArrays(const WindowArrays&) = delete;
};

// Writes `text` into the named box of the page; "Combo1" is the point count.
inline void setInput(GraphPage& page, const QString& box, const QString& text)
{
    if (box == QLatin1String("Combo1"))
        page.combo1()->setText(text);
    else
        page.ctl<QLineEdit>(box)->setText(text);
}

// Types into `box` and moves the focus on to `next` of the same window,
// which runs the checks of leaving the box.
inline void typeAndLeave(QLineEdit* box, const QString& text, QWidget* next)
{
    box->setFocus();
    type(box, text);
    next->setFocus();
}


// What a graph page shows of its last computation: the chart's points (of
// Graph1, and of Graph2 where the page has one), every cell of the table
// and every row of the print table.
struct Shown {
    QList<QList<double>> chart;  // [chart * 5 + set - 1][point - 1]
    QStringList chartLabels;     // Graph1's, points 1..NumPoints
    QList<QStringList> grid;     // the rows of the table up to the last one written
    QStringList printLabels;     // improtulo 0..500
    QList<QVariantList> printCells; // impcelula 0..10 by row 0..500
    int printRows = 0;
    QString printTitle;
    bool operator==(const Shown&) const = default;
};

inline QList<Chart*> chartsOf(GraphPage& g)
{
    QList<Chart*> out{g.graph1()};
    if (auto* second = g.widget()->findChild<Chart*>(QStringLiteral("Graph2")))
        out << second;
    return out;
}

// `charts` false: the charts are not read (reading a point moves the current
// set and point of a chart, which a running computation relies on).
inline Shown shownOf(GraphPage& g, bool charts = true)
{
    Shown s;
    for (Chart* c : charts ? chartsOf(g) : QList<Chart*>())
        for (int set = 1; set <= Chart::kMaxSets; ++set) {
            QList<double> v;
            if (set <= c->numSets())
                for (int p = 1; p <= c->numPoints(); ++p)
                    v << dataOf(c, set, p);
            s.chart << v;
        }
    Chart* c = g.graph1();
    for (int p = 1; charts && p <= c->numPoints(); ++p) {
        c->setThisPoint(p);
        s.chartLabels << c->labelText();
    }
    for (int r = 0; r < g.grid1()->rows(); ++r)
        s.grid << rowOf(g.grid1(), r);
    // Empty rows at the end are what the point count leaves, not data.
    while (!s.grid.isEmpty() && s.grid.last().join(QString()).isEmpty())
        s.grid.removeLast();
    const TabelaImp& t = tabelaimp();
    for (int r = 0; r < TabelaImp::kRows; ++r) {
        s.printLabels << t.improtulo(r);
        QVariantList cells;
        for (int col = 0; col < TabelaImp::kCols; ++col)
            cells << t.impcelula(col, r);
        s.printCells << cells;
    }
    s.printRows = t.implinhas;
    s.printTitle = t.imptitulo;
    return s;
}

// A table or print-table text read as a number: grouping commas dropped,
// an empty text none.
inline bool numberIn(const QVariant& cell, double* v)
{
    if (cell.typeId() == QMetaType::Double || cell.typeId() == QMetaType::Int)
        return *v = cell.toDouble(), true;
    QString t = cell.toString().trimmed();
    t.remove(QLatin1Char(','));
    if (t.isEmpty() || !isNumber(t))
        return false;
    *v = leadingValue(t);
    return true;
}

// Empty when the chart's points, the table's rows and the print table's
// rows agree: as many rows as points, the same x texts in the table and the
// print table, each value of the table the chart's value as written, and
// nothing written beyond the last point; else what disagrees.
inline QString disagreement(GraphPage& g)
{
    Chart* c = g.graph1();
    Grid* grid = g.grid1();
    const TabelaImp& t = tabelaimp();
    const int points = c->numPoints();
    if (t.implinhas != points)
        return QStringLiteral("print rows %1, chart points %2").arg(t.implinhas).arg(points);
    if (grid->rows() < points + 1)
        return QStringLiteral("table rows %1, chart points %2").arg(grid->rows()).arg(points);
    const QList<Chart*> charts = chartsOf(g);
    for (int k = 1; k < grid->rows(); ++k) {
        const QStringList row = rowOf(grid, k);
        if (k > points) {
            if (row.join(QString()) != QString())
                return QStringLiteral("table row %1 beyond the points: %2").arg(k).arg(row.join(QLatin1Char('|')));
            continue;
        }
        if (row[0].isEmpty() || row[0] != t.improtulo(k))
            return QStringLiteral("row %1: table x '%2', print x '%3'").arg(k).arg(row[0], t.improtulo(k));
        for (int col = 1; col < row.size(); ++col) {
            double shown = 0, printed = 0;
            if (!numberIn(row[col], &shown))
                continue;
            if (!numberIn(t.impcelula(col, k), &printed) || std::fabs(printed - shown) > 1e-9 * std::fabs(shown))
                return QStringLiteral("row %1 column %2: table '%3', print '%4'")
                    .arg(k).arg(col).arg(row[col], t.impcelula(col, k).toString());
            // The second chart holds the page's second column.
            Chart* chart = charts.size() > 1 && col == 2 ? charts[1] : c;
            const int set = chart == c ? col : 1;
            if (set > chart->numSets())
                continue;
            const double y = dataOf(chart, set, k);
            if (std::fabs(y - shown) > 0.5 + 1e-9 * std::fabs(y))
                return QStringLiteral("row %1 column %2: table '%3', chart %4").arg(k).arg(col).arg(row[col]).arg(y);
        }
    }
    for (int k = points + 1; k < TabelaImp::kRows; ++k) {
        if (!t.improtulo(k).isEmpty())
            return QStringLiteral("print row %1 beyond the points: %2").arg(k).arg(t.improtulo(k));
        for (int col = 1; col < TabelaImp::kCols; ++col)
            if (!t.impcelula(col, k).toString().isEmpty())
                return QStringLiteral("print row %1 column %2 beyond the points").arg(k).arg(col);
    }
    return {};
}

} // namespace tav::test
