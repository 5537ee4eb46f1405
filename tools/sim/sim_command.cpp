#include "tools/sim/sim_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "tools/sim/par_sheet.h"
#include "tools/sim/plot_image.h"
#include "tools/sim/plot_series.h"
#include "tools/sim/sim_options.h"
#include "tools/sim/simulator.h"

namespace fruvana::sim {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The command line that deals the same run again, seed included.
std::string replayCommand(const SimOptions& o, std::uint32_t seed) {
    std::string command =
        "fruvana-sim --seed " + std::to_string(seed) + " --pulls " + std::to_string(o.pulls) +
        " --bet " + std::to_string(o.bet) + " --credit " + std::to_string(o.credit) +
        " --account " + std::to_string(o.account) + " --second-deal " +
        (o.secondDeal ? "on" : "off") + " --auto-bet " + (o.autoBet ? "on" : "off");
    if (o.coins) command += " --coins";
    return command;
}

void cannotWrite(std::ostream& err, const std::string& path, const std::string& reason) {
    err << "fruvana-sim: cannot write the plot to '" << path << "': " << reason << "\n";
}

// Draws the picture into the file opened for it; false, with the reason on err, when that
// fails.
bool writePlot(File file, const std::string& path, const PlotSeries& series,
               const std::string& caption, std::ostream& err) {
    std::string error;
    const std::optional<std::string> bytes = drawPlot(series, caption, imageKindFor(path), error);
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

}  // namespace

int runCommand(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    const ParsedCommandLine parsed = parseCommandLine(argc, argv, out, err);
    if (!parsed.options) return parsed.exitCode;
    const SimOptions& options = *parsed.options;

    bool plotFailed = false;
    if (options.parSheet) {
        writeParSheet(out, computeParSheet(), options.pulls);
    } else {
        // Deliberate: the picture's file is opened before the first pull, so a bad path fails
        // at once rather than after a run of millions of pulls.
        File plotFile;
        if (options.plotFile) {
            errno = 0;
            plotFile.reset(std::fopen(options.plotFile->c_str(), "wb"));
            if (!plotFile) {
                cannotWrite(err, *options.plotFile,
                            errno != 0 ? std::strerror(errno) : "it cannot be opened");
                return 1;
            }
        }
        std::optional<PlotRecorder> recorder;
        if (plotFile) recorder.emplace(plotReference(options.secondDeal));

        const std::uint32_t seed = options.seed ? *options.seed : steadyClockSeed();
        const SimResult result = runSimulation(options, seed, options.trace ? &out : nullptr,
                                               recorder ? &*recorder : nullptr);
        if (!options.trace) writeSummary(out, result, !options.seed);
        if (recorder) {
            plotFailed = !writePlot(std::move(plotFile), *options.plotFile, recorder->series(),
                                    replayCommand(options, seed), err);
        }
    }
    out.flush();
    // A full disk or a closed output must not pass for a finished run.
    if (!out) {
        err << "fruvana-sim: the output could not be written\n";
        return 1;
    }
    return plotFailed ? 1 : 0;
}

}  // namespace fruvana::sim
