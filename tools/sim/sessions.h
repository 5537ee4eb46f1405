#pragma once
// --sessions: many players' evenings at the machine. Each session deals its pulls from the
// machine the options describe, with its own seed, and puts a coin in whenever the stake needs
// one, as a player at the machine would.

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/sim/json.h"
#include "tools/sim/sim_options.h"
#include "tools/sim/sub_runs.h"

namespace fruvana::sim {

struct SessionOutcome {
    std::int64_t money = 0;             // credit + win + account at the end
    std::int64_t coins = 0;             // put in during the session
    std::int64_t longestLosingRun = 0;  // settled games in a row that paid nothing
    friend bool operator==(const SessionOutcome&, const SessionOutcome&) = default;
};

// Sessions [range.first, range.last) of the run, session i seeded with partSeed(seed, i), on
// `jobs` threads; in session order.
std::vector<SessionOutcome> runSessions(const SimOptions& options, std::uint32_t seed,
                                        PartRange range, int jobs);

inline constexpr std::array<int, 7> kPercentiles{1, 5, 25, 50, 75, 95, 99};

// What the report says about a run's sessions.
struct SessionFigures {
    std::int64_t sessions = 0;
    std::int64_t startMoney = 0;
    std::vector<std::int64_t> money;  // at the end of each session, in rising order
    // The money at the end at each of kPercentiles: the nearest-rank value, the smallest that at
    // least that share of the sessions do not exceed.
    std::array<std::int64_t, kPercentiles.size()> percentile{};
    std::int64_t ahead = 0;      // sessions that ended with more money than they began with
    std::int64_t moreCoins = 0;  // sessions that needed a coin beyond the starting credit
    std::int64_t longestLosingRun = 0;
    std::int64_t longestIn = 0;  // the first session (counted from 0) that had it
    std::int64_t medianLongest = 0;
    std::int64_t lowest = 0;
    std::int64_t highest = 0;
};

SessionFigures sessionFigures(const SimOptions& options, const std::vector<SessionOutcome>& all);

void writeSessions(std::ostream& out, const SimOptions& options, std::uint32_t seed,
                   const std::vector<SessionOutcome>& all, bool json);

// The outcomes as a shard file holds them, three numbers a session in one flat list, and back;
// reading throws a ShardError that says what is wrong with a malformed list.
Json sessionOutcomesJson(const std::vector<SessionOutcome>& all);
std::vector<SessionOutcome> sessionOutcomesFrom(const Json& list);

}  // namespace fruvana::sim
