#include "shell/preferences_form.h"

#include <array>
#include <cctype>
#include <cstdlib>
#include <span>
#include <utility>

#include "presentation/translation.h"

namespace fruvana {

namespace {

constexpr std::string_view kHint =
    translatable("Arrows or D-pad move, Enter or A changes, Escape or Back closes");
constexpr char32_t kEscapeKey = 27;

// The screen's lines: the preferences first, then one per cabinet action, then the buttons.
// The input columns of an action's line: its keys, then its controller button.
constexpr int kPadColumn = 3;

}  // namespace

PreferencesForm::PreferencesForm(Preferences& preferences, InputBindings& bindings,
                                 SpeechOutput* speech)
    : preferences_(preferences), bindings_(bindings), speech_(speech) {
    const int lines = static_cast<int>(preferenceTable().size());
    for (int p = 0; p < lines; ++p)
        items_.push_back({Item::Kind::Preference, static_cast<std::size_t>(p), p, 0});
    actions_ = bindings_.changeableCommands();
    int line = lines;
    for (const Command& action : actions_) {
        int column = 1;
        for (const std::size_t row : bindings_.rowsOf(action, Input::Kind::Key))
            items_.push_back({Item::Kind::Input, row, line, column++});
        for (const std::size_t row : bindings_.rowsOf(action, Input::Kind::Pad))
            items_.push_back({Item::Kind::Input, row, line, kPadColumn});
        ++line;
    }
    items_.push_back({Item::Kind::Defaults, 0, line, 1});
    items_.push_back({Item::Kind::Ok, 0, line, kPadColumn});
    reset();
}

void PreferencesForm::reset() {
    focus_ = 0;
    capturing_.reset();
    message_ = tr(kHint);
}

PreferencesForm::Result PreferencesForm::move(FormMove move) {
    capturing_.reset();
    const Item& at = items_[focus_];
    switch (move) {
        case FormMove::Close:
            return Result::Closed;
        case FormMove::Activate:
            return activate(at);
        case FormMove::Left:
        case FormMove::Right: {
            const int direction = move == FormMove::Left ? -1 : 1;
            if (at.kind == Item::Kind::Preference) return step(at, direction, false);
            // Along the line, to its neighbour that way, if there is one.
            const std::size_t next = focus_ + static_cast<std::size_t>(direction);
            if (next >= items_.size() || items_[next].line != at.line) return Result::Nothing;
            focus_ = next;
            return Result::Focus;
        }
        case FormMove::Up:
        case FormMove::Down: {
            // To the line above or below (round from the last to the first), at the control
            // nearest the same column.
            const int lines = items_.back().line + 1;
            const int line = (at.line + (move == FormMove::Up ? lines - 1 : 1)) % lines;
            std::optional<std::size_t> best;
            for (std::size_t i = 0; i < items_.size(); ++i) {
                if (items_[i].line != line) continue;
                if (!best || std::abs(items_[i].column - at.column) <
                                 std::abs(items_[*best].column - at.column))
                    best = i;
            }
            focus_ = *best;
            return Result::Focus;
        }
    }
    return Result::Nothing;
}

PreferencesForm::Result PreferencesForm::click(std::size_t item, bool back) {
    if (item >= items_.size()) return Result::Nothing;
    capturing_.reset();
    focus_ = item;
    const Item& at = items_[item];
    if (at.kind == Item::Kind::Preference) return step(at, back ? -1 : 1, true);
    return activate(at);
}

PreferencesForm::Result PreferencesForm::step(const Item& item, int direction, bool wrap) {
    const PreferenceRow& row = preferenceTable()[item.row];
    int& value = preferences_.*row.value;
    const int count = static_cast<int>(row.choices.size());
    int choice = static_cast<int>(choiceIndex(row, value).value_or(0)) + direction;
    if (wrap) choice = (choice + count) % count;
    if (choice < 0 || choice >= count) return Result::Nothing;
    // Deliberate: the speech server is asked for only as speech is switched on, so a player
    // who never wants it never has one started.
    if (row.needsSpeech && choice != 0 && !speechAvailable()) {
        const std::string why =
            speech_ != nullptr ? speech_->problem() : std::string(kNoSpeechServer);
        message_ = tr(GameText{translatable("Speech is unavailable: %s"), {tr(why)}});
        unavailable_ = true;
        return Result::Message;
    }
    value = row.choices[static_cast<std::size_t>(choice)].value;
    changed_ = item.row;
    return Result::Value;
}

PreferencesForm::Result PreferencesForm::activate(const Item& item) {
    switch (item.kind) {
        case Item::Kind::Preference:
            return step(item, 1, true);
        case Item::Kind::Input: {
            capturing_ = item.row;
            const InputRow& row = bindings_.rows()[item.row];
            const bool key = row.input.kind == Input::Kind::Key;
            const GameText prompt{
                key ? translatable("Press the new key to %s, or Escape to keep %s")
                    : translatable("Press the new button to %s, or Escape to keep %s"),
                {actionWords(row.command), inputWords(row.input)}};
            message_ = tr(prompt);
            return Result::Capturing;
        }
        case Item::Kind::Defaults:
            bindings_.restoreDefaults();
            message_ = tr("The game's own keys and buttons are back");
            return Result::Bindings;
        case Item::Kind::Ok:
            return Result::Closed;
    }
    return Result::Nothing;
}

PreferencesForm::Result PreferencesForm::capture(const Input& input) {
    if (!capturing_) return Result::Nothing;
    const std::size_t row = *std::exchange(capturing_, std::nullopt);
    if (input == Input{Input::Kind::Key, kEscapeKey}) {
        message_ = tr(kHint);
        return Result::Bindings;
    }
    std::string refusal;
    if (bindings_.rebind(row, input, refusal)) {
        const InputRow& changed = bindings_.rows()[row];
        message_ = tr(GameText{translatable("%s now does: %s"),
                               {inputWords(changed.input), actionWords(changed.command)}});
    } else {
        message_ = refusal;
    }
    return Result::Bindings;
}

std::string PreferencesForm::valueText(const Item& item) const {
    switch (item.kind) {
        case Item::Kind::Input:
            return inputWords(bindings_.rows()[item.row].input);
        case Item::Kind::Defaults:
            return tr("Defaults");
        case Item::Kind::Ok:
            return tr("OK");
        case Item::Kind::Preference:
            break;
    }
    const PreferenceRow& row = preferenceTable()[item.row];
    const int value = preferences_.*row.value;
    // While speech is off the server is not asked for, so its state is known only once the
    // player has tried to switch it on.
    if (row.needsSpeech && (unavailable_ || (value != 0 && !speechAvailable())))
        return tr("Unavailable");
    return shownValue(row, value);
}

bool PreferencesForm::speechAvailable() const {
    return speech_ != nullptr && speech_->available();
}

std::string PreferencesForm::focusText() const {
    const Item& at = items_[focus_];
    switch (at.kind) {
        case Item::Kind::Preference:
            return tr(GameText{translatable("%s, %s"),
                               {tr(preferenceTable()[at.row].label), valueText(at)}});
        case Item::Kind::Input: {
            const InputRow& row = bindings_.rows()[at.row];
            std::string action = actionWords(row.command);
            if (!action.empty())
                action[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(action[0])));
            const bool key = row.input.kind == Input::Kind::Key;
            return tr(GameText{key ? translatable("%s, key %s") : translatable("%s, controller %s"),
                               {action, valueText(at)}});
        }
        case Item::Kind::Defaults:
        case Item::Kind::Ok:
            break;
    }
    return valueText(at);
}

}  // namespace fruvana
