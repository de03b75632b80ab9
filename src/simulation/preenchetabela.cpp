#include "simulation/preenchetabela.h"

#include "common/errors.h"
#include "common/readings.h"
#include "common/runtime.h"
#include "common/tabelaimp.h"
#include "common/window.h"
#include "platform/grid.h"
#include "simulation/resultados.h"

#include <QPointer>

namespace tav {

namespace {

double countValue(const QString& count)
{
    if (!isNumber(count))
        raise(ErrTypeMismatch);
    return localeValue(count);
}

const char* const kHeaders[] = {"Iter.", "Prevalence", "Posit.sample", "Result", "Ingressed units", "Established"};

} // namespace

bool preenchetabela(Form& frm, const QString& count, int width, bool centre, ErrorHandler& h)
{
    const int w = width == 6 ? 6 : 5;
    QPointer<Grid> cached;
    const auto grid = [&]() -> Grid& {
        if (!cached)
            cached = frm.ctl<Grid>(QStringLiteral("Grid1"));
        return *cached;
    };
    TabelaImp& imp = tabelaimp();

    if (!h.step([&] { grid().setRows(clng(countValue(count) + 1)); }))
        return false;
    if (!h.step([&] {
            for (int j = 1; j <= w; ++j)
                resultados().setCell(j, 0, QString::fromLatin1(kHeaders[j - 1]));
        }))
        return false;

    int last = -1;
    if (!h.step([&] { last = cint(countValue(count)); }))
        return false;
    for (int i = 0; i <= last; ++i) {
        if (!h.step([&] { grid().setRow(i); }) || !h.step([&] { imp.setImprotulo(i, QString::number(i + 1)); }))
            return false;
        for (int j = 1; j <= w; ++j) {
            if (!h.step([&] { grid().setCol(j - 1); }) || !h.step([&] { grid().setText(resultados().text(j, i)); }))
                return false;
            if (i >= 1 && !h.step([&] { imp.setImpcelula(j - 1, i - 1, grid().text()); }))
                return false;
        }
    }

    if (!h.step([&] { imp.imptitulo = QStringLiteral("Simulation of the Inspection"); }) ||
        !h.step([&] {
            imp.impsubtitulo = w == 6 ? QStringLiteral("Preval.    Posit samp.   Result  Ing.units Established")
                                      : QStringLiteral("Preval.    Posit samp.   Result  Ing.units");
        }) ||
        !h.step([&] { imp.implinhas = cint(countValue(count) - 1); }) || !h.step([&] { imp.impcolunas = w - 1; }))
        return false;

    if (centre) {
        int cols = 0;
        if (!h.step([&] { cols = grid().cols(); }))
            return false;
        for (int c = 1; c < cols; ++c)
            if (!h.step([&] { grid().setColAlignment(c, 2); }))
                return false;
    }
    return true;
}

void clearRunTable(Form& frm)
{
    IgnoreErrors e;
    e.step([&] { frm.ctl<Grid>(QStringLiteral("Grid1"))->setRows(1); });
    TabelaImp& imp = tabelaimp();
    const QString title = imp.imptitulo, subtitle = imp.impsubtitulo;
    const int columns = imp.impcolunas;
    imp.clear();
    imp.imptitulo = title;
    imp.impsubtitulo = subtitle;
    imp.impcolunas = columns;
    imp.implinhas = -1;
}

} // namespace tav
