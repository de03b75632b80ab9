#include "shell/hover.h"

#include "common/colors.h"
#include "common/errors.h"
#include "common/window.h"
#include "platform/controls.h"
#include "platform/innerpart.h"

#include <QApplication>
#include <QMouseEvent>
#include <QRegularExpression>

namespace tav {

namespace {

QStringList less(QStringList list, const QString& name)
{
    list.removeAll(name);
    return list;
}

QStringList imgs(std::initializer_list<int> numbers)
{
    QStringList l;
    for (int n : numbers)
        l << QStringLiteral("Image%1").arg(n);
    return l;
}

void surfaces(HoverTable& t, const QStringList& names, const QStringList& list)
{
    for (const QString& n : names)
        t.clears.insert(n, list);
}

const QStringList kCalcula01 = {QStringLiteral("calcula_0"), QStringLiteral("calcula_1")};

HoverTable graphPage(bool startBorder, bool nextTakes, bool bothFramesClearBoth)
{
    HoverTable t;
    const QStringList toolbar = imgs({6, 4, 3, 7, 8, 9, 10, 11});
    t.takes = nextTakes ? toolbar : less(toolbar, QStringLiteral("Image3"));
    t.takes << QStringLiteral("Image1") << kCalcula01;
    if (startBorder)
        t.startBorder = {QStringLiteral("Image1")};
    t.clears.insert(QStringLiteral("Frame4"), toolbar);
    t.clears.insert(QStringLiteral("Form"), toolbar + QStringList{QStringLiteral("Image1")} + kCalcula01);
    if (bothFramesClearBoth) {
        surfaces(t, {QStringLiteral("Frame1"), QStringLiteral("Frame2"), QStringLiteral("Text1"), QStringLiteral("Text2")},
                 kCalcula01);
    } else {
        surfaces(t, {QStringLiteral("Frame1"), QStringLiteral("Text1")}, {QStringLiteral("calcula_0")});
        surfaces(t, {QStringLiteral("Frame2"), QStringLiteral("Text2")}, {QStringLiteral("calcula_1")});
    }
    return t;
}

// A lesson page whose title band clears the toolbar but Save.
HoverTable lesson(const QStringList& toolbar, const QStringList& extraTakes, const QStringList& backgroundSurfaces,
                  const QStringList& backgroundClears)
{
    HoverTable t;
    t.takes = toolbar + extraTakes;
    t.clears.insert(QStringLiteral("Frame4"), toolbar);
    surfaces(t, backgroundSurfaces, backgroundClears);
    t.clears.insert(QStringLiteral("Label2"), less(toolbar, QStringLiteral("Image8")));
    return t;
}

QHash<QString, HoverTable> makeTables()
{
    QHash<QString, HoverTable> m;
    const QString form = QStringLiteral("Form");

    HoverTable t;
    t.takes = {QStringLiteral("Image11")};
    m.insert(QStringLiteral("Indice"), t); // its labels are handled apart

    t = HoverTable();
    t.takes = imgs({6, 4, 3, 7, 8, 11, 1});
    t.clears.insert(QStringLiteral("Frame4"), imgs({6, 4, 3, 7, 8, 9, 11}));
    surfaces(t, {form, QStringLiteral("Frame1"), QStringLiteral("Label1"), QStringLiteral("Label2"),
                 QStringLiteral("Label3"), QStringLiteral("Text1")},
             imgs({3, 1}));
    m.insert(QStringLiteral("Form1"), t);

    t = HoverTable();
    t.takes = imgs({6, 4, 3, 7, 8, 11, 1, 2, 5});
    t.clears.insert(QStringLiteral("Frame4"), imgs({6, 4, 3, 7, 8, 9, 10, 11}));
    surfaces(t, {form, QStringLiteral("Label1")}, imgs({4, 3, 1, 2, 5}));
    t.clears.insert(QStringLiteral("Frame1"), imgs({2}));
    t.clears.insert(QStringLiteral("Frame2"), imgs({1}));
    t.clears.insert(QStringLiteral("Frame3"), imgs({5}));
    t.clears.insert(QStringLiteral("Label2"), imgs({6, 4, 3, 7, 8, 9, 10, 11}));
    m.insert(QStringLiteral("Form2"), t);

    t = HoverTable();
    t.takes = imgs({6, 2, 1, 7, 11});
    t.clears.insert(QStringLiteral("Frame4"), imgs({6, 2, 1, 7, 11}));
    surfaces(t, {form, QStringLiteral("Label2")}, imgs({6, 2, 1, 7, 11}));
    m.insert(QStringLiteral("Form3"), t);

    t = HoverTable();
    {
        const QStringList toolbar = imgs({6, 2, 5, 7, 9, 10, 11});
        const QStringList pair = {QStringLiteral("Image1"), QStringLiteral("calcula")};
        t.takes = toolbar + pair;
        t.startBorder = {QStringLiteral("Image3")};
        t.inverted = {QStringLiteral("Image3")};
        t.clears.insert(QStringLiteral("Frame4"), toolbar);
        t.clears.insert(form, less(toolbar, QStringLiteral("Image9")));
        t.gives.insert(form, {QStringLiteral("Image3")});
        surfaces(t, {QStringLiteral("Frame1"), QStringLiteral("Frame2"), QStringLiteral("Label5"), QStringLiteral("Text2")},
                 pair);
        t.clears.insert(QStringLiteral("Label2"), toolbar);
        t.clears.insert(QStringLiteral("Label3"), {QStringLiteral("Image1")});
        t.clears.insert(QStringLiteral("Text3"), {QStringLiteral("calcula")});
    }
    m.insert(QStringLiteral("Form4"), t);

    m.insert(QStringLiteral("Form5"), lesson(imgs({6, 2, 5, 7, 8, 11}), imgs({1}), {form, QStringLiteral("Label1")}, imgs({1})));
    m.insert(QStringLiteral("Form6"),
             lesson(imgs({6, 12, 5, 7, 8, 9, 11}), imgs({2}), {form, QStringLiteral("Label1")}, imgs({2})));
    m.insert(QStringLiteral("Form7"), lesson(imgs({6, 12, 5, 7, 8, 9, 11}), imgs({2}), {form}, imgs({2})));
    m.insert(QStringLiteral("Form8"), lesson(imgs({6, 12, 5, 7, 8, 11}), {}, {}, {}));
    m.insert(QStringLiteral("Form9"), lesson(imgs({6, 12, 5, 7, 8, 9, 11}), imgs({2}), {form}, imgs({2})));
    for (const char* f : {"Form10", "Form10a"})
        m.insert(QString::fromLatin1(f),
                 lesson(imgs({6, 2, 1, 7, 8, 11}), {}, {form}, less(imgs({6, 2, 1, 7, 8, 11}), QStringLiteral("Image8"))));
    m.insert(QStringLiteral("Form12"),
             lesson(imgs({6, 12, 5, 7, 8, 9, 11}), imgs({2}), {form, QStringLiteral("Label1")}, imgs({2})));

    t = HoverTable();
    t.takes = imgs({6, 12, 7, 8, 9, 10, 11, 3, 4, 32});
    t.startBorder = imgs({32});
    t.clears.insert(QStringLiteral("Frame4"), imgs({6, 12, 5, 7, 8, 9, 10, 11}));
    surfaces(t, {form, QStringLiteral("Hscroll1"), QStringLiteral("Hscroll3")}, imgs({3, 4}));
    t.clickClears.insert(QStringLiteral("Label2"), imgs({6, 12, 5, 7, 11}));
    t.clears.insert(QStringLiteral("Picture5"), imgs({3, 4, 32}));
    t.clears.insert(QStringLiteral("Picture10"), imgs({32}));
    t.alsoClears.insert(QStringLiteral("Image3"), imgs({4, 32}));
    t.alsoClears.insert(QStringLiteral("Image4"), imgs({3}));
    t.alsoClears.insert(QStringLiteral("Image32"), imgs({3}));
    m.insert(QStringLiteral("Form11"), t);

    m.insert(QStringLiteral("FGrafico1"), graphPage(false, true, true));
    m.insert(QStringLiteral("FGrafico2"), graphPage(true, true, false));
    m.insert(QStringLiteral("FGrafico3"), graphPage(false, true, false));
    m.insert(QStringLiteral("FGrafico4"), graphPage(true, true, false));
    m.insert(QStringLiteral("FGrafico5"), graphPage(true, true, false));
    m.insert(QStringLiteral("FGrafico6"), graphPage(true, false, false));
    t = graphPage(true, true, false);
    t.takes << QStringLiteral("calcula_2");
    t.clears.insert(QStringLiteral("Frame3"), QStringList{QStringLiteral("Image1")} + kCalcula01
                                                  + QStringList{QStringLiteral("calcula_2")});
    m.insert(QStringLiteral("FGrafico12"), t);

    t = HoverTable();
    t.takes = {QStringLiteral("Image1"), QStringLiteral("Image3"), QStringLiteral("calcula")};
    t.startBorder = {QStringLiteral("Image2")};
    t.inverted = {QStringLiteral("Image2")};
    t.clears.insert(form, t.takes);
    t.gives.insert(form, {QStringLiteral("Image2")});
    surfaces(t, {QStringLiteral("Frame1"), QStringLiteral("Frame2"), QStringLiteral("Text2"), QStringLiteral("Text3")},
             {QStringLiteral("Image1"), QStringLiteral("calcula")});
    m.insert(QStringLiteral("FSimula1"), t);

    t = HoverTable();
    {
        const QStringList toolbar = imgs({6, 12, 5, 7, 9, 10, 11});
        t.takes = toolbar + imgs({3, 4});
        t.clears.insert(QStringLiteral("Frame4"), toolbar);
        t.clears.insert(form, imgs({3, 4}));
        t.clears.insert(QStringLiteral("Label1"), imgs({4}));
        t.clears.insert(QStringLiteral("Label2"), less(toolbar, QStringLiteral("Image9")) + imgs({3, 4}));
    }
    m.insert(QStringLiteral("FResultSim"), t);
    return m;
}

const QHash<QString, HoverTable>& tables()
{
    static const QHash<QString, HoverTable> m = makeTables();
    return m;
}

void setBorder(Form& form, const QString& name, int style)
{
    ignoring([&] {
        if (auto* b = form.findCtl<ImageButton>(name))
            if (b->isEnabled() || style == 0)
                b->setBorderStyle(style);
    });
}

QString baseName(const QString& name)
{
    static const QRegularExpression index(QStringLiteral("_\\d+$"));
    QString b = name;
    b.remove(index);
    return b;
}

template <class T>
const T* lookup(const QHash<QString, T>& h, const QString& name)
{
    auto it = h.constFind(name);
    if (it == h.cend())
        it = h.constFind(baseName(name));
    return it == h.cend() ? nullptr : &*it;
}

bool listed(const QStringList& l, const QString& name) { return l.contains(name) || l.contains(baseName(name)); }

void indiceMove(Form& form, const QString& control)
{
    IgnoreErrors e;
    if (control.startsWith(QLatin1String("Label3_"))) {
        const int index = control.mid(7).toInt();
        e.step([&] { form.ctl<Label>(control)->setForeColor(QColor(0, 0, 255)); });
        for (int i = 0; i <= 12; ++i)
            if (i != index)
                e.step([&] { form.ctl<Label>(QStringLiteral("Label3"), i)->setForeColor(vbColor(0x40)); });
    } else if (control == QLatin1String("Form")) {
        setBorder(form, QStringLiteral("Image11"), 0);
        for (int i = 0; i <= 12; ++i)
            e.step([&] { form.ctl<Label>(QStringLiteral("Label3"), i)->setForeColor(vbColor(0x40)); });
    } else if (control == QLatin1String("Image11")) {
        setBorder(form, control, 1);
    }
}

// The control whose procedure a move over `w` runs: the nearest named
// control (a disabled one passes the move to its container; the Qt widgets
// inside one of our controls pass it to that control), or "Form" for the
// client area.
QString controlUnder(FormWidget* window, QWidget* w)
{
    for (; w && w != window; w = w->parentWidget()) {
        if (w == window->client())
            return QStringLiteral("Form");
        const QString n = w->objectName();
        if (n.isEmpty() || n.startsWith(QLatin1String("qt_")) || isInnerPart(w) || !w->isEnabled())
            continue;
        return n;
    }
    return QString();
}

class HoverFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* obj, QEvent* e) override
    {
        const auto type = e->type();
        if (type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
            return false;
        auto* w = qobject_cast<QWidget*>(obj);
        if (!w)
            return false;
        auto* window = qobject_cast<FormWidget*>(w->window());
        if (!window || !window->form() || window->form()->widgetIfLoaded() != window)
            return false;
        // A move propagates from the control up its containers: act once,
        // at the deepest widget under the mouse.
        auto* me = static_cast<QMouseEvent*>(e);
        if (QWidget* child = w->childAt(me->position().toPoint()); child && child->isEnabled())
            return false;
        const QString control = controlUnder(window, w);
        if (control.isEmpty())
            return false;
        if (type == QEvent::MouseMove) {
            hoverMove(*window->form(), control);
        } else if (const HoverTable* t = hoverTable(window->form()->name())) {
            if (const QStringList* l = lookup(t->clickClears, control))
                for (const QString& b : *l)
                    setBorder(*window->form(), b, 0);
        }
        return false;
    }
};

} // namespace

