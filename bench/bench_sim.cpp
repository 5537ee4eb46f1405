#include <benchmark/benchmark.h>

#include <optional>
#include <sstream>

#include "tools/sim/plot_image.h"
#include "tools/sim/plot_series.h"
#include "tools/sim/sessions.h"
#include "tools/sim/simulator.h"

namespace fruvana::sim {
namespace {

// The simulator as a player runs it: 1000 pulls from a fresh machine and the summary, a new
// seed every time.
void simRun(benchmark::State& bench, bool secondDeal) {
    SimOptions options;
    options.secondDeal = secondDeal;
    std::uint32_t seed = 1;
    std::int64_t pulls = 0;
    for (auto _ : bench) {
        const SimResult result = runSimulation(options, seed++, nullptr);
        std::ostringstream out;
        writeSummary(out, result, false);
        pulls += result.pulls;
        benchmark::DoNotOptimize(out);
    }
    bench.counters["pulls/s"] =
        benchmark::Counter(static_cast<double>(pulls), benchmark::Counter::kIsRate);
}

void BM_SimDefaultRun(benchmark::State& bench) {
    simRun(bench, true);
}
void BM_SimSecondDealOff(benchmark::State& bench) {
    simRun(bench, false);
}

BENCHMARK(BM_SimDefaultRun)->Unit(benchmark::kMillisecond)->MinTime(3.0);
BENCHMARK(BM_SimSecondDealOff)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// A run of range(0) pulls with the same seed each time, as --plot makes it when range(1) is 1
// (PNG) or 2 (SVG): the par figures, a recorder fed every pull and the picture in memory. The
// target: a plot adds at most a tenth to the run's time.
void BM_SimRunWithPlot(benchmark::State& bench) {
    SimOptions options;
    options.pulls = bench.range(0);
    const int plot = static_cast<int>(bench.range(1));
    std::int64_t bytes = 0;
    for (auto _ : bench) {
        std::optional<PlotRecorder> recorder;
        if (plot != 0) recorder.emplace(plotReference(options.secondDeal));
        const SimResult result =
            runSimulation(options, 42, nullptr, recorder ? &*recorder : nullptr);
        std::ostringstream out;
        writeSummary(out, result, false);
        benchmark::DoNotOptimize(out);
        if (recorder) {
            std::string error;
            const auto picture = drawPlot(recorder->series(), "bench",
                                          plot == 1 ? ImageKind::Png : ImageKind::Svg, error);
            if (!picture) bench.SkipWithError(error.c_str());
            bytes += picture ? static_cast<std::int64_t>(picture->size()) : 0;
        }
    }
    bench.counters["picture bytes"] =
        benchmark::Counter(static_cast<double>(bytes), benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_SimRunWithPlot)
    ->ArgNames({"pulls", "plot"})
    ->ArgsProduct({{1000, 100000}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2.0);

// What a plot costs beside the pulls, whatever the run's length: the par figures, and the
// picture of a full recorder.
void BM_PlotFixedCost(benchmark::State& bench) {
    SimOptions options;
    options.pulls = 5000;
    PlotRecorder recorder(plotReference(true));
    runSimulation(options, 42, nullptr, &recorder);
    const PlotSeries series = recorder.series();
    const int part = static_cast<int>(bench.range(0));
    for (auto _ : bench) {
        if (part == 0) {
            benchmark::DoNotOptimize(plotReference(true));
        } else {
            std::string error;
            auto picture =
                drawPlot(series, "bench", part == 1 ? ImageKind::Png : ImageKind::Svg, error);
            benchmark::DoNotOptimize(picture);
        }
    }
}

BENCHMARK(BM_PlotFixedCost)->ArgName("part")->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

// --sessions on range(0) worker threads: 32 sessions of 250 pulls from a fresh machine, the same
// sessions every time. Wall time, so pulls/s per job shows what a second thread adds; the target
// is at least 1.8 times the pulls per second with 2 jobs as with 1.
void BM_SessionsJobs(benchmark::State& bench) {
    SimOptions options;
    options.sessions = 32;
    options.sessionPulls = 250;
    const int jobs = static_cast<int>(bench.range(0));
    std::int64_t pulls = 0;
    for (auto _ : bench) {
        const auto outcomes = runSessions(options, 7, {0, *options.sessions}, jobs);
        benchmark::DoNotOptimize(outcomes.data());
        pulls += *options.sessions * options.sessionPulls;
    }
    bench.counters["pulls/s"] =
        benchmark::Counter(static_cast<double>(pulls), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_SessionsJobs)
    ->ArgName("jobs")
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace fruvana::sim
