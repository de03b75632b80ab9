#include "common/messages.h"
#include "common/program.h"
#include "common/window.h"
#include "output/form4output.h"
#include "output/graph12output.h"
#include "output/services.h"
#include "shell/topics.h"

#include <QDir>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>

namespace {

// Saves the composed picture of a window's panel once per iteration: the
// picture elements through the temporary file, the figures, the bitmap.
void composeAndSave(benchmark::State& state, const QString& window, void (*save)(tav::Form&))
{
    tav::ScriptedMessages msgs;
    tav::setMessages(&msgs);
    tav::ScriptedDialogs dialogs;
    tav::setDialogs(&dialogs);
    QTemporaryDir dir;
    tav::Form& page = tav::windowNamed(window);
    page.show();
    if (window == QLatin1String("Form4"))
        page.ctl(QStringLiteral("Picture3"))->show();
    const QString file = dir.filePath(QStringLiteral("picture.bmp"));
    for (auto _ : state) {
        dialogs.answerSave(file);
        save(page);
    }
    if (msgs.count() > 0)
        state.SkipWithError("an error box appeared");
    tav::setDialogs(nullptr);
    tav::setMessages(nullptr);
    tav::resetProgram();
}

} // namespace

static void BM_ComposeInspectionPanel(benchmark::State& state)
{
    composeAndSave(state, QStringLiteral("Form4"), tav::form4Save);
}
BENCHMARK(BM_ComposeInspectionPanel)->Unit(benchmark::kMillisecond);

static void BM_ComposeTwoCharts(benchmark::State& state)
{
    composeAndSave(state, QStringLiteral("FGrafico12"), tav::graph12Save);
}
BENCHMARK(BM_ComposeTwoCharts)->Unit(benchmark::kMillisecond);
