#pragma once
// The vocabulary of the machine: reel symbols, their groups, and the kinds of result.

#include <array>
#include <cstdint>
#include <string_view>

namespace fruvana {

// Reel symbol codes; symbol s is drawn from cell s of the reel strip picture.
enum class Symbol : std::uint8_t {
    SingleBar = 1,
    Bell = 2,
    YellowSeven = 3,
    Grapes = 4,
    DoubleBar = 5,
    TripleBar = 6,
    RedSeven = 7,
    BlueSeven = 8,
    Cherries = 9,
    Melon = 10,
};

inline constexpr int kSymbolCount = 10;

constexpr bool inBarGroup(int s) {
    return s == 1 || s == 5 || s == 6;
}
constexpr bool inSevenGroup(int s) {
    return s == 3 || s == 7 || s == 8;
}
constexpr bool inFruitGroup(int s) {
    return s == 4 || s == 9 || s == 10;
}

// Result codes, best-paid first. Per-class tables are indexed by the code itself.
enum class ComboClass : std::uint8_t {
    ThreeSingleBars = 1,
    ThreeBells = 2,
    ThreeYellowSevens = 3,
    ThreeGrapes = 4,
    ThreeCherries = 5,
    ThreeMelons = 6,
    AnyThreeBars = 7,
    AnyThreeSevens = 8,
    AnyThreeFruits = 9,
    AnyTwoBars = 10,
    AnyTwoFruits = 11,
    NoWin = 12,
};

inline constexpr int kClassCount = 12;

// A table with one entry per class code 1 to 12, indexed by the code itself.
template <typename T>
struct PerClass {
    std::array<T, kClassCount> slots{};

    constexpr T& operator[](int code) { return slots[static_cast<std::size_t>(code - 1)]; }
    constexpr const T& operator[](int code) const {
        return slots[static_cast<std::size_t>(code - 1)];
    }
    friend constexpr bool operator==(const PerClass&, const PerClass&) = default;
};

// Row labels of the statistics table; row 12 counts every evaluation.
constexpr std::string_view comboClassText(int code) {
    constexpr std::array<std::string_view, kClassCount> texts = {
        "three single bars", "three bells",  "three yellow 7s", "three grapes",
        "three cherries",    "three melons", "any three bars",  "any three 7s",
        "any three fruits",  "any two bars", "any two fruits",  "total deals",
    };
    // cppcheck-suppress returnDanglingLifetime ; the views point into literals, not the array
    return (code >= 1 && code <= kClassCount) ? texts[static_cast<std::size_t>(code - 1)] : "";
}

// Pay per unit bet; class 12 pays nothing.
inline constexpr PerClass<std::int32_t> kPaytableMultipliers = {
    {500, 250, 100, 75, 50, 25, 15, 10, 7, 5, 2, 0}};

// The one rule that maps a line of three symbols (reel 1 to 3) to its class code.
constexpr int classifyLine(int s1, int s2, int s3) {
    if (s1 == s2 && s2 == s3) {
        switch (s1) {
            case 1:
                return 1;
            case 2:
                return 2;
            case 3:
                return 3;
            case 4:
                return 4;
            case 9:
                return 5;
            case 10:
                return 6;
            default:
                break;
        }
    }
    if (inBarGroup(s1) && inBarGroup(s2) && inBarGroup(s3)) return 7;
    if (inSevenGroup(s1) && inSevenGroup(s2) && inSevenGroup(s3)) return 8;
    if (inFruitGroup(s1) && inFruitGroup(s2) && inFruitGroup(s3)) return 9;
    if ((inBarGroup(s1) && inBarGroup(s2)) || (inBarGroup(s1) && inBarGroup(s3)) ||
        (inBarGroup(s2) && inBarGroup(s3)))
        return 10;
    if ((inFruitGroup(s1) && inFruitGroup(s2)) || (inFruitGroup(s1) && inFruitGroup(s3)) ||
        (inFruitGroup(s2) && inFruitGroup(s3)))
        return 11;
    return 12;
}

using Line = std::array<std::uint8_t, 3>;

constexpr int classifyLine(const Line& line) {
    return classifyLine(line[0], line[1], line[2]);
}

}  // namespace fruvana
