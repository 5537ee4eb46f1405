#pragma once
// The whole fruvana-sim program, callable in-process.

#include <iosfwd>

namespace fruvana::sim {

class ByteSink;

// Parses the command line and runs it: the report goes to out, error messages to err, and the
// raw words of --rng-stream to raw (or to out when raw is null). Returns the exit code: 0, 2
// for bad input, 1 when the output or a --merge failed.
int runCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
               ByteSink* raw = nullptr);

}  // namespace fruvana::sim
