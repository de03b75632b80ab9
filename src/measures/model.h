#pragma once
// The measure model of topic 12, as plain computations.
//
// A measure of efficacy e applied to a field of prevalence p leaves
// pa = (1 - e) p in the consignment; a sample of n of the N units detects
// the pest with probability ic = 1 - (1 - n/N)^(pa N); with k importations
// a year and the probabilities P1 (reach a host) and P2 (establish) the
// years between establishments are T = 1 / (N P1 P2 k (1 - ic) pa).
//
// The page passes its values from step to step through label captions, so a
// value carries exactly the precision its caption shows. The caption-level
// functions below take and give those texts; a failing step (RuntimeError
// from the checked arithmetic) leaves its caption as it was.

#include <QString>
#include <functional>

namespace tav {

class ErrorHandler;

namespace measures {

// The standard normal deviate of p plus 5 (percentage points of the normal
// distribution). p outside (0, 1) gives 5; the caller maps p = 1 first.
double probitValue(double p);
// The lower-tail normal probability of z - 5, with a cut-off of 12.7
// standard deviations in both tails.
double mortalValue(double z);
// The value of p that probit works with: 1 becomes 0.9999999999.
inline double probitArgument(double p) { return p == 1.0 ? 0.9999999999 : p; }

// A caption read back as the number it shows (numberOrLeading).
double readCaption(const QString& text);
// A text converted as a whole number in the user's locale; a text that is not
// a number raises "Type mismatch".
double converted(const QString& text);
// A picture pattern whose decimal places are all "#" keeps its decimal point
// when no decimal digit is shown (45 through "#,##0.#" is "45.").
QString formatKeepingPoint(double value, const QString& pattern);

// The model's plain formulas; every one raises on a failing operation.
double prevalenceAfter(double p, double e);
double detectionProbability(double n, double N, double pa);
double yearsBetween(double N, double P1, double P2, double k, double ic, double pa);

// The captions the recomputation reads.
struct ModelCaptions {
    QString prevalence;  // field prevalence, "0.0000"
    QString consignment; // consignment size, whole number
    QString efficacy;    // efficacy, general number text
    QString sample;      // sample size, whole number
    QString p1;          // "0.0000"
    QString p2;          // "0.0000"
    QString variability; // percent, editable combo text
    QString imports;     // importations per year, editable combo text
};

// What the recomputation writes; on entry the captions as they stand and the
// detection probability of the last recomputation.
struct ModelResults {
    QString prevalenceAfter; // with the variability suffix
    double ic = 0.0;
    QString confidence;      // ic, "0.0######"
    QString refused;         // ic in percent, "##0.0%"
    double T = 0.0;          // years between establishments (0 when it failed)
    QString establishments;  // establishments ...
    QString years;           // ... each so many years
};

// One recomputation, step by step; a failing step is skipped.
void recompute(const ModelCaptions& in, ModelResults& io);

// What the solver reads.
struct AlpInputs {
    QString prevalence;      // copy of the field prevalence
    QString consignment;     // copy of the consignment size
    QString p1, p2;          // copies of P1 and P2
    QString imports;         // importations per year (combo text)
    QString efficacy;        // efficacy caption beside its slider
    QString prevalenceAfter; // the model's pa caption
    double ic = 0.0;
    double yy1 = 0.0; // ALP, years between introductions
};

// The answers, one caption each; on entry the captions as they stand.
struct AlpAnswers {
    QString prevalence;  // "0.0#####"
    QString consignment; // "#,##0"
    QString efficacy;    // "0.0#####", "0.0" in place of a negative value
    QString probit;      // "0.0#"
    QString sample;      // "#,##0"
    QString p1;          // "0.0#####"
    QString p2;          // "0.0#####"
};

// The ALP answers: for each parameter, the value that gives T = yy1 with the
// others as they are. Each of the seven answers is one step of `h`; a step
// that fails keeps its caption. `probitOf` gives the probit of the efficacy
// answer (the page passes its own, which reports its failures).
void solveAlp(const AlpInputs& in, AlpAnswers& io, ErrorHandler& h,
              const std::function<double(double)>& probitOf = {});

// The ALP of a slider position: 10^(v / 10) years.
double alpYears(int position);

// The option captions of the answer group: the plain one, and the one that
// shows the answer (index 0 efficacy, 1 sample, 2 consignment, 3 field
// prevalence, 4 P1, 5 P2).
QString plainOptionCaption(int index);
QString answerOptionCaption(int index, const AlpAnswers& a);

} // namespace measures
} // namespace tav
