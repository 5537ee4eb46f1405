#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "engine/outcome_pool.h"

// Counts every allocation of the program, so the benchmark can show that a fill makes none.
namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

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
    state.reelSymbols = {1, 2, 3};
    OutcomePool pool;
    std::int64_t candidates = 0, deals = 0;
    long allocated = 0;
    for (auto _ : bench) {
        // Choose the next draw's table by peeking at the first number of the deal.
        for (;;) {
            LcgRandom probe = sources.lcg;
            const bool stingy = probe.below(10) <= 5;
            if ((want == QuotaChoice::Stingy) == stingy) break;
            sources.lcg.below(10);
        }
        const long before = allocations.load(std::memory_order_relaxed);
        pool.drawFirstDeal(state, sources);
        allocated += allocations.load(std::memory_order_relaxed) - before;
        candidates += pool.lastFirstDeal().candidates;
        ++deals;
        benchmark::DoNotOptimize(state.reelSymbols);
    }
    bench.counters["candidates"] = static_cast<double>(candidates) / static_cast<double>(deals);
    bench.counters["allocations"] = static_cast<double>(allocated);
}

void BM_FirstDealGenerous(benchmark::State& bench) {
    firstDeal(bench, QuotaChoice::Generous);
}
void BM_FirstDealStingy(benchmark::State& bench) {
    firstDeal(bench, QuotaChoice::Stingy);
}

void BM_DrawSymbol(benchmark::State& bench) {
    RandomSources sources = seededSources();
    for (auto _ : bench) benchmark::DoNotOptimize(drawSymbol(sources, 10));
}

BENCHMARK(BM_FirstDealGenerous)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_FirstDealStingy)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_DrawSymbol);

}  // namespace
}  // namespace fruvana
