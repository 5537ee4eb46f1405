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
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace fruvana {

// The generators' own error: "!!" for a seed out of range, "!" for a draw before seeding.
class RandomError : public std::runtime_error {
  public:
    explicit RandomError(const std::string& message) : std::runtime_error(message) {}
};

namespace detail {

inline constexpr std::uint32_t kLcgMultiplier = 134775813u;  // 0x08088405
inline constexpr std::int32_t kRanmarCd = 7654321;
inline constexpr std::int32_t kRanmarCm = 16777213;
inline constexpr unsigned kJumps = 11;

// Jumping the LCG k steps at once: seed_k = mul[k] * seed + add[k] (mod 2^32).
struct LcgJumps {
    std::array<std::uint32_t, kJumps> mul{};
    std::array<std::uint32_t, kJumps> add{};
    constexpr LcgJumps() {
        mul[0] = 1;
        for (std::size_t k = 1; k < kJumps; ++k) {
            mul[k] = mul[k - 1] * kLcgMultiplier;
            add[k] = add[k - 1] * kLcgMultiplier + 1u;
        }
    }
};
inline constexpr LcgJumps kLcgJumps;

// k steps of RANMAR's arithmetic sequence, reduced modulo its modulus.
constexpr std::int32_t sequenceJump(std::uint64_t k) {
    return static_cast<std::int32_t>(k * kRanmarCd % kRanmarCm);
}
inline constexpr std::array<std::int32_t, kJumps> kSequenceJumps = [] {
    std::array<std::int32_t, kJumps> steps{};
    for (unsigned k = 0; k < kJumps; ++k) steps[k] = sequenceJump(k);
    return steps;
}();

}  // namespace detail

// Where the start-up seed comes from; tests and the simulator give their own.
using ClockSeed = std::function<std::uint32_t()>;

// Low 32 bits of a monotonic high-resolution counter, or of a millisecond tick count when
// no such counter is available.
std::uint32_t steadyClockSeed();

class LcgRandom {
  public:
    static constexpr std::uint32_t kMultiplier = detail::kLcgMultiplier;

    void seedFromClock(const ClockSeed& clock = steadyClockSeed) { seed = clock(); }

    // 0 to n-1: the upper 32 bits of the new seed times n. n must be at least 1.
    std::int32_t below(std::int32_t n) {
        if (n < 1) throw std::invalid_argument("LcgRandom::below needs n of at least 1");
        return belowUnchecked(static_cast<std::uint32_t>(n));
    }

    std::int32_t belowUnchecked(std::uint32_t n) {
        seed = seed * kMultiplier + 1u;
        return scaled(n);
    }

    // What the last step gave for a range of n: the upper 32 bits of seed times n.
    std::int32_t scaled(std::uint32_t n) const {
        return static_cast<std::int32_t>((static_cast<std::uint64_t>(seed) * n) >> 32);
    }

    // Advance by k draws whose values nobody needs.
    void skip(unsigned k) {
        if (k < detail::kJumps) {
            seed = detail::kLcgJumps.mul[k] * seed + detail::kLcgJumps.add[k];
            return;
        }
        while (k-- > 0) seed = seed * kMultiplier + 1u;
    }

    std::uint32_t seed = 0;
};

class RanmarGenerator {
  public:
    static constexpr std::int32_t kScale = 1 << 24;         // values are multiples of 2^-24
    static constexpr std::int32_t kCStart = 362436;         // c after init, times 2^24
    static constexpr std::int32_t kCd = detail::kRanmarCd;  // step of the sequence
    static constexpr std::int32_t kCm = detail::kRanmarCm;  // modulus of the sequence
    static constexpr int kLags = 97;

    // Seeds the generator; fails with "!!" (and changes nothing) outside 0..31328, 0..30081.
    void init(std::int32_t ij, std::int32_t kl);

    // The next number in [0, 1); fails with "!" before a successful init.
    double next() { return static_cast<double>(nextScaled()) / kScale; }

    // The next number times 2^24, an integer in 0 to 2^24 - 1.
    std::int32_t nextScaled() {
        requireReady();
        if (cursor_ == 0) sweep();
        const std::int32_t uni = u_[static_cast<std::size_t>(cursor_--)];
        c_ -= kCd;
        c_ += c_ < 0 ? kCm : 0;
        const std::int32_t r = uni - c_;
        return r < 0 ? r + kScale : r;
    }

    // Advance by k numbers whose values nobody needs.
    void skip(unsigned k) {
        requireReady();
        skipSequence(k);
        if (k <= static_cast<unsigned>(cursor_)) {
            cursor_ -= static_cast<std::int32_t>(k);
            return;
        }
        while (k > 0) {
            if (cursor_ == 0) sweep();
            const auto take =
                k < static_cast<unsigned>(cursor_) ? k : static_cast<unsigned>(cursor_);
            cursor_ -= static_cast<std::int32_t>(take);
            k -= take;
        }
    }

    // Looking ahead in bulk: fills lagged (at least 98 entries) with the table values the coming
    // numbers are read from, in reading order, without moving on, and returns where the next
    // number's value sits. Number i is (lagged[first + i] - c) masked to 24 bits, c being the
    // sequence after i + 1 more steps; the entries are filled up to the end of the span. Past
    // the first 97 they are the table's values only modulo 2^24, wrapped as 32-bit words.
    std::size_t readAhead(std::span<std::int32_t> lagged) const;
    // Fills lagged[from] onwards from the entries before it, as readAhead does; from is at least
    // kLags.
    static void extendAhead(std::span<std::int32_t> lagged, std::size_t from);
    // Leaves the generator as k calls of nextScaled would, with the table taken from the values
    // readAhead wrote (first + k must lie inside them).
    void moveOn(std::size_t k, std::span<const std::int32_t> lagged, std::size_t first);
    // The sequence times 2^24.
    std::int32_t scaledC() const { return c_; }

    bool ready() const { return ready_; }
    // The lag indices as the one-step-at-a-time algorithm holds them.
    std::int32_t i97() const { return cursor_ == 0 ? kLags : cursor_; }
    std::int32_t j97() const { return (i97() + 32) % kLags + 1; }
    // Table entry n (1 to 97) as of the last whole pass over the table, and the sequence.
    double u(int n) const { return static_cast<double>(u_[static_cast<std::size_t>(n)]) / kScale; }
    double c() const { return static_cast<double>(c_) / kScale; }

  private:
    // The lag indices both step down by one per number and wrap from 1 to 97 together,
    // starting from 97 and 33 (a distance of 64). So every 97 numbers are one pass over the
    // table from entry 97 down to 1, and a pass can be computed ahead in three straight loops
    // with no wrap tests. cursor_ is the entry the next number is read from; 0 means the
    // current pass is used up.
    void sweep();
    // The sequence moves in whole steps of cd modulo cm, so k steps are one subtraction.
    void skipSequence(std::uint64_t k) {
        c_ -= k < detail::kJumps ? detail::kSequenceJumps[k] : detail::sequenceJump(k);
        c_ += c_ < 0 ? kCm : 0;
    }
    void requireReady() const {
        if (!ready_) throw RandomError("!");
    }

    std::array<std::int32_t, kLags + 1> u_{};  // entries 1 to 97
    std::int32_t c_ = 0;
    std::int32_t cursor_ = 0;
    bool ready_ = false;
};

// Both generators of the game.
struct RandomSources {
    LcgRandom lcg;
    RanmarGenerator ranmar;
};

// w rounded to the nearest integer, an exact half to the even neighbour, where
// w = a + 123117 x r and r = scaledR / 2^24. The double form of w is exact, and so is this: r is
// taken in two 12-bit halves so that every product fits 32 bits, which keeps the arithmetic as
// wide as the vector unit's lanes when the pool fill draws symbols in bulk.
inline std::int32_t roundSymbolPass(std::int32_t a, std::int32_t scaledR) {
    const auto r = static_cast<std::uint32_t>(scaledR);
    const std::uint32_t high = 123117u * (r >> 12);                // in units of 2^-12, below 2^29
    const std::uint32_t low = 123117u * (r & 0xFFFu);              // in units of 2^-24, below 2^29
    const std::uint32_t fraction = ((high & 0xFFFu) << 12) + low;  // 2^-24 units
    const std::uint32_t whole = static_cast<std::uint32_t>(a) + (high >> 12) + (fraction >> 24);
    const std::uint32_t rest = fraction & 0xFFFFFFu;
    constexpr std::uint32_t half = 1u << 23;
    // Above a half rounds up, and so does a half on an odd number.
    const std::uint32_t up = static_cast<std::uint32_t>(rest > half) |
                             (static_cast<std::uint32_t>(rest == half) & whole);
    return static_cast<std::int32_t>(whole + (up & 1u));
}

// One symbol from 1 to m, after 1 to 10 passes of both generators. m must be at least 1.
inline std::uint8_t drawSymbol(RandomSources& sources, std::uint8_t m) {
    if (m == 0) throw std::invalid_argument("drawSymbol needs m of at least 1");
    const auto passes = static_cast<unsigned>(sources.lcg.belowUnchecked(10)) + 1;
    // The earlier passes only advance both generators; their values are never used. The LCG
    // jumps over them and the last pass's step at once and reads a from where it lands.
    sources.lcg.skip(passes);
    const std::int32_t a = sources.lcg.scaled(125479);
    sources.ranmar.skip(passes - 1);
    const std::int32_t r = sources.ranmar.nextScaled();
    return static_cast<std::uint8_t>(roundSymbolPass(a, r) % m + 1);
}

// The coming calls of drawSymbol(sources, 10) followed in bulk without moving the generators,
// for the pool fill that draws tens of thousands of them. The symbols are computed in pieces as
// they are asked for, so the draws a fill does not reach or look at cost little.
//
// One symbol's draws of the first generator hang on each other (the number of passes decides how
// far the next symbol starts), so they are followed on kLanes lanes at once, lane l starting
// kLaneSpacing steps after lane l - 1. Two walks that ever start a symbol at the same step of
// the generator go on together from there, so the draws that come true are lane 0, then each
// next lane from the first step it shares with them; where a lane shares none, the true draws
// are stepped one by one until they meet the lane after.
class SymbolLookahead {
  public:
    static constexpr std::size_t kLanes = 32;
    static constexpr std::size_t kSteps = 160;  // symbols each lane draws
    static constexpr std::size_t kMost = kLanes * kSteps;

    // How the lanes are walked: sixteen lanes a vector where the processor has AVX-512 and eight
    // elsewhere, or eight everywhere, so that tests check that walk on any processor.
    enum class Walk { Fastest, Narrow };

    explicit SymbolLookahead(Walk walk = Walk::Fastest);

    // Follows the coming draws and returns how many it can tell, at least kSteps.
    std::size_t peek(const RandomSources& sources);

    // The symbols of coming draws first, first + 1, ... into out, all below what the last peek
    // returned.
    void symbols(std::size_t first, std::span<std::uint8_t> out);

    // The first draws of coming lines of three, draws first, first + 3, ...: their symbols into
    // out, and bit n of wanted[n / 64] set where line n's first symbol s has bit s in `symbols`.
    // The lines end below what the last peek returned.
    void firstSymbols(std::size_t first, std::uint16_t symbols, std::span<std::uint8_t> out,
                      std::span<std::uint64_t> wanted);
    // The symbols of the listed coming draws, in rising order below what the last peek returned.
    void symbolsAt(std::span<const std::uint32_t> draws, std::span<std::uint32_t> out);

    // Leaves sources as `count` calls of drawSymbol(sources, 10) would; count is at most what
    // the last peek returned.
    void moveOn(RandomSources& sources, std::size_t count);

  private:
    // Makes the second generator's table read ahead hold at least `entries` entries: it grows
    // only as the draws asked for need it, so a batch's draws the fill does not reach cost little.
    void readTo(std::size_t entries);

    Walk walk_;
    // Per lane and step: the first generator's state after the symbol and the passes since the
    // lane's start.
    std::vector<std::uint32_t> laneState_;
    std::vector<std::int32_t> lanePasses_;
    // Per coming draw, in order: the first generator's state after it and the second
    // generator's numbers drawn through it.
    std::vector<std::uint32_t> state_;
    std::vector<std::int32_t> numbers_;
    // Per coming line, whether its first symbol is wanted, read eight at a time.
    std::vector<std::uint8_t> flags_;
    // The second generator's numbers read ahead, the first coming one at firstNumber_, and its
    // sequence now.
    std::vector<std::int32_t> lagged_;
    std::size_t laggedFilled_ = 0;
    std::size_t firstNumber_ = 0;
    std::int32_t sequence_ = 0;
};

// What seeding drew: the clock value and the two seeds of the second generator.
struct SeedRecord {
    std::uint32_t seed = 0;
    std::int32_t kl = 0;
    std::int32_t ij = 0;
};

// Seeds the first generator from the clock and the second from two numbers of the first.
SeedRecord seedRandomSources(RandomSources& sources, const ClockSeed& clock = steadyClockSeed);

}  // namespace fruvana
