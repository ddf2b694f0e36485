#include "instrument/EnvelopeGraphModel.h"

#include "framework/IParamModel.h"

#include <algorithm>
#include <cmath>

int EnvelopeGraphModel::Column(double fraction) const {
    return std::clamp(RoundHalfAway(plotWidth_ * fraction), 0, plotWidth_);
}

SegmentSpan EnvelopeGraphModel::Span(int segment) const {
    return {Column(edit_.LeftBoundary(segment)), Column(edit_.RightBoundary(segment))};
}

// Inner points out of order (host automation) can leave a segment with no columns of its own;
// its handle then sits on the nearest column that has a curve.
int EnvelopeGraphModel::HandleColumn(int segment) const {
    const SegmentSpan span = Span(segment);
    return std::clamp((span.start + span.end + 1) / 2, 0, plotWidth_ - 1);
}

float EnvelopeGraphModel::ScreenY(double value) const {
    const double height = plotBottom - plotTop;
    if (curveFlipped_) return static_cast<float>(plotTop + height * value);
    return static_cast<float>(plotBottom - height * value);
}

float EnvelopeGraphModel::InnerPointY(int i) const {
    return static_cast<float>(plotBottom - (plotBottom - plotTop) * double(edit_.endLevels[i]));
}

int EnvelopeGraphModel::ElementAt(int x, int y) const {
    const int last = edit_.count - 1;
    for (int i = 0; i <= last; ++i) {
        const int mid = HandleColumn(i);
        if (std::abs(x - (plotLeft + mid)) <= kHitTolerance &&
            std::fabs(y - curveY_[static_cast<size_t>(mid)]) <= kHitTolerance)
            return 2 * i;
        if (i == last) break;
        const int xe = Span(i).end;
        if (std::abs(x - (plotLeft + xe)) <= kHitTolerance &&
            std::abs(y - RoundHalfAway(InnerPointY(i))) <= kHitTolerance)
            return 2 * i + 1;
    }
    return kNone;
}

int EnvelopeGraphModel::PresetAt(int y) const {
    const int offset = y - box_.top - 1;
    if (offset < 0) return kNone;
    return std::min(offset / kPresetSize, kPresetCount - 1);
}

int EnvelopeGraphModel::ColumnReaching(double value, int segment, bool rising) const {
    SegmentSpan span{0, plotWidth_};
    if (kind_ == EnvelopeKind::Volume) span = Span(segment);
    for (int c = span.start; c < span.end; ++c) {
        const float v = curveValue_[static_cast<size_t>(c)];
        if (rising ? v >= value : v <= value) return c;
    }
    return kNone;
}
