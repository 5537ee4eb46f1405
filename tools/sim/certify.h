#pragma once
// --certify: the tests a laboratory runs on the machine's draws and results, over a run made of
// kCertifyParts independent parts so that shards and threads deal exactly the same pulls.

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "engine/symbols.h"
#include "tools/sim/json.h"
#include "tools/sim/sim_options.h"
#include "tools/sim/statistics.h"
#include "tools/sim/sub_runs.h"

namespace fruvana::sim {

// The run's pulls are dealt in this many parts, each from the machine the options describe,
// with its own seed (partSeed of the run's seed and the part's index).
inline constexpr int kCertifyParts = 100;
// Draws of each pool fill replayed for the symbol tests: its first 1000 candidate lines, which
// every fill draws.
inline constexpr int kReplayedDraws = 3000;
// The number of games the prize line looks at.
inline constexpr double kPrizeGames = 1e8;

// What the tests need, in whole numbers, so that parts join exactly in any grouping.
struct CertifyTally {
    SymbolTally draws;
    std::int64_t pulls = 0;
    std::int64_t firstDeals = 0;
    std::int64_t secondDeals = 0;
    std::int64_t replayMismatches = 0;  // fills whose replay did not give the pool's first line
    // First-deal classes by quota table: [0] generous, [1] stingy.
    std::array<PerClass<std::int64_t>, 2> firstByTable{};
    // Second-deal classes by whether the player was ahead.
    std::array<PerClass<std::int64_t>, 2> secondByAhead{};
    // Tables chosen [mostly stingy][stingy]: mostly stingy is ahead with Second deal on.
    std::array<std::array<std::int64_t, 2>, 2> tableChoice{};
    // Settled games by whether the player was ahead at the first deal: their number, the stakes
    // and the squares of the stakes; and what all of them paid.
    std::array<std::int64_t, 2> games{};
    std::array<std::int64_t, 2> stake{};
    std::array<std::int64_t, 2> stakeSquared{};
    std::int64_t paid = 0;

    void append(const CertifyTally& next);
    friend bool operator==(const CertifyTally&, const CertifyTally&) = default;
};

// Parts [parts.first, parts.last) of the run, on `jobs` threads, joined in order.
CertifyTally runCertify(const SimOptions& options, std::uint32_t seed, PartRange parts, int jobs);

// The report, as text or JSON, from the options, the run's seed and the whole run's tally.
void writeCertify(std::ostream& out, const SimOptions& options, std::uint32_t seed,
                  const CertifyTally& tally, bool json);

// The tally as a shard file holds it, and back; reading throws a ShardError that says what is
// wrong with a malformed tally.
void to_json(Json& json, const CertifyTally& tally);
void from_json(const Json& json, CertifyTally& tally);

}  // namespace fruvana::sim
