// The parts of a picture another language changes: changed pixels near one another make one
// part, cut out with a pixel to spare and never past the picture's edge.
#include <gtest/gtest.h>

#include "tools/assetgen/language.h"

namespace fruvana::assetgen {
namespace {

TEST(TranslatedParts, GroupNearChangesAndCutThemOutWithAPixelToSpare) {
    Canvas english(40, 20);
    Canvas translated(40, 20);
    const Rgb ink{200, 10, 10};
    // Near the corner and 5 pixels apart: one part; alone further on: another.
    for (const auto& [x, y] : {std::pair{0, 0}, {3, 3}, {5, 4}, {30, 15}})
        translated.setPixel(x, y, ink);
    translated.markDirty();

    const std::vector<Patch> parts = patchesBetween(english, translated);
    ASSERT_EQ(parts.size(), 2u);
    const struct { int x, y, w, h; } expected[] = {{0, 0, 7, 6}, {29, 14, 3, 3}};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        EXPECT_EQ(parts[i].x, expected[i].x) << i;
        EXPECT_EQ(parts[i].y, expected[i].y) << i;
        EXPECT_EQ(parts[i].picture.width(), expected[i].w) << i;
        EXPECT_EQ(parts[i].picture.height(), expected[i].h) << i;
    }
    EXPECT_EQ(parts[1].picture.pixel(1, 1), ink);
    EXPECT_TRUE(patchesBetween(english, english).empty());
}

}  // namespace
}  // namespace fruvana::assetgen
