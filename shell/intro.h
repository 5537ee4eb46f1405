#pragma once
// The intro: the window shown, the display checked, the welcome voice, and after kIntroMs the
// cabinet revealed; on a screen too small or too shallow, the intro's message instead, and the
// game ends when the intro would.

#include <cstdint>
#include <string_view>

#include "engine/game_text.h"
#include "platform/event_loop.h"
#include "platform/platform.h"
#include "presentation/game_view.h"

namespace fruvana {

inline constexpr std::string_view kSmallScreenText =
    translatable("Minimum video mode required is 800x600 !");
inline constexpr std::string_view kFewColoursText =
    translatable("Minimum color quality is 16 bits per pixel !");
inline constexpr std::uint32_t kIntroMs = 3500;

class Intro {
  public:
    Intro(Platform& platform, EventLoop& loop);
    ~Intro() { timer_.setEnabled(false); }
    Intro(const Intro&) = delete;
    Intro& operator=(const Intro&) = delete;

    // Shows the window and begins the intro over view, once.
    void begin(GameView& view);
    // Back to before begin(): the intro's clock stopped.
    void reset();

  private:
    void end();

    Platform& platform_;
    EventLoop& loop_;
    GameView* view_ = nullptr;
    UiTimer timer_;
    bool begun_ = false;
    // The display cannot show the game: the intro's message is all it shows.
    bool endsTheGame_ = false;
};

}  // namespace fruvana
