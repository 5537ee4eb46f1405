#pragma once
// The simulator's command line.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

#include "engine/machine_state.h"

namespace fruvana::sim {

struct SimOptions {
    // The value given to the first generator in place of the clock; none: take the clock.
    std::optional<std::uint32_t> seed;
    std::int64_t pulls = 1000;
    std::int32_t bet = 5;
    std::int32_t credit = 1000;
    std::int32_t account = -1000;
    bool secondDeal = true;
    bool autoBet = false;
    bool coins = false;
    bool trace = false;
    bool parSheet = false;
    // Where the picture of the run goes: PNG when the name ends in .png, else SVG.
    std::optional<std::string> plotFile;
};

// Limits of the options, the ranges the machine itself keeps for its money.
inline constexpr std::int64_t kMaxPulls = 2'147'483'647;  // the statistics counters are 32-bit
inline constexpr std::int32_t kMinBet = 1;
inline constexpr std::int32_t kMaxBet = 10;

// Either the options, or the exit code for a run that ends here: 0 after --help, 2 after bad
// input. Help goes to out, error messages to err.
struct ParsedCommandLine {
    std::optional<SimOptions> options;
    int exitCode = 0;
};

ParsedCommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out,
                                   std::ostream& err);

}  // namespace fruvana::sim
