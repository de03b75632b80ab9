// Benchmarks of what a user triggers. Run with `make bench`.
//
// The run ends with the budget table: for every benchmark that stands for a
// user action, its median against the action's budget. A continuous
// interaction (a slider's change or drag, a combo's change, an animation
// tick) has 8 ms; any other action (a window switch, a compute button, a
// preview page) has 16 ms.

#include "platform/actions.h"
#include "shell/app.h"

#include <QElapsedTimer>
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

    void printTable() const
    {
        std::vector<std::pair<int, std::pair<std::string, const Row*>>> order;
        for (const auto& [name, row] : rows_)
            order.push_back({row.order, {name, &row}});
        std::sort(order.begin(), order.end());
        std::printf("\nBudgets (median of the repetitions, real time)\n");
        std::printf("%-34s %-44s %10s %8s  %s\n", "benchmark", "action", "median", "budget", "");
        int over = 0;
        for (const auto& [_, entry] : order) {
            const auto& [name, row] = entry;
            const Budget* b = budgetOf(name, row->family);
            if (!b)
                continue;
            const double m = row->value();
            if (row->failed || m < 0) {
                std::printf("%-34s %-44s %10s %5.0f ms  %s\n", name.c_str(), b->action, "-", b->ms, "not measured");
                continue;
            }
            const bool within = m <= b->ms;
            over += within ? 0 : 1;
            std::printf("%-34s %-44s %7.2f ms %5.0f ms  %s\n", name.c_str(), b->action, m, b->ms,
                        within ? "within" : "OVER");
        }
        std::printf("%d over budget\n", over);
    }

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

bool given(int argc, char** argv, const char* flag)
{
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], flag, std::strlen(flag)) == 0)
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

    // A real median needs repetitions: three short ones by default, which
    // take about the time of one long run.
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=3";
    char minTime[] = "--benchmark_min_time=0.2";
    char aggregatesOnly[] = "--benchmark_display_aggregates_only=true";
    if (!given(argc, argv, "--benchmark_repetitions")) {
        args.push_back(repetitions);
        if (!given(argc, argv, "--benchmark_min_time"))
            args.push_back(minTime);
        if (!given(argc, argv, "--benchmark_display_aggregates_only") &&
            !given(argc, argv, "--benchmark_report_aggregates_only"))
            args.push_back(aggregatesOnly);
    }
    int n = int(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&n, args.data());
    // The table closes the console output; another format asked for on the
    // command line (json, csv) comes as it is.
    if (given(argc, argv, "--benchmark_format") && !given(argc, argv, "--benchmark_format=console")) {
        benchmark::RunSpecifiedBenchmarks();
    } else {
        BudgetReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        reporter.printTable();
    }
    benchmark::Shutdown();
    return 0;
}
