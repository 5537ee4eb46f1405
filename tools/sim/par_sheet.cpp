#include "tools/sim/par_sheet.h"

#include <cmath>
#include <ostream>
#include <vector>

#include "engine/game.h"
#include "engine/outcome_pool.h"
#include "tools/sim/json.h"
#include "tools/sim/silent_services.h"
#include "tools/sim/text_format.h"

namespace fruvana::sim {

namespace {

constexpr int kNoWin = static_cast<int>(ComboClass::NoWin);
// Hold sets are masks: bit n set when reel n + 1 is held.
constexpr int kAllHeld = 0b111;

double pay(int comboClass) {
    return kPaytableMultipliers[comboClass];
}

// Line number 0 to 999 as the reels show it, reel 1 first.
Line lineOf(int index) {
    return {static_cast<std::uint8_t>(index / 100 + 1),
            static_cast<std::uint8_t>(index / 10 % 10 + 1),
            static_cast<std::uint8_t>(index % 10 + 1)};
}

PerClass<std::int64_t> naturalCensus() {
    PerClass<std::int64_t> census{};
    for (int index = 0; index < 1000; ++index) ++census[classifyLine(lineOf(index))];
    return census;
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
    PerClass<std::int64_t> counts{};
    std::int64_t total = 0;
    Line drawn = line;
    const auto redraw = [&](auto&& self, std::size_t reel) -> void {
        if (reel == 3) {
            ++counts[classifyLine(drawn)];
            ++total;
            return;
        }
        if (heldMask & (1 << reel)) {
            self(self, reel + 1);
            return;
        }
        for (std::uint8_t s = 1; s <= kSymbolCount; ++s) {
            drawn[reel] = s;
            self(self, reel + 1);
        }
    };
    redraw(redraw, 0);

    PerClass<double> probability{};
    if (ahead) {
        // P(poorer of two <= c) = P(one <= c) squared.
        std::int64_t below = 0;
        for (int c = 1; c <= kClassCount; ++c) {
            const std::int64_t upTo = below + counts[c];
            probability[c] = static_cast<double>(upTo * upTo - below * below) /
                             static_cast<double>(total * total);
            below = upTo;
        }
    } else {
        for (int c = 1; c <= kClassCount; ++c)
            probability[c] = static_cast<double>(counts[c]) / static_cast<double>(total);
    }
    return probability;
}

Moments secondDealMoments(const Line& line, int heldMask, bool ahead) {
    const PerClass<double> probability = secondDealChances(line, heldMask, ahead);
    Moments m;
    for (int c = 1; c <= kClassCount; ++c) {
        m.pay += probability[c] * pay(c);
        m.paySquared += probability[c] * pay(c) * pay(c);
    }
    m.hit = 1.0 - probability[kNoWin];
    return m;
}

Moments gameMoments(const Line& line, int heldMask, bool ahead) {
    if ((heldMask & kAllHeld) == kAllHeld) {
        // Holding all three collects the first deal's win.
        const int c = classifyLine(line);
        return {pay(c), pay(c) * pay(c), c == kNoWin ? 0.0 : 1.0};
    }
    return secondDealMoments(line, heldMask, ahead);
}

// The holds the game itself suggests after a first deal: what its own evaluation leaves in
// `held` when the reels stop (the winning reels, or for no win the suggestion).
std::array<int, 1000> suggestedHoldMasks() {
    MachineState fresh = freshMachineState();
    fresh.options.secondDeal = 1;
    SilentMachine machine(fresh);
    MachineState& state = machine.state;
    std::array<int, 1000> masks{};
    for (int index = 0; index < 1000; ++index) {
        state.reelSymbols = lineOf(index);
        state.phase = Phase::FirstDeal;
        machine.game.finishSpin();
        masks[static_cast<std::size_t>(index)] =
            (state.held[0] ? 1 : 0) | (state.held[1] ? 2 : 0) | (state.held[2] ? 4 : 0);
    }
    return masks;
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
    for (int c = 1; c <= kClassCount; ++c) {
        f.probability[c] =
            mix.stingyTenths * stingyQuotas[c] + (10 - mix.stingyTenths) * generousQuotas[c];
        f.contribution[c] = f.probability[c] * kPaytableMultipliers[c];
        f.returnToPlayer += f.contribution[c];
        paySquared += static_cast<double>(f.contribution[c]) * pay(c);
    }
    f.hitRate = 10000 - f.probability[kNoWin];
    const double mean = static_cast<double>(f.returnToPlayer) / 10000.0;
    f.standardDeviation = std::sqrt(paySquared / 10000.0 - mean * mean);
    return f;
}

WholeGameFigures wholeGameFigures(bool ahead, bool withBestHolds) {
    WholeGameFigures figures;
    figures.mix = ahead ? kAheadMix : kOtherwiseMix;
    figures.ahead = ahead;
    const FirstDealFigures first = firstDealFigures(figures.mix);
    const PerClass<std::int64_t> census = naturalCensus();
    const std::array<int, 1000> suggested = suggestedHoldMasks();

    Moments bySuggestion, byBest;
    for (int index = 0; index < 1000; ++index) {
        const Line line = lineOf(index);
        const int c = classifyLine(line);
        // Lines of one class are equally likely; the class has its first-deal chance.
        const double weight =
            static_cast<double>(first.probability[c]) / 10000.0 / static_cast<double>(census[c]);
        const auto add = [weight](Moments& sum, const Moments& m) {
            sum.pay += weight * m.pay;
            sum.paySquared += weight * m.paySquared;
            sum.hit += weight * m.hit;
        };
        add(bySuggestion, gameMoments(line, suggested[static_cast<std::size_t>(index)], ahead));
        if (!withBestHolds) continue;

        // On a tie the hold set with more reels held wins, keeping a sure win first.
        Moments best = gameMoments(line, kAllHeld, ahead);
        for (int mask = kAllHeld - 1; mask >= 0; --mask) {
            const Moments m = gameMoments(line, mask, ahead);
            if (m.pay > best.pay) best = m;
        }
        add(byBest, best);
    }
    figures.suggestedHolds = finish(bySuggestion);
    figures.bestHolds = finish(byBest);
    return figures;
}

PerClass<double> secondDealClassChances(bool ahead) {
    const FirstDealFigures first = firstDealFigures(ahead ? kAheadMix : kOtherwiseMix);
    const PerClass<std::int64_t> census = naturalCensus();
    const std::array<int, 1000> suggested = suggestedHoldMasks();
    PerClass<double> chances{};
    double dealt = 0;
    for (int index = 0; index < 1000; ++index) {
        const int mask = suggested[static_cast<std::size_t>(index)];
        // Three held reels collect the first win; no second deal follows.
        if ((mask & kAllHeld) == kAllHeld) continue;
        const Line line = lineOf(index);
        const int c = classifyLine(line);
        const double weight =
            static_cast<double>(first.probability[c]) / 10000.0 / static_cast<double>(census[c]);
        const PerClass<double> after = secondDealChances(line, mask, ahead);
        for (int k = 1; k <= kClassCount; ++k) chances[k] += weight * after[k];
        dealt += weight;
    }
    if (dealt > 0)
        for (int k = 1; k <= kClassCount; ++k) chances[k] /= dealt;
    return chances;
}

PerClass<double> gameClassChances(bool ahead) {
    const FirstDealFigures first = firstDealFigures(ahead ? kAheadMix : kOtherwiseMix);
    const PerClass<std::int64_t> census = naturalCensus();
    const std::array<int, 1000> suggested = suggestedHoldMasks();
    PerClass<double> chances{};
    for (int index = 0; index < 1000; ++index) {
        const int mask = suggested[static_cast<std::size_t>(index)];
        const Line line = lineOf(index);
        const int c = classifyLine(line);
        const double weight =
            static_cast<double>(first.probability[c]) / 10000.0 / static_cast<double>(census[c]);
        if ((mask & kAllHeld) == kAllHeld) {
            chances[c] += weight;
            continue;
        }
        const PerClass<double> after = secondDealChances(line, mask, ahead);
        for (int k = 1; k <= kClassCount; ++k) chances[k] += weight * after[k];
    }
    return chances;
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
    const double dn = static_cast<double>(n);
    auto mode = static_cast<std::int64_t>(std::floor((dn + 1) * p));
    if (mode > n) mode = n;
    const double dm = static_cast<double>(mode);
    const double atMode =
        std::exp(std::lgamma(dn + 1) - std::lgamma(dm + 1) - std::lgamma(dn - dm + 1) +
                 dm * std::log(p) + (dn - dm) * std::log1p(-p));
    // Beyond this the terms no longer matter to a tail of (1 - level) / 2.
    const double negligible = atMode * 1e-25;

    // Walk out from the mode by the ratio of neighbouring terms, then sum each tail from its
    // far end.
    std::vector<double> terms;
    terms.push_back(atMode);
    for (std::int64_t k = mode; k > 0 && terms.back() > negligible; --k) {
        const double dk = static_cast<double>(k);
        terms.push_back(terms.back() * dk / (dn - dk + 1) * (1 - p) / p);
    }
    CountRange range{0, mode};
    double sum = 0;
    for (std::size_t i = terms.size(); i-- > 0;) {
        if (sum + terms[i] > tail) {
            range.lo = mode - static_cast<std::int64_t>(i);
            break;
        }
        sum += terms[i];
    }

    terms.assign(1, atMode);
    for (std::int64_t k = mode; k < n && terms.back() > negligible; ++k) {
        const double dk = static_cast<double>(k);
        terms.push_back(terms.back() * (dn - dk) / (dk + 1) * p / (1 - p));
    }
    sum = 0;
    for (std::size_t i = terms.size(); i-- > 0;) {
        if (sum + terms[i] > tail) {
            range.hi = mode + static_cast<std::int64_t>(i);
            break;
        }
        sum += terms[i];
    }
    return range;
}

namespace {

std::string_view rowLabel(int c) {
    return c == kNoWin ? "no win" : comboClassText(c);
}

std::string percentOf(std::int64_t tenThousandths) {
    return fixedPoint(tenThousandths, 2) + " %";
}
std::string percentOf(double fraction) {
    return format("%.4f %%", fraction * 100.0);
}

void writeClassTable(std::ostream& out, const FirstDealFigures& left,
                     const FirstDealFigures& right) {
    out << format("%-22s %5s  %-22s %s\n", "", "", std::string(left.mix.name).c_str(),
                  std::string(right.mix.name).c_str());
    out << format("%-22s %5s  %10s %11s %10s %11s\n", "class", "pays", "chance", "return", "chance",
                  "return");
    for (int c = 1; c <= kClassCount; ++c) {
        out << format("%2d %-19s %5d  %10s %11s %10s %11s\n", c, std::string(rowLabel(c)).c_str(),
                      kPaytableMultipliers[c], fixedPoint(left.probability[c], 4).c_str(),
                      fixedPoint(left.contribution[c], 4).c_str(),
                      fixedPoint(right.probability[c], 4).c_str(),
                      fixedPoint(right.contribution[c], 4).c_str());
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

    out << format("%-35s %13s %11s %9s\n", "First deal", "return", "hit rate", "std dev");
    for (const FirstDealFigures& f : sheet.firstDeal) {
        out << format("  %-33s %13s %11s %9.4f\n", std::string(f.mix.name).c_str(),
                      percentOf(f.returnToPlayer).c_str(), percentOf(f.hitRate).c_str(),
                      f.standardDeviation);
    }
    out << "\n";

    out << "Whole game: a first deal, then the free second deal unless all three reels are held\n"
           "(every first-deal line of a class equally likely, second-deal symbols equally likely;\n"
           "ahead, the second deal keeps the poorer of two lines)\n";
    out << format("  %-33s %-15s %13s %11s %9s\n", "", "holds", "return", "hit rate", "std dev");
    for (const WholeGameFigures& w : sheet.wholeGame) {
        const std::string who = w.ahead ? "ahead (9 in 10 stingy)" : "not ahead (6 in 10 stingy)";
        const auto row = [&](const char* holds, const GameFigures& g) {
            out << format("  %-33s %-15s %13s %11s %9.4f\n", who.c_str(), holds,
                          percentOf(g.returnToPlayer).c_str(), percentOf(g.hitRate).c_str(),
                          g.standardDeviation);
        };
        row("suggested", w.suggestedHolds);
        row("best", w.bestHolds);
    }
    out << "  With Second deal off the whole game is the first deal under the 6 in 10 mix: "
        << percentOf(otherwiseMix.returnToPlayer) << ".\n\n";

    out << format("First-deal counts in %lld first deals, 99.9 %% ranges\n",
                  static_cast<long long>(deals));
    out << format("%-22s %-23s %s\n", "class", std::string(aheadMix.mix.name).c_str(),
                  std::string(otherwiseMix.mix.name).c_str());
    for (int c = 1; c <= kClassCount; ++c) {
        const auto range = [&](const FirstDealFigures& f) {
            const CountRange r =
                binomialRange(deals, static_cast<double>(f.probability[c]) / 10000.0, kRangeLevel);
            return format("%lld to %lld", static_cast<long long>(r.lo),
                          static_cast<long long>(r.hi));
        };
        out << format("%2d %-19s %-23s %s\n", c, std::string(rowLabel(c)).c_str(),
                      range(aheadMix).c_str(), range(otherwiseMix).c_str());
    }
}

void writeParSheetJson(std::ostream& out, const ParSheet& sheet, std::int64_t deals) {
    JsonWriter json(out);
    json.beginObject().field("report", "par-sheet");
    json.key("first_deal").beginArray();
    for (const FirstDealFigures& f : sheet.firstDeal) {
        json.beginObject().field("mix", f.mix.name).field("stingy_in_ten", f.mix.stingyTenths);
        json.key("classes").beginArray();
        for (int c = 1; c <= kClassCount; ++c) {
            json.beginObject().field("class", c).field("name", rowLabel(c));
            json.field("pays", kPaytableMultipliers[c]);
            json.key("chance").decimal(fixedPoint(f.probability[c], 4));
            json.key("return").decimal(fixedPoint(f.contribution[c], 4)).endObject();
        }
        json.endArray();
        json.key("return").decimal(fixedPoint(f.returnToPlayer, 4));
        json.key("hit_rate").decimal(fixedPoint(f.hitRate, 4));
        json.field("std_dev", f.standardDeviation).endObject();
    }
    json.endArray();
    json.key("whole_game").beginArray();
    for (const WholeGameFigures& w : sheet.wholeGame) {
        json.beginObject().field("ahead", w.ahead).field("mix", w.mix.name);
        for (const auto& [name, g] : {std::pair{"suggested_holds", w.suggestedHolds},
                                      std::pair{"best_holds", w.bestHolds}}) {
            json.key(name).beginObject().field("return", g.returnToPlayer);
            json.field("hit_rate", g.hitRate).field("std_dev", g.standardDeviation).endObject();
        }
        json.endObject();
    }
    json.endArray();
    json.key("count_ranges").beginObject().field("first_deals", deals).field("level", kRangeLevel);
    json.key("classes").beginArray();
    for (int c = 1; c <= kClassCount; ++c) {
        json.beginObject().field("class", c).field("name", rowLabel(c));
        for (const FirstDealFigures* f : {&sheet.firstDeal[2], &sheet.firstDeal[3]}) {
            const CountRange r =
                binomialRange(deals, static_cast<double>(f->probability[c]) / 10000.0, kRangeLevel);
            json.key(f == &sheet.firstDeal[2] ? "ahead" : "otherwise").beginArray();
            json.value(r.lo).value(r.hi).endArray();
        }
        json.endObject();
    }
    json.endArray().endObject().endObject();
}

}  // namespace fruvana::sim
