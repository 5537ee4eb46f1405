#include "tools/sim/shard.h"

#include <fstream>
#include <limits>
#include <map>
#include <ostream>
#include <sstream>

#include "tools/sim/json.h"

namespace fruvana::sim {

namespace {

constexpr std::int64_t kShardFormat = 1;

void writeHeader(JsonWriter& json, const SimOptions& o, std::uint32_t seed) {
    const auto [index, count] = o.shard.value_or(std::pair<int, int>{1, 1});
    const PartRange parts = shardParts(partsOf(o), index, count);
    json.beginObject().field("fruvana_sim_shard", kShardFormat);
    json.field("kind", o.certify ? "certify" : "sessions");
    json.key("settings").beginObject().field("seed", std::int64_t{seed});
    json.field("pulls", o.pulls).field("sessions", o.sessions.value_or(0));
    json.field("session_pulls", o.sessionPulls).field("bet", o.bet);
    json.field("credit", o.credit).field("account", o.account);
    json.field("second_deal", o.secondDeal ? 1 : 0).field("auto_bet", o.autoBet ? 1 : 0);
    json.endObject();
    json.field("shard", index).field("shards", count);
    json.field("first_part", parts.first).field("last_part", parts.last);
}

// One shard file as read: its run, its place among the shards, and its data.
struct ShardFile {
    std::string path;
    bool certify = false;
    SimOptions options;
    std::int64_t seed = 0;
    std::int64_t index = 0, count = 0, first = 0, last = 0;
    JsonValue data;
};

// A whole number member of obj within [lo, hi]; false with the reason otherwise.
bool member(const JsonValue& obj, const char* name, std::int64_t lo, std::int64_t hi,
            std::int64_t& into, std::string& error) {
    const JsonValue* v = obj.find(name);
    if (v == nullptr || v->number() == nullptr || *v->number() < lo || *v->number() > hi) {
        error = std::string("no \"") + name + "\" from " + std::to_string(lo) + " to " +
                std::to_string(hi);
        return false;
    }
    into = *v->number();
    return true;
}

bool readShard(const std::string& path, ShardFile& shard, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
        error = "cannot read it";
        return false;
    }
    std::string why;
    const std::optional<JsonValue> doc = parseJson(text.str(), why);
    if (!doc) {
        error = "it is not JSON: " + why;
        return false;
    }
    std::int64_t format = 0;
    const JsonValue* kind = doc->find("kind");
    if (!member(*doc, "fruvana_sim_shard", kShardFormat, kShardFormat, format, error) ||
        kind == nullptr || kind->string() == nullptr ||
        (*kind->string() != "certify" && *kind->string() != "sessions")) {
        error = "it is not a fruvana-sim --shard file";
        return false;
    }
    shard.path = path;
    shard.certify = *kind->string() == "certify";
    const JsonValue* settings = doc->find("settings");
    if (settings == nullptr) {
        error = "it has no settings";
        return false;
    }
    std::int64_t pulls = 0, sessions = 0, sessionPulls = 0, bet = 0, credit = 0, account = 0,
                 secondDeal = 0, autoBet = 0;
    const std::string prefix = "its settings have ";
    if (!member(*settings, "seed", 0, std::numeric_limits<std::uint32_t>::max(), shard.seed,
                error) ||
        !member(*settings, "pulls", 0, kMaxPulls, pulls, error) ||
        !member(*settings, "sessions", shard.certify ? 0 : 1, shard.certify ? 0 : kMaxSessions,
                sessions, error) ||
        !member(*settings, "session_pulls", 0, kMaxPulls, sessionPulls, error) ||
        !member(*settings, "bet", kMinBet, kMaxBet, bet, error) ||
        !member(*settings, "credit", 0, kCreditMax, credit, error) ||
        !member(*settings, "account", -kAccountLimit, kAccountLimit, account, error) ||
        !member(*settings, "second_deal", 0, 1, secondDeal, error) ||
        !member(*settings, "auto_bet", 0, 1, autoBet, error)) {
        error = prefix + error;
        return false;
    }
    SimOptions& o = shard.options;
    o.seed = static_cast<std::uint32_t>(shard.seed);
    o.certify = shard.certify;
    o.pulls = pulls;
    if (!shard.certify) o.sessions = sessions;
    o.sessionPulls = sessionPulls;
    o.bet = static_cast<std::int32_t>(bet);
    o.credit = static_cast<std::int32_t>(credit);
    o.account = static_cast<std::int32_t>(account);
    o.secondDeal = secondDeal == 1;
    o.autoBet = autoBet == 1;

