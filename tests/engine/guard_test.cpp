// The guards of the deal cycle at their edges: a credit that exactly covers the bet, every
// class's verdict after a stale first-deal class, and Smart hold from one game to the next. Each
// case pins one comparison or flag that a one-character change would silently break.

#include <gtest/gtest.h>

#include "tests/engine/recording_services.h"
#include "tests/support/ledger.h"

namespace fruvana {
namespace {

using testing::TestMachine;

// ---- A credit that just covers the bet still deals, by lever and by autoplay ----

enum class Way : std::uint8_t { Lever, AutoplayTick };

struct CreditEdge {
    const char* name;
    Way way;
    std::int32_t credit, bet;
    bool autoBet;
    bool deals;
    std::int32_t creditAfter, betAfter;
};

class CreditEdges : public ::testing::TestWithParam<CreditEdge> {};

TEST_P(CreditEdges, DealOrRefuse) {
    const CreditEdge& c = GetParam();
    TestMachine m;
    m.state.options = Options{c.autoBet, 0, 0, 1, 1};
    m.state.credit = c.credit;
    m.state.bet = c.bet;
    m.services.scriptedLines = {{3, 7, 2}};  // no win, so the credit shows only the stake
    if (c.way == Way::Lever) {
        m.pull();
    } else {
        m.game.startAutoplay();
        m.game.autoplayTick();
    }
    EXPECT_EQ(m.services.spins, c.deals ? 1 : 0);
    EXPECT_EQ(m.state.credit, c.creditAfter);
    EXPECT_EQ(m.state.bet, c.betAfter);
    // Autoplay stops only when it cannot deal.
    if (c.way == Way::AutoplayTick) {
        EXPECT_EQ(m.game.autoplayOn(), c.deals);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CreditEdges,
    ::testing::Values(
        CreditEdge{"LeverWithTheBetExactly", Way::Lever, 5, 5, 0, true, 0, 5},
        CreditEdge{"TickWithTheBetExactly", Way::AutoplayTick, 10, 10, 0, true, 0, 10},
        CreditEdge{"TickOneShortEvenWithAutoBet", Way::AutoplayTick, 4, 5, 1, false, 4, 5},
        CreditEdge{"LeverOneShortWithAutoBetPlaysTheRest", Way::Lever, 1, 2, 1, true, 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Every class pays, lights its reels and speaks its verdict ----

struct ClassRow {
    Line line;
    int comboClass;
    std::array<LampLook, 3> lamps;
    const char* sound;  // "" for none
    const char* message;
};

class EveryClass : public ::testing::TestWithParam<ClassRow> {};

TEST_P(EveryClass, PaysLightsAndSpeaks) {
    const ClassRow& c = GetParam();
    ASSERT_EQ(codeOf(classifyLine(c.line)), c.comboClass);
    TestMachine m;
    m.state.options = Options{0, 0, 0, 1, 1};
    m.state.bet = 3;
    m.state.win = 77;  // an old win never adds to the new one
    // The same class left over from an earlier second deal: muted only in a second deal.
    m.state.firstDealClass = static_cast<ComboClass>(c.comboClass);
    m.state.reelSymbols = c.line;
    m.services.setMessage("DEAL");
    m.services.take();
    m.game.finishSpin();
    EXPECT_EQ(m.state.win, testing::ledger::pay(c.line) * 3);
    // With Second deal off the deal ends here in phase 1, counted as a first deal.
    EXPECT_EQ(m.state.phase, Phase::FirstDeal);
    DealCounts counts{.deals = 1};
    if (c.comboClass != 12) counts.wins[static_cast<ComboClass>(c.comboClass)] = 1;
    EXPECT_EQ(m.state.statistics.firstDeal, counts);
    EXPECT_EQ(m.state.statistics.secondDeal, DealCounts{});
    EXPECT_EQ(m.services.message, c.message);
    // In order: the stop, the win meter, the verdict heard and read, the lamps, one paint.
    std::vector<std::string> calls{"sound reels_stop", "delay 31", "still reels",
                                   "meter win " + std::to_string(m.state.win) + " 7"};
    if (*c.sound)
        calls.insert(calls.end(),
                     {"sound " + std::string(c.sound), "msg " + std::string(c.message)});
    for (std::size_t reel = 0; reel < 3; ++reel)
        calls.push_back("lamp " + std::to_string(reel + 1) + " " +
                        std::string(testing::lampName(c.lamps[reel])));
    calls.push_back("pump");
    EXPECT_EQ(m.services.take(), calls);
}

constexpr LampLook kOn = LampLook::Red;
constexpr LampLook kOff = LampLook::Blank;

INSTANTIATE_TEST_SUITE_P(
    Table, EveryClass,
    ::testing::Values(ClassRow{{1, 1, 1}, 1, {kOn, kOn, kOn}, "verdict_excellent", "Excellent !!!"},
                      ClassRow{{2, 2, 2}, 2, {kOn, kOn, kOn}, "verdict_excellent", "Excellent !!!"},
                      ClassRow{{3, 3, 3}, 3, {kOn, kOn, kOn}, "verdict_excellent", "Excellent !!!"},
                      ClassRow{{4, 4, 4}, 4, {kOn, kOn, kOn}, "verdict_excellent", "Excellent !!!"},
                      ClassRow{{9, 9, 9}, 5, {kOn, kOn, kOn}, "verdict_excellent", "Excellent !!!"},
                      ClassRow{
                          {10, 10, 10}, 6, {kOn, kOn, kOn}, "verdict_excellent", "Excellent !!!"},
                      ClassRow{{1, 5, 6}, 7, {kOn, kOn, kOn}, "verdict_good", "Good job !!"},
                      ClassRow{{7, 8, 3}, 8, {kOn, kOn, kOn}, "verdict_good", "Good job !!"},
                      ClassRow{{4, 9, 10}, 9, {kOn, kOn, kOn}, "verdict_good", "Good job !!"},
                      ClassRow{{2, 5, 1}, 10, {kOff, kOn, kOn}, "verdict_not_bad", "Not bad !"},
                      ClassRow{{9, 2, 10}, 11, {kOn, kOff, kOn}, "verdict_not_bad", "Not bad !"},
                      ClassRow{{3, 7, 2}, 12, {kOff, kOff, kOff}, "", "DEAL"}),
    [](const auto& info) { return "Class" + std::to_string(info.param.comboClass); });

// ---- Smart hold works in every game, not only the first ----

TEST(SmartHold, EveryFirstDealStartsWithTheSuggestionUntouched) {
    TestMachine m;
    m.state.options = Options{0, 1, 1, 1, 1};
    // Two games: a losing first deal that suggests reels 1 and 2, and a losing second deal.
    m.services.scriptedLines = {{2, 2, 9}, {3, 7, 0}, {2, 2, 9}};
    m.pull();
    ASSERT_EQ(m.state.held, (Holds{1, 1, 0}));
    for (int game = 1; game <= 2; ++game) {
        SCOPED_TRACE(game);
        ASSERT_EQ(m.state.phase, Phase::SecondDeal);
        ASSERT_EQ(m.state.held, (Holds{1, 1, 0}));
        // The first pick of a reel not held replaces the suggestion.
        m.game.pressHold(3);
        m.game.releaseHold(3);
        EXPECT_EQ(m.state.held, (Holds{0, 0, 1}));
        m.pull();  // the second deal
        ASSERT_EQ(m.state.phase, Phase::FirstDeal);
        if (game == 1) m.pull();  // the next game's first deal
    }
}

}  // namespace
}  // namespace fruvana
