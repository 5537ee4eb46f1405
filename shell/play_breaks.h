#pragma once
// When play stops for the player: the reality check falls due (when nothing else is shown) and
// waits for its answer; a window away from the focus, with "mute and pause" chosen, silences
// the game; autoplay waits through either.

#include <functional>

#include "engine/game.h"
#include "platform/event_loop.h"
#include "platform/platform.h"
#include "presentation/game_view.h"
#include "shell/overlay_stack.h"
#include "shell/preferences_table.h"
#include "shell/reality_check_panel.h"

namespace fruvana {

class PlayBreaks {
  public:
    PlayBreaks(Platform& platform, EventLoop& loop, const Preferences& preferences);
    ~PlayBreaks() { realityClock_.setEnabled(false); }
    PlayBreaks(const PlayBreaks&) = delete;
    PlayBreaks& operator=(const PlayBreaks&) = delete;

    // The game, its view and the overlays the breaks act on, once they are made.
    void attach(Game& game, GameView& view, OverlayStack& overlays, RealityCheckPanel& panel);
    // The clock that asks for the reality check while it runs.
    UiTimer& realityClock() { return realityClock_; }
    // The window lost or regained the focus.
    void focusChanged(bool focused);
    // Back to a window with the focus and no clock running.
    void reset();

  private:
    void checkReality();
    void answer(bool stop);
    void holdAutoplay();

    Platform& platform_;
    const Preferences& preferences_;
    UiTimer realityClock_;
    Game* game_ = nullptr;
    GameView* view_ = nullptr;
    OverlayStack* overlays_ = nullptr;
    RealityCheckPanel* panel_ = nullptr;
    bool focused_ = true;
};

}  // namespace fruvana
