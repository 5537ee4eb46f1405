#pragma once
// What a plot of a run shows, gathered pull by pull while the run deals: the money, the
// running return against the par sheet, and the class counts against the counts it expects.
// Long runs are thinned as they go, so a run of any length keeps a few thousand numbers.

#include <array>
#include <cstdint>
#include <vector>

#include "engine/symbols.h"
#include "tools/sim/par_sheet.h"
#include "tools/sim/statistics.h"

namespace fruvana::sim {

// Columns of the money and return panels: one per pixel of a panel's width in the picture.
inline constexpr int kPlotColumns = 1064;

// The normal quantile that leaves 0.05 % in each tail: a 99.9 % band.
inline const double kBandQuantile = normalQuantile(kRangeLevel);

// The par sheet's figures for a game begun in one state of the machine.
struct GameReference {
    double returnToPlayer = 0;     // pay per unit bet of the whole game
    double standardDeviation = 0;  // of that pay
    PerClass<double> firstDealChance{};
    PerClass<double> secondDealChance{};  // given that a second deal is dealt
};

// Indexed by whether the player is ahead when the game's first deal is drawn.
struct PlotReference {
    std::array<GameReference, 2> byAhead;
};

// With Second deal on, the whole game with the suggested holds under either mix; with it off,
// the first deal alone under the 6 in 10 mix, ahead or not.
PlotReference plotReference(bool secondDeal);

// One evaluated pull as the plot sees it.
struct PullRecord {
    bool firstDeal = true;
    std::int32_t stake = 0;                     // taken by a first deal
    bool ahead = false;                         // when the deal was drawn
    ComboClass comboClass = ComboClass::NoWin;  // of the line dealt
    std::int64_t money = 0;                     // credit + win + account after the pull
    bool coin = false;                          // a coin went in before the pull
    bool overflowMove = false;                  // the pull's banking took the credit past its limit
    // Since the start: every win banked plus the one pending, and every stake.
    std::int64_t returned = 0;
    std::int64_t staked = 0;
    // The game is settled by this pull (a second deal, a first deal with no second deal to
    // follow, or all three reels held), and what it pays.
    bool gameOver = false;
    std::int32_t pay = 0;
};

// A stretch of consecutive pulls drawn as one column.
struct PlotColumn {
    std::int64_t firstPull = 0;
    std::int64_t lastPull = 0;
    std::int64_t moneyLow = 0;
    std::int64_t moneyHigh = 0;
    std::int64_t moneyLast = 0;
    // The running return, as fractions of the stake; only once something has been staked.
    bool hasReturn = false;
    double returnLow = 0;
    double returnHigh = 0;
    double returnLast = 0;
    // At the last pull: the par sheet's return for the games so far, and the half width of
    // its 99.9 % band.
    double par = 0;
    double band = 0;
    std::int32_t coins = 0;
    std::int32_t overflowMoves = 0;
};

// Observed class counts of one kind of deal against the counts the par sheet expects.
struct ClassTally {
    std::int64_t deals = 0;
    PerClass<std::int64_t> observed{};
    PerClass<double> expected{};
    PerClass<CountRange> range{};  // holds the count with at least 99.9 % chance
};

struct PlotSeries {
    std::int64_t pulls = 0;
    std::int64_t startMoney = 0;
    std::vector<PlotColumn> columns;  // in pull order, no gaps, at most kPlotColumns
    std::int64_t coins = 0;
    std::int64_t overflowMoves = 0;
    ClassTally firstDeals;
    ClassTally secondDeals;
};

class PlotRecorder {
  public:
    explicit PlotRecorder(const PlotReference& reference, int columns = kPlotColumns);

    void start(std::int64_t money) { series_.startMoney = money; }
    void add(const PullRecord& pull);

    // The panels' data so far, the counts' ranges included.
    PlotSeries series() const;

  private:
    void halveColumns();

    PlotReference reference_;
    std::size_t capacity_;
    std::int64_t pullsPerColumn_ = 1;
    PlotSeries series_;  // without the counts' ranges
    // Running sums for the par line: expected pay and its variance, in stake units.
    double expectedReturn_ = 0;
    double returnVariance_ = 0;
};

}  // namespace fruvana::sim
