#include "shell/statistics_table.h"

#include <array>
#include <cstddef>
#include <string>

#include "presentation/cabinet_layout.h"
#include "presentation/translation.h"
#include "shell/table_look.h"

namespace fruvana {

namespace {

namespace L = layout;

namespace T = table_look;

// Width in pixels of the label column and the three number columns.
constexpr std::array<int, 4> kColumnWidths{125, 94, 94, 94};
// The header row, the eleven paying classes and the total of deals.
constexpr int kTableRows = 13;
// Height in pixels of every row.
constexpr int kRowHeight = 24;
// Each winning kind of result has the row of its code (1 to 11, best-paid first); the count of
// every deal is on the row below the last of them.
constexpr int kLastPayingRow = codeOf(ComboClass::AnyTwoFruits);
constexpr int kLastCountRow = DealCounts::kRows;

}  // namespace

std::string setUpStatisticsTable(AlignGrid& g, int left, int top) {
    g.setColCount(4);
    g.setRowCount(kTableRows);
    g.setFixedCols(1);
    g.setFixedRows(1);
    for (int c = 0; c < 4; ++c) g.setColWidths(c, kColumnWidths[static_cast<std::size_t>(c)]);
    g.setDefaultRowHeight(kRowHeight);
    g.setPlace(left, top);
    g.setSize(L::kStatistics.w, L::kStatistics.h);
    g.setColor(T::kCellBackground);
    g.setFixedColor(T::kHeaderBackground);
    g.font().assign({T::kValueText, -11, std::string(kTableFamily), FontPitch::Default, 0});
    // The table's one stored group: the font of its rows, bold orange.
    const ListReadResult rowFonts = g.readPropertyList(
        PropertyLevel::Row, {1, 6, 255, -11, std::string(kTableFamily), 0, 317250561, 0});

    // The 3-D look off, the fixed texts, then the styling in its order.
    g.setFlat(true);
    g.setCellText(0, 0, tr("LINE"));
    g.setCellText(1, 0, "( X )");
    g.setCellText(2, 0, tr("1st DEAL"));
    g.setCellText(3, 0, tr("2nd DEAL"));
    for (int r = 1; r <= kLastCountRow; ++r) g.setCellText(0, r, tr(statisticsRowText(r)));
    for (std::uint16_t c = 1; c <= 3; ++c) g.setColumnAlignment(c, CellAlign::Right);
    g.setFixedRowAlignment(0, CellAlign::Right);
    g.setCellAlignment(0, 0, CellAlign::Left);
    for (std::uint16_t r = 1; r <= kLastPayingRow; r += 2) g.setRowColour(r, T::kOddRowBackground);
    for (std::uint16_t r = 1; r <= kLastPayingRow; r += 2)
        g.setCellColour(0, r, T::kOddLabelBackground);
    for (CellFont* f : {&g.fixedColumnFont(0), &g.fixedRowFont(0)}) {
        f->setColour(T::kHeaderText);
        f->setStyle(kStyleBold);
    }
    for (std::uint16_t r = 1; r <= kLastCountRow; ++r) {
        g.rowFont(r).setColour(T::kValueText);
        g.rowFont(r).setStyle(kStyleBold);
    }
    if (rowFonts) return {};
    return "the statistics table's row fonts are refused at " + std::to_string(rowFonts.position) +
           ": " + rowFonts.message;
}

void showStatistics(AlignGrid& grid, const Statistics& statistics,
                    const PerClass<std::int32_t>& multipliers) {
    for (int r = 1; r <= kLastPayingRow; ++r)
        grid.setCellText(1, r, std::to_string(multipliers[static_cast<ComboClass>(r)]));
    for (int r = 1; r <= kLastCountRow; ++r) {
        grid.setCellText(2, r, std::to_string(statistics.firstDeal.onRow(r)));
        grid.setCellText(3, r, std::to_string(statistics.secondDeal.onRow(r)));
    }
}

}  // namespace fruvana
