#pragma once
// What the graph tests share: the table and the chart read back, the error
// number a call raises, a window's point arrays, and a box typed into and
// left the way a user does it.

#include "common/runtime.h"
#include "graphs/graphpage.h"
#include "graphs/pointsweep.h"
#include "platform/chart.h"
#include "platform/combo.h"
#include "platform/grid.h"
#include "testkit.h"

#include <QLineEdit>
#include <QStringList>
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

} // namespace tav::test
