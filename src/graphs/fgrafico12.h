#pragma once
// Graphic 12: the time lag between introductions of a pest (Graph1, on a
// logarithmic axis) and the share of refused consignments (Graph2) against
// the efficacy of a phytosanitary measure. The two charts stand together in
// place of the table: Graph2 follows Graph1 whenever the view switches.

#include "graphs/graphpage.h"

namespace tav {

class FGrafico12 : public GraphPage {
    Q_OBJECT
public:
    FGrafico12();

    std::vector<double> recusadas;

    Chart* graph2();
    QLineEdit* text3(int index);
    void Text3_Validate(int index);

protected:
    void buildPage(FormWidget* w) override;
    void loadHeading(TrapErrors& t) override;
    void defaults(IgnoreErrors& e) override;
    void compute(int index, TrapErrors& t) override;
    void validateText1(int index, IgnoreErrors& e) override;
    void validateText2(int index, IgnoreErrors& e) override;
    QList<Chart*> charts() override;

private:
    class Watcher;
    friend class Watcher;
};

} // namespace tav
