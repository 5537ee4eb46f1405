// What the engine tells an observer about each pull and result: stake, bank, overflow, the
// reason for a refusal, the win and whether the game is over.

#include <gtest/gtest.h>

#include "tests/engine/recording_services.h"

namespace fruvana {
namespace {

using testing::TestMachine;
using Why = PullReport::Refusal;

struct Reports : PlayObserver {
    void pulled(const PullReport& p) override { pulls.push_back(p); }
    void evaluated(const ResultReport& r) override { results.push_back(r); }
    std::vector<PullReport> pulls;
    std::vector<ResultReport> results;
};

struct PullCase {
    const char* name;
    std::uint8_t secondDeal;
    std::int32_t credit, win, account;
    std::vector<Line> lines;  // what the reels stop on, pull by pull
    // The last pull's report and, when it dealt, its result.
    Why refused;
    bool firstDeal;
    std::int32_t stake, banked, movedToAccount;
    int comboClass;
    std::int32_t pays;
    bool gameOver;
};

class Observed : public ::testing::TestWithParam<PullCase> {};

TEST_P(Observed, TheLastPull) {
    const PullCase& c = GetParam();
    TestMachine m;
    Reports seen;
    m.game.observe(&seen);
    m.state.options.secondDeal = c.secondDeal;
    m.state.credit = c.credit;
    m.state.win = c.win;
    m.state.account = c.account;
    m.services.scriptedLines.assign(c.lines.begin(), c.lines.end());
    for (std::size_t pull = 0; pull < std::max<std::size_t>(c.lines.size(), 1); ++pull) m.pull();
    ASSERT_FALSE(seen.pulls.empty());
    const PullReport& p = seen.pulls.back();
    EXPECT_EQ(p.refused, c.refused);
    EXPECT_EQ(p.firstDeal, c.firstDeal);
    EXPECT_EQ(p.stake, c.stake);
    EXPECT_EQ(p.banked, c.banked);
    EXPECT_EQ(p.movedToAccount, c.movedToAccount);
    ASSERT_EQ(seen.results.size(), c.refused == Why::None ? c.lines.size() : 0u);
    if (seen.results.empty()) return;
    EXPECT_EQ(seen.results.back().comboClass, c.comboClass);
    EXPECT_EQ(seen.results.back().win, c.pays);
    EXPECT_EQ(seen.results.back().gameOver, c.gameOver);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Observed,
    ::testing::Values(
        // Bet 5 throughout. Three bells pay 250 x 5; two bars 5 x 5; three bars 15 x 5.
        PullCase{
            "OneDeal", 0, 1000, 0, -1000, {{2, 2, 2}}, Why::None, true, 5, 0, 0, 2, 1250, true},
        PullCase{"BanksPastTheCreditsLimit",
                 0,
                 9'999'990,
                 40,
                 0,
                 {{3, 7, 2}},
                 Why::None,
                 true,
                 5,
                 40,
                 30,
                 12,
                 0,
                 true},
        PullCase{"FirstDealWaitsForItsSecond",
                 1,
                 1000,
                 0,
                 0,
                 {{1, 5, 9}},
                 Why::None,
                 true,
                 5,
                 0,
                 0,
                 10,
                 25,
                 false},
        PullCase{
            "AllHeldIsOver", 1, 1000, 0, 0, {{2, 2, 2}}, Why::None, true, 5, 0, 0, 2, 1250, true},
        PullCase{"SecondDealIsFree",
                 1,
                 1000,
                 0,
                 0,
                 {{1, 5, 9}, {1, 5, 6}},
                 Why::None,
                 false,
                 0,
                 0,
                 0,
                 7,
                 75,
                 true},
        PullCase{"ShortOfCredit", 0, 4, 0, 0, {}, Why::ShortOfCredit, false, 0, 0, 0, 0, 0, false},
        // The win's part past the credit's limit has nowhere to go.
        PullCase{"AccountFull",
                 0,
                 9'999'999,
                 10,
                 99'999'999,
                 {},
                 Why::WinPending,
                 false,
                 0,
                 0,
                 0,
                 0,
                 0,
                 false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fruvana
