#pragma once
// How the game window was left: full screen or a window, and the window's place. The game's
// state file $XDG_STATE_HOME/fruvana/window.conf (by default ~/.local/state/fruvana/) keeps it,
// as an older game's $XDG_CONFIG_HOME/fruvana/window.conf did; both hold plain key=value lines:
//
//   mode=window        (or fullscreen)
//   x=120
//   y=80
//
// A missing or damaged file means full screen at no remembered place.

#include <optional>
#include <string>

namespace fruvana {

struct WindowMemory {
    bool windowed = false;
    std::optional<int> x;  // the window's place, both or neither
    std::optional<int> y;
    friend bool operator==(const WindowMemory&, const WindowMemory&) = default;
};

// Reads text as the file's contents: unknown keys and lines are passed over; a mode other than
// window or fullscreen, or a place that is not a whole number in range, is damage.
WindowMemory parseWindowMemory(const std::string& text);
WindowMemory loadWindowMemory(const std::string& path);

// Writes text as the file at path, whole (a temporary file renamed over it), making its folder;
// false with a one-line reason in why when it cannot.
bool writeConfigFile(const std::string& path, const std::string& text, std::string& why);

}  // namespace fruvana
