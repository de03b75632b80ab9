#include "output/form4output.h"
#include "output/services.h"

#include "common/errors.h"
#include "common/window.h"
#include "output/canvas.h"
#include "output/capture.h"
#include "output/compose.h"
#include "output/fprintpreview.h"
#include "output/saving.h"
#include "platform/actions.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "simulation/form4.h"

#include <QAction>
#include <QLineEdit>

namespace tav {

namespace {

const QString kAdvice = QStringLiteral("Reload and try again");
const QString kPanel = QStringLiteral("Picture3");
const QString kTable = QStringLiteral("Grid1");

bool shown(Form& frm, const QString& name) { return !frm.ctl(name)->isHidden(); }

int16_t& salvando(Form& frm) { return static_cast<Form4&>(frm).salvando; }

// A control's text by its name as the report names it.
QString controlText(Form& frm, const QString& name)
{
    QWidget* w = frm.ctl(name);
    if (auto* l = qobject_cast<QLabel*>(w))
        return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(w))
        return e->text();
    if (auto* c = qobject_cast<ComboBox*>(w))
        return c->text();
    throw RuntimeError(438, QStringLiteral("Object doesn't support this property or method"));
}

void composePanel(Form& frm, TrapErrors& t)
{
    Composer c(t, salvando(frm) == 1);
    auto panel = [&] { return frm.ctl<PictureBox>(kPanel); };
    auto first = [&] { return frm.ctl<PictureBox>(QStringLiteral("Picture1")); };
    auto second = [&] { return frm.ctl<PictureBox>(QStringLiteral("Picture2")); };
    PictureBox* staging = stagingPicture();
    PictureBox* staging2 = secondStagingPicture();
    // Both boxes are staged before either is painted; the consignment
    // drawing is painted last, over anything it overlaps.
    c.step([&] { canvas()->resize(canvas()->width(), panel()->height()); })
        && c.step([&] { canvas()->resize(panel()->width(), canvas()->height()); })
        && c.step([&] { staging->resize(staging->width(), first()->height()); })
        && c.step([&] { staging->resize(first()->width(), staging->height()); })
        && c.stage(first, staging) && c.stage(second, staging2)
        && c.paintStaged(staging2, std::function<TwipBox()>([&] { return twipBox(second()); }))
        && c.paintStaged(staging, std::function<TwipBox()>([&] { return twipBox(first()); }))
        && c.drawWidth(2)
        && c.circle(535, 322, 173, QColor(0, 0, 255))
        && c.circle(2032, 322, 128, QColor(255, 0, 0))
        && c.bold(true)
        && c.text(825, 210, QStringLiteral("Inspected"))
        && c.text(2295, 210, QStringLiteral("Infected"))
        && c.finish();
}

void writeReport(Form& frm, const QString& name, TrapErrors& t)
{
    TextFile file;
    if (!t.step([&] { file.open(name); }))
        return;
    QStringList lines;
    if (!t.step([&] { lines = form4ReportLines([&](const QString& n) { return controlText(frm, n); }); }))
        return;
    for (const QString& line : lines)
        if (!t.step([&] { file.write(line + QStringLiteral("\r\n")); }))
            return;
    t.step([&] { file.close(); });
}

} // namespace

QStringList form4ReportLines(const std::function<QString(const QString&)>& text)
{
    const QString eq = QStringLiteral(" = ");
    auto a = [](const char* n, int i) { return arrayName(QString::fromLatin1(n), i); };
    auto pair = [&](const QString& caption, const QString& value) { return text(caption) + eq + text(value); };
    return {
        text(QStringLiteral("Label2")),
        QString(),
        text(QStringLiteral("Label11")),
        QString(),
        QString(),
        QStringLiteral("Inputs"),
        QString(),
        QString(),
        pair(a("Label3", 0), a("Text1", 0)),
        pair(a("Label3", 1), a("Text1", 1)) + QStringLiteral(" - ") + pair(a("Label3", 4), QStringLiteral("Combo2")),
        pair(a("Label3", 2), a("Text1", 2)),
        pair(a("Label3", 3), QStringLiteral("Combo1")),
        QString(),
        text(QStringLiteral("Label6")),
        QString(),
        pair(a("Label1", 4), QStringLiteral("Ling")),
        pair(a("Label1", 6), QStringLiteral("Lpct_ing")),
        pair(a("Label1", 5), QStringLiteral("Lencontradas")),
        pair(a("Label1", 7), QStringLiteral("Lpre_ing")),
        pair(a("Label1", 8), QStringLiteral("Lingreso")),
        text(a("Label1", 0)) + QLatin1Char(' ') + text(QStringLiteral("Lnsim")) + QLatin1Char(' ')
            + pair(a("Label1", 2), QStringLiteral("Lingreso_total")),
    };
}

void form4Print(Form& frm)
{
    preparePrint(frm.widgetIfLoaded());
    TrapErrors t(kAdvice, QStringLiteral("Error printing Form4"));
    bool panel = false, table = false;
    if (!t.step([&] { panel = shown(frm, kPanel); }))
        return;
    if (panel) {
        composePanel(frm, t);
        return;
    }
    if (!t.step([&] { table = shown(frm, kTable); }))
        return;
    if (table)
        t.step([] { fprintpreview().show(); });
    else
        t.step([&] { imprimeform(frm); });
}

void form4Save(Form& frm)
{
    TrapErrors t(kAdvice, QStringLiteral("Error saving Form4"));
    bool panel = false, table = false;
    if (!t.step([&] { panel = shown(frm, kPanel); }) || !t.step([&] { table = shown(frm, kTable); }))
        return;
    const QString filter = panel ? kBitmapFilter : table ? kTextFilter : kDocFilter;
    const QString ext = panel ? QStringLiteral(".bmp") : table ? QStringLiteral(".txt") : QStringLiteral(".doc");
    const std::optional<QString> name = askSaveName(frm, filter, ext, t);
    if (!name)
        return;
    if (panel)
        saveComposed([&](int v) { salvando(frm) = int16_t(v); }, [&] { form4Print(frm); }, *name, t);
    else if (table)
        t.step([&] { salvagrid(*frm.ctl<Grid>(kTable), *name); });
    else
        writeReport(frm, *name, t);
}

void wireForm4Menus(Form& frm, FormWidget* w)
{
    Form* page = &frm;
    struct Item {
        const char* name;
        bool panel, table, save;
    };
    static const Item items[] = {
        {"menuFilePrintForm", false, false, false}, {"menuFilePrintTable", false, true, false},
        {"menuFilePrintPic", true, false, false},   {"menuFileSaveForm", false, false, true},
        {"menuFileSaveTable", false, true, true},   {"menuFileSavePicture", true, false, true},
    };
    for (const Item& it : items) {
        QAction* a = w->findChild<QAction*>(QString::fromLatin1(it.name));
        if (!a)
            continue;
        onSignal(a, &QAction::triggered, page, [page, it] {
            IgnoreErrors e;
            auto set = [&](const QString& n, bool on) { e.step([&] { page->ctl(n)->setVisible(on); }); };
            // Save > Picture hides the table before it shows the panel.
            if (it.save && it.panel) {
                set(kTable, false);
                set(kPanel, true);
            } else {
                set(kPanel, it.panel);
                set(kTable, it.table);
            }
            e.step([&] { it.save ? form4Save(*page) : form4Print(*page); });
        });
    }
}

} // namespace tav
