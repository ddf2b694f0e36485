#pragma once

#include "gui/IControl.h"
#include "gui/ITextEntryTarget.h"
#include "gui/ITextStyle.h"

#include <string>

// Generic controls drawn with the graphics context's primitives, for the test editor.

// Vertical gradient in bands over the whole editor, drawn as a plain copy.
class TestBackground : public IControl {
public:
    TestBackground(IEffectBase& plug, const IBox& rect);
    bool Draw(IGraphics& graphics) override;
};

// Shared by the bound test controls: hover highlight and a caption with the value.
class TestBoundControl : public IControl {
public:
    TestBoundControl(IEffectBase& plug, const IBox& rect, int paramIndex);
    void MouseOver(int x, int y, const IMouseState& mods) override;
    void MouseOut() override;

protected:
    bool Hovered() const { return hovered_; }
    // Name and display value in a band at the bottom of the rectangle.
    void DrawCaption(IGraphics& graphics);
    IBox Body() const;
    static constexpr int kCaptionHeight = 28;

private:
    bool hovered_ = false;
    ITextStyle nameStyle_;
    ITextStyle valueStyle_;
};

// Vertical fader: a press jumps to the pointer, a drag moves with it.
class TestFader : public TestBoundControl {
public:
    TestFader(IEffectBase& plug, const IBox& rect, int paramIndex);
    void MouseDown(int x, int y, const IMouseState& mods) override;
    void MouseDrag(int x, int y, int dx, int dy, const IMouseState& mods) override;
    bool Draw(IGraphics& graphics) override;

private:
    IBox Track() const;
};

// Round knob: dragging up raises the value, 100 pixels for the whole range (1000 with Shift
// or Ctrl).
class TestKnob : public TestBoundControl {
public:
    TestKnob(IEffectBase& plug, const IBox& rect, int paramIndex);
    void MouseDrag(int x, int y, int dx, int dy, const IMouseState& mods) override;
    bool Draw(IGraphics& graphics) override;
};

// Each left click moves to the next of the parameter's values and wraps at the end.
class TestSwitch : public TestBoundControl {
public:
    TestSwitch(IEffectBase& plug, const IBox& rect, int paramIndex);
    void MouseDown(int x, int y, const IMouseState& mods) override;
    bool Draw(IGraphics& graphics) override;
};

// A free text field; a left click asks the window for a text box over it.
class TestTextField : public IControl, public ITextEntryTarget {
public:
    TestTextField(IEffectBase& plug, const IBox& rect, const char* text);
    void MouseDown(int x, int y, const IMouseState& mods) override;
    bool Draw(IGraphics& graphics) override;
    ITextEntryTarget* TextEntry() override { return this; }

    const char* Text() const override { return text_.c_str(); }
    const ITextStyle& TextStyle() const override { return style_; }
    bool Editable() const override { return true; }
    bool Password() const override { return false; }
    void SetText(const char* text) override;

private:
    std::string text_;
    ITextStyle style_;
};
