#pragma once
// Runs fruvana-sim in-process with the given arguments.

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tools/sim/sim_command.h"
#include "tools/sim/sim_options.h"

namespace fruvana::sim {

// argv as the program gets it; the strings must outlive it.
class Argv {
  public:
    explicit Argv(const std::vector<std::string>& args) {
        pointers_.push_back("fruvana-sim");
        for (const auto& a : args) pointers_.push_back(a.c_str());
    }
    int argc() const { return static_cast<int>(pointers_.size()); }
    const char* const* argv() const { return pointers_.data(); }

  private:
    std::vector<const char*> pointers_;
};

struct CommandRun {
    int exitCode = 0;
    std::string out;
    std::string err;
};

inline CommandRun runSim(const std::vector<std::string>& args) {
    const Argv argv(args);
    std::ostringstream out, err;
    CommandRun run;
    run.exitCode = runCommand(argv.argc(), argv.argv(), out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

inline std::optional<SimOptions> optionsFor(const std::vector<std::string>& args) {
    const Argv argv(args);
    std::ostringstream out, err;
    return parseCommandLine(argv.argc(), argv.argv(), out, err).options;
}

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace fruvana::sim
