// The label as the cabinet uses it: a layer of a scene over a picture, painted by the scene.
#include "presentation/components/text_line.h"

#include <gtest/gtest.h>

#include <functional>

namespace fruvana {
namespace {

constexpr Rgb kOrange{201, 78, 22};
constexpr Rect kWindow{0, 0, 300, 60};
constexpr Rect kLabelArea{40, 10, 220, 29};
const FontRequest kArialBold{"Arial", 13, true, false};
// A colour and a size the label changes to: red 250 as the background below requires.
constexpr Rgb kYellow{250, 250, 0};
const FontRequest kArialLarger{"Arial", 20, true};

// A background that differs from pixel to pixel, with red at most 69 so that the text colours
// used here (red 201 and 250) change at least the red channel even at the faintest coverage.
Picture patterned(int width, int height) {
    Picture p(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            p.setPixel(
                x, y,
                {static_cast<std::uint8_t>(x * 7 % 70), static_cast<std::uint8_t>(206 + y * 5 % 49),
                 static_cast<std::uint8_t>(150 + (x + y) % 100)});
        }
    }
    return p;
}

// Columns and rows of the window where the painted frame differs from the background.
struct Ink {
    int left = -1;
    int right = -1;  // inclusive
    int top = -1;
    int bottom = -1;  // inclusive
    int pixels = 0;
    int outsideLabel = 0;
    int blended = 0;  // changed pixels that are neither background nor the text colour
};

class LabelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        auto back = std::make_unique<PictureLayer>("back", kWindow);
        back->setPicture(patterned(kWindow.w, kWindow.h));
        scene.add(std::move(back));
        std::string error;
        auto made = TextLine::create("message_line", kLabelArea, kArialBold, kOrange, error);
        ASSERT_NE(made, nullptr) << error;
        label = made.get();
        scene.add(std::move(made));
        scene.paint(frame);
    }

    Ink ink() {
        scene.paint(frame);
        const Picture back = patterned(kWindow.w, kWindow.h);
        Ink k;
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                const Rgb now = frame.pixel(x, y);
                if (now == back.pixel(x, y)) continue;
                ++k.pixels;
                if (now != label->colour()) ++k.blended;
                const bool inside = x >= kLabelArea.x && x < kLabelArea.x + kLabelArea.w &&
                                    y >= kLabelArea.y && y < kLabelArea.y + kLabelArea.h;
                if (!inside) ++k.outsideLabel;
                k.left = k.left < 0 ? x : std::min(k.left, x);
                k.right = std::max(k.right, x);
                k.top = k.top < 0 ? y : std::min(k.top, y);
                k.bottom = std::max(k.bottom, y);
            }
        }
        return k;
    }

    // Pixels with some coverage in the platform's own rendition of the label's text.
    int coveredPixels() const {
        std::string error;
        const auto font = Font::open(label->font(), error);
        const TextMask mask = font->render(label->caption(), label->antialiased());
        int n = 0;
        for (std::uint8_t v : mask.coverage) n += v != 0;
        return n;
    }

    Scene scene;
    Picture frame{kWindow.w, kWindow.h};
    TextLine* label = nullptr;
};

TEST_F(LabelTest, AnEmptyLabelPaintsNothingAndRendersNothing) {
    EXPECT_EQ(ink().pixels, 0);
    EXPECT_EQ(label->renderCount(), 0u);
    EXPECT_TRUE(label->antialiased());
    EXPECT_EQ(label->alignment(), TextLine::Align::Centre);
}

