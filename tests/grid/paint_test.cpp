// Painting measured in pixels with the fonts the platform really finds: backgrounds, where the
// text's pixels fall, the inset clip and the word-wrap modes.

#include <gtest/gtest.h>

#include <tuple>

#include "grid/align_grid.h"
#include "shell/statistics_table.h"
#include "tests/grid/sample_statistics.h"
#include "tests/support/pictures.h"

namespace fruvana {
namespace {

using enum CellAlign;
using enum WordWrapMode;

constexpr Rgb kSentinel{1, 2, 3};
constexpr std::uint32_t kColor = 5517839;  // the statistics table's number cells
constexpr std::uint32_t kOrange = 33023;   // the statistics table's numbers
// The colours the table must show, as red, green, blue: written out here, not converted by the
// grid, so a colour given or read the wrong way round shows.
constexpr Rgb kNumberGround{15, 50, 84};  // kColor on the screen
constexpr Rgb kOddNumberGround{17, 54, 88};
constexpr Rgb kHeaderGround{14, 45, 75};
constexpr Rgb kOddLabelGround{16, 49, 79};
constexpr Rgb kRedText{255, 0, 0};
constexpr Rgb kOrangeText{255, 128, 0};  // kOrange on the screen

using grid_testing::sampleStatistics;

using testing::Ink;
using testing::inkIn;

Rect innerOf(const Rect& cell) {
    return {cell.x + 2, cell.y + 2, cell.w - 4, cell.h - 4};
}

bool inside(const Ink& ink, const Rect& r) {
    return ink.left >= r.x && ink.top >= r.y && ink.right < r.x + r.w && ink.bottom < r.y + r.h;
}

// ---- The statistics table -------------------------------------------------------------------

class StatisticsPaint : public ::testing::TestWithParam<int> {};

// Only the cell's background and its font colour appear: no lines between cells, no raised
// edges in the flat look, no focus rectangle; the text stays inside the 2-pixel inset. Odd
// rows of classes 1 to 11 are striped; headers and labels are red, the numbers orange.
TEST_P(StatisticsPaint, CellShowsOnlyItsBackgroundAndTextColour) {
    AlignGrid table;
    setUpStatisticsTable(table, 352, 141);
    showStatistics(table, sampleStatistics(7), kPaytableMultipliers);
    Picture screen(800, 600);
    table.paint(screen, screen.bounds());
    const int col = GetParam() % 4;
    const int row = GetParam() / 4;
    const bool striped = row % 2 == 1;
    const bool label = row == 0 || col == 0;
    const Rgb background = row == 0   ? kHeaderGround
                           : col == 0 ? (striped ? kOddLabelGround : kHeaderGround)
                                      : (striped ? kOddNumberGround : kNumberGround);
    const Rgb text = label ? kRedText : kOrangeText;
    const Rect cell = intersect(table.cellRect(col, row), table.bounds());
    for (int y = cell.y; y < cell.y + cell.h; ++y) {
        for (int x = cell.x; x < cell.x + cell.w; ++x) {
            const Rgb px = screen.pixel(x, y);
            ASSERT_TRUE(px == background || px == text) << x << "," << y;
        }
    }
    const Ink ink = inkIn(screen, cell, background);
    EXPECT_EQ(ink.any(), !table.cellText(col, row).empty());
    EXPECT_TRUE(!ink.any() || inside(ink, innerOf(table.cellRect(col, row))));
    EXPECT_EQ(table.fontError(), "");
}

INSTANTIATE_TEST_SUITE_P(AllCells, StatisticsPaint, ::testing::Range(0, 52));

TEST(StatisticsPaintClip, PaintsOnlyInsideTheClipAndTheGrid) {
    AlignGrid g;
    setUpStatisticsTable(g, 352, 141);
    showStatistics(g, sampleStatistics(3), kPaytableMultipliers);
    Picture whole(800, 600);
    g.paint(whole, whole.bounds());
    Picture pieces(800, 600);
    pieces.fill(kSentinel);
    g.paint(pieces, {500, 0, 300, 230});
    g.paint(pieces, {0, 0, 500, 230});
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const bool painted = x >= 352 && x < 758 && y >= 141 && y < 230;
            ASSERT_EQ(pieces.pixel(x, y), painted ? whole.pixel(x, y) : kSentinel) << x << "," << y;
        }
    }
}

// ---- One cell at a time ---------------------------------------------------------------------

// A 3 x 2 grid without fixed cells; the cell under test is (1, 1), 94 pixels wide.
class OneCell : public ::testing::Test {
  protected:
    void SetUp() override {
        grid.setColCount(3);
        grid.setRowCount(2);
        grid.setFixedCols(0);
        grid.setFixedRows(0);
        grid.setDefaultColWidth(94);
        grid.setPlace(10, 20);
        grid.setColor(kColor);
        grid.font().assign({kOrange, -11, "MS Sans Serif", FontPitch::Default, kStyleBold});
    }
    Ink paintCell(const std::string& text) {
        grid.setCellText(1, 1, text);
        picture = Picture(400, 200);
        picture.fill(kSentinel);
        grid.paint(picture, picture.bounds());
        return inkIn(picture, cell(), kNumberGround);
    }
    int lineHeight() {
        std::string error;
        const auto font = Font::open(toFontRequest(grid.font().values()), error);
        return font ? font->lineHeight() : 0;
    }
    Rect cell() const { return grid.cellRect(1, 1); }
    AlignGrid grid;
    Picture picture;
};

// Where the text's pixels must fall.
enum class Expect { Left, Right, Centred, CutRight, CutBelow, SeveralLines, EndsInDots };

