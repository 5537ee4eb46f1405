// Painting the statistics table: the full paint of all 52 cells when the settings screen opens,
// and the same after the numbers of a visit have been put in.

#include <benchmark/benchmark.h>

#include "grid/align_grid.h"
#include "presentation/cabinet_layout.h"
#include "shell/statistics_table.h"
#include "tests/grid/sample_statistics.h"

namespace fruvana {
namespace {

using grid_testing::sampleStatistics;

// The table where the settings screen puts it in a window of the cabinet's size.
void setUpTable(AlignGrid& grid) {
    setUpStatisticsTable(grid, layout::kStatisticsAt.x, layout::kStatisticsAt.y);
}

void BM_PaintStatisticsTable(benchmark::State& state) {
    AlignGrid grid;
    setUpTable(grid);
    showStatistics(grid, sampleStatistics(7), kPaytableMultipliers);
    Picture window(800, 600);
    grid.openFonts();  // beforehand, so only the painting is measured
    for (auto _ : state) {
        grid.paint(window, grid.bounds());
        benchmark::DoNotOptimize(window.data());
    }
    state.SetItemsProcessed(state.iterations() * 52);
}
BENCHMARK(BM_PaintStatisticsTable)->Unit(benchmark::kMicrosecond);

// What a showing does to the table: new numbers in 35 cells, then the whole table painted.
void BM_FillAndPaintStatisticsTable(benchmark::State& state) {
    AlignGrid grid;
    setUpTable(grid);
    Picture window(800, 600);
    grid.openFonts();
    int seed = 1;
    for (auto _ : state) {
        showStatistics(grid, sampleStatistics(++seed), kPaytableMultipliers);
        grid.paint(window, grid.bounds());
        benchmark::DoNotOptimize(window.data());
    }
}
BENCHMARK(BM_FillAndPaintStatisticsTable)->Unit(benchmark::kMicrosecond);

// The very first paint when the fonts were not opened beforehand: the grid finds them.
void BM_FirstPaintWithFontLookup(benchmark::State& state) {
    Picture window(800, 600);
    for (auto _ : state) {
        AlignGrid grid;
        setUpTable(grid);
        showStatistics(grid, sampleStatistics(7), kPaytableMultipliers);
        grid.paint(window, grid.bounds());
        benchmark::DoNotOptimize(window.data());
    }
}
BENCHMARK(BM_FirstPaintWithFontLookup)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace fruvana
