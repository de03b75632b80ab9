#include "simulation/form4.h"

namespace tav {

Form4::Form4()
    : ToolbarPage(QStringLiteral("Form4"),
                  PageDesign{QStringLiteral("Simulations of Inspection"), 0x00C0E0FF, 11880, 8310, true, -30, QString()})
{
}

} // namespace tav
