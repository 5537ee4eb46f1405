#include "shell/data_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>

#include "shell/recall_file.h"

namespace fruvana {
namespace {

constexpr int kStatisticsValueCount = 2 * kClassCount;

std::string dataPath(const MachineState& state, std::string_view name) {
    return state.dataFolder + std::string(name);
}

struct Prefix {
    FileStatus status = FileStatus::Missing;
    std::size_t count = 0;  // bytes read
};

// Reads the start of a file into buffer.
//
// Deliberate: the file is opened for reading only, so a credit file the player made read-only
// still loads its money instead of counting as unreadable and loading as 0.
Prefix readPrefix(const std::string& path, std::span<std::uint8_t> buffer) {
    // Non-blocking so that a FIFO of that name cannot hang start-up.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return {};
        return {FileStatus::Unreadable, 0};
    }
    Prefix result{FileStatus::Unreadable, 0};
    std::size_t& count = result.count;
    struct stat info {};
    // Only a plain file holds a record; a folder or a device of that name is unreadable.
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        result.status = FileStatus::Read;
        while (count < buffer.size()) {
            const ssize_t got = ::read(fd, buffer.data() + count, buffer.size() - count);
            if (got < 0 && errno == EINTR) continue;
            // A read error part-way (a failing disk) makes the whole file unreadable: counted
            // as read, its remaining values would stay a fresh machine's and be saved over it.
            if (got < 0) result.status = FileStatus::Unreadable;
            if (got <= 0) break;
            count += static_cast<std::size_t>(got);
        }
    }
    ::close(fd);
    return result;
}

// Sets value from the four little-endian bytes at offset, as far as bytes reaches: bytes
// present replace the value's low-order bytes, the others keep what they held.
void fillInt32(std::int32_t& value, std::span<const std::uint8_t> bytes, std::size_t offset) {
    auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t b = 0; b < 4 && offset + b < bytes.size(); ++b) {
        const unsigned shift = 8 * static_cast<unsigned>(b);
        bits =
            (bits & ~(std::uint32_t{0xFF} << shift)) | (std::uint32_t{bytes[offset + b]} << shift);
    }
    value = static_cast<std::int32_t>(bits);
}

void putInt32(std::span<std::uint8_t> bytes, std::size_t offset, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (std::size_t b = 0; b < 4; ++b) {
        bytes[offset + b] = static_cast<std::uint8_t>(bits >> (8 * b));
    }
}

// The values of the credit file in file order; the win comes before the credit.
template <typename State>
auto creditFields(State& state) {
    return std::array{&state.bet, &state.win, &state.credit, &state.account};
}

// Counter i of the statistics file: the first-deal column, then the second-deal one, each in
// the statistics table's row order.
template <typename Counts>
auto& statisticsField(Counts& statistics, int i) {
    auto& column = i < DealCounts::kRows ? statistics.firstDeal : statistics.secondDeal;
    return column.onRow(i % DealCounts::kRows + 1);
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put == 0) errno = EIO;  // nothing written and no reason given: never a stale one
        if (put <= 0) return false;
        done += static_cast<std::size_t>(put);
    }
    return true;
}

// The system call that failed, the file, and errno's reason: "write /x/stat.dat: ...".
// Read errno before anything else can overwrite it.
std::string failed(std::string_view call, const std::string& path) {
    return std::string(call) + " " + path + ": " + std::strerror(errno);
}

// Whether path still names the file we created; only then do we rename or remove it.
bool stillOurs(const std::string& path, const struct stat& ours) {
    struct stat now {};
    return ::lstat(path.c_str(), &now) == 0 && now.st_dev == ours.st_dev &&
           now.st_ino == ours.st_ino;
}

// Makes a rename in dir survive a power cut.
//
// Deliberate: a folder that cannot be opened or flushed is passed over without a word. The
// file is already whole under its name; at worst a power cut brings back the old whole file,
// never a torn one, and neither the game nor the player could do anything about it.
void syncDirectory(const std::string& dir) {
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

// Rewrites an existing plain file in place and flushes it: the whole record from its start,
// then the file cut to the record's size. Empty when that worked, else why not.
std::string rewriteInPlace(const std::string& path, std::span<const std::uint8_t> bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return failed("open", path);
    std::string why;
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        why = failed("fstat", path);
    } else if (!S_ISREG(info.st_mode)) {
        why = path + " is not a plain file";
    } else if (!writeAll(fd, bytes)) {
        why = failed("write", path);
    } else if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) {
        why = failed("truncate", path);
    } else if (::fsync(fd) != 0) {
        why = failed("fsync", path);
    }
    ::close(fd);
    return why;
}

