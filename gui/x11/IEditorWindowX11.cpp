#include "gui/x11/IEditorWindowX11.h"
#include "gui/ControlKeys.h"
#include "gui/IControl.h"
#include "gui/IGraphics.h"
#include "gui/ITextEntryTarget.h"
#include "gui/RasterPixels.h"
#include "gui/ValueBoxLayout.h"
#include "gui/x11/OverlayPainter.h"

#include "framework/IEffectBase.h"
#include "platform/OwnThreadLoop.h"
#include "platform/Resources.h"

#include <algorithm>
#include <cstring>

namespace {

// X key symbols of the arrow keys.
constexpr ArrowKeys kArrowSyms{0xFF51, 0xFF52, 0xFF53, 0xFF54};

IMouseState MouseState(const x11::Modifiers& mods) {
    return {mods.left, mods.right, mods.shift, mods.ctrl, mods.alt};
}

bool Inside(const IBox& box, int x, int y) {
    return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
}

int ButtonBit(x11::Button button) {
    return button == x11::Button::Left ? 1 : button == x11::Button::Right ? 2 : 0;
}

// The face of the typed-value boxes: "Arial", 14 pixels high, default weight.
ITextStyle EntryStyle(ITextAlign align) {
    ITextStyle style;
    style.size = 14;
    style.align = align;
    return style;
}

} // namespace

std::unique_ptr<IEditorWindow> OpenEditorWindow(IGraphics& graphics, void* parent,
                                                std::unique_ptr<IRunLoopLink> hostLoop) {
    if (!hostLoop) hostLoop = std::make_unique<OwnThreadLoop>();
    auto id = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(parent));
    return IEditorWindowX11::Open(graphics, id, std::move(hostLoop));
}

IEditorWindowX11::IEditorWindowX11(IGraphics& graphics, std::unique_ptr<IRunLoopLink> loop)
    : graphics_(graphics), interaction_(graphics), loop_(std::move(loop)) {}

std::unique_ptr<IEditorWindowX11> IEditorWindowX11::Open(IGraphics& graphics, std::uint32_t parent,
                                                         std::unique_ptr<IRunLoopLink> loop) {
    if (parent == 0 || !loop || !graphics.DrawRaster()) return nullptr;
    std::unique_ptr<IEditorWindowX11> editor(new IEditorWindowX11(graphics, std::move(loop)));
    std::string error;
    editor->window_ = x11::Window::Create(parent, 0, 0, graphics.PixelWidth(),
                                          graphics.PixelHeight(), *editor, error);
    if (!editor->window_) return nullptr;
    // Attached before the loop runs: a loop of its own calls back from its thread at once.
    graphics.AttachWindow(*editor);
    IEditorWindowX11* self = editor.get();
    if (!editor->loop_->Watch(editor->window_->Descriptor(), [self] { self->OnReadable(); }) ||
        !editor->loop_->StartTimer(TimerIntervalMs(graphics.FrameRate()), [self] { self->Tick(); }))
        return nullptr;
    return editor;
}

IEditorWindowX11::~IEditorWindowX11() {
    loop_->StopAll();
    box_.reset();
    message_.reset();
    graphics_.DetachWindow();
}

void IEditorWindowX11::OnReadable() {
    window_->ProcessEvents();
    window_->Flush();
}

void IEditorWindowX11::Tick() {
    EntryBoxStep();
    graphics_.OnTimerTick();
    TooltipStep();
    PollUrlOpener();
    window_->Flush();
}

void IEditorWindowX11::EntryBoxStep() {
    if (!box_) return;
    IControl* control = interaction_.StepEntry([this] { return box_->CommittedText(); });
    if (!control) return;
    CloseBox();
    control->EditFinished();
}

bool IEditorWindowX11::PresentToWindow(const IBox& rect) {
    Repaint(rect);
    return true;
}

bool IEditorWindowX11::OverlaysTouch(const IBox& rect) const {
    return (box_ && box_->DrawnRect().Overlaps(rect)) ||
           (interaction_.TooltipShowing() && tooltipRect_.Overlaps(rect)) ||
           (message_ && message_->Rect().Overlaps(rect));
}

