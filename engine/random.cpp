#include "engine/random.h"

#include <algorithm>
#include <chrono>
#include <cstring>

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

namespace {

// The hot loops are built twice on x86-64, for processors with AVX2 and for any other, and the
// program takes the one the processor runs; the results are the same integers either way.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define FRUVANA_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define FRUVANA_VECTOR_CLONES
#endif

// The second generator's table in reading order obeys v(n) = v(n - 97) - v(n - 33), masked to
// 24 bits. It is made in rows of 33, so that each row reads the row before at the very offsets it
// was written: a vector read across two recent writes would wait for both to reach the cache.
constexpr std::size_t kRow = 33;

// Entries row to row + count - 1 (count at most kRow) from the ones before.
[[gnu::always_inline]] inline void extendRow(std::int32_t* v, std::size_t row,
                                             std::size_t count = kRow) {
    constexpr std::int32_t mask = RanmarGenerator::kScale - 1;
    std::int32_t* out = v + row;
    const std::int32_t* far = out - RanmarGenerator::kLags;
    const std::int32_t* near = out - kRow;
    for (std::size_t j = 0; j < count; ++j) out[j] = (far[j] - near[j]) & mask;
}

// Entries from to size - 1 from the ones before.
FRUVANA_VECTOR_CLONES
void extendLagged(std::int32_t* v, std::size_t from, std::size_t size) {
    for (std::size_t row = from; row < size; row += kRow)
        extendRow(v, row, std::min(kRow, size - row));
}

}  // namespace

std::size_t RanmarGenerator::readAhead(std::span<std::int32_t> lagged) const {
    requireReady();
    // The whole current pass first, entry 97 down to 1, then each value as the passes would make
    // it.
    for (std::size_t n = 0; n < kLags; ++n) lagged[n] = u_[kLags - n];
    extendAhead(lagged, kLags);
    return static_cast<std::size_t>(kLags - cursor_);
}

void RanmarGenerator::extendAhead(std::span<std::int32_t> lagged, std::size_t from) {
    extendLagged(lagged.data(), from, lagged.size());
}

void RanmarGenerator::moveOn(std::size_t k, std::span<const std::int32_t> lagged,
                             std::size_t first) {
    if (k == 0) return;
    skipSequence(k);
    // The pass that holds the last number read becomes the table, read up to that number.
    const std::size_t read = first + k;
    const std::size_t pass = (read - 1) / kLags;
    for (std::size_t n = 1; n <= kLags; ++n) u_[n] = lagged[pass * kLags + (kLags - n)];
    cursor_ = static_cast<std::int32_t>((pass + 1) * kLags - read);
}

