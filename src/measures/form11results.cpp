// The measure page's model recomputation into the results panel, and the
// panel itself: shown and hidden from the toolbar, dragged by the mouse.

#include "measures/form11.h"
#include "measures/form11shared.h"

#include "common/errors.h"
#include "common/readings.h"
#include "common/twips.h"
#include "platform/combo.h"
#include "platform/controls.h"
#include "platform/pictures.h"
#include "shell/indice.h"

#include <QMouseEvent>

namespace tav {

using namespace measures;
using namespace form11;

// Model ---------------------------------------------------------------------

void Form11::atualiza()
{
    if (flctr == 1)
        return;
    IgnoreErrors e;
    e.step([&] { setCaption(label(QStringLiteral("Label6")), localeText(QStringLiteral("0.0"))); });
    anim_.nsimul = 0;
    anim_.somaestab = 0;
    // The results table shows the parameters as their captions show them.
    for (auto [to, from] : {std::pair{0, 0}, {4, 1}, {1, 2}, {2, 3}, {5, 4}, {3, 5}, {7, 6}})
        e.step([&] {
            setCaption(label(QStringLiteral("Label88"), to), label(QStringLiteral("Label99"), from)->text());
        });

    ModelCaptions in;
    ModelResults io;
    io.ic = ic;
    e.step([&] {
        in.prevalence = label(QStringLiteral("Label99"), 0)->text();
        in.consignment = label(QStringLiteral("Label99"), 1)->text();
        in.efficacy = label(QStringLiteral("Label99"), 2)->text();
        in.sample = label(QStringLiteral("Label99"), 4)->text();
        in.p1 = label(QStringLiteral("Label88"), 3)->text();
        in.p2 = label(QStringLiteral("Label88"), 7)->text();
        in.variability = combo(QStringLiteral("Combo1"))->text();
        in.imports = combo(QStringLiteral("Combo2"))->text();
        io.prevalenceAfter = label(QStringLiteral("Label21"), 1)->text();
        io.confidence = label(QStringLiteral("Label88"), 6)->text();
        io.refused = label(QStringLiteral("Label21"), 3)->text();
        io.establishments = label(QStringLiteral("Label21"), 0)->text();
        io.years = label(QStringLiteral("Label21"), 2)->text();
    });
    recompute(in, io);
    ic = io.ic;
    e.step([&] { setCaption(label(QStringLiteral("Label21"), 1), io.prevalenceAfter); });
    e.step([&] { setCaption(label(QStringLiteral("Label88"), 6), io.confidence); });
    e.step([&] { setCaption(label(QStringLiteral("Label21"), 3), io.refused); });
    // The sentences close up behind the values that change length.
    const auto follow = [&](Label* l, QWidget* after) { l->move(after->x() + after->width() + twips(90), l->y()); };
    e.step([&] { follow(label(QStringLiteral("Label24"), 14), label(QStringLiteral("Label21"), 3)); });
    e.step([&] { setCaption(label(QStringLiteral("Label21"), 2), io.years); });
    e.step([&] { setCaption(label(QStringLiteral("Label21"), 0), io.establishments); });
    e.step([&] { follow(label(QStringLiteral("Label24"), 11), label(QStringLiteral("Label21"), 0)); });
    e.step([&] { follow(label(QStringLiteral("Label21"), 2), label(QStringLiteral("Label24"), 11)); });
    e.step([&] { follow(label(QStringLiteral("Label24"), 12), label(QStringLiteral("Label21"), 2)); });
    muda();
}

// Results panel ---------------------------------------------------------------

void Form11::Image10_Click()
{
    IgnoreErrors e;
    QWidget* panel = ctl(QStringLiteral("Picture10"));
    if (panel->isVisibleTo(panel->parentWidget())) {
        e.step([&] { panel->hide(); });
        return;
    }
    e.step([&] { atualiza(); });
    e.step([&] { panel->show(); });
    e.step([&] { ctl<ImageButton>(QStringLiteral("Image9"))->setPicture(indice().ctl<PictureBox>(QStringLiteral("Picture3"), 0)->picture()); });
    e.step([&] { ctl<ImageButton>(QStringLiteral("Image10"))->setPicture(indice().ctl<PictureBox>(QStringLiteral("Picture3"), 3)->picture()); });
    e.step([&] { ctl(QStringLiteral("Image9"))->setEnabled(true); });
    e.step([&] { ctl(QStringLiteral("Image10"))->setEnabled(false); });
}

void Form11::Image9_Click()
{
    IgnoreErrors e;
    QWidget* panel = ctl(QStringLiteral("Picture10"));
    if (!panel->isVisibleTo(panel->parentWidget())) {
        e.step([&] { panel->show(); });
        return;
    }
    e.step([&] { panel->hide(); });
    e.step([&] { ctl(QStringLiteral("Image9"))->setEnabled(false); });
    e.step([&] { ctl(QStringLiteral("Image10"))->setEnabled(true); });
    e.step([&] { ctl<ImageButton>(QStringLiteral("Image9"))->setPicture(indice().ctl<PictureBox>(QStringLiteral("Picture3"), 1)->picture()); });
    e.step([&] { ctl<ImageButton>(QStringLiteral("Image10"))->setPicture(indice().ctl<PictureBox>(QStringLiteral("Picture3"), 2)->picture()); });
}

bool Form11::eventFilter(QObject* o, QEvent* ev)
{
    // The results panel follows the mouse, with any button, inside the
    // picture area.
    auto* panel = qobject_cast<QWidget*>(o);
    if (panel && panel->objectName() == QLatin1String("Picture10")) {
        if (ev->type() == QEvent::MouseButtonPress) {
            // A press on one of the panel's controls is that control's.
            if (panel->childAt(static_cast<QMouseEvent*>(ev)->position().toPoint()))
                return false;
            dragFrom_ = static_cast<QMouseEvent*>(ev)->globalPosition().toPoint();
            dragging_ = true;
            return true;
        }
        if (ev->type() == QEvent::MouseMove && dragging_) {
            const QPoint at = static_cast<QMouseEvent*>(ev)->globalPosition().toPoint();
            QWidget* area = panel->parentWidget();
            QPoint to = panel->pos() + (at - dragFrom_);
            to.setX(qBound(-panel->width() + 8, to.x(), area->width() - 8));
            to.setY(qBound(-panel->height() + 8, to.y(), area->height() - 8));
            dragFrom_ += to - panel->pos();
            panel->move(to);
            return true;
        }
        if (ev->type() == QEvent::MouseButtonRelease) {
            dragging_ = false;
            return true;
        }
    }
    return ToolbarPage::eventFilter(o, ev);
}

} // namespace tav
