#pragma once
// The whole fruvana-sim program, callable in-process.

#include <iosfwd>

namespace fruvana::sim {

// Parses the command line and runs it: the par sheet, a trace or a summary go to out, error
// messages to err. Returns the exit code: 0, 2 for bad input, 1 when the output failed.
int runCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace fruvana::sim
