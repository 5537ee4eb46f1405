// Fuzzes the data-file loaders with the input as a file's bytes.
//
// Input: byte 0 picks the file (its value mod 4: credit, options, statistics, recall) and what
// stands under its name ((value / 4) mod 8: 0 to 4 a plain file of the bytes after byte 8, 5 the
// same with a recall file's checksum mended, so the fuzzer gets past it, 6 nothing, 7 a
// folder); bytes 1 to 8 seed the machine state before the load, so short files meet every kind
// of value they keep. After the load the state must be what the loaders promise: the bytes
// present taken in file order as low-order bytes, what they do not reach kept, a missing file's
// defaults, the money brought into its ranges, and nothing else touched; a recall file is
// taken whole, exactly as it stands, when its layout, checksum and every value are sound, and
// refused whole (an empty recall) otherwise. Then the file is saved and loaded again, which
// must give the same state back; a folder under the name must survive the save.

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "shell/data_files.h"
#include "shell/recall_file.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/support/files.h"

namespace fruvana {
namespace {

using fuzzing::broken;
using fuzzing::require;

enum class DataFile : std::uint8_t { Credit, Options, Statistics, Recall };
enum class Under : std::uint8_t { PlainFile, Nothing, Folder };

// A small generator for the state before the load: the same seed, the same state.
class Values {
  public:
    explicit Values(std::uint64_t seed) : random_(seed) {}
    std::uint64_t next() { return random_(); }
    // Half the time a value at or beside a limit of the files, else any.
    std::int32_t money() {
        static constexpr std::array<std::int32_t, 16> kEdges{
            INT32_MIN, -100'000'000, -99'999'999, -1000,      -1,         0,          1, 5, 10, 11,
            5000,      5001,         9'999'999,   10'000'000, 99'999'999, 100'000'000};
        const std::uint64_t r = next();
        if (r & 1) return kEdges[(r >> 1) % kEdges.size()];
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(r >> 32));
    }
    std::uint8_t byte() { return static_cast<std::uint8_t>(next()); }

