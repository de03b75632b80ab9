#pragma once
// The frame every graph window shares: a toolbar page with the chart Graph1
// and the table Grid1 in one place (one shown at a time), the scale frame
// Frame1 (Text1_0 X min, Text1_1 X max, Text1_2 Y min, Text1_3 Y max, the
// point-count combo Combo1, the ok button calcula_0), the parameters frame
// Frame2 (Text2 or Text2_i, calcula_1), the defaults button Image1 and the
// View menu.
//
// How a page plugs in:
//  - construct GraphPage with its layout (frames and boxes) and its spec
//    (combo list and default, grid at load, error box texts, array size,
//    view menu names, where the chart and the grid stand);
//  - buildPage(w): the page's own controls (heading, labels, comment);
//  - loadHeading(): the load step that sets texts in code (optional);
//  - afterGridLayout(): anything the load does after the grid layout;
//  - defaults(e): writes the default texts, one e.step() per box; the frame
//    then runs calcula_Click(spec.resetIndex);
//  - compute(index, t): the computation, one t.step() per statement that can
//    fail; the frame opens the trap with the compute error box texts and
//    guards against a second start while the page yields (yieldPoint()).
//    It writes the table into table(), the print table into printTable()
//    and the data into the charts without drawing them; when it ends the
//    frame shows all three at once, and when it was aborted (or the window
//    went away) it shows nothing of it and puts the charts' data back;
//  - validateText1(i, e) / validateText2(i, e): the field checks, run when
//    the focus leaves a box for another control of the window; they warn
//    with warning() and never refuse the focus.
// The point count npontos follows Combo1; valoresx/valoresy hold the data
// set being computed (index 0 unused, at() raises past the last index).

#include "common/runtime.h"
#include "shell/page.h"

#include <QList>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QLineEdit;

namespace tav {

class Chart;
class ComboBox;
class ErrorHandler;
class Grid;
class IgnoreErrors;
class Label;
class TabelaImp;
class TableDraft;
class TrapErrors;
struct GraphDraft;

struct GraphLayout {
    QRect frame1, frame2, frame3;    // twips; frame3 empty when absent
    QList<int> text1;                // indexes of the scale boxes present
    bool text1Labels = false;        // "AutoScale" labels in their place
    int text2 = 0;                   // number of boxes, 0: one box named Text2
    bool resetBorder = false;        // Image1 designed with a single border
};

struct GraphSpec {
    // Load.
    QList<int> comboValues = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100}; // the N.Points list, ascending
    QString comboDefault;
    int gridRows = 2, gridCols = 2;
    QList<int> colWidths;            // twips, columns 0..
    QList<int> centred;              // value columns centred at load
    bool gridWidthFromColumns = false; // Width = sum of the widths + 300
    bool facesFirst = false;         // toolbar faces before the hand cursors
    QStringList extraHand;           // more clickable controls (calcula_2)
    QString loadAdvice, loadTitle;
    // Computation.
    QString computeAdvice = QStringLiteral("Try again with new inputs");
    QString computeTitle;
    int capacity = 501;              // valoresx/valoresy run 0..capacity-1
    bool comboSetsGridRows = false;  // Grid1.Rows = npontos + 1 on a change
    int resetIndex = 1;              // calcula_Click index of the defaults
    // Menus and places.
    QString viewMenu = QStringLiteral("menuView");
    QString viewGraph = QStringLiteral("menuViewGraph");
    QString viewTable = QStringLiteral("menuViewTable");
    QRect graph, grid;               // twips
    QString yColumn = QStringLiteral("S.Size (Y)");
    QString xColumn;                 // column labels of Frame1
};

class GraphPage : public ToolbarPage {
    Q_OBJECT
public:
    GraphPage(const QString& name, const QString& caption, GraphLayout layout, GraphSpec spec);
    ~GraphPage() override;
    const GraphLayout& layout() const { return layout_; }
    const GraphSpec& spec() const { return spec_; }

    // State kept while loaded.
    int16_t npontos = 0;
    std::vector<double> valoresx, valoresy;

