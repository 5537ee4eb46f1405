// Fruvana: the fruit machine, full screen.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/sdl_platform.h"
#include "presentation/components/threaded_timer.h"
#include "shell/program.h"
#include "shell/recall_command.h"

int main(int argc, char** argv) {
    using namespace fruvana;
    if (argc == 2 && std::string(argv[1]) == "--recall")
        return printRecall(runningProgramDir(), std::cout);
    std::string error;
    std::unique_ptr<SdlPlatform> platform = SdlPlatform::create(SdlOptions{}, error);
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
    // Deliberate: the files are written and flushed before run() returns, and the window
    // system takes the window back the moment the process ends; SDL's orderly teardown of a
    // full-screen window waits up to 200 ms for a window manager's answer that may never come.
    std::fflush(nullptr);
    std::_Exit(code);
}
