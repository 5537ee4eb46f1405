#pragma once
// Turns what the player does (keys, pointer presses, wheel steps, controller buttons, the
// window's close request) into the engine's actions. It owns the key and controller map, which
// form has the focus, and where a pointer press lands; whether an action may happen is the
// engine's to decide.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/game.h"
#include "platform/event_loop.h"
#include "platform/input_event.h"
#include "presentation/game_view.h"
#include "shell/recall_screen.h"
#include "shell/settings_screen.h"

namespace fruvana {

// What a key or a controller button asks for.
enum class Command : std::uint8_t {
    Pull,
    HoldReel1,
    HoldReel2,
    HoldReel3,
    BetDown,
    BetUp,
    Coin,
    Collect,
    Autoplay,
    Settings,
    Help,
    Recall,
    Quit,
};

// One row of the input map: the keys (either case of a letter) and the controller button that
// ask for a command. A key of 0 is none; Escape arrives as the character 27.
struct InputBinding {
    Command command;
    char32_t key;
    char32_t otherKey;
    std::optional<PadButton> pad;
};
std::span<const InputBinding> inputMap();

// How long a key holds its button down, in milliseconds; a wheel step is a quick tap.
inline constexpr int kKeyHoldMs = 200;
inline constexpr int kWheelHoldMs = 2;

class InputRouter {
  public:
    InputRouter(Game& game, GameView& view, SettingsScreen& settings, RecallScreen& recall,
                EventLoop& loop);

    // Handles one input event as the game window does.
    void route(const InputEvent& event);
    // The settings screen was shown or hidden: it takes the focus, or gives it back.
    void settingsShown() { focus_ = Form::Settings; }
    void settingsHidden() { focus_ = Form::Game; }
    // The game recall was shown or hidden: it takes the focus, or gives it back to the form
    // beneath it.
    void recallShown() { focus_ = Form::Recall; }
    void recallHidden() { focus_ = settings_.visible() ? Form::Settings : Form::Game; }
    // Whether keys go to the settings screen (which ignores them) rather than the game.
    bool settingsHaveFocus() const { return focus_ == Form::Settings; }

  private:
    enum class Form : std::uint8_t { Game, Settings, Recall };
    void key(char32_t character);
    void command(Command command);
    void padButton(PadButton button);
    void gamePointerDown(int x, int y);
    void gamePointerUp();
    void settingsPointerDown(const InputEvent& event);
    void settingsPointerUp(const InputEvent& event);
    // The game recall takes only its closing keys.
    void recallKey(char32_t character);
    // A press of a push button and its release, as a pointer or a key makes them.
    void pressButton(Button button, bool onFace);
    void releaseButton(Button button);
    void pressButtonFor(Button button, int holdMs);
    // An accepted key or wheel step: the button goes down for holdMs, then is let go.
    void holdDown(Button button, int holdMs);

    Game& game_;
    GameView& view_;
    SettingsScreen& settings_;
    RecallScreen& recall_;
    EventLoop& loop_;
    Form focus_ = Form::Game;
    // Which form took the last press: its release goes there.
    Form pressedForm_ = Form::Game;
    // The picture of the game that took the last press; its release goes to it wherever the
    // pointer is.
    std::string pressed_;
    // What the last press on the settings screen met, and whether the last on the recall met
    // its OK button.
    SettingsHit settingsPressed_;
    bool recallOkPressed_ = false;
    // How many keys are being handled, one inside another's wait.
    static constexpr int kMaxKeyNesting = 8;
    int keyDepth_ = 0;
};

}  // namespace fruvana
