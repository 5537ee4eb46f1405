// What a stopped line is worth, the verdict, the suggested holds and the next phase.

#include "engine/game.h"

namespace fruvana {

namespace {

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

std::array<bool, 3> winningReels(const Line& line, ComboClass comboClass) {
    if (comboClass <= ComboClass::AnyThreeFruits) return {true, true, true};
    if (comboClass == ComboClass::AnyTwoBars) return firstPair(line, inBarGroup);
    if (comboClass == ComboClass::AnyTwoFruits) return firstPair(line, inFruitGroup);
    return {false, false, false};
}

Verdict verdictFor(ComboClass comboClass) {
    if (comboClass <= ComboClass::ThreeMelons)
        return {sounds::kVerdictExcellent, translatable("Excellent !!!")};
    if (comboClass <= ComboClass::AnyThreeFruits)
        return {sounds::kVerdictGood, translatable("Good job !!")};
    if (comboClass <= ComboClass::AnyTwoFruits)
        return {sounds::kVerdictNotBad, translatable("Not bad !")};
    return {};
}

void Game::countResult(ComboClass comboClass) {
    DealCounts& counts = state_.phase == Phase::FirstDeal ? state_.statistics.firstDeal
                                                          : state_.statistics.secondDeal;
    // Counters loaded from a file may already stand at the top of their range.
    counts.deals = saturatingAdd(counts.deals, 1);
    if (comboClass != ComboClass::NoWin) {
        counts.wins[comboClass] = saturatingAdd(counts.wins[comboClass], 1);
    }
}

ComboClass Game::evaluateLine() {
    state_.win = 0;
    const ComboClass comboClass = classifyLine(state_.reelSymbols);
    countResult(comboClass);
    if (comboClass == ComboClass::NoWin) {
        screen_.drawMeter(0, Meter::Win, kMoneyMeterDigits);
        return comboClass;
    }
    // bet is 1 to 10 and the largest multiplier 500, so the pay stays far inside int32.
    state_.win = state_.paytableMultipliers[comboClass] * state_.bet;
    screen_.drawMeter(state_.win, Meter::Win, kMoneyMeterDigits);
    const auto reels = winningReels(state_.reelSymbols, comboClass);
    for (std::size_t n = 0; n < 3; ++n) {
        if (reels[n]) state_.held[n] = true;
    }
    return comboClass;
}

void Game::speakVerdict(ComboClass comboClass) {
    const Verdict verdict = verdictFor(comboClass);
    if (verdict.text.empty()) return;  // no win: the line keeps showing the deal's text
    if (state_.options.voiceFx) screen_.playSound(verdict.sound);
    screen_.setMessage(verdict.text);
}

void Game::suggestHolds() {
    const Line& s = state_.reelSymbols;
    auto& held = state_.held;
    // Each test only ever adds holds.
    if (s[0] == s[1]) held[0] = held[1] = true;
    if (s[0] == s[2]) held[0] = held[2] = true;
    if (s[2] == s[1]) held[2] = held[1] = true;
    if (inSevenGroup(s[0]) && inSevenGroup(s[1])) held[0] = held[1] = true;
    if (inSevenGroup(s[0]) && inSevenGroup(s[2])) held[0] = held[2] = true;
    if (inSevenGroup(s[2]) && inSevenGroup(s[1])) held[2] = held[1] = true;
    if (!held[0] && !held[1] && !held[2]) {
        for (std::size_t n = 0; n < 3; ++n) {
            if (inBarGroup(s[n])) held[n] = true;
        }
    }
}

void Game::evaluateStop() {
    state_.held = {false, false, false};
    if (state_.phase == Phase::FirstDeal && state_.options.secondDeal) {
        const ComboClass comboClass = evaluateLine();
        state_.firstDealClass = comboClass;
        speakVerdict(comboClass);
        if (comboClass == ComboClass::NoWin) suggestHolds();
        recordDeal(comboClass);
        suggested_ = state_.held;
        showHoldLamps();  // still phase 1: the suggestion shows in red
        state_.phase = Phase::SecondDeal;
        if (observer_ != nullptr) observer_->evaluated({comboClass, state_.win, allHeld()});
        return;
    }
    const ComboClass comboClass = evaluateLine();
    // A second deal that only repeats the first deal's kind of result earns no new verdict.
    const bool repeat = state_.phase == Phase::SecondDeal && comboClass == state_.firstDealClass;
    if (!repeat) speakVerdict(comboClass);
    recordDeal(comboClass);
    showHoldLamps();
    state_.phase = Phase::FirstDeal;
    endGame();
    if (observer_ != nullptr) observer_->evaluated({comboClass, state_.win, true});
}

void Game::recordDeal(ComboClass comboClass) {
    if (!current_) return;
    if (state_.phase == Phase::FirstDeal) {
        current_->firstLine = state_.reelSymbols;
        current_->firstClass = comboClass;
    } else {
        current_->secondLine = state_.reelSymbols;
        current_->secondClass = comboClass;
    }
    // The latest deal's win is what the game pays, and a first deal's win collected before
    // the second deal as well.
    const bool firstWinCollected = state_.phase == Phase::SecondDeal && current_->collected;
    current_->paid = (firstWinCollected ? current_->paid : 0) + state_.win;
}

}  // namespace fruvana
