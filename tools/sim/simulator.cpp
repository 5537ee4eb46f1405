#include "tools/sim/simulator.h"

#include <array>
#include <charconv>
#include <ostream>
#include <string>

#include "engine/game.h"
#include "engine/outcome_pool.h"
#include "tools/sim/json.h"
#include "tools/sim/silent_services.h"
#include "tools/sim/text_format.h"

namespace fruvana::sim {

namespace {

// One trace line, built in place: a run may write millions of them.
class LineBuffer {
  public:
    LineBuffer& text(std::string_view s) {
        for (char ch : s) put(ch);
        return *this;
    }
    LineBuffer& number(std::int64_t value) {
        const auto [end, error] =
            std::to_chars(buffer_.data() + size_, buffer_.data() + buffer_.size(), value);
        if (error == std::errc{}) size_ = static_cast<std::size_t>(end - buffer_.data());
        return *this;
    }
    LineBuffer& reels(const Line& line) {
        return number(line[0]).text(",").number(line[1]).text(",").number(line[2]);
    }
    void writeTo(std::ostream& out) {
        put('\n');
        out.write(buffer_.data(), static_cast<std::streamsize>(size_));
        size_ = 0;
    }

  private:
    void put(char ch) {
        if (size_ < buffer_.size()) buffer_[size_++] = ch;
    }
    std::array<char, 256> buffer_{};
    std::size_t size_ = 0;
};

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

    LineBuffer line;
    if (trace) {
        line.text("seed=").number(result.seeding.seed).text(" kl=").number(result.seeding.kl);
        line.text(" ij=").number(result.seeding.ij).text(" reels=").reels(state.reelSymbols);
        line.writeTo(*trace);
    }
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
            line.number(pull);
            if (takesStake) {
                const FirstDealRecord& deal = pool.lastFirstDeal();
                line.text(" 1st table=")
                    .text(tableLetter(deal.table))
                    .text(" cand=")
                    .number(deal.candidates);
                line.text(" pick=").number(deal.pick);
            } else {
                line.text(" 2nd table=- cand=- pick=-");
            }
            line.text(" line=")
                .reels(state.reelSymbols)
                .text(" class=")
                .number(classifyLine(state.reelSymbols));
            line.text(" win=").number(state.win).text(" credit=").number(state.credit);
            line.text(" account=").number(state.account).text(" held=");
            for (std::uint8_t h : state.held) line.number(h);
            line.writeTo(*trace);
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
    out << format("seed %u%s: kl %d, ij %d, reels at the start %d,%d,%d\n", r.seeding.seed,
                  seedFromClock ? " (from the clock)" : "", r.seeding.kl, r.seeding.ij,
                  r.startReels[0], r.startReels[1], r.startReels[2]);
    const auto row = [&out](const char* label, const std::string& value) {
        out << format("%-24s %14s\n", label, value.c_str());
    };
    const auto count = [](std::int64_t n) { return std::to_string(n); };

    row("pulls", count(r.pulls));
    row("first deals", count(r.firstDeals));
    row("second deals", count(r.secondDeals));
    row("coins inserted", count(r.coinsInserted));
    if (r.refused)
        out << format("The run ended at pull %lld: %s.\n", static_cast<long long>(r.pulls) + 1,
                      r.refusedWinPending
                          ? "the account cannot take the win beyond the credit's limit"
                          : "the credit does not cover the bet");
    out << "\n";

    out << format("%-24s %5s %10s %10s\n", "statistics", "( X )", "1st deal", "2nd deal");
    for (int c = 1; c <= kClassCount; ++c) {
        const std::string multiplier = c < kClassCount ? count(kPaytableMultipliers[c]) : "";
        out << format("%2d %-21s %5s %10d %10d\n", c, std::string(comboClassText(c)).c_str(),
                      multiplier.c_str(), r.statistics.firstDealCounts[c],
                      r.statistics.secondDealCounts[c]);
    }
    out << "\n";

    const auto percent = [](std::int64_t part, std::int64_t whole) {
        if (whole == 0) return std::string("-");
        return format("%.2f %%", 100.0 * static_cast<double>(part) / static_cast<double>(whole));
    };
    row("amount staked", count(r.staked));
    row("amount returned", count(r.returned));
    row("return to player", percent(r.returned, r.staked));
    row("hit rate", percent(r.paidGames, r.firstDeals));
    row("credit overflow moves", count(r.overflowMoves));
    if (r.overflowMoves > 0) row("  moved to the account", count(r.movedToAccount));
    row("final credit", count(r.credit));
    row("final account", count(r.account));
    row("final win", count(r.win));
}

void writeSummaryJson(std::ostream& out, const SimResult& r, bool seedFromClock) {
    JsonWriter json(out);
    json.beginObject().field("report", "simulation");
    json.field("seed", std::int64_t{r.seeding.seed}).field("seed_from_clock", seedFromClock);
    json.field("kl", r.seeding.kl).field("ij", r.seeding.ij);
    json.key("start_reels").beginArray();
    for (const std::uint8_t s : r.startReels) json.value(int{s});
    json.endArray();
    json.field("pulls", r.pulls).field("first_deals", r.firstDeals);
    json.field("second_deals", r.secondDeals).field("coins_inserted", r.coinsInserted);
    json.key("refused_at_pull");
    if (r.refused) {
        json.value(r.pulls + 1);
        json.field("refusal", r.refusedWinPending
                                  ? "the account cannot take the win beyond the credit's limit"
                                  : "the credit does not cover the bet");
    } else {
        json.null();
    }
    json.key("statistics").beginArray();
    for (int c = 1; c <= kClassCount; ++c) {
        json.beginObject().field("class", c).field("name", comboClassText(c));
        json.key("pays");
        if (c < kClassCount) {
            json.value(kPaytableMultipliers[c]);
        } else {
            json.null();
        }
        json.field("first_deal", r.statistics.firstDealCounts[c]);
        json.field("second_deal", r.statistics.secondDealCounts[c]).endObject();
    }
    json.endArray();
    const auto fraction = [&json](const char* name, std::int64_t part, std::int64_t whole) {
        json.key(name);
        if (whole == 0) {
            json.null();
        } else {
            json.value(static_cast<double>(part) / static_cast<double>(whole));
        }
    };
    json.field("staked", r.staked).field("returned", r.returned);
    fraction("return_to_player", r.returned, r.staked);
    fraction("hit_rate", r.paidGames, r.firstDeals);
    json.field("credit_overflow_moves", r.overflowMoves);
    json.field("moved_to_account", r.movedToAccount);
    json.field("final_credit", r.credit).field("final_account", r.account);
    json.field("final_win", r.win).endObject();
}

}  // namespace fruvana::sim
