#pragma once
// One sound of the game: a complete WAV file image held in memory, played through the
// program's one sound channel. A new sound always cuts off the one playing. Whether a sound may
// be heard at all is the caller's business; the player knows nothing of the options.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/audio.h"

namespace fruvana {

class WavePlayer {
  public:
    // name identifies the sound in the headless sound log ("reels_stop", "spin_from_left", ...).
    explicit WavePlayer(AudioOutput& audio, std::string name = {});
    // Stops whatever sound the program plays, as the player's last act.
    ~WavePlayer();
    WavePlayer(const WavePlayer&) = delete;
    WavePlayer& operator=(const WavePlayer&) = delete;

    const std::string& name() const { return name_; }

    // The WAV file image, byte for byte as a file.
    std::span<const std::uint8_t> sound() const { return sound_; }
    void setSound(std::span<const std::uint8_t> image);
    bool loop() const { return loop_; }
    void setLoop(bool value) { loop_ = value; }
    // False: the new sound may not interrupt one that is already audible.
    bool stopOthers() const { return stopOthers_; }
    void setStopOthers(bool value) { stopOthers_ = value; }
    // True: Play returns only once the sound has ended.
    bool waitToStop() const { return waitToStop_; }
    void setWaitToStop(bool value) { waitToStop_ = value; }
    // 0 to 100 per cent; at 0 Play does nothing at all.
    int volume() const { return volume_; }
    void setVolume(int percent) { volume_ = percent; }
    // True after this player started a looping sound, until its next Play or Stop. Another
    // player cutting the loop off does not clear it.
    bool active() const { return active_; }
    void setActive(bool value);

    // Stops whatever plays, then starts this sound. A damaged image or no sound device: silence.
    void play();
    // Stops the sound the program is playing, whichever player started it.
    void stop();

  private:
    AudioOutput& audio_;
    std::string name_;
    std::vector<std::uint8_t> sound_;
    std::shared_ptr<const PcmSound> decoded_;  // decoded on first Play
    bool decodeFailed_ = false;
    bool loop_ = false;
    bool stopOthers_ = false;
    bool waitToStop_ = false;
    int volume_ = kFullVolume;
    bool active_ = false;
};

}  // namespace fruvana
