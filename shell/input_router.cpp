#include "shell/input_router.h"

#include <array>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <utility>

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
                                  {tr(inputText(input)), actionWords(rows[other].command)}});
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

}  // namespace

std::string actionText(const Command& command) {
    return actionName(command).english();
}

std::string actionWords(const Command& command) {
    return tr(actionName(command));
}

std::string inputText(const Input& input) {
    if (input.kind == Input::Kind::Wheel) return std::string(translatable("the mouse wheel"));
    if (input.kind == Input::Kind::Arrow) {
        constexpr std::array<std::string_view, 4> kArrows{
            translatable("Up"), translatable("Down"), translatable("Left"), translatable("Right")};
        return std::string(kArrows[static_cast<std::size_t>(input.arrow)]);
    }
    if (input.kind == Input::Kind::Pad) {
        constexpr std::array<std::string_view, kPadButtonCount> kPads{
            "A",
            "B",
            "X",
            "Y",
            translatable("Back"),
            translatable("Start"),
            translatable("D-pad left"),
            translatable("D-pad up"),
            translatable("D-pad right"),
            translatable("left shoulder"),
            translatable("right shoulder"),
            translatable("Guide"),
            translatable("D-pad down")};
        return std::string(kPads[static_cast<std::size_t>(input.pad)]);
    }
    switch (input.key) {
        case U'\r':
            return std::string(translatable("Enter"));
        case U' ':
            return std::string(translatable("Space"));
        case kEscape:
            return std::string(translatable("Escape"));
        case U',':
            return std::string(translatable("comma"));
        case U'.':
            return std::string(translatable("full stop"));
        default:
            break;
    }
    if (input.key < 0x80)
        return std::string(1, static_cast<char>(std::toupper(static_cast<int>(input.key))));
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(input.key));
    return code;
}

std::optional<Input> inputNamed(std::string_view name, Input::Kind kind) {
    if (kind == Input::Kind::Pad) {
        for (int b = 0; b < kPadButtonCount; ++b) {
            const Input input = pad(static_cast<PadButton>(b));
            if (inputText(input) == name) return input;
        }
        return std::nullopt;
    }
    if (kind != Input::Kind::Key) return std::nullopt;
    for (const char32_t named : {U'\r', U' ', kEscape, U',', U'.'})
        if (inputText(key(named)) == name) return key(named);
    if (name.size() == 1 && name[0] > ' ' && name[0] < 0x7F)
        return key(lower(static_cast<char32_t>(name[0])));
    std::uint32_t code = 0;
    const char* end = name.data() + name.size();
    if (name.size() > 2 && name.starts_with("U+")) {
        const auto [at, error] = std::from_chars(name.data() + 2, end, code, 16);
        if (error == std::errc() && at == end && code > 0x7F && code <= 0x10FFFF)
            return key(static_cast<char32_t>(code));
    }
    return std::nullopt;
}

std::string actionKey(const Command& command) {
    std::string text = actionText(command);
    if (command.kind == Command::Kind::Press) {
        // The file's names are short: "coin" for "insert a coin", "autoplay" for its switch.
        if (command.button == Button::Coin) text = "coin";
        if (command.button == Button::Autoplay) text = "autoplay";
    }
    if (command.kind == Command::Kind::Pull) text = "pull";
    if (command.kind == Command::Kind::Quit) text = "quit";
    for (char& c : text) c = c == ' ' ? '_' : c;
    return text;
}

InputRouter::InputRouter(Game& game, GameView& view, SettingsScreen& settings, RecallScreen& recall,
                         FormScreen& preferences, FormScreen& realityCheck, EventLoop& loop,
                         const InputBindings& bindings)
    : game_(game),
      view_(view),
      settings_(settings),
      recall_(recall),
      preferences_(preferences),
      realityCheck_(realityCheck),
      loop_(loop),
      bindings_(bindings) {}

void InputRouter::route(const InputEvent& event) {
    if (loop_.quitRequested()) return;
    switch (event.kind) {
        case InputKind::CloseRequest:
            return game_.requestQuit();
        case InputKind::MouseDown:
            return pointerDown(event);
        case InputKind::MouseUp:
            return pointerUp(event);
        case InputKind::Character:
            return act(key(lower(event.character)));
        case InputKind::Enter:
            return act(key(U'\r'));
        case InputKind::Wheel:
            return act(wheel(event.wheel < 0 ? -1 : +1));
        case InputKind::Gamepad:
            return act(pad(event.pad));
        case InputKind::Arrow:
            return act(arrow(event.arrow));
        case InputKind::FocusLost:
        case InputKind::FocusGained:
            return;  // the program's business: see Program::focusChanged
    }
}

InputRouter::Form InputRouter::formBeneath() const {
    if (realityCheck_.visible()) return Form::RealityCheck;
    if (preferences_.visible()) return Form::Preferences;
    if (recall_.visible()) return Form::Recall;
    return settings_.visible() ? Form::Settings : Form::Game;
}

InputRouter::Form InputRouter::formAt(int x, int y) const {
    if (realityCheck_.visible() && realityCheck_.area().contains(x, y)) return Form::RealityCheck;
    if (preferences_.visible() && preferences_.area().contains(x, y)) return Form::Preferences;
    if (recall_.visible() && recall_.area().contains(x, y)) return Form::Recall;
    return settings_.visible() && settings_.area().contains(x, y) ? Form::Settings : Form::Game;
}

FormScreen* InputRouter::formScreen(Form form) {
    if (form == Form::Preferences) return &preferences_;
    if (form == Form::RealityCheck) return &realityCheck_;
    return nullptr;
}

