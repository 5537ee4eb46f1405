// The whole program on the headless platform, story by story: a first start, the intro, deals
// by key, holds, coins, bets, collect, autoplay, settings, the ways out and a restart, small
// and shallow screens, and the data files that cannot be read or may not pass their limits.

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>
#include <tuple>

#include "shell/help_page.h"
#include "tests/shell/program_fixture.h"

namespace fruvana {
namespace {

namespace fs = std::filesystem;
namespace L = layout;
using testing::Bytes;
using testing::le32;

class Story : public testing::WholeProgram {
  protected:
    Bytes fileBytes(std::string_view name) { return testing::readFile(folder / name); }
    bool exists(std::string_view name) { return fs::exists(folder / name); }
    // A press and release on a button's picture at a point of its own.
    void clickButton(L::Offset at, int x, int y) { click(onCabinet(at, x, y)); }
};

TEST_F(Story, AFirstStartWritesOnlyTheCreditFileThenShowsTheIntro) {
    start();
    EXPECT_EQ(fileBytes("fruvana.ini"), le32({5, 0, 1000, -1000}));
    EXPECT_FALSE(exists("fruvana2.ini"));
    EXPECT_FALSE(exists("stat.dat"));
    EXPECT_EQ(platform->windowTitle(), "Fruvana");
    program->showWindow();
    EXPECT_EQ(soundsPlayed(), (std::vector<std::string>{"welcome"}));
    // The intro lasts 3500 ms.
    program->loop().delay(3480);
    EXPECT_TRUE(program->view().screen().layer("intro")->visible());
    EXPECT_FALSE(program->view().screen().layer("cabinet")->visible());
    EXPECT_EQ(view().message(), "");
    program->loop().delay(40);
    EXPECT_FALSE(program->view().screen().layer("intro")->visible());
    EXPECT_TRUE(program->view().screen().layer("cabinet")->visible());
    EXPECT_EQ(view().message(), "Play Fruvana !");
    EXPECT_FALSE(program->ended());
}

TEST_F(Story, KeysAlreadyActOnTheGameDuringTheIntro) {
    start();
    program->showWindow();
    type(U'C');
    EXPECT_EQ(state().credit, 2000);
    EXPECT_EQ(fileBytes("fruvana.ini"), le32({5, 0, 2000, -2000}));
}

TEST_F(Story, EnterDealsWithoutTheLeversClackAndDigitsToggleHolds) {
    startAndReveal();
    state().options.smartHold = 0;
    platform->headlessAudio().clearLog();
    program->input().route(InputEvent::enter());
    settle();
    ASSERT_EQ(state().phase, Phase::SecondDeal);
    EXPECT_EQ(soundsPlayed().front(), "spin_from_left");
    for (char32_t key : {U'1', U'2', U'3'}) {
        const std::size_t n = static_cast<std::size_t>(key - U'1');
        const std::uint8_t before = state().held[n];
        type(key);
        EXPECT_NE(state().held[n], before) << n;
    }
    type(U' ');
    EXPECT_EQ(state().phase, Phase::FirstDeal);
    EXPECT_EQ(state().statistics.secondDeal.deals, 1);
}

// Each money key reaches its action, writes the credit file and lets its button up; the
// limits themselves are the engine's and are tested there.
struct MoneyCase {
    const char* name;
    std::int32_t bet, win, credit, account;
    Phase phase;
    char32_t key;
    std::int32_t betAfter, winAfter, creditAfter, accountAfter;
};

constexpr Phase kFirst = Phase::FirstDeal;
constexpr Phase kSecond = Phase::SecondDeal;

class MoneyKeys : public Story, public ::testing::WithParamInterface<MoneyCase> {};

TEST_P(MoneyKeys, ChangeTheMoneyAndTheCreditFileOrNothing) {
    const MoneyCase& c = GetParam();
    startAndReveal();
    state().bet = c.bet;
    state().win = c.win;
    state().credit = c.credit;
    state().account = c.account;
    state().phase = c.phase;
    program->saveCredit();
    type(c.key);
    EXPECT_EQ(state().bet, c.betAfter);
    EXPECT_EQ(state().win, c.winAfter);
    EXPECT_EQ(state().credit, c.creditAfter);
    EXPECT_EQ(state().account, c.accountAfter);
    EXPECT_EQ(fileBytes("fruvana.ini"),
              le32({c.betAfter, c.winAfter, c.creditAfter, c.accountAfter}));
    // every button is back at rest
    for (const auto& [name, at] : {std::pair{"bet_down_button", L::kBetDownAt},
                                   {"bet_up_button", L::kBetUpAt},
                                   {"coin_button", L::kCoinAt},
                                   {"collect_button", L::kCollectAt}}) {
        const PictureLayer* layer = program->view().screen().layer(name);
        EXPECT_EQ(std::pair(layer->x(), layer->y()), onCabinet(at, 0, 0)) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, MoneyKeys,
    ::testing::Values(
        MoneyCase{"CoinBelowTheLimit", 5, 0, 8'999'000, -1000, kFirst, U'c', 5, 0, 9'000'000,
                  -2000},
        MoneyCase{"CoinAtTheLimit", 5, 0, 9'000'000, -1000, kFirst, U'C', 5, 0, 9'000'000, -1000},
        MoneyCase{"Collect", 5, 40, 250, -1000, kFirst, U'o', 5, 0, 0, -710},
        MoneyCase{"CollectByZeroInPhase2", 5, 40, 250, -1000, kSecond, U'0', 5, 0, 0, -710},
        MoneyCase{"BetUp", 3, 0, 1000, 0, kFirst, U'.', 4, 0, 1000, 0},
        MoneyCase{"BetDownInPhase2", 3, 0, 1000, 0, kSecond, U',', 3, 0, 1000, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Story, ACoinPressCountsOnlyInsideTheRoundFace) {
    startAndReveal();
    clickButton(L::kCoinAt, 52, 52);
    EXPECT_EQ(state().credit, 1000);
    clickButton(L::kCoinAt, 26, 0);
    EXPECT_EQ(state().credit, 2000);
    // The small buttons' circle is centred at (16, 16).
    clickButton(L::kBetUpAt, 33, 33);
    EXPECT_EQ(state().bet, 5);
    clickButton(L::kBetUpAt, 16, 32);
    EXPECT_EQ(state().bet, 6);
}

// Every push button pressed on its face: the sound it makes and how far it moves, then back.
struct PressLook {
    const char* name;
    const char* layer;
    L::Offset at;  // the button's place on the cabinet
    int face;      // the centre of its round face in its own pixels
    bool onSettings;
    const char* sound;
    int dx, dy;
};

class ButtonPress : public Story, public ::testing::WithParamInterface<PressLook> {};

TEST_P(ButtonPress, SoundsAndSinks) {
    const PressLook& c = GetParam();
    startAndReveal();
    if (c.onSettings) type(U's');
    const PictureLayer* button = program->view().screen().layer(c.layer);
    ASSERT_NE(button, nullptr);
    const int restX = button->x();
    const int restY = button->y();
    platform->headlessAudio().clearLog();
    const auto [x, y] = onCabinet(c.at, c.face, c.face);
    program->input().route(InputEvent::mouseDown(x, y));
    EXPECT_EQ(soundsPlayed(), std::vector<std::string>{c.sound});
    EXPECT_EQ(button->x() - restX, c.dx);
    EXPECT_EQ(button->y() - restY, c.dy);
    program->input().route(InputEvent::mouseUp(x, y));
    settle();
    EXPECT_EQ(button->x(), restX);
    EXPECT_EQ(button->y(), restY);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ButtonPress,
    ::testing::Values(
        PressLook{"Help", "help_button", {80, 285}, 26, false, "big_button", 0, 4},
        PressLook{"Exit", "exit_button", {180, 285}, 26, false, "big_button", 0, 4},
        PressLook{"BetDown", "bet_down_button", {51, 456}, 16, false, "small_button", -2, 0},
        PressLook{"BetUp", "bet_up_button", {95, 456}, 16, false, "small_button", 2, 0},
        PressLook{"Coin", "coin_button", {730, 61}, 26, false, "coin_drop", 0, 4},
        PressLook{"Collect", "collect_button", {740, 146}, 16, false, "small_button", 0, 2},
        PressLook{"Settings", "settings_button", {740, 216}, 16, false, "small_button", 0, 2},
        PressLook{"Autoplay", "autoplay_button", {740, 286}, 16, false, "small_button", 0, 2},
        PressLook{"Ok", "settings.ok_button", {368, 508}, 26, true, "big_button", 0, 4},
        PressLook{"Reset", "settings.reset_button", {468, 489}, 16, true, "small_button", 0, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileUrl, EveryByteOutsideThePlainOnesIsEscaped) {
    EXPECT_EQ(fileUrl("/home/a b/help.htm"), "file:///home/a%20b/help.htm");
    EXPECT_EQ(fileUrl("/home/zo\xC3\xAB/help.htm"), "file:///home/zo%C3%AB/help.htm");
    EXPECT_EQ(fileUrl("/x/#?%;&'\"$(`)/a-b_c.d~"),
              "file:///x/%23%3F%25%3B%26%27%22%24%28%60%29/a-b_c.d~");
}

TEST_F(Story, AFloodOfKeysNestsOnlyABoundedDepthAndThePlayGoesOn) {
    startAndReveal();
    for (int i = 0; i < 200; ++i) platform->scriptAfter(0, InputEvent::typed(U'c'));
    program->loop().delay(5000);
    EXPECT_GT(state().credit, 1000);
    EXPECT_LE(state().credit, 1000 + 8 * 1000);
    EXPECT_EQ(state().inputEnabled, 1);
    type(U'c');  // and keys act again afterwards
    EXPECT_LE(state().credit, 1000 + 9 * 1000);
}

TEST_F(Story, EveryWheelEventIsOneStepOfTheBet) {
    startAndReveal();
    for (auto [delta, bet] : {std::pair{-1, 4}, {-7, 3}, {+9, 4}, {0, 5}}) {
        program->input().route(InputEvent::wheelStep(delta));
        settle();
        EXPECT_EQ(state().bet, bet) << delta;
    }
}

TEST_F(Story, AutoplaySaysSoWaitsAndRefusesOtherControls) {
    startAndReveal();
    const std::uint64_t t0 = platform->ticksMs();
    program->input().route(InputEvent::typed(U'a'));
    EXPECT_EQ(view().message(), "Auto play ON");
    EXPECT_TRUE(program->game().autoplayOn());
    // 200 for the key, 2 for the button coming up, 500 before the timer starts.
    EXPECT_EQ(platform->ticksMs() - t0, 702u);
    platform->headlessAudio().clearLog();
    // The first automatic deal pulls the lever 4000 ms after the timer starts, to the frame.
    program->loop().delay(3970);
    EXPECT_TRUE(soundsPlayed().empty());
    program->loop().delay(30);
    ASSERT_FALSE(soundsPlayed().empty());
    EXPECT_EQ(soundsPlayed().front(), "lever_pull");
    type(U'c');
    EXPECT_EQ(state().credit, 995);  // refused while autoplay runs; the deal took the stake
    settle();
    EXPECT_EQ(state().statistics.firstDeal.deals, 1);
    const std::uint64_t t1 = platform->ticksMs();
    program->input().route(InputEvent::typed(U'A'));
    EXPECT_FALSE(program->game().autoplayOn());
    EXPECT_EQ(view().message(), "Auto play OFF");
    EXPECT_GE(platform->ticksMs() - t1, 1700u);
}

// With "mute and pause" chosen, losing the focus silences the game and holds autoplay's next
// deal until the focus comes back; with the default, nothing changes.
TEST_F(Story, WithoutTheFocusAMutedGameWaitsForItsPlayer) {
    for (const bool paused : {true, false}) {
        startAndReveal();
        Preferences preferences;
        preferences.muteWhenUnfocused = paused ? 1 : 0;
        program->applyPreferences(preferences);
        program->input().route(InputEvent::typed(U'a'));
        platform->headlessAudio().clearLog();
        platform->scriptAfter(1, InputEvent::focus(false));
        program->loop().delay(4500);  // past the first automatic deal's time
        EXPECT_EQ(state().statistics.firstDeal.deals + (state().inputEnabled ? 0 : 1),
                  paused ? 0 : 1);
        platform->scriptAfter(1, InputEvent::focus(true));
        program->loop().delay(4100);
        settle();
        EXPECT_GE(state().statistics.firstDeal.deals, 1);
        ASSERT_FALSE(soundsPlayed().empty());
        EXPECT_EQ(soundsPlayed().front(), "lever_pull");
        program.reset();
    }
}

// The preferences screen opens by P, the controller or the settings screen's button; a volume
// changed there is heard at once at its new level, and P, Escape or Back close it with the
// preferences written to the file and the keys back with the cabinet.
TEST_F(Story, ThePreferencesScreenChangesAreHeardAppliedAndKept) {
    const struct {
        std::vector<InputEvent> open;
        InputEvent close;
    } cases[] = {
        {{InputEvent::typed(U'p')}, InputEvent::typed(U'P')},
        {{InputEvent::padButton(PadButton::DpadDown)}, InputEvent::padButton(PadButton::Back)},
        {{InputEvent::typed(U's'), InputEvent::mouseDown(0, 0), InputEvent::mouseUp(0, 0)},
         InputEvent::typed(27)},
    };
    for (const auto& c : cases) {
        std::vector<std::string> complaints;
        const PlayerFiles files = playerFiles(folder.string(), folder.string(), "");
        fs::remove(files.preferences);
        PreferencesKeeper own(files, complaints);
        keeper = &own;
        startAndReveal();
        const auto kept = [&] {
            return loadPreferences(files.preferences, complaints)->preferences;
        };
        for (InputEvent e : c.open) {
            if (e.kind == InputKind::MouseDown || e.kind == InputKind::MouseUp)
                std::tie(e.x, e.y) = onCabinet(layout::kPreferencesButtonAt, 20, 20);
            program->input().route(e);
        }
        settle();
        ASSERT_TRUE(program->preferencesScreen().visible());
        platform->headlessAudio().clearLog();
        program->input().route(InputEvent::arrowKey(Arrow::Left));
        const auto& log = platform->headlessAudio().log();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back().name, "small_button");
        EXPECT_EQ(log.back().volume, 90);
        // A right click on the voice volume's value steps it back.
        const auto [vx, vy] = onCabinet({250, 160}, 65, 9);
        program->input().route(InputEvent::mouseDown(vx, vy, MouseButton::Right));
        program->input().route(InputEvent::mouseUp(vx, vy, MouseButton::Right));
        EXPECT_EQ(kept(), Preferences{});  // the first start's file, kept till the screen closes
        program->input().route(c.close);
        EXPECT_FALSE(program->preferencesScreen().visible());
        EXPECT_EQ(kept().effectsVolume, 90);
        EXPECT_EQ(kept().voiceVolume, 90);
        EXPECT_EQ(program->preferences(), kept());
        // The keys go back to the screen beneath: the settings, or the cabinet.
        const bool settingsBeneath = c.open.size() > 1;
        EXPECT_EQ(program->settings().visible(), settingsBeneath);
        const std::int32_t credit = state().credit;
        type(U'c');
        EXPECT_EQ(state().credit, credit + (settingsBeneath ? 0 : 1000));
        program.reset();
        keeper = nullptr;
    }
}

// The reality check falls due an interval after the session began: autoplay waits under it,
// even when the window's focus comes back, Keep playing (or Escape) lets it go on, Stop saves
// and quits.
TEST_F(Story, TheRealityCheckPausesAutoplayUntilAnswered) {
    for (const bool stop : {false, true}) {
        startAndReveal();
        Preferences every15;
        every15.realityCheckMinutes = 15;
        every15.muteWhenUnfocused = 1;
        program->applyPreferences(every15);
        program->input().route(InputEvent::typed(U'a'));
        platform->advance(std::uint64_t{15} * 60 * 1000);
        settle();
        program->loop().delay(1100);
        ASSERT_TRUE(program->realityCheck().visible());
        const std::int32_t games = program->game().session().games;
        EXPECT_TRUE(program->realityCheck().panel().message().starts_with(
            "You have played 15 min: " + std::to_string(games) + " games, net "));
        program->focusChanged(false);  // the focus coming back does not end the wait
        program->focusChanged(true);
        program->loop().delay(9000);
        EXPECT_EQ(program->game().session().games, games);  // autoplay waits
        if (stop) {
            program->input().route(InputEvent::arrowKey(Arrow::Right));
            program->input().route(InputEvent::enter());
            EXPECT_TRUE(program->ended());
        } else {
            program->input().route(InputEvent::typed(27));
            EXPECT_FALSE(program->realityCheck().visible());
            program->loop().delay(8200);
            settle();
            EXPECT_GT(program->game().session().games, games);
        }
        program.reset();
    }
}

TEST_F(Story, SettingsOpenBySOrT) {
    for (char32_t key : {U's', U'T'}) {
        startAndReveal();
        state().options.secondDeal = 0;
        state().secondDealAtOpen = 1;
        type(key);
        EXPECT_EQ(state().secondDealAtOpen, 0);
        program.reset();
    }
}

TEST_F(Story, XIsRefusedWhileTheReelsTurnAndEndsTheGameBetweenAutoplayDeals) {
    startAndReveal();
    pullLever();
    program->input().route(InputEvent::typed(U'x'));
    EXPECT_FALSE(program->ended());
    program->input().route(InputEvent::closeRequest());
    EXPECT_FALSE(program->ended());
    settle();
    program->input().route(InputEvent::typed(U'a'));
    settle();
    program->loop().delay(4100);
    settle();
    program->input().route(InputEvent::typed(U'X'));
    EXPECT_TRUE(program->ended());
}

TEST_F(Story, XInsideAKeysWaitEndsTheGameAndTheWaitingKeyActsNoMore) {
    for (const InputEvent& waiting : {InputEvent::enter(), InputEvent::typed(U'c')}) {
        startAndReveal();
        platform->scriptAfter(100, InputEvent::typed(U'x'));
        program->input().route(waiting);
        program->loop().delay(5000);
        EXPECT_TRUE(program->ended());
        EXPECT_EQ(fileBytes("fruvana.ini"), le32({5, 0, 1000, -1000}));
        program.reset();
    }
}

TEST_F(Story, TheWayOutWritesTheThreeFilesAndARestartShowsThem) {
    startAndReveal();
    type(U'c');
    pullLever();
    settle();
    state().options.autoBet = 1;
    program->input().route(InputEvent::closeRequest());
    ASSERT_TRUE(program->ended());
    const MachineState saved = state();
    const Bytes creditFile = fileBytes("fruvana.ini");
    EXPECT_EQ(creditFile, le32({saved.bet, saved.win, saved.credit, saved.account}));
    EXPECT_EQ(fileBytes("fruvana2.ini"), (Bytes{1, 1, 0, 1, 1}));
    EXPECT_EQ(fileBytes("stat.dat").size(), 96u);

    program.reset();
    startAndReveal();
    EXPECT_EQ(state().credit, saved.credit + saved.win);
    EXPECT_EQ(state().win, 0);
    EXPECT_EQ(state().account, saved.account);
    EXPECT_EQ(state().options, saved.options);
    EXPECT_EQ(state().statistics, saved.statistics);
}

// A handler that throws while the reels turn ends the game, where the deal it broke would
// leave the game taking no input for good: the reels stop on their line, which is paid, counted
// and recalled, and the files are written.
TEST_F(Story, AHandlerThatThrowsMidDealEndsTheGameWholeWithItsFilesSaved) {
    startAndReveal();
    const std::uint64_t turning = platform->ticksMs() + 300;
    program->loop().onPaint = [this, turning, paint = program->loop().onPaint,
                               thrown = false]() mutable {
        if (!thrown && platform->ticksMs() >= turning) {
            thrown = true;
            throw std::runtime_error("out of memory");
        }
        paint();
    };
    ::testing::internal::CaptureStderr();
    pullLever();
    while (!program->ended() && platform->ticksMs() < turning + 1000) program->loop().delay(5);
    ASSERT_TRUE(program->ended());
    EXPECT_EQ(program->run(), 1);
    EXPECT_EQ(
        ::testing::internal::GetCapturedStderr(),
        "Fruvana: a frame was not painted: out of memory; the game ends and saves its files\n");
    EXPECT_EQ(fileBytes("fruvana.ini"), le32({5, state().win, 995, -1000}));
    EXPECT_EQ(fileBytes("fruvana2.ini"), (Bytes{0, 1, 0, 1, 1}));
    MachineState saved;
    saved.dataFolder = folder.string() + "/";
    loadStatistics(saved);
    loadRecall(saved);
    EXPECT_EQ(saved.statistics.firstDeal.deals, 1);  // the total of deals
    EXPECT_EQ(saved.recall.size(), 1u);
}

TEST_F(Story, TheExitButtonSaysByeAndSavesLater) {
    startAndReveal();
    platform->headlessAudio().clearLog();
    const std::uint64_t t0 = platform->ticksMs();
    // A close request in the middle of the farewell is refused: the farewell runs its course.
    platform->scriptAfter(300, InputEvent::closeRequest());
    clickButton(L::kExitAt, 26, 26);
    EXPECT_TRUE(program->ended());
    EXPECT_EQ(soundsPlayed(), (std::vector<std::string>{"big_button", "farewell"}));
    EXPECT_GE(platform->ticksMs() - t0, 650u);
    EXPECT_TRUE(exists("stat.dat"));
}

struct DisplayCase {
    const char* name;
    ScreenInfo screen;
    const char* message;  // nullptr: plays
};

class Displays : public Story, public ::testing::WithParamInterface<DisplayCase> {};

TEST_P(Displays, TooSmallOrTooShallowEndsAfterTheIntroWithOnlyTheCreditFile) {
    const DisplayCase& c = GetParam();
    options.screen = c.screen;
    start();
    program->showWindow();
    program->loop().delay(kIntroMs - 10);
    EXPECT_FALSE(program->ended());
    EXPECT_EQ(view().introMessage(), c.message ? c.message : "");
    program->loop().delay(20);
    EXPECT_EQ(program->ended(), c.message != nullptr);
    EXPECT_TRUE(exists("fruvana.ini"));
    EXPECT_FALSE(exists("fruvana2.ini"));
    EXPECT_FALSE(exists("stat.dat"));
}

INSTANTIATE_TEST_SUITE_P(
    Table, Displays,
    ::testing::Values(
        DisplayCase{"Small640x480", {640, 480, 24}, "Minimum video mode required is 800x600 !"},
        DisplayCase{"EightBits", {1024, 768, 8}, "Minimum color quality is 16 bits per pixel !"},
        DisplayCase{
            "SmallAndShallow", {799, 600, 8}, "Minimum color quality is 16 bits per pixel !"},
        DisplayCase{"SixteenBits", {800, 600, 16}, nullptr},
        DisplayCase{"DepthUnknown", {1024, 768, 0}, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Story, AFileThatCannotBeReadIsNeverReplaced) {
    fs::create_directory(folder / "fruvana.ini");
    fs::create_directory(folder / "stat.dat");
    startAndReveal();
    EXPECT_EQ(state().credit, 0);  // an unreadable file leaves the zeroes
    type(U'c');
    program->input().route(InputEvent::closeRequest());
    ASSERT_TRUE(program->ended());
    EXPECT_TRUE(fs::is_directory(folder / "fruvana.ini"));
    EXPECT_TRUE(fs::is_directory(folder / "stat.dat"));
    EXPECT_EQ(fs::file_size(folder / "fruvana2.ini"), 5u);
}

TEST_F(Story, ASavedWinJoinsTheCreditWithoutPassingItsLimit) {
    options.screen = {1024, 768, 24};
    for (auto [creditIn, winIn, creditOut, accountOut] :
         {std::array{1000, 300, 1300, -1000}, std::array{9'999'000, 5000, 9'999'999, 3001}}) {
        testing::writeFile(folder / "fruvana.ini", le32({5, winIn, creditIn, -1000}));
        start();
        EXPECT_EQ(state().credit, creditOut) << creditIn;
        EXPECT_EQ(state().win, 0);
        EXPECT_EQ(state().account, accountOut);
        program.reset();
    }
}

// A program started over on its window, however its last run was left (by a key, then a
// button held down), looks, sounds, plays and saves as one started afresh: during the intro,
// after it, and after a deal on the settings screen.
struct LeftAs {
    const char* name;
    char32_t key;
    std::optional<L::Offset> heldDown;
};

class StartedOver : public Story, public ::testing::WithParamInterface<LeftAs> {};

TEST_P(StartedOver, PlaysAsAFreshStart) {
    startAndReveal();
    type(U'c');
    if (GetParam().key != 0) program->input().route(InputEvent::typed(GetParam().key));
    if (const auto at = GetParam().heldDown) {
        const auto [x, y] = onCabinet(*at, 26, 26);
        program->input().route(InputEvent::mouseDown(x, y));
    }
    // The player's own preferences and keys are not carried over either.
    Preferences quiet;
    quiet.effectsVolume = 50;
    program->applyPreferences(quiet);
    std::string refusal;
    ASSERT_TRUE(program->bindings().rebind(0, {Input::Kind::Key, U'q'}, refusal));
    for (const auto& entry : fs::directory_iterator(folder)) fs::remove(entry.path());
    platform->restart(options);
    testing::ProgramRestart::restart(*program);
    const testing::ScratchFolder freshFolder;
    testing::HeadlessGame fresh;
    fresh.options = options;
    fresh.options.basePath = freshFolder.path.string() + "/";
    std::string error;
    ASSERT_TRUE(fresh.launch(false, error)) << error;

    auto expectSameAfter = [&](const char* when, auto act) {
        SCOPED_TRACE(when);
        auto looks = [&](testing::HeadlessGame& g) {
            act(g);
            const MachineState& s = g.state();
            return std::tuple(
                g.composed(), s.credit, s.win, s.bet, s.account, s.statistics, s.options,
                s.reelSymbols, s.recall, s.inputEnabled, g.soundsPlayed(), g.platform->ticksMs(),
                testing::readFile(g.options.basePath + "fruvana.ini"), g.program->preferences(),
                std::vector<InputRow>(g.program->bindings().rows().begin(),
                                      g.program->bindings().rows().end()));
        };
        EXPECT_TRUE(looks(*this) == looks(fresh));
    };
    expectSameAfter("the intro's first second", [](testing::HeadlessGame& g) {
        g.program->showWindow();
        g.program->loop().delay(1000);
    });
    expectSameAfter("the intro",
                    [](testing::HeadlessGame& g) { g.program->loop().delay(kIntroMs); });
    expectSameAfter("a deal and the settings", [](testing::HeadlessGame& g) {
        g.pullLever();
        g.settle();
        g.type(U'c');
        g.type(U's');
    });
}

INSTANTIATE_TEST_SUITE_P(
    Table, StartedOver,
    ::testing::Values(LeftAs{"ReelsTurning", U' ', {}}, LeftAs{"LeverHeldDown", 0, L::kLeverAt},
                      LeftAs{"AutoplayOn", U'a', {}}, LeftAs{"SettingsOkHeld", U's', L::kOkAt},
                      LeftAs{"RecallShown", U'r', {}}, LeftAs{"PreferencesShown", U'p', {}},
                      LeftAs{"Ended", U'x', {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fruvana
