// The settings screen in the whole program: its first-run look, the switches and the options
// file, OK after Second deal was switched off, the reset, and the focus between the two forms.

#include "tests/shell/program_fixture.h"

namespace fruvana {
namespace {

namespace L = layout;
using Bytes = std::vector<std::uint8_t>;

class Settings : public testing::WholeProgram {
  protected:
    void open() {
        program->input().route(InputEvent::typed(U's'));
        settle();
        ASSERT_TRUE(program->settings().visible());
    }
    // A press and release at a point of the settings panel.
    void clickPanel(int x, int y) { click(onCabinet({x, y}, 0, 0)); }
    void clickSwitch(int index) {
        const L::Offset at = L::kSwitchesAt[static_cast<std::size_t>(index)];
        clickPanel(at.x + 10, at.y + 10);
    }
    void clickOk() { clickPanel(L::kOkAt.x + 26, L::kOkAt.y + 26); }
    void clickReset() { clickPanel(L::kResetAt.x + 16, L::kResetAt.y + 16); }
    Bytes optionsFile() { return testing::readFile(folder / "fruvana2.ini"); }
    std::vector<std::string> column(int col) {
        std::vector<std::string> cells;
        for (int r = 1; r <= 12; ++r)
            cells.push_back(program->settings().statisticsTable().cellText(col, r));
        return cells;
    }
};

TEST_F(Settings, AFirstRunShowsTheDefaultsTheMultipliersAndZeros) {
    startAndReveal();
    open();
    SettingsScreen& s = program->settings();
    const bool lit[] = {false, true, false, true, true};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(s.switchLit(i), lit[i]) << i;
    EXPECT_EQ(s.accountLine().caption(), "-1000");
    EXPECT_EQ(column(1), (std::vector<std::string>{"500", "250", "100", "75", "50", "25", "15",
                                                   "10", "7", "5", "2", ""}));
    EXPECT_EQ(column(2), std::vector<std::string>(12, "0"));
    EXPECT_EQ(column(3), std::vector<std::string>(12, "0"));
    EXPECT_EQ(s.statisticsTable().cellText(0, 12), "total deals");
    EXPECT_EQ(s.statisticsTable().cellText(2, 0), "1st DEAL");
    // The panel covers the cabinet exactly, the table at its place.
    EXPECT_EQ(s.area(), (Rect{112, 84, 800, 600}));
    EXPECT_EQ(s.statisticsTable().bounds(), (Rect{112 + 352, 84 + 141, 406, 312}));
}

TEST_F(Settings, EachSwitchFlipsItsOptionAndRewritesTheOptionsFile) {
    startAndReveal();
    open();
    // Screen order Auto bet, Second deal, Smart hold, Sound FX, Voice FX; file order puts
    // Voice FX before Sound FX.
    const Bytes after[] = {
        {1, 1, 0, 1, 1}, {1, 0, 0, 1, 1}, {1, 0, 1, 1, 1}, {1, 0, 1, 1, 0}, {1, 0, 1, 0, 0}};
    bool lit[] = {false, true, false, true, true};
    for (int i = 0; i < 5; ++i) {
        clickSwitch(i);
        lit[i] = !lit[i];
        EXPECT_EQ(optionsFile(), after[i]) << i;
        for (int k = 0; k < 5; ++k) EXPECT_EQ(program->settings().switchLit(k), lit[k]) << i;
    }
}

TEST_F(Settings, SoundFxSwitchedOffIsSilentAndOnAgainClicks) {
    startAndReveal();
    open();
    platform->headlessAudio().clearLog();
    clickSwitch(3);
    EXPECT_TRUE(soundsPlayed().empty());
    clickSwitch(3);
    EXPECT_EQ(soundsPlayed(), (std::vector<std::string>{"small_button"}));
}

TEST_F(Settings, ASwitchClicksOnlyWhenTheMainButtonIsLetGoOverIt) {
    startAndReveal();
    open();
    const auto [x, y] = onCabinet(L::kSwitchesAt[0], 10, 10);
    program->input().route(InputEvent::mouseDown(x, y, MouseButton::Right));
    program->input().route(InputEvent::mouseUp(x, y, MouseButton::Right));
    program->input().route(InputEvent::mouseDown(x, y));
    program->input().route(InputEvent::mouseUp(x, y, MouseButton::Right));
    program->input().route(InputEvent::mouseDown(x, y));
    program->input().route(InputEvent::mouseUp(x + 100, y));
    EXPECT_EQ(state().options.autoBet, 0);
}

TEST_F(Settings, ResetInPhase2RestartsTheBankAndTheCountsButKeepsTheSecondDeal) {
    startAndReveal();
    pullLever();
    settle();
    ASSERT_EQ(state().phase, Phase::SecondDeal);
    open();
    clickReset();
    EXPECT_EQ(state().account, -1000);
    EXPECT_EQ(state().credit, 1000);
    EXPECT_EQ(state().win, 0);
    EXPECT_EQ(state().statistics, Statistics{});
    EXPECT_EQ(program->settings().accountLine().caption(), "-1000");
    EXPECT_EQ(column(2), std::vector<std::string>(12, "0"));
    clickOk();
    EXPECT_EQ(state().phase, Phase::SecondDeal);
    pullLever();
    settle();
    EXPECT_EQ(state().statistics.secondDeal.deals, 1);
    EXPECT_EQ(state().credit, 1000);  // the second deal is free
}

TEST_F(Settings, KeysDoNothingWhileTheScreenHasTheFocusAndWorkAgainAfterAClickBeside) {
    startAndReveal();
    open();
    program->input().route(InputEvent::typed(U'c'));
    program->input().route(InputEvent::typed(U'x'));
    program->input().route(InputEvent::wheelStep(1));
    settle();
    EXPECT_EQ(state().credit, 1000);
    EXPECT_EQ(state().bet, 5);
    EXPECT_FALSE(program->ended());
    click({5, 5});  // the background beside the panel
    EXPECT_NE(program->overlays().focus(), Overlay::Settings);
    EXPECT_TRUE(program->settings().visible());
    program->input().route(InputEvent::typed(U'c'));
    settle();
    EXPECT_EQ(state().credit, 2000);
    // A click on the panel takes the focus back to it.
    clickPanel(400, 300);
    EXPECT_EQ(program->overlays().focus(), Overlay::Settings);
}

}  // namespace
}  // namespace fruvana
