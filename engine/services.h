#pragma once
// What the engine asks of the rest of the game: the meters, the message line, the lamps, the
// lever, the sounds, the reel animation, the credit file and the autoplay timer.
//
// Everything is called on the user-interface thread and nothing reports an error back: a sound
// that fails stays silent, a file that cannot be written is passed over. The engine tests
// Sound FX and Voice FX itself before it asks for a sound.

#include <cstdint>
#include <string_view>

namespace fruvana {

// The seven meters drawn from digit pictures: credit and win with 7 digits, bet with 2, the
// four prizes of the pay panel with 4.
enum class Meter { Credit, Win, Bet, M1, M2, M3, M4 };

// The look of a hold lamp: nothing (the cabinet shows through), `lampr` (held, or a winning
// reel in phase 1) or `lampv` (a winning reel after a second deal).
enum class LampLook { Blank, Red, Green };

class EngineServices {
  public:
    virtual ~EngineServices() = default;

    // Draws value right-aligned into the meter; a value that does not fit leaves it unchanged.
    virtual void nr(std::int32_t value, Meter meter, int digits) = 0;
    // Replaces the text of the message line `aal`; it is painted at the next pumpPending.
    virtual void setMessage(std::string_view text) = 0;
    // Handles every pending window event once (input, painting, due timers), then returns.
    virtual void pumpPending() = 0;
    // Waits at least ms milliseconds while handling events; handlers may run nested inside.
    virtual void delay(int ms) = 0;
    // Starts a sound at once, cutting off the one playing; `ton`, `ton2`, `ton3` loop.
    virtual void playSound(std::string_view name) = 0;
    // Shows the lamp under reel 1, 2 or 3 in the given look at once.
    virtual void showLamp(int reel, LampLook look) = 0;

    // The lever knob: at its rest position, or 16 pixels below it.
    virtual bool leverAtRest() = 0;
    virtual void moveLeverDown() = 0;
    virtual void moveLeverToRest() = 0;

    // Builds the three spin strips from prevSymbol and reelSymbol.
    virtual void preg() = 0;
    // Resets the reel counters and starts the frame timer, then returns at once. The spin must
    // end by calling Game::evaluateStop() exactly once and then setting inputEnabled = 1.
    virtual void startReelAnimation() = 0;
    // Rewrites the credit file from bet, win, credit and account.
    virtual void saveCredit() = 0;

    // The autoplay timer `Timer1`: while enabled, Game::Timer1Timer runs every 4000 ms.
    virtual void setTimer1Enabled(bool enabled) = 0;
    virtual bool timer1Enabled() = 0;
};

}  // namespace fruvana
