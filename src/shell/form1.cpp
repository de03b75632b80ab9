#include "shell/form1.h"

namespace tav {

Form1::Form1()
    : ToolbarPage(QStringLiteral("Form1"), PageDesign{QStringLiteral("Sampling"), 0x00C0E0FF, 11880, 8310,
                                                      false, -30, QString()})
{
}

} // namespace tav
