#include <benchmark/benchmark.h>

#include "engine/outcome_pool.h"

namespace fruvana {
namespace {

RandomSources seededSources() {
    RandomSources sources;
    seedRandomSources(sources, [] { return 12345u; });
    return sources;
}

// A first deal under one table; credit + account and the second-deal option pick the mix,
// so the table is forced by choosing a state and rerunning until the wanted table comes up.
void firstDeal(benchmark::State& bench, QuotaChoice want) {
    RandomSources sources = seededSources();
    MachineState state = freshMachineState();
    state.reelSymbol = {1, 2, 3};
    OutcomePool pool;
    std::int64_t candidates = 0, deals = 0;
    for (auto _ : bench) {
        // Choose the next draw's table by peeking at the first number of the deal.
        for (;;) {
            LcgRandom probe = sources.lcg;
            const bool stingy = probe.below(10) <= 5;
            if ((want == QuotaChoice::Stingy) == stingy) break;
            sources.lcg.below(10);
        }
        pool.drawFirstDeal(state, sources);
        candidates += pool.lastFirstDeal().candidates;
        ++deals;
        benchmark::DoNotOptimize(state.reelSymbol);
    }
    bench.counters["candidates"] = static_cast<double>(candidates) / static_cast<double>(deals);
}

void BM_FirstDealGenerous(benchmark::State& bench) { firstDeal(bench, QuotaChoice::Generous); }
void BM_FirstDealStingy(benchmark::State& bench) { firstDeal(bench, QuotaChoice::Stingy); }

void BM_DrawSymbol(benchmark::State& bench) {
    RandomSources sources = seededSources();
    for (auto _ : bench) benchmark::DoNotOptimize(drawSymbol(sources, 10));
}

BENCHMARK(BM_FirstDealGenerous)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_FirstDealStingy)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_DrawSymbol);

}  // namespace
}  // namespace fruvana
