#include "common/program.h"
#include "common/tabelaimp.h"
#include "output/capture.h"
#include "output/fprintpp.h"
#include "output/fprintpreview.h"
#include "output/imprimetabela.h"
#include "output/services.h"
#include "platform/controls.h"
#include "platform/slider.h"
#include "repaint.h"
#include "shell/form1.h"

#include <QPushButton>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

void fillTable()
{
    tav::TabelaImp& t = tav::tabelaimp();
    t.clear();
    t.imptitulo = QStringLiteral("Simulation of the Inspection");
    t.impsubtitulo = QStringLiteral("Preval.    Posit samp.   Result  Ing.units Established");
    t.implinhas = 500;
    t.impcolunas = 5;
    for (int r = 0; r <= 500; ++r) {
        t.setImprotulo(r, QString::number(r + 1));
        for (int c = 0; c <= 5; ++c)
            t.setImpcelula(c, r, r * 0.0125 + c);
    }
}

} // namespace

// One preview page of a 500-row table at 100 % and at 10 %: Next in the
// preview window, up to the page repainted. After the last page Next starts
// from the first again.
static void BM_PreviewPageOf500Rows(benchmark::State& state)
{
    tav::ImagePrinter paper;
    tav::setPrinter(&paper);
    fillTable();
    tav::resetProgram();
    tav::FPrintPreview& preview = tav::fprintpreview();
    preview.show();
    preview.ctl<tav::Slider>(QStringLiteral("Combo1"))->setValue(int(state.range(0)));
    bench::untilRepainted();
    auto* next = preview.ctl<QPushButton>(QStringLiteral("Command1"));
    bench::PaintWatch watch;
    for (auto _ : state) {
        watch.expect(QStringLiteral("FPrintPreview"));
        QTest::mouseClick(next, Qt::LeftButton);
        bench::untilRepainted();
        if (!watch.painted()) {
            state.SkipWithError("page not painted");
            break;
        }
    }
    tav::resetProgram();
    tav::setPrinter(nullptr);
    tav::tabelaimp().clear();
}
BENCHMARK(BM_PreviewPageOf500Rows)->Arg(100)->Arg(10)->Unit(benchmark::kMillisecond);

// The whole 500-row table to the printer in one pass.
static void BM_PrintPassOf500Rows(benchmark::State& state)
{
    tav::ImagePrinter paper;
    tav::setPrinter(&paper);
    fillTable();
    for (auto _ : state) {
        QVariant linha = 0;
        benchmark::DoNotOptimize(tav::imprimetabela(nullptr, 1, linha, QStringLiteral("Printer"), 0));
        paper.documents.clear();
    }
    tav::setPrinter(nullptr);
    tav::tabelaimp().clear();
}
BENCHMARK(BM_PrintPassOf500Rows)->Unit(benchmark::kMillisecond);

// A page printed from the screen: capture, temporary file, print set-up
// window opened on it.
static void BM_PagePrint(benchmark::State& state)
{
    tav::MemoryClipboard clip;
    tav::setClipboard(&clip);
    tav::resetProgram();
    tav::form1().show();
    for (auto _ : state) {
        tav::imprimeform(tav::form1());
        state.PauseTiming();
        tav::fprintpp().unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
    tav::resetProgram();
    tav::setClipboard(nullptr);
}
BENCHMARK(BM_PagePrint)->Unit(benchmark::kMillisecond);
