#include "tools/analysis/AnalysisPlot.h"
#include "tools/analysis/PlotScale.h"
#include "tools/files/FileAccess.h"
#include "tools/files/TemporaryFile.h"
#include "tools/report/NumberText.h"

#include "engine/BandName.h"

#include <algorithm>
#include <cairo.h>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <unistd.h>
#include <vector>

namespace serivane::tools {

namespace {

struct Colour {
    double r, g, b, a = 1.0;
};

// A dark, calm ground as in the instrument's editor; the ears in a colour-blind-safe pair.
constexpr Colour ground{0.07, 0.09, 0.15};
constexpr Colour panelGround{0.10, 0.13, 0.20};
constexpr Colour gridLine{1.0, 1.0, 1.0, 0.10};
constexpr Colour textColour{1.0, 1.0, 1.0, 0.85};
constexpr Colour faintText{1.0, 1.0, 1.0, 0.55};
constexpr Colour leftColour{0.34, 0.71, 0.91};
constexpr Colour rightColour{0.90, 0.62, 0.0};
constexpr Colour beatColour{0.96, 0.92, 0.35};
constexpr Colour leftHigherColour{0.45, 0.90, 0.60};
constexpr Colour plannedColour{0.93, 0.45, 0.75};

// Areas of the three panels; text goes in the margins around them.
struct Area {
    double left, top, right, bottom;
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};
constexpr double marginLeft = 86.0;
// The right margin holds the band names beside their zones.
constexpr double marginRight = 84.0;
constexpr Area frequencyArea{marginLeft, 92.0, plotWidth - marginRight, 330.0};
constexpr Area beatArea{marginLeft, 372.0, plotWidth - marginRight, 610.0};
constexpr Area levelArea{marginLeft, 652.0, plotWidth - marginRight, 748.0};

// Zone colours, from the slowest band up.
constexpr Colour zoneColours[] = {{0.55, 0.40, 0.85, 0.22}, {0.30, 0.40, 0.95, 0.22},
                                  {0.25, 0.70, 0.90, 0.22}, {0.30, 0.80, 0.50, 0.22},
                                  {0.80, 0.80, 0.30, 0.22}, {0.95, 0.55, 0.25, 0.22},
                                  {0.95, 0.30, 0.40, 0.22}};
constexpr Colour zoneEdge{1.0, 1.0, 1.0, 0.30};

struct Zone {
    double low, high;
    const char* name;
};

// The bands up to `top` as the instrument names them: BandName followed upwards from just
// above zero, each change of name narrowed down to its bound.
std::vector<Zone> bandZones(double top) {
    constexpr double lowest = 1e-3, factor = 1.02;
    std::vector<Zone> zones;
    double low = 0.0;
    const char* name = BandName(static_cast<float>(lowest));
    for (double hz = lowest * factor; hz < top; hz *= factor) {
        if (std::strcmp(BandName(static_cast<float>(hz)), name) == 0) continue;
        double below = hz / factor, above = hz;
        for (int step = 0; step < 40; ++step) {
            const double middle = 0.5 * (below + above);
            (std::strcmp(BandName(static_cast<float>(middle)), name) == 0 ? below : above) = middle;
        }
        zones.push_back({low, above, name});
        low = above;
        name = BandName(static_cast<float>(hz));
    }
    zones.push_back({low, top, name});
    return zones;
}

using Reading = std::function<std::optional<double>(const SpanMeasure&)>;

void setColour(cairo_t* cr, const Colour& c) {
    cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

template <typename... Values> std::string format(const char* pattern, Values... values) {
    char text[160];
    std::snprintf(text, sizeof text, pattern, values...);
    return text;
}

// Text whose anchor is its left (align 0), centre (0.5) or right (1) end, on a baseline.
void text(cairo_t* cr, const std::string& line, double x, double y, double size,
          const Colour& colour, double align = 0.0, bool bold = false) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, line.c_str(), &extents);
    setColour(cr, colour);
    cairo_move_to(cr, x - align * extents.x_advance, y);
    cairo_show_text(cr, line.c_str());
}

void clipTo(cairo_t* cr, const Area& area) {
    cairo_rectangle(cr, area.left, area.top, area.width(), area.height());
    cairo_clip(cr);
}

std::string timeLabel(double seconds, double step) {
    if (step < 1.0) return format("%g s", seconds);
    const auto whole = static_cast<long long>(std::llround(seconds));
    if (whole >= 3600)
        return format("%lld:%02lld:%02lld", whole / 3600, whole / 60 % 60, whole % 60);
    return format("%lld:%02lld", whole / 60, whole % 60);
}

std::string hzLabel(double hz) {
    return hz >= 1000.0 ? format("%gk", hz / 1000.0) : format("%g", hz);
}

void drawPanel(cairo_t* cr, const Area& area, const std::string& caption, const PlotScale& time,
               const PlotScale& values, int ticks,
               const std::function<std::string(double)>& label) {
    setColour(cr, panelGround);
    cairo_rectangle(cr, area.left, area.top, area.width(), area.height());
    cairo_fill(cr);
    text(cr, caption, area.left, area.top - 10.0, 15.0, textColour, 0.0, true);
    cairo_set_line_width(cr, 1.0);
    for (double v : values.ticks(ticks)) {
        const double y = std::round(values.pixel(v)) + 0.5;
        setColour(cr, gridLine);
        cairo_move_to(cr, area.left, y);
        cairo_line_to(cr, area.right, y);
        cairo_stroke(cr);
        text(cr, label(v), area.left - 8.0, y + 4.5, 12.0, faintText, 1.0);
    }
    for (double t : time.ticks(10)) {
        const double x = std::round(time.pixel(t)) + 0.5;
        setColour(cr, gridLine);
        cairo_move_to(cr, x, area.top);
        cairo_line_to(cr, x, area.bottom);
        cairo_stroke(cr);
    }
}

// Each window's value as a level line across its span, joined to its neighbours; windows
// without a value leave a gap.
void drawSteps(cairo_t* cr, const std::vector<SpanMeasure>& windows, const Reading& reading,
               const PlotScale& time, const PlotScale& values, const Colour& colour, double width,
               const std::function<bool(const SpanMeasure&)>& include = nullptr) {
    setColour(cr, colour);
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    bool drawing = false;
    for (const SpanMeasure& w : windows) {
        const std::optional<double> value = reading(w);
        if (!value || !std::isfinite(*value) || (include && !include(w))) {
            if (drawing) cairo_stroke(cr);
            drawing = false;
            continue;
        }
        const double y = values.pixel(*value);
        if (drawing)
            cairo_line_to(cr, time.pixel(w.start), y);
        else
            cairo_move_to(cr, time.pixel(w.start), y);
        cairo_line_to(cr, time.pixel(w.start + w.seconds), y);
        drawing = true;
    }
    if (drawing) cairo_stroke(cr);
}

void drawLegend(cairo_t* cr, const Area& area,
                const std::vector<std::pair<std::string, Colour>>& entries) {
    double x = area.right;
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                               CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, 13.0);
        cairo_text_extents_t extents;
        cairo_text_extents(cr, entry->first.c_str(), &extents);
        x -= extents.x_advance;
        text(cr, entry->first, x, area.top - 10.0, 13.0, textColour);
        setColour(cr, entry->second);
        cairo_rectangle(cr, x - 22.0, area.top - 19.0, 16.0, 5.0);
        cairo_fill(cr);
        x -= 40.0;
    }
}

