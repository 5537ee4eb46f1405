// Fruvana: the fruit machine, full screen or in a window as the player left it.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "platform/sdl_platform.h"
#include "presentation/components/threaded_timer.h"
#include "presentation/translation.h"
#include "shell/command_line.h"
#include "shell/data_folder.h"
#include "shell/preferences_keeper.h"
#include "shell/program.h"
#include "shell/recall_command.h"

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace fruvana;
    startTranslations(translationsFolder(runningProgramDir()));
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
    // The preferences, and the window as the player left it last time unless the command line
    // says otherwise.
    std::vector<std::string> complaints;
    PreferencesKeeper keeper(playerFiles(environment("XDG_CONFIG_HOME"),
                                         environment("XDG_STATE_HOME"), environment("HOME")),
                             complaints);
    for (const std::string& complaint : complaints)
        std::fprintf(stderr, "Fruvana: %s\n", complaint.c_str());
    SdlOptions options;
    options.startWindowed = line.windowed.value_or(keeper.window().windowed);
    if (keeper.window().x && keeper.window().y)
        options.windowPlace = std::pair{*keeper.window().x, *keeper.window().y};

    std::string error;
    std::unique_ptr<SdlPlatform> platform = SdlPlatform::create(options, error);
    if (!platform) {
        std::fprintf(stderr, "Fruvana: %s\n", error.c_str());
        return 1;
    }
    auto threaded = [](EventLoop& loop) { return std::make_unique<ThreadedTimer>(loop); };
    std::unique_ptr<Program> program = Program::start(*platform, threaded, error, &keeper);
    if (!program) {
        std::fprintf(stderr, "Fruvana: %s\n", error.c_str());
        return 1;
    }
    const int code = program->run();
    program.reset();
    // The mode the game ends in is the next start's, unless it is the one the command line
    // asked for this once.
    if (!line.windowed || *line.windowed != platform->windowed()) {
        WindowMemory window{platform->windowed(), std::nullopt, std::nullopt};
        if (const auto place = platform->windowPlace()) {
            window.x = place->first;
            window.y = place->second;
        }
        if (!keeper.rememberWindow(window, error))
            std::fprintf(stderr, tr("Fruvana: the window's place is not kept: %s\n"),
                         error.c_str());
    }
    // Deliberate: the files are written and flushed before run() returns, and the window
    // system takes the window back the moment the process ends; SDL's orderly teardown of a
    // full-screen window waits up to 200 ms for a window manager's answer that may never come.
    std::fflush(nullptr);
    std::_Exit(code);
}
