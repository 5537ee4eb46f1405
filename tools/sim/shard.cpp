#include "tools/sim/shard.h"

#include <fstream>
#include <limits>
#include <map>
#include <ostream>
#include <sstream>

namespace fruvana::sim {

namespace {

constexpr std::int64_t kShardFormat = 1;

Json header(const SimOptions& o, std::uint32_t seed) {
    const auto [index, count] = o.shard.value_or(std::pair<int, int>{1, 1});
    const PartRange parts = shardParts(partsOf(o), index, count);
    return {{"fruvana_sim_shard", kShardFormat},
            {"kind", o.certify ? "certify" : "sessions"},
            {"settings",
             {{"seed", seed},
              {"pulls", o.pulls},
              {"sessions", o.sessions.value_or(0)},
              {"session_pulls", o.sessionPulls},
              {"bet", o.bet},
              {"credit", o.credit},
              {"account", o.account},
              {"second_deal", o.secondDeal ? 1 : 0},
              {"auto_bet", o.autoBet ? 1 : 0}}},
            {"shard", index},
            {"shards", count},
            {"first_part", parts.first},
            {"last_part", parts.last}};
}

// One shard file as read: its run, its place among the shards, and its tally or outcomes.
struct ShardFile {
    std::string path;
    bool certify = false;
    SimOptions options;
    std::int64_t index = 0, count = 0, first = 0, last = 0;
    CertifyTally tally;
    std::vector<SessionOutcome> sessions;
};

// The run's settings as a shard file holds them, every other option left at its default, so
// that the settings of two shards of one run compare equal; throws a ShardError naming a bad
// one.
SimOptions settingsFrom(const Json& settings, bool certify) {
    SimOptions o;
    o.seed = static_cast<std::uint32_t>(
        wholeMember(settings, "seed", 0, std::numeric_limits<std::uint32_t>::max()));
    o.certify = certify;
    o.pulls = wholeMember(settings, "pulls", 0, kMaxPulls);
    const std::int64_t sessions =
        wholeMember(settings, "sessions", certify ? 0 : 1, certify ? 0 : kMaxSessions);
    if (!certify) o.sessions = sessions;
    o.sessionPulls = wholeMember(settings, "session_pulls", 0, kMaxPulls);
    o.bet = static_cast<std::int32_t>(wholeMember(settings, "bet", kLowestBet, kHighestBet));
    o.credit = static_cast<std::int32_t>(wholeMember(settings, "credit", 0, kCreditMax));
    o.account =
        static_cast<std::int32_t>(wholeMember(settings, "account", -kAccountLimit, kAccountLimit));
    o.secondDeal = wholeMember(settings, "second_deal", 0, 1) == 1;
    o.autoBet = wholeMember(settings, "auto_bet", 0, 1) == 1;
    return o;
}

// Reads one shard file; throws a ShardError with the reason when it is none.
ShardFile readShard(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) throw ShardError("cannot read it");
    Json doc;
    try {
        doc = Json::parse(text.str());
    } catch (const Json::parse_error& e) {
        throw ShardError(std::string("it is not JSON: ") + e.what());
    }
    const auto kind = doc.find("kind");
    if (!doc.is_object() || doc.value("fruvana_sim_shard", Json()) != kShardFormat ||
        kind == doc.end() || (*kind != "certify" && *kind != "sessions"))
        throw ShardError("it is not a fruvana-sim --shard file");
    ShardFile shard;
    shard.path = path;
    shard.certify = *kind == "certify";
    if (!doc.contains("settings")) throw ShardError("it has no settings");
    try {
        shard.options = settingsFrom(doc.at("settings"), shard.certify);
    } catch (const ShardError& e) {
        throw ShardError(std::string("its settings have ") + e.what());
    }

    const std::int64_t parts = partsOf(shard.options);
    shard.count = wholeMember(doc, "shards", 1, kMaxShards);
    shard.index = wholeMember(doc, "shard", 1, shard.count);
    shard.first = wholeMember(doc, "first_part", 0, parts);
    shard.last = wholeMember(doc, "last_part", 0, parts);
    const PartRange expected =
        shardParts(parts, static_cast<int>(shard.index), static_cast<int>(shard.count));
    if (shard.first != expected.first || shard.last != expected.last)
        throw ShardError("it holds parts " + std::to_string(shard.first) + " to " +
                         std::to_string(shard.last) + ", not those of its shard");
    const char* data = shard.certify ? "tally" : "outcomes";
    if (!doc.contains(data)) throw ShardError(std::string("it has no ") + data);
    if (shard.certify) {
        shard.tally = doc.at(data).get<CertifyTally>();
        return shard;
    }
    shard.sessions = sessionOutcomesFrom(doc.at(data));
    if (static_cast<std::int64_t>(shard.sessions.size()) != shard.last - shard.first)
        throw ShardError("it holds " + std::to_string(shard.sessions.size()) +
                         " sessions, not the " + std::to_string(shard.last - shard.first) +
                         " of its shard");
    return shard;
}

}  // namespace

std::int64_t partsOf(const SimOptions& options) {
    return options.certify ? kCertifyParts : options.sessions.value_or(0);
}

void writeShard(std::ostream& out, const PartedRun& share) {
    Json shard = header(share.options, share.seed);
    if (share.options.certify) {
        shard["tally"] = share.certify;
    } else {
        shard["outcomes"] = sessionOutcomesJson(share.sessions);
    }
    out << shard.dump() << "\n";
}

std::optional<PartedRun> mergeShards(const std::vector<std::string>& files, std::string& error) {
    const auto refuse = [&error](std::string why) {
        error = std::move(why);
        return std::nullopt;
    };
    std::map<std::int64_t, ShardFile> byIndex;
    const ShardFile* firstRead = nullptr;
    for (const std::string& path : files) {
        ShardFile shard;
        try {
            shard = readShard(path);
        } catch (const ShardError& e) {
            return refuse("'" + path + "': " + e.what());
        }
        if (firstRead != nullptr &&
            (shard.options != firstRead->options || shard.count != firstRead->count))
            return refuse("'" + path + "' is a shard of another run than '" + firstRead->path +
                          "'");
        const std::int64_t index = shard.index;
        const auto [slot, added] = byIndex.emplace(index, std::move(shard));
        if (!added)
            return refuse("'" + path + "' and '" + slot->second.path + "' are both shard " +
                          std::to_string(index));
        if (firstRead == nullptr) firstRead = &slot->second;
    }
    if (firstRead == nullptr) return refuse("no shard files were given");
    for (std::int64_t k = 1; k <= firstRead->count; ++k) {
        if (byIndex.count(k) == 0)
            return refuse("shard " + std::to_string(k) + " of " + std::to_string(firstRead->count) +
                          " is missing");
    }

    PartedRun run;
    run.options = firstRead->options;
    run.seed = *firstRead->options.seed;
    for (const auto& [index, shard] : byIndex) {
        run.certify.append(shard.tally);
        run.sessions.insert(run.sessions.end(), shard.sessions.begin(), shard.sessions.end());
    }
    return run;
}

}  // namespace fruvana::sim
