#include "shell/play_breaks.h"

#include "presentation/translation.h"

namespace fruvana {

PlayBreaks::PlayBreaks(Platform& platform, EventLoop& loop, const Preferences& preferences)
    : platform_(platform), preferences_(preferences), realityClock_(loop, 1000) {
    realityClock_.onTimer = [this](UiTimer&) { checkReality(); };
}

void PlayBreaks::attach(Game& game, GameView& view, OverlayStack& overlays,
                        RealityCheckPanel& panel) {
    game_ = &game;
    view_ = &view;
    overlays_ = &overlays;
    panel_ = &panel;
    panel.onAnswer = [this](bool stop) { answer(stop); };
}

void PlayBreaks::reset() {
    realityClock_.setEnabled(false);
    focused_ = true;
}

void PlayBreaks::checkReality() {
    if (overlays_->top()) return;
    const std::optional<GameText> text = game_->takeRealityCheck(platform_.wallClock());
    if (!text) return;
    overlays_->open(Overlay::RealityCheck, [&] { panel_->show(tr(*text)); });
    holdAutoplay();
}

void PlayBreaks::answer(bool stop) {
    overlays_->close(Overlay::RealityCheck);
    if (stop) {
        game_->requestQuit();
    } else {
        holdAutoplay();
    }
}

void PlayBreaks::focusChanged(bool focused) {
    focused_ = focused;
    if (preferences_.muteWhenUnfocused == 0) return;
    if (focused) {
        view_->setVolumes(preferences_.effectsVolume, preferences_.voiceVolume);
    } else {
        view_->setVolumes(0, 0);
        platform_.audio().stop();
    }
    holdAutoplay();
}

void PlayBreaks::holdAutoplay() {
    const bool away = !focused_ && preferences_.muteWhenUnfocused != 0;
    game_->pauseAutoplay(away || panel_->visible());
}

}  // namespace fruvana
