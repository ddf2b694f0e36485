#include "tools/commands/AnalysisReport.h"
#include "tools/report/JsonText.h"
#include "tools/report/NumberText.h"

#include "engine/BandName.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>

namespace serivane::tools {

namespace {

template <typename... Values> std::string format(const char* pattern, Values... values) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

double decibels(double level) {
    return level > 0.0 ? 20.0 * std::log10(level) : -INFINITY;
}

std::string hzText(const std::optional<double>& hz) {
    return hz ? format("%.1f Hz", *hz) : "-";
}

// "1:05", "1:05.5" or "1:05.25"; hours only when there are any.
std::string clock(double seconds) {
    const auto hundredths = std::llround(seconds * 100.0);
    const long long whole = hundredths / 100;
    std::string text = whole >= 3600
                           ? format("%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60)
                           : format("%lld:%02lld", whole / 60, whole % 60);
    if (hundredths % 100 == 0) return text;
    std::string fraction = format(".%02lld", hundredths % 100);
    if (fraction.back() == '0') fraction.pop_back();
    return text + fraction;
}

const char* shortVerdict(BeatVerdict verdict) {
    switch (verdict) {
    case BeatVerdict::Beat:
        return "beat";
    case BeatVerdict::Mono:
        return "mono";
    case BeatVerdict::Silent:
        return "silent";
    case BeatVerdict::OneEar:
        return "one ear";
    case BeatVerdict::SameFrequency:
        return "same frequency";
    case BeatVerdict::Unsteady:
        return "unsteady";
    case BeatVerdict::NotFinite:
        return "not finite";
    }
    return "";
}

std::string channelsText(int channels) {
    return channels == 1 ? "mono" : "stereo";
}

// To hundredths, without a sign on a zero ("+0.00" rather than "-0.00").
double rounded(double value) {
    return std::round(value * 100.0) / 100.0 + 0.0;
}

std::string spanText(const SpanMeasure& span) {
    return clock(span.start) + "-" + clock(span.start + span.seconds);
}

std::string row(const SpanMeasure& window, const WindowPlan* plan) {
    const std::string time = spanText(window);
    const BeatMeasure& beat = window.beat;
    const std::string beatText = beat.hz ? format("%+.2f Hz", *beat.hz) : "-";
    const std::string band = beat.hz ? beatBand(*beat.hz) : shortVerdict(beat.verdict);
    std::string text =
        format("  %-15s %11s %11s %11s  %-14s %8.2f %8s", time.c_str(),
               hzText(window.left.dominantHz).c_str(), hzText(window.right.dominantHz).c_str(),
               beatText.c_str(), band.c_str(), beat.strength, decibelText(window.rms).c_str());
    if (plan != nullptr)
        text += format(" %11s %8s", plan->hz ? format("%+.2f Hz", *plan->hz).c_str() : "-",
                       plan->deviation ? format("%+.2f", rounded(*plan->deviation)).c_str() : "-");
    return text + "\n";
}

// "Plan: sleep-descent.txt, at most 0.03 Hz off (0:05-0:10), measured in 12 of 12 windows".
std::string planLine(const BeatAnalysis& analysis, const PlanComparison& plan) {
    std::string text = format("%-11s %s", "Plan:", plan.program.c_str());
    if (plan.planned == 0) return text + ", which plans no beat\n";
    if (!plan.furthest) return text + ", but no window with a planned beat has a measured one\n";
    const double off = *plan.windows[*plan.furthest].deviation;
    return text + format(", at most %.2f Hz off (%s), measured in %zu of %zu windows\n",
                         std::fabs(off), spanText(analysis.windows[*plan.furthest]).c_str(),
                         plan.compared, plan.planned);
}

// "Not finite: 96 samples (NaN or infinity), the first at 0:01.5, measured as silence".
std::string notFiniteLine(const BeatAnalysis& analysis) {
    const long long count = analysis.total.notFinite;
    return format("%-11s %lld sample%s (NaN or infinity), the first at %s, measured as silence\n",
                  "Not finite:", count, count == 1 ? "" : "s",
                  clock(analysis.firstNotFinite.value_or(0.0)).c_str());
}

std::string earLine(const char* name, const EarMeasure& ear) {
    return format("%-11s dominant %s, RMS %s dBFS, peak %s dBFS\n", name,
                  hzText(ear.dominantHz).c_str(), decibelText(ear.rms).c_str(),
                  decibelText(ear.peak).c_str());
}

// Members stay in the order they are written.
using Json = nlohmann::ordered_json;

Json optionalNumber(const std::optional<double>& number) {
    return number ? Json(*number) : Json();
}

Json earObject(const EarMeasure& ear) {
    return {{"dominantHz", optionalNumber(ear.dominantHz)},
            {"rmsDb", decibels(ear.rms)},
            {"peakDb", decibels(ear.peak)}};
}

Json beatObject(const BeatMeasure& beat) {
    return {{"verdict", shortVerdict(beat.verdict)},
            {"hz", optionalNumber(beat.hz)},
            {"band", beat.hz ? Json(beatBand(*beat.hz)) : Json()},
            {"higherEar", beat.hz ? Json(*beat.hz > 0.0 ? "right" : "left") : Json()},
            {"strength", beat.strength}};
}

Json windowPlanObject(const WindowPlan& plan) {
    return {{"hz", optionalNumber(plan.hz)}, {"deviationHz", optionalNumber(plan.deviation)}};
}

Json planObject(const BeatAnalysis& analysis, const PlanComparison& plan) {
    Json furthest;
    if (plan.furthest)
        furthest = {{"start", analysis.windows[*plan.furthest].start},
                    {"deviationHz", *plan.windows[*plan.furthest].deviation}};
    return {{"program", plan.program},
            {"windowsPlanned", plan.planned},
            {"windowsCompared", plan.compared},
            {"furthest", furthest}};
}

Json spanObject(const SpanMeasure& span) {
    return {{"start", span.start},
            {"seconds", span.seconds},
            {"left", earObject(span.left)},
            {"right", earObject(span.right)},
            {"beat", beatObject(span.beat)},
            {"rmsDb", decibels(span.rms)},
            {"notFiniteSamples", span.notFinite}};
}

} // namespace

const char* beatBand(double hz) {
    return BandName(static_cast<float>(std::fabs(hz)));
}

std::string analysisSummary(const BeatAnalysis& analysis, const PlanComparison* plan) {
    const SpanMeasure& total = analysis.total;
    std::string text;
    if (total.beat.hz) {
        std::size_t steady = 0;
        for (const SpanMeasure& window : analysis.windows) steady += window.beat.hz ? 1 : 0;
        const double hz = *total.beat.hz;
        text = format("%-11s %+.2f Hz %s, %s ear higher (in %zu of %zu windows, strength %.2f)\n",
                      "Beat:", hz, beatBand(hz), hz > 0.0 ? "right" : "left", steady,
                      analysis.windows.size(), total.beat.strength);
    } else {
        std::string reason = verdictText(total.beat.verdict);
        reason[0] = 'N';
        text = reason + "\n";
    }
    if (plan != nullptr) text += planLine(analysis, *plan);
    if (analysis.total.notFinite > 0) text += notFiniteLine(analysis);
    if (analysis.channels == 1) return text + earLine("Both ears:", total.left);
    return text + earLine("Left ear:", total.left) + earLine("Right ear:", total.right);
}

std::string analysisText(const BeatAnalysis& analysis, const std::string& path,
                         const PlanComparison* plan) {
    std::string text = path + ": " + durationText(analysis.seconds) + ", " +
                       std::to_string(analysis.sampleRate) + " Hz, " +
                       channelsText(analysis.channels) + ", windows of " +
                       durationText(analysis.windowSeconds) + "\n\n";
    text += format("  %-15s %11s %11s %11s  %-14s %8s %8s", "time", "left ear", "right ear", "beat",
                   "band", "strength", "dBFS");
    text += plan != nullptr ? format(" %11s %8s\n", "planned", "off") : "\n";
    for (std::size_t i = 0; i < analysis.windows.size(); ++i)
        text += row(analysis.windows[i], plan != nullptr ? &plan->windows[i] : nullptr);
    return text + "\n" + analysisSummary(analysis, plan);
}

std::string analysisJson(const BeatAnalysis& analysis, const std::string& path,
                         const PlanComparison* plan) {
    Json windows = Json::array();
    for (std::size_t i = 0; i < analysis.windows.size(); ++i) {
        windows.push_back(spanObject(analysis.windows[i]));
        if (plan != nullptr) windows.back()["planned"] = windowPlanObject(plan->windows[i]);
    }
    Json report = {{"file", path},
                   {"sampleRate", analysis.sampleRate},
                   {"channels", analysis.channels},
                   {"frames", analysis.frames},
                   {"seconds", analysis.seconds},
                   {"windowSeconds", analysis.windowSeconds},
                   {"total", spanObject(analysis.total)}};
    if (plan != nullptr) report["plan"] = planObject(analysis, *plan);
    report["windows"] = windows;
    return jsonText(report);
}

} // namespace serivane::tools