void IEditorWindowX11::Repaint(const IBox& rect) {
    const raster::Raster* raster = graphics_.DrawRaster();
    RasterPixels source;
    if (!raster || !ReadRasterPixels(*raster, source)) return;
    // Overlays are placed in layout units; the raster and the window are in pixels.
    const IBox units = rect.Intersect({0, 0, graphics_.Width(), graphics_.Height()});
    IBox area = graphics_.PixelBox(units).Intersect({0, 0, source.width, source.height});
    if (area.Empty()) return;
    if (!OverlaysTouch(units)) {
        window_->Present(source.pixels, source.strideBytes, area.left, area.top, area.W(),
                         area.H());
        return;
    }
    // Overlays are composed over a copy of the raster, so the raster keeps only the editor.
    if (backBuffer_.Width() != source.width || backBuffer_.Height() != source.height ||
        backBuffer_.Density() != graphics_.Scale()) {
        backBuffer_.SetDensity(graphics_.Scale());
        backBuffer_.Resize(source.width, source.height);
    }
    std::uint32_t* copy = backBuffer_.Pixels();
    if (!copy) return;
    int stride = backBuffer_.Stride();
    for (int y = area.top; y < area.bottom; ++y) {
        const auto* row = reinterpret_cast<const std::uint8_t*>(source.pixels) +
                          static_cast<std::ptrdiff_t>(y) * source.strideBytes;
        std::memcpy(copy + static_cast<std::ptrdiff_t>(y) * stride + area.left,
                    row + static_cast<std::ptrdiff_t>(area.left) * 4,
                    static_cast<std::size_t>(area.W()) * 4);
    }
    backBuffer_.MarkDirty();
    OverlayPainter painter(backBuffer_);
    if (box_) painter.PaintEntryBox(*box_);
    if (interaction_.TooltipShowing() && interaction_.HoverIndex() >= 0) {
        IControl* control = interaction_.HoverControl();
        if (control && control->Tooltip()) painter.PaintTooltip(tooltipRect_, control->Tooltip());
    }
    if (message_) painter.PaintMessage(*message_);
    window_->Present(backBuffer_.Pixels(), stride * 4, area.left, area.top, area.W(), area.H());
}

void IEditorWindowX11::PromptParamInput(IControl& control, const IParamModel& param, bool centred) {
    if (box_) return;
    ParamEntry entry = ParamEntryFor(control.Rect(), param, centred);
    if (!entry.list) {
        ITextStyle style = EntryStyle(centred ? ITextAlign::Centre : ITextAlign::Left);
        OpenBox(ValueEntryBox::Edit(entry.rect, entry.text, style, false, false), control, &param);
        return;
    }
    OpenBox(ValueEntryBox::DropDown(entry.rect, std::move(entry.items), entry.selected,
                                    EntryStyle(ITextAlign::Left)),
            control, &param);
}

void IEditorWindowX11::PromptTextInput(IControl& control, ITextEntryTarget& text) {
    if (box_) return;
    ITextStyle style = text.TextStyle();
    style.align = TextEntryAlign(style.align);
    OpenBox(ValueEntryBox::Edit(control.Rect(), text.Text() ? text.Text() : "", style,
                                !text.Editable(), text.Password()),
            control, nullptr);
}

void IEditorWindowX11::OpenBox(ValueEntryBox box, IControl& control, const IParamModel* param) {
    HideTooltip();
    box_.emplace(std::move(box));
    interaction_.OpenEntry(control, param, box_->State());
    window_->TakeFocus();
    Repaint(box_->DrawnRect());
}

void IEditorWindowX11::CloseBox() {
    if (!box_) return;
    IBox area = box_->DrawnRect();
    box_.reset();
    interaction_.CloseEntry();
    Repaint(area);
}

void IEditorWindowX11::BoxInput(const std::function<void(ValueEntryBox&)>& input) {
    box_->SetState(interaction_.EntryState());
    input(*box_);
    interaction_.SetEntryState(box_->State());
}

void IEditorWindowX11::ShowMessage(MessageBox message) {
    if (message_) Repaint(message_->Rect());
    message_.emplace(std::move(message));
    Repaint(message_->Rect());
}

