#pragma once

#include "gui/IControl.h"
#include "gui/ISharedText.h"
#include "gui/ITextStyle.h"

#include <array>
#include <cstdint>
#include <string>

// A line of text in a style. Any thread may set the text (the audio thread writes status
// texts); a change is painted on the window thread's next tick. Everything else runs on the
// window thread.
class ITextControl : public IControl {
public:
    ITextControl(IEffectBase& plug, const IBox& rect, const ITextStyle& style,
                 const char* text = "");

    bool Draw(IGraphics& graphics) override;
    bool IsDirty() const override;
    void MarkClean() override;

    // Any thread; never waits and never allocates. Texts longer than ISharedText::kCapacity - 1
    // bytes are cut.
    virtual void SetText(const char* text);
    // Window thread: the current text, valid until the next call.
    const char* Text() const;
    // Any thread: a copy of the current text.
    std::string TextCopy() const;

protected:
    ITextStyle& Style() { return style_; }
    const ITextStyle& Style() const { return style_; }
    // Window thread: takes the current text for painting.
    const char* TakeTextForDrawing();

private:
    ISharedText text_;
    ITextStyle style_;
    // The version last painted; a newer one makes the control dirty.
    std::uint64_t drawnVersion_ = 0;
    mutable std::array<char, ISharedText::kCapacity> copy_{};
};
