#include "tools/sim/simulator.h"

#include <fmt/format.h>
#include <fmt/ranges.h>

#include <array>
#include <iterator>
#include <ostream>
#include <string>

#include "engine/game.h"
#include "engine/outcome_pool.h"
#include "tools/sim/json.h"
#include "tools/sim/silent_services.h"

namespace fruvana::sim {

namespace {

// Writes one trace line, formatted in place: a run may write millions of them.
template <typename... Args>
void traceLine(std::ostream& out, fmt::format_string<Args...> pattern, Args&&... args) {
    fmt::memory_buffer line;
    fmt::format_to(std::back_inserter(line), pattern, std::forward<Args>(args)...);
    line.push_back('\n');
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
}

std::string_view tableLetter(QuotaChoice choice) {
    switch (choice) {
        case QuotaChoice::Generous:
            return "G";
        case QuotaChoice::Stingy:
            return "S";
        default:
            return "-";
    }
}

bool allHeld(const MachineState& state) {
    return state.held[0] == 1 && state.held[1] == 1 && state.held[2] == 1;
}

}  // namespace

SimResult runSimulation(const SimOptions& options, std::uint32_t seed, std::ostream* trace,
                        PlotRecorder* plot, PullObserver* observer) {
    MachineState fresh = freshMachineState();
    fresh.bet = options.bet;
    fresh.credit = options.credit;
    fresh.account = options.account;
    fresh.options.secondDeal = options.secondDeal ? 1 : 0;
    fresh.options.autoBet = options.autoBet ? 1 : 0;
    SilentMachine machine(fresh);
    MachineState& state = machine.state;
    RandomSources& sources = machine.sources;
    OutcomePool& pool = machine.pool;
    SilentServices& services = machine.services;
    Game& game = machine.game;

    SimResult result;
    // The game's start-up chain, with the given seed in place of the clock.
    result.seeding = seedRandomSources(sources, [seed] { return seed; });
    for (auto& symbol : state.reelSymbols) symbol = drawSymbol(sources, kSymbolCount);
    result.startReels = state.reelSymbols;

    if (trace)
        traceLine(*trace, "seed={} kl={} ij={} reels={}", result.seeding.seed, result.seeding.kl,
                  result.seeding.ij, fmt::join(state.reelSymbols, ","));
    if (plot) plot->start(moneyOf(state).total());

    for (std::int64_t pull = 1; pull <= options.pulls; ++pull) {
        const bool takesStake =
            state.options.secondDeal == 0 || state.phase == Phase::FirstDeal || allHeld(state);
        bool coin = false;
        if (options.coins && takesStake &&
            static_cast<std::int64_t>(state.credit) + state.win < state.bet && game.insertCoin()) {
            ++result.coinsInserted;
            coin = true;
        }

        const std::int32_t winBefore = state.win;
        const std::int64_t creditAndWin = static_cast<std::int64_t>(state.credit) + state.win;
        const std::int64_t spinsBefore = services.spins();

        // The lever pressed on its knob and let go.
        if (observer) observer->beforePull(sources);
        game.pressLever(true);
        game.releaseLever();
        const bool dealt = services.spins() != spinsBefore;

        // A pull that takes a stake banks the pending win first. A refused pull banked it too
        // when the win is gone; it stays pending when the account could not take its excess.
        const bool banked = takesStake && winBefore > 0 && (dealt || state.win == 0);
        bool overflowMove = false;
        if (banked) {
            result.returned += winBefore;
            ++result.paidGames;
            if (creditAndWin > kCreditMax) {
                // The credit stops at its limit and the rest goes into the account.
                overflowMove = true;
                ++result.overflowMoves;
                result.movedToAccount += creditAndWin - kCreditMax;
            }
        }
        if (!dealt) {
            result.refused = true;
            result.refusedWinPending = takesStake && winBefore > 0 && !banked;
            break;
        }
        ++result.pulls;
        if (takesStake) {
            ++result.firstDeals;
            result.staked += state.bet;  // Auto bet may have lowered it to the credit
        } else {
            ++result.secondDeals;
        }

        if (plot || observer) {
            PullRecord record;
            record.firstDeal = takesStake;
            record.stake = takesStake ? state.bet : 0;
            // The evaluation leaves the credit and the account alone, so they are still what
            // the deal was drawn under.
            record.ahead = playerAhead(state);
            record.comboClass = classifyLine(state.reelSymbols);
            record.money = moneyOf(state).total();
            record.coin = coin;
            record.overflowMove = overflowMove;
            record.returned = result.returned + state.win;
            record.staked = result.staked;
            record.gameOver = !takesStake || state.options.secondDeal == 0 || allHeld(state);
            record.pay = state.win;
            if (plot) plot->add(record);
            if (observer) observer->afterPull(record, state, pool);
        }

        if (trace) {
            const FirstDealRecord& deal = pool.lastFirstDeal();
            traceLine(*trace, "{} {} line={} class={} win={} credit={} account={} held={}", pull,
                      takesStake ? fmt::format("1st table={} cand={} pick={}",
                                               tableLetter(deal.table), deal.candidates, deal.pick)
                                 : "2nd table=- cand=- pick=-",
                      fmt::join(state.reelSymbols, ","), classifyLine(state.reelSymbols), state.win,
                      state.credit, state.account, fmt::join(state.held, ""));
        }
    }

    result.returned += state.win;
    if (state.win > 0) ++result.paidGames;
    result.statistics = state.statistics;
    result.credit = state.credit;
    result.account = state.account;
    result.win = state.win;
    result.bet = state.bet;
    return result;
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
    if (r.refused)
        out << fmt::format("The run ended at pull {}: {}.\n", r.pulls + 1,
                           r.refusedWinPending
                               ? "the account cannot take the win beyond the credit's limit"
                               : "the credit does not cover the bet");
    out << "\n";

    out << fmt::format("{:<24} {:>5} {:>10} {:>10}\n", "statistics", "( X )", "1st deal",
                       "2nd deal");
    for (int c = 1; c <= kClassCount; ++c) {
        const std::string multiplier =
            c < kClassCount ? std::to_string(kPaytableMultipliers[c]) : "";
        out << fmt::format("{:2} {:<21} {:>5} {:>10} {:>10}\n", c, comboClassText(c), multiplier,
                           r.statistics.firstDealCounts[c], r.statistics.secondDealCounts[c]);
    }
    out << "\n";

    const auto percent = [](std::int64_t part, std::int64_t whole) {
        if (whole == 0) return std::string("-");
        return fmt::format("{:.2f} %",
                           100.0 * static_cast<double>(part) / static_cast<double>(whole));
    };
    row("amount staked", r.staked);
    row("amount returned", r.returned);
    row("return to player", percent(r.returned, r.staked));
    row("hit rate", percent(r.paidGames, r.firstDeals));
    row("credit overflow moves", r.overflowMoves);
    if (r.overflowMoves > 0) row("  moved to the account", r.movedToAccount);
    row("final credit", r.credit);
    row("final account", r.account);
    row("final win", r.win);
}

void writeSummaryJson(std::ostream& out, const SimResult& r, bool seedFromClock) {
    Json statistics = Json::array();
    for (int c = 1; c <= kClassCount; ++c) {
        statistics.push_back({{"class", c},
                              {"name", comboClassText(c)},
                              {"pays", c < kClassCount ? Json(kPaytableMultipliers[c]) : Json()},
                              {"first_deal", r.statistics.firstDealCounts[c]},
                              {"second_deal", r.statistics.secondDealCounts[c]}});
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
    if (r.refused)
        report["refusal"] = r.refusedWinPending
                                ? "the account cannot take the win beyond the credit's limit"
                                : "the credit does not cover the bet";
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
