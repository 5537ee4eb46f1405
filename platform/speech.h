#pragma once
// Short spoken messages for a player who listens to the game: the speech server reads them
// aloud while the game goes on. Nothing here ever waits for speech, so the game's timing is the
// same with speech as without it.

#include <functional>
#include <string>
#include <string_view>

#include "engine/game_text.h"

namespace fruvana {

// Why speech is unavailable, as the player reads it once translated.
inline constexpr std::string_view kNoSpeechServer =
    translatable("no speech server could be reached");

class SpeechOutput {
  public:
    virtual ~SpeechOutput() = default;

    // False once no speech can be had: no speech server could be reached, or the connection
    // was lost and could not be made again. The first call may start connecting in the
    // background; it never waits, and speech counts as available until an attempt has failed.
    virtual bool available() = 0;
    // Why speech is unavailable, in a few English words for the player (kNoSpeechServer, which
    // the screen translates); empty while it is available.
    virtual std::string problem() const = 0;
    // Speaks text in place of whatever is being said or still waits to be said. Returns at once;
    // when speech is unavailable nothing is said.
    virtual void say(std::string_view text) = 0;
    // The language the texts that follow are written in ("de"; empty for English), so that the
    // server reads them with a voice of that language.
    virtual void setLanguage(const std::string& language) = 0;
    // handler runs once, on another thread, when speech that counted as available turns out not
    // to be; an empty function stops it, and no call of it is still running once this returns.
    virtual void onUnavailable(std::function<void()> handler) = 0;
};

}  // namespace fruvana
