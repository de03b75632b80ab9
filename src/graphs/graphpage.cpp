#include "graphs/graphpage.h"

#include "common/errors.h"
#include "common/messages.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "common/tabelaimp.h"
#include "common/yields.h"
#include "graphs/graphdraft.h"
#include "graphs/graphtexts.h"
#include "platform/actions.h"
#include "platform/chart.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/pictures.h"
#include "shell/indice.h"

#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

namespace tav {

namespace {

constexpr uint32_t kLightYellow = 0x00C0FFFF;
constexpr uint32_t kDarkBlue = 0x00800000;

PageDesign graphDesign(const QString& caption)
{
    PageDesign d;
    d.caption = caption;
    d.backColor = kLightYellow;
    d.titleBand = false; // the heading is the page's own
    return d;
}

Frame* frame(QWidget* parent, const QString& name, const QRect& r, const QString& caption)
{
    Frame* f = place<Frame>(parent, name, r.x(), r.y(), r.width(), r.height());
    f->setTitle(caption);
    f->setFont(arial(9.75, true));
    return f;
}

ImageButton* okButton(QWidget* parent, int index, int left, int top)
{
    auto* ok = place<ImageButton>(parent, arrayName(QStringLiteral("calcula"), index), left, top, 495, 405);
    ok->setPicture(pictures::word(QStringLiteral("ok"), 33, 27));
    return ok;
}

Label* scaleLabel(QWidget* parent, int index, int left, int top, int width, const QString& text)
{
    return frameCaption(parent, arrayName(QStringLiteral("Label1"), index), left, top, width, 255, text, true);
}

QPixmap face(int i) { return indice().ctl<PictureBox>(QStringLiteral("Picture3"), i)->picture(); }

} // namespace

double& at(std::vector<double>& v, int i)
{
    if (i < 0 || size_t(i) >= v.size())
        raise(ErrSubscript);
    return v[size_t(i)];
}

void mostragrafico(Form& frm)
{
    IgnoreErrors e;
    e.step([&] { frm.ctl<ImageButton>(QStringLiteral("Image9"))->setPicture(face(1)); });
    e.step([&] { frm.ctl(QStringLiteral("Image9"))->setEnabled(false); });
    e.step([&] { frm.ctl(QStringLiteral("Image10"))->setEnabled(true); });
    e.step([&] { frm.ctl<ImageButton>(QStringLiteral("Image10"))->setPicture(face(2)); });
    e.step([&] { frm.ctl(QStringLiteral("Grid1"))->setVisible(false); });
    e.step([&] { frm.ctl(QStringLiteral("Graph1"))->setVisible(true); });
}

void mostratabela(Form& frm)
{
    IgnoreErrors e;
    e.step([&] { frm.ctl<ImageButton>(QStringLiteral("Image10"))->setPicture(face(3)); });
    e.step([&] { frm.ctl(QStringLiteral("Image10"))->setEnabled(false); });
    e.step([&] { frm.ctl(QStringLiteral("Image9"))->setEnabled(true); });
    e.step([&] { frm.ctl<ImageButton>(QStringLiteral("Image9"))->setPicture(face(0)); });
    e.step([&] { frm.ctl(QStringLiteral("Graph1"))->setVisible(false); });
    e.step([&] { frm.ctl(QStringLiteral("Grid1"))->setVisible(true); });
}

GraphPage::GraphPage(const QString& name, const QString& caption, GraphLayout layout, GraphSpec spec)
    : ToolbarPage(name, graphDesign(caption)), layout_(std::move(layout)), spec_(std::move(spec))
{
    valoresx.assign(size_t(spec_.capacity), 0.0);
    valoresy.assign(size_t(spec_.capacity), 0.0);
}

GraphPage::~GraphPage() = default;

Chart* GraphPage::graph1() { return ctl<Chart>(QStringLiteral("Graph1")); }
Grid* GraphPage::grid1() { return ctl<Grid>(QStringLiteral("Grid1")); }
ComboBox* GraphPage::combo1() { return ctl<ComboBox>(QStringLiteral("Combo1")); }
QLineEdit* GraphPage::text1(int index) { return ctl<QLineEdit>(QStringLiteral("Text1"), index); }
QLineEdit* GraphPage::text2(int index)
{
    return index < 0 ? ctl<QLineEdit>(QStringLiteral("Text2")) : ctl<QLineEdit>(QStringLiteral("Text2"), index);
}
Label* GraphPage::label(const QString& name) { return ctl<Label>(name); }

double GraphPage::leading(QLineEdit* box) { return numberOrLeading(box->text()); }

void GraphPage::gridCell(int row, int col, const QString& text) { putCell(table(), row, col, text); }

TableDraft& GraphPage::table()
{
    if (!draft_)
        raise(ErrObjectRequired);
    return draft_->table;
}

TabelaImp& GraphPage::printTable()
{
    if (!draft_)
        raise(ErrObjectRequired);
    return *draft_->print;
}

QList<Chart*> GraphPage::charts() { return {graph1()}; }

void GraphPage::abandon() { abandoned_ = true; }

bool GraphPage::sweepStarts(TrapErrors& t, const std::function<void()>& range)
{
    bool started = false;
    t.step([&] {
        range();
        started = true;
    });
    if (!started)
        abandon();
    return started;
}

void writeChartTexts(TrapErrors& t, LookedUp<Chart>& G, TabelaImp& imp, const ChartTexts& x)
{
    t.step([&] { imp.implinhas = G().numPoints(); });
    t.step([&] { imp.impcolunas = G().numSets() + x.extraColumns; });
    t.step([&] { imp.impsubtitulo = x.subtitle; });
    t.step([&] { G().setLabelEvery(G().numPoints() / x.labelsPer); });
    t.step([&] { G().setTickEvery(cint(G().labelEvery())); });
    t.step([&] { G().setGraphTitle(x.title); });
    t.step([&] { imp.imptitulo = G().graphTitle(); });
    t.step([&] { G().setLeftTitle(x.left); });
    t.step([&] { G().setBottomTitle(x.bottom); });
}

QString putCell(Grid& g, int row, int col, const QString& text)
{
    g.setRow(row);
    g.setCol(col);
    g.setText(text);
    return g.text();
}

void warnIf(const QString& text)
{
    if (!text.isEmpty())
        warning(text);
}

void GraphPage::buildContent(FormWidget* w)
{
    QWidget* c = w->client();
    const GraphLayout& g = layout_;

    Frame* scale = frame(c, QStringLiteral("Frame1"), g.frame1, QStringLiteral("Change scale"));
    scaleLabel(scale, 0, 570, 300, 900, spec_.yColumn);
    scaleLabel(scale, 1, 1620, 300, 900, spec_.xColumn);
    scaleLabel(scale, 3, 90, 600, 400, QStringLiteral("Min"));
    scaleLabel(scale, 4, 90, 930, 400, QStringLiteral("Max"));
    for (int i : g.text1) {
        // X min and max in the right column, Y min and max in the left one.
        const int left = i < 2 ? 1490 : 500;
        const int top = i % 2 == 0 ? 570 : 900;
        const QString name = arrayName(QStringLiteral("Text1"), i);
        if (g.text1Labels) {
            // Wide enough for the whole word in the frame's type.
            place<Label>(scale, name, left, top, 960, 285)->setText(QStringLiteral("AutoScale"));
        } else {
            // The y boxes show up to seven digits whole.
            auto* box = place<TextBox>(scale, name, left, top, i < 2 ? 825 : 870, 285);
            box->installEventFilter(this);
        }
    }
    Label* points = place<Label>(scale, arrayName(QStringLiteral("Label1"), 2), 530, 1305, 1000, 255);
    points->setText(QStringLiteral("N.Points"));
    points->setFont(arial(9.75, true));
    auto* combo = place<ComboBox>(scale, QStringLiteral("Combo1"), 545, 1560, 840, 315);
    onSignal(combo, &ComboBox::changed, this, [this] { Combo1_Change(); });
    onSignal(combo, &ComboBox::clicked, this, [this] { Combo1_Click(); });
    onSignal(okButton(scale, 0, 1800, 1470), &ImageButton::clicked, this, [this] { calcula_Click(0); });

    Frame* specs = frame(c, QStringLiteral("Frame2"), g.frame2,
                         g.text2 == 0 ? QStringLiteral("Consignment size") : QStringLiteral("Specifications"));
    if (g.text2 == 0)
        place<TextBox>(specs, QStringLiteral("Text2"), 285, 540, 930, 315)->installEventFilter(this);
    for (int i = 0; i < g.text2; ++i)
        place<TextBox>(specs, arrayName(QStringLiteral("Text2"), i), 1305, 270 + 345 * i, 930, 285)
            ->installEventFilter(this);
    onSignal(okButton(specs, 1, 1800, g.frame2.height() - 450), &ImageButton::clicked, this,
            [this] { calcula_Click(1); });

    int below = g.frame2.y() + g.frame2.height();
    if (!g.frame3.isEmpty()) {
        Frame* axis = frame(c, QStringLiteral("Frame3"), g.frame3, QStringLiteral("Change scale"));
        place<TextBox>(axis, arrayName(QStringLiteral("Text3"), 0), 500, 570, 825, 285);
        place<TextBox>(axis, arrayName(QStringLiteral("Text3"), 1), 500, 900, 825, 285);
        onSignal(okButton(axis, 2, 1800, 840), &ImageButton::clicked, this, [this] { calcula_Click(2); });
        below = g.frame3.y() + g.frame3.height();
    }

    // The defaults button stands between the frames where there is room.
    const int gap = g.frame2.y() - (g.frame1.y() + g.frame1.height());
    const int top = gap >= 435 ? g.frame1.y() + g.frame1.height() + (gap - 375) / 2 : below + 60;
    auto* reset = place<ImageButton>(c, QStringLiteral("Image1"), g.frame1.x() + 300, top, 1905, 375);
    reset->setPicture(pictures::word(QStringLiteral("Reset to default values"), 127, 25));
    reset->setBorderStyle(g.resetBorder ? 1 : 0);
    onSignal(reset, &ImageButton::clicked, this, [this] { Image1_Click(); });

    const QRect gr = spec_.graph.isEmpty() ? QRect(2850, 1980, 8760, 5130) : spec_.graph;
    place<Chart>(c, QStringLiteral("Graph1"), gr.x(), gr.y(), gr.width(), gr.height());
    const QRect tr = spec_.grid.isEmpty() ? gr : spec_.grid;
    place<Grid>(c, QStringLiteral("Grid1"), tr.x(), tr.y(), tr.width(), tr.height());

    if (auto* b = w->findChild<ImageButton*>(QStringLiteral("Image9")))
        onSignal(b, &ImageButton::clicked, this, [this] { Image9_Click(); });
    if (auto* b = w->findChild<ImageButton*>(QStringLiteral("Image10")))
        onSignal(b, &ImageButton::clicked, this, [this] { Image10_Click(); });

    QMenu* view = addMenu(w, spec_.viewMenu, QStringLiteral("View"));
    onSignal(addItem(view, spec_.viewGraph, QStringLiteral("Graph")), &QAction::triggered, this,
            [this] { menuViewGraph_Click(); });
    onSignal(addItem(view, spec_.viewTable, QStringLiteral("Table")), &QAction::triggered, this,
            [this] { menuViewTable_Click(); });

    buildPage(w);
}

void GraphPage::pageLoad()
{
    // Nothing of an earlier visit survives.
    npontos = 0;
    valoresx.assign(size_t(spec_.capacity), 0.0);
    valoresy.assign(size_t(spec_.capacity), 0.0);

    TrapErrors t(spec_.loadAdvice, spec_.loadTitle);
    QStringList hand = {QStringLiteral("calcula_0"), QStringLiteral("calcula_1"), QStringLiteral("Image1"),
                        QStringLiteral("Image6"),    QStringLiteral("Image4"),    QStringLiteral("Image3"),
                        QStringLiteral("Image7"),    QStringLiteral("Image8"),    QStringLiteral("Image9"),
                        QStringLiteral("Image10"),   QStringLiteral("Image11")};
    hand += spec_.extraHand;
    auto cursors = [&] {
        for (const QString& name : hand)
            if (!t.step([&] { setHandCursor(ctl(name)); }))
                return false;
        return true;
    };
    // The table is available, the chart (shown at load) is not.
    auto faces = [&] {
        return t.step([&] { ctl<ImageButton>(QStringLiteral("Image10"))->setPicture(face(2)); })
            && t.step([&] { ctl<ImageButton>(QStringLiteral("Image9"))->setPicture(face(1)); })
            && t.step([&] { ctl(QStringLiteral("Image9"))->setEnabled(false); });
    };
    if (!(spec_.facesFirst ? faces() && cursors() : cursors() && faces()))
        return;
    loadHeading(t);
    if (t.aborted())
        return;

    bool ok = t.step([&] { combo1()->clear(); });
    for (int v : spec_.comboValues)
        ok = ok && t.step([&] { combo1()->addItem(QString::number(v)); });
    ok = ok && t.step([&] { combo1()->setText(spec_.comboDefault); });

    ok = ok && t.step([&] { grid1()->setRows(spec_.gridRows); }) && t.step([&] { grid1()->setCols(spec_.gridCols); })
        && t.step([&] { grid1()->setFixedRows(1); }) && t.step([&] { grid1()->setFixedCols(1); })
        && t.step([&] { grid1()->setFixedAlignment(0, 2); }) && t.step([&] { grid1()->setRow(0); });
    int total = 0;
    for (int i = 0; ok && i < spec_.colWidths.size(); ++i) {
        total += spec_.colWidths[i];
        ok = t.step([&] { grid1()->setColWidth(i, spec_.colWidths[i]); });
    }
    for (int col : spec_.centred)
        ok = ok && t.step([&] { grid1()->setColAlignment(col, 2); });
    if (spec_.gridWidthFromColumns)
        ok = ok && t.step([&] { grid1()->setWidthTwips(total + 300); });
    if (!ok)
        return;
    afterGridLayout(t);
    if (t.aborted())
        return;

    t.step([&] { Image1_Click(); }) && t.step([&] { grid1()->setVisible(false); })
        && t.step([&] { graph1()->setVisible(true); });
}

void GraphPage::Combo1_Change()
{
    // The running computation keeps the count and the rows it started with.
    if (computing()) {
        comboPending_ = true;
        return;
    }
    IgnoreErrors e;
    e.step([&] {
        const QString text = combo1()->text();
        if (!isNumber(text))
            return;
        npontos = cint(localeValue(text));
    });
    if (spec_.comboSetsGridRows)
        e.step([&] { grid1()->setRows(int(npontos) + 1); });
}

void GraphPage::Image1_Click()
{
    // The defaults rewrite the boxes the running computation reads.
    if (computing())
        return;
    IgnoreErrors e;
    defaults(e);
    e.step([&] { calcula_Click(spec_.resetIndex); });
}

void GraphPage::calcula_Click(int index)
{
    // A click handled while a computation yields would overwrite its arrays
    // and the print table halfway: it is ignored.
    if (computing() || !isLoaded())
        return;
    FormWidget* in = widgetIfLoaded();
    std::unique_ptr<GraphDraft> draft;
    ignoring([&] { draft = std::make_unique<GraphDraft>(*grid1(), charts()); });
    if (!draft)
        return;
    computingIn_ = in;
    draft_ = draft.get();
    abandoned_ = false;
    bool aborted = true;
    {
        struct Done {
            GraphPage& page;
            ~Done()
            {
                page.computingIn_ = nullptr;
                page.draft_ = nullptr;
            }
        } done{*this};
        TrapErrors t(spec_.computeAdvice, spec_.computeTitle);
        compute(index, t);
        aborted = t.aborted() || abandoned_;
    }
    // The window went away while the computation yielded: nothing to show.
    if (widgetIfLoaded() != in) {
        comboPending_ = false;
        return;
    }
    if (aborted) {
        // Drawn again too: a print or save during a yield draws the chart
        // from the data it holds.
        for (size_t i = 0; i < draft->before.size(); ++i)
            ignoring([&] {
                draft->before[i].restore(*draft->charts[int(i)]);
                draft->charts[int(i)]->setDrawMode(2);
            });
    } else {
        ignoring([&] { draft->table.commitTo(*grid1()); });
        tabelaimp() = *draft->print;
        for (Chart* c : draft->charts)
            ignoring([&] { c->setDrawMode(2); });
    }
    if (comboPending_) {
        comboPending_ = false;
        Combo1_Change();
    }
}

bool GraphPage::computing() const { return computingIn_ && computingIn_ == widgetIfLoaded(); }

bool GraphPage::yieldPoint()
{
    FormWidget* before = widgetIfLoaded();
    yieldToEventLoop();
    return before && widgetIfLoaded() == before;
}

void GraphPage::Image9_Click() { ignoring([&] { mostragrafico(*this); }); }
void GraphPage::Image10_Click() { ignoring([&] { mostratabela(*this); }); }

void GraphPage::Text1_Validate(int index)
{
    IgnoreErrors e;
    validateText1(index, e);
}

void GraphPage::Text2_Validate(int index)
{
    IgnoreErrors e;
    validateText2(index, e);
}

bool GraphPage::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::FocusOut && !validating_) {
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        QWidget* to = QApplication::focusWidget();
        FormWidget* w = widgetIfLoaded();
        // Only a move to another control of this window checks the box; the
        // window losing the focus, a menu or a popup does not.
        const bool inWindow = to && w && to != watched && w->isAncestorOf(to);
        if (inWindow && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason
            && reason != Qt::MenuBarFocusReason) {
            const QString name = watched->objectName();
            const int sep = int(name.indexOf(QLatin1Char('_')));
            const QString base = sep < 0 ? name : name.left(sep);
            const int index = sep < 0 ? -1 : name.mid(sep + 1).toInt();
            // Run once the focus has settled, outside the focus change.
            QPointer<FormWidget> guard(w);
            QTimer::singleShot(0, this, [this, guard, base, index] {
                if (!guard || guard != widgetIfLoaded())
                    return;
                validating_ = true;
                runHandler([&] {
                    if (base == QLatin1String("Text1"))
                        Text1_Validate(index);
                    else if (base == QLatin1String("Text2"))
                        Text2_Validate(index);
                });
                validating_ = false;
            });
        }
    }
    return ToolbarPage::eventFilter(watched, e);
}

} // namespace tav
