#pragma once
// Graphic 12.

#include "graphs/graphpage.h"

namespace tav {

class FGrafico12 : public GraphPage {
    Q_OBJECT
public:
    FGrafico12();

protected:
    void defaults(IgnoreErrors& e) override { Q_UNUSED(e); }
    void compute(int index, TrapErrors& t) override
    {
        Q_UNUSED(index);
        Q_UNUSED(t);
    }
};

} // namespace tav
