#pragma once
// The money of a deal as the pay table printed for the player reads, written here by hand and
// never taken from the game: the pay of a line, its class, and what a deal moves the money
// (credit + win + account) by.

#include <array>
#include <cstdint>

namespace fruvana::testing::ledger {

using Line = std::array<std::uint8_t, 3>;

// Per unit of bet: three of one symbol (single bar, bell, yellow 7, grapes, cherries, melon),
// then any three bars, 7s or fruits, then any two bars, then any two fruits.
inline int pay(const Line& line) {
    constexpr std::array<int, 11> kThreeAlike{0, 500, 250, 100, 75, 0, 0, 0, 0, 50, 25};
    constexpr std::array<char, 11> kGroup{'?', 'B', '-', 'S', 'F', 'B', 'B', 'S', 'S', 'F', 'F'};
    if (line[0] == line[1] && line[1] == line[2] && kThreeAlike[line[0]] > 0)
        return kThreeAlike[line[0]];
    auto count = [&](char group) {
        int n = 0;
        for (const std::uint8_t s : line) n += s >= 1 && s <= 10 && kGroup[s] == group;
        return n;
    };
    if (count('B') == 3) return 15;
    if (count('S') == 3) return 10;
    if (count('F') == 3) return 7;
    if (count('B') == 2) return 5;
    if (count('F') == 2) return 2;
    return 0;
}

// The pays of classes 1 to 12 in order; each pay names its class.
inline constexpr std::array<int, 13> kPayOfClass{0, 500, 250, 100, 75, 50, 25, 15, 10, 7, 5, 2, 0};

inline int classOf(const Line& line) {
    const int p = pay(line);
    for (int c = 1; c <= 11; ++c)
        if (kPayOfClass[static_cast<std::size_t>(c)] == p) return c;
    return 12;
}

// A first deal takes its stake and its result pays from nothing (the old win went onto the
// credit); a second deal is free and its result replaces the first deal's win.
inline std::int64_t dealMoves(bool firstDeal, std::int32_t bet, int comboClass,
                              std::int32_t winBefore) {
    const std::int64_t paid = std::int64_t{kPayOfClass[static_cast<std::size_t>(comboClass)]} * bet;
    return firstDeal ? paid - bet : paid - winBefore;
}

}  // namespace fruvana::testing::ledger
