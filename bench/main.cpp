// Benchmarks of what a user triggers. Run with `make bench`.
//
// The run ends with the budget table: for every benchmark that stands for a
// user action, its median against the action's budget. A continuous
// interaction (a slider's change or drag, a combo's change, an animation
// tick) has 8 ms; any other action (a window switch, a compute button, a
// preview page) has 16 ms.
//
// The same suite runs at a screen's scale factor (QT_SCALE_FACTOR): a run
// given --medians_out=FILE writes its medians there instead of a table, and
// a run given --medians_in=FILE shows that run's medians in the table beside
// its own, each under its screen's ratio. `make bench SCALE=2` runs at 1x and
// then at 2x this way.

#include "platform/actions.h"
#include "shell/app.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QTextStream>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double kContinuous = 8.0;
constexpr double kOther = 16.0;

struct Budget {
    const char* name; // a benchmark, with its argument or for all of them
    const char* action;
    double ms;
};

// One line per benchmark. A name without an argument covers every argument
// of its benchmark; a name that did not run is left out of the table.
const Budget kBudgets[] = {
    {"BM_PageTick", "Form11 animation tick", kContinuous},
    {"BM_PageParameterChange", "Form11 slider change", kContinuous},
    {"BM_Form4DrawingLargest", "Form4 largest drawing", kContinuous},
    {"BM_DrawLargestConsignment", "FResultSim largest drawing", kContinuous},
    {"BM_Form11PrevalenceSliderFrame", "Form11 prevalence slider, heaviest drawing", kContinuous},
    {"BM_Form11SizeSliderFrame", "Form11 size slider", kContinuous},
    {"BM_Form11EfficacySliderFrame", "Form11 efficacy slider", kContinuous},
    {"BM_Form11SampleSliderFrame", "Form11 sample slider", kContinuous},
    {"BM_Form11P1SliderFrame", "Form11 p1 slider", kContinuous},
    {"BM_Form11VariabilityPickFrame", "Form11 variability pick", kContinuous},
    {"BM_Form11TickFrame", "Form11 tick, heaviest drawing", kContinuous},
    {"BM_ResultSimPrevalenceSliderFrame", "FResultSim prevalence slider", kContinuous},
    {"BM_ResultSimSampleSliderFrame", "FResultSim sample slider", kContinuous},
    {"BM_ResultSimSizeSliderFrame", "FResultSim size slider", kContinuous},
    {"BM_ResultSimP1SliderFrame", "FResultSim p1 slider", kContinuous},
    {"BM_ResultSimP2SliderFrame", "FResultSim p2 slider", kContinuous},
    {"BM_Graph1Frame", "FGrafico1 ok, largest count", kContinuous},
    {"BM_Graph2Frame", "FGrafico2 ok, largest count", kContinuous},
    {"BM_Graph3Frame", "FGrafico3 ok, largest count", kContinuous},
    {"BM_Graph4Frame", "FGrafico4 ok, largest count", kContinuous},
    {"BM_Graph5Frame", "FGrafico5 ok, largest count", kContinuous},
    {"BM_Graph6Frame", "FGrafico6 ok, largest count", kContinuous},
    {"BM_Graph12Frame", "FGrafico12 ok, largest count", kContinuous},
    {"BM_BackAndNext", "Next (0) or Back (1)", kOther},
    {"BM_LastFormToggle", "Last Form (0) or Back (1)", kOther},
    {"BM_IndexAndLink", "Index (0) or topic link (1)", kOther},
    {"BM_TopicMenu", "topic menu item", kOther},
    {"BM_LessonPageVisit", "lesson page shown", kOther},
    {"BM_StartPageShown", "start page shown", kOther},
    {"BM_Form1Calculate", "Form1 calculate", kOther},
    {"BM_PreviewPageOf500Rows/100", "preview page, 500 rows, 100 %", kOther},
    {"BM_PreviewPageOf500Rows/10", "preview page, 500 rows, 10 %", kOther},
};

const Budget* budgetOf(const std::string& full, const std::string& family)
{
    for (const Budget& b : kBudgets)
        if (full == b.name)
            return &b;
    for (const Budget& b : kBudgets)
        if (family == b.name)
            return &b;
    return nullptr;
}

