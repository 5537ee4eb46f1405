#pragma once
// A stand-in for the presentation and the program around the game that writes down every call
// the engine makes, in order, as short readable strings ("sound lever_pull", "meter credit 995
// 7", "msg 1st  DEAL", "lamp 1 red", "save", "pump", "delay 2"), so a test can assert the exact
// course of a deal.
//
// Its reels stop the moment they start: it calls Game::finishSpin() as the program's frame tick
// does after the last frame.

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

// The names the calls are written with, in the order the enumerations declare.
inline std::string_view meterName(Meter meter) {
    constexpr std::array<std::string_view, 7> kNames{"credit", "win",    "bet",   "prize1",
                                                     "prize2", "prize3", "prize4"};
    return kNames[static_cast<std::size_t>(meter)];
}

inline std::string_view lampName(LampLook look) {
    constexpr std::array<std::string_view, 3> kNames{"blank", "red", "green"};
    return kNames[static_cast<std::size_t>(look)];
}

class RecordingServices : public EngineServices, public GameHost {
  public:
    explicit RecordingServices(MachineState& state) : state_(state) {}

    // The game whose finishSpin ends each spin; set once the game exists.
    void attach(Game& game) { game_ = &game; }

    void drawMeter(std::int32_t value, Meter meter, int digits) override {
        record("meter " + std::string(meterName(meter)) + " " + std::to_string(value) + " " +
               std::to_string(digits));
    }
    void drawBetAndPrizes() override { record("bet and prizes " + std::to_string(state_.bet)); }
    void setMessage(const GameText& text) override {
        message = text.english();
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
    void prepareSpinStrips() override { record("strips"); }
    void startSpin() override {
        record("spin");
        ++spins;
        // Stands in for what the pool dealt, so a test can choose the line that stops.
        if (!scriptedLines.empty()) {
            const Line line = scriptedLines.front();
            scriptedLines.pop_front();
            for (std::size_t n = 0; n < 3; ++n) {
                if (state_.phase == Phase::FirstDeal || state_.held[n] == 0)
                    state_.reelSymbols[n] = line[n];
            }
        }
        if (whileTurning) whileTurning();
        if (game_ != nullptr) game_->finishSpin();
    }
    void showStillReels() override { record("still reels"); }

    void saveCredit() override { record("save"); }
    void saveOptions() override { record("save options"); }
    void saveStatistics() override { record("save statistics"); }
    void saveRecall() override { record("save recall"); }
    std::int64_t wallClock() override { return clock; }
    void runAutoplayTimer(bool running) override {
        autoplayTimer = running;
        record(running ? "autoplay timer on" : "autoplay timer off");
    }
    void openHelp() override { record("help"); }
    void showSettings() override { record("settings shown"); }
    void hideSettings() override { record("settings hidden"); }
    void showOptionSwitch(int screenRow) override { record("switch " + std::to_string(screenRow)); }
    void showAccountAndStatistics() override { record("account and statistics"); }
    void showRecall() override { record("recall shown"); }
    void hideRecall() override { record("recall hidden"); }
    void showPreferences() override { record("preferences shown"); }
    void endProgram() override { record("end"); }

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
    bool autoplayTimer = false;
    // The wall clock the games are stamped with.
    std::int64_t clock = 1'800'000'000;
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
        for (auto& symbol : state.reelSymbols) symbol = drawSymbol(sources, kSymbolCount);
        services.attach(game);
    }

    // A whole lever pull by mouse: press on the knob, then release.
    void pull() {
        game.pressLever(true);
        game.releaseLever();
    }

    MachineState state = freshMachineState();
    RandomSources sources;
    OutcomePool pool;
    RecordingServices services{state};
    Game game{state, sources, pool, services, services};
};

}  // namespace fruvana::testing
