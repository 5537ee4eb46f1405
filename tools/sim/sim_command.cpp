#include "tools/sim/sim_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

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

// Opens the picture's file, when there is one, before any work, so a bad path fails at once
// rather than after a run of millions of pulls. False, with the reason on err, when it cannot.
bool openPlot(const std::optional<std::string>& path, File& file, std::ostream& err) {
    if (!path) return true;
    errno = 0;
    file.reset(std::fopen(path->c_str(), "wb"));
    if (!file) cannotWrite(err, *path, errno != 0 ? std::strerror(errno) : "it cannot be opened");
    return file != nullptr;
}

// Draws the picture, draw(kind, error), into the file opened for it; false, with the reason on
// err, when the drawing or the writing failed.
template <typename Draw>
bool writePlot(File file, const std::string& path, std::ostream& err, Draw&& draw) {
    std::string error;
    const std::optional<std::string> bytes = draw(imageKindFor(path), error);
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

// The run's seed: the one given, or the clock's.
std::uint32_t seedOf(const SimOptions& options) {
    return options.seed ? *options.seed : steadyClockSeed();
}

// The report of a whole run of parts, and the sessions' picture when plotFile is open. False
// when the picture failed.
bool writeParted(std::ostream& out, const PartedRun& run, bool json, File plotFile,
                 const std::optional<std::string>& plotPath, std::ostream& err) {
    if (run.options.certify) {
        writeCertify(out, run.options, run.seed, run.certify, json);
        return true;
    }
    writeSessions(out, run.options, run.seed, run.sessions, json);
    return !plotFile ||
           writePlot(std::move(plotFile), *plotPath, err, [&](ImageKind kind, std::string& error) {
               return drawSessionsPlot(sessionFigures(run.options, run.sessions),
                                       commandLineFor(run.options, run.seed), kind, error);
           });
}

// --certify and --sessions, whole or one shard. False when the picture failed.
bool runParted(const SimOptions& options, std::ostream& out, std::ostream& err) {
    File plotFile;
    if (!openPlot(options.plotFile, plotFile, err)) return false;
    PartedRun run;
    run.options = options;
    run.seed = seedOf(options);
    const auto [index, count] = options.shard.value_or(std::pair<int, int>{1, 1});
    const PartRange parts = shardParts(partsOf(options), index, count);
    if (options.certify) {
        run.certify = runCertify(options, run.seed, parts, options.jobs);
    } else {
        run.sessions = runSessions(options, run.seed, parts, options.jobs);
    }
    if (!options.shard)
        return writeParted(out, run, options.json, std::move(plotFile), options.plotFile, err);
    writeShard(out, run);
    return true;
}

// --merge. Returns the exit code.
int runMerge(const SimOptions& options, std::ostream& out, std::ostream& err) {
    std::string error;
    std::optional<PartedRun> run = mergeShards(options.mergeFiles, error);
    if (run && options.plotFile && run->options.certify) {
        run.reset();
        error = "--plot draws sessions, and these shards are of --certify";
    }
    if (!run) {
        err << "fruvana-sim: cannot merge: " << error << "\n";
        return 1;
    }
    File plotFile;
    if (!openPlot(options.plotFile, plotFile, err)) return 1;
    return writeParted(out, *run, options.json, std::move(plotFile), options.plotFile, err) ? 0 : 1;
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
        (options.json ? writeParSheetJson : writeParSheet)(out, computeParSheet(), options.pulls);
    } else if (options.certify || options.sessions) {
        code = runParted(options, out, err) ? 0 : 1;
    } else {
        File plotFile;
        if (!openPlot(options.plotFile, plotFile, err)) return 1;
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
        if (recorder && !writePlot(std::move(plotFile), *options.plotFile, err,
                                   [&](ImageKind kind, std::string& error) {
                                       return drawPlot(recorder->series(),
                                                       commandLineFor(options, seed), kind, error);
                                   }))
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
