#pragma once
// The game's sounds: synthesised effects and spoken verdicts, all 22050 Hz 16-bit stereo.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace fruvana::assetgen {

inline constexpr int kSampleRate = 22050;

// Mono signal in the range -1 to 1, one value per frame.
using Signal = std::vector<double>;

struct NamedSound {
    std::string name;
    Signal signal;
};

// Frames in a sound of the given length, to the nearest frame.
int framesFor(double seconds);

std::vector<NamedSound> effectSounds();
// Speaks the verdicts and the greeting with festival's HTS voice; each is fitted to its exact
// length.
std::vector<NamedSound> voiceSounds();

// Writes a RIFF WAVE file, PCM, 2 channels (the signal on both), 22050 Hz, 16 bits.
void writeWav(const std::filesystem::path& path, const Signal& signal);

}  // namespace fruvana::assetgen
