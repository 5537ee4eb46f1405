#pragma once
// A stand-in for the presentation and the credit file that writes down every call the engine
// makes, in order, as short readable strings ("sound clac", "nr credit 995 7", "msg 1st  DEAL",
// "lamp 1 red", "save", "pump", "delay 2"), so a test can assert the exact course of a deal.
//
// Its reel animation ends the spin at once, as the real one does after its last frame: "ding"
// and a 31 ms wait when Sound FX is on, then Game::evaluateStop(), then inputEnabled = 1.

#include <array>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/game.h"
#include "engine/machine_state.h"
#include "engine/outcome_pool.h"
#include "engine/random.h"
#include "engine/services.h"

namespace fruvana::testing {

inline std::string_view meterName(Meter meter) {
    switch (meter) {
        case Meter::Credit:
            return "credit";
        case Meter::Win:
            return "win";
        case Meter::Bet:
            return "bet";
        case Meter::M1:
            return "m1";
        case Meter::M2:
            return "m2";
        case Meter::M3:
            return "m3";
        case Meter::M4:
            return "m4";
    }
    return "?";
}

inline std::string_view lampName(LampLook look) {
    switch (look) {
        case LampLook::Blank:
            return "blank";
        case LampLook::Red:
            return "red";
        case LampLook::Green:
            return "green";
    }
    return "?";
}

class RecordingServices : public EngineServices {
  public:
    explicit RecordingServices(MachineState& state) : state_(state) {}

    // The game whose evaluateStop ends each spin; set once the game exists.
    void attach(Game& game) { game_ = &game; }

    void nr(std::int32_t value, Meter meter, int digits) override {
        record("nr " + std::string(meterName(meter)) + " " + std::to_string(value) + " " +
               std::to_string(digits));
    }
    void setMessage(std::string_view text) override {
        message = std::string(text);
        record("msg " + message);
    }
    void pumpPending() override { record("pump"); }
    void delay(int ms) override {
        record("delay " + std::to_string(ms));
        if (onDelay) onDelay(ms);
    }
    void playSound(std::string_view name) override { record("sound " + std::string(name)); }
    void showLamp(int reel, LampLook look) override {
        if (reel >= 1 && reel <= 3) lamps[static_cast<std::size_t>(reel - 1)] = look;
        record("lamp " + std::to_string(reel) + " " + std::string(lampName(look)));
    }
    bool leverAtRest() override { return !leverDown; }
    void moveLeverDown() override {
        leverDown = true;
        record("lever down");
    }
    void moveLeverToRest() override {
        leverDown = false;
        record("lever rest");
    }
    void preg() override { record("preg"); }
    void startReelAnimation() override {
        record("spin");
        ++spins;
        // Stands in for what the pool dealt, so a test can choose the line that stops.
        if (!scriptedLines.empty()) {
            const Line line = scriptedLines.front();
            scriptedLines.pop_front();
            for (std::size_t n = 0; n < 3; ++n) {
                if (state_.phase == 1 || state_.held[n] == 0) state_.reelSymbol[n] = line[n];
            }
        }
        if (whileTurning) whileTurning();
        if (state_.options.soundFx) {
            playSound("ding");
            delay(31);
        }
        if (game_ != nullptr) game_->evaluateStop();
        state_.inputEnabled = 1;
    }
    void saveCredit() override { record("save"); }
    void setTimer1Enabled(bool enabled) override {
        timer1 = enabled;
        record(enabled ? "timer1 on" : "timer1 off");
    }
    bool timer1Enabled() override { return timer1; }

    // The calls since the last clear, and forgetting them.
    std::vector<std::string> take() {
        std::vector<std::string> out;
        out.swap(calls);
        return out;
    }

    std::vector<std::string> calls;
    bool recording = true;
    std::string message;
    std::array<LampLook, 3> lamps{LampLook::Blank, LampLook::Blank, LampLook::Blank};
    bool leverDown = false;
    bool timer1 = false;
    int spins = 0;
    // Lines to stop on, one per spin, in place of the pool's (held reels keep theirs).
    std::deque<Line> scriptedLines;
    // Runs inside every delay, as nested handlers would.
    std::function<void(int)> onDelay;
    // Runs while the reels turn (inputEnabled is 0), before the spin ends.
    std::function<void()> whileTurning;

  private:
    void record(std::string call) {
        if (recording) calls.push_back(std::move(call));
    }

    MachineState& state_;
    Game* game_ = nullptr;
};

// A fresh machine, seeded and wired to a recording fake: what every whole-game test starts from.
struct TestMachine {
    explicit TestMachine(std::uint32_t seed = 1) {
        seedRandomSources(sources, [seed] { return seed; });
        for (auto& symbol : state.reelSymbol) symbol = drawSymbol(sources, kSymbolCount);
        services.attach(game);
    }

    // A whole lever pull by mouse: press on the knob, then release.
    void pull() {
        game.Image8MouseDown(26, 26);
        game.Image8MouseUp();
    }

    MachineState state = freshMachineState();
    RandomSources sources;
    OutcomePool pool;
    RecordingServices services{state};
    Game game{state, sources, pool, services};
};

}  // namespace fruvana::testing