// Replaces the file name in dataFolder with bytes, all or nothing; the result is empty when it
// did, else the reason it did not.
//
// Deliberate: the record goes to a temporary file in the same folder, is flushed to disk and
// renamed over the old file, which the kernel does in one step, so a crash, a kill or a full
// disk in the middle of a save never leaves an empty or torn file; on any failure the
// temporary file is removed and the old file stays as it was.
std::string replace(const std::string& dataFolder, std::string_view name,
                    std::span<const std::uint8_t> bytes) {
    const std::string dir = dataFolder.empty() ? std::string(".") : dataFolder;
    const std::string path = dataFolder + std::string(name);
    const std::string temp = path + std::string(kSaveTempSuffix);

    // A file the user marked read-only is left alone: a rename would replace it regardless of
    // its permissions.
    struct stat info {};
    const bool exists = ::lstat(path.c_str(), &info) == 0;
    if (exists && !S_ISREG(info.st_mode)) return path + " is not a plain file";
    if (exists && markedReadOnly(path, info)) return path + " is marked read-only";
    struct stat folder {};
    if (::stat(dir.c_str(), &folder) != 0) return failed("stat", dir);
    if (!S_ISDIR(folder.st_mode)) return dir + " is not a folder";
    if (markedReadOnly(dir, folder)) {
        // Deliberate: a folder that cannot take a new file (a shared install) still holds a
        // data file that can be written; it is rewritten in place rather than never saved.
        if (exists) return rewriteInPlace(path, bytes);
        return "the folder " + dir + " is marked read-only";
    }

    // A leftover of a save that was killed before its rename; O_EXCL then makes sure we write
    // a new file of our own and never follow a link planted under that name.
    ::unlink(temp.c_str());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return failed("open", temp);
    struct stat ours {};
    if (::fstat(fd, &ours) != 0) {
        std::string why = failed("fstat", temp);
        ::close(fd);
        ::unlink(temp.c_str());
        return why;
    }
    // The new file keeps the old one's permissions. Where it cannot, the save stops and says
    // why: the old file stays whole, where a new one could let others read or change it.
    std::string why;
    if (exists && ::fchmod(fd, info.st_mode & 07777) != 0) {
        why = failed("chmod", temp);
    } else if (!writeAll(fd, bytes)) {
        why = failed("write", temp);
    } else if (::fsync(fd) != 0) {
        why = failed("fsync", temp);
    }
    // A failing close can be the first word of a write that never reached the disk.
    if (::close(fd) != 0 && why.empty()) why = failed("close", temp);
    // Another copy of the game saving at the same moment has removed our file with the name.
    if (!stillOurs(temp, ours))
        return why.empty() ? "another copy of the game took " + temp + " mid-save" : why;
    if (why.empty() && ::rename(temp.c_str(), path.c_str()) != 0) why = failed("rename", temp);
    if (!why.empty()) {
        ::unlink(temp.c_str());
        return why;
    }
    syncDirectory(dir);
    return {};
}

// Saves one data file. Deliberate: a save that fails says why in one line on stderr, where a
// silent failure would let the player play on believing the money is kept; once until that file
// saves again, so a full disk or a read-only file does not print a line at every deal.
void save(const MachineState& state, std::string_view name, std::span<const std::uint8_t> bytes) {
    static std::mutex mutex;
    static std::map<std::string, std::string> said;  // path -> the reason last said
    std::string why;
    const bool saved = replaceFile(state.dataFolder, name, bytes, &why);
    const std::string path = dataPath(state, name);
    const std::lock_guard lock(mutex);
    if (saved) {
        said.erase(path);
        return;
    }
    std::string& last = said[path];
    if (last == why) return;
    std::fprintf(stderr, "Fruvana: cannot save %s: %s\n", std::string(name).c_str(), why.c_str());
    last = std::move(why);
}

}  // namespace

bool replaceFile(const std::string& dataFolder, std::string_view name,
                 std::span<const std::uint8_t> bytes, std::string* why) {
    std::string problem = replace(dataFolder, name, bytes);
    if (problem.empty()) return true;
    if (why != nullptr) *why = std::move(problem);
    return false;
}

bool markedReadOnly(const std::string& path, const struct stat& info) {
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return true;
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0;
}

