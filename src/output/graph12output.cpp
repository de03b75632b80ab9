#include "output/graph12output.h"
#include "output/services.h"

#include "common/errors.h"
#include "common/program.h"
#include "common/twips.h"
#include "common/window.h"
#include "output/canvas.h"
#include "output/compose.h"
#include "output/fprintpreview.h"
#include "output/graphoutput.h"
#include "output/saving.h"
#include "platform/chart.h"
#include "platform/controls.h"
#include "platform/grid.h"

#include <QVariant>

namespace tav {

namespace {

const QString kAdvice = QStringLiteral("Reload and try again");
// The flag lives on the page's instance, so that it outlives an unload.
const char* const kFlag = "flagsalva";

// The chart writes its picture to the temporary file itself, on the print
// background, and is then drawn again on screen.
bool chartImage(Composer& c, const std::function<Chart*()>& graph)
{
    const QString tmp = privateTempDir() + QStringLiteral("/tmp");
    return c.step([&] { graph()->setBackground(15); })
        && c.step([&] { graph()->refresh(); })
        && c.step([&] { graph()->setDrawMode(3); })
        && c.step([&] { graph()->setImageFile(tmp); })
        && c.step([&] { graph()->setDrawMode(6); })
        && c.step([&] { graph()->setBackground(0); })
        && c.step([&] { graph()->setDrawMode(2); })
        && c.step([&] { graph()->refresh(); });
}

} // namespace

int graph12Flag(const Form& frm) { return frm.property(kFlag).toInt(); }

void graph12Print(Form& frm)
{
    preparePrint(frm.widgetIfLoaded());
    TrapErrors t(kAdvice, QStringLiteral("Error printing Graphic 12"));
    bool chart = false;
    if (!t.step([&] { chart = graphViewShown(frm, QStringLiteral("Graph1")); }))
        return;
    if (!chart) {
        t.step([] { fprintpreview().show(); });
        return;
    }
    auto g1 = [&] { return frm.ctl<Chart>(QStringLiteral("Graph1")); };
    auto g2 = [&] { return frm.ctl<Chart>(QStringLiteral("Graph2")); };
    PictureBox* staging = stagingPicture();
    Composer c(t, graph12Flag(frm) == 1);
    // Flush left, Graph1 on top, a band between them, whatever their
    // places on the page.
    c.step([&] { canvas()->resize(twips(g1()->widthTwips()), canvas()->height()); })
        && c.step([&] {
               canvas()->resize(canvas()->width(),
                                twips(g1()->heightTwips() + kChartGapTwips + g2()->heightTwips()));
           })
        && c.step([&] { staging->resize(staging->width(), twips(g1()->heightTwips())); })
        && c.step([&] { staging->resize(twips(g1()->widthTwips()), staging->height()); })
        && chartImage(c, g1) && c.loadStaged(staging)
        && c.paintStaged(staging, std::function<TwipBox()>([&] {
               return TwipBox{0, 0, g1()->widthTwips(), g1()->heightTwips()};
           }))
        && c.step([&] { staging->resize(staging->width(), twips(g2()->heightTwips())); })
        && c.step([&] { staging->resize(twips(g2()->widthTwips()), staging->height()); })
        && chartImage(c, g2) && c.loadStaged(staging)
        && c.paintStaged(staging, std::function<TwipBox()>([&] {
               return TwipBox{0, g1()->heightTwips() + kChartGapTwips, g2()->widthTwips(), g2()->heightTwips()};
           }))
        && c.finish();
}

void graph12Save(Form& frm)
{
    TrapErrors t(kAdvice, QStringLiteral("Error saving Graphic 12"));
    QString filter, ext;
    if (!graphSaveKind(frm, filter, ext, t))
        return;
    const std::optional<QString> name = askSaveName(frm, filter, ext, t);
    if (!name)
        return;
    bool chart = false, table = false;
    if (!t.step([&] { chart = graphViewShown(frm, QStringLiteral("Graph1")); }))
        return;
    if (chart) {
        saveComposed([&](int v) { frm.setProperty(kFlag, v); }, [&] { graph12Print(frm); }, *name, t);
        return;
    }
    if (t.step([&] { table = graphViewShown(frm, QStringLiteral("Grid1")); }) && table)
        t.step([&] { salvagrid(*frm.ctl<Grid>(QStringLiteral("Grid1")), *name); });
}

} // namespace tav
