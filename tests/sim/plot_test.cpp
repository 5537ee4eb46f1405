#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include "tests/sim/sim_run.h"
#include "tests/support/files.h"
#include "tools/sim/plot_image.h"
#include "tools/sim/plot_series.h"
#include "tools/sim/simulator.h"

#ifdef FRUVANA_SIM_PLOT
#include <cairo.h>
#endif

namespace fruvana::sim {
namespace {

// Credit + win + account after each pull, read back from a trace.
std::vector<std::int64_t> moneyFromTrace(const std::string& trace) {
    const auto field = [](const std::string& line, const std::string& name) {
        const std::size_t at = line.find(" " + name + "=");
        return std::stoll(line.substr(at + name.size() + 2));
    };
    std::vector<std::int64_t> money;
    const auto lines = linesOf(trace);
    for (std::size_t n = 1; n < lines.size(); ++n)
        money.push_back(field(lines[n], "win") + field(lines[n], "credit") +
                        field(lines[n], "account"));
    return money;
}

struct Recorded {
    SimOptions options;
    SimResult result;
    PlotSeries series;
    std::string trace;
};

Recorded record(const std::vector<std::string>& args, int columns) {
    const auto options = optionsFor(args);
    EXPECT_TRUE(options.has_value());
    Recorded r;
    r.options = *options;
    PlotRecorder recorder(plotReference(r.options.secondDeal), columns);
    std::ostringstream trace;
    r.result = runSimulation(r.options, *r.options.seed, &trace, &recorder);
    r.series = recorder.series();
    r.trace = trace.str();
    return r;
}

// Runs thinned to a few columns must keep every pull's extremes and its last value, whatever
// the run did: coins, credit overflow moves, refusals, Auto bet.
struct ThinningCase {
    std::vector<std::string> args;
    int columns;
};

class PlotThinning : public ::testing::TestWithParam<ThinningCase> {};

TEST_P(PlotThinning, ColumnsHoldWhatEveryPullDid) {
    const ThinningCase& c = GetParam();
    const Recorded r = record(c.args, c.columns);
    const std::vector<std::int64_t> money = moneyFromTrace(r.trace);
    const PlotSeries& s = r.series;
    ASSERT_EQ(static_cast<std::int64_t>(money.size()), r.result.pulls);
    EXPECT_EQ(s.pulls, r.result.pulls);
    EXPECT_EQ(s.startMoney, std::int64_t{r.options.credit} + r.options.account);
    ASSERT_LE(s.columns.size(), static_cast<std::size_t>(c.columns));
    if (s.pulls > 2 * std::int64_t{c.columns}) {
        EXPECT_GT(s.columns.size(), static_cast<std::size_t>(c.columns / 2));
    }

    std::int64_t next = 1, coins = 0, moves = 0;
    for (const PlotColumn& col : s.columns) {
        ASSERT_EQ(col.firstPull, next) << "columns leave no gaps";
        ASSERT_GE(col.lastPull, col.firstPull);
        const auto first = money.begin() + (col.firstPull - 1);
        const auto last = money.begin() + col.lastPull;
        EXPECT_EQ(col.moneyLow, *std::min_element(first, last)) << col.firstPull;
        EXPECT_EQ(col.moneyHigh, *std::max_element(first, last)) << col.firstPull;
        EXPECT_EQ(col.moneyLast, *(last - 1)) << col.firstPull;
        EXPECT_LE(col.returnLow, col.returnLast);
        EXPECT_GE(col.returnHigh, col.returnLast);
        coins += col.coins;
        moves += col.overflowMoves;
        next = col.lastPull + 1;
    }
    EXPECT_EQ(next - 1, s.pulls);
    EXPECT_EQ(coins, r.result.coinsInserted);
    EXPECT_EQ(moves, r.result.overflowMoves);
    EXPECT_EQ(s.coins, coins);
    EXPECT_EQ(s.overflowMoves, moves);
    // Only a run without pulls has no columns, and nothing staked.
    ASSERT_EQ(s.columns.empty(), s.pulls == 0);
    ASSERT_EQ(r.result.staked > 0, s.pulls > 0);
    if (s.pulls > 0) {
        EXPECT_DOUBLE_EQ(s.columns.back().returnLast, static_cast<double>(r.result.returned) /
                                                          static_cast<double>(r.result.staked));
    }

    // The class counts are the run's own statistics; no win counts the deals that paid nothing.
    const auto check = [](const ClassTally& t, const DealCounts& stats, std::int64_t deals) {
        EXPECT_EQ(t.deals, deals);
        EXPECT_EQ(stats.deals, deals);
        std::int64_t wins = 0;
        double expected = 0;
        for (const ComboClass k : kEveryClass) {
            expected += t.expected[k];
            if (k == ComboClass::NoWin) continue;
            EXPECT_EQ(t.observed[k], stats.wins[k]) << "class " << codeOf(k);
            wins += stats.wins[k];
        }
        EXPECT_EQ(t.observed[ComboClass::NoWin], deals - wins);
        EXPECT_NEAR(expected, static_cast<double>(deals), 1e-6 * static_cast<double>(deals));
    };
    check(s.firstDeals, r.result.statistics.firstDeal, r.result.firstDeals);
    check(s.secondDeals, r.result.statistics.secondDeal, r.result.secondDeals);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlotThinning,
    ::testing::Values(
        // Many halvings, an odd number of columns, and more columns than pulls.
        ThinningCase{{"--seed", "11", "--pulls", "3000"}, 7},
        ThinningCase{{"--seed", "11", "--pulls", "3000"}, 64},
        ThinningCase{{"--seed", "12", "--pulls", "40"}, 100},
        ThinningCase{{"--seed", "13", "--pulls", "0"}, 10},
        // Coins from an empty machine, and Auto bet spending a small credit until refused.
        ThinningCase{{"--seed", "6", "--credit", "0", "--account", "0", "--coins", "--pulls", "900",
                      "--second-deal", "off"},
                     9},
        ThinningCase{{"--seed", "7", "--credit", "7", "--bet", "10", "--auto-bet", "on",
                      "--second-deal", "off", "--pulls", "400"},
                     5},
        // A credit at the top of its range moves every banked win's excess into the account.
        ThinningCase{{"--seed", "8", "--credit", "9999999", "--bet", "10", "--pulls", "500"}, 16}));

// The par line follows the par sheet's figure for the state each game began in.
TEST(PlotPar, SecondDealOffIsTheFirstDealAlone) {
    const Recorded r = record({"--seed", "4", "--pulls", "2000", "--second-deal", "off"}, 50);
    const FirstDealFigures f = firstDealFigures(kOtherwiseMix);
    const double par = static_cast<double>(f.returnToPlayer) / 10000.0;
    for (const PlotColumn& col : r.series.columns) {
        EXPECT_NEAR(col.par, par, 1e-12);
        // Every pull stakes the same bet: the band narrows as one over the root of the pulls.
        EXPECT_NEAR(
            col.band,
            kBandQuantile * f.standardDeviation / std::sqrt(static_cast<double>(col.lastPull)),
            1e-9);
    }
    for (const ComboClass k : kEveryClass) {
        EXPECT_NEAR(r.series.firstDeals.expected[k],
                    2000.0 * static_cast<double>(f.probability[k]) / 10000.0, 1e-6);
    }
    EXPECT_EQ(r.series.secondDeals.deals, 0);
}

TEST(PlotPar, AheadThroughoutIsTheAheadWholeGame) {
    const Recorded r = record({"--seed", "777", "--pulls", "1500", "--account", "1000000"}, 40);
    const double par = wholeGameFigures(true).suggestedHolds.returnToPlayer;
    for (const PlotColumn& col : r.series.columns) EXPECT_NEAR(col.par, par, 1e-12);
}

// Long runs: the counted classes of first and second deals lie in the plot's 99.9 % ranges,
// ahead and far from it.
class PlotCountRanges : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(PlotCountRanges, CountsInsideTheirRanges) {
    std::vector<std::string> args{"--pulls", std::to_string(kLongRun)};
    args.insert(args.end(), GetParam().begin(), GetParam().end());
    const Recorded r = record(args, kPlotColumns);
    ASSERT_FALSE(r.result.refused);
    for (const ClassTally* t : {&r.series.firstDeals, &r.series.secondDeals}) {
        ASSERT_GT(t->deals, kLongRun / 3);
        for (const ComboClass k : kEveryClass) {
            EXPECT_GE(t->observed[k], t->range[k].lo) << "class " << codeOf(k);
            EXPECT_LE(t->observed[k], t->range[k].hi) << "class " << codeOf(k);
            EXPECT_LE(static_cast<double>(t->range[k].lo), t->expected[k]);
            EXPECT_GE(static_cast<double>(t->range[k].hi), t->expected[k]);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlotCountRanges,
    ::testing::Values(std::vector<std::string>{"--seed", "31", "--account", "1000000"},
                      std::vector<std::string>{"--seed", "32", "--account", "-1000000"}));

struct KindCase {
    std::string path;
    ImageKind kind;
};

void PrintTo(const KindCase& c, std::ostream* os) {
    *os << '"' << c.path << '"';
}

class PlotImageKind : public ::testing::TestWithParam<KindCase> {};

TEST_P(PlotImageKind, ByTheEndOfTheName) {
    EXPECT_EQ(imageKindFor(GetParam().path), GetParam().kind);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlotImageKind,
    ::testing::Values(KindCase{"run.png", ImageKind::Png}, KindCase{"RUN.PNG", ImageKind::Png},
                      KindCase{".png", ImageKind::Png}, KindCase{"run.svg", ImageKind::Svg},
                      KindCase{"run.png.svg", ImageKind::Svg}, KindCase{"png", ImageKind::Svg},
                      KindCase{"run", ImageKind::Svg}));

// A path that cannot take the picture fails at once: exit 1, a reason, and nothing dealt.
class PlotBadPath : public ::testing::TestWithParam<std::string> {};

TEST_P(PlotBadPath, ExitsWithOneAndSaysWhy) {
    const CommandRun run = runSim({"--seed", "1", "--pulls", "5", "--plot", GetParam()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("cannot write the plot to '" + GetParam() + "': "), std::string::npos)
        << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.out, "");
}

INSTANTIATE_TEST_SUITE_P(Table, PlotBadPath,
                         ::testing::Values("", "/nonexistent-folder/run.png", ::testing::TempDir(),
                                           "/proc/version.svg"));

#ifdef FRUVANA_SIM_PLOT

// A disk that fills up while the picture is written: the run is summed up, the failure named,
// exit 1, and the device the path names is left alone.
TEST(PlotFullDisk, ExitsWithOneAndLeavesTheDevice) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    const CommandRun run = runSim({"--seed", "1", "--pulls", "5", "--plot", "/dev/full"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("amount returned"), std::string::npos);
    EXPECT_NE(run.err.find("cannot write the plot to '/dev/full': "), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

class PlotPicture : public ::testing::TestWithParam<KindCase> {};

TEST_P(PlotPicture, OpensAndIsTheSameForTheSameRun) {
    const KindCase& c = GetParam();
    const fruvana::testing::ScratchFolder folder;
    const std::filesystem::path path = folder.path / c.path;
    const std::vector<std::string> args{"--seed",  "5",      "--pulls",    "700",
                                        "--coins", "--plot", path.string()};
    const CommandRun run = runSim(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("amount returned"), std::string::npos);  // the summary as ever
    const fruvana::testing::Bytes bytes = fruvana::testing::readFile(path);

    if (c.kind == ImageKind::Png) {
        cairo_surface_t* image = cairo_image_surface_create_from_png(path.c_str());
        ASSERT_EQ(cairo_surface_status(image), CAIRO_STATUS_SUCCESS);
        EXPECT_EQ(cairo_image_surface_get_width(image), kPlotWidth);
        EXPECT_EQ(cairo_image_surface_get_height(image), kPlotHeight);
        // Something was drawn on the white page.
        cairo_surface_flush(image);
        const unsigned char* data = cairo_image_surface_get_data(image);
        const int stride = cairo_image_surface_get_stride(image);
        std::int64_t inked = 0;
        for (int y = 0; y < kPlotHeight; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(
                data + static_cast<std::ptrdiff_t>(y) * stride);
            for (int x = 0; x < kPlotWidth; ++x) inked += (row[x] & 0xFFFFFFu) != 0xFFFFFFu;
        }
        EXPECT_GT(inked, kPlotWidth * kPlotHeight / 50);
        cairo_surface_destroy(image);
    } else {
        const std::string svg(bytes.begin(), bytes.end());
        EXPECT_EQ(svg.rfind("<?xml version=\"1.0\"", 0), 0u);
        EXPECT_NE(svg.find("<svg "), std::string::npos);
        EXPECT_NE(svg.find("width=\"1200px\" height=\"900px\""), std::string::npos);
        EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
    }

    // Drawn again in the same program, the same run gives the same bytes; another run does not.
    ASSERT_EQ(runSim(args).exitCode, 0);
    EXPECT_TRUE(fruvana::testing::readFile(path) == bytes);
    std::vector<std::string> other = args;
    other[1] = "6";
    ASSERT_EQ(runSim(other).exitCode, 0);
    EXPECT_FALSE(fruvana::testing::readFile(path) == bytes);
}

INSTANTIATE_TEST_SUITE_P(Table, PlotPicture,
                         ::testing::Values(KindCase{"run.png", ImageKind::Png},
                                           KindCase{"run.PNG", ImageKind::Png},
                                           KindCase{"run.svg", ImageKind::Svg},
                                           KindCase{"run", ImageKind::Svg}));

#endif

}  // namespace
}  // namespace fruvana::sim
