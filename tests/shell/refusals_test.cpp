// What the controls refuse: the lever, hold, wheel and button keys while autoplay runs (the
// coin is refused in the stories), and a button's release that arrives while the reels turn.

#include "tests/shell/program_fixture.h"

namespace fruvana {
namespace {

namespace L = layout;

struct Snapshot {
    std::int32_t bet, credit, account;
    Phase phase;
    Holds held;
    Statistics statistics;
    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

class Refusals : public testing::WholeProgram {
  protected:
    Snapshot snapshot() {
        return {state().bet,   state().credit, state().account,
                state().phase, state().held,   state().statistics};
    }
    void after(const InputEvent& event) {
        program->input().route(event);
        settle();
    }
};

struct DuringAutoplay {
    const char* name;
    InputEvent event;
    bool inSecondDeal;  // after a first deal, where holds may change; else where bets may
};

class RefusedDuringAutoplay : public Refusals,
                              public ::testing::WithParamInterface<DuringAutoplay> {};

TEST_P(RefusedDuringAutoplay, ChangesNothing) {
    startAndReveal();
    state().options.smartHold = 0;
    if (GetParam().inSecondDeal) {
        after(InputEvent::enter());
        ASSERT_EQ(state().phase, Phase::SecondDeal);
    }
    after(InputEvent::typed(U'a'));
    ASSERT_TRUE(program->game().autoplayOn());
    const Snapshot before = snapshot();
    after(GetParam().event);
    EXPECT_EQ(snapshot(), before);
    EXPECT_TRUE(program->game().autoplayOn());
    EXPECT_FALSE(program->settings().visible());
    EXPECT_FALSE(program->preferencesScreen().visible());
    EXPECT_TRUE(platform->openedUrls().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedDuringAutoplay,
    ::testing::Values(DuringAutoplay{"Enter", InputEvent::enter(), true},
                      DuringAutoplay{"HoldKey", InputEvent::typed(U'3'), true},
                      DuringAutoplay{"WheelDown", InputEvent::wheelStep(-1), false},
                      DuringAutoplay{"BetUp", InputEvent::typed(U'.'), false},
                      DuringAutoplay{"Collect", InputEvent::typed(U'o'), false},
                      DuringAutoplay{"Settings", InputEvent::typed(U's'), false},
                      DuringAutoplay{"Help", InputEvent::typed(U'h'), false},
                      DuringAutoplay{"Preferences", InputEvent::typed(U'p'), false},
                      DuringAutoplay{"PreferencesPad", InputEvent::padButton(PadButton::DpadDown),
                                     false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Refusals, AButtonReleasedWhileTheReelsTurnDoesNothing) {
    startAndReveal();
    // The coin is pressed, a deal starts by key, and the release comes while the reels turn.
    const auto coin = onCabinet(L::kCoinAt, 26, 26);
    program->input().route(InputEvent::mouseDown(coin.first, coin.second));
    program->input().route(InputEvent::enter());
    ASSERT_EQ(state().inputEnabled, 0);
    program->input().route(InputEvent::mouseUp(coin.first, coin.second));
    settle();
    EXPECT_EQ(state().credit, 995);
    EXPECT_EQ(state().account, -1000);
}

}  // namespace
}  // namespace fruvana
