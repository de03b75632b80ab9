#include "shell/amostra.h"

#include "common/errors.h"
#include "common/messages.h"
#include "common/readings.h"
#include "common/runtime.h"

#include <QLineEdit>
#include <cmath>

namespace tav {

namespace {
const QString kAdvice = QStringLiteral("Try again with new inputs");
const QString kTitle = QStringLiteral("Error Form1");
} // namespace

SampleValue::SampleValue(const QLineEdit* box) : text_(box ? box->text() : QString()), isText_(true) {}

bool SampleValue::isNumber() const { return !isText_ || tav::isNumber(text_); }

double SampleValue::value() const { return isText_ ? numberOrLeading(text_) : number_; }

std::optional<double> consignmentSearch(double alpha, double rdl, double n, QList<double>* tried)
{
    TrapErrors t(kAdvice, kTitle);
    double N = 1000.0;
    double step = 100.0;
    bool rising = true;
    double f = 0.0; // a pass whose f failed and was ignored keeps the last one
    for (int pass = 1;; ++pass) {
        // Without these two stops a search that cannot meet its target would
        // run, or bring the error box back, for ever.
        if (N <= 0.0 || pass > kMaxSearchPasses) {
            t.step([] {
                throw RuntimeError(ErrInvalidCall,
                                   QStringLiteral("No consignment size fits the sample size, RDL and confidence level"));
            });
            return std::nullopt;
        }
        if (tried)
            tried->append(N);
        if (!t.step([&] { f = checked(cpow(alpha, cdiv(1.0, checked(N * rdl))) + cdiv(n, N)); }))
            return std::nullopt;
        if (f > 1.0) {
            if (!rising)
                step /= 2.0;
            N += step;
            rising = true;
        } else if (f < 1.0) {
            if (rising) {
                rising = false;
                step /= 2.0;
            }
            N -= step;
        }
        // The target is read on the f of this pass, before N moved.
        if (std::floor(f * 1000.0) == 1000.0)
            return N;
    }
}

std::optional<double> amostra(const SampleValue& nlote, const SampleValue& rdl, const SampleValue& risco,
                              const SampleValue& namostra)
{
    const bool hasN = nlote.isNumber();
    const bool hasRdl = rdl.isNumber();
    const bool hasRisk = risco.isNumber();
    const bool hasSample = namostra.isNumber();

    auto tooFew = [] {
        warning(QStringLiteral("Input 3 arguments"));
        return std::nullopt;
    };
    bool markN = false, markRdl = false, markRisk = false;
    if (!hasN) {
        if (!hasRdl && !hasRisk && !hasSample)
            return tooFew();
        markN = true;
    }
    if (!hasRdl) {
        if (!hasRisk && !hasSample)
            return tooFew();
        markRdl = true;
    }
    if (!hasRisk) {
        if (!hasSample)
            return tooFew();
        markRisk = true;
    }

    // A value that is not a number still enters the formulas ("-" as 0).
    const double N = nlote.value();
    const double R = rdl.value();
    const double alpha = risco.value();
    const double n = namostra.value();

    if (markN && !markRisk && !markRdl)
        return consignmentSearch(alpha, R, n);

    TrapErrors t(kAdvice, kTitle);
    std::optional<double> result;
    if (markRisk) {
        t.step([&] { result = oneMinusPowOfOneMinus(cdiv(n, N), checked(N * R)); });
    } else if (markRdl) {
        t.step([&] { result = cdiv(clog(alpha), checked(logOfOneMinus(cdiv(n, N)) * N)); });
    } else {
        t.step([&] { result = checked(oneMinusPow(alpha, cdiv(1.0, checked(N * R))) * N); });
    }
    return result;
}

} // namespace tav
