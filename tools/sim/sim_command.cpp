#include "tools/sim/sim_command.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "tools/sim/certify.h"
#include "tools/sim/par_sheet.h"
#include "tools/sim/plot_image.h"
#include "tools/sim/plot_series.h"
#include "tools/sim/raw_stream.h"
#include "tools/sim/sessions.h"
#include "tools/sim/shard.h"
#include "tools/sim/sim_options.h"
#include "tools/sim/simulator.h"

namespace fruvana::sim {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

void cannotWrite(std::ostream& err, const std::string& path, const std::string& reason) {
    err << "fruvana-sim: cannot write the plot to '" << path << "': " << reason << "\n";
}

// Writes a drawn picture into the file opened for it; false, with the reason on err, when the
// drawing or the writing failed.
bool writeBytes(File file, const std::string& path, const std::optional<std::string>& bytes,
                std::string error, std::ostream& err) {
    if (bytes) {
        errno = 0;
        const bool written =
            std::fwrite(bytes->data(), 1, bytes->size(), file.get()) == bytes->size() &&
            std::fflush(file.get()) == 0;
        const int writeErrno = errno;
        const bool closed = std::fclose(file.release()) == 0;
        if (written && closed) return true;
        const int reason = writeErrno != 0 ? writeErrno : errno;
        error = reason != 0 ? std::strerror(reason) : "the file could not be written";
    } else {
        file.reset();
    }
    // Deliberate: a picture that failed leaves no empty or torn file behind to pass for one;
    // only a plain file goes, never a device or anything else the path may name.
    std::error_code ignored;
    if (std::filesystem::is_regular_file(path, ignored)) std::filesystem::remove(path, ignored);
    cannotWrite(err, path, error);
    return false;
}

// Draws the run's picture into the file opened for it.
bool writePlot(File file, const std::string& path, const PlotSeries& series,
               const std::string& caption, std::ostream& err) {
    std::string error;
    const std::optional<std::string> bytes = drawPlot(series, caption, imageKindFor(path), error);
    return writeBytes(std::move(file), path, bytes, error, err);
}

// Opens the picture's file before any work, so a bad path fails at once rather than after a
// run of millions of pulls. Null, with the reason on err, when it cannot be opened.
File openPlot(const std::string& path, std::ostream& err) {
    errno = 0;
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) cannotWrite(err, path, errno != 0 ? std::strerror(errno) : "it cannot be opened");
    return file;
}

bool writeSessionsPlot(File file, const std::string& path, const SimOptions& options,
                       std::uint32_t seed, const std::vector<SessionOutcome>& outcomes,
                       std::ostream& err) {
    std::vector<std::int64_t> money;
    money.reserve(outcomes.size());
    for (const SessionOutcome& o : outcomes) money.push_back(o.money);
    std::sort(money.begin(), money.end());
    std::string error;
    const std::optional<std::string> bytes =
        drawSessionsPlot(money, sessionFigures(options, outcomes), commandLineFor(options, seed),
                         imageKindFor(path), error);
    return writeBytes(std::move(file), path, bytes, error, err);
}

// The run's seed: the one given, or the clock's.
std::uint32_t seedOf(const SimOptions& options) {
    return options.seed ? *options.seed : steadyClockSeed();
}

// --certify and --sessions, whole or one shard. False when the picture failed.
bool runParted(const SimOptions& options, std::ostream& out, std::ostream& err) {
    File plotFile;
    if (options.plotFile) {
        plotFile = openPlot(*options.plotFile, err);
        if (!plotFile) return false;
    }
    const std::uint32_t seed = seedOf(options);
    const auto [index, count] = options.shard.value_or(std::pair<int, int>{1, 1});
    const PartRange parts = shardParts(partsOf(options), index, count);
    if (options.certify) {
        const CertifyTally tally = runCertify(options, seed, parts, options.jobs);
        if (options.shard) {
            writeCertifyShard(out, options, seed, tally);
        } else {
            writeCertify(out, options, seed, tally, options.json);
        }
        return true;
    }
    const std::vector<SessionOutcome> outcomes = runSessions(options, seed, parts, options.jobs);
    if (options.shard) {
        writeSessionsShard(out, options, seed, outcomes);
    } else {
        writeSessions(out, options, seed, outcomes, options.json);
    }
    if (plotFile)
        return writeSessionsPlot(std::move(plotFile), *options.plotFile, options, seed, outcomes,
                                 err);
    return true;
}

// --merge. Returns the exit code.
int runMerge(const SimOptions& options, std::ostream& out, std::ostream& err) {
    std::string error;
    const std::optional<MergedRun> run = mergeShards(options.mergeFiles, error);
    if (!run) {
        err << "fruvana-sim: cannot merge: " << error << "\n";
        return 1;
    }
    if (options.plotFile && run->options.certify) {
        err << "fruvana-sim: cannot merge: --plot draws sessions, and these shards are of "
               "--certify\n";
        return 1;
    }
    File plotFile;
    if (options.plotFile) {
        plotFile = openPlot(*options.plotFile, err);
        if (!plotFile) return 1;
    }
    if (run->options.certify) {
        writeCertify(out, run->options, run->seed, run->certify, options.json);
        return 0;
    }
    writeSessions(out, run->options, run->seed, run->sessions, options.json);
    if (plotFile && !writeSessionsPlot(std::move(plotFile), *options.plotFile, run->options,
                                       run->seed, run->sessions, err))
        return 1;
    return 0;
}

}  // namespace

int runCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err,
               ByteSink* raw) {
    const ParsedCommandLine parsed = parseCommandLine(argc, argv, out, err);
    if (!parsed.options) return parsed.exitCode;
    const SimOptions& options = *parsed.options;

    if (options.rngStream) {
        OstreamSink fallback(out);
        ByteSink* sink = raw != nullptr ? raw : &fallback;
        const std::uint32_t seed = seedOf(options);
        if (!options.seed) err << "fruvana-sim: seed " << seed << " (from the clock)\n";
        if (!writeStream(*options.rngStream, seed, options.streamBytes, *sink)) {
            err << "fruvana-sim: " << sink->failure() << "\n";
            return 1;
        }
        return 0;
    }

    int code = 0;
    if (!options.mergeFiles.empty()) {
        code = runMerge(options, out, err);
    } else if (options.parSheet) {
        if (options.json) {
            writeParSheetJson(out, computeParSheet(), options.pulls);
        } else {
            writeParSheet(out, computeParSheet(), options.pulls);
        }
    } else if (options.certify || options.sessions) {
        code = runParted(options, out, err) ? 0 : 1;
    } else {
        File plotFile;
        if (options.plotFile) {
            plotFile = openPlot(*options.plotFile, err);
            if (!plotFile) return 1;
        }
        std::optional<PlotRecorder> recorder;
        if (plotFile) recorder.emplace(plotReference(options.secondDeal));

        const std::uint32_t seed = seedOf(options);
        const SimResult result = runSimulation(options, seed, options.trace ? &out : nullptr,
                                               recorder ? &*recorder : nullptr);
        if (options.json) {
            writeSummaryJson(out, result, !options.seed);
        } else if (!options.trace) {
            writeSummary(out, result, !options.seed);
        }
        if (recorder && !writePlot(std::move(plotFile), *options.plotFile, recorder->series(),
                                   commandLineFor(options, seed), err))
            code = 1;
    }
    out.flush();
    // A full disk or a closed output must not pass for a finished run.
    if (!out) {
        err << "fruvana-sim: the output could not be written\n";
        return 1;
    }
    return code;
}

}  // namespace fruvana::sim
