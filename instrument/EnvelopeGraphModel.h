#pragma once

#include "engine/SegmentEnvelope.h"
#include "engine/ToneEngine.h"

#include <cstdint>
#include <vector>

// The model of an envelope graph: its edit copy of the envelope, the curve sampled once per
// plot column, and the change code saying which part must be recomputed and pushed into the
// engine's tone envelopes. The graph control draws from it; without an editor the instrument
// recomputes it directly so that automation still changes the sound.
class EnvelopeGraphModel {
public:
    static constexpr int kNone = -1;

    // Takes the control's box; the plot sits inside it, leaving room for the preset buttons.
    EnvelopeGraphModel(int left, int top, int right, int bottom, EnvelopeKind kind);

    // Mirrors "Freq Graph", "Qfreq", "Qvol1".."Qvol4" and "Xvol1".."Xvol3" (by their integer
    // key) into the edit copy.
    void ApplyParamKey(int index, int32_t key);
    // Recomputes the changed part of the curve and pushes it into the engine; false (nothing
    // done) until the engine has rendered its first block. Callers hold the plug-in mutex: the
    // push writes the tone envelopes that the audio thread steps.
    bool Recompute(ToneEngine& engine);

    EnvelopeKind Kind() const { return kind_; }
    int PlotWidth() const { return plotWidth_; }
    int ChangeCode() const { return changeCode_; }
    void SetChangeCode(int code) { changeCode_ = code; }
    int DisplayMode() const { return displayMode_; }
    bool Ascending() const { return ascending_; }
    SegmentEnvelope& Envelope() { return edit_; }
    const std::vector<float>& CurveValues() const { return curveValue_; }
    const std::vector<float>& CurveY() const { return curveY_; }
    int WholeShape() const { return 2 * edit_.count; }

    const int plotLeft;
    const int plotTop;
    const int plotRight;
    const int plotBottom;

private:
    int Column(double fraction) const;
    void SampleColumns(int first, int end, int segment, bool flipped);

    EnvelopeKind kind_;
    int plotWidth_;
    bool ascending_ = true;
    int displayMode_ = 1;
    SegmentEnvelope edit_;
    int changeCode_;
    std::vector<float> curveY_;
    std::vector<float> curveValue_;
};
