#pragma once

#include "gui/IControl.h"
#include "instrument/GraphPicture.h"
#include "instrument/ToneReadout.h"

#include <array>

class CLS_SERIVANE;
class EnvelopeGraphModel;

// The editor control of one envelope graph: draws the instrument's graph model (curve, handles,
// tone dots, "Real Freq" bars, the hovered preset button) and edits it with the mouse. Its
// edits reach the sound through the instrument, never through its drawing. Bound to no
// parameter: it writes the envelope parameters through the instrument.
class GRAPH : public IControl {
public:
    // The box is the graph model's.
    GRAPH(CLS_SERIVANE& owner, EnvelopeKind kind);

    void MouseDown(int x, int y, const IMouseState& mods) override;
    void MouseUp(int x, int y, const IMouseState& mods) override;
    void MouseDrag(int x, int y, int dx, int dy, const IMouseState& mods) override;
    void MouseOver(int x, int y, const IMouseState& mods) override;
    void MouseOut() override;
    // Draws from the parameters, with or without audio.
    bool Draw(IGraphics& graphics) override;

    int HoveredElement() const { return hovered_; }
    int HoveredPreset() const { return hoveredPreset_; }
    int DraggedElement() const { return dragged_; }

private:
    struct Dot {
        float x = 0.0f;
        float y = 0.0f;
    };

    // Hit-tests (x, y) into the hovered element or preset button; true for a preset button.
    bool Hover(int x, int y);
    void Store(const GraphParamWrites& writes);
    void EndGesture();
    void CaptureDots();
    void SetCursor(ICursor cursor) const;

    CLS_SERIVANE& owner_;
    EnvelopeGraphModel& model_;
    int hovered_ = -1;
    int dragged_ = -1;
    int hoveredPreset_ = -1;
    // The parameter of the drag under way whose edit gesture the host has been told of.
    int gestureParam_ = -1;
    IBitmapRef presetMark_;
    ToneReadout tones_;
    std::array<Dot, kMaxTones> dots_{};
    int dotCount_ = 0;
    GraphPicture picture_;
    GraphPicture drawn_;
    bool layerDrawn_ = false;
    GraphLayer layer_;
};
