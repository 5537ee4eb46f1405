// The game's command line and the remembered window: options as a table, the window file's
// round trip and damage, and --recall's answer for a recall file it cannot read.

#include "shell/command_line.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "shell/recall_command.h"
#include "shell/window_memory.h"
#include "tests/shell/program_fixture.h"

namespace fruvana {
namespace {

using Action = CommandLine::Action;

struct OptionCase {
    std::vector<std::string> arguments;
    Action action;
    std::optional<bool> windowed;
    int exitCode;
    const char* says;  // a part of the text printed
};

class Options : public ::testing::TestWithParam<OptionCase> {};

TEST_P(Options, ParseAsGnuToolsDo) {
    const OptionCase& c = GetParam();
    const CommandLine line = parseCommandLine(c.arguments);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.windowed, c.windowed);
    EXPECT_EQ(line.exitCode, c.exitCode);
    EXPECT_NE(line.text.find(c.says), std::string::npos) << line.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, Options,
    ::testing::Values(
        OptionCase{{}, Action::Play, std::nullopt, 0, ""},
        OptionCase{{"--windowed"}, Action::Play, true, 0, ""},
        OptionCase{{"--fullscreen"}, Action::Play, false, 0, ""},
        OptionCase{{"--help"}, Action::Help, std::nullopt, 0, "--windowed"},
        OptionCase{{"-h"}, Action::Help, std::nullopt, 0, "Usage: fruvana"},
        OptionCase{{"--version"}, Action::Version, std::nullopt, 0, "fruvana 0.1\n"},
        OptionCase{{"--recall"}, Action::Recall, std::nullopt, 0, ""},
        OptionCase{{"--windowed", "--fullscreen"}, Action::Refuse, std::nullopt, 2, "excludes"},
        OptionCase{{"--windwed"}, Action::Refuse, std::nullopt, 2, "Usage: fruvana"},
        OptionCase{{"play"}, Action::Refuse, std::nullopt, 2, "play"},
        OptionCase{{"--recall=yes"}, Action::Refuse, std::nullopt, 2, "Usage: fruvana"}));

struct MemoryCase {
    const char* name;
    std::string text;
    WindowMemory read;
};

class WindowFile : public ::testing::TestWithParam<MemoryCase> {};

TEST_P(WindowFile, ReadsWhatItCanOrFallsBackToFullScreen) {
    EXPECT_EQ(parseWindowMemory(GetParam().text), GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WindowFile,
    ::testing::Values(
        MemoryCase{"Empty", "", WindowMemory{}},
        MemoryCase{"Window", "mode=window\nx=120\ny=-8\n", WindowMemory{true, 120, -8}},
        MemoryCase{"FullScreen", "mode=fullscreen\n", WindowMemory{}},
        MemoryCase{"UnknownKeysPassedOver", "# note\ncolour=red\nmode=window\n",
                   WindowMemory{true, std::nullopt, std::nullopt}},
        MemoryCase{"PlaceNeedsBothHalves", "mode=window\nx=5\n",
                   WindowMemory{true, std::nullopt, std::nullopt}},
        MemoryCase{"UnknownMode", "mode=maximised\nx=1\ny=1\n", WindowMemory{}},
        MemoryCase{"PlaceNotANumber", "mode=window\nx=12px\ny=3\n", WindowMemory{}},
        MemoryCase{"PlaceOutOfRange", "mode=window\nx=99999999999\ny=3\n", WindowMemory{}},
        MemoryCase{"Binary", std::string("\0\xff=\n=\n", 6), WindowMemory{}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowFile, RoundTripsThroughItsFolderAndKnowsWhereItLives) {
    const std::filesystem::path folder = testing::freshFolder();
    const std::string path = windowMemoryPath(folder.string(), "/home/nobody");
    EXPECT_EQ(path, folder.string() + "/fruvana/window.conf");
    EXPECT_EQ(windowMemoryPath("relative", "/home/p"), "/home/p/.config/fruvana/window.conf");
    EXPECT_EQ(windowMemoryPath("", ""), "");
    EXPECT_EQ(loadWindowMemory(path), WindowMemory{});  // no file yet
    const WindowMemory placed{true, 40, 30};
    std::string why;
    ASSERT_TRUE(saveWindowMemory(path, placed, why)) << why;
    EXPECT_EQ(loadWindowMemory(path), placed);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    std::filesystem::remove_all(folder);
}

// fruvana --recall where the recall file is missing, or is there but cannot be read.
struct RecallCommandCase {
    const char* name;
    std::function<void(const std::filesystem::path&)> make;
    int exitCode;
    bool saysUnreadable;  // else "No games to recall yet."
};

class RecallCommand : public ::testing::TestWithParam<RecallCommandCase> {};

TEST_P(RecallCommand, TellsNoGamesFromAFileItCannotRead) {
    const std::filesystem::path folder = testing::freshFolder();
    const std::filesystem::path file = folder / "recall.dat";
    GetParam().make(file);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(printRecall(folder.string() + "/", out, err), GetParam().exitCode);
    if (GetParam().saysUnreadable) {
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(err.str(), "Fruvana: the recall file " + file.string() + " cannot be read\n");
    } else {
        EXPECT_EQ(out.str(), "No games to recall yet.\n");
        EXPECT_EQ(err.str(), "");
    }
    std::filesystem::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RecallCommand,
    ::testing::Values(
        RecallCommandCase{"Missing", [](const auto&) {}, 0, false},
        RecallCommandCase{"Folder", [](const auto& f) { std::filesystem::create_directory(f); }, 1,
                          true},
        RecallCommandCase{
            "ReadError",
            [](const auto& f) { std::filesystem::create_symlink("/proc/self/mem", f); }, 1, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fruvana
