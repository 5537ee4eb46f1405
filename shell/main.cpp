// Fruvana: the fruit machine, full screen or in a window as the player left it.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/sdl_platform.h"
#include "presentation/components/threaded_timer.h"
#include "shell/command_line.h"
#include "shell/program.h"
#include "shell/recall_command.h"
#include "shell/window_memory.h"

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace fruvana;
    const CommandLine line = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.action) {
        case CommandLine::Action::Help:
        case CommandLine::Action::Version:
            std::fputs(line.text.c_str(), stdout);
            return 0;
        case CommandLine::Action::Refuse:
            std::fputs(line.text.c_str(), stderr);
            return line.exitCode;
        case CommandLine::Action::Recall:
            return printRecall(runningProgramDir(), std::cout, std::cerr);
        case CommandLine::Action::Play:
            break;
    }
    // The window as the player left it last time, unless the command line says otherwise.
    const std::string memoryPath =
        windowMemoryPath(environment("XDG_CONFIG_HOME"), environment("HOME"));
    const WindowMemory remembered = loadWindowMemory(memoryPath);
    SdlOptions options;
    options.startWindowed = line.windowed.value_or(remembered.windowed);
    if (remembered.x && remembered.y) options.windowPlace = std::pair{*remembered.x, *remembered.y};

    std::string error;
    std::unique_ptr<SdlPlatform> platform = SdlPlatform::create(options, error);
    if (!platform) {
        std::fprintf(stderr, "Fruvana: %s\n", error.c_str());
        return 1;
    }
    auto threaded = [](EventLoop& loop) { return std::make_unique<ThreadedTimer>(loop); };
    std::unique_ptr<Program> program = Program::start(*platform, threaded, error);
    if (!program) {
        std::fprintf(stderr, "Fruvana: %s\n", error.c_str());
        return 1;
    }
    const int code = program->run();
    program.reset();
    // The mode the game ends in is the next start's, unless it is the one the command line
    // asked for this once.
    if (!line.windowed || *line.windowed != platform->windowed()) {
        WindowMemory now;
        now.windowed = platform->windowed();
        if (const auto place = platform->windowPlace()) {
            now.x = place->first;
            now.y = place->second;
        }
        if (!saveWindowMemory(memoryPath, now, error))
            std::fprintf(stderr, "Fruvana: the window's mode is not remembered: %s\n",
                         error.c_str());
    }
    // Deliberate: the files are written and flushed before run() returns, and the window
    // system takes the window back the moment the process ends; SDL's orderly teardown of a
    // full-screen window waits up to 200 ms for a window manager's answer that may never come.
    std::fflush(nullptr);
    std::_Exit(code);
}
