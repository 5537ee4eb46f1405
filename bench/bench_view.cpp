// The game view at work: building the spin strips, one frame tick, one meter, whole spins on
// the real threaded timer, what a game waiting for its player costs, and the game recall.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <vector>

#include "bench/bench_sdl.h"
#include "platform/headless_platform.h"
#include "platform/sdl_platform.h"
#include "presentation/cabinet_layout.h"
#include "presentation/components/threaded_timer.h"
#include "shell/data_files.h"
#include "shell/program.h"
#include "shell/recall_file.h"
#include "tests/support/program.h"

namespace fruvana {
namespace {

std::string benchFolder() {
    const auto folder = std::filesystem::temp_directory_path() / "fruvana-bench";
    std::filesystem::create_directories(folder);
    return folder.string() + "/";
}

struct Headless {
    Headless() : platform(HeadlessOptions{.basePath = benchFolder()}) {
        std::string error;
        program = testing::startProgram(platform, false, error);
    }
    HeadlessPlatform platform;
    std::unique_ptr<Program> program;
};

void BM_PrepareSpinStrips(benchmark::State& state) {
    Headless h;
    MachineState& s = h.program->game().state();
    s.previousSymbols = {2, 5, 9};
    s.reelSymbols = {10, 1, 3};
    for (auto _ : state) {
        h.program->view().prepareSpinStrips();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PrepareSpinStrips)->Unit(benchmark::kMicrosecond);

// One tick of three turning reels, without presenting; every 20 ticks the spin starts anew
// so the reels never stop.
void BM_FrameTick(benchmark::State& state) {
    Headless h;
    GameView& view = h.program->view();
    view.prepareSpinStrips();
    view.startSpin();
    int ticks = 0;
    for (auto _ : state) {
        view.paintSpinFrame();
        if (++ticks == 20) {
            view.startSpin();
            ticks = 0;
        }
    }
}
BENCHMARK(BM_FrameTick)->Unit(benchmark::kMicrosecond);

void BM_DrawMeter(benchmark::State& state) {
    Headless h;
    std::int32_t value = 1234567;
    for (auto _ : state) {
        h.program->view().drawMeter(value, Meter::Credit, 7);
        value ^= 1;
    }
}
BENCHMARK(BM_DrawMeter)->Unit(benchmark::kMicrosecond);

std::unique_ptr<Program> sdlProgram(SdlPlatform& platform, benchmark::State& state) {
    std::string error;
    auto program = testing::startProgram(platform, false, error, [](EventLoop& loop) {
        return std::make_unique<ThreadedTimer>(loop);
    });
    if (!program) state.SkipWithError(error.c_str());
    return program;
}

// One pull of the lever on the real threaded timer, until the game takes input again.
double spinWallMs(Program& program) {
    const CabinetOrigin o = program.view().screen().origin();
    const int x = o.x + layout::kLeverAt.x + 26;
    const int y = o.y + layout::kLeverAt.y + 26;
    const auto t0 = std::chrono::steady_clock::now();
    program.input().route(InputEvent::mouseDown(x, y));
    program.input().route(InputEvent::mouseUp(x, y));
    while (program.game().state().inputEnabled == 0) program.loop().delay(5);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// Twenty whole spins of three turning reels (62 ticks each) on the real clock.
void BM_SpinOnThreadedTimer(benchmark::State& state) {
    auto platform = sdlPlatform(state);
    if (!platform) return;
    auto program = sdlProgram(*platform, state);
    if (!program) return;
    program->game().state().options.secondDeal = 0;  // every pull a first deal, all reels turning
    program->game().state().credit = 1'000'000;
    for (auto _ : state) {
        std::vector<double> spins;
        spins.reserve(20);
        for (int i = 0; i < 20; ++i) spins.push_back(spinWallMs(*program));
        std::sort(spins.begin(), spins.end());
        state.counters["median_ms"] = spins[spins.size() / 2];
        state.counters["max_ms"] = spins.back();
    }
}
BENCHMARK(BM_SpinOnThreadedTimer)->Iterations(1)->Unit(benchmark::kMillisecond);

double idleCpuPercent(Program& program, std::uint32_t ms) {
    const double cpu0 = processCpuMs();
    const auto wall0 = std::chrono::steady_clock::now();
    program.loop().delay(ms);
    const double wall =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0).count();
    return 100.0 * (processCpuMs() - cpu0) / wall;
}

// CPU of the whole game while it waits for its player, before and after a spin.
void BM_GameWaitingCpu(benchmark::State& state) {
    auto platform = sdlPlatform(state);
    if (!platform) return;
    auto program = sdlProgram(*platform, state);
    if (!program) return;
    platform->showWindow();
    program->loop().delay(300);
    for (auto _ : state) {
        state.counters["before_spin_percent"] = idleCpuPercent(*program, 3000);
        spinWallMs(*program);
        state.counters["after_spin_percent"] = idleCpuPercent(*program, 3000);
    }
}
BENCHMARK(BM_GameWaitingCpu)->Iterations(1)->Unit(benchmark::kMillisecond);

// From nothing to the intro's first frame on the screen: SDL, the window, every picture and
// sound, the fonts, the files and the first paint.
struct ShownGame {
    std::unique_ptr<SdlPlatform> platform;
    std::unique_ptr<Program> program;
};

// The real program started on SDL with its first intro frame on the screen; empty on failure.
ShownGame showGame(benchmark::State& state) {
    ShownGame game;
    game.platform = sdlPlatform(state);
    if (game.platform) game.program = sdlProgram(*game.platform, state);
    if (!game.program) return {};
    game.program->showWindow();
    game.program->loop().pumpPending();
    return game;
}

void BM_StartToFirstIntroFrame(benchmark::State& state) {
    for (auto _ : state) {
        ShownGame game = showGame(state);
        if (!game.program) return;
        state.PauseTiming();
        game.program.reset();  // the game goes before the platform it runs on
        game.platform.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToFirstIntroFrame)->Iterations(10)->Unit(benchmark::kMillisecond);

// From the X key to the end of the process as the program ends it: the three files written,
// the loop ended and the game torn down (the window system takes the window back).
void BM_ExitToEnd(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        ShownGame game = showGame(state);
        if (!game.program) return;
        state.ResumeTiming();
        game.program->input().route(InputEvent::typed(U'x'));
        game.program->loop().run();
        game.program.reset();
        state.PauseTiming();
        game.platform.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ExitToEnd)->Iterations(10)->Unit(benchmark::kMillisecond);

// Opening the settings screen: its values, then the paint of the panel and the 52 cells.
void BM_OpenSettings(benchmark::State& state) {
    Headless h;
    Program& program = *h.program;
    program.showWindow();
    program.loop().delay(kIntroMs + 10);
    for (auto _ : state) {
        program.game().openSettings();
        program.loop().pumpPending();
        state.PauseTiming();
        program.game().confirmSettings();
        program.loop().pumpPending();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenSettings)->Unit(benchmark::kMillisecond);

// The game recall: recording a game (the newest of ten, encoded as the file's bytes), writing
// the recall file whole with its flush, the flush of a file that size alone, and opening the
// recall screen over the cabinet with its paint.
GameRecord benchGame(int i) {
    GameRecord g;
    g.startedAt = 1'796'644'800 + i;
    g.bet = 5;
    g.before = {1000, 0, -1000};
    g.firstLine = {2, 2, 9};
    g.firstClass = ComboClass::NoWin;
    g.secondDealt = true;
    g.holds = {HoldSource::Suggested, HoldSource::Suggested, HoldSource::NotHeld};
    g.secondLine = {2, 2, 2};
    g.secondClass = ComboClass::ThreeBells;
    g.paid = 1250;
    g.after = {995, 1250, -1000};
    return g;
}

void BM_RecordGame(benchmark::State& state) {
    GameRecall recall;
    int i = 0;
    for (auto _ : state) {
        recall.push_front(benchGame(++i));
        if (recall.size() > kRecalledGames) recall.pop_back();
        benchmark::DoNotOptimize(encodeRecall(recall));
    }
}
BENCHMARK(BM_RecordGame)->Unit(benchmark::kMicrosecond);

void BM_WriteRecallFile(benchmark::State& state) {
    MachineState machine;
    machine.dataFolder = benchFolder();
    for (int i = 0; i < 10; ++i) machine.recall.push_back(benchGame(i));
    for (auto _ : state) saveRecall(machine);
}
BENCHMARK(BM_WriteRecallFile)->Unit(benchmark::kMillisecond);

// What the flushes alone cost for a file of the recall file's size, the floor of any save:
// the file's own, then its folder's, which makes the rename over the old file last.
void BM_FlushAFileOfThatSize(benchmark::State& state) {
    const std::string folder = benchFolder();
    const std::string path = folder + "flush.bin";
    const std::vector<char> bytes(kRecallFileMaxSize, 'x');
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fd < 0) break;
        benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
        ::fsync(fd);
        ::close(fd);
        const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir < 0) break;
        ::fsync(dir);
        ::close(dir);
    }
}
BENCHMARK(BM_FlushAFileOfThatSize)->Unit(benchmark::kMillisecond);

void BM_OpenRecall(benchmark::State& state) {
    Headless h;
    Program& program = *h.program;
    program.showWindow();
    program.loop().delay(kIntroMs + 10);
    for (int i = 0; i < 10; ++i) program.game().state().recall.push_back(benchGame(i));
    for (auto _ : state) {
        program.game().openRecall();
        program.loop().pumpPending();
        state.PauseTiming();
        program.game().closeRecall();
        program.loop().pumpPending();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenRecall)->Unit(benchmark::kMillisecond);

// Opening the preferences screen for the first time (budget 5 ms): its 45 texts rendered and
// the panel painted, on a program started afresh for each opening.
void BM_OpenPreferences(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Headless h;
        Program& program = *h.program;
        program.showWindow();
        program.loop().delay(kIntroMs + 10);
        state.ResumeTiming();
        program.game().openPreferences();
        program.loop().pumpPending();
    }
}
BENCHMARK(BM_OpenPreferences)->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fruvana
