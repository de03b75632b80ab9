#pragma once
// Graphic 6: years between introductions of a pest against the required
// detection level, for a number of consignments imported a year.

#include "graphs/graphpage.h"

namespace tav {

class FGrafico6 : public GraphPage {
    Q_OBJECT
public:
    FGrafico6();

protected:
    void buildPage(FormWidget* w) override;
    void defaults(IgnoreErrors& e) override;
    void compute(int index, TrapErrors& t) override;
    void validateText1(int index, IgnoreErrors& e) override;
    void validateText2(int index, IgnoreErrors& e) override;
};

} // namespace tav