  private:
    std::mt19937_64 random_;
};

MachineState stateBefore(std::uint64_t seed, const std::string& home) {
    Values v(seed);
    MachineState s;
    s.bet = v.money();
    s.win = v.money();
    s.credit = v.money();
    s.account = v.money();
    for (int k = 1; k <= kClassCount; ++k) {
        s.paytableMultipliers.slots[static_cast<std::size_t>(k - 1)] = v.money();
        s.statistics.firstDeal.onRow(k) = v.money();
        s.statistics.secondDeal.onRow(k) = v.money();
    }
    s.phase = v.byte() % 2 == 0 ? Phase::FirstDeal : Phase::SecondDeal;
    for (auto& b : s.held) b = v.byte();
    s.holdsUntouched = v.byte();
    for (auto& b : s.holdPressed) b = v.byte();
    s.leverPressed = v.byte();
    s.inputEnabled = v.byte();
    for (auto& b : s.reelSymbols) b = v.byte();
    for (auto& b : s.previousSymbols) b = v.byte();
    s.firstDealClass = static_cast<ComboClass>(v.byte());
    s.options = Options{v.byte() % 2 == 1, v.byte() % 2 == 1, v.byte() % 2 == 1, v.byte() % 2 == 1,
                        v.byte() % 2 == 1};
    s.secondDealAtOpen = v.byte();
    // Games that no file holds: a load must replace them.
    for (int n = v.byte() % 3; n > 0; --n) {
        GameRecord g;
        g.startedAt = static_cast<std::int64_t>(v.next());
        g.bet = v.money();
        g.paid = v.money();
        s.recall.push_back(g);
    }
    s.dataFolder = home;
    return s;
}

auto fieldsOf(const MachineState& s) {
    return std::tie(s.bet, s.win, s.credit, s.account, s.paytableMultipliers, s.phase, s.held,
                    s.holdsUntouched, s.holdPressed, s.leverPressed, s.inputEnabled, s.reelSymbols,
                    s.previousSymbols, s.firstDealClass, s.options, s.secondDealAtOpen,
                    s.statistics, s.recall, s.dataFolder);
}

// Byte b (0 lowest) of value replaced.
void setByte(std::int32_t& value, std::size_t b, std::uint8_t byte) {
    const unsigned shift = 8 * static_cast<unsigned>(b);
    auto bits = static_cast<std::uint32_t>(value);
    bits = (bits & ~(0xFFu << shift)) | (std::uint32_t{byte} << shift);
    value = static_cast<std::int32_t>(bits);
}

// Little-endian 32-bit values in order, each taking the bytes of the file that reach it.
template <std::size_t N>
void fillValues(const std::array<std::int32_t*, N>& values, std::string_view file) {
    for (std::size_t i = 0; i < file.size() && i < 4 * N; ++i)
        setByte(*values[i / 4], i % 4, static_cast<std::uint8_t>(file[i]));
}

std::array<std::int32_t*, 4> creditValues(MachineState& s) {
    return {&s.bet, &s.win, &s.credit, &s.account};
}

std::array<std::int32_t*, 24> statisticsValues(MachineState& s) {
    std::array<std::int32_t*, 24> values{};
    for (int k = 1; k <= kClassCount; ++k) {
        const auto slot = static_cast<std::size_t>(k - 1);
        values[slot] = &s.statistics.firstDeal.onRow(k);
        values[slot + kClassCount] = &s.statistics.secondDeal.onRow(k);
    }
    return values;
}

// ---- The recall file's layout, read here on its own -----------------------------------------

std::span<const std::uint8_t> bytesOf(std::string_view f) {
    return {reinterpret_cast<const std::uint8_t*>(f.data()), f.size()};
}
std::uint32_t le32At(std::string_view f, std::size_t at) {
    return static_cast<std::uint32_t>(testing::int32At(bytesOf(f), at));
}
std::uint32_t fnv1a(std::string_view bytes) {
    return testing::fnv1a(bytesOf(bytes));
}

// The number of games in a whole, sound recall file: format 1, a count of at most 10, 52 bytes
// per game, the checksum, and in every game a bet of 1 to 10, money in its ranges before and
// after, lines of symbols 1 to 10 with a class of 1 to 12 (the second one all zero unless it
// was dealt), no unknown flag, holds of 0 to 2, and a pay of 0 to 5000 (10000 when the first deal's
// win was collected). Nothing otherwise.
std::optional<std::size_t> soundRecallGames(std::string_view f) {
    if (f.size() < 6 || f[0] != 1) return std::nullopt;
    const auto games = static_cast<std::size_t>(static_cast<std::uint8_t>(f[1]));
    if (games > 10 || f.size() != 2 + 52 * games + 4) return std::nullopt;
    if (le32At(f, f.size() - 4) != fnv1a(f.substr(0, f.size() - 4))) return std::nullopt;
    auto int32At = [&](std::size_t at) { return static_cast<std::int32_t>(le32At(f, at)); };
    auto byteAt = [&](std::size_t at) { return static_cast<std::uint8_t>(f[at]); };
    auto moneyAt = [&](std::size_t at) {
        return int32At(at) >= 0 && int32At(at) <= 9'999'999 && int32At(at + 4) >= 0 &&
               int32At(at + 4) <= 5000 && int32At(at + 8) >= -99'999'999 &&
               int32At(at + 8) <= 99'999'999;
    };
    auto lineAt = [&](std::size_t at) {
        for (std::size_t n = 0; n < 3; ++n)
            if (byteAt(at + n) < 1 || byteAt(at + n) > 10) return false;
        return byteAt(at + 3) >= 1 && byteAt(at + 3) <= 12;
    };
    for (std::size_t g = 0; g < games; ++g) {
        const std::size_t r = 2 + 52 * g;
        const std::uint8_t flags = byteAt(r + 28);
        const bool second = (flags & 1) != 0;
        const bool noSecond = le32At(f, r + 32) == 0;
        if (int32At(r + 8) < 1 || int32At(r + 8) > 10 || !moneyAt(r + 12) || !moneyAt(r + 40) ||
            !lineAt(r + 24) || (flags & ~7) != 0 || byteAt(r + 29) > 2 || byteAt(r + 30) > 2 ||
            byteAt(r + 31) > 2 || (second ? !lineAt(r + 32) : !noSecond) || int32At(r + 36) < 0 ||
            int32At(r + 36) > (flags & 4 ? 10000 : 5000))
            return std::nullopt;
    }
    return games;
}

// The file with its last four bytes made the checksum of the others.
std::string mendChecksum(std::string file) {
    if (file.size() < 4) return file;
    const std::uint32_t sum = fnv1a(std::string_view(file).substr(0, file.size() - 4));
    for (std::size_t b = 0; b < 4; ++b)
        file[file.size() - 4 + b] = static_cast<char>(static_cast<std::uint8_t>(sum >> (8 * b)));
    return file;
}

// What the loaders document, worked out apart from them.
MachineState expectedAfter(MachineState s, DataFile file, Under under, std::string_view bytes) {
    const bool read = under == Under::PlainFile;
    const bool missing = under == Under::Nothing;
    switch (file) {
        case DataFile::Credit:
            if (missing) {
                s.bet = 5;
                s.win = 0;
                s.credit = 1000;
                s.account = -1000;
            }
            if (read) fillValues(creditValues(s), bytes);
            // Out of range, whatever its source: the bet falls to 5, the money to 0.
            if (s.bet < 1 || s.bet > 10) s.bet = 5;
            if (s.win < 0 || s.win > 5000) s.win = 0;
            if (s.credit < 0 || s.credit > 9'999'999) s.credit = 0;
            if (s.account < -99'999'999 || s.account > 99'999'999) s.account = 0;
            break;
        case DataFile::Options: {
            if (missing) s.options = Options{0, 1, 0, 1, 1};
            std::array<bool*, 5> order{&s.options.autoBet, &s.options.secondDeal,
                                       &s.options.smartHold, &s.options.voiceFx,
                                       &s.options.soundFx};
            // Any byte but 0 is on.
            for (std::size_t i = 0; read && i < bytes.size() && i < order.size(); ++i)
                *order[i] = bytes[i] != 0;
            break;
        }
        case DataFile::Statistics:
            if (missing) s.statistics = Statistics{};
            if (read) fillValues(statisticsValues(s), bytes);
            break;
        case DataFile::Recall:
            break;  // judged on its own
    }
    return s;
}

// Each file's name, loader and saver, in the order of DataFile, and the size of the record a
// save writes (a recall's depends on its games).
struct FileHandling {
    std::string_view name;
    FileStatus (*load)(MachineState&);
    void (*save)(const MachineState&);
    std::size_t size;
};

const std::array<FileHandling, 4> kFiles{{{kCreditFileName, loadCredit, saveCredit, 16},
                                          {kOptionsFileName, loadOptions, saveOptions, 5},
                                          {kStatisticsFileName, loadStatistics, saveStatistics, 96},
                                          {kRecallFileName, loadRecall, saveRecall, 0}}};

std::size_t savedSize(DataFile file, const MachineState& s) {
    return file == DataFile::Recall ? 2 + 52 * s.recall.size() + 4
                                    : kFiles[static_cast<std::size_t>(file)].size;
}

}  // namespace
}  // namespace fruvana

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fruvana;
    fuzzing::ByteReader in(data, size);
    const std::uint8_t pick = in.byte();
    const auto file = static_cast<DataFile>(pick % 4);
    const FileHandling& handling = kFiles[pick % 4];
    const int kind = (pick / 4) % 8;
    const Under under = kind < 6 ? Under::PlainFile : kind == 6 ? Under::Nothing : Under::Folder;
    const std::uint64_t seed = in.bits(8);
    std::string bytes(in.take(in.left()));
    if (kind == 5 && file == DataFile::Recall) bytes = mendChecksum(std::move(bytes));

    fuzzing::clearScratchFolder();
    const std::string& home = fuzzing::scratchFolder();
    const std::string path = home + std::string(handling.name);
    if (under == Under::PlainFile)
        require(testing::writeFile(path, bytes), "cannot write the input to " + path);
    if (under == Under::Folder && ::mkdir(path.c_str(), 0755) != 0) broken("cannot make " + path);

    const MachineState before = stateBefore(seed, home);
    MachineState after = before;
    const FileStatus status = handling.load(after);
    const std::string what = std::string(handling.name) + " of " + std::to_string(bytes.size()) +
                             " bytes" +
                             (under == Under::Nothing  ? " (missing)"
                              : under == Under::Folder ? " (a folder)"
                                                       : "");
    const FileStatus wanted = under == Under::PlainFile ? FileStatus::Read
                              : under == Under::Nothing ? FileStatus::Missing
                                                        : FileStatus::Unreadable;
    fuzzing::require(status == wanted, what + ": the loader told the wrong status");
    if (file == DataFile::Credit) {
        fuzzing::require(after.bet >= 1 && after.bet <= 10 && after.win >= 0 && after.win <= 5000 &&
                             after.credit >= 0 && after.credit <= 9'999'999 &&
                             after.account >= -99'999'999 && after.account <= 99'999'999,
                         what + ": the load left the money outside its ranges");
    }
    MachineState expected = expectedAfter(before, file, under, bytes);
    if (file == DataFile::Recall) {
        expected.recall = after.recall;
        const std::size_t games =
            under == Under::PlainFile ? soundRecallGames(bytes).value_or(0) : 0;
        fuzzing::require(after.recall.size() == games,
                         what + ": the recall holds " + std::to_string(after.recall.size()) +
                             " games where a sound file holds " + std::to_string(games));
        if (games > 0) {
            const std::vector<std::uint8_t> again = encodeRecall(after.recall);
            fuzzing::require(std::string(again.begin(), again.end()) == bytes,
                             what + ": the recall loaded is not what the file holds");
        }
    }
    fuzzing::require(fieldsOf(after) == fieldsOf(expected),
                     what + ": the state after the load is not what the loader promises");

    // What was loaded saves whole and loads back as it was; a folder stays a folder.
    handling.save(after);
    struct stat info {};
    const bool exists = ::lstat(path.c_str(), &info) == 0;
    if (under == Under::Folder) {
        fuzzing::require(exists && S_ISDIR(info.st_mode), what + ": a save replaced the folder");
        return 0;
    }
    fuzzing::require(exists && S_ISREG(info.st_mode) &&
                         static_cast<std::size_t>(info.st_size) == savedSize(file, after),
                     what + ": the save did not leave one whole record");
    MachineState reloaded = after;
    // Values the record does not hold are cleared first, so a load that skips one shows.
    if (file == DataFile::Credit)
        reloaded.bet = reloaded.win = reloaded.credit = reloaded.account = 0;
    if (file == DataFile::Options) reloaded.options = Options{};
    if (file == DataFile::Statistics) reloaded.statistics = Statistics{};
    if (file == DataFile::Recall) reloaded.recall.assign(1, GameRecord{});
    fuzzing::require(
        handling.load(reloaded) == FileStatus::Read && fieldsOf(reloaded) == fieldsOf(after),
        what + ": the saved record does not load back as it was");
    return 0;
}
