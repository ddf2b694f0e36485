#pragma once

#include "gui/EditState.h"
#include "gui/GuiTypes.h"

#include <functional>
#include <string>

class IControl;
class IGraphics;
class IParamModel;

// What an editor window keeps between its platform's events, the same on every platform: where
// the pointer was last seen and whether a press holds it, the control, parameter and state of the
// open value box, and the control under the pointer whose tooltip is due or showing. The window
// does the platform's part: capturing the pointer, the boxes themselves and the tooltip's showing.
class EditorInteraction {
public:
    explicit EditorInteraction(IGraphics& graphics) : graphics_(graphics) {}

    // Records the pointer's position; true when it moved.
    bool PointerAt(int x, int y);
    int PointerX() const { return pointerX_; }
    int PointerY() const { return pointerY_; }
    // A press that reached the controls holds the pointer until its release.
    bool Held() const { return held_; }
    // A press for the controls: it holds the pointer and reaches the control under it.
    void Press(int x, int y, const IMouseState& state);
    // A double click for the controls; true when a control took it, which holds the pointer.
    bool DoubleClick(int x, int y, const IMouseState& state);
    // The press's release is on its way to the controls: the pointer is no longer held.
    void LetGo() { held_ = false; }
    // Ends a press whose release will not come: its control hears a release where the pointer
    // was last seen, which ends the host's gesture.
    void EndDrag();

    // A value box opened over control, for param or for the control's free text (param null).
    void OpenEntry(IControl& control, const IParamModel* param, EditState state);
    void CloseEntry();
    IControl* EntryControl() const { return entryControl_; }
    const IParamModel* EntryParam() const { return entryParam_; }
    EditState EntryState() const { return entryState_; }
    void SetEntryState(EditState state) { entryState_ = state; }
    // A press elsewhere commits the open box.
    void CommitEntry();
    // The timer's step of the open box: editing settles to none, a commit applies the box's
    // text (read only then). Returns the control whose entry a commit or cancel ended, for the
    // window to close the box and tell the control; null while the box stays.
    IControl* StepEntry(const std::function<std::string()>& boxText);

    // Records the control under the pointer (an index, -1 for none); true when it changed.
    bool HoverOver(int index);
    int HoverIndex() const { return hoverIndex_; }
    // The control whose tooltip is due; null when there is none.
    IControl* HoverControl() const;
    bool TooltipShowing() const { return tooltipShowing_; }
    void TooltipShown() { tooltipShowing_ = true; }
    // Marks the tooltip hidden; true when it was showing, so the window takes it down.
    bool HideTooltip();

private:
    IGraphics& graphics_;
    int pointerX_ = 0;
    int pointerY_ = 0;
    bool held_ = false;
    IControl* entryControl_ = nullptr;
    const IParamModel* entryParam_ = nullptr;
    EditState entryState_ = EditState::None;
    int hoverIndex_ = -1;
    bool tooltipShowing_ = false;
};
