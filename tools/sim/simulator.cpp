#include "tools/sim/simulator.h"

#include <fmt/format.h>
#include <fmt/ostream.h>
#include <fmt/ranges.h>

#include <ostream>
#include <string>

#include "engine/game.h"
#include "engine/outcome_pool.h"
#include "tools/sim/json.h"
#include "tools/sim/silent_services.h"

namespace fruvana::sim {

SimResult runSimulation(const SimOptions& options, std::uint32_t seed, std::ostream* trace,
                        PlotRecorder* plot, PullObserver* observer) {
    MachineState fresh = freshMachineState();
    fresh.bet = options.bet;
    fresh.credit = options.credit;
    fresh.account = options.account;
    fresh.options.secondDeal = options.secondDeal;
    fresh.options.autoBet = options.autoBet;
    SilentMachine machine(fresh);
    MachineState& state = machine.state;
    RandomSources& sources = machine.sources;
    OutcomePool& pool = machine.pool;
    Game& game = machine.game;

    // What the engine says each pull and each result did.
    struct Reports final : PlayObserver {
        void pulled(const PullReport& p) override { pull = p; }
        void evaluated(const ResultReport& r) override { result = r; }
        PullReport pull;
        ResultReport result;
    } reports;
    game.observe(&reports);

    SimResult result;
    // The game's start-up chain, with the given seed in place of the clock.
    result.seeding = seedRandomSources(sources, [seed] { return seed; });
    for (auto& symbol : state.reelSymbols) symbol = drawSymbol(sources, kSymbolCount);
    result.startReels = state.reelSymbols;

    if (trace)
        fmt::print(*trace, "seed={} kl={} ij={} reels={}\n", result.seeding.seed, result.seeding.kl,
                   result.seeding.ij, fmt::join(state.reelSymbols, ","));
    if (plot) plot->start(moneyOf(state).total());

    for (std::int64_t pull = 1; pull <= options.pulls; ++pull) {
        const bool takesStake = game.nextPullTakesStake();
        bool coin = false;
        if (options.coins && takesStake &&
            static_cast<std::int64_t>(state.credit) + state.win < state.bet && game.insertCoin()) {
            ++result.coinsInserted;
            coin = true;
        }

        // The lever pressed on its knob and let go.
        if (observer) observer->beforePull(sources);
        reports.pull = PullReport{};
        game.pressLever(true);
        game.releaseLever();
        const PullReport& pulled = reports.pull;

        // A pull that takes a stake banks the pending win first, even one refused afterwards
        // for want of credit; what passes the credit's limit goes into the account.
        const bool overflowMove = pulled.movedToAccount > 0;
        if (pulled.banked > 0) {
            result.returned += pulled.banked;
            ++result.paidGames;
            result.overflowMoves += overflowMove ? 1 : 0;
            result.movedToAccount += pulled.movedToAccount;
        }
        if (pulled.refused != PullReport::Refusal::None) {
            result.refused = true;
            result.refusedWinPending = pulled.refused == PullReport::Refusal::WinPending;
            break;
        }
        ++result.pulls;
        if (pulled.firstDeal) {
            ++result.firstDeals;
            result.staked += pulled.stake;  // Auto bet may have lowered it to the credit
        } else {
            ++result.secondDeals;
        }

        if (plot || observer) {
            // The evaluation leaves the credit and the account alone, so they are still what
            // the deal was drawn under: playerAhead sees the player as the deal did.
            const PullRecord record{.firstDeal = pulled.firstDeal,
                                    .stake = pulled.stake,
                                    .ahead = playerAhead(state),
                                    .comboClass = reports.result.comboClass,
                                    .money = moneyOf(state).total(),
                                    .coin = coin,
                                    .overflowMove = overflowMove,
                                    .returned = result.returned + state.win,
                                    .staked = result.staked,
                                    .gameOver = reports.result.gameOver,
                                    .pay = reports.result.win};
            if (plot) plot->add(record);
            if (observer) observer->afterPull(record, state, pool);
        }

        if (trace) {
            const FirstDealRecord& deal = pool.lastFirstDeal();
            const char* table = deal.table == QuotaChoice::Generous ? "G"
                                : deal.table == QuotaChoice::Stingy ? "S"
                                                                    : "-";
            fmt::print(
                *trace, "{} {} line={} class={} win={} credit={} account={} held={:d}\n", pull,
                pulled.firstDeal
                    ? fmt::format("1st table={} cand={} pick={}", table, deal.candidates, deal.pick)
                    : "2nd table=- cand=- pick=-",
                fmt::join(state.reelSymbols, ","), codeOf(reports.result.comboClass), state.win,
                state.credit, state.account, fmt::join(state.held, ""));
        }
    }

    result.returned += state.win;
    if (state.win > 0) ++result.paidGames;
    result.statistics = state.statistics;
    result.credit = state.credit;
    result.account = state.account;
    result.win = state.win;
    return result;
}

namespace {

// Why the game refused the pull that ended a run.
const char* refusal(const SimResult& r) {
    return r.refusedWinPending ? "the account cannot take the win beyond the credit's limit"
                               : "the credit does not cover the bet";
}

}  // namespace

std::string shareText(std::int64_t part, std::int64_t whole) {
    if (whole == 0) return "-";
    return fmt::format("{:.2f} %", 100.0 * static_cast<double>(part) / static_cast<double>(whole));
}

void writeSummary(std::ostream& out, const SimResult& r, bool seedFromClock) {
    out << fmt::format("seed {}{}: kl {}, ij {}, reels at the start {},{},{}\n", r.seeding.seed,
                       seedFromClock ? " (from the clock)" : "", r.seeding.kl, r.seeding.ij,
                       r.startReels[0], r.startReels[1], r.startReels[2]);
    const auto row = [&out](const char* label, const auto& value) {
        out << fmt::format("{:<24} {:>14}\n", label, value);
    };

    row("pulls", r.pulls);
    row("first deals", r.firstDeals);
    row("second deals", r.secondDeals);
    row("coins inserted", r.coinsInserted);
    if (r.refused) out << fmt::format("The run ended at pull {}: {}.\n", r.pulls + 1, refusal(r));
    out << "\n";

    out << fmt::format("{:<24} {:>5} {:>10} {:>10}\n", "statistics", "( X )", "1st deal",
                       "2nd deal");
    for (int row = 1; row <= DealCounts::kRows; ++row) {
        const bool paying = row < DealCounts::kRows;
        const std::string multiplier =
            paying ? std::to_string(kPaytableMultipliers[static_cast<ComboClass>(row)]) : "";
        out << fmt::format("{:2} {:<21} {:>5} {:>10} {:>10}\n", row, statisticsRowText(row),
                           multiplier, r.statistics.firstDeal.onRow(row),
                           r.statistics.secondDeal.onRow(row));
    }
    out << "\n";

    row("amount staked", r.staked);
    row("amount returned", r.returned);
    row("return to player", shareText(r.returned, r.staked));
    row("hit rate", shareText(r.paidGames, r.firstDeals));
    row("credit overflow moves", r.overflowMoves);
    if (r.overflowMoves > 0) row("  moved to the account", r.movedToAccount);
    row("final credit", r.credit);
    row("final account", r.account);
    row("final win", r.win);
}

void writeSummaryJson(std::ostream& out, const SimResult& r, bool seedFromClock) {
    Json statistics = Json::array();
    for (int row = 1; row <= DealCounts::kRows; ++row) {
        const bool paying = row < DealCounts::kRows;
        statistics.push_back(
            {{"class", row},
             {"name", statisticsRowText(row)},
             {"pays", paying ? Json(kPaytableMultipliers[static_cast<ComboClass>(row)]) : Json()},
             {"first_deal", r.statistics.firstDeal.onRow(row)},
             {"second_deal", r.statistics.secondDeal.onRow(row)}});
    }
    const auto fraction = [](std::int64_t part, std::int64_t whole) {
        return whole == 0 ? Json() : Json(static_cast<double>(part) / static_cast<double>(whole));
    };
    Json report = {{"report", "simulation"},
                   {"seed", r.seeding.seed},
                   {"seed_from_clock", seedFromClock},
                   {"kl", r.seeding.kl},
                   {"ij", r.seeding.ij},
                   {"start_reels", r.startReels},
                   {"pulls", r.pulls},
                   {"first_deals", r.firstDeals},
                   {"second_deals", r.secondDeals},
                   {"coins_inserted", r.coinsInserted},
                   {"refused_at_pull", r.refused ? Json(r.pulls + 1) : Json()}};
    if (r.refused) report["refusal"] = refusal(r);
    report["statistics"] = statistics;
    report["staked"] = r.staked;
    report["returned"] = r.returned;
    report["return_to_player"] = fraction(r.returned, r.staked);
    report["hit_rate"] = fraction(r.paidGames, r.firstDeals);
    report["credit_overflow_moves"] = r.overflowMoves;
    report["moved_to_account"] = r.movedToAccount;
    report["final_credit"] = r.credit;
    report["final_account"] = r.account;
    report["final_win"] = r.win;
    out << report.dump(2) << "\n";
}

}  // namespace fruvana::sim
