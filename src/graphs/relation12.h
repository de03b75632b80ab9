#pragma once
// The effect of a phytosanitary measure of efficacy x on the consignments
// of N units whose field prevalence is f, inspected with a sample of n
// units: after the measure the prevalence is f·(1 − x), the sample detects
// the infestation with det = 1 − (1 − n/N)^(N·prevalence), which refuses
// that share of the consignments, and the expected time lag in years
// between introductions of the pest is
//     1 / (p1·p2·N·f·(1 − x)·(1 − det)).
// Graphic 12 draws the time lag and the refused consignments against x.

#include "graphs/pointsweep.h"

#include <QStringList>
#include <array>
#include <cstdint>

namespace tav {

struct EfficacyInputs {
    double p1 = 0.0, p2 = 0.0;
    int32_t N = 0; // consignment size
    float f = 0.0f; // field prevalence, kept in single precision
    int32_t n = 0; // sample size
    double xMin = 0.0, xMax = 0.0;
    double yMax = 0.0; // the time-lag axis maximum: a larger lag is drawn at it
};

struct EfficacyPoint {
    double years = 0.0;   // time lag, not yet held to the axis maximum
    double refused = 0.0; // refused consignments, percent
};
EfficacyPoint efficacyModel(const EfficacyInputs& in, double x);

// The points of a computation: valoresx, valoresy and recusadas.
struct EfficacyArrays {
    PointArrays xy;
    std::vector<double>& r;
};

// The sweep: x from X min by repeated addition of the step while not past
// X max, into the arrays from index 1, each time lag held to the axis
// maximum. `computed` counts the points written so far (also when one
// fails). A point count of 0 is a division by zero.
double efficacyStep(const EfficacyInputs& in, int npontos);
void efficacyPoints(const EfficacyArrays& pts, int& computed, const EfficacyInputs& in, double step);

// The shape of the time-lag curve over points 1..P and the range of the
// refusals, as the comment tells them.
struct EfficacyShape {
    bool decrease = false;
    bool increase = false;
    double turning = 0.0; // efficacy in percent where the lag starts to rise
    float smallest = 120.0f;
    float largest = -1.0f;
};
EfficacyShape efficacyShape(const EfficacyArrays& pts, int P);

// How a point is written: efficacy, time lag and refusals in the table, the
// efficacy under the charts.
QString efficacyText(double x);
QString timeLagText(double T);
QString refusedText(double R);
QString efficacyLabel(double x);

// The comment the shape calls for; with neither a fall nor a rise the
// previous text stays.
QString efficacyComment(const EfficacyShape& shape, double xMax, const QString& previous);

// The warning of leaving a scale box (0 X min, 1 X max, 2 Y min, 3 Y max)
// or a parameter box (0 consignment size, 1 prevalence, 2 P1, 3 P2,
// 4 sample size); empty when it passes.
QString efficacyScaleWarning(int index, const std::array<QString, 4>& text1);
QString efficacySpecWarning(int index, const std::array<QString, 5>& text2);
// What leaving a refusal-axis box leaves in it: an empty Min becomes "0",
// an empty Max "1".
QString refusalAxisText(int index, const QString& text);

} // namespace tav
