#include "tools/AnalyzeCommand.h"
#include "tools/AnalysisReport.h"
#include "tools/analysis/AnalysisPlot.h"

#include <filesystem>

namespace serivane::tools {

namespace {

PlotOptions plotOptions(const AnalyzeOptions& options) {
    PlotOptions plot;
    plot.title = std::filesystem::path(options.input).filename().string();
    return plot;
}

} // namespace

int AnalyzeCommand::run(const Console& console) {
    const AnalyzeOptions& options = options_;
    BeatAnalysis analysis;
    std::string error;
    if (!analyzeSoundFile(options.input, {options.windowSeconds}, analysis, error) ||
        (!options.plot.empty() &&
         !writeAnalysisPlot(analysis, plotOptions(options), options.plot, error))) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    console.out << (options.json ? analysisJson(analysis, options.input)
                                 : analysisText(analysis, options.input));
    return exitOk;
}

int printRenderAnalysis(const std::string& path, const Console& console) {
    BeatAnalysis analysis;
    std::string error;
    if (!analyzeSoundFile(path, {}, analysis, error)) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    console.out << analysisSummary(analysis);
    return exitOk;
}

} // namespace serivane::tools
