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

// A preference off or at one of its offered values, as the index of its choice: 0 for off.
int choiceOf(const std::optional<int>& value, std::span<const int> offered) {
    for (std::size_t i = 0; i < offered.size(); ++i)
        if (value == offered[i]) return static_cast<int>(i) + 1;
    return 0;
}

void choose(std::optional<int>& value, std::span<const int> offered, int choice) {
    if (choice == 0) {
        value.reset();
    } else {
        value = offered[static_cast<std::size_t>(choice - 1)];
    }
}

// The optional preference a setting stands for, with the values it offers; none for the
// volumes and the focus choice.
struct OptionalSetting {
    std::optional<int>* value = nullptr;
    std::span<const int> offered;
};

OptionalSetting optionalSetting(Preferences& p, Setting setting) {
    switch (setting) {
        case Setting::AutoplayGames:
            return {&p.autoplay.games, kAutoplayGameLimits};
        case Setting::AutoplayWin:
            return {&p.autoplay.winAtLeast, kAutoplayWinLimits};
        case Setting::AutoplayLoss:
            return {&p.autoplay.netLoss, kAutoplayLossLimits};
        case Setting::RealityCheck:
            return {&p.realityCheckMinutes, kRealityCheckMinutes};
        default:
            return {};
    }
}

int* volumeOf(Preferences& p, Setting setting) {
    if (setting == Setting::EffectsVolume) return &p.effectsVolume;
    if (setting == Setting::VoiceVolume) return &p.voiceVolume;
    return nullptr;
}

int choiceCount(Preferences& p, Setting setting) {
    if (volumeOf(p, setting) != nullptr) return 100 / kVolumeStep + 1;
    if (setting == Setting::WhenUnfocused || setting == Setting::LampShapes ||
        setting == Setting::Speech)
        return 2;
    return static_cast<int>(optionalSetting(p, setting).offered.size()) + 1;
}

int choiceIndex(Preferences& p, Setting setting) {
    if (const int* volume = volumeOf(p, setting)) return *volume / kVolumeStep;
    if (setting == Setting::WhenUnfocused) return p.whenUnfocused == WhenUnfocused::Nothing ? 0 : 1;
    if (setting == Setting::LampShapes) return p.lampShapes ? 1 : 0;
    if (setting == Setting::Speech) return p.speech ? 1 : 0;
    const OptionalSetting o = optionalSetting(p, setting);
    return choiceOf(*o.value, o.offered);
}

void setChoice(Preferences& p, Setting setting, int choice) {
    if (int* volume = volumeOf(p, setting)) {
        *volume = choice * kVolumeStep;
    } else if (setting == Setting::WhenUnfocused) {
        p.whenUnfocused = choice == 0 ? WhenUnfocused::Nothing : WhenUnfocused::MuteAndPause;
    } else if (setting == Setting::LampShapes) {
        p.lampShapes = choice == 1;
    } else if (setting == Setting::Speech) {
        p.speech = choice == 1;
    } else {
        const OptionalSetting o = optionalSetting(p, setting);
        choose(*o.value, o.offered, choice);
    }
}

// The screen's lines: the preferences first, then one per cabinet action, then the buttons.
constexpr int kFirstActionLine = kSettingCount;
// The input columns of an action's line: its keys, then its controller button.
constexpr int kPadColumn = 3;

}  // namespace

std::string settingLabel(Setting setting) {
    constexpr std::array<std::string_view, kSettingCount> kLabels{
        translatable("Effects volume"),
        translatable("Voice volume"),
        translatable("Without the focus"),
        translatable("Autoplay stops after"),
        translatable("Autoplay stops on a win"),
        translatable("Autoplay stops at a net of"),
        translatable("Reality check"),
        translatable("Hold lamps"),
        translatable("Speech")};
    return tr(kLabels[static_cast<std::size_t>(setting)]);
}

