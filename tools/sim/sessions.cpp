#include "tools/sim/sessions.h"

#include <algorithm>
#include <ostream>

#include "tools/sim/simulator.h"
#include "tools/sim/text_format.h"

namespace fruvana::sim {

namespace {

// Counts the settled games in a row that paid nothing.
class LosingRuns final : public PullObserver {
  public:
    void beforePull(const RandomSources&) override {}
    void afterPull(const PullRecord& pull, const MachineState&, const OutcomePool&) override {
        if (!pull.gameOver) return;
        current_ = pull.pay == 0 ? current_ + 1 : 0;
        longest_ = std::max(longest_, current_);
    }
    std::int64_t longest() const { return longest_; }

  private:
    std::int64_t current_ = 0;
    std::int64_t longest_ = 0;
};

// The nearest-rank percentile of sorted values: the value at rank ceil(p n / 100).
std::int64_t nearestRank(const std::vector<std::int64_t>& sorted, int p) {
    if (sorted.empty()) return 0;
    const auto n = static_cast<std::int64_t>(sorted.size());
    const std::int64_t rank = std::max<std::int64_t>((p * n + 99) / 100, 1);
    return sorted[static_cast<std::size_t>(rank - 1)];
}

std::string share(std::int64_t part, std::int64_t whole) {
    return whole == 0
               ? "-"
               : format("%.2f %%", 100.0 * static_cast<double>(part) / static_cast<double>(whole));
}

}  // namespace

std::vector<SessionOutcome> runSessions(const SimOptions& options, std::uint32_t seed,
                                        PartRange range, int jobs) {
    std::vector<SessionOutcome> all(static_cast<std::size_t>(range.last - range.first));
    SimOptions sessionOptions = options;
    sessionOptions.pulls = options.sessionPulls;
    sessionOptions.coins = true;
    forEachPart(range.first, range.last, jobs, [&](std::int64_t session) {
        LosingRuns losing;
        const SimResult r =
            runSimulation(sessionOptions, partSeed(seed, static_cast<std::uint32_t>(session)),
                          nullptr, nullptr, &losing);
        SessionOutcome& o = all[static_cast<std::size_t>(session - range.first)];
        o.money = std::int64_t{r.credit} + r.win + r.account;
        o.coins = r.coinsInserted;
        o.longestLosingRun = losing.longest();
    });
    return all;
}

SessionFigures sessionFigures(const SimOptions& options, const std::vector<SessionOutcome>& all) {
    SessionFigures f;
    f.sessions = static_cast<std::int64_t>(all.size());
    f.startMoney = std::int64_t{options.credit} + options.account;
    std::vector<std::int64_t> money, longest;
    money.reserve(all.size());
    longest.reserve(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        const SessionOutcome& o = all[i];
        money.push_back(o.money);
        longest.push_back(o.longestLosingRun);
        f.ahead += o.money > f.startMoney ? 1 : 0;
        f.moreCoins += o.coins > 0 ? 1 : 0;
        if (o.longestLosingRun > f.longestLosingRun || i == 0) {
            f.longestLosingRun = o.longestLosingRun;
            f.longestIn = static_cast<std::int64_t>(i);
        }
    }
    std::sort(money.begin(), money.end());
    std::sort(longest.begin(), longest.end());
    for (std::size_t k = 0; k < kPercentiles.size(); ++k)
        f.percentile[k] = nearestRank(money, kPercentiles[k]);
    f.medianLongest = nearestRank(longest, 50);
    if (!money.empty()) {
        f.lowest = money.front();
        f.highest = money.back();
    }
    return f;
}

void writeSessions(std::ostream& out, const SimOptions& options, std::uint32_t seed,
                   const std::vector<SessionOutcome>& all, bool json) {
    const SessionFigures f = sessionFigures(options, all);
    const std::string command = commandLineFor(options, seed);
    if (json) {
        JsonWriter j(out);
        j.beginObject().field("report", "sessions").field("command", command);
        j.field("sessions", f.sessions).field("session_pulls", options.sessionPulls);
        j.field("start_money", f.startMoney);
        j.key("money_at_end").beginObject();
        for (std::size_t k = 0; k < kPercentiles.size(); ++k)
            j.field("p" + std::to_string(kPercentiles[k]), f.percentile[k]);
        j.field("lowest", f.lowest).field("highest", f.highest).endObject();
        j.field("ended_ahead", f.ahead).field("needed_more_than_one_coin", f.moreCoins);
        j.key("longest_losing_run").beginObject().field("games", f.longestLosingRun);
        j.field("session", f.longestIn).field("median_per_session", f.medianLongest).endObject();
        j.endObject();
        return;
    }
    out << command << "\n";
    out << format(
        "%lld sessions of %lld pulls, each from the machine above with its own seed (the\n"
        "upper half of splitmix64 of seed x 2^32 + session, counted from 0), a coin put\n"
        "in whenever the stake needs one.\n\n",
        static_cast<long long>(f.sessions), static_cast<long long>(options.sessionPulls));
    out << format("money at the end (credit + win + account; %lld at the start)\n",
                  static_cast<long long>(f.startMoney));
    for (std::size_t k = 0; k < kPercentiles.size(); ++k)
        out << format("  %-28s %16lld\n",
                      format("%d %% of sessions at most", kPercentiles[k]).c_str(),
                      static_cast<long long>(f.percentile[k]));
    out << format("  %-28s %16lld\n  %-28s %16lld\n\n", "lowest", static_cast<long long>(f.lowest),
                  "highest", static_cast<long long>(f.highest));
    out << format("%-46s %10s\n", "sessions ending ahead", share(f.ahead, f.sessions).c_str());
    out << format("%-46s %10s\n", "sessions needing more than one coin",
                  share(f.moreCoins, f.sessions).c_str());
    out << "  (the starting credit counts as the first coin)\n";
    out << format("%-46s %10lld\n", "longest run of losing games",
                  static_cast<long long>(f.longestLosingRun));
    out << format("  (in session %lld; the median session's longest is %lld)\n",
                  static_cast<long long>(f.longestIn), static_cast<long long>(f.medianLongest));
}

void writeSessionOutcomes(JsonWriter& json, const std::vector<SessionOutcome>& all) {
    json.beginArray();
    for (const SessionOutcome& o : all)
        json.value(o.money).value(o.coins).value(o.longestLosingRun);
    json.endArray();
}

bool readSessionOutcomes(const JsonValue& value, std::vector<SessionOutcome>& all,
                         std::string& error) {
    const JsonValue::Array* items = value.array();
    if (items == nullptr || items->size() % 3 != 0) {
        error = "the sessions are not a list of three numbers a session";
        return false;
    }
    all.assign(items->size() / 3, {});
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::int64_t* money = (*items)[3 * i].number();
        const std::int64_t* coins = (*items)[3 * i + 1].number();
        const std::int64_t* longest = (*items)[3 * i + 2].number();
        if (money == nullptr || coins == nullptr || longest == nullptr || *coins < 0 ||
            *longest < 0) {
            error = "session " + std::to_string(i) + " of the file is not three whole numbers";
            return false;
        }
        all[i] = {*money, *coins, *longest};
    }
    return true;
}

}  // namespace fruvana::sim
