// The preferences file: good values read, damaged ones fall back with their line named, every
// stored token of a whole file read back, and keys the game does not know written back.

#include "shell/preferences_file.h"

#include <gtest/gtest.h>

#include "tests/support/files.h"

namespace fruvana {
namespace {

struct ReadCase {
    const char* name;
    std::string text;
    Preferences preferences;
    std::optional<WindowMemory> window;
    std::vector<std::string> complaints;
};

class ReadPreferences : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadPreferences, ValuesAndComplaints) {
    std::vector<std::string> complaints;
    const StoredPreferences stored = parsePreferences(GetParam().text, complaints);
    EXPECT_EQ(stored.preferences, GetParam().preferences);
    EXPECT_EQ(stored.window, GetParam().window);
    EXPECT_EQ(complaints, GetParam().complaints);
    EXPECT_TRUE(stored.writable);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadPreferences,
    ::testing::Values(
        ReadCase{"Empty", "", {}, {}, {}},
        ReadCase{"HalfAPlaceIsNone",
                 "[window]\nmode = \"window\"\nx = 5\n",
                 {},
                 WindowMemory{true, std::nullopt, std::nullopt},
                 {}},
        // Each damaged value names its key and line; the values beside it still count.
        ReadCase{"VolumeOffTheSteps",
                 "[sound]\neffects_volume = 55\nvoice_volume = 20\n",
                 Preferences{100, 20},
                 {},
                 {"fruvana.conf line 2: sound.effects_volume must be 0 to 100 in steps of 10; its "
                  "default is used"}},
        ReadCase{"VolumeAsText",
                 "[sound]\n\nvoice_volume = \"loud\"\n",
                 {},
                 {},
                 {"fruvana.conf line 3: sound.voice_volume must be 0 to 100 in steps of 10; its "
                  "default is used"}},
        ReadCase{"VolumeAsAFraction",
                 "[sound]\nvoice_volume = 50.0\n",
                 {},
                 {},
                 {"fruvana.conf line 2: sound.voice_volume must be 0 to 100 in steps of 10; its "
                  "default is used"}},
        ReadCase{"LimitNotOffered",
                 "[autoplay]\nstop_after_games = 30\nstop_on_win_of = 500\n",
                 Preferences{100, 100, 0, 0, 500},
                 {},
                 {"fruvana.conf line 2: autoplay.stop_after_games must be 0 (off), 10, 25, 50 or "
                  "100; its default is used"}},
        ReadCase{"UnknownWord",
                 "[window]\nmode = \"maximised\"\nwhen_unfocused = \"mute\"\n",
                 {},
                 WindowMemory{},
                 {"fruvana.conf line 2: window.mode must be one of \"window\" \"fullscreen\"; its "
                  "default is used",
                  "fruvana.conf line 3: window.when_unfocused must be one of \"nothing\" "
                  "\"mute_and_pause\"; its default is used"}},
        ReadCase{"PlaceFarOffScreen",
                 "[window]\nmode = \"window\"\nx = 99999999999\ny = 3\n",
                 {},
                 WindowMemory{true, std::nullopt, std::nullopt},
                 {"fruvana.conf line 3: window.x must be a whole number of pixels; its default "
                  "is used"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The cabinet's keys and buttons, action by action: a list that names as many inputs as the
// action has rows, in either case; anything else is named and leaves the game's own.
TEST(ReadPreferences, KeysAndButtons) {
    const auto coin = [](const StoredPreferences& s) {
        return s.bindings
            .rows()[s.bindings.rowsOf({Command::Kind::Press, Button::Coin}, Input::Kind::Key)[0]]
            .input;
    };
    const struct {
        const char* text;
        Input coinKey;
        std::vector<std::string> complaints;
    } cases[] = {
        {"[keys]\ncoin = [\"k\"]\n", {Input::Kind::Key, U'k'}, {}},
        // Two actions may trade keys.
        {"[keys]\ncoin = [\"A\"]\nautoplay = [\"C\"]\n", {Input::Kind::Key, U'a'}, {}},
        {"[keys]\ncoin = \"K\"\n",
         {Input::Kind::Key, U'c'},
         {"fruvana.conf line 2: keys.coin must be a list of 1 key name; its default is used"}},
        {"[keys]\n\npull = [\"Enter\", \"F13\"]\n",
         {Input::Kind::Key, U'c'},
         {"fruvana.conf line 3: keys.pull must be a list of 2 key names; its default is used"}},
        {"[keys]\ncoin = [\"A\"]\n",
         {Input::Kind::Key, U'c'},
         {"fruvana.conf: A already does: autoplay on or off; the game's own keys and buttons "
          "are used"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> complaints;
        const StoredPreferences stored = parsePreferences(c.text, complaints);
        EXPECT_EQ(coin(stored), c.coinKey) << c.text;
        EXPECT_EQ(complaints, c.complaints);
    }
}

// The documented example reads without a complaint as the game's own defaults.
TEST(ReadPreferences, TheDocumentedExampleIsTheDefaults) {
    std::vector<std::string> complaints;
    const testing::Bytes text =
        testing::readFile(std::string(FRUVANA_SOURCE_DIR) + "/docs/fruvana.conf.example");
    const StoredPreferences stored =
        parsePreferences(std::string(text.begin(), text.end()), complaints);
    EXPECT_TRUE(complaints.empty()) << complaints.front();
    EXPECT_EQ(stored.preferences, Preferences{});
    EXPECT_TRUE(std::ranges::equal(stored.bindings.rows(), inputTable()));
    EXPECT_FALSE(stored.window);
}

// A whole file, byte for byte as the game wrote it before its stored names had a table of their
// own: every preference away from its default and every key and button changed, each read back
// as it was meant, whatever the labels on screen now say.
TEST(ReadPreferences, AFileWrittenByAnEarlierGameReadsBackWhole) {
    const std::string text = R"([autoplay]
stop_after_games = 50
stop_on_net_loss_of = 10000
stop_on_win_of = 1000

[controller]
autoplay = [ 'X' ]
bet_down = [ 'right shoulder' ]
bet_up = [ 'left shoulder' ]
coin = [ 'Y' ]
collect = [ 'A' ]
game_recall = [ 'D-pad up' ]
help_page = [ 'Back' ]
hold_reel_1 = [ 'D-pad right' ]
hold_reel_2 = [ 'D-pad down' ]
hold_reel_3 = [ 'D-pad left' ]
preferences = [ 'Guide' ]
pull = [ 'B' ]
settings = [ 'Start' ]

[keys]
autoplay = [ 'Z' ]
bet_down = [ 'full stop' ]
bet_up = [ 'comma' ]
coin = [ 'Space' ]
collect = [ 'Enter', '9' ]
game_recall = [ 'G' ]
help_page = [ 'F' ]
hold_reel_1 = [ 'Q' ]
hold_reel_2 = [ 'W' ]
hold_reel_3 = [ 'E' ]
preferences = [ 'J' ]
pull = [ 'Escape', 'U+00E9' ]
quit = [ 'Y' ]
settings = [ 'K', 'L' ]

[reality_check]
every_minutes = 30

[sound]
effects_volume = 70
speech = 'on'
voice_volume = 0

[window]
hold_lamps = 'colour_and_shape'
mode = 'window'
when_unfocused = 'mute_and_pause'
x = 120
y = 80
)";
    std::vector<std::string> complaints;
    const StoredPreferences stored = parsePreferences(text, complaints);
    EXPECT_TRUE(complaints.empty()) << complaints.front();
    EXPECT_EQ(stored.preferences, (Preferences{70, 0, 1, 50, 1000, 10000, 30, 1, 1}));
    EXPECT_EQ(stored.window, (WindowMemory{true, 120, 80}));
    using K = Command::Kind;
    const auto key = [](char32_t c) { return Input{Input::Kind::Key, c}; };
    const auto pad = [](PadButton b) { return Input{Input::Kind::Pad, 0, b}; };
    const auto press = [](Button b) { return Command{K::Press, b}; };
    const auto hold = [](int reel) { return Command{K::Hold, Button::Help, reel}; };
    const struct {
        Command action;
        std::vector<Input> keys;
        Input button;
    } expected[] = {
        {{K::Pull}, {key(27), key(0xE9)}, pad(PadButton::B)},
        {hold(1), {key(U'q')}, pad(PadButton::DpadRight)},
        {hold(2), {key(U'w')}, pad(PadButton::DpadDown)},
        {hold(3), {key(U'e')}, pad(PadButton::DpadLeft)},
        {press(Button::BetDown), {key(U'.')}, pad(PadButton::RightShoulder)},
        {press(Button::BetUp), {key(U',')}, pad(PadButton::LeftShoulder)},
        {press(Button::Coin), {key(U' ')}, pad(PadButton::Y)},
        {press(Button::Collect), {key(U'\r'), key(U'9')}, pad(PadButton::A)},
        {press(Button::Autoplay), {key(U'z')}, pad(PadButton::X)},
        {press(Button::Settings), {key(U'k'), key(U'l')}, pad(PadButton::Start)},
        {press(Button::Help), {key(U'f')}, pad(PadButton::Back)},
        {{K::OpenRecall}, {key(U'g')}, pad(PadButton::DpadUp)},
        {{K::OpenPreferences}, {key(U'j')}, pad(PadButton::Guide)},
        {{K::Quit}, {key(U'y')}, {}},
    };
    const auto inputs = [&](const Command& action, Input::Kind kind) {
        std::vector<Input> found;
        for (const std::size_t row : stored.bindings.rowsOf(action, kind))
            found.push_back(stored.bindings.rows()[row].input);
        return found;
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(std::string(actionToken(e.action)));
        EXPECT_EQ(inputs(e.action, Input::Kind::Key), e.keys);
        const std::vector<Input> buttons = inputs(e.action, Input::Kind::Pad);
        EXPECT_EQ(buttons,
                  e.action.kind == K::Quit ? std::vector<Input>{} : std::vector<Input>{e.button});
    }
    // Written again, the file names every input as it did.
    const std::string again = formatPreferences(stored);
    for (const std::string_view line :
         {"pull = [ 'Escape', 'U+00E9' ]", "bet_down = [ 'full stop' ]",
          "hold_reel_2 = [ 'D-pad down' ]", "speech = 'on'"})
        EXPECT_NE(again.find(line), std::string::npos) << line << "\n" << again;
}

TEST(WritePreferences, KeysTheGameDoesNotKnowStay) {
    std::vector<std::string> complaints;
    StoredPreferences stored = parsePreferences(
        "[sound]\nfavourite = \"bells\"\neffects_volume = 70\n[mine]\nk = 1\n", complaints);
    stored.preferences.voiceVolume = 0;
    const std::string text = formatPreferences(stored);
    EXPECT_EQ(parsePreferences(text, complaints).preferences, (Preferences{70, 0}));
    EXPECT_TRUE(complaints.empty());
    EXPECT_NE(text.find("favourite = 'bells'"), std::string::npos) << text;
    EXPECT_NE(text.find("[mine]\nk = 1"), std::string::npos) << text;
}

}  // namespace
}  // namespace fruvana
