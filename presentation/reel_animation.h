#pragma once
// The turning reels: the drum shading, the fourteen frames of each reel's spin strip, the still
// reel pictures, and the frame tick's counting. Pure picture arithmetic and counters, so every
// frame of a spin can be checked pixel by pixel without a window.

#include <array>
#include <cstdint>
#include <vector>

#include "engine/machine_state.h"
#include "engine/symbols.h"
#include "platform/picture.h"

namespace fruvana {

inline constexpr int kReelSize = 122;
inline constexpr int kSpinFrames = 14;
// The first frame counter of a stopped reel.
inline constexpr std::uint8_t kReelStopped = 14;
// How often each reel shows the pair of blur frames at the start of a spin.
inline constexpr std::array<std::uint8_t, 3> kExtraCycles{5, 15, 25};

// Brightness in percent of window row 0 to 121: dark at the edges like a curved drum,
// 100 from row 58 to 64.
constexpr int shadePercent(int row) {
    const int a = row > 61 ? row - 61 : 61 - row;
    return 100 - (3 * a * a + 70 * a) / 250;
}

// Every shaded frame a spin can show, made once: 12 per symbol (frames 0 to 5 leaving it,
// 8 to 13 arriving on it) and the two blur frames. Building a spin strip is then a copy,
// not 180,000 divisions.
class ReelShading {
  public:
    // strip is the 122 x 1464 reel strip; blur1 and blur2 the two blurred frames
    // (122 x 122). Pictures of another size are cut or padded with black.
    ReelShading(const Picture& strip, const Picture& blur1, const Picture& blur2);

    // Fills spinStrip (122 x 1708) with the 14 frames of a reel turning from symbol from to
    // symbol to. Symbols outside 1 to 10 leave the strip as it was.
    void paintSpinStrip(int from, int to, Picture& spinStrip) const;
    // The still picture of a reel at rest on symbol (frame 13 of a spin onto it), the reel made
    // 122 x 122 if it is not. A symbol outside 1 to 10 leaves the reel as it was.
    void drawStill(int symbol, Picture& reel) const;

  private:
    // The shaded 122 x 122 frame, rows of the same pitch as a reel picture's.
    const std::uint8_t* frame(int symbol, int c) const;
    static std::size_t frameIndex(int symbol, int c);
    void copyFrame(const std::uint8_t* frame, Picture& target, int top) const;

    int pitch_;
    std::size_t frameBytes_;
    std::vector<std::uint8_t> frames_;  // [symbol 1..10][12 frames], then the two blurs
};

// The animation counters of the three reels.
struct ReelCounters {
    std::array<std::uint8_t, 3> frameCounter{kReelStopped, kReelStopped, kReelStopped};
    std::array<std::uint8_t, 3> extraCycles{0, 0, 0};

    // The start of every spin: all reels at frame 0, blur pairs 5, 15 and 25.
    void start() {
        frameCounter = {0, 0, 0};
        extraCycles = kExtraCycles;
    }
};

struct TickResult {
    // The frame each reel shows in this tick, or -1 when it is not drawn.
    std::array<int, 3> frame{-1, -1, -1};
    // All three reels have stopped: the spin ends in this tick.
    bool spinOver = false;
};

// One frame tick: held reels jump to stopped and are never drawn; a turning reel shows its
// frame, loops over the blur pair while extra cycles remain, and counts on, also once stopped.
TickResult frameTick(ReelCounters& counters, const Holds& held);

}  // namespace fruvana