namespace {

// A symbol whose number of passes is p + 1 moves the first generator p + 2 steps: one for the
// number of passes, one per pass.
// Plain arrays: indexed by a lane's p they become the processor's gather loads, which the
// standard array's unsigned 64-bit index does not.
struct SymbolJumps {
    std::uint32_t mul[10]{};
    std::uint32_t add[10]{};
    constexpr SymbolJumps() {
        for (std::size_t p = 0; p < 10; ++p) {
            mul[p] = detail::kLcgJumps.mul[p + 1] * detail::kLcgMultiplier;
            add[p] = detail::kLcgJumps.add[p + 1] * detail::kLcgMultiplier + 1u;
        }
    }
};
constexpr SymbolJumps kSymbolJumps;

// Steps of the first generator between the starts of neighbouring lanes: a little less than a
// lane's kSteps symbols cover on average (6.5 steps each), so that a lane's end overlaps the
// next lane's start by enough symbols for the two to meet.
constexpr std::uint32_t kLaneSpacing = 880;

// The first generator kLaneSpacing x l steps on.
struct LaneStarts {
    std::array<std::uint32_t, SymbolLookahead::kLanes> mul{};
    std::array<std::uint32_t, SymbolLookahead::kLanes> add{};
    constexpr LaneStarts() {
        std::uint32_t stepMul = 1, stepAdd = 0;  // kLaneSpacing steps at once
        for (std::uint32_t n = 0; n < kLaneSpacing; ++n) {
            stepAdd = stepAdd * detail::kLcgMultiplier + 1u;
            stepMul *= detail::kLcgMultiplier;
        }
        mul[0] = 1;
        for (std::size_t l = 1; l < mul.size(); ++l) {
            mul[l] = mul[l - 1] * stepMul;
            add[l] = add[l - 1] * stepMul + stepAdd;
        }
    }
};
constexpr LaneStarts kLaneStarts;

// Rows of the second generator's table the lanes' walk makes per step of its lanes. The walk is
// bound by arithmetic and the table by each row waiting for the rows it reads, so made together
// they overlap. A step of the 32 lanes comes to some 27 true symbols (the rest is where lanes
// overlap), which draw about 150 numbers; four rows (132 numbers) is a little less, and what a
// batch needs beyond them is made as the fill asks for it.
constexpr std::size_t kRowsPerStep = 4;
constexpr std::size_t kLanes = SymbolLookahead::kLanes;
constexpr std::size_t kSteps = SymbolLookahead::kSteps;

// Eight lanes in one register of the processor's vector unit (or two or four where it is narrower).
using LaneWords = std::uint32_t __attribute__((vector_size(32)));
using LaneCounts = std::int32_t __attribute__((vector_size(32)));
constexpr std::size_t kWidth = sizeof(LaneWords) / sizeof(std::uint32_t);
static_assert(kLanes % kWidth == 0);

// Where lane l's step t sits in the lanes' tables: each lane's steps in a row, so that following
// a lane reads memory in order.
constexpr std::size_t laneEntry(std::size_t l, std::size_t t) {
    return l * kSteps + t;
}

// A table of ten entries, indexed by p, as the two halves a vector shuffle picks from.
template <typename Vector, typename Entry>
std::array<Vector, 2> shuffleTable(const Entry (&entries)[10]) {
    std::array<Vector, 2> halves{};
    for (std::size_t p = 0; p < 10; ++p) halves[p / kWidth][p % kWidth] = entries[p];
    return halves;
}

// Entry p of a ten-entry table for every lane: one shuffle of the vector unit where the compiler
// offers it, lane by lane where it does not.
// (Vectors go by reference: passed by value they would take another calling convention on
// processors without AVX.)
template <typename Vector>
void pick(const std::array<Vector, 2>& table, const LaneWords& p, Vector& entries) {
#if defined(__clang__)
    for (std::size_t k = 0; k < kWidth; ++k) entries[k] = table[p[k] / kWidth][p[k] % kWidth];
#else
    entries = __builtin_shuffle(table[0], table[1], p);
#endif
}

// Stores rows[i] = step i of kWidth lanes as lane j's kWidth steps at out + j x stride, turned
// round with the vector unit's shuffles in three rounds: pairs of 32-bit words, pairs of 64-bit
// words, halves.
template <typename Vector, typename Word>
[[gnu::always_inline]] inline void storeTransposed(const std::array<Vector, kWidth>& rows,
                                                   Word* out, std::size_t stride) {
    static_assert(kWidth == 8, "the shuffles below are for eight words a vector");
    std::array<Vector, kWidth> pairs{};
    for (std::size_t i = 0; i < kWidth; i += 2) {
        pairs[i] = __builtin_shufflevector(rows[i], rows[i + 1], 0, 8, 1, 9, 4, 12, 5, 13);
        pairs[i + 1] = __builtin_shufflevector(rows[i], rows[i + 1], 2, 10, 3, 11, 6, 14, 7, 15);
    }
    std::array<Vector, kWidth> quads{};
    for (std::size_t i = 0; i < kWidth; i += 4) {
        for (std::size_t k = 0; k < 2; ++k) {
            const Vector& a = pairs[i + k];
            const Vector& b = pairs[i + k + 2];
            quads[i + 2 * k] = __builtin_shufflevector(a, b, 0, 1, 8, 9, 4, 5, 12, 13);
            quads[i + 2 * k + 1] = __builtin_shufflevector(a, b, 2, 3, 10, 11, 6, 7, 14, 15);
        }
    }
    // quads[j] holds lanes j and j + 4 of steps 0 to 3, quads[j + 4] the same of steps 4 to 7.
    for (std::size_t j = 0; j < 4; ++j) {
        const Vector low =
            __builtin_shufflevector(quads[j], quads[j + 4], 0, 1, 2, 3, 8, 9, 10, 11);
        const Vector high =
            __builtin_shufflevector(quads[j], quads[j + 4], 4, 5, 6, 7, 12, 13, 14, 15);
        std::memcpy(out + j * stride, &low, sizeof low);
        std::memcpy(out + (j + 4) * stride, &high, sizeof high);
    }
}

// Every lane's draws from the first generator's state: the state and the passes so far, per lane
// and step. kWidth steps of all lanes are made side by side, then turned into rows of the lanes.
// Meanwhile the second generator's table `lagged` grows from entry `from` on, kRowsPerStep rows a
// step.
FRUVANA_VECTOR_CLONES
void walkLanes(std::uint32_t seed, std::uint32_t* __restrict state, std::int32_t* __restrict passes,
               std::int32_t* __restrict lagged, std::size_t from) {
    constexpr std::size_t kVectors = kLanes / kWidth;
    static_assert(kSteps % kWidth == 0);
    const auto mul = shuffleTable<LaneWords>(kSymbolJumps.mul);
    const auto add = shuffleTable<LaneWords>(kSymbolJumps.add);
    std::array<LaneWords, kVectors> x{};
    std::array<LaneCounts, kVectors> drawn{};
    for (std::size_t l = 0; l < kLanes; ++l)
        x[l / kWidth][l % kWidth] = kLaneStarts.mul[l] * seed + kLaneStarts.add[l];
    std::array<std::array<LaneWords, kWidth>, kVectors> stateRows{};
    std::array<std::array<LaneCounts, kWidth>, kVectors> passRows{};
    for (std::size_t t = 0; t < kSteps; t += kWidth) {
        for (std::size_t i = 0; i < kWidth; ++i) {
            // Unrolled, so the lanes stay in registers and their steps overlap.
#pragma GCC unroll 8
            for (std::size_t v = 0; v < kVectors; ++v) {
                const LaneWords next = x[v] * detail::kLcgMultiplier + 1u;
                // p = (next x 10) >> 32 in 32-bit parts: the upper half times ten, plus what the
                // lower half times ten carries into it.
                const LaneWords p = ((next >> 16) * 10u + (((next & 0xFFFFu) * 10u) >> 16)) >> 16;
                LaneWords jumpMul{}, jumpAdd{};
                pick(mul, p, jumpMul);
                pick(add, p, jumpAdd);
                x[v] = jumpMul * x[v] + jumpAdd;
                drawn[v] += reinterpret_cast<const LaneCounts&>(p) + 1;
                stateRows[v][i] = x[v];
                passRows[v][i] = drawn[v];
            }
            for (std::size_t r = 0; r < kRowsPerStep; ++r) {
                extendRow(lagged, from);
                from += kRow;
            }
        }
        for (std::size_t v = 0; v < kVectors; ++v) {
            const std::size_t at = laneEntry(v * kWidth, t);
            storeTransposed(stateRows[v], state + at, kSteps);
            storeTransposed(passRows[v], passes + at, kSteps);
        }
    }
}

// k steps of the second generator's sequence for k below 2^16 (a batch draws at most ten
// numbers a symbol), in 32-bit parts that the vector unit holds: the modulus is 2^24 - 3, so
// 2^24 counts as 3.
static_assert(10 * SymbolLookahead::kMost < (1u << 16));
std::int32_t shortSequenceJump(std::uint32_t k) {
    constexpr std::uint32_t cd = RanmarGenerator::kCd;
    constexpr std::uint32_t high = cd >> 12, low = cd & 0xFFFu;
    const std::uint32_t y = k * high;  // below 2^27; k x cd = y x 2^12 + k x low
    std::uint32_t z = 3u * (y >> 12) + ((y & 0xFFFu) << 12) + k * low;  // below 2^29
    z = 3u * (z >> 24) + (z & 0xFFFFFFu);
    return static_cast<std::int32_t>(z >= static_cast<std::uint32_t>(RanmarGenerator::kCm)
                                         ? z - static_cast<std::uint32_t>(RanmarGenerator::kCm)
                                         : z);
}

// The symbol of one draw from the first generator's state after it and the second generator's
// numbers drawn through it (n, counted from 1): its last pass reads number n, read[n - 1], after
// n steps of the sequence from `sequence`.
[[gnu::always_inline]] inline std::uint8_t symbolOf(std::uint32_t state, std::int32_t n,
                                                    const std::int32_t* read,
                                                    std::int32_t sequence) {
    std::int32_t c = sequence - shortSequenceJump(static_cast<std::uint32_t>(n));
    c += c < 0 ? RanmarGenerator::kCm : 0;
    const std::int32_t r = (read[n - 1] - c) & (RanmarGenerator::kScale - 1);
    const auto a = LcgRandom{state}.scaled(125479);
    return static_cast<std::uint8_t>(roundSymbolPass(a, r) % 10 + 1);
}

// The symbols of `count` draws.
FRUVANA_VECTOR_CLONES
void symbolsOf(const std::uint32_t* __restrict state, const std::int32_t* __restrict numbers,
               const std::int32_t* __restrict read, std::int32_t sequence, std::size_t count,
               std::uint8_t* __restrict out) {
    for (std::size_t k = 0; k < count; ++k) out[k] = symbolOf(state[k], numbers[k], read, sequence);
}

// Words 0, 3, 6, ... 21 of the 24 at `from`, the first draws of eight lines.
template <typename Vector, typename Word>
[[gnu::always_inline]] inline void everyThird(const Word* from, Word* to) {
    Vector a, b, c;
    std::memcpy(&a, from, sizeof a);
    std::memcpy(&b, from + kWidth, sizeof b);
    std::memcpy(&c, from + 2 * kWidth, sizeof c);
    const Vector ab = __builtin_shufflevector(a, b, 0, 3, 6, 9, 12, 15, 0, 0);
    const Vector abc = __builtin_shufflevector(ab, c, 0, 1, 2, 3, 4, 5, 10, 13);
    std::memcpy(to, &abc, sizeof abc);
}

// The symbols of the first draws of `count` lines of three (draws 0, 3, 6, ...) into out, and
// into flags whether each has its bit in `wanted` (bit s for symbol s).
FRUVANA_VECTOR_CLONES
void firstSymbolsOf(const std::uint32_t* __restrict state, const std::int32_t* __restrict numbers,
                    const std::int32_t* __restrict read, std::int32_t sequence, std::size_t count,
                    std::uint32_t wanted, std::uint8_t* __restrict out,
                    std::uint8_t* __restrict flags) {
    static_assert(kWidth == 8, "eight lines a vector");
    // The first draws picked out with the vector unit's shuffles, eight lines at a time, then
    // their symbols computed as contiguous draws are.
    constexpr std::size_t kBlock = 64;
    for (std::size_t k = 0; k < count; k += kBlock) {
        const std::size_t lines = std::min(kBlock, count - k);
        std::uint32_t firstState[kBlock];
        std::int32_t firstNumbers[kBlock];
        std::size_t j = 0;
        for (; j + kWidth <= lines; j += kWidth) {
            everyThird<LaneWords>(state + 3 * (k + j), firstState + j);
            everyThird<LaneCounts>(numbers + 3 * (k + j), firstNumbers + j);
        }
        for (; j < lines; ++j) {
            firstState[j] = state[3 * (k + j)];
            firstNumbers[j] = numbers[3 * (k + j)];
        }
        for (j = 0; j < lines; ++j) {
            const std::uint8_t symbol = symbolOf(firstState[j], firstNumbers[j], read, sequence);
            out[k + j] = symbol;
            flags[k + j] = static_cast<std::uint8_t>(wanted >> symbol & 1u);
        }
    }
}

// The symbols of the listed draws.
FRUVANA_VECTOR_CLONES
void symbolsOfListed(const std::uint32_t* __restrict state, const std::int32_t* __restrict numbers,
                     const std::uint32_t* __restrict draws, const std::int32_t* __restrict read,
                     std::int32_t sequence, std::size_t count, std::uint32_t* __restrict out) {
    for (std::size_t k = 0; k < count; ++k)
        out[k] = symbolOf(state[draws[k]], numbers[draws[k]], read, sequence);
}

// A lane's states and its passes counted on from `base`, count steps of them.
FRUVANA_VECTOR_CLONES
void copyLane(const std::uint32_t* __restrict state, const std::int32_t* __restrict passes,
              std::int32_t base, std::size_t count, std::uint32_t* __restrict toState,
              std::int32_t* __restrict toNumbers) {
    for (std::size_t k = 0; k < count; ++k) {
        toState[k] = state[k];
        toNumbers[k] = base + passes[k];
    }
}

}  // namespace