bool IEditorWindowX11::OpenUrl(const char* url, const char* title, const char* confirmText,
                               const char* errorText) {
    urlTitle_ = title ? title : "";
    urlError_ = errorText ? errorText : "";
    if (confirmText) {
        // The question is asked inside the window without a nested event loop: the address is
        // opened when the answer is yes, and this call answers false.
        urlPending_ = url ? url : "";
        int width = std::max(OverlayPainter::TextWidth(confirmText),
                             OverlayPainter::TextWidth(urlTitle_.c_str()));
        ShowMessage(MessageBox(urlTitle_, confirmText, MessageBox::Buttons::YesNo, width,
                               graphics_.Width(), graphics_.Height()));
        return false;
    }
    return StartUrl(url);
}

bool IEditorWindowX11::StartUrl(const char* url) {
    if (urlOpener_.Start(url)) return true;
    ShowUrlError();
    return false;
}

void IEditorWindowX11::ShowUrlError() {
    if (urlError_.empty()) return;
    int width = std::max(OverlayPainter::TextWidth(urlError_.c_str()),
                         OverlayPainter::TextWidth(urlTitle_.c_str()));
    ShowMessage(MessageBox(urlTitle_, urlError_, MessageBox::Buttons::Ok, width, graphics_.Width(),
                           graphics_.Height()));
}

void IEditorWindowX11::PollUrlOpener() {
    if (urlOpener_.Poll() == UrlOpener::Outcome::Failed) ShowUrlError();
}

void IEditorWindowX11::AnswerMessage() {
    MessageBox::Answer answer = message_->GetAnswer();
    if (answer == MessageBox::Answer::Pending) return;
    bool question = message_->GetButtons() == MessageBox::Buttons::YesNo;
    IBox area = message_->Rect();
    message_.reset();
    Repaint(area);
    if (question && answer == MessageBox::Answer::Yes) StartUrl(urlPending_.c_str());
    urlPending_.clear();
}

void IEditorWindowX11::SetCursor(ICursor cursor) {
    switch (cursor) {
    case ICursor::ResizeVertical:
        window_->SetCursor(x11::SystemCursor::ResizeVertical);
        break;
    case ICursor::ResizeHorizontal:
        window_->SetCursor(x11::SystemCursor::ResizeHorizontal);
        break;
    default:
        window_->SetCursor(x11::SystemCursor::Arrow);
        break;
    }
}

void IEditorWindowX11::SetResourceCursor(int resourceId) {
    IBitmapRef bitmap = graphics_.LoadBitmap(resourceId, nullptr, 1);
    RasterPixels image;
    if (bitmap.raster && ReadRasterPixels(*bitmap.raster, image) &&
        image.strideBytes == image.width * 4) {
        // A cursor picture without a hotspot of its own points with its centre.
        const CursorHotspot* hotspot = FindCursorHotspot(resourceId);
        const int hotX = hotspot ? hotspot->x : image.width / 2;
        const int hotY = hotspot ? hotspot->y : image.height / 2;
        if (window_->SetImageCursor(image.pixels, image.width, image.height, hotX, hotY)) return;
    }
    window_->SetCursor(x11::SystemCursor::Arrow);
}

void IEditorWindowX11::ResizeWindow(int width, int height) {
    window_->Resize(width, height);
}

void IEditorWindowX11::OnButtonPress(x11::Button button, int px, int py, const x11::Modifiers& mods,
                                     std::uint32_t timeMs) {
    const int x = graphics_.UnitAt(px);
    const int y = graphics_.UnitAt(py);
    interaction_.PointerAt(x, y);
    if (message_) {
        consumedButtons_ |= ButtonBit(button);
        if (button == x11::Button::Left) message_->Press(x, y);
        AnswerMessage();
        return;
    }
    if (button == x11::Button::WheelUp || button == x11::Button::WheelDown) {
        graphics_.DispatchMouseWheel(x, y, MouseState(mods),
                                     button == x11::Button::WheelUp ? 1 : -1);
        return;
    }
    if (button != x11::Button::Left && button != x11::Button::Right) return;
    window_->TakeFocus();
    if (button == x11::Button::Right) {
        doubleClick_.Reset();
        if (box_) {
            // A right click cancels the value box and goes no further, nor does its release.
            interaction_.SetEntryState(EditState::Cancel);
            consumedButtons_ |= ButtonBit(button);
            return;
        }
        HideTooltip();
        interaction_.Press(x, y, MouseState(mods));
        return;
    }
    if (box_ && Inside(box_->DrawnRect(), x, y)) {
        // A press inside the box is the box's own, as it would be a native child window's.
        BoxInput([x, y](ValueEntryBox& box) { box.Press(x, y); });
        consumedButtons_ |= ButtonBit(button);
        doubleClick_.Reset();
        Repaint(box_->DrawnRect());
        return;
    }
    if (doubleClick_.Press(x, y, timeMs)) {
        interaction_.DoubleClick(x, y, MouseState(mods));
        return;
    }
    HideTooltip();
    interaction_.CommitEntry();
    interaction_.Press(x, y, MouseState(mods));
}

