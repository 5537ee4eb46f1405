#include "shell/preferences_file.h"

#include <toml++/toml.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <utility>

#include "presentation/translation.h"
#include "shell/preferences_table.h"

namespace fruvana {

namespace {

// Far beyond any screen, and far from int's limits.
constexpr std::int64_t kFarthest = 1 << 20;
// A file far larger than any this game writes is damage, not something to read whole.
constexpr std::streamsize kLargestFile = std::streamsize{64} * 1024;

// What a row's value must be, as a complaint says it: its own rule, the words it takes, or
// its numbers ("0 (off), 10, 25, 50 or 100").
std::string ruleOf(const PreferenceRow& row) {
    if (!row.rule.empty()) return tr(row.rule);
    std::string list;
    if (!row.choices.front().token.empty()) {
        for (const Choice& c : row.choices)
            list += (list.empty() ? "\"" : " \"") + std::string(c.token) + "\"";
        return tr(GameText{translatable("one of %s"), {list}});
    }
    for (std::size_t i = 0; i + 1 < row.choices.size(); ++i) {
        const int value = row.choices[i].value;
        if (!list.empty()) list += ", ";
        list += value == 0 ? tr("0 (off)") : std::to_string(value);
    }
    return tr(GameText{translatable("%s or %s"), {list, std::to_string(row.choices.back().value)}});
}

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

    // The value of a row's choice the file gives, or nothing (with a complaint) when the key is
    // there but is none of the row's choices.
    std::optional<int> choice(const PreferenceRow& row) {
        const toml::node* node = at(row.section, row.key);
        if (node == nullptr) return std::nullopt;
        const bool words = !row.choices.front().token.empty();
        for (const Choice& c : row.choices) {
            const bool match = words ? node->value_exact<std::string>() == c.token
                                     : node->value_exact<std::int64_t>() == c.value;
            if (match) return c.value;
        }
        complain(*node, row.section, row.key, ruleOf(row));
        return std::nullopt;
    }

    // The whole number at section.key, or nothing (with a complaint) when it is there but not
    // a whole number accepted by ok.
    template <typename Accepts>
    std::optional<std::int64_t> number(std::string_view section, std::string_view key, Accepts ok,
                                       std::string_view wanted) {
        const toml::node* node = at(section, key);
        if (node == nullptr) return std::nullopt;
        const std::optional<std::int64_t> value = node->value_exact<std::int64_t>();
        if (value && ok(*value)) return value;
        complain(*node, section, key, wanted);
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

// The sections of the cabinet's keys and of its controller buttons.
constexpr std::array<std::pair<std::string_view, Input::Kind>, 2> kBindingSections{
    {{"keys", Input::Kind::Key}, {"controller", Input::Kind::Pad}}};

// Calls visit(section, action's name, its rows) for each action of the cabinet that has inputs
// of a section's kind, in the table's order.
template <typename Visit>
void eachBoundAction(const InputBindings& bindings, Visit&& visit) {
    for (const auto& [section, kind] : kBindingSections) {
        for (const Command& action : bindings.changeableCommands()) {
            const std::vector<std::size_t> rows = bindings.rowsOf(action, kind);
            if (!rows.empty()) visit(section, std::string(actionToken(action)), rows, kind);
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
    for (const PreferenceRow& row : preferenceTable())
        if (const std::optional<int> value = read.choice(row))
            stored.preferences.*row.value = *value;
    // Where an older game kept the window's mode and place; the state file keeps them now.
    if (read.at("window", "mode") != nullptr || read.at("window", "x") != nullptr) {
        WindowMemory window;
        if (const toml::node* mode = read.at("window", "mode")) {
            const auto word = mode->value_exact<std::string>();
            if (word == "window" || word == "fullscreen") {
                window.windowed = word == "window";
            } else {
                read.complain(
                    *mode, "window", "mode",
                    tr(GameText{translatable("one of %s"), {"\"window\" \"fullscreen\""}}));
            }
        }
        const auto onScreen = [](std::int64_t v) { return v >= -kFarthest && v <= kFarthest; };
        const std::string pixels = tr("a whole number of pixels");
        const auto x = read.number("window", "x", onScreen, pixels);
        const auto y = read.number("window", "y", onScreen, pixels);
        if (x && y) {
            window.x = static_cast<int>(*x);
            window.y = static_cast<int>(*y);
        }
        stored.window = window;
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
    for (const PreferenceRow& row : preferenceTable()) {
        const int value = stored.preferences.*row.value;
        toml::table& table = section(document, row.section);
        const std::optional<std::size_t> choice = choiceIndex(row, value);
        if (choice && !row.choices[*choice].token.empty()) {
            table.insert_or_assign(row.key, row.choices[*choice].token);
        } else {
            table.insert_or_assign(row.key, value);
        }
    }
    // The window's mode and place are the state file's now.
    if (toml::table* window = document["window"].as_table()) {
        for (const std::string_view key : {"mode", "x", "y"}) window->erase(key);
    }

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

std::optional<StoredPreferences> loadPreferences(const std::string& path,
                                                 std::vector<std::string>& complaints) {
    std::ifstream in(path);
    if (!in) return std::nullopt;
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

}  // namespace fruvana
