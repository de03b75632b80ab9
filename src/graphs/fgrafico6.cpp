#include "graphs/fgrafico6.h"

namespace tav {

namespace {

GraphSpec makeSpec()
{
    GraphSpec s;
    s.comboValues = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    s.comboDefault = QStringLiteral("50");
    s.gridRows = 50;
    s.gridCols = 2;
    s.colWidths = {1300, 2000};
    s.centred = {1};
    s.gridWidthFromColumns = true;
    s.loadAdvice = QStringLiteral("Check Grid32 and Graph32 libraries");
    s.loadTitle = QStringLiteral("Error Loading Graphic 6");
    s.computeAdvice = QStringLiteral("Try again with new inputs");
    s.computeTitle = QStringLiteral("Error Graphic 6");
    s.capacity = 501;
    s.comboSetsGridRows = true;
    s.resetIndex = 0;
    return s;
}

} // namespace

FGrafico6::FGrafico6()
    : GraphPage(QStringLiteral("FGrafico6"), QStringLiteral("Graphic 6"),
                GraphLayout{QRect(120, 1530, 2585, 2025), QRect(165, 4365, 2585, 2085), QRect(), {0, 1}, false, 4, true}, makeSpec())
{
}

} // namespace tav
