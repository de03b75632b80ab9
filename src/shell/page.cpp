#include "shell/page.h"

#include "common/colors.h"
#include "common/errors.h"
#include "common/program.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "output/wiring.h"
#include "shell/menus.h"
#include "shell/navigation.h"
#include "shell/toolbar.h"

#include <algorithm>

namespace tav {

void setupWindow(FormWidget* w, const QString& caption, uint32_t backColor, int clientWidth,
                 int clientHeight)
{
    w->setWindowTitle(caption);
    w->setWindowIcon(windowIcon());
    QPalette pal = w->client()->palette();
    pal.setColor(QPalette::Window, vbColor(backColor));
    w->client()->setPalette(pal);
    w->setClientSizeTwips(clientWidth, clientHeight);
}

void stretchBand(const Form& f, QWidget* band)
{
    const QWidget* container = band->parentWidget();
    const int reach = container ? container->width() - band->x() : 0;
    band->resize(std::max(twips(f.outerWidthTwips()), reach), band->height());
}

ToolbarPage::ToolbarPage(const QString& name, PageDesign design)
    : Form(name), design_(std::move(design))
{
}

void ToolbarPage::build(FormWidget* w)
{
    buildPageMenus(w, name());
    if (const ToolbarSpec* spec = toolbarSpec(name()))
        buildToolbar(w, *spec);
    if (design_.titleBand) {
        Label* title = place<Label>(w->client(), QStringLiteral("Label2"), design_.titleLeft, 675, 10395, 645);
        title->setText(design_.title);
        title->setBackColor(vbColor(0x00000040));
        title->setForeColor(vbColor(0x0000FFFF));
        title->setFont(arial(20.25, true));
        title->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    buildContent(w);
    wireNavigation(*this, w);
    wireOutput(*this, w);
    // The menu bar is built before the size is set, so the client area
    // gets its design size below the bar.
    setupWindow(w, design_.caption, design_.backColor, design_.clientWidth, design_.clientHeight);
}

void ToolbarPage::formLoad() { pageLoad(); }

void ToolbarPage::formUnload(bool& cancel)
{
    Q_UNUSED(cancel);
    ignoring([&] { setUltimoform(this); });
}

void ToolbarPage::formResize()
{
    IgnoreErrors e;
    e.step([&] { stretchBand(*this, ctl("Frame4")); });
    if (design_.titleBand)
        e.step([&] { stretchBand(*this, ctl("Label2")); });
}

} // namespace tav
