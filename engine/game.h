#pragma once
// The deal cycle and win evaluation: the lever, the holds, the autoplay tick, and what a
// stopped line is worth.

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/machine_state.h"
#include "engine/outcome_pool.h"
#include "engine/random.h"
#include "engine/services.h"
#include "engine/symbols.h"

namespace fruvana {

// The game's own texts on the message line.
inline constexpr std::string_view kFirstDealText = "1st  DEAL";
inline constexpr std::string_view kSecondDealText = "2nd  DEAL";
inline constexpr std::string_view kAutoplayOffText = "Autoplay OFF";

// The reels a result of the given class pays on: all three for classes 1 to 9, the first bar
// pair for class 10, the first fruit pair for class 11 (pairs tried as 1-2, 1-3, 2-3), none
// for class 12.
std::array<bool, 3> winningReels(const Line& line, int comboClass);

// The voice and the text that greet a result, both empty for class 12.
struct Verdict {
    std::string_view sound;
    std::string_view text;
};
Verdict verdictFor(int comboClass);

class Game {
  public:
    Game(MachineState& state, RandomSources& sources, OutcomePool& pool, EngineServices& services);

    // Lever press by mouse; x, y in the lever picture's own pixels.
    void Image8MouseDown(int x, int y);
    // Lever release: runs a deal when a press was accepted.
    void Image8MouseUp() { dealOnce(); }
    void dealOnce();

    // Moves the pending win onto the credit (the part beyond the credit's limit into the
    // account) and redraws both meters; false, and nothing changed, when the account cannot
    // take that part.
    bool bankWin();

    // Hold areas of reels 1, 2, 3 (the reel pictures and the lamps under them).
    void holdMouseDown(int reel);
    void holdMouseUp(int reel);
    void Image5MouseDown() { holdMouseDown(1); }
    void Image6MouseDown() { holdMouseDown(2); }
    void Image7MouseDown() { holdMouseDown(3); }
    void Image5MouseUp() { holdMouseUp(1); }
    void Image6MouseUp() { holdMouseUp(2); }
    void Image7MouseUp() { holdMouseUp(3); }

    // Redraws the three lamps from held and phase, then lets the window paint.
    void showHoldLamps();

    // The autoplay tick.
    void Timer1Timer();

    // Called by the reel animation once per spin, after the reels have stopped.
    void evaluateStop();
    // Classifies the line, sets and shows the win, marks the winning reels, counts the result.
    int evaluateLine();
    // Adds 1 to a statistics slot (1 to 12) of the first-deal column in phase 1, else the
    // second-deal column.
    void countResult(int slot);

    MachineState& state() { return state_; }
    const MachineState& state() const { return state_; }
    const OutcomePool& pool() const { return pool_; }

  private:
    void speakVerdict(int comboClass);
    void suggestHolds();

    MachineState& state_;
    RandomSources& sources_;
    OutcomePool& pool_;
    EngineServices& services_;
};

}  // namespace fruvana
