#include "engine/random.h"

#include <chrono>

namespace fruvana {

namespace {

// Jumping the LCG k steps at once: seed_k = mul[k] * seed + add[k] (mod 2^32).
struct LcgJumps {
    std::array<std::uint32_t, 10> mul{};
    std::array<std::uint32_t, 10> add{};
    constexpr LcgJumps() {
        mul[0] = 1;
        add[0] = 0;
        for (std::size_t k = 1; k < mul.size(); ++k) {
            mul[k] = mul[k - 1] * LcgRandom::kMultiplier;
            add[k] = add[k - 1] * LcgRandom::kMultiplier + 1u;
        }
    }
};
constexpr LcgJumps kLcgJumps;

// k steps of the arithmetic sequence, taken modulo its modulus.
struct SequenceJumps {
    std::array<std::int32_t, 10> step{};
    constexpr SequenceJumps() {
        for (std::size_t k = 0; k < step.size(); ++k)
            step[k] = static_cast<std::int32_t>((static_cast<std::int64_t>(k) * RanmarGenerator::kCd) %
                                                RanmarGenerator::kCm);
    }
};
constexpr SequenceJumps kSequenceJumps;

}  // namespace

std::uint32_t steadyClockSeed() {
    using Clock = std::chrono::steady_clock;
    const auto since = Clock::now().time_since_epoch();
    // A clock finer than a microsecond counts as high-resolution; otherwise use milliseconds.
    if constexpr (std::ratio_less_equal_v<Clock::period, std::micro>) {
        return static_cast<std::uint32_t>(since.count());
    } else {
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
    }
}

void LcgRandom::skip(unsigned k) {
    if (k >= kLcgJumps.mul.size()) {
        for (unsigned i = 0; i < k; ++i) seed = seed * kMultiplier + 1u;
        return;
    }
    seed = kLcgJumps.mul[k] * seed + kLcgJumps.add[k];
}

void RanmarGenerator::init(std::int32_t ij, std::int32_t kl) {
    if (ij < 0 || ij > 31328 || kl < 0 || kl > 30081) throw RandomError("!!");
    std::int32_t i = (ij / 177) % 177 + 2;
    std::int32_t j = (ij % 177) + 2;
    std::int32_t k = (kl / 169) % 178 + 1;
    std::int32_t l = kl % 169;
    for (int n = 1; n <= 97; ++n) {
        std::int32_t s = 0;
        std::int32_t t = kScale / 2;  // 0.5
        for (int bit = 0; bit < 24; ++bit) {
            const std::int32_t m = ((i * j) % 179 * k) % 179;
            i = j;
            j = k;
            k = m;
            l = (53 * l + 1) % 169;
            if ((l * m) % 64 >= 32) s += t;
            t /= 2;
        }
        u_[static_cast<std::size_t>(n)] = s;
    }
    c_ = kCStart;
    i97_ = 97;
    j97_ = 33;
    ready_ = true;
}

void RanmarGenerator::skip(unsigned k) {
    if (k == 0) return;
    requireReady();
    for (unsigned n = 0; n < k; ++n) advanceTable();
    // The sequence moves in whole steps of cd modulo cm, so k steps are one subtraction.
    std::int32_t step = k < kSequenceJumps.step.size()
                            ? kSequenceJumps.step[k]
                            : static_cast<std::int32_t>(static_cast<std::int64_t>(k) * kCd % kCm);
    c_ -= step;
    if (c_ < 0) c_ += kCm;
}

std::int32_t roundSymbolPass(std::int32_t a, std::int32_t scaledR) {
    // w x 2^24 as an exact integer; the double form a + 123117 x r is exact too.
    const std::int64_t w = (static_cast<std::int64_t>(a) << 24) + std::int64_t{123117} * scaledR;
    std::int64_t v = w >> 24;
    const std::int64_t fraction = w & (RanmarGenerator::kScale - 1);
    constexpr std::int64_t half = RanmarGenerator::kScale / 2;
    if (fraction > half || (fraction == half && (v & 1) != 0)) ++v;
    return static_cast<std::int32_t>(v);
}

std::uint8_t drawSymbol(RandomSources& sources, std::uint8_t m) {
    if (m == 0) throw std::invalid_argument("drawSymbol needs m of at least 1");
    const auto passes = static_cast<unsigned>(sources.lcg.belowUnchecked(10)) + 1;
    // The earlier passes only advance both generators; their values are never used.
    sources.lcg.skip(passes - 1);
    sources.ranmar.skip(passes - 1);
    const std::int32_t a = sources.lcg.belowUnchecked(125479);
    const std::int32_t r = sources.ranmar.nextScaled();
    return static_cast<std::uint8_t>(roundSymbolPass(a, r) % m + 1);
}

SeedRecord seedRandomSources(RandomSources& sources, const ClockSeed& clock) {
    sources.lcg.seedFromClock(clock);
    SeedRecord record;
    record.seed = sources.lcg.seed;
    record.kl = sources.lcg.below(30001);
    record.ij = sources.lcg.below(31300);
    sources.ranmar.init(record.ij, record.kl);
    return record;
}

}  // namespace fruvana
