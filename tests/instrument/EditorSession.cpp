#include "EditorSession.h"

#include "raster/Raster.h"
#include "tests/gui/editor/TestControls.h"

#include <memory>
#include <string>

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
    auto graphics = std::make_unique<IGraphics>(p, 600, 475);
    graphics->AddControl(std::make_unique<BlackBackground>(p));
    graphics->AddControl(std::make_unique<TestKnob>(p, kLowKnobBox, kLowFreq));
    graphics->AddControl(std::make_unique<TestKnob>(p, kHighKnobBox, kHighFreq));
    auto freq = std::make_unique<GRAPH>(p, EnvelopeKind::Frequency);
    auto volume = std::make_unique<GRAPH>(p, EnvelopeKind::Volume);
    auto sweep = std::make_unique<GPHLFO>(p, kSweepBox);
    freq_ = freq.get();
    volume_ = volume.get();
    sweep_ = sweep.get();
    graphics->AddControl(std::move(freq));
    graphics->AddControl(std::move(volume));
    graphics->AddControl(std::move(sweep));
    graphics->SetAlwaysRedrawRect(freq_->Rect().Union(volume_->Rect()));
    graphics->SetHandleMouseOver(true);
    graphics_ = graphics.get();
    p.AttachEditor(std::move(graphics));
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
