#include "engine/outcome_pool.h"

#include <gtest/gtest.h>

#include <vector>

namespace fruvana {
namespace {

RandomSources seeded(std::uint32_t seed) {
    RandomSources sources;
    seedRandomSources(sources, [seed] { return seed; });
    return sources;
}

TEST(ClassifyLine, CensusOverAllCombinations) {
    PerClass<int> census{};
    for (int a = 1; a <= 10; ++a)
        for (int b = 1; b <= 10; ++b)
            for (int c = 1; c <= 10; ++c) ++census[classifyLine(a, b, c)];
    const PerClass<int> expected = {{1, 1, 1, 1, 1, 1, 26, 26, 24, 189, 189, 540}};
    EXPECT_EQ(census, expected);
}

TEST(ClassifyLine, ListedLines) {
    const struct {
        Line line;
        int code;
    } cases[] = {
        {{1, 1, 1}, 1},    {{2, 2, 2}, 2},  {{3, 3, 3}, 3},   {{4, 4, 4}, 4},   {{9, 9, 9}, 5},
        {{10, 10, 10}, 6}, {{5, 5, 5}, 7},  {{6, 6, 6}, 7},   {{1, 5, 6}, 7},   {{8, 8, 8}, 8},
        {{7, 7, 7}, 8},    {{7, 8, 3}, 8},  {{10, 10, 4}, 9}, {{1, 4, 5}, 10},  {{2, 5, 1}, 10},
        {{1, 4, 6}, 10},   {{4, 1, 5}, 10}, {{2, 9, 4}, 11},  {{9, 10, 2}, 11}, {{3, 7, 2}, 12},
        {{2, 2, 1}, 12},   {{2, 2, 9}, 12},
    };
    for (const auto& c : cases)
        EXPECT_EQ(codeOf(classifyLine(c.line)), c.code)
            << int(c.line[0]) << "," << int(c.line[1]) << "," << int(c.line[2]);
}

// A table whose quotas sum below the pool's size never ends a fill; one above it leaves the
// last classes short. The fill itself is checked against each quota in HoldsExactlyTheQuota.
constexpr int quotaSum(const QuotaTable& table) {
    int sum = 0;
    for (const ComboClass c : kEveryClass) sum += table[c];
    return sum;
}
static_assert(quotaSum(generousQuotas) == OutcomePool::kSize);
static_assert(quotaSum(stingyQuotas) == OutcomePool::kSize);

TEST(PlayerAhead, ThresholdAndWrap) {
    MachineState state;
    state.credit = 1000;
    state.account = 1000;
    EXPECT_FALSE(playerAhead(state));
    state.account = 1001;
    EXPECT_TRUE(playerAhead(state));
    state.win = 100000;  // the pending win does not count
    state.account = 0;
    EXPECT_FALSE(playerAhead(state));
    // A sum past the int32 range wraps, as a 32-bit machine would see it.
    state.credit = 9'999'999;
    state.account = 2'147'483'647 - 5'000'000;
    EXPECT_FALSE(playerAhead(state));
}

TEST(OutcomePool, WorkedExampleFromSeedOne) {
    RandomSources sources = seeded(1);
    MachineState state = freshMachineState();
    for (auto& s : state.reelSymbols) s = drawSymbol(sources, 10);
    ASSERT_EQ(state.reelSymbols, (Line{2, 10, 3}));
    OutcomePool pool;
    pool.drawFirstDeal(state, sources);  // credit + account = 0: not ahead
    EXPECT_EQ(pool.lastFirstDeal().table, QuotaChoice::Stingy);
    EXPECT_EQ(pool.lastFirstDeal().candidates, 6099);
    EXPECT_EQ(pool.lastFirstDeal().pick, 334);
    EXPECT_EQ(state.reelSymbols, (Line{7, 8, 1}));
    EXPECT_EQ(state.previousSymbols, (Line{2, 10, 3}));
    EXPECT_EQ(classifyLine(state.reelSymbols), ComboClass::NoWin);
    EXPECT_EQ(sources.lcg.seed, 1434291500u);
}

TEST(OutcomePool, HoldsExactlyTheQuotaAfterEveryFill) {
    RandomSources sources = seeded(99);
    MachineState state = freshMachineState();
    state.reelSymbols = {1, 1, 1};
    OutcomePool pool;
    int seen[2] = {0, 0};
    for (int deal = 0; deal < 12; ++deal) {
        state.account = (deal % 2) ? 5000 : -1000;  // ahead every other deal
        pool.drawFirstDeal(state, sources);
        const bool stingy = pool.lastFirstDeal().table == QuotaChoice::Stingy;
        ++seen[stingy];
        const QuotaTable& quotas = stingy ? stingyQuotas : generousQuotas;
        QuotaTable census{};
        for (int n = 1; n <= OutcomePool::kSize; ++n) ++census[classifyLine(pool.line(n))];
        EXPECT_EQ(census, quotas);
        EXPECT_EQ(pool.count(), 1000);
        EXPECT_EQ(state.reelSymbols, pool.line(pool.lastFirstDeal().pick));
        EXPECT_GE(pool.lastFirstDeal().candidates, 1000);
    }
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
}

// The fill as the rules state it, one candidate line of three draws at a time, on a copy of the
// generators: the bulk fill takes the same lines and leaves the generators where this one does,
// for both tables, over many chunk and batch ends.
TEST(OutcomePool, FillsAsLinesDrawnOneByOne) {
    RandomSources sources = seeded(2024);
    MachineState state = freshMachineState();
    OutcomePool pool;
    int seen[2] = {0, 0};
    for (int deal = 0; deal < 8; ++deal) {
        RandomSources reference = sources;
        pool.drawFirstDeal(state, sources);
        reference.lcg.below(10);  // the table choice
        const bool stingy = pool.lastFirstDeal().table == QuotaChoice::Stingy;
        ++seen[stingy];
        QuotaTable room = stingy ? stingyQuotas : generousQuotas;
        std::vector<Line> lines;
        int candidates = 0;
        while (lines.size() < OutcomePool::kSize) {
            Line line{};
            for (auto& symbol : line) symbol = drawSymbol(reference, 10);
            ++candidates;
            if (room[classifyLine(line)] == 0) continue;
            --room[classifyLine(line)];
            lines.push_back(line);
        }
        ASSERT_EQ(pool.lastFirstDeal().candidates, candidates) << "deal " << deal;
        for (int n = 1; n <= OutcomePool::kSize; ++n)
            ASSERT_EQ(pool.line(n), lines[static_cast<std::size_t>(n - 1)]) << "line " << n;
        EXPECT_EQ(pool.lastFirstDeal().pick, reference.lcg.below(OutcomePool::kSize) + 1);
        EXPECT_EQ(sources.lcg.seed, reference.lcg.seed);
        EXPECT_EQ(sources.ranmar.nextScaled(), reference.ranmar.nextScaled());
    }
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
}

// A line of a class among those asked for always gets past both the first and the second symbol;
// the fill would lose it otherwise. Each class alone, and two mixes late fills see.
TEST(LineOpenings, LetEveryLineOfTheClassesThrough) {
    std::vector<std::uint32_t> sets;
    sets.reserve(kEveryClass.size() + 2);
    for (const ComboClass c : kEveryClass) sets.push_back(1u << codeOf(c));
    sets.push_back(1u << codeOf(ComboClass::ThreeMelons) | 1u << codeOf(ComboClass::AnyTwoFruits));
    sets.push_back(1u << codeOf(ComboClass::ThreeBells) | 1u << codeOf(ComboClass::AnyThreeBars));
    for (const std::uint32_t classes : sets) {
        const LineOpenings openings = openingsOf(classes);
        int through = 0;
        for (int a = 1; a <= 10; ++a)
            for (int b = 1; b <= 10; ++b)
                for (int c = 1; c <= 10; ++c) {
                    if ((classes >> codeOf(classifyLine(a, b, c)) & 1u) == 0) continue;
                    ++through;
                    ASSERT_TRUE(openings.first >> a & 1u) << a << b << c;
                    ASSERT_TRUE(openings.second[static_cast<std::size_t>(a)] >> b & 1u) << a << b;
                }
        EXPECT_GT(through, 0) << classes;
    }
    // Late in a fill: only the three bells are left, so only a bell begins a line.
    EXPECT_EQ(openingsOf(1u << codeOf(ComboClass::ThreeBells)).first, 1u << 2);
}

// The table follows from the first number drawn; replay it on a copy of the generator.
TEST(OutcomePool, TableChoiceFollowsAheadAndSecondDeal) {
    struct Case {
        std::int32_t credit, account;
        bool secondDeal;
        int stingyBelow;  // stingy when r < this
    };
    const Case cases[] = {{1000, 1000, 1, 6}, {1000, 1001, 1, 9}, {1000, 1001, 0, 6}, {0, 0, 0, 6}};
    for (const auto& c : cases) {
        for (std::uint32_t seed = 0; seed < 40; ++seed) {
            RandomSources sources = seeded(seed);
            LcgRandom probe = sources.lcg;
            const int r = probe.below(10);
            MachineState state = freshMachineState();
            state.reelSymbols = {1, 2, 3};
            state.credit = c.credit;
            state.account = c.account;
            state.options.secondDeal = c.secondDeal;
            OutcomePool pool;
            pool.drawFirstDeal(state, sources);
            const QuotaChoice want =
                r < c.stingyBelow ? QuotaChoice::Stingy : QuotaChoice::Generous;
            ASSERT_EQ(pool.lastFirstDeal().table, want) << "credit " << c.credit << " r " << r;
        }
    }
}

TEST(SecondDeal, RedrawsOnlyReelsNotHeld) {
    RandomSources sources = seeded(7);
    for (int trial = 0; trial < 50; ++trial) {
        MachineState state = freshMachineState();
        state.previousSymbols = {4, 4, 4};
        state.reelSymbols = {9, 2, 6};
        state.held = {1, 0, 1};
        OutcomePool::drawSecondDeal(state, sources);
        EXPECT_EQ(state.reelSymbols[0], 9);
        EXPECT_EQ(state.reelSymbols[2], 6);
        EXPECT_EQ(state.previousSymbols, (Line{4, 2, 4}));
        EXPECT_GE(state.reelSymbols[1], 1);
        EXPECT_LE(state.reelSymbols[1], 10);
    }
}

// Replays the two draws of an ahead second deal on a copy of the generators.
TEST(SecondDeal, AheadKeepsThePoorerLineAndTiesGoToTheSecond) {
    int restored = 0, second = 0, ties = 0;
    for (std::uint32_t seed = 0; seed < 400; ++seed) {
        RandomSources sources = seeded(seed);
        RandomSources probe = sources;
        MachineState state = freshMachineState();
        state.credit = 5000;
        state.account = 0;
        state.reelSymbols = {1, 3, 9};
        state.held = {0, 0, 0};
        const Line first = {drawSymbol(probe, 10), drawSymbol(probe, 10), drawSymbol(probe, 10)};
        const Line again = {drawSymbol(probe, 10), drawSymbol(probe, 10), drawSymbol(probe, 10)};
        OutcomePool::drawSecondDeal(state, sources);
        const ComboClass c1 = classifyLine(first), c2 = classifyLine(again);
        if (c2 < c1) {
            ASSERT_EQ(state.reelSymbols, first);
            ++restored;
        } else {
            ASSERT_EQ(state.reelSymbols, again);
            ++(c1 == c2 ? ties : second);
        }
        EXPECT_EQ(sources.lcg.seed, probe.lcg.seed);
    }
    EXPECT_GT(restored, 0);
    EXPECT_GT(second, 0);
    EXPECT_GT(ties, 0);
}

TEST(SecondDeal, NotAheadDrawsOnce) {
    RandomSources sources = seeded(3);
    RandomSources probe = sources;
    MachineState state = freshMachineState();  // credit + account = 0
    state.reelSymbols = {1, 1, 1};
    state.held = {0, 1, 0};
    OutcomePool::drawSecondDeal(state, sources);
    const std::uint8_t r1 = drawSymbol(probe, 10), r3 = drawSymbol(probe, 10);
    EXPECT_EQ(state.reelSymbols, (Line{r1, 1, r3}));
    EXPECT_EQ(sources.lcg.seed, probe.lcg.seed);
}

}  // namespace
}  // namespace fruvana
