#pragma once
// Graphic 1: the sample size against the RDL for five confidence levels.

#include "graphs/graphpage.h"

namespace tav {

class FGrafico1 : public GraphPage {
    Q_OBJECT
public:
    FGrafico1();

protected:
    void buildPage(FormWidget* w) override;
    void loadHeading(TrapErrors& t) override;
    void afterGridLayout(TrapErrors& t) override;
    void defaults(IgnoreErrors& e) override;
    void compute(int index, TrapErrors& t) override;
    void validateText1(int index, IgnoreErrors& e) override;
    void validateText2(int index, IgnoreErrors& e) override;
};

} // namespace tav
