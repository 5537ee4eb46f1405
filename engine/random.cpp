#include "engine/random.h"

#include <chrono>

namespace fruvana {

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

void RanmarGenerator::init(std::int32_t ij, std::int32_t kl) {
    if (ij < 0 || ij > 31328 || kl < 0 || kl > 30081) throw RandomError("!!");
    std::int32_t i = (ij / 177) % 177 + 2;
    std::int32_t j = (ij % 177) + 2;
    std::int32_t k = (kl / 169) % 178 + 1;
    std::int32_t l = kl % 169;
    for (int n = 1; n <= kLags; ++n) {
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
    cursor_ = 0;
    ready_ = true;
}

void RanmarGenerator::sweep() {
    // One pass, entry 97 down to 1: entry i takes entry i - 64 while that exists (i = 97..65),
    // then entry i + 33 (i = 64..1). Within each loop below no entry is both read and written,
    // so the order inside a loop is free and the compiler may vectorise it. A difference of two
    // 24-bit values masked to 24 bits is the "add 1 when negative" of the algorithm.
    constexpr std::int32_t mask = kScale - 1;
    std::int32_t* u = u_.data();
    for (int i = 65; i <= 97; ++i) u[i] = (u[i] - u[i - 64]) & mask;
    for (int i = 34; i <= 64; ++i) u[i] = (u[i] - u[i + 33]) & mask;
    for (int i = 1; i <= 33; ++i) u[i] = (u[i] - u[i + 33]) & mask;
    cursor_ = kLags;
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
