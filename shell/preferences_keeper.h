#pragma once
// Keeps the player's preferences and keys between runs. The preferences file is the player's:
// it is read at start (each problem said once, then), and written only when the player changes
// something on the preferences screen, or on a first start when there is none. What the game
// remembers by itself, the window's mode and place, goes to a state file of its own.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "shell/input_table.h"
#include "shell/preferences_file.h"
#include "shell/preferences_table.h"
#include "shell/window_memory.h"

namespace fruvana {

// Where the player's preferences and the game's own memory live.
struct PlayerFiles {
    std::string preferences;  // $XDG_CONFIG_HOME/fruvana/fruvana.conf
    std::string windowState;  // $XDG_STATE_HOME/fruvana/window.conf
    std::string oldWindow;    // $XDG_CONFIG_HOME/fruvana/window.conf, read once
};

// The files' places from the environment's XDG_CONFIG_HOME, XDG_STATE_HOME and HOME (any may
// be empty); a place is empty when none can be found. Relative folders are passed over.
PlayerFiles playerFiles(const std::string& xdgConfigHome, const std::string& xdgStateHome,
                        const std::string& home);

class PreferencesKeeper {
  public:
    // Nothing read, nothing ever written: the game's own preferences and keys.
    PreferencesKeeper() = default;
    // Reads the files; each problem adds one line to complaints. A missing preferences file is
    // written with the defaults.
    PreferencesKeeper(PlayerFiles files, std::vector<std::string>& complaints);

    Preferences& preferences() { return stored_.preferences; }
    const Preferences& preferences() const { return stored_.preferences; }
    InputBindings& bindings() { return stored_.bindings; }
    // The window as the last run left it.
    const WindowMemory& window() const { return window_; }

    // The preferences screen closed: writes the file when a preference or a key changed since
    // it was read or written. False with the reason in note when it cannot; note also says
    // where a hand-edited file was kept when the game's own replaced it.
    bool keep(std::string& note);
    // The window as the game ends, into the state file; false with the reason in why.
    bool rememberWindow(const WindowMemory& window, std::string& why);

  private:
    bool write(std::string& note);

    PlayerFiles files_;
    bool keeps_ = false;  // made with files: it writes them
    StoredPreferences stored_;
    WindowMemory window_;
    // The preferences and keys as the file holds them.
    Preferences written_;
    std::vector<InputRow> writtenBindings_;
};

}  // namespace fruvana
