#pragma once
// The distributions and tests that --certify reports: the chi-square and normal tails, Pearson's
// goodness of fit, the runs test and the lag-1 serial correlation of a stream of symbols.

#include <array>
#include <cstdint>
#include <span>

namespace fruvana::sim {

// A test fails when its p-value falls below this: a verdict at 99 %.
inline constexpr double kSignificance = 0.01;
// P(X >= x) for X chi-square with df degrees of freedom.
double chiSquareUpperTail(double x, double df);
// P(|Z| >= |z|) for a standard normal Z.
double normalTwoSided(double z);
// The z that leaves (1 - level) / 2 in each tail of the standard normal.
double normalQuantile(double level);

struct TestResult {
    bool valid = false;  // false: too little data for the test to say anything
    double statistic = 0;
    int df = 0;  // 0 for a normal statistic
    double pValue = 1;
    bool pass() const { return pValue >= kSignificance; }
};

// Pearson's chi-square of observed counts against the probability of each cell. Cells expecting
// fewer than 5 are pooled into one (with the next smallest while the pool still expects fewer),
// so the chi-square law still holds; cells of probability 0 must stay empty.
TestResult chiSquareFit(std::span<const std::int64_t> observed,
                        std::span<const double> probability);

// The Wald-Wolfowitz runs test: a two-valued sequence with n1 of one value, n2 of the other,
// and the number of runs of equal values, against the count a random order gives.
TestResult runsTest(std::int64_t n1, std::int64_t n2, std::int64_t runs);

// A stream of symbols 1 to 10 as the tests need it: kept in whole numbers, so that tallies of
// consecutive stretches join exactly, in any grouping, into the tally of the whole stream.
struct SymbolTally {
    std::array<std::int64_t, 10> counts{};
    std::int64_t draws = 0;
    std::int64_t lagProducts = 0;  // the sum of x(i) x(i + 1)
    std::int64_t runs = 0;         // of low (1 to 5) and high (6 to 10) symbols
    int first = 0;
    int last = 0;

    // The next symbols of the stream, in order.
    void add(std::span<const std::uint8_t> symbols);
    // The tally of this stretch followed by `next`.
    void append(const SymbolTally& next);

    friend bool operator==(const SymbolTally&, const SymbolTally&) = default;
};

// The symbols against 1 to 10 equally likely (9 degrees of freedom).
TestResult uniformSymbols(const SymbolTally& tally);
// Runs of low and high symbols.
TestResult symbolRuns(const SymbolTally& tally);
// The circular lag-1 serial correlation coefficient C, its value as the statistic, judged
// against mean -1/(n-1) and variance n(n-3)/((n+1)(n-1)^2) of independent draws.
TestResult serialCorrelation(const SymbolTally& tally);

}  // namespace fruvana::sim
