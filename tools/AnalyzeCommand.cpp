#include "tools/AnalyzeCommand.h"
#include "platform/Utf8Path.h"
#include "tools/AnalysisReport.h"
#include "tools/analysis/AnalysisPlot.h"
#include "tools/program/ProgramSource.h"

#include <filesystem>
#include <optional>

namespace serivane::tools {

namespace {

PlotOptions plotOptions(const std::string& path, const std::optional<PlanComparison>& plan) {
    PlotOptions plot;
    plot.title = Utf8Path(path).filename().string();
    if (plan) plot.plannedBeat = plan->outline;
    return plot;
}

// Measures the file and, with a program, compares it with the program's plan; the program is
// read first, so that a faulty one is reported before the file is measured.
bool measure(const std::string& path, const AnalysisOptions& analysisOptions,
             const PlanSource& source, BeatAnalysis& analysis, std::optional<PlanComparison>& plan,
             std::string& error) {
    ProgramScript script;
    if (!source.program.empty() && !loadProgram(source.program, script, error)) return false;
    if (!analyzeSoundFile(path, analysisOptions, analysis, error)) return false;
    if (source.program.empty()) return true;
    plan.emplace();
    return comparePlan(source, script, analysis, *plan, error);
}

} // namespace

int AnalyzeCommand::run(const Console& console) {
    const AnalyzeOptions& options = options_;
    BeatAnalysis analysis;
    std::optional<PlanComparison> plan;
    std::string error;
    if (!measure(options.input, {options.windowSeconds}, options.plan, analysis, plan, error) ||
        (!options.plot.empty() &&
         !writeAnalysisPlot(analysis, plotOptions(options.input, plan), options.plot, error))) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    const PlanComparison* compared = plan ? &*plan : nullptr;
    console.out << (options.json ? analysisJson(analysis, options.input, compared)
                                 : analysisText(analysis, options.input, compared));
    return exitOk;
}

int printRenderAnalysis(const std::string& path, const PlanSource& source, const std::string& plot,
                        const Console& console) {
    BeatAnalysis analysis;
    std::optional<PlanComparison> plan;
    std::string error;
    if (!measure(path, {}, source, analysis, plan, error) ||
        (!plot.empty() && !writeAnalysisPlot(analysis, plotOptions(path, plan), plot, error))) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    console.out << analysisSummary(analysis, plan ? &*plan : nullptr);
    return exitOk;
}

} // namespace serivane::tools
