#pragma once

#include "gui/GuiTypes.h"
#include "gui/IBitmapRef.h"
#include "gui/IGraphics.h"
#include "instrument/EnvelopeGraphModel.h"
#include "instrument/ToneReadout.h"

#include <array>
#include <vector>

// A graph's picture apart from its tone dots: the "Real Freq" bars, the curve, its end markers
// and the handles. Captured from the model under the plug-in mutex and compared with the picture
// drawn last, so the layer is redrawn only when something in it changed.
struct GraphPicture {
    struct Handle {
        float x = 0.0f;
        float y = 0.0f;
        float radius = 0.0f;
        bool hovered = false;
        bool operator==(const Handle&) const = default;
    };
    struct Bar {
        int left = 0;
        int right = 0;
        bool operator==(const Bar&) const = default;
    };

    std::vector<float> curveY;
    float startY = 0.0f;
    float endY = 0.0f;
    // A curvature handle and an inner point per segment at most.
    std::array<Handle, 2 * kMaxSegments> handles{};
    int handleCount = 0;
    std::array<Bar, kMaxTones> bars{};
    int barCount = 0;
    // Opacity of the bars' fill; their edges are four times as opaque.
    int barAlpha = 0;

    void Capture(const EnvelopeGraphModel& model, int hovered, const ToneReadout& tones);
    bool operator==(const GraphPicture&) const = default;

private:
    void CaptureBars(const EnvelopeGraphModel& model, const ToneReadout& tones);
};

// Draws the picture's handles, each in a dark ring, over whatever lies beneath (the tone dots).
void DrawGraphHandles(IGraphics& graphics, const GraphPicture& picture);

// A drawing surface of the graph's size that holds the picture without its handles, copied into
// the editor on every tick under the moving tone dots.
class GraphLayer {
public:
    static constexpr IArgb kCurveColour{255, 180, 180, 180};
    static constexpr IArgb kHandleColour{255, 0, 230, 90};

    GraphLayer(IEffectBase& plug, const IBox& box);

    // Draws the picture at the editor's scale, so the curve stays sharp at every density.
    void Render(const GraphPicture& picture, const EnvelopeGraphModel& model, double scale);
    IBitmapRef Bitmap() const;
    double Scale() const { return canvas_.Scale(); }

private:
    IBox box_;
    // The layer's own graphics context: the graph draws with the editor's operations into it.
    IGraphics canvas_;
};
