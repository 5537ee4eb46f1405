#include "grid/cell_properties.h"

#include <gtest/gtest.h>

#include <climits>

namespace fruvana {
namespace {

class FontRequestFor : public testing::TestWithParam<std::pair<FontValues, FontRequest>> {};

TEST_P(FontRequestFor, FollowsHeightAndStyleBits) {
    EXPECT_EQ(toFontRequest(GetParam().first), GetParam().second);
}

constexpr auto kDefaultPitch = FontPitch::Default;

// Heights: negative is the character height, 0 the default, and absurd ones are clamped.
INSTANTIATE_TEST_SUITE_P(
    Values, FontRequestFor,
    testing::Values(std::pair{FontValues{33023, -11, "MS Sans Serif", kDefaultPitch, 0},
                              FontRequest{"MS Sans Serif", 11, false, false}},
                    std::pair{FontValues{0, 0, "", kDefaultPitch, 0xFF},
                              FontRequest{"MS Sans Serif", 11, true, true}},
                    std::pair{FontValues{0, INT_MIN, "Arial", kDefaultPitch, 2},
                              FontRequest{"Arial", 512, false, true}},
                    std::pair{FontValues{0, INT_MAX, "Arial", kDefaultPitch, 1},
                              FontRequest{"Arial", 512, true, false}}));

TEST(CellFont, StyleKeepsTheLowByteAndOnlyRealChangesRepaint) {
    CellFont font;
    int changes = 0;
    font.setOnChange([&changes] { ++changes; });
    font.setStyle(317250561);
    EXPECT_EQ(font.style(), kStyleBold);
    font.setStyle(1);  // the same style: nothing to repaint
    font.setColour(255);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(toRgb(5517839), (Rgb{15, 50, 84}));  // red in the low byte
    EXPECT_EQ(toRgb(0xFF0000FFu), (Rgb{255, 0, 0}));
}

}  // namespace
}  // namespace fruvana
