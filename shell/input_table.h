#pragma once
// The game's input vocabulary: what the player presses (a key, a controller button, a wheel
// step, an arrow), what each press asks for, where it applies, the one
// table of rows that joins them, the player's own bindings, and the names of each: the words a
// screen shows in the player's language, and the fixed tokens the preferences file stores.
// Stored tokens are literals of their own, so rewording or translating a label never orphans a
// player's saved binding.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/controls.h"
#include "platform/input_event.h"

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
        OpenPreferences,   // the preferences screen, when the engine allows it
        Form,              // a move on the preferences screen or the reality check
        SwitchWindowMode,  // full screen or a window that shows just the cabinet
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
    Anywhere,       // whatever is shown or has the focus
};

// An input the table maps: a typed key (letters in lower case, either case typed; Enter as
// '\r', Escape as 27), a controller button, one wheel step (-1 towards the player, +1 away), an
// arrow key, or a key that switches the window's mode (F11, Alt+Enter).
struct Input {
    enum class Kind : std::uint8_t { Key, Pad, Wheel, Arrow, WindowMode };
    Kind kind = Kind::Key;
    char32_t key = 0;
    PadButton pad = PadButton::A;
    int wheel = 0;
    Arrow arrow = Arrow::Up;
    WindowModeKey windowMode = WindowModeKey::F11;
    friend bool operator==(const Input&, const Input&) = default;
};

// The input an event stands for, or nothing for events that are no input of the table.
std::optional<Input> inputOf(const InputEvent& event);

struct InputRow {
    Input input;
    Where where;
    Command command;
    friend bool operator==(const InputRow&, const InputRow&) = default;
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
    // The commands of the rows the player may change, each once, in table order.
    std::vector<Command> changeableCommands() const;

  private:
    std::vector<InputRow> rows_;
};

// What a row of the cabinet does ("insert a coin", "hold reel 2"), in the player's language.
std::string actionWords(const Command& command);
// How an input is shown, in the player's language: a key by the character it types (Enter,
// Space, Escape, comma and full stop by name), a controller button by its name.
std::string inputWords(const Input& input);

// The preferences file's fixed name of a cabinet action ("pull", "hold_reel_2", "bet_down"),
// written once here and never made from a shown text.
std::string_view actionToken(const Command& command);
// The preferences file's fixed name of a key or a controller button: "Enter", "C", "U+00E9",
// "D-pad left".
std::string inputToken(const Input& input);
// The input of that kind a token stands for (letters in either case), or nothing.
std::optional<Input> inputFromToken(std::string_view token, Input::Kind kind);

}  // namespace fruvana
