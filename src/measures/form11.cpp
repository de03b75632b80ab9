#include "measures/form11.h"

#include "common/errors.h"

#include <QTimer>

namespace tav {

Form11::Form11()
    : ToolbarPage(QStringLiteral("Form11"), PageDesign{QStringLiteral("Phytosanitary measures: Simulation"),
                                                       0x00C0FFFF, 11880, 8310, true, -30, QString()})
{
}

void Form11::buildContent(FormWidget* w)
{
    auto* timer = new QTimer(w);
    timer->setObjectName(QStringLiteral("Timer1"));
    timer->setInterval(1000);
}

void Form11::formUnload(bool& cancel)
{
    // The continuous run stops before the page records itself.
    ignoring([&] { ctl<QTimer>(QStringLiteral("Timer1"))->stop(); });
    ToolbarPage::formUnload(cancel);
}

} // namespace tav
