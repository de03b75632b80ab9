#pragma once
// Graphic 3: constant-size sampling against the required sample.

#include "graphs/consignmentgraph.h"

namespace tav {

class FGrafico3 : public ConsignmentGraph {
    Q_OBJECT
public:
    FGrafico3();

protected:
    void arrange(FormWidget* w) override;
    void validateText2(int index, IgnoreErrors& e) override;

    QString legend(double value, bool own) const override;
    QVariant printHeader(double value) const override;
};

} // namespace tav
