#include <iostream>

#include "tools/sim/raw_stream.h"
#include "tools/sim/sim_command.h"

int main(int argc, char** argv) {
    // Traces run to millions of lines; the program uses the C++ streams only.
    std::ios::sync_with_stdio(false);
    // The raw words of --rng-stream go straight to the descriptor, which tells a reader that
    // has gone from a failed write.
    fruvana::sim::DescriptorSink standardOutput(1);
    return fruvana::sim::runCommand(argc, argv, std::cout, std::cerr, &standardOutput);
}
