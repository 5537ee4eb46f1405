// The data files: exact layouts, defaults, range checks, short files, and saves that never
// leave a torn or missing credit file behind.
#include "shell/data_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <iostream>
#include <limits>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "shell/recall_file.h"
#include "tests/shell/child_process.h"
#include "tests/support/files.h"
#include "tests/support/known_game.h"

namespace fruvana {
namespace {

using testing::inChild;

namespace fs = std::filesystem;
using testing::Bytes;
using testing::le32;

constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

Bytes concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Credit {
    std::int32_t bet, win, credit, account;
    friend bool operator==(const Credit&, const Credit&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Credit& c) {
        return os << "{" << c.bet << ", " << c.win << ", " << c.credit << ", " << c.account << "}";
    }
};

Credit creditOf(const MachineState& state) {
    return {state.bet, state.win, state.credit, state.account};
}

// Each test works in a folder of its own, with a machine as start-up has it before the loads:
// all zero.
class DataFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(dir.empty());
        state.dataFolder = dir.string() + "/";
    }

    fs::path file(std::string_view name) const { return dir / name; }
    void put(std::string_view name, const Bytes& bytes) const {
        testing::writeFile(file(name), bytes);
    }
    Bytes get(std::string_view name) const { return testing::readFile(file(name)); }
    std::set<std::string> names() const {
        std::set<std::string> result;
        for (const auto& entry : fs::directory_iterator(dir)) {
            result.insert(entry.path().filename().string());
        }
        return result;
    }

    testing::ScratchFolder scratch;
    const fs::path dir = scratch.path;
    MachineState state;
};

// --- Layouts --------------------------------------------------------------------------------

TEST_F(DataFiles, FirstRunInAnEmptyFolderWritesOnlyTheFreshCreditFile) {
    loadOptions(state);
    loadStatistics(state);
    loadCredit(state);
    saveCredit(state);

    EXPECT_EQ(creditOf(state), (Credit{5, 0, 1000, -1000}));
    EXPECT_EQ(state.options, kDefaultOptions);
    EXPECT_EQ(state.statistics, Statistics{});
    EXPECT_EQ(names(), std::set<std::string>{"fruvana.ini"});
    EXPECT_EQ(get(kCreditFileName), (Bytes{0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE8,
                                           0x03, 0x00, 0x00, 0x18, 0xFC, 0xFF, 0xFF}));
}

TEST_F(DataFiles, AllThreeFilesRoundTripByteForByte) {
    state.bet = 7;
    state.win = 4321;
    state.credit = kCreditMax;
    state.account = kInt32Min;  // saved as it is; only the next load judges it
    state.options = Options{1, 0, 1, 0, 1};
    for (int k = 1; k <= kClassCount; ++k) {
        state.statistics.firstDeal.onRow(k) = k * 1000 + 1;
        state.statistics.secondDeal.onRow(k) = -k;
    }
    state.statistics.secondDeal.deals = kInt32Max;
    saveCredit(state);
    saveOptions(state);
    saveStatistics(state);

    EXPECT_EQ(get(kCreditFileName), le32({7, 4321, kCreditMax, kInt32Min}));
    EXPECT_EQ(get(kOptionsFileName), (Bytes{1, 0, 1, 0, 1}));
    EXPECT_EQ(
        get(kStatisticsFileName),
        concat(le32({1001, 2001, 3001, 4001, 5001, 6001, 7001, 8001, 9001, 10001, 11001, 12001}),
               le32({-1, -2, -3, -4, -5, -6, -7, -8, -9, -10, -11, kInt32Max})));
    EXPECT_EQ(names(), (std::set<std::string>{"fruvana.ini", "fruvana2.ini", "stat.dat"}));

    MachineState loaded;
    loaded.dataFolder = state.dataFolder;
    loadOptions(loaded);
    loadStatistics(loaded);
    loadCredit(loaded);
    EXPECT_EQ(loaded.options, state.options);
    EXPECT_EQ(loaded.statistics, state.statistics);
    EXPECT_EQ(creditOf(loaded), (Credit{7, 4321, kCreditMax, 0}));
}

