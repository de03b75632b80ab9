#include "graphs/fgrafico2.h"

namespace tav {

namespace {

GraphSpec makeSpec()
{
    GraphSpec s;
    s.comboValues = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    s.comboDefault = QStringLiteral("60");
    s.gridRows = 300;
    s.gridCols = 6;
    s.colWidths = {1140, 1140, 1140, 1140, 1140, 1140};
    s.centred = {1, 2, 3, 4, 5};
    s.facesFirst = true;
    s.loadAdvice = QStringLiteral("Check your instalation for Grid32.ocx and Graph32.ocx");
    s.loadTitle = QStringLiteral("Error loading Graphic 2");
    s.computeAdvice = QStringLiteral("Try again with new inputs");
    s.computeTitle = QStringLiteral("Error Graphic 2");
    s.capacity = 511;
    s.xColumn = QStringLiteral("C.Size (X)");
    s.graph = QRect(2805, 1605, 8760, 4950);
    s.grid = QRect(3570, 1620, 7350, 4875);
    return s;
}

} // namespace

FGrafico2::FGrafico2()
    : GraphPage(QStringLiteral("FGrafico2"), QStringLiteral("Graphic 2"),
                GraphLayout{QRect(90, 1605, 2615, 2040), QRect(90, 4620, 2615, 1905), QRect(), {0, 1, 2, 3}, false, 3, true}, makeSpec())
{
}

} // namespace tav