// The console output as usual, and each benchmark's times kept for the
// table: the median of the repetitions when there are several, else the
// one run.
class BudgetReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            std::string full = r.run_name.function_name;
            if (!r.run_name.args.empty())
                full += "/" + r.run_name.args;
            Row& row = rows_[full];
            row.family = r.run_name.function_name;
            if (row.order < 0)
                row.order = int(rows_.size());
            if (r.error_occurred) {
                row.failed = true;
                continue;
            }
            const double ms = r.GetAdjustedRealTime() * 1e3 / benchmark::GetTimeUnitMultiplier(r.time_unit);
            if (r.run_type == Run::RT_Aggregate) {
                if (r.aggregate_name == "median")
                    row.median = ms;
            } else {
                row.times.push_back(ms);
            }
        }
    }

    // This run's medians by benchmark, in the order they ran.
    std::vector<std::pair<std::string, double>> medians() const
    {
        std::vector<std::pair<int, std::pair<std::string, double>>> order;
        for (const auto& [name, row] : rows_)
            order.push_back({row.order, {name, row.failed ? -1 : row.value()}});
        std::sort(order.begin(), order.end());
        std::vector<std::pair<std::string, double>> out;
        for (const auto& [_, entry] : order)
            out.push_back(entry);
        return out;
    }
    std::string familyOf(const std::string& name) const
    {
        const auto it = rows_.find(name);
        return it == rows_.end() ? name : it->second.family;
    }

private:
private:
    struct Row {
        std::string family;
        int order = -1;
        bool failed = false;
        double median = -1;
        std::vector<double> times;
        double value() const
        {
            if (median >= 0)
                return median;
            if (times.empty())
                return -1;
            std::vector<double> t = times;
            std::sort(t.begin(), t.end());
            const size_t n = t.size();
            return n % 2 ? t[n / 2] : (t[n / 2 - 1] + t[n / 2]) / 2;
        }
    };
    std::map<std::string, Row> rows_;
};

// The medians of one run of the suite, at its screen's ratio; a median
// below zero was not measured.
struct RunMedians {
    double ratio = 1;
    std::map<std::string, double> ms;
};

bool writeMedians(const QString& file, double ratio, const std::vector<std::pair<std::string, double>>& medians)
{
    QFile f(file);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    QTextStream out(&f);
    out << "ratio " << ratio << "\n";
    for (const auto& [name, ms] : medians)
        out << QString::fromStdString(name) << ' ' << ms << "\n";
    return out.status() == QTextStream::Ok;
}

bool readMedians(const QString& file, RunMedians& run)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    QTextStream in(&f);
    while (!in.atEnd()) {
        const QStringList parts = in.readLine().split(u' ', Qt::SkipEmptyParts);
        if (parts.size() != 2)
            continue;
        bool ok = false;
        const double v = parts[1].toDouble(&ok);
        if (!ok)
            continue;
        if (parts[0] == QLatin1String("ratio"))
            run.ratio = v;
        else
            run.ms[parts[0].toStdString()] = v;
    }
    return true;
}

std::string ratioName(double ratio) { return QStringLiteral("%1x").arg(ratio).toStdString(); }

// Each action's medians, one column per run, against its budget.
void printTable(const BudgetReporter& reporter, const std::vector<RunMedians>& runs)
{
    std::printf("\nBudgets (median of the repetitions, real time)\n");
    std::printf("%-34s %-44s", "benchmark", "action");
    for (const RunMedians& r : runs)
        std::printf(" %10s", ("median " + ratioName(r.ratio)).c_str());
    std::printf(" %8s\n", "budget");
    std::vector<int> over(runs.size(), 0);
    for (const auto& [name, _] : reporter.medians()) {
        const Budget* b = budgetOf(name, reporter.familyOf(name));
        if (!b)
            continue;
        std::printf("%-34s %-44s", name.c_str(), b->action);
        std::string verdict = "within";
        for (size_t i = 0; i < runs.size(); ++i) {
            const auto it = runs[i].ms.find(name);
            const double m = it == runs[i].ms.end() ? -1 : it->second;
            if (m < 0) {
                std::printf(" %10s", "-");
                if (verdict == "within")
                    verdict = "not measured";
                continue;
            }
            std::printf(" %7.2f ms", m);
            if (m > b->ms) {
                ++over[i];
                verdict = verdict.rfind("OVER", 0) == 0 ? verdict + " " + ratioName(runs[i].ratio)
                                                         : "OVER at " + ratioName(runs[i].ratio);
            }
        }
        std::printf(" %5.0f ms  %s\n", b->ms, verdict.c_str());
    }
    for (size_t i = 0; i < runs.size(); ++i)
        std::printf("%d over budget at %s\n", over[i], ratioName(runs[i].ratio).c_str());
}

