#pragma once
// The drawing of one consignment on the results window's picture panel: a
// grid of cells, the infested units as red rings, the sampled units as blue
// rings, the verdict, and for an ingressed consignment the pests that
// ingress, reach a host and establish as red dots in three pictures.
//
// The computations (the grid, which units are infested and sampled, the
// bound on repeated sample draws, the dot counts) stand apart from the
// painting so that they can be checked with a scripted generator.

#include <QList>
#include <QPointF>
#include <QWidget>
#include <cstdint>

namespace tav {

class Label;
class PictureBox;
class RandomSource;

// Repeated draws of already sampled units allowed over a whole sample.
constexpr int32_t kMaxSampleAttempts = 1500000;
// The drawing refuses larger consignments and prevalences.
constexpr int32_t kMaxDrawnConsignment = 5000;
constexpr float kMaxDrawnPrevalence = 0.9f;

extern const char* const kSampleTooLarge;

struct BaseGeometry {
    float W = 0, H = 0; // the consignment picture's size
    float ratio = 0;
    int cols = 0, rows = 0;
    float cw = 0, ch = 0; // exact cell size
    int s = 0, t = 0;     // whole-number steps of the grid lines
    // The grid lines' positions: x = 0, s, 2s ... up to W; y likewise.
    QList<int> verticals() const;
    QList<int> horizontals() const;
    // The centre of unit u's cell (units from 1; the first cell stays empty).
    QPointF centre(int u) const;
};

// Raises a run-time error for a consignment below one unit.
BaseGeometry baseGeometry(float W, float H, int32_t pop);

// Infested cells, counted from the grid and not from pop.
float infestedCells(const BaseGeometry& g, float inf);

// A random unit between 1 and pop.
int drawUnit(RandomSource& r, int32_t pop);

struct BasePlan {
    bool drawn = false; // false: refused by the limits, nothing but the clear
    BaseGeometry geometry;
    float ninfestadas = 0;
    QList<int> infested; // in the order they were placed
    QList<int> sampled;
    int32_t attempts = 0;     // repeated draws over the whole sample
    bool sampleFailed = false; // the bound was exceeded: nothing is shown
    bool refused = false;      // a sampled unit is infested
};

// The full drawing's decisions, with the generator's reseeds where the
// drawing makes them. At most pop units are infested, so that a grid with
// more cells than units cannot ask for more units than there are.
BasePlan planBase(float W, float H, int32_t pop, float inf, int32_t samp, RandomSource& r);

// Dots of the host and establishment pictures for ninfestadas.
int hostDots(float ninfestadas, float pr1);
int establishedDots(float ninfestadas, float pr1, float pr2);

// A dot's centre in a picture of the given inner size in pixels: y first.
QPoint dotAt(RandomSource& r, int innerWidth, int innerHeight);

// The controls the drawing works on.
struct BaseSurface {
    PictureBox* consignment = nullptr; // Picture1, twips
    PictureBox* ingressed = nullptr;   // Picture4, pixels
    PictureBox* host = nullptr;        // Picture2
    PictureBox* established = nullptr; // Picture3
    Label* verdict = nullptr;          // Label4(3)
    Label* hostLabel = nullptr;        // Label4(1)
    Label* establishedLabel = nullptr; // Label4(2)
    QWidget* window = nullptr;         // carries the hourglass while drawing
};

// flag 3 redraws the host and establishment pictures, 4 the establishment
// picture, any other value makes a full drawing. `ninfestadas` is the
// window's count of the last full drawing, which the partial redraws use.
// A run-time error ends the drawing where it stands.
void desenhabase(const BaseSurface& s, float& ninfestadas, int flag, int32_t pop, float inf, int32_t samp,
                 float pr1, float pr2);

} // namespace tav