const HoverTable* hoverTable(const QString& window)
{
    auto it = tables().constFind(window);
    return it == tables().cend() ? nullptr : &*it;
}

void hoverMove(Form& form, const QString& control)
{
    if (form.name() == QLatin1String("Indice")) {
        indiceMove(form, control);
        return;
    }
    const HoverTable* t = hoverTable(form.name());
    if (!t)
        return;
    if (listed(t->takes, control))
        setBorder(form, control, 1);
    if (listed(t->inverted, control))
        setBorder(form, control, 0);
    if (const QStringList* l = lookup(t->alsoClears, control))
        for (const QString& b : *l)
            setBorder(form, b, 0);
    if (const QStringList* l = lookup(t->clears, control))
        for (const QString& b : *l)
            setBorder(form, b, 0);
    if (const QStringList* l = lookup(t->gives, control))
        for (const QString& b : *l)
            setBorder(form, b, 1);
}

void installHover(QApplication& app)
{
    static HoverFilter* filter = nullptr;
    if (!filter) {
        filter = new HoverFilter(&app);
        app.installEventFilter(filter);
    }
    Form::setBuiltHook([](Form& f) {
        if (const HoverTable* t = hoverTable(f.name()))
            for (const QString& b : t->startBorder)
                setBorder(f, b, 1);
    });
}

} // namespace tav
