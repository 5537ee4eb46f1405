// Long autoplay sessions through the recording fake: every deal must move money only by the
// stake it takes and the pay it makes, except when banking a win pushes the credit out of its
// range and the machine's money is reset.

#include <gtest/gtest.h>

#include <ostream>

#include "tests/engine/recording_services.h"
#include "tests/support/ledger.h"

namespace fruvana {
namespace {

using testing::TestMachine;

struct Session {
    const char* name;
    std::uint32_t seed;
    Options options;
    std::int32_t bet;
    std::int32_t credit;
    int ticks;
    // Keep the credit just under its top, so that wins push it over.
    bool nearTheTop;
    // Names the session in test listings instead of dumping its bytes.
    friend void PrintTo(const Session& session, std::ostream* os) { *os << session.name; }
};

std::int64_t money(const MachineState& s) {
    return std::int64_t{s.credit} + s.account + s.win;
}

class AutoplayRun : public ::testing::TestWithParam<Session> {};

TEST_P(AutoplayRun, MoneyMovesOnlyByStakesAndPays) {
    const Session& session = GetParam();
    TestMachine m(session.seed);
    m.state.options = session.options;
    m.state.bet = session.bet;
    m.state.credit = session.credit;
    m.services.recording = false;  // thousands of deals: keep only the counts

    // What each spin found when the reels stopped, before the evaluation.
    bool firstDeal = false;
    std::int32_t winBeforeStop = 0;
    std::int32_t betAtStop = 0;
    m.services.whileTurning = [&] {
        EXPECT_EQ(m.state.inputEnabled, 0);
        firstDeal = m.state.phase == Phase::FirstDeal;
        winBeforeStop = m.state.win;
        betAtStop = m.state.bet;
    };

    int deals = 0, secondDeals = 0, collects = 0, overflows = 0;
    m.game.startAutoplay();
    for (int tick = 0; tick < session.ticks; ++tick) {
        if (!m.game.autoplayOn()) {
            // Autoplay ended on low credit: put in a coin and switch it on again.
            m.state.credit += kCoinValue;
            m.state.account -= kCoinValue;
            m.game.startAutoplay();
        }
        if (session.nearTheTop && m.state.credit < kCreditMax - 20'000) {
            const std::int32_t top = kCreditMax - 10 - m.state.credit;
            m.state.credit += top;
            m.state.account -= top;
        }

        const MachineState before = m.state;
        const int spinsBefore = m.services.spins;
        m.game.autoplayTick();
        const MachineState& after = m.state;

        ASSERT_EQ(after.inputEnabled, 1);
        ASSERT_GE(after.credit, 0);
        ASSERT_LE(after.credit, kCreditMax);
        ASSERT_GE(after.win, 0);
        ASSERT_LE(after.win, kWinMax);
        ASSERT_GE(after.bet, 1);
        ASSERT_LE(after.bet, 10);

        if (m.services.spins == spinsBefore) {
            // The tick ended autoplay; nothing was banked.
            ASSERT_FALSE(m.game.autoplayOn());
            ASSERT_EQ(money(after), money(before));
            ASSERT_EQ(after.win, before.win);
            continue;
        }
        ASSERT_EQ(m.services.spins, spinsBefore + 1);
        ++deals;
        if (!firstDeal) ++secondDeals;
        if (before.phase == Phase::SecondDeal && before.held == Holds{1, 1, 1}) ++collects;

        const int comboClass = testing::ledger::classOf(after.reelSymbols);
        const std::int64_t movement =
            testing::ledger::dealMoves(firstDeal, betAtStop, comboClass, winBeforeStop);

        // A first deal banks the pending win; what passes the credit's limit goes to the
        // account, and no money is ever lost.
        const std::int64_t overflow =
            firstDeal ? std::int64_t{before.credit} + before.win - kCreditMax : 0;
        if (overflow > 0) {
            ++overflows;
            ASSERT_EQ(after.account, before.account + overflow);
        } else {
            ASSERT_EQ(after.account, before.account);
        }
        ASSERT_EQ(money(after), money(before) + movement);
    }

    // Each spin was evaluated exactly once.
    const auto& stats = m.state.statistics;
    EXPECT_EQ(stats.firstDeal.deals + stats.secondDeal.deals, deals);
    EXPECT_EQ(stats.secondDeal.deals, secondDeals);
    EXPECT_GE(deals, session.ticks * 9 / 10);
    if (session.options.secondDeal) {
        EXPECT_GT(secondDeals, 0);
        EXPECT_GT(collects, 0);
    } else {
        EXPECT_EQ(secondDeals, 0);
    }
    if (session.nearTheTop) {
        EXPECT_GT(overflows, 0);
    }
    RecordProperty("deals", deals);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, AutoplayRun,
    ::testing::Values(Session{"SecondDealOn", 1, Options{0, 1, 0, 1, 1}, 5, 1000, 1000, false},
                      Session{"SecondDealOff", 7, Options{0, 0, 0, 1, 1}, 10, 1000, 300, false},
                      Session{"AutoBetSmallCredit", 42, Options{1, 1, 1, 0, 0}, 10, 15, 200, false},
                      Session{"NearTheTop", 2024, Options{0, 1, 0, 1, 1}, 10, kCreditMax - 10, 300,
                              true}),
    [](const ::testing::TestParamInfo<Session>& info) { return info.param.name; });

}  // namespace
}  // namespace fruvana
