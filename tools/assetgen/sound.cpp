#include "tools/assetgen/sound.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "tools/assetgen/paint.h"

namespace fruvana::assetgen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDt = 1.0 / kSampleRate;

// White noise in -1..1, the same for the same frame and seed.
double noise(int frame, std::uint32_t seed) {
    return 2.0 * hashNoise(frame, 0, seed) - 1.0;
}

// A struck resonance: a decaying sine with a short attack so it never starts with a step.
double ping(double t, double freq, double decay, double attack = 0.0004) {
    if (t < 0) return 0;
    const double env = std::min(1.0, t / attack) * std::exp(-t / decay);
    return env * std::sin(2 * kPi * freq * t);
}

// A burst of noise with its own decay, a little softened by averaging neighbours.
double burst(int frame, int start, double decay, std::uint32_t seed) {
    if (frame < start) return 0;
    const double t = (frame - start) * kDt;
    const double n = (noise(frame, seed) + noise(frame - 1, seed)) * 0.5;
    return n * std::min(1.0, t / 0.0003) * std::exp(-t / decay);
}

void normalise(Signal& s, double peak) {
    double most = 0;
    for (double v : s) most = std::max(most, std::fabs(v));
    if (most > 0)
        for (double& v : s) v *= peak / most;
}

// Fades the last frames to silence so a one-shot sound ends without a click.
void fadeOut(Signal& s, int frames) {
    const int n = static_cast<int>(s.size());
    for (int i = 0; i < frames && i < n; ++i)
        s[static_cast<std::size_t>(n - 1 - i)] *= static_cast<double>(i) / frames;
}

// A sound that plays once: the voice gives each frame's value from its number and time; the
// result is brought to the peak level and faded out over its last frames.
template <typename Voice>
Signal oneShot(double seconds, double peak, int fadeFrames, Voice voice) {
    Signal s(static_cast<std::size_t>(framesFor(seconds)));
    for (std::size_t i = 0; i < s.size(); ++i) {
        const int f = static_cast<int>(i);
        s[i] = voice(f, f * kDt);
    }
    normalise(s, peak);
    fadeOut(s, fadeFrames);
    return s;
}

Signal clic() {
    return oneShot(0.046, 0.7, 60, [](int f, double t) {
        return 0.8 * ping(t, 2300, 0.004) + 0.5 * ping(t, 5200, 0.0015) +
               0.5 * burst(f, 0, 0.0015, 1) + 0.35 * ping(t - 0.022, 1800, 0.003) +
               0.25 * burst(f, framesFor(0.022), 0.001, 2);
    });
}

Signal clic2() {
    return oneShot(0.013, 0.6, 30, [](int f, double t) {
        return 0.8 * ping(t, 3400, 0.0018) + 0.4 * burst(f, 0, 0.0008, 3) +
               0.3 * ping(t, 7100, 0.0008);
    });
}

Signal clic3() {
    return oneShot(0.035, 0.65, 60, [](int f, double t) {
        return 0.9 * ping(t, 950, 0.006) + 0.4 * ping(t, 2600, 0.002) + 0.3 * burst(f, 0, 0.001, 4);
    });
}

Signal clac() {
    return oneShot(0.080, 0.8, 120, [](int f, double t) {
        // the arm hits its stop: a low thump, a metallic clank, then the catch engaging
        return 0.9 * ping(t, 95, 0.025, 0.001) + 0.45 * ping(t, 1240, 0.008) +
               0.3 * ping(t, 3130, 0.004) + 0.6 * burst(f, 0, 0.004, 5) +
               0.5 * ping(t - 0.045, 1700, 0.005) + 0.35 * burst(f, framesFor(0.045), 0.002, 6);
    });
}

Signal coins() {
    struct Strike {
        double at, freq, gain;
    };
    static constexpr Strike kStrikes[] = {{0.000, 2210, 1.0},
                                          {0.036, 2650, 0.8},
                                          {0.071, 2390, 0.75},
                                          {0.104, 2870, 0.55},
                                          {0.126, 2100, 0.4}};
    return oneShot(0.152, 0.75, 200, [](int f, double t) {
        double v = 0;
        for (const Strike& k : kStrikes) {
            // coins ring with inharmonic partials
            v += k.gain *
                 (ping(t - k.at, k.freq, 0.03) + 0.5 * ping(t - k.at, k.freq * 2.76, 0.015) +
                  0.3 * ping(t - k.at, k.freq * 5.4, 0.008) +
                  0.3 * burst(f, framesFor(k.at), 0.0012, 7));
        }
        return v;
    });
}

