#include "instrument/EnvelopeGraphModel.h"

#include "engine/ParamIds.h"

#include <algorithm>

namespace {
// Curvature parameters run from -90 to 90; the envelope takes a sixth of that.
constexpr float kCurvaturePerKey = 0.16666667f;
// Inner-point keys are tenths of a percent.
constexpr float kPointPerKey = 0.001f;
} // namespace

EnvelopeGraphModel::EnvelopeGraphModel(int left, int top, int right, int bottom, EnvelopeKind kind)
    : plotLeft(left + 6), plotTop(top + 7), plotRight(right - 36),
      plotBottom(bottom - 7), box_{left, top, right, bottom}, kind_(kind),
      plotWidth_(std::max(1, right - left - 42)) {
    edit_.Init(kind == EnvelopeKind::Frequency);
    changeCode_ = WholeShape();
    curveY_.assign(static_cast<size_t>(plotWidth_), 0.0f);
    curveValue_.assign(static_cast<size_t>(plotWidth_), 0.0f);
}

void EnvelopeGraphModel::ApplyParamKey(int index, int32_t key) {
    if (index == kFreqGraph) {
        display_ = key < 1 ? FreqGraphDisplay::Position : FreqGraphDisplay::RealFrequency;
    } else if (index == kQfreq) {
        edit_.curvatures[0] = static_cast<float>(key) * kCurvaturePerKey;
        MarkChanged(0);
    } else if (index >= kQvol1 && index <= kQvol4) {
        edit_.curvatures[index - kQvol1] = static_cast<float>(key) * kCurvaturePerKey;
        MarkChanged(WholeShape());
    } else if (index >= kXvol1 && index <= kXvol3) {
        edit_.innerPoints[index - kXvol1] = static_cast<float>(key) * kPointPerKey;
        MarkChanged(WholeShape());
    }
}

void EnvelopeGraphModel::MarkChanged(int code) {
    changeCode_ = changeCode_ == kNone || changeCode_ == code ? code : WholeShape();
}

// Steps the edit copy through columns [first, end) from the start of `segment`.
void EnvelopeGraphModel::SampleColumns(int first, int end, int segment, bool flipped) {
    edit_.segment = segment;
    edit_.value = segment == 0 ? edit_.start : edit_.endLevels[segment - 1];
    const float height = static_cast<float>(plotBottom - plotTop);
    for (int c = first; c < end; ++c) {
        edit_.Step();
        const double v = edit_.value;
        curveValue_[c] = static_cast<float>(v);
        curveY_[c] = static_cast<float>(plotBottom - height * (flipped ? 1.0 - v : v));
    }
}

bool EnvelopeGraphModel::Recompute(ToneEngine& engine) {
    if (!engine.Initialised()) return false;
    const ToneSettings& settings = engine.Settings();
    const bool frequency = kind_ == EnvelopeKind::Frequency;
    if (frequency && ascending_ != !(settings.lowHz > settings.highHz)) {
        ascending_ = !ascending_;
        changeCode_ = WholeShape();
    }
    if (changeCode_ == kNone) return true;

    edit_.Prepare(static_cast<float>(plotWidth_));
    const bool flipped = frequency && settings.lowHz > settings.highHz;
    const int last = edit_.count - 1;
    if (changeCode_ >= WholeShape()) {
        SampleColumns(0, plotWidth_, 0, flipped);
    } else if (changeCode_ % 2 == 1) {
        const int k = changeCode_ / 2;
        const int first = k == 0 ? 0 : Column(edit_.innerPoints[k - 1]);
        const int end = k + 1 == last ? plotWidth_ : Column(edit_.innerPoints[k + 1]);
        SampleColumns(first, end, k, flipped);
    } else {
        const int k = changeCode_ / 2;
        const int first = k == 0 ? 0 : Column(edit_.innerPoints[k - 1]);
        const int end = k == last ? plotWidth_ : Column(edit_.innerPoints[k]);
        SampleColumns(first, end, k, flipped);
    }
    engine.ApplyEnvelopeDefinition(edit_, kind_, changeCode_);
    if (frequency) curveY_.back() = static_cast<float>(ascending_ ? plotTop : plotBottom);
    changeCode_ = kNone;
    return true;
}
