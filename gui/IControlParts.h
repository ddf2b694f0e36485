#pragma once

#include "gui/GuiTypes.h"

class IControl;
class IGraphics;
struct ITextStyle;

// The direction a knob is dragged in or a slider's track runs along.
enum class IAxis { Vertical, Horizontal };

// The hover flag of the standard controls. Entering repaints the control once; leaving always
// repaints it.
class IHover {
public:
    void Over(IControl& control);
    void Out(IControl& control);
    void Clear() { hovered_ = false; }
    bool On() const { return hovered_; }

private:
    bool hovered_ = false;
};

// The band of a label of the given height along the bottom of rect.
IBox LabelBand(const IBox& rect, int size);

// Draws the display text of the bound parameter's current value centred in band, followed by
// the parameter's unit when showUnit is set. Nothing is drawn for an empty text, a style of no
// size or a control without a parameter.
void DrawValueLabel(IGraphics& graphics, const IControl& control, ITextStyle& style, bool showUnit,
                    const IBox& band);

// A press that a control handles entirely by itself still uses up the mark left by the click
// that closed a popup list, so the next right click opens entry as usual.
void ConsumePopupClosedMark(const IControl& control);
