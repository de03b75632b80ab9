#include "graphs/fgrafico1.h"

namespace tav {

namespace {

GraphSpec makeSpec()
{
    GraphSpec s;
    s.comboValues = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    s.comboDefault = QStringLiteral("20");
    s.gridRows = 101;
    s.gridCols = 6;
    s.colWidths = {1140, 1140, 1140, 1140, 1140, 1140};
    s.centred = {1, 2, 3, 4, 5};
    s.facesFirst = false;
    s.loadAdvice = QStringLiteral("Check your instalation for Graph32.ocx and Grid32.ocx");
    s.loadTitle = QStringLiteral("Error loading graphic 1");
    s.computeAdvice = QStringLiteral("Try again with new inputs");
    s.computeTitle = QStringLiteral("Error Graphic 1");
    s.capacity = 111;
    s.xColumn = QStringLiteral("RDL (X)");
    s.graph = QRect(2850, 1980, 8760, 5130);
    s.grid = QRect(3675, 1995, 7050, 5115);
    return s;
}

} // namespace

FGrafico1::FGrafico1()
    : GraphPage(QStringLiteral("FGrafico1"), QStringLiteral("Graphic 1"),
                GraphLayout{QRect(105, 1980, 2615, 2040), QRect(105, 5070, 2615, 1065), QRect(), {0, 1, 2, 3}, false, 0, false}, makeSpec())
{
}

} // namespace tav
