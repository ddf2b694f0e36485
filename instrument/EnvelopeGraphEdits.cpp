#include "instrument/EnvelopeGraphModel.h"

#include "engine/ParamIds.h"

#include <algorithm>
#include <cmath>

namespace {

// The envelope takes a sixth of a curvature parameter.
constexpr double kParamPerCurvature = 6.0;
constexpr float kFreqPresetCurvatures[EnvelopeGraphModel::kPresetCount] = {-6, -3, 0, 3, 6};
// Volume presets: the first and last inner points; the middle one stays.
constexpr float kVolumePresetPoints[EnvelopeGraphModel::kPresetCount][2] = {
    {0.35f, 0.65f}, {0.3f, 0.7f}, {0.25f, 0.75f}, {0.2f, 0.8f}, {0.15f, 0.85f}};
constexpr float kVolumePresetCurvatures[kMaxSegments] = {4, -4, 4, -4};

} // namespace

GraphParamWrites EnvelopeGraphModel::ApplyPreset(int button) {
    GraphParamWrites writes;
    if (button < 0 || button >= kPresetCount) return writes;
    if (kind_ == EnvelopeKind::Frequency) {
        const float curvature = kFreqPresetCurvatures[button];
        edit_.curvatures[0] = curveFlipped_ ? -curvature : curvature;
        writes.Add(kQfreq, edit_.curvatures[0] * kParamPerCurvature);
        MarkChanged(0);
        return writes;
    }
    edit_.innerPoints[0] = kVolumePresetPoints[button][0];
    edit_.innerPoints[2] = kVolumePresetPoints[button][1];
    writes.Add(kXvol1, edit_.innerPoints[0] * 100.0);
    writes.Add(kXvol3, edit_.innerPoints[2] * 100.0);
    for (int i = 0; i < kMaxSegments; ++i) {
        edit_.curvatures[i] = kVolumePresetCurvatures[i];
        writes.Add(kQvol1 + i, edit_.curvatures[i] * kParamPerCurvature);
    }
    MarkChanged(WholeShape());
    return writes;
}

GraphParamWrites EnvelopeGraphModel::DragInnerPoint(int k, int dx) {
    GraphParamWrites writes;
    if (kind_ != EnvelopeKind::Volume || k < 0 || k >= edit_.count - 1) return writes;
    const double width = plotWidth_;
    const double candidate = width * edit_.innerPoints[k] + dx;
    const double lower = k == 0 ? kMinimumGap : width * edit_.innerPoints[k - 1] + kMinimumGap;
    const double upper = k + 1 == edit_.count - 1 ? width - kMinimumGap
                                                  : width * edit_.innerPoints[k + 1] - kMinimumGap;
    const double position = std::max(lower, std::min(upper, candidate));
    edit_.innerPoints[k] = static_cast<float>(position / width);
    writes.Add(kXvol1 + k, edit_.innerPoints[k] * 100.0);
    MarkChanged(2 * k + 1);
    edit_.Prepare(0.0f);
    return writes;
}

GraphParamWrites EnvelopeGraphModel::DragCurvature(int k, int dy) {
    GraphParamWrites writes;
    if (k < 0 || k >= edit_.count) return writes;
    const float q = edit_.curvatures[k];
    // A segment squeezed to nothing by automation still bends as one a column wide.
    const double fraction =
        std::max(double(edit_.RightBoundary(k) - edit_.LeftBoundary(k)), 1.0 / plotWidth_);
    double change = dy * (std::fabs(q) / 60.0 + 0.05) / std::sqrt(fraction);
    if (!edit_.rising[k]) change = -change;
    if (curveFlipped_) change = -change;
    const float bent = static_cast<float>(q + change);
    if (!(std::fabs(bent) < kCurvatureLimit)) return writes;
    edit_.curvatures[k] = bent;
    writes.Add(kind_ == EnvelopeKind::Frequency ? kQfreq : kQvol1 + k, bent * kParamPerCurvature);
    MarkChanged(2 * k);
    edit_.Prepare(0.0f);
    return writes;
}
