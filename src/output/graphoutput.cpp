#include "output/graphoutput.h"
#include "output/services.h"

#include "common/errors.h"
#include "common/program.h"
#include "common/twips.h"
#include "common/window.h"
#include "output/canvas.h"
#include "output/fprintpp.h"
#include "output/fprintpreview.h"
#include "output/saving.h"
#include "platform/chart.h"
#include "platform/controls.h"
#include "platform/grid.h"

#include <QHash>

namespace tav {

namespace {
const QString kAdvice = QStringLiteral("Reload and try again");
} // namespace

GraphOutputTitles graphOutputTitles(const QString& window)
{
    static const QHash<QString, GraphOutputTitles> titles = {
        {QStringLiteral("FGrafico1"), {QStringLiteral("Error printing"), QStringLiteral("Error saving")}},
        {QStringLiteral("FGrafico2"),
         {QStringLiteral("Error printing Graphic 2"), QStringLiteral("Error saving Graphic 2")}},
        {QStringLiteral("FGrafico3"),
         {QStringLiteral("Error printing Graphic 3"), QStringLiteral("Error saving Graphic 3")}},
        {QStringLiteral("FGrafico4"),
         {QStringLiteral("Error printing Graphic 4"), QStringLiteral("Error saving Graphic 4")}},
        {QStringLiteral("FGrafico5"),
         {QStringLiteral("Error printing Graphic 5"), QStringLiteral("Error saving Graphic 5")}},
        {QStringLiteral("FGrafico6"),
         {QStringLiteral("Error Printing Graphic 6"), QStringLiteral("Error Saving Graphic 6")}},
    };
    return titles.value(window);
}

void graphPrint(Form& frm)
{
    preparePrint(frm.widgetIfLoaded());
    TrapErrors t(kAdvice, graphOutputTitles(frm.name()).print);
    bool chart = false;
    if (!t.step([&] { chart = graphViewShown(frm, QStringLiteral("Graph1")); }))
        return;
    if (!chart) {
        t.step([] { fprintpreview().show(); });
        return;
    }
    // The chart writes the temporary picture file itself ("tmp" + ".bmp").
    const QString tmp = privateTempDir() + QStringLiteral("/tmp");
    auto graph = [&] { return frm.ctl<Chart>(QStringLiteral("Graph1")); };
    t.step([] { resetPrintPictures(); })
        && t.step([&] { graph()->setBackground(15); })
        && t.step([&] { graph()->refresh(); })
        && t.step([&] { graph()->setDrawMode(3); })
        && t.step([&] { graph()->setImageFile(tmp); })
        && t.step([&] { graph()->setDrawMode(6); })
        && t.step([&] { graph()->setBackground(0); })
        && t.step([&] { graph()->setDrawMode(2); })
        && t.step([&] { graph()->refresh(); })
        && t.step([&] { canvas()->resize(twips(graph()->widthTwips()), canvas()->height()); })
        && t.step([&] { canvas()->resize(canvas()->width(), twips(graph()->heightTwips())); })
        && t.step([] { fprintpp().show(); });
}

bool graphViewShown(Form& frm, const QString& name) { return !frm.ctl(name)->isHidden(); }

bool graphSaveKind(Form& frm, QString& filter, QString& ext, ErrorHandler& t)
{
    return t.step([&] {
        if (graphViewShown(frm, QStringLiteral("Graph1"))) {
            filter = kBitmapFilter;
            ext = QStringLiteral(".bmp");
        }
    }) && t.step([&] {
        if (graphViewShown(frm, QStringLiteral("Grid1"))) {
            filter = kTextFilter;
            ext = QStringLiteral(".txt");
        }
    });
}

void graphSave(Form& frm)
{
    TrapErrors t(kAdvice, graphOutputTitles(frm.name()).save);
    QString filter, ext;
    if (!graphSaveKind(frm, filter, ext, t))
        return;
    const std::optional<QString> name = askSaveName(frm, filter, ext, t);
    if (!name)
        return;
    t.step([&] {
        if (graphViewShown(frm, QStringLiteral("Graph1")))
            salvagrafico(frm, *name);
        else if (graphViewShown(frm, QStringLiteral("Grid1")))
            salvagrid(*frm.ctl<Grid>(QStringLiteral("Grid1")), *name);
    });
}

} // namespace tav
