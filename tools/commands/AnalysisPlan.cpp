#include "tools/commands/AnalysisPlan.h"
#include "tools/plugin/BundleLocation.h"
#include "tools/program/BeatPlan.h"
#include "tools/program/ProgramRender.h"

#include <cmath>

namespace serivane::tools {

namespace {

// Points enough for every pixel of the plot's width to get its own.
constexpr int outlinePoints = 2 * plotWidth;

void compareWindows(const BeatPlan& plan, const BeatAnalysis& analysis,
                    PlanComparison& comparison) {
    double largest = -1.0;
    for (std::size_t i = 0; i < analysis.windows.size(); ++i) {
        const SpanMeasure& window = analysis.windows[i];
        WindowPlan& entry = comparison.windows.emplace_back();
        entry.hz = plan.mean(window.start, window.seconds);
        if (!entry.hz) continue;
        ++comparison.planned;
        if (!window.beat.hz) continue;
        ++comparison.compared;
        entry.deviation = *window.beat.hz - *entry.hz;
        if (std::fabs(*entry.deviation) > largest) {
            largest = std::fabs(*entry.deviation);
            comparison.furthest = i;
        }
    }
}

std::vector<TimedValue> outline(const BeatPlan& plan, double seconds) {
    std::vector<TimedValue> points;
    for (int i = 0; i <= outlinePoints; ++i) {
        double t = seconds * i / outlinePoints;
        points.push_back({t, std::fabs(plan.at(t).value_or(0.0))});
    }
    return points;
}

} // namespace

bool comparePlan(const PlanSource& source, const ProgramScript& script,
                 const BeatAnalysis& analysis, PlanComparison& comparison, std::string& error,
                 const std::function<bool()>& interrupted) {
    std::string bundle = source.bundle.empty() ? defaultBundlePath() : source.bundle;
    std::shared_ptr<host::Module> module = host::Module::load(bundle, error);
    std::unique_ptr<host::Plugin> plugin = module ? host::Plugin::create(module, error) : nullptr;
    StartSettings start;
    if (!plugin || !resolveStart(*plugin, source.presets, source.settings, start, error))
        return false;
    std::optional<Automation> automation =
        Automation::build(module, start, script, analysis.sampleRate, error, interrupted);
    if (!automation) return false;
    BeatPlan plan(*plugin, *automation, analysis.sampleRate);
    comparison = PlanComparison();
    comparison.program = script.file();
    compareWindows(plan, analysis, comparison);
    comparison.outline = outline(plan, analysis.seconds);
    return true;
}

} // namespace serivane::tools