    // Event procedures.
    void Combo1_Change();
    void Combo1_Click() { Combo1_Change(); }
    void Image1_Click();
    void calcula_Click(int index);
    void Image9_Click();
    void Image10_Click();
    void menuViewGraph_Click() { Image9_Click(); }
    void menuViewTable_Click() { Image10_Click(); }
    void Text1_Validate(int index);
    void Text2_Validate(int index);

    // A computation of this load of the window is running (and yielding).
    bool computing() const;

    // Controls by name.
    Chart* graph1();
    Grid* grid1();
    ComboBox* combo1();
    QLineEdit* text1(int index);
    // Text2_index, or the single Text2 with index -1.
    QLineEdit* text2(int index = -1);
    Label* label(const QString& name);

protected:
    void buildContent(FormWidget* w) final;
    void pageLoad() final;

    virtual void buildPage(FormWidget* w) { Q_UNUSED(w); }
    virtual void loadHeading(TrapErrors& t) { Q_UNUSED(t); }
    virtual void afterGridLayout(TrapErrors& t) { Q_UNUSED(t); }
    virtual void defaults(IgnoreErrors& e) = 0;
    virtual void compute(int index, TrapErrors& t) = 0;
    virtual void validateText1(int index, IgnoreErrors& e) { Q_UNUSED(index); Q_UNUSED(e); }
    virtual void validateText2(int index, IgnoreErrors& e) { Q_UNUSED(index); Q_UNUSED(e); }

    // The number a box reads as (numberOrLeading: 0 without one).
    static double leading(QLineEdit* box);
    // Row, Col and Text of the table being computed.
    void gridCell(int row, int col, const QString& text);
    // What the running computation writes in place of Grid1 and of the
    // print table; outside a computation "Object required".
    TableDraft& table();
    TabelaImp& printTable();
    // The charts a computation fills (Graph1; Graph12 adds Graph2).
    virtual QList<Chart*> charts();
    // The running computation ends without a result: the page keeps showing
    // the previous one, as after an Abort.
    void abandon();
    // The step that fixes a sweep's range and checks that it can advance
    // (checkSweep); when it fails the computation is abandoned, whatever
    // the answer in the box, and false comes back.
    bool sweepStarts(TrapErrors& t, const std::function<void()>& range);
    // Lets the window system handle pending events (the window repaints
    // during a long computation). False when the window was unloaded
    // meanwhile: the computation must stop without touching its controls.
    bool yieldPoint();

private:
    bool eventFilter(QObject* watched, QEvent* e) override;

    GraphLayout layout_;
    GraphSpec spec_;
    QPointer<FormWidget> computingIn_;
    GraphDraft* draft_ = nullptr;
    bool abandoned_ = false;
    // A point count picked while a computation ran, taken when it ends.
    bool comboPending_ = false;
    bool validating_ = false;
};

// The chart/table switch, on any window with Graph1, Grid1, Image9 and
// Image10; each statement ignores its own failure.
void mostragrafico(Form& frm);
void mostratabela(Form& frm);

// valoresx(i) and the like: index 0..size-1, else "Subscript out of range".
double& at(std::vector<double>& v, int i);

// A control a computation looks up once, in a step of its own: when that
// lookup failed and was ignored, every later use fails in turn with "Object
// required".
template <class T>
class LookedUp {
public:
    LookedUp& operator=(T* control)
    {
        p_ = control;
        return *this;
    }
    T& operator()() const
    {
        if (!p_)
            raise(ErrObjectRequired);
        return *p_;
    }

private:
    T* p_ = nullptr;
};

// The closing texts of a computation with one chart, in the order the pages
// write them: the print table's rows (NumPoints), columns (the chart's sets
// and `extraColumns`) and subtitle, LabelEvery = NumPoints / labelsPer and
// TickEvery from it, the chart's title, the print table's title read back
// from it, and the axis titles. One step each.
struct ChartTexts {
    int extraColumns = 0;
    QString subtitle;
    double labelsPer = 10.0;
    QString title, left, bottom;
};
void writeChartTexts(TrapErrors& t, LookedUp<Chart>& G, TabelaImp& imp, const ChartTexts& texts);

// Row, Col and Text of a grid, in that order; the text the cell took.
QString putCell(Grid& g, int row, int col, const QString& text);

// The warning box with `text`, unless the check passed (no text).
void warnIf(const QString& text);

} // namespace tav
