#include "graphs/fgrafico12.h"

#include "common/errors.h"
#include "common/format.h"
#include "common/messages.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "common/tabelaimp.h"
#include "graphs/graphdraft.h"
#include "graphs/graphtexts.h"
#include "graphs/relation12.h"
#include "platform/chart.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace tav {

namespace {

GraphSpec makeSpec()
{
    GraphSpec s;
    for (int v = 10; v <= 300; v += 10)
        s.comboValues << v;
    s.comboDefault = QStringLiteral("100");
    s.gridRows = 50;
    s.gridCols = 3;
    s.colWidths = {1300, 2000, 2000};
    s.centred = {1, 2};
    s.gridWidthFromColumns = true;
    s.loadAdvice = QStringLiteral("Check your system for Grid32.ocx and Graph32.ocx");
    s.loadTitle = QStringLiteral("Error Graphic 12");
    s.computeAdvice = QStringLiteral("Unexpected error. Try again with new inputs");
    s.computeTitle = QStringLiteral("Error Graphic12(calc)");
    s.comboSetsGridRows = true;
    s.resetIndex = 1;
    s.extraHand = {QStringLiteral("calcula_2")};
    s.viewTable = QStringLiteral("meniViewTable");
    s.graph = QRect(2805, 1395, 5730, 2985);
    s.grid = QRect(2880, 1410, 2475, 6165);
    s.yColumn = QStringLiteral("T.Lag (Y)");
    s.xColumn = QStringLiteral("M.Effic. (X)");
    return s;
}

} // namespace

// Watches Graph1 for the view switch and the refusal-axis boxes for the
// focus leaving them.
class FGrafico12::Watcher : public QObject {
public:
    Watcher(FGrafico12* page, QObject* parent) : QObject(parent), page_(page) {}
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    FGrafico12* page_;
};

FGrafico12::FGrafico12()
    : GraphPage(QStringLiteral("FGrafico12"), QStringLiteral("Graphic 12"),
                GraphLayout{QRect(75, 1410, 2585, 2025), QRect(75, 3495, 2585, 2385), QRect(75, 5910, 2585, 1305),
                            {0, 1, 2, 3}, false, 5, true},
                makeSpec())
{
    recusadas.assign(501, 0.0);
}

Chart* FGrafico12::graph2() { return ctl<Chart>(QStringLiteral("Graph2")); }
QList<Chart*> FGrafico12::charts() { return {graph1(), graph2()}; }
QLineEdit* FGrafico12::text3(int index) { return ctl<QLineEdit>(QStringLiteral("Text3"), index); }

void FGrafico12::buildPage(FormWidget* w)
{
    QWidget* c = w->client();
    // Owned by the window, so that it goes with the controls it watches.
    auto* watcher = new Watcher(this, w);
    auto* second = place<Chart>(c, QStringLiteral("Graph2"), 2790, 4590, 5730, 2985);
    if (auto* first = w->findChild<Chart*>(QStringLiteral("Graph1"))) {
        first->installEventFilter(watcher);
        second->setVisible(first->isVisibleTo(c));
    }
    if (auto* specs = w->findChild<Frame*>(QStringLiteral("Frame2"))) {
        const QString captions[] = {QStringLiteral("Consign. size"), QStringLiteral("F.Prevalence"),
                                    QStringLiteral("P1"), QStringLiteral("P2"), QStringLiteral("Sample size")};
        for (int i = 0; i < 5; ++i)
            frameCaption(specs, arrayName(QStringLiteral("Label5"), i), 90, 285 + 345 * i, 1200, 255,
                         captions[i]);
    }
    if (auto* axis = w->findChild<Frame*>(QStringLiteral("Frame3"))) {
        // One column as in Frame1: the axis over the boxes, Min and Max
        // beside them.
        const QString captions[] = {QStringLiteral("Ref.Consig. (Y)"), QStringLiteral("Min"), QStringLiteral("Max")};
        const int lefts[] = {330, 90, 90}, tops[] = {300, 600, 930};
        for (int i = 0; i < 3; ++i)
            frameCaption(axis, arrayName(QStringLiteral("Label6"), i), lefts[i], tops[i], i == 0 ? 1500 : 400, 255,
                         captions[i], true);
        for (int i = 0; i < 2; ++i)
            if (auto* box = axis->findChild<QLineEdit*>(arrayName(QStringLiteral("Text3"), i))) {
                box->setText(i == 0 ? QStringLiteral("0") : QStringLiteral("100"));
                box->installEventFilter(watcher);
            }
    }
    heading(c, arrayName(QStringLiteral("Label2"), 4), 2805, 795, 8670, 510,
            QStringLiteral("Measure efficacy and Appropriated Level of Protection"), /*wrap=*/false);
    commentLabel(c, QStringLiteral("Label3"), 8655, 1410, 3000, 6240);
}

