#include "graphs/fgrafico4.h"

namespace tav {

namespace {

GraphSpec makeSpec()
{
    GraphSpec s;
    s.comboValues = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    s.comboDefault = QStringLiteral("50");
    s.gridRows = 300;
    s.gridCols = 6;
    s.colWidths = {1140, 1140, 1140, 1140, 1140, 1140};
    s.centred = {1, 2, 3, 4, 5};
    s.gridWidthFromColumns = false;
    s.loadAdvice = QStringLiteral("Check your instalation for Grid32.ocx and Graph32.ocx");
    s.loadTitle = QStringLiteral("Error loading Graphic 4");
    s.computeAdvice = QStringLiteral("Try again with new inputs");
    s.computeTitle = QStringLiteral("Error Graphic 4");
    s.capacity = 501;
    s.comboSetsGridRows = false;
    s.resetIndex = 1;
    return s;
}

} // namespace

FGrafico4::FGrafico4()
    : GraphPage(QStringLiteral("FGrafico4"), QStringLiteral("Graphic 4"),
                GraphLayout{QRect(120, 1620, 2615, 2040), QRect(120, 4725, 2615, 1935), QRect(), {0, 1, 2, 3}, false, 3, true}, makeSpec())
{
}

} // namespace tav
