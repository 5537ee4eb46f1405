// --certify, --sessions, their shards and --merge, and the JSON they are written in.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/sim/sim_run.h"
#include "tests/support/files.h"
#include "tools/sim/certify.h"
#include "tools/sim/json.h"
#include "tools/sim/sessions.h"
#include "tools/sim/simulator.h"
#include "tools/sim/sub_runs.h"

namespace fruvana::sim {
namespace {

TEST(PartSeeds, SplitmixPublishedOutputs) {
    // The first two outputs of splitmix64 seeded with 1234567, and the first seeded with 0.
    EXPECT_EQ(splitmix64(1234567), 6457827717110365317u);
    EXPECT_EQ(splitmix64(1234567 + 0x9E3779B97F4A7C15u), 3203168211198807973u);
    EXPECT_EQ(splitmix64(0), 0xE220A8397B1DCDAFu);
    // Part 0 of seed 0 is the upper half of that; the seed sits in the upper half of the state.
    EXPECT_EQ(partSeed(0, 0), 0xE220A839u);
    EXPECT_EQ(partSeed(0, 1234567), static_cast<std::uint32_t>(6457827717110365317u >> 32));
}

using fruvana::testing::ScratchFolder;

// The two parted runs, small: 100 parts of 4 pulls, and 9 sessions of 30 pulls.
const std::vector<std::string> kCertify{"--certify", "--pulls", "400", "--seed", "5"};
const std::vector<std::string> kSessions{"--sessions", "9", "--session-pulls", "30",
                                         "--seed",     "5", "--account",       "2500"};

std::vector<std::string> with(std::vector<std::string> args, std::vector<std::string> more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

// The report as text, and as JSON.
const std::vector<std::vector<std::string>> kForms{{}, {"--json"}};

class PartedRun : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(PartedRun, SameBytesWhateverTheThreads) {
    for (const std::vector<std::string>& form : kForms) {
        const std::vector<std::string> base = with(GetParam(), form);
        const CommandRun one = runSim(with(base, {"--jobs", "1"}));
        const CommandRun two = runSim(with(base, {"--jobs", "2"}));
        ASSERT_EQ(one.exitCode, 0) << one.err;
        EXPECT_EQ(one.out, two.out);
    }
}

TEST_P(PartedRun, FourShardsThroughParallelMergeIntoTheSingleRun) {
    const ScratchFolder dir;
    std::string words;
    for (const std::string& w : GetParam()) words += " " + w;
    const std::string sim = std::string("\"") + FRUVANA_SIM_BINARY + "\"";
    const std::string shards =
        "command -v parallel >/dev/null || { echo 'GNU parallel is not installed "
        "(scripts/packages.sh names it)' >&2; exit 3; }; parallel --will-cite " +
        sim + words + " --shard {}/4 '>' '" + (dir.path / "shard").string() +
        "{}.json' ::: 1 2 3 4";
    ASSERT_EQ(std::system(shards.c_str()), 0);

    std::vector<std::string> merge{"--merge"};
    for (const char* k : {"3", "1", "4", "2"})
        merge.push_back((dir.path / ("shard" + std::string(k) + ".json")).string());
    for (const std::vector<std::string>& form : kForms) {
        const CommandRun merged = runSim(with(merge, form));
        ASSERT_EQ(merged.exitCode, 0) << merged.err;
        EXPECT_EQ(merged.out, runSim(with(GetParam(), form)).out);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, PartedRun, ::testing::Values(kCertify, kSessions));

// Each refusal names the file or the shard at fault, in one line.
struct MergeFault {
    const char* name;
    std::vector<std::string> files;
    std::string mentions;
};

class MergeRefuses : public ::testing::TestWithParam<MergeFault> {};

// The files the refusals read, made once.
const ScratchFolder& mergeFiles() {
    static const ScratchFolder dir;
    static const bool made = [] {
        using fruvana::testing::writeFile;
        const auto shard = [](std::vector<std::string> args, const std::string& k) {
            return runSim(with(std::move(args), {"--shard", k})).out;
        };
        const std::string a2 = shard(kSessions, "2/2");
        writeFile(dir.path / "a1", shard(kSessions, "1/2"));
        writeFile(dir.path / "a2", a2);
        writeFile(dir.path / "b2", shard(with(kSessions, {"--bet", "6"}), "2/2"));
        writeFile(dir.path / "text", "seed 5");
        writeFile(dir.path / "other", R"({"kind":"sessions"})");
        writeFile(dir.path / "cut", a2.substr(0, a2.size() / 2));
        // A whole certify run whose first symbol is 5 beyond 2^32, which no int holds.
        Json whole = Json::parse(shard(kCertify, "1/1"));
        whole["tally"]["first_symbol"] = (std::int64_t{1} << 32) + 5;
        writeFile(dir.path / "symbol", whole.dump());
        return true;
    }();
    (void)made;
    return dir;
}

TEST_P(MergeRefuses, WithItsReason) {
    const ScratchFolder& dir = mergeFiles();

    std::vector<std::string> args{"--merge"};
    for (const std::string& f : GetParam().files) args.push_back((dir.path / f).string());
    const CommandRun run = runSim(args);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(GetParam().mentions), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Table, MergeRefuses,
    ::testing::Values(MergeFault{"missing", {"a1"}, "shard 2 of 2 is missing"},
                      MergeFault{"twice", {"a1", "a1"}, "are both shard 1"},
                      MergeFault{"other run", {"a1", "b2"}, "another run"},
                      MergeFault{"not json", {"text"}, "is not JSON"},
                      MergeFault{"not a shard", {"other"}, "not a fruvana-sim --shard file"},
                      MergeFault{"cut short", {"a1", "cut"}, "cut': it is not JSON"},
                      MergeFault{"absent", {"nothing"}, "cannot read it"},
                      MergeFault{"symbol beyond 10", {"symbol"}, "symbols are not 1 to 10"}),
    [](const auto& info) { return caseName(info.param.name); });

// Each fill's first draws made again one by one from the generators the deal found, as the
// symbol tests count them.
class OneByOneReplay final : public PullObserver {
  public:
    void beforePull(const RandomSources& sources) override { before_ = sources; }
    void afterPull(const PullRecord& pull, const MachineState&, const OutcomePool&) override {
        if (!pull.firstDeal) return;
        before_.lcg.below(10);
        for (int i = 0; i < kReplayedDraws; ++i) {
            const std::uint8_t symbol = drawSymbol(before_, kSymbolCount);
            draws.add(std::span(&symbol, 1));
        }
    }
    SymbolTally draws;

  private:
    RandomSources before_;
};

TEST(Certify, TalliesWhatThePartDealt) {
    // Part 0 of a run, and the same pulls as a plain run with the part's seed.
    SimOptions options;
    options.pulls = std::int64_t{300} * kCertifyParts;
    const CertifyTally t = runCertify(options, 9, {0, 1}, 1);
    options.pulls = 300;
    options.coins = true;
    OneByOneReplay replay;
    const SimResult r = runSimulation(options, partSeed(9, 0), nullptr, nullptr, &replay);

    EXPECT_EQ(t.pulls, r.pulls);
    EXPECT_EQ(t.firstDeals, r.firstDeals);
    EXPECT_EQ(t.secondDeals, r.secondDeals);
    for (const ComboClass c : kEveryClass) {
        if (c == ComboClass::NoWin) continue;
        EXPECT_EQ(t.firstByTable[0][c] + t.firstByTable[1][c], r.statistics.firstDeal.wins[c]);
        EXPECT_EQ(t.secondByAhead[0][c] + t.secondByAhead[1][c], r.statistics.secondDeal.wins[c]);
    }
    EXPECT_EQ(t.tableChoice[0][0] + t.tableChoice[0][1] + t.tableChoice[1][0] + t.tableChoice[1][1],
              r.firstDeals);
    EXPECT_EQ(t.draws, replay.draws);
    EXPECT_EQ(t.replayMismatches, 0);
    // Every game settled but perhaps the last, whose first-deal win is still pending.
    EXPECT_GE(t.games[0] + t.games[1], r.firstDeals - 1);
    EXPECT_EQ(t.stake[0] + t.stake[1], 5 * (t.games[0] + t.games[1]));
    EXPECT_LE(t.paid, r.returned);
}

// Parts split into shards, and a certify run's pulls into its parts: contiguous, in order, none
// lost, sizes within one of each other.
struct SplitCase {
    std::int64_t total;
    int shards;
};

class ShardSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ShardSplit, CoversEveryPartOnce) {
    const auto [total, shards] = GetParam();
    std::int64_t next = 0, smallest = total, largest = 0;
    for (int k = 1; k <= shards; ++k) {
        const PartRange r = shardParts(total, k, shards);
        EXPECT_EQ(r.first, next) << "shard " << k;
        smallest = std::min(smallest, r.last - r.first);
        largest = std::max(largest, r.last - r.first);
        next = r.last;
    }
    EXPECT_EQ(next, total);
    EXPECT_LE(largest - smallest, 1);
}

INSTANTIATE_TEST_SUITE_P(Table, ShardSplit,
                         ::testing::Values(SplitCase{100, 4}, SplitCase{100, 7}, SplitCase{3, 5},
                                           SplitCase{10'000'000, 9999}, SplitCase{99, 100},
                                           SplitCase{2'147'483'647, 100}));

// Nearest-rank percentiles of ten sessions worth -50, -40, ..., 40 (money 0 at the start): the
// p-th is the value at rank ceil(10 p / 100).
TEST(Sessions, FiguresFromTheOutcomes) {
    std::vector<SessionOutcome> all;
    for (int i = 9; i >= 0; --i) all.push_back({10 * i - 50, i % 3 == 0 ? 1 : 0, 20 - i});
    SimOptions options;  // credit 1000, account -1000
    const SessionFigures f = sessionFigures(options, all);
    EXPECT_EQ(f.percentile, (std::array<std::int64_t, 7>{-50, -50, -30, -10, 20, 40, 40}));
    EXPECT_EQ(f.ahead, 4);      // 10, 20, 30, 40
    EXPECT_EQ(f.moreCoins, 4);  // i = 0, 3, 6, 9
    EXPECT_EQ(f.longestLosingRun, 20);
    EXPECT_EQ(f.longestIn, 9);  // i = 0 comes last
    EXPECT_EQ(f.medianLongest, 15);
}

// The longest losing run against the trace of the same session: a game is settled by a second
// deal, or by a first deal that holds all three reels; it loses when it pays nothing.
TEST(Sessions, LongestLosingRunMatchesTheTrace) {
    const std::uint32_t seed = partSeed(11, 2);
    const CommandRun trace = runSim(
        {"--seed", std::to_string(seed), "--pulls", "400", "--coins", "--trace", "--bet", "10"});
    std::int64_t run = 0, longest = 0;
    for (const std::string& line : linesOf(trace.out)) {
        const bool second = line.find(" 2nd ") != std::string::npos;
        const bool allHeld = line.find("held=111") != std::string::npos;
        if (!second && !allHeld) continue;
        run = line.find(" win=0 ") != std::string::npos ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    SimOptions options;
    options.sessions = 3;
    options.sessionPulls = 400;
    options.bet = 10;
    const std::vector<SessionOutcome> outcomes = runSessions(options, 11, {2, 3}, 1);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].longestLosingRun, longest);
    EXPECT_GT(longest, 1);
}

TEST(RawStream, AFullDiskIsAFailureWithItsReason) {
    const std::string command = std::string("\"") + FRUVANA_SIM_BINARY +
                                "\" --rng-stream lcg --seed 1 2>&1 >/dev/full | grep -q 'No space'";
    EXPECT_EQ(std::system(command.c_str()), 0);
}

// Every report's JSON reads back, with the figures of the run.
TEST(Json, ReportsReadBack) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--par-sheet"}, kSessions, kCertify}) {
        EXPECT_TRUE(Json::accept(runSim(with(args, {"--json"})).out)) << args[0];
    }
    // Seed 3's 200 pulls, as the text summary of the same run reads them.
    const Json summary = Json::parse(runSim({"--seed", "3", "--pulls", "200", "--json"}).out);
    EXPECT_EQ(summary.at("returned"), 4115);
    EXPECT_EQ(summary.at("staked"), 540);
    EXPECT_EQ(summary.at("final_credit"), 4550);
    EXPECT_DOUBLE_EQ(summary.at("return_to_player").get<double>(), 4115.0 / 540.0);
}

}  // namespace
}  // namespace fruvana::sim
