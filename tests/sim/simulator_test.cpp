#include "tools/sim/simulator.h"

#include <gtest/gtest.h>

#include <sstream>

#include "tests/sim/sim_run.h"
#include "tools/sim/par_sheet.h"

namespace fruvana::sim {
namespace {

// Seed 1 from start-up: the seeds and reels are the published start-up chain, and pull 1 is the
// worked first deal (not ahead: stingy table, 6099 candidates, pick 334, line 7,8,1). The rest
// follows the rules: sevens on reels 1 and 2 are suggested for holding; the second deal turns
// reel 3 only; the stake of 5 comes off at every first deal and a pending win goes on first
// (990 + 50 - 5 = 1035); no win on 6,9,2 suggests the bar on reel 1; a bar pair on reels 1 and 3
// pays 5 x 5 and stays held; a win of class 1 to 9 holds all three.
TEST(Trace, SeedOnePinned) {
    const CommandRun run = runSim({"--seed", "1", "--pulls", "12", "--trace"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(
        run.out,
        "seed=1 kl=941 ij=26950 reels=2,10,3\n"
        "1 1st table=S cand=6099 pick=334 line=7,8,1 class=12 win=0 credit=995 account=-1000 "
        "held=110\n"
        "2 2nd table=- cand=- pick=- line=7,8,2 class=12 win=0 credit=995 account=-1000 held=000\n"
        "3 1st table=S cand=4074 pick=209 line=7,7,3 class=8 win=50 credit=990 account=-1000 "
        "held=111\n"
        "4 1st table=G cand=20029 pick=470 line=6,9,2 class=12 win=0 credit=1035 account=-1000 "
        "held=100\n"
        "5 2nd table=- cand=- pick=- line=6,4,6 class=10 win=25 credit=1035 account=-1000 "
        "held=101\n"
        "6 1st table=S cand=5334 pick=748 line=6,2,7 class=12 win=0 credit=1055 account=-1000 "
        "held=100\n"
        "7 2nd table=- cand=- pick=- line=6,2,3 class=12 win=0 credit=1055 account=-1000 held=000\n"
        "8 1st table=G cand=29273 pick=136 line=9,5,6 class=10 win=25 credit=1050 account=-1000 "
        "held=011\n"
        "9 2nd table=- cand=- pick=- line=1,5,6 class=7 win=75 credit=1050 account=-1000 held=111\n"
        "10 1st table=G cand=32122 pick=559 line=3,9,3 class=12 win=0 credit=1120 account=-1000 "
        "held=101\n"
        "11 2nd table=- cand=- pick=- line=3,10,3 class=12 win=0 credit=1120 account=-1000 "
        "held=000\n"
        "12 1st table=G cand=13483 pick=85 line=9,2,4 class=11 win=10 credit=1115 account=-1000 "
        "held=101\n");
}

TEST(Trace, SeedZeroStartUp) {
    // kl 0, ij 982, reels 8, 7, 5: the published chain from seed 0.
    const CommandRun run = runSim({"--seed", "0", "--pulls", "0", "--trace"});
    EXPECT_EQ(run.out, "seed=0 kl=0 ij=982 reels=8,7,5\n");
}

TEST(Trace, SeedZeroAutoBetPlaysWhatIsLeft) {
    // Credit 3 at bet 5: Auto bet stakes 3 (credit 0), three sevens pay 10 x 3 and mark all
    // reels; the bet stays 3, so the next pull banks 30 and stakes 3 (27); two fruits pay 2 x 3.
    const CommandRun run = runSim({"--seed", "0", "--credit", "3", "--auto-bet", "on",
                                   "--second-deal", "off", "--pulls", "3", "--trace"});
    EXPECT_EQ(run.out,
              "seed=0 kl=0 ij=982 reels=8,7,5\n"
              "1 1st table=G cand=20954 pick=891 line=7,3,3 class=8 win=30 credit=0 account=-1000 "
              "held=111\n"
              "2 1st table=S cand=6868 pick=624 line=3,4,7 class=12 win=0 credit=27 account=-1000 "
              "held=000\n"
              "3 1st table=G cand=17737 pick=867 line=10,4,6 class=11 win=6 credit=24 "
              "account=-1000 held=110\n");
}

TEST(Trace, SeedZeroCoinFirst) {
    // Credit 0 with coins: a coin (credit 1000, account -2000), then the stake of 5. The same
    // first deal as above now pays 10 x 5 and holds all three, so pull 2 banks it (1045 - 5);
    // sevens on reels 1 and 3 are suggested and the second deal turns reel 2 only.
    const CommandRun run =
        runSim({"--seed", "0", "--credit", "0", "--coins", "--pulls", "3", "--trace"});
    EXPECT_EQ(run.out,
              "seed=0 kl=0 ij=982 reels=8,7,5\n"
              "1 1st table=G cand=20954 pick=891 line=7,3,3 class=8 win=50 credit=995 "
              "account=-2000 held=111\n"
              "2 1st table=S cand=6868 pick=624 line=3,4,7 class=12 win=0 credit=1040 "
              "account=-2000 held=101\n"
              "3 2nd table=- cand=- pick=- line=3,4,7 class=12 win=0 credit=1040 account=-2000 "
              "held=000\n");
}

TEST(Trace, SecondDealOffDealsAfreshEveryPull) {
    // Same seed, Second deal off: the first pull is the same worked deal, paid or not at once,
    // and the winning reels are only marked.
    const CommandRun run =
        runSim({"--seed", "1", "--pulls", "200", "--trace", "--second-deal", "off"});
    const auto lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 201u);
    EXPECT_EQ(lines[1],
              "1 1st table=S cand=6099 pick=334 line=7,8,1 class=12 win=0 credit=995 account=-1000 "
              "held=000");
    for (std::size_t n = 1; n < lines.size(); ++n) {
        EXPECT_NE(lines[n].find(" 1st table="), std::string::npos) << lines[n];
        EXPECT_EQ(lines[n].find("table=-"), std::string::npos) << lines[n];
    }
}

// The books of a run balance: what the credit and win gained is what came in minus what went
// out, and the account only pays for coins and takes what a win moved past the credit's limit.
struct MoneyCase {
    std::vector<std::string> args;
    bool expectRefusal;
    bool expectMove;
    bool expectWinPending = false;  // refused because the account cannot take a win's excess
};

class MoneyIdentity : public ::testing::TestWithParam<MoneyCase> {};

TEST_P(MoneyIdentity, Balances) {
    const MoneyCase& c = GetParam();
    const auto options = optionsFor(c.args);
    ASSERT_TRUE(options.has_value());
    const SimOptions& o = *options;
    const SimResult r = runSimulation(o, *o.seed, nullptr);

    EXPECT_EQ(r.refused, c.expectRefusal);
    EXPECT_EQ(r.overflowMoves > 0, c.expectMove);
    EXPECT_EQ(r.refusedWinPending, c.expectWinPending);
    if (c.expectWinPending) {
        EXPECT_GT(r.win, 0);
    }
    if (!r.refused) {
        EXPECT_EQ(r.pulls, o.pulls);
    }
    EXPECT_EQ(r.firstDeals + r.secondDeals, r.pulls);
    EXPECT_EQ(r.statistics.firstDeal.deals, r.firstDeals);
    EXPECT_EQ(r.statistics.secondDeal.deals, r.secondDeals);
    if (!o.secondDeal) {
        EXPECT_EQ(r.secondDeals, 0);
    }
    if (!o.autoBet) {
        EXPECT_EQ(r.staked, r.firstDeals * o.bet);
    } else {
        EXPECT_LT(r.staked, r.firstDeals * o.bet);
    }

    const std::int64_t coins = r.coinsInserted * 1000;
    EXPECT_EQ(std::int64_t{r.credit} + r.win,
              std::int64_t{o.credit} + coins - r.staked + r.returned - r.movedToAccount);
    EXPECT_EQ(std::int64_t{r.account}, std::int64_t{o.account} - coins + r.movedToAccount);
    EXPECT_LE(r.credit, 9'999'999);
    EXPECT_EQ(r.movedToAccount > 0, r.overflowMoves > 0);

    // The summary prints the same books.
    std::ostringstream summary;
    writeSummary(summary, r, false);
    EXPECT_NE(summary.str().find("amount returned"), std::string::npos);
    EXPECT_NE(summary.str().find(std::to_string(r.returned)), std::string::npos);
    if (c.expectWinPending) {
        EXPECT_NE(summary.str().find("the account cannot take"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, MoneyIdentity,
    ::testing::Values(
        MoneyCase{{"--seed", "3", "--pulls", "600"}, false, false},
        MoneyCase{
            {"--seed", "4", "--pulls", "600", "--second-deal", "off", "--bet", "10"}, false, false},
        // Credit 3 at bet 5 and no coins: the first pull is refused.
        MoneyCase{{"--seed", "5", "--credit", "3"}, true, false},
        // Credit 0 with coins: a coin goes in first and the run plays on.
        MoneyCase{{"--seed", "6", "--credit", "0", "--pulls", "300", "--coins"}, false, false},
        // Auto bet plays what is left of a credit of 7 at bet 10, and stops when nothing is.
        MoneyCase{{"--seed", "7", "--credit", "7", "--bet", "10", "--auto-bet", "on",
                   "--second-deal", "off", "--pulls", "400"},
                  true,
                  false},
        // A credit at the top of its range moves the rest of every banked win into the account.
        MoneyCase{
            {"--seed", "8", "--credit", "9999999", "--bet", "10", "--pulls", "300"}, false, true},
        // With the account at its own limit too, the first win that would overflow stays
        // pending and the pull after it is refused.
        MoneyCase{{"--seed", "8", "--credit", "9999999", "--account", "99999999", "--bet", "10",
                   "--pulls", "300"},
                  true,
                  false,
                  true}));

// The observed first-deal classes of a long seeded run lie in the par sheet's 99.9 % ranges.
struct FrequencyCase {
    std::vector<std::string> args;
    TableMix mix;
};

class FirstDealFrequencies : public ::testing::TestWithParam<FrequencyCase> {};

TEST_P(FirstDealFrequencies, InsideTheParSheetRanges) {
    const FrequencyCase& c = GetParam();
    std::vector<std::string> args{"--pulls", std::to_string(kLongRun)};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto options = optionsFor(args);
    ASSERT_TRUE(options.has_value());
    const SimResult r = runSimulation(*options, *options->seed, nullptr);
    ASSERT_FALSE(r.refused);

    const FirstDealFigures f = firstDealFigures(c.mix);
    const DealCounts& counts = r.statistics.firstDeal;
    std::int64_t wins = 0;
    for (const ComboClass k : kEveryClass) {
        std::int64_t observed = counts.wins[k];
        if (k == ComboClass::NoWin)
            observed = r.firstDeals - wins;
        else
            wins += observed;
        const CountRange range = binomialRange(
            r.firstDeals, static_cast<double>(f.probability[k]) / 10000.0, kRangeLevel);
        EXPECT_GE(observed, range.lo) << "class " << codeOf(k);
        EXPECT_LE(observed, range.hi) << "class " << codeOf(k);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FirstDealFrequencies,
    ::testing::Values(
        // Second deal off: every pull is a first deal, 6 in 10 stingy whatever the money.
        FrequencyCase{{"--seed", "20240601", "--second-deal", "off"}, kOtherwiseMix},
        // Second deal on and far ahead from the start: 9 in 10 stingy.
        FrequencyCase{{"--seed", "777", "--account", "1000000"}, kAheadMix}));

}  // namespace
}  // namespace fruvana::sim