void FGrafico12::loadHeading(TrapErrors& t)
{
    Q_UNUSED(t);
    // Nothing of an earlier visit survives.
    recusadas.assign(501, 0.0);
}

bool FGrafico12::Watcher::eventFilter(QObject* watched, QEvent* e)
{
    FGrafico12* page = page_;
    const QString name = watched->objectName();
    if (name == QLatin1String("Graph1") && (e->type() == QEvent::ShowToParent || e->type() == QEvent::HideToParent)) {
        // The charts are one view: the view switch shows or hides both.
        if (FormWidget* w = page->widgetIfLoaded())
            if (auto* second = w->findChild<Chart*>(QStringLiteral("Graph2")))
                second->setVisible(e->type() == QEvent::ShowToParent);
    } else if (name.startsWith(QLatin1String("Text3_")) && e->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        QWidget* to = QApplication::focusWidget();
        FormWidget* w = page->widgetIfLoaded();
        const bool inWindow = to && w && to != watched && w->isAncestorOf(to);
        if (inWindow && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
            && reason != Qt::MenuBarFocusReason) {
            const int index = name.mid(6).toInt();
            QPointer<FormWidget> guard(w);
            QTimer::singleShot(0, page, [page, guard, index] {
                if (guard && guard == page->widgetIfLoaded())
                    runHandler([&] { page->Text3_Validate(index); });
            });
        }
    }
    return false;
}

void FGrafico12::defaults(IgnoreErrors& e)
{
    e.step([&] { text1(2)->setText(generalText(0.1)); });
    e.step([&] { text1(3)->setText(QStringLiteral("1000000")); });
    e.step([&] { text1(0)->setText(generalText(0.1)); });
    e.step([&] { text1(1)->setText(generalText(0.9999)); });
    e.step([&] { text2(0)->setText(QStringLiteral("4000")); });
    e.step([&] { text2(1)->setText(generalText(0.3)); });
    e.step([&] { text2(4)->setText(QStringLiteral("25")); });
    e.step([&] { text2(2)->setText(generalText(0.2)); });
    e.step([&] { text2(3)->setText(generalText(0.2)); });
    e.step([&] { text3(0)->setText(QStringLiteral("0")); });
    e.step([&] { text3(1)->setText(QStringLiteral("100")); });
    e.step([&] { combo1()->setText(QStringLiteral("100")); });
}

