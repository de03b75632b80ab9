#include "graphs/samplingcurves.h"

#include "common/format.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "graphs/graphpage.h"

#include <QVariant>

namespace tav {

double requiredSample(double size, double q, double rdl)
{
    const double e = cdiv(1.0, checked(size * rdl));
    return checked(oneMinusPow(q, e) * size);
}

void sweepRdl(double n, double q, double xmin, double end, double step, std::vector<double>& vx,
              std::vector<double>& vy, int& i)
{
    i = 1;
    double x = xmin;
    while (step >= 0 ? x <= end : x >= end) {
        at(vx, i) = x;
        at(vy, i) = requiredSample(n, q, x);
        ++i;
        x = checked(x + step);
    }
}

void sweepConsignments(Sampling kind, double value, double q, double rdl, double xmin, double end, double step,
                       std::vector<double>& vx, std::vector<double>& vy, int& i)
{
    i = 1;
    const int64_t from = clng(xmin);
    const int64_t to = clng(end);
    const int64_t by = clng(step);
    for (int64_t x = from; by >= 0 ? x <= to : x >= to;) {
        if (x == 0) {
            at(vx, i) = 0;
            at(vy, i) = 0;
        } else {
            const double r = requiredSample(double(x), q, rdl);
            at(vx, i) = double(x);
            switch (kind) {
            case Sampling::Reference: at(vy, i) = r; break;
            case Sampling::Percent: at(vy, i) = checked(value * double(x) / 100.0); break;
            case Sampling::Constant: at(vy, i) = value; break;
            }
        }
        ++i;
        if (cdiv(end - xmin, step) < i)
            break;
        x += by;
        // The running size is a 32-bit whole number.
        if (x > INT32_MAX || x < INT32_MIN)
            raise(ErrOverflow);
    }
}

double cellNumber(const QVariant& cell)
{
    if (cell.typeId() == QMetaType::Double || cell.typeId() == QMetaType::Int || cell.typeId() == QMetaType::LongLong)
        return cell.toDouble();
    return numberOrLeading(cell.toString());
}

namespace {

QString opening(const QString& rdl, const QString& cl)
{
    return QStringLiteral("The data shows that, considering a RDL of ") + quotedText(rdl)
        + QStringLiteral(" and a Confidence Level of ") + quotedText(cl);
}

const QString kFewPoints = QStringLiteral("Please increase de number of points for a more realible numbers in the comment.");

// How a comparison comment ends: `both` (the caller's own sentence) when the
// sampling is below the need somewhere and above it elsewhere, else always
// below or always above it after `start`; with fewer than 60 points, only the
// note asking for more.
QString comparisonEnd(const QString& both, const QString& start, bool under, bool over, const QString& combo)
{
    QString comment;
    if (under && over)
        comment = both;
    else if (under)
        comment = start
            + QStringLiteral("always sampling using a sample size less then necessary to detect the specified RDL in "
                             "consignments.");
    else if (over)
        comment = start + QStringLiteral("always oversampling and your inspectiom costs will be greater then necessary.");
    if (numberOrLeading(combo) < 60)
        comment = kFewPoints;
    return comment;
}

} // namespace

QString percentComment(const TabelaImp& t, int sets, int points, const QString& rdl, const QString& cl,
                       const QString& percent, const QString& combo)
{
    QString both;
    QString limite;
    bool limitSet = false;
    const int c = sets == 2 ? 2 : 4;
    bool menor = false, maior = false;
    for (int j = 1; j <= points; ++j) {
        const double a = cellNumber(t.impcelula(c, j));
        const double r = cellNumber(t.impcelula(1, j));
        if (a < r)
            menor = true;
        if (a > r) {
            maior = true;
            if (!limitSet) {
                limite = t.improtulo(j);
                limitSet = true;
            }
        }
    }
    const QString b = opening(rdl, cl);
    const QString who = c == 2 ? QStringLiteral(", and a sample size corresponding to ") + percent
                                     + QStringLiteral("% of the consignment then you will be ")
                               : QStringLiteral(", if, for instance, you sample 3% of the consignment then you will be ");
    if (menor && maior)
        both = b + who + QStringLiteral("oversampling in consignments grater then ") + limite
            + QStringLiteral(" units. Also your sample size will be less then necessary to detect the specified RDL in "
                             "consignments with less then ")
            + limite + QStringLiteral(" units.");
    return comparisonEnd(both, b + who, menor, maior, combo);
}

QString constantComment(const TabelaImp& t, int sets, int points, const QString& rdl, const QString& cl,
                        const QString& size, const QString& combo)
{
    QString both;
    float limite = -1;
    const double compared = sets == 2 ? double(clng(numberOrLeading(size))) : 200.0;
    bool menor = false, maior = false;
    for (int j = 1; j <= points; ++j) {
        const double r = cellNumber(t.impcelula(1, j));
        if (r > compared)
            menor = true;
        if (r < compared) {
            maior = true;
            limite = float(localeValue(t.improtulo(j)));
        }
    }
    // Only the empty consignment lay below the size: that is no oversampling.
    if (limite == 0)
        maior = false;
    const QString b = opening(rdl, cl);
    const QString l = generalText(double(limite));
    const bool two = sets == 2;
    const QString who = two ? QStringLiteral(", and a sample size corresponding to ") + size
                                  + QStringLiteral(" units then you will be ")
                            : QStringLiteral(", if for example, you sample 200 units then you will be ");
    if (menor && maior)
        both = b + who + QStringLiteral("oversampling in consignments with less then ") + l
            + QStringLiteral(" units. Also your sample size will be less then necessary to detect the specified RDL in "
                             "consignments ")
            + (two ? QStringLiteral("greater then ") : QStringLiteral("grater then ")) + l + QStringLiteral(" units.");
    return comparisonEnd(both, b + who, menor, maior, combo);
}

} // namespace tav
