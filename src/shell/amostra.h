#pragma once
// The sample-size routine: the relation between consignment size N, required
// detection level RDL, risk α = 1 − CL and sample size n,
//     n = N·(1 − α^(1/(N·RDL))),
// solved for whichever value the caller marks by passing something that is
// not a number (every caller passes "-").
//
// It needs no window: its only outside service is the message boxes (the
// "Input 3 arguments" warning and the shared error box).

#include <QList>
#include <QString>

#include <optional>

class QLineEdit;

namespace tav {

// One loosely typed argument: a number or a text. A text box passes the text
// it holds when the argument is made.
class SampleValue {
public:
    SampleValue(double number) : number_(number), isText_(false) {}
    SampleValue(int number) : SampleValue(double(number)) {}
    SampleValue(const QString& text) : text_(text), isText_(true) {}
    SampleValue(const char* text) : SampleValue(QString::fromUtf8(text)) {}
    SampleValue(const QLineEdit* box);

    // A number, or a text that reads whole as a number in the user's locale.
    bool isNumber() const;
    // A number as it is; a text by its locale value when it is a number, else
    // by its leading value (so "-" reads 0).
    double value() const;

private:
    double number_ = 0.0;
    QString text_;
    bool isText_;
};

// The value the routine computes, or nothing after its warning or a failed
// computation (the box has then told the user). For a marked 1 − CL the
// result is the CL itself.
std::optional<double> amostra(const SampleValue& nlote, const SampleValue& rdl, const SampleValue& risco,
                              const SampleValue& namostra);

// A search that has not met its target after this many passes gives up.
constexpr int kMaxSearchPasses = 10000;

// The consignment size that fits the other three values, found by stepping
// N from 1000 (used by amostra when N is marked). `tried`, when given,
// receives the N of every pass in order. Failures go through the error box
// like amostra's; a search that runs out of passes or drives N to 0 or below
// shows one box and gives nothing.
std::optional<double> consignmentSearch(double alpha, double rdl, double n, QList<double>* tried = nullptr);

} // namespace tav
