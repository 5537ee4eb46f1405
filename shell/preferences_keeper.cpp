#include "shell/preferences_keeper.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "presentation/translation.h"

namespace fruvana {

namespace {

// The game's folder under an XDG base folder, else under HOME's usual one; ends in '/'.
std::string gameFolder(const std::string& xdgFolder, const std::string& home,
                       std::string_view underHome) {
    // A relative folder is ignored, as desktop programs do, so the files never land in
    // whatever folder the game was started from.
    if (!xdgFolder.empty() && xdgFolder.front() == '/') return xdgFolder + "/fruvana/";
    if (!home.empty()) return home + "/" + std::string(underHome) + "/fruvana/";
    return {};
}

bool sameRows(std::span<const InputRow> a, std::span<const InputRow> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

}  // namespace

PlayerFiles playerFiles(const std::string& xdgConfigHome, const std::string& xdgStateHome,
                        const std::string& home) {
    const std::string config = gameFolder(xdgConfigHome, home, ".config");
    const std::string state = gameFolder(xdgStateHome, home, ".local/state");
    return {config.empty() ? config : config + std::string(kPreferencesFileName),
            state.empty() ? state : state + "window.conf",
            config.empty() ? config : config + "window.conf"};
}

PreferencesKeeper::PreferencesKeeper(PlayerFiles files, std::vector<std::string>& complaints)
    : files_(std::move(files)), keeps_(true) {
    std::optional<StoredPreferences> read = loadPreferences(files_.preferences, complaints);
    std::error_code error;
    const bool stateKept =
        !files_.windowState.empty() && std::filesystem::exists(files_.windowState, error);
    // The window as the state file keeps it; before there is one, as an older game kept it
    // in the preferences file or in window.conf beside it, read this once.
    if (stateKept) {
        window_ = loadWindowMemory(files_.windowState);
    } else if (read && read->window) {
        window_ = *read->window;
    } else if (!read) {
        window_ = loadWindowMemory(files_.oldWindow);
    }
    if (read) {
        stored_ = std::move(*read);
        written_ = stored_.preferences;
        writtenBindings_.assign(stored_.bindings.rows().begin(), stored_.bindings.rows().end());
        return;
    }
    // A first start: the file is made with the defaults, for the player to find and edit.
    std::string note;
    if (!files_.preferences.empty() && !write(note)) complaints.push_back(note);
}

bool PreferencesKeeper::keep(std::string& note) {
    if (!keeps_) return true;
    if (stored_.preferences == written_ && sameRows(stored_.bindings.rows(), writtenBindings_))
        return true;
    return write(note);
}

bool PreferencesKeeper::write(std::string& note) {
    std::string why;
    if (!stored_.writable) {
        note = tr(GameText{translatable("%s could not be read, so it is left as it is"),
                           {files_.preferences}});
        return false;
    }
    // Deliberate: a file the player wrote by hand (its comments, its order, its own entries)
    // is kept beside the game's before the game's replaces it, so no edit is lost.
    std::vector<std::string> ignored;
    const bool handWritten =
        !stored_.source.empty() &&
        formatPreferences(parsePreferences(stored_.source, ignored)) != stored_.source;
    const std::string kept = files_.preferences + "~";
    if (handWritten && !writeConfigFile(kept, stored_.source, why)) {
        note = tr(GameText{translatable("the preferences are not kept: %s"), {why}});
        return false;
    }
    const std::string text = formatPreferences(stored_);
    if (!writeConfigFile(files_.preferences, text, why)) {
        note = tr(GameText{translatable("the preferences are not kept: %s"), {why}});
        return false;
    }
    if (handWritten)
        note = tr(GameText{translatable("your own preferences file is kept as %s"), {kept}});
    stored_.source = text;
    written_ = stored_.preferences;
    writtenBindings_.assign(stored_.bindings.rows().begin(), stored_.bindings.rows().end());
    return true;
}

bool PreferencesKeeper::rememberWindow(const WindowMemory& window, std::string& why) {
    std::string text = window.windowed ? "mode=window\n" : "mode=fullscreen\n";
    if (window.x && window.y)
        text += "x=" + std::to_string(*window.x) + "\ny=" + std::to_string(*window.y) + "\n";
    if (files_.windowState.empty()) {
        why = "neither XDG_STATE_HOME nor HOME is set";
        return false;
    }
    return writeConfigFile(files_.windowState, text, why);
}

}  // namespace fruvana
