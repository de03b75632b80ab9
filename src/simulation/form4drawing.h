#pragma once
// The topic-4 page's picture of one consignment: a grid of cells, the
// infested units as small red circles, the inspected ones as larger blue
// circles, the verdict, and for an ingressed consignment one red dot per
// infested unit over the destination picture.
//
// The computations (grid geometry, which units are infested and inspected,
// the verdict, where the dots fall) stand apart from the painting so that they
// can run on any generator; drawConsignment() is the page's procedure that
// reads the inputs, paints on the panel and reports failures to its handler.

#include <QColor>
#include <QList>
#include <QPointF>
#include <QString>
#include <cstdint>
#include <memory>

class QWidget;

namespace tav {

class ErrorHandler;
class Form;
class RandomSource;

// The cells of the picture for N units in a picture of width x height (in the
// picture's scale). Raises when N leaves no column or row.
struct ConsignmentGrid {
    float width = 0, height = 0;
    float ratio = 0;
    // shapeRows is what the picture's shape asks for; rows adds one when the
    // last units would fall below it, so that every unit has a cell in sight.
    int32_t cols = 0, shapeRows = 0, rows = 0;
    float cellW = 0, cellH = 0;
    QList<float> verticals;   // x of each vertical line, from 0 while within the width
    QList<float> horizontals; // y of each horizontal line

    // The cells the infested count is taken on: those of the picture's shape.
    int64_t cells() const { return int64_t(cols) * shapeRows; }
    // The centre of unit u: row Int(u / cols), column u - cols x row (the
    // top-left cell holds no unit).
    QPointF centre(int32_t unit) const;
    float infestedRadius() const { return cellH / 3.5f; }
    float inspectedRadius() const { return cellH / 2.2f; }
};

ConsignmentGrid consignmentGrid(float width, float height, int32_t N);

// Infested units are counted on the cells, not on the units.
int32_t infestedCount(const ConsignmentGrid& g, double prevalence);
// Raises, saying why, when the cells ask for more infested units than the
// consignment has: no search could place the last ones.
void checkInfestable(int32_t nInf, int32_t N);

// The draws of the consignment: units are drawn as Int(r x N + 1) until one
// without the mark comes up. The infestation counts every draw and the
// inspection every placed unit in a 16-bit counter, whose step past 32767 is
// an overflow; that bounds the search when more units are asked than exist.
class ConsignmentDraws {
public:
    explicit ConsignmentDraws(int32_t N);
    ~ConsignmentDraws();

    int32_t size() const { return N_; }
    void startInfestation();
    int32_t placeInfested(RandomSource& r);
    void startInspection();
    // The sample draws from one seed: reseeding from the clock before every
    // draw would repeat draws within one clock tick. Raises, before drawing,
    // when every unit is already inspected.
    int32_t placeInspected(RandomSource& r);
    // Counts a placed inspected unit.
    void countInspected();

    bool isInfested(int32_t u) const;
    bool isInspected(int32_t u) const;
    const QList<int32_t>& infested() const { return infested_; }
    const QList<int32_t>& inspected() const { return inspected_; }
    int counter() const { return counter_; }
    // The lowest unit both infested and inspected, 0 if none.
    int32_t firstHit() const;

private:
    class Marks;
    int32_t draw(RandomSource& r) const;
    void count();
    void checkSize() const;

    int32_t N_;
    std::unique_ptr<Marks> infestedMarks_, inspectedMarks_;
    QList<int32_t> infested_, inspected_;
    int counter_ = 0;
};

// One dot of the destination picture (pixels): y from the first draw, then x.
QPointF destinationDot(RandomSource& r, double scaleWidth, double scaleHeight);

QString verdictText(bool refused);
QColor verdictColor(bool refused);

// The whole picture computed without a window (tests and benchmarks): the
// same draws in the same order as the page makes them.
struct ConsignmentPlan {
    ConsignmentGrid grid;
    int32_t nInf = 0;
    QList<int32_t> infested, inspected;
    int32_t firstHit = 0;
    bool refused = false;
    QList<QPointF> dots;
    int infestationDraws = 0;
};
ConsignmentPlan planConsignment(float width, float height, int32_t N, double prevalence, float n,
                                double destWidth, double destHeight, RandomSource& r);

// Builds the panel Picture3 with Picture1, Picture2, the legend Shape1_0/1
// and Label7_0..2 at their design values, on `parent`.
QWidget* buildConsignmentPanel(QWidget* parent);

// The drawing step of the topic-4 page's run: reads Text1_0..2, draws on
// Picture1 and Picture2 and writes the verdict in Label7_2. Every statement is
// a step of `h`; returns false when the handler ended the procedure.
bool drawConsignment(Form& frm, ErrorHandler& h);

} // namespace tav