SymbolLookahead::SymbolLookahead()
    : laneState_(kMost),
      lanePasses_(kMost),
      state_(kMost),
      numbers_(kMost),
      flags_(kMost / 3 + 8),
      lagged_(3 * static_cast<std::size_t>(RanmarGenerator::kLags) + 10 * kMost) {}

std::size_t SymbolLookahead::peek(const RandomSources& sources) {
    if (!sources.ranmar.ready()) throw RandomError("!");
    constexpr std::size_t lags = RanmarGenerator::kLags;
    firstNumber_ = sources.ranmar.readAhead(std::span(lagged_).first(lags));
    sequence_ = sources.ranmar.scaledC();
    walkLanes(sources.lcg.seed, laneState_.data(), lanePasses_.data(), lagged_.data(), lags);
    laggedFilled_ = lags + kSteps * kRowsPerStep * kRow;

    // Follow the true draws: `at` is the first generator's step where the next true symbol
    // starts, `numbers` the second generator's numbers they have drawn.
    std::int64_t at = 0;
    std::uint32_t x = sources.lcg.seed;
    std::int32_t numbers = 0;
    std::size_t count = 0;
    std::size_t t = 0;  // the lane step whose start is compared with `at`
    for (std::size_t l = 0; l < kLanes && count < kMost;) {
        const auto laneStart = static_cast<std::int64_t>(l * kLaneSpacing);
        const auto boundary = [&](std::size_t step) {  // where lane step `step - 1` ends
            return step == 0 ? laneStart
                             : laneStart + lanePasses_[laneEntry(l, step - 1)] +
                                   static_cast<std::int64_t>(step);
        };
        // The boundaries rise with the step, so the first not before `at` is found by halving;
        // kSteps + 1 when there is none.
        for (std::size_t high = kSteps + 1; t < high;) {
            const std::size_t middle = t + (high - t) / 2;
            if (boundary(middle) < at) {
                t = middle + 1;
            } else {
                high = middle;
            }
        }
        if (t > kSteps) {  // the true draws passed this lane by
            ++l;
            t = 0;
            continue;
        }
        if (boundary(t) == at) {
            // From here the lane's draws are the true ones, as many as the batch holds.
            const std::int32_t base = numbers - (t == 0 ? 0 : lanePasses_[laneEntry(l, t - 1)]);
            const std::size_t end = t + std::min(kSteps - t, kMost - count);
            copyLane(laneState_.data() + laneEntry(l, t), lanePasses_.data() + laneEntry(l, t),
                     base, end - t, state_.data() + count, numbers_.data() + count);
            count += end - t;
            if (end > t) {
                numbers = numbers_[count - 1];
                x = state_[count - 1];
                at = boundary(end);
            }
            ++l;
            t = 0;
            continue;
        }
        // Not met yet: one true symbol, stepped on its own.
        const std::uint32_t next = x * detail::kLcgMultiplier + 1u;
        const auto p = static_cast<std::uint32_t>(LcgRandom{next}.scaled(10));
        x = kSymbolJumps.mul[p] * x + kSymbolJumps.add[p];
        numbers += static_cast<std::int32_t>(p) + 1;
        at += p + 2;
        state_[count] = x;
        numbers_[count] = numbers;
        ++count;
    }

    return count;
}

