#pragma once
// The vocabulary of the machine: reel symbols, their groups, and the kinds of result.

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/game_text.h"

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

// Each symbol's names, by code from 1: as speech says it, and its short code in the terminal's
// recall.
struct SymbolName {
    std::string_view spoken;
    std::string_view code;
};
inline constexpr std::array<SymbolName, kSymbolCount> kSymbolNames{{
    {translatable("Single bar"), "BAR"},
    {translatable("Bell"), "BELL"},
    {translatable("Yellow seven"), "7"},
    {translatable("Grapes"), "GRAPES"},
    {translatable("Double bar"), "2BAR"},
    {translatable("Triple bar"), "3BAR"},
    {translatable("Red seven"), "RED7"},
    {translatable("Blue seven"), "BLUE7"},
    {translatable("Cherry"), "CHERRY"},
    {translatable("Melon"), "MELON"},
}};

constexpr bool inBarGroup(int s) {
    return s == 1 || s == 5 || s == 6;
}
constexpr bool inSevenGroup(int s) {
    return s == 3 || s == 7 || s == 8;
}
constexpr bool inFruitGroup(int s) {
    return s == 4 || s == 9 || s == 10;
}

// The kinds of result a line can show, best-paid first. The codes are those the recall file
// stores and the simulator prints.
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

constexpr int codeOf(ComboClass c) {
    return static_cast<int>(c);
}

// Every kind of result, best-paid first, for walking a per-class table.
inline constexpr std::array<ComboClass, kClassCount> kEveryClass = [] {
    std::array<ComboClass, kClassCount> every{};
    for (int code = 1; code <= kClassCount; ++code) {
        every[static_cast<std::size_t>(code - 1)] = static_cast<ComboClass>(code);
    }
    return every;
}();

// A table with one entry per kind of result.
template <typename T>
struct PerClass {
    std::array<T, kClassCount> slots{};

    constexpr T& operator[](ComboClass c) { return slots[static_cast<std::size_t>(codeOf(c) - 1)]; }
    constexpr const T& operator[](ComboClass c) const {
        return slots[static_cast<std::size_t>(codeOf(c) - 1)];
    }
    friend constexpr bool operator==(const PerClass&, const PerClass&) = default;
};

// What each kind of result is called on screen and in reports.
constexpr std::string_view comboClassText(ComboClass c) {
    constexpr std::array<std::string_view, kClassCount> texts = {
        translatable("three single bars"), translatable("three bells"),
        translatable("three yellow 7s"),   translatable("three grapes"),
        translatable("three cherries"),    translatable("three melons"),
        translatable("any three bars"),    translatable("any three 7s"),
        translatable("any three fruits"),  translatable("any two bars"),
        translatable("any two fruits"),    translatable("no win"),
    };
    const int code = codeOf(c);
    // cppcheck-suppress returnDanglingLifetime ; the views point into literals, not the array
    return (code >= 1 && code <= kClassCount) ? texts[static_cast<std::size_t>(code - 1)] : "";
}

// Pay per unit bet; a line without a win pays nothing.
inline constexpr PerClass<std::int32_t> kPaytableMultipliers = {
    {500, 250, 100, 75, 50, 25, 15, 10, 7, 5, 2, 0}};

// The one rule that maps a line of three symbols (reel 1 to 3) to its kind of result.
constexpr ComboClass classifyLine(int s1, int s2, int s3) {
    using enum ComboClass;
    if (s1 == s2 && s2 == s3) {
        switch (s1) {
            case 1:
                return ThreeSingleBars;
            case 2:
                return ThreeBells;
            case 3:
                return ThreeYellowSevens;
            case 4:
                return ThreeGrapes;
            case 9:
                return ThreeCherries;
            case 10:
                return ThreeMelons;
            default:
                break;
        }
    }
    if (inBarGroup(s1) && inBarGroup(s2) && inBarGroup(s3)) return AnyThreeBars;
    if (inSevenGroup(s1) && inSevenGroup(s2) && inSevenGroup(s3)) return AnyThreeSevens;
    if (inFruitGroup(s1) && inFruitGroup(s2) && inFruitGroup(s3)) return AnyThreeFruits;
    if ((inBarGroup(s1) && inBarGroup(s2)) || (inBarGroup(s1) && inBarGroup(s3)) ||
        (inBarGroup(s2) && inBarGroup(s3)))
        return AnyTwoBars;
    if ((inFruitGroup(s1) && inFruitGroup(s2)) || (inFruitGroup(s1) && inFruitGroup(s3)) ||
        (inFruitGroup(s2) && inFruitGroup(s3)))
        return AnyTwoFruits;
    return NoWin;
}

using Line = std::array<std::uint8_t, 3>;

constexpr ComboClass classifyLine(const Line& line) {
    return classifyLine(line[0], line[1], line[2]);
}

}  // namespace fruvana
