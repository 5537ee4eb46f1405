#include "tools/sim/sim_options.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <functional>
#include <limits>
#include <ostream>
#include <string>

namespace fruvana::sim {

namespace {

// Plain decimal only: no sign but a leading minus, no base prefix, no blanks, so that "010" is
// ten and "0x10" is refused rather than read as some other number.
std::optional<std::int64_t> parseDecimal(const std::string& text) {
    std::int64_t value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (text.empty() || error != std::errc{} || end != last) return std::nullopt;
    return value;
}

// A check that takes the text `accepts` takes, and otherwise says what it is not.
CLI::Validator accepting(const std::function<bool(const std::string&)>& accepts,
                         const std::string& isNot) {
    return CLI::Validator(
        [accepts, isNot](std::string& text) {
            return accepts(text) ? std::string() : "'" + text + "' " + isNot;
        },
        "");
}

// "K/N" with 1 <= K <= N <= kMaxShards.
std::optional<std::pair<int, int>> parseShard(const std::string& text) {
    const std::size_t slash = text.find('/');
    if (slash == std::string::npos) return std::nullopt;
    const auto k = parseDecimal(text.substr(0, slash));
    const auto n = parseDecimal(text.substr(slash + 1));
    if (!k || !n || *k < 1 || *n < *k || *n > kMaxShards) return std::nullopt;
    return std::pair<int, int>{static_cast<int>(*k), static_cast<int>(*n)};
}

// An option of a whole number from lo to hi, with its default shown in the help or not.
// Deliberate: the check writes an accepted number back in plain digits, because CLI11 itself
// would read a leading 0 as octal.
template <typename T>
CLI::Option* addNumber(CLI::App& app, const std::string& name, T& value, const std::string& help,
                       const std::string& typeName, std::int64_t lo, std::int64_t hi,
                       bool showDefault = true) {
    const std::string isNot =
        "is not a whole number from " + std::to_string(lo) + " to " + std::to_string(hi);
    const auto check = [lo, hi, isNot](std::string& text) {
        const auto number = parseDecimal(text);
        if (!number || *number < lo || *number > hi) return "'" + text + "' " + isNot;
        text = std::to_string(*number);
        return std::string();
    };
    CLI::Option* option = app.add_option(name, value, help)
                              ->type_name(typeName)
                              ->transform(CLI::Validator(check, ""));
    return showDefault ? option->capture_default_str() : option;
}

CLI::Option* addOnOff(CLI::App& app, const std::string& name, std::string& text,
                      const std::string& help) {
    return app.add_option(name, text, help)
        ->type_name("on|off")
        ->check(accepting([](const std::string& t) { return t == "on" || t == "off"; },
                          "is neither on nor off"))
        ->capture_default_str();
}

}  // namespace

ParsedCommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out,
                                   std::ostream& err) {
    CLI::App app{
        "fruvana-sim: what the machine pays. Pulls the lever as autoplay does, through the "
        "game's own deal cycle, and sums up the money; or prints the exact par sheet."};
    app.name("fruvana-sim");

    SimOptions options;
    std::uint32_t seed = 0;
    std::int64_t bytes = 0, sessions = 0;
    std::string secondDeal = "on";
    std::string autoBet = "off";

    auto* seedOption = addNumber(
        app, "--seed", seed, "Seed of the first generator in place of the clock, 0 to 4294967295",
        "N", 0, std::numeric_limits<std::uint32_t>::max(), false);
    auto* pulls =
        addNumber(app, "--pulls", options.pulls, "Lever pulls to make", "N", 0, kMaxPulls);
    addNumber(app, "--bet", options.bet, "Stake of a first deal, 1 to 10", "N", kLowestBet,
              kHighestBet);
    addNumber(app, "--credit", options.credit, "Money on the machine at the start, 0 to 9999999",
              "N", 0, kCreditMax);
    addNumber(app, "--account", options.account,
              "The player's bank at the start, -99999999 to 99999999", "N", -kAccountLimit,
              kAccountLimit);
    addOnOff(app, "--second-deal", secondDeal, "The Second deal option");
    addOnOff(app, "--auto-bet", autoBet, "The Auto bet option");
    app.add_flag("--coins", options.coins,
                 "Put a coin in whenever the credit and the win do not cover the stake");
    auto* trace = app.add_flag(
        "--trace", options.trace,
        "One line per evaluated deal. The first line gives the seed, kl and ij (the second "
        "generator's two seeds) and the reels at start-up; then each deal: its number, 1st or "
        "2nd, table (G generous, S stingy quotas), cand (candidate lines the pool fill drew), "
        "pick (the pool line dealt), the line, its class (12: no win), win, credit, account and "
        "held (1 for a held reel)");
    std::string plotFile;
    auto* plot =
        app.add_option("--plot", plotFile,
                       "Also draw the run: money, running return and class counts against the "
                       "par sheet, as SVG, or PNG when FILE ends in .png")
            ->type_name("FILE");
    auto* parSheet =
        app.add_flag("--par-sheet", options.parSheet,
                     "No simulation: the exact figures from the quota tables and the pay table")
            ->excludes(trace, plot);

    std::string stream;
    auto* rngStream =
        app.add_option("--rng-stream", stream,
                       "Write a generator's raw 32-bit words to standard output until the reader "
                       "stops, each least significant byte first: lcg, the first generator's "
                       "state after each step from the seed; ranmar, the second generator's "
                       "24-bit numbers seeded as the game seeds them, one bit stream cut into "
                       "words (numbers a, b, c, d make a<<8|b>>16, b<<16|c>>8, c<<24|d); "
                       "symbols, drawSymbol(10) as the game seeds it, eight 4-bit symbols (1 to "
                       "10) a word, the first in the top bits")
            ->type_name("lcg|ranmar|symbols")
            ->check(accepting([](const std::string& t) { return rngStreamNamed(t).has_value(); },
                              "is not lcg, ranmar or symbols"))
            ->excludes(trace, plot, parSheet);
    auto* bytesOption = addNumber(app, "--bytes", bytes, "With --rng-stream: stop after N bytes",
                                  "N", 0, std::numeric_limits<std::int64_t>::max(), false)
                            ->needs(rngStream);
    auto* certify =
        app.add_flag("--certify", options.certify,
                     "The laboratory's tests over --pulls pulls (default 10000000) dealt in 100 "
                     "parts, each with its own seed: symbol draws, class counts, table choice, "
                     "return, prizes")
            ->excludes(trace, plot, parSheet, rngStream);
    auto* sessionsOption =
        addNumber(app, "--sessions", sessions,
                  "N sessions of --session-pulls pulls, session i seeded with the upper half of "
                  "splitmix64(seed x 2^32 + i), coins as needed: the money at the end, shares "
                  "ahead and needing coins, the longest losing run",
                  "N", 1, kMaxSessions, false)
            ->excludes(trace, parSheet, rngStream, certify);
    addNumber(app, "--session-pulls", options.sessionPulls, "Pulls of each session", "M", 0,
              kMaxPulls)
        ->needs(sessionsOption);
    auto* jobsOption = addNumber(app, "--jobs", options.jobs,
                                 "Threads dealing the parts of --certify or --sessions; the "
                                 "result does not depend on it",
                                 "J", 1, kMaxJobs);
    app.add_flag("--json", options.json,
                 "The report as JSON: par sheet, summary, certify or sessions")
        ->excludes(trace, rngStream);
    std::string shard;
    auto* shardOption =
        app.add_option("--shard", shard,
                       "Deal only the K-th of N equal shares of the parts of --certify or "
                       "--sessions (needs --seed) and write them as JSON for --merge")
            ->type_name("K/N")
            ->check(accepting([](const std::string& t) { return parseShard(t).has_value(); },
                              "is not K/N with 1 <= K <= N <= " + std::to_string(kMaxShards)))
            ->excludes(plot);
    auto* merge =
        app.add_option("--merge", options.mergeFiles,
                       "Join the JSON of every shard of one run into the report the whole run "
                       "prints (with --json, its JSON; with --plot, the sessions' picture)")
            ->type_name("FILE")
            ->expected(1, -1);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        // Help asked for is a success; every other parse failure is bad input.
        return {std::nullopt, code == 0 ? 0 : 2};
    }

    // Rules CLI11 cannot say: which modes --jobs and --shard go with.
    const bool parted = options.certify || sessionsOption->count() > 0;
    const auto refuse = [&err](const std::string& why) {
        err << why << "\nRun with --help for more information.\n";
        return ParsedCommandLine{std::nullopt, 2};
    };
    if (merge->count() > 0) {
        // The files hold the run's settings; only the form of the report is chosen here.
        for (const CLI::Option* other : app.get_options()) {
            const std::string name = other->get_name();
            if (other->count() > 0 && name != "--merge" && name != "--json" && name != "--plot")
                return refuse("--merge takes the run from its files: " + name +
                              " cannot go with it");
        }
    }
    if (jobsOption->count() > 0 && !parted)
        return refuse("--jobs works with --certify or --sessions");
    if (shardOption->count() > 0 && !parted)
        return refuse("--shard works with --certify or --sessions");
    if (sessionsOption->count() > 0 && pulls->count() > 0)
        return refuse("--sessions deals --session-pulls pulls a session, not --pulls");
    if (shardOption->count() > 0 && seedOption->count() == 0)
        return refuse("--shard needs --seed, so that every shard deals the same run");

    if (seedOption->count() > 0) options.seed = seed;
    if (options.certify && pulls->count() == 0) options.pulls = kCertifyPulls;
    if (!stream.empty()) options.rngStream = rngStreamNamed(stream);
    if (bytesOption->count() > 0) options.streamBytes = bytes;
    if (sessionsOption->count() > 0) options.sessions = sessions;
    if (!shard.empty()) options.shard = parseShard(shard);
    options.secondDeal = secondDeal == "on";
    options.autoBet = autoBet == "on";
    if (plot->count() > 0) options.plotFile = plotFile;
    return {options, 0};
}

std::string commandLineFor(const SimOptions& o, std::uint32_t seed) {
    std::string command = "fruvana-sim";
    if (o.certify) command += " --certify";
    if (o.sessions)
        command += " --sessions " + std::to_string(*o.sessions) + " --session-pulls " +
                   std::to_string(o.sessionPulls);
    command += " --seed " + std::to_string(seed);
    if (!o.sessions) command += " --pulls " + std::to_string(o.pulls);
    command += " --bet " + std::to_string(o.bet) + " --credit " + std::to_string(o.credit) +
               " --account " + std::to_string(o.account) + " --second-deal " +
               (o.secondDeal ? "on" : "off") + " --auto-bet " + (o.autoBet ? "on" : "off");
    if (o.coins && !o.certify && !o.sessions) command += " --coins";
    return command;
}

}  // namespace fruvana::sim
