#pragma once

#include "gui/IControl.h"
#include "instrument/ToneReadout.h"

class CLS_SERIVANE;
class IPlatformWindow;

// The sweep indicator: one faint white dot per tone, placed by how far the tone has swept from
// the lower to the higher end of the frequency range. A click swaps "Low Freq" and "High Freq",
// turning an ascending sweep into a descending one and back. Redrawn on every tick.
class GPHLFO : public IControl {
public:
    GPHLFO(CLS_SERIVANE& owner, const IBox& box);

    void MouseDown(int x, int y, const IMouseState& mods) override;
    void MouseOver(int x, int y, const IMouseState& mods) override;
    void MouseOut() override;
    // Serves a pending swap, then draws the dots.
    bool Draw(IGraphics& graphics) override;
    bool IsDirty() const override { return true; }

    bool SwapRequested() const { return swapRequested_; }

private:
    // Exchanges the two range ends as the user's edit of both parameters: the host is told,
    // the engine follows and so do the knobs.
    void SwapRange();
    // Reads the engine: true when the sweep runs from the higher frequency down.
    bool ReadDescending();
    IPlatformWindow* Window() const;
    // Shows the resource cursor unless it is showing already: hovering reports every movement.
    void ShowCursor(int resourceId);
    void ShowArrow();

    CLS_SERIVANE& owner_;
    int centreX_;
    int travel_;
    // Several clicks before the next drawing pass make one swap.
    bool swapRequested_ = false;
    // The resource cursor this control last set, 0 for the arrow.
    int cursor_ = 0;
    ToneReadout tones_;
};