void FGrafico12::compute(int index, TrapErrors& t)
{
    Q_UNUSED(index);
    LookedUp<Chart> G1;
    LookedUp<Chart> G2;
    LookedUp<TableDraft> T;
    auto cell = [&](int row, int col, const QString& text) { return putCell(T(), row, col, text); };
    TabelaImp& imp = printTable();

    t.step([&] { G1 = graph1(); });
    t.step([&] { G2 = graph2(); });
    t.step([&] { T = &table(); });
    t.step([&] { G1().setDataReset(9); });
    t.step([&] { G2().setDataReset(9); });
    EfficacyInputs in;
    t.step([&] { in.p1 = leading(text2(2)); });
    t.step([&] { in.p2 = leading(text2(3)); });
    t.step([&] { in.N = clng(leading(text2(0))); });
    t.step([&] { in.f = csng(leading(text2(1))); });
    t.step([&] { in.n = clng(leading(text2(4))); });
    t.step([&] { in.xMin = leading(text1(0)); });
    t.step([&] { in.xMax = leading(text1(1)); });
    t.step([&] { G1().setYAxisMax(leading(text1(3))); });
    t.step([&] { G1().setYAxisMin(leading(text1(2))); });
    t.step([&] { G2().setYAxisMax(leading(text3(1))); });
    t.step([&] { G2().setYAxisMin(leading(text3(0))); });
    t.step([&] { G1().setGraphType(7); });
    t.step([&] { G2().setGraphType(6); });
    t.step([&] { G1().setNumSets(1); });
    t.step([&] { G1().setThisSet(1); });
    t.step([&] { G2().setNumSets(1); });
    t.step([&] { G2().setThisSet(1); });
    t.step([&] { G1().setColorData(9); });
    t.step([&] { G2().setColorData(12); });

    double step = 0;
    int P = 0;
    // A sweep that cannot advance ends the computation, whatever the answer.
    if (!sweepStarts(t, [&] {
            step = efficacyStep(in, npontos);
            checkSweep(in.xMin, in.xMax, step);
        }))
        return;
    t.step([&] {
        in.yMax = G1().yAxisMax();
        efficacyPoints({{valoresx, valoresy}, recusadas}, P, in, step);
    });
    t.step([&] { T().setRows(P + 1); });
    // The chart keeps at least one point: with none computed it stays reset.
    if (P > 0) {
        t.step([&] { G1().setNumPoints(P); });
        t.step([&] { G2().setNumPoints(P); });
    }
    for (int k = 1; k <= P && !t.aborted(); ++k)
        t.step([&] {
            const double x = at(valoresx, k);
            const double lag = at(valoresy, k);
            const double R = at(recusadas, k);
            imp.setImprotulo(k, cell(k, 0, efficacyText(x)));
            imp.setImpcelula(1, k, cell(k, 1, timeLagText(lag)));
            imp.setImpcelula(2, k, cell(k, 2, refusedText(R)));
            G1().setThisPoint(k);
            G2().setThisPoint(k);
            G1().setLabelText(efficacyLabel(x));
            G2().setLabelText(G1().labelText());
            G1().setGraphData(lag);
            G2().setGraphData(R);
        });
    EfficacyShape shape;
    t.step([&] { shape = efficacyShape({{valoresx, valoresy}, recusadas}, P); });

    t.step([&] { cell(0, 0, QStringLiteral("Efficacy")); });
    t.step([&] { cell(0, 1, QStringLiteral("Years between introd.")); });
    t.step([&] { cell(0, 2, QStringLiteral("Refused consig. %")); });
    t.step([&] { imp.setImprotulo(0, QStringLiteral("Effic.")); });
    t.step([&] { imp.setImpcelula(1, 0, QStringLiteral("Years")); });
    t.step([&] { imp.setImpcelula(2, 0, QStringLiteral("Refused consig. %")); });
    t.step([&] { imp.implinhas = P > 0 ? G1().numPoints() : 0; });
    t.step([&] { imp.impcolunas = 2; });
    t.step([&] { imp.impsubtitulo = QStringLiteral("Years between introd."); });
    t.step([&] { G1().setLabelEvery(G1().numPoints() / 5.0); });
    t.step([&] { G1().setTickEvery(cint(G1().labelEvery())); });
    t.step([&] { G2().setLabelEvery(G2().numPoints() / 5.0); });
    t.step([&] { G2().setTickEvery(cint(G2().labelEvery())); });
    t.step([&] { G1().setGraphTitle(QStringLiteral("Efficacy and years between introductions")); });
    t.step([&] { G2().setGraphTitle(QStringLiteral("Efficacy and refused consignaments")); });
    t.step([&] { imp.imptitulo = G1().graphTitle(); });
    t.step([&] { G1().setLeftTitle(QStringLiteral("Time lag (Years)")); });
    t.step([&] { G2().setLeftTitle(QStringLiteral("Refused Consig. (%)")); });
    t.step([&] { G1().setBottomTitle(QStringLiteral("Measure efficacy")); });
    t.step([&] { G2().setBottomTitle(G1().bottomTitle()); });
    t.step([&] {
        Label* l = label(QStringLiteral("Label3"));
        l->setText(efficacyComment(shape, in.xMax, l->text()));
    });
}

void FGrafico12::validateText1(int index, IgnoreErrors& e)
{
    e.step([&] {
        warnIf(efficacyScaleWarning(
            index, {text1(0)->text(), text1(1)->text(), text1(2)->text(), text1(3)->text()}));
    });
}

void FGrafico12::validateText2(int index, IgnoreErrors& e)
{
    e.step([&] {
        warnIf(efficacySpecWarning(
            index, {text2(0)->text(), text2(1)->text(), text2(2)->text(), text2(3)->text(), text2(4)->text()}));
    });
}

void FGrafico12::Text3_Validate(int index)
{
    ignoring([&] {
        QLineEdit* box = text3(index);
        const QString filled = refusalAxisText(index, box->text());
        if (filled != box->text())
            box->setText(filled);
    });
}

} // namespace tav
