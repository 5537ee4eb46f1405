// What the engine tells an observer about each pull and result: stake, bank, overflow, the
// reason for a refusal, the win and whether the game is over.

#include <gtest/gtest.h>

#include "tests/engine/recording_services.h"

namespace fruvana {
namespace {

using testing::TestMachine;
using Why = PullReport::Refusal;
using enum ComboClass;

struct Reports : PlayObserver {
    void pulled(const PullReport& p) override { pulls.push_back(p); }
    void evaluated(const ResultReport& r) override { results.push_back(r); }
    std::vector<PullReport> pulls;
    std::vector<ResultReport> results;
};

struct PullCase {
    const char* name;
    bool secondDeal;
    Money money;
    std::vector<Line> lines;  // what the reels stop on, pull by pull
    // The last pull's report and, when it dealt, its result.
    PullReport pull;
    ResultReport result;
};

class Observed : public ::testing::TestWithParam<PullCase> {};

TEST_P(Observed, TheLastPull) {
    const PullCase& c = GetParam();
    TestMachine m;
    Reports seen;
    m.game.observe(&seen);
    m.state.options.secondDeal = c.secondDeal;
    m.state.credit = c.money.credit;
    m.state.win = c.money.win;
    m.state.account = c.money.account;
    m.services.scriptedLines.assign(c.lines.begin(), c.lines.end());
    for (std::size_t pull = 0; pull < std::max<std::size_t>(c.lines.size(), 1); ++pull) m.pull();
    ASSERT_FALSE(seen.pulls.empty());
    EXPECT_EQ(seen.pulls.back(), c.pull);
    ASSERT_EQ(seen.results.size(), c.lines.size());
    if (!seen.results.empty()) {
        EXPECT_EQ(seen.results.back(), c.result);
    }
}

// Bet 5 throughout: three bells pay 250 x 5, two bars 5 x 5, three bars 15 x 5.
INSTANTIATE_TEST_SUITE_P(
    Table, Observed,
    ::testing::Values(
        PullCase{"OneDeal",
                 0,
                 {1000, 0, -1000},
                 {{2, 2, 2}},
                 {Why::None, true, 5},
                 {ThreeBells, 1250, true}},
        PullCase{"BanksPastTheCreditsLimit",
                 0,
                 {9'999'990, 40, 0},
                 {{3, 7, 2}},
                 {Why::None, true, 5, 40, 31},
                 {NoWin, 0, true}},
        PullCase{"WaitsForItsSecondDeal",
                 1,
                 {1000, 0, 0},
                 {{1, 5, 9}},
                 {Why::None, true, 5},
                 {AnyTwoBars, 25, false}},
        PullCase{"AllHeldIsOver",
                 1,
                 {1000, 0, 0},
                 {{2, 2, 2}},
                 {Why::None, true, 5},
                 {ThreeBells, 1250, true}},
        PullCase{"SecondDealIsFree",
                 1,
                 {1000, 0, 0},
                 {{1, 5, 9}, {1, 5, 6}},
                 {},
                 {AnyThreeBars, 75, true}},
        PullCase{"ShortOfCredit", 0, {4, 0, 0}, {}, {Why::ShortOfCredit}, {}},
        // The part of the win past the credit's limit has nowhere to go.
        PullCase{"AccountFull", 0, {9'999'999, 10, 99'999'999}, {}, {Why::WinPending}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fruvana
