#pragma once
// Engine services for a machine nobody watches: no meters, lamps, sounds or files, and a spin
// that ends the moment it starts.

#include <utility>

#include "engine/game.h"
#include "engine/services.h"

namespace fruvana::sim {

class SilentServices final : public EngineServices {
  public:
    // The game whose spins this ends; set once the game exists, before the first pull.
    void attach(Game& game) { game_ = &game; }

    void nr(std::int32_t, Meter, int) override {}
    void setMessage(std::string_view) override {}
    void pumpPending() override {}
    void delay(int) override {}
    void playSound(std::string_view) override {}
    void showLamp(int, LampLook) override {}

    bool leverAtRest() override { return leverAtRest_; }
    void moveLeverDown() override { leverAtRest_ = false; }
    void moveLeverToRest() override { leverAtRest_ = true; }

    void preg() override {}
    // The reels stop at once: evaluation, then input back on, as the last frame tick does.
    void startReelAnimation() override {
        ++spins_;
        if (game_ == nullptr) return;
        game_->evaluateStop();
        game_->state().inputEnabled = 1;
    }
    void saveCredit() override {}

    void setTimer1Enabled(bool enabled) override { timer1Enabled_ = enabled; }
    bool timer1Enabled() override { return timer1Enabled_; }

    // Spins started so far; a pull that starts none was refused.
    std::int64_t spins() const { return spins_; }

  private:
    Game* game_ = nullptr;
    std::int64_t spins_ = 0;
    bool leverAtRest_ = true;
    bool timer1Enabled_ = false;
};

// A whole machine that nobody watches or hears, its spins ended by the silent services.
struct SilentMachine {
    explicit SilentMachine(MachineState initial) : state(std::move(initial)) {
        state.options.voiceFx = 0;
        state.options.soundFx = 0;
        services.attach(game);
    }
    SilentMachine(const SilentMachine&) = delete;
    SilentMachine& operator=(const SilentMachine&) = delete;

    MachineState state;
    RandomSources sources;
    OutcomePool pool;
    SilentServices services;
    Game game{state, sources, pool, services};
};

}  // namespace fruvana::sim
