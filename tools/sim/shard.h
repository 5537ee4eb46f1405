#pragma once
// Shards of --certify and --sessions: each writes its share of a run's parts as JSON, and
// --merge joins the shares of one run into the report the whole run prints, byte for byte.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "tools/sim/certify.h"
#include "tools/sim/sessions.h"
#include "tools/sim/sim_options.h"

namespace fruvana::sim {

// The parts of the whole run: kCertifyParts for --certify, one per session for --sessions.
std::int64_t partsOf(const SimOptions& options);

// A run dealt in parts, whole or one shard's share: its settings and mode, its seed, and its
// tally (certify) or outcomes (sessions).
struct PartedRun {
    SimOptions options;
    std::uint32_t seed = 0;
    CertifyTally certify;
    std::vector<SessionOutcome> sessions;
};

// A shard's file: the run's settings, which shard it is and the parts it dealt, and their
// tally or outcomes.
void writeShard(std::ostream& out, const PartedRun& share);

// Reads every shard of one run, in any order, into the whole run they make together; none,
// with a one-line reason, when a file cannot be read, is no shard, belongs to another run, or
// when a shard is missing or comes twice.
std::optional<PartedRun> mergeShards(const std::vector<std::string>& files, std::string& error);

}  // namespace fruvana::sim
