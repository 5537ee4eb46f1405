#pragma once
// What the engine tells an observer about each lever pull, each result and each change the
// player makes to the holds or the meters, so that whatever counts or tells the play (the
// simulator, the spoken messages) takes the rules' answers instead of deriving them again.

#include <cstdint>

#include "engine/machine_state.h"
#include "engine/services.h"
#include "engine/symbols.h"

namespace fruvana {

// One lever pull that got past its press: what it banked, what it staked, or why it dealt
// nothing.
struct PullReport {
    enum class Refusal : std::uint8_t {
        None,           // it dealt
        WinPending,     // the pending win could not be banked (the account is full)
        ShortOfCredit,  // the credit cannot pay the bet (and Auto bet does not help)
    };
    Refusal refused = Refusal::None;
    bool firstDeal = false;  // it took a stake and dealt all three reels
    std::int32_t stake = 0;  // the stake taken; Auto bet may have lowered it
    // The pending win that joined the credit before the deal, and how much of it passed the
    // credit's limit into the account.
    std::int32_t banked = 0;
    std::int32_t movedToAccount = 0;
    friend bool operator==(const PullReport&, const PullReport&) = default;
};

// The result of a deal once the reels have stopped.
struct ResultReport {
    ComboClass comboClass = ComboClass::NoWin;
    std::int32_t win = 0;  // what it pays, waiting in the win meter
    // No second deal can follow: Second deal is off, this was the second deal, or all three
    // reels are held (the next pull banks the win and starts a new game).
    bool gameOver = false;
    friend bool operator==(const ResultReport&, const ResultReport&) = default;
};

class PlayObserver {
  public:
    virtual ~PlayObserver() = default;
    virtual void pulled(const PullReport& pull) = 0;
    virtual void evaluated(const ResultReport& result) = 0;
    // The holds changed between the deals: the player picked or dropped a reel (a pick that
    // replaced the suggested holds included), or ending a second deal cleared them. The holds
    // a deal sets come with its result instead.
    virtual void holdsChanged(const Holds& held) { (void)held; }
    // A coin, a collect or a bet step changed the meters; changed is the credit meter for the
    // first two and the bet meter for the last.
    virtual void metersChanged(Meter changed) { (void)changed; }
};

}  // namespace fruvana
