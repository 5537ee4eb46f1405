#pragma once
// The game's rules in one place: every thing a player can do (pull the lever, hold a reel,
// change the bet, insert a coin, collect, switch autoplay, the settings screen's switches, OK
// and reset, quit), which of them the current moment refuses, the money each one moves, and
// what a stopped line is worth. The screen, the sounds and the files are reached only through
// the services.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/controls.h"
#include "engine/machine_state.h"
#include "engine/outcome_pool.h"
#include "engine/play_limits.h"
#include "engine/play_observer.h"
#include "engine/random.h"
#include "engine/services.h"
#include "engine/symbols.h"

namespace fruvana {

// The game's own texts on the message line.
inline constexpr std::string_view kFirstDealText = translatable("1st  DEAL");
inline constexpr std::string_view kSecondDealText = translatable("2nd  DEAL");
inline constexpr std::string_view kAutoplayOffText = translatable("Autoplay OFF");
inline constexpr std::string_view kAutoplayButtonOnText = translatable("Auto play ON");
inline constexpr std::string_view kAutoplayButtonOffText = translatable("Auto play OFF");

// The reels a result pays on: all three for a three of a kind, the first bar pair for any two
// bars, the first fruit pair for any two fruits (pairs tried as 1-2, 1-3, 2-3), none for no win.
std::array<bool, 3> winningReels(const Line& line, ComboClass comboClass);

// The voice and the text that greet a result, both empty for no win.
struct Verdict {
    std::string_view sound;
    std::string_view text;
};
Verdict verdictFor(ComboClass comboClass);

// The message line's text when autoplay stops by itself before its next deal, or nothing while
// it plays on: once it has played its games, once a game paid at least the win limit, or once
// the session's net has fallen to minus the loss limit (credits throughout).
std::optional<GameText> autoplayStopText(const AutoplayLimits& limits, int games,
                                         std::int32_t lastPaid, std::int64_t sessionNet);

// The reality check's words after whole minutes of play, the session's games and its net in
// credits: "You have played 30 min: 118 games, net +350".
GameText realityCheckText(std::int64_t minutes, std::int32_t games, std::int64_t net);

// When a button takes a press, and what it sounds like.
struct ButtonRule {
    Button button;
    std::string_view pressSound;  // played on a pointer press with Sound FX
    // Refused while the game takes no input (a deal, or another button's action, runs). The
    // settings screen's buttons are not: the screen is shown only while the game is idle.
    bool needsInput;
    bool refusedInAutoplay;
};
const ButtonRule& buttonRule(Button button);

// Milliseconds between two autoplay deals.
inline constexpr std::uint32_t kAutoplayIntervalMs = 4000;

class Game {
  public:
    Game(MachineState& state, RandomSources& sources, OutcomePool& pool, EngineServices& screen,
         GameHost& host);

    // --- The lever ---
    // A pointer press on the lever picture; onKnob tells whether it met the round knob.
    void pressLever(bool onKnob);
    // The lever let go: deals when a press was accepted.
    void releaseLever();
    // The pull key: the lever goes down, 200 ms later it is let go.
    void pullByKey();

    // --- The holds of reels 1, 2, 3 (a reel's picture or its lamp) ---
    void pressHold(int reel);
    void releaseHold(int reel);
    // A reel's hold key: a press and its release at once.
    void toggleHoldByKey(int reel);

    // --- The push buttons ---
    // A pointer press on a button's picture; onFace tells whether it met the round face. True
    // when the press is taken: the caller shows the button pressed and waits 2 ms.
    bool pressButton(Button button, bool onFace);
    // A key standing for the button (no press sound); true when taken, as above.
    bool pressButtonByKey(Button button);
    // A wheel step standing for a bet button: as a key, but a refused step leaves the button's
    // press flag as it was.
    bool pressButtonByWheel(Button button);
    // The button let go (after the caller has lifted it): runs its action when its press was
    // taken and nothing refuses it now.
    void releaseButton(Button button);

