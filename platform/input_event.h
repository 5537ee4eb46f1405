#pragma once
// What the player does, in the program's own terms. Only the SDL back end knows where these
// come from; everything above platform/ sees just this.

#include <cstdint>

namespace fruvana {

enum class InputKind : std::uint8_t {
    MouseDown,     // a button pressed at (x, y)
    MouseUp,       // a button released at (x, y)
    Character,     // a typed character (Space arrives here, once)
    Enter,         // the Enter key (main or keypad)
    Wheel,         // one wheel step: +1 away from the player, -1 towards
    CloseRequest,  // the window's close button or the session asking us to quit; may be refused
    Gamepad,       // a game controller's button pressed
    FocusLost,     // the window no longer takes the keyboard
    FocusGained,   // and takes it again
    Arrow,         // an arrow key
    WindowMode,    // a key that switches between full screen and a window
};

enum class Arrow : std::uint8_t { Up, Down, Left, Right };

// The game controller's buttons the game answers; positions as on a common controller.
enum class PadButton : std::uint8_t {
    A,  // bottom face button
    B,  // right face button
    X,  // left face button
    Y,  // top face button
    Back,
    Start,
    DpadLeft,
    DpadUp,
    DpadRight,
    LeftShoulder,
    RightShoulder,
    Guide,  // the button in the middle
    DpadDown,
};
inline constexpr int kPadButtonCount = 13;

// The keys that switch between full screen and a window.
enum class WindowModeKey : std::uint8_t { F11, AltEnter };

enum class MouseButton : std::uint8_t { Left, Middle, Right, Other };

struct InputEvent {
    InputKind kind = InputKind::CloseRequest;
    int x = 0;  // window pixels, for mouse events
    int y = 0;
    MouseButton button = MouseButton::Left;
    char32_t character = 0;
    int wheel = 0;
    PadButton pad = PadButton::A;
    Arrow arrow = Arrow::Up;
    WindowModeKey windowMode = WindowModeKey::F11;

    static InputEvent mouseDown(int x, int y, MouseButton b = MouseButton::Left) {
        return {InputKind::MouseDown, x, y, b, 0, 0, {}};
    }
    static InputEvent mouseUp(int x, int y, MouseButton b = MouseButton::Left) {
        return {InputKind::MouseUp, x, y, b, 0, 0, {}};
    }
    static InputEvent typed(char32_t c) { return {InputKind::Character, 0, 0, {}, c, 0, {}}; }
    static InputEvent enter() { return {InputKind::Enter, 0, 0, {}, 0, 0, {}}; }
    static InputEvent wheelStep(int sign) { return {InputKind::Wheel, 0, 0, {}, 0, sign, {}}; }
    static InputEvent closeRequest() { return {InputKind::CloseRequest, 0, 0, {}, 0, 0, {}}; }
    static InputEvent padButton(PadButton b) { return {InputKind::Gamepad, 0, 0, {}, 0, 0, b}; }
    static InputEvent arrowKey(Arrow a) { return {InputKind::Arrow, 0, 0, {}, 0, 0, {}, a}; }
    static InputEvent windowModeKey(WindowModeKey k) {
        return {InputKind::WindowMode, 0, 0, {}, 0, 0, {}, {}, k};
    }
    static InputEvent focus(bool gained) {
        return {gained ? InputKind::FocusGained : InputKind::FocusLost, 0, 0, {}, 0, 0, {}};
    }

    friend bool operator==(const InputEvent&, const InputEvent&) = default;
};

}  // namespace fruvana
