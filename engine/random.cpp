#include "engine/random.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <utility>

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

// The hot loops are built for processors with AVX2 and for any other, some also for those with
// AVX-512 (x86-64-v4), and the program takes the one the processor runs; the results are the same
// integers either way.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define FRUVANA_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#define FRUVANA_WIDE_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#else
#define FRUVANA_VECTOR_CLONES
#define FRUVANA_WIDE_CLONES
#endif

// W 32-bit words side by side in the vector unit's registers (or in two or four where it is
// narrower).
template <std::size_t W>
struct Words;
template <>
struct Words<8> {
    using Vector = std::uint32_t __attribute__((vector_size(32)));
    using Pairs = std::uint64_t __attribute__((vector_size(32)));
};
template <>
struct Words<16> {
    using Vector = std::uint32_t __attribute__((vector_size(64)));
    using Pairs = std::uint64_t __attribute__((vector_size(64)));
};

// The second generator's table in reading order obeys v(n) = v(n - 97) - v(n - 33) modulo 2^24.
// The entries are kept modulo 2^32, which is the same modulo 2^24 and saves masking every one;
// whoever reads them masks. The table is made in rows of 33: row r reads row r - 1 at the offsets
// it writes, and rows r - 3 and r - 2 two entries further on (97 = 3 x 33 - 2). Three rows at a
// time are kept in the vector unit's registers, so that no row waits for the one before to go
// through memory.
constexpr std::size_t kRow = 33;

// Entries row to row + count - 1 (count at most kRow) from the ones before, through memory.
inline void extendRow(std::int32_t* v, std::size_t row, std::size_t count) {
    std::int32_t* out = v + row;
    const std::int32_t* far = out - RanmarGenerator::kLags;
    const std::int32_t* near = out - kRow;
    for (std::size_t j = 0; j < count; ++j)
        out[j] = static_cast<std::int32_t>(static_cast<std::uint32_t>(far[j]) -
                                           static_cast<std::uint32_t>(near[j]));
}

// One row of the table: eight entries a vector and the last one on its own.
struct TableRow {
    using Vector = Words<8>::Vector;
    std::array<Vector, 4> words;
    std::uint32_t last;

    [[gnu::always_inline]] void load(const std::int32_t* at) {
#pragma GCC unroll 4
        for (std::size_t k = 0; k < words.size(); ++k)
            std::memcpy(&words[k], at + 8 * k, sizeof words[k]);
        std::memcpy(&last, at + kRow - 1, sizeof last);
    }
};

// The row after `near` into `made` (which may be `back3`), stored at out; back3 and back2 are the
// rows three and two before it.
[[gnu::always_inline]] inline void makeRow(const TableRow& back3, const TableRow& back2,
                                           const TableRow& near, TableRow& made,
                                           std::int32_t* out) {
    using Vector = TableRow::Vector;
    // The far entries: row back3 from its third entry on, then the first two of back2.
    const Vector tail = {back3.last, back2.words[0][0]};
    const std::array<Vector, 4> far = {
        __builtin_shufflevector(back3.words[0], back3.words[1], 2, 3, 4, 5, 6, 7, 8, 9),
        __builtin_shufflevector(back3.words[1], back3.words[2], 2, 3, 4, 5, 6, 7, 8, 9),
        __builtin_shufflevector(back3.words[2], back3.words[3], 2, 3, 4, 5, 6, 7, 8, 9),
        __builtin_shufflevector(back3.words[3], tail, 2, 3, 4, 5, 6, 7, 8, 9)};
    const std::uint32_t farLast = back2.words[0][1];
#pragma GCC unroll 4
    for (std::size_t k = 0; k < far.size(); ++k) {
        made.words[k] = far[k] - near.words[k];
        std::memcpy(out + 8 * k, &made.words[k], sizeof made.words[k]);
    }
    made.last = farLast - near.last;
    std::memcpy(out + kRow - 1, &made.last, sizeof made.last);
}

