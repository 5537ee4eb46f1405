#include "shell/preferences_table.h"

#include <algorithm>
#include <array>

#include "engine/game.h"
#include "platform/event_loop.h"
#include "presentation/game_view.h"
#include "presentation/translation.h"
#include "shell/spoken_play.h"

namespace fruvana {

namespace {

constexpr std::string_view kOff = translatable("Off");

constexpr std::size_t kVolumeChoices = 100 / kVolumeStep + 1;
constexpr auto kVolumes = [] {
    std::array<Choice, kVolumeChoices> choices{};
    for (std::size_t i = 0; i != kVolumeChoices; ++i)
        choices[i] = Choice{static_cast<int>(i) * kVolumeStep, "", translatable("%s %%")};
    return choices;
}();
constexpr auto kWhenUnfocused =
    std::to_array<Choice>({{0, "nothing", translatable("Play on")},
                           {1, "mute_and_pause", translatable("Mute and pause")}});
constexpr auto kAutoplayGames = std::to_array<Choice>({{0, "", kOff},
                                                       {10, "", translatable("%s games")},
                                                       {25, "", translatable("%s games")},
                                                       {50, "", translatable("%s games")},
                                                       {100, "", translatable("%s games")}});
constexpr auto kAutoplayWins = std::to_array<Choice>({{0, "", kOff},
                                                      {100, "", translatable("of %s or more")},
                                                      {500, "", translatable("of %s or more")},
                                                      {1000, "", translatable("of %s or more")},
                                                      {5000, "", translatable("of %s or more")}});
constexpr auto kAutoplayLosses = std::to_array<Choice>(
    {{0, "", kOff}, {1000, "", "-%s"}, {5000, "", "-%s"}, {10000, "", "-%s"}});
constexpr auto kRealityChecks = std::to_array<Choice>({{0, "", kOff},
                                                       {15, "", translatable("Every %s min")},
                                                       {30, "", translatable("Every %s min")},
                                                       {60, "", translatable("Every %s min")}});
constexpr auto kLamps =
    std::to_array<Choice>({{0, "colour", translatable("Colour")},
                           {1, "colour_and_shape", translatable("Colour and shape")}});
constexpr auto kOnOff = std::to_array<Choice>({{0, "off", kOff}, {1, "on", translatable("On")}});

void applyVolumes(const Preferences& p, PreferenceTargets& to) {
    to.view.setVolumes(p.effectsVolume, p.voiceVolume);
}
void applyAutoplay(const Preferences& p, PreferenceTargets& to) {
    to.game.setAutoplayLimits(p.autoplayLimits());
}

constexpr auto kTable = std::to_array<PreferenceRow>({
    {"sound", "effects_volume", translatable("Effects volume"), &Preferences::effectsVolume,
     kVolumes, translatable("0 to 100 in steps of 10"), applyVolumes, false,
     PreferenceRow::Sample::Effect},
    {"sound", "voice_volume", translatable("Voice volume"), &Preferences::voiceVolume, kVolumes,
     translatable("0 to 100 in steps of 10"), applyVolumes, false, PreferenceRow::Sample::Voice},
    // Read as the focus comes and goes.
    {"window", "when_unfocused", translatable("Without the focus"), &Preferences::muteWhenUnfocused,
     kWhenUnfocused, "", nullptr},
    {"autoplay", "stop_after_games", translatable("Autoplay stops after"),
     &Preferences::autoplayGames, kAutoplayGames, "", applyAutoplay},
    {"autoplay", "stop_on_win_of", translatable("Autoplay stops on a win"),
     &Preferences::autoplayWin, kAutoplayWins, "", applyAutoplay},
    {"autoplay", "stop_on_net_loss_of", translatable("Autoplay stops at a net of"),
     &Preferences::autoplayLoss, kAutoplayLosses, "", applyAutoplay},
    {"reality_check", "every_minutes", translatable("Reality check"),
     &Preferences::realityCheckMinutes, kRealityChecks, "",
     [](const Preferences& p, PreferenceTargets& to) {
         to.game.setRealityCheck(p.realityCheck());
         to.realityClock.setEnabled(p.realityCheck().has_value());
     }},
    {"window", "hold_lamps", translatable("Hold lamps"), &Preferences::lampShapes, kLamps, "",
     [](const Preferences& p, PreferenceTargets& to) { to.view.setLampShapes(p.lampShapes != 0); }},
    {"sound", "speech", translatable("Speech"), &Preferences::speech, kOnOff, "",
     [](const Preferences& p, PreferenceTargets& to) { to.speech.setEnabled(p.speech != 0); },
     true},
});

std::optional<int> offWhenZero(int value) {
    return value == 0 ? std::nullopt : std::optional<int>(value);
}

}  // namespace

AutoplayLimits Preferences::autoplayLimits() const {
    return {offWhenZero(autoplayGames), offWhenZero(autoplayWin), offWhenZero(autoplayLoss)};
}

std::optional<int> Preferences::realityCheck() const {
    return offWhenZero(realityCheckMinutes);
}

std::span<const PreferenceRow> preferenceTable() {
    return kTable;
}

std::optional<std::size_t> choiceIndex(const PreferenceRow& row, int value) {
    const auto found = std::find_if(row.choices.begin(), row.choices.end(),
                                    [&](const Choice& c) { return c.value == value; });
    if (found == row.choices.end()) return std::nullopt;
    return static_cast<std::size_t>(found - row.choices.begin());
}

std::string shownValue(const PreferenceRow& row, int value) {
    const std::optional<std::size_t> at = choiceIndex(row, value);
    if (!at) return std::to_string(value);
    return tr(GameText{row.choices[*at].shown, {std::to_string(value)}});
}

void applyPreferences(const Preferences& preferences, PreferenceTargets& targets) {
    for (const PreferenceRow& row : kTable)
        if (row.apply != nullptr) row.apply(preferences, targets);
}

void applyChanged(const PreferenceRow& row, const Preferences& preferences,
                  PreferenceTargets& targets) {
    if (row.apply != nullptr) row.apply(preferences, targets);
    const Options& options = targets.game.state().options;
    if (row.sample == PreferenceRow::Sample::Effect && options.soundFx)
        targets.view.playSound(sounds::kSmallButton);
    if (row.sample == PreferenceRow::Sample::Voice && options.voiceFx)
        targets.view.playSound(sounds::kVerdictGood);
}

}  // namespace fruvana
