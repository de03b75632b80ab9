#pragma once
// The formula and diagram pictures of the lesson pages, drawn as typeset
// text on white at their design sizes, each drawn once and kept.

#include <QPixmap>

class QPainter;

namespace tav::figures {

QPixmap establishmentEquation();  // 314x71: 1/(p1 x p2) = RDL x Population
QPixmap thresholdEquation();      // 320x59: RDL = 1/(p1 x p2 x (consignment_size))
QPixmap confidenceEquation();     // 340x63: RDL = (1 - CL)/(p1 x p2 x (consignment_size))
QPixmap pathwayDiagram();         // 630x195: the chain from the field to establishment
QPixmap protectionEquation();     // 620x75: the ALP as the time between introductions
// The same equation onto any painter, over a 620x75 area.
void paintProtectionEquation(QPainter& p);

} // namespace tav::figures
