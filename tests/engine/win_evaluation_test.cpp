#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "tests/engine/recording_services.h"

namespace fruvana {
namespace {

using testing::TestMachine;
using enum ComboClass;
using Calls = std::vector<std::string>;

TEST(WinningReels, PairsAreTriedInOrderBarsBeforeFruits) {
    const struct {
        Line line;
        ComboClass comboClass;
        std::array<bool, 3> reels;
    } cases[] = {
        {{9, 10, 2}, AnyTwoFruits, {true, true, false}},
        {{2, 5, 1}, AnyTwoBars, {false, true, true}},
        {{1, 4, 6}, AnyTwoBars, {true, false, true}},
        {{4, 1, 5}, AnyTwoBars, {false, true, true}},
        {{1, 5, 9}, AnyTwoBars, {true, true, false}},
        {{9, 2, 4}, AnyTwoFruits, {true, false, true}},
        {{1, 5, 6}, AnyThreeBars, {true, true, true}},
        {{2, 2, 9}, NoWin, {false, false, false}},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(classifyLine(c.line), c.comboClass);
        EXPECT_EQ(winningReels(c.line, c.comboClass), c.reels)
            << int(c.line[0]) << "," << int(c.line[1]) << "," << int(c.line[2]);
    }
}

TEST(PrizeAtCurrentBet, MultiplierTimesBetAndADamagedOneLandsWhereThePrizeMeterRefusesIt) {
    constexpr std::int32_t kMost = std::numeric_limits<std::int32_t>::max();
    const struct {
        std::int32_t multiplier, bet, prize;
    } cases[] = {
        {500, 10, 5000},     // the largest pay at the highest bet
        {9999, 1, 9999},     // the most the meter shows
        {1001, 10, 10000},   // past it, where the meter refuses it
        {-3, 10, -1},        // below 0, likewise refused
        {kMost, 10, 10000},  // products that pass int32
        {-kMost, 10, -1},
    };
    for (const auto& c : cases) {
        MachineState state = freshMachineState();
        state.paytableMultipliers[ComboClass::ThreeBells] = c.multiplier;
        state.bet = c.bet;
        EXPECT_EQ(prizeAtCurrentBet(state, ComboClass::ThreeBells), c.prize)
            << c.multiplier << " x " << c.bet;
    }
}

class Evaluation : public ::testing::Test {
  protected:
    // A stopped line evaluated in the given phase, with the calls it made.
    Calls stop(const Line& line, Phase phase) {
        m.state.reelSymbols = line;
        m.state.phase = phase;
        m.services.take();
        m.game.finishSpin();
        // What the stop of the reels shows and sounds before the line is judged.
        Calls calls = m.services.take();
        const auto still = std::find(calls.begin(), calls.end(), "still reels");
        return Calls(still == calls.end() ? calls.begin() : still + 1, calls.end());
    }

