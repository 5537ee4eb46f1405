#pragma once
// fruvana --recall: the recalled games as text, one line each, without opening a window.

#include <ostream>
#include <string>

namespace fruvana {

// Reads the recall file of the folder the game keeps its files in (chosen from programDir as
// at start-up) and writes the heading and the games, newest first, to out; the exit code, 0.
// A recall file that exists but cannot be read is said as one line on err: exit code 1.
int printRecall(const std::string& programDir, std::ostream& out, std::ostream& err);

// The folder of the running program, ending in '/', found without opening a window.
std::string runningProgramDir();

}  // namespace fruvana
