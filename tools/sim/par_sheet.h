#pragma once
// The machine's exact figures, computed from the quota tables, the pay table and the
// classification rule rather than by dealing.

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string_view>

#include "engine/symbols.h"

namespace fruvana::sim {

// How a first deal chooses its quota table: the stingy one in stingyTenths of ten deals.
struct TableMix {
    std::string_view name;
    int stingyTenths = 0;
};

inline constexpr TableMix kGenerousOnly{"generous table", 0};
inline constexpr TableMix kStingyOnly{"stingy table", 10};
// The player ahead with Second deal on.
inline constexpr TableMix kAheadMix{"ahead, Second deal on", 9};
// Not ahead, or Second deal off.
inline constexpr TableMix kOtherwiseMix{"otherwise", 6};

// One first deal under a mix. Probabilities and returns are exact, in ten-thousandths.
struct FirstDealFigures {
    TableMix mix;
    PerClass<std::int64_t> probability{};   // chance of each class
    PerClass<std::int64_t> contribution{};  // its share of the pay per unit bet
    std::int64_t returnToPlayer = 0;        // pay per unit bet
    std::int64_t hitRate = 0;               // chance of any win
    double standardDeviation = 0;           // of the pay per unit bet
};

FirstDealFigures firstDealFigures(TableMix mix);
// The chance of each class in one first deal under the mix.
PerClass<double> firstDealChances(const TableMix& mix);

// A whole game: the first deal and, unless all three reels are held, the free second deal
// whose result replaces it. Fractions per unit bet.
struct GameFigures {
    double returnToPlayer = 0;
    double hitRate = 0;
    double standardDeviation = 0;
};

struct WholeGameFigures {
    TableMix mix;
    bool ahead = false;  // the second deal keeps the poorer of two lines
    GameFigures suggestedHolds;
    GameFigures bestHolds;
};

// Every first-deal line (lines of one class equally likely) and every second-deal outcome
// (symbols equally likely). Best holds: for each line the hold set with the highest expected
// pay, where holding all three keeps the first win.
// Without best holds (the costly part: every hold set of every line) those figures stay zero.
WholeGameFigures wholeGameFigures(bool ahead, bool withBestHolds = true);

// Expected pay per unit bet of a game whose first deal showed `line` when the reels in
// heldMask (bit n for reel n + 1) are held: all three keep the first win, otherwise the second
// deal of the others stands.
double expectedPay(const Line& line, int heldMask, bool ahead);

// The class of a second deal made with the suggested holds, given that one is dealt: the
// chances over every first-deal line whose suggestion leaves a reel to turn.
PerClass<double> secondDealClassChances(bool ahead);

// The class a whole game ends with under the suggested holds: the first deal's when all three
// reels are held, else the second deal's.
PerClass<double> gameClassChances(bool ahead);

struct ParSheet {
    std::array<FirstDealFigures, 4> firstDeal;  // generous, stingy, ahead mix, otherwise mix
    std::array<WholeGameFigures, 2> wholeGame;  // not ahead, ahead
};

ParSheet computeParSheet();

// The counts a class may show in n independent first deals: a central interval holding at
// least `level` of the binomial distribution, with at most (1 - level) / 2 on either side.
struct CountRange {
    std::int64_t lo = 0;
    std::int64_t hi = 0;
};
CountRange binomialRange(std::int64_t n, double p, double level);

inline constexpr double kRangeLevel = 0.999;

// The printed sheet; the count ranges are given for `deals` first deals.
void writeParSheet(std::ostream& out, const ParSheet& sheet, std::int64_t deals);
void writeParSheetJson(std::ostream& out, const ParSheet& sheet, std::int64_t deals);

}  // namespace fruvana::sim
