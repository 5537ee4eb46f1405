#pragma once
// The player's preferences as one table. Each preference is one row: where the preferences
// file keeps it, the label the preferences screen shows, the choices it offers (each with its
// stored form and its shown text) in stepping order, and what its value acts on. The file's
// reading and writing, the screen's lines and their stepping all walk this table, so a new
// preference is a field, a row, the code where it acts and its catalogue texts.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/play_limits.h"

namespace fruvana {

class Game;
class GameView;
class SpokenPlay;
class UiTimer;

// Every value is a whole number, so one table can read, write, show and step them all; each
// default is the game as it plays without preferences, and what a missing or damaged value in
// the file becomes.
struct Preferences {
    int effectsVolume = 100;      // per cent, in steps of kVolumeStep
    int voiceVolume = 100;        // per cent, in steps of kVolumeStep
    int muteWhenUnfocused = 0;    // 1: no sound, and autoplay waits, while the window is away
    int autoplayGames = 0;        // autoplay stops after this many games; 0 is off
    int autoplayWin = 0;          // ... on a game that pays at least this many credits; 0 is off
    int autoplayLoss = 0;         // ... when the session's net falls to minus this; 0 is off
    int realityCheckMinutes = 0;  // the reality check's interval; 0 is off
    int lampShapes = 0;           // 1: the hold lamps lit with a shape as well as a colour
    int speech = 0;               // 1: the play told in short spoken messages

    AutoplayLimits autoplayLimits() const;
    std::optional<int> realityCheck() const;
    friend bool operator==(const Preferences&, const Preferences&) = default;
};

inline constexpr int kVolumeStep = 10;

// What a preference's value acts on; the program fills it.
struct PreferenceTargets {
    GameView& view;
    Game& game;
    SpokenPlay& speech;
    UiTimer& realityClock;  // asks for the reality check while it runs
};

// One value a preference may take: its number, its word in the file (empty when the file keeps
// the number) and its text on screen (translatable; "%s" stands for the number).
struct Choice {
    int value;
    std::string_view token;
    std::string_view shown;
};

struct PreferenceRow {
    std::string_view section;  // the file's table, a literal
    std::string_view key;      // the key in it, a literal
    std::string_view label;    // translatable
    int Preferences::*value;
    std::span<const Choice> choices;  // in stepping order
    // How the file's rule reads when a value breaks it (translatable); empty: the choices
    // listed.
    std::string_view rule;
    // Applies the value where it acts; null when it is read where it is needed.
    void (*apply)(const Preferences&, PreferenceTargets&);
    // Whether choosing a value other than the first needs the speech server.
    bool needsSpeech = false;
    // A sound heard at the new level as the value changes: an effect or a voice.
    enum class Sample : std::uint8_t { None, Effect, Voice } sample = Sample::None;
};

// The preferences in the order the screen lists them.
std::span<const PreferenceRow> preferenceTable();

// The index of a value among a row's choices, or nothing when it is none of them.
std::optional<std::size_t> choiceIndex(const PreferenceRow& row, int value);
// The text a row's value shows, in the player's language.
std::string shownValue(const PreferenceRow& row, int value);
// Applies every row to its targets.
void applyPreferences(const Preferences& preferences, PreferenceTargets& targets);
// A row's value changed on the preferences screen acts at once: speech switched on is heard
// saying so, switched off it says nothing more, and a volume is heard at its new level as the
// game would play it (an effect only with Sound FX on, a voice only with Voice FX on).
void applyChanged(const PreferenceRow& row, const Preferences& preferences,
                  PreferenceTargets& targets);

}  // namespace fruvana
