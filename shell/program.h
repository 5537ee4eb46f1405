#pragma once
// The whole program: the machine state, the random sources, the pool, the game window's
// pictures, the view, the game and the controls, built in start-up order; the intro, the
// routing of input, and the way out.

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
#include "shell/controls.h"
#include "shell/data_files.h"
#include "shell/settings_screen.h"

namespace fruvana {

// Makes the reel animation's clock: the threaded timer in the game, the loop's in tests.
using FrameTimerFactory = std::function<std::unique_ptr<FrameTimer>(EventLoop&)>;

inline constexpr std::string_view kSmallScreenText = "Minimum video mode required is 800x600 !";
inline constexpr std::string_view kFewColoursText = "Minimum color quality is 16 bits per pixel !";
inline constexpr std::uint32_t kIntroMs = 3500;

class Program final : public CreditStore, public ProgramActions, public SettingsHost {
  public:
    // Opens the window and runs the start-up; null with a one-line reason in error.
    static std::unique_ptr<Program> start(Platform& platform, const FrameTimerFactory& frames,
                                          std::string& error);
    ~Program() override;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the window (the intro begins) and runs until the program ends; the exit code.
    int run();
    // Shows the window: the display checks, `welcome` and the intro timer.
    void FormShow();
    // Handles one input event as the game window does.
    void route(const InputEvent& event);

    // --- program actions ---
    void quitGame(bool farewell) override;
    void openSettings() override;
    void openHelp() override;
    void WMclose();
    // A game controller's button: the key of the key map it stands for.
    void padButton(PadButton button);
    void Timer2Timer();

    void saveCredit() override;
    void saveset() override;
    void settingsClosed() override;

    MachineState& state() { return state_; }
    Game& game() { return *game_; }
    GameView& view() { return *view_; }
    GameScreen& screen() { return *screen_; }
    Controls& controls() { return *controls_; }
    SettingsScreen& settings() { return *settings_; }
    // Whether keys go to the settings screen (which ignores them) rather than the game.
    bool settingsHaveFocus() const { return focus_ == Form::Settings; }
    EventLoop& loop() { return loop_; }
    UiTimer& Timer2() { return timer2_; }
    bool exitAfterIntro() const { return exitAfterIntro_; }
    bool ended() const { return loop_.quitRequested(); }

  private:
    explicit Program(Platform& platform);
    bool FormCreate(const FrameTimerFactory& frames, std::string& error);
    void pointerDown(const InputEvent& event);
    void pointerUp();

    // Declared in start-up order: built top-down, destroyed bottom-up, so the loop outlives
    // every timer that posts to it and the game goes before the view it calls.
    Platform& platform_;
    EventLoop loop_{platform_};
    UiTimer timer2_{loop_, kIntroMs};
    MachineState state_;
    RandomSources sources_;
    OutcomePool pool_;
    std::unique_ptr<GameScreen> screen_;
    std::unique_ptr<GameView> view_;
    std::unique_ptr<Game> game_;
    std::unique_ptr<Controls> controls_;
    std::unique_ptr<SettingsScreen> settings_;
    // Whether each data file may be written: not when it exists but could not be read.
    bool creditWritable_ = true;
    bool optionsWritable_ = true;
    bool statisticsWritable_ = true;
    bool exitAfterIntro_ = false;
    bool shown_ = false;
    // Which form has the focus, and which took the last press: its release goes there.
    enum class Form : std::uint8_t { Game, Settings };
    Form focus_ = Form::Game;
    Form pressedForm_ = Form::Game;
    // The picture that took the last press on the game; its release goes to it wherever the
    // pointer is.
    std::string pressed_;
};

// The file:// URL of a path, every byte outside the unreserved characters and '/' written as
// %XX, so no character of a folder name can change what is opened.
std::string fileUrl(const std::string& path);

}  // namespace fruvana
