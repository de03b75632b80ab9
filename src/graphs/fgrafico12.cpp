#include "graphs/fgrafico12.h"

namespace tav {

namespace {

GraphSpec makeSpec()
{
    GraphSpec s;
    s.comboValues = [] { QList<int> l; for (int v = 10; v <= 300; v += 10) l << v; return l; }();
    s.comboDefault = QStringLiteral("100");
    s.gridRows = 50;
    s.gridCols = 3;
    s.colWidths = {1300, 2000, 2000};
    s.centred = {1, 2};
    s.gridWidthFromColumns = true;
    s.loadAdvice = QStringLiteral("Check your system for Grid32.ocx and Graph32.ocx");
    s.loadTitle = QStringLiteral("Error Graphic 12");
    s.computeAdvice = QStringLiteral("Unexpected error. Try again with new inputs");
    s.computeTitle = QStringLiteral("Error Graphic12(calc)");
    s.capacity = 501;
    s.comboSetsGridRows = true;
    s.resetIndex = 1;
    s.extraHand = {QStringLiteral("calcula_2")};
    return s;
}

} // namespace

FGrafico12::FGrafico12()
    : GraphPage(QStringLiteral("FGrafico12"), QStringLiteral("Graphic 12"),
                GraphLayout{QRect(75, 1410, 2585, 2025), QRect(75, 3495, 2585, 2385), QRect(75, 5910, 2585, 1305), {0, 1, 2, 3}, false, 5, true}, makeSpec())
{
}

} // namespace tav