    const std::int64_t parts = partsOf(o);
    if (!member(*doc, "shards", 1, kMaxShards, shard.count, error) ||
        !member(*doc, "shard", 1, shard.count, shard.index, error) ||
        !member(*doc, "first_part", 0, parts, shard.first, error) ||
        !member(*doc, "last_part", 0, parts, shard.last, error))
        return false;
    const PartRange expected =
        shardParts(parts, static_cast<int>(shard.index), static_cast<int>(shard.count));
    if (shard.first != expected.first || shard.last != expected.last) {
        error = "it holds parts " + std::to_string(shard.first) + " to " +
                std::to_string(shard.last) + ", not those of its shard";
        return false;
    }
    const JsonValue* data = doc->find(shard.certify ? "tally" : "outcomes");
    if (data == nullptr) {
        error = shard.certify ? "it has no tally" : "it has no outcomes";
        return false;
    }
    shard.data = *data;
    return true;
}

// A refusal that names its file.
std::string about(const std::string& path, const std::string& why) {
    return "'" + path + "': " + why;
}

bool sameRun(const SimOptions& a, const SimOptions& b) {
    return a.seed == b.seed && a.certify == b.certify && a.pulls == b.pulls &&
           a.sessions == b.sessions && a.sessionPulls == b.sessionPulls && a.bet == b.bet &&
           a.credit == b.credit && a.account == b.account && a.secondDeal == b.secondDeal &&
           a.autoBet == b.autoBet;
}

}  // namespace

std::int64_t partsOf(const SimOptions& options) {
    return options.certify ? kCertifyParts : options.sessions.value_or(0);
}

void writeCertifyShard(std::ostream& out, const SimOptions& options, std::uint32_t seed,
                       const CertifyTally& tally) {
    JsonWriter json(out, true);
    writeHeader(json, options, seed);
    json.key("tally");
    writeCertifyTally(json, tally);
    json.endObject();
}

void writeSessionsShard(std::ostream& out, const SimOptions& options, std::uint32_t seed,
                        const std::vector<SessionOutcome>& outcomes) {
    JsonWriter json(out, true);
    writeHeader(json, options, seed);
    json.key("outcomes");
    writeSessionOutcomes(json, outcomes);
    json.endObject();
}

std::optional<MergedRun> mergeShards(const std::vector<std::string>& files, std::string& error) {
    std::map<std::int64_t, ShardFile> byIndex;
    const ShardFile* firstRead = nullptr;
    for (const std::string& path : files) {
        ShardFile shard;
        std::string why;
        if (!readShard(path, shard, why)) {
            error = about(path, why);
            return std::nullopt;
        }
        if (firstRead != nullptr &&
            (!sameRun(shard.options, firstRead->options) || shard.count != firstRead->count)) {
            error = "'" + path + "' is a shard of another run than '" + firstRead->path + "'";
            return std::nullopt;
        }
        const std::int64_t index = shard.index;
        const auto [slot, added] = byIndex.emplace(index, std::move(shard));
        if (!added) {
            error = "'" + path + "' and '" + slot->second.path + "' are both shard " +
                    std::to_string(index);
            return std::nullopt;
        }
        if (firstRead == nullptr) firstRead = &slot->second;
    }
    if (firstRead == nullptr) {
        error = "no shard files were given";
        return std::nullopt;
    }
    for (std::int64_t k = 1; k <= firstRead->count; ++k) {
        if (byIndex.count(k) == 0) {
            error = "shard " + std::to_string(k) + " of " + std::to_string(firstRead->count) +
                    " is missing";
            return std::nullopt;
        }
    }

    MergedRun run;
    run.options = firstRead->options;
    run.seed = static_cast<std::uint32_t>(firstRead->seed);
    for (const auto& [index, shard] : byIndex) {
        std::string why;
        if (shard.certify) {
            CertifyTally tally;
            if (!readCertifyTally(shard.data, tally, why)) {
                error = about(shard.path, why);
                return std::nullopt;
            }
            run.certify.append(tally);
        } else {
            std::vector<SessionOutcome> outcomes;
            if (!readSessionOutcomes(shard.data, outcomes, why)) {
                error = about(shard.path, why);
                return std::nullopt;
            }
            if (static_cast<std::int64_t>(outcomes.size()) != shard.last - shard.first) {
                error = "'" + shard.path + "' holds " + std::to_string(outcomes.size()) +
                        " sessions, not the " + std::to_string(shard.last - shard.first) +
                        " of its shard";
                return std::nullopt;
            }
            run.sessions.insert(run.sessions.end(), outcomes.begin(), outcomes.end());
        }
    }
    return run;
}

}  // namespace fruvana::sim