// The value of `--name=value` among the arguments, taken out of them.
QString takeFlag(std::vector<char*>& args, const char* name)
{
    const std::string prefix = std::string(name) + "=";
    for (auto it = args.begin(); it != args.end(); ++it)
        if (std::strncmp(*it, prefix.c_str(), prefix.size()) == 0) {
            const QString value = QString::fromLocal8Bit(*it + prefix.size());
            args.erase(it);
            return value;
        }
    return {};
}

bool given(const std::vector<char*>& args, const char* flag)
{
    for (size_t i = 1; i < args.size(); ++i)
        if (std::strncmp(args[i], flag, std::strlen(flag)) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer t;
    t.start();
    tav::Application app(argc, argv);
    tav::setupApplication(app);
    std::printf("application construction: %.3f ms\n", t.nsecsElapsed() / 1e6);

    // The windows are drawn at the screen's ratio; a scale factor asked for
    // and not taken would report 1x figures as another ratio's.
    const double ratio = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->devicePixelRatio() : 1;
    std::printf("screen ratio: %s\n", ratioName(ratio).c_str());
    bool asked = false;
    const double factor = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(&asked);
    if (asked && std::abs(factor - ratio) > 1e-9) {
        std::fprintf(stderr, "QT_SCALE_FACTOR=%g asked, but the screen's ratio is %g\n", factor, ratio);
        return 1;
    }

    std::vector<char*> args(argv, argv + argc);
    const QString mediansOut = takeFlag(args, "--medians_out");
    const QString mediansIn = takeFlag(args, "--medians_in");
    std::vector<RunMedians> runs;
    if (!mediansIn.isEmpty()) {
        RunMedians earlier;
        if (!readMedians(mediansIn, earlier)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(mediansIn));
            return 1;
        }
        runs.push_back(earlier);
    }
    const std::vector<char*> asGiven = args;

    // A real median needs repetitions: three short ones by default, which
    // take about the time of one long run.
    char repetitions[] = "--benchmark_repetitions=3";
    char minTime[] = "--benchmark_min_time=0.2";
    char aggregatesOnly[] = "--benchmark_display_aggregates_only=true";
    if (!given(asGiven, "--benchmark_repetitions")) {
        args.push_back(repetitions);
        if (!given(asGiven, "--benchmark_min_time"))
            args.push_back(minTime);
        if (!given(asGiven, "--benchmark_display_aggregates_only") &&
            !given(asGiven, "--benchmark_report_aggregates_only"))
            args.push_back(aggregatesOnly);
    }
    int n = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&n, args.data());
    // The table closes the console output; another format asked for on the
    // command line (json, csv) comes as it is.
    if (given(asGiven, "--benchmark_format") && !given(asGiven, "--benchmark_format=console")) {
        benchmark::RunSpecifiedBenchmarks();
    } else {
        BudgetReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        RunMedians now{ratio, {}};
        for (const auto& [name, ms] : reporter.medians())
            now.ms[name] = ms;
        if (!mediansOut.isEmpty()) {
            if (!writeMedians(mediansOut, ratio, reporter.medians())) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(mediansOut));
                return 1;
            }
            std::printf("\nmedians at %s written to %s\n", ratioName(ratio).c_str(), qPrintable(mediansOut));
        } else {
            runs.push_back(now);
            printTable(reporter, runs);
        }
    }
    benchmark::Shutdown();
    return 0;
}