PreferencesForm::PreferencesForm(Preferences& preferences, InputBindings& bindings,
                                 SpeechOutput* speech)
    : preferences_(preferences), bindings_(bindings), speech_(speech) {
    for (int s = 0; s < kSettingCount; ++s)
        items_.push_back({Item::Kind::Setting, static_cast<Setting>(s), 0, s, 0});
    for (const InputRow& row : bindings_.rows()) {
        if (!InputBindings::changeable(row)) continue;
        bool known = false;
        for (const Command& action : actions_) known = known || action == row.command;
        if (!known) actions_.push_back(row.command);
    }
    int line = kFirstActionLine;
    for (const Command& action : actions_) {
        int column = 1;
        for (const std::size_t row : bindings_.rowsOf(action, Input::Kind::Key))
            items_.push_back({Item::Kind::Input, Setting{}, row, line, column++});
        for (const std::size_t row : bindings_.rowsOf(action, Input::Kind::Pad))
            items_.push_back({Item::Kind::Input, Setting{}, row, line, kPadColumn});
        ++line;
    }
    items_.push_back({Item::Kind::Defaults, Setting{}, 0, line, 1});
    items_.push_back({Item::Kind::Ok, Setting{}, 0, line, kPadColumn});
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
            if (at.kind == Item::Kind::Setting) return step(at, direction, false);
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
    if (at.kind == Item::Kind::Setting) return step(at, back ? -1 : 1, true);
    return activate(at);
}

PreferencesForm::Result PreferencesForm::step(const Item& item, int direction, bool wrap) {
    if (item.setting == Setting::Speech && !speechAvailable()) {
        // The server's reason stays as the platform words it.
        message_ = tr(GameText{translatable("Speech is unavailable: %s"),
                               {speech_ != nullptr ? speech_->problem() : "no speech here"}});
        return Result::Message;
    }
    const int count = choiceCount(preferences_, item.setting);
    int choice = choiceIndex(preferences_, item.setting) + direction;
    if (wrap) choice = (choice + count) % count;
    if (choice < 0 || choice >= count) return Result::Nothing;
    setChoice(preferences_, item.setting, choice);
    changed_ = item.setting;
    return Result::Value;
}

PreferencesForm::Result PreferencesForm::activate(const Item& item) {
    switch (item.kind) {
        case Item::Kind::Setting:
            return step(item, 1, true);
        case Item::Kind::Input: {
            capturing_ = item.row;
            const InputRow& row = bindings_.rows()[item.row];
            const bool key = row.input.kind == Input::Kind::Key;
            const GameText prompt{
                key ? translatable("Press the new key to %s, or Escape to keep %s")
                    : translatable("Press the new button to %s, or Escape to keep %s"),
                {actionWords(row.command), inputWords((row.input))}};
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
                               {inputWords((changed.input)), actionWords(changed.command)}});
    } else {
        message_ = refusal;
    }
    return Result::Bindings;
}

std::string PreferencesForm::valueText(const Item& item) const {
    switch (item.kind) {
        case Item::Kind::Input:
            return inputWords((bindings_.rows()[item.row].input));
        case Item::Kind::Defaults:
            return tr("Defaults");
        case Item::Kind::Ok:
            return tr("OK");
        case Item::Kind::Setting:
            break;
    }
    const Preferences& p = preferences_;
    // A value with its words around it, or "Off".
    auto offOr = [](const std::optional<int>& value, std::string_view words) {
        return value ? tr(GameText{words, {std::to_string(*value)}}) : std::string(tr("Off"));
    };
    switch (item.setting) {
        case Setting::EffectsVolume:
            return tr(GameText{translatable("%s %%"), {std::to_string(p.effectsVolume)}});
        case Setting::VoiceVolume:
            return tr(GameText{translatable("%s %%"), {std::to_string(p.voiceVolume)}});
        case Setting::WhenUnfocused:
            return p.whenUnfocused == WhenUnfocused::Nothing ? tr("Play on") : tr("Mute and pause");
        case Setting::AutoplayGames:
            return offOr(p.autoplay.games, translatable("%s games"));
        case Setting::AutoplayWin:
            return offOr(p.autoplay.winAtLeast, translatable("of %s or more"));
        case Setting::AutoplayLoss:
            return offOr(p.autoplay.netLoss, "-%s");
        case Setting::RealityCheck:
            return offOr(p.realityCheckMinutes, translatable("Every %s min"));
        case Setting::LampShapes:
            return p.lampShapes ? tr("Colour and shape") : tr("Colour");
        case Setting::Speech:
            if (!speechAvailable()) return tr("Unavailable");
            return p.speech ? tr("On") : tr("Off");
    }
    return {};
}

bool PreferencesForm::speechAvailable() const {
    return speech_ != nullptr && speech_->available();
}

std::string PreferencesForm::focusText() const {
    const Item& at = items_[focus_];
    switch (at.kind) {
        case Item::Kind::Setting:
            return tr(GameText{translatable("%s, %s"), {settingLabel(at.setting), valueText(at)}});
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
