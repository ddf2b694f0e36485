#include "gui/IEditableTextControl.h"

#include "gui/IControlParts.h"
#include "gui/IGraphics.h"
#include "gui/IPlatformWindow.h"

#include <algorithm>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kMaxMaskLength = 254;

} // namespace

IEditableTextControl::IEditableTextControl(IEffectBase& plug, const IBox& rect,
                                           const ITextStyle& style, const char* text,
                                           const IEditableTextOptions& options)
    : ITextControl(plug, rect, style, text), options_(options) {}

void IEditableTextControl::MouseDown(int, int, const IMouseState&) {
    ConsumePopupClosedMark(*this);
    if (NoPrompt()) return;
    if (IPlatformWindow* window = Graphics() ? Graphics()->Window() : nullptr)
        window->PromptTextInput(*this, *this);
    SetRedrawPending();
}

bool IEditableTextControl::Draw(IGraphics& graphics) {
    if (options_.background.a != 0) graphics.FillRect(options_.background, Rect(), nullptr);
    const char* text = TakeTextForDrawing();
    if (options_.password) {
        const std::string mask(std::min(std::strlen(text), kMaxMaskLength), '*');
        graphics.DrawText(Style(), mask.c_str(), Rect());
    } else {
        graphics.DrawText(Style(), text, Rect());
    }
    return true;
}
