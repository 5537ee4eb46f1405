#include "grid/align_grid.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "shell/statistics_table.h"

namespace fruvana {
namespace {

using enum CellAlign;

// The statistics table's colours as the settings screen shows them.
constexpr std::uint32_t kColor = 5517839;       // number cells
constexpr std::uint32_t kFixedColor = 4926734;  // header row and label column
constexpr std::uint32_t kOddRow = 5781009;      // numbers on odd rows
constexpr std::uint32_t kOddLabel = 5189904;    // row labels on odd rows
constexpr std::uint32_t kRed = 255;
constexpr std::uint32_t kOrange = 33023;

struct LookCase {
    int col, row;
    CellAlign align;
    std::uint32_t background, textColour;
};

class StatisticsLookup : public testing::TestWithParam<LookCase> {};

TEST_P(StatisticsLookup, FindsAlignmentBackgroundAndFont) {
    AlignGrid grid;
    setUpStatisticsTable(grid, 352, 141);
    const LookCase& c = GetParam();
    const CellLook look = grid.lookup(c.col, c.row);
    EXPECT_EQ(look.align, c.align);
    EXPECT_EQ(look.wordwrap, WordWrapMode::Clip);
    EXPECT_EQ(look.brush->colour(), c.background);
    EXPECT_EQ(look.font->colour(), c.textColour);
    EXPECT_TRUE(look.font->bold());
    EXPECT_EQ(look.font->height(), -11);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsScreen, StatisticsLookup,
    testing::Values(
        // Header row: "LINE" by its own entry, the others by the fixed-row entry.
        LookCase{0, 0, Left, kFixedColor, kRed}, LookCase{1, 0, Right, kFixedColor, kRed},
        LookCase{3, 0, Right, kFixedColor, kRed},
        // Row texts: left by the grid's default; the fixed-column font before the row font.
        LookCase{0, 1, Left, kOddLabel, kRed}, LookCase{0, 2, Left, kFixedColor, kRed},
        LookCase{0, 11, Left, kOddLabel, kRed}, LookCase{0, 12, Left, kFixedColor, kRed},
        // Numbers: right by the column entries, striped and orange by the row entries.
        LookCase{1, 1, Right, kOddRow, kOrange}, LookCase{2, 2, Right, kColor, kOrange},
        LookCase{3, 11, Right, kOddRow, kOrange}, LookCase{3, 12, Right, kColor, kOrange}));

struct TextCase {
    int col, row;
    const char* text;
};

class StatisticsTexts : public testing::TestWithParam<TextCase> {};

// Every class shows a different multiplier and different counts, so a value in the wrong
// column or one row off shows.
TEST_P(StatisticsTexts, ShowLabelsAndTheValuesOfTheirOwnClass) {
    AlignGrid grid;
    setUpStatisticsTable(grid, 10, 20);
    Statistics counts;
    PerClass<std::int32_t> multipliers;
    for (int r = 1; r <= 12; ++r) {
        multipliers.slots[static_cast<std::size_t>(r - 1)] = 10 * r;
        counts.firstDeal.onRow(r) = 100 + r;
        counts.secondDeal.onRow(r) = 200 + r;
    }
    showStatistics(grid, counts, multipliers);
    EXPECT_EQ(grid.bounds(), (Rect{10, 20, 406, 312}));
    EXPECT_EQ(grid.cellText(GetParam().col, GetParam().row), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    SettingsScreen, StatisticsTexts,
    testing::Values(TextCase{0, 0, "LINE"}, TextCase{1, 0, "( X )"}, TextCase{2, 0, "1st DEAL"},
                    TextCase{3, 0, "2nd DEAL"}, TextCase{0, 1, "three single bars"},
                    TextCase{0, 11, "any two fruits"}, TextCase{0, 12, "total deals"},
                    TextCase{1, 1, "10"}, TextCase{1, 11, "110"},
                    // The total of deals pays nothing, so its multiplier cell stays empty.
                    TextCase{1, 12, ""}, TextCase{2, 1, "101"}, TextCase{2, 12, "112"},
                    TextCase{3, 1, "201"}, TextCase{3, 12, "212"}));

TEST(AlignGridLookup, FixedCellsUseOnlyFixedStoresThenFixedFontAndBrush) {
    AlignGrid g;
    g.setAlignment(NotSet);  // counts as left
    g.setWordwrap(WordWrapMode::WrapNotSet);
    g.setColumnAlignment(0, Centre);
    g.setRowColour(0, 123);
    g.columnFont(0).setColour(77);
    EXPECT_EQ(g.lookup(0, 0).align, Left);
    EXPECT_EQ(g.lookup(0, 0).wordwrap, WordWrapMode::Clip);
    EXPECT_EQ(g.lookup(0, 0).brush->colour(), g.FixedColor());
    EXPECT_EQ(g.lookup(0, 0).font, &g.fixedFont());
    g.setFixedColumnAlignment(0, Centre);
    EXPECT_EQ(g.lookup(0, 3).align, Centre);
    EXPECT_EQ(g.lookup(1, 3).align, Left);
}

TEST(AlignGridLookup, NewFontsAndBrushesCopyTheGridsOwn) {
    AlignGrid g;
    g.font().assign({33023, -15, "Arial", FontPitch::Variable, kStyleItalic});
    g.setColor(4242);
    EXPECT_EQ(g.rowFont(3).values(), g.font().values());
    EXPECT_EQ(g.cellBrush(2, 2).colour(), 4242u);
    g.setColumnColour(1, 99);
    EXPECT_EQ(g.lookup(1, 2).brush->colour(), 99u);
    EXPECT_EQ(g.lookup(2, 3).font, g.stores().rowProps.at(3).font.get());
}

// Each operation the settings screen uses, and changes made through returned fonts, repaint.
using Operation = std::pair<const char*, std::function<void(AlignGrid&)>>;

class Repaints : public testing::TestWithParam<Operation> {};

TEST_P(Repaints, InvalidatesTheGrid) {
    AlignGrid g;
    setUpStatisticsTable(g, 352, 141);
    std::vector<Rect> asked;
    g.onInvalidate = [&asked](const Rect& r) { asked.push_back(r); };
    GetParam().second(g);
    ASSERT_FALSE(asked.empty());
    const bool oneCell = std::string_view(GetParam().first) == "Cells";
    EXPECT_EQ(asked.back(), oneCell ? g.cellRect(2, 5) : g.bounds());
}

INSTANTIATE_TEST_SUITE_P(
    Operations, Repaints,
    testing::Values(
        Operation{"Cells", [](AlignGrid& g) { g.setCellText(2, 5, "17"); }},
        Operation{"setCellAlignment", [](AlignGrid& g) { g.setCellAlignment(1, 1, Centre); }},
        Operation{"setColumnAlignment", [](AlignGrid& g) { g.setColumnAlignment(2, Left); }},
        Operation{"setFixedRowAlignment", [](AlignGrid& g) { g.setFixedRowAlignment(0, Left); }},
        Operation{"ColorCellSameAsBackground", [](AlignGrid& g) { g.setCellColour(2, 2, kColor); }},
        Operation{"setRowColour", [](AlignGrid& g) { g.setRowColour(2, 1); }},
        Operation{"fixedColumnFont", [](AlignGrid& g) { g.fixedColumnFont(0).setColour(1); }},
        Operation{"fixedRowFont", [](AlignGrid& g) { g.fixedRowFont(0).setStyle(0); }},
        Operation{"rowFont", [](AlignGrid& g) { g.rowFont(4).setColour(1); }},
        // Row 1's font came from the stored list, not from rowFont.
        Operation{"FontFromList", [](AlignGrid& g) { g.rowFont(1).setColour(7); }},
        Operation{"Flat", [](AlignGrid& g) { g.setFlat(false); }},
        Operation{"FixedColor", [](AlignGrid& g) { g.setFixedColor(1); }},
        Operation{"ReadList",
                  [](AlignGrid& g) {
                      (void)g.readPropertyList(PropertyLevel::Column, {2, 1, 2, 0});
                  }}),
    [](const auto& info) { return std::string(info.param.first); });

TEST(AlignGridCells, OutsideTheGridIsIgnored) {
    AlignGrid g;
    g.setColCount(2);
    g.setRowCount(2);
    int calls = 0;
    g.onInvalidate = [&calls](const Rect&) { ++calls; };
    for (auto [c, r] : {std::pair{-1, 0}, {0, -1}, {2, 0}, {0, 2}, {1 << 30, 1}}) {
        g.setCellText(c, r, "x");
        EXPECT_EQ(g.cellText(c, r), "") << c << "," << r;
    }
    EXPECT_EQ(calls, 0);
}

// Sizes and places far beyond any screen are clamped, so no cell edge overflows.
TEST(AlignGridShape, AbsurdValuesAreClampedAndPaintSafely) {
    AlignGrid g;
    g.setColCount(INT_MAX);
    g.setRowCount(INT_MAX);
    g.setDefaultColWidth(INT_MAX);
    g.setDefaultRowHeight(INT_MAX);
    g.setPlace(INT_MIN, INT_MIN);
    g.setColWidths(-1, 5);  // no such column
    EXPECT_EQ(g.colCount(), AlignGrid::kMaxCount);
    EXPECT_EQ(g.colWidth(AlignGrid::kMaxCount - 1), AlignGrid::kMaxExtent);
    const Rect last = g.cellRect(AlignGrid::kMaxCount - 1, AlignGrid::kMaxCount - 1);
    EXPECT_EQ(last.x + last.w,
              -AlignGrid::kMaxPlace + AlignGrid::kMaxCount * AlignGrid::kMaxExtent);
    g.setPlace(-AlignGrid::kMaxPlace + 8, 0);
    Picture p(64, 8);
    g.paint(p, p.bounds());
    EXPECT_EQ(p.pixel(2, 4), toRgb(g.FixedColor()));  // row 0 is fixed
}

}  // namespace
}  // namespace fruvana
