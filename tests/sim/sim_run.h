#pragma once
// Runs fruvana-sim in-process with the given arguments.

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "tools/sim/sim_command.h"

namespace fruvana::sim {

struct CommandRun {
    int exitCode = 0;
    std::string out;
    std::string err;
};

inline CommandRun runSim(std::initializer_list<std::string> args) {
    std::vector<std::string> words{"fruvana-sim"};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<const char*> argv;
    for (const auto& w : words) argv.push_back(w.c_str());
    std::ostringstream out, err;
    CommandRun run;
    run.exitCode = runCommand(static_cast<int>(argv.size()), argv.data(), out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace fruvana::sim
