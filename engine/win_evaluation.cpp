// What a stopped line is worth, the verdict, the suggested holds and the next phase.

#include "engine/game.h"

namespace fruvana {

namespace {

constexpr int kNoWin = static_cast<int>(ComboClass::NoWin);
constexpr int kTotalSlot = 12;

// The first of the pairs (1, 2), (1, 3), (2, 3) whose two reels are both in the group.
template <typename InGroup>
std::array<bool, 3> firstPair(const Line& line, InGroup inGroup) {
    constexpr std::array<std::array<std::size_t, 2>, 3> pairs{{{0, 1}, {0, 2}, {1, 2}}};
    std::array<bool, 3> reels{false, false, false};
    for (const auto& pair : pairs) {
        if (inGroup(line[pair[0]]) && inGroup(line[pair[1]])) {
            reels[pair[0]] = true;
            reels[pair[1]] = true;
            break;
        }
    }
    return reels;
}

}  // namespace

std::array<bool, 3> winningReels(const Line& line, int comboClass) {
    if (comboClass >= 1 && comboClass <= 9) return {true, true, true};
    if (comboClass == 10) return firstPair(line, inBarGroup);
    if (comboClass == 11) return firstPair(line, inFruitGroup);
    return {false, false, false};
}

Verdict verdictFor(int comboClass) {
    if (comboClass >= 1 && comboClass <= 6) return {sounds::kVerdictExcellent, "Excellent !!!"};
    if (comboClass >= 7 && comboClass <= 9) return {sounds::kVerdictGood, "Good job !!"};
    if (comboClass == 10 || comboClass == 11) return {sounds::kVerdictNotBad, "Not bad !"};
    return {};
}

void Game::countResult(int slot) {
    if (slot < 1 || slot > kClassCount) return;
    auto& counts = state_.phase == Phase::FirstDeal ? state_.statistics.firstDealCounts
                                                    : state_.statistics.secondDealCounts;
    // Counters loaded from a file may already stand at the top of their range.
    counts[slot] = saturatingAdd(counts[slot], 1);
}

int Game::evaluateLine() {
    state_.win = 0;
    countResult(kTotalSlot);
    const int comboClass = classifyLine(state_.reelSymbols);
    if (comboClass == kNoWin) {
        screen_.drawMeter(0, Meter::Win, kMoneyMeterDigits);
        return comboClass;
    }
    countResult(comboClass);
    // bet is 1 to 10 and the largest multiplier 500, so the pay stays far inside int32.
    state_.win = state_.paytableMultipliers[comboClass] * state_.bet;
    screen_.drawMeter(state_.win, Meter::Win, kMoneyMeterDigits);
    const auto reels = winningReels(state_.reelSymbols, comboClass);
    for (std::size_t n = 0; n < 3; ++n) {
        if (reels[n]) state_.held[n] = 1;
    }
    return comboClass;
}

void Game::speakVerdict(int comboClass) {
    const Verdict verdict = verdictFor(comboClass);
    if (verdict.text.empty()) return;  // no win: the line keeps showing the deal's text
    if (state_.options.voiceFx) screen_.playSound(verdict.sound);
    screen_.setMessage(verdict.text);
}

void Game::suggestHolds() {
    const Line& s = state_.reelSymbols;
    auto& held = state_.held;
    // Each test only ever adds holds.
    if (s[0] == s[1]) held[0] = held[1] = 1;
    if (s[0] == s[2]) held[0] = held[2] = 1;
    if (s[2] == s[1]) held[2] = held[1] = 1;
    if (inSevenGroup(s[0]) && inSevenGroup(s[1])) held[0] = held[1] = 1;
    if (inSevenGroup(s[0]) && inSevenGroup(s[2])) held[0] = held[2] = 1;
    if (inSevenGroup(s[2]) && inSevenGroup(s[1])) held[2] = held[1] = 1;
    if (!held[0] && !held[1] && !held[2]) {
        for (std::size_t n = 0; n < 3; ++n) {
            if (inBarGroup(s[n])) held[n] = 1;
        }
    }
}

void Game::evaluateStop() {
    state_.held = {0, 0, 0};
    if (state_.phase == Phase::FirstDeal && state_.options.secondDeal) {
        const int comboClass = evaluateLine();
        state_.firstDealClass = static_cast<std::uint8_t>(comboClass);
        speakVerdict(comboClass);
        if (comboClass == kNoWin) suggestHolds();
        recordDeal(comboClass);
        suggested_ = state_.held;
        showHoldLamps();  // still phase 1: the suggestion shows in red
        state_.phase = Phase::SecondDeal;
        if (observer_ != nullptr) observer_->evaluated({comboClass, state_.win, allHeld()});
        return;
    }
    const int comboClass = evaluateLine();
    // A second deal that only repeats the first deal's kind of result earns no new verdict.
    const bool repeat = state_.phase == Phase::SecondDeal && comboClass == state_.firstDealClass;
    if (!repeat) speakVerdict(comboClass);
    recordDeal(comboClass);
    showHoldLamps();
    state_.phase = Phase::FirstDeal;
    endGame();
    if (observer_ != nullptr) observer_->evaluated({comboClass, state_.win, true});
}

void Game::recordDeal(int comboClass) {
    if (!current_) return;
    const auto c = static_cast<std::uint8_t>(comboClass);
    if (state_.phase == Phase::FirstDeal) {
        current_->firstLine = state_.reelSymbols;
        current_->firstClass = c;
    } else {
        current_->secondLine = state_.reelSymbols;
        current_->secondClass = c;
    }
    // The latest deal's win is what the game pays, and a first deal's win collected before
    // the second deal as well.
    const bool firstWinCollected = state_.phase == Phase::SecondDeal && current_->collected;
    current_->paid = (firstWinCollected ? current_->paid : 0) + state_.win;
}

}  // namespace fruvana
