#include "gui/ITextControl.h"

#include "gui/IGraphics.h"

ITextControl::ITextControl(IEffectBase& plug, const IBox& rect, const ITextStyle& style,
                           const char* text)
    : IControl(plug, rect), text_(text), style_(style) {}

void ITextControl::SetText(const char* text) {
    text_.Set(text);
}

const char* ITextControl::Text() const {
    text_.Copy(copy_.data());
    return copy_.data();
}

std::string ITextControl::TextCopy() const {
    std::array<char, ISharedText::kCapacity> copy;
    text_.Copy(copy.data());
    return copy.data();
}

const char* ITextControl::TakeTextForDrawing() {
    drawnVersion_ = text_.Copy(copy_.data());
    return copy_.data();
}

bool ITextControl::Draw(IGraphics& graphics) {
    const char* text = TakeTextForDrawing();
    if (*text) graphics.DrawText(style_, text, Rect());
    return true;
}

bool ITextControl::IsDirty() const {
    return IControl::IsDirty() || text_.Version() != drawnVersion_;
}

// Painting skips hidden and empty controls; their new texts need no painting.
void ITextControl::MarkClean() {
    IControl::MarkClean();
    if (IsHidden() || Rect().Empty()) drawnVersion_ = text_.Version();
}