void IEditorWindowX11::OnButtonRelease(x11::Button button, int px, int py,
                                       const x11::Modifiers& mods) {
    const int x = graphics_.UnitAt(px);
    const int y = graphics_.UnitAt(py);
    int bit = ButtonBit(button);
    if (bit == 0) return;
    if (consumedButtons_ & bit) {
        consumedButtons_ &= ~bit;
        return;
    }
    interaction_.LetGo();
    graphics_.DispatchMouseUp(x, y, MouseState(mods));
}

void IEditorWindowX11::OnMotion(int px, int py, const x11::Modifiers& mods) {
    const int x = graphics_.UnitAt(px);
    const int y = graphics_.UnitAt(py);
    bool moved = interaction_.PointerAt(x, y);
    if (message_) return;
    if (box_ && box_->Hover(x, y)) Repaint(box_->DrawnRect());
    if (mods.left || mods.right) {
        if (interaction_.Held()) graphics_.DispatchMouseDrag(x, y, MouseState(mods));
        return;
    }
    if (graphics_.DispatchMouseOver(x, y, MouseState(mods))) trackingLeave_ = true;
    if (!graphics_.TooltipsEnabled()) return;
    if (interaction_.HoverOver(graphics_.MouseOverIndex())) {
        HideTooltip();
        hoverTicks_ = interaction_.HoverIndex() >= 0 ? kTooltipDelayTicks : 0;
    } else if (moved && !interaction_.TooltipShowing() && interaction_.HoverIndex() >= 0) {
        hoverTicks_ = kTooltipDelayTicks;
    }
}

void IEditorWindowX11::TooltipStep() {
    if (!graphics_.TooltipsEnabled()) {
        HideTooltip();
        return;
    }
    if (hoverTicks_ == 0 || --hoverTicks_ > 0) return;
    IControl* control = interaction_.HoverControl();
    if (!control || !control->Tooltip() || !*control->Tooltip() || box_ || message_) return;
    tooltipRect_ =
        OverlayPainter::TooltipRect(control->Tooltip(), interaction_.PointerX(),
                                    interaction_.PointerY(), graphics_.Width(), graphics_.Height());
    interaction_.TooltipShown();
    Repaint(tooltipRect_);
}

void IEditorWindowX11::HideTooltip() {
    hoverTicks_ = 0;
    if (interaction_.HideTooltip()) Repaint(tooltipRect_);
}

void IEditorWindowX11::OnKeyPress(std::uint32_t keysym, int px, int py, const x11::Modifiers&) {
    const int x = graphics_.UnitAt(px);
    const int y = graphics_.UnitAt(py);
    if (message_) {
        message_->Key(keysym);
        AnswerMessage();
        return;
    }
    if (box_) {
        HideTooltip();
        BoxInput([keysym](ValueEntryBox& box) { box.Key(keysym); });
        Repaint(box_->DrawnRect());
        return;
    }
    IKeyCode code;
    if (ControlKeyFor(keysym, kArrowSyms, code)) graphics_.DispatchKeyDown(x, y, code);
}

void IEditorWindowX11::OnLeave() {
    HideTooltip();
    interaction_.HoverOver(-1);
    if (!trackingLeave_) return;
    trackingLeave_ = false;
    graphics_.DispatchMouseOut();
}

void IEditorWindowX11::OnExpose(int x, int y, int width, int height) {
    Repaint(graphics_.UnitBox({x, y, x + width, y + height}));
}

void IEditorWindowX11::OnFocus(bool gained) {
    if (box_) interaction_.SetEntryState(gained ? EditState::Editing : EditState::None);
}
