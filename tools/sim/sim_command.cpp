#include "tools/sim/sim_command.h"

#include <ostream>

#include "tools/sim/par_sheet.h"
#include "tools/sim/sim_options.h"
#include "tools/sim/simulator.h"

namespace fruvana::sim {

int runCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    const ParsedCommandLine parsed = parseCommandLine(argc, argv, out, err);
    if (!parsed.options) return parsed.exitCode;
    const SimOptions& options = *parsed.options;

    if (options.parSheet) {
        writeParSheet(out, computeParSheet(), options.pulls);
    } else {
        const std::uint32_t seed = options.seed ? *options.seed : steadyClockSeed();
        const SimResult result = runSimulation(options, seed, options.trace ? &out : nullptr);
        if (!options.trace) writeSummary(out, result, !options.seed);
    }
    out.flush();
    // A full disk or a closed output must not pass for a finished run.
    if (!out) {
        err << "fruvana-sim: the output could not be written\n";
        return 1;
    }
    return 0;
}

}  // namespace fruvana::sim
