#pragma once
// Builds WAV file images for tests: the plain RIFF layout with one format and one data chunk.

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/files.h"

namespace fruvana::test {

// PCM samples as raw little-endian bytes; formatTag 1 is PCM.
inline std::vector<std::uint8_t> wavImage(const std::vector<std::uint8_t>& data, int channels,
                                          int rate, int bits, int formatTag = 1) {
    std::vector<std::uint8_t> out;
    const std::uint32_t blockAlign = static_cast<std::uint32_t>(channels * bits / 8);
    for (char c : std::string("RIFF")) out.push_back(static_cast<std::uint8_t>(c));
    testing::appendLe(out, static_cast<std::uint32_t>(36 + data.size()), 4);
    for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<std::uint8_t>(c));
    testing::appendLe(out, 16, 4);
    testing::appendLe(out, static_cast<std::uint32_t>(formatTag), 2);
    testing::appendLe(out, static_cast<std::uint32_t>(channels), 2);
    testing::appendLe(out, static_cast<std::uint32_t>(rate), 4);
    testing::appendLe(out, static_cast<std::uint32_t>(rate) * blockAlign, 4);
    testing::appendLe(out, blockAlign, 2);
    testing::appendLe(out, static_cast<std::uint32_t>(bits), 2);
    for (char c : std::string("data")) out.push_back(static_cast<std::uint8_t>(c));
    testing::appendLe(out, static_cast<std::uint32_t>(data.size()), 4);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

// The game's own format: 22050 Hz, 16-bit, stereo, from interleaved samples.
inline std::vector<std::uint8_t> stereoWav(const std::vector<std::int16_t>& samples) {
    std::vector<std::uint8_t> data;
    for (std::int16_t s : samples) testing::appendLe(data, static_cast<std::uint16_t>(s), 2);
    return wavImage(data, 2, 22050, 16);
}

// frames stereo frames of a recognisable ramp: left k, right -k.
inline std::vector<std::int16_t> rampSamples(int frames, int start = 1) {
    std::vector<std::int16_t> samples;
    for (int k = 0; k < frames; ++k) {
        samples.push_back(static_cast<std::int16_t>(start + k));
        samples.push_back(static_cast<std::int16_t>(-(start + k)));
    }
    return samples;
}

}  // namespace fruvana::test
