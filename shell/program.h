#pragma once
// The whole program: the machine state, the random sources, the pool, the game window's
// pictures, the view, the game, the settings screen and the input router, built in start-up
// order; the intro, the timers and the data files; and the way out.

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
#include "shell/data_files.h"
#include "shell/input_router.h"
#include "shell/intro.h"
#include "shell/overlay_stack.h"
#include "shell/play_breaks.h"
#include "shell/preferences_keeper.h"
#include "shell/preferences_screen.h"
#include "shell/reality_check_panel.h"
#include "shell/recall_screen.h"
#include "shell/settings_screen.h"
#include "shell/spoken_play.h"

namespace fruvana {

namespace testing {
struct ProgramRestart;
}  // namespace testing

// Makes the reel animation's clock: the threaded timer in the game, the loop's in tests.
using FrameTimerFactory = std::function<std::unique_ptr<FrameTimer>(EventLoop&)>;

class Program final : public GameHost {
  public:
    // Opens the window and runs the start-up; null with a one-line reason in error.
    // The preferences and keys come from keeper, which keeps them when the player changes
    // them; without one, the game's own are used and nothing is kept.
    static std::unique_ptr<Program> start(Platform& platform, const FrameTimerFactory& frames,
                                          std::string& error, PreferencesKeeper* keeper = nullptr);
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the window (the intro begins) and runs until the program ends; the exit code, 1
    // when a handler threw and the game was ended for it.
    int run();
    // Shows the window: the display checks, the welcome voice and the intro timer.
    void showWindow();
    // The player's preferences from now on, each applied where it acts.
    void applyPreferences(const Preferences& preferences);
    // The window lost or regained the focus: with "mute and pause" chosen, the sound goes
    // silent and autoplay waits until it comes back.
    void focusChanged(bool focused) { breaks_.focusChanged(focused); }
    bool ended() const { return loop_.quitRequested(); }
    const Preferences& preferences() const { return keeper_.preferences(); }

    // The seams the tests drive the game through: the input as the window delivers it, the
    // engine, the clock, and what the two forms show.
    InputRouter& input() { return *input_; }
    OverlayStack& overlays() { return *overlays_; }
    // The keys and controller buttons the player chose; the router reads them as they change.
    InputBindings& bindings() { return keeper_.bindings(); }
    Game& game() { return *game_; }
    EventLoop& loop() { return loop_; }
    GameView& view() { return *view_; }
    SettingsScreen& settings() { return *settings_; }
    RecallScreen& recall() { return *recall_; }
    PreferencesScreen& preferencesScreen() { return *preferencesScreen_; }
    RealityCheckPanel& realityCheck() { return *realityCheck_; }
    SpokenPlay& spokenPlay() { return spokenPlay_; }

    // --- the game's host ---
    void saveCredit() override { files_.saveCredit(state_); }
    void saveOptions() override { files_.saveOptions(state_); }
    void saveStatistics() override { files_.saveStatistics(state_); }
    void saveRecall() override { files_.saveRecall(state_); }
    std::int64_t wallClock() override { return platform_.wallClock(); }
    void runAutoplayTimer(bool running) override { autoplayTimer_.setEnabled(running); }
    void openHelp() override;
    void showSettings() override;
    void hideSettings() override;
    void showOptionSwitch(int screenRow) override;
    void showAccountAndStatistics() override { settings_->showAccountAndStatistics(); }
    void showRecall() override;
    void hideRecall() override;
    void showPreferences() override;
    void endProgram() override { loop_.quit(); }

  private:
    // Starts a program over in place, so the fuzzer need not rebuild one for every input.
    friend struct testing::ProgramRestart;
    Program(Platform& platform, PreferencesKeeper* keeper);
    bool build(const FrameTimerFactory& frames, std::string& error);
    // Chooses the data folder, seeds the random sources, reads the data files and makes the
    // game and its input router on a fresh machine state.
    void startMachine();
    void setWindowIcon();
    // Hands the timers' ticks, the input and the painting to their handlers.
    void connectEvents();
    // Where the preferences act: the view, the game, speech and the reality check's clock.
    PreferenceTargets preferenceTargets();
    // What a change on the preferences screen does: a value acts at once; the screen closed,
    // every preference is applied and the file kept.
    void preferenceChanged(PreferencesForm::Result result);

    // Declared in start-up order: built top-down, destroyed bottom-up, so the loop outlives
    // every timer that posts to it, the frame clock outlives the view that starts it, and the
    // game goes before the view it calls.
    Platform& platform_;
    PreferencesKeeper ownKeeper_;
    PreferencesKeeper& keeper_;
    EventLoop loop_{platform_};
    Intro intro_{platform_, loop_};
    PlayBreaks breaks_{platform_, loop_, keeper_.preferences()};
    UiTimer autoplayTimer_{loop_, kAutoplayIntervalMs};
    MachineState state_;
    DataFiles files_;
    SpokenPlay spokenPlay_{state_, platform_.speech()};
    RandomSources sources_;
    OutcomePool pool_;
    std::unique_ptr<GameScreen> screen_;
    std::unique_ptr<FrameTimer> spinFrames_;
    std::unique_ptr<GameView> view_;
    std::unique_ptr<Game> game_;
    std::unique_ptr<SettingsScreen> settings_;
    std::unique_ptr<RecallScreen> recall_;
    std::unique_ptr<PreferencesScreen> preferencesScreen_;
    std::unique_ptr<RealityCheckPanel> realityCheck_;
    std::unique_ptr<OverlayStack> overlays_;
    std::unique_ptr<InputRouter> input_;
    // A handler threw: the loop stops and run() ends the game with its files saved.
    bool handlerFailed_ = false;
};

}  // namespace fruvana
