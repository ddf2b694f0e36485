#pragma once

#include "engine/SegmentEnvelope.h"
#include "engine/ToneEngine.h"
#include "gui/GuiTypes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// How the frequency graph places the tones: by their envelope position, or by their sounding
// frequency within the span of all tones (with a bar per tone under the curve).
enum class FreqGraphDisplay { RealFrequency = 0, Position = 1 };

// A parameter value an edit of the graph produced.
struct GraphParamWrite {
    int index = -1;
    double value = 0.0;
};

// The parameter values one edit produced: at most the six a volume preset writes.
struct GraphParamWrites {
    std::array<GraphParamWrite, 6> items{};
    int count = 0;

    void Add(int index, double value) { items[static_cast<size_t>(count++)] = {index, value}; }
    const GraphParamWrite* begin() const { return items.data(); }
    const GraphParamWrite* end() const { return items.data() + count; }
};

// The columns a segment covers on the plot: start and end, each round(width x boundary).
struct SegmentSpan {
    int start = 0;
    int end = 0;
};

// The model of an envelope graph: its edit copy of the envelope, the curve sampled once per
// plot column, and two change codes saying which part must still be pushed into the engine's
// tone envelopes and which part of the curve must be sampled again. The instrument pushes from
// the change handler and at the start of every block; the graph control only draws the curve.
//
// Elements of the graph are numbered as the engine's change codes: 2i is the curvature handle
// of segment i, 2i + 1 the inner point after segment i, 2 x count the whole envelope.
class EnvelopeGraphModel {
public:
    static constexpr int kNone = -1;
    static constexpr int kPresetCount = 5;
    // Preset buttons are squares of this size stacked at the right edge of the box.
    static constexpr int kPresetSize = 30;
    // Half the side of the square in which a handle counts as hit.
    static constexpr int kHitTolerance = 5;
    // Smallest distance in pixels between an inner point and its neighbours or the ends.
    static constexpr int kMinimumGap = 10;
    // Curvatures are kept below this magnitude.
    static constexpr float kCurvatureLimit = 15.0f;

    // Takes the control's box; the plot sits inside it, leaving room for the preset buttons.
    EnvelopeGraphModel(int left, int top, int right, int bottom, EnvelopeKind kind);

    // Mirrors "Freq Graph", "Qfreq", "Qvol1".."Qvol4" and "Xvol1".."Xvol3" (by their integer
    // key) into the edit copy.
    void ApplyParamKey(int index, int32_t key);
    // Pushes the edits made since the last push into the engine and brings the curve up to date;
    // false (nothing done) until the engine has rendered its first block. Callers hold the
    // plug-in mutex: the push writes the tone envelopes that the audio thread steps.
    bool Push(ToneEngine& engine);
    // Samples the changed part of the curve again, drawn upside down when the settings sweep
    // downwards. Touches nothing of the engine. Callers hold the plug-in mutex.
    void RefreshCurve(const ToneSettings& settings);

    // Edits by the user. Each answers the parameter values to store; the curve follows at the
    // next RefreshCurve, the sound at the next Push. A preset button sets the frequency
    // curvature (negated on a graph drawn descending) or the volume envelope's outer inner
    // points and its curvatures.
    GraphParamWrites ApplyPreset(int button);
    // Moves inner point k by dx pixels, keeping the minimum gap to its neighbours and the ends.
    GraphParamWrites DragInnerPoint(int k, int dx);
    // Bends segment k by a mouse movement of dy pixels, so that the curve follows the pointer
    // on screen; a step that would reach the curvature limit is refused (no writes).
    GraphParamWrites DragCurvature(int k, int dy);

    // Geometry, in editor pixels.
    const IBox& Box() const { return box_; }
    int Column(double fraction) const;
    SegmentSpan Span(int segment) const;
    // The column of segment's curvature handle, always a valid index into the curve.
    int HandleColumn(int segment) const;
    // Screen y of an envelope value; the descending frequency graph is drawn upside down.
    float ScreenY(double value) const;
    // Screen y of inner point i, at the end level of segment i.
    float InnerPointY(int i) const;
    // The element whose handle lies within the hit tolerance of (x, y), or kNone.
    int ElementAt(int x, int y) const;
    bool InPresetColumn(int x) const { return x >= box_.right - kPresetSize && x <= box_.right; }
    // The preset button under y in the preset column, or kNone above the first one.
    int PresetAt(int y) const;
    // First column of segment (the whole plot on the frequency graph) where the curve has
    // reached value in the segment's direction, or kNone.
    int ColumnReaching(double value, int segment, bool rising) const;

    EnvelopeKind Kind() const { return kind_; }
    int PlotWidth() const { return plotWidth_; }
    // The part of the envelope the engine has still to be given.
    int ChangeCode() const { return changeCode_; }
    // Marks the part as pending for both the engine and the curve.
    void SetChangeCode(int code) { changeCode_ = curveCode_ = code; }
    FreqGraphDisplay Display() const { return display_; }
    // Whether the curve is drawn ascending, as the user sees it.
    bool Ascending() const { return !curveFlipped_; }
    SegmentEnvelope& Envelope() { return edit_; }
    const SegmentEnvelope& Envelope() const { return edit_; }
    const std::vector<float>& CurveValues() const { return curveValue_; }
    const std::vector<float>& CurveY() const { return curveY_; }
    int WholeShape() const { return 2 * edit_.count; }

    const int plotLeft;
    const int plotTop;
    const int plotRight;
    const int plotBottom;

private:
    void SampleColumns(int first, int end, int segment);
    // Records an edit; two different pending edits make the whole shape pending.
    void MarkChanged(int code);

    IBox box_;
    EnvelopeKind kind_;
    int plotWidth_;
    // The sweep direction the engine's envelopes were last pushed for.
    bool pushedAscending_ = true;
    // The curve is sampled upside down (a descending frequency graph).
    bool curveFlipped_ = false;
    FreqGraphDisplay display_ = FreqGraphDisplay::Position;
    SegmentEnvelope edit_;
    int changeCode_;
    int curveCode_;
    std::vector<float> curveY_;
    std::vector<float> curveValue_;
};
