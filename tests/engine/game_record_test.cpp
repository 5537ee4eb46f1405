// What the recall keeps of a game, in each of the shapes a game can take, and how many it keeps.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/engine/recording_services.h"

namespace fruvana {
namespace {

using testing::TestMachine;
using H = HoldSource;

struct GameShape {
    const char* name;
    Options options;
    std::vector<Line> lines;  // what the reels stop on, deal by deal
    std::function<void(TestMachine&)> play;
    std::size_t recalled;
    // The newest game's record, when there is one.
    std::int32_t bet, paid;
    Money before, after;
    Line first, second;
    std::uint8_t firstClass, secondClass;
    std::array<HoldSource, 3> holds;
    bool secondDealt, unfinished;
};

class Recorded : public ::testing::TestWithParam<GameShape> {};

TEST_P(Recorded, AsItWasPlayed) {
    const GameShape& c = GetParam();
    TestMachine m;
    m.state.options = c.options;
    m.services.scriptedLines.assign(c.lines.begin(), c.lines.end());
    c.play(m);
    ASSERT_EQ(m.state.recall.size(), c.recalled);
    if (c.recalled == 0) return;
    const GameRecord& g = m.state.recall.front();
    EXPECT_EQ(g.startedAt, 1'800'000'000);
    EXPECT_EQ(g.bet, c.bet);
    EXPECT_EQ(g.before, c.before);
    EXPECT_EQ(g.firstLine, c.first);
    EXPECT_EQ(g.firstClass, c.firstClass);
    EXPECT_EQ(g.secondDealt, c.secondDealt);
    EXPECT_EQ(g.holds, c.holds);
    EXPECT_EQ(g.secondLine, c.second);
    EXPECT_EQ(g.secondClass, c.secondClass);
    EXPECT_EQ(g.paid, c.paid);
    EXPECT_EQ(g.after, c.after);
    EXPECT_EQ(g.unfinished, c.unfinished);
}

const Options kSecondDealOff{0, 0, 0, 1, 1};
const Options kSecondDealOn{0, 1, 0, 1, 1};
constexpr std::array<HoldSource, 3> kNone{};

void pull(TestMachine& m) {
    m.pull();
}
void pullTwice(TestMachine& m) {
    m.pull();
    m.pull();
}
// The suggested reel 2 let go, reel 3 held by the player, then the second deal.
void changeHoldsThenDeal(TestMachine& m) {
    m.pull();
    m.game.toggleHoldByKey(2);
    m.game.toggleHoldByKey(3);
    m.pull();
}
void pullThenQuit(TestMachine& m) {
    m.pull();
    m.game.quit(false);
}
void pullThenSwitchSecondDealOff(TestMachine& m) {
    m.game.openSettings();
    m.pull();
    m.state.options.secondDeal = 0;
    m.game.confirmSettings();
}
// A collect between the deals keeps the free second deal, which then deals on an empty credit.
void pullCollectThenDeal(TestMachine& m) {
    m.pull();
    m.game.pressButtonByKey(Button::Collect);
    m.game.releaseButton(Button::Collect);
    m.pull();
}
void pullWithTooLittleCredit(TestMachine& m) {
    m.state.credit = 4;
    m.pull();
}

INSTANTIATE_TEST_SUITE_P(
    Table, Recorded,
    ::testing::Values(
        GameShape{"FirstDealOnly",
                  kSecondDealOff,
                  {{2, 2, 2}},
                  pull,
                  1,
                  5,
                  1250,
                  Money{1000, 0, -1000},
                  Money{995, 1250, -1000},
                  {2, 2, 2},
                  {0, 0, 0},
                  2,
                  0,
                  kNone,
                  false,
                  false},
        // A first deal of three cherries, all reels held: the win is banked and a new game
        // starts, so the first one ends without a second deal.
        GameShape{"AllHeld",
                  kSecondDealOn,
                  {{9, 9, 9}, {3, 7, 2}},
                  pullTwice,
                  1,
                  5,
                  250,
                  Money{1000, 0, -1000},
                  Money{1245, 0, -1000},
                  {9, 9, 9},
                  {0, 0, 0},
                  5,
                  0,
                  {H::Suggested, H::Suggested, H::Suggested},
                  false,
                  false},
        GameShape{"SuggestedAndChosenHolds",
                  kSecondDealOn,
                  {{2, 2, 9}, {7, 1, 1}},
                  changeHoldsThenDeal,
                  1,
                  5,
                  0,
                  Money{1000, 0, -1000},
                  Money{995, 0, -1000},
                  {2, 2, 9},
                  {2, 1, 9},
                  12,
                  12,
                  {H::Suggested, H::NotHeld, H::Chosen},
                  true,
                  false},
        GameShape{"UnfinishedAtExit",
                  kSecondDealOn,
                  {{2, 2, 9}},
                  pullThenQuit,
                  1,
                  5,
                  0,
                  Money{1000, 0, -1000},
                  Money{995, 0, -1000},
                  {2, 2, 9},
                  {0, 0, 0},
                  12,
                  0,
                  kNone,
                  false,
                  true},
        // Second deal switched off on the settings screen while the second deal waited.
        GameShape{"SecondDealSwitchedOff",
                  kSecondDealOn,
                  {{1, 5, 6}},
                  pullThenSwitchSecondDealOff,
                  1,
                  5,
                  75,
                  Money{1000, 0, -1000},
                  Money{1070, 0, -1000},
                  {1, 5, 6},
                  {0, 0, 0},
                  7,
                  0,
                  kNone,
                  false,
                  false},
        // Two bars (25) collected, then the free second deal makes three bars (75): both paid.
        GameShape{"CollectedBetweenDeals",
                  kSecondDealOn,
                  {{1, 5, 9}, {1, 5, 6}},
                  pullCollectThenDeal,
                  1,
                  5,
                  100,
                  Money{1000, 0, -1000},
                  Money{0, 75, 20},
                  {1, 5, 9},
                  {1, 5, 6},
                  10,
                  7,
                  {H::Suggested, H::Suggested, H::NotHeld},
                  true,
                  false},
        GameShape{"RefusedPullRecordsNothing",
                  kSecondDealOff,
                  {},
                  pullWithTooLittleCredit,
                  0,
                  0,
                  0,
                  {},
                  {},
                  {},
                  {},
                  0,
                  0,
                  kNone,
                  false,
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Recall, KeepsTheNewestTenAndCountsTheSession) {
    TestMachine m;
    m.state.options = kSecondDealOff;
    m.game.startSession();
    for (int game = 1; game <= 11; ++game) {
        m.services.clock = game;
        m.services.scriptedLines = {{3, 7, 2}};
        m.pull();
        ASSERT_EQ(m.state.recall.size(), std::min(game, 10)) << game;
    }
    EXPECT_EQ(m.state.recall.front().startedAt, 11);  // newest first
    EXPECT_EQ(m.state.recall.back().startedAt, 2);    // the first game dropped out
    EXPECT_EQ(m.game.session().games, 11);
    EXPECT_EQ(m.game.session().moneyAtStart, 0);  // credit 1000, account -1000
    EXPECT_EQ(m.game.session().startedAt, 1'800'000'000);
    const auto calls = m.services.take();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "save recall"), 11);
    // The money starts afresh, and the session's net stays the eleven stakes lost.
    m.game.resetMoneyAndStatistics();
    EXPECT_EQ(m.state.credit + m.state.account - m.game.session().moneyAtStart, -55);
}

}  // namespace
}  // namespace fruvana