TEST_F(DataFiles, SaveReplacesAWholeLongerFileAndKeepsItsPermissions) {
    put(kCreditFileName, Bytes(40, 0xAA));
    fs::permissions(file(kCreditFileName), fs::perms::owner_read | fs::perms::owner_write);
    state.bet = 2;
    saveCredit(state);
    EXPECT_EQ(get(kCreditFileName), le32({2, 0, 0, 0}));
    EXPECT_EQ(fs::status(file(kCreditFileName)).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
}

// --- Credit file: defaults, range checks, short files ---------------------------------------

struct CreditCase {
    const char* name;
    std::optional<Bytes> file;  // nullopt: no file
    Credit expected;
    friend void PrintTo(const CreditCase& c, std::ostream* os) { *os << c.name; }
};

class CreditLoad : public DataFiles, public ::testing::WithParamInterface<CreditCase> {};

TEST_P(CreditLoad, FromAZeroedMachine) {
    if (GetParam().file) put(kCreditFileName, *GetParam().file);
    loadCredit(state);
    EXPECT_EQ(creditOf(state), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CreditLoad,
    ::testing::Values(
        CreditCase{"Missing", std::nullopt, {5, 0, 1000, -1000}},
        CreditCase{"Fresh", le32({5, 0, 1000, -1000}), {5, 0, 1000, -1000}},
        CreditCase{"InclusiveUpperLimits",
                   le32({10, 5000, 9'999'999, 99'999'999}),
                   {10, 5000, 9'999'999, 99'999'999}},
        CreditCase{"InclusiveLowerLimits", le32({1, 0, 0, -99'999'999}), {1, 0, 0, -99'999'999}},
        CreditCase{"JustAboveLimits", le32({11, 5001, 10'000'000, 100'000'000}), {5, 0, 0, 0}},
        CreditCase{"JustBelowLimits", le32({0, -1, -1, -100'000'000}), {5, 0, 0, 0}},
        CreditCase{"Extremes", le32({kInt32Min, kInt32Max, kInt32Min, kInt32Max}), {5, 0, 0, 0}},
        CreditCase{"ExtremesTheOtherWay",
                   le32({kInt32Max, kInt32Min, kInt32Max, kInt32Min}),
                   {5, 0, 0, 0}},
        CreditCase{"StoredWinBeforeCredit", le32({3, 300, 700, 0}), {3, 300, 700, 0}},
        // Short files: values fill in order; unreached values keep their zeroes.
        CreditCase{"Empty", Bytes{}, {5, 0, 0, 0}},
        CreditCase{"OneByte", Bytes{0x07}, {7, 0, 0, 0}},
        CreditCase{"BetOnly", le32({3}), {3, 0, 0, 0}},
        CreditCase{"CreditCutAfterTwoBytes",
                   concat(le32({2, 300}), Bytes{0x10, 0x27}),
                   {2, 300, 10000, 0}},
        CreditCase{"AccountCutShortIsStillChecked",
                   concat(le32({2, 0, 0}), Bytes{0xFF, 0xFF, 0xFF}),
                   {2, 0, 0, 0xFFFFFF}},
        CreditCase{
            "BytesBeyondSixteenIgnored", concat(le32({4, 1, 2, 3}), Bytes(9, 0xFF)), {4, 1, 2, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Options and statistics files -----------------------------------------------------------

struct OptionsCase {
    const char* name;
    Options before;
    std::optional<Bytes> file;
    Options expected;
    friend void PrintTo(const OptionsCase& c, std::ostream* os) { *os << c.name; }
};

class OptionsLoad : public DataFiles, public ::testing::WithParamInterface<OptionsCase> {};

TEST_P(OptionsLoad, TakesTheBytesPresent) {
    state.options = GetParam().before;
    if (GetParam().file) put(kOptionsFileName, *GetParam().file);
    loadOptions(state);
    EXPECT_EQ(state.options, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, OptionsLoad,
    ::testing::Values(
        OptionsCase{"Missing", {1, 0, 1, 0, 0}, std::nullopt, {0, 1, 0, 1, 1}},
        OptionsCase{"Empty", {}, Bytes{}, {0, 0, 0, 0, 0}},
        OptionsCase{"ThreeBytesAreNotTheDefaults", {}, Bytes{1, 1, 1}, {1, 1, 1, 0, 0}},
        OptionsCase{"ShortKeepsTheRest", {1, 1, 1, 1, 1}, Bytes{0, 0}, {0, 0, 1, 1, 1}},
        OptionsCase{"Full", {}, Bytes{1, 0, 0, 1, 0}, {1, 0, 0, 1, 0}},
        OptionsCase{"LongIgnoresTheTail", {}, Bytes{0, 1, 1, 0, 1, 1, 1}, {0, 1, 1, 0, 1}},
        OptionsCase{"AnyByteButZeroIsOn", {}, Bytes{2, 255, 0, 1, 9}, {1, 1, 0, 1, 1}}),
    [](const auto& info) { return std::string(info.param.name); });

struct StatisticsCase {
    const char* name;
    std::size_t length;       // bytes of the file made from counters 1..24 = 101..124
    std::int32_t before;      // every counter before the load
    int wholeCounters;        // counters taken from the file
    std::int32_t cutCounter;  // the counter after them, or before if none was cut
    friend void PrintTo(const StatisticsCase& c, std::ostream* os) { *os << c.name; }
};

class StatisticsLoad : public DataFiles, public ::testing::WithParamInterface<StatisticsCase> {};

TEST_P(StatisticsLoad, FillsCountersInFileOrder) {
    const auto& c = GetParam();
    Bytes full;
    for (int i = 0; i < 24; ++i) full = concat(full, le32({101 + i}));
    full.resize(c.length, 0xEE);
    put(kStatisticsFileName, full);
    for (int k = 1; k <= kClassCount; ++k) {
        state.statistics.firstDeal.onRow(k) = c.before;
        state.statistics.secondDeal.onRow(k) = c.before;
    }
    loadStatistics(state);
    for (int i = 0; i < 24; ++i) {
        const DealCounts& counts =
            i < 12 ? state.statistics.firstDeal : state.statistics.secondDeal;
        const std::int32_t expected =
            i < c.wholeCounters ? 101 + i : (i == c.wholeCounters ? c.cutCounter : c.before);
        EXPECT_EQ(counts.onRow(i % 12 + 1), expected) << "counter " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, StatisticsLoad,
    ::testing::Values(StatisticsCase{"Empty", 0, 9, 0, 9},
                      StatisticsCase{"FirstDealCountersOnly", 48, 0, 12, 0},
                      StatisticsCase{"SecondDealCounterCut", 50, 0x01020304, 12, 0x01020000 + 113},
                      StatisticsCase{"Full", 96, 7, 24, 7},
                      StatisticsCase{"BytesBeyondFullSizeIgnored", 100, 7, 24, 7}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Files that cannot be read or written ---------------------------------------------------

// Every saver, by the name of the file it writes.
struct Saver {
    std::string_view name;
    void (*save)(const MachineState&);
};
constexpr std::array<Saver, 4> kSavers{{{kCreditFileName, saveCredit},
                                        {kOptionsFileName, saveOptions},
                                        {kStatisticsFileName, saveStatistics},
                                        {kRecallFileName, saveRecall}}};

TEST_F(DataFiles, SavesLeaveAReadOnlyFileAlone) {
    // Permission bits do not stop the superuser, so the rule reads the bits themselves: a file
    // without any write bit is left alone by whoever runs the game.
    state = freshMachineState();
    state.dataFolder = dir.string() + "/";
    for (const auto& saver : kSavers) {
        put(saver.name, Bytes{1, 2, 3});
        fs::permissions(file(saver.name), fs::perms::owner_read | fs::perms::group_read);
        saver.save(state);
        EXPECT_EQ(get(saver.name), (Bytes{1, 2, 3})) << saver.name;
        EXPECT_EQ(fs::status(file(saver.name)).permissions(),
                  fs::perms::owner_read | fs::perms::group_read);
    }
    EXPECT_EQ(names(),
              (std::set<std::string>{"fruvana.ini", "fruvana2.ini", "stat.dat", "recall.dat"}));
}

TEST_F(DataFiles, AReadOnlyFolderGetsNoNewFileButItsWritableFileIsRewrittenInPlace) {
    state = freshMachineState();
    state.dataFolder = dir.string() + "/";
    put(kCreditFileName, Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18});
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    for (const auto& saver : kSavers) saver.save(state);
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_EQ(get(kCreditFileName), le32({5, 0, 1000, -1000}));
    EXPECT_EQ(names(), std::set<std::string>{"fruvana.ini"});
}

TEST_F(DataFiles, AFolderOfSomeoneElseStillHasItsSharedFileRewritten) {
    // A folder the player may not write to, the file itself writable by all: creating the
    // temporary file fails for real. Run by the superuser, the folder stays writable for its
    // owner and the save is made as "nobody"; run by anyone else, the folder loses its owner's
    // write bit too.
    put(kCreditFileName, Bytes{1, 2, 3});
    fs::permissions(file(kCreditFileName), fs::perms::all);
    const fs::perms ownerWrite = ::geteuid() == 0 ? fs::perms::owner_write : fs::perms::none;
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | ownerWrite |
                             fs::perms::group_read | fs::perms::group_exec |
                             fs::perms::others_read | fs::perms::others_exec);
    const std::string home = state.dataFolder;
    const auto ran = inChild(true, [home] {
        MachineState child = freshMachineState();
        child.dataFolder = home;
        saveCredit(child);
        return std::vector<std::int32_t>{};
    });
    if (!ran) return;
    EXPECT_EQ(get(kCreditFileName), le32({5, 0, 1000, -1000}));
    EXPECT_EQ(names(), std::set<std::string>{"fruvana.ini"});
}

TEST_F(DataFiles, SaveCutShortByAFullDiskLeavesTheOldFileAndNoTemporaryFile) {
    // A file size limit of 10 bytes makes every write past it fail, as a full disk would.
    for (const auto& saver : kSavers) {
        // 5 bytes of options and the 6 of an empty recall fit
        if (saver.name == kOptionsFileName || saver.name == kRecallFileName) continue;
        put(saver.name, Bytes{9, 8, 7});
        const std::string home = state.dataFolder;
        const auto ran = inChild(false, [home, &saver] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{10, 10};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            MachineState child = freshMachineState();
            child.dataFolder = home;
            saver.save(child);
            return std::vector<std::int32_t>{};
        });
        ASSERT_TRUE(ran);
        EXPECT_EQ(get(saver.name), (Bytes{9, 8, 7})) << saver.name;
    }
    EXPECT_EQ(names(), (std::set<std::string>{"fruvana.ini", "stat.dat"}));
}

// A save that cannot be made says why in one line, naming the fault and the file or folder.
struct RefusedCase {
    const char* name;
    std::function<void(const fs::path& dir)> prepare;
    std::string home;  // below the test's folder
    std::vector<std::string> said;
};

class RefusedSave : public DataFiles, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(RefusedSave, SaysWhyInOneLine) {
    GetParam().prepare(dir);
    std::string why;
    EXPECT_FALSE(replaceFile((dir / GetParam().home).string(), kCreditFileName, le32({1}), &why));
    for (const std::string& part : GetParam().said)
        EXPECT_NE(why.find(part), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos) << why;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedSave,
    ::testing::Values(
        RefusedCase{
            "MissingFolder", [](const fs::path&) {}, "gone/", {"gone", std::strerror(ENOENT)}},
        RefusedCase{"TemporaryNameTaken",
                    [](const fs::path& d) { fs::create_directory(d / "fruvana.ini.tmp"); },
                    "",
                    {"open ", "fruvana.ini.tmp", std::strerror(EEXIST)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DataFiles, AFailingSaverSaysWhyOnceUntilItSavesAgain) {
    state.dataFolder = (dir / "later").string() + "/";
    auto saidBy = [&](int saves) {
        ::testing::internal::CaptureStderr();
        for (int i = 0; i < saves; ++i) saveCredit(state);
        return ::testing::internal::GetCapturedStderr();
    };
    const std::string first = saidBy(2);
    EXPECT_EQ(first.rfind("Fruvana: cannot save fruvana.ini: ", 0), 0u) << first;
    EXPECT_EQ(std::count(first.begin(), first.end(), '\n'), 1) << first;
    fs::create_directory(dir / "later");
    EXPECT_EQ(saidBy(1), "");
    fs::remove_all(dir / "later");
    EXPECT_EQ(saidBy(1), first);
}

// ---- The recall file ----

// A game of every shape the file holds: a second deal or none, holds, an unfinished one.
GameRecord recalledGame(int i) {
    GameRecord g;
    g.startedAt = 1'796'644'800 + 60 * i;
    g.bet = 1 + i % 10;
    g.before = {1000 + i, i % 3, -1000 - i};
    g.firstLine = {static_cast<std::uint8_t>(1 + i % 10), 2, 10};
    g.firstClass = static_cast<ComboClass>(1 + i % 12);
    g.secondDealt = i % 2 == 0;
    if (g.secondDealt) {
        g.holds = {HoldSource::Suggested, HoldSource::NotHeld, HoldSource::Chosen};
        g.secondLine = {3, 3, static_cast<std::uint8_t>(10 - i % 10)};
        g.secondClass = ComboClass::NoWin;
    }
    g.collected = i == 2;  // a first deal's win collected: two top wins may be paid
    g.paid = g.collected ? 2 * kWinMax : 5 * i;
    g.after = {kCreditMax - i, kWinMax, kAccountLimit};
    g.unfinished = i == 3;
    return g;
}

GameRecall recallOf(int games) {
    GameRecall recall;
    for (int i = games; i >= 1; --i) recall.push_back(recalledGame(i));
    return recall;
}

Bytes recallBytes(int games) {
    return encodeRecall(recallOf(games));
}

// The bytes with their checksum made right again, so a test reaches the check it means.
Bytes resealed(Bytes bytes) {
    Bytes body(bytes.begin(), bytes.end() - 4);
    return concat(body, le32({static_cast<std::int32_t>(testing::fnv1a(body))}));
}

struct RecallCase {
    const char* name;
    std::function<Bytes()> file;  // empty function: no file
    int gamesRead;
};

class RecallFile : public DataFiles, public ::testing::WithParamInterface<RecallCase> {};

TEST_P(RecallFile, ReadsWholeOrGivesAnEmptyRecall) {
    const RecallCase& c = GetParam();
    if (c.file) put(kRecallFileName, c.file());
    state.recall = recallOf(2);  // whatever was there before is replaced
    EXPECT_EQ(loadRecall(state), c.file ? FileStatus::Read : FileStatus::Missing);
    EXPECT_EQ(state.recall, recallOf(c.gamesRead));
}

Bytes with(Bytes bytes, std::size_t at, std::uint8_t value) {
    bytes[at] = value;
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RecallFile,
    ::testing::Values(
        RecallCase{"Missing", {}, 0}, RecallCase{"Empty", [] { return recallBytes(0); }, 0},
        RecallCase{"TenGames", [] { return recallBytes(10); }, 10},
        RecallCase{"CutShort",
                   [] {
                       auto b = recallBytes(4);
                       b.pop_back();
                       return b;
                   },
                   0},
        RecallCase{"TooLong",
                   [] {
                       auto b = recallBytes(4);
                       b.push_back(0);
                       return b;
                   },
                   0},
        RecallCase{"NoBytes", [] { return Bytes{}; }, 0},
        RecallCase{"OtherFormat", [] { return resealed(with(recallBytes(4), 0, 2)); }, 0},
        RecallCase{"ElevenGames",
                   [] {
                       auto b = with(recallBytes(10), 1, 11);
                       const Bytes newest(b.begin() + 2, b.begin() + 54);
                       b.insert(b.end() - 4, newest.begin(), newest.end());
                       return resealed(b);
                   },
                   0},
        RecallCase{"ChecksumWrong", [] { return with(recallBytes(4), 9, 7); }, 0},
        RecallCase{"SymbolEleven", [] { return resealed(with(recallBytes(4), 2 + 24, 11)); }, 0},
        RecallCase{"ClassZero", [] { return resealed(with(recallBytes(4), 2 + 27, 0)); }, 0},
        RecallCase{"UnknownHold", [] { return resealed(with(recallBytes(4), 2 + 29, 3)); }, 0},
        RecallCase{"BetEleven", [] { return resealed(with(recallBytes(4), 2 + 8, 11)); }, 0},
        RecallCase{"UnknownFlag", [] { return resealed(with(recallBytes(4), 2 + 28, 4)); }, 0},
        RecallCase{"RandomBytes",
                   [] {
                       std::mt19937 rng(7);
                       Bytes b(2 + 3 * 52 + 4);
                       for (auto& x : b) x = static_cast<std::uint8_t>(rng());
                       b[0] = 1;
                       b[1] = 3;
                       return b;
                   },
                   0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DataFiles, TheRecallFileRoundTripsEveryFieldAndKeepsTenGames) {
    state.recall = {testing::knownGame()};
    saveRecall(state);
    EXPECT_EQ(get(kRecallFileName), testing::kKnownGameFile);
    state.recall = recallOf(11);
    saveRecall(state);
    EXPECT_EQ(get(kRecallFileName).size(), 2u + 10 * 52 + 4);
    loadRecall(state);
    GameRecall ten = recallOf(11);
    ten.pop_back();
    EXPECT_EQ(state.recall, ten);
}

TEST_F(DataFiles, LeftoverTemporaryFileIsIgnoredByTheLoadAndReplacedByTheNextSave) {
    put(kCreditFileName, le32({3, 0, 50, 60}));
    // What a save killed before its rename leaves: here a link to a file outside, which the
    // next save must not write through.
    put("outside", Bytes{1});
    fs::create_symlink(file("outside"), file("fruvana.ini.tmp"));
    loadCredit(state);
    EXPECT_EQ(creditOf(state), (Credit{3, 0, 50, 60}));
    state.bet = 4;
    saveCredit(state);
    EXPECT_EQ(get(kCreditFileName), le32({4, 0, 50, 60}));
    EXPECT_EQ(get("outside"), Bytes{1});
    EXPECT_EQ(names(), (std::set<std::string>{"fruvana.ini", "outside"}));
}

// While set, the flush of a save lets another copy of the game put its own file under that
// name first (see fsync below).
fs::path takenAtFlush;

TEST_F(DataFiles, ASaveWhoseTemporaryFileAnotherCopyTookRenamesNothing) {
    put(kCreditFileName, le32({3, 0, 50, 60}));
    takenAtFlush = file("fruvana.ini.tmp");
    EXPECT_FALSE(replaceFile(state.dataFolder, kCreditFileName, le32({4, 0, 50, 60}), nullptr));
    takenAtFlush.clear();
    EXPECT_EQ(get(kCreditFileName), le32({3, 0, 50, 60}));
    EXPECT_EQ(get("fruvana.ini.tmp"), le32({9}));  // the other copy's file is left to it
}

// --- Kills in the middle of saves -----------------------------------------------------------

// The record the crash test writes for step n: every field follows from the credit, so a
// torn or mixed record cannot pass for a written one.
Credit crashRecord(std::int32_t n) {
    return {1 + n % 10, n % 5001, n, -n};
}

TEST_F(DataFiles, KilledSavesNeverTearTheCreditFile) {
    constexpr int kRounds = 300;
    std::mt19937 rng(7);
    state = freshMachineState();
    state.dataFolder = dir.string() + "/";
    const Credit first = crashRecord(0);
    state.bet = first.bet;
    state.win = first.win;
    state.credit = first.credit;
    state.account = first.account;
    saveCredit(state);

    std::int32_t mostSaves = 0;
    int leftovers = 0;
    for (int round = 0; round < kRounds; ++round) {
        const std::int32_t base = (round + 1) * 30'000;
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // Saves until killed, telling the parent once the first save is made; gives up
            // after a while should the parent be gone.
            ::close(ready[0]);
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
            MachineState child = state;
            for (std::int32_t n = base; std::chrono::steady_clock::now() < deadline; ++n) {
                const Credit c = crashRecord(n);
                child.bet = c.bet;
                child.win = c.win;
                child.credit = c.credit;
                child.account = c.account;
                saveCredit(child);
                if (n == base && ::write(ready[1], "", 1) != 1) break;
            }
            ::_exit(0);
        }
        ::close(ready[1]);
        char byte = 0;
        const bool saved = ::read(ready[0], &byte, 1) == 1;
        ::close(ready[0]);
        // Then a kill at a random moment of the saves that follow.
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 3000));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(saved);
        ASSERT_TRUE(WIFSIGNALED(status));

        const Bytes bytes = get(kCreditFileName);
        ASSERT_EQ(bytes.size(), kCreditFileSize) << "round " << round;
        const Credit found{testing::int32At(bytes, 0), testing::int32At(bytes, 4),
                           testing::int32At(bytes, 8), testing::int32At(bytes, 12)};
        ASSERT_EQ(found, crashRecord(found.credit)) << "round " << round;
        ASSERT_GE(found.credit, base) << "the file did not move on in round " << round;
        mostSaves = std::max(mostSaves, found.credit - base + 1);
        if (fs::exists(file("fruvana.ini.tmp"))) ++leftovers;
        for (const auto& name : names()) {
            ASSERT_TRUE(name == "fruvana.ini" || name == "fruvana.ini.tmp") << name;
        }
    }
    std::cout << "[          ] " << kRounds << " kills, up to " << mostSaves
              << " saves in a round, " << leftovers << " kills left a temporary file\n";
    // A leftover of the last kill goes with the next save.
    saveCredit(state);
    EXPECT_EQ(names(), std::set<std::string>{"fruvana.ini"});
}

// What each loader tells the program about the file it found, so that a file that exists but
// cannot be read is never replaced during the run.
TEST_F(DataFiles, LoadersTellMissingReadAndUnreadableApart) {
    using Loader = FileStatus (*)(MachineState&);
    const std::pair<std::string_view, Loader> loaders[] = {{kCreditFileName, &loadCredit},
                                                           {kOptionsFileName, &loadOptions},
                                                           {kStatisticsFileName, &loadStatistics}};
    for (auto [name, load] : loaders) {
        EXPECT_EQ(load(state), FileStatus::Missing) << name;
        put(name, Bytes{1});
        EXPECT_EQ(load(state), FileStatus::Read) << name;
        fs::remove(file(name));
        fs::create_directory(file(name));
        EXPECT_EQ(load(state), FileStatus::Unreadable) << name;
        fs::remove(file(name));
        ASSERT_EQ(::mkfifo(file(name).c_str(), 0600), 0);
        EXPECT_EQ(load(state), FileStatus::Unreadable) << name;
        fs::remove(file(name));
        // A plain file whose bytes fail to read (here a process's memory at address 0).
        fs::create_symlink("/proc/self/mem", file(name));
        EXPECT_EQ(load(state), FileStatus::Unreadable) << name;
        fs::remove(file(name));
    }
}

}  // namespace
}  // namespace fruvana

// The flush of every save: while takenAtFlush names a file, another copy of the game writes it
// first.
extern "C" int fsync(int fd) {
    if (!fruvana::takenAtFlush.empty())
        fruvana::testing::writeFile(fruvana::takenAtFlush, fruvana::testing::le32({9}));
    return static_cast<int>(::syscall(SYS_fsync, fd));
}
