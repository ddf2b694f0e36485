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
    changeCode_ = curveCode_ = WholeShape();
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
    curveCode_ = curveCode_ == kNone || curveCode_ == code ? code : WholeShape();
}

// Steps the edit copy through columns [first, end) from the start of `segment`.
void EnvelopeGraphModel::SampleColumns(int first, int end, int segment) {
    edit_.segment = segment;
    edit_.value = segment == 0 ? edit_.start : edit_.endLevels[segment - 1];
    const float height = static_cast<float>(plotBottom - plotTop);
    for (int c = first; c < end; ++c) {
        edit_.Step();
        const double v = edit_.value;
        curveValue_[c] = static_cast<float>(v);
        curveY_[c] = static_cast<float>(plotBottom - height * (curveFlipped_ ? 1.0 - v : v));
    }
}

void EnvelopeGraphModel::RefreshCurve(const ToneSettings& settings) {
    const bool flipped = kind_ == EnvelopeKind::Frequency && settings.lowHz > settings.highHz;
    if (flipped != curveFlipped_) {
        curveFlipped_ = flipped;
        curveCode_ = WholeShape();
    }
    if (curveCode_ == kNone) return;

    edit_.Prepare(static_cast<float>(plotWidth_));
    const int last = edit_.count - 1;
    if (curveCode_ >= WholeShape()) {
        SampleColumns(0, plotWidth_, 0);
    } else if (curveCode_ % 2 == 1) {
        const int k = curveCode_ / 2;
        const int first = k == 0 ? 0 : Column(edit_.innerPoints[k - 1]);
        const int end = k + 1 == last ? plotWidth_ : Column(edit_.innerPoints[k + 1]);
        SampleColumns(first, end, k);
    } else {
        const int k = curveCode_ / 2;
        const int first = k == 0 ? 0 : Column(edit_.innerPoints[k - 1]);
        const int end = k == last ? plotWidth_ : Column(edit_.innerPoints[k]);
        SampleColumns(first, end, k);
    }
    if (kind_ == EnvelopeKind::Frequency)
        curveY_.back() = static_cast<float>(curveFlipped_ ? plotBottom : plotTop);
    curveCode_ = kNone;
}

// A change of sweep direction re-sends the whole shape, which re-places the tones.
bool EnvelopeGraphModel::Push(ToneEngine& engine) {
    if (!engine.Initialised()) return false;
    const ToneSettings& settings = engine.Settings();
    if (kind_ == EnvelopeKind::Frequency &&
        pushedAscending_ != !(settings.lowHz > settings.highHz)) {
        pushedAscending_ = !pushedAscending_;
        changeCode_ = WholeShape();
    }
    if (changeCode_ == kNone) return true;
    RefreshCurve(settings);
    engine.ApplyEnvelopeDefinition(edit_, kind_, changeCode_);
    changeCode_ = kNone;
    return true;
}
