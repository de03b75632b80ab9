#include "graphs/fgrafico5.h"

namespace tav {

namespace {

GraphSpec makeSpec()
{
    GraphSpec s;
    s.comboValues = {10, 30, 50, 70, 90, 110, 130, 150, 170, 190};
    s.comboDefault = QStringLiteral("70");
    s.gridRows = 200;
    s.gridCols = 2;
    s.colWidths = {1000, 1800};
    s.centred = {1};
    s.gridWidthFromColumns = false;
    s.loadAdvice = QStringLiteral("Check your instalation for Grid32.ocx");
    s.loadTitle = QStringLiteral("Error loading Graphic 5");
    s.computeAdvice = QStringLiteral("Unexpected error. Try again with new inputs");
    s.computeTitle = QStringLiteral("Error Graphic 5");
    s.capacity = 501;
    s.comboSetsGridRows = true;
    s.resetIndex = 1;
    return s;
}

} // namespace

FGrafico5::FGrafico5()
    : GraphPage(QStringLiteral("FGrafico5"), QStringLiteral("Graphic 5"),
                GraphLayout{QRect(120, 1620, 2615, 2040), QRect(120, 4365, 2615, 2085), QRect(), {0, 1, 2, 3}, true, 4, true}, makeSpec())
{
}

} // namespace tav
