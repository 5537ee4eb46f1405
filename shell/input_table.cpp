#include "shell/input_table.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>

#include "presentation/translation.h"

namespace fruvana {

namespace {

constexpr Input key(char32_t c) {
    return {Input::Kind::Key, c};
}
constexpr Input pad(PadButton b) {
    return {Input::Kind::Pad, 0, b};
}
constexpr Input wheel(int step) {
    return {Input::Kind::Wheel, 0, PadButton::A, step};
}
constexpr Command pull{Command::Kind::Pull};
constexpr Command hold(int reel) {
    return {Command::Kind::Hold, Button::Help, reel};
}
constexpr Command press(Button b) {
    return {Command::Kind::Press, b};
}
constexpr Input arrow(Arrow a) {
    return {Input::Kind::Arrow, 0, PadButton::A, 0, a};
}
constexpr Input windowModeKey(WindowModeKey k) {
    return {Input::Kind::WindowMode, 0, PadButton::A, 0, Arrow::Up, k};
}
constexpr Command openRecall{Command::Kind::OpenRecall};
constexpr Command closeRecall{Command::Kind::CloseRecall};
constexpr Command form(FormMove move) {
    return {Command::Kind::Form, Button::Help, 0, move};
}

constexpr char32_t kEscape = 27;

constexpr auto kInputTable = std::to_array<InputRow>({
    // The cabinet's keys.
    {key(U'\r'), Where::Game, pull},
    {key(U' '), Where::Game, pull},
    {key(U'1'), Where::Game, hold(1)},
    {key(U'2'), Where::Game, hold(2)},
    {key(U'3'), Where::Game, hold(3)},
    {key(U','), Where::Game, press(Button::BetDown)},
    {key(U'.'), Where::Game, press(Button::BetUp)},
    {key(U'c'), Where::Game, press(Button::Coin)},
    {key(U'o'), Where::Game, press(Button::Collect)},
    {key(U'0'), Where::Game, press(Button::Collect)},
    {key(U'a'), Where::Game, press(Button::Autoplay)},
    {key(U's'), Where::Game, press(Button::Settings)},
    {key(U't'), Where::Game, press(Button::Settings)},
    {key(U'h'), Where::Game, press(Button::Help)},
    {key(U'r'), Where::Game, openRecall},
    {key(U'p'), Where::Game, {Command::Kind::OpenPreferences}},
    {key(U'x'), Where::Game, {Command::Kind::Quit}},
    {wheel(-1), Where::Game, press(Button::BetDown)},
    {wheel(+1), Where::Game, press(Button::BetUp)},
    // The game recall's keys.
    {key(U'r'), Where::Recall, closeRecall},
    {key(kEscape), Where::Recall, closeRecall},
    // The controller: Guide and Back close a shown recall, and Back a shown settings screen as
    // a click on its OK button does, wherever the focus is; the other buttons stand for keys.
    // No controller button ends the game.
    {pad(PadButton::Guide), Where::RecallShown, closeRecall},
    {pad(PadButton::Back), Where::RecallShown, closeRecall},
    {pad(PadButton::Back), Where::SettingsShown, {Command::Kind::Click, Button::SettingsOk}},
    {pad(PadButton::A), Where::Game, pull},
    {pad(PadButton::DpadLeft), Where::Game, hold(1)},
    {pad(PadButton::DpadUp), Where::Game, hold(2)},
    {pad(PadButton::DpadRight), Where::Game, hold(3)},
    {pad(PadButton::LeftShoulder), Where::Game, press(Button::BetDown)},
    {pad(PadButton::RightShoulder), Where::Game, press(Button::BetUp)},
    {pad(PadButton::X), Where::Game, press(Button::Coin)},
    {pad(PadButton::B), Where::Game, press(Button::Collect)},
    {pad(PadButton::Y), Where::Game, press(Button::Autoplay)},
    {pad(PadButton::Back), Where::Game, press(Button::Settings)},
    {pad(PadButton::Start), Where::Game, press(Button::Help)},
    {pad(PadButton::Guide), Where::Game, openRecall},
    {pad(PadButton::DpadDown), Where::Game, {Command::Kind::OpenPreferences}},
    // The preferences screen and the reality check: arrows or the D-pad move, Enter, Space or
    // A act, Escape, Back or B close (P too, on the preferences screen).
    {arrow(Arrow::Up), Where::Preferences, form(FormMove::Up)},
    {arrow(Arrow::Down), Where::Preferences, form(FormMove::Down)},
    {arrow(Arrow::Left), Where::Preferences, form(FormMove::Left)},
    {arrow(Arrow::Right), Where::Preferences, form(FormMove::Right)},
    {pad(PadButton::DpadUp), Where::Preferences, form(FormMove::Up)},
    {pad(PadButton::DpadDown), Where::Preferences, form(FormMove::Down)},
    {pad(PadButton::DpadLeft), Where::Preferences, form(FormMove::Left)},
    {pad(PadButton::DpadRight), Where::Preferences, form(FormMove::Right)},
    {key(U'\r'), Where::Preferences, form(FormMove::Activate)},
    {key(U' '), Where::Preferences, form(FormMove::Activate)},
    {pad(PadButton::A), Where::Preferences, form(FormMove::Activate)},
    {key(kEscape), Where::Preferences, form(FormMove::Close)},
    {key(U'p'), Where::Preferences, form(FormMove::Close)},
    {pad(PadButton::Back), Where::Preferences, form(FormMove::Close)},
    {pad(PadButton::B), Where::Preferences, form(FormMove::Close)},
    {arrow(Arrow::Left), Where::RealityCheck, form(FormMove::Left)},
    {arrow(Arrow::Right), Where::RealityCheck, form(FormMove::Right)},
    {pad(PadButton::DpadLeft), Where::RealityCheck, form(FormMove::Left)},
    {pad(PadButton::DpadRight), Where::RealityCheck, form(FormMove::Right)},
    {key(U'\r'), Where::RealityCheck, form(FormMove::Activate)},
    {key(U' '), Where::RealityCheck, form(FormMove::Activate)},
    {pad(PadButton::A), Where::RealityCheck, form(FormMove::Activate)},
    {key(kEscape), Where::RealityCheck, form(FormMove::Close)},
    {pad(PadButton::Back), Where::RealityCheck, form(FormMove::Close)},
    {pad(PadButton::B), Where::RealityCheck, form(FormMove::Close)},
    // The window's mode switches whatever is shown, even while the reels turn: it is no deal.
    {windowModeKey(WindowModeKey::F11), Where::Anywhere, {Command::Kind::SwitchWindowMode}},
    {windowModeKey(WindowModeKey::AltEnter), Where::Anywhere, {Command::Kind::SwitchWindowMode}},
});

constexpr char32_t lower(char32_t c) {
    return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c;
}

}  // namespace

std::span<const InputRow> inputTable() {
    return kInputTable;
}

InputBindings::InputBindings() : rows_(kInputTable.begin(), kInputTable.end()) {}

bool InputBindings::changeable(const InputRow& row) {
    return row.where == Where::Game && row.input.kind != Input::Kind::Wheel;
}

bool InputBindings::rebind(std::size_t row, const Input& input, std::string& refusal) {
    const std::pair<std::size_t, Input> change{row, input};
    return rebind({&change, 1}, refusal);
}

bool InputBindings::rebind(std::span<const std::pair<std::size_t, Input>> changes,
                           std::string& refusal) {
    std::vector<InputRow> rows = rows_;
    for (const auto& [row, input] : changes) {
        if (row >= rows.size() || !changeable(rows[row]) || input.kind != rows[row].input.kind) {
            refusal = tr("That cannot be changed here");
            return false;
        }
        rows[row].input = input;
    }
    for (const auto& [row, input] : changes) {
        for (std::size_t other = 0; other < rows.size(); ++other) {
            if (other == row || rows[other].input != input || rows[other].where != Where::Game)
                continue;
            refusal = tr(GameText{translatable("%s already does: %s"),
                                  {inputWords(input), actionWords(rows[other].command)}});
            return false;
        }
    }
    rows_ = std::move(rows);
    return true;
}

std::vector<std::size_t> InputBindings::rowsOf(const Command& command, Input::Kind kind) const {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (changeable(rows_[i]) && rows_[i].command == command && rows_[i].input.kind == kind)
            found.push_back(i);
    return found;
}

std::vector<Command> InputBindings::changeableCommands() const {
    std::vector<Command> commands;
    for (const InputRow& row : rows_)
        if (changeable(row) &&
            std::find(commands.begin(), commands.end(), row.command) == commands.end())
            commands.push_back(row.command);
    return commands;
}

void InputBindings::restoreDefaults() {
    rows_.assign(kInputTable.begin(), kInputTable.end());
}

namespace {

GameText actionName(const Command& command) {
    switch (command.kind) {
        case Command::Kind::Pull:
            return translatable("pull the lever");
        case Command::Kind::Hold:
            return {translatable("hold reel %s"), {std::to_string(command.reel)}};
        case Command::Kind::OpenRecall:
        case Command::Kind::CloseRecall:
            return translatable("game recall");
        case Command::Kind::Quit:
            return translatable("save and quit");
        case Command::Kind::OpenPreferences:
            return translatable("preferences");
        case Command::Kind::SwitchWindowMode:
            return translatable("full screen or a window");
        case Command::Kind::Form:
        case Command::Kind::Press:
        case Command::Kind::Click:
            break;
    }
    constexpr std::array<std::string_view, kButtonCount> kButtons{
        translatable("help page"),
        translatable("exit"),
        translatable("bet down"),
        translatable("bet up"),
        translatable("insert a coin"),
        translatable("collect"),
        translatable("settings"),
        translatable("autoplay on or off"),
        translatable("OK"),
        translatable("reset"),
        translatable("game recall"),
        translatable("OK"),
        translatable("preferences")};
    return kButtons[static_cast<std::size_t>(command.button)];
}

// A named input: the token the preferences file stores, and the words a screen shows. The
// tokens are frozen: a player's file holds them, so they never change with a label.
struct InputName {
    Input input;
    std::string_view token;
    std::string_view words;
};

constexpr auto kInputNames = std::to_array<InputName>({
    {key(U'\r'), "Enter", translatable("Enter")},
    {key(U' '), "Space", translatable("Space")},
    {key(kEscape), "Escape", translatable("Escape")},
    {key(U','), "comma", translatable("comma")},
    {key(U'.'), "full stop", translatable("full stop")},
    {pad(PadButton::A), "A", "A"},
    {pad(PadButton::B), "B", "B"},
    {pad(PadButton::X), "X", "X"},
    {pad(PadButton::Y), "Y", "Y"},
    {pad(PadButton::Back), "Back", translatable("Back")},
    {pad(PadButton::Start), "Start", translatable("Start")},
    {pad(PadButton::DpadLeft), "D-pad left", translatable("D-pad left")},
    {pad(PadButton::DpadUp), "D-pad up", translatable("D-pad up")},
    {pad(PadButton::DpadRight), "D-pad right", translatable("D-pad right")},
    {pad(PadButton::LeftShoulder), "left shoulder", translatable("left shoulder")},
    {pad(PadButton::RightShoulder), "right shoulder", translatable("right shoulder")},
    {pad(PadButton::Guide), "Guide", translatable("Guide")},
    {pad(PadButton::DpadDown), "D-pad down", translatable("D-pad down")},
    {wheel(-1), "wheel towards", translatable("the mouse wheel")},
    {wheel(+1), "wheel away", translatable("the mouse wheel")},
    {arrow(Arrow::Up), "Up", translatable("Up")},
    {arrow(Arrow::Down), "Down", translatable("Down")},
    {arrow(Arrow::Left), "Left", translatable("Left")},
    {arrow(Arrow::Right), "Right", translatable("Right")},
    {windowModeKey(WindowModeKey::F11), "F11", "F11"},
    {windowModeKey(WindowModeKey::AltEnter), "Alt+Enter", "Alt+Enter"},
});

const InputName* nameOf(const Input& input) {
    const auto found = std::find_if(kInputNames.begin(), kInputNames.end(),
                                    [&](const InputName& n) { return n.input == input; });
    return found != kInputNames.end() ? &*found : nullptr;
}

// A key without a name of its own: its letter or sign in upper case, or its code point.
std::string keyToken(char32_t c) {
    if (c > U' ' && c < 0x7F)
        return std::string(1, static_cast<char>(std::toupper(static_cast<int>(c))));
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    return code;
}

// The cabinet's actions as the preferences file names them.
struct ActionToken {
    Command command;
    std::string_view token;
};

constexpr auto kActionTokens = std::to_array<ActionToken>({
    {pull, "pull"},
    {hold(1), "hold_reel_1"},
    {hold(2), "hold_reel_2"},
    {hold(3), "hold_reel_3"},
    {press(Button::BetDown), "bet_down"},
    {press(Button::BetUp), "bet_up"},
    {press(Button::Coin), "coin"},
    {press(Button::Collect), "collect"},
    {press(Button::Autoplay), "autoplay"},
    {press(Button::Settings), "settings"},
    {press(Button::Help), "help_page"},
    {openRecall, "game_recall"},
    {{Command::Kind::OpenPreferences}, "preferences"},
    {{Command::Kind::Quit}, "quit"},
});

}  // namespace

std::string actionWords(const Command& command) {
    return tr(actionName(command));
}

std::string inputWords(const Input& input) {
    if (const InputName* name = nameOf(input)) return tr(name->words);
    return keyToken(input.key);
}

std::string_view actionToken(const Command& command) {
    for (const ActionToken& action : kActionTokens)
        if (action.command == command) return action.token;
    return {};
}

std::string inputToken(const Input& input) {
    if (const InputName* name = nameOf(input)) return std::string(name->token);
    return keyToken(input.key);
}

std::optional<Input> inputFromToken(std::string_view token, Input::Kind kind) {
    for (const InputName& name : kInputNames)
        if (name.token == token && name.input.kind == kind) return name.input;
    if (kind != Input::Kind::Key) return std::nullopt;
    if (token.size() == 1 && token[0] > ' ' && token[0] < 0x7F)
        return key(lower(static_cast<char32_t>(token[0])));
    std::uint32_t code = 0;
    const char* end = token.data() + token.size();
    if (token.size() > 2 && token.starts_with("U+")) {
        const auto [at, error] = std::from_chars(token.data() + 2, end, code, 16);
        if (error == std::errc() && at == end && code > 0 && code <= 0x10FFFF)
            return key(lower(static_cast<char32_t>(code)));
    }
    return std::nullopt;
}

std::optional<Input> inputOf(const InputEvent& event) {
    switch (event.kind) {
        case InputKind::Character:
            return key(lower(event.character));
        case InputKind::Enter:
            return key(U'\r');
        case InputKind::Wheel:
            return wheel(event.wheel < 0 ? -1 : +1);
        case InputKind::Gamepad:
            return pad(event.pad);
        case InputKind::Arrow:
            return arrow(event.arrow);
        case InputKind::WindowMode:
            return windowModeKey(event.windowMode);
        default:
            return std::nullopt;
    }
}

}  // namespace fruvana
