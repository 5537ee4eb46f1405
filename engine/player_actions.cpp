// The push buttons and the actions behind them: the bet, coins, collect, autoplay, the settings
// screen's switches, OK and reset, and the way out. Each applies its own refusals and money
// limits and tells the screen what changed.

#include <algorithm>

#include "engine/game.h"

namespace fruvana {

namespace {

constexpr std::array<ButtonRule, kButtonCount> kButtonRules{{
    {Button::Help, sounds::kBigButton, true, true},
    {Button::Exit, sounds::kBigButton, true, false},
    {Button::BetDown, sounds::kSmallButton, true, true},
    {Button::BetUp, sounds::kSmallButton, true, true},
    {Button::Coin, sounds::kCoinDrop, true, true},
    {Button::Collect, sounds::kSmallButton, true, true},
    {Button::Settings, sounds::kSmallButton, true, true},
    {Button::Autoplay, sounds::kSmallButton, true, false},
    // Deliberate: the settings screen's OK and reset are refused while a deal runs (a press
    // beside the screen gives the game the focus, so a deal can start under it); ending a
    // second deal or resetting the money under turning reels would pay a deal never staked.
    {Button::SettingsOk, sounds::kBigButton, true, false},
    {Button::SettingsReset, sounds::kSmallButton, true, false},
    {Button::SettingsRecall, sounds::kSmallButton, false, false},
    {Button::RecallOk, sounds::kBigButton, false, false},
    {Button::SettingsPreferences, sounds::kSmallButton, false, false},
}};
static_assert(rowsInButtonOrder(kButtonRules), "a button's rule is found by its number");

}  // namespace

const ButtonRule& buttonRule(Button button) {
    return kButtonRules[static_cast<std::size_t>(button)];
}

bool Game::pressButtonByKey(Button button) {
    pressedButtons_[index(button)] = 0;
    return pressButtonByWheel(button);
}

bool Game::pressButtonByWheel(Button button) {
    const ButtonRule& rule = buttonRule(button);
    if (rule.needsInput && !state_.inputEnabled) return false;
    if (rule.refusedInAutoplay && autoplayOn_) return false;
    pressedButtons_[index(button)] = 1;
    return true;
}

bool Game::pressButton(Button button, bool onFace) {
    if (!pressButtonByKey(button)) return false;
    if (!onFace) {
        pressedButtons_[index(button)] = 0;
        return false;
    }
    if (state_.options.soundFx) {
        screen_.playSound(buttonRule(button).pressSound);
        // The farewell voice may follow at once; the click gets a moment of its own.
        if (button == Button::Exit) screen_.delay(10);
    }
    return true;
}

void Game::releaseButton(Button button) {
    if (pressedButtons_[index(button)] == 0) return;
    if (!buttonRule(button).needsInput) return runButtonAction(button);
    if (!state_.inputEnabled) return;
    if (button == Button::Exit) return quit(true);
    // Nothing else acts while the action runs, though it may wait and so let events in.
    state_.inputEnabled = false;
    runButtonAction(button);
    state_.inputEnabled = true;
}

void Game::runButtonAction(Button button) {
    switch (button) {
        case Button::Help:
            host_.openHelp();
            break;
        case Button::Exit:
            quit(true);
            break;
        case Button::BetDown:
            betDown();
            break;
        case Button::BetUp:
            betUp();
            break;
        case Button::Coin:
            insertCoin();
            break;
        case Button::Collect:
            collect();
            break;
        case Button::Settings:
            openSettings();
            break;
        case Button::Autoplay:
            if (autoplayOn_) {
                stopAutoplay();
            } else {
                startAutoplay();
            }
            break;
        case Button::SettingsOk:
            confirmSettings();
            break;
        case Button::SettingsReset:
            resetMoneyAndStatistics();
            break;
        case Button::SettingsRecall:
            openRecall();
            break;
        case Button::RecallOk:
            closeRecall();
            break;
        case Button::SettingsPreferences:
            openPreferences();
            break;
    }
}

void Game::changeBet(int step) {
    // The bet of a first deal holds for its second deal.
    if (state_.phase == Phase::SecondDeal) return;
    const std::int32_t bet = state_.bet + step;
    if (bet < kLowestBet || bet > kHighestBet) return;
    state_.bet = bet;
    screen_.drawBetAndPrizes();
    host_.saveCredit();
    if (observer_ != nullptr) observer_->metersChanged(Meter::Bet);
}

bool Game::insertCoin() {
    if (state_.credit >= kCoinCreditLimit) return false;
    // Deliberate: the account stays inside what the credit file can hold; a coin that would
    // take it past the limit is refused, since the next start would turn it into 0.
    if (std::int64_t{state_.account} - kCoinValue < -std::int64_t{kAccountLimit}) return false;
    state_.credit += kCoinValue;
    state_.account -= kCoinValue;
    screen_.drawMeter(state_.credit, Meter::Credit, kMoneyMeterDigits);
    host_.saveCredit();
    if (observer_ != nullptr) observer_->metersChanged(Meter::Credit);
    return true;
}

bool Game::collect() {
    const std::int64_t account = std::int64_t{state_.account} + state_.credit + state_.win;
    // Deliberate: as for a coin, the account never passes what the credit file can hold.
    if (account > kAccountLimit) return false;
    state_.account = static_cast<std::int32_t>(account);
    state_.credit = 0;
    state_.win = 0;
    screen_.drawMeter(state_.credit, Meter::Credit, kMoneyMeterDigits);
    screen_.drawMeter(state_.win, Meter::Win, kMoneyMeterDigits);
    host_.saveCredit();
    // Between a first and a second deal the phase and the holds stay: the free second deal is
    // still to come, and the first deal's win counts because it was collected.
    if (state_.phase == Phase::SecondDeal && current_) current_->collected = true;
    if (observer_ != nullptr) observer_->metersChanged(Meter::Credit);
    return true;
}

void Game::startAutoplay() {
    screen_.setMessage(kAutoplayButtonOnText);
    screen_.delay(500);
    autoplayOn_ = true;
    autoplayGames_ = 0;
    autoplayLastPaid_ = 0;
    host_.runAutoplayTimer(true);
}

void Game::stopAutoplay(const GameText& why) {
    autoplayOn_ = false;
    host_.runAutoplayTimer(false);
    screen_.delay(1000);
    screen_.setMessage(why);
    screen_.delay(500);
}

void Game::pauseAutoplay(bool paused) {
    if (autoplayOn_) host_.runAutoplayTimer(!paused);
}

GameText realityCheckText(std::int64_t minutes, std::int32_t games, std::int64_t net) {
    const std::string sign = net > 0 ? "+" : "";
    return {translatable("You have played %s min: %s games, net %s"),
            {std::to_string(minutes), std::to_string(games), sign + std::to_string(net)}};
}

std::optional<GameText> Game::takeRealityCheck(std::int64_t now) {
    if (!realityCheckMinutes_ || !state_.inputEnabled) return std::nullopt;
    const std::int64_t since = std::max(lastRealityCheck_, session_.startedAt);
    if (now - since < std::int64_t{*realityCheckMinutes_} * 60) return std::nullopt;
    lastRealityCheck_ = now;
    return realityCheckText((now - session_.startedAt) / 60, session_.games,
                            money().total() - session_.moneyAtStart);
}

std::optional<GameText> autoplayStopText(const AutoplayLimits& limits, int games,
                                         std::int32_t lastPaid, std::int64_t sessionNet) {
    if (limits.games && games >= *limits.games)
        return GameText{translatable("Autoplay OFF: %s games"), {std::to_string(games)}};
    if (limits.winAtLeast && lastPaid >= *limits.winAtLeast)
        return GameText{translatable("Autoplay OFF: won %s"), {std::to_string(lastPaid)}};
    if (limits.netLoss && sessionNet <= -*limits.netLoss)
        return GameText{translatable("Autoplay OFF: net %s"), {std::to_string(sessionNet)}};
    return std::nullopt;
}

void Game::openSettings() {
    state_.secondDealAtOpen = state_.options.secondDeal;
    host_.showSettings();
}

void Game::confirmSettings() {
    if (!state_.options.secondDeal && state_.secondDealAtOpen) {
        // Second deal was switched off during this visit: the pending second deal ends.
        state_.phase = Phase::FirstDeal;
        state_.held = {false, false, false};
        // Deliberate: the win joins the credit as a banked win does, never past the credit's
        // limit; a win the account cannot take stays pending.
        moveWinOntoCredit(state_);
        screen_.drawMeter(state_.win, Meter::Win, kMoneyMeterDigits);
        screen_.drawMeter(state_.credit, Meter::Credit, kMoneyMeterDigits);
        for (int reel = 1; reel <= 3; ++reel) screen_.showLamp(reel, LampLook::Blank);
        endGame();
        if (observer_ != nullptr) observer_->holdsChanged(state_.held);
    }
    host_.hideSettings();
}

void Game::resetMoneyAndStatistics() {
    // A fresh start of the money is neither a win nor a loss of this session.
    session_.moneyAtStart += Money{kFreshCredit, 0, kFreshAccount}.total() - money().total();
    state_.account = kFreshAccount;
    state_.credit = kFreshCredit;
    state_.win = 0;
    screen_.drawMeter(state_.win, Meter::Win, kMoneyMeterDigits);
    screen_.drawMeter(state_.credit, Meter::Credit, kMoneyMeterDigits);
    state_.statistics = Statistics{};
    host_.showAccountAndStatistics();
    screen_.pumpPending();
}

void Game::flipOption(int screenRow) {
    bool* option = optionOnScreenRow(state_.options, screenRow);
    if (option == nullptr) return;
    *option = !*option;
    host_.showOptionSwitch(screenRow);
    host_.saveOptions();
    // Sound FX as it now stands: switching it on clicks, switching it off does not.
    playIfSoundOn(sounds::kSmallButton);
}

bool Game::openRecall() {
    if (!state_.inputEnabled || autoplayOn_) return false;
    host_.showRecall();
    return true;
}

void Game::closeRecall() {
    host_.hideRecall();
}

bool Game::openPreferences() {
    if (!state_.inputEnabled || autoplayOn_) return false;
    host_.showPreferences();
    return true;
}

void Game::requestQuit() {
    if (!state_.inputEnabled) return;
    quit(false);
}

void Game::quit(bool farewell) {
    state_.inputEnabled = false;
    if (farewell && state_.options.voiceFx) {
        screen_.playSound(sounds::kFarewell);
        screen_.delay(650);
    }
    host_.saveCredit();
    host_.saveOptions();
    host_.saveStatistics();
    // A game still waiting for its second deal is recalled as it stands.
    if (current_) {
        endGame(true);
    } else {
        host_.saveRecall();
    }
    // Deliberate: input stays off once the files are written on the way out, where a fresh
    // start would take it again: a key or a lever pull still waiting further up (X typed
    // during Enter's 200 ms) must not take a stake or start a deal that is never saved.
    autoplayOn_ = false;
    host_.runAutoplayTimer(false);
    host_.endProgram();
}

}  // namespace fruvana
