#pragma once
// Runs fruvana-sim in-process with the given arguments.

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tools/sim/sim_command.h"
#include "tools/sim/sim_options.h"

namespace fruvana::sim {

// argv as the program gets it, owning its words.
class Argv {
  public:
    explicit Argv(std::vector<std::string> args) : words_(std::move(args)) {
        pointers_.push_back("fruvana-sim");
        for (const auto& w : words_) pointers_.push_back(w.c_str());
    }
    // A copy would point into the original's words.
    Argv(const Argv&) = delete;
    Argv& operator=(const Argv&) = delete;

    int argc() const { return static_cast<int>(pointers_.size()); }
    const char* const* argv() const { return pointers_.data(); }

  private:
    std::vector<std::string> words_;
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

// A parameterised case's name from its words, blanks made underscores.
inline std::string caseName(std::string words) {
    std::replace(words.begin(), words.end(), ' ', '_');
    return words;
}

// Pulls of the long seeded runs, fewer when the sanitizers slow every draw down.
#ifdef FRUVANA_SIM_SHORT_RUNS
inline constexpr std::int64_t kLongRun = 3000;
#else
inline constexpr std::int64_t kLongRun = 20000;
#endif

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace fruvana::sim
