#include "shell/preferences_file.h"

#include <toml++/toml.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <utility>

#include "presentation/translation.h"

namespace fruvana {

namespace {

// Far beyond any screen, and far from int's limits.
constexpr std::int64_t kFarthest = 1 << 20;
// A file far larger than any this game writes is damage, not something to read whole.
constexpr std::streamsize kLargestFile = std::streamsize{64} * 1024;

// One key of the file: where it sits, and how it is read into and written from the preferences.
class Reader {
  public:
    explicit Reader(const toml::table& document) : document_(document) {}

    // The node at section.key, or null.
    const toml::node* at(std::string_view section, std::string_view key) const {
        return document_.at_path(path(section, key)).node();
    }

    // The complaints in the order of the file's lines.
    void complaintsInto(std::vector<std::string>& complaints) {
        std::stable_sort(complaints_.begin(), complaints_.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& [line, text] : complaints_) complaints.push_back(std::move(text));
    }

    // The whole number at section.key, or nothing (with a complaint) when it is there but not
    // a whole number accepted by ok.
    template <typename Accepts>
    std::optional<std::int64_t> number(std::string_view section, std::string_view key, Accepts ok,
                                       std::string_view wanted) {
        const toml::node* node = document_.at_path(path(section, key)).node();
        if (node == nullptr) return std::nullopt;
        const std::optional<std::int64_t> value = node->value_exact<std::int64_t>();
        if (value && ok(*value)) return value;
        complain(*node, section, key, wanted);
        return std::nullopt;
    }

    // The word at section.key, or nothing (with a complaint) when it is there but is none of
    // the words given.
    std::optional<std::string> word(std::string_view section, std::string_view key,
                                    std::initializer_list<std::string_view> words) {
        const toml::node* node = document_.at_path(path(section, key)).node();
        if (node == nullptr) return std::nullopt;
        std::optional<std::string> value = node->value_exact<std::string>();
        if (value && std::find(words.begin(), words.end(), *value) != words.end()) return value;
        std::string choices;
        for (std::string_view w : words)
            choices += (choices.empty() ? "\"" : " \"") + std::string(w) + "\"";
        complain(*node, section, key, tr(GameText{translatable("one of %s"), {choices}}));
        return std::nullopt;
    }

    void complain(const toml::node& node, std::string_view section, std::string_view key,
                  std::string_view wanted) {
        const auto line = node.source().begin.line;
        complaints_.emplace_back(
            line,
            std::string(kPreferencesFileName) + " " +
                tr(GameText{translatable("line %s: %s must be %s; its default is used"),
                            {std::to_string(line), path(section, key), std::string(wanted)}}));
    }

  private:
    static std::string path(std::string_view section, std::string_view key) {
        return std::string(section) + "." + std::string(key);
    }