    TestMachine m;
};

TEST_F(Evaluation, VoiceOffStillSetsTheText) {
    m.state.options.secondDeal = 0;
    m.state.options.voiceFx = 0;
    m.state.bet = 1;
    EXPECT_EQ(stop({9, 9, 9}, Phase::FirstDeal),
              (Calls{"meter win 50 7", "msg Excellent !!!", "lamp 1 red", "lamp 2 red",
                     "lamp 3 red", "pump"}));
}

TEST_F(Evaluation, SuggestedHoldsAfterALosingFirstDeal) {
    const struct {
        Line line;
        Holds held;
    } cases[] = {
        {{2, 2, 9}, {1, 1, 0}},  // equal symbols, on each pair of reels
        {{3, 2, 2}, {0, 1, 1}}, {{2, 9, 2}, {1, 0, 1}}, {{3, 3, 2}, {1, 1, 0}},
        {{7, 2, 7}, {1, 0, 1}}, {{2, 7, 7}, {0, 1, 1}}, {{7, 4, 8}, {1, 0, 1}},  // sevens
        {{2, 7, 3}, {0, 1, 1}}, {{7, 8, 1}, {1, 1, 0}}, {{7, 8, 2}, {1, 1, 0}},
        {{9, 2, 5}, {0, 0, 1}},                          // a bar, when nothing else
        {{1, 2, 7}, {1, 0, 0}}, {{4, 2, 7}, {0, 0, 0}},  // nothing to suggest
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << int(c.line[0]) << "," << int(c.line[1]) << "," << int(c.line[2]));
        ASSERT_EQ(classifyLine(c.line), NoWin);
        m.state.options.secondDeal = 1;
        m.state.held = {1, 1, 1};  // last deal's marks are cleared first
        m.services.setMessage("1st  DEAL");
        Calls expected{"meter win 0 7"};
        for (int reel = 1; reel <= 3; ++reel)
            expected.push_back("lamp " + std::to_string(reel) +
                               (c.held[static_cast<std::size_t>(reel - 1)] ? " red" : " blank"));
        expected.push_back("pump");
        EXPECT_EQ(stop(c.line, Phase::FirstDeal), expected);
        EXPECT_EQ(m.state.held, c.held);
        EXPECT_EQ(m.state.phase, Phase::SecondDeal);
        EXPECT_EQ(m.state.firstDealClass, NoWin);
        EXPECT_EQ(m.services.message, "1st  DEAL");
    }
}

TEST_F(Evaluation, WinningFirstDealMarksItsReelsAndSuggestsNothingMore) {
    m.state.options.secondDeal = 1;
    m.state.bet = 2;
    EXPECT_EQ(stop({1, 5, 7}, Phase::FirstDeal),
              (Calls{"meter win 10 7", "sound verdict_not_bad", "msg Not bad !", "lamp 1 red",
                     "lamp 2 red", "lamp 3 blank", "pump"}));
    EXPECT_EQ(m.state.held, (Holds{1, 1, 0}));
    EXPECT_EQ(m.state.firstDealClass, AnyTwoBars);
    EXPECT_EQ(m.state.phase, Phase::SecondDeal);
}

TEST_F(Evaluation, SecondDealVerdicts) {
    const struct {
        ComboClass firstClass;
        Line line;
        Calls calls;
    } cases[] = {
        // The same kind of result again: no voice, no text, the pair lit green.
        {AnyTwoBars,
         {1, 5, 2},
         {"meter win 10 7", "lamp 1 green", "lamp 2 green", "lamp 3 blank", "pump"}},
        // A better result replaces the first one.
        {AnyTwoBars,
         {1, 5, 6},
         {"meter win 30 7", "sound verdict_good", "msg Good job !!", "lamp 1 green", "lamp 2 green",
          "lamp 3 green", "pump"}},
        // A poorer one too, with its own verdict.
        {AnyThreeSevens,
         {9, 10, 2},
         {"meter win 4 7", "sound verdict_not_bad", "msg Not bad !", "lamp 1 green", "lamp 2 green",
          "lamp 3 blank", "pump"}},
        {NoWin,
         {2, 2, 7},
         {"meter win 0 7", "lamp 1 blank", "lamp 2 blank", "lamp 3 blank", "pump"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(codeOf(c.firstClass));
        m.state.options.secondDeal = 1;
        m.state.bet = 2;
        m.state.win = 999;
        m.state.firstDealClass = c.firstClass;
        m.state.statistics = {};
        m.services.setMessage("2nd  DEAL");
        EXPECT_EQ(stop(c.line, Phase::SecondDeal), c.calls);
        EXPECT_EQ(m.state.phase, Phase::FirstDeal);
        EXPECT_EQ(m.state.statistics.firstDeal, DealCounts{});
        EXPECT_EQ(m.state.statistics.secondDeal.deals, 1);
        if (c.calls.size() == 5) {
            EXPECT_EQ(m.services.message, "2nd  DEAL");
        }
    }
}

TEST_F(Evaluation, CountersStopAtTheTopOfTheirRange) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    m.state.statistics.firstDeal.deals = kMax;
    m.state.statistics.firstDeal.wins[AnyTwoFruits] = kMax - 1;
    m.state.phase = Phase::FirstDeal;
    m.game.countResult(AnyTwoFruits);
    m.game.countResult(AnyTwoFruits);
    EXPECT_EQ(m.state.statistics.firstDeal.deals, kMax);
    EXPECT_EQ(m.state.statistics.firstDeal.wins[AnyTwoFruits], kMax);
}

}  // namespace
}  // namespace fruvana
