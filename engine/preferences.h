#pragma once
// The player's preferences beside the game itself: how loud, what happens when the window loses
// the focus, when autoplay stops by itself and how often the game reminds of the time played.
// Every default is the game as it plays without preferences.

#include <array>
#include <cstdint>
#include <optional>

namespace fruvana {

// What the game does while its window does not have the focus.
enum class WhenUnfocused : std::uint8_t {
    Nothing,       // it plays on as before
    MuteAndPause,  // no sound, and autoplay waits until the focus comes back
};

// The choices each preference offers, in the order the preferences screen steps through them.
inline constexpr int kVolumeStep = 10;  // volumes run 0 to 100 % in these steps
inline constexpr std::array<int, 4> kAutoplayGameLimits{10, 25, 50, 100};
inline constexpr std::array<int, 4> kAutoplayWinLimits{100, 500, 1000, 5000};  // credits
inline constexpr std::array<int, 3> kAutoplayLossLimits{1000, 5000, 10000};    // credits
inline constexpr std::array<int, 3> kRealityCheckMinutes{15, 30, 60};

// When autoplay stops by itself; each limit is off when empty.
struct AutoplayLimits {
    std::optional<int> games;       // after this many games
    std::optional<int> winAtLeast;  // when one game pays at least this many credits
    std::optional<int> netLoss;     // when the session's net falls to minus this many credits
    friend bool operator==(const AutoplayLimits&, const AutoplayLimits&) = default;
};

struct Preferences {
    int effectsVolume = 100;  // per cent
    int voiceVolume = 100;
    WhenUnfocused whenUnfocused = WhenUnfocused::Nothing;
    AutoplayLimits autoplay;
    std::optional<int> realityCheckMinutes;  // off when empty
    bool lampShapes = false;                 // the hold lamps lit with a shape as well as a colour
    bool speech = false;                     // the play told in short spoken messages
    friend bool operator==(const Preferences&, const Preferences&) = default;
};

constexpr bool isVolume(int percent) {
    return percent >= 0 && percent <= 100 && percent % kVolumeStep == 0;
}

}  // namespace fruvana
