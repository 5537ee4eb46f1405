#include "tools/sim/certify.h"

#include <fmt/format.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <type_traits>
#include <vector>

#include "engine/outcome_pool.h"
#include "tools/sim/par_sheet.h"
#include "tools/sim/plot_series.h"
#include "tools/sim/simulator.h"

namespace fruvana::sim {

namespace {

// Adds a count, or a list of counts, into another.
template <typename T>
void addInto(T& into, const T& from) {
    if constexpr (std::is_arithmetic_v<T>) {
        into += from;
    } else {
        for (std::size_t i = 0; i < into.size(); ++i) into[i] += from[i];
    }
}

// Every count of the tallies under its name in a shard file, in the file's order: visit(name,
// that count of each tally).
template <typename Visit, typename... Tally>
void eachCount(Visit&& visit, Tally&... t) {
    visit("symbol_counts", t.draws.counts...);
    visit("lag_products", t.draws.lagProducts...);
    visit("runs", t.draws.runs...);
    visit("first_symbol", t.draws.first...);
    visit("last_symbol", t.draws.last...);
    visit("pulls", t.pulls...);
    visit("first_deals", t.firstDeals...);
    visit("second_deals", t.secondDeals...);
    visit("replay_mismatches", t.replayMismatches...);
    visit("first_generous", t.firstByTable[0].slots...);
    visit("first_stingy", t.firstByTable[1].slots...);
    visit("second_not_ahead", t.secondByAhead[0].slots...);
    visit("second_ahead", t.secondByAhead[1].slots...);
    visit("table_not_ahead", t.tableChoice[0]...);
    visit("table_ahead", t.tableChoice[1]...);
    visit("games", t.games...);
    visit("stake", t.stake...);
    visit("stake_squared", t.stakeSquared...);
    visit("paid", t.paid...);
}

// Tallies one part pull by pull.
class CertifyObserver final : public PullObserver {
  public:
    CertifyObserver(CertifyTally& tally, bool secondDeal)
        : tally_(tally), secondDeal_(secondDeal) {}

    void beforePull(const RandomSources& sources) override { before_ = sources; }

    void afterPull(const PullRecord& pull, const MachineState&, const OutcomePool& pool) override {
        ++tally_.pulls;
        const std::size_t ahead = pull.ahead ? 1 : 0;
        if (pull.firstDeal) {
            ++tally_.firstDeals;
            const std::size_t stingy = pool.lastFirstDeal().table == QuotaChoice::Stingy ? 1 : 0;
            ++tally_.firstByTable[stingy][pull.comboClass];
            ++tally_.tableChoice[pull.ahead && secondDeal_ ? 1 : 0][stingy];
            replayFill(pool);
            open_ = true;
            openAhead_ = ahead;
            openStake_ = pull.stake;
        } else {
            ++tally_.secondDeals;
            ++tally_.secondByAhead[ahead][pull.comboClass];
        }
        if (pull.gameOver && open_) {
            open_ = false;
            ++tally_.games[openAhead_];
            tally_.stake[openAhead_] += openStake_;
            tally_.stakeSquared[openAhead_] += static_cast<std::int64_t>(openStake_) * openStake_;
            tally_.paid += pull.pay;
        }
    }

  private:
    // The fill's first draws again, from the generators as the deal found them: the table's draw
    // first, then the candidates, in bulk as the fill draws them. The very first candidate
    // always joins the pool, so it must be the pool's first line.
    void replayFill(const OutcomePool& pool) {
        before_.lcg.below(10);
        constexpr auto wanted = static_cast<std::size_t>(kReplayedDraws);
        std::size_t replayed = 0;
        while (replayed < wanted) {
            const std::size_t count = std::min(ahead_.peek(before_), wanted - replayed);
            const std::span<std::uint8_t> symbols = std::span(symbols_).first(count);
            ahead_.symbols(0, symbols);
            if (replayed == 0 && Line{symbols[0], symbols[1], symbols[2]} != pool.line(1))
                ++tally_.replayMismatches;
            tally_.draws.add(symbols);
            ahead_.moveOn(before_, count);
            replayed += count;
        }
    }

