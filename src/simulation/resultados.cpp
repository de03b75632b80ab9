#include "simulation/resultados.h"

#include "common/format.h"
#include "common/runtime.h"

namespace tav {

namespace {
void checkIndex(int col, int row)
{
    if (col < 0 || col >= Resultados::kCols || row < 0 || row >= Resultados::kRows)
        raise(ErrSubscript);
}
} // namespace

const QVariant& Resultados::cell(int col, int row) const
{
    checkIndex(col, row);
    return cells_[size_t(col)][size_t(row)];
}

void Resultados::setCell(int col, int row, const QVariant& value)
{
    checkIndex(col, row);
    cells_[size_t(col)][size_t(row)] = value;
}

QString Resultados::text(int col, int row) const { return cellText(cell(col, row)); }

void Resultados::clear()
{
    for (auto& column : cells_)
        for (QVariant& v : column)
            v = QVariant();
}

Resultados& resultados()
{
    static Resultados r;
    return r;
}

QString cellText(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        return QString();
    case QMetaType::QString:
        return value.toString();
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::LongLong:
        return QString::number(value.toLongLong());
    default:
        return generalText(value.toDouble());
    }
}

Variabilidades& variabilidades()
{
    static Variabilidades v;
    return v;
}

void resetSimulationState()
{
    resultados().clear();
    variabilidades() = Variabilidades();
}

} // namespace tav
