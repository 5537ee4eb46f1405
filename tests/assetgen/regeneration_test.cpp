// The committed pictures and sounds are exactly what fruvana-assetgen makes today.

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/files.h"

extern char** environ;

namespace fruvana {
namespace {

namespace fs = std::filesystem;

std::map<std::string, testing::Bytes> filesUnder(const fs::path& root) {
    std::map<std::string, testing::Bytes> files;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), root).string()] = testing::readFile(entry.path());
    return files;
}

#ifdef FRUVANA_ASSETGEN_PATH
TEST(Regeneration, GivesTheCommittedFilesByteForByte) {
    const testing::ScratchFolder scratch;
    const fs::path& out = scratch.path;
    std::string program = FRUVANA_ASSETGEN_PATH;
    std::string folder = out.string();
    std::string option = "--catalogues";
    std::string catalogues = FRUVANA_CATALOGUES;
    char* argv[] = {program.data(), folder.data(), option.data(), catalogues.data(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ), 0);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);

    const auto made = filesUnder(out);
    const auto committed = filesUnder(FRUVANA_ASSETS_DIR);
    EXPECT_EQ(made.size(), committed.size());
    for (const auto& [name, bytes] : committed) {
        auto it = made.find(name);
        if (it == made.end()) {
            ADD_FAILURE() << name << " is no longer made";
            continue;
        }
        EXPECT_TRUE(it->second == bytes) << name << " differs from what assetgen makes";
    }
    for (const auto& [name, bytes] : made)
        EXPECT_TRUE(committed.count(name)) << name << " is made but not committed";
}
#endif

TEST(Regeneration, CommittedFilesAreThoseTheGameEmbeds) {
    std::size_t english = 0;
    std::set<std::string> languages;
    for (const auto& [name, bytes] : filesUnder(FRUVANA_ASSETS_DIR)) {
        if (name.starts_with("translated/"))
            languages.insert(fs::path(name).parent_path().filename().string());
        else
            ++english;
    }
    // game, settings and recall, preferences pictures, sounds, and the icon in five forms plus the
    // window's
    EXPECT_EQ(english, 21u + 8u + 2u + 14u + 6u);
    // the changed parts of the pictures for each language the catalogues give
    EXPECT_EQ(languages, (std::set<std::string>{"de", "es", "fr"}));
}

}  // namespace
}  // namespace fruvana
