#pragma once
// A screen drawn in the game window that the pointer can press: the cabinet, the settings
// screen and the game recall. Each owns its geometry and answers which control lies under a
// window point; the input router decides where a press goes and the engine what it does.

#include <optional>

#include "engine/controls.h"

namespace fruvana {

class ControlScreen {
  public:
    virtual ~ControlScreen() = default;
    // The control under the window point, or none.
    virtual std::optional<ControlHit> controlAt(int x, int y) const = 0;
    // One of this screen's push buttons moves by its press when it is at rest, and back when it
    // is pressed; other buttons are left alone.
    virtual void sinkButton(Button button) = 0;
    virtual void liftButton(Button button) = 0;
};

}  // namespace fruvana
