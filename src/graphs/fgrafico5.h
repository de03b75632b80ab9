#pragma once
// Graphic 5: inspections without failure (an establishment) against the
// sample size, around the sample that gives one failure in the number of
// inspections asked for.

#include "graphs/graphpage.h"

namespace tav {

class FGrafico5 : public GraphPage {
    Q_OBJECT
public:
    FGrafico5();

protected:
    void buildPage(FormWidget* w) override;
    void loadHeading(TrapErrors& t) override;
    void defaults(IgnoreErrors& e) override;
    void compute(int index, TrapErrors& t) override;
    void validateText2(int index, IgnoreErrors& e) override;

private:
    void calculagrafico(TrapErrors& t);
};

} // namespace tav
