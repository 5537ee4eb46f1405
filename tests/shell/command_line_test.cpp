// The game's command line and the remembered window: options as a table, the window file's
// round trip and damage, and --recall's answer for a recall file it cannot read.

#include "shell/command_line.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "shell/recall_command.h"
#include "shell/window_memory.h"
#include "tests/support/files.h"
#include "tests/support/known_game.h"

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

// The real program, copied into a folder of its own with a recall file or none: its exit code
// and what it prints on each stream.
struct RunCase {
    const char* name;
    std::vector<std::string> arguments;
    int recallFile;  // 0 none, 1 the known game, 2 the known game with a byte damaged
    int exitCode;
    const char* out;  // the whole of standard output, or its start when it ends in "..."
    const char* err;
};

class RealProgram : public ::testing::TestWithParam<RunCase> {};

TEST_P(RealProgram, ExitsAndPrintsAsDocumented) {
    const RunCase& c = GetParam();
    const testing::ScratchFolder scratch;
    const std::filesystem::path program = scratch.path / "fruvana";
    std::filesystem::copy_file(FRUVANA_PROGRAM, program);
    testing::Bytes recall = testing::kKnownGameFile;
    recall[20] ^= 1;
    if (c.recallFile != 0)
        testing::writeFile(scratch.path / "recall.dat",
                           c.recallFile == 1 ? testing::kKnownGameFile : recall);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("TZ", "UTC", 1);
        const int out = ::open((scratch.path / "out").c_str(), O_WRONLY | O_CREAT, 0600);
        const int err = ::open((scratch.path / "err").c_str(), O_WRONLY | O_CREAT, 0600);
        ::dup2(out, 1);
        ::dup2(err, 2);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : c.arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), c.exitCode);
    for (const auto& [stream, want] : {std::pair{"out", c.out}, {"err", c.err}}) {
        const testing::Bytes got = testing::readFile(scratch.path / stream);
        std::string text(got.begin(), got.end()), expected(want);
        if (expected.ends_with("...") && text.size() > expected.size() - 3)
            text.replace(expected.size() - 3, std::string::npos, "...");
        EXPECT_EQ(text, expected) << stream;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, RealProgram,
    ::testing::Values(
        RunCase{"Help", {"--help"}, 0, 0, "Fruvana: a three-reel fruit machine...", ""},
        RunCase{"Version", {"--version"}, 0, 0, "fruvana 0.1\n", ""},
        RunCase{"UnknownOption", {"--windwed"}, 0, 2, "", "fruvana: ..."},
        RunCase{"RecallWithoutAFile", {"--recall"}, 0, 0, "No games to recall yet.\n", ""},
        RunCase{"RecallOfADamagedFile", {"--recall"}, 2, 0, "No games to recall yet.\n", ""},
        RunCase{"RecallOfAKnownGame",
                {"--recall"},
                1,
                0,
                "TIME        BET 1st DEAL            HOLDS 2nd DEAL            RESULT            "
                "PAID  BEFORE  AFTER\n"
                "12-07 12:00 7   BAR 2BAR CHERRY     SC-   BAR 2BAR 3BAR       collected, any "
                "three bars 140   1020    105\n",
                ""}),
    [](const auto& info) { return std::string(info.param.name); });

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
