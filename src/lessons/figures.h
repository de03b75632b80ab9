#pragma once
// The formula and diagram pictures of the lesson pages, drawn as typeset
// text on white at their design sizes (logical pixels) and the screen's
// ratio, each drawn once per ratio and kept.

#include "platform/pictures.h"

#include <QPixmap>

class QPainter;

namespace tav::figures {

QPixmap establishmentEquation(qreal ratio = pictures::screenRatio());  // 314x71: 1/(p1 x p2) = RDL x Population
QPixmap thresholdEquation(qreal ratio = pictures::screenRatio());      // 320x59: RDL = 1/(p1 x p2 x (consignment_size))
QPixmap confidenceEquation(qreal ratio = pictures::screenRatio());     // 340x63: RDL = (1 - CL)/(p1 x p2 x (consignment_size))
QPixmap pathwayDiagram(qreal ratio = pictures::screenRatio());         // 630x195: the chain from the field to establishment
QPixmap protectionEquation(qreal ratio = pictures::screenRatio());     // 620x75: the ALP as the time between introductions
// The same equation onto any painter, over a 620x75 area.
void paintProtectionEquation(QPainter& p);

} // namespace tav::figures
