#include "shell/toolbar.h"

#include "common/window.h"
#include "platform/controls.h"
#include "platform/pictures.h"

#include <QHash>

namespace tav {

namespace {

constexpr int kNoDrop = 12;

ToolbarSpec standard(const QString& window, const QString& back, const QString& next)
{
    ToolbarSpec s;
    s.window = window;
    s.index = {QStringLiteral("Image6"), 105, 165, QStringLiteral("Index")};
    s.back = {back, 795, 165, QStringLiteral("Back")};
    s.next = {next, 1395, 165, QStringLiteral("Next")};
    s.print = {QStringLiteral("Image7"), 2280, 165, QStringLiteral("Print")};
    s.save = {QStringLiteral("Image8"), 2910, 165, QStringLiteral("Save")};
    s.graph = {QStringLiteral("Image9"), 3765, 165, QStringLiteral("Show graph")};
    s.table = {QStringLiteral("Image10"), 4410, 165, QStringLiteral("Show table")};
    s.exit = {QStringLiteral("Image11"), 5460, 165, QStringLiteral("Exit application")};
    return s;
}

void greyOff(ToolbarButton& b, bool tooltip = false)
{
    b.enabled = false;
    b.greyed = true;
    if (!tooltip)
        b.tooltip.clear();
}

QHash<QString, ToolbarSpec> makeSpecs()
{
    QHash<QString, ToolbarSpec> m;
    auto add = [&m](ToolbarSpec s) { m.insert(s.window, s); };
    const QString i1 = QStringLiteral("Image1"), i2 = QStringLiteral("Image2"),
                  i3 = QStringLiteral("Image3"), i4 = QStringLiteral("Image4"),
                  i5 = QStringLiteral("Image5"), i12 = QStringLiteral("Image12");

    ToolbarSpec s = standard(QStringLiteral("Form1"), i4, i3);
    s.graph.left = 3750;
    greyOff(s.graph);
    greyOff(s.table);
    s.graph.pointer = s.table.pointer = kNoDrop;
    add(s);

    s = standard(QStringLiteral("Form2"), i4, i3);
    greyOff(s.graph, true);
    s.table.greyed = true;
    add(s);

    s = standard(QStringLiteral("Form3"), i2, i1);
    s.save.top = 180;
    greyOff(s.graph);
    greyOff(s.table);
    add(s);

    s = standard(QStringLiteral("Form4"), i2, i5);
    s.index.top = 150;
    s.graph.tooltip = QStringLiteral("Show image");
    add(s);

    s = standard(QStringLiteral("Form5"), i2, i5);
    greyOff(s.graph);
    greyOff(s.table);
    add(s);

    for (const char* f : {"Form6", "Form7", "Form8", "Form9"}) {
        s = standard(QString::fromLatin1(f), i12, i5);
        s.table.tooltip.clear();
        s.table.greyed = true;
        if (s.window != QLatin1String("Form6"))
            s.table.enabled = false;
        if (s.window == QLatin1String("Form8"))
            greyOff(s.graph);
        add(s);
    }

    for (const char* f : {"Form10", "Form10a"}) {
        s = standard(QString::fromLatin1(f), i2, i1);
        greyOff(s.graph);
        greyOff(s.table);
        add(s);
    }

    s = standard(QStringLiteral("Form11"), i12, i5);
    s.graph.tooltip = QStringLiteral("Show image");
    add(s);

    s = standard(QStringLiteral("Form12"), i12, i5);
    s.table.tooltip.clear();
    s.table.greyed = true;
    add(s);

    for (const char* f : {"FGrafico1", "FGrafico2", "FGrafico3", "FGrafico4", "FGrafico5", "FGrafico6",
                          "FGrafico12"}) {
        s = standard(QString::fromLatin1(f), i4, i3);
        s.next.left = 1410;
        if (s.window == QLatin1String("FGrafico2")) {
            s.next.left = 1425;
            s.print.tooltip = QStringLiteral("Print  ");
        } else if (s.window == QLatin1String("FGrafico4")) {
            s.print.tooltip = QStringLiteral("Print ");
        } else if (s.window == QLatin1String("FGrafico12")) {
            s.print.left = 2265;
        }
        add(s);
    }

    s = standard(QStringLiteral("FResultSim"), i12, i5);
    s.print.tooltip = QStringLiteral("Print form");
    s.graph.tooltip = QStringLiteral("Show image");
    add(s);

    // The lesson pages carry the no-drop pointer on Save and on some chart
    // and table faces at design; their loads give most of them the hand.
    for (const char* f : {"Form2", "Form3", "Form5", "Form6", "Form7", "Form8", "Form9", "Form10", "Form10a", "Form12"})
        m[QString::fromLatin1(f)].save.pointer = kNoDrop;
    for (const char* f : {"Form2", "Form3", "Form5", "Form8"})
        m[QString::fromLatin1(f)].graph.pointer = kNoDrop;
    for (const char* f : {"Form2", "Form3", "Form5", "Form7", "Form8", "Form9"})
        m[QString::fromLatin1(f)].table.pointer = kNoDrop;
    return m;
}

const QHash<QString, ToolbarSpec>& specs()
{
    static const QHash<QString, ToolbarSpec> m = makeSpecs();
    return m;
}

QPixmap face(const ToolbarSpec& s, const ToolbarButton* b)
{
    if (b == &s.index) return pictures::indexArrow();
    if (b == &s.back) return pictures::backArrow();
    if (b == &s.next) return pictures::nextArrow();
    if (b == &s.print) return pictures::printer();
    if (b == &s.save) return pictures::floppy();
    if (b == &s.graph) return pictures::chart(b->greyed);
    if (b == &s.table) return pictures::document(b->greyed);
    return pictures::exitFace();
}

} // namespace

const ToolbarSpec* toolbarSpec(const QString& window)
{
    auto it = specs().constFind(window);
    return it == specs().cend() ? nullptr : &*it;
}

QStringList toolbarWindows()
{
    QStringList names = specs().keys();
    names.sort();
    return names;
}

Frame* buildToolbar(FormWidget* w, const ToolbarSpec& spec)
{
    Frame* frame = place<Frame>(w->client(), QStringLiteral("Frame4"), -30, -15, 10050, 705);
    frame->setFlat(false);
    for (const ToolbarButton* b : spec.buttons()) {
        ImageButton* img = place<ImageButton>(frame, b->name, b->left, b->top, 480, 480);
        img->setPicture(face(spec, b));
        img->setToolTip(b->tooltip);
        img->setEnabled(b->enabled);
        setMousePointer(img, b->pointer);
    }
    return frame;
}

} // namespace tav
