// The preferences file: good values read, damaged ones fall back with their line named, keys
// the game does not know written back, and a file that is not TOML never written over.

#include "shell/preferences_file.h"

#include <gtest/gtest.h>

#include "tests/support/files.h"

namespace fruvana {
namespace {

Preferences withVolumes(int effects, int voice) {
    Preferences p;
    p.effectsVolume = effects;
    p.voiceVolume = voice;
    return p;
}

Preferences everyLimit() {
    Preferences p;
    p.whenUnfocused = WhenUnfocused::MuteAndPause;
    p.autoplay = {25, 5000, 1000};
    p.realityCheckMinutes = 60;
    return p;
}

struct ReadCase {
    const char* name;
    std::string text;
    Preferences preferences;
    WindowMemory window;
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
        ReadCase{"Volumes",
                 "[sound]\neffects_volume = 0\nvoice_volume = 30\n",
                 withVolumes(0, 30),
                 {},
                 {}},
        ReadCase{"EveryLimit",
                 "[window]\nwhen_unfocused = \"mute_and_pause\"\n[autoplay]\nstop_after_games = "
                 "25\nstop_on_win_of = 5000\nstop_on_net_loss_of = 1000\n[reality_check]\n"
                 "every_minutes = 60\n",
                 everyLimit(),
                 {},
                 {}},
        ReadCase{"ZeroIsOff",
                 "[autoplay]\nstop_after_games = 0\n[reality_check]\nevery_minutes = 0",
                 {},
                 {},
                 {}},
        ReadCase{"WindowPlaced",
                 "[window]\nmode = \"window\"\nx = -8\ny = 120\n",
                 {},
                 WindowMemory{true, -8, 120},
                 {}},
        ReadCase{"HalfAPlaceIsNone",
                 "[window]\nmode = \"window\"\nx = 5\n",
                 {},
                 WindowMemory{true, std::nullopt, std::nullopt},
                 {}},
        // Each damaged value names its key and line; the values beside it still count.
        ReadCase{"VolumeOffTheSteps",
                 "[sound]\neffects_volume = 55\nvoice_volume = 20\n",
                 withVolumes(100, 20),
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
                 [] {
                     Preferences p;
                     p.autoplay.winAtLeast = 500;
                     return p;
                 }(),
                 {},
                 {"fruvana.conf line 2: autoplay.stop_after_games must be 0 (off), 10, 25, 50 or "
                  "100; its default is used"}},
        ReadCase{"UnknownWord",
                 "[window]\nmode = \"maximised\"\nwhen_unfocused = \"mute\"\n",
                 {},
                 {},
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
    EXPECT_EQ(stored.window.x, 120);
}

TEST(WritePreferences, UnknownKeysStayAndEveryValueComesBack) {
    std::vector<std::string> complaints;
    StoredPreferences stored = parsePreferences(
        "[sound]\nfavourite = \"bells\"\neffects_volume = 70\n[mine]\nk = 1\n", complaints);
    stored.preferences = everyLimit();
    stored.preferences.voiceVolume = 0;
    stored.preferences.speech = true;
    stored.window = {true, 3, 4};
    std::string refusal;
    ASSERT_TRUE(stored.bindings.rebind(0, {Input::Kind::Key, 0x1F600}, refusal)) << refusal;
    const std::string text = formatPreferences(stored);
    const StoredPreferences again = parsePreferences(text, complaints);
    EXPECT_EQ(again.preferences, stored.preferences);
    EXPECT_EQ(again.window, stored.window);
    EXPECT_TRUE(std::equal(again.bindings.rows().begin(), again.bindings.rows().end(),
                           stored.bindings.rows().begin(), stored.bindings.rows().end()));
    EXPECT_TRUE(complaints.empty());
    EXPECT_NE(text.find("favourite = 'bells'"), std::string::npos) << text;
    EXPECT_NE(text.find("[mine]\nk = 1"), std::string::npos) << text;
}

TEST(WritePreferences, KnowsWhereItLivesAndSaysWhyItCannotBeWritten) {
    const testing::ScratchFolder scratch;
    const std::string folder = scratch.path.string();
    EXPECT_EQ(preferencesPath(folder, "/home/p"), folder + "/fruvana/fruvana.conf");
    EXPECT_EQ(preferencesPath("relative", "/home/p"), "/home/p/.config/fruvana/fruvana.conf");
    EXPECT_EQ(preferencesPath("", ""), "");
    std::string why;
    EXPECT_FALSE(savePreferences("", StoredPreferences{}, why));
    EXPECT_EQ(why, "neither XDG_CONFIG_HOME nor HOME is set");
    // A file where its folder must go: the save says why and leaves nothing behind.
    testing::writeFile(scratch.path / "blocker", "not a folder");
    const std::string blocked = preferencesPath(folder + "/blocker", "");
    EXPECT_FALSE(savePreferences(blocked, StoredPreferences{}, why));
    EXPECT_EQ(why.rfind("cannot make the folder " + folder + "/blocker/fruvana", 0), 0u) << why;
}

TEST(WritePreferences, ANotTomlFileIsNeverWrittenOver) {
    const testing::ScratchFolder scratch;
    const std::string path = (scratch.path / "fruvana.conf").string();
    testing::writeFile(path, "[sound\neffects_volume = 10\n");
    std::vector<std::string> complaints;
    const StoredPreferences stored = loadPreferences(path, "", complaints);
    EXPECT_EQ(stored.preferences, Preferences{});
    ASSERT_EQ(complaints.size(), 1u);
    EXPECT_EQ(complaints[0].rfind("fruvana.conf line 1: ", 0), 0u) << complaints[0];
    std::string why;
    EXPECT_FALSE(savePreferences(path, stored, why));
    EXPECT_EQ(why, path + " could not be read, so it is left as it is");
    const testing::Bytes kept = testing::readFile(path);
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "[sound\neffects_volume = 10\n");
}

TEST(WritePreferences, TheOldWindowFileIsReadOnceWhenThereIsNoPreferencesFile) {
    const testing::ScratchFolder scratch;
    const std::string path = (scratch.path / "fruvana.conf").string();
    const std::string windowFile = (scratch.path / "window.conf").string();
    testing::writeFile(windowFile, "mode=window\nx=40\ny=30\n");
    std::vector<std::string> complaints;
    const StoredPreferences first = loadPreferences(path, windowFile, complaints);
    EXPECT_EQ(first.window, (WindowMemory{true, 40, 30}));
    std::string why;
    ASSERT_TRUE(savePreferences(path, first, why)) << why;
    // Once the preferences file exists, it alone says where the window goes.
    testing::writeFile(windowFile, "mode=fullscreen\n");
    EXPECT_EQ(loadPreferences(path, windowFile, complaints).window, first.window);
    EXPECT_TRUE(complaints.empty());
}

}  // namespace
}  // namespace fruvana