// Entries from to size - 1 from the ones before.
FRUVANA_WIDE_CLONES
void extendLagged(std::int32_t* v, std::size_t from, std::size_t size) {
    // The first row through memory where the three rows before it do not all lie in the table.
    if (from < 3 * kRow && from < size) {
        extendRow(v, from, std::min(kRow, size - from));
        from += kRow;
    }
    if (from + 3 * kRow <= size) {
        TableRow a{}, b{}, c{};
        a.load(v + from - 3 * kRow);
        b.load(v + from - 2 * kRow);
        c.load(v + from - kRow);
        // Three rows a turn, so that the rows change roles without being copied.
        for (; from + 3 * kRow <= size; from += 3 * kRow) {
            makeRow(a, b, c, a, v + from);
            makeRow(b, c, a, b, v + from + kRow);
            makeRow(c, a, b, c, v + from + 2 * kRow);
        }
    }
    for (; from < size; from += kRow) extendRow(v, from, std::min(kRow, size - from));
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
    for (std::size_t n = 1; n <= kLags; ++n)
        u_[n] = lagged[pass * kLags + (kLags - n)] & (kScale - 1);
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

constexpr std::size_t kLanes = SymbolLookahead::kLanes;
constexpr std::size_t kSteps = SymbolLookahead::kSteps;

// Where lane l's step t sits in the lanes' tables: each lane's steps in a row, so that following
// a lane reads memory in order.
constexpr std::size_t laneEntry(std::size_t l, std::size_t t) {
    return l * kSteps + t;
}

// Entry p (0 to 9) of a ten-entry table for W lanes at once: a shuffle of the vector unit where
// the compiler offers one, lane by lane where it does not.
// (Vectors go by reference: passed by value they would take another calling convention on
// processors without AVX.)
template <std::size_t W>
struct LaneTable {
    using Vector = typename Words<W>::Vector;
    static constexpr std::size_t kParts = (10 + W - 1) / W;
    std::array<Vector, kParts> parts{};

    explicit LaneTable(const std::uint32_t (&entries)[10]) {
        for (std::size_t p = 0; p < 10; ++p) parts[p / W][p % W] = entries[p];
    }
    [[gnu::always_inline]] void pick(const Vector& p, Vector& entries) const {
#if defined(__clang__)
        for (std::size_t k = 0; k < W; ++k) entries[k] = parts[p[k] / W][p[k] % W];
#else
        if constexpr (kParts == 1) {
            entries = __builtin_shuffle(parts[0], p);
        } else {
            entries = __builtin_shuffle(parts[0], parts[1], p);
        }
#endif
    }
};

// The low or the high half of each 16-byte block of a and b, their elements taken in turn, into
// `to`: one cheap instruction of the vector unit.
template <bool High, typename Vector, std::size_t... K>
[[gnu::always_inline]] inline void unpack(const Vector& a, const Vector& b, Vector& to,
                                          std::index_sequence<K...>) {
    constexpr std::size_t n = sizeof...(K);
    constexpr std::size_t block = 16 / sizeof(a[0]);  // elements of a block
    to = __builtin_shufflevector(
        a, b,
        (K / block * block + (High ? block / 2 : 0) + K % block / 2 + (K % 2 != 0 ? n : 0))...);
}
// Blocks of four words: block i of `to` is block Blocks[i] of a, or of b from W / 4 on.
template <std::size_t... Blocks, typename Vector, std::size_t... K>
[[gnu::always_inline]] inline void shuffleBlocks(const Vector& a, const Vector& b, Vector& to,
                                                 std::index_sequence<K...>) {
    constexpr std::array<std::size_t, sizeof...(Blocks)> blocks = {Blocks...};
    to = __builtin_shufflevector(a, b, (4 * blocks[K / 4] + K % 4)...);
}

// Stores rows[i] = step i of W lanes as lane j's W steps at out + j x stride, turned round with
// the vector unit's cheap shuffles: words, then pairs of words, then blocks of four words of two
// rows at a time (rows is left changed).
template <typename Vector, std::size_t W, typename Word>
[[gnu::always_inline]] inline void storeTransposed(std::array<Vector, W>& rows, Word* out,
                                                   std::size_t stride) {
    static_assert(W == 8 || W == 16);
    using Pairs = typename Words<W>::Pairs;
    constexpr auto words = std::make_index_sequence<W>();
    constexpr auto pairs = std::make_index_sequence<W / 2>();
    std::array<Vector, W> mixed;
    for (std::size_t i = 0; i < W; i += 2) {
        unpack<false>(rows[i], rows[i + 1], mixed[i], words);
        unpack<true>(rows[i], rows[i + 1], mixed[i + 1], words);
    }
    // quads[4g + m], block j: word 4j + m of rows 4g to 4g + 3.
    std::array<Vector, W>& quads = rows;
    for (std::size_t g = 0; g < W; g += 4) {
        for (std::size_t h = 0; h < 2; ++h) {
            Pairs a, b, low, high;
            std::memcpy(&a, &mixed[g + h], sizeof a);
            std::memcpy(&b, &mixed[g + h + 2], sizeof b);
            unpack<false>(a, b, low, pairs);
            unpack<true>(a, b, high, pairs);
            std::memcpy(&quads[g + 2 * h], &low, sizeof low);
            std::memcpy(&quads[g + 2 * h + 1], &high, sizeof high);
        }
    }
    // Lane 4j + m: block j of quads[m], quads[4 + m], ... in turn.
    std::array<Vector, W>& lanes = mixed;
    for (std::size_t m = 0; m < 4; ++m) {
        if constexpr (W == 8) {
            shuffleBlocks<0, 2>(quads[m], quads[4 + m], lanes[m], words);
            shuffleBlocks<1, 3>(quads[m], quads[4 + m], lanes[4 + m], words);
        } else {
            Vector low, high, low2, high2;  // blocks 0, 1 and 2, 3 of two quads each
            shuffleBlocks<0, 1, 4, 5>(quads[m], quads[4 + m], low, words);
            shuffleBlocks<2, 3, 6, 7>(quads[m], quads[4 + m], high, words);
            shuffleBlocks<0, 1, 4, 5>(quads[8 + m], quads[12 + m], low2, words);
            shuffleBlocks<2, 3, 6, 7>(quads[8 + m], quads[12 + m], high2, words);
            shuffleBlocks<0, 2, 4, 6>(low, low2, lanes[m], words);
            shuffleBlocks<1, 3, 5, 7>(low, low2, lanes[4 + m], words);
            shuffleBlocks<0, 2, 4, 6>(high, high2, lanes[8 + m], words);
            shuffleBlocks<1, 3, 5, 7>(high, high2, lanes[12 + m], words);
        }
    }
    for (std::size_t j = 0; j < W; ++j) std::memcpy(out + j * stride, &lanes[j], sizeof lanes[j]);
}

// Every lane's draws from the first generator's state: the state and the passes so far, per lane
// and step, W lanes a vector. The steps of each lane hang on each other, so each step waits on
// the one before; W steps of all lanes are made side by side while the W steps before are turned
// into rows of the lanes, a piece after each step, to fill that wait.
template <std::size_t W>
[[gnu::always_inline]] inline void walkLanesBy(std::uint32_t seed, std::uint32_t* __restrict state,
                                               std::int32_t* __restrict passes) {
    using Vector = typename Words<W>::Vector;
    constexpr std::size_t kVectors = kLanes / W;
    constexpr std::size_t kTurns = 2 * kVectors;  // the states and the passes of each vector
    static_assert(kSteps % W == 0 && W % kTurns == 0);
    const LaneTable<W> mul(kSymbolJumps.mul);
    const LaneTable<W> add(kSymbolJumps.add);
    std::array<Vector, kVectors> x{};
    std::array<Vector, kVectors> drawn{};
    for (std::size_t l = 0; l < kLanes; ++l)
        x[l / W][l % W] = kLaneStarts.mul[l] * seed + kLaneStarts.add[l];
    std::array<std::array<std::array<Vector, W>, kTurns>, 2> rows;
    for (std::size_t t = 0; t <= kSteps; t += W) {
        auto& walked = rows[t / W % 2];
        auto& turned = rows[(t / W + 1) % 2];
#pragma GCC unroll 16
        for (std::size_t i = 0; i < W; ++i) {
            if (t < kSteps) {
#pragma GCC unroll 8
                for (std::size_t v = 0; v < kVectors; ++v) {
                    const Vector next = x[v] * detail::kLcgMultiplier + 1u;
                    // p = (next x 10) >> 32 in 32-bit parts: the upper half times ten, plus what
                    // the lower half times ten carries into it.
                    const Vector p = ((next >> 16) * 10u + (((next & 0xFFFFu) * 10u) >> 16)) >> 16;
                    Vector jumpMul{}, jumpAdd{};
                    mul.pick(p, jumpMul);
                    add.pick(p, jumpAdd);
                    x[v] = jumpMul * x[v] + jumpAdd;
                    drawn[v] += p + 1u;
                    walked[2 * v][i] = x[v];
                    walked[2 * v + 1][i] = drawn[v];
                }
            }
            if (t > 0 && i % (W / kTurns) == 0) {
                const std::size_t k = i / (W / kTurns);
                const std::size_t at = laneEntry(k / 2 * W, t - W);
                if (k % 2 == 0) {
                    storeTransposed(turned[k], state + at, kSteps);
                } else {
                    storeTransposed(turned[k], passes + at, kSteps);
                }
            }
        }
    }
}

// The walk sixteen lanes a vector where the processor has AVX-512, eight elsewhere.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
[[gnu::target("arch=x86-64-v4")]] void walkLanesWide(std::uint32_t seed, std::uint32_t* state,
                                                     std::int32_t* passes) {
    walkLanesBy<16>(seed, state, passes);
}
FRUVANA_VECTOR_CLONES
void walkLanesNarrow(std::uint32_t seed, std::uint32_t* state, std::int32_t* passes) {
    walkLanesBy<8>(seed, state, passes);
}
void walkLanes(std::uint32_t seed, std::uint32_t* state, std::int32_t* passes,
               SymbolLookahead::Walk walk) {
    static const bool wide = __builtin_cpu_supports("x86-64-v4") != 0;
    if (wide && walk == SymbolLookahead::Walk::Fastest) {
        walkLanesWide(seed, state, passes);
    } else {
        walkLanesNarrow(seed, state, passes);
    }
}
#else
void walkLanes(std::uint32_t seed, std::uint32_t* state, std::int32_t* passes,
               SymbolLookahead::Walk /*walk*/) {
    walkLanesBy<8>(seed, state, passes);
}
#endif

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
[[gnu::always_inline]] inline std::uint32_t symbolOf(std::uint32_t state, std::int32_t n,
                                                     const std::int32_t* read,
                                                     std::int32_t sequence) {
    std::int32_t c = sequence - shortSequenceJump(static_cast<std::uint32_t>(n));
    c += c < 0 ? RanmarGenerator::kCm : 0;
    const auto r = static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(read[n - 1]) - static_cast<std::uint32_t>(c)) &
        (RanmarGenerator::kScale - 1));
    const auto a = LcgRandom{state}.scaled(125479);
    return static_cast<std::uint32_t>(roundSymbolPass(a, r)) % 10 + 1;
}

