#pragma once
// Translation of SDL's events into the program's own. Internal to platform/ (and its tests).

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/input_event.h"

namespace fruvana {

// Appends what event means to the program (often nothing, sometimes several characters).
// Typed text SDL cannot convert is dropped, with problem (when given) set to why.
void translateSdlEvent(const SDL_Event& event, std::vector<InputEvent>& out,
                       std::string* problem = nullptr);

// F11, or Enter with Alt: the key that switches between full screen and a window.
bool isWindowModeKey(const SDL_KeyboardEvent& key);

}  // namespace fruvana
