#pragma once
// What the reels show after a deal: a first deal deals one line from a pool of 1000 lines
// built under a quota table; a second deal redraws the reels not held.

#include <array>
#include <cstdint>

#include "engine/machine_state.h"
#include "engine/random.h"
#include "engine/symbols.h"

namespace fruvana {

using QuotaTable = PerClass<std::uint16_t>;

inline constexpr QuotaTable generousQuotas = {{1, 2, 7, 10, 15, 20, 35, 50, 75, 100, 200, 485}};
inline constexpr QuotaTable stingyQuotas = {{1, 1, 2, 2, 3, 4, 5, 10, 20, 30, 50, 872}};

enum class QuotaChoice : std::uint8_t { None, Generous, Stingy };

// Which first symbols, and which second symbols after each first, can begin a line of one of the
// classes whose bits (1 << code) are set in `classes`: bit s for symbol s. Late in a fill only a
// few classes have room, and the fill turns most lines away on their first symbol alone.
struct LineOpenings {
    std::uint16_t first = 0;
    std::array<std::uint16_t, kSymbolCount + 1> second{};
};
LineOpenings openingsOf(std::uint32_t classes);

// credit + account above 2000, summed as a signed 32-bit integer; the win does not count.
bool playerAhead(const MachineState& state);

// What the last first deal did, for tests and the simulator.
struct FirstDealRecord {
    QuotaChoice table = QuotaChoice::None;
    std::int32_t candidates = 0;  // candidate lines drawn by the fill
    std::int32_t pick = 0;        // k, 1 to 1000
};

class OutcomePool {
  public:
    static constexpr int kSize = 1000;

    // Chooses a quota table, fills the pool and deals one of its lines onto all three reels.
    void drawFirstDeal(MachineState& state, RandomSources& sources);

    // Redraws the reels not held; when the player is ahead, twice, keeping the poorer line.
    static void drawSecondDeal(MachineState& state, RandomSources& sources);

    // Entry n, 1 to 1000, of the last fill.
    const Line& line(int n) const { return lines_[static_cast<std::size_t>(n - 1)]; }
    std::int32_t count() const { return count_; }
    const FirstDealRecord& lastFirstDeal() const { return last_; }

  private:
    std::array<Line, kSize> lines_{};
    std::int32_t count_ = 0;
    FirstDealRecord last_{};
    // The fill's symbols, drawn ahead in bulk.
    SymbolLookahead ahead_;
};

}  // namespace fruvana
