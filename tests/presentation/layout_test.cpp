#include "presentation/layout.h"

#include <gtest/gtest.h>

#include <limits>

#include "presentation/round_face.h"

namespace fruvana {
namespace {

struct ScreenCase {
    int w;
    int h;
    CabinetOrigin origin;
    TileGrid tiles;
};

class Layout : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(Layout, CentresTheCabinetAndCoversTheScreenWithTiles) {
    const ScreenCase& c = GetParam();
    EXPECT_EQ(cabinetOrigin(c.w, c.h), c.origin);
    EXPECT_EQ(backgroundTiles(c.w, c.h), c.tiles);
}

INSTANTIATE_TEST_SUITE_P(Screens, Layout,
                         ::testing::Values(ScreenCase{800, 600, {0, 0}, {6, 5}},
                                           ScreenCase{1024, 768, {112, 84}, {7, 6}},
                                           ScreenCase{1280, 1024, {240, 212}, {9, 7}},
                                           ScreenCase{1920, 1080, {560, 240}, {13, 8}},
                                           // odd sizes drop the half pixel
                                           ScreenCase{801, 601, {0, 0}, {6, 5}},
                                           ScreenCase{1025, 769, {112, 84}, {7, 6}},
                                           // smaller than the cabinet: negative, and the division
                                           // goes towards zero, so one pixel short still gives 0
                                           ScreenCase{799, 599, {0, 0}, {6, 4}},
                                           ScreenCase{640, 480, {-80, -60}, {5, 4}},
                                           ScreenCase{797, 595, {-1, -2}, {6, 4}}));

TEST(TileBackground, RepeatsTheTileFromTheTopLeftAndCutsItAtTheEdges) {
    Picture tile(150, 150);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 150; ++x)
            tile.setPixel(x, y, {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 7});
    Picture screen(320, 170);
    tileBackground(tile, screen);
    for (auto [x, y] : {std::pair{0, 0},
                        {149, 149},
                        {150, 0},
                        {299, 10},
                        {300, 0},
                        {319, 169},
                        {5, 150},
                        {160, 165}})
        EXPECT_EQ(screen.pixel(x, y), tile.pixel(x % 150, y % 150)) << x << "," << y;
}

// The lever's knob and the big buttons: the circle of radius 26 around (26, 26) of the picture,
// with points far outside it that must not overflow.
TEST(RoundFace, HoldsItsCircleAndNothingBeyond) {
    const struct {
        int x, y;
        bool inside;
    } cases[] = {
        {26, 26, true},
        {26, 0, true},
        {0, 26, true},
        {52, 26, true},
        {26, 52, true},
        {44, 44, true},
        {45, 45, false},
        {53, 26, false},
        {26, -1, false},
        {0, 0, false},
        {-100, 26, false},
        {std::numeric_limits<int>::max(), 26, false},
        {std::numeric_limits<int>::min(), std::numeric_limits<int>::min(), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(insideCircle(c.x, c.y, 26, 26), c.inside) << c.x << "," << c.y;
}

}  // namespace
}  // namespace fruvana
