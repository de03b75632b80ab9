#pragma once
#include "common/twips.h"

namespace tav {

template <class T>
T* place(QWidget* parent, const QString& name, int left, int top, int width, int height)
{
    T* c = new T(parent);
    c->setObjectName(name);
    c->setGeometry(twipRect(left, top, width, height));
    c->setMouseTracking(true);
    return c;
}

} // namespace tav
