#pragma once
// Engine services for a machine nobody watches: no meters, lamps, sounds or files, and a spin
// that ends the moment it starts.

#include <utility>

#include "engine/game.h"
#include "engine/services.h"

namespace fruvana::sim {

class SilentServices final : public EngineServices, public GameHost {
  public:
    // The game whose spins this ends; set once the game exists, before the first pull.
    void attach(Game& game) { game_ = &game; }

    void drawMeter(std::int32_t, Meter, int) override {}
    void drawBetAndPrizes() override {}
    void setMessage(const GameText&) override {}
    void pumpPending() override {}
    void delay(int) override {}
    void playSound(std::string_view) override {}
    void showLamp(int, LampLook) override {}

    bool leverAtRest() override { return leverAtRest_; }
    void moveLeverDown() override { leverAtRest_ = false; }
    void moveLeverToRest() override { leverAtRest_ = true; }

    void prepareSpinStrips() override {}
    // The reels stop at once, as the last frame tick would have them.
    void startSpin() override {
        if (game_ != nullptr) game_->finishSpin();
    }
    void showStillReels() override {}

    void saveCredit() override {}
    void saveOptions() override {}
    void saveStatistics() override {}
    void saveRecall() override {}
    std::int64_t wallClock() override { return 0; }
    void runAutoplayTimer(bool) override {}
    void openHelp() override {}
    void showSettings() override {}
    void hideSettings() override {}
    void showOptionSwitch(int) override {}
    void showAccountAndStatistics() override {}
    void showRecall() override {}
    void hideRecall() override {}
    void showPreferences() override {}
    void endProgram() override {}

  private:
    Game* game_ = nullptr;
    bool leverAtRest_ = true;
};

// A whole machine that nobody watches or hears, its spins ended by the silent services.
struct SilentMachine {
    explicit SilentMachine(MachineState initial) : state(std::move(initial)) {
        state.options.voiceFx = false;
        state.options.soundFx = false;
        services.attach(game);
    }
    SilentMachine(const SilentMachine&) = delete;
    SilentMachine& operator=(const SilentMachine&) = delete;

    MachineState state;
    RandomSources sources;
    OutcomePool pool;
    SilentServices services;
    Game game{state, sources, pool, services, services};
};

}  // namespace fruvana::sim
