#pragma once
// The game's command line, in GNU style: --help, --version, --windowed, --fullscreen, --recall.

#include <optional>
#include <string>
#include <vector>

namespace fruvana {

struct CommandLine {
    enum class Action { Play, Help, Version, Recall, Refuse };
    Action action = Action::Play;
    // --windowed or --fullscreen: start in that mode this once.
    std::optional<bool> windowed;
    // What to print: the usage for Help (standard output) and Refuse (standard error, with the
    // reason first), the version for Version.
    std::string text;
    int exitCode = 0;
};

CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace fruvana
