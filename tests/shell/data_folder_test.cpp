// Where the player's files live: beside the program when its folder can be written, else in the
// user's data folder, made for the user alone; never in an installed game's folder.

#include "shell/data_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tests/support/files.h"

namespace fruvana {
namespace {

namespace fs = std::filesystem;

struct FolderCase {
    const char* name;
    bool programWritable;
    bool installed;
    const char* xdg;   // relative to the test folder; "" unset; "rel" a relative path
    const char* home;  // relative to the test folder; "" unset
    const char* want;  // relative to the test folder, or "program"
};

class DataFolderChoice : public ::testing::TestWithParam<FolderCase> {
  protected:
    void SetUp() override { fs::create_directories(root / "bin"); }
    void TearDown() override { fs::permissions(root / "bin", fs::perms::owner_all); }
    testing::ScratchFolder scratch;
    const fs::path root = scratch.path;
};

TEST_P(DataFolderChoice, PicksTheFolderAndMakesItPrivate) {
    const FolderCase& c = GetParam();
    if (!c.programWritable) {
        // No write bit: not writable even for the superuser, whom the bits do not stop.
        fs::permissions(root / "bin", fs::perms::owner_read | fs::perms::owner_exec);
    }
    const std::string bin = (root / "bin").string() + "/";
    DataFolderPlaces places{bin, c.installed ? bin : "/nowhere/games/", "", ""};
    if (std::string(c.xdg) == "rel") {
        places.xdgDataHome = "relative/share";
    } else if (*c.xdg != '\0') {
        places.xdgDataHome = (root / c.xdg).string();
    }
    if (*c.home != '\0') places.home = (root / c.home).string();
    const DataFolder got = chooseDataFolder(places);
    if (std::string(c.want) == "program") {
        EXPECT_EQ(got.path, bin);
        return;
    }
    EXPECT_EQ(got.path, (root / c.want).string() + "/");
    EXPECT_TRUE(got.problem.empty()) << got.problem;
    struct stat info {};
    ASSERT_EQ(::stat(got.path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DataFolderChoice,
    ::testing::Values(
        FolderCase{"WritableProgramFolder", true, false, "xdg", "home", "program"},
        FolderCase{"InstalledGameUsesXdg", true, true, "xdg", "home", "xdg/fruvana"},
        FolderCase{"InstalledGameDefaultsUnderHome", true, true, "", "home",
                   "home/.local/share/fruvana"},
        FolderCase{"RelativeXdgIsIgnored", true, true, "rel", "home", "home/.local/share/fruvana"},
        FolderCase{"ReadOnlyProgramFolder", false, false, "xdg", "home", "xdg/fruvana"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DataFolder, NoPlaceForTheFilesIsSaidAndThePlayGoesOn) {
    const testing::ScratchFolder scratch;
    const fs::path& root = scratch.path;
    fs::create_directories(root / "bin");
    std::ofstream(root / "blocker") << "a file where a folder must go";
    const std::string bin = (root / "bin").string() + "/";
    const DataFolder got = chooseDataFolder({bin, bin, (root / "blocker" / "share").string(), ""});
    EXPECT_EQ(got.path, bin);
    EXPECT_NE(got.problem.find("cannot make"), std::string::npos) << got.problem;
    const DataFolder noHome = chooseDataFolder({bin, bin, "", ""});
    EXPECT_FALSE(noHome.problem.empty());
}

}  // namespace
}  // namespace fruvana
