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

// In reading order the second generator's table obeys v(n) = v(n - 97) - v(n - 33), masked to
// 24 bits; entries 97 to size - 1 are made from the ones before.
FRUVANA_VECTOR_CLONES
void extendLagged(std::int32_t* v, std::size_t size) {
    constexpr std::int32_t mask = RanmarGenerator::kScale - 1;
    constexpr std::size_t kShortLag = 33;
    // In rows of 33, so that each row reads the row before at the very offsets it was written:
    // a vector read across two recent writes would wait for both to reach the cache.
    for (std::size_t row = RanmarGenerator::kLags; row < size; row += kShortLag) {
        std::int32_t* out = v + row;
        const std::int32_t* far = out - RanmarGenerator::kLags;
        const std::int32_t* near = out - kShortLag;
        const std::size_t count = std::min(kShortLag, size - row);
        for (std::size_t j = 0; j < count; ++j) out[j] = (far[j] - near[j]) & mask;
    }
}

}  // namespace

std::size_t RanmarGenerator::readAhead(std::span<std::int32_t> lagged) const {
    requireReady();
    // The whole current pass first, entry 97 down to 1, then each value as the passes would make
    // it.
    for (std::size_t n = 0; n < kLags; ++n) lagged[n] = u_[kLags - n];
    extendLagged(lagged.data(), lagged.size());
    return static_cast<std::size_t>(kLags - cursor_);
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

// A symbol whose number of passes is p + 1 moves the first generator p + 2 steps (one for the
// number of passes, one per pass) and the second generator's sequence p + 1 steps.
// Plain arrays: indexed by a lane's p they become the processor's gather loads, which the
// standard array's unsigned 64-bit index does not.
struct SymbolJumps {
    std::uint32_t mul[10]{};
    std::uint32_t add[10]{};
    std::int32_t sequence[10]{};
    constexpr SymbolJumps() {
        for (std::size_t p = 0; p < 10; ++p) {
            mul[p] = detail::kLcgJumps.mul[p + 1] * detail::kLcgMultiplier;
            add[p] = detail::kLcgJumps.add[p + 1] * detail::kLcgMultiplier + 1u;
            sequence[p] = detail::kSequenceJumps[p + 1];
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

// Eight lanes in one register of the processor's vector unit (or two or four where it is narrower).
using LaneWords = std::uint32_t __attribute__((vector_size(32)));
using LaneCounts = std::int32_t __attribute__((vector_size(32)));
constexpr std::size_t kWidth = sizeof(LaneWords) / sizeof(std::uint32_t);
static_assert(kLanes % kWidth == 0);

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

// Every lane's symbols from the first generator's state: state, passes and sequence per step
// and lane.
FRUVANA_VECTOR_CLONES
void walkLanes(std::uint32_t seed, std::uint32_t* __restrict state, std::int32_t* __restrict passes,
               std::int32_t* __restrict sequence) {
    constexpr std::size_t kVectors = kLanes / kWidth;
    const auto mul = shuffleTable<LaneWords>(kSymbolJumps.mul);
    const auto add = shuffleTable<LaneWords>(kSymbolJumps.add);
    const auto moves = shuffleTable<LaneCounts>(kSymbolJumps.sequence);
    std::array<LaneWords, kVectors> x{};
    std::array<LaneCounts, kVectors> drawn{};
    std::array<LaneCounts, kVectors> steps{};
    for (std::size_t l = 0; l < kLanes; ++l)
        x[l / kWidth][l % kWidth] = kLaneStarts.mul[l] * seed + kLaneStarts.add[l];
    for (std::size_t t = 0; t < kSteps; ++t) {
        // Unrolled, so the lanes stay in registers and their steps overlap.
#pragma GCC unroll 8
        for (std::size_t v = 0; v < kVectors; ++v) {
            const LaneWords next = x[v] * detail::kLcgMultiplier + 1u;
            // p = (next x 10) >> 32 in 32-bit parts: the upper half times ten, plus what the
            // lower half times ten carries into it.
            const LaneWords p = ((next >> 16) * 10u + (((next & 0xFFFFu) * 10u) >> 16)) >> 16;
            LaneWords jumpMul{}, jumpAdd{};
            LaneCounts move{};
            pick(mul, p, jumpMul);
            pick(add, p, jumpAdd);
            pick(moves, p, move);
            x[v] = jumpMul * x[v] + jumpAdd;
            drawn[v] += reinterpret_cast<const LaneCounts&>(p) + 1;
            const LaneCounts moved = steps[v] + move;
            steps[v] = moved >= RanmarGenerator::kCm ? moved - RanmarGenerator::kCm : moved;
            const std::size_t at = t * kLanes + v * kWidth;
            std::memcpy(state + at, &x[v], sizeof x[v]);
            std::memcpy(passes + at, &drawn[v], sizeof drawn[v]);
            std::memcpy(sequence + at, &steps[v], sizeof steps[v]);
        }
    }
}

// The symbol of every step of every lane, from the second generator's numbers read ahead.
FRUVANA_VECTOR_CLONES
void laneSymbols(const std::uint32_t* __restrict state, const std::int32_t* __restrict passes,
                 const std::int32_t* __restrict sequence, const std::int32_t* __restrict base,
                 const std::int32_t* __restrict baseSequence, const std::int32_t* __restrict values,
                 std::int32_t numbers, std::uint8_t* __restrict symbols) {
    for (std::size_t t = 0; t < kSteps; ++t) {
        for (std::size_t l = 0; l < kLanes; ++l) {
            const std::size_t i = t * kLanes + l;
            // Steps off the true path may point anywhere; they are kept inside the numbers.
            const std::int32_t n = std::clamp(base[l] + passes[i] - 1, 0, numbers - 1);
            std::int32_t c = baseSequence[l] - sequence[i];
            c += c < 0 ? RanmarGenerator::kCm : 0;
            const std::int32_t r = (values[n] - c) & (RanmarGenerator::kScale - 1);
            const auto a = LcgRandom{state[i]}.scaled(125479);
            symbols[i] = static_cast<std::uint8_t>(roundSymbolPass(a, r) % 10 + 1);
        }
    }
}

// The sequence of the second generator after `numbers` more steps from c.
std::int32_t sequenceAfter(std::int32_t c, std::int64_t numbers) {
    const auto moved = static_cast<std::int32_t>(
        (numbers % RanmarGenerator::kCm + RanmarGenerator::kCm) % RanmarGenerator::kCm *
        RanmarGenerator::kCd % RanmarGenerator::kCm);
    const std::int32_t after = c - moved;
    return after < 0 ? after + RanmarGenerator::kCm : after;
}

}  // namespace

SymbolLookahead::SymbolLookahead()
    : state_(kMost),
      passes_(kMost),
      sequence_(kMost),
      laneSymbols_(kMost),
      stepped_(kMost),
      steppedSymbols_(kMost),
      stretches_(2 * kLanes + 2),
      lagged_(2 * static_cast<std::size_t>(RanmarGenerator::kLags) + 10 * kMost),
      symbols_(kMost) {}

std::span<const std::uint8_t> SymbolLookahead::peek(const RandomSources& sources) {
    if (!sources.ranmar.ready()) throw RandomError("!");
    walkLanes(sources.lcg.seed, state_.data(), passes_.data(), sequence_.data());

    // Follow the true draws: `at` is the first generator's step where the next true symbol
    // starts, `numbers` the second generator's numbers they have drawn.
    std::int64_t at = 0;
    std::uint32_t x = sources.lcg.seed;
    std::int64_t numbers = 0;
    std::size_t count = 0, stretches = 0, stepped = 0;
    std::size_t t = 0;  // the lane step whose start is compared with `at`
    for (std::size_t l = 0; l < kLanes && count < kMost;) {
        const auto laneStart = static_cast<std::int64_t>(l * kLaneSpacing);
        const auto boundary = [&](std::size_t step) {  // where lane step `step - 1` ends
            return step == 0 ? laneStart
                             : laneStart + passes_[(step - 1) * kLanes + l] +
                                   static_cast<std::int64_t>(step);
        };
        while (t <= kSteps && boundary(t) < at) ++t;
        if (t > kSteps) {  // the true draws passed this lane by
            ++l;
            t = 0;
            continue;
        }
        if (boundary(t) == at) {
            // From here the lane's draws are the true ones, as many as the batch holds.
            const std::int32_t before = t == 0 ? 0 : passes_[(t - 1) * kLanes + l];
            const std::size_t end = t + std::min(kSteps - t, kMost - count);
            laneBase_[l] = static_cast<std::int32_t>(numbers) - before;
            stretches_[stretches++] = {l, t, end, count};
            count += end - t;
            if (end > t) {
                numbers += passes_[(end - 1) * kLanes + l] - before;
                at = boundary(end);
                x = state_[(end - 1) * kLanes + l];
            }
            ++l;
            t = 0;
            continue;
        }
        // Not met yet: one true symbol, stepped on its own.
        const std::uint32_t next = x * detail::kLcgMultiplier + 1u;
        const auto p = static_cast<std::uint32_t>(LcgRandom{next}.scaled(10));
        x = kSymbolJumps.mul[p] * x + kSymbolJumps.add[p];
        numbers += p + 1;
        at += p + 2;
        if (stretches == 0 || stretches_[stretches - 1].lane != kLanes)
            stretches_[stretches++] = {kLanes, stepped, stepped, count};
        stepped_[stepped] = {x, numbers};
        stretches_[stretches - 1].to = ++stepped;
        ++count;
    }

    // Whole passes, so that moveOn finds every entry of the table it leaves behind.
    constexpr std::size_t lags = RanmarGenerator::kLags;
    const std::size_t values = lags + static_cast<std::size_t>(numbers);
    firstNumber_ =
        sources.ranmar.readAhead(std::span(lagged_).first((values + lags - 1) / lags * lags));
    const std::int32_t* read = lagged_.data() + firstNumber_;
    const std::int32_t c = sources.ranmar.scaledC();
    for (std::size_t l = 0; l < kLanes; ++l) laneSequence_[l] = sequenceAfter(c, laneBase_[l]);
    laneSymbols(state_.data(), passes_.data(), sequence_.data(), laneBase_.data(),
                laneSequence_.data(), read, static_cast<std::int32_t>(numbers),
                laneSymbols_.data());
    for (std::size_t k = 0; k < stepped; ++k) {
        const std::int64_t n = stepped_[k].numbers - 1;
        const std::int32_t r = (read[n] - sequenceAfter(c, n + 1)) & (RanmarGenerator::kScale - 1);
        const auto a = LcgRandom{stepped_[k].state}.scaled(125479);
        steppedSymbols_[k] = static_cast<std::uint8_t>(roundSymbolPass(a, r) % 10 + 1);
    }

    std::uint8_t* out = symbols_.data();
    for (std::size_t s = 0; s < stretches; ++s) {
        const Stretch& stretch = stretches_[s];
        if (stretch.lane == kLanes) {
            out = std::copy(steppedSymbols_.begin() + static_cast<std::ptrdiff_t>(stretch.from),
                            steppedSymbols_.begin() + static_cast<std::ptrdiff_t>(stretch.to), out);
            continue;
        }
        const std::uint8_t* lane = laneSymbols_.data() + stretch.lane;
        for (std::size_t step = stretch.from; step < stretch.to; ++step)
            *out++ = lane[step * kLanes];
    }
    stretchCount_ = stretches;
    return std::span(symbols_).first(count);
}

SymbolLookahead::Drawn SymbolLookahead::drawnThrough(std::size_t symbol) const {
    std::size_t s = stretchCount_;
    while (stretches_[--s].symbol > symbol) {
    }
    const Stretch& stretch = stretches_[s];
    const std::size_t t = stretch.from + (symbol - stretch.symbol);
    if (stretch.lane == kLanes) return stepped_[t];
    const std::size_t i = t * kLanes + stretch.lane;
    return {state_[i], laneBase_[stretch.lane] + passes_[i]};
}

void SymbolLookahead::moveOn(RandomSources& sources, std::size_t count) const {
    if (count == 0) return;
    const Drawn drawn = drawnThrough(count - 1);
    sources.lcg.seed = drawn.state;
    sources.ranmar.moveOn(static_cast<std::size_t>(drawn.numbers), lagged_, firstNumber_);
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
