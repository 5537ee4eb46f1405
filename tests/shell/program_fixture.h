#pragma once
// The whole program on the headless platform and the virtual clock, in a folder of its own:
// what every whole-program test starts from.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/headless_platform.h"
#include "presentation/cabinet_layout.h"
#include "shell/program.h"

namespace fruvana::testing {

inline std::filesystem::path freshFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "fruvana-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) return {};
    return pattern;
}

class WholeProgram : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = freshFolder();
        ASSERT_FALSE(folder.empty());
        options.basePath = folder.string() + "/";
    }
    void TearDown() override {
        program.reset();
        platform.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    // Starts the program; tests may change options before.
    void start() {
        platform = std::make_unique<HeadlessPlatform>(options);
        std::string error;
        program = Program::start(
            *platform, [](EventLoop& loop) { return std::make_unique<LoopFrameTimer>(loop); },
            error);
        ASSERT_TRUE(program) << error;
    }
    // Starts the program, shows its window and lets the intro run out.
    void startAndReveal() {
        start();
        if (!program) return;
        program->showWindow();
        program->loop().delay(3510);  // the intro's 3500 ms and a little
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
    // Lets the virtual clock run until the game takes input again (or a limit passes).
    void settle(std::uint64_t limitMs = 10'000) {
        const std::uint64_t end = platform->ticksMs() + limitMs;
        while (state().inputEnabled == 0 && platform->ticksMs() < end) program->loop().delay(5);
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
    // The 800 x 600 pixels of the frame from the cabinet's top-left corner.
    Picture composedCabinet() {
        const Picture& frame = composed();
        const auto [x, y] = onCabinet({0, 0}, 0, 0);
        Picture out(800, 600);
        blit(frame, Rect{x, y, 800, 600}, out, 0, 0);
        return out;
    }

    std::filesystem::path folder;
    HeadlessOptions options;
    std::unique_ptr<HeadlessPlatform> platform;
    std::unique_ptr<Program> program;
};

}  // namespace fruvana::testing
