#pragma once

#include "tools/analysis/BeatAnalysis.h"
#include "tools/commands/AnalysisPlan.h"

#include <string>

namespace serivane::tools {

// The heading, the table of windows and the summary, as `serivane analyze` prints them; with a
// plan, each window's planned beat and how far off it the measured one is.
std::string analysisText(const BeatAnalysis& analysis, const std::string& path,
                         const PlanComparison* plan = nullptr);

// The summary of the whole file: the beat (or why there is none) and each ear; with a plan, the
// largest deviation from it.
std::string analysisSummary(const BeatAnalysis& analysis, const PlanComparison* plan = nullptr);

// One JSON object with the file's facts, "total" and "windows"; with a plan, "plan" and each
// window's "planned".
std::string analysisJson(const BeatAnalysis& analysis, const std::string& path,
                         const PlanComparison* plan = nullptr);

// The beat's band as the instrument names it ("THETA"), from its magnitude.
const char* beatBand(double hz);

} // namespace serivane::tools
