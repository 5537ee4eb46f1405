// Painting the game window: the whole screen at start-up and after an expose, and the small
// parts that change during play (one reel window, one lamp).

#include <benchmark/benchmark.h>

#include "presentation/cabinet_layout.h"
#include "presentation/game_screen.h"

namespace fruvana {
namespace {

std::unique_ptr<GameScreen> playArea(int w, int h) {
    std::string error;
    auto screen = GameScreen::create(w, h, error);
    if (screen) screen->showPlayArea();
    return screen;
}

void BM_ComposeWholeScreen(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0));
    const int h = static_cast<int>(state.range(1));
    auto screen = playArea(w, h);
    Picture target(w, h);
    for (auto _ : state) {
        screen->scene().invalidate(target.bounds());
        benchmark::DoNotOptimize(screen->scene().paint(target));
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}
BENCHMARK(BM_ComposeWholeScreen)
    ->Args({1024, 768})
    ->Args({1920, 1080})
    ->Unit(benchmark::kMillisecond);

void BM_ComposeOneReelWindow(benchmark::State& state) {
    auto screen = playArea(1024, 768);
    Picture target(1024, 768);
    screen->scene().paint(target);
    const Rect reel = screen->restPlace("reel1");
    for (auto _ : state) {
        screen->scene().invalidate(reel);
        benchmark::DoNotOptimize(screen->scene().paint(target));
    }
}
BENCHMARK(BM_ComposeOneReelWindow)->Unit(benchmark::kMicrosecond);

void BM_BuildGameScreen(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(playArea(1024, 768));
}
BENCHMARK(BM_BuildGameScreen)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fruvana
