// Long play: the whole program on the headless platform deals thousands of autoplay games,
// collecting now and then and putting a coin in whenever autoplay stops for want of credit. After
// every deal the money moves only by the stake and the pay, every meter on the screen shows its
// value, and the statistics hold exactly the results dealt; at the end an exit and a restart show
// the same money and counts. 1,500 deals per machine by default; FRUVANA_LONG=1 in the environment
// deals 10,000.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "tests/shell/program_fixture.h"
#include "tests/support/ledger.h"

namespace fruvana {
namespace {

namespace L = layout;

constexpr int kCollectEvery = 250;

int dealsToPlay() {
    const char* longRun = std::getenv("FRUVANA_LONG");
    return longRun != nullptr && std::string_view(longRun) == "1" ? 10'000 : 1'500;
}

// Resident memory of this process in kilobytes.
long residentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

struct LongCase {
    const char* name;
    bool secondDeal;
};

class LongPlay : public testing::WholeProgram, public ::testing::WithParamInterface<LongCase> {
  protected:
    std::int32_t deals() {
        return state().statistics.firstDeal.deals + state().statistics.secondDeal.deals;
    }
    // Every meter against the state; the pay panel shows the prizes of the bet.
    void expectMetersShowTheState() {
        EXPECT_EQ(meter(L::kCreditMeterAt, 7), testing::meterText(state().credit, 7));
        EXPECT_EQ(meter(L::kWinMeterAt, 7), testing::meterText(state().win, 7));
        EXPECT_EQ(meter(L::kBetMeterAt, 2), testing::meterText(state().bet, 2));
        for (std::size_t k = 0; k < 4; ++k) {
            const int prize = testing::ledger::kPayOfClass[k + 1] * state().bet;
            EXPECT_EQ(meter(L::kPrizeMetersAt[k], 4), testing::meterText(prize, 4)) << k + 1;
        }
    }
};

TEST_P(LongPlay, MoneyMetersAndCountsHoldDealAfterDealAndAcrossARestart) {
    const int total = dealsToPlay();
    startAndReveal();
    state().options.autoBet = 1;
    state().options.secondDeal = GetParam().secondDeal;
    state().options.smartHold = 0;
    type(U'a');
    ASSERT_TRUE(program->game().autoplayOn());
    ASSERT_EQ(state().bet, 5);

    const auto wallStart = std::chrono::steady_clock::now();
    Statistics expected = state().statistics;
    long kbAt100 = 0;
    int coins = 0, collects = 0;
    for (int dealt = 0; dealt < total && !HasFailure(); ++dealt) {
        if (dealt % kCollectEvery == kCollectEvery - 1) {
            // Autoplay off, collect, autoplay on: the machine pays more than it takes, so
            // only an empty credit makes autoplay stop and a coin go in.
            const std::int64_t kept = money();
            type(U'a');
            type(U'o');
            ++collects;
            ASSERT_EQ(state().credit, 0);
            ASSERT_EQ(money(), kept);
            type(U'a');
        }
        const std::int64_t before = money();
        const std::int32_t winBefore = state().win;
        const Phase phaseBefore = state().phase;
        const bool allHeld = state().held[0] && state().held[1] && state().held[2];
        const std::int32_t counted = deals();
        platform->headlessAudio().clearLog();
        platform->clearPresents();
        // The next autoplay tick deals; the reels stop on the virtual clock.
        while (deals() == counted && !HasFailure()) {
            if (!program->game().autoplayOn()) {
                // Stopped for want of credit: the money has not moved, a coin goes in.
                ASSERT_LT(state().credit, state().bet);
                ASSERT_EQ(money(), before);
                type(U'c');
                ++coins;
                ASSERT_GE(state().credit, state().bet);
                type(U'a');
            }
            program->loop().delay(50);
        }
        settle();
        ASSERT_EQ(state().inputEnabled, 1);

        // One lever pull, one spin sound.
        int spins = 0;
        for (const std::string& s : soundsPlayed()) spins += s.rfind("spin_", 0) == 0 ? 1 : 0;
        EXPECT_EQ(spins, 1) << "deal " << dealt;

        // A first deal takes the stake and banks the old win; a second deal is free and its
        // result replaces the first deal's win.
        const bool firstDeal = phaseBefore == Phase::FirstDeal || allHeld;
        const int comboClass = testing::ledger::classOf(state().reelSymbols);
        ASSERT_EQ(money(), before + testing::ledger::dealMoves(firstDeal, state().bet, comboClass,
                                                               winBefore))
            << "deal " << dealt;

        DealCounts& column = firstDeal ? expected.firstDeal : expected.secondDeal;
        ++column.deals;
        if (comboClass != 12) ++column.onRow(comboClass);
        ASSERT_EQ(state().statistics, expected) << "deal " << dealt;
        expectMetersShowTheState();
        if (dealt + 1 == 100) kbAt100 = residentKb();
    }
    ASSERT_FALSE(HasFailure());
    // Every collect left nothing to stake: one coin each.
    EXPECT_EQ(coins, collects);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const long kbAtEnd = residentKb();
    RecordProperty("deals", total);
    RecordProperty("coin_drop", coins);
    RecordProperty("wall_ms", static_cast<int>(seconds * 1000));
    RecordProperty("resident_kb_at_100", static_cast<int>(kbAt100));
    RecordProperty("resident_kb_at_end", static_cast<int>(kbAtEnd));
    std::printf(
        "long play %s: %d deals, %d coins, %.1f s wall, resident %ld kB at deal 100, %ld "
        "kB at deal %d\n",
        GetParam().name, total, coins, seconds, kbAt100, kbAtEnd, total);

    // The way out writes the files; a restart shows the same money and counts.
    type(U'x');
    ASSERT_TRUE(program->ended());
    const MachineState saved = state();
    program.reset();
    platform.reset();
    startAndReveal();
    EXPECT_EQ(state().credit, saved.credit + saved.win);
    EXPECT_EQ(state().win, 0);
    EXPECT_EQ(state().account, saved.account);
    EXPECT_EQ(state().bet, saved.bet);
    EXPECT_EQ(state().options, saved.options);
    EXPECT_EQ(state().statistics, saved.statistics);
    EXPECT_EQ(state().statistics, expected);
    expectMetersShowTheState();
}

INSTANTIATE_TEST_SUITE_P(Table, LongPlay,
                         ::testing::Values(LongCase{"SecondDealOn", 1},
                                           LongCase{"SecondDealOff", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fruvana
