// The push buttons' rules: which moments refuse a press, the money each action moves at the
// edges of its limits, and the settings screen's OK. The whole-program tests walk the same
// actions from the keys and the pointer.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/engine/recording_services.h"

namespace fruvana {
namespace {

using testing::TestMachine;
using Calls = std::vector<std::string>;

bool has(const Calls& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

// ---- Which moments refuse a press: every button, busy or not, autoplay or not ----

struct PressCase {
    Button button;
    bool takenWhileBusy;
    bool takenInAutoplay;
};

class PressRefusals : public ::testing::TestWithParam<PressCase> {};

TEST_P(PressRefusals, KeyAndPointerAlike) {
    const PressCase& c = GetParam();
    for (const bool busy : {false, true}) {
        for (const bool autoplay : {false, true}) {
            TestMachine m;
            if (autoplay) m.game.startAutoplay();
            m.state.inputEnabled = busy ? 0 : 1;
            const bool taken = (!busy || c.takenWhileBusy) && (!autoplay || c.takenInAutoplay);
            EXPECT_EQ(m.game.pressButtonByKey(c.button), taken) << busy << autoplay;
            EXPECT_EQ(m.game.buttonPressed(c.button), taken);
            EXPECT_EQ(m.game.pressButton(c.button, true), taken) << busy << autoplay;
            // A pointer that misses the round face takes nothing and clears the press.
            EXPECT_FALSE(m.game.pressButton(c.button, false));
            EXPECT_FALSE(m.game.buttonPressed(c.button));
            if (c.button != Button::BetDown && c.button != Button::BetUp) continue;
            TestMachine w;  // a wheel step refused leaves an earlier key's press standing
            w.game.pressButtonByKey(c.button);
            if (autoplay) w.game.startAutoplay();
            w.state.inputEnabled = busy ? 0 : 1;
            EXPECT_EQ(w.game.pressButtonByWheel(c.button), taken) << busy << autoplay;
            EXPECT_TRUE(w.game.buttonPressed(c.button));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PressRefusals,
    ::testing::Values(
        PressCase{Button::Help, false, false}, PressCase{Button::Exit, false, true},
        PressCase{Button::BetDown, false, false}, PressCase{Button::BetUp, false, false},
        PressCase{Button::Coin, false, false}, PressCase{Button::Collect, false, false},
        PressCase{Button::Settings, false, false}, PressCase{Button::Autoplay, false, true},
        PressCase{Button::SettingsOk, false, true}, PressCase{Button::SettingsReset, false, true},
        PressCase{Button::SettingsRecall, true, true}, PressCase{Button::RecallOk, true, true},
        PressCase{Button::SettingsPreferences, true, true}));

// ---- Money actions at the edges of their limits ----

constexpr Phase kFirst = Phase::FirstDeal;
constexpr Phase kSecond = Phase::SecondDeal;

struct MoneyCase {
    const char* name;
    Button button;
    Phase phase;
    std::int32_t bet, win, credit, account;
    std::int32_t betAfter, winAfter, creditAfter, accountAfter;
};

class MoneyActions : public ::testing::TestWithParam<MoneyCase> {};

TEST_P(MoneyActions, MoveTheMoneyAndSaveOrChangeNothing) {
    const MoneyCase& c = GetParam();
    TestMachine m;
    m.state.phase = c.phase;
    m.state.bet = c.bet;
    m.state.win = c.win;
    m.state.credit = c.credit;
    m.state.account = c.account;
    m.state.held = {1, 0, 1};
    ASSERT_TRUE(m.game.pressButtonByKey(c.button));
    m.game.releaseButton(c.button);
    EXPECT_EQ(m.state.bet, c.betAfter);
    EXPECT_EQ(m.state.win, c.winAfter);
    EXPECT_EQ(m.state.credit, c.creditAfter);
    EXPECT_EQ(m.state.account, c.accountAfter);
    EXPECT_EQ(m.state.phase, c.phase);  // a collect between the deals keeps the second deal
    EXPECT_EQ(m.state.held, (Holds{1, 0, 1}));
    const bool changed = c.betAfter != c.bet || c.creditAfter != c.credit || c.winAfter != c.win ||
                         c.accountAfter != c.account;
    EXPECT_EQ(has(m.services.calls, "save"), changed);
}

INSTANTIATE_TEST_SUITE_P(
    Table, MoneyActions,
    ::testing::Values(
        MoneyCase{"CoinJustBelowTheLimit", Button::Coin, kFirst, 5, 0, 8'999'999, -1000, 5, 0,
                  9'000'999, -2000},
        MoneyCase{"CoinAtTheLimit", Button::Coin, kFirst, 5, 0, 9'000'000, -1000, 5, 0, 9'000'000,
                  -1000},
        MoneyCase{"CoinWouldSinkTheAccount", Button::Coin, kFirst, 5, 0, 0, -99'999'000, 5, 0, 0,
                  -99'999'000},
        MoneyCase{"CoinDownToTheAccountsFloor", Button::Coin, kFirst, 5, 0, 0, -99'998'999, 5, 0,
                  1000, -99'999'999},
        MoneyCase{"CoinInPhase2", Button::Coin, kSecond, 5, 40, 0, 0, 5, 40, 1000, -1000},
        MoneyCase{"CollectInPhase2", Button::Collect, kSecond, 5, 40, 250, -1000, 5, 0, 0, -710},
        // One past the top: 9,999,998 + 2 + 90,000,000.
        MoneyCase{"CollectOnePastTheAccountsTop", Button::Collect, kFirst, 5, 2, 9'999'998,
                  90'000'000, 5, 2, 9'999'998, 90'000'000},
        MoneyCase{"CollectUpToTheAccountsTop", Button::Collect, kFirst, 5, 2, 9'999'997, 90'000'000,
                  5, 0, 0, 99'999'999},
        MoneyCase{"BetUpToTen", Button::BetUp, kFirst, 9, 0, 1000, 0, 10, 0, 1000, 0},
        MoneyCase{"BetUpAtTen", Button::BetUp, kFirst, 10, 0, 1000, 0, 10, 0, 1000, 0},
        MoneyCase{"BetDownToOne", Button::BetDown, kFirst, 2, 0, 1000, 0, 1, 0, 1000, 0},
        MoneyCase{"BetDownAtOne", Button::BetDown, kFirst, 1, 0, 1000, 0, 1, 0, 1000, 0},
        MoneyCase{"BetUpInPhase2", Button::BetUp, kSecond, 3, 0, 1000, 0, 3, 0, 1000, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- The settings screen ----

struct OkCase {
    const char* name;
    bool secondDealAtOpen, secondDealAtOk;
    bool secondDealEnds;
};

class SettingsOk : public ::testing::TestWithParam<OkCase> {};

TEST_P(SettingsOk, EndsAPendingSecondDealOnlyWhenSecondDealWasSwitchedOff) {
    const OkCase& c = GetParam();
    TestMachine m;
    m.state.options.secondDeal = c.secondDealAtOpen;
    m.game.openSettings();
    m.state.phase = Phase::SecondDeal;
    m.state.held = {1, 0, 1};
    m.state.win = 50;
    m.state.credit = 900;
    m.state.options.secondDeal = c.secondDealAtOk;
    m.services.take();
    m.game.pressButtonByKey(Button::SettingsOk);
    m.game.releaseButton(Button::SettingsOk);
    EXPECT_EQ(m.state.phase, c.secondDealEnds ? Phase::FirstDeal : Phase::SecondDeal);
    EXPECT_EQ(m.state.credit, c.secondDealEnds ? 950 : 900);
    EXPECT_EQ(m.state.win, c.secondDealEnds ? 0 : 50);
    EXPECT_EQ(m.state.held, (c.secondDealEnds ? Holds{0, 0, 0} : Holds{1, 0, 1}));
    const Calls calls = m.services.take();
    EXPECT_EQ(has(calls, "lamp 2 blank"), c.secondDealEnds);
    EXPECT_FALSE(has(calls, "save"));  // OK writes no credit file
    EXPECT_EQ(calls.back(), "settings hidden");
}

INSTANTIATE_TEST_SUITE_P(Table, SettingsOk,
                         ::testing::Values(OkCase{"SwitchedOff", 1, 0, true},
                                           OkCase{"LeftOn", 1, 1, false},
                                           OkCase{"SwitchedOn", 0, 1, false},
                                           OkCase{"LeftOff", 0, 0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fruvana