TEST(TextLine, AMissingFontIsOneLineOfReasonNotALabel) {
    std::string error;
    const auto made =
        TextLine::create("message_line", kLabelArea, {"Fruvana No Such Face", 13}, kOrange, error);
    EXPECT_EQ(made, nullptr);
    EXPECT_NE(error.find("Fruvana No Such Face"), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
}

TEST_F(LabelTest, AFontThatCannotBeFoundKeepsTheOldOne) {
    label->setCaption("Play Fruvana !");
    std::string error;
    EXPECT_FALSE(label->setFont({"Fruvana No Such Face", 13}, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(label->font(), kArialBold);
    EXPECT_GT(ink().pixels, 0);
}

// Quality: whether the label draws smoothed edges, and that only glyph pixels change.
struct QualityCase {
    const char* name;
    bool antialiased;
    std::function<void(TextLine&)> then;  // a change that must keep the quality

    friend void PrintTo(const QualityCase& c, std::ostream* os) { *os << c.name; }
};

class LabelQuality : public LabelTest, public ::testing::WithParamInterface<QualityCase> {};

TEST_P(LabelQuality, SmoothTextBlendsEdgesPlainTextDoesNotAndTheRestShowsThrough) {
    const QualityCase& c = GetParam();
    label->setCaption("Excellent !!!");
    label->setAntialiased(c.antialiased);
    ink();
    c.then(*label);
    const Ink k = ink();
    ASSERT_GT(k.pixels, 0);
    if (c.antialiased) {
        EXPECT_GT(k.blended, 0);
    } else {
        EXPECT_EQ(k.blended, 0);
    }
    // Exactly the glyphs' pixels change: no painted background, nothing beyond the label.
    EXPECT_EQ(k.pixels, coveredPixels());
    EXPECT_EQ(k.outsideLabel, 0);
}

std::string lookupError;  // reasons from the font changes inside the tables
INSTANTIATE_TEST_SUITE_P(
    Cases, LabelQuality,
    ::testing::Values(
        QualityCase{"Smooth", true, [](TextLine&) {}},
        QualityCase{"Plain", false, [](TextLine&) {}},
        QualityCase{"SmoothAfterColour", true, [](TextLine& l) { l.setColour(kYellow); }},
        QualityCase{"PlainAfterColour", false, [](TextLine& l) { l.setColour(kYellow); }},
        QualityCase{"SmoothAfterSize", true,
                    [](TextLine& l) { EXPECT_TRUE(l.setFont(kArialLarger, lookupError)); }},
        QualityCase{"PlainAfterSize", false,
                    [](TextLine& l) { EXPECT_TRUE(l.setFont(kArialLarger, lookupError)); }},
        QualityCase{"PlainThenSmoothAgain", true,
                    [](TextLine& l) {
                        l.setAntialiased(false);
                        l.setAntialiased(true);
                    }}),
    [](const auto& info) { return std::string(info.param.name); });

// Placement: drawn from the top, aligned across the label, cut off at its edges.
struct PlaceCase {
    const char* name;
    const char* caption;
    TextLine::Align align;
    friend void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }
};

class LabelPlacement : public LabelTest, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(LabelPlacement, TextSitsAtTheTopAlignedAndInsideTheLabel) {
    const PlaceCase& c = GetParam();
    label->setAlignment(c.align);
    label->setCaption(c.caption);
    const Ink k = ink();
    ASSERT_GT(k.pixels, 0);
    EXPECT_EQ(k.outsideLabel, 0);
    std::string error;
    const auto font = Font::open(kArialBold, error);
    // From the top: the ink lies in the first line's height, not further down the label.
    EXPECT_LT(k.top, kLabelArea.y + 5);
    EXPECT_LT(k.bottom, kLabelArea.y + font->lineHeight());
    const int leftMargin = k.left - kLabelArea.x;
    const int rightMargin = kLabelArea.x + kLabelArea.w - 1 - k.right;
    switch (c.align) {
        case TextLine::Align::Centre:
            EXPECT_LE(std::abs(leftMargin - rightMargin), 1);
            break;
        case TextLine::Align::Left:
            EXPECT_LE(leftMargin, 1);
            break;
        case TextLine::Align::Right:
            EXPECT_LE(rightMargin, 1);
            break;
    }
}

constexpr const char* kTooWide =
    "Far too much text for one message line of the cabinet, far too much text";

INSTANTIATE_TEST_SUITE_P(
    Cases, LabelPlacement,
    ::testing::Values(PlaceCase{"CentredDeal", "1st  DEAL", TextLine::Align::Centre},
                      PlaceCase{"CentredWelcome", "Play Fruvana !", TextLine::Align::Centre},
                      PlaceCase{"CentredOneLetter", "I", TextLine::Align::Centre},
                      PlaceCase{"CentredTooWide", kTooWide, TextLine::Align::Centre},
                      PlaceCase{"Right", "123456", TextLine::Align::Right},
                      PlaceCase{"Left", "Auto play ON", TextLine::Align::Left}),
    [](const auto& info) { return std::string(info.param.name); });

// Work: what each change renders and which part of the window it repaints.
struct WorkCase {
    const char* name;
    std::function<void(TextLine&)> change;
    std::size_t renders;  // text renderings the change costs, once painted
    bool repaints;        // the label's rectangle, and only it, is repainted

    friend void PrintTo(const WorkCase& c, std::ostream* os) { *os << c.name; }
};

class LabelWork : public LabelTest, public ::testing::WithParamInterface<WorkCase> {};

TEST_P(LabelWork, RendersOnlyWhenTheGlyphsChangeAndRepaintsOnlyItself) {
    const WorkCase& c = GetParam();
    label->setCaption("Play Fruvana !");
    ink();
    const std::size_t before = label->renderCount();
    ASSERT_EQ(before, 1u);
    c.change(*label);
    const std::vector<Rect> painted = scene.paint(frame);
    EXPECT_EQ(label->renderCount() - before, c.renders);
    if (c.repaints) {
        EXPECT_EQ(painted, std::vector<Rect>{kLabelArea});
    } else {
        EXPECT_TRUE(painted.empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LabelWork,
    ::testing::Values(
        WorkCase{"NewCaption", [](TextLine& l) { l.setCaption("1st  DEAL"); }, 1, true},
        WorkCase{"SameCaption", [](TextLine& l) { l.setCaption("Play Fruvana !"); }, 0, false},
        WorkCase{"EmptyCaption", [](TextLine& l) { l.setCaption(""); }, 0, true},
        WorkCase{"TwoCaptionsBeforeAPaint",
                 [](TextLine& l) {
                     l.setCaption("1st  DEAL");
                     l.setCaption("2nd  DEAL");
                 },
                 1, true},
        WorkCase{"SameQuality", [](TextLine& l) { l.setAntialiased(true); }, 0, false},
        WorkCase{"OtherQuality", [](TextLine& l) { l.setAntialiased(false); }, 1, true},
        WorkCase{"NewColour", [](TextLine& l) { l.setColour(kYellow); }, 0, true},
        WorkCase{"SameColour", [](TextLine& l) { l.setColour(kOrange); }, 0, false},
        WorkCase{"NewAlignment", [](TextLine& l) { l.setAlignment(TextLine::Align::Right); }, 0,
                 true},
        WorkCase{"SameFont", [](TextLine& l) { EXPECT_TRUE(l.setFont(kArialBold, lookupError)); },
                 0, false},
        WorkCase{"NewFontSize",
                 [](TextLine& l) {
                     EXPECT_TRUE(l.setFont({"Arial", 14, true}, lookupError));
                 },
                 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fruvana
