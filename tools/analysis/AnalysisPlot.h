#pragma once

#include "tools/analysis/BeatAnalysis.h"

#include <string>
#include <vector>

namespace serivane::tools {

// A value at a moment of the file, in seconds from its start.
struct TimedValue {
    double seconds = 0.0;
    double value = 0.0;
};

struct PlotOptions {
    std::string title; // the file's name, say
    // The beat a programme asked for, drawn as a dashed line through these points beside the
    // measured beat; empty: none.
    std::vector<TimedValue> plannedBeat;
};

inline constexpr int plotWidth = 1200;
inline constexpr int plotHeight = 800;

// Draws the analysis over time as a plotWidth × plotHeight PNG: both ears' dominant
// frequencies, the beat over shaded zones of the bands it can fall in, and the level. The file
// appears complete or not at all; false with `error` set when it cannot be written.
bool writeAnalysisPlot(const BeatAnalysis& analysis, const PlotOptions& options,
                       const std::string& path, std::string& error);

} // namespace serivane::tools
