#pragma once

#include "gui/IArgb.h"
#include "gui/ITextControl.h"
#include "gui/ITextEntryTarget.h"

struct IEditableTextOptions {
    // Filled behind the text unless fully transparent.
    IArgb background{0, 0, 0, 0};
    // A read-only field still opens its box, for selecting and copying.
    bool editable = true;
    // Shows one '*' per character.
    bool password = false;
};

// A text field: a press opens the window's text box over it, and the committed text replaces
// the field's.
class IEditableTextControl : public ITextControl, public ITextEntryTarget {
public:
    IEditableTextControl(IEffectBase& plug, const IBox& rect, const ITextStyle& style,
                         const char* text, const IEditableTextOptions& options = {});

    void MouseDown(int x, int y, const IMouseState& mods) override;
    bool Draw(IGraphics& graphics) override;
    ITextEntryTarget* TextEntry() override { return this; }

    const char* Text() const override { return ITextControl::Text(); }
    const ITextStyle& TextStyle() const override { return Style(); }
    bool Editable() const override { return options_.editable; }
    bool Password() const override { return options_.password; }
    void SetText(const char* text) override { ITextControl::SetText(text); }

private:
    IEditableTextOptions options_;
};
