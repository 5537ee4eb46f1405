// The whole program with data files a hostile machine may leave: read-only, unreadable, a
// folder, a FIFO, a symlink, short, long, or random bytes under each of the three names. The
// game starts, takes a coin, deals and ends; a file it could not read, or may not change, is
// never replaced, and every file it did write is whole and holds the game's state.
//
// Each case runs in a child process, as "nobody" when the tests run as the superuser, whom
// permission bits do not stop.

#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <random>

#include "shell/data_files.h"
#include "tests/shell/child_process.h"
#include "tests/shell/program_fixture.h"

namespace fruvana {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;
using testing::le32;

constexpr uid_t kNobody = 65534;
constexpr std::array<std::string_view, 3> kNames{kCreditFileName, kOptionsFileName,
                                                 kStatisticsFileName};

enum class Kind : std::uint8_t { ReadOnly, Unreadable, Folder, Fifo, Symlink, Short, Long, Random };

struct HostileCase {
    const char* name;
    Kind kind;
    bool rewritten;  // the game writes its state over the files; else they stay as they were
    std::array<std::int32_t, 4> loaded;  // bet, win, credit, account after start-up
};

// Well-formed contents of each file, made to the full size.
Bytes goodContents(std::string_view name) {
    if (name == kCreditFileName) return le32({4, 10, 2000, 3000});
    if (name == kOptionsFileName) return Bytes{1, 1, 0, 1, 1};
    return Bytes(kStatisticsFileSize, 0);
}

class HostileFiles : public testing::WholeProgram,
                     public ::testing::WithParamInterface<HostileCase> {
  protected:
    // Puts something of the case's kind under each name.
    void plant(Kind kind) {
        std::mt19937 random(14);
        for (const std::string_view name : kNames) {
            const fs::path path = folder / name;
            const Bytes good = goodContents(name);
            switch (kind) {
                case Kind::ReadOnly:
                case Kind::Unreadable:
                    testing::writeFile(path, good);
                    // Unreadable but writable: only the game's own rule keeps it.
                    fs::permissions(path, kind == Kind::ReadOnly
                                              ? fs::perms::owner_read | fs::perms::group_read |
                                                    fs::perms::others_read
                                              : fs::perms::owner_write);
                    break;
                case Kind::Folder:
                    fs::create_directory(path);
                    break;
                case Kind::Fifo:
                    ::mkfifo(path.c_str(), 0666);
                    break;
                case Kind::Symlink:
                    testing::writeFile(folder / "elsewhere" / name, good);
                    fs::create_symlink(folder / "elsewhere" / name, path);
                    break;
                case Kind::Short:
                    testing::writeFile(path, Bytes(good.begin(), good.begin() + 3));
                    break;
                case Kind::Long: {
                    Bytes longer = good;
                    longer.resize(good.size() + 40, 0xEE);
                    testing::writeFile(path, longer);
                    break;
                }
                case Kind::Random: {
                    Bytes junk(good.size());
                    for (std::uint8_t& b : junk) b = static_cast<std::uint8_t>(random());
                    testing::writeFile(path, junk);
                    break;
                }
            }
        }
    }

    // Starts, reveals, takes a coin, deals, and ends the game; the credit record as loaded and
    // as left, and whether the game ended. Runs in a child.
    std::optional<std::vector<std::int32_t>> playInChild() {
        return testing::inChild(
            true,
            [this] {
                std::string error;
                if (!launch(true, error)) ::_exit(3);
                std::vector<std::int32_t> out{state().bet, state().win, state().credit,
                                              state().account};
                type(U'c');
                program->input().route(InputEvent::enter());
                settle();
                program->input().route(InputEvent::closeRequest());
                out.insert(out.end(), {state().bet, state().win, state().credit, state().account,
                                       program->ended() ? 1 : 0});
                return out;
            },
            60);
    }
};

TEST_P(HostileFiles, NoCrashNoHangNoLostRecord) {
    const HostileCase& c = GetParam();
    fs::create_directory(folder / "elsewhere");
    plant(c.kind);
    // Everything the game might see or make belongs to the player it runs as.
    if (::geteuid() == 0) {
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            ASSERT_EQ(::lchown(entry.path().c_str(), kNobody, kNobody), 0);
        ASSERT_EQ(::chown(folder.c_str(), kNobody, kNobody), 0);
    }
    std::map<std::string, Bytes> before;
    for (const std::string_view name : kNames)
        if (fs::is_regular_file(fs::symlink_status(folder / name)))
            before[std::string(name)] = testing::readFile(folder / name);

    const auto played = playInChild();
    if (!played) return;
    ASSERT_EQ(played->size(), 9u);
    const std::vector<std::int32_t>& r = *played;
    EXPECT_EQ((std::array{r[0], r[1], r[2], r[3]}), c.loaded);
    EXPECT_EQ(r[8], 1) << "the game did not end";
    // A coin moves money from the account to the credit; the deal takes its stake (the bet
    // left in r[4]) and leaves its pay in r[5].
    EXPECT_EQ(std::int64_t{r[5]} + r[6] + r[7], std::int64_t{r[1]} + r[2] + r[3] - r[4] + r[5])
        << "money moved by more than a stake and a pay";

    for (const std::string_view name : kNames) {
        SCOPED_TRACE(name);
        const fs::path path = folder / name;
        const fs::file_status status = fs::symlink_status(path);
        if (!c.rewritten) {
            // Left exactly as planted.
            switch (c.kind) {
                case Kind::Folder:
                    EXPECT_TRUE(fs::is_directory(status));
                    break;
                case Kind::Fifo:
                    EXPECT_TRUE(fs::is_fifo(status));
                    break;
                case Kind::Symlink:
                    EXPECT_TRUE(fs::is_symlink(status));
                    EXPECT_EQ(testing::readFile(folder / "elsewhere" / name), goodContents(name));
                    break;
                default:
                    EXPECT_EQ(testing::readFile(path), before[std::string(name)]);
                    break;
            }
            continue;
        }
        // Rewritten whole: the credit file holds the state the game ended with.
        ASSERT_TRUE(fs::is_regular_file(status));
        const Bytes now = testing::readFile(path);
        const std::size_t size = name == kCreditFileName    ? kCreditFileSize
                                 : name == kOptionsFileName ? kOptionsFileSize
                                                            : kStatisticsFileSize;
        EXPECT_EQ(now.size(), size);
        if (name == kCreditFileName) {
            EXPECT_EQ(now, le32({r[4], r[5], r[6], r[7]}));
        }
    }
    EXPECT_FALSE(fs::exists(folder / (std::string(kCreditFileName) + ".tmp")));
}

// A file that cannot be read leaves the zeroed record (bet 0 becomes 5); a readable one loads
// its record, the saved win of 10 joining the credit.
INSTANTIATE_TEST_SUITE_P(
    Table, HostileFiles,
    ::testing::Values(HostileCase{"ReadOnly", Kind::ReadOnly, false, {4, 0, 2010, 3000}},
                      HostileCase{"Unreadable", Kind::Unreadable, false, {5, 0, 0, 0}},
                      HostileCase{"Folder", Kind::Folder, false, {5, 0, 0, 0}},
                      HostileCase{"Fifo", Kind::Fifo, false, {5, 0, 0, 0}},
                      HostileCase{"Symlink", Kind::Symlink, false, {4, 0, 2010, 3000}},
                      // Three bytes: the bet only; the rest keeps the zeroes.
                      HostileCase{"Short", Kind::Short, true, {4, 0, 0, 0}},
                      HostileCase{"Long", Kind::Long, true, {4, 0, 2010, 3000}},
                      // Bytes from a fixed seed; every value out of range falls back.
                      HostileCase{"RandomBytes", Kind::Random, true, {5, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace fruvana
