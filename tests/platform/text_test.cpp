#include "platform/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace fruvana {
namespace {

std::string fileName(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

struct LookupCase {
    const char* name;
    FontRequest request;
    const char* file;  // the chosen file's name starts with this; null when no font may answer

    friend void PrintTo(const LookupCase& c, std::ostream* os) { *os << c.name; }
};

class FontLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(FontLookup, FindsTheMetricTwinOrRefusesWithAReason) {
    const LookupCase& c = GetParam();
    std::string error;
    const std::shared_ptr<Font> font = Font::open(c.request, error);
    if (c.file == nullptr) {
        EXPECT_EQ(font, nullptr);
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        return;
    }
    ASSERT_NE(font, nullptr) << error;
    EXPECT_EQ(fileName(font->path()).rfind(c.file, 0), 0u) << font->path();
    EXPECT_EQ(font->request(), c.request);
    EXPECT_GT(font->lineHeight(), c.request.pixelHeight / 2);
    EXPECT_LE(font->lineHeight(), c.request.pixelHeight * 2);
}

INSTANTIATE_TEST_SUITE_P(
    Families, FontLookup,
    ::testing::Values(
        LookupCase{"ArialBold", {"Arial", 13, true, false}, "LiberationSans-Bold."},
        LookupCase{"ArialRegular", {"Arial", 13, false, false}, "LiberationSans-Regular."},
        LookupCase{"ArialBoldItalic", {"Arial", 13, true, true}, "LiberationSans-BoldItalic."},
        LookupCase{"MsSansSerif", {"MS Sans Serif", 13, false, false}, "LiberationSans-Regular."},
        LookupCase{"MsSansSerifAnyCase", {"ms sans serif", 8, true, false}, "LiberationSans-Bold."},
        LookupCase{"UnknownFamily", {"Fruvana No Such Face", 13, false, false}, nullptr},
        LookupCase{"EmptyFamily", {"", 13, false, false}, nullptr},
        LookupCase{"ZeroHeight", {"Arial", 0, true, false}, nullptr},
        LookupCase{"AbsurdHeight", {"Arial", INT_MAX, true, false}, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

// Counts of coverage values in a mask: none, partial and full.
struct Coverage {
    int none = 0;
    int partial = 0;
    int full = 0;
};

Coverage census(const TextMask& mask) {
    Coverage c;
    for (const std::uint8_t v : mask.coverage) {
        c.none += v == 0;
        c.partial += v != 0 && v != 255;
        c.full += v == 255;
    }
    return c;
}

class TextRender : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        std::string error;
        font_ = Font::open({"Arial", 13, true, false}, error);
        ASSERT_NE(font_, nullptr) << error;
    }
    std::shared_ptr<Font> font_;
};

TEST_P(TextRender, SmoothTextHasIntermediateCoverageAndPlainTextNone) {
    const bool smooth = GetParam();
    const TextMask mask = font_->render("Play Fruvana !", smooth);
    ASSERT_GT(mask.width, 0);
    EXPECT_EQ(mask.width, font_->measure("Play Fruvana !"));
    EXPECT_EQ(mask.height, font_->lineHeight());
    ASSERT_EQ(mask.coverage.size(), static_cast<std::size_t>(mask.width * mask.height));
    const Coverage c = census(mask);
    EXPECT_GT(c.none, 0);
    if (smooth) {
        EXPECT_GT(c.partial, 0);
    } else {
        EXPECT_EQ(c.partial, 0);
        EXPECT_GT(c.full, 0);
    }
}

TEST_P(TextRender, EmptyTextGivesAnEmptyMask) {
    for (std::string_view text : {std::string_view(), std::string_view("\0abc", 4)}) {
        const TextMask mask = font_->render(text, GetParam());
        EXPECT_EQ(mask.width, 0);
        EXPECT_TRUE(mask.coverage.empty());
    }
}

TEST_P(TextRender, BrokenUtf8StillDrawsOneLine) {
    const TextMask mask = font_->render("ok \xff\xfe\xc3", GetParam());
    EXPECT_EQ(mask.height, font_->lineHeight());
    EXPECT_GT(census(mask).none, 0);
}

INSTANTIATE_TEST_SUITE_P(Quality, TextRender, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Smooth" : "Plain"; });

struct BlendCase {
    const char* name;
    int x;
    int y;
    Rect clip;
    // Expected red channel of the 4 x 1 destination after drawing.
    std::array<int, 4> red;
    friend void PrintTo(const BlendCase& c, std::ostream* os) { *os << c.name; }
};

class TextBlend : public ::testing::TestWithParam<BlendCase> {};

// A 3 x 1 mask of coverage 0, 128 and 255, drawn in colour (250, 0, 10) over grey 100.
TEST_P(TextBlend, MixesTheColourByCoverageInsideTheClipOnly) {
    const BlendCase& c = GetParam();
    TextMask mask{3, 1, {0, 128, 255}};
    Picture dst(4, 1);
    dst.fill({100, 100, 100});
    drawText(mask, dst, c.x, c.y, {250, 0, 10}, c.clip);
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(dst.pixel(x, 0).r, c.red[static_cast<std::size_t>(x)]) << "column " << x;
    }
}

// (100 * 127 + 250 * 128 + 127) / 255 = 175; (100 * 127 + 0 * 128 + 127) / 255 = 50.
INSTANTIATE_TEST_SUITE_P(
    Cases, TextBlend,
    ::testing::Values(
        BlendCase{"Whole", 0, 0, {0, 0, 4, 1}, {100, 175, 250, 100}},
        BlendCase{"ShiftedRight", 1, 0, {0, 0, 4, 1}, {100, 100, 175, 250}},
        BlendCase{"ClippedToOneColumn", 0, 0, {2, 0, 1, 1}, {100, 100, 250, 100}},
        BlendCase{"HangingOffTheLeft", -1, 0, {0, 0, 4, 1}, {175, 250, 100, 100}},
        BlendCase{"HangingOffTheRight", 3, 0, {0, 0, 4, 1}, {100, 100, 100, 100}},
        BlendCase{"BelowThePicture", 0, 1, {0, 0, 4, 1}, {100, 100, 100, 100}},
        BlendCase{"EmptyClip", 0, 0, {0, 0, 0, 0}, {100, 100, 100, 100}},
        BlendCase{"FarAway",
                  INT_MAX,
                  INT_MIN,
                  {INT_MIN, INT_MIN, INT_MAX, INT_MAX},
                  {100, 100, 100, 100}},
        BlendCase{
            "HugeClip", 0, 0, {-1000000000, -1000000000, INT_MAX, INT_MAX}, {100, 175, 250, 100}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextBlend, OtherChannelsMixTheirOwnValues) {
    TextMask mask{1, 1, {128}};
    Picture dst(1, 1);
    dst.fill({100, 100, 100});
    drawText(mask, dst, 0, 0, {250, 0, 10}, dst.bounds());
    EXPECT_EQ(dst.pixel(0, 0), (Rgb{175, 50, 55}));
}

TEST(TextBlend, AMaskShorterThanItsSizeDrawsNothing) {
    TextMask mask{3, 2, {255, 255}};
    Picture dst(3, 2);
    drawText(mask, dst, 0, 0, {255, 255, 255}, dst.bounds());
    EXPECT_EQ(dst, Picture(3, 2));
}

}  // namespace
}  // namespace fruvana
