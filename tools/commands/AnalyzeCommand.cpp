#include "tools/commands/AnalyzeCommand.h"
#include "platform/Utf8Path.h"
#include "tools/analysis/AnalysisPlot.h"
#include "tools/commands/AnalysisReport.h"
#include "tools/commands/Interruption.h"
#include "tools/program/ProgramSource.h"
#include "tools/report/ProgressBar.h"

#include <chrono>
#include <filesystem>
#include <optional>

namespace serivane::tools {

namespace {

// The bar that shows on a terminal while a file is measured; cleared before the results print.
class AnalysisProgress {
public:
    explicit AnalysisProgress(const Console& console)
        : console_(console), started_(std::chrono::steady_clock::now()) {}
    ~AnalysisProgress() { finish(); }
    AnalysisProgress(const AnalysisProgress&) = delete;
    AnalysisProgress& operator=(const AnalysisProgress&) = delete;

    std::function<void(long long, long long)> callback() {
        if (!console_.errIsTerminal) return {};
        return [this](long long done, long long total) {
            if (!bar_) bar_.emplace(console_.err, true, total, "Analyzing");
            const std::chrono::duration<double> elapsed =
                std::chrono::steady_clock::now() - started_;
            bar_->update(done, elapsed.count());
        };
    }

    void finish() {
        if (bar_) bar_->finish();
        bar_.reset();
    }

private:
    const Console& console_;
    std::chrono::steady_clock::time_point started_;
    std::optional<ProgressBar> bar_;
};

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
    const std::function<bool()>& interrupted = analysisOptions.interrupted;
    ProgramScript script;
    if (!source.program.empty() && !loadProgram(source.program, script, error, interrupted))
        return false;
    if (!analyzeSoundFile(path, analysisOptions, analysis, error)) return false;
    if (source.program.empty()) return true;
    plan.emplace();
    return comparePlan(source, script, analysis, *plan, error, interrupted);
}

} // namespace

int AnalyzeCommand::run(const Console& console) {
    const AnalyzeOptions& options = options_;
    InterruptionGuard interruption;
    AnalysisProgress progress(console);
    const AnalysisOptions analysisOptions{options.windowSeconds,
                                          [&interruption] { return interruption.caught() != 0; },
                                          progress.callback()};
    BeatAnalysis analysis;
    std::optional<PlanComparison> plan;
    std::string error;
    const bool measured =
        measure(options.input, analysisOptions, options.plan, analysis, plan, error) &&
        (options.plot.empty() ||
         writeAnalysisPlot(analysis, plotOptions(options.input, plan), options.plot, error));
    progress.finish();
    // A signal stops the work where it is, and the tool ends as it asks, with nothing to report.
    if (int signal = interruption.caught(); signal != 0) endBySignal(signal);
    if (!measured) {
        console.err << "serivane: " << error << '\n';
        return exitFailure;
    }
    const PlanComparison* compared = plan ? &*plan : nullptr;
    console.out << (options.json ? analysisJson(analysis, options.input, compared)
                                 : analysisText(analysis, options.input, compared));
    return exitOk;
}

int printRenderAnalysis(const std::string& path, const PlanSource& source, const std::string& plot,
                        const std::function<bool()>& interrupted, const Console& console) {
    BeatAnalysis analysis;
    std::optional<PlanComparison> plan;
    std::string error;
    AnalysisProgress progress(console);
    const bool measured =
        measure(path, {0.0, interrupted, progress.callback()}, source, analysis, plan, error) &&
        (plot.empty() || writeAnalysisPlot(analysis, plotOptions(path, plan), plot, error));
    progress.finish();
    if (!measured) {
        // Stopped by a signal, it has nothing to report: the caller ends as the signal asks.
        if (!interrupted())
            console.err << "serivane: " << error << "; the render " << path << " was kept\n";
        return exitFailure;
    }
    console.out << analysisSummary(analysis, plan ? &*plan : nullptr);
    return exitOk;
}

} // namespace serivane::tools
