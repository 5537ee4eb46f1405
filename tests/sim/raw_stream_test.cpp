#include "tools/sim/raw_stream.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/sim/sim_run.h"

namespace fruvana::sim {
namespace {

// The generators again, from their published descriptions alone, sharing no code with the game.

// x' = 134775813 x + 1 modulo 2^32 (multiplier 0x08088405); a draw below n is (x' n) >> 32.
struct ReferenceLcg {
    std::uint32_t x;
    std::uint32_t step() { return x = x * 134775813u + 1u; }
    std::int32_t below(std::uint32_t n) {
        return static_cast<std::int32_t>((static_cast<std::uint64_t>(step()) * n) >> 32);
    }
};

// The lagged Fibonacci generator with its arithmetic sequence, in doubles, as published.
class ReferenceRanmar {
  public:
    ReferenceRanmar(int ij, int kl) {
        int i = (ij / 177) % 177 + 2, j = ij % 177 + 2, k = (kl / 169) % 178 + 1, l = kl % 169;
        for (double& entry : u_) {
            double s = 0, t = 0.5;
            for (int bit = 0; bit < 24; ++bit) {
                const int m = (((i * j) % 179) * k) % 179;
                i = j;
                j = k;
                k = m;
                l = (53 * l + 1) % 169;
                if ((l * m) % 64 >= 32) s += t;
                t *= 0.5;
            }
            entry = s;
        }
    }
    double next() {
        double uni = u_[i97_ - 1] - u_[j97_ - 1];
        if (uni < 0) uni += 1;
        u_[i97_ - 1] = uni;
        if (--i97_ == 0) i97_ = 97;
        if (--j97_ == 0) j97_ = 97;
        c_ -= 7654321.0 / 16777216.0;
        if (c_ < 0) c_ += 16777213.0 / 16777216.0;
        uni -= c_;
        return uni < 0 ? uni + 1 : uni;
    }
    std::uint32_t next24() { return static_cast<std::uint32_t>(next() * 16777216.0); }

  private:
    std::array<double, 97> u_{};
    int i97_ = 97, j97_ = 33;
    double c_ = 362436.0 / 16777216.0;
};

TEST(ReferenceRanmar, PublishedCheckValues) {
    // Seeds 1802 and 9373: after 20000 numbers the next six, times 2^24, are these.
    ReferenceRanmar r(1802, 9373);
    for (int n = 0; n < 20000; ++n) r.next();
    for (const std::uint32_t want : {6533892u, 14220222u, 7275067u, 6172232u, 8354498u, 10633180u})
        EXPECT_EQ(r.next24(), want);
}

// The game's seeding: kl below 30001, then ij below 31300, from the first generator (the
// members are initialised in the order they are declared).
struct Seeded {
    explicit Seeded(std::uint32_t seed)
        : lcg{seed}, kl(lcg.below(30001)), ij(lcg.below(31300)), ranmar(ij, kl) {}
    ReferenceLcg lcg;
    int kl, ij;
    ReferenceRanmar ranmar;
};

// 1 to 10 passes; each pass steps the first generator (a = its draw below 125479) and takes a
// number r of the second; the last pass gives round-half-even(a + 123117 r) mod 10 + 1.
std::uint32_t referenceSymbol(Seeded& g) {
    const int passes = g.lcg.below(10) + 1;
    int a = 0;
    double r = 0;
    for (int p = 0; p < passes; ++p) {
        a = g.lcg.below(125479);
        r = g.ranmar.next();
    }
    return static_cast<std::uint32_t>(std::nearbyint(a + 123117.0 * r)) % 10 + 1;
}

std::vector<std::uint32_t> referenceWords(const std::string& kind, std::uint32_t seed,
                                          std::size_t count) {
    std::vector<std::uint32_t> words;
    if (kind == "lcg") {
        ReferenceLcg lcg{seed};
        while (words.size() < count) words.push_back(lcg.step());
        return words;
    }
    Seeded g(seed);
    while (words.size() < count) {
        if (kind == "ranmar") {
            // Four 24-bit numbers make three words, most significant bits first.
            const std::uint32_t a = g.ranmar.next24(), b = g.ranmar.next24(), c = g.ranmar.next24(),
                                d = g.ranmar.next24();
            words.insert(words.end(), {a << 8 | b >> 16, b << 16 | c >> 8, c << 24 | d});
        } else {
            std::uint32_t w = 0;
            for (int n = 0; n < 8; ++n) w = w << 4 | referenceSymbol(g);
            words.push_back(w);
        }
    }
    words.resize(count);
    return words;
}

struct StreamCase {
    std::string kind;
    std::uint32_t seed;
};

class RawStream : public ::testing::TestWithParam<StreamCase> {};

TEST_P(RawStream, FirstWordsMatchTheReference) {
    const StreamCase& c = GetParam();
    constexpr std::size_t kWords = 30;
    const CommandRun run = runSim({"--rng-stream", c.kind, "--seed", std::to_string(c.seed),
                                   "--bytes", std::to_string(kWords * 4)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    ASSERT_EQ(run.out.size(), kWords * 4);
    const std::vector<std::uint32_t> want = referenceWords(c.kind, c.seed, kWords);
    for (std::size_t i = 0; i < kWords; ++i) {
        std::uint32_t word = 0;
        for (std::size_t b = 0; b < 4; ++b)  // least significant byte first
            word |= std::uint32_t{static_cast<unsigned char>(run.out[4 * i + b])} << (8 * b);
        EXPECT_EQ(word, want[i]) << c.kind << " word " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, RawStream,
                         ::testing::Values(StreamCase{"lcg", 1}, StreamCase{"lcg", 4294967295u},
                                           StreamCase{"ranmar", 0}, StreamCase{"ranmar", 42},
                                           StreamCase{"symbols", 1}, StreamCase{"symbols", 42}));

TEST(RawStream, ByteCountCanCutAWord) {
    const CommandRun run = runSim({"--rng-stream", "lcg", "--seed", "1", "--bytes", "3"});
    // 134775814 = 0x08088406, least significant byte first.
    EXPECT_EQ(run.out, std::string("\x06\x84\x08", 3));
}

TEST(RawStream, AReaderThatStopsEndsTheStreamQuietly) {
    // The real program into a pipe that closes after 100 bytes: exit 0 and nothing said.
    const std::string command = std::string("bash -c 'set -o pipefail; \"") + FRUVANA_SIM_BINARY +
                                "\" --rng-stream symbols --seed 3 2>&1 | head -c 100 | wc -c | "
                                "grep -qx 100'";
    EXPECT_EQ(std::system(command.c_str()), 0);
}

}  // namespace
}  // namespace fruvana::sim
