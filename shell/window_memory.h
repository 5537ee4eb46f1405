#pragma once
// How the game window was left: full screen or a window, and the window's place. The
// preferences file keeps it now; an older $XDG_CONFIG_HOME/fruvana/window.conf (by default
// ~/.config/fruvana/window.conf) is still read when there is no preferences file. It holds plain
// key=value lines:
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

// The game's folder of preferences, ending in '/', from the environment's XDG_CONFIG_HOME and
// HOME (either may be empty); empty when neither is set.
std::string configFolder(const std::string& xdgConfigHome, const std::string& home);
// The file's path in that folder; empty when there is none.
std::string windowMemoryPath(const std::string& xdgConfigHome, const std::string& home);

// Reads text as the file's contents: unknown keys and lines are passed over; a mode other than
// window or fullscreen, or a place that is not a whole number in range, is damage.
WindowMemory parseWindowMemory(const std::string& text);
WindowMemory loadWindowMemory(const std::string& path);

// Writes text as the file at path, whole (a temporary file renamed over it), making its folder;
// false with a one-line reason in why when it cannot.
bool writeConfigFile(const std::string& path, const std::string& text, std::string& why);

}  // namespace fruvana