PlotScale frequencyScale(const BeatAnalysis& analysis) {
    double low = INFINITY, high = 0.0;
    for (const SpanMeasure& w : analysis.windows) {
        for (const std::optional<double>& hz : {w.left.dominantHz, w.right.dominantHz}) {
            if (!hz || *hz <= 0.0) continue;
            low = std::min(low, *hz);
            high = std::max(high, *hz);
        }
    }
    if (high <= 0.0) {
        low = 20.0;
        high = 2000.0;
    }
    low /= 1.3;
    high *= 1.3;
    // At least a factor of four, so that close frequencies do not fill the panel.
    if (high / low < 4.0) {
        const double middle = std::sqrt(low * high);
        low = middle / 2.0;
        high = middle * 2.0;
    }
    return PlotScale::logarithmic(low, high, frequencyArea.bottom, frequencyArea.top);
}

PlotScale beatScale(const BeatAnalysis& analysis, const PlotOptions& options) {
    double highest = 0.0;
    for (const SpanMeasure& w : analysis.windows) {
        if (w.beat.hz) highest = std::max(highest, std::fabs(*w.beat.hz));
    }
    for (const TimedValue& planned : options.plannedBeat)
        highest = std::max(highest, std::fabs(planned.value));
    if (highest <= 0.0) highest = 32.0;
    const double step = roundStep(highest * 1.25, 5);
    const double top = std::ceil(highest * 1.25 / step) * step;
    return PlotScale::linear(0.0, top, beatArea.bottom, beatArea.top);
}

