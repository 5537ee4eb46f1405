// The keeper of the player's files: the preferences file written only when the player changed
// something (or on a first start), a hand-edited file kept beside the game's, and the window's
// mode and place in the state file, read once from the older places.

#include "shell/preferences_keeper.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/files.h"

namespace fruvana {
namespace {

namespace fs = std::filesystem;

class Keeper : public ::testing::Test {
  protected:
    std::string text(const fs::path& path) {
        const testing::Bytes bytes = testing::readFile(path);
        return {bytes.begin(), bytes.end()};
    }
    PreferencesKeeper load() {
        complaints.clear();
        return PreferencesKeeper(files, complaints);
    }

    testing::ScratchFolder scratch;
    const std::string folder = scratch.path.string();
    const PlayerFiles files = playerFiles(folder + "/config", folder + "/state", "/home/p");
    std::vector<std::string> complaints;
};

TEST_F(Keeper, FindsItsFilesInTheXdgFoldersOrUnderHome) {
    EXPECT_EQ(files.preferences, folder + "/config/fruvana/fruvana.conf");
    EXPECT_EQ(files.windowState, folder + "/state/fruvana/window.conf");
    EXPECT_EQ(files.oldWindow, folder + "/config/fruvana/window.conf");
    const PlayerFiles home = playerFiles("relative", "", "/home/p");
    EXPECT_EQ(home.preferences, "/home/p/.config/fruvana/fruvana.conf");
    EXPECT_EQ(home.windowState, "/home/p/.local/state/fruvana/window.conf");
    EXPECT_EQ(playerFiles("", "", "").preferences, "");
}

TEST_F(Keeper, WritesThePlayersFileOnlyOnAFirstStartOrAChange) {
    load();
    ASSERT_TRUE(fs::exists(files.preferences)) << "a first start makes the file";
    // The player edits the file by hand; a start and a close with nothing changed leave it.
    const std::string edited = "[sound] # mine\neffects_volume = 30\nloud = true\n";
    testing::writeFile(files.preferences, edited);
    PreferencesKeeper keeper = load();
    EXPECT_EQ(keeper.preferences().effectsVolume, 30);
    std::string note;
    EXPECT_TRUE(keeper.keep(note));
    EXPECT_EQ(text(files.preferences), edited);
    EXPECT_FALSE(fs::exists(files.preferences + "~"));
    // A change rewrites it, the player's own file kept beside it, once.
    keeper.preferences().voiceVolume = 40;
    EXPECT_TRUE(keeper.keep(note));
    EXPECT_EQ(note, "your own preferences file is kept as " + files.preferences + "~");
    EXPECT_EQ(text(files.preferences + "~"), edited);
    EXPECT_EQ(load().preferences().voiceVolume, 40);
    EXPECT_NE(text(files.preferences).find("loud = true"), std::string::npos);
    // The game's own file, changed again, needs no keeping.
    fs::remove(files.preferences + "~");
    keeper.preferences().voiceVolume = 50;
    note.clear();
    EXPECT_TRUE(keeper.keep(note));
    EXPECT_EQ(note, "");
    EXPECT_FALSE(fs::exists(files.preferences + "~"));
}

// A file that is not TOML is read as the defaults, said once, and never written over, even when
// the player changes something; a folder that cannot be made says why.
TEST_F(Keeper, NeverWritesOverAFileItCannotReadAndSaysWhyItCannotWrite) {
    fs::create_directories(folder + "/config/fruvana");
    testing::writeFile(files.preferences, "[sound\neffects_volume = 10\n");
    PreferencesKeeper keeper = load();
    EXPECT_EQ(keeper.preferences(), Preferences{});
    ASSERT_EQ(complaints.size(), 1u);
    EXPECT_EQ(complaints[0].rfind("fruvana.conf line 1: ", 0), 0u) << complaints[0];
    keeper.preferences().voiceVolume = 0;
    std::string note;
    EXPECT_FALSE(keeper.keep(note));
    EXPECT_EQ(note, files.preferences + " could not be read, so it is left as it is");
    EXPECT_EQ(text(files.preferences), "[sound\neffects_volume = 10\n");

    testing::writeFile(folder + "/blocker", "not a folder");
    complaints.clear();
    PreferencesKeeper blocked(playerFiles(folder + "/blocker", "", ""), complaints);
    ASSERT_EQ(complaints.size(), 1u);
    EXPECT_EQ(complaints[0].rfind("the preferences are not kept: cannot make the folder " + folder +
                                      "/blocker/fruvana",
                                  0),
              0u)
        << complaints[0];
}

// Where the window's mode and place come from: the state file once there is one, before it
// the preferences file as an older game kept them, before that the older window.conf.
TEST_F(Keeper, ReadsTheWindowFromTheStateFileOrOnceFromTheOlderPlaces) {
    const struct {
        const char* state;        // null: no state file
        const char* preferences;  // null: no preferences file
        WindowMemory expected;
    } cases[] = {
        {nullptr, nullptr, {true, 40, 30}},
        {nullptr, "[window]\nmode = \"window\"\nx = 7\ny = 8\n", {true, 7, 8}},
        {nullptr, "[sound]\n", {}},
        {"mode=window\nx=1\ny=2\n", "[window]\nmode = \"window\"\nx = 7\ny = 8\n", {true, 1, 2}},
        {"mode=fullscreen\n", nullptr, {}},
    };
    for (const auto& c : cases) {
        fs::remove_all(folder + "/config");
        fs::remove_all(folder + "/state");
        fs::create_directories(folder + "/config/fruvana");
        testing::writeFile(files.oldWindow, "mode=window\nx=40\ny=30\n");
        if (c.state != nullptr) {
            fs::create_directories(folder + "/state/fruvana");
            testing::writeFile(files.windowState, c.state);
        }
        if (c.preferences != nullptr) testing::writeFile(files.preferences, c.preferences);
        EXPECT_EQ(load().window(), c.expected)
            << (c.state ? c.state : "") << (c.preferences ? c.preferences : "");
    }
    std::string why;
    ASSERT_TRUE(load().rememberWindow({true, -5, 9}, why)) << why;
    EXPECT_EQ(load().window(), (WindowMemory{true, -5, 9}));
    EXPECT_EQ(text(files.oldWindow), "mode=window\nx=40\ny=30\n");
}

}  // namespace
}  // namespace fruvana
