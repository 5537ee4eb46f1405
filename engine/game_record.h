#pragma once
// The record of one game, as the recall keeps it: a first deal and, when there is one, its
// second deal, with the money before and after.

#include <array>
#include <cstdint>
#include <deque>

#include "engine/symbols.h"

namespace fruvana {

// How a reel came to be held into a second deal.
enum class HoldSource : std::uint8_t {
    NotHeld = 0,
    Suggested = 1,  // lit by the game after the first deal and left held
    Chosen = 2,     // held by the player
};

struct Money {
    std::int32_t credit = 0;
    std::int32_t win = 0;
    std::int32_t account = 0;
    std::int64_t total() const { return std::int64_t{credit} + win + account; }
    friend bool operator==(const Money&, const Money&) = default;
};

struct GameRecord {
    std::int64_t startedAt = 0;  // wall clock, seconds since 1970 (UTC)
    std::int32_t bet = 0;
    Money before;  // when the lever was pulled, before the stake
    Line firstLine{0, 0, 0};
    ComboClass firstClass{};  // zero until dealt
    bool secondDealt = false;
    std::array<HoldSource, 3> holds{};  // into the second deal
    Line secondLine{0, 0, 0};
    ComboClass secondClass{};  // zero unless the second deal was dealt
    // Credit and win collected between the first and the second deal: the first deal's win
    // is then paid as well as the second deal's.
    bool collected = false;
    std::int32_t paid = 0;  // what the game won in all
    Money after;
    // Still waiting for its second deal when the program ended.
    bool unfinished = false;
    friend bool operator==(const GameRecord&, const GameRecord&) = default;
};

// The games a machine recalls, newest first.
inline constexpr std::size_t kRecalledGames = 10;
using GameRecall = std::deque<GameRecord>;

// What this run of the program has played: since when, how many games, and the money at
// start-up, so the change of credit + win + account can be shown.
struct SessionSummary {
    std::int64_t startedAt = 0;
    std::int32_t games = 0;
    std::int64_t moneyAtStart = 0;
};

}  // namespace fruvana