ControlScreen& InputRouter::screenOf(Form form) {
    switch (form) {
        case Form::Settings:
            return settings_;
        case Form::Recall:
            return recall_;
        case Form::Preferences:
            return preferences_;
        case Form::RealityCheck:
            return realityCheck_;
        case Form::Game:
            break;
    }
    return view_;
}

ControlScreen& InputRouter::screenOf(Button button) {
    switch (button) {
        case Button::SettingsOk:
        case Button::SettingsReset:
        case Button::SettingsRecall:
        case Button::SettingsPreferences:
            return settings_;
        case Button::RecallOk:
            return recall_;
        default:
            return view_;
    }
}

bool InputRouter::applies(Where where) const {
    switch (where) {
        case Where::Game:
            return focus_ == Form::Game;
        case Where::Recall:
            return focus_ == Form::Recall;
        case Where::RecallShown:
            return recall_.visible();
        case Where::SettingsShown:
            return settings_.visible();
        case Where::Preferences:
            return focus_ == Form::Preferences;
        case Where::RealityCheck:
            return focus_ == Form::RealityCheck;
    }
    return false;
}

void InputRouter::act(const Input& input) {
    // A form awaiting a new key or button takes the next one, whatever it does elsewhere.
    if (FormScreen* screen = formScreen(focus_); screen != nullptr && screen->capture(input))
        return;
    for (const InputRow& row : bindings_.rows()) {
        if (row.input != input || !applies(row.where)) continue;
        // Deliberate: inputs may act inside another's wait, as every handler may, but no
        // deeper than this, so a flood of keys cannot grow the stack without end.
        if (keyDepth_ >= kMaxKeyNesting) return;
        ++keyDepth_;
        run(row.command, input.kind);
        --keyDepth_;
        return;
    }
}

void InputRouter::run(Command command, Input::Kind by) {
    const Button button = command.button;
    switch (command.kind) {
        case Command::Kind::Pull:
            return game_.pullByKey();
        case Command::Kind::Hold:
            return game_.toggleHoldByKey(command.reel);
        case Command::Kind::Press:
            if (by == Input::Kind::Wheel) {
                if (game_.pressButtonByWheel(button)) holdDown(button, kWheelHoldMs);
            } else if (game_.pressButtonByKey(button)) {
                holdDown(button, kKeyHoldMs);
            }
            return;
        case Command::Kind::Click:
            pressButton(button, true);
            view_.delay(kKeyHoldMs);
            return releaseButton(button);
        case Command::Kind::OpenRecall:
            game_.openRecall();
            return;
        case Command::Kind::CloseRecall:
            return game_.closeRecall();
        case Command::Kind::Quit:
            return game_.requestQuit();
        case Command::Kind::OpenPreferences:
            game_.openPreferences();
            return;
        case Command::Kind::Form:
            if (FormScreen* screen = formScreen(focus_)) screen->move(command.move);
            return;
    }
}

void InputRouter::pointerDown(const InputEvent& event) {
    // A press on the topmost screen gives it the focus; a press beside it, the game.
    focus_ = pressedForm_ = formAt(event.x, event.y);
    pressed_ = screenOf(pressedForm_).controlAt(event.x, event.y);
    if (!pressed_) return;
    const Control& control = pressed_->control;
    if ((pressedForm_ == Form::Settings || pressedForm_ == Form::Recall) && onFormControlPressed)
        onFormControlPressed(control);
    switch (control.kind) {
        case ControlKind::Button:
            return pressButton(control.button, pressed_->onFace);
        case ControlKind::Lever:
            return game_.pressLever(pressed_->onFace);
        case ControlKind::Hold:
            return game_.pressHold(control.index);
        case ControlKind::OptionSwitch:
            // A switch clicks only for the main button.
            if (event.button != MouseButton::Left) pressed_.reset();
            return;
        case ControlKind::FormItem:
            return;
    }
}

void InputRouter::pointerUp(const InputEvent& event) {
    const std::optional<ControlHit> pressed = std::exchange(pressed_, std::nullopt);
    if (!pressed) return;
    const Control& control = pressed->control;
    switch (control.kind) {
        case ControlKind::Button:
            return releaseButton(control.button);
        case ControlKind::Lever:
            return game_.releaseLever();
        case ControlKind::Hold:
            return game_.releaseHold(control.index);
        case ControlKind::OptionSwitch: {
            // The switch flips when the main button is let go over the switch it went down on.
            if (event.button != MouseButton::Left) return;
            const std::optional<ControlHit> over =
                screenOf(pressedForm_).controlAt(event.x, event.y);
            if (over && over->control == control) game_.flipOption(control.index);
            return;
        }
        case ControlKind::FormItem: {
            // An item acts when a button is let go over the item it went down on.
            const std::optional<ControlHit> over =
                screenOf(pressedForm_).controlAt(event.x, event.y);
            FormScreen* screen = formScreen(pressedForm_);
            if (screen != nullptr && over && over->control == control)
                screen->click(control.index, event.button == MouseButton::Right);
            return;
        }
    }
}

void InputRouter::pressButton(Button button, bool onFace) {
    if (!game_.pressButton(button, onFace)) return;
    screenOf(button).sinkButton(button);
    view_.delay(2);
}

void InputRouter::releaseButton(Button button) {
    screenOf(button).liftButton(button);
    // The release waits whether or not the picture was still down to lift.
    view_.delay(2);
    game_.releaseButton(button);
}

void InputRouter::holdDown(Button button, int holdMs) {
    screenOf(button).sinkButton(button);
    view_.delay(holdMs);
    releaseButton(button);
}

}  // namespace fruvana
