#pragma once
// What the benchmarks on the real SDL back end share: the platform, on the dummy video driver
// where there is no display, and the CPU time the whole process has used.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

#include "platform/sdl_platform.h"

namespace fruvana {

// SDL's own video driver with a display (DISPLAY or WAYLAND_DISPLAY set, e.g. under xvfb-run),
// else the dummy one, so a benchmark also runs on a machine without a screen. Without sound.
// Null, with the benchmark marked skipped for the reason, when SDL cannot start.
inline std::unique_ptr<SdlPlatform> sdlPlatform(benchmark::State& state) {
    const bool display =
        std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
    std::string error;
    auto platform =
        SdlPlatform::create({.videoDriver = display ? "" : "dummy", .audioDriver = ""}, error);
    if (!platform) state.SkipWithError(error.c_str());
    return platform;
}

// The CPU time of the whole process so far, every thread counted, in milliseconds.
inline double processCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

}  // namespace fruvana
