#pragma once
// Turns what the player does (keys, pointer presses, wheel steps, controller buttons, the
// window's close request) into the engine's actions. It owns the one input table, which
// screen has the focus, and which control a pointer press went down on; each screen says what
// lies under a point, and whether an action may happen is the engine's to decide.

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/game.h"
#include "platform/event_loop.h"
#include "platform/input_event.h"
#include "presentation/game_view.h"
#include "shell/recall_screen.h"
#include "shell/settings_screen.h"

namespace fruvana {

// What the player asks of the preferences screen or the reality check: a move of the focus, a
// step of the focused value, the focused control's own action, or the form closed.
enum class FormMove : std::uint8_t { Up, Down, Left, Right, Activate, Close };

// What a row of the input table asks for.
struct Command {
    enum class Kind : std::uint8_t {
        Pull,         // the lever, pulled by a key
        Hold,         // a reel's hold, toggled by a key
        Press,        // a push button held down by a key (no press sound) or tapped by the wheel
        Click,        // a push button pressed as a click presses it, its sound included
        OpenRecall,   // the game recall, when the engine allows it
        CloseRecall,  // the game recall closed
        Quit,         // save and quit, when the engine allows it
        OpenPreferences,  // the preferences screen, when the engine allows it
        Form,             // a move on the preferences screen or the reality check
    };
    Kind kind = Kind::Pull;
    Button button = Button::Help;        // for Press and Click
    int reel = 0;                        // for Hold: 1 to 3
    FormMove move = FormMove::Activate;  // for Form
    friend bool operator==(const Command&, const Command&) = default;
};

// Where a row of the input table applies.
enum class Where : std::uint8_t {
    Game,           // the cabinet has the focus
    Recall,         // the game recall has the focus
    RecallShown,    // the game recall is shown, whatever has the focus
    SettingsShown,  // the settings screen is shown, whatever has the focus
    Preferences,    // the preferences screen has the focus
    RealityCheck,   // the reality check has the focus
};

// An input the table maps: a typed key (letters in lower case, either case typed; Enter as
// '\r', Escape as 27), a controller button, one wheel step (-1 towards the player, +1 away) or
// an arrow key.
struct Input {
    enum class Kind : std::uint8_t { Key, Pad, Wheel, Arrow };
    Kind kind = Kind::Key;
    char32_t key = 0;
    PadButton pad = PadButton::A;
    int wheel = 0;
    Arrow arrow = Arrow::Up;
    friend bool operator==(const Input&, const Input&) = default;
};

struct InputRow {
    Input input;
    Where where;
    Command command;
    friend bool operator==(const InputRow&, const InputRow&) = default;
};
// A form over the cabinet that the keys and buttons move through: the preferences screen and
// the reality check. It decides what a move or a click on one of its items does.
class FormScreen : public ControlScreen {
  public:
    virtual bool visible() const = 0;
    virtual Rect area() const = 0;
    virtual void move(FormMove move) = 0;
    // A click let go over the item it went down on; back for the other mouse button.
    virtual void click(int item, bool back) = 0;
    // While the form awaits a new key or button: the input the player pressed. False when it
    // awaits none.
    virtual bool capture(const Input& input) = 0;
    void sinkButton(Button) override {}
    void liftButton(Button) override {}
};

// The one table of the game's keys, controller buttons and wheel steps, in the order they are
// tried: the first row whose input matches and whose place holds acts.
std::span<const InputRow> inputTable();

// The table the router reads: the game's own rows, with the player's keys and controller
// buttons in place of some of the cabinet's.
class InputBindings {
  public:
    InputBindings();
    std::span<const InputRow> rows() const { return rows_; }
    // Whether the player may change the row: a key or a controller button of the cabinet.
    static bool changeable(const InputRow& row);
    // Puts input in place of row's own. Refused (false, with the reason in one line) when the
    // row may not change, the input is of the other kind, or another row of the cabinet already
    // takes it.
    bool rebind(std::size_t row, const Input& input, std::string& refusal);
    // Many rows at once, so two may trade their inputs; refused as a whole, with the reason,
    // when a row may not change or one input would then do two things.
    bool rebind(std::span<const std::pair<std::size_t, Input>> changes, std::string& refusal);
    void restoreDefaults();
    // The rows the player may change that give command by inputs of kind, in table order.
    std::vector<std::size_t> rowsOf(const Command& command, Input::Kind kind) const;

