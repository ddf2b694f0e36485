#pragma once

#include "tools/analysis/BeatAnalysis.h"

#include <string>

namespace serivane::tools {

// The heading, the table of windows and the summary, as `serivane analyze` prints them.
std::string analysisText(const BeatAnalysis& analysis, const std::string& path);

// The summary of the whole file: the beat (or why there is none) and each ear.
std::string analysisSummary(const BeatAnalysis& analysis);

// One JSON object with the file's facts, "total" and "windows".
std::string analysisJson(const BeatAnalysis& analysis, const std::string& path);

// The beat's band as the instrument names it ("THETA"), from its magnitude.
const char* beatBand(double hz);

} // namespace serivane::tools
