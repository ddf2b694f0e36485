#include "gui/IControl.h"

#include "framework/IEffectBase.h"
#include "gui/IGraphics.h"
#include "gui/IPlatformWindow.h"

namespace {

constexpr int kPopupMargin = 6;

// Shift along one axis that centres a popup over its control and keeps it inside the editor.
int CentringShift(int controlExtent, int popupStart, int popupExtent, int editorExtent) {
    int shift = static_cast<int>((controlExtent - popupExtent) * 0.5);
    if (popupStart + shift > kPopupMargin - 1) {
        if (editorExtent - kPopupMargin < popupStart + shift + popupExtent)
            shift = editorExtent - popupStart - popupExtent - kPopupMargin;
    } else {
        shift = kPopupMargin - popupStart;
    }
    return shift;
}

// Wheel step of one notch: a hundredth for numbers, half an entry for choices.
double WheelStep(const IParamModel& param) {
    if (param.Type() == IParamType::Double || param.Type() == IParamType::Int) return 0.01;
    int entries = param.DisplayTextCount();
    if (entries <= 0) entries = RoundHalfAway(param.Max() - param.Min()) + 1;
    return 0.5 / entries;
}

} // namespace

IControl::IControl(IEffectBase& plug, const IBox& rect, int paramIndex, IBlendMode blendMode)
    : plug_(plug), rect_(rect), targetRect_(rect), paramIndex_(paramIndex) {
    blend_.mode = blendMode;
}

void IControl::MouseDown(int, int, const IMouseState& mods) {
    if (!graphics_) return;
    if (!mods.right) {
        graphics_->ClearPopupJustClosed();
        return;
    }
    if (paramIndex_ < 0 || noPrompt_) return;
    if (graphics_->TakePopupJustClosed()) return;
    const IParamModel* param = plug_.ParamAt(paramIndex_);
    if (!param) return;
    const bool choice = param->Type() == IParamType::Enum || param->Type() == IParamType::Bool;
    if (choice && param->DisplayTextCount() > 0 && OpenPopupList(*param)) return;
    PromptUser();
}

void IControl::MouseDoubleClick(int, int, const IMouseState&) {
    if (defaultValue_ < 0.0) return;
    value_ = defaultValue_;
    MarkDirty(true);
}

void IControl::MouseWheel(int, int, const IMouseState& mods, int steps) {
    const IParamModel* param = plug_.ParamAt(paramIndex_);
    if (!param) return;
    const float step = static_cast<float>(WheelStep(*param));
    const float change = mods.ctrl || mods.shift ? step * 0.1f * static_cast<float>(steps)
                                                 : step * static_cast<float>(steps);
    value_ += change;
    plug_.BeginWheelEdit(paramIndex_);
    MarkDirty(true);
}

void IControl::ValueFromPlug(double value) {
    if (defaultValue_ < 0.0)
        defaultValue_ = value;
    else if (value == value_)
        return;
    value_ = value;
    MarkDirty(false);
    redrawPending_ = true;
}

void IControl::ValueFromUser(double value) {
    value_ = value;
    MarkDirty(true);
    redrawPending_ = true;
}

void IControl::SetHidden(bool hide) {
    hidden_ = hide;
    redrawPending_ = true;
    MarkDirty(false);
}

void IControl::SetGrayed(bool gray) {
    grayed_ = gray;
    blend_.weight = gray ? 0.25f : 1.0f;
    MarkDirty(false);
}

void IControl::MarkDirty(bool pushToPlug) {
    if (!(value_ >= clampLow_))
        value_ = clampLow_;
    else if (value_ > clampHigh_)
        value_ = clampHigh_;
    dirty_ = true;
    if (pushToPlug && paramIndex_ >= 0) plug_.SetParamFromEditor(paramIndex_, value_);
}

void IControl::MarkClean() {
    dirty_ = redrawPending_;
    redrawPending_ = false;
}

void IControl::PromptUser() {
    if (paramIndex_ < 0 || noPrompt_) return;
    IPlatformWindow* window = graphics_ ? graphics_->Window() : nullptr;
    const IParamModel* param = plug_.ParamAt(paramIndex_);
    if (window && param) window->PromptParamInput(*this, *param, true);
    redrawPending_ = true;
}

void IControl::EditFinished() {
    MarkDirty(false);
    redrawPending_ = true;
}

void IControl::SetClamp(double low, double high) {
    clampLow_ = low;
    clampHigh_ = high;
}

void IControl::MoveBy(int dx, int dy) {
    rect_ = {rect_.left + dx, rect_.top + dy, rect_.right + dx, rect_.bottom + dy};
    targetRect_ = {targetRect_.left + dx, targetRect_.top + dy, targetRect_.right + dx,
                   targetRect_.bottom + dy};
}

bool IControl::OpenPopupList(const IParamModel& param) {
    std::unique_ptr<IPopupList> made = graphics_->MakePopupList(rect_.left, rect_.top);
    if (!made) return false;
    IPopupList* popup = graphics_->OpenPopup(std::move(made));
    popup->SetHidden(true);
    const int count = param.DisplayTextCount();
    for (int i = 0; i < count; ++i) popup->AddItem(param.DisplayTextFor(i));
    const IBox& area = popup->Rect();
    const int dx = CentringShift(rect_.W(), area.left, area.W(), graphics_->Width());
    const int dy = CentringShift(rect_.H(), area.top, area.H(), graphics_->Height());
    popup->MoveBy(dx, dy);
    popup->OpenFor(paramIndex_, this);
    return true;
}
