// The game recall in the whole program: what it lists against what the deals showed, the
// session line, its golden picture, when it may open and what closes it, and a restart.

#include <cstdlib>
#include <ctime>

#include "tests/golden/golden.h"
#include "tests/shell/program_fixture.h"
#include "tests/support/ledger.h"

namespace fruvana {
namespace {

namespace L = layout;

class Recall : public testing::WholeProgram {
  protected:
    void SetUp() override {
        WholeProgram::SetUp();
        // Times on the screen are local; the pictures are made in one zone.
        ::setenv("TZ", "UTC", 1);
        ::tzset();
    }
    // What the screen showed after each deal, newest first: bet, credit + win before the
    // pull and after the stop.
    struct Shown {
        int bet;
        std::int32_t before, after, win;
    };
    std::vector<Shown> playDeals(int deals) {
        std::vector<Shown> shown;
        for (int i = 0; i < deals; ++i) {
            if (i == 4) type(U'.');  // a bet of 6 from the fifth deal on
            const std::int32_t before = state().credit + state().win;
            const bool firstDeal = state().phase == Phase::FirstDeal;
            const std::int32_t winBefore = state().win;
            pullLever();
            settle();
            ledgerNet += testing::ledger::dealMoves(
                firstDeal, state().bet, testing::ledger::classOf(state().reelSymbols), winBefore);
            shown.insert(shown.begin(),
                         {state().bet, before, state().credit + state().win, state().win});
        }
        return shown;
    }
    const AlignGrid& table() { return program->recall().table(); }
    std::int64_t ledgerNet = 0;  // what the deals moved the money by, by the printed pay table
};

TEST_F(Recall, ListsTheNewestTenAsTheDealsShowedThem) {
    startAndReveal();
    state().options.secondDeal = 0;
    const auto shown = playDeals(12);
    type(U'r');
    ASSERT_TRUE(program->recall().visible());
    for (int row = 1; row <= 10; ++row) {
        const Shown& s = shown[static_cast<std::size_t>(row - 1)];
        SCOPED_TRACE(row);
        EXPECT_EQ(table().cellText(1, row), std::to_string(s.bet));
        EXPECT_EQ(table().cellText(6, row), std::to_string(s.win));
        EXPECT_EQ(table().cellText(7, row), std::to_string(s.before));
        EXPECT_EQ(table().cellText(8, row), std::to_string(s.after));
        EXPECT_EQ(table().cellText(3, row), "");  // no holds without a second deal
    }
    // The deals began at 12:00:03 on the virtual clock's day and took seconds each.
    EXPECT_EQ(table().cellText(0, 10).substr(0, 9), "12-07 12:");
    EXPECT_EQ(program->recall().sessionLabel().caption(),
              "This session: 0 min, 12 games, net " + std::string(ledgerNet > 0 ? "+" : "") +
                  std::to_string(ledgerNet));
    EXPECT_TRUE(golden::matchesGolden(composedCabinet(), "recall_screen"));
}

// The ten small symbols as the recall draws them, side by side: the picture the end-to-end
// test reads the recall's rows with.
TEST_F(Recall, DrawsEachSymbolSmall) {
    startAndReveal();
    for (std::uint8_t s = 10; s >= 1; --s) {
        GameRecord g;
        g.bet = 1;
        g.firstLine = {s, s, s};
        g.firstClass = ComboClass::NoWin;
        state().recall.push_back(g);
    }
    type(U'r');
    const Picture& frame = composed();
    Picture symbols(240, 24);
    for (int s = 1; s <= 10; ++s) {
        // Row 11 - s of the table holds symbol s; its first deal's first symbol.
        const auto [x, y] = onCabinet({28 + 96 + 40 + 4, 104 + 34 * (11 - s) + 2}, 0, 0);
        blit(frame, Rect{x, y, 24, 24}, symbols, (s - 1) * 24, 0);
    }
    EXPECT_TRUE(golden::matchesGolden(symbols, "recall_symbols"));
}

TEST_F(Recall, OpensOnlyWhenTheGameTakesAKeyAndClosesLeavingTheGameAsItWas) {
    startAndReveal();
    // Not while the reels turn, nor while autoplay runs.
    pullLever();
    program->input().route(InputEvent::typed(U'r'));
    EXPECT_FALSE(program->recall().visible());
    settle();
    type(U'a');
    type(U'R');
    EXPECT_FALSE(program->recall().visible());
    type(U'a');
    const MachineState before = state();
    // R, Escape, Guide, Back and OK each close it.
    const InputEvent closers[] = {InputEvent::typed(U'R'), InputEvent::typed(U'\x1b'),
                                  InputEvent::padButton(PadButton::Guide),
                                  InputEvent::padButton(PadButton::Back)};
    for (const InputEvent& close : closers) {
        type(U'r');
        ASSERT_TRUE(program->recall().visible());
        type(U'c');  // the recall has the focus: keys of the game do nothing
        program->input().route(close);
        settle();
        EXPECT_FALSE(program->recall().visible());
    }
    program->input().route(InputEvent::padButton(PadButton::Guide));
    ASSERT_TRUE(program->recall().visible());
    click(onCabinet(L::kOkAt, 26, 26));
    EXPECT_FALSE(program->recall().visible());
    EXPECT_EQ(state().credit, before.credit);
    EXPECT_EQ(state().phase, before.phase);
    EXPECT_EQ(state().recall, before.recall);
    type(U'c');  // the game has the focus again
    EXPECT_EQ(state().credit, before.credit + 1000);
}

TEST_F(Recall, TheSettingsScreensButtonOpensItAndOkReturnsToTheSettings) {
    startAndReveal();
    type(U's');
    click(onCabinet(L::kRecallButtonAt, 16, 16));
    ASSERT_TRUE(program->recall().visible());
    click(onCabinet(L::kOkAt, 26, 26));
    EXPECT_FALSE(program->recall().visible());
    EXPECT_TRUE(program->settings().visible());
    EXPECT_EQ(program->overlays().focus(), Overlay::Settings);
}

TEST_F(Recall, ARestartShowsTheSameGamesACollectBetweenDealsAndAnUnfinishedOne) {
    startAndReveal();
    state().options.secondDeal = 1;
    // A first deal, a collect, its free second deal, a coin, and a first deal left waiting.
    playDeals(1);
    type(U'o');
    playDeals(1);
    type(U'c');
    playDeals(1);
    type(U'x');
    ASSERT_TRUE(program->ended());
    const GameRecall saved = state().recall;
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_TRUE(saved.front().unfinished);
    program.reset();
    startAndReveal();
    EXPECT_EQ(state().recall, saved);
    type(U'r');
    // Every column but the deals' pictures: time, bet, holds, result, paid, before, after.
    auto row = [&](int r) {
        std::string cells;
        for (int c : {0, 1, 3, 5, 6, 7, 8}) cells += table().cellText(c, r) + "|";
        return cells;
    };
    EXPECT_EQ(row(1), "12-07 12:00|5||unfinished|10|1000|1005|");
    EXPECT_EQ(row(2), "12-07 12:00|5|--S|collected, no win|0|1000|0|");
    EXPECT_EQ(program->recall().sessionLabel().caption(), "This session: 0 min, 0 games, net 0");
}

}  // namespace
}  // namespace fruvana
