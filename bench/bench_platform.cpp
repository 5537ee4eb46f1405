// What waiting costs and how steady the reel clock is, on the real SDL back end. With a display
// (DISPLAY or WAYLAND_DISPLAY set, e.g. under xvfb-run) SDL's own driver is used and the wait
// sleeps in the display connection; without one the dummy driver stands in.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "bench/bench_sdl.h"
#include "platform/audio.h"
#include "platform/event_loop.h"
#include "platform/placement.h"
#include "platform/sdl_platform.h"
#include "presentation/components/threaded_timer.h"

namespace fruvana {
namespace {

// The SDL platform with its window shown, labelled with the video driver in use.
std::unique_ptr<SdlPlatform> makePlatform(benchmark::State& state) {
    auto platform = sdlPlatform(state);
    if (!platform) return nullptr;
    if (platform->openWindow("Fruvana bench")) platform->showWindow();
    state.SetLabel(platform->videoDriver());
    return platform;
}

// CPU time of the whole process during a 5-second delay with nothing happening.
void BM_DelayCpu(benchmark::State& state) {
    auto platform = makePlatform(state);
    if (!platform) return;
    EventLoop loop(*platform);
    loop.delay(200);  // let the window settle first
    for (auto _ : state) {
        const double cpu0 = processCpuMs();
        const auto wall0 = std::chrono::steady_clock::now();
        loop.delay(5000);
        const double cpu = processCpuMs() - cpu0;
        const double wall =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0)
                .count();
        state.counters["cpu_ms"] = cpu;
        state.counters["cpu_percent_of_core"] = 100.0 * cpu / wall;
    }
}
BENCHMARK(BM_DelayCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

// Periods of the 30 ms threaded timer at highest priority over 200 ticks, handler doing nothing.
void BM_ThreadedTimerJitter(benchmark::State& state) {
    auto platform = makePlatform(state);
    if (!platform) return;
    EventLoop loop(*platform);
    for (auto _ : state) {
        std::vector<std::chrono::steady_clock::time_point> ticks;
        ticks.reserve(201);
        ThreadedTimer timer(loop);
        timer.setThreadPriority(PriorityLevel::Highest);
        timer.setInterval(30);
        timer.onTimer = [&](FrameTimer& self) {
            ticks.push_back(std::chrono::steady_clock::now());
            if (ticks.size() == 201) self.setEnabled(false);
        };
        timer.setEnabled(true);
        while (ticks.size() < 201) loop.delay(50);
        std::vector<double> periods;
        for (std::size_t i = 1; i < ticks.size(); ++i) {
            periods.push_back(
                std::chrono::duration<double, std::milli>(ticks[i] - ticks[i - 1]).count());
        }
        std::sort(periods.begin(), periods.end());
        state.counters["median_ms"] = periods[periods.size() / 2];
        state.counters["p99_ms"] = periods[(periods.size() * 99) / 100 - 1];
        state.counters["max_ms"] = periods.back();
        state.counters["min_ms"] = periods.front();
    }
}
BENCHMARK(BM_ThreadedTimerJitter)->Iterations(1)->Unit(benchmark::kMillisecond);

// A whole frame of a 3840 x 2160 screen: the game's 1280 x 720 frame scaled three times into
// the window's 32-bit pixels.
void BM_ScaleFullFrame(benchmark::State& state) {
    const int s = wholeScale(3840, 2160);
    Picture frame(3840 / s, 2160 / s);
    frame.fill({15, 50, 84});
    std::vector<std::uint32_t> window(std::size_t{3840} * 2160);
    for (auto _ : state) {
        scaleInto(frame, frame.bounds(), {0, 0, s}, frame.bounds(),
                  reinterpret_cast<std::uint8_t*>(window.data()), 3840 * 4, 3840, 2160);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ScaleFullFrame)->Unit(benchmark::kMillisecond);

// What the sound channel does to each buffer the device asks for (2048 frames of stereo) at
// a volume: at 100 % a plain copy, below it a scaled one.
void BM_CopyAtVolume(benchmark::State& state) {
    std::vector<std::int16_t> samples(4096);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(i * 37 % 65536 - 32768);
    std::vector<std::int16_t> out(samples.size());
    const int volume = static_cast<int>(state.range(0));
    for (auto _ : state) {
        copyAtVolume(out, samples, volume);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyAtVolume)->Arg(100)->Arg(50)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace fruvana
