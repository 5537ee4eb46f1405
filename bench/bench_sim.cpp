#include <benchmark/benchmark.h>

#include <sstream>

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

}  // namespace
}  // namespace fruvana::sim
