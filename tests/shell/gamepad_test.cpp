// A game controller plays as the keyboard does: every button through the key map's handlers,
// and Back as the settings screen's OK while it is shown. The refusals are the keys' own (the
// same rows of the input table), and that the SDL back end hands a controller's buttons on is
// tested with the platform.

#include "tests/shell/program_fixture.h"

namespace fruvana {
namespace {

class Gamepad : public testing::WholeProgram {
  protected:
    void press(PadButton b) {
        program->input().route(InputEvent::padButton(b));
        settle();
    }
};

struct PadCase {
    const char* name;
    PadButton button;
    std::int32_t bet, credit, account;
    bool autoplay;
};

class PadActsAsItsKey : public Gamepad, public ::testing::WithParamInterface<PadCase> {};

TEST_P(PadActsAsItsKey, WithTheKeysEffect) {
    const PadCase& c = GetParam();
    startAndReveal();
    press(c.button);
    EXPECT_EQ(state().bet, c.bet);
    EXPECT_EQ(state().credit, c.credit);
    EXPECT_EQ(state().account, c.account);
    EXPECT_EQ(program->game().autoplayOn(), c.autoplay);
    EXPECT_FALSE(program->ended());
}

INSTANTIATE_TEST_SUITE_P(
    Table, PadActsAsItsKey,
    ::testing::Values(
        PadCase{"ADeals", PadButton::A, 5, 995, -1000, false},
        PadCase{"XInsertsACoin", PadButton::X, 5, 2000, -2000, false},
        PadCase{"BCollects", PadButton::B, 5, 0, 0, false},
        PadCase{"YStartsAutoplay", PadButton::Y, 5, 1000, -1000, true},
        PadCase{"LeftShoulderBetsDown", PadButton::LeftShoulder, 4, 1000, -1000, false},
        PadCase{"RightShoulderBetsUp", PadButton::RightShoulder, 6, 1000, -1000, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Gamepad, TheDpadHoldsStartOpensHelpAndBackOpensAndClosesTheSettings) {
    startAndReveal();
    state().options.smartHold = 0;
    press(PadButton::A);
    ASSERT_EQ(state().phase, Phase::SecondDeal);
    const Holds before = state().held;
    press(PadButton::DpadLeft);
    press(PadButton::DpadUp);
    press(PadButton::DpadRight);
    for (std::size_t n = 0; n < 3; ++n) EXPECT_NE(state().held[n], before[n]) << n;
    press(PadButton::Start);
    ASSERT_EQ(platform->openedUrls().size(), 1u);
    EXPECT_NE(platform->openedUrls()[0].find("help.htm"), std::string::npos);
    press(PadButton::Back);
    EXPECT_TRUE(program->settings().visible());
    // While the settings screen has the focus, only Back does anything: it presses OK.
    press(PadButton::X);
    EXPECT_EQ(state().credit, 995);
    press(PadButton::Back);
    EXPECT_FALSE(program->settings().visible());
    press(PadButton::X);
    EXPECT_EQ(state().credit, 1995);
}

}  // namespace
}  // namespace fruvana
