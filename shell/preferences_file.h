#pragma once
// The preferences file: $XDG_CONFIG_HOME/fruvana/fruvana.conf (by default
// ~/.config/fruvana/fruvana.conf), TOML that a person can read and edit. It holds the preferences
// and the window's mode and place:
//
//   [sound]
//   effects_volume = 100         # 0 to 100 in steps of 10
//   voice_volume = 100
//
//   [window]
//   mode = "fullscreen"          # or "window"
//   x = 120                      # the window's place, both or neither
//   y = 80
//   when_unfocused = "nothing"   # or "mute_and_pause"
//   hold_lamps = "colour"        # or "colour_and_shape"
//
//   [autoplay]                   # 0 is off
//   stop_after_games = 0         # 10, 25, 50 or 100
//   stop_on_win_of = 0           # 100, 500, 1000 or 5000 credits
//   stop_on_net_loss_of = 0      # 1000, 5000 or 10000 credits
//
//   [reality_check]
//   every_minutes = 0            # 0 (off), 15, 30 or 60
//
//   [keys]                       # the cabinet's keys, each action's in order
//   pull = ["Enter", "Space"]
//   coin = ["C"]                 # ... every action of the cabinet
//
//   [controller]                 # its controller buttons
//   pull = ["A"]
//
// A damaged value falls back to its default and is named with its line; the rest of the file
// still counts. Keys this game does not know are written back as they were.

#include <string>
#include <vector>

#include "engine/preferences.h"
#include "shell/input_table.h"
#include "shell/window_memory.h"

namespace fruvana {

inline constexpr std::string_view kPreferencesFileName = "fruvana.conf";

struct StoredPreferences {
    Preferences preferences;
    WindowMemory window;
    InputBindings bindings;
    // The file's text as read, so that what this game does not know is written back.
    std::string source;
    // False when the text could not be read as TOML at all: the file is then never written
    // over, so the player's own edits are not lost to a slip of syntax.
    bool writable = true;
};

// The file's path from the environment's XDG_CONFIG_HOME and HOME, as for the window's memory.
std::string preferencesPath(const std::string& xdgConfigHome, const std::string& home);

// Reads the file's text; each damaged value adds one line to complaints.
StoredPreferences parsePreferences(const std::string& text, std::vector<std::string>& complaints);
// The whole file: what was read, with this game's keys set to the values in stored.
std::string formatPreferences(const StoredPreferences& stored);

// Reads the file at path. When it does not exist, the window's place comes from the older
// window.conf beside it (windowFile), which is read once and then no longer written.
StoredPreferences loadPreferences(const std::string& path, const std::string& windowFile,
                                  std::vector<std::string>& complaints);
// Writes the file whole (a temporary file renamed over it), making its folder; false with a
// one-line reason in why when it cannot.
bool savePreferences(const std::string& path, const StoredPreferences& stored, std::string& why);

}  // namespace fruvana
