#include "engine/outcome_pool.h"

#include <bit>
#include <span>

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

// The openings of each class alone, indexed by its code.
constexpr std::array<LineOpenings, kClassCount + 1> kOpeningsOf = [] {
    std::array<LineOpenings, kClassCount + 1> of{};
    for (int a = 1; a <= kSymbolCount; ++a)
        for (int b = 1; b <= kSymbolCount; ++b)
            for (int c = 1; c <= kSymbolCount; ++c) {
                LineOpenings& o = of[static_cast<std::size_t>(codeOf(classifyLine(a, b, c)))];
                o.first |= static_cast<std::uint16_t>(1u << a);
                o.second[static_cast<std::size_t>(a)] |= static_cast<std::uint16_t>(1u << b);
            }
    return of;
}();

constexpr std::uint16_t kEverySymbol = (1u << (kSymbolCount + 1)) - 2;  // bits 1 to kSymbolCount

// One fill of the pool: the lines taken so far and the room each class has left.
class PoolFill {
  public:
    PoolFill(const QuotaTable& quotas, std::span<Line, OutcomePool::kSize> lines)
        : room_(quotas), lines_(lines) {
        for (const ComboClass c : kEveryClass)
            if (room_[c] > 0) open_ |= 1u << codeOf(c);
        openings_ = openingsOf(open_);
    }

    bool full() const { return count_ == OutcomePool::kSize; }
    int count() const { return count_; }

    // Looks at coming candidate lines from draw `first` on, at most `most` of them, and takes the
    // ones whose class has room; returns how many it looked at, up to the one that filled the
    // pool.
    std::size_t lookAt(SymbolLookahead& ahead, std::size_t first, std::size_t most) {
        return openings_.first == kEverySymbol ? lookAtAll(ahead, first, most)
                                               : lookAtFew(ahead, first, most);
    }

  private:
    static constexpr std::size_t kChunkLines = 64;  // one bit each in a 64-bit mask
    // Late in a fill lines are turned away on their first or second symbol, in longer chunks.
    static constexpr std::size_t kFewOpenLines = 256;

    // Takes a line of class c; false once the pool is full.
    bool take(const Line& symbols, ComboClass c) {
        lines_[static_cast<std::size_t>(count_)] = symbols;
        if (++count_ == OutcomePool::kSize) return false;
        if (--room_[c] == 0) {
            open_ &= ~(1u << codeOf(c));
            openings_ = openingsOf(open_);
        }
        return true;
    }

    // Every symbol of every line, while any first symbol can still begin an open class.
    std::size_t lookAtAll(SymbolLookahead& ahead, std::size_t first, std::size_t most) {
        const std::size_t lines = std::min(kChunkLines, most);
        ahead.symbols(first, std::span(chunk_).first(3 * lines));
        // Which lines a class with room would take, found without a branch per line: whether a
        // line is taken is as good as random early in a fill.
        std::uint64_t taken = 0;
        for (std::size_t n = 0; n < lines; ++n) {
            classes_[n] = kClassOf(chunk_[3 * n], chunk_[3 * n + 1], chunk_[3 * n + 2]);
            taken |= std::uint64_t{open_ >> codeOf(classes_[n]) & 1u} << n;
        }
        while (taken != 0) {
            const auto n = static_cast<std::size_t>(std::countr_zero(taken));
            taken &= taken - 1;
            const ComboClass c = classes_[n];
            if (!take(Line{chunk_[3 * n], chunk_[3 * n + 1], chunk_[3 * n + 2]}, c)) return n + 1;
            if ((open_ >> codeOf(c) & 1u) != 0) continue;
            // The class is full: its later lines in this chunk are not taken after all.
            for (std::size_t later = n + 1; later < lines; ++later)
                if (classes_[later] == c) taken &= ~(std::uint64_t{1} << later);
        }
        return lines;
    }