PlotScale levelScale(const BeatAnalysis& analysis) {
    double lowest = 0.0;
    for (const SpanMeasure& w : analysis.windows) {
        for (double rms : {w.left.rms, w.right.rms}) {
            if (rms > 0.0) lowest = std::min(lowest, 20.0 * std::log10(rms));
        }
    }
    const double floor = std::clamp(std::floor((lowest - 6.0) / 20.0) * 20.0, -140.0, -60.0);
    return PlotScale::linear(floor, 0.0, levelArea.bottom, levelArea.top);
}

void drawBandZones(cairo_t* cr, const PlotScale& beat) {
    const std::vector<Zone> zones = bandZones(beat.high());
    for (std::size_t i = 0; i < zones.size(); ++i) {
        const double bottom = beat.pixel(zones[i].low);
        const double top = beat.pixel(zones[i].high);
        setColour(cr, zoneColours[i % std::size(zoneColours)]);
        cairo_rectangle(cr, beatArea.left, top, beatArea.width(), bottom - top);
        cairo_fill(cr);
        setColour(cr, zoneEdge);
        cairo_set_line_width(cr, 1.0);
        cairo_move_to(cr, beatArea.left, std::round(bottom) + 0.5);
        cairo_line_to(cr, beatArea.right, std::round(bottom) + 0.5);
        cairo_stroke(cr);
    }
}

// Each zone's name in the margin beside it, in its colour, where the zone is tall enough.
void nameBandZones(cairo_t* cr, const PlotScale& beat) {
    const std::vector<Zone> zones = bandZones(beat.high());
    for (std::size_t i = 0; i < zones.size(); ++i) {
        const double bottom = beat.pixel(zones[i].low);
        const double top = beat.pixel(zones[i].high);
        if (bottom - top < 12.0) continue;
        Colour colour = zoneColours[i % std::size(zoneColours)];
        colour.a = 1.0;
        text(cr, zones[i].name, beatArea.right + 8.0, 0.5 * (top + bottom) + 4.5, 12.0, colour, 0.0,
             true);
    }
}

// The plan as a dashed line over the measured beat, narrower than it, so that where the two lie
// on one another the measured one shows at its edges and between the dashes.
void drawPlanned(cairo_t* cr, const std::vector<TimedValue>& points, const PlotScale& time,
                 const PlotScale& beat) {
    if (points.empty()) return;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double x = time.pixel(points[i].seconds);
        const double y = beat.pixel(std::fabs(points[i].value));
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    setColour(cr, plannedColour);
    cairo_set_line_width(cr, 2.0);
    const double dashes[] = {9.0, 6.0};
    cairo_set_dash(cr, dashes, 2, 0.0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0.0);
}

std::string headline(const BeatAnalysis& analysis) {
    const BeatMeasure& beat = analysis.total.beat;
    if (!beat.hz) return verdictText(beat.verdict);
    return format("beat %+.2f Hz %s, %s ear higher", *beat.hz,
                  BandName(static_cast<float>(std::fabs(*beat.hz))),
                  *beat.hz > 0.0 ? "right" : "left");
}

void drawFrequencies(cairo_t* cr, const BeatAnalysis& analysis, const PlotScale& time) {
    const PlotScale hz = frequencyScale(analysis);
    drawPanel(cr, frequencyArea, "Each ear's dominant frequency (Hz)", time, hz, 12, hzLabel);
    drawLegend(cr, frequencyArea, {{"left ear", leftColour}, {"right ear", rightColour}});
    cairo_save(cr);
    clipTo(cr, frequencyArea);
    drawSteps(
        cr, analysis.windows, [](const SpanMeasure& w) { return w.left.dominantHz; }, time, hz,
        leftColour, 2.5);
    drawSteps(
        cr, analysis.windows, [](const SpanMeasure& w) { return w.right.dominantHz; }, time, hz,
        rightColour, 2.5);
    cairo_restore(cr);
}

