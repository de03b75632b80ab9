#include "common/tabelaimp.h"

#include "common/runtime.h"

namespace tav {

namespace {
void checkRow(int row)
{
    if (row < 0 || row >= TabelaImp::kRows)
        raise(ErrSubscript);
}
void checkCol(int col)
{
    if (col < 0 || col >= TabelaImp::kCols)
        raise(ErrSubscript);
}
} // namespace

const QString& TabelaImp::improtulo(int row) const
{
    checkRow(row);
    return rotulos_[size_t(row)];
}

void TabelaImp::setImprotulo(int row, const QString& text)
{
    checkRow(row);
    rotulos_[size_t(row)] = text;
}

const QVariant& TabelaImp::impcelula(int col, int row) const
{
    checkCol(col);
    checkRow(row);
    return celulas_[size_t(col)][size_t(row)];
}

void TabelaImp::setImpcelula(int col, int row, const QVariant& value)
{
    checkCol(col);
    checkRow(row);
    celulas_[size_t(col)][size_t(row)] = value;
}

void TabelaImp::clear()
{
    *this = TabelaImp();
}

TabelaImp& tabelaimp()
{
    static TabelaImp t;
    return t;
}

} // namespace tav