    // Only the lines whose first symbol can still begin an open class are drawn on, and of those
    // only the ones whose second symbol can too.
    std::size_t lookAtFew(SymbolLookahead& ahead, std::size_t first, std::size_t most) {
        const std::size_t lines = std::min(kFewOpenLines, most);
        std::array<std::uint64_t, kFewOpenLines / 64> maybe{};
        ahead.firstSymbols(first, openings_.first, std::span(firsts_).first(lines), maybe);
        // The second draws of the lines that may be taken.
        std::size_t listed = 0;
        for (std::size_t block = 0; block < lines; block += 64) {
            for (std::uint64_t m = maybe[block / 64]; m != 0; m &= m - 1) {
                const std::size_t n = block + static_cast<std::size_t>(std::countr_zero(m));
                firstOf_[listed] = firsts_[n];
                draws_[listed++] = static_cast<std::uint32_t>(first + 3 * n + 1);
            }
        }
        ahead.symbolsAt(std::span(draws_).first(listed), std::span(seconds_));
        // The third draws of those the second symbol leaves in.
        // (Each line's values are read before any is written: a store through the byte array
        // could be a store to any of them.)
        std::size_t kept = 0;
        for (std::size_t i = 0; i < listed; ++i) {
            const std::uint8_t firstSymbol = firstOf_[i];
            const std::uint32_t second = seconds_[i];
            const std::uint32_t draw = draws_[i];
            const std::uint32_t keep = openings_.second[firstSymbol] >> second & 1u;
            firstOf_[kept] = firstSymbol;
            seconds_[kept] = second;
            draws_[kept] = draw + 1;
            kept += keep;
        }
        ahead.symbolsAt(std::span(draws_).first(kept), std::span(thirds_));
        for (std::size_t i = 0; i < kept; ++i) {
            const Line symbols{firstOf_[i], static_cast<std::uint8_t>(seconds_[i]),
                               static_cast<std::uint8_t>(thirds_[i])};
            const ComboClass c = kClassOf(symbols[0], symbols[1], symbols[2]);
            if ((open_ >> codeOf(c) & 1u) == 0) continue;
            if (!take(symbols, c)) return (draws_[i] - first) / 3 + 1;
        }
        return lines;
    }

    PerClass<std::uint16_t> room_;
    std::uint32_t open_ = 0;  // bit `code` set while that class has room
    LineOpenings openings_;
    std::span<Line, OutcomePool::kSize> lines_;
    int count_ = 0;
    // The chunk's symbols and classes, all lines' or, late in a fill, the first symbols, and
    // the symbols drawn on with the draws they come from.
    std::array<std::uint8_t, 3 * kChunkLines> chunk_{};
    std::array<ComboClass, kChunkLines> classes_{};
    std::array<std::uint8_t, kFewOpenLines> firsts_{}, firstOf_{};
    std::array<std::uint32_t, kFewOpenLines> draws_{}, seconds_{}, thirds_{};
};

}  // namespace

LineOpenings openingsOf(std::uint32_t classes) {
    LineOpenings all;
    for (const ComboClass c : kEveryClass) {
        if ((classes >> codeOf(c) & 1u) == 0) continue;
        const LineOpenings& one = kOpeningsOf[static_cast<std::size_t>(codeOf(c))];
        all.first |= one.first;
        for (std::size_t s = 1; s < all.second.size(); ++s) all.second[s] |= one.second[s];
    }
    return all;
}

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

    PoolFill fill(quotas, lines_);
    std::int32_t candidates = 0;
    // Candidate lines of three symbols each, reel 1 first, as drawSymbol(sources, 10) deals them,
    // followed ahead in bulk; the generators then move on past the last one used.
    while (!fill.full()) {
        const std::size_t available = ahead_.peek(sources) / 3 * 3;
        std::size_t used = 0;
        while (used < available && !fill.full()) {
            const std::size_t looked = fill.lookAt(ahead_, used, (available - used) / 3);
            candidates += static_cast<std::int32_t>(looked);
            used += 3 * looked;
        }
        ahead_.moveOn(sources, used);
    }
    count_ = fill.count();

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
