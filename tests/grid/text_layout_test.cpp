#include "grid/text_layout.h"

#include <gtest/gtest.h>

namespace fruvana {
namespace {

// Every byte 6 pixels wide: easy widths to reason about.
int sixPerByte(std::string_view s) {
    return static_cast<int>(s.size()) * 6;
}

struct LayoutCase {
    const char* name;
    const char* text;
    int width;
    WordWrapMode mode;
    std::vector<std::string> lines;
    friend void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }
};

class Layout : public testing::TestWithParam<LayoutCase> {};

TEST_P(Layout, BreaksAsTheModeSays) {
    const LayoutCase& c = GetParam();
    EXPECT_EQ(layoutLines(c.text, c.width, c.mode, sixPerByte), c.lines);
}

using enum WordWrapMode;

INSTANTIATE_TEST_SUITE_P(
    Modes, Layout,
    testing::Values(
        LayoutCase{"NoneKeepsLongLine", "three single bars", 60, Clip, {"three single bars"}},
        LayoutCase{
            "DefaultKeepsLongLine", "three single bars", 60, WrapNotSet, {"three single bars"}},
        LayoutCase{
            "WrapOneWordPerLine", "three single bars", 60, Wrap, {"three", "single", "bars"}},
        LayoutCase{"WrapFillsLines", "three single bars", 78, Wrap, {"three single", "bars"}},
        LayoutCase{"WrapExactFit", "any two bars", 72, Wrap, {"any two bars"}},
        LayoutCase{"WrapLongWordOwnLine", "a verylongword b", 30, Wrap, {"a", "verylongword", "b"}},
        LayoutCase{"WrapDropsSpacesAtBreak", "ab   cd  ", 24, Wrap, {"ab", "cd"}},
        LayoutCase{"WrapKeepsLeadingSpaces", "  ab cd", 30, Wrap, {"  ab", "cd"}},
        LayoutCase{"EllipsisCutsToFit", "three single bars", 60, Ellipsis, {"three s..."}},
        LayoutCase{"EllipsisLeavesFittingLine", "three", 30, Ellipsis, {"three"}},
        LayoutCase{"EllipsisAloneWhenNothingFits", "three", 12, Ellipsis, {"..."}},
        // "a" then 2-byte letters: 2 bytes would fit before the dots, but that cuts a letter.
        LayoutCase{
            "EllipsisCutsWholeCharacters", "a\xC3\xA9\xC3\xA9\xC3\xA9", 30, Ellipsis, {"a..."}},
        LayoutCase{"LineFeedsBreakInEveryMode", "ab\r\ncd\n", 600, Clip, {"ab", "cd", ""}},
        LayoutCase{"AmpersandIsText", "R&D", 600, Ellipsis, {"R&D"}},
        LayoutCase{"EmptyTextNoLines", "", 60, Wrap, {}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fruvana
