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
    // The newest game's record (see described), or "" when none is kept.
    const char* recorded;
};

// A record in one line: bet, money before (credit/win/account), the first deal's line and
// class, the holds, the second deal's, what was paid, the money after, and the flags.
std::string described(const GameRecord& g) {
    auto line = [](const Line& l, ComboClass c) {
        return std::to_string(l[0]) + "." + std::to_string(l[1]) + "." + std::to_string(l[2]) +
               " c" + std::to_string(codeOf(c));
    };
    auto money = [](const Money& m) {
        return std::to_string(m.credit) + "/" + std::to_string(m.win) + "/" +
               std::to_string(m.account);
    };
    std::string holds;
    for (const HoldSource h : g.holds)
        holds += h == H::Suggested ? 'S' : h == H::Chosen ? 'C' : '-';
    return "bet " + std::to_string(g.bet) + " from " + money(g.before) + " first " +
           line(g.firstLine, g.firstClass) + " holds " + holds + " second " +
           line(g.secondLine, g.secondClass) + " paid " + std::to_string(g.paid) + " to " +
           money(g.after) + (g.secondDealt ? " dealt" : "") + (g.collected ? " collected" : "") +
           (g.unfinished ? " unfinished" : "");
}

class Recorded : public ::testing::TestWithParam<GameShape> {};

TEST_P(Recorded, AsItWasPlayed) {
    const GameShape& c = GetParam();
    TestMachine m;
    m.state.options = c.options;
    m.services.scriptedLines.assign(c.lines.begin(), c.lines.end());
    c.play(m);
    ASSERT_EQ(m.state.recall.size(), *c.recorded ? 1u : 0u);
    if (m.state.recall.empty()) return;
    EXPECT_EQ(m.state.recall.front().startedAt, 1'800'000'000);
    EXPECT_EQ(described(m.state.recall.front()), c.recorded);
}

const Options kSecondDealOff{0, 0, 0, 1, 1};
const Options kSecondDealOn{0, 1, 0, 1, 1};

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
                  [](TestMachine& m) { m.pull(); },
                  "bet 5 from 1000/0/-1000 first 2.2.2 c2 holds --- second 0.0.0 c0 paid 1250 "
                  "to 995/1250/-1000"},
        // A first deal of three cherries, all reels held: the win is banked and a new game
        // starts, so the first one ends without a second deal.
        GameShape{"AllHeld",
                  kSecondDealOn,
                  {{9, 9, 9}, {3, 7, 2}},
                  pullTwice,
                  "bet 5 from 1000/0/-1000 first 9.9.9 c5 holds SSS second 0.0.0 c0 paid 250 to "
                  "1245/0/-1000"},
        GameShape{"SuggestedAndChosenHolds",
                  kSecondDealOn,
                  {{2, 2, 9}, {7, 1, 1}},
                  changeHoldsThenDeal,
                  "bet 5 from 1000/0/-1000 first 2.2.9 c12 holds S-C second 2.1.9 c12 paid 0 to "
                  "995/0/-1000 dealt"},
        GameShape{"UnfinishedAtExit",
                  kSecondDealOn,
                  {{2, 2, 9}},
                  pullThenQuit,
                  "bet 5 from 1000/0/-1000 first 2.2.9 c12 holds --- second 0.0.0 c0 paid 0 to "
                  "995/0/-1000 unfinished"},
        // Second deal switched off on the settings screen while the second deal waited.
        GameShape{"SecondDealSwitchedOff",
                  kSecondDealOn,
                  {{1, 5, 6}},
                  pullThenSwitchSecondDealOff,
                  "bet 5 from 1000/0/-1000 first 1.5.6 c7 holds --- second 0.0.0 c0 paid 75 to "
                  "1070/0/-1000"},
        // Two bars (25) collected, then the free second deal makes three bars (75): both paid.
        GameShape{"CollectedBetweenDeals",
                  kSecondDealOn,
                  {{1, 5, 9}, {1, 5, 6}},
                  pullCollectThenDeal,
                  "bet 5 from 1000/0/-1000 first 1.5.9 c10 holds SS- second 1.5.6 c7 paid 100 to "
                  "0/75/20 dealt collected"},
        GameShape{"RefusedPullRecordsNothing", kSecondDealOff, {}, pullWithTooLittleCredit, ""}),
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