    const toml::table& document_;
    std::vector<std::pair<toml::source_index, std::string>> complaints_;
};

// A limit that is 0 (off) or one of choices.
template <std::size_t N>
auto offOr(const std::array<int, N>& choices) {
    return [&choices](std::int64_t v) {
        return v == 0 || std::find(choices.begin(), choices.end(), v) != choices.end();
    };
}

template <std::size_t N>
std::string offOrText(const std::array<int, N>& choices) {
    std::string text = tr("0 (off)");
    for (std::size_t i = 0; i + 1 < N; ++i) text += ", " + std::to_string(choices[i]);
    return tr(GameText{translatable("%s or %s"), {text, std::to_string(choices[N - 1])}});
}

std::optional<int> limit(std::optional<std::int64_t> value) {
    if (!value || *value == 0) return std::nullopt;
    return static_cast<int>(*value);
}

// The sections of the cabinet's keys and of its controller buttons.
constexpr std::array<std::pair<std::string_view, Input::Kind>, 2> kBindingSections{
    {{"keys", Input::Kind::Key}, {"controller", Input::Kind::Pad}}};

// Calls visit(section, action's name, its rows) for each action of the cabinet that has inputs
// of a section's kind, in the table's order.
template <typename Visit>
void eachBoundAction(const InputBindings& bindings, Visit&& visit) {
    for (const auto& [section, kind] : kBindingSections) {
        std::vector<Command> seen;
        for (const InputRow& row : bindings.rows()) {
            if (!InputBindings::changeable(row) || row.input.kind != kind ||
                std::find(seen.begin(), seen.end(), row.command) != seen.end())
                continue;
            seen.push_back(row.command);
            visit(section, std::string(actionToken(row.command)), bindings.rowsOf(row.command, kind), kind);
        }
    }
}

// The player's keys and buttons as the file lists them, each action a list of names; the
// complaint when, taken together, they would give one input two actions.
std::optional<std::string> readBindings(Reader& read, InputBindings& bindings) {
    std::vector<std::pair<std::size_t, Input>> changes;
    eachBoundAction(bindings, [&](std::string_view section, const std::string& action,
                                  const std::vector<std::size_t>& rows, Input::Kind kind) {
        const toml::node* node = read.at(section, action);
        if (node == nullptr) return;
        std::vector<std::pair<std::size_t, Input>> these;
        if (const toml::array* names = node->as_array(); names && names->size() == rows.size()) {
            for (std::size_t i = 0; i < rows.size(); ++i) {
                const auto name = (*names)[i].value_exact<std::string>();
                const auto input = name ? inputFromToken(*name, kind) : std::nullopt;
                if (!input) break;
                these.emplace_back(rows[i], *input);
            }
        }
        if (these.size() == rows.size()) {
            changes.insert(changes.end(), these.begin(), these.end());
            return;
        }
        constexpr std::string_view kLists[2][2]{
            {translatable("a list of %s key name"), translatable("a list of %s key names")},
            {translatable("a list of %s button name"), translatable("a list of %s button names")}};
        const std::string_view list =
            kLists[kind == Input::Kind::Key ? 0 : 1][rows.size() == 1 ? 0 : 1];
        read.complain(*node, section, action, tr(GameText{list, {std::to_string(rows.size())}}));
    });
    std::string refusal;
    if (changes.empty() || bindings.rebind(changes, refusal)) return std::nullopt;
    return tr(GameText{translatable("%s: %s; the game's own keys and buttons are used"),
                       {std::string(kPreferencesFileName), refusal}});
}

// The table at key in document, made when it is not there (or is not a table).
toml::table& section(toml::table& document, std::string_view key) {
    if (toml::table* found = document[key].as_table()) return *found;
    return *document.insert_or_assign(key, toml::table{}).first->second.as_table();
}

}  // namespace

std::string preferencesPath(const std::string& xdgConfigHome, const std::string& home) {
    const std::string folder = configFolder(xdgConfigHome, home);
    return folder.empty() ? folder : folder + std::string(kPreferencesFileName);
}

StoredPreferences parsePreferences(const std::string& text, std::vector<std::string>& complaints) {
    StoredPreferences stored;
    stored.source = text;
    toml::table document;
    try {
        document = toml::parse(text);
    } catch (const toml::parse_error& error) {
        // The parser's own description stays as the parser words it.
        complaints.push_back(tr(GameText{
            translatable("%s line %s: %s; the defaults are used and the file is left as it is"),
            {std::string(kPreferencesFileName), std::to_string(error.source().begin.line),
             std::string(error.description())}}));
        stored.writable = false;
        return stored;
    }
    Reader read(document);
    Preferences& p = stored.preferences;
    const auto volume = [](std::int64_t v) { return v >= 0 && v <= 100 && v % kVolumeStep == 0; };
    const std::string volumeText = tr("0 to 100 in steps of 10");
    p.effectsVolume = static_cast<int>(
        read.number("sound", "effects_volume", volume, volumeText).value_or(p.effectsVolume));
    p.voiceVolume = static_cast<int>(
        read.number("sound", "voice_volume", volume, volumeText).value_or(p.voiceVolume));
    if (const auto unfocused = read.word("window", "when_unfocused", {"nothing", "mute_and_pause"}))
        p.whenUnfocused =
            *unfocused == "nothing" ? WhenUnfocused::Nothing : WhenUnfocused::MuteAndPause;
    p.autoplay.games = limit(read.number("autoplay", "stop_after_games", offOr(kAutoplayGameLimits),
                                         offOrText(kAutoplayGameLimits)));
    p.autoplay.winAtLeast = limit(read.number(
        "autoplay", "stop_on_win_of", offOr(kAutoplayWinLimits), offOrText(kAutoplayWinLimits)));
    p.autoplay.netLoss =
        limit(read.number("autoplay", "stop_on_net_loss_of", offOr(kAutoplayLossLimits),
                          offOrText(kAutoplayLossLimits)));
    p.realityCheckMinutes =
        limit(read.number("reality_check", "every_minutes", offOr(kRealityCheckMinutes),
                          offOrText(kRealityCheckMinutes)));

    if (const auto speech = read.word("sound", "speech", {"off", "on"})) p.speech = *speech == "on";
    if (const auto lamps = read.word("window", "hold_lamps", {"colour", "colour_and_shape"}))
        p.lampShapes = *lamps == "colour_and_shape";
    if (const auto mode = read.word("window", "mode", {"window", "fullscreen"}))
        stored.window.windowed = *mode == "window";
    const auto onScreen = [](std::int64_t v) { return v >= -kFarthest && v <= kFarthest; };
    const std::string pixels = tr("a whole number of pixels");
    const auto x = read.number("window", "x", onScreen, pixels);
    const auto y = read.number("window", "y", onScreen, pixels);
    if (x && y) {
        stored.window.x = static_cast<int>(*x);
        stored.window.y = static_cast<int>(*y);
    }
    const std::optional<std::string> clash = readBindings(read, stored.bindings);
    read.complaintsInto(complaints);
    if (clash) complaints.push_back(*clash);
    return stored;
}

std::string formatPreferences(const StoredPreferences& stored) {
    toml::table document;
    if (stored.writable) {
        try {
            document = toml::parse(stored.source);
        } catch (const toml::parse_error&) {
            document = {};
        }
    }
    const Preferences& p = stored.preferences;
    toml::table& sound = section(document, "sound");
    sound.insert_or_assign("effects_volume", p.effectsVolume);
    sound.insert_or_assign("voice_volume", p.voiceVolume);
    sound.insert_or_assign("speech", p.speech ? "on" : "off");

    toml::table& window = section(document, "window");
    window.insert_or_assign("mode", stored.window.windowed ? "window" : "fullscreen");
    if (stored.window.x && stored.window.y) {
        window.insert_or_assign("x", *stored.window.x);
        window.insert_or_assign("y", *stored.window.y);
    } else {
        window.erase("x");
        window.erase("y");
    }
    window.insert_or_assign(
        "when_unfocused", p.whenUnfocused == WhenUnfocused::Nothing ? "nothing" : "mute_and_pause");
    window.insert_or_assign("hold_lamps", p.lampShapes ? "colour_and_shape" : "colour");

    toml::table& autoplay = section(document, "autoplay");
    autoplay.insert_or_assign("stop_after_games", p.autoplay.games.value_or(0));
    autoplay.insert_or_assign("stop_on_win_of", p.autoplay.winAtLeast.value_or(0));
    autoplay.insert_or_assign("stop_on_net_loss_of", p.autoplay.netLoss.value_or(0));
    section(document, "reality_check")
        .insert_or_assign("every_minutes", p.realityCheckMinutes.value_or(0));

    eachBoundAction(stored.bindings, [&](std::string_view name, const std::string& action,
                                         const std::vector<std::size_t>& rows, Input::Kind) {
        toml::array names;
        for (const std::size_t row : rows)
            names.push_back(inputToken(stored.bindings.rows()[row].input));
        section(document, name).insert_or_assign(action, std::move(names));
    });

    std::ostringstream text;
    text << document << '\n';
    return text.str();
}

StoredPreferences loadPreferences(const std::string& path, const std::string& windowFile,
                                  std::vector<std::string>& complaints) {
    std::ifstream in(path);
    if (!in) {
        StoredPreferences stored;
        stored.window = loadWindowMemory(windowFile);
        return stored;
    }
    std::string text(static_cast<std::size_t>(kLargestFile), '\0');
    in.read(text.data(), kLargestFile);
    if (in.gcount() == kLargestFile) {
        complaints.push_back(tr(GameText{translatable("%s is too large to be a preferences file; "
                                                      "the defaults are used and the file is "
                                                      "left as it is"),
                                         {path}}));
        StoredPreferences stored;
        stored.writable = false;
        return stored;
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    return parsePreferences(text, complaints);
}

bool savePreferences(const std::string& path, const StoredPreferences& stored, std::string& why) {
    if (!stored.writable) {
        why = tr(GameText{translatable("%s could not be read, so it is left as it is"), {path}});
        return false;
    }
    return writeConfigFile(path, formatPreferences(stored), why);
}

}  // namespace fruvana
