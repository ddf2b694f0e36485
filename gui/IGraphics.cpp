#include "gui/IGraphics.h"

#include "framework/IEffectBase.h"
#include "gui/IBitmapControl.h"
#include "gui/IPlatformWindow.h"
#include "raster/Raster.h"

#include <algorithm>

IGraphics::IGraphics(IEffectBase& plug, int width, int height, int fps)
    : plug_(plug), width_(width), height_(height), fps_(fps > 0 ? fps : 24),
      hostValues_(std::make_unique<HostValue[]>(static_cast<size_t>(plug.ParamCount()))),
      hostValueCount_(plug.ParamCount()) {}

IGraphics::~IGraphics() = default;

void IGraphics::ShowParamInControls(int paramIndex, double value, bool normalized) {
    const IParamModel* param = plug_.ParamAt(paramIndex);
    if (!param || paramIndex >= hostValueCount_) return;
    HostValue& slot = hostValues_[static_cast<size_t>(paramIndex)];
    slot.normalized.store(normalized ? value : param->ToNormalized(value),
                          std::memory_order_relaxed);
    slot.pending.store(true, std::memory_order_release);
    hostValuesPending_.store(true, std::memory_order_release);
}

void IGraphics::ApplyHostValues() {
    if (!hostValuesPending_.exchange(false, std::memory_order_acquire)) return;
    for (int index = 0; index < hostValueCount_; ++index) {
        HostValue& slot = hostValues_[static_cast<size_t>(index)];
        if (!slot.pending.exchange(false, std::memory_order_acquire)) continue;
        const double value = slot.normalized.load(std::memory_order_relaxed);
        for (const auto& control : controls_)
            if (control->ParamIndex() == index) control->ValueFromPlug(value);
    }
    for (ShownValue& shown : shownValues_) {
        if (!shown.value.pending.exchange(false, std::memory_order_acquire)) continue;
        const int index = shown.control.load(std::memory_order_relaxed);
        if (IControl* control = ControlAtIndex(index))
            control->ValueFromPlug(shown.value.normalized.load(std::memory_order_relaxed));
    }
}

void IGraphics::AttachWindow(IPlatformWindow& window) {
    window_ = &window;
    RedrawAll();
}

void IGraphics::DetachWindow() {
    EndWheelGesture();
    window_ = nullptr;
}

// A click or a closing window ends a wheel gesture still counting down, so that gestures never
// nest.
void IGraphics::EndWheelGesture() {
    if (gestureCountdown_ != 0) plug_.FlushDeferredEndEdit();
}

void IGraphics::OnTimerTick() {
    ApplyHostValues();
    IBox dirty;
    if (redrawOnTick_ && CollectDirty(&dirty)) DrawDirty(dirty);
    if (alwaysRedrawRect_.W() > 0) DrawDirty(alwaysRedrawRect_);
    if (gestureCountdown_ != 0 && --gestureCountdown_ == 0) plug_.FlushDeferredEndEdit();
}

int IGraphics::AddControl(std::unique_ptr<IControl> control) {
    control->SetGraphics(this);
    controls_.push_back(std::move(control));
    return ControlCount() - 1;
}

void IGraphics::AddBackground(int resourceId, const char* name) {
    const IBitmapRef bitmap = LoadBitmap(resourceId, name, 1);
    auto background = std::make_unique<IBitmapControl>(plug_, 0, 0, bitmap, IBlendMode::Copy,
                                                       IBitmapLayout::Whole);
    background->SetGraphics(this);
    controls_.insert(controls_.begin(), std::move(background));
}

std::unique_ptr<IControl> IGraphics::RemoveControl(IControl* control) {
    const int index = IndexOf(control);
    if (index < 0) return nullptr;
    std::unique_ptr<IControl> removed = std::move(controls_[static_cast<size_t>(index)]);
    controls_.erase(controls_.begin() + index);
    // Indices above the removed control move down by one.
    for (int* tracked : {&captureIndex_, &mouseOverIndex_}) {
        if (*tracked == index)
            *tracked = -1;
        else if (*tracked > index)
            --*tracked;
    }
    if (openPopup_ == control) openPopup_ = nullptr;
    removed->SetGraphics(nullptr);
    return removed;
}

void IGraphics::Resize(int width, int height) {
    width_ = width;
    height_ = height;
    captureIndex_ = -1;
    pressed_ = false;
    mouseOverIndex_ = -1;
    openPopup_ = nullptr;
    while (!controls_.empty()) controls_.pop_back();
    ResizeDrawRaster();
    if (window_) window_->ResizeWindow(PixelWidth(), PixelHeight());
    plug_.ResizeEditor(PixelWidth(), PixelHeight());
}

IControl* IGraphics::ControlAtIndex(int index) const {
    return index >= 0 && index < ControlCount() ? controls_[static_cast<size_t>(index)].get()
                                                : nullptr;
}

int IGraphics::IndexOf(const IControl* control) const {
    for (int i = 0; i < ControlCount(); ++i)
        if (controls_[static_cast<size_t>(i)].get() == control) return i;
    return -1;
}

void IGraphics::ShowControlValue(int controlIndex, double normalized) {
    if (controlIndex < 0) return;
    for (ShownValue& shown : shownValues_) {
        int owner = shown.control.load(std::memory_order_relaxed);
        if (owner == -1) {
            // Claims the free slot; on failure owner is whoever claimed it first, perhaps for
            // this very control.
            if (shown.control.compare_exchange_strong(owner, controlIndex,
                                                      std::memory_order_relaxed))
                owner = controlIndex;
        }
        if (owner != controlIndex) continue;
        shown.value.normalized.store(normalized, std::memory_order_relaxed);
        shown.value.pending.store(true, std::memory_order_release);
        hostValuesPending_.store(true, std::memory_order_release);
        return;
    }
}

void IGraphics::SetControlsFromUser(int paramIndex, double normalized) {
    for (const auto& control : controls_)
        if (control->ParamIndex() == paramIndex) control->ValueFromUser(normalized);
}

void IGraphics::RedrawAll() {
    if (!controls_.empty()) controls_.front()->MarkDirty(false);
}

bool IGraphics::CollectDirty(IBox* out) const {
    IBox dirty;
    bool any = false;
    for (const auto& control : controls_) {
        if (!control->IsDirty()) continue;
        dirty = dirty.Union(control->Rect());
        any = true;
    }
    *out = dirty;
    return any;
}

bool IGraphics::DrawDirty(const IBox& update) {
    if (controls_.empty()) return true;
    drawRect_ = update;
    // Controls are looked up by index: a control's Draw may open or close a popup list.
    for (int i = 0; i < ControlCount(); ++i) {
        IControl& control = *controls_[static_cast<size_t>(i)];
        const IBox& rect = control.Rect();
        if (!control.IsHidden() && !update.Empty() && !rect.Empty() && rect.Overlaps(update))
            control.Draw(*this);
        control.MarkClean();
    }
    return window_ ? window_->PresentToWindow(update) : true;
}
