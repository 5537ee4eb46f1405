#pragma once
// The program's one sound channel. Sounds are decoded once into the device's own format
// (22050 Hz, signed 16-bit, stereo); the channel plays at most one of them at a time.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace fruvana {

struct AudioFormat {
    static constexpr int kFrequency = 22050;
    static constexpr int kChannels = 2;
    static constexpr int kBytesPerFrame = kChannels * 2;
};

// A sound ready to play: interleaved signed 16-bit stereo frames at 22050 Hz.
struct PcmSound {
    std::string name;
    std::vector<std::int16_t> samples;
    std::size_t frames() const { return samples.size() / AudioFormat::kChannels; }
    // Playing time, rounded up to whole milliseconds.
    std::uint32_t durationMs() const;
};

// Volumes are per cent: 0 is silence, 100 the sound as it was made.
inline constexpr int kFullVolume = 100;

// The samples as the channel sends them out at a volume of 0 to 100: unchanged at full volume
// (a plain copy), otherwise each scaled and rounded toward zero, so a quieter sound never clips.
void copyAtVolume(std::span<std::int16_t> out, std::span<const std::int16_t> samples, int volume);

// Decodes a complete WAV file image held in memory. A damaged, truncated or empty image gives
// null, and why (when given) is set to one line saying what was wrong; nothing is printed. An
// image of zero length of sound decodes to a sound without frames.
std::shared_ptr<const PcmSound> decodeWav(std::span<const std::uint8_t> image, std::string name,
                                          std::string* why = nullptr);

class AudioOutput {
  public:
    virtual ~AudioOutput() = default;

    // False on a machine without sound or when the device could not be opened.
    virtual bool available() const = 0;
    // Starts sound at once, at volume (0 to 100), and reports whether it started. With
    // interrupt false nothing starts while another sound is still audible; otherwise the new
    // sound replaces it.
    virtual bool play(std::shared_ptr<const PcmSound> sound, bool loop, bool interrupt,
                      int volume) = 0;
    // Silences whatever plays; harmless when nothing does.
    virtual void stop() = 0;
    // True while a sound is audible (a looping one until it is stopped or replaced).
    virtual bool busy() const = 0;
    // Returns when nothing is audible any more. Never waits for a looping sound.
    virtual void waitUntilQuiet() = 0;
};

}  // namespace fruvana
