#pragma once
// The preferences file: $XDG_CONFIG_HOME/fruvana/fruvana.conf (by default
// ~/.config/fruvana/fruvana.conf), TOML that a person can read and edit. Its preferences are
// the rows of the preferences table, each under its section and key; then each cabinet
// action's keys and controller buttons by their fixed tokens:
//
//   [keys]                       # the cabinet's keys, each action's in order
//   pull = ["Enter", "Space"]
//   coin = ["C"]                 # ... every action of the cabinet
//
//   [controller]                 # its controller buttons
//   pull = ["A"]
//
// A damaged value falls back to its default and is named with its line; the rest of the file
// still counts. Keys this game does not know are written back as they were. An older game kept
// the window's mode and place under [window] here; they are read once, into the state file.

#include <string>
#include <vector>

#include "shell/input_table.h"
#include "shell/preferences_table.h"
#include "shell/window_memory.h"

namespace fruvana {

inline constexpr std::string_view kPreferencesFileName = "fruvana.conf";

struct StoredPreferences {
    Preferences preferences;
    // The window's mode and place, when the file holds them as an older game kept them.
    std::optional<WindowMemory> window;
    InputBindings bindings;
    // The file's text as read, so that what this game does not know is written back.
    std::string source;
    // False when the text could not be read as TOML at all: the file is then never written
    // over, so the player's own edits are not lost to a slip of syntax.
    bool writable = true;
};

// Reads the file's text; each damaged value adds one line to complaints.
StoredPreferences parsePreferences(const std::string& text, std::vector<std::string>& complaints);
// The whole file: what was read, with this game's keys set to the values in stored.
std::string formatPreferences(const StoredPreferences& stored);

// Reads the file at path; nothing when there is none.
std::optional<StoredPreferences> loadPreferences(const std::string& path,
                                                 std::vector<std::string>& complaints);
}  // namespace fruvana
