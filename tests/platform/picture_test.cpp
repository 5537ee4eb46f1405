#include "platform/picture.h"

#include <gtest/gtest.h>

namespace fruvana {
namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kKey{1, 2, 3};

TEST(Picture, StoresBlueGreenRedInPaddedRows) {
    Picture p(3, 2);
    EXPECT_EQ(p.pitch(), 12);  // 9 bytes rounded up to 4
    p.setPixel(1, 1, {10, 20, 30});
    const std::uint8_t* px = p.row(1) + 3;
    EXPECT_EQ(px[0], 30);
    EXPECT_EQ(px[1], 20);
    EXPECT_EQ(px[2], 10);
    EXPECT_EQ(p.pixel(1, 1), (Rgb{10, 20, 30}));
}

TEST(Picture, ImpossibleSizesGiveAnEmptyPicture) {
    for (auto [w, h] : {std::pair{0, 5}, {5, -1}, {-3, -3}, {1 << 20, 10}, {10, 1 << 20}}) {
        Picture p(w, h);
        EXPECT_TRUE(p.empty()) << w << "x" << h;
        EXPECT_EQ(p.width(), 0);
    }
}

struct BlitCase {
    const char* name;
    Rect from;
    int x;
    int y;
    Rect expectRed;  // where the 4x4 red source lands on the 8x8 blue destination

    friend void PrintTo(const BlitCase& c, std::ostream* os) { *os << c.name; }
};

class BlitClipping : public testing::TestWithParam<BlitCase> {};

TEST_P(BlitClipping, CopiesExactlyTheOverlap) {
    const BlitCase& c = GetParam();
    Picture src(4, 4);
    src.fill(kRed);
    Picture dst(8, 8);
    dst.fill(kBlue);
    blit(src, c.from, dst, c.x, c.y);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool inside = x >= c.expectRed.x && x < c.expectRed.x + c.expectRed.w &&
                                y >= c.expectRed.y && y < c.expectRed.y + c.expectRed.h;
            ASSERT_EQ(dst.pixel(x, y), inside ? kRed : kBlue) << c.name << " at " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BlitClipping,
    testing::Values(BlitCase{"Inside", {0, 0, 4, 4}, 2, 3, {2, 3, 4, 4}},
                    BlitCase{"LeftAndTopEdges", {0, 0, 4, 4}, -2, -1, {0, 0, 2, 3}},
                    BlitCase{"RightAndBottomEdges", {0, 0, 4, 4}, 6, 7, {6, 7, 2, 1}},
                    BlitCase{"EntirelyOutside", {0, 0, 4, 4}, 8, 0, {0, 0, 0, 0}},
                    BlitCase{"FarNegative", {0, 0, 4, 4}, -100000, -100000, {0, 0, 0, 0}},
                    BlitCase{"PartOfTheSource", {1, 1, 2, 2}, 0, 0, {0, 0, 2, 2}},
                    BlitCase{"SourcePartBeyondTheSource", {2, 2, 10, 10}, 0, 0, {0, 0, 2, 2}},
                    BlitCase{"SourcePartLeftOfTheSource", {-2, 0, 4, 4}, 0, 0, {2, 0, 2, 4}},
                    BlitCase{"EmptyPart", {0, 0, 0, 4}, 0, 0, {0, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Picture, SeeThroughColourLeavesTheDestination) {
    Picture src(2, 2);
    src.fill(kKey);
    src.setPixel(1, 0, kRed);
    Picture dst(2, 2);
    dst.fill(kBlue);
    ASSERT_EQ(bottomLeftColour(src), kKey);
    blit(src, dst, 0, 0, bottomLeftColour(src));
    EXPECT_EQ(dst.pixel(1, 0), kRed);
    EXPECT_EQ(dst.pixel(0, 0), kBlue);
    EXPECT_EQ(dst.pixel(1, 1), kBlue);
    // A colour that differs in one channel only is drawn.
    src.setPixel(0, 0, {1, 2, 4});
    blit(src, dst, 0, 0, kKey);
    EXPECT_EQ(dst.pixel(0, 0), (Rgb{1, 2, 4}));
}

TEST(Picture, IntersectionOfRectangles) {
    EXPECT_EQ(intersect({0, 0, 10, 10}, {5, 5, 10, 10}), (Rect{5, 5, 5, 5}));
    EXPECT_TRUE(intersect({0, 0, 10, 10}, {10, 0, 5, 5}).empty());
    EXPECT_TRUE(intersect({0, 0, 10, 10}, {3, 3, 0, 4}).empty());
}

}  // namespace
}  // namespace fruvana