// A struck chime: the hammer's tick and three inharmonic partials of a struck bar that start at
// full strength within a fifth of a millisecond and die away exponentially, so the whole ring
// has faded by the time the next sound cuts in after 31 ms.
Signal ding() {
    return oneShot(0.031, 0.75, 40, [](int f, double t) {
        constexpr double kStrike = 0.0002;
        return ping(t, 1760, 0.0070, kStrike) + 0.55 * ping(t, 1760 * 2.76, 0.0040, kStrike) +
               0.3 * ping(t, 1760 * 5.40, 0.0020, kStrike) + 0.25 * burst(f, 0, 0.0004, 8);
    });
}

// A spin loop: motor hum and the ratchet of the band. Every part repeats a whole number of
// times in the loop, and ratchet ticks from the end carry over into the start, so the loop
// joins without a click.
Signal spin(double hum, int ticks, double tickFreq, std::uint32_t seed) {
    const int n = framesFor(0.5);
    const int period = n / ticks;
    Signal s(static_cast<std::size_t>(n));
    for (int f = 0; f < n; ++f) {
        const double t = f * kDt;
        double v = 0.35 * std::sin(2 * kPi * hum * t) + 0.18 * std::sin(2 * kPi * 2 * hum * t) +
                   0.08 * std::sin(2 * kPi * 3 * hum * t) +
                   0.05 * std::sin(2 * kPi * 26 * t) * std::sin(2 * kPi * hum * t);
        for (int k = -1; k < ticks; ++k) {
            // ticks fall between the loop's ends, so the seam itself is calm
            const int start = k * period + period / 2;
            const double tt = (f - start) * kDt;
            if (tt < 0 || tt > 0.03) continue;
            const int tick = (k + ticks) % ticks;
            const double accent = tick % 2 == 0 ? 1.0 : 0.7;
            v +=
                accent * (0.5 * ping(tt, tickFreq, 0.004) + 0.25 * ping(tt, tickFreq * 2.3, 0.002) +
                          0.3 * std::exp(-tt / 0.0015) * noise(tick * 1000 + (f - start), seed));
        }
        s[static_cast<std::size_t>(f)] = v;
    }
    normalise(s, 0.55);
    return s;
}

}  // namespace

int framesFor(double seconds) {
    return static_cast<int>(std::lround(seconds * kSampleRate));
}

std::vector<NamedSound> effectSounds() {
    std::vector<NamedSound> out;
    // 11025 frames hold whole cycles of every hum at an even frequency.
    out.push_back({"spin_from_left", spin(100, 15, 1900, 21)});
    out.push_back({"spin_from_middle", spin(120, 15, 2200, 22)});
    out.push_back({"spin_right_only", spin(140, 21, 2500, 23)});
    out.push_back({"reels_stop", ding()});
    out.push_back({"lever_pull", clac()});
    out.push_back({"coin_drop", coins()});
    out.push_back({"big_button", clic()});
    out.push_back({"small_button", clic2()});
    out.push_back({"hold_button", clic3()});
    return out;
}

void writeWav(const std::filesystem::path& path, const Signal& signal) {
    std::vector<std::uint8_t> out;
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(signal.size()) * 4;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    put(36 + dataBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put(16, 4);
    put(1, 2);  // PCM
    put(2, 2);
    put(kSampleRate, 4);
    put(kSampleRate * 4, 4);
    put(4, 2);
    put(16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    put(dataBytes, 4);
    for (double v : signal) {
        const long q = std::clamp(std::lround(v * 32767.0), -32768L, 32767L);
        const auto sample = static_cast<std::uint16_t>(static_cast<std::int16_t>(q));
        put(sample, 2);
        put(sample, 2);
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace fruvana::assetgen
