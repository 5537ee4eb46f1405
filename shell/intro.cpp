#include "shell/intro.h"

namespace fruvana {

Intro::Intro(Platform& platform, EventLoop& loop)
    : platform_(platform), loop_(loop), timer_(loop, kIntroMs) {
    timer_.onTimer = [this](UiTimer&) { end(); };
}

void Intro::begin(GameView& view) {
    if (begun_) return;
    begun_ = true;
    view_ = &view;
    platform_.showWindow();
    endsTheGame_ = false;
    const ScreenInfo screen = platform_.screen();
    if (screen.width < 800 || screen.height < 600) {
        view.setIntroMessage(kSmallScreenText);
        endsTheGame_ = true;
    }
    // A depth the platform cannot tell (0) skips the check.
    if (screen.bitsPerPixel > 0 && screen.bitsPerPixel < 16) {
        view.setIntroMessage(kFewColoursText);
        endsTheGame_ = true;
    }
    view.playSound(sounds::kWelcome);
    timer_.setEnabled(true);
}

void Intro::reset() {
    timer_.setEnabled(false);
    begun_ = false;
    endsTheGame_ = false;
}

void Intro::end() {
    timer_.setEnabled(false);
    if (endsTheGame_) {
        loop_.quit();
        return;
    }
    view_->revealCabinet();
}

}  // namespace fruvana
