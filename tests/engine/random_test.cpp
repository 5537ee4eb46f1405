#include "engine/random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <span>
#include <thread>
#include <vector>

namespace fruvana {
namespace {

// A plain double-precision RANMAR, written straight from the algorithm, to check that the
// integer form of the real generator gives the very same numbers.
struct ReferenceRanmar {
    double u[98]{};
    double c = 0, cd = 7654321.0 / 16777216.0, cm = 16777213.0 / 16777216.0;
    int i97 = 0, j97 = 0;
    void init(int ij, int kl) {
        int i = (ij / 177) % 177 + 2, j = (ij % 177) + 2, k = (kl / 169) % 178 + 1, l = kl % 169;
        for (int n = 1; n <= 97; ++n) {
            double s = 0.0, t = 0.5;
            for (int b = 0; b < 24; ++b) {
                int m = ((i * j) % 179 * k) % 179;
                i = j, j = k, k = m;
                l = (53 * l + 1) % 169;
                if ((l * m) % 64 >= 32) s += t;
                t *= 0.5;
            }
            u[n] = s;
        }
        c = 362436.0 / 16777216.0;
        i97 = 97, j97 = 33;
    }
    double next() {
        double uni = u[i97] - u[j97];
        if (uni < 0) uni += 1;
        u[i97] = uni;
        if (--i97 == 0) i97 = 97;
        if (--j97 == 0) j97 = 97;
        c -= cd;
        if (c < 0) c += cm;
        uni -= c;
        if (uni < 0) uni += 1;
        return uni;
    }
};

struct ReferenceLcg {
    std::uint32_t seed;
    std::int32_t below(std::int32_t n) {
        seed = seed * 134775813u + 1u;
        const std::uint64_t scaled = std::uint64_t{seed} * static_cast<std::uint32_t>(n);
        return static_cast<std::int32_t>(scaled >> 32);
    }
};

int referenceDrawSymbol(ReferenceLcg& lcg, ReferenceRanmar& ranmar, int m) {
    int passes = lcg.below(10) + 1, s = 0;
    for (int p = 0; p < passes; ++p) {
        const int a = lcg.below(125479);
        const double r = ranmar.next();
        const double w = a + 123117 * r;
        const double v = std::nearbyint(w);  // default rounding: half to even
        s = static_cast<int>(std::fmod(v, m)) + 1;
    }
    return s;
}

ClockSeed fixedSeed(std::uint32_t value) {
    return [value] { return value; };
}

TEST(LcgRandom, FollowsPublishedSequenceFromZero) {
    LcgRandom lcg;
    lcg.seed = 0;
    EXPECT_EQ(lcg.below(10), 0);
    EXPECT_EQ(lcg.seed, 1u);
    EXPECT_EQ(lcg.below(10), 0);
    EXPECT_EQ(lcg.seed, 134775814u);
    EXPECT_EQ(lcg.below(10), 8);
    EXPECT_EQ(lcg.seed, 3698175007u);
}

TEST(LcgRandom, SkipMatchesSingleSteps) {
    for (unsigned k = 0; k < 12; ++k) {
        LcgRandom jumped, stepped;
        jumped.seed = stepped.seed = 0xDEADBEEFu + k;
        jumped.skip(k);
        for (unsigned i = 0; i < k; ++i) stepped.below(1);
        EXPECT_EQ(jumped.seed, stepped.seed) << "k=" << k;
    }
}

TEST(LcgRandom, RejectsEmptyRange) {
    LcgRandom lcg;
    EXPECT_THROW(lcg.below(0), std::invalid_argument);
    EXPECT_THROW(lcg.below(-3), std::invalid_argument);
}

TEST(RanmarGenerator, PublishedCheckValues) {
    RanmarGenerator gen;
    gen.init(1802, 9373);
    for (int n = 0; n < 20000; ++n) gen.next();
    const std::vector<double> expected = {6533892, 14220222, 7275067, 6172232, 8354498, 10633180};
    for (double e : expected) EXPECT_EQ(gen.next() * 16777216.0, e);
}

TEST(RanmarGenerator, SeedRangesAndErrors) {
    RanmarGenerator gen;
    try {
        gen.next();
        FAIL() << "draw before seeding must fail";
    } catch (const RandomError& e) {
        EXPECT_STREQ(e.what(), "!");
    }
    EXPECT_NO_THROW(gen.init(31328, 30081));
    const double before = gen.u(5);
    const struct { int ij, kl; } bad[] = {{31329, 0}, {-1, 0}, {0, 30082}, {0, -1}};
    for (auto seeds : bad) {
        try {
            gen.init(seeds.ij, seeds.kl);
            FAIL() << "seeds " << seeds.ij << ", " << seeds.kl << " must be refused";
        } catch (const RandomError& e) {
            EXPECT_STREQ(e.what(), "!!");
        }
    }
    // A refused seed leaves the generator as it was.
    EXPECT_TRUE(gen.ready());
    EXPECT_EQ(gen.u(5), before);
    EXPECT_EQ(gen.i97(), 97);
}

TEST(RanmarGenerator, MatchesDoubleArithmeticAndSkip) {
    for (auto [ij, kl] : {std::pair{0, 0}, {1802, 9373}, {31328, 9373}}) {
        RanmarGenerator gen, skipping;
        ReferenceRanmar ref;
        gen.init(ij, kl);
        skipping.init(ij, kl);
        ref.init(ij, kl);
        for (int n = 1; n <= 97; ++n) ASSERT_EQ(gen.u(n), ref.u[n]);
        for (int n = 0; n < 5000; ++n) {
            const double want = ref.next();
            ASSERT_EQ(gen.next(), want) << "draw " << n;
            if (n % 7 == 6) {
                ASSERT_EQ(skipping.next(), want);
            } else if (n % 7 == 0) {
                skipping.skip(6);
            }
        }
    }
}

TEST(DrawSymbol, RoundsHalfToEven) {
    // a = 0, r = 0.5: w = 61558.5 rounds down to the even 61558; pass yields 9.
    EXPECT_EQ(roundSymbolPass(0, 1 << 23), 61558);
    // The largest pass: w about 248594.9927 rounds to 248595, symbol 6.
    EXPECT_EQ(roundSymbolPass(125478, 16777215), 248595);
    // An odd integer part with an exact half rounds up.
    EXPECT_EQ(roundSymbolPass(1, 1 << 23), 61560);  // 1 + 61558.5 = 61559.5 -> 61560
}

TEST(DrawSymbol, MatchesStraightforwardDraw) {
    RandomSources sources;
    ReferenceLcg lcg{12345};
    ReferenceRanmar ranmar;
    sources.lcg.seed = 12345;
    sources.ranmar.init(777, 4242);
    ranmar.init(777, 4242);
    for (int n = 0; n < 20000; ++n) {
        const int m = 1 + n % 255;
        ASSERT_EQ(drawSymbol(sources, static_cast<std::uint8_t>(m)),
                  referenceDrawSymbol(lcg, ranmar, m));
    }
    EXPECT_EQ(sources.lcg.seed, lcg.seed);
}

// Numbers read ahead in bulk, in pieces as the pool fill reads them, then k of them taken: the
// generator goes on as after k numbers, whether k ends inside a pass of the table, exactly at
// its end or several passes on.
TEST(RanmarGenerator, ReadAheadThenMoveOn) {
    for (const std::size_t k : {0u, 1u, 96u, 97u, 98u, 194u, 500u}) {
        RanmarGenerator gen;
        ReferenceRanmar ref;
        gen.init(1802, 9373);
        ref.init(1802, 9373);
        for (int n = 0; n < 40; ++n) ASSERT_EQ(gen.next(), ref.next());  // mid-pass
        std::vector<std::int32_t> lagged(2 * 97 + 600);
        const std::size_t first = gen.readAhead(std::span(lagged).first(97));
        RanmarGenerator::extendAhead(std::span(lagged).first(131), 97);
        RanmarGenerator::extendAhead(lagged, 131);  // off the rows of 33 the first piece made
        for (std::size_t n = 0; n < k; ++n) ref.next();
        gen.moveOn(k, lagged, first);
        for (int n = 0; n < 300; ++n) ASSERT_EQ(gen.next(), ref.next()) << "k " << k;
    }
}

// Symbols drawn ahead in bulk against the straightforward draws, with some of each batch taken
// before the next: every symbol a batch shows is the draw's, asked for in two pieces, as the
// first draws of lines of three and as a list, and the generators go on from the last one taken,
// also where the batch was not looked at.
struct BatchCase {
    std::uint32_t seed;
    int ij;
    int kl;
    std::size_t taken;  // of each batch, at most all of it
};

class SymbolBatches : public ::testing::TestWithParam<BatchCase> {};

void drawAsOneByOne(const BatchCase& c, SymbolLookahead::Walk walk) {
    RandomSources sources;
    sources.lcg.seed = c.seed;
    sources.ranmar.init(c.ij, c.kl);
    ReferenceLcg lcg{c.seed};
    ReferenceRanmar ranmar;
    ranmar.init(c.ij, c.kl);
    SymbolLookahead ahead(walk);
    for (int batch = 0; batch < 3; ++batch) {
        const std::size_t available = ahead.peek(sources);
        ASSERT_GE(available, SymbolLookahead::kSteps);
        if (batch != 1) {
            ReferenceLcg lcgAhead = lcg;
            ReferenceRanmar ranmarAhead = ranmar;
            std::vector<int> expected(available);
            for (int& symbol : expected) symbol = referenceDrawSymbol(lcgAhead, ranmarAhead, 10);
            // 208 lines from draw 3 or 9, then the batch's last 201 lines: whole and partial
            // vectors and words of the mask, the second time over flags the first left, and
            // draws further than the walk made the second generator's table.
            const std::size_t start = 3 + 6 * static_cast<std::size_t>(batch / 2);
            const std::size_t ends[] = {start + std::size_t{3} * 208, available / 3 * 3};
            for (const std::size_t lines : {208u, 201u}) {
                const std::size_t first = ends[lines % 2] - 3 * lines;
                std::vector<std::uint8_t> firsts(lines);
                std::vector<std::uint64_t> wanted(4, ~std::uint64_t{0});
                ahead.firstSymbols(first, 0b10010, firsts, wanted);  // symbols 1 and 4
                for (std::size_t n = 0; n < lines; ++n) {
                    const int symbol = expected[first + 3 * n];
                    ASSERT_EQ(firsts[n], symbol) << "line " << n;
                    ASSERT_EQ(wanted[n / 64] >> n % 64 & 1u, symbol == 1 || symbol == 4) << n;
                }
                EXPECT_EQ(wanted[3] >> lines % 64, 0u) << "bits past the last line";
            }

            // Listed draws, sparse and up to the batch's last, before any symbol was asked for
            // that far.
            std::vector<std::uint32_t> draws;
            for (std::uint32_t k = 5; k < available; k += 37) draws.push_back(k);
            draws.push_back(static_cast<std::uint32_t>(available - 1));
            std::vector<std::uint32_t> listed(draws.size());
            ahead.symbolsAt(draws, listed);
            for (std::size_t i = 0; i < draws.size(); ++i)
                ASSERT_EQ(listed[i], expected[draws[i]]) << "draw " << draws[i];

            std::vector<std::uint8_t> symbols(available);
            const std::size_t cut = available / 3;
            ahead.symbols(0, std::span(symbols).first(cut));
            ahead.symbols(cut, std::span(symbols).subspan(cut));
            for (std::size_t k = 0; k < available; ++k)
                ASSERT_EQ(symbols[k], expected[k]) << "batch " << batch << " symbol " << k;
        }
        const std::size_t taken = std::min(c.taken, available);
        for (std::size_t k = 0; k < taken; ++k) referenceDrawSymbol(lcg, ranmar, 10);
        ahead.moveOn(sources, taken);
    }
    for (int n = 0; n < 300; ++n)
        ASSERT_EQ(drawSymbol(sources, 10), referenceDrawSymbol(lcg, ranmar, 10));
    EXPECT_EQ(sources.lcg.seed, lcg.seed);
}

// Both walks of the lanes: the processor's fastest, and the one on eight lanes a vector that
// processors without AVX-512 take.
TEST_P(SymbolBatches, DrawAsOneByOne) {
    for (const auto walk : {SymbolLookahead::Walk::Fastest, SymbolLookahead::Walk::Narrow}) {
        SCOPED_TRACE(walk == SymbolLookahead::Walk::Narrow ? "narrow walk" : "fastest walk");
        drawAsOneByOne(GetParam(), walk);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, SymbolBatches,
                         ::testing::Values(BatchCase{12345, 777, 4242, 0},
                                           BatchCase{1, 26950, 941, 1}, BatchCase{0, 982, 0, 3000},
                                           BatchCase{4294967295u, 31328, 30081, 1000000},
                                           BatchCase{20240601, 1802, 9373, 97}));

TEST(DrawSymbol, RejectsZeroAndUnseeded) {
    RandomSources sources;
    EXPECT_THROW(drawSymbol(sources, 10), RandomError);
    sources.ranmar.init(1, 1);
    EXPECT_THROW(drawSymbol(sources, 0), std::invalid_argument);
}

TEST(SeedRandomSources, StartUpChains) {
    struct Case {
        std::uint32_t seed;
        int kl, ij;
        std::array<int, 3> reels;
        std::uint32_t seedAfter;  // 0: not pinned
    };
    const Case cases[] = {{1, 941, 26950, {2, 10, 3}, 2039224980u}, {0, 0, 982, {8, 7, 5}, 0}};
    for (const auto& c : cases) {
        RandomSources sources;
        const SeedRecord record = seedRandomSources(sources, fixedSeed(c.seed));
        EXPECT_EQ(record.seed, c.seed);
        EXPECT_EQ(record.kl, c.kl);
        EXPECT_EQ(record.ij, c.ij);
        for (int reel : c.reels) EXPECT_EQ(drawSymbol(sources, 10), reel);
        if (c.seedAfter != 0) {
            EXPECT_EQ(sources.lcg.seed, c.seedAfter);
        }
    }
}

TEST(SeedRandomSources, ClockSeedCountsTheSteadyClocksFinestTicks) {
    // Two reads 20 ms apart differ by those 20 ms in the steady clock's own units (modulo
    // 2^32), so a seed that stood still, counted whole milliseconds or came from another
    // clock would show. The upper bound only guards against a wrap or a wild value.
    using Clock = std::chrono::steady_clock;
    const auto units = [](auto d) {
        return static_cast<std::uint64_t>(std::chrono::duration_cast<Clock::duration>(d).count());
    };
    const std::uint32_t a = steadyClockSeed();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::uint32_t b = steadyClockSeed();
    const std::uint64_t passed = static_cast<std::uint32_t>(b - a);
    EXPECT_GE(passed, units(std::chrono::milliseconds(20)));
    EXPECT_LT(passed, units(std::chrono::seconds(2)));
}

}  // namespace
}  // namespace fruvana
