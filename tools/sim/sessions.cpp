#include "tools/sim/sessions.h"

#include <fmt/format.h>

#include <algorithm>
#include <limits>
#include <ostream>

#include "tools/sim/simulator.h"

namespace fruvana::sim {

namespace {

// Counts the settled games in a row that paid nothing.
class LosingRuns final : public PullObserver {
  public:
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

// The nearest-rank percentile of sorted values: the value at rank ceil(p n / 100), or at
// least 1, so that p = 0 gives the lowest and p = 100 the highest.
std::int64_t nearestRank(const std::vector<std::int64_t>& sorted, int p) {
    if (sorted.empty()) return 0;
    const auto n = static_cast<std::int64_t>(sorted.size());
    const std::int64_t rank = std::max<std::int64_t>((p * n + 99) / 100, 1);
    return sorted[static_cast<std::size_t>(rank - 1)];
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
        o.money = Money{r.credit, r.win, r.account}.total();
        o.coins = r.coinsInserted;
        o.longestLosingRun = losing.longest();
    });
    return all;
}

SessionFigures sessionFigures(const SimOptions& options, const std::vector<SessionOutcome>& all) {
    SessionFigures f;
    f.sessions = static_cast<std::int64_t>(all.size());
    f.startMoney = Money{options.credit, 0, options.account}.total();
    std::vector<std::int64_t> longest;
    f.money.reserve(all.size());
    longest.reserve(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
        const SessionOutcome& o = all[i];
        f.money.push_back(o.money);
        longest.push_back(o.longestLosingRun);
        f.ahead += o.money > f.startMoney ? 1 : 0;
        f.moreCoins += o.coins > 0 ? 1 : 0;
        if (o.longestLosingRun > f.longestLosingRun || i == 0) {
            f.longestLosingRun = o.longestLosingRun;
            f.longestIn = static_cast<std::int64_t>(i);
        }
    }
    std::sort(f.money.begin(), f.money.end());
    std::sort(longest.begin(), longest.end());
    for (std::size_t k = 0; k < kPercentiles.size(); ++k)
        f.percentile[k] = nearestRank(f.money, kPercentiles[k]);
    f.medianLongest = nearestRank(longest, 50);
    f.lowest = nearestRank(f.money, 0);
    f.highest = nearestRank(f.money, 100);
    return f;
}

void writeSessions(std::ostream& out, const SimOptions& options, std::uint32_t seed,
                   const std::vector<SessionOutcome>& all, bool json) {
    const SessionFigures f = sessionFigures(options, all);
    const std::string command = commandLineFor(options, seed);
    if (json) {
        Json moneyAtEnd;
        for (std::size_t k = 0; k < kPercentiles.size(); ++k)
            moneyAtEnd["p" + std::to_string(kPercentiles[k])] = f.percentile[k];
        moneyAtEnd["lowest"] = f.lowest;
        moneyAtEnd["highest"] = f.highest;
        const Json report = {{"report", "sessions"},
                             {"command", command},
                             {"sessions", f.sessions},
                             {"session_pulls", options.sessionPulls},
                             {"start_money", f.startMoney},
                             {"money_at_end", moneyAtEnd},
                             {"ended_ahead", f.ahead},
                             {"needed_more_than_one_coin", f.moreCoins},
                             {"longest_losing_run",
                              {{"games", f.longestLosingRun},
                               {"session", f.longestIn},
                               {"median_per_session", f.medianLongest}}}};
        out << report.dump(2) << "\n";
        return;
    }
    out << fmt::format(
        "{}\n{} sessions of {} pulls, each from the machine above with its own seed (the\n"
        "upper half of splitmix64 of seed x 2^32 + session, counted from 0), a coin put\n"
        "in whenever the stake needs one.\n\n"
        "money at the end (credit + win + account; {} at the start)\n",
        command, f.sessions, options.sessionPulls, f.startMoney);
    for (std::size_t k = 0; k < kPercentiles.size(); ++k)
        out << fmt::format("  {:<28} {:>16}\n",
                           fmt::format("{} % of sessions at most", kPercentiles[k]),
                           f.percentile[k]);
    out << fmt::format("  {:<28} {:>16}\n  {:<28} {:>16}\n\n", "lowest", f.lowest, "highest",
                       f.highest);
    const auto row = [&out](const char* label, const auto& value) {
        out << fmt::format("{:<46} {:>10}\n", label, value);
    };
    row("sessions ending ahead", shareText(f.ahead, f.sessions));
    row("sessions needing more than one coin", shareText(f.moreCoins, f.sessions));
    out << "  (the starting credit counts as the first coin)\n";
    row("longest run of losing games", f.longestLosingRun);
    out << fmt::format("  (in session {}; the median session's longest is {})\n", f.longestIn,
                       f.medianLongest);
}

Json sessionOutcomesJson(const std::vector<SessionOutcome>& all) {
    Json list = Json::array();
    for (const SessionOutcome& o : all) {
        list.push_back(o.money);
        list.push_back(o.coins);
        list.push_back(o.longestLosingRun);
    }
    return list;
}

std::vector<SessionOutcome> sessionOutcomesFrom(const Json& list) {
    if (!list.is_array() || list.size() % 3 != 0)
        throw ShardError("the sessions are not a list of three numbers a session");
    constexpr std::int64_t kMost = std::numeric_limits<std::int64_t>::max();
    std::vector<SessionOutcome> all(list.size() / 3);
    for (std::size_t i = 0; i < all.size(); ++i) {
        const std::string what =
            "session " + std::to_string(i) + " of the file is not three whole numbers";
        all[i] = {wholeNumber(list[3 * i], -kMost, kMost, what),
                  wholeNumber(list[3 * i + 1], 0, kMost, what),
                  wholeNumber(list[3 * i + 2], 0, kMost, what)};
    }
    return all;
}

}  // namespace fruvana::sim
