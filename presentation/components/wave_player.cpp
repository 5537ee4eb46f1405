#include "presentation/components/wave_player.h"

namespace fruvana {

WavePlayer::WavePlayer(AudioOutput& audio, std::string name)
    : audio_(audio), name_(std::move(name)) {}

WavePlayer::~WavePlayer() {
    stop();
}

void WavePlayer::setSound(std::span<const std::uint8_t> image) {
    sound_.assign(image.begin(), image.end());
    decoded_.reset();
    decodeFailed_ = false;
}

void WavePlayer::setActive(bool value) {
    if (value == active_) return;
    if (value) {
        play();
    } else {
        stop();
    }
}

void WavePlayer::play() {
    // At no volume the sound is as good as switched off: it neither plays nor cuts another off.
    if (volume_ <= 0) return;
    stop();
    if (sound_.empty()) return;
    if (!decoded_ && !decodeFailed_) {
        decoded_ = decodeWav(sound_, name_);
        decodeFailed_ = !decoded_;
    }
    // A damaged image, or one without a single frame of sound, plays nothing.
    if (!decoded_ || decoded_->samples.empty()) return;
    const bool started = audio_.play(decoded_, loop_, stopOthers_, volume_);
    // Asked to wait for a looping sound, the desktop's sound call would refuse the loop or never
    // return; we loop without waiting so the game can go on.
    if (started && waitToStop_ && !loop_) audio_.waitUntilQuiet();
    active_ = started && loop_;
}

void WavePlayer::stop() {
    active_ = false;
    audio_.stop();
}

}  // namespace fruvana
