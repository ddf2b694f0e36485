#pragma once

#include "gui/GuiTypes.h"

class IEffectBase;
class IGraphics;
class IParamModel;
class ITextEntryTarget;

// Base of every element of the editor: its rectangles, its binding to one parameter, its
// normalised value and dirty state, and the reactions every bound control shares (right-click
// value entry, double-click reset, wheel stepping, hiding and graying). Runs on the window
// thread; host values reach it through the graphics context.
class IControl {
public:
    IControl(IEffectBase& plug, const IBox& rect, int paramIndex = -1,
             IBlendMode blendMode = IBlendMode::Alpha);
    IControl(const IControl&) = delete;
    IControl& operator=(const IControl&) = delete;
    virtual ~IControl() = default;

    virtual void MouseDown(int x, int y, const IMouseState& mods);
    virtual void MouseUp(int, int, const IMouseState&) {}
    virtual void FileDrop(int, int, const char*) {}
    virtual void MouseDrag(int, int, int, int, const IMouseState&) {}
    virtual void MouseDoubleClick(int x, int y, const IMouseState& mods);
    virtual void MouseWheel(int x, int y, const IMouseState& mods, int steps);
    virtual bool KeyDown(int, int, IKeyCode) { return false; }
    virtual void MouseOver(int, int, const IMouseState&) {}
    virtual void MouseOut() {}
    virtual bool Draw(IGraphics& graphics) = 0;
    // A value from the plug-in; the first one becomes the default for double-click reset.
    virtual void ValueFromPlug(double value);
    // A value the user chose outside the control (typed entry, popup list); sent to the plug-in.
    virtual void ValueFromUser(double value);
    // The popup list this control opened reports a choice, or ("", -1) when it closed unused.
    virtual void PopupResult(const char*, int) {}
    virtual void SetHidden(bool hide);
    // A grayed control draws at a quarter weight and lets the mouse through.
    virtual void SetGrayed(bool gray);
    virtual bool HitTest(int x, int y) const { return targetRect_.Contains(x, y); }
    // Clamps the value; with pushToPlug a bound control sends it to the plug-in.
    virtual void MarkDirty(bool pushToPlug);
    // Called after painting: a pending redraw keeps the control dirty for one more tick.
    virtual void MarkClean();
    virtual bool IsDirty() const { return dirty_; }
    // Controls showing a text the user may type over answer themselves.
    virtual ITextEntryTarget* TextEntry() { return nullptr; }

    // Asks the window for typed value entry of the bound parameter.
    void PromptUser();
    // The window's edit box over this control closed, committed or cancelled. Only repaints: a
    // committed value already reached the plug-in inside its own gesture (ApplyTextEntry).
    void EditFinished();

    // The graphics context that owns the control; set when it is added.
    void SetGraphics(IGraphics* graphics) { graphics_ = graphics; }
    IGraphics* Graphics() const { return graphics_; }
    IEffectBase& Plug() const { return plug_; }

    double Value() const { return value_; }
    void SetValue(double value) { value_ = value; }
    double DefaultValue() const { return defaultValue_; }
    void SetClamp(double low, double high);
    const IBox& Rect() const { return rect_; }
    const IBox& TargetRect() const { return targetRect_; }
    void SetRect(const IBox& rect) { rect_ = rect; }
    void SetTargetRect(const IBox& rect) { targetRect_ = rect; }
    void MoveBy(int dx, int dy);
    int ParamIndex() const { return paramIndex_; }
    IControl* Owner() const { return owner_; }
    void SetOwner(IControl* owner) { owner_ = owner; }
    bool IsHidden() const { return hidden_; }
    bool IsGrayed() const { return grayed_; }
    void SetRedrawPending() { redrawPending_ = true; }
    bool NoPrompt() const { return noPrompt_; }
    void SetNoPrompt(bool noPrompt) { noPrompt_ = noPrompt; }
    bool DoubleClickAsDown() const { return doubleClickAsDown_; }
    void SetDoubleClickAsDown(bool asDown) { doubleClickAsDown_ = asDown; }
    const IBlendSpec& Blend() const { return blend_; }
    const char* Tooltip() const { return tooltip_; }
    // The text must outlive the control.
    void SetTooltip(const char* text) { tooltip_ = text; }

private:
    // Opens the in-editor list of the parameter's display texts; false when none can be made.
    bool OpenPopupList(const IParamModel& param);

    double value_ = 0.0;
    IControl* owner_ = nullptr;
    IEffectBase& plug_;
    IGraphics* graphics_ = nullptr;
    IBox rect_;
    IBox targetRect_;
    int paramIndex_ = -1;
    double defaultValue_ = -1.0;
    double clampLow_ = 0.0;
    double clampHigh_ = 1.0;
    bool dirty_ = true;
    bool hidden_ = false;
    bool grayed_ = false;
    bool redrawPending_ = false;
    bool noPrompt_ = false;
    bool doubleClickAsDown_ = false;
    IBlendSpec blend_;
    const char* tooltip_ = nullptr;
};
