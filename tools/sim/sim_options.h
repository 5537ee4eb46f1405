#pragma once
// The simulator's command line.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/machine_state.h"
#include "tools/sim/raw_stream.h"

namespace fruvana::sim {

struct SimOptions {
    // The value given to the first generator in place of the clock; none: take the clock.
    std::optional<std::uint32_t> seed;
    std::int64_t pulls = 1000;
    std::int32_t bet = kFreshBet;
    std::int32_t credit = kFreshCredit;
    std::int32_t account = kFreshAccount;
    bool secondDeal = true;
    bool autoBet = false;
    bool coins = false;
    bool trace = false;
    bool parSheet = false;
    // Where the picture of the run goes: PNG when the name ends in .png, else SVG.
    std::optional<std::string> plotFile;

    // --rng-stream: the generator whose raw words go to the output, and how many bytes of it
    // (none: until the reader stops).
    std::optional<RngStream> rngStream;
    std::optional<std::int64_t> streamBytes;
    bool certify = false;
    // --sessions: how many, and the pulls of each.
    std::optional<std::int64_t> sessions;
    std::int64_t sessionPulls = 1000;
    int jobs = 1;
    bool json = false;
    // --shard K/N: the K-th (1 to N) of N equal shares of the parts of a run.
    std::optional<std::pair<int, int>> shard;
    // --merge: the shard files to join.
    std::vector<std::string> mergeFiles;

    friend bool operator==(const SimOptions&, const SimOptions&) = default;
};

// The command line that makes the same report again: the settings, and the mode for
// --certify and --sessions (their coins are always on; a plain run shows --coins).
std::string commandLineFor(const SimOptions& options, std::uint32_t seed);

// Limits of the options, the ranges the machine itself keeps for its money.
inline constexpr std::int64_t kMaxPulls = 2'147'483'647;   // the statistics counters are 32-bit
inline constexpr std::int64_t kCertifyPulls = 10'000'000;  // --certify without --pulls
inline constexpr std::int64_t kMaxSessions = 10'000'000;
inline constexpr int kMaxJobs = 64;
inline constexpr int kMaxShards = 10000;

// Either the options, or the exit code for a run that ends here: 0 after --help, 2 after bad
// input. Help goes to out, error messages to err.
struct ParsedCommandLine {
    std::optional<SimOptions> options;
    int exitCode = 0;
};

ParsedCommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out,
                                   std::ostream& err);

}  // namespace fruvana::sim
