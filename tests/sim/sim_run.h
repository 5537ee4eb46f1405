#pragma once
// Runs fruvana-sim in-process with the given arguments.

#include <fstream>
#include <iterator>
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

// The whole of a file, byte for byte; empty when it cannot be read.
inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace fruvana::sim
