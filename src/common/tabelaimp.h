#pragma once
// The print table: what the graph pages and the simulation windows last
// computed, as the table preview renders it. One instance for the program.
// Rows and labels run 0..500, cell columns 0..10; an index out of range
// raises "Subscript out of range". A cell holds a text or a number.

#include <QString>
#include <QVariant>
#include <array>

namespace tav {

class TabelaImp {
public:
    static constexpr int kRows = 501;
    static constexpr int kCols = 11;

    QString imptitulo;
    QString impsubtitulo;
    int implinhas = 0;
    int impcolunas = 0;

    const QString& improtulo(int row) const;
    void setImprotulo(int row, const QString& text);
    const QVariant& impcelula(int col, int row) const;
    void setImpcelula(int col, int row, const QVariant& value);
    void clear();

private:
    std::array<QString, kRows> rotulos_;
    std::array<std::array<QVariant, kRows>, kCols> celulas_;
};

TabelaImp& tabelaimp();

} // namespace tav
