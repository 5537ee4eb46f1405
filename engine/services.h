#pragma once
// What the engine asks of the rest of the game. The cabinet's screen and sounds answer through
// EngineServices (presentation implements it); the program around the game (its files, its
// timers, its other forms) answers through GameHost (the shell implements it).
//
// Everything is called on the user-interface thread and nothing reports an error back: a sound
// that fails stays silent, a file that cannot be written is passed over. The engine tests
// Sound FX and Voice FX itself before it asks for a sound.

#include <cstdint>
#include <string_view>

#include "engine/game_text.h"

namespace fruvana {

// The seven meters drawn from digit pictures: credit and win with 7 digits, bet with 2, the
// four prizes of the pay panel with 4.
enum class Meter { Credit, Win, Bet, Prize1, Prize2, Prize3, Prize4 };
inline constexpr int kMoneyMeterDigits = 7;  // credit and win
inline constexpr int kBetMeterDigits = 2;
inline constexpr int kPrizeMeterDigits = 4;

// The largest value a meter of that many digits shows; 0 for a count no meter has.
constexpr std::int32_t largestOnMeter(int digits) {
    if (digits != kMoneyMeterDigits && digits != kBetMeterDigits && digits != kPrizeMeterDigits)
        return 0;
    std::int32_t largest = 0;
    for (int d = 0; d < digits; ++d) largest = largest * 10 + 9;
    return largest;
}

// The look of a hold lamp: dark (the cabinet shows through), red (held, or a winning reel of a
// first deal) or green (a winning reel after a second deal).
enum class LampLook { Blank, Red, Green };

// The game's sounds, by the names of their asset files.
namespace sounds {
inline constexpr std::string_view kWelcome = "welcome";
inline constexpr std::string_view kLeverPull = "lever_pull";
inline constexpr std::string_view kBigButton = "big_button";
inline constexpr std::string_view kSmallButton = "small_button";
inline constexpr std::string_view kHoldButton = "hold_button";
inline constexpr std::string_view kCoinDrop = "coin_drop";
// The spin loops: all reels or the left one turning, the middle one first, the right one only.
inline constexpr std::string_view kSpinFromLeft = "spin_from_left";
inline constexpr std::string_view kSpinFromMiddle = "spin_from_middle";
inline constexpr std::string_view kSpinRightOnly = "spin_right_only";
inline constexpr std::string_view kReelsStop = "reels_stop";
inline constexpr std::string_view kVerdictExcellent = "verdict_excellent";
inline constexpr std::string_view kVerdictGood = "verdict_good";
inline constexpr std::string_view kVerdictNotBad = "verdict_not_bad";
inline constexpr std::string_view kFarewell = "farewell";

// The spoken sounds, which Voice FX switches and the voice volume sets; the rest are effects.
constexpr bool isVoice(std::string_view sound) {
    return sound == kWelcome || sound == kVerdictExcellent || sound == kVerdictGood ||
           sound == kVerdictNotBad || sound == kFarewell;
}
}  // namespace sounds

class EngineServices {
  public:
    virtual ~EngineServices() = default;

    // Draws value right-aligned into the meter; a value that does not fit leaves it unchanged.
    virtual void drawMeter(std::int32_t value, Meter meter, int digits) = 0;
    // The bet meter and the four prizes of the pay panel for the current bet.
    virtual void drawBetAndPrizes() = 0;
    // Replaces the text of the message line, in the player's language; it is painted at the
    // next pumpPending.
    virtual void setMessage(const GameText& text) = 0;
    // Handles every pending window event once (input, painting, due timers), then returns.
    virtual void pumpPending() = 0;
    // Waits at least ms milliseconds while handling events; handlers may run nested inside.
    virtual void delay(int ms) = 0;
    // Starts a sound at once, cutting off the one playing; the three spin sounds loop.
    virtual void playSound(std::string_view name) = 0;
    // Shows the lamp under reel 1, 2 or 3 in the given look at once.
    virtual void showLamp(int reel, LampLook look) = 0;

    // The lever knob: at its rest position, or 16 pixels below it.
    virtual bool leverAtRest() = 0;
    virtual void moveLeverDown() = 0;
    virtual void moveLeverToRest() = 0;

    // Builds the three spin strips from the previous and the new symbols of the reels.
    virtual void prepareSpinStrips() = 0;
    // Starts the reels turning and returns at once. When the last frame has been drawn, the
    // program calls Game::finishSpin() exactly once.
    virtual void startSpin() = 0;
    // Draws the still pictures of the three reels for their symbols.
    virtual void showStillReels() = 0;
};

class GameHost {
  public:
    virtual ~GameHost() = default;

    // Rewrite the data files: bet, win, credit and account; the five options; the statistics;
    // the recalled games.
    virtual void saveCredit() = 0;
    virtual void saveOptions() = 0;
    virtual void saveStatistics() = 0;
    virtual void saveRecall() = 0;
    // The wall clock in seconds since 1970, for the time a game started.
    virtual std::int64_t wallClock() = 0;

    // While running, Game::autoplayTick() is called every 4000 ms.
    virtual void runAutoplayTimer(bool running) = 0;

    // Opens the help page; the game does not wait for it.
    virtual void openHelp() = 0;
    // Shows the settings screen over the cabinet with the current values, or hides it.
    virtual void showSettings() = 0;
    virtual void hideSettings() = 0;
    // Shows one option switch of the settings screen (screen row 0 to 4) as it now stands.
    virtual void showOptionSwitch(int screenRow) = 0;
    // Shows the account and the statistics on the settings screen as they now stand.
    virtual void showAccountAndStatistics() = 0;
    // Shows the game recall over whatever is shown (the recalled games and the session as they
    // now stand), or hides it again.
    virtual void showRecall() = 0;
    virtual void hideRecall() = 0;
    // Shows the preferences screen over whatever is shown.
    virtual void showPreferences() = 0;

    // Ends the program once the handler that asked returns; the files are already written.
    virtual void endProgram() = 0;
};

}  // namespace fruvana
