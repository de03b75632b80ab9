#pragma once
// Graphic 4: the sample size each consignment needs to avoid the
// establishment of a pest, against the confidence level, for one typed
// consignment size or for five fixed ones.

#include "graphs/graphpage.h"

namespace tav {

class FGrafico4 : public GraphPage {
    Q_OBJECT
public:
    FGrafico4();

protected:
    void buildPage(FormWidget* w) override;
    void defaults(IgnoreErrors& e) override;
    void compute(int index, TrapErrors& t) override;
    void validateText1(int index, IgnoreErrors& e) override;
    void validateText2(int index, IgnoreErrors& e) override;
};

} // namespace tav