    CertifyTally& tally_;
    bool secondDeal_;
    RandomSources before_;
    SymbolLookahead ahead_;
    std::vector<std::uint8_t> symbols_ = std::vector<std::uint8_t>(SymbolLookahead::kMost);
    bool open_ = false;
    std::size_t openAhead_ = 0;
    std::int32_t openStake_ = 0;
};

// One line of the report's table.
struct TestLine {
    std::string name;
    TestResult result;
    bool dfShown = true;
    bool pass = false;
};

struct Figures {
    std::vector<TestLine> tests;
    // Return to player of the settled games, the par for them, and the 99 % interval.
    bool hasReturn = false;
    double observed = 0, par = 0, low = 0, high = 0;
    // The rarest prize over every state the settings reach.
    ComboClass rarestClass = ComboClass::ThreeSingleBars;
    double rarestChance = 1;
    double atLeastOnce = 1;
    // The exact whole-game returns the rules give, by the player's money.
    double notAheadReturn = 0, aheadReturn = 0, secondDealOffReturn = 0;
};

Figures computeFigures(const SimOptions& options, const CertifyTally& t) {
    Figures f;
    const auto add = [&f](std::string name, const TestResult& r, bool dfShown = true) {
        if (r.valid) f.tests.push_back({std::move(name), r, dfShown, r.pass()});
    };
    if (t.draws.draws > 0) {
        add("symbol draws uniform on 1 to 10 (chi-square)", uniformSymbols(t.draws));
        add("symbol draws, runs of 1-5 and 6-10 (z)", symbolRuns(t.draws), false);
        add("symbol draws, lag-1 serial correlation (C)", serialCorrelation(t.draws), false);
    }
    for (std::size_t stingy = 0; stingy < 2; ++stingy) {
        add(std::string("first-deal classes, ") + (stingy ? "stingy" : "generous") +
                " table (chi-square)",
            chiSquareFit(t.firstByTable[stingy].slots,
                         firstDealChances(stingy ? kStingyOnly : kGenerousOnly).slots));
    }
    for (std::size_t mostly = 0; mostly < 2; ++mostly) {
        const double stingy = mostly ? 0.9 : 0.6;
        const std::array<double, 2> chance{1 - stingy, stingy};
        add(mostly ? "quota table, ahead: 9 in 10 stingy (chi-square)"
                   : "quota table, not ahead: 6 in 10 stingy (chi-square)",
            chiSquareFit(t.tableChoice[mostly], chance));
    }
    // The par sheet's figures for the games as this run deals them, ahead or not.
    const PlotReference reference = plotReference(options.secondDeal);
    if (options.secondDeal) {
        for (std::size_t ahead = 0; ahead < 2; ++ahead) {
            add(std::string("second-deal classes, ") + (ahead ? "ahead" : "not ahead") +
                    " (chi-square)",
                chiSquareFit(t.secondByAhead[ahead].slots,
                             reference.byAhead[ahead].secondDealChance.slots));
        }
    }

    double expected = 0, variance = 0, staked = 0;
    for (std::size_t a = 0; a < 2; ++a) {
        const GameReference& g = reference.byAhead[a];
        expected += static_cast<double>(t.stake[a]) * g.returnToPlayer;
        variance +=
            static_cast<double>(t.stakeSquared[a]) * g.standardDeviation * g.standardDeviation;
        staked += static_cast<double>(t.stake[a]);
    }
    if (staked > 0 && variance > 0) {
        f.hasReturn = true;
        const double paid = static_cast<double>(t.paid);
        f.observed = paid / staked;
        f.par = expected / staked;
        const double half = normalQuantile(1 - kSignificance) * std::sqrt(variance) / staked;
        f.low = f.observed - half;
        f.high = f.observed + half;
        const double z = (paid - expected) / std::sqrt(variance);
        add("return to player against the par (z)", {true, z, 0, normalTwoSided(z)}, false);
    }

    // Whole-game chances of every prize in each state of the money the settings reach.
    const std::vector<PerClass<double>> states =
        options.secondDeal ? std::vector{gameClassChances(false), gameClassChances(true)}
                           : std::vector{firstDealChances(kOtherwiseMix)};
    for (const ComboClass c : kEveryClass) {
        if (c == ComboClass::NoWin) continue;
        for (const PerClass<double>& s : states) {
            if (s[c] < f.rarestChance) {
                f.rarestChance = s[c];
                f.rarestClass = c;
            }
        }
    }
    f.atLeastOnce = -std::expm1(kPrizeGames * std::log1p(-f.rarestChance));
    // Not a p-value: the verdict asks for a chance of at least 99 % of seeing every prize.
    f.tests.push_back({"every prize at least once in 100000000 games",
                       {true, f.rarestChance, 0, f.atLeastOnce},
                       false,
                       f.atLeastOnce >= 1 - kSignificance});

    const PlotReference withSecondDeal = options.secondDeal ? reference : plotReference(true);
    f.notAheadReturn = withSecondDeal.byAhead[0].returnToPlayer;
    f.aheadReturn = withSecondDeal.byAhead[1].returnToPlayer;
    f.secondDealOffReturn =
        static_cast<double>(firstDealFigures(kOtherwiseMix).returnToPlayer) / 10000.0;
    return f;
}

std::string probabilityText(double p) {
    return p >= 1e-4 || p == 0 ? fmt::format("{:.6f}", p) : fmt::format("{:.3e}", p);
}

std::string statisticText(const TestLine& line) {
    const double s = line.result.statistic;
    if (!std::isfinite(s)) return "inf";
    if (s != 0 && std::abs(s) < 1e-3) return fmt::format("{:.3e}", s);
    return fmt::format("{:.4f}", s);
}

std::string percent(double fraction) {
    return fmt::format("{:.2f} %", fraction * 100);
}

}  // namespace

void CertifyTally::append(const CertifyTally& next) {
    // The symbol draws join across their boundary; every other count adds up.
    SymbolTally joined = draws;
    joined.append(next.draws);
    eachCount([](const char*, auto& into, const auto& from) { addInto(into, from); }, *this, next);
    draws = joined;
}

CertifyTally runCertify(const SimOptions& options, std::uint32_t seed, PartRange parts, int jobs) {
    std::vector<CertifyTally> tallies(static_cast<std::size_t>(parts.last - parts.first));
    forEachPart(parts.first, parts.last, jobs, [&](std::int64_t part) {
        SimOptions partOptions = options;
        // The run's pulls split as shards split parts: the parts differ by one at most.
        const PartRange share =
            shardParts(options.pulls, static_cast<int>(part) + 1, kCertifyParts);
        partOptions.pulls = share.last - share.first;
        partOptions.coins = true;
        CertifyTally& tally = tallies[static_cast<std::size_t>(part - parts.first)];
        CertifyObserver observer(tally, options.secondDeal);
        runSimulation(partOptions, partSeed(seed, static_cast<std::uint32_t>(part)), nullptr,
                      nullptr, &observer);
    });
    CertifyTally whole;
    for (const CertifyTally& t : tallies) whole.append(t);
    return whole;
}

void writeCertify(std::ostream& out, const SimOptions& options, std::uint32_t seed,
                  const CertifyTally& t, bool json) {
    const Figures f = computeFigures(options, t);
    int passed = 0;
    for (const TestLine& line : f.tests) passed += line.pass ? 1 : 0;
    const std::int64_t generous = t.tableChoice[0][0] + t.tableChoice[1][0];
    const std::int64_t stingy = t.tableChoice[0][1] + t.tableChoice[1][1];
    const std::int64_t settled = t.games[0] + t.games[1];
    const std::string command = commandLineFor(options, seed);

    if (json) {
        Json tests = Json::array();
        for (const TestLine& line : f.tests) {
            tests.push_back({{"test", line.name},
                             {"statistic", line.result.statistic},
                             {"df", line.dfShown ? Json(line.result.df) : Json()},
                             {"p_value", line.result.pValue},
                             {"verdict", line.pass ? "PASS" : "FAIL"}});
        }
        const Json returnToPlayer = f.hasReturn ? Json{{"observed", f.observed},
                                                       {"par", f.par},
                                                       {"low_99", f.low},
                                                       {"high_99", f.high}}
                                                : Json();
        const Json report = {{"report", "certify"},
                             {"command", command},
                             {"parts", kCertifyParts},
                             {"pulls", t.pulls},
                             {"first_deals", t.firstDeals},
                             {"generous_table", generous},
                             {"stingy_table", stingy},
                             {"second_deals", t.secondDeals},
                             {"settled_games", settled},
                             {"symbol_draws", t.draws.draws},
                             {"replay_mismatches", t.replayMismatches},
                             {"tests", tests},
                             {"return_to_player", returnToPlayer},
                             {"rarest_prize",
                              {{"class", codeOf(f.rarestClass)},
                               {"name", comboClassText(f.rarestClass)},
                               {"chance_per_game", f.rarestChance},
                               {"games", kPrizeGames},
                               {"at_least_once", f.atLeastOnce}}},
                             {"tests_run", f.tests.size()},
                             {"passed", passed},
                             {"money_dependent_return",
                              {{"not_ahead", f.notAheadReturn},
                               {"ahead", f.aheadReturn},
                               {"second_deal_off", f.secondDealOffReturn},
                               {"this_run_depends_on_money", options.secondDeal}}}};
        out << report.dump(2) << "\n";
        return;
    }

    out << fmt::format(
        "{}\n{} parts, each from the machine above with its own seed (the upper half of\n"
        "splitmix64 of seed x 2^32 + part), a coin put in whenever the stake needs one.\n"
        "pulls {}: first deals {} (generous table {}, stingy {}), second deals {}\n"
        "settled games {} (a part's last game is left out while its second deal is to come)\n",
        command, kCertifyParts, t.pulls, t.firstDeals, generous, stingy, t.secondDeals, settled);
    out << fmt::format(
        "symbol draws {}: the first {} draws of each pool fill, replayed from the\n"
        "generators as the deal found them; {}\n\n",
        t.draws.draws, kReplayedDraws,
        t.replayMismatches == 0
            ? std::string("every replay gave its pool's first line.")
            : fmt::format("{} replays did NOT give their pool's first line.", t.replayMismatches));

    const auto row = [&out](auto&&... columns) {
        out << fmt::format("{:<52} {:>12} {:>4} {:>12}  {}\n", columns...);
    };
    row("test", "statistic", "df", "p-value", "at 99 %");
    for (const TestLine& line : f.tests) {
        row(line.name, statisticText(line), line.dfShown ? std::to_string(line.result.df) : "-",
            probabilityText(line.result.pValue), line.pass ? "PASS" : "FAIL");
    }
    out << "\n";
    if (f.hasReturn) {
        out << fmt::format("return to player {}, 99 % interval {} to {}, exact par {}: {}\n",
                           percent(f.observed), percent(f.low), percent(f.high), percent(f.par),
                           f.par >= f.low && f.par <= f.high ? "inside, PASS" : "outside, FAIL");
    }
    out << fmt::format(
        "rarest prize: {}, {:.6f} per game, {:.0f} expected in 100000000 games;\n"
        "at least one with probability {} (the line's p-value column): {}\n",
        comboClassText(f.rarestClass), f.rarestChance, f.rarestChance * kPrizeGames,
        probabilityText(f.atLeastOnce), f.atLeastOnce >= 1 - kSignificance ? "PASS" : "FAIL");
    out << fmt::format(
        "{} of {} tests pass at 99 % (one true test in a hundred fails by chance).\n\n", passed,
        f.tests.size());

    out << "From the rules, not the run: the return depends on the player's money. A first deal\n"
           "takes the stingy quota table 9 times in 10 when credit plus account is above 2000\n"
           "with Second deal on, and 6 times in 10 otherwise; that far ahead, a second deal keeps\n"
           "the poorer of two lines. With the suggested holds the whole game returns\n";
    out << fmt::format(
        "  {} of the stake when the player is not ahead,\n  {} when ahead, and\n"
        "  {} with Second deal off, whatever the money.\n",
        percent(f.notAheadReturn), percent(f.aheadReturn), percent(f.secondDealOffReturn));
    out << "A laboratory accepts no return that depends on the player's money: "
        << (options.secondDeal
                ? "with Second deal on,\nas here, the machine cannot be certified.\n"
                : "this run has Second\ndeal off, but the player may switch it on.\n");
}

void to_json(Json& json, const CertifyTally& t) {
    json = Json::object();
    eachCount([&json](const char* name, const auto& count) { json[name] = count; }, t);
}

void from_json(const Json& json, CertifyTally& t) {
    constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max();
    const auto read = [&json](const char* name, auto& into) {
        using Count = std::remove_cvref_t<decltype(into)>;
        if constexpr (std::is_integral_v<Count>) {
            // A count too large for its member stays too large, for the symbols' check below.
            into = static_cast<Count>(std::min<std::int64_t>(wholeMember(json, name, 0, kMost),
                                                             std::numeric_limits<Count>::max()));
        } else {
            const std::string what = std::string("the tally has no list \"") + name + "\" of " +
                                     std::to_string(into.size()) + " counts";
            if (!json.contains(name) || !json.at(name).is_array() ||
                json.at(name).size() != into.size())
                throw ShardError(what);
            for (std::size_t i = 0; i < into.size(); ++i)
                into[i] = wholeNumber(json.at(name)[i], 0, kMost, what);
        }
    };
    eachCount(read, t);
    t.draws.draws = 0;
    for (const std::int64_t c : t.draws.counts) t.draws.draws += c;
    const int first = t.draws.first, last = t.draws.last;
    if (first > 10 || last > 10 || (t.draws.draws > 0) != (first > 0 && last > 0))
        throw ShardError("the tally's first and last symbols are not 1 to 10");
}

}  // namespace fruvana::sim
