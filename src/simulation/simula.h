#pragma once
// The Monte-Carlo engine of the inspection simulation.
//
// One run simulates I consignments of N units: per consignment a prevalence
// is drawn around the mean, that many units are infested, a sample of n
// distinct units is inspected and the consignment is refused when the sample
// holds an infested unit. Ingressed consignments may also draw p1 (a pest
// reaches a host) and p2 (it establishes).
//
// The run itself (SimulationRun) is a computation over plain inputs and a
// generator; simula() is the window adapter that reads the inputs from named
// controls of any window, yields to the event loop once per consignment,
// stores the rows in resultados and writes the result labels.

#include "simulation/resultados.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>

class QWidget;

namespace tav {

class Form;
class RandomSource;

struct SimulationInputs {
    int32_t N = 0;           // units per consignment
    double prevalence = 0.0; // mean prevalence
    int32_t n = 0;           // sample size
    int32_t I = 0;           // consignments
    double varprev = 0.0;
    double varp1 = 0.0;
    double varp2 = 0.0;
    double prob1 = 0.0; // mean p1
    double prob2 = 0.0; // mean p2
    // The ingress to host and establishment draws run only with a mean above 0.
    bool establishment() const { return prob1 > 0.0 || prob2 > 0.0; }
};

// One simulated consignment, with what its columns of resultados show.
struct SimulationRow {
    int k = 0;
    double D = 0.0;          // drawn infestation in units, never rounded
    int infested = 0;        // distinct infested units
    double prevalence = 0.0; // D / N to four decimals
    int found = 0;           // infested units in the sample
    bool refused = false;
    double ingressed = 0.0;  // refused: 0; ingressed: D to a whole number
    bool drewP = false;      // P1 and P2 were drawn
    double p1 = 0.0, p2 = 0.0;
    double host = 0.0; // D x P1
    double est = 0.0;  // host x P2
};

struct SimulationTotals {
    int32_t refused = 0;   // R
    int32_t ingressed = 0; // A
    int32_t found = 0;     // infested units found over the refused consignments
    double sumPrevalence = 0.0; // of the ingressed consignments, as rounded
    double sumP1 = 0.0;
    double sumP2 = 0.0;
    double sumHost = 0.0;
    double sumEst = 0.0;
};

constexpr int kMaxUnits = 10000;
constexpr int kMaxConsignments = Resultados::kRows - 1;

// A run, consignment by consignment. The constructor refuses, with a
// RuntimeError and before anything is drawn, the inputs no run can honour: more
// consignments than the results table holds, and, when any consignment is to
// run, a consignment size outside 1..10000, a negative sample, a sample larger
// than the consignment or a negative variability. Each step then draws from
// the generator in a fixed order: the prevalence, the infested units, the
// inspected units and, for an ingressed consignment with the establishment
// draws on, P1 and P2. Every step ends within a bounded number of draws.
class SimulationRun {
public:
    explicit SimulationRun(const SimulationInputs& in);
    ~SimulationRun();
    SimulationRun(const SimulationRun&) = delete;
    SimulationRun& operator=(const SimulationRun&) = delete;

    const SimulationInputs& inputs() const { return in_; }
    bool done() const { return k_ >= in_.I; }
    // Consignments simulated so far.
    int count() const { return k_; }
    SimulationRow step(RandomSource& r);
    const SimulationTotals& totals() const { return totals_; }

private:
    struct Units;
    int pick(RandomSource& r, bool inspection);

    SimulationInputs in_;
    SimulationTotals totals_;
    double lo_ = 0.0, hi_ = 0.0;
    int k_ = 0;
    std::unique_ptr<Units> units_;
};

struct SimulationResult {
    QList<SimulationRow> rows;
    SimulationTotals totals;
};

// A whole run without any window.
SimulationResult simulate(const SimulationInputs& in, RandomSource& r);

// The number of distinct infested units for a drawn D: the ceiling of D,
// taken with a tolerance so that 0.07 x 100 infests 7 units, not 8.
int infestedUnits(double D);

// The result labels in the order the engine writes them; the last six only
// with the establishment draws on.
QStringList resultLabelNames(bool establishment);
// The text a result label shows after a run (Lnsim excepted: it shows the
// consignment counter). Raises where the value cannot be computed, as the
// percentages of a run of no consignment.
QString resultLabelText(const QString& name, const SimulationInputs& in, const SimulationTotals& t);

// The text of a control as the engine reads and writes it: a combo box's or
// a text box's text, a label's caption; another kind of control raises.
QString controlText(QWidget* w);
void setControlText(QWidget* w, const QString& text);

enum class SimulaEnd {
    Finished,     // the run ended as asked
    Failed,       // the error box ended the run or let a failing step pass
    Busy,         // refused: a run is already in progress
    WindowClosed, // the window was unloaded while the run yielded
};

// Runs the simulation on a window that carries the named controls Text1_0
// (N), Text1_1 (prevalence), Text1_2 (n) and Combo1 (I), and writes its
// result labels (Lpre_ing, Lencontradas, Lingreso, Ling, Lpct_ing, Lnsim,
// Lingreso_total; with prob1 or prob2 above 0 also p1, p2, Np1medio,
// Np2medio, Lp1medio, Lp2medio). Combo1 counts the consignments. Failures go
// to the error box "Error in simulation". The variabilities are taken as they
// stand when the run starts.
SimulaEnd simula(double prob1, double prob2, Form& frm);
// True while a run yields to the event loop.
bool simulaRunning();

} // namespace tav
