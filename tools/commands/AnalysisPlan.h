#pragma once

#include "tools/Options.h"
#include "tools/analysis/AnalysisPlot.h"
#include "tools/analysis/BeatAnalysis.h"
#include "tools/program/ProgramScript.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace serivane::tools {

// The program a sound file was rendered from, with the start it was rendered from.
struct PlanSource {
    std::string program;              // a program file or the name of a built-in program
    std::vector<std::string> presets; // applied in order
    std::vector<Setting> settings;
    std::string bundle; // empty: the default bundle
};

// The planned beat over one analysis window beside the measured one.
struct WindowPlan {
    std::optional<double> hz;        // the plan's mean over the window: none where it has no beat
    std::optional<double> deviation; // measured minus planned, where both are
};

// How closely a file follows the beat its program planned.
struct PlanComparison {
    std::string program;                 // the program's file
    std::vector<WindowPlan> windows;     // one per analysis window
    std::size_t planned = 0;             // windows with a planned beat
    std::size_t compared = 0;            // of those, the ones with a measured beat
    std::optional<std::size_t> furthest; // the window whose beat is furthest off the plan
    std::vector<TimedValue> outline;     // the planned beat's magnitude over the file, to draw
};

// Plans `script` from the source's start at the file's rate, on a scratch instance of the
// bundle's plug-in, and compares it window by window. Errors name the program's file and line.
// Once `interrupted` answers true, planning stops and fails.
bool comparePlan(const PlanSource& source, const ProgramScript& script,
                 const BeatAnalysis& analysis, PlanComparison& comparison, std::string& error,
                 const std::function<bool()>& interrupted);

} // namespace serivane::tools
