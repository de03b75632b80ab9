#pragma once
// What graphs 2 and 3 share: the required sample against the consignment
// size beside either the user's own sampling (a percentage on graph 2, a
// constant size on graph 3, typed in Text2_1) or four fixed ones, and a
// comment that compares one of them with the reference row by row.

#include "graphs/graphpage.h"
#include "graphs/samplingcurves.h"

#include <QRect>

namespace tav {

class TabelaImp;
class XTexts;
class YieldPacer;

// The texts and the sampling that tell the two graphs apart.
struct ConsignmentDesign {
    Sampling sampling = Sampling::Percent;
    QList<double> fixedValues; // the four curves drawn when no value of the user's is typed
    QString xHeader;           // grid cell (0, 0)
    QString referenceLegend;
    QString subtitle;
    QString titleHead; // the chart title before "(Reference: RDL = "
    QString bottomTitle;
    // The window: the captions of the three parameter boxes (one every
    // captionStep twips down), the heading, the hint under Back and the
    // comment (twips).
    QStringList captions;
    int captionStep = 350;
    QRect heading;
    QString headingText;
    QRect hint, commentPlace;
    // The defaults: Y max and X max; the own value is emptied before the CL
    // is written (else after).
    QString yMax, xMax;
    bool clearOwnFirst = false;
    // The comment from the print table and the RDL, CL, own value and
    // point-count texts.
    QString (*comment)(const TabelaImp& t, int sets, int points, const QString& rdl, const QString& cl,
                       const QString& own, const QString& combo) = nullptr;
};

// The design both graphs start from: point counts, the six-column table,
// the error advice and the column label of X.
GraphSpec consignmentSpec();

class ConsignmentGraph : public GraphPage {
    Q_OBJECT
public:
    ConsignmentGraph(const QString& name, const QString& caption, GraphLayout layout, GraphSpec spec,
                     ConsignmentDesign design);

protected:
    void buildPage(FormWidget* w) final;
    void defaults(IgnoreErrors& e) final;
    void compute(int index, TrapErrors& t) override;
    void validateText1(int index, IgnoreErrors& e) override;

    // The page's own places and design texts, before the shared labels.
    virtual void arrange(FormWidget* w) = 0;

    virtual QString legend(double value, bool own) const = 0; // own: the user's value
    virtual QVariant printHeader(double value) const = 0;

private:
    QString title(double rdl, double cl) const;

    ConsignmentDesign design_;

    // One data set: the sweep, then its points into the chart, the grid and
    // the print table. False when the computation must stop.
    bool curva(TrapErrors& t, YieldPacer& pacer, XTexts& xTexts, int set, Sampling kind, double value, double q, double rdl,
               double xmin, double end, double step);
};

} // namespace tav
