#pragma once
// The data files beside the program: the credit file, the options file and the statistics
// file (raw little-endian records without header), and the recall file. Each is read once at
// start-up and rewritten whole at every save.
//
// The player is never stopped by a failure: a missing file gives the defaults, a file that
// cannot be read leaves the fields as they were, and a save that cannot be made leaves the old
// file as it was while the game goes on with its state in memory; the saver says why in one
// line on stderr, once until that file saves again.

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/machine_state.h"

namespace fruvana {

// Names in dataFolder, and full sizes in bytes.
inline constexpr std::string_view kCreditFileName = "fruvana.ini";
inline constexpr std::string_view kOptionsFileName = "fruvana2.ini";
inline constexpr std::string_view kStatisticsFileName = "stat.dat";
inline constexpr std::string_view kRecallFileName = "recall.dat";
inline constexpr std::size_t kCreditFileSize = 16;      // bet, win, credit, account: int32 each
inline constexpr std::size_t kOptionsFileSize = 5;      // one byte per option, in Options order
inline constexpr std::size_t kStatisticsFileSize = 96;  // first-deal then second-deal counters

// A save writes the new record to the file's name plus this suffix, in the same directory,
// and renames it over the file. A kill between the two leaves this name behind; nothing
// reads it, and the next save of that file replaces it.
inline constexpr std::string_view kSaveTempSuffix = ".tmp";

// What a loader found.
enum class FileStatus : std::uint8_t {
    Missing,     // no file of that name: the defaults
    Read,        // a plain file that could be read (perhaps short)
    Unreadable,  // something of that name that cannot be read: no permission, a folder, a FIFO,
                 // a read error part-way
};

// Loaders: a missing file gives the defaults; a short file fills its values in file order as
// far as its bytes reach (a value cut short takes the bytes present as its low-order bytes),
// and what is not reached keeps its value; bytes beyond the full size are ignored.

// Options as stored, without checking them; defaults 0, 1, 0, 1, 1.
FileStatus loadOptions(MachineState& state);
// Both counter arrays; all zero without a file.
FileStatus loadStatistics(MachineState& state);
// bet, win, credit, account (without a file a fresh machine's: kFreshBet, 0, kFreshCredit,
// kFreshAccount), then each brought into range: a bet outside kLowestBet..kHighestBet becomes
// kFreshBet; a win outside 0..kWinMax, a credit outside 0..kCreditMax and an account outside
// -kAccountLimit..kAccountLimit become 0.
FileStatus loadCredit(MachineState& state);

// The recalled games (see recall_file.h); an empty recall without a file, or with one that is
// not a whole, sound recall file.
FileStatus loadRecall(MachineState& state);

// Replaces the file name in dataFolder with bytes, all or nothing: true when the file now holds
// them. Otherwise the old file is as it was, and why (when given) is set to one line saying
// what stopped the save, e.g. "rename /x/stat.dat.tmp: Permission denied".
bool replaceFile(const std::string& dataFolder, std::string_view name,
                 std::span<const std::uint8_t> bytes, std::string* why = nullptr);

// Savers: a file the user marked read-only is left alone; in a folder that cannot take a new
// file, a file that can be written is rewritten in place. The program does not call a saver
// for a file its loader found unreadable, so such a file is never replaced by defaults.
void saveCredit(const MachineState& state);
void saveOptions(const MachineState& state);
void saveStatistics(const MachineState& state);
void saveRecall(const MachineState& state);

// Whether the user does not want path (a file or folder) changed. access() alone is not
// enough: the superuser passes it whatever the permission bits say, so one with no write bit
// at all counts as marked read-only for whoever runs the game.
bool markedReadOnly(const std::string& path, const struct stat& info);

// The four data files of one machine: read at start, and written as the game asks, except a
// file that exists but could not be read.
class DataFiles {
  public:
    // Reads every file into state, notes which may be written, and writes the credit file back
    // in range.
    void load(MachineState& state);
    void saveCredit(const MachineState& state) const;
    void saveOptions(const MachineState& state) const;
    void saveStatistics(const MachineState& state) const;
    void saveRecall(const MachineState& state) const;

  private:
    bool creditWritable_ = true;
    bool optionsWritable_ = true;
    bool statisticsWritable_ = true;
    bool recallWritable_ = true;
};

}  // namespace fruvana
