// A game controller plays as the keyboard does: every button through the key map's handlers,
// with the same refusals, and Back as the settings screen's OK while it is shown; on the SDL
// back end a virtual controller deals and holds.

#include <SDL.h>

#include "platform/sdl_platform.h"
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

TEST_F(Gamepad, AutoplayRefusesWhatItsKeysRefuse) {
    startAndReveal();
    press(PadButton::Y);
    for (PadButton refused : {PadButton::X, PadButton::B, PadButton::A, PadButton::RightShoulder})
        press(refused);
    EXPECT_EQ(state().credit, 1000);
    EXPECT_EQ(state().bet, 5);
    press(PadButton::Y);
    EXPECT_FALSE(program->game().autoplayOn());
}

// The real SDL back end with SDL's virtual controller: a deal by A and a hold by the D-pad.
TEST(GamepadOnSdl, AVirtualControllerDealsAndHolds) {
    const testing::ScratchFolder folder;
    std::string error;
    auto platform = SdlPlatform::create({.videoDriver = "dummy",
                                         .audioDriver = "dummy",
                                         .programFolder = folder.path.string() + "/"},
                                        error);
    ASSERT_TRUE(platform) << error;
    // The dummy driver's window never has the focus, without which SDL holds controller
    // events back.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    auto program = testing::startProgram(*platform, true, error);
    ASSERT_TRUE(program) << error;
    program->game().state().options.smartHold = 0;
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 6,
                                                SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    program->loop().delay(50);  // the program takes the controller up
    SDL_GameController* pad =
        SDL_GameControllerFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
    ASSERT_NE(pad, nullptr);
    auto tap = [&](SDL_GameControllerButton b) {
        SDL_Joystick* stick = SDL_GameControllerGetJoystick(pad);
        SDL_JoystickSetVirtualButton(stick, b, 1);
        SDL_JoystickUpdate();
        program->loop().delay(20);
        SDL_JoystickSetVirtualButton(stick, b, 0);
        SDL_JoystickUpdate();
        for (int i = 0; i < 400 && program->game().state().inputEnabled == 0; ++i)
            program->loop().delay(10);
    };
    tap(SDL_CONTROLLER_BUTTON_A);
    EXPECT_EQ(program->game().state().credit, 995);
    EXPECT_EQ(program->game().state().statistics.firstDeal.deals, 1);
    ASSERT_EQ(program->game().state().phase, Phase::SecondDeal);
    const std::uint8_t held = program->game().state().held[1];
    tap(SDL_CONTROLLER_BUTTON_DPAD_UP);
    EXPECT_NE(program->game().state().held[1], held);
    SDL_JoystickDetachVirtual(index);
    program.reset();
    platform.reset();
}

}  // namespace
}  // namespace fruvana
