#include "tools/sim/sim_options.h"

#include <CLI/CLI.hpp>
#include <charconv>
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

CLI::Validator wholeNumber(std::int64_t lo, std::int64_t hi) {
    const std::string range = std::to_string(lo) + " to " + std::to_string(hi);
    return CLI::Validator(
        [lo, hi, range](std::string& text) -> std::string {
            const auto value = parseDecimal(text);
            if (!value || *value < lo || *value > hi)
                return "'" + text + "' is not a whole number from " + range;
            return {};
        },
        "");
}

CLI::Validator onOff() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (text == "on" || text == "off") return {};
            return "'" + text + "' is neither on nor off";
        },
        "");
}

template <typename T>
T valueOf(const std::string& text) {
    // Only called on text the validator accepted, so the value is present and in range.
    return static_cast<T>(*parseDecimal(text));
}

}  // namespace

ParsedCommandLine parseCommandLine(int argc, const char* const* argv, std::ostream& out,
                                   std::ostream& err) {
    CLI::App app{
        "fruvana-sim: what the machine pays. Pulls the lever as autoplay does, through the "
        "game's own deal cycle, and sums up the money; or prints the exact par sheet."};
    app.name("fruvana-sim");

    std::string seed;
    std::string pulls = "1000";
    std::string bet = "5";
    std::string credit = "1000";
    std::string account = "-1000";
    std::string secondDeal = "on";
    std::string autoBet = "off";
    SimOptions options;

    app.add_option("--seed", seed,
                   "Seed of the first generator in place of the clock, 0 to 4294967295")
        ->type_name("N")
        ->check(wholeNumber(0, std::numeric_limits<std::uint32_t>::max()));
    app.add_option("--pulls", pulls, "Lever pulls to make")
        ->type_name("N")
        ->check(wholeNumber(0, kMaxPulls))
        ->capture_default_str();
    app.add_option("--bet", bet, "Stake of a first deal, 1 to 10")
        ->type_name("N")
        ->check(wholeNumber(kMinBet, kMaxBet))
        ->capture_default_str();
    app.add_option("--credit", credit, "Money on the machine at the start, 0 to 9999999")
        ->type_name("N")
        ->check(wholeNumber(0, kCreditMax))
        ->capture_default_str();
    app.add_option("--account", account, "The player's bank at the start, -99999999 to 99999999")
        ->type_name("N")
        ->check(wholeNumber(-kAccountLimit, kAccountLimit))
        ->capture_default_str();
    app.add_option("--second-deal", secondDeal, "The Second deal option")
        ->type_name("on|off")
        ->check(onOff())
        ->capture_default_str();
    app.add_option("--auto-bet", autoBet, "The Auto bet option")
        ->type_name("on|off")
        ->check(onOff())
        ->capture_default_str();
    app.add_flag("--coins", options.coins,
                 "Put a coin in whenever the credit and the win do not cover the stake");
    auto* trace = app.add_flag("--trace", options.trace, "One line per evaluated deal");
    std::string plotFile;
    auto* plot =
        app.add_option("--plot", plotFile,
                       "Also draw the run: money, running return and class counts against the "
                       "par sheet, as SVG, or PNG when FILE ends in .png")
            ->type_name("FILE");
    app.add_flag("--par-sheet", options.parSheet,
                 "No simulation: the exact figures from the quota tables and the pay table")
        ->excludes(trace)
        ->excludes(plot);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        // Help asked for is a success; every other parse failure is bad input.
        return {std::nullopt, code == 0 ? 0 : 2};
    }

    if (!seed.empty()) options.seed = valueOf<std::uint32_t>(seed);
    options.pulls = valueOf<std::int64_t>(pulls);
    options.bet = valueOf<std::int32_t>(bet);
    options.credit = valueOf<std::int32_t>(credit);
    options.account = valueOf<std::int32_t>(account);
    options.secondDeal = secondDeal == "on";
    options.autoBet = autoBet == "on";
    if (plot->count() > 0) options.plotFile = plotFile;
    return {options, 0};
}

}  // namespace fruvana::sim
