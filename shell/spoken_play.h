#pragma once
// The game's spoken messages, for a player who listens rather than looks. The one listener of
// what the player sees: after each deal the three symbols, the result and the credit; the holds
// as the player changes them; the meters after a coin, a collect or a bet step; a pull refused;
// every text of the message line (autoplay's stops among them); each overlay as it opens (the
// reality check's question with it); and the control that takes the focus. The words are made
// here from what the engine reports and the screens show; speaking them is the platform's,
// which never makes the game wait.

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/controls.h"
#include "engine/machine_state.h"
#include "engine/play_observer.h"
#include "engine/services.h"
#include "platform/speech.h"
#include "shell/overlay_stack.h"

namespace fruvana {

// A reel symbol as it is spoken ("Single bar", "Cherry"); empty for a code no reel has.
std::string spokenSymbol(int symbol);
// After a deal: "Bell, bell, cherry. Any two fruits, 10 paid. Credit 1005.", and while a second
// deal is to come the holds it starts with.
std::string dealSentence(const Line& line, const ResultReport& result, std::int32_t credit,
                         const Holds& held);
// "Holding reels 1 and 3.", "Holding reel 2.", "No holds.", and with all three what the next
// pull does.
std::string holdsSentence(const Holds& held);
// The meter that changed first, then the other two: "Bet 2. Credit 1010. Win 0."
std::string metersSentence(Meter changed, std::int32_t credit, std::int32_t win, std::int32_t bet);
// A control of the settings screen or the game recall: "Second deal, on.", "Reset."
std::string controlSentence(const Control& control, const Options& options);

class SpokenPlay final : public PlayObserver, public OverlayListener {
  public:
    SpokenPlay(const MachineState& state, SpeechOutput& speech) : state_(state), speech_(speech) {}

    // Speech is the player's choice; while it is off nothing is said.
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool enabled() const { return enabled_; }
    // Says text in place of whatever is being said, when speech is on.
    void say(std::string_view text);

    void pulled(const PullReport& pull) override;
    void evaluated(const ResultReport& result) override;
    void holdsChanged(const Holds& held) override { say(holdsSentence(held)); }
    void metersChanged(Meter changed) override;
    // The message line shows text.
    void messageShown(const std::string& text);
    // A control of the settings screen or the game recall was pressed, or a switch changed.
    void controlPressed(const Control& control);
    void overlayOpened(const OverlayScreen& screen) override;
    void formMoved(const FormScreen& form) override;

  private:
    const MachineState& state_;
    SpeechOutput& speech_;
    bool enabled_ = false;
};

}  // namespace fruvana
