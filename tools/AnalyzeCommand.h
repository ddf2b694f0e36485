#pragma once

#include "tools/Arguments.h"
#include "tools/Console.h"

namespace serivane::tools {

// `serivane analyze`: measures each ear's frequency, the beat between them and the level of a
// sound file, window by window and in total; optionally draws them as a PNG.
int runAnalyze(const AnalyzeOptions& options, const Console& console);

// Prints the analysis summary of a file just rendered (`serivane render --analyze`).
int printRenderAnalysis(const std::string& path, const Console& console);

} // namespace serivane::tools
