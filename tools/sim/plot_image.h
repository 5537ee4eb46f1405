#pragma once
// The picture of a run: three panels drawn from its plot series, 1200 x 900.

#include <boost/algorithm/string/predicate.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/sim/plot_series.h"
#include "tools/sim/sessions.h"

namespace fruvana::sim {

inline constexpr int kPlotWidth = 1200;
inline constexpr int kPlotHeight = 900;
inline constexpr int kSessionsPlotHeight = 600;

enum class ImageKind { Svg, Png };

// PNG when the name ends in .png in any case, otherwise SVG.
inline ImageKind imageKindFor(std::string_view path) {
    return boost::algorithm::iends_with(path, ".png") ? ImageKind::Png : ImageKind::Svg;
}

// The picture's bytes, the same for the same series and caption; none, with the reason in
// error, when it cannot be drawn.
std::optional<std::string> drawPlot(const PlotSeries& series, const std::string& caption,
                                    ImageKind kind, std::string& error);

// The sessions' picture, 1200 x 600: a histogram of the money at the end with the percentiles
// marked.
std::optional<std::string> drawSessionsPlot(const SessionFigures& figures,
                                            const std::string& caption, ImageKind kind,
                                            std::string& error);

}  // namespace fruvana::sim
