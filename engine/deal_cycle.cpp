// The lever, the holds and the autoplay tick: one deal from the pull to the start of the spin.

#include "engine/game.h"

namespace fruvana {

namespace {

static_assert(largestOnMeter(kMoneyMeterDigits) == kCreditMax,
              "the credit meter shows every credit");

bool validReel(int reel) {
    return reel >= 1 && reel <= 3;
}
std::size_t reelIndex(int reel) {
    return static_cast<std::size_t>(reel - 1);
}

// The spin sound tells which reels turn: the left one, the middle one first, or only the
// right one.
std::string_view spinSound(const Holds& held) {
    if (held[0] == 0) return sounds::kSpinFromLeft;
    if (held[1] == 0) return sounds::kSpinFromMiddle;
    if (held[2] == 0) return sounds::kSpinRightOnly;
    return sounds::kSpinFromLeft;
}

}  // namespace

Game::Game(MachineState& state, RandomSources& sources, OutcomePool& pool, EngineServices& screen,
           GameHost& host)
    : state_(state), sources_(sources), pool_(pool), screen_(screen), host_(host) {}

void Game::playIfSoundOn(std::string_view sound) {
    if (state_.options.soundFx) screen_.playSound(sound);
}

void Game::pressLever(bool onKnob) {
    state_.leverPressed = false;
    if (!state_.inputEnabled || autoplayOn_) return;
    if (!onKnob) return;
    state_.leverPressed = true;
    if (screen_.leverAtRest()) screen_.moveLeverDown();
    playIfSoundOn(sounds::kLeverPull);
    screen_.delay(2);
}

void Game::releaseLever() {
    deal();
}

void Game::pullByKey() {
    state_.leverPressed = false;
    if (!state_.inputEnabled || autoplayOn_) return;
    state_.leverPressed = true;
    if (screen_.leverAtRest()) screen_.moveLeverDown();
    screen_.delay(200);
    releaseLever();
}

void Game::deal() {
    if (!screen_.leverAtRest()) screen_.moveLeverToRest();
    screen_.delay(2);
    // The press flag stays set: the next press clears it before anything else.
    if (!state_.inputEnabled || !state_.leverPressed) return;
    state_.inputEnabled = false;
    PullReport report;
    const auto refuse = [&](PullReport::Refusal why) {
        state_.inputEnabled = true;
        report.refused = why;
        if (observer_ != nullptr) observer_->pulled(report);
    };
    const auto bank = [&] {
        const std::int32_t win = state_.win;
        const std::int64_t excess = std::int64_t{state_.credit} + win - kCreditMax;
        if (!bankWin()) return false;
        report.banked += win;
        if (excess > 0) report.movedToAccount += static_cast<std::int32_t>(excess);
        return true;
    };

    if (!state_.options.secondDeal) state_.phase = Phase::FirstDeal;
    state_.holdsUntouched = true;

    // All three reels held in phase 2: the player keeps the first deal's win and plays anew.
    if (state_.phase == Phase::SecondDeal && allHeld()) {
        if (current_) current_->holds = holdSources();
        bank();
        host_.saveCredit();
        state_.phase = Phase::FirstDeal;
    }

    if (state_.phase == Phase::FirstDeal) {
        // A game whose second deal never came (all reels held) ends here.
        if (current_) endGame();
        const Money before = money();
        // Deliberate: a win the account cannot take stays pending and the deal is refused,
        // since the next result would overwrite it.
        if (state_.win > 0 && !bank()) return refuse(PullReport::Refusal::WinPending);
        if (state_.credit < state_.bet) {
            // The credit never goes below 0, but if it ever did, a refusal is safer than a
            // negative bet.
            if (state_.credit <= 0 || !state_.options.autoBet)
                return refuse(PullReport::Refusal::ShortOfCredit);
            // Auto bet plays what is left; the pay panel keeps the prizes of the chosen bet
            // until a bet button is used.
            state_.bet = state_.credit;
            screen_.drawMeter(state_.bet, Meter::Bet, kBetMeterDigits);
        }
        state_.credit -= state_.bet;
        report.firstDeal = true;
        report.stake = state_.bet;
        screen_.drawMeter(state_.credit, Meter::Credit, kMoneyMeterDigits);
        host_.saveCredit();
        current_ = GameRecord{};
        current_->startedAt = host_.wallClock();
        current_->bet = state_.bet;
        current_->before = before;
        state_.held = {false, false, false};
        showHoldLamps();
    } else if (current_) {
        current_->holds = holdSources();
        current_->secondDealt = true;
    }

    screen_.setMessage(state_.phase == Phase::FirstDeal ? kFirstDealText : kSecondDealText);
    screen_.pumpPending();

    if (state_.phase == Phase::FirstDeal) {
        pool_.drawFirstDeal(state_, sources_);
    } else {
        OutcomePool::drawSecondDeal(state_, sources_);
    }

    if (observer_ != nullptr) observer_->pulled(report);
    playIfSoundOn(spinSound(state_.held));
    screen_.prepareSpinStrips();
    screen_.startSpin();
}

bool Game::nextPullTakesStake() const {
    return !state_.options.secondDeal || state_.phase == Phase::FirstDeal || allHeld();
}

bool Game::bankWin() {
    if (!moveWinOntoCredit(state_)) return false;
    screen_.drawMeter(state_.win, Meter::Win, kMoneyMeterDigits);
    screen_.drawMeter(state_.credit, Meter::Credit, kMoneyMeterDigits);
    return true;
}

void Game::pressHold(int reel) {
    if (!validReel(reel)) return;
    if (!state_.inputEnabled || autoplayOn_) return;
    if (state_.phase == Phase::SecondDeal) playIfSoundOn(sounds::kHoldButton);
    // Also in phase 1, where the release then does nothing.
    state_.holdPressed[reelIndex(reel)] = true;
}

void Game::releaseHold(int reel) {
    if (!validReel(reel)) return;
    const std::size_t n = reelIndex(reel);
    if (!state_.holdPressed[n]) return;
    state_.holdPressed[n] = false;
    // Deliberate: a release that arrives while a deal runs (a press made before a key started
    // the second deal) is dropped and the press is spent, so holds and lamps never change
    // under the turning reels after the draw has used them.
    if (!state_.inputEnabled) return;
    if (!state_.options.secondDeal || state_.phase != Phase::SecondDeal) return;

    // Smart hold: the first pick of a reel that is not held replaces the suggested holds.
    if (state_.options.smartHold && state_.holdsUntouched && !state_.held[n]) {
        state_.holdsUntouched = false;
        for (int other = 1; other <= 3; ++other) {
            if (other == reel) continue;
            state_.held[reelIndex(other)] = false;
            screen_.showLamp(other, LampLook::Blank);
        }
    }

    state_.held[n] = state_.held[n] ? 0 : 1;
    screen_.showLamp(reel, state_.held[n] ? LampLook::Red : LampLook::Blank);
    if (observer_ != nullptr) observer_->holdsChanged(state_.held);
}

void Game::showHoldLamps() {
    const LampLook lit = state_.phase == Phase::SecondDeal ? LampLook::Green : LampLook::Red;
    for (int reel = 1; reel <= 3; ++reel) {
        screen_.showLamp(reel, state_.held[reelIndex(reel)] ? lit : LampLook::Blank);
    }
    screen_.pumpPending();
}

void Game::toggleHoldByKey(int reel) {
    if (!validReel(reel)) return;
    if (!state_.inputEnabled || autoplayOn_) return;
    state_.holdPressed[reelIndex(reel)] = true;
    releaseHold(reel);
}

void Game::autoplayTick() {
    // Only the credit counts: a win not yet banked does not keep autoplay going.
    if (state_.credit < state_.bet) {
        stopAutoplay(kAutoplayOffText);
        return;
    }
    const std::optional<GameText> limitReached =
        autoplayStopText(autoplayLimits_, autoplayGames_, autoplayLastPaid_,
                         money().total() - session_.moneyAtStart);
    if (limitReached) {
        stopAutoplay(*limitReached);
        return;
    }
    state_.leverPressed = false;
    // A deal still turning: the next tick tries again.
    if (!state_.inputEnabled) return;
    state_.leverPressed = true;
    if (screen_.leverAtRest()) screen_.moveLeverDown();
    playIfSoundOn(sounds::kLeverPull);
    screen_.delay(200);
    deal();
}

std::array<HoldSource, 3> Game::holdSources() const {
    std::array<HoldSource, 3> holds{};
    for (std::size_t n = 0; n < 3; ++n) {
        if (!state_.held[n]) continue;
        holds[n] = suggested_[n] ? HoldSource::Suggested : HoldSource::Chosen;
    }
    return holds;
}

void Game::endGame(bool unfinished) {
    if (!current_) return;
    current_->after = money();
    current_->unfinished = unfinished;
    state_.recall.push_front(*current_);
    if (state_.recall.size() > kRecalledGames) state_.recall.pop_back();
    ++session_.games;
    if (autoplayOn_) {
        ++autoplayGames_;
        autoplayLastPaid_ = current_->paid;
    }
    current_.reset();
    host_.saveRecall();
}

void Game::resume() {
    for (std::uint8_t& symbol : state_.reelSymbols) symbol = drawSymbol(sources_, kSymbolCount);
    state_.paytableMultipliers = kPaytableMultipliers;
    // Deliberate: the saved win joins the credit as a banked win does, so a credit near its
    // limit cannot pass what its meter and file hold; a win the account cannot take stays
    // pending.
    moveWinOntoCredit(state_);
    state_.phase = Phase::FirstDeal;
    state_.held = {false, false, false};
    state_.holdPressed = {false, false, false};
    state_.leverPressed = false;
    state_.firstDealClass = ComboClass{};
    state_.inputEnabled = true;
    startSession();
}

void Game::startSession() {
    session_ = SessionSummary{host_.wallClock(), 0, money().total()};
}

void Game::finishSpin() {
    if (state_.options.soundFx) {
        screen_.playSound(sounds::kReelsStop);
        screen_.delay(31);
    }
    screen_.showStillReels();
    evaluateStop();
    state_.inputEnabled = true;
}

}  // namespace fruvana
