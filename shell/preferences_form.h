#pragma once
// The preferences screen without its pictures: the choices it offers, which one has the focus,
// what a step, an activation or a captured key does, and the words each one shows. The screen
// draws it; the input router hands it the player's moves.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/speech.h"
#include "shell/input_table.h"
#include "shell/preferences_table.h"

namespace fruvana {

class PreferencesForm {
  public:
    // A control that takes the focus: a preference's value, one input of a cabinet action, or
    // one of the two buttons. line and column place it on the screen.
    struct Item {
        enum class Kind : std::uint8_t { Preference, Input, Defaults, Ok };
        Kind kind = Kind::Preference;
        std::size_t row = 0;  // the preference table's row, or the bindings' row for an input
        int line = 0;
        int column = 0;
    };
    // What a move changed, for the screen to redraw and the program to apply.
    // Message: only the message line changed (a value that cannot be chosen says why).
    enum class Result : std::uint8_t {
        Nothing,
        Focus,
        Value,
        Capturing,
        Bindings,
        Message,
        Closed
    };

    // Without speech (null), the speech preference reads as unavailable.
    PreferencesForm(Preferences& preferences, InputBindings& bindings,
                    SpeechOutput* speech = nullptr);

    const std::vector<Item>& items() const { return items_; }
    // The cabinet's actions the player may give other inputs, one per line of the controls.
    const std::vector<Command>& actions() const { return actions_; }
    std::size_t focus() const { return focus_; }
    // The focus to the first control, no key awaited, no message: as the screen opens.
    void reset();

    Result move(FormMove move);
    // A pointer's click on an item: it takes the focus and acts, a value stepping on (back with
    // the other mouse button).
    Result click(std::size_t item, bool back);
    // While a new key or button is awaited, the input that the player pressed: it takes the
    // action when no other action has it. Escape gives up without a change.
    Result capture(const Input& input);
    bool capturing() const { return capturing_.has_value(); }
    // The preference whose value the last Value result changed.
    const PreferenceRow& changed() const { return preferenceTable()[changed_]; }

    std::string valueText(const Item& item) const;
    // The focused control as speech names it: "Effects volume, 100 %", "Insert a coin, key C",
    // "OK".
    std::string focusText() const;
    // The line under the controls: a hint, the key awaited, or why one was refused.
    const std::string& message() const { return message_; }

  private:
    Result step(const Item& item, int direction, bool wrap);
    bool speechAvailable() const;
    Result activate(const Item& item);

    Preferences& preferences_;
    InputBindings& bindings_;
    SpeechOutput* speech_;
    std::vector<Command> actions_;
    std::vector<Item> items_;
    std::size_t focus_ = 0;
    std::optional<std::size_t> capturing_;  // the bindings' row awaiting its new input
    std::size_t changed_ = 0;
    // The speech server was asked for and could not be had.
    bool unavailable_ = false;
    std::string message_;
};

}  // namespace fruvana