void SymbolLookahead::readTo(std::size_t entries) {
    if (entries <= laggedFilled_) return;
    // Whole rows, so that the next piece starts where a row does.
    const std::size_t end = laggedFilled_ + (entries - laggedFilled_ + kRow - 1) / kRow * kRow;
    RanmarGenerator::extendAhead(std::span(lagged_).first(end), laggedFilled_);
    laggedFilled_ = end;
}

void SymbolLookahead::symbols(std::size_t first, std::span<std::uint8_t> out) {
    if (out.empty()) return;
    readTo(firstNumber_ + static_cast<std::size_t>(numbers_[first + out.size() - 1]));
    symbolsOf(state_.data() + first, numbers_.data() + first, lagged_.data() + firstNumber_,
              sequence_, out.size(), out.data());
}

void SymbolLookahead::firstSymbols(std::size_t first, std::uint16_t symbols,
                                   std::span<std::uint8_t> out, std::span<std::uint64_t> wanted) {
    if (out.empty()) return;
    readTo(firstNumber_ + static_cast<std::size_t>(numbers_[first + 3 * out.size() - 1]));
    std::uint8_t* flags = flags_.data();
    firstSymbolsOf(state_.data() + first, numbers_.data() + first, lagged_.data() + firstNumber_,
                   sequence_, out.size(), symbols, out.data(), flags);
    // Eight flags of 0 or 1 in a word become eight bits in its top byte, each in its own place
    // of the product, with nothing carried between them.
    for (std::size_t n = 0; n < out.size(); n += 8) {
        std::uint64_t eight = 0;
        std::memcpy(&eight, flags + n, sizeof eight);
        if (n % 64 == 0) wanted[n / 64] = 0;
        wanted[n / 64] |= (eight * 0x0102040810204080u >> 56) << n % 64;
    }
    // Flags past the last line are not lines.
    if (out.size() % 64 != 0) wanted[out.size() / 64] &= (std::uint64_t{1} << out.size() % 64) - 1;
}

void SymbolLookahead::symbolsAt(std::span<const std::uint32_t> draws,
                                std::span<std::uint32_t> out) {
    if (draws.empty()) return;
    readTo(firstNumber_ + static_cast<std::size_t>(numbers_[draws.back()]));
    symbolsOfListed(state_.data(), numbers_.data(), draws.data(), lagged_.data() + firstNumber_,
                    sequence_, draws.size(), out.data());
}

void SymbolLookahead::moveOn(RandomSources& sources, std::size_t count) {
    if (count == 0) return;
    const auto numbers = static_cast<std::size_t>(numbers_[count - 1]);
    // The whole pass that holds the last number read becomes the generator's table.
    constexpr std::size_t lags = RanmarGenerator::kLags;
    readTo((firstNumber_ + numbers - 1) / lags * lags + lags);
    sources.lcg.seed = state_[count - 1];
    sources.ranmar.moveOn(numbers, lagged_, firstNumber_);
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