struct TextCase {
    const char* name;
    CellAlign align;
    WordWrapMode mode;
    int fontHeight;
    const char* text;
    Expect expect;
};

class CellText : public OneCell, public ::testing::WithParamInterface<TextCase> {};

TEST_P(CellText, FallsWhereAlignmentClipAndModeSay) {
    const TextCase& c = GetParam();
    grid.setDefaultRowHeight(c.expect == Expect::CutBelow ? 24 : 60);  // 60: no centring
    grid.setColumnAlignment(1, c.align);
    grid.setWordwrap(c.mode);
    grid.font().setHeight(c.fontHeight);
    const Ink ink = paintCell(c.text);
    ASSERT_TRUE(ink.any());
    const Rect in = innerOf(cell());
    const int right = in.x + in.w - 1;
    EXPECT_TRUE(inside(ink, in));
    EXPECT_LE(ink.top, in.y + lineHeight() / 4 + 2);  // drawn from the top
    const int tall = ink.bottom - ink.top + 1;
    if (c.expect != Expect::SeveralLines && c.expect != Expect::CutBelow) {
        EXPECT_LE(tall, lineHeight());
    }
    switch (c.expect) {
        case Expect::Left:
            EXPECT_LE(ink.left, in.x + 2);
            break;
        case Expect::Right:
            EXPECT_GE(ink.right, right - 2);
            break;
        case Expect::Centred:
            EXPECT_NEAR(ink.left - in.x, right - ink.right, 3);
            break;
        case Expect::CutRight:
            EXPECT_GE(ink.right, right - 2);
            break;
        case Expect::CutBelow:
            EXPECT_GE(ink.bottom, in.y + in.h - 3);
            break;
        case Expect::SeveralLines:
            EXPECT_GT(tall, lineHeight() + 4);
            break;
        case Expect::EndsInDots: {
            // The last columns of ink: dots sit low and flat where a cut letter stands tall.
            const Ink tail = inkIn(picture, {ink.right - 1, in.y, 2, in.h}, kNumberGround);
            EXPECT_LE(tail.bottom - tail.top + 1, 3);
            break;
        }
    }
}

constexpr const char* kLong = "any three fruits and two bars";

INSTANTIATE_TEST_SUITE_P(
    Cells, CellText,
    ::testing::Values(
        TextCase{"Left", Left, Clip, -11, "1234", Expect::Left},
        TextCase{"Right", Right, Clip, -11, "2nd DEAL", Expect::Right},
        TextCase{"Centre", Centre, Clip, -11, "( X )", Expect::Centred},
        TextCase{"NoneCutAtInsetRight", Left, Clip, -11, kLong, Expect::CutRight},
        TextCase{"RightCutAtInsetLeft", Right, Clip, -11, kLong, Expect::Right},
        TextCase{"TallFontCutAtInsetBottom", Left, Clip, -40, kLong, Expect::CutBelow},
        TextCase{"WordwrapBreaks", Left, Wrap, -11, kLong, Expect::SeveralLines},
        TextCase{"EllipsisEndsInDots", Left, Ellipsis, -11, kLong, Expect::EndsInDots}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OneCell, AmpersandIsDrawnAsACharacter) {
    const Ink with = paintCell("R&D");
    const Ink without = paintCell("RD");
    EXPECT_GT(with.right - with.left, without.right - without.left + 4);
    EXPECT_EQ(with.bottom, without.bottom);  // no underlined letter either
}

TEST_F(OneCell, BrushStylesRaisedEdgesAndSpareRoom) {
    grid.setFixedCols(1);
    grid.cellBrush(2, 1).setStyle(kBrushClear);
    grid.setSize(400, 60);  // wider and higher than the cells
    paintCell("");
    const Rect fixed = grid.cellRect(0, 1);
    constexpr Rgb kDefaultFixedGround{192, 192, 192};
    // A raised frame: light along the top and left, shadow along the bottom and right.
    const int right = fixed.x + fixed.w - 1, bottom = fixed.y + fixed.h - 1;
    for (const auto& [x, y, look] : {std::tuple{fixed.x + 5, fixed.y, std::uint8_t{255}},
                                     {fixed.x, fixed.y + 5, std::uint8_t{255}},
                                     {fixed.x + 5, bottom, std::uint8_t{128}},
                                     {right, fixed.y + 5, std::uint8_t{128}}})
        EXPECT_EQ(picture.pixel(x, y), (Rgb{look, look, look})) << x << "," << y;
    EXPECT_EQ(picture.pixel(cell().x, cell().y), kNumberGround);
    EXPECT_EQ(picture.pixel(cell().x + 94, cell().y), kSentinel);  // the clear brush
    EXPECT_EQ(picture.pixel(10 + 3 * 94 + 5, 25), kNumberGround);  // beyond the last column
    grid.setFlat(true);
    grid.paint(picture, picture.bounds());
    EXPECT_EQ(picture.pixel(fixed.x, fixed.y), kDefaultFixedGround);
}

TEST_F(OneCell, MissingFontLeavesBackgroundAndSaysWhy) {
    EXPECT_TRUE(grid.openFonts());
    grid.font().setName("No Such Family Anywhere");
    EXPECT_FALSE(grid.openFonts());
    EXPECT_FALSE(paintCell("17").any());
    EXPECT_NE(grid.fontError().find("No Such Family Anywhere"), std::string::npos);
    EXPECT_EQ(picture.pixel(cell().x + 5, cell().y + 5), kNumberGround);
}

}  // namespace
}  // namespace fruvana
