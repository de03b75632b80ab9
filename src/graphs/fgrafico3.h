#pragma once
// Graphic 3.

#include "graphs/graphpage.h"

namespace tav {

class FGrafico3 : public GraphPage {
    Q_OBJECT
public:
    FGrafico3();

protected:
    void defaults(IgnoreErrors& e) override { Q_UNUSED(e); }
    void compute(int index, TrapErrors& t) override
    {
        Q_UNUSED(index);
        Q_UNUSED(t);
    }
};

} // namespace tav
