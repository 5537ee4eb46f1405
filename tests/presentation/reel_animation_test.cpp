// The turning reels: the drum shading, every frame of a spin strip and the still pictures against
// a plain per-pixel reference, and the frame tick's course for every set of holds.

#include "presentation/reel_animation.h"

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "presentation/asset_catalogue.h"
#include "presentation/meters.h"
#include "tests/support/pictures.h"

namespace fruvana {
namespace {

TEST(Shading, FollowsTheDrumCurve) {
    const std::pair<int, int> curve[] = {{0, 39},   {10, 55},  {20, 69},  {30, 80},  {40, 89},
                                         {50, 96},  {57, 99},  {58, 100}, {61, 100}, {64, 100},
                                         {65, 99},  {70, 97},  {80, 91},  {90, 82},  {100, 71},
                                         {110, 58}, {120, 42}, {121, 40}};
    for (auto [row, percent] : curve) EXPECT_EQ(shadePercent(row), percent) << row;
}

class SpinStrips : public ::testing::Test {
  protected:
    // The frame layout written out plainly: source row and per-pixel division.
    Rgb expected(int from, int to, int c, int x, int j) const {
        static constexpr int kShift[] = {-1, -2, -4, -6, -9, -12, 0, 0, 11, 8, 5, 3, 1, 0};
        Rgb p;
        if (c == 6) {
            p = blur1.pixel(x, j);
        } else if (c == 7) {
            p = blur2.pixel(x, j);
        } else {
            p = strip.pixel(x, 122 * (c < 6 ? from : to) + j + kShift[c]);
        }
        const int pct = shadePercent(j);
        return {static_cast<std::uint8_t>(p.r * pct / 100),
                static_cast<std::uint8_t>(p.g * pct / 100),
                static_cast<std::uint8_t>(p.b * pct / 100)};
    }

    Picture strip = testing::gamePicture("reel_strip");
    Picture blur1 = testing::gamePicture("reel_blur_1");
    Picture blur2 = testing::gamePicture("reel_blur_2");
    ReelShading shading{strip, blur1, blur2};
    Picture spin{122, 1708};
};

// The pairs take in the neighbouring cells at both ends of the strip (the melon above the single
// bar, the single bar below the melon); the last frame is the still picture of the new symbol.
TEST_F(SpinStrips, EveryFrameOfEverySymbolPairMatchesThePlainFormula) {
    for (auto [from, to] : {std::pair{2, 10}, {1, 1}, {10, 9}, {5, 6}}) {
        shading.paintSpinStrip(from, to, spin);
        Picture still(122, 122);
        shading.drawStill(to, still);
        for (int c = 0; c < 14; ++c)
            for (int j = 0; j < 122; ++j)
                for (int x : {0, 40, 61, 121})
                    ASSERT_EQ(spin.pixel(x, 122 * c + j), expected(from, to, c, x, j))
                        << from << "->" << to << " frame " << c << " row " << j << " x " << x;
        for (int j : {0, 61, 121}) EXPECT_EQ(still.pixel(50, j), expected(from, to, 13, 50, j));
    }
}

TEST_F(SpinStrips, WhiteBecomesNinetyNineAtTheTopAndOneHundredTwoAtTheBottom) {
    Picture white(122, 1464);
    white.fill({255, 255, 255});
    Picture blank(122, 122);
    blank.fill({255, 255, 255});
    ReelShading plain(white, blank, blank);
    Picture still(122, 122);
    plain.drawStill(3, still);
    EXPECT_EQ(still.pixel(7, 0), (Rgb{99, 99, 99}));
    EXPECT_EQ(still.pixel(7, 121), (Rgb{102, 102, 102}));
    EXPECT_EQ(still.pixel(7, 60), (Rgb{255, 255, 255}));
}

TEST_F(SpinStrips, SymbolsOutsideTheStripLeaveThePicturesAlone) {
    spin.fill({1, 2, 3});
    shading.paintSpinStrip(0, 4, spin);
    shading.paintSpinStrip(4, 11, spin);
    EXPECT_EQ(spin.pixel(5, 5), (Rgb{1, 2, 3}));
    Picture still(122, 122);
    still.fill({4, 5, 6});
    shading.drawStill(0, still);
    EXPECT_EQ(still.pixel(5, 5), (Rgb{4, 5, 6}));
}

TEST_F(SpinStrips, PicturesOfAWrongSizeAreMadeRightBeforeTheyAreDrawnInto) {
    Picture still(10, 300);
    shading.drawStill(3, still);
    EXPECT_EQ(still.width(), 122);
    EXPECT_EQ(still.height(), 122);
    MeterPainter meters(testing::gamePicture("digits"));
    Picture meter(5, 40);
    ASSERT_TRUE(meters.draw(42, meter, 4));
    EXPECT_EQ(meter.width(), 52);
    EXPECT_EQ(meter.height(), 18);
}

struct SpinCase {
    const char* name;
    Holds held;
    int endTick;
    std::array<int, 3> framesDrawn;
};

class FrameTickCourse : public ::testing::TestWithParam<SpinCase> {};

TEST_P(FrameTickCourse, EndsOnTheLastTurningReelsStop) {
    const SpinCase& c = GetParam();
    ReelCounters counters;
    counters.start();
    std::array<std::vector<int>, 3> shown;
    int tick = 0;
    bool over = false;
    while (!over && tick < 200) {
        ++tick;
        const TickResult r = frameTick(counters, c.held);
        for (std::size_t n = 0; n < 3; ++n)
            if (r.frame[n] >= 0) shown[n].push_back(r.frame[n]);
        over = r.spinOver;
    }
    EXPECT_EQ(tick, c.endTick);
    for (std::size_t n = 0; n < 3; ++n) {
        ASSERT_EQ(static_cast<int>(shown[n].size()), c.framesDrawn[n]) << "reel " << n + 1;
        if (shown[n].empty()) continue;
        // 0 to 5, the blur pair as often as its cycles say, then 8 to 13.
        std::vector<int> want{0, 1, 2, 3, 4, 5};
        for (int pair = 0; pair < kExtraCycles[n]; ++pair) {
            want.push_back(6);
            want.push_back(7);
        }
        for (int f = 8; f <= 13; ++f) want.push_back(f);
        EXPECT_EQ(shown[n], want) << "reel " << n + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(Holds, FrameTickCourse,
                         ::testing::Values(SpinCase{"AllTurning", {0, 0, 0}, 62, {22, 42, 62}},
                                           SpinCase{"OnlyReel1", {0, 1, 1}, 22, {22, 0, 0}},
                                           SpinCase{"OnlyReel2", {1, 0, 1}, 42, {0, 42, 0}},
                                           SpinCase{"OnlyReel3", {1, 1, 0}, 62, {0, 0, 62}},
                                           SpinCase{"Reels1And2", {0, 0, 1}, 42, {22, 42, 0}},
                                           SpinCase{"AllHeld", {1, 1, 1}, 1, {0, 0, 0}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FrameTick, StoppedReelsKeepCountingUntilTheSpinEnds) {
    ReelCounters counters;
    counters.start();
    for (int t = 0; t < 30; ++t) frameTick(counters, {0, 0, 0});
    EXPECT_EQ(counters.frameCounter[0], 14 + 8);
    EXPECT_EQ(counters.extraCycles, (std::array<std::uint8_t, 3>{0, 3, 13}));
}

}  // namespace
}  // namespace fruvana
