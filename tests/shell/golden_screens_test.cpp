// What the player sees, pixel for pixel against pictures someone looked at and found right
// (tests/golden/): the cabinet after the reveal, a winning deal with its lamps lit, the settings
// screen with known counts, and every figure the meters can show. The platform's seed is fixed,
// so each screen comes out the same on every run. FRUVANA_UPDATE_GOLDEN=1 rewrites the pictures;
// look at each one before committing it.

#include "tests/golden/golden.h"
#include "tests/shell/program_fixture.h"

namespace fruvana {
namespace {

using golden::matchesGolden;

class GoldenScreen : public testing::WholeProgram {
  protected:
    Picture cabinet() { return composedCabinet(); }
};

TEST_F(GoldenScreen, TheCabinetAfterTheReveal) {
    startAndReveal();
    EXPECT_TRUE(matchesGolden(cabinet(), "cabinet_revealed"));
}

TEST_F(GoldenScreen, AWinningFirstDealLightsItsLamps) {
    startAndReveal();
    // Without a second deal every pull is a first deal; the seed decides which one wins.
    state().options.secondDeal = 0;
    for (int pull = 0; pull < 100 && state().win == 0; ++pull) {
        pullLever();
        settle();
    }
    ASSERT_GT(state().win, 0);
    EXPECT_TRUE(matchesGolden(cabinet(), "winning_deal"));
}

TEST_F(GoldenScreen, TheSettingsScreenShowsKnownCounts) {
    startAndReveal();
    Statistics& counts = state().statistics;
    for (int k = 1; k <= kClassCount; ++k) {
        counts.firstDeal.onRow(k) = 7 * k * k * k;   // 7 to 12096: every width of number
        counts.secondDeal.onRow(k) = 1000 - 83 * k;  // 917 down to 4
    }
    program->input().route(InputEvent::typed(U's'));
    settle();
    ASSERT_TRUE(program->settings().visible());
    EXPECT_TRUE(matchesGolden(cabinet(), "settings_screen"));
}

// The preferences screen with a volume, an autoplay stop and a key changed, the focus on the
// key; then the reality check over the cabinet.
TEST_F(GoldenScreen, ThePreferencesScreenAndTheRealityCheck) {
    startAndReveal();
    const InputEvent down = InputEvent::arrowKey(Arrow::Down);
    // 90 % effects, autoplay to stop after 25 games, and Q to pull the lever.
    for (const InputEvent& e :
         {InputEvent::typed(U'p'), InputEvent::arrowKey(Arrow::Left), down, down, down,
          InputEvent::enter(), InputEvent::arrowKey(Arrow::Right), down, down, down, down, down,
          down, InputEvent::enter(), InputEvent::typed(U'q')})
        program->input().route(e);
    settle();
    ASSERT_TRUE(program->preferencesScreen().visible());
    EXPECT_TRUE(matchesGolden(cabinet(), "preferences_screen"));
    program->input().route(InputEvent::typed(27));
    Preferences every15 = program->preferences();
    every15.realityCheckMinutes = 15;
    program->applyPreferences(every15);
    platform->advance(std::uint64_t{15} * 60 * 1000);
    program->loop().delay(1100);
    ASSERT_TRUE(program->realityCheck().visible());
    EXPECT_TRUE(matchesGolden(cabinet(), "reality_check"));
}

// The hold lamps with their shapes (a chosen hold's squares, a suggested hold's rings), changed
// while lit and changed back.
TEST_F(GoldenScreen, HoldLampsWithShapes) {
    startAndReveal();
    view().showLamp(1, LampLook::Red);
    view().showLamp(2, LampLook::Green);
    const Picture byColour = cabinet();
    Preferences shapes;
    shapes.lampShapes = 1;
    program->applyPreferences(shapes);
    EXPECT_TRUE(matchesGolden(cabinet(), "hold_lamps_shaped"));
    program->applyPreferences(Preferences{});
    EXPECT_TRUE(cabinet() == byColour);
}

// The ten figures 0 to 9 and an empty cell, cut from the credit meter (158, 394) showing
// 1234567 and the win meter (158, 464) showing 890: the picture the end-to-end screen reader
// reads the meters with.
TEST_F(GoldenScreen, TheMetersShowEveryFigure) {
    startAndReveal();
    view().drawMeter(1234567, Meter::Credit, 7);
    view().drawMeter(890, Meter::Win, 7);
    const Picture shown = cabinet();
    Picture figures(11 * 13, 18);
    auto take = [&](int slot, int x, int y) {
        blit(shown, Rect{x, y, 13, 18}, figures, 13 * slot, 0);
    };
    for (int d = 1; d <= 7; ++d) take(d, 158 + 13 * (d - 1), 394);
    take(8, 158 + 13 * 4, 464);
    take(9, 158 + 13 * 5, 464);
    take(0, 158 + 13 * 6, 464);
    take(10, 158, 464);
    EXPECT_TRUE(matchesGolden(figures, "meter_digits"));
}

}  // namespace
}  // namespace fruvana
