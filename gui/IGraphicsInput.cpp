#include "framework/IEffectBase.h"
#include "gui/IGraphics.h"
#include "gui/ITextEntryTarget.h"

#include <charconv>
#include <cstdlib>
#include <cstring>

namespace {

// The decimal number the text starts with (after blanks and a sign), or 0 when it starts with
// none. Names such as "inf" and "nan" and hexadecimal forms are not numbers here.
double LeadingNumber(const char* text) {
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r') ++p;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    const bool digitFirst = *p >= '0' && *p <= '9';
    const bool pointDigit = *p == '.' && p[1] >= '0' && p[1] <= '9';
    if (!digitFirst && !pointDigit) return 0.0;
    double value = 0.0;
    const auto [end, error] = std::from_chars(p, p + std::strlen(p), value);
    // Beyond double's range: the C conversion saturates where from_chars gives up.
    if (error == std::errc::result_out_of_range) value = std::strtod(p, nullptr);
    return negative ? -value : value;
}

} // namespace

int IGraphics::ControlAt(int x, int y) const {
    if (captureIndex_ >= 0) return captureIndex_;
    for (int i = ControlCount() - 1; i >= 0; --i) {
        const IControl& control = *controls_[static_cast<size_t>(i)];
        if (!control.IsHidden() && !control.IsGrayed() && control.HitTest(x, y)) return i;
    }
    return -1;
}

void IGraphics::Capture(int index, int x, int y) {
    captureIndex_ = index;
    mouseX_ = x;
    mouseY_ = y;
}

void IGraphics::DispatchMouseDown(int x, int y, const IMouseState& mods) {
    ApplyHostValues();
    EndWheelGesture();
    captureIndex_ = -1;
    IControl* control = ControlAtIndex(ControlAt(x, y));
    pressed_ = control != nullptr;
    if (!control) return;
    Capture(IndexOf(control), x, y);
    if (openPopup_ && control != openPopup_ && control->Owner() != openPopup_) ClosePopup(false);
    if (control->ParamIndex() >= 0) plug_.BeginParamEdit(control->ParamIndex());
    control->MouseDown(x, y, mods);
}

// A release ends the press that reached a control; one without such a press (the press was on
// empty space, or the popup list it chose from is gone) reaches no control, so the host never
// sees an end of gesture it did not see begin.
void IGraphics::DispatchMouseUp(int x, int y, const IMouseState& mods) {
    ApplyHostValues();
    IControl* control = pressed_ ? ControlAtIndex(ControlAt(x, y)) : nullptr;
    pressed_ = false;
    captureIndex_ = -1;
    if (!control) return;
    control->MouseUp(x, y, mods);
    if (control->ParamIndex() >= 0) plug_.EndParamEdit(control->ParamIndex());
}

// A drop begins no gesture, so it ends none either.
void IGraphics::DispatchFileDrop(int x, int y, const char* path) {
    ApplyHostValues();
    IControl* control = ControlAtIndex(ControlAt(x, y));
    captureIndex_ = -1;
    if (control) control->FileDrop(x, y, path);
}

bool IGraphics::DispatchDoubleClick(int x, int y, const IMouseState& mods) {
    ApplyHostValues();
    EndWheelGesture();
    captureIndex_ = -1;
    const int index = ControlAt(x, y);
    IControl* control = ControlAtIndex(index);
    pressed_ = control != nullptr;
    if (!control) return false;
    if (control->ParamIndex() >= 0) plug_.BeginParamEdit(control->ParamIndex());
    if (!control->DoubleClickAsDown()) {
        control->MouseDoubleClick(x, y, mods);
        return false;
    }
    Capture(index, x, y);
    control->MouseDown(x, y, mods);
    return true;
}

void IGraphics::DispatchMouseDrag(int x, int y, const IMouseState& mods) {
    ApplyHostValues();
    IControl* control = ControlAtIndex(captureIndex_);
    if (!control || (x == mouseX_ && y == mouseY_)) return;
    const int dx = x - mouseX_;
    const int dy = y - mouseY_;
    mouseX_ = x;
    mouseY_ = y;
    control->MouseDrag(x, y, dx, dy, mods);
}

void IGraphics::DispatchMouseWheel(int x, int y, const IMouseState& mods, int steps) {
    ApplyHostValues();
    IControl* control = ControlAtIndex(ControlAt(x, y));
    if (!control) return;
    control->MouseWheel(x, y, mods, steps);
    if (control->ParamIndex() >= 0) plug_.DeferEndParamEdit(control->ParamIndex());
}

void IGraphics::DispatchKeyDown(int x, int y, IKeyCode key) {
    ApplyHostValues();
    if (IControl* control = ControlAtIndex(ControlAt(x, y))) control->KeyDown(x, y, key);
}

bool IGraphics::DispatchMouseOver(int x, int y, const IMouseState& mods) {
    if (!handleMouseOver_) return false;
    ApplyHostValues();
    const int index = ControlAt(x, y);
    IControl* control = ControlAtIndex(index);
    if (!control) return true;
    mouseX_ = x;
    mouseY_ = y;
    control->MouseOver(x, y, mods);
    if (control->ParamIndex() >= 0) plug_.OnStatusText(control->ParamIndex());
    if (IControl* previous = ControlAtIndex(mouseOverIndex_); previous && previous != control)
        previous->MouseOut();
    mouseOverIndex_ = index;
    return true;
}

void IGraphics::DispatchMouseOut() {
    ApplyHostValues();
    for (const auto& control : controls_) control->MouseOut();
    mouseOverIndex_ = -1;
}

std::unique_ptr<IPopupList> IGraphics::MakePopupList(int x, int y) {
    return popupFactory_ ? popupFactory_(plug_, x, y) : nullptr;
}

IPopupList* IGraphics::OpenPopup(std::unique_ptr<IPopupList> popup) {
    if (openPopup_) ClosePopup(false);
    openPopup_ = popup.get();
    AddControl(std::move(popup));
    return openPopup_;
}

void IGraphics::ClosePopup(bool chosen) {
    if (!openPopup_) return;
    if (!chosen) {
        if (IControl* owner = openPopup_->Owner()) owner->PopupResult("", -1);
        popupJustClosed_ = true;
    } else {
        pressed_ = false;
    }
    RemoveControl(openPopup_);
    openPopup_ = nullptr;
    RedrawAll();
}

bool IGraphics::TakePopupJustClosed() {
    const bool was = popupJustClosed_;
    popupJustClosed_ = false;
    return was;
}

void IGraphics::ApplyTextEntry(IControl* control, const IParamModel* param, const char* text) {
    if (!control) return;
    if (!text) text = "";
    if (param) {
        double value = 0.0;
        if (!param->ValueForDisplayText(text, &value)) {
            value = LeadingNumber(text);
            if (param->NegateDisplay()) value = -value;
        }
        const int index = control->ParamIndex();
        if (index >= 0) plug_.BeginParamEdit(index);
        control->ValueFromUser(param->ToNormalized(value));
        if (index >= 0) plug_.EndParamEdit(index);
        return;
    }
    ITextEntryTarget* target = control->TextEntry();
    if (target && target->Editable()) target->SetText(text);
}
