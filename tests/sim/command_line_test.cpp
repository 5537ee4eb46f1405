#include <gtest/gtest.h>

#include "tests/sim/sim_run.h"
#include "tools/sim/sim_options.h"

namespace fruvana::sim {
namespace {

struct BadInput {
    std::vector<std::string> args;
    std::string mentions;  // the message names the culprit
};

class RefusedCommandLine : public ::testing::TestWithParam<BadInput> {};

TEST_P(RefusedCommandLine, ExitsWithTwoAndSaysWhy) {
    const BadInput& bad = GetParam();
    const CommandRun run = runSim(bad.args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find(bad.mentions), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");  // nothing was dealt
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedCommandLine,
    ::testing::Values(
        BadInput{{"--bet", "0"}, "--bet"}, BadInput{{"--bet", "11"}, "1 to 10"},
        BadInput{{"--bet", "five"}, "--bet"}, BadInput{{"--bet", " 5"}, "--bet"},
        BadInput{{"--seed", "-1"}, "--seed"}, BadInput{{"--seed", "4294967296"}, "0 to 4294967295"},
        BadInput{{"--seed", "0x10"}, "--seed"}, BadInput{{"--seed", ""}, "--seed"},
        BadInput{{"--pulls", "-5"}, "--pulls"}, BadInput{{"--pulls", "2147483648"}, "--pulls"},
        BadInput{{"--pulls", "99999999999999999999"}, "--pulls"},
        BadInput{{"--credit", "10000000"}, "--credit"}, BadInput{{"--credit", "-1"}, "--credit"},
        BadInput{{"--account", "100000000"}, "--account"},
        BadInput{{"--second-deal", "maybe"}, "on nor off"},
        BadInput{{"--auto-bet", "ON"}, "--auto-bet"}, BadInput{{"--bet"}, "--bet"},
        BadInput{{"--jackpot"}, "--jackpot"}, BadInput{{"lever"}, "lever"},
        BadInput{{"--bet", "5", "--bet", "6"}, "--bet"},
        BadInput{{"--par-sheet", "--trace"}, "--trace"},
        BadInput{{"--par-sheet", "--plot", "run.svg"}, "--plot"}, BadInput{{"--plot"}, "--plot"},
        BadInput{{"--rng-stream", "mt"}, "lcg, ranmar or symbols"},
        BadInput{{"--bytes", "8"}, "--rng-stream"},
        BadInput{{"--rng-stream", "lcg", "--json"}, "--json"},
        BadInput{{"--certify", "--plot", "c.svg"}, "--plot"},
        BadInput{{"--certify", "--sessions", "4"}, "--sessions"},
        BadInput{{"--sessions", "0"}, "--sessions"},
        BadInput{{"--session-pulls", "9"}, "--sessions"},
        BadInput{{"--sessions", "9", "--pulls", "9"}, "--session-pulls"},
        BadInput{{"--jobs", "2"}, "--jobs works with"},
        BadInput{{"--certify", "--jobs", "65"}, "--jobs"},
        BadInput{{"--certify", "--shard", "1/2"}, "needs --seed"},
        BadInput{{"--certify", "--seed", "1", "--shard", "3/2"}, "K/N"},
        BadInput{{"--certify", "--seed", "1", "--shard", "0/2"}, "K/N"},
        BadInput{{"--seed", "1", "--shard", "1/2"}, "--shard works with"},
        BadInput{{"--merge", "a.json", "--seed", "1"}, "--seed cannot go with it"}));

TEST(CommandLine, ReadsEveryOption) {
    const auto options =
        optionsFor({"--seed", "4294967295", "--pulls", "0", "--bet", "010", "--credit", "9999999",
                    "--account", "-99999999", "--second-deal", "off", "--auto-bet", "on", "--coins",
                    "--trace", "--plot", "run.png"});
    ASSERT_TRUE(options.has_value());
    const SimOptions& o = *options;
    EXPECT_EQ(o.seed, 4294967295u);
    EXPECT_EQ(o.pulls, 0);
    EXPECT_EQ(o.bet, 10);  // plain decimal, never octal
    EXPECT_EQ(o.credit, 9'999'999);
    EXPECT_EQ(o.account, -99'999'999);
    EXPECT_FALSE(o.secondDeal);
    EXPECT_TRUE(o.autoBet);
    EXPECT_TRUE(o.coins);
    EXPECT_TRUE(o.trace);
    EXPECT_FALSE(o.parSheet);
    EXPECT_EQ(o.plotFile, "run.png");
}

TEST(CommandLine, DefaultsAreAFreshMachine) {
    const auto options = optionsFor({});
    ASSERT_TRUE(options.has_value());
    const SimOptions& o = *options;
    EXPECT_FALSE(o.seed.has_value());
    EXPECT_EQ(o.pulls, 1000);
    EXPECT_EQ(o.bet, 5);
    EXPECT_EQ(o.credit, 1000);
    EXPECT_EQ(o.account, -1000);
    EXPECT_TRUE(o.secondDeal);
    EXPECT_FALSE(o.autoBet || o.coins || o.trace || o.parSheet);
    EXPECT_FALSE(o.plotFile.has_value());
}

TEST(CommandLine, HelpIsNotAnError) {
    const CommandRun run = runSim({"--help"});
    EXPECT_EQ(run.exitCode, 0);
    for (const char* option :
         {"--seed",          "--pulls",      "--bet",   "--credit",  "--account",
          "--second-deal",   "--auto-bet",   "--coins", "--trace",   "--par-sheet",
          "--plot",          "--rng-stream", "--bytes", "--certify", "--sessions",
          "--session-pulls", "--jobs",       "--json",  "--shard",   "--merge"})
        EXPECT_NE(run.out.find(option), std::string::npos) << option;
}

TEST(CommandLine, ClockSeedIsPrinted) {
    const CommandRun summary = runSim({"--pulls", "1"});
    ASSERT_EQ(summary.exitCode, 0);
    EXPECT_EQ(summary.out.rfind("seed ", 0), 0u);
    EXPECT_NE(summary.out.find("(from the clock)"), std::string::npos);

    // The seed a trace prints replays the same run.
    const CommandRun trace = runSim({"--pulls", "30", "--trace"});
    ASSERT_EQ(trace.exitCode, 0);
    ASSERT_EQ(trace.out.rfind("seed=", 0), 0u);
    const std::string seed = trace.out.substr(5, trace.out.find(' ') - 5);
    EXPECT_EQ(runSim({"--pulls", "30", "--trace", "--seed", seed}).out, trace.out);
}

TEST(CommandLine, OutputThatCannotBeWrittenIsAFailure) {
    const Argv argv({"--seed", "1", "--pulls", "3"});
    std::ostream nowhere(nullptr);  // every write fails
    std::ostringstream err;
    EXPECT_EQ(runCommand(argv.argc(), argv.argv(), nowhere, err), 1);
    EXPECT_NE(err.str().find("could not be written"), std::string::npos);
}

}  // namespace
}  // namespace fruvana::sim