// The symbols of `count` draws.
FRUVANA_WIDE_CLONES
void symbolsOf(const std::uint32_t* __restrict state, const std::int32_t* __restrict numbers,
               const std::int32_t* __restrict read, std::int32_t sequence, std::size_t count,
               std::uint8_t* __restrict out) {
    for (std::size_t k = 0; k < count; ++k)
        out[k] = static_cast<std::uint8_t>(symbolOf(state[k], numbers[k], read, sequence));
}

// Words 0, 3, 6, ... 21 of the 24 at `from`, the first draws of eight lines.
template <typename Word>
[[gnu::always_inline]] inline void everyThird(const Word* from, Word* to) {
    using Vector = Words<8>::Vector;
    Vector a, b, c;
    std::memcpy(&a, from, sizeof a);
    std::memcpy(&b, from + 8, sizeof b);
    std::memcpy(&c, from + 16, sizeof c);
    const Vector ab = __builtin_shufflevector(a, b, 0, 3, 6, 9, 12, 15, 0, 0);
    const Vector abc = __builtin_shufflevector(ab, c, 0, 1, 2, 3, 4, 5, 10, 13);
    std::memcpy(to, &abc, sizeof abc);
}

// The symbols of the first draws of `count` lines of three (draws 0, 3, 6, ...) into out, and
// into flags whether each has its bit in `wanted` (bit s for symbol s).
FRUVANA_WIDE_CLONES
void firstSymbolsOf(const std::uint32_t* __restrict state, const std::int32_t* __restrict numbers,
                    const std::int32_t* __restrict read, std::int32_t sequence, std::size_t count,
                    std::uint32_t wanted, std::uint8_t* __restrict out,
                    std::uint8_t* __restrict flags) {
    // The first draws picked out with the vector unit's shuffles, eight lines at a time, then
    // their symbols computed as contiguous draws are.
    constexpr std::size_t kBlock = 64;
    for (std::size_t k = 0; k < count; k += kBlock) {
        const std::size_t lines = std::min(kBlock, count - k);
        std::uint32_t firstState[kBlock];
        std::int32_t firstNumbers[kBlock];
        std::size_t j = 0;
        for (; j + 8 <= lines; j += 8) {
            everyThird(state + 3 * (k + j), firstState + j);
            everyThird(numbers + 3 * (k + j), firstNumbers + j);
        }
        for (; j < lines; ++j) {
            firstState[j] = state[3 * (k + j)];
            firstNumbers[j] = numbers[3 * (k + j)];
        }
        for (j = 0; j < lines; ++j) {
            const std::uint32_t symbol = symbolOf(firstState[j], firstNumbers[j], read, sequence);
            out[k + j] = static_cast<std::uint8_t>(symbol);
            flags[k + j] = static_cast<std::uint8_t>(wanted >> symbol & 1u);
        }
    }
}

