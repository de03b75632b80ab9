#pragma once
// Graphic 3: constant-size sampling against the required sample.

#include "graphs/consignmentgraph.h"

namespace tav {

class FGrafico3 : public ConsignmentGraph {
    Q_OBJECT
public:
    FGrafico3();

protected:
    void buildPage(FormWidget* w) override;
    void defaults(IgnoreErrors& e) override;
    void validateText2(int index, IgnoreErrors& e) override;

    Sampling sampling() const override;
    QList<double> fixedValues() const override;
    QString xHeader() const override;
    QString referenceLegend() const override;
    QString legend(double value, bool own) const override;
    QVariant printHeader(double value) const override;
    QString subtitle() const override;
    QString title(double rdl, double cl) const override;
    QString bottomTitle() const override;
    QString comment(int sets, int points) override;
};

} // namespace tav
