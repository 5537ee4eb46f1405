#pragma once
// Pulls the lever as autoplay does, through the game's own deal cycle and win evaluation, and
// keeps the books.

#include <cstdint>
#include <iosfwd>
#include <string>

#include "engine/machine_state.h"
#include "engine/outcome_pool.h"
#include "engine/random.h"
#include "tools/sim/plot_series.h"
#include "tools/sim/sim_options.h"

namespace fruvana::sim {

struct SimResult {
    SeedRecord seeding;
    Line startReels{0, 0, 0};
    std::int64_t pulls = 0;  // pulls that dealt
    std::int64_t firstDeals = 0;
    std::int64_t secondDeals = 0;
    // The run stopped at a pull the game refused: the credit below the bet and no coin, or
    // (refusedWinPending) a win whose part beyond the credit's limit the account cannot take.
    bool refused = false;
    bool refusedWinPending = false;
    std::int64_t coinsInserted = 0;
    std::int64_t staked = 0;
    // Every win banked into the credit, plus the win pending at the end.
    std::int64_t returned = 0;
    // Games whose pay was banked, or is pending at the end.
    std::int64_t paidGames = 0;
    // Banked wins that took the credit past its limit, and what they moved into the account.
    std::int64_t overflowMoves = 0;
    std::int64_t movedToAccount = 0;
    Statistics statistics;
    std::int32_t credit = 0;
    std::int32_t account = 0;
    std::int32_t win = 0;
};

// Watches a run pull by pull, for the reports that need more than its summary.
class PullObserver {
  public:
    virtual ~PullObserver() = default;
    // Just before the lever is pressed (after any coin): the generators the deal will draw on.
    virtual void beforePull(const RandomSources& /*sources*/) {}
    // After a pull that dealt and was evaluated.
    virtual void afterPull(const PullRecord& pull, const MachineState& state,
                           const OutcomePool& pool) = 0;
};

// One run from the given seed. With a trace stream, the start-up line and one line per
// evaluated deal go there; with a plot recorder or an observer, every evaluated pull goes there.
SimResult runSimulation(const SimOptions& options, std::uint32_t seed, std::ostream* trace,
                        PlotRecorder* plot = nullptr, PullObserver* observer = nullptr);

// part of whole in per cent to two places, or "-" of nothing.
std::string shareText(std::int64_t part, std::int64_t whole);

void writeSummary(std::ostream& out, const SimResult& result, bool seedFromClock);
void writeSummaryJson(std::ostream& out, const SimResult& result, bool seedFromClock);

}  // namespace fruvana::sim
