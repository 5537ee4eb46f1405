#pragma once
// Counters of a long run, different in every cell of the statistics table: what the grid tests
// and the grid benchmark fill the table with.

#include "engine/machine_state.h"

namespace fruvana::grid_testing {

inline Statistics sampleStatistics(int seed) {
    Statistics counts;
    for (int r = 1; r <= 12; ++r) {
        counts.firstDeal.onRow(r) = seed * 131 * r % 100000;
        counts.secondDeal.onRow(r) = seed * 71 * r % 10000;
    }
    return counts;
}

}  // namespace fruvana::grid_testing
