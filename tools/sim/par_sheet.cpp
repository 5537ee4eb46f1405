#include "tools/sim/par_sheet.h"

#include <fmt/format.h>

#include <boost/math/distributions/binomial.hpp>
#include <cmath>
#include <ostream>
#include <vector>

#include "engine/game.h"
#include "engine/outcome_pool.h"
#include "tools/sim/json.h"
#include "tools/sim/silent_services.h"

namespace fruvana::sim {

namespace {

// Hold sets are masks: bit n set when reel n + 1 is held.
constexpr int kAllHeld = 0b111;

double pay(ComboClass comboClass) {
    return kPaytableMultipliers[comboClass];
}

// Line number 0 to 999 as the reels show it, reel 1 first.
Line lineOf(int index) {
    return {static_cast<std::uint8_t>(index / 100 + 1),
            static_cast<std::uint8_t>(index / 10 % 10 + 1),
            static_cast<std::uint8_t>(index % 10 + 1)};
}

// Pay per unit bet of one game outcome: its mean, the mean of its square, and the chance of
// any pay.
struct Moments {
    double pay = 0;
    double paySquared = 0;
    double hit = 0;
};

// The class chances of the second deal of the reels not in heldMask, symbols equally likely;
// when ahead, the poorer (higher-coded) of two independent lines stands.
PerClass<double> secondDealChances(const Line& line, int heldMask, bool ahead) {
    // The lines the reels can show with the held reels' symbols kept, all equally likely.
    PerClass<std::int64_t> counts{};
    std::int64_t total = 0;
    for (int index = 0; index < 1000; ++index) {
        const Line drawn = lineOf(index);
        bool kept = true;
        for (std::size_t reel = 0; reel < 3; ++reel)
            if ((heldMask & (1 << reel)) != 0 && drawn[reel] != line[reel]) kept = false;
        if (!kept) continue;
        ++counts[classifyLine(drawn)];
        ++total;
    }
    PerClass<double> probability{};
    std::int64_t below = 0;
    for (const ComboClass c : kEveryClass) {
        // Ahead, P(poorer of two <= c) = P(one <= c) squared.
        const std::int64_t upTo = below + counts[c];
        probability[c] = ahead ? static_cast<double>(upTo * upTo - below * below) /
                                     static_cast<double>(total * total)
                               : static_cast<double>(counts[c]) / static_cast<double>(total);
        below = upTo;
    }
    return probability;
}

Moments gameMoments(const Line& line, int heldMask, bool ahead) {
    if ((heldMask & kAllHeld) == kAllHeld) {
        // Holding all three collects the first deal's win.
        const ComboClass c = classifyLine(line);
        return {pay(c), pay(c) * pay(c), c == ComboClass::NoWin ? 0.0 : 1.0};
    }
    const PerClass<double> probability = secondDealChances(line, heldMask, ahead);
    Moments m;
    for (const ComboClass c : kEveryClass) {
        m.pay += probability[c] * pay(c);
        m.paySquared += probability[c] * pay(c) * pay(c);
    }
    m.hit = 1.0 - probability[ComboClass::NoWin];
    return m;
}

// A first-deal line as the game deals it to a player ahead or not: its class, its chance (lines
// of one class equally likely, the class at its chance under the mix) and the holds the game
// itself suggests, as its own evaluation leaves them in `held` when the reels stop (the winning
// reels, or for no win the suggestion).
struct DealtLine {
    Line line;
    ComboClass comboClass;
    double chance;
    int suggested;
};

std::vector<DealtLine> dealtLines(bool ahead) {
    const FirstDealFigures first = firstDealFigures(ahead ? kAheadMix : kOtherwiseMix);
    PerClass<std::int64_t> census{};  // lines of each class
    for (int index = 0; index < 1000; ++index) ++census[classifyLine(lineOf(index))];
    MachineState fresh = freshMachineState();
    fresh.options.secondDeal = true;
    SilentMachine machine(fresh);
    MachineState& state = machine.state;
    std::vector<DealtLine> lines;
    for (int index = 0; index < 1000; ++index) {
        const Line line = lineOf(index);
        state.reelSymbols = line;
        state.phase = Phase::FirstDeal;
        machine.game.finishSpin();
        const ComboClass c = classifyLine(line);
        lines.push_back(
            {line, c,
             static_cast<double>(first.probability[c]) / 10000.0 / static_cast<double>(census[c]),
             (state.held[0] ? 1 : 0) | (state.held[1] ? 2 : 0) | (state.held[2] ? 4 : 0)});
    }
    return lines;
}

// The class a game ends with under the suggested holds: of every game (the first deal's class
// when all three reels are held), or of the second deals alone, given that one is dealt.
PerClass<double> suggestedHoldsClassChances(bool ahead, bool secondDealsOnly) {
    PerClass<double> chances{};
    double dealt = 0;
    for (const DealtLine& d : dealtLines(ahead)) {
        // Three held reels collect the first win; no second deal follows.
        if ((d.suggested & kAllHeld) == kAllHeld) {
            if (!secondDealsOnly) chances[d.comboClass] += d.chance;
            continue;
        }
        const PerClass<double> after = secondDealChances(d.line, d.suggested, ahead);
        for (const ComboClass k : kEveryClass) chances[k] += d.chance * after[k];
        dealt += d.chance;
    }
    if (secondDealsOnly && dealt > 0)
        for (const ComboClass k : kEveryClass) chances[k] /= dealt;
    return chances;
}

GameFigures finish(const Moments& total) {
    const double variance = total.paySquared - total.pay * total.pay;
    return {total.pay, total.hit, std::sqrt(variance > 0 ? variance : 0)};
}

}  // namespace

double expectedPay(const Line& line, int heldMask, bool ahead) {
    return gameMoments(line, heldMask, ahead).pay;
}

FirstDealFigures firstDealFigures(TableMix mix) {
    FirstDealFigures f;
    f.mix = mix;
    double paySquared = 0;
    for (const ComboClass c : kEveryClass) {
        f.probability[c] =
            mix.stingyTenths * stingyQuotas[c] + (10 - mix.stingyTenths) * generousQuotas[c];
        f.contribution[c] = f.probability[c] * kPaytableMultipliers[c];
        f.returnToPlayer += f.contribution[c];
        paySquared += static_cast<double>(f.contribution[c]) * pay(c);
    }
    f.hitRate = 10000 - f.probability[ComboClass::NoWin];
    const double mean = static_cast<double>(f.returnToPlayer) / 10000.0;
    f.standardDeviation = std::sqrt(paySquared / 10000.0 - mean * mean);
    return f;
}

WholeGameFigures wholeGameFigures(bool ahead, bool withBestHolds) {
    WholeGameFigures figures;
    figures.mix = ahead ? kAheadMix : kOtherwiseMix;
    figures.ahead = ahead;
    Moments bySuggestion, byBest;
    for (const DealtLine& d : dealtLines(ahead)) {
        const auto add = [&d](Moments& sum, const Moments& m) {
            sum.pay += d.chance * m.pay;
            sum.paySquared += d.chance * m.paySquared;
            sum.hit += d.chance * m.hit;
        };
        add(bySuggestion, gameMoments(d.line, d.suggested, ahead));
        if (!withBestHolds) continue;

        // On a tie the hold set with more reels held wins, keeping a sure win first.
        Moments best = gameMoments(d.line, kAllHeld, ahead);
        for (int mask = kAllHeld - 1; mask >= 0; --mask) {
            const Moments m = gameMoments(d.line, mask, ahead);
            if (m.pay > best.pay) best = m;
        }
        add(byBest, best);
    }
    figures.suggestedHolds = finish(bySuggestion);
    figures.bestHolds = finish(byBest);
    return figures;
}

PerClass<double> firstDealChances(const TableMix& mix) {
    const FirstDealFigures f = firstDealFigures(mix);
    PerClass<double> chances{};
    for (const ComboClass c : kEveryClass)
        chances[c] = static_cast<double>(f.probability[c]) / 10000.0;
    return chances;
}

PerClass<double> secondDealClassChances(bool ahead) {
    return suggestedHoldsClassChances(ahead, true);
}

PerClass<double> gameClassChances(bool ahead) {
    return suggestedHoldsClassChances(ahead, false);
}

ParSheet computeParSheet() {
    return {{firstDealFigures(kGenerousOnly), firstDealFigures(kStingyOnly),
             firstDealFigures(kAheadMix), firstDealFigures(kOtherwiseMix)},
            {wholeGameFigures(false), wholeGameFigures(true)}};
}

CountRange binomialRange(std::int64_t n, double p, double level) {
    if (n <= 0 || p <= 0) return {0, 0};
    if (p >= 1) return {n, n};
    const double tail = (1.0 - level) / 2.0;
    const boost::math::binomial counts(static_cast<double>(n), p);
    // The quantiles are found by a search that may land one count off; the loops settle each
    // end exactly: lo the smallest count with more than the tail at or below it, hi the largest
    // with more than the tail at or above it.
    auto lo = static_cast<std::int64_t>(boost::math::quantile(counts, tail));
    while (lo > 0 && cdf(counts, static_cast<double>(lo - 1)) > tail) --lo;
    while (cdf(counts, static_cast<double>(lo)) <= tail) ++lo;
    auto hi = static_cast<std::int64_t>(boost::math::quantile(complement(counts, tail)));
    while (hi < n && cdf(complement(counts, static_cast<double>(hi))) > tail) ++hi;
    while (hi > 0 && cdf(complement(counts, static_cast<double>(hi - 1))) <= tail) --hi;
    return {lo, hi};
}

namespace {

// Exact decimals of ten-thousandths (never negative here): 61500 is 6.1500, or 615.00 %.
std::string fourPlaces(std::int64_t tenThousandths) {
    return fmt::format("{}.{:04}", tenThousandths / 10000, tenThousandths % 10000);
}
std::string percentOf(std::int64_t tenThousandths) {
    return fmt::format("{}.{:02} %", tenThousandths / 100, tenThousandths % 100);
}
std::string percentOf(double fraction) {
    return fmt::format("{:.4f} %", fraction * 100.0);
}

CountRange firstDealRange(const FirstDealFigures& f, ComboClass c, std::int64_t deals) {
    return binomialRange(deals, static_cast<double>(f.probability[c]) / 10000.0, kRangeLevel);
}

void writeClassTable(std::ostream& out, const FirstDealFigures& left,
                     const FirstDealFigures& right) {
    out << fmt::format("{:<22} {:>5}  {:<22} {}\n", "", "", left.mix.name, right.mix.name);
    out << fmt::format("{:<22} {:>5}  {:>10} {:>11} {:>10} {:>11}\n", "class", "pays", "chance",
                       "return", "chance", "return");
    for (const ComboClass c : kEveryClass) {
        out << fmt::format("{:2} {:<19} {:5}  {:>10} {:>11} {:>10} {:>11}\n", codeOf(c),
                           comboClassText(c), kPaytableMultipliers[c],
                           fourPlaces(left.probability[c]), fourPlaces(left.contribution[c]),
                           fourPlaces(right.probability[c]), fourPlaces(right.contribution[c]));
    }
    out << "\n";
}

}  // namespace

void writeParSheet(std::ostream& out, const ParSheet& sheet, std::int64_t deals) {
    const auto& [generous, stingy, aheadMix, otherwiseMix] = sheet.firstDeal;
    out << "Par sheet: exact figures from the quota tables, the pay table and the classification.\n"
           "Pays are multiples of the bet; return is pay per unit bet.\n\n";

    out << "First deal, by quota table\n";
    writeClassTable(out, generous, stingy);
    out << "First deal, by mix (ahead with Second deal on: 9 in 10 stingy; otherwise 6 in 10)\n";
    writeClassTable(out, aheadMix, otherwiseMix);

    out << fmt::format("{:<35} {:>13} {:>11} {:>9}\n", "First deal", "return", "hit rate",
                       "std dev");
    for (const FirstDealFigures& f : sheet.firstDeal) {
        out << fmt::format("  {:<33} {:>13} {:>11} {:9.4f}\n", f.mix.name,
                           percentOf(f.returnToPlayer), percentOf(f.hitRate), f.standardDeviation);
    }
    out << "\n";

    out << "Whole game: a first deal, then the free second deal unless all three reels are held\n"
           "(every first-deal line of a class equally likely, second-deal symbols equally likely;\n"
           "ahead, the second deal keeps the poorer of two lines)\n";
    out << fmt::format("  {:<33} {:<15} {:>13} {:>11} {:>9}\n", "", "holds", "return", "hit rate",
                       "std dev");
    for (const WholeGameFigures& w : sheet.wholeGame) {
        const char* who = w.ahead ? "ahead (9 in 10 stingy)" : "not ahead (6 in 10 stingy)";
        const auto row = [&](const char* holds, const GameFigures& g) {
            out << fmt::format("  {:<33} {:<15} {:>13} {:>11} {:9.4f}\n", who, holds,
                               percentOf(g.returnToPlayer), percentOf(g.hitRate),
                               g.standardDeviation);
        };
        row("suggested", w.suggestedHolds);
        row("best", w.bestHolds);
    }
    out << "  With Second deal off the whole game is the first deal under the 6 in 10 mix: "
        << percentOf(otherwiseMix.returnToPlayer) << ".\n\n";

    out << fmt::format("First-deal counts in {} first deals, 99.9 % ranges\n", deals);
    out << fmt::format("{:<22} {:<23} {}\n", "class", aheadMix.mix.name, otherwiseMix.mix.name);
    for (const ComboClass c : kEveryClass) {
        const auto range = [&](const FirstDealFigures& f) {
            const CountRange r = firstDealRange(f, c, deals);
            return fmt::format("{} to {}", r.lo, r.hi);
        };
        out << fmt::format("{:2} {:<19} {:<23} {}\n", codeOf(c), comboClassText(c), range(aheadMix),
                           range(otherwiseMix));
    }
}

void writeParSheetJson(std::ostream& out, const ParSheet& sheet, std::int64_t deals) {
    // Exact ten-thousandths as JSON numbers: the shortest decimal of each double is the exact one.
    const auto exact = [](std::int64_t tenThousandths) {
        return static_cast<double>(tenThousandths) / 10000.0;
    };
    Json firstDeal = Json::array();
    for (const FirstDealFigures& f : sheet.firstDeal) {
        Json classes = Json::array();
        for (const ComboClass c : kEveryClass) {
            classes.push_back({{"class", codeOf(c)},
                               {"name", comboClassText(c)},
                               {"pays", kPaytableMultipliers[c]},
                               {"chance", exact(f.probability[c])},
                               {"return", exact(f.contribution[c])}});
        }
        firstDeal.push_back({{"mix", f.mix.name},
                             {"stingy_in_ten", f.mix.stingyTenths},
                             {"classes", classes},
                             {"return", exact(f.returnToPlayer)},
                             {"hit_rate", exact(f.hitRate)},
                             {"std_dev", f.standardDeviation}});
    }
    Json wholeGame = Json::array();
    for (const WholeGameFigures& w : sheet.wholeGame) {
        const auto figures = [](const GameFigures& g) {
            return Json{{"return", g.returnToPlayer},
                        {"hit_rate", g.hitRate},
                        {"std_dev", g.standardDeviation}};
        };
        wholeGame.push_back({{"ahead", w.ahead},
                             {"mix", w.mix.name},
                             {"suggested_holds", figures(w.suggestedHolds)},
                             {"best_holds", figures(w.bestHolds)}});
    }
    Json ranges = Json::array();
    for (const ComboClass c : kEveryClass) {
        const auto range = [&](const FirstDealFigures& f) {
            const CountRange r = firstDealRange(f, c, deals);
            return Json{r.lo, r.hi};
        };
        ranges.push_back({{"class", codeOf(c)},
                          {"name", comboClassText(c)},
                          {"ahead", range(sheet.firstDeal[2])},
                          {"otherwise", range(sheet.firstDeal[3])}});
    }
    const Json report = {
        {"report", "par-sheet"},
        {"first_deal", firstDeal},
        {"whole_game", wholeGame},
        {"count_ranges", {{"first_deals", deals}, {"level", kRangeLevel}, {"classes", ranges}}}};
    out << report.dump(2) << "\n";
}

}  // namespace fruvana::sim
