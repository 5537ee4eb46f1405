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
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

class Layout : public testing::TestWithParam<LayoutCase> {};

TEST_P(Layout, BreaksAsTheModeSays) {
    const LayoutCase& c = GetParam();
    EXPECT_EQ(layoutLines(c.text, c.width, c.mode, sixPerByte), c.lines);
}

using enum WordWrapMode;

INSTANTIATE_TEST_SUITE_P(
    Modes, Layout,
    testing::Values(
        LayoutCase{"NoneKeepsLongLine", "three single bars", 60, ww_none, {"three single bars"}},
        LayoutCase{
            "DefaultKeepsLongLine", "three single bars", 60, ww_default, {"three single bars"}},
        LayoutCase{"WrapOneWordPerLine",
                   "three single bars",
                   60,
                   ww_wordwrap,
                   {"three", "single", "bars"}},
        LayoutCase{
            "WrapFillsLines", "three single bars", 78, ww_wordwrap, {"three single", "bars"}},
        LayoutCase{"WrapExactFit", "any two bars", 72, ww_wordwrap, {"any two bars"}},
        LayoutCase{
            "WrapLongWordOwnLine", "a verylongword b", 30, ww_wordwrap, {"a", "verylongword", "b"}},
        LayoutCase{"WrapDropsSpacesAtBreak", "ab   cd  ", 24, ww_wordwrap, {"ab", "cd"}},
        LayoutCase{"WrapKeepsLeadingSpaces", "  ab cd", 30, ww_wordwrap, {"  ab", "cd"}},
        LayoutCase{"EllipsisCutsToFit", "three single bars", 60, ww_ellipsis, {"three s..."}},
        LayoutCase{"EllipsisLeavesFittingLine", "three", 30, ww_ellipsis, {"three"}},
        LayoutCase{"EllipsisAloneWhenNothingFits", "three", 12, ww_ellipsis, {"..."}},
        // "a" then 2-byte letters: 2 bytes would fit before the dots, but that cuts a letter.
        LayoutCase{
            "EllipsisCutsWholeCharacters", "a\xC3\xA9\xC3\xA9\xC3\xA9", 30, ww_ellipsis, {"a..."}},
        LayoutCase{"LineFeedsBreakInEveryMode", "ab\r\ncd\n", 600, ww_none, {"ab", "cd", ""}},
        LayoutCase{"AmpersandIsText", "R&D", 600, ww_ellipsis, {"R&D"}},
        LayoutCase{"EmptyTextNoLines", "", 60, ww_wordwrap, {}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fruvana