void drawBeat(cairo_t* cr, const BeatAnalysis& analysis, const PlotOptions& options,
              const PlotScale& time) {
    const PlotScale beat = beatScale(analysis, options);
    drawPanel(cr, beatArea, "Binaural beat (Hz)", time, beat, 6, hzLabel);
    bool leftHigher = false, rightHigher = false;
    for (const SpanMeasure& w : analysis.windows) {
        if (w.beat.hz) (*w.beat.hz > 0.0 ? rightHigher : leftHigher) = true;
    }
    std::vector<std::pair<std::string, Colour>> legend;
    if (rightHigher || !leftHigher) legend.push_back({"measured, right ear higher", beatColour});
    if (leftHigher) legend.push_back({"measured, left ear higher", leftHigherColour});
    if (!options.plannedBeat.empty()) legend.push_back({"planned", plannedColour});
    drawLegend(cr, beatArea, legend);
    cairo_save(cr);
    clipTo(cr, beatArea);
    drawBandZones(cr, beat);
    auto magnitude = [](const SpanMeasure& w) -> std::optional<double> {
        if (!w.beat.hz) return std::nullopt;
        return std::fabs(*w.beat.hz);
    };
    drawSteps(cr, analysis.windows, magnitude, time, beat, beatColour, 3.5,
              [](const SpanMeasure& w) { return *w.beat.hz > 0.0; });
    drawSteps(cr, analysis.windows, magnitude, time, beat, leftHigherColour, 3.5,
              [](const SpanMeasure& w) { return *w.beat.hz < 0.0; });
    drawPlanned(cr, options.plannedBeat, time, beat);
    cairo_restore(cr);
    nameBandZones(cr, beat);
}

void drawLevel(cairo_t* cr, const BeatAnalysis& analysis, const PlotScale& time) {
    const PlotScale db = levelScale(analysis);
    drawPanel(cr, levelArea, "Level (dBFS RMS)", time, db, 3,
              [](double v) { return format("%g", v); });
    auto decibels = [](double rms) -> std::optional<double> {
        if (rms <= 0.0) return std::nullopt;
        return 20.0 * std::log10(rms);
    };
    cairo_save(cr);
    clipTo(cr, levelArea);
    drawSteps(
        cr, analysis.windows, [&](const SpanMeasure& w) { return decibels(w.left.rms); }, time, db,
        leftColour, 2.0);
    drawSteps(
        cr, analysis.windows, [&](const SpanMeasure& w) { return decibels(w.right.rms); }, time, db,
        rightColour, 2.0);
    cairo_restore(cr);
    const double step = roundStep(analysis.seconds, 10);
    for (double t : time.ticks(10))
        text(cr, timeLabel(t, step), time.pixel(t), levelArea.bottom + 20.0, 12.0, faintText, 0.5);
    text(cr, "time", levelArea.right, levelArea.bottom + 40.0, 12.0, faintText, 1.0);
}

void draw(cairo_t* cr, const BeatAnalysis& analysis, const PlotOptions& options) {
    setColour(cr, ground);
    cairo_paint(cr);
    const std::string title =
        options.title.empty() ? headline(analysis) : options.title + ": " + headline(analysis);
    text(cr, title, marginLeft, 34.0, 20.0, textColour, 0.0, true);
    text(cr,
         durationText(analysis.seconds) +
             format(", %d Hz, %s, windows of ", analysis.sampleRate,
                    analysis.channels == 1 ? "mono" : "stereo") +
             durationText(analysis.windowSeconds),
         marginLeft, 56.0, 13.0, faintText);
    const PlotScale time =
        PlotScale::linear(0.0, analysis.seconds, frequencyArea.left, frequencyArea.right);
    drawFrequencies(cr, analysis, time);
    drawBeat(cr, analysis, options, time);
    drawLevel(cr, analysis, time);
}

cairo_status_t writeToFile(void* file, const unsigned char* data, unsigned int length) {
    return std::fwrite(data, 1, length, static_cast<FILE*>(file)) == length
               ? CAIRO_STATUS_SUCCESS
               : CAIRO_STATUS_WRITE_ERROR;
}

} // namespace

bool writeAnalysisPlot(const BeatAnalysis& analysis, const PlotOptions& options,
                       const std::string& path, std::string& error) {
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, plotWidth, plotHeight),
        cairo_surface_destroy);
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()),
                                                          cairo_destroy);
    draw(cr.get(), analysis, options);
    cairo_surface_flush(surface.get());
    // Written beside the target under a name of its own, then renamed into place.
    const std::string pattern = path + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = createTemporaryFile(name);
    if (descriptor < 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    const std::string temporary = name.data();
    // The first step that fails gives the reason; a full disk shows in the writes.
    errno = 0;
    FILE* file = fdopen(descriptor, "wb");
    bool placed = file != nullptr && cairo_surface_write_to_png_stream(
                                         surface.get(), writeToFile, file) == CAIRO_STATUS_SUCCESS;
    int cause = placed ? 0 : errno;
    const bool closed = file != nullptr ? std::fclose(file) == 0 : close(descriptor) == 0;
    placed = placed && closed && replaceFile(temporary, path);
    if (!placed) {
        if (cause == 0) cause = errno;
        removeFile(temporary);
        error =
            "cannot write " + path + (cause != 0 ? std::string(": ") + std::strerror(cause) : "");
        return false;
    }
    return true;
}

} // namespace serivane::tools
