#pragma once
// The statistics table of the settings screen: its shape, colours, fonts and fixed texts, and
// the numbers it shows. The settings screen, the grid tests and the grid benchmark all build
// the table through these two functions, so they look at one and the same table.

#include <cstdint>
#include <string>

#include "engine/machine_state.h"
#include "engine/symbols.h"
#include "grid/align_grid.h"

namespace fruvana {

// Styles an empty grid as the statistics table with its top left corner at (left, top) in
// window pixels: 4 columns and 13 rows, the header row and the label column fixed, the row
// labels and column headers written, the number cells left empty. Empty when all of it
// took, else why the table's stored row fonts were refused.
std::string setUpStatisticsTable(AlignGrid& grid, int left, int top);

// Writes the pay multipliers of classes 1 to 11 into column 1 and the first and second deal
// counts of classes 1 to 12 into columns 2 and 3. Row 12's multiplier cell stays as it was:
// the total of deals pays nothing.
void showStatistics(AlignGrid& grid, const Statistics& statistics,
                    const PerClass<std::int32_t>& multipliers);

}  // namespace fruvana
