#include "tools/sim/plot_series.h"

#include <algorithm>
#include <cmath>

namespace fruvana::sim {

namespace {

GameReference referenceFor(bool secondDeal, bool ahead) {
    GameReference g;
    if (!secondDeal) {
        // Every pull is a first deal, 6 in 10 stingy whatever the money.
        const FirstDealFigures f = firstDealFigures(kOtherwiseMix);
        g.returnToPlayer = static_cast<double>(f.returnToPlayer) / 10000.0;
        g.standardDeviation = f.standardDeviation;
        g.firstDealChance = firstDealChances(kOtherwiseMix);
        return g;
    }
    const WholeGameFigures whole = wholeGameFigures(ahead, false);
    g.returnToPlayer = whole.suggestedHolds.returnToPlayer;
    g.standardDeviation = whole.suggestedHolds.standardDeviation;
    g.firstDealChance = firstDealChances(whole.mix);
    g.secondDealChance = secondDealClassChances(ahead);
    return g;
}

void countDeal(ClassTally& tally, const PerClass<double>& chances, ComboClass comboClass) {
    ++tally.deals;
    ++tally.observed[comboClass];
    for (const ComboClass c : kEveryClass) tally.expected[c] += chances[c];
}

// The columns are merged only with their neighbours, so the extremes survive any thinning.
void absorb(PlotColumn& into, const PlotColumn& next) {
    into.lastPull = next.lastPull;
    into.moneyLow = std::min(into.moneyLow, next.moneyLow);
    into.moneyHigh = std::max(into.moneyHigh, next.moneyHigh);
    into.moneyLast = next.moneyLast;
    if (next.hasReturn) {
        into.returnLow = into.hasReturn ? std::min(into.returnLow, next.returnLow) : next.returnLow;
        into.returnHigh =
            into.hasReturn ? std::max(into.returnHigh, next.returnHigh) : next.returnHigh;
        into.returnLast = next.returnLast;
        into.hasReturn = true;
    }
    into.par = next.par;
    into.band = next.band;
    into.coins += next.coins;
    into.overflowMoves += next.overflowMoves;
}

}  // namespace

PlotReference plotReference(bool secondDeal) {
    return {{referenceFor(secondDeal, false), referenceFor(secondDeal, true)}};
}

PlotRecorder::PlotRecorder(const PlotReference& reference, int columns)
    : reference_(reference), capacity_(static_cast<std::size_t>(std::max(columns, 2))) {
    series_.columns.reserve(capacity_);
}

void PlotRecorder::add(const PullRecord& pull) {
    PlotSeries& s = series_;
    ++s.pulls;
    const GameReference& game = reference_.byAhead[pull.ahead ? 1 : 0];
    if (pull.firstDeal) {
        countDeal(s.firstDeals, game.firstDealChance, pull.comboClass);
        // A game's pay is settled by the state its first deal was drawn in.
        const double stake = pull.stake;
        expectedReturn_ += stake * game.returnToPlayer;
        returnVariance_ += stake * stake * game.standardDeviation * game.standardDeviation;
    } else {
        countDeal(s.secondDeals, game.secondDealChance, pull.comboClass);
    }
    if (pull.coin) ++s.coins;
    if (pull.overflowMove) ++s.overflowMoves;

    PlotColumn point;
    point.firstPull = point.lastPull = s.pulls;
    point.moneyLow = point.moneyHigh = point.moneyLast = pull.money;
    if (pull.staked > 0) {
        const double staked = static_cast<double>(pull.staked);
        point.hasReturn = true;
        point.returnLow = point.returnHigh = point.returnLast =
            static_cast<double>(pull.returned) / staked;
        point.par = expectedReturn_ / staked;
        point.band = kBandQuantile * std::sqrt(returnVariance_) / staked;
    }
    point.coins = pull.coin ? 1 : 0;
    point.overflowMoves = pull.overflowMove ? 1 : 0;

    if (!s.columns.empty()) {
        PlotColumn& last = s.columns.back();
        if (last.lastPull - last.firstPull + 1 < pullsPerColumn_) {
            absorb(last, point);
            return;
        }
    }
    if (s.columns.size() == capacity_) halveColumns();
    s.columns.push_back(point);
}

void PlotRecorder::halveColumns() {
    // Deliberate: neighbours merge in pairs and every column then holds twice as many pulls, so
    // a run of any length keeps at most one column per pixel and never stores each pull.
    std::vector<PlotColumn>& columns = series_.columns;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < columns.size(); i += 2) {
        PlotColumn merged = columns[i];
        if (i + 1 < columns.size()) absorb(merged, columns[i + 1]);
        columns[kept++] = merged;
    }
    columns.resize(kept);
    pullsPerColumn_ *= 2;
}

PlotSeries PlotRecorder::series() const {
    PlotSeries s = series_;
    for (ClassTally* tally : {&s.firstDeals, &s.secondDeals}) {
        for (const ComboClass c : kEveryClass) {
            // Deliberate: the deals of a run mix two sets of chances (ahead or not), and such a
            // mix is never more spread out than one binomial of the mean chance, so the range
            // of that binomial holds the count with at least the stated chance.
            const double mean =
                tally->deals > 0 ? tally->expected[c] / static_cast<double>(tally->deals) : 0;
            tally->range[c] = binomialRange(tally->deals, std::clamp(mean, 0.0, 1.0), kRangeLevel);
        }
    }
    return s;
}

}  // namespace fruvana::sim
