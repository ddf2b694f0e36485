#include "instrument/GraphPicture.h"

#include "framework/IParamModel.h"
#include "raster/Raster.h"

#include <algorithm>
#include <cmath>

namespace {

// Radii of the end markers and inner points, and of the curvature handles.
constexpr float kMarkerRadius = 5.0f;
constexpr float kCurvatureHandleRadius = 3.0f;
// Segments this many columns wide or narrower show no curvature handle.
constexpr int kNarrowSegment = 11;
constexpr float kCurveThickness = 2.2f;
// The dark ring around each handle, so a handle stays plain over tone dots and the curve.
constexpr IArgb kHandleRing{255, 0, 0, 0};
constexpr float kHandleRingWidth = 1.5f;
// The bars' fill opacity shared out between the tones.
constexpr double kBarOpacity = 150.0;

} // namespace

void GraphPicture::Capture(const EnvelopeGraphModel& model, int hovered, const ToneReadout& tones) {
    const SegmentEnvelope& envelope = model.Envelope();
    curveY.assign(model.CurveY().begin(), model.CurveY().end());
    startY = model.ScreenY(envelope.start);
    endY = model.ScreenY(envelope.endLevels[envelope.count - 1]);
    handles = {};
    handleCount = 0;
    const int last = envelope.count - 1;
    for (int i = 0; i <= last; ++i) {
        const SegmentSpan span = model.Span(i);
        if (span.end > span.start + kNarrowSegment) {
            const float y = curveY[static_cast<size_t>(model.HandleColumn(i))];
            handles[static_cast<size_t>(handleCount++)] = {
                static_cast<float>(model.plotLeft + (span.start + span.end) * 0.5), y,
                kCurvatureHandleRadius, hovered == 2 * i};
        }
        if (i < last)
            handles[static_cast<size_t>(handleCount++)] = {
                static_cast<float>(model.plotLeft + span.end - 1), model.InnerPointY(i),
                kMarkerRadius, hovered == 2 * i + 1};
    }
    CaptureBars(model, tones);
}

// Each tone's frequency range as a bar below the plot, placed within the span of all tones.
void GraphPicture::CaptureBars(const EnvelopeGraphModel& model, const ToneReadout& tones) {
    bars = {};
    barCount = 0;
    barAlpha = 0;
    if (model.Kind() != EnvelopeKind::Frequency ||
        model.Display() != FreqGraphDisplay::RealFrequency || tones.count <= 0)
        return;
    const double lowest = tones.tones[0].rate.low;
    const double highest = tones.tones[static_cast<size_t>(tones.count - 1)].rate.high;
    const double scale = model.PlotWidth() / (highest - lowest);
    // Low and high ends together leave no span to place the tones in.
    if (!std::isfinite(scale)) return;
    for (int i = 0; i < tones.count; ++i) {
        const ToneIncrement& rate = tones.tones[static_cast<size_t>(i)].rate;
        bars[static_cast<size_t>(barCount++)] = {
            model.plotLeft + RoundHalfAway((rate.low - lowest) * scale),
            model.plotLeft + RoundHalfAway((rate.high - lowest) * scale)};
    }
    barAlpha = RoundHalfAway(kBarOpacity / tones.count);
}

// The hovered handle is an outline over its dark disc, every other one filled.
void DrawGraphHandles(IGraphics& graphics, const GraphPicture& picture) {
    constexpr IArgb colour = GraphLayer::kHandleColour;
    for (int i = 0; i < picture.handleCount; ++i) {
        const GraphPicture::Handle& h = picture.handles[static_cast<size_t>(i)];
        graphics.FillCircle(kHandleRing, h.x, h.y, h.radius + kHandleRingWidth, nullptr, true);
        if (h.hovered)
            graphics.DrawCircle(colour, h.x, h.y, h.radius, nullptr, true);
        else
            graphics.FillCircle(colour, h.x, h.y, h.radius, nullptr, true);
    }
}

GraphLayer::GraphLayer(IEffectBase& plug, const IBox& box)
    : box_(box), canvas_(plug, box.W(), box.H()) {
    canvas_.PrepareDraw();
}

IBitmapRef GraphLayer::Bitmap() const {
    return {canvas_.DrawRaster(), box_.W(), box_.H(), 1, 0};
}

void GraphLayer::Render(const GraphPicture& picture, const EnvelopeGraphModel& model,
                        double scale) {
    canvas_.SetScale(scale);
    canvas_.DrawRaster()->Clear(0);
    // Editor coordinates, moved onto the layer.
    const float dx = static_cast<float>(-box_.left);
    const float dy = static_cast<float>(-box_.top);
    const float left = static_cast<float>(model.plotLeft) + dx;
    const float right = static_cast<float>(model.plotRight) + dx;
    const int plotBottom = model.plotBottom - box_.top;
    const int bottom = box_.H();

    const IArgb fill{picture.barAlpha, 180, 180, 180};
    const IArgb edge{std::min(4 * picture.barAlpha, 255), 180, 180, 180};
    for (int i = 0; i < picture.barCount; ++i) {
        const GraphPicture::Bar& bar = picture.bars[static_cast<size_t>(i)];
        const float xl = static_cast<float>(bar.left) + dx;
        const float xr = static_cast<float>(bar.right) + dx;
        canvas_.FillRect(fill, {bar.left - box_.left, plotBottom, bar.right - box_.left, bottom},
                         nullptr);
        if (xl > left) canvas_.DrawLine(edge, xl, plotBottom, xl, bottom, nullptr, true);
        if (xr < right) canvas_.DrawLine(edge, xr, plotBottom, xr, bottom, nullptr, true);
    }

    float x = left;
    float y = picture.startY + dy;
    for (size_t c = 0; c < picture.curveY.size(); ++c) {
        const float nextX = left + static_cast<float>(c + 1);
        const float nextY = std::trunc(picture.curveY[c]) + dy;
        canvas_.DrawThickLine(kCurveColour, x, y, nextX, nextY, kCurveThickness, nullptr, true);
        x = nextX;
        y = nextY;
    }
    canvas_.FillCircle(kCurveColour, left, picture.startY + dy, kMarkerRadius, nullptr, true);
    canvas_.FillCircle(kCurveColour, right, picture.endY + dy, kMarkerRadius, nullptr, true);
}