    // --- The actions behind the buttons, each with its own refusals ---
    void betDown() { changeBet(-1); }
    void betUp() { changeBet(+1); }
    // One coin from the account onto the credit; false, and nothing changed, when the credit or
    // the account is at its limit.
    bool insertCoin();
    // Credit and win into the account; false, and nothing changed, when the account cannot
    // take them. Between a first and a second deal the free second deal stays.
    bool collect();
    void startAutoplay();
    // Autoplay off, the message line saying why.
    void stopAutoplay(const GameText& why = kAutoplayButtonOffText);
    bool autoplayOn() const { return autoplayOn_; }
    // Autoplay waits (its timer stopped, still on) while paused, and goes on when no longer.
    void pauseAutoplay(bool paused);
    // When autoplay stops by itself; never, unless the player chose limits.
    void setAutoplayLimits(const AutoplayLimits& limits) { autoplayLimits_ = limits; }
    // The reality check every so many minutes of the session, or never.
    void setRealityCheck(std::optional<int> minutes) { realityCheckMinutes_ = minutes; }
    // The reality check's text when one is due at wall-clock second now: an interval has passed
    // since the session began or since the last check was shown, and no deal is turning. The
    // next one falls due an interval after now.
    std::optional<GameText> takeRealityCheck(std::int64_t now);
    void openSettings();
    // The settings screen's OK: a pending second deal ends if Second deal was switched off
    // during the visit, then the screen closes.
    void confirmSettings();
    // The settings screen's reset: the money of a fresh machine and no statistics.
    void resetMoneyAndStatistics();
    // A click on an option switch of the settings screen (screen row 0 to 4).
    void flipOption(int screenRow);
    // Shows the last ten games over the cabinet; refused while the reels turn or autoplay runs,
    // like any key. False when refused.
    bool openRecall();
    void closeRecall();
    // Shows the preferences screen over whatever is shown; refused as the recall is. False when
    // refused.
    bool openPreferences();
    // The player asks to leave (the quit key, the window's close button); refused mid-deal.
    void requestQuit();
    // Writes the files and ends the program; the farewell voice first when asked for. Input
    // stays off afterwards, so nothing still waiting acts.
    void quit(bool farewell);

    // Start of play on a machine whose files are loaded: three random reels, the pay table, the
    // saved win banked as a banked win is, phase 1 with no holds and no presses, input on, and
    // the session counted from here.
    void resume();

    // --- The recall ---
    // This run of the program starts now, with the money as it stands.
    void startSession();
    const SessionSummary& session() const { return session_; }
    // The game still waiting for its second deal, if any.
    const std::optional<GameRecord>& gameInProgress() const { return current_; }

    // Tells the observer (or none) what each pull and each result did.
    void observe(PlayObserver* observer) { observer_ = observer; }
    // Whether the next pull would take a stake: a first deal, or all three reels held in place
    // of a second deal.
    bool nextPullTakesStake() const;

    // --- Time ---
    // The autoplay timer's tick.
    void autoplayTick();
    // The reels have stopped: the stop sound, the still reels, the result, and input back on.
    void finishSpin();

    // Moves the pending win onto the credit (the part beyond the credit's limit into the
    // account) and redraws both meters; false, and nothing changed, when the account cannot
    // take that part.
    bool bankWin();
    // Redraws the three lamps from the holds and the phase, then lets the window paint.
    void showHoldLamps();
    // Classifies the line, sets and shows the win, marks the winning reels, counts the result.
    ComboClass evaluateLine();
    // Counts the deal and its result in the first-deal column during a first deal, else in the
    // second-deal column.
    void countResult(ComboClass comboClass);

    bool buttonPressed(Button button) const { return pressedButtons_[index(button)] != 0; }
    MachineState& state() { return state_; }
    const MachineState& state() const { return state_; }
    const OutcomePool& pool() const { return pool_; }

  private:
    static std::size_t index(Button b) { return static_cast<std::size_t>(b); }
    bool allHeld() const { return state_.held[0] && state_.held[1] && state_.held[2]; }
    void deal();
    void evaluateStop();
    void speakVerdict(ComboClass comboClass);
    void suggestHolds();
    void changeBet(int step);
    void runButtonAction(Button button);
    void playIfSoundOn(std::string_view sound);
    Money money() const { return moneyOf(state_); }
    // The game in progress has ended: it joins the recall, and the recall file is written.
    void endGame(bool unfinished = false);
    // Notes the line that stopped and its class in the game in progress.
    void recordDeal(ComboClass comboClass);
    // Each held reel's hold, as the game suggested it or the player chose it.
    std::array<HoldSource, 3> holdSources() const;

    MachineState& state_;
    RandomSources& sources_;
    OutcomePool& pool_;
    EngineServices& screen_;
    GameHost& host_;
    bool autoplayOn_ = false;
    AutoplayLimits autoplayLimits_;
    std::optional<int> realityCheckMinutes_;
    std::int64_t lastRealityCheck_ = 0;  // wall-clock second of the last check shown
    // Games ended since autoplay was switched on, and what the last of them paid.
    int autoplayGames_ = 0;
    std::int32_t autoplayLastPaid_ = 0;
    std::array<std::uint8_t, kButtonCount> pressedButtons_{};
    // The game from its stake until it ends, and the holds the game suggested after its
    // first deal.
    std::optional<GameRecord> current_;
    Holds suggested_{};
    SessionSummary session_;
    PlayObserver* observer_ = nullptr;
};

}  // namespace fruvana
