#pragma once
// The drawing of one random consignment, from the field to establishment,
// computed apart from the pictures it is drawn on.
//
// planDrawing draws from the generator and returns the drawing as a list of
// operations on the six pictures (field, after measure, sampled consignment,
// shelf, host, established) plus the texts of the two labels it changes; the
// page paints the list. The running mean of established units lives in
// AnimationState, which the page keeps between drawings.

#include <QColor>
#include <QList>
#include <QString>
#include <cstdint>

namespace tav {

class RandomSource;

namespace measures {

enum class Pic { Field, AfterMeasure, Consignment, Shelf, Host, Established };

struct DrawOp {
    enum Kind { Clear, Point, Circle, Line, Warning };
    Kind kind = Clear;
    Pic pic = Pic::Field;
    double x = 0, y = 0;   // point, centre, or start of a line
    double x2 = 0, y2 = 0; // end of a line
    double radius = 0;
    QColor color;
    int width = 1; // line width of the consignment grid's strokes
};

struct AnimationParams {
    int flag = 0;       // first stage drawn: 1 to 4, any other value 0
    int32_t pop = 0;    // consignment size
    float inf = 0;      // field prevalence
    int32_t samp = 0;   // sample size
    float pr1 = 0;      // P1
    float pr2 = 0;      // P2
    float effic = 0;    // fraction that survives the measure
    float cvar = 0;     // variability of the field prevalence, a fraction
    bool timerOn = false;
};

// Inner sizes of the pixel pictures, and the consignment's outer size in twips.
struct AnimationGeometry {
    double fieldW = 345, fieldH = 102;
    double afterW = 345, afterH = 100;
    double shelfW = 137, shelfH = 133;
    double hostW = 137, hostH = 133;
    double estW = 137, estH = 133;
    double consignmentW = 3390, consignmentH = 2000;
};

struct AnimationState {
    float ninfest = 0;   // infested units after the measure in the last consignment (0 if refused)
    int32_t nsimul = 0;  // consignments in the running mean
    float somaestab = 0; // sum of their expected established units
};

struct DrawingPlan {
    QList<DrawOp> ops;
    QString label1;  // drawn field prevalence; null when not drawn
    QString label6;  // running mean; null when unchanged
    float inf = 0;   // prevalence the later stages used
    bool refused = false;
    bool redrawLimit = false;
    // Counts, for the reader of a plan.
    int fieldPoints = 0, afterCircles = 0, infestedUnits = 0, sampledUnits = 0;
    int shelfCircles = 0, hostCircles = 0, establishedCircles = 0;
    int columns = 0, rows = 0;
};

// Redraws of an already sampled unit after which the sample gives up.
constexpr int kRedrawLimit = 1500000;

inline const QString& redrawLimitText()
{
    static const QString t = QStringLiteral(
        "Sample size large or too close to the consignmento size. It is not possible to show graphical "
        "representation.");
    return t;
}

DrawingPlan planDrawing(const AnimationParams& in, const AnimationGeometry& g, AnimationState& st,
                        RandomSource& r);

// nint: the nearest whole number, a half to the even one.
double nint(double x);

} // namespace measures
} // namespace tav
