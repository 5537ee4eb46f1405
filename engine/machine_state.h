#pragma once
// The one record of game state.

#include <array>
#include <cstdint>
#include <string>

#include "engine/game_record.h"
#include "engine/symbols.h"

namespace fruvana {

// The five on/off settings, in the order of the options file.
struct Options {
    bool autoBet = false;
    bool secondDeal = false;
    bool smartHold = false;
    bool voiceFx = false;
    bool soundFx = false;

    static constexpr int kCount = 5;
    // Access by file position 0 to 4.
    bool& at(int index);
    bool at(int index) const;
    friend bool operator==(const Options&, const Options&) = default;
};

// The options' names as the settings screen shows them and speech says them, by screen row.
inline constexpr std::array<std::string_view, Options::kCount> kOptionNames{
    translatable("Auto bet"), translatable("Second deal"), translatable("Smart hold"),
    translatable("Sound FX"), translatable("Voice FX")};

// Each option in file order, with the row of its switch on the settings screen (Sound FX
// stands above Voice FX there, below it in the file).
struct OptionPlace {
    bool Options::*field;
    int screenRow;
};
inline constexpr std::array<OptionPlace, Options::kCount> kOptionPlaces{{
    {&Options::autoBet, 0},
    {&Options::secondDeal, 1},
    {&Options::smartHold, 2},
    {&Options::voiceFx, 4},
    {&Options::soundFx, 3},
}};

// The option whose switch is on that row of the settings screen, or null for no such row.
bool* optionOnScreenRow(Options& options, int screenRow);
const bool* optionOnScreenRow(const Options& options, int screenRow);

// How the deals of one kind (first or second) ended: the count of each winning kind of result
// (the no-win entry stays 0) and the count of every deal.
struct DealCounts {
    PerClass<std::int32_t> wins{};
    std::int32_t deals = 0;

    // The counts in the order the statistics table and its file list them: rows 1 to 11 the
    // winning kinds of result by code, the last row every deal.
    static constexpr int kRows = kClassCount;
    std::int32_t& onRow(int row) {
        return row == kRows ? deals : wins[static_cast<ComboClass>(row)];
    }
    const std::int32_t& onRow(int row) const {
        return row == kRows ? deals : wins[static_cast<ComboClass>(row)];
    }
    friend bool operator==(const DealCounts&, const DealCounts&) = default;
};

// The label of a row of the statistics table: the winning kind of result with that code, or on
// the last row the count of every deal.
constexpr std::string_view statisticsRowText(int row) {
    return row == DealCounts::kRows ? translatable("total deals")
                                    : comboClassText(static_cast<ComboClass>(row));
}

struct Statistics {
    DealCounts firstDeal{};
    DealCounts secondDeal{};
    friend bool operator==(const Statistics&, const Statistics&) = default;
};

// Where a game stands: waiting for or dealing its first deal, or between the first deal and the
// free second deal (and dealing it). The numbers are those the game state has always held.
enum class Phase : std::uint8_t { FirstDeal = 1, SecondDeal = 2 };

// One flag for each of reels 1, 2, 3: held, or a hold pressed.
using Holds = std::array<bool, 3>;

// Money is in credit units (a coin is 1000); flags are bytes, 0 false and 1 true.
// The record is created zeroed: start-up fills it, and a data file that cannot be read
// leaves its fields as they were, so the zeroes matter.
struct MachineState {
    std::int32_t bet = 0;
    std::int32_t win = 0;
    std::int32_t credit = 0;
    std::int32_t account = 0;
    PerClass<std::int32_t> paytableMultipliers{};
    Phase phase = Phase::FirstDeal;
    Holds held{};
    bool holdsUntouched = false;
    Holds holdPressed{};
    bool leverPressed = false;
    bool inputEnabled = false;
    Line reelSymbols{0, 0, 0};
    Line previousSymbols{0, 0, 0};
    ComboClass firstDealClass{};  // zero until the first deal is evaluated
    Options options{};
    bool secondDealAtOpen = false;
    Statistics statistics{};
    // The last games played, newest first.
    GameRecall recall;
    std::string dataFolder;
};

// The options of a machine without an options file.
inline constexpr Options kDefaultOptions{0, 1, 0, 1, 1};

// A fresh machine as the game sets it up without any data file: the fresh bet, credit and
// account, default options, the pay multipliers, phase 1, input enabled.
// Reels are left at 0; the caller draws them.
MachineState freshMachineState();

// The bet a player may choose.
inline constexpr std::int32_t kLowestBet = 1;
inline constexpr std::int32_t kHighestBet = 10;

// Money limits the game keeps.
inline constexpr std::int32_t kCoinValue = 1000;
inline constexpr std::int32_t kCreditMax = 9'999'999;
inline constexpr std::int32_t kCoinCreditLimit = 9'000'000;
inline constexpr std::int32_t kWinMax = 5000;
inline constexpr std::int32_t kAccountLimit = 99'999'999;

// A fresh machine's bet and money: one coin on the credit, paid for from the account. The
// settings screen's reset starts the credit and account afresh at these as well.
inline constexpr std::int32_t kFreshBet = 5;
inline constexpr std::int32_t kFreshCredit = kCoinValue;
inline constexpr std::int32_t kFreshAccount = -kCoinValue;

// Credit, win and account as they stand.
inline Money moneyOf(const MachineState& state) {
    return {state.credit, state.win, state.account};
}

// The prize a kind of result pays at the state's bet, as the pay panel shows it. Worked out
// wide, so a damaged multiplier cannot overflow: a prize below 0 comes back as -1 and one past
// the prize meter's largest as one more than that, both of which the meter refuses.
std::int32_t prizeAtCurrentBet(const MachineState& state, ComboClass comboClass);

// a + b computed wide and held at the int32 limits, so no money sum can overflow.
std::int32_t saturatingAdd(std::int32_t a, std::int32_t b);

// Brings a bet and money read from a file into range: a bet outside kLowestBet..kHighestBet
// becomes a fresh machine's; a win, credit or account outside its limits becomes 0, never the
// nearest limit (the limits themselves are kept).
void bringLoadedMoneyIntoRange(MachineState& state);

// Whether a recalled game could have been played: a bet the player may choose, money inside
// its limits, real symbols and classes, a second line only with a second deal, and no more paid
// than its deals can pay.
bool isPlayableRecord(const GameRecord& game);

// Moves the pending win onto the credit. A credit that would pass kCreditMax stops there and
// the rest goes into the account; when the account cannot take it without passing
// kAccountLimit, nothing moves and the result is false. A credit below 0 (only a damaged value
// can be) resets the money to that of a machine without a credit file.
bool moveWinOntoCredit(MachineState& state);

}  // namespace fruvana
