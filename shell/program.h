#pragma once
// The whole program: the machine state, the random sources, the pool, the game window's
// pictures, the view and the game, built in start-up order, with the input routed to the
// handlers of the picture under the pointer.

#include <functional>
#include <memory>
#include <string>

#include "engine/game.h"
#include "engine/machine_state.h"
#include "engine/outcome_pool.h"
#include "engine/random.h"
#include "platform/event_loop.h"
#include "platform/frame_timer.h"
#include "platform/platform.h"
#include "presentation/game_screen.h"
#include "presentation/game_view.h"

namespace fruvana {

// Makes the reel animation's clock: the threaded timer in the game, the loop's in tests.
using FrameTimerFactory = std::function<std::unique_ptr<FrameTimer>(EventLoop&)>;

class Program final : public CreditStore {
  public:
    // Opens the window and builds everything; null with a one-line reason in error.
    static std::unique_ptr<Program> start(Platform& platform, const FrameTimerFactory& frames,
                                          std::string& error);
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Runs until a close request is accepted; returns the exit code.
    int run();
    // Handles one input event as the game window does.
    void route(const InputEvent& event);

    void saveCredit() override;

    MachineState& state() { return state_; }
    Game& game() { return *game_; }
    GameView& view() { return *view_; }
    GameScreen& screen() { return *screen_; }
    EventLoop& loop() { return loop_; }

  private:
    explicit Program(Platform& platform);
    bool build(const FrameTimerFactory& frames, std::string& error);
    void pointerDown(const InputEvent& event);
    void pointerUp();

    // Declared in start-up order: built top-down, destroyed bottom-up, so the loop outlives
    // every timer that posts to it and the game goes before the view it calls.
    Platform& platform_;
    EventLoop loop_{platform_};
    MachineState state_ = freshMachineState();
    RandomSources sources_;
    OutcomePool pool_;
    std::unique_ptr<GameScreen> screen_;
    std::unique_ptr<GameView> view_;
    std::unique_ptr<Game> game_;
    // The picture that took the last press; its release goes to it wherever the pointer is.
    std::string pressed_;
};

}  // namespace fruvana
