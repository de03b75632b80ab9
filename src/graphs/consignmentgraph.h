#pragma once
// What graphs 2 and 3 share: the required sample against the consignment
// size beside either the user's own sampling (a percentage on graph 2, a
// constant size on graph 3, typed in Text2_1) or four fixed ones, and a
// comment that compares one of them with the reference row by row.

#include "graphs/graphpage.h"
#include "graphs/samplingcurves.h"

namespace tav {

class ConsignmentGraph : public GraphPage {
    Q_OBJECT
public:
    using GraphPage::GraphPage;

protected:
    void compute(int index, TrapErrors& t) override;
    void validateText1(int index, IgnoreErrors& e) override;

    virtual Sampling sampling() const = 0;
    // The four curves drawn when no value of the user's is typed.
    virtual QList<double> fixedValues() const = 0;
    virtual QString xHeader() const = 0;          // grid cell (0, 0)
    virtual QString referenceLegend() const = 0;
    virtual QString legend(double value, bool own) const = 0; // own: the user's value
    virtual QVariant printHeader(double value) const = 0;
    virtual QString subtitle() const = 0;
    virtual QString title(double rdl, double cl) const = 0;
    virtual QString bottomTitle() const = 0;
    virtual QString comment(int sets, int points) = 0;

private:
    // One data set: the sweep, then its points into the chart, the grid and
    // the print table. False when the computation must stop.
    bool curva(TrapErrors& t, int set, Sampling kind, double value, double q, double rdl, double xmin, double end,
               double step);
};

} // namespace tav
