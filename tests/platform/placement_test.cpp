// Whole-number scaling on large screens: the scale for a screen, window points back to the
// game's pixels, and the crisp copy of the frame into the window.

#include "platform/placement.h"

#include <gtest/gtest.h>

#include <vector>

namespace fruvana {
namespace {

TEST(WholeScale, OnlyScreensTwiceTheCabinetInBothDirectionsAreScaled) {
    const struct {
        int w, h, scale;
    } cases[] = {{1024, 768, 1},  {1599, 1200, 1}, {1600, 1199, 1}, {1600, 1200, 2},
                 {1920, 1080, 1}, {2560, 1440, 2}, {3840, 2160, 3}, {4000, 3000, 5},
                 {640, 480, 1},   {0, 0, 1}};
    for (const auto& c : cases) EXPECT_EQ(wholeScale(c.w, c.h), c.scale) << c.w << "x" << c.h;
}

struct PointCase {
    const char* name;
    InputEvent in;
    Placement placement;
    Rect shown;
    bool kept;
    int x, y;
};

class WindowPoints : public ::testing::TestWithParam<PointCase> {};

TEST_P(WindowPoints, MapToTheGamesPixels) {
    const PointCase& c = GetParam();
    const std::optional<InputEvent> out = toGame(c.in, c.placement, c.shown);
    ASSERT_EQ(out.has_value(), c.kept);
    if (!out) return;
    EXPECT_EQ(out->x, c.x);
    EXPECT_EQ(out->y, c.y);
    EXPECT_EQ(out->kind, c.in.kind);
}

constexpr Rect kFrame{0, 0, 1280, 720};
INSTANTIATE_TEST_SUITE_P(
    Table, WindowPoints,
    ::testing::Values(
        PointCase{"Unscaled", InputEvent::mouseDown(737, 391), {0, 0, 1}, kFrame, true, 737, 391},
        PointCase{
            "ScaledThree", InputEvent::mouseDown(3000, 2000), {0, 0, 3}, kFrame, true, 1000, 666},
        PointCase{
            "LastPixelOfAScaledPixel", InputEvent::mouseUp(5, 5), {0, 0, 3}, kFrame, true, 1, 1},
        PointCase{"PressInTheBorderHitsNothing",
                  InputEvent::mouseDown(5, 5),
                  {10, 10, 2},
                  Rect{0, 0, 800, 600},
                  false,
                  0,
                  0},
        PointCase{"ReleaseInTheBorderIsKeptInside",
                  InputEvent::mouseUp(5, 2000),
                  {10, 10, 2},
                  Rect{100, 50, 800, 600},
                  true,
                  100,
                  649},
        PointCase{"ShownPartOffset",
                  InputEvent::mouseDown(10 + 2 * 30, 10 + 2 * 40),
                  {10, 10, 2},
                  Rect{100, 50, 800, 600},
                  true,
                  130,
                  90},
        PointCase{"KeysPassUnchanged", InputEvent::typed(U'c'), {0, 0, 3}, kFrame, true, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ScaleInto, EverySourcePixelBecomesASquareOfTheSameColour) {
    Picture src(3, 2);
    src.setPixel(0, 0, {10, 20, 30});
    src.setPixel(1, 0, {40, 50, 60});
    src.setPixel(2, 1, {70, 80, 90});
    const int w = 11, h = 8;  // one column and two rows more than the scaled frame
    std::vector<std::uint32_t> dst(static_cast<std::size_t>(w * h), 0xDEADBEEF);
    auto at = [&](int x, int y) {
        return dst[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)];
    };
    scaleInto(src, src.bounds(), {1, 0, 3}, src.bounds(),
              reinterpret_cast<std::uint8_t*>(dst.data()), w * 4, w, h);
    for (int y = 0; y < 3; ++y)
        for (int x = 1; x < 4; ++x) EXPECT_EQ(at(x, y), 0x0A141Eu) << x << "," << y;
    EXPECT_EQ(at(4, 0), 0x28323Cu);
    EXPECT_EQ(at(9, 5), 0x46505Au);
    EXPECT_EQ(at(5, 5), 0u);           // black pixel of the source
    EXPECT_EQ(at(0, 0), 0xDEADBEEFu);  // left of the frame: untouched
    EXPECT_EQ(at(5, 6), 0xDEADBEEFu);  // below it
}

TEST(ScaleInto, APartLandsOnlyOnItsOwnSquaresAndNothingFallsOffTheEdge) {
    Picture src(4, 4);
    src.fill({1, 2, 3});
    const int w = 7, h = 7;  // smaller than the scaled frame of 8 x 8
    std::vector<std::uint32_t> dst(static_cast<std::size_t>(w * h), 0);
    scaleInto(src, Rect{1, 1, 3, 3}, {0, 0, 2}, src.bounds(),
              reinterpret_cast<std::uint8_t*>(dst.data()), w * 4, w, h);
    auto at = [&](int x, int y) {
        return dst[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)];
    };
    EXPECT_EQ(at(1, 1), 0u);
    EXPECT_EQ(at(2, 2), 0x010203u);
    EXPECT_EQ(at(6, 6), 0x010203u);
    EXPECT_EQ(at(1, 5), 0u);
}

}  // namespace
}  // namespace fruvana
