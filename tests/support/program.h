#pragma once
// The whole program on a platform, started as the player starts it and on the virtual clock's
// frame timer: what every whole-program test, the whole-game fuzzer and the benchmarks start
// from.

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/headless_platform.h"
#include "presentation/cabinet_layout.h"
#include "shell/program.h"
#include "tests/support/pictures.h"

namespace fruvana::testing {

// Starts the program over on the window it has, as start() left it: the machine state, the
// random sources and the pool made afresh and seeded from the platform's counter, the data
// folder chosen and its files read again, the timers stopped, the overlays closed, the
// preferences and keys the game's own, and the cabinet back behind the intro until
// showWindow(). The pictures, the fonts and the sounds made at start-up are kept, so the
// whole-game fuzzer need not build a program for every input. Never from inside a handler.
struct ProgramRestart {
    static void restart(Program& p) {
        // Nothing of the last run may tick, or be handed over, into the new one.
        p.intro_.reset();
        p.breaks_.reset();
        p.autoplayTimer_.setEnabled(false);
        p.spinFrames_->setEnabled(false);
        p.loop_.restart();
        p.input_.reset();
        p.game_.reset();
        p.overlays_->closeAll();
        for (std::size_t b = 0; b < kButtonCount; ++b) {
            p.settings_->liftButton(static_cast<Button>(b));
            p.recall_->liftButton(static_cast<Button>(b));
        }
        p.view_->returnToIntro();
        p.state_ = MachineState{};
        p.sources_ = RandomSources{};
        // The pool keeps its buffers: every first deal fills it afresh before it deals a line.
        p.handlerFailed_ = false;
        p.keeper_.preferences() = Preferences{};
        p.keeper_.bindings().restoreDefaults();
        p.startMachine();
    }
};

// Starts the program (on the virtual clock's frame timer unless told otherwise); with reveal,
// also shows its window and lets the intro run out, so the cabinet takes input. Null, with the
// reason in error, when it does not start.
inline std::unique_ptr<Program> startProgram(
    Platform& platform, bool reveal, std::string& error,
    const FrameTimerFactory& frames =
        [](EventLoop& loop) { return std::make_unique<LoopFrameTimer>(loop); },
    PreferencesKeeper* keeper = nullptr) {
    auto program = Program::start(platform, frames, error, keeper);
    if (program && reveal) {
        program->showWindow();
        program->loop().delay(kIntroMs + 10);
    }
    return program;
}

// The headless program with the helpers that drive it as a player does.
struct HeadlessGame {
    bool launch(bool reveal, std::string& error) {
        platform = std::make_unique<HeadlessPlatform>(options);
        program = startProgram(
            *platform, reveal, error,
            [](EventLoop& loop) { return std::make_unique<LoopFrameTimer>(loop); }, keeper);
        return program != nullptr;
    }
    void stop() {
        program.reset();
        platform.reset();
    }

    MachineState& state() { return program->game().state(); }
    GameView& view() { return program->view(); }

    // The screen position of a point in a picture placed at a cabinet offset.
    std::pair<int, int> onCabinet(layout::Offset at, int x, int y) {
        const CabinetOrigin o = program->view().screen().origin();
        return {o.x + at.x + x, o.y + at.y + y};
    }
    void click(std::pair<int, int> p) {
        program->input().route(InputEvent::mouseDown(p.first, p.second));
        program->input().route(InputEvent::mouseUp(p.first, p.second));
    }
    void pullLever() { click(onCabinet(layout::kLeverAt, 26, 26)); }
    // A key, and the wait until the game takes input again.
    void type(char32_t c) {
        program->input().route(InputEvent::typed(c));
        settle();
    }
    // Lets the virtual clock run until the game takes input again (or a limit passes).
    void settle(std::uint64_t limitMs = 10'000) {
        const std::uint64_t end = platform->ticksMs() + limitMs;
        while (state().inputEnabled == 0 && !program->ended() && platform->ticksMs() < end)
            program->loop().delay(5);
    }
    // The names of the sounds started since the log was last cleared.
    std::vector<std::string> soundsPlayed() {
        std::vector<std::string> names;
        for (const SoundLogEntry& e : platform->headlessAudio().log())
            if (e.action == SoundLogEntry::Action::Played) names.push_back(e.name);
        return names;
    }
    const Picture& composed() {
        program->loop().pumpPending();
        return platform->frame();
    }
    // The w x h pixels of the frame at a cabinet offset.
    Picture cut(layout::Offset at, int w, int h) {
        const Picture& frame = composed();
        const auto [x, y] = onCabinet(at, 0, 0);
        Picture out(w, h);
        blit(frame, Rect{x, y, w, h}, out, 0, 0);
        return out;
    }
    Picture composedCabinet() { return cut({0, 0}, 800, 600); }
    // The figures of the meter of that many cells at a cabinet offset.
    std::string meter(layout::Offset at, int digits) {
        const auto [x, y] = onCabinet(at, 0, 0);
        return readMeter(composed(), x, y, digits);
    }
    std::int64_t money() { return std::int64_t{state().credit} + state().win + state().account; }

    HeadlessOptions options;
    // Where the preferences are kept; none keeps nothing.
    PreferencesKeeper* keeper = nullptr;
    std::unique_ptr<HeadlessPlatform> platform;
    std::unique_ptr<Program> program;
};

}  // namespace fruvana::testing