// The symbols of the listed draws.
FRUVANA_WIDE_CLONES
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

// The steps of a lane where the lane before it usually ends: it ends some 160 steps of the first
// generator, 25 symbols, after this lane's start.
constexpr std::int32_t kOverlapSteps = 64;

// For each lane l after the first, how many of its first kOverlapSteps steps end before lane
// l - 1 ends, counted with the vector unit for all lanes at once: the true draws mostly follow
// lane l - 1 to its end and go on along lane l from the step after those.
FRUVANA_WIDE_CLONES
void stepsBeforeLaneEnds(const std::int32_t* __restrict passes, std::int32_t* __restrict before) {
    constexpr auto spacing = static_cast<std::int32_t>(kLaneSpacing);
    constexpr auto steps = static_cast<std::int32_t>(kSteps);
    for (std::size_t l = 1; l < kLanes; ++l) {
        // Where lane l - 1 ends, counted from lane l's start.
        const std::int32_t end = passes[laneEntry(l - 1, kSteps - 1)] + steps - spacing;
        std::int32_t count = 0;
        for (std::int32_t s = 0; s < kOverlapSteps; ++s)
            count += passes[laneEntry(l, static_cast<std::size_t>(s))] + s + 1 < end ? 1 : 0;
        before[l] = count;
    }
}

}  // namespace

