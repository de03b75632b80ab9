#pragma once
// Graphic 2.

#include "graphs/graphpage.h"

namespace tav {

class FGrafico2 : public GraphPage {
    Q_OBJECT
public:
    FGrafico2();

protected:
    void defaults(IgnoreErrors& e) override { Q_UNUSED(e); }
    void compute(int index, TrapErrors& t) override
    {
        Q_UNUSED(index);
        Q_UNUSED(t);
    }
};

} // namespace tav