  private:
    std::vector<InputRow> rows_;
};

// What a row of the cabinet does ("insert a coin", "hold reel 2"): in English, as the
// preferences file and the key tables name it, and in the player's language.
std::string actionText(const Command& command);
std::string actionWords(const Command& command);
// How an input is named: a key by the character it types (Enter, Space, Escape, comma and full
// stop by name), a controller button by its name.
std::string inputText(const Input& input);
// The input of that kind a name stands for (letters in either case), or nothing.
std::optional<Input> inputNamed(std::string_view name, Input::Kind kind);
// A cabinet action's name in the preferences file: "pull", "hold_2", "bet_down", ...
std::string actionKey(const Command& command);

// How long a key holds its button down, in milliseconds; a wheel step is a quick tap.
inline constexpr int kKeyHoldMs = 200;
inline constexpr int kWheelHoldMs = 2;

class InputRouter {
  public:
    InputRouter(Game& game, GameView& view, SettingsScreen& settings, RecallScreen& recall,
                FormScreen& preferences, FormScreen& realityCheck, EventLoop& loop,
                const InputBindings& bindings);

    // Handles one input event as the game window does.
    void route(const InputEvent& event);
    // The settings screen was shown or hidden: it takes the focus, or gives it back.
    void settingsShown() { focus_ = Form::Settings; }
    void settingsHidden() { focus_ = Form::Game; }
    // The game recall was shown or hidden: it takes the focus, or gives it back to the form
    // beneath it.
    void recallShown() { focus_ = Form::Recall; }
    void recallHidden() { focus_ = formBeneath(); }
    // The preferences screen or the reality check was shown or hidden, likewise.
    void preferencesShown() { focus_ = Form::Preferences; }
    void realityCheckShown() { focus_ = Form::RealityCheck; }
    void formHidden() { focus_ = formBeneath(); }
    // Whether keys go to the settings screen (which ignores them) rather than the game.
    bool settingsHaveFocus() const { return focus_ == Form::Settings; }
    // A pointer press met a control of the settings screen or the game recall, which has the
    // focus from then on.
    std::function<void(const Control&)> onFormControlPressed;

  private:
    enum class Form : std::uint8_t { Game, Settings, Recall, Preferences, RealityCheck };
    // The topmost form still shown.
    Form formBeneath() const;
    // The topmost form shown under the window point.
    Form formAt(int x, int y) const;
    ControlScreen& screenOf(Form form);
    FormScreen* formScreen(Form form);
    // The screen a button is drawn on.
    ControlScreen& screenOf(Button button);
    bool applies(Where where) const;
    // The first row of the table for the input, when one applies now.
    void act(const Input& input);
    void run(Command command, Input::Kind by);
    void pointerDown(const InputEvent& event);
    void pointerUp(const InputEvent& event);
    // A press of a push button and its release, as a pointer or a key makes them.
    void pressButton(Button button, bool onFace);
    void releaseButton(Button button);
    // An accepted key, wheel step or click: the button goes down for holdMs, then is let go.
    void holdDown(Button button, int holdMs);

    Game& game_;
    GameView& view_;
    SettingsScreen& settings_;
    RecallScreen& recall_;
    FormScreen& preferences_;
    FormScreen& realityCheck_;
    EventLoop& loop_;
    const InputBindings& bindings_;
    Form focus_ = Form::Game;
    // The form and the control that took the last pointer press; its release goes there
    // wherever the pointer is.
    Form pressedForm_ = Form::Game;
    std::optional<ControlHit> pressed_;
    // How many keys are being handled, one inside another's wait.
    static constexpr int kMaxKeyNesting = 8;
    int keyDepth_ = 0;
};

}  // namespace fruvana
