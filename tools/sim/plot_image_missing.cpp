// The simulator built where Cairo is missing: everything works but the picture.

#include "tools/sim/plot_image.h"

namespace fruvana::sim {

std::optional<std::string> drawPlot(const PlotSeries&, const std::string&, ImageKind,
                                    std::string& error) {
    error = "this fruvana-sim was built without Cairo (libcairo2-dev), so it cannot draw";
    return std::nullopt;
}

std::optional<std::string> drawSessionsPlot(const SessionFigures&, const std::string&, ImageKind,
                                            std::string& error) {
    error = "this fruvana-sim was built without Cairo (libcairo2-dev), so it cannot draw";
    return std::nullopt;
}

}  // namespace fruvana::sim
