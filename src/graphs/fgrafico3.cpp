#include "graphs/fgrafico3.h"

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
    s.facesFirst = false;
    s.loadAdvice = QStringLiteral("Check your instalation for Grid32.ocx and Graph32.ocx");
    s.loadTitle = QStringLiteral("Error Loading Graphic 3");
    s.computeAdvice = QStringLiteral("Try again with new inputs");
    s.computeTitle = QStringLiteral("Error Graphic 3");
    s.capacity = 501;
    s.xColumn = QStringLiteral("C.Size (X)");
    s.graph = QRect(2820, 1620, 8640, 5130);
    s.grid = QRect(3510, 1620, 7170, 5145);
    return s;
}

} // namespace

FGrafico3::FGrafico3()
    : GraphPage(QStringLiteral("FGrafico3"), QStringLiteral("Graphic 3"),
                GraphLayout{QRect(105, 1620, 2615, 2040), QRect(135, 4710, 2615, 2010), QRect(), {0, 1, 2, 3}, false, 3, false}, makeSpec())
{
}

} // namespace tav
