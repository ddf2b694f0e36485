#include "EditorSession.h"

#include "raster/Raster.h"

#include <memory>
#include <string>
#include <vector>

namespace {

// Plain black over the area being painted, so that anything drawn shows.
class BlackBackground : public IControl {
public:
    explicit BlackBackground(IEffectBase& plug) : IControl(plug, {0, 0, 600, 475}) {}
    bool Draw(IGraphics& graphics) override {
        const IBlendSpec copy{IBlendMode::Copy, 1.0f};
        graphics.FillRect({255, 0, 0, 0}, Rect().Intersect(graphics.DrawRect()), &copy);
        return true;
    }
};

} // namespace

EditorSession::EditorSession(bool firstBlock)
    : handler_(Steinberg::owned(new serivane::host::ComponentHandler)) {
    plugin_->setComponentHandler(handler_);
    plugin_->SetSampleRate(48000);
    ApplyAllParameters(*plugin_);
    if (firstBlock) RenderBlock();

    CLS_SERIVANE& p = *plugin_;
    graphics_ = dynamic_cast<IGraphics*>(p.Editor());
    // The instrument's own editor with its background picture traded for plain black.
    std::vector<std::unique_ptr<IControl>> controls;
    while (graphics_->ControlCount() > 0)
        controls.push_back(graphics_->RemoveControl(graphics_->ControlAtIndex(0)));
    controls.front() = std::make_unique<BlackBackground>(p);
    for (auto& control : controls) {
        if (auto* graph = dynamic_cast<GRAPH*>(control.get()))
            (graph->Rect() == p.FrequencyGraph().Box() ? freq_ : volume_) = graph;
        if (auto* sweep = dynamic_cast<GPHLFO*>(control.get())) sweep_ = sweep;
        graphics_->AddControl(std::move(control));
    }
    graphics_->AttachWindow(window_);
    p.OnEditorOpen();
    Tick();
}

EditorSession::~EditorSession() {
    plugin_->OnEditorClose();
    graphics_->DetachWindow();
    plugin_->setComponentHandler(nullptr);
}

void EditorSession::SetFromHost(int index, double value) {
    IParamModel* param = plugin_->ParamAt(index);
    param->SetClamped(value);
    graphics_->ShowParamInControls(index, value, false);
    plugin_->OnParamChanged(index);
}

uint32_t EditorSession::Pixel(int x, int y) const {
    return graphics_->DrawRaster()->PixelAt(x, y);
}

void EditorSession::Hover(int x, int y) {
    graphics_->DispatchMouseOver(x, y, {});
}

void EditorSession::Press(int x, int y) {
    IMouseState left;
    left.left = true;
    graphics_->DispatchMouseDown(x, y, left);
}

void EditorSession::DragTo(int x, int y) {
    IMouseState left;
    left.left = true;
    graphics_->DispatchMouseDrag(x, y, left);
}

void EditorSession::Release(int x, int y) {
    graphics_->DispatchMouseUp(x, y, {});
}

void EditorSession::Click(int x, int y) {
    Press(x, y);
    Release(x, y);
}

std::vector<std::string> EditorSession::HostEdits() const {
    using Kind = serivane::host::HandlerCall::Kind;
    std::vector<std::string> edits;
    for (const auto& call : handler_->calls()) {
        const char* head = call.kind == Kind::BeginEdit     ? "b"
                           : call.kind == Kind::PerformEdit ? "p"
                           : call.kind == Kind::EndEdit     ? "e"
                                                            : nullptr;
        if (head) edits.push_back(std::string(head).append(std::to_string(call.id)));
    }
    return edits;
}