FileStatus loadOptions(MachineState& state) {
    std::array<std::uint8_t, kOptionsFileSize> bytes{};
    const Prefix read = readPrefix(dataPath(state, kOptionsFileName), bytes);
    if (read.status == FileStatus::Missing) {
        state.options = kDefaultOptions;
        return read.status;
    }
    // Any byte but 0 reads as on.
    for (std::size_t i = 0; i < read.count; ++i)
        state.options.at(static_cast<int>(i)) = bytes[i] != 0;
    return read.status;
}

FileStatus loadStatistics(MachineState& state) {
    std::array<std::uint8_t, kStatisticsFileSize> bytes{};
    const Prefix read = readPrefix(dataPath(state, kStatisticsFileName), bytes);
    if (read.status == FileStatus::Missing) {
        state.statistics = Statistics{};
        return read.status;
    }
    const std::span<const std::uint8_t> got(bytes.data(), read.count);
    for (int i = 0; i < kStatisticsValueCount; ++i) {
        fillInt32(statisticsField(state.statistics, i), got, 4 * static_cast<std::size_t>(i));
    }
    return read.status;
}

FileStatus loadCredit(MachineState& state) {
    std::array<std::uint8_t, kCreditFileSize> bytes{};
    const Prefix read = readPrefix(dataPath(state, kCreditFileName), bytes);
    if (read.status == FileStatus::Missing) {
        state.bet = kFreshBet;
        state.win = 0;
        state.credit = kFreshCredit;
        state.account = kFreshAccount;
    } else {
        const std::span<const std::uint8_t> got(bytes.data(), read.count);
        std::size_t offset = 0;
        for (std::int32_t* field : creditFields(state)) {
            fillInt32(*field, got, offset);
            offset += 4;
        }
    }
    bringLoadedMoneyIntoRange(state);
    return read.status;
}

FileStatus loadRecall(MachineState& state) {
    // One byte more than the largest file, so a long file is told from a whole one.
    std::array<std::uint8_t, kRecallFileMaxSize + 1> bytes{};
    const Prefix read = readPrefix(dataPath(state, kRecallFileName), bytes);
    std::optional<GameRecall> recall =
        read.status == FileStatus::Read ? decodeRecall({bytes.data(), read.count}) : std::nullopt;
    state.recall = recall ? std::move(*recall) : GameRecall{};
    return read.status;
}

void saveRecall(const MachineState& state) {
    save(state, kRecallFileName, encodeRecall(state.recall));
}

void saveCredit(const MachineState& state) {
    std::array<std::uint8_t, kCreditFileSize> bytes{};
    std::size_t offset = 0;
    for (const std::int32_t* field : creditFields(state)) {
        putInt32(bytes, offset, *field);
        offset += 4;
    }
    save(state, kCreditFileName, bytes);
}

void saveOptions(const MachineState& state) {
    std::array<std::uint8_t, kOptionsFileSize> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = state.options.at(static_cast<int>(i)) ? 1 : 0;
    save(state, kOptionsFileName, bytes);
}

void saveStatistics(const MachineState& state) {
    std::array<std::uint8_t, kStatisticsFileSize> bytes{};
    for (int i = 0; i < kStatisticsValueCount; ++i) {
        putInt32(bytes, 4 * static_cast<std::size_t>(i), statisticsField(state.statistics, i));
    }
    save(state, kStatisticsFileName, bytes);
}

void DataFiles::load(MachineState& state) {
    optionsWritable_ = loadOptions(state) != FileStatus::Unreadable;
    statisticsWritable_ = loadStatistics(state) != FileStatus::Unreadable;
    creditWritable_ = loadCredit(state) != FileStatus::Unreadable;
    recallWritable_ = loadRecall(state) != FileStatus::Unreadable;
    // Deliberate: a file that exists but could not be read is never written over, so a
    // passing read error cannot replace the player's money and statistics with a fresh
    // machine's.
    saveCredit(state);
}

void DataFiles::saveCredit(const MachineState& state) const {
    if (creditWritable_) fruvana::saveCredit(state);
}

void DataFiles::saveOptions(const MachineState& state) const {
    if (optionsWritable_) fruvana::saveOptions(state);
}

void DataFiles::saveStatistics(const MachineState& state) const {
    if (statisticsWritable_) fruvana::saveStatistics(state);
}

void DataFiles::saveRecall(const MachineState& state) const {
    if (recallWritable_) fruvana::saveRecall(state);
}

}  // namespace fruvana
