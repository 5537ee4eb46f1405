// The meters: right-aligned digits with their shadow, no leading zeros, the range guard that
// keeps the old figure, and only pure black see-through.

#include "presentation/meters.h"

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "presentation/asset_catalogue.h"
#include "tests/support/pictures.h"

namespace fruvana {
namespace {

struct MeterCase {
    std::int32_t value;
    int digits;
    const char* shows;  // nullptr: refused, the meter keeps its old figure
};

class MeterDrawing : public ::testing::TestWithParam<MeterCase> {
  protected:
    MeterPainter painter{testing::gamePicture("digits")};
};

TEST_P(MeterDrawing, ShowsTheValueOrKeepsTheOldFigure) {
    const MeterCase& c = GetParam();
    Picture meter;
    ASSERT_TRUE(painter.draw(7, meter, c.digits));
    const Picture before = meter;
    const bool drawn = painter.draw(c.value, meter, c.digits);
    if (c.shows == nullptr) {
        EXPECT_FALSE(drawn);
        EXPECT_EQ(meter, before);
        return;
    }
    EXPECT_TRUE(drawn);
    EXPECT_EQ(meter.width(), 13 * c.digits);
    EXPECT_EQ(testing::readMeter(meter, 0, 0, c.digits), c.shows);
}

INSTANTIATE_TEST_SUITE_P(
    Values, MeterDrawing,
    ::testing::Values(MeterCase{0, 7, "......0"}, MeterCase{1234567, 7, "1234567"},
                      MeterCase{9999999, 7, "9999999"}, MeterCase{10000000, 7, nullptr},
                      MeterCase{-5, 7, nullptr}, MeterCase{10, 2, "10"}, MeterCase{5, 2, ".5"},
                      MeterCase{100, 2, nullptr}, MeterCase{5000, 4, "5000"},
                      MeterCase{75, 4, "..75"}, MeterCase{10000, 4, nullptr}));

TEST(MeterDigits, OnlyPureBlackLetsTheGroundShow) {
    Picture digitPicture(130, 18);
    digitPicture.setPixel(13 * 4 + 2, 3, {0, 0, 1});      // a near-black pixel in the 4
    digitPicture.setPixel(13 * 4 + 5, 5, {201, 78, 22});  // and an orange one
    MeterPainter painter(digitPicture);
    Picture meter;
    ASSERT_TRUE(painter.draw(4, meter, 2));
    EXPECT_EQ(meter.pixel(13 + 2, 3), (Rgb{0, 0, 1}));
    EXPECT_EQ(meter.pixel(13 + 5, 5), (Rgb{201, 78, 22}));
    EXPECT_EQ(meter.pixel(13 + 3, 3), kMeterBackground);
    EXPECT_EQ(meter.pixel(2, 3), kMeterBackground);
    // no meter of the game has three digits
    EXPECT_FALSE(painter.draw(4, meter, 3));
}

}  // namespace
}  // namespace fruvana
