#include "tools/sim/statistics.h"

#include <algorithm>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

namespace fruvana::sim {

namespace {

TestResult normalResult(double z) {
    if (!std::isfinite(z)) return {false, z, 0, 1.0};
    return {true, z, 0, normalTwoSided(z)};
}

// Deliberate: the exact products of counts near 10^10 overflow 64 bits, and their differences
// cancel almost all of their digits, so they are formed in 128 bits.
__extension__ using Wide = __int128;

}  // namespace

double chiSquareUpperTail(double x, double df) {
    return boost::math::gamma_q(df / 2.0, x / 2.0);
}

double normalTwoSided(double z) {
    return 2 * cdf(complement(boost::math::normal(), std::abs(z)));
}

double normalQuantile(double level) {
    return quantile(boost::math::normal(), 0.5 + level / 2);
}

TestResult chiSquareFit(std::span<const std::int64_t> observed,
                        std::span<const double> probability) {
    const std::size_t cells = std::min(observed.size(), probability.size());
    double n = 0;
    for (std::size_t i = 0; i < cells; ++i) n += static_cast<double>(observed[i]);
    if (n <= 0) return {};

    // Each cell as (expected, observed); cells of probability 0 take no part unless one was hit,
    // which no chance can explain.
    struct Cell {
        double expected;
        double observed;
    };
    std::vector<Cell> all;
    for (std::size_t i = 0; i < cells; ++i) {
        const auto seen = static_cast<double>(observed[i]);
        if (probability[i] > 0)
            all.push_back({probability[i] * n, seen});
        else if (seen > 0)
            return {true, std::numeric_limits<double>::infinity(), static_cast<int>(cells) - 1, 0};
    }
    std::sort(all.begin(), all.end(),
              [](const Cell& a, const Cell& b) { return a.expected < b.expected; });
    Cell pool{0, 0};
    auto next = all.begin();
    while (next != all.end() && (next->expected < 5 || (pool.expected > 0 && pool.expected < 5))) {
        pool.expected += next->expected;
        pool.observed += next->observed;
        ++next;
    }
    std::vector<Cell> kept(next, all.end());
    if (pool.expected > 0) kept.insert(kept.begin(), pool);
    if (kept.size() < 2) return {};

    double chi = 0;
    for (const Cell& c : kept)
        chi += (c.observed - c.expected) * (c.observed - c.expected) / c.expected;
    const int df = static_cast<int>(kept.size()) - 1;
    return {true, chi, df, chiSquareUpperTail(chi, df)};
}

TestResult runsTest(std::int64_t n1, std::int64_t n2, std::int64_t runs) {
    if (n1 <= 0 || n2 <= 0) return {};
    const auto a = static_cast<double>(n1);
    const auto b = static_cast<double>(n2);
    const double n = a + b;
    const double mean = 2 * a * b / n + 1;
    const double variance = 2 * a * b * (2 * a * b - n) / (n * n * (n - 1));
    if (!(variance > 0)) return {};
    return normalResult((static_cast<double>(runs) - mean) / std::sqrt(variance));
}

void SymbolTally::add(std::span<const std::uint8_t> symbols) {
    if (symbols.empty()) return;
    // The stretch's own tally in one pass without branches, then joined on.
    SymbolTally stretch;
    stretch.first = symbols.front();
    stretch.last = symbols.back();
    stretch.draws = static_cast<std::int64_t>(symbols.size());
    stretch.runs = 1;
    for (const std::uint8_t s : symbols) ++stretch.counts[static_cast<std::size_t>(s - 1)];
    for (std::size_t i = 1; i < symbols.size(); ++i) {
        stretch.lagProducts += static_cast<std::int64_t>(symbols[i - 1]) * symbols[i];
        stretch.runs += (symbols[i - 1] > 5) != (symbols[i] > 5) ? 1 : 0;
    }
    append(stretch);
}

void SymbolTally::append(const SymbolTally& next) {
    if (next.draws == 0) return;
    if (draws == 0) {
        *this = next;
        return;
    }
    for (std::size_t i = 0; i < counts.size(); ++i) counts[i] += next.counts[i];
    lagProducts += next.lagProducts + static_cast<std::int64_t>(last) * next.first;
    runs += next.runs - ((last > 5) == (next.first > 5) ? 1 : 0);
    last = next.last;
    draws += next.draws;
}

TestResult uniformSymbols(const SymbolTally& tally) {
    const std::array<double, 10> equal{0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1, 0.1};
    return chiSquareFit(tally.counts, equal);
}

TestResult symbolRuns(const SymbolTally& tally) {
    const std::int64_t low = std::accumulate(tally.counts.begin(), tally.counts.begin() + 5,
                                             std::int64_t{0});  // symbols 1 to 5
    return runsTest(low, tally.draws - low, tally.runs);
}

TestResult serialCorrelation(const SymbolTally& tally) {
    const std::int64_t n = tally.draws;
    if (n < 4) return {};
    Wide sum = 0, squares = 0;
    for (std::size_t i = 0; i < tally.counts.size(); ++i) {
        const Wide x = static_cast<Wide>(i) + 1;
        sum += x * tally.counts[i];
        squares += x * x * tally.counts[i];
    }
    // The circular form: the last draw is followed by the first.
    const Wide products = static_cast<Wide>(tally.lagProducts) + Wide{tally.last} * tally.first;
    const Wide denominator = Wide{n} * squares - sum * sum;
    if (denominator == 0) return {};  // every draw the same: no correlation to speak of
    const double c =
        static_cast<double>(Wide{n} * products - sum * sum) / static_cast<double>(denominator);
    const auto dn = static_cast<double>(n);
    const double mean = -1.0 / (dn - 1);
    const double sd = std::sqrt(dn * (dn - 3) / (dn + 1)) / (dn - 1);
    TestResult r = normalResult((c - mean) / sd);
    r.statistic = c;
    return r;
}

}  // namespace fruvana::sim
