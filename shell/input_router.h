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
#include "shell/input_table.h"
#include "shell/overlay_stack.h"

namespace fruvana {

// How long a key holds its button down, in milliseconds; a wheel step is a quick tap.
inline constexpr int kKeyHoldMs = 200;
inline constexpr int kWheelHoldMs = 2;

class InputRouter {
  public:
    InputRouter(Game& game, GameView& view, OverlayStack& overlays, EventLoop& loop,
                const InputBindings& bindings);

    // Handles one input event as the game window does.
    void route(const InputEvent& event);
    // A pointer press met a control of the settings screen or the game recall, which has the
    // focus from then on.
    std::function<void(const Control&)> onFormControlPressed;
    // F11 or Alt+Enter: the window's mode switches.
    std::function<void()> onSwitchWindowMode;

  private:
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
    OverlayStack& overlays_;
    EventLoop& loop_;
    const InputBindings& bindings_;
    // The overlay (or the cabinet) and the control that took the last pointer press; its
    // release goes there wherever the pointer is.
    std::optional<Overlay> pressedOn_;
    std::optional<ControlHit> pressed_;
    // How many keys are being handled, one inside another's wait.
    static constexpr int kMaxKeyNesting = 8;
    int keyDepth_ = 0;
};

}  // namespace fruvana
