#pragma once
// The statistics table as the settings screen builds it: shape, colours, the stored row list,
// the styling made once at creation, and every cell filled. Shared by the tests and the
// benchmark so both look at the same table.

#include <string>

#include "grid/align_grid.h"

namespace fruvana::grid_testing {

inline constexpr std::uint32_t kColor = 5517839;       // ordinary cells
inline constexpr std::uint32_t kFixedColor = 4926734;  // header cells
inline constexpr std::uint32_t kOddRow = 5781009;      // numbers on odd rows
inline constexpr std::uint32_t kOddLabel = 5189904;    // row texts on odd rows
inline constexpr std::uint32_t kRed = 255;
inline constexpr std::uint32_t kOrange = 33023;

inline void buildStatisticsTable(AlignGrid& g) {
    g.setColCount(4);
    g.setRowCount(13);
    g.setFixedCols(1);
    g.setFixedRows(1);
    const int widths[] = {125, 94, 94, 94};
    for (int c = 0; c < 4; ++c) g.setColWidths(c, widths[c]);
    g.setDefaultRowHeight(24);
    g.setPlace(352, 141);
    g.setSize(406, 312);
    g.setColor(kColor);
    g.setFixedColor(kFixedColor);
    g.Font().assign({kOrange, -11, "MS Sans Serif", FontPitch::Default, 0});
    (void)g.readPropertyList(PropList::PropRow,
                             {1, 6, 255, -11, std::string("MS Sans Serif"), 0, 317250561, 0});

    const char* labels[] = {"LINE",         "three single bars", "three bells",  "three yellow 7s",
                            "three grapes", "three cherries",    "three melons", "any three bars",
                            "any three 7s", "any three fruits",  "any two bars", "any two fruits",
                            "total deals"};
    g.setFlat(true);
    g.Cells(1, 0, "( X )");
    g.Cells(2, 0, "1st DEAL");
    g.Cells(3, 0, "2nd DEAL");
    for (int r = 0; r < 13; ++r) g.Cells(0, r, labels[r]);
    for (std::uint16_t c = 1; c <= 3; ++c) g.AlignCol(c, CellAlign::alRight);
    g.FixedAlignRow(0, CellAlign::alRight);
    g.AlignCell(0, 0, CellAlign::alLeft);
    for (std::uint16_t r = 1; r <= 11; r += 2) {
        g.ColorRow(r, kOddRow);
        g.ColorCell(0, r, kOddLabel);
    }
    for (CellFont* f : {&g.FontFixedCol(0), &g.FontFixedRow(0)}) {
        f->setColour(kRed);
        f->setStyle(kStyleBold);
    }
    for (std::uint16_t r = 1; r <= 12; ++r) {
        g.FontRow(r).setColour(kOrange);
        g.FontRow(r).setStyle(kStyleBold);
    }
}

// The numbers a first run shows, and some larger counters.
inline void fillStatisticsTable(AlignGrid& g, int seed) {
    const int multipliers[] = {500, 250, 100, 75, 50, 25, 15, 10, 7, 5, 2};
    for (int r = 1; r <= 11; ++r) g.Cells(1, r, std::to_string(multipliers[r - 1]));
    for (int r = 1; r <= 12; ++r) {
        g.Cells(2, r, std::to_string(seed * 131 * r % 100000));
        g.Cells(3, r, std::to_string(seed * 71 * r % 10000));
    }
}

}  // namespace fruvana::grid_testing