SymbolLookahead::SymbolLookahead(Walk walk)
    : walk_(walk),
      laneState_(kMost),
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
    laggedFilled_ = lags;
    walkLanes(sources.lcg.seed, laneState_.data(), lanePasses_.data(), walk_);

    // Follow the true draws: `at` is the first generator's step where the next true symbol
    // starts, `numbers` the second generator's numbers they have drawn.
    std::int64_t at = 0;
    std::uint32_t x = sources.lcg.seed;
    std::int32_t numbers = 0;
    std::size_t count = 0;
    std::array<std::int32_t, kLanes> before{};
    stepsBeforeLaneEnds(lanePasses_.data(), before.data());
    for (std::size_t l = 0; l < kLanes && count < kMost;) {
        const auto laneStart = static_cast<std::int64_t>(l * kLaneSpacing);
        const std::int32_t* lane = lanePasses_.data() + laneEntry(l, 0);
        const auto boundary = [&](std::size_t step) {  // where lane step `step - 1` ends
            return step == 0 ? laneStart
                             : laneStart + lane[step - 1] + static_cast<std::int64_t>(step);
        };
        // The boundaries rise with the step, so the first not before `at` comes after all those
        // before it: mostly the steps before the end of the lane before, counted for all lanes at
        // once, and otherwise a few more, or kSteps + 1 when there is none. (Where the true draws
        // come short of the end of the lane before, the count may pass the step where they would
        // meet this lane; they are then stepped on their own until they do.)
        std::size_t t = 0;
        if (at > laneStart) {
            t = 1 + static_cast<std::size_t>(before[l]);
            while (t <= kSteps && boundary(t) < at) ++t;
        }
        if (t > kSteps) {  // the true draws passed this lane by
            ++l;
            continue;
        }
        if (boundary(t) == at) {
            // From here the lane's draws are the true ones, as many as the batch holds.
            const std::int32_t base = numbers - (t == 0 ? 0 : lane[t - 1]);
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
