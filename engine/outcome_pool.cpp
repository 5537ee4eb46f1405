#include "engine/outcome_pool.h"

#include <bit>

namespace fruvana {

namespace {

// classifyLine for every (s1, s2, s3) with codes 0 to 10, so the fill pays one load per line.
struct ClassTable {
    static constexpr std::size_t kSide = 11;
    std::array<ComboClass, kSide * kSide * kSide> codes{};
    constexpr ClassTable() {
        for (int a = 1; a <= 10; ++a)
            for (int b = 1; b <= 10; ++b)
                for (int c = 1; c <= 10; ++c) codes[index(a, b, c)] = classifyLine(a, b, c);
    }
    constexpr ComboClass operator()(int a, int b, int c) const { return codes[index(a, b, c)]; }
    static constexpr std::size_t index(int a, int b, int c) {
        return (static_cast<std::size_t>(a) * kSide + static_cast<std::size_t>(b)) * kSide +
               static_cast<std::size_t>(c);
    }
};
constexpr ClassTable kClassOf;

}  // namespace

bool playerAhead(const MachineState& state) {
    // The sum wraps as a signed 32-bit integer would; computed unsigned so that it is defined.
    const auto sum = static_cast<std::int32_t>(static_cast<std::uint32_t>(state.credit) +
                                               static_cast<std::uint32_t>(state.account));
    return sum > 2000;
}

void OutcomePool::drawFirstDeal(MachineState& state, RandomSources& sources) {
    const std::int32_t r = sources.lcg.below(10);
    const bool mostlyStingy = playerAhead(state) && state.options.secondDeal;
    const bool stingy = mostlyStingy ? r <= 8 : r <= 5;
    const QuotaTable& quotas = stingy ? stingyQuotas : generousQuotas;

    state.previousSymbols = state.reelSymbols;

    PerClass<std::uint16_t> room = quotas;
    // Bit `code` is set while that class has room.
    std::uint32_t open = 0;
    for (const ComboClass c : kEveryClass)
        if (room[c] > 0) open |= 1u << codeOf(c);
    count_ = 0;
    std::int32_t candidates = 0;
    // Candidate lines of three symbols each, reel 1 first, as drawSymbol(sources, 10) deals them,
    // followed ahead in bulk; the generators then move on past the last one used.
    constexpr std::size_t kChunkLines = 64;  // one bit each in a 64-bit mask
    std::array<std::uint8_t, 3 * kChunkLines> chunk{};
    std::array<ComboClass, kChunkLines> classes{};
    while (count_ < kSize) {
        const std::size_t available = ahead_.peek(sources) / 3 * 3;
        std::size_t used = 0;
        while (used < available && count_ < kSize) {
            const std::size_t lines = std::min(kChunkLines, (available - used) / 3);
            ahead_.symbols(used, std::span(chunk).first(3 * lines));
            // Which lines a class with room would take, found without a branch per line: whether
            // a line is taken is as good as random early in a fill.
            std::uint64_t taken = 0;
            for (std::size_t n = 0; n < lines; ++n) {
                classes[n] = kClassOf(chunk[3 * n], chunk[3 * n + 1], chunk[3 * n + 2]);
                taken |= std::uint64_t{open >> codeOf(classes[n]) & 1u} << n;
            }
            std::size_t looked = lines;
            while (taken != 0) {
                const auto n = static_cast<std::size_t>(std::countr_zero(taken));
                taken &= taken - 1;
                lines_[static_cast<std::size_t>(count_)] =
                    Line{chunk[3 * n], chunk[3 * n + 1], chunk[3 * n + 2]};
                if (++count_ == kSize) {
                    looked = n + 1;
                    break;
                }
                const ComboClass c = classes[n];
                if (--room[c] > 0) continue;
                // The class is full: the later lines of it in this chunk are not taken after all.
                open &= ~(1u << codeOf(c));
                for (std::size_t later = n + 1; later < lines; ++later)
                    if (classes[later] == c) taken &= ~(std::uint64_t{1} << later);
            }
            candidates += static_cast<std::int32_t>(looked);
            used += 3 * looked;
        }
        ahead_.moveOn(sources, used);
    }

    const std::int32_t k = sources.lcg.below(kSize) + 1;
    state.reelSymbols = line(k);
    last_ = FirstDealRecord{stingy ? QuotaChoice::Stingy : QuotaChoice::Generous, candidates, k};
}

void OutcomePool::drawSecondDeal(MachineState& state, RandomSources& sources) {
    for (std::size_t n = 0; n < 3; ++n)
        if (!state.held[n]) state.previousSymbols[n] = state.reelSymbols[n];

    auto redraw = [&] {
        for (std::size_t n = 0; n < 3; ++n)
            if (!state.held[n]) state.reelSymbols[n] = drawSymbol(sources, kSymbolCount);
    };

    if (playerAhead(state)) {
        redraw();
        const ComboClass c1 = classifyLine(state.reelSymbols);
        const Line first = state.reelSymbols;
        redraw();
        const ComboClass c2 = classifyLine(state.reelSymbols);
        // The poorer line (later in best-paid order) stands; on a tie the second line stands.
        if (c2 < c1) state.reelSymbols = first;
    } else {
        redraw();
    }
}

}  // namespace fruvana
