#pragma once
// The two random generators of the machine and the symbol draw that mixes them.
//
// Every number the RANMAR table and sequence hold is an exact multiple of 2^-24 in [0, 1),
// and every addition and subtraction on them is exact in a 64-bit double. We therefore keep
// them as 24-bit integer numerators: the results are bit for bit those of the double
// arithmetic, and the integer form is several times faster in the pool fill.

#include <array>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

namespace fruvana {

// The generators' own error: "!!" for a seed out of range, "!" for a draw before seeding.
class RandomError : public std::runtime_error {
public:
    explicit RandomError(const std::string& message) : std::runtime_error(message) {}
};

// Where the start-up seed comes from; tests and the simulator give their own.
using ClockSeed = std::function<std::uint32_t()>;

// Low 32 bits of a monotonic high-resolution counter, or of a millisecond tick count when
// no such counter is available.
std::uint32_t steadyClockSeed();

class LcgRandom {
public:
    static constexpr std::uint32_t kMultiplier = 134775813u;  // 0x08088405

    void seedFromClock(const ClockSeed& clock = steadyClockSeed) { seed = clock(); }

    // 0 to n-1: the upper 32 bits of the new seed times n. n must be at least 1.
    std::int32_t below(std::int32_t n) {
        if (n < 1) throw std::invalid_argument("LcgRandom::below needs n of at least 1");
        return belowUnchecked(static_cast<std::uint32_t>(n));
    }

    std::int32_t belowUnchecked(std::uint32_t n) {
        seed = seed * kMultiplier + 1u;
        return static_cast<std::int32_t>((static_cast<std::uint64_t>(seed) * n) >> 32);
    }

    // Advance by k draws (0 to 9) whose values nobody needs.
    void skip(unsigned k);

    std::uint32_t seed = 0;
};

class RanmarGenerator {
public:
    static constexpr std::int32_t kScale = 1 << 24;          // values are multiples of 2^-24
    static constexpr std::int32_t kCStart = 362436;          // c after init, times 2^24
    static constexpr std::int32_t kCd = 7654321;             // step of the sequence
    static constexpr std::int32_t kCm = 16777213;            // modulus of the sequence

    // Seeds the generator; fails with "!!" (and changes nothing) outside 0..31328, 0..30081.
    void init(std::int32_t ij, std::int32_t kl);

    // The next number in [0, 1); fails with "!" before a successful init.
    double next() { return static_cast<double>(nextScaled()) / kScale; }

    // The next number times 2^24, an integer in 0 to 2^24 - 1.
    std::int32_t nextScaled() {
        requireReady();
        return combine(advanceTable());
    }

    // Advance by k numbers whose values nobody needs.
    void skip(unsigned k);

    bool ready() const { return ready_; }
    std::int32_t i97() const { return i97_; }
    std::int32_t j97() const { return j97_; }
    // Table entry n (1 to 97) and the sequence value, as doubles.
    double u(int n) const { return static_cast<double>(u_[static_cast<std::size_t>(n)]) / kScale; }
    double c() const { return static_cast<double>(c_) / kScale; }

private:
    void requireReady() const {
        if (!ready_) throw RandomError("!");
    }
    std::int32_t advanceTable() {
        std::int32_t uni = u_[i97_] - u_[j97_];
        uni += (uni >> 31) & kScale;
        u_[i97_] = uni;
        i97_ = (i97_ == 1) ? 97 : i97_ - 1;
        j97_ = (j97_ == 1) ? 97 : j97_ - 1;
        return uni;
    }
    std::int32_t combine(std::int32_t uni) {
        c_ -= kCd;
        c_ += (c_ >> 31) & kCm;
        std::int32_t r = uni - c_;
        r += (r >> 31) & kScale;
        return r;
    }

    std::array<std::int32_t, 98> u_{};  // entries 1 to 97
    std::int32_t c_ = 0;
    std::int32_t i97_ = 0;
    std::int32_t j97_ = 0;
    bool ready_ = false;
};

// Both generators of the game.
struct RandomSources {
    LcgRandom lcg;
    RanmarGenerator ranmar;
};

// w rounded to the nearest integer, an exact half to the even neighbour, where
// w = a + 123117 x r and r = scaledR / 2^24.
std::int32_t roundSymbolPass(std::int32_t a, std::int32_t scaledR);

// One symbol from 1 to m, after 1 to 10 passes of both generators. m must be at least 1.
std::uint8_t drawSymbol(RandomSources& sources, std::uint8_t m);

// What seeding drew: the clock value and the two seeds of the second generator.
struct SeedRecord {
    std::uint32_t seed = 0;
    std::int32_t kl = 0;
    std::int32_t ij = 0;
};

// Seeds the first generator from the clock and the second from two numbers of the first.
SeedRecord seedRandomSources(RandomSources& sources, const ClockSeed& clock = steadyClockSeed);

}  // namespace fruvana
