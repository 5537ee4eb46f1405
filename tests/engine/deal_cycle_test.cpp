#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "tests/engine/recording_services.h"

namespace fruvana {
namespace {

using testing::TestMachine;
using Calls = std::vector<std::string>;

// The calls of a release once it has decided to deal a first deal, up to the spin.
Calls firstDealTail() {
    return {"lamp 1 blank", "lamp 2 blank",         "lamp 3 blank", "pump", "msg 1st  DEAL",
            "pump",         "sound spin_from_left", "strips",       "spin"};
}

// A lever pull by mouse up to the release's decision, then the calls given.
Calls pulled(const Calls& rest) {
    Calls calls{"lever down", "sound lever_pull", "delay 2", "lever rest", "delay 2"};
    calls.insert(calls.end(), rest.begin(), rest.end());
    return calls;
}

Calls concat(Calls a, const Calls& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The calls up to and including the spin, leaving out what the stop of the reels adds.
Calls untilSpin(const Calls& calls) {
    const auto spin = std::find(calls.begin(), calls.end(), "spin");
    return Calls(calls.begin(), spin == calls.end() ? spin : spin + 1);
}

class DealCycle : public ::testing::Test {
  protected:
    void SetUp() override {
        m.state.options = Options{0, 0, 0, 1, 1};  // Second deal off, both sound options on
    }
    // A press already accepted, as the keys and the autoplay tick make it.
    void pressed() { m.state.leverPressed = 1; }

    TestMachine m;
};

// ---- The lever press ----

TEST_F(DealCycle, APressOnTheKnobMovesTheLeverAndClacksOneBesideItDoesNothing) {
    for (const bool onKnob : {true, false}) {
        TestMachine t;
        t.game.pressLever(onKnob);
        EXPECT_EQ(t.state.leverPressed, onKnob ? 1 : 0);
        const Calls expected =
            onKnob ? Calls{"lever down", "sound lever_pull", "delay 2"} : Calls{};
        EXPECT_EQ(t.services.calls, expected);
    }
}

TEST_F(DealCycle, PressRefusedWhileBusyOrOnAutoplayClearsTheFlag) {
    for (const bool busy : {true, false}) {
        TestMachine t;
        t.state.leverPressed = 1;
        if (busy) {
            t.state.inputEnabled = 0;
        } else {
            t.game.startAutoplay();
        }
        t.services.take();
        t.game.pressLever(true);
        EXPECT_EQ(t.state.leverPressed, 0);
        EXPECT_TRUE(t.services.calls.empty());
    }
}

TEST_F(DealCycle, PressWithoutSoundFxIsSilent) {
    m.state.options.soundFx = 0;
    m.game.pressLever(true);
    EXPECT_EQ(m.services.take(), (Calls{"lever down", "delay 2"}));
}

TEST_F(DealCycle, ReleaseWithoutAcceptedPressOnlyPutsTheLeverBack) {
    m.game.pressLever(false);  // outside the knob
    m.game.releaseLever();
    EXPECT_EQ(m.services.take(), (Calls{"delay 2"}));
    EXPECT_EQ(m.state.credit, 1000);
    EXPECT_EQ(m.services.spins, 0);
}

// ---- Refusals for credit ----

TEST_F(DealCycle, PullRefusedForCredit) {
    const struct {
        std::int32_t credit, bet;
        bool autoBet;
    } cases[] = {{0, 5, 0}, {0, 5, 1}, {3, 5, 0}, {9, 10, 0}, {0, 1, 1}};
    for (const auto& c : cases) {
        TestMachine t;
        t.state.options = Options{c.autoBet, 0, 0, 1, 1};
        t.state.credit = c.credit;
        t.state.bet = c.bet;
        t.pull();
        EXPECT_EQ(t.services.take(), (pulled({})))
            << c.credit << " " << c.bet << " " << int(c.autoBet);
        EXPECT_EQ(t.state.inputEnabled, 1);
        EXPECT_EQ(t.state.credit, c.credit);
        EXPECT_EQ(t.state.bet, c.bet);
        EXPECT_EQ(t.services.spins, 0);
    }
}

TEST_F(DealCycle, AutoBetPlaysTheRestAndLeavesThePayPanel) {
    m.state.options.autoBet = 1;
    m.state.credit = 3;
    m.state.bet = 5;
    m.pull();
    const Calls calls = m.services.take();
    EXPECT_EQ(untilSpin(calls),
              concat(pulled({"meter bet 3 2", "meter credit 0 7", "save"}), firstDealTail()));
    EXPECT_EQ(m.state.bet, 3);
    EXPECT_EQ(m.state.credit, 0);
    for (const auto& call : calls) EXPECT_NE(call.rfind("meter m", 0), 0u) << call;
}

TEST_F(DealCycle, PendingWinIsBankedBeforeTheCreditTest) {
    m.state.credit = 0;
    m.state.win = 100;
    m.pull();
    EXPECT_EQ(untilSpin(m.services.take()),
              concat(pulled({"meter win 0 7", "meter credit 100 7", "meter credit 95 7", "save"}),
                     firstDealTail()));
}

// ---- First deals ----

TEST_F(DealCycle, FirstDealWithSecondDealOffStakesSavesAndEvaluates) {
    m.state.bet = 4;
    m.services.scriptedLines = {{2, 2, 2}};
    m.pull();
    EXPECT_EQ(m.services.take(),
              concat(concat(pulled({"meter credit 996 7", "save"}), firstDealTail()),
                     {"sound reels_stop", "delay 31", "still reels", "meter win 1000 7",
                      "sound verdict_excellent", "msg Excellent !!!", "lamp 1 red", "lamp 2 red",
                      "lamp 3 red", "pump", "save recall"}));
    EXPECT_EQ(m.state.win, 1000);
    EXPECT_EQ(m.state.phase, Phase::FirstDeal);
    EXPECT_EQ(m.state.inputEnabled, 1);

    // The next pull banks the win, takes a new stake and deals afresh.
    m.pull();
    EXPECT_EQ(
        untilSpin(m.services.take()),
        concat(pulled({"meter win 0 7", "meter credit 1996 7", "meter credit 1992 7", "save"}),
               firstDealTail()));
    EXPECT_EQ(m.state.statistics.firstDeal.deals, 2);
    EXPECT_EQ(m.state.statistics.firstDeal.wins[ComboClass::ThreeBells], 1);
}

TEST_F(DealCycle, WholeGameFromAKnownSeedWithSecondDeal) {
    // Seed 1 puts 2, 10, 3 on the reels; a stake leaves the player behind, so the first deal
    // comes from the stingy table: 7, 8, 1, no win, the two sevens suggested.
    TestMachine t(1);
    ASSERT_EQ(t.state.reelSymbols, (Line{2, 10, 3}));
    t.pull();
    EXPECT_EQ(t.state.reelSymbols, (Line{7, 8, 1}));
    EXPECT_EQ(t.state.previousSymbols, (Line{2, 10, 3}));
    EXPECT_EQ(t.services.take(),
              concat(concat(pulled({"meter credit 995 7", "save"}), firstDealTail()),
                     {"sound reels_stop", "delay 31", "still reels", "meter win 0 7", "lamp 1 red",
                      "lamp 2 red", "lamp 3 blank", "pump"}));
    EXPECT_EQ(t.services.message, "1st  DEAL");
    EXPECT_EQ(t.state.phase, Phase::SecondDeal);
    EXPECT_EQ(t.state.firstDealClass, ComboClass::NoWin);
    EXPECT_EQ(t.state.held, (Holds{1, 1, 0}));

    // The free second deal turns reel 3 only.
    t.pull();
    EXPECT_EQ(untilSpin(t.services.take()),
              (pulled({"msg 2nd  DEAL", "pump", "sound spin_right_only", "strips", "spin"})));
    EXPECT_EQ(t.state.credit, 995);
    EXPECT_EQ(t.state.reelSymbols[0], 7);
    EXPECT_EQ(t.state.reelSymbols[1], 8);
    EXPECT_EQ(t.state.previousSymbols[0], 2);  // held reels keep their earlier start
    EXPECT_EQ(t.state.phase, Phase::FirstDeal);
    EXPECT_EQ(t.state.statistics.secondDeal.deals, 1);
    EXPECT_EQ(t.state.statistics.firstDeal.deals, 1);
}

TEST_F(DealCycle, SecondDealIsFreeAndReplacesTheFirstWin) {
    m.state.options.secondDeal = 1;
    m.state.bet = 2;
    m.services.scriptedLines = {{1, 5, 2}, {1, 5, 9}};  // class 10 on reels 1 and 2, then again
    m.pull();
    EXPECT_EQ(m.state.win, 10);
    EXPECT_EQ(m.state.held, (Holds{1, 1, 0}));
    m.services.take();
    m.pull();
    const Calls calls = m.services.take();
    EXPECT_EQ(untilSpin(calls),
              (pulled({"msg 2nd  DEAL", "pump", "sound spin_right_only", "strips", "spin"})));
    EXPECT_EQ(m.state.credit, 998);
    EXPECT_EQ(m.state.win, 10);  // set anew by the second deal, not added
}

TEST_F(DealCycle, HoldingAllThreeCollectsTheWinAndDealsAFirstDeal) {
    m.state.options.secondDeal = 1;
    m.state.phase = Phase::SecondDeal;
    m.state.held = {1, 1, 1};
    m.state.firstDealClass = ComboClass::ThreeBells;
    m.state.win = 1000;
    m.state.credit = 500;
    m.state.bet = 4;
    pressed();
    m.game.releaseLever();
    EXPECT_EQ(untilSpin(m.services.take()),
              concat({"delay 2", "meter win 0 7", "meter credit 1500 7", "save",
                      "meter credit 1496 7", "save"},
                     firstDealTail()));
    EXPECT_EQ(m.state.statistics.secondDeal, DealCounts{});
    EXPECT_EQ(m.state.statistics.firstDeal.deals, 1);
}

TEST_F(DealCycle, SecondDealSwitchedOffInPhaseTwoDealsAFirstDeal) {
    m.state.phase = Phase::SecondDeal;
    m.state.held = {1, 0, 0};
    m.state.win = 20;
    pressed();
    m.game.releaseLever();
    EXPECT_EQ(
        untilSpin(m.services.take()),
        concat({"delay 2", "meter win 0 7", "meter credit 1020 7", "meter credit 1015 7", "save"},
               firstDealTail()));
}

TEST_F(DealCycle, SpinSoundFollowsTheHolds) {
    const struct {
        Holds held;
        const char* sound;
    } cases[] = {
        {{1, 0, 0}, "sound spin_from_middle"}, {{1, 0, 1}, "sound spin_from_middle"},
        {{1, 1, 0}, "sound spin_right_only"},  {{0, 1, 1}, "sound spin_from_left"},
        {{0, 0, 0}, "sound spin_from_left"},   {{0, 1, 0}, "sound spin_from_left"},
    };
    for (const auto& c : cases) {
        TestMachine t;
        t.state.phase = Phase::SecondDeal;
        t.state.held = c.held;
        t.state.leverPressed = 1;
        t.game.releaseLever();
        const Calls calls = untilSpin(t.services.take());
        ASSERT_GE(calls.size(), 4u);
        EXPECT_EQ(calls[calls.size() - 3], c.sound);
    }
    // Without Sound FX the reels turn silently.
    m.state.options.soundFx = 0;
    pressed();
    m.game.releaseLever();
    const Calls silent = m.services.take();
    ASSERT_EQ(std::count(silent.begin(), silent.end(), "spin"), 1);
    for (const auto& call : silent) EXPECT_NE(call.rfind("sound", 0), 0u) << call;
}

// ---- Holds ----

class HoldAreas : public DealCycle {
  protected:
    void SetUp() override {
        m.state.options = Options{0, 1, 1, 1, 1};  // Second deal and Smart hold on
        m.state.phase = Phase::SecondDeal;
        m.state.held = {1, 1, 0};  // suggested by the evaluation
        m.state.holdsUntouched = 1;
        m.services.lamps = {LampLook::Red, LampLook::Red, LampLook::Blank};
    }
    void click(int reel) {
        m.game.pressHold(reel);
        m.game.releaseHold(reel);
    }
};

TEST_F(HoldAreas, SmartHoldReplacesTheSuggestionOnTheFirstNewPick) {
    const struct {
        std::uint8_t smartHold;
        std::vector<int> clicks;
        Holds held;
    } cases[] = {
        {1, {3}, {0, 0, 1}},     // a new pick drops the suggestion
        {1, {1}, {0, 1, 0}},     // picking a held reel just releases it
        {1, {1, 3}, {0, 0, 1}},  // ... and a later new pick still drops the rest
        {1, {3, 1}, {1, 0, 1}},  // after the first new pick every click toggles its reel
        {0, {3}, {1, 1, 1}},     // without Smart hold every click toggles only its own reel
        {0, {1, 2}, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SetUp();
        m.state.options.smartHold = c.smartHold;
        for (const int reel : c.clicks) click(reel);
        EXPECT_EQ(m.state.held, c.held);
        for (std::size_t n = 0; n < 3; ++n)
            EXPECT_EQ(m.services.lamps[n], c.held[n] ? LampLook::Red : LampLook::Blank);
        EXPECT_EQ(m.state.holdPressed, (Holds{0, 0, 0}));
    }
}

TEST_F(HoldAreas, SmartHoldCallOrder) {
    click(3);
    EXPECT_EQ(m.services.take(),
              (Calls{"sound hold_button", "lamp 1 blank", "lamp 2 blank", "lamp 3 red"}));
    click(3);
    EXPECT_EQ(m.services.take(), (Calls{"sound hold_button", "lamp 3 blank"}));
}

TEST_F(HoldAreas, NothingToHoldOutsideTheSecondDeal) {
    const struct {
        Phase phase;
        bool secondDeal;
    } cases[] = {{Phase::FirstDeal, 1}, {Phase::FirstDeal, 0}, {Phase::SecondDeal, 0}};
    for (const auto& c : cases) {
        SetUp();
        m.services.take();
        m.state.phase = c.phase;
        m.state.options.secondDeal = c.secondDeal;
        click(3);
        EXPECT_EQ(m.state.held, (Holds{1, 1, 0}));
        EXPECT_EQ(m.state.holdPressed[2], 0);
        // The click sounds only in phase 2.
        EXPECT_EQ(m.services.take(),
                  c.phase == Phase::SecondDeal ? Calls{"sound hold_button"} : Calls{});
    }
}

TEST_F(HoldAreas, PressRefusedWhileBusyOrOnAutoplay) {
    for (const bool busy : {true, false}) {
        SetUp();
        m.services.take();
        m.state.inputEnabled = busy ? 0 : 1;
        if (!busy) m.game.startAutoplay();
        m.services.take();
        click(3);
        m.state.inputEnabled = 1;
        m.game.releaseHold(3);
        EXPECT_EQ(m.state.held, (Holds{1, 1, 0}));
        EXPECT_TRUE(m.services.take().empty());
    }
}

TEST_F(HoldAreas, ReleaseWithoutPressOrForAnotherReelDoesNothing) {
    m.game.pressHold(1);
    m.game.releaseHold(3);
    m.game.releaseHold(0);
    m.game.releaseHold(4);
    m.game.pressHold(7);
    EXPECT_EQ(m.state.held, (Holds{1, 1, 0}));
    EXPECT_EQ(m.state.holdPressed, (Holds{1, 0, 0}));
}

TEST_F(HoldAreas, LateReleaseWhileTheReelsTurnIsIgnored) {
    m.services.scriptedLines = {{1, 5, 2}};
    m.game.pressHold(3);  // pressed before the deal ...
    Holds heldWhileTurning{};
    m.services.whileTurning = [&] {
        m.game.releaseHold(3);  // ... released while reel 3 turns
        heldWhileTurning = m.state.held;
    };
    pressed();
    m.game.releaseLever();
    EXPECT_EQ(heldWhileTurning, (Holds{1, 1, 0}));
    const Calls calls = m.services.take();
    const auto spin = std::find(calls.begin(), calls.end(), "spin");
    const auto ding = std::find(calls.begin(), calls.end(), "sound reels_stop");
    EXPECT_EQ(ding - spin, 1);  // no lamp changed in between
    EXPECT_EQ(m.state.holdPressed[2], 0);
}

// ---- Money at the edge of its range ----

TEST(BankWin, TheCreditStopsAtItsLimitAndTheRestGoesToTheAccount) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const struct {
        std::int32_t credit, win, account;
        std::int32_t creditAfter, winAfter, accountAfter;
    } cases[] = {
        {9'998'000, 5000, 55, 9'999'999, 0, 3056},             // 3001 over the top
        {9'994'999, 5000, 55, 9'999'999, 0, 55},               // exactly the top stays
        {9'999'999, 1, 99'999'998, 9'999'999, 0, 99'999'999},  // the account just takes it
        {9'999'999, 2, 99'999'998, 9'999'999, 2, 99'999'998},  // it cannot: nothing moves
        {kMax - 10, 5000, 7, kMax - 10, 5000, 7},              // no wrap-around on the way
        {-1, 0, 7, 1000, 0, -1000},                            // below range is reset
        {0, 0, -99'999'999, 0, 0, -99'999'999},
    };
    for (const auto& c : cases) {
        TestMachine t;
        t.state.credit = c.credit;
        t.state.win = c.win;
        t.state.account = c.account;
        const bool banked = t.game.bankWin();
        EXPECT_EQ(t.state.credit, c.creditAfter) << c.credit << "+" << c.win;
        EXPECT_EQ(t.state.win, c.winAfter) << c.credit << "+" << c.win;
        EXPECT_EQ(t.state.account, c.accountAfter) << c.credit << "+" << c.win;
        EXPECT_EQ(banked, c.winAfter == 0);
        const Calls drawn{"meter win 0 7", "meter credit " + std::to_string(c.creditAfter) + " 7"};
        EXPECT_EQ(t.services.take(), banked ? drawn : Calls{});
    }
}

TEST_F(DealCycle, AWinTheAccountCannotTakeRefusesTheDealAndStaysPending) {
    m.state.credit = 9'999'000;
    m.state.win = 5000;
    m.state.account = 99'999'000;
    m.pull();
    EXPECT_EQ(m.services.spins, 0);
    EXPECT_EQ(m.state.win, 5000);
    EXPECT_EQ(m.state.credit, 9'999'000);
    EXPECT_EQ(m.state.inputEnabled, 1);
}

TEST_F(DealCycle, AWinPastTheCreditsLimitKeepsTheMoneyAndTakesTheStake) {
    m.state.credit = 9'998'000;
    m.state.win = 5000;
    m.state.account = 123;
    m.pull();
    EXPECT_EQ(m.state.credit, 9'999'999 - 5);
    EXPECT_EQ(m.state.account, 123 + 3001);
}

// ---- Autoplay ----

TEST_F(DealCycle, AutoplayEndsOnLowCreditWithoutBankingTheWin) {
    m.game.startAutoplay();
    m.services.take();
    m.state.credit = 4;
    m.state.bet = 5;
    m.state.win = 100;
    m.game.autoplayTick();
    EXPECT_EQ(m.services.take(),
              (Calls{"autoplay timer off", "delay 1000", "msg Autoplay OFF", "delay 500"}));
    EXPECT_EQ(m.state.credit, 4);
    EXPECT_EQ(m.state.win, 100);
    EXPECT_FALSE(m.game.autoplayOn());
    EXPECT_FALSE(m.services.autoplayTimer);
}

TEST_F(DealCycle, AutoplayTickDeals) {
    m.game.startAutoplay();
    m.services.take();
    m.game.autoplayTick();
    EXPECT_EQ(untilSpin(m.services.take()),
              concat({"lever down", "sound lever_pull", "delay 200", "lever rest", "delay 2",
                      "meter credit 995 7", "save"},
                     firstDealTail()));
    EXPECT_EQ(m.state.inputEnabled, 1);
}

TEST_F(DealCycle, AutoplayTickWhileADealTurnsWaitsForTheNext) {
    m.game.startAutoplay();
    m.services.take();
    m.state.inputEnabled = 0;
    m.state.leverPressed = 1;
    m.game.autoplayTick();
    EXPECT_TRUE(m.services.take().empty());
    EXPECT_EQ(m.state.leverPressed, 0);
    EXPECT_EQ(m.state.credit, 1000);
}

// A translation is data: only the conversions that have a value are filled in, in the order the
// words give, and anything else stays as written.
TEST(GameTextFilling, PutsEachValueWhereTheWordsSay) {
    const struct {
        std::string_view words;
        std::array<std::string, 3> values;
        std::string expected;
    } cases[] = {
        {"%s games", {"25"}, "25 games"},
        {"%2$s, %1$s and %3$s", {"a", "b", "c"}, "b, a and c"},
        {"100 %% of %s", {"x"}, "100 % of x"},
        {"%d %s%s%s%s %n", {"x", "y", "z"}, "%d xyz%s %n"},
        {"%4$s %0$s %1$d %", {"x"}, "%4$s %0$s %1$d %"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GameText(c.words, c.values).english(), c.expected) << c.words;
}

// Each limit at its edge; with none set, autoplay never stops by itself.
TEST(AutoplayLimits, StopAtTheirEdge) {
    const AutoplayLimits every{10, 500, 1000};
    const struct {
        AutoplayLimits limits;
        int games;
        std::int32_t lastPaid;
        std::int64_t net;
        std::optional<GameText> text;
    } cases[] = {
        {every, 9, 499, -999, std::nullopt},
        {every, 10, 0, 0, "Autoplay OFF: 10 games"},
        {every, 3, 500, 0, "Autoplay OFF: won 500"},
        {every, 3, 0, -1000, "Autoplay OFF: net -1000"},
        {{}, 100000, 500000, -100000, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(autoplayStopText(c.limits, c.games, c.lastPaid, c.net), c.text) << c.games;
}

// Checks fall due an interval after the session began, then an interval after the last one
// shown, never while a deal turns.
TEST_F(DealCycle, RealityChecksFallDueEveryIntervalOfPlay) {
    m.services.clock = 1000;
    m.game.startSession();
    m.game.setRealityCheck(30);
    m.state.credit = 1350;  // the session's net: 350 won since it began
    const struct {
        std::int64_t at;
        bool dealTurning;
        std::optional<GameText> text;
    } steps[] = {
        {1000 + 1799, false, std::nullopt},
        {1000 + 1800, true, std::nullopt},
        {1000 + 1830, false, "You have played 30 min: 0 games, net +350"},
        {1000 + 1830 + 1799, false, std::nullopt},
        {1000 + 1830 + 1800, false, "You have played 60 min: 0 games, net +350"},
    };
    for (const auto& step : steps) {
        m.state.inputEnabled = !step.dealTurning;
        EXPECT_EQ(m.game.takeRealityCheck(step.at), step.text) << step.at;
    }
    EXPECT_EQ(realityCheckText(15, 118, -120).english(),
              "You have played 15 min: 118 games, net -120");
    m.game.setRealityCheck(std::nullopt);
    EXPECT_EQ(m.game.takeRealityCheck(1000 + 99999), std::nullopt);
}

TEST_F(DealCycle, AutoplayStopsBeforeTheDealAfterABigWin) {
    m.state.bet = 5;
    m.game.setAutoplayLimits({std::nullopt, 1000, std::nullopt});
    m.game.startAutoplay();
    m.services.scriptedLines = {{2, 2, 2}};  // three bells: 250 x 5
    m.game.autoplayTick();
    m.game.finishSpin();
    m.services.take();
    m.game.autoplayTick();
    EXPECT_EQ(m.services.take(), (Calls{"autoplay timer off", "delay 1000",
                                        "msg Autoplay OFF: won 1250", "delay 500"}));
    EXPECT_FALSE(m.game.autoplayOn());
    // Switched on again, it counts afresh: the win before it stops nothing.
    m.game.startAutoplay();
    m.game.autoplayTick();
    EXPECT_TRUE(m.game.autoplayOn());
}

}  // namespace
}  // namespace fruvana
