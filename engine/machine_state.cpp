#include "engine/machine_state.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

#include "engine/services.h"

namespace fruvana {

bool& Options::at(int index) {
    if (index < 0 || index >= kCount) throw std::out_of_range("option index");
    return this->*kOptionPlaces[static_cast<std::size_t>(index)].field;
}

bool Options::at(int index) const {
    return const_cast<Options*>(this)->at(index);
}

const bool* optionOnScreenRow(const Options& options, int screenRow) {
    for (const OptionPlace& place : kOptionPlaces) {
        if (place.screenRow == screenRow) return &(options.*place.field);
    }
    return nullptr;
}

bool* optionOnScreenRow(Options& options, int screenRow) {
    return const_cast<bool*>(optionOnScreenRow(std::as_const(options), screenRow));
}

MachineState freshMachineState() {
    MachineState state;
    state.bet = kFreshBet;
    state.credit = kFreshCredit;
    state.account = kFreshAccount;
    state.paytableMultipliers = kPaytableMultipliers;
    state.phase = Phase::FirstDeal;
    state.options = kDefaultOptions;
    state.inputEnabled = true;
    return state;
}

std::int32_t prizeAtCurrentBet(const MachineState& state, ComboClass comboClass) {
    const std::int64_t prize = std::int64_t{state.paytableMultipliers[comboClass]} * state.bet;
    constexpr std::int64_t kPastPrizeMeter = std::int64_t{largestOnMeter(kPrizeMeterDigits)} + 1;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(prize, -1, kPastPrizeMeter));
}

void bringLoadedMoneyIntoRange(MachineState& state) {
    if (state.bet < kLowestBet || state.bet > kHighestBet) state.bet = kFreshBet;
    if (state.win < 0 || state.win > kWinMax) state.win = 0;
    if (state.credit < 0 || state.credit > kCreditMax) state.credit = 0;
    if (state.account < -kAccountLimit || state.account > kAccountLimit) state.account = 0;
}

namespace {

bool moneyInRange(const Money& m) {
    return m.credit >= 0 && m.credit <= kCreditMax && m.win >= 0 && m.win <= kWinMax &&
           m.account >= -kAccountLimit && m.account <= kAccountLimit;
}

bool realLine(const Line& line, ComboClass comboClass) {
    for (const std::uint8_t s : line)
        if (s < 1 || s > kSymbolCount) return false;
    return codeOf(comboClass) >= 1 && codeOf(comboClass) <= kClassCount;
}

}  // namespace

bool isPlayableRecord(const GameRecord& g) {
    const bool secondOk = g.secondDealt
                              ? realLine(g.secondLine, g.secondClass)
                              : g.secondLine == Line{0, 0, 0} && g.secondClass == ComboClass{};
    // A first deal's win collected before the second deal is paid as well as the second's.
    const std::int32_t mostPaid = (g.collected ? 2 : 1) * kWinMax;
    return g.bet >= kLowestBet && g.bet <= kHighestBet && moneyInRange(g.before) &&
           moneyInRange(g.after) && realLine(g.firstLine, g.firstClass) && secondOk &&
           g.paid >= 0 && g.paid <= mostPaid;
}

bool moveWinOntoCredit(MachineState& state) {
    const std::int64_t total = std::int64_t{state.credit} + state.win;
    if (state.credit < 0 || total < 0) {
        state.credit = kFreshCredit;
        state.win = 0;
        state.account = kFreshAccount;
        return true;
    }
    // Deliberate: a win that takes the credit past its meter never wipes the player's money;
    // the credit stops at its limit and the rest goes to the account. The account itself must
    // stay inside what the credit file can hold, or the next start would turn it into 0.
    const std::int64_t excess = total > kCreditMax ? total - kCreditMax : 0;
    if (excess > 0 && std::int64_t{state.account} + excess > kAccountLimit) return false;
    state.credit = static_cast<std::int32_t>(total - excess);
    state.account = static_cast<std::int32_t>(std::int64_t{state.account} + excess);
    state.win = 0;
    return true;
}

std::int32_t saturatingAdd(std::int32_t a, std::int32_t b) {
    const std::int64_t sum = static_cast<std::int64_t>(a) + b;
    if (sum > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    if (sum < std::numeric_limits<std::int32_t>::min())
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(sum);
}

}  // namespace fruvana
