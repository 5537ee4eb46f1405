#pragma once
// The names the screens share with the engine: the push buttons, and the controls a pointer
// can meet on a screen. The screens say which control lies under a point; what it does is the
// engine's to decide.

#include <cstddef>
#include <cstdint>

namespace fruvana {

// The push buttons: the cabinet's eight, the settings screen's OK, reset and recall, the game
// recall's OK, and the settings screen's way to the preferences.
enum class Button : std::uint8_t {
    Help,
    Exit,
    BetDown,
    BetUp,
    Coin,
    Collect,
    Settings,
    Autoplay,
    SettingsOk,
    SettingsReset,
    SettingsRecall,
    RecallOk,
    SettingsPreferences,
};
inline constexpr std::size_t kButtonCount = 13;
// The cabinet's own buttons come first.
inline constexpr std::size_t kCabinetButtonCount = 8;

// Whether the rows of a table keyed by button stand in the order of the Button values, so that
// a row can be found by its button's number.
template <typename Rows>
constexpr bool rowsInButtonOrder(const Rows& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (static_cast<std::size_t>(rows[i].button) != i) return false;
    return true;
}

// Something a pointer can press on a screen.
enum class ControlKind : std::uint8_t { Button, Lever, Hold, OptionSwitch, FormItem };
struct Control {
    ControlKind kind = ControlKind::Button;
    Button button = Button::Help;  // for a push button
    int index = 0;  // a hold's reel (1 to 3), a switch's screen row (0 to 4), a form's item
    friend bool operator==(const Control&, const Control&) = default;
};

// The control under a point, and whether the point lies on its round face (a button's, or
// the lever's knob); a press elsewhere on the picture is refused. Holds and switches have no
// face: all of them counts.
struct ControlHit {
    Control control;
    bool onFace = true;
};

}  // namespace fruvana
