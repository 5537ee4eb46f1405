#include <iostream>

#include "tools/sim/sim_command.h"

int main(int argc, char** argv) {
    // Traces run to millions of lines; the program uses the C++ streams only.
    std::ios::sync_with_stdio(false);
    return fruvana::sim::runCommand(argc, argv, std::cout, std::cerr);
}
